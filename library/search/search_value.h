// The search value as the parameter of a search statement: which columns a
// data type choice compares, and the value converted to each column's kind.
// The value always travels as a bound parameter, never inside SQL text.
#pragma once

#include <cstdint>
#include <string>

#include "library/catalog/odbc_api.h"
#include "library/search/search_request.h"

enum class ColumnKind { Other, Integer, Decimal, Float, Character, Date, Timestamp };

// The kind of a column of ODBC type `sqlType` (DATA_TYPE of SQLColumns).
ColumnKind KindOfSqlType(SQLSMALLINT sqlType);

// The kind of a column from SQLColumns' DATA_TYPE and TYPE_NAME. A driver
// that does not know a declared type may report it as character data while
// the database keeps numbers in it (SQLite's driver reports DECIMAL(10,2) as
// VARCHAR): a character column whose type name begins with DECIMAL or
// NUMERIC is taken as decimal.
ColumnKind KindOfColumn(SQLSMALLINT sqlType, const std::string& typeName);

// True when a search for `dataType` compares columns of `kind`: numeric
// choice integer, decimal and floating point columns; string choice
// character columns; date choice date and timestamp columns.
bool KindIsSearched(SearchDataType dataType, ColumnKind kind);

// One bound parameter: the C and SQL types of SQLBindParameter and the
// buffer it points into. Keep it at a fixed address while bound.
struct SearchParameter {
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLSMALLINT sqlType = SQL_VARCHAR;
  SQLULEN columnSize = 0;
  SQLSMALLINT decimalDigits = 0;
  std::string text;      // SQL_C_CHAR
  int64_t integer = 0;   // SQL_C_SBIGINT
  double real = 0;       // SQL_C_DOUBLE
  SQLLEN indicator = 0;  // byte length of text, or 0

  SQLPOINTER buffer();
  SQLLEN bufferLength() const;
};

// Converts `value` for a comparison with a column of `kind`; false when it
// does not convert, and such columns are then left out of the search.
//
// - Numbers are plain decimals: optional sign, digits, optional decimal
//   point ("." or a single ",", since the German list uses it) and digits,
//   blanks around them ignored. Integer columns take only values without a
//   fraction that fit 64 bits; decimal columns take the exact text; floating
//   point columns the nearest double.
// - Dates are "YYYY-MM-DD" or "DD.MM.YYYY", optionally followed by a blank
//   and "HH:MM" or "HH:MM:SS". A date column takes only values without a
//   time of day (or midnight); a timestamp column takes the date at midnight
//   when no time is given. Comparison is equality: a timestamp of 08:30
//   is not found by its date alone.
// - Character columns take any value: the parameter is the LIKE pattern
//   "%VALUE%" of the upper-cased value with "!", "%" and "_" escaped by "!",
//   for the condition UPPER(column) LIKE ? ESCAPE '!'.
bool ConvertSearchValue(const std::string& value, ColumnKind kind, SearchParameter* parameter);
