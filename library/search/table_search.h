// The value search in one table: the columns of the chosen kind are compared
// with the search value by one parameterised statement, and every matching
// record is named by its primary key.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/catalog/connection.h"
#include "library/search/search_control.h"
#include "library/search/search_request.h"

// Most records listed per table; one more is fetched to learn that there are
// more.
inline constexpr int kMaxRecordsPerTable = 100;
// Columns named in "KEY" when a table has no primary key.
inline constexpr int kKeyColumnsWithoutPrimaryKey = 3;

// A table as SQLTables gives it; nullopt stands for NULL.
struct TableRef {
  std::optional<std::string> catalog;
  std::optional<std::string> schema;
  std::optional<std::string> name;
};

// What a driver says about naming tables in SQL text.
struct SqlNaming {
  std::string quote;             // identifier quote; empty when the driver has none
  std::string catalogSeparator;  // between catalog and the rest
  bool catalogInStatements = false;
  bool catalogAtEnd = false;     // SQL_CL_END: name, separator, catalog
};

// Reads the naming facts of a connected driver.
SqlNaming ReadSqlNaming(SQLHDBC connection);

// `identifier` in the driver's quotes, a quote inside it doubled.
std::string QuoteIdentifier(const SqlNaming& naming, const std::string& identifier);

// The table as it is named after FROM: catalog (when the driver uses
// catalogs in statements), schema and name, each quoted. Empty texts are
// left out.
std::string TableReference(const SqlNaming& naming, const TableRef& table);

struct TableSearchResult {
  std::vector<std::string> keys;  // "column=value, column=value" per record, at most kMaxRecordsPerTable
  bool more = false;              // further records matched
};

// Searches `table` over the connected context. A table without columns of
// the chosen kind, or whose columns do not take the value, runs no
// statement and finds nothing; a statement that fails finds nothing (its
// diagnostics stay in the context's error text).
TableSearchResult SearchTable(ConnectionContext& context, const SqlNaming& naming, const TableRef& table,
                              const SearchRequest& request, SearchControl& control);
