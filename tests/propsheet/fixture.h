// The SQLite data source shared by the property sheet tests.
#pragma once

inline constexpr const char* kSheetFixtureSql = R"sql(
CREATE TABLE parent (id INTEGER PRIMARY KEY, code VARCHAR(50));
CREATE UNIQUE INDEX ix_parent_code ON parent(code);
CREATE TABLE child (id INTEGER, parent_id INTEGER REFERENCES parent(id) ON DELETE CASCADE);
CREATE TABLE pair (A TEXT, B TEXT, PRIMARY KEY (B, A));
CREATE TABLE loose (x TEXT);
)sql";
