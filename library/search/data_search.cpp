#include "library/search/data_search.h"

#include <set>
#include <vector>

#include "library/catalog/connection.h"
#include "library/catalog/odbc_handles.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/search/search_pattern.h"
#include "library/search/table_search.h"

namespace {

constexpr SQLSMALLINT kDsnNameSize = 33;          // 32 characters and the NUL
constexpr SQLSMALLINT kDsnDescriptionSize = 256;
constexpr SQLLEN kCatalogNameSize = 129;          // 128 characters and the NUL

// A connection context that works on the search's environment instead of
// one of its own. On leaving, the connection is closed and freed and the
// environment handed back untouched (a context would free it otherwise).
class BorrowedContext {
 public:
  explicit BorrowedContext(SQLHENV environment) { context_.environment = environment; }
  ~BorrowedContext() {
    if (context_.connected) SQLDisconnect(context_.connection);
    context_.connected = false;
    if (context_.connection != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, context_.connection);
    context_.connection = SQL_NULL_HDBC;
    context_.environment = SQL_NULL_HENV;
  }
  BorrowedContext(const BorrowedContext&) = delete;
  BorrowedContext& operator=(const BorrowedContext&) = delete;
  ConnectionContext& get() { return context_; }

 private:
  ConnectionContext context_;
};

struct CatalogColumn {
  char text[kCatalogNameSize] = "";
  SQLLEN indicator = SQL_NULL_DATA;
  std::optional<std::string> value() const {
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    return std::string(text);
  }
};

// Every table and view of the connected data source, in the driver's order.
// A failing fetch ends the list with the tables read so far.
std::vector<TableRef> ListTables(ConnectionContext& context, SQLHSTMT statement) {
  std::vector<TableRef> tables;
  SQLRETURN rc = SQLTables(statement, nullptr, 0, nullptr, 0, nullptr, 0,
                           reinterpret_cast<SQLCHAR*>(const_cast<char*>("TABLE,VIEW")), SQL_NTS);
  if (!OdbcSucceeded(rc)) {
    ReportStatementError(context, rc, statement);
    return tables;
  }
  SQLSMALLINT columnCount = 0;
  SQLNumResultCols(statement, &columnCount);
  CatalogColumn catalog, schema, name;
  CatalogColumn* bound[] = {&catalog, &schema, &name};
  for (SQLSMALLINT i = 0; i < 3 && i < columnCount; ++i)
    SQLBindCol(statement, static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR, bound[i]->text, kCatalogNameSize,
               &bound[i]->indicator);
  for (;;) {
    for (CatalogColumn* column : bound) column->indicator = SQL_NULL_DATA;
    rc = SQLFetch(statement);
    if (rc == SQL_NO_DATA) break;
    if (!OdbcSucceeded(rc)) {
      ReportStatementError(context, rc, statement);
      break;
    }
    tables.push_back({catalog.value(), schema.value(), name.value()});
  }
  return tables;
}

void SearchDataSource(SQLHENV environment, const std::string& dataSource, const SearchRequest& request,
                      SearchSink& sink, SearchControl& control) {
  BorrowedContext borrowed(environment);
  ConnectionContext& context = borrowed.get();
  SQLHSTMT raw = SQL_NULL_HSTMT;
  if (!AllocStatement(context, dataSource.c_str(), &raw)) return;

  std::vector<TableRef> tables;
  {
    StmtHandle statement(raw);
    StatementWatch watch(control, statement.get());
    if (control.stopRequested()) return;
    tables = ListTables(context, statement.get());
  }
  const SqlNaming naming = ReadSqlNaming(context.connection);
  const std::string moreText = ResString(IDS_SEARCH_MORE_RECORDS);

  for (const TableRef& table : tables) {
    if (control.stopRequested()) return;
    const std::string qualified = QualifiedTableName(table.schema ? table.schema->c_str() : nullptr,
                                                     table.name ? table.name->c_str() : nullptr);
    // A table is selected by its qualified name or by its bare name, so that
    // "EMP" finds HR.EMP as well where every table carries a schema.
    if (!MatchesPattern(request.tablePatterns, qualified) &&
        !MatchesPattern(request.tablePatterns, table.name.value_or("")))
      continue;
    sink.currentTable(qualified);
    sink.addRow(dataSource, qualified, std::string());
    const TableSearchResult found = SearchTable(context, naming, table, request, control);
    for (const std::string& key : found.keys) sink.addRow(dataSource, qualified, key);
    if (found.more) sink.addRow(dataSource, qualified, moreText);
  }
}

}  // namespace

void RunDataSearch(const SearchRequest& request, SearchSink& sink, SearchControl& control) {
  SQLHENV raw = SQL_NULL_HENV;
  const SQLRETURN rc = AllocEnvironment(&raw);
  EnvHandle environment(raw);
  if (!OdbcSucceeded(rc)) return;

  // The names first: connecting (and prompting) while SQLDataSources walks
  // the same environment is left alone. A name defined both as user and as
  // system data source reaches the same data source (the user one) and is
  // searched once.
  std::vector<std::string> names;
  std::set<std::string> seen;
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLCHAR name[kDsnNameSize] = "";
    SQLCHAR description[kDsnDescriptionSize] = "";
    SQLSMALLINT nameLength = 0, descriptionLength = 0;
    if (!OdbcSucceeded(SQLDataSources(environment.get(), direction, name, sizeof name, &nameLength, description,
                                      sizeof description, &descriptionLength)))
      break;
    direction = SQL_FETCH_NEXT;
    const std::string text(reinterpret_cast<const char*>(name));
    if (seen.insert(text).second) names.push_back(text);
  }

  for (const std::string& name : names) {
    if (control.stopRequested()) return;
    if (!MatchesPattern(request.dataSourcePatterns, name)) continue;
    sink.currentDataSource(name);
    sink.currentTable(std::string());
    SearchDataSource(environment.get(), name, request, sink, control);
  }
}
