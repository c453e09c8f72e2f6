#include "tests/search/search_world.h"

namespace {

const char kAlpha[] = R"sql(
CREATE TABLE accounts (
  id      INTEGER PRIMARY KEY,
  name    VARCHAR(40) NOT NULL,
  city    VARCHAR(40),
  opened  DATE,
  balance DECIMAL(10,2)
);
INSERT INTO accounts VALUES
  (1, 'Alice Smith', 'Leeds', '2020-05-17', 250.00),
  (2, 'Bob Stone', 'York', '2021-01-31', 99.95),
  (3, 'Carol Palice', NULL, '2020-05-17', NULL),
  (4, 'Dave', 'Paris', NULL, 250.5);
CREATE TABLE ledger (
  year     INTEGER NOT NULL,
  entry_no INTEGER NOT NULL,
  memo     TEXT,
  amount   DECIMAL(10,2),
  PRIMARY KEY (year, entry_no)
);
INSERT INTO ledger VALUES
  (2023, 7, 'rent for ALICE', 250.00),
  (2023, 8, 'coffee', 3.20),
  (2024, 1, NULL, 250);
CREATE TABLE memos (
  title VARCHAR(40),
  body  TEXT,
  due   DATE
);
INSERT INTO memos VALUES ('call alice', 'about the rent', '2020-05-17'), ('other', NULL, NULL);
)sql";

const char kBeta[] = R"sql(
CREATE TABLE bulk (id INTEGER PRIMARY KEY, label VARCHAR(20));
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 150)
INSERT INTO bulk SELECT i, 'bulk ' || i FROM n;
CREATE TABLE parts (code VARCHAR(10) PRIMARY KEY, title VARCHAR(40), weight REAL);
INSERT INTO parts VALUES ('P-1', 'x'' OR ''1''=''1', 1.5), ('P-2', 'bolt', 250.0);
CREATE TABLE "weird ""name""" ("odd ""col""" VARCHAR(10) PRIMARY KEY, "the value" VARCHAR(20));
INSERT INTO "weird ""name""" VALUES ('k1', 'Needle in hay');
)sql";

}  // namespace

void AddSlowDataSource(TestWorld& world) {
  world.addSqliteDsn("SLOW", R"sql(
    CREATE TABLE seed (label VARCHAR(20));
    WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000)
    INSERT INTO seed SELECT 'row ' || i FROM n;
    CREATE VIEW endless AS
      SELECT a.label || b.label || c.label || d.label AS label FROM seed a, seed b, seed c, seed d;
  )sql");
}

std::ostream& operator<<(std::ostream& out, const SearchRow& row) {
  return out << "{" << row.dataSource << " | " << row.table << " | " << row.key << "}";
}

void AddSearchDataSources(TestWorld& world) {
  world.addSqliteDsn("ALPHA", kAlpha);
  world.addSqliteDsn("BETA", kBeta);
}

void RecordingSink::currentDataSource(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  dataSources_.push_back(name);
  threads_.push_back(std::this_thread::get_id());
}

void RecordingSink::currentTable(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  tables_.push_back(name);
}

void RecordingSink::addRow(const std::string& dataSource, const std::string& table, const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  rows_.push_back({dataSource, table, key});
}

std::vector<SearchRow> RecordingSink::rows() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return rows_;
}

std::vector<std::string> RecordingSink::dataSources() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return dataSources_;
}

std::vector<SearchRow> RecordingSink::hits() const {
  std::vector<SearchRow> found;
  for (const SearchRow& row : rows())
    if (!row.key.empty()) found.push_back(row);
  return found;
}

std::vector<std::thread::id> RecordingSink::threads() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return threads_;
}

std::vector<SearchRow> SearchHits(const std::string& dataSources, const std::string& tables,
                                  SearchDataType type, const std::string& value) {
  RecordingSink sink;
  SearchControl control;
  RunDataSearch({dataSources, tables, type, value}, sink, control);
  return sink.hits();
}
