#include "library/search/table_search.h"

#include <algorithm>
#include <utility>

#include "library/catalog/odbc_handles.h"
#include "library/catalog/settings.h"
#include "library/search/search_value.h"

namespace {

constexpr SQLLEN kNameBufferSize = 129;  // catalog names: 128 characters and the NUL
constexpr SQLLEN kValueBufferSize = 256; // key values shown: longer ones are cut

struct ColumnInfo {
  std::string name;
  ColumnKind kind = ColumnKind::Other;
};

// Name argument of a catalog function: the text, or NULL with length 0.
SQLCHAR* NameArg(const std::optional<std::string>& text) {
  return text ? reinterpret_cast<SQLCHAR*>(const_cast<char*>(text->c_str())) : nullptr;
}
SQLSMALLINT NameLength(const std::optional<std::string>& text) { return text ? SQL_NTS : 0; }

std::string InfoText(SQLHDBC connection, SQLUSMALLINT type) {
  char buffer[64] = "";
  SQLSMALLINT length = 0;
  if (!OdbcSucceeded(SQLGetInfo(connection, type, buffer, sizeof buffer, &length))) return {};
  buffer[sizeof buffer - 1] = '\0';
  return buffer;
}

struct NameColumn {
  char text[kNameBufferSize] = "";
  SQLLEN indicator = SQL_NULL_DATA;

  void bind(SQLHSTMT statement, SQLUSMALLINT number) {
    SQLBindCol(statement, number, SQL_C_CHAR, text, sizeof text, &indicator);
  }
  std::optional<std::string> value() const {
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    return std::string(text);
  }
};

// The columns of `table` in their order. SQLColumns takes search patterns,
// in which "_" and "%" of a real name match other characters too, so rows
// of other tables are dropped by comparing the names the driver returns.
std::vector<ColumnInfo> ReadColumns(ConnectionContext& context, const TableRef& table) {
  std::vector<ColumnInfo> columns;
  StmtHandle statement;
  if (!OdbcSucceeded(statement.allocate(context.connection))) return columns;
  SQLRETURN rc = SQLColumns(statement.get(), NameArg(table.catalog), NameLength(table.catalog),
                            NameArg(table.schema), NameLength(table.schema), NameArg(table.name),
                            NameLength(table.name), nullptr, 0);
  if (!OdbcSucceeded(rc)) {
    ReportStatementError(context, rc, statement.get());
    return columns;
  }
  NameColumn schema, name, column, typeName;
  SQLSMALLINT dataType = 0;
  SQLLEN dataTypeIndicator = SQL_NULL_DATA;
  schema.bind(statement.get(), 2);
  name.bind(statement.get(), 3);
  column.bind(statement.get(), 4);
  SQLBindCol(statement.get(), 5, SQL_C_SSHORT, &dataType, 0, &dataTypeIndicator);
  typeName.bind(statement.get(), 6);
  for (;;) {
    schema.indicator = name.indicator = column.indicator = typeName.indicator = dataTypeIndicator = SQL_NULL_DATA;
    rc = SQLFetch(statement.get());
    if (rc == SQL_NO_DATA) break;
    if (!OdbcSucceeded(rc)) {
      ReportStatementError(context, rc, statement.get());
      break;
    }
    if (name.value() != table.name) continue;
    if (table.schema && schema.value() != table.schema) continue;
    if (column.indicator == SQL_NULL_DATA) continue;
    const SQLSMALLINT type = dataTypeIndicator == SQL_NULL_DATA ? SQLSMALLINT{0} : dataType;
    columns.push_back({column.text, KindOfColumn(type, typeName.value().value_or(""))});
  }
  return columns;
}

// The primary key columns of `table` in key order; empty when it has none or
// the driver cannot tell.
std::vector<std::string> ReadPrimaryKey(ConnectionContext& context, const TableRef& table) {
  std::vector<std::string> key;
  SQLUSMALLINT supported = SQL_FALSE;
  if (!OdbcSucceeded(SQLGetFunctions(context.connection, SQL_API_SQLPRIMARYKEYS, &supported)) ||
      supported != SQL_TRUE)
    return key;
  StmtHandle statement;
  if (!OdbcSucceeded(statement.allocate(context.connection))) return key;
  SQLRETURN rc = SQLPrimaryKeys(statement.get(), NameArg(table.catalog), NameLength(table.catalog),
                                NameArg(table.schema), NameLength(table.schema), NameArg(table.name),
                                NameLength(table.name));
  if (!OdbcSucceeded(rc)) {
    ReportStatementError(context, rc, statement.get());
    return key;
  }
  NameColumn column;
  SQLSMALLINT sequence = 0;
  SQLLEN sequenceIndicator = SQL_NULL_DATA;
  column.bind(statement.get(), 4);
  SQLBindCol(statement.get(), 5, SQL_C_SSHORT, &sequence, 0, &sequenceIndicator);
  std::vector<std::pair<SQLSMALLINT, std::string>> ordered;
  for (;;) {
    column.indicator = sequenceIndicator = SQL_NULL_DATA;
    rc = SQLFetch(statement.get());
    if (rc == SQL_NO_DATA) break;
    if (!OdbcSucceeded(rc)) {
      ReportStatementError(context, rc, statement.get());
      return key;
    }
    if (column.indicator == SQL_NULL_DATA) continue;
    ordered.emplace_back(sequenceIndicator == SQL_NULL_DATA ? SQLSMALLINT{0} : sequence, column.text);
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& entry : ordered) key.push_back(std::move(entry.second));
  return key;
}

std::string Condition(const SqlNaming& naming, const std::string& column, ColumnKind kind) {
  const std::string quoted = QuoteIdentifier(naming, column);
  if (kind == ColumnKind::Character) return "UPPER(" + quoted + ") LIKE ? ESCAPE '!'";
  return quoted + " = ?";
}

struct KeyBuffer {
  char text[kValueBufferSize] = "";
  SQLLEN indicator = SQL_NULL_DATA;
};

}  // namespace

SqlNaming ReadSqlNaming(SQLHDBC connection) {
  SqlNaming naming;
  naming.quote = InfoText(connection, SQL_IDENTIFIER_QUOTE_CHAR);
  // A blank is the driver's way of saying that it quotes nothing.
  if (naming.quote == " ") naming.quote.clear();

  if (InfoText(connection, SQL_CATALOG_NAME) == "Y") {
    SQLUINTEGER usage = 0;
    SQLUSMALLINT location = 0;
    if (OdbcSucceeded(SQLGetInfo(connection, SQL_CATALOG_USAGE, &usage, sizeof usage, nullptr)))
      naming.catalogInStatements = (usage & SQL_CU_DML_STATEMENTS) != 0;
    if (OdbcSucceeded(SQLGetInfo(connection, SQL_CATALOG_LOCATION, &location, sizeof location, nullptr)))
      naming.catalogAtEnd = location == SQL_CL_END;
    naming.catalogSeparator = InfoText(connection, SQL_CATALOG_NAME_SEPARATOR);
    if (naming.catalogSeparator.empty()) naming.catalogInStatements = false;
  }
  return naming;
}

std::string QuoteIdentifier(const SqlNaming& naming, const std::string& identifier) {
  if (naming.quote.empty()) return identifier;
  std::string quoted = naming.quote;
  for (size_t i = 0; i < identifier.size();) {
    if (identifier.compare(i, naming.quote.size(), naming.quote) == 0) {
      quoted += naming.quote + naming.quote;
      i += naming.quote.size();
    } else {
      quoted += identifier[i++];
    }
  }
  return quoted + naming.quote;
}

std::string TableReference(const SqlNaming& naming, const TableRef& table) {
  std::string reference;
  if (table.schema && !table.schema->empty()) reference = QuoteIdentifier(naming, *table.schema) + ".";
  reference += QuoteIdentifier(naming, table.name.value_or(""));
  const bool withCatalog = naming.catalogInStatements && table.catalog && !table.catalog->empty();
  if (!withCatalog) return reference;
  const std::string catalog = QuoteIdentifier(naming, *table.catalog);
  return naming.catalogAtEnd ? reference + naming.catalogSeparator + catalog
                             : catalog + naming.catalogSeparator + reference;
}

TableSearchResult SearchTable(ConnectionContext& context, const SqlNaming& naming, const TableRef& table,
                              const SearchRequest& request, SearchControl& control) {
  TableSearchResult result;
  if (request.value.empty() || !table.name || control.stopRequested()) return result;

  const std::vector<ColumnInfo> columns = ReadColumns(context, table);
  std::vector<std::string> conditions;
  std::vector<SearchParameter> parameters;
  for (const ColumnInfo& column : columns) {
    const ColumnKind kind = column.kind;
    if (!KindIsSearched(request.dataType, kind)) continue;
    SearchParameter parameter;
    if (!ConvertSearchValue(request.value, kind, &parameter)) continue;
    conditions.push_back(Condition(naming, column.name, kind));
    parameters.push_back(std::move(parameter));
  }
  if (conditions.empty() || control.stopRequested()) return result;

  std::vector<std::string> keyColumns = ReadPrimaryKey(context, table);
  if (keyColumns.empty()) {
    for (size_t i = 0; i < columns.size() && i < static_cast<size_t>(kKeyColumnsWithoutPrimaryKey); ++i)
      keyColumns.push_back(columns[i].name);
  }

  std::string sql = "SELECT ";
  for (size_t i = 0; i < keyColumns.size(); ++i) {
    if (i) sql += ", ";
    sql += QuoteIdentifier(naming, keyColumns[i]);
  }
  sql += " FROM " + TableReference(naming, table) + " WHERE ";
  for (size_t i = 0; i < conditions.size(); ++i) {
    if (i) sql += " OR ";
    sql += conditions[i];
  }

  StmtHandle statement;
  if (!OdbcSucceeded(statement.allocate(context.connection))) return result;
  StatementWatch watch(control, statement.get());
  if (control.stopRequested()) return result;
  // Only a hint: a driver that ignores it still stops being read below.
  SQLSetStmtAttr(statement.get(), SQL_ATTR_MAX_ROWS,
                 reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(kMaxRecordsPerTable + 1)), 0);

  SQLRETURN rc = SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS);
  for (size_t i = 0; OdbcSucceeded(rc) && i < parameters.size(); ++i) {
    SearchParameter& p = parameters[i];
    rc = SQLBindParameter(statement.get(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, p.cType,
                          p.sqlType, p.columnSize, p.decimalDigits, p.buffer(), p.bufferLength(), &p.indicator);
  }
  if (OdbcSucceeded(rc)) rc = SQLExecute(statement.get());
  if (!OdbcSucceeded(rc)) {
    ReportStatementError(context, rc, statement.get());
    return result;
  }

  std::vector<KeyBuffer> values(keyColumns.size());
  for (size_t i = 0; i < values.size(); ++i)
    SQLBindCol(statement.get(), static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR, values[i].text,
               sizeof values[i].text, &values[i].indicator);

  while (!control.stopRequested()) {
    for (KeyBuffer& value : values) value.indicator = SQL_NULL_DATA;
    rc = SQLFetch(statement.get());
    if (rc == SQL_NO_DATA) break;
    if (!OdbcSucceeded(rc)) {
      ReportStatementError(context, rc, statement.get());
      break;
    }
    if (result.keys.size() == static_cast<size_t>(kMaxRecordsPerTable)) {
      result.more = true;
      break;
    }
    std::string key;
    for (size_t i = 0; i < values.size(); ++i) {
      if (i) key += ", ";
      key += keyColumns[i] + "=";
      key += values[i].indicator == SQL_NULL_DATA ? g_settings.NullValue : values[i].text;
    }
    result.keys.push_back(std::move(key));
  }
  return result;
}
