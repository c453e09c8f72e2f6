// The walk and the value search against the real SQLite ODBC driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <set>

#include "library/catalog/odbc_handles.h"
#include "library/catalog/settings.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/search/data_search.h"
#include "library/search/table_search.h"
#include "tests/search/search_world.h"
#include "tests/support/gui_driver.h"

namespace {

std::vector<SearchRow> Sorted(std::vector<SearchRow> rows) {
  std::sort(rows.begin(), rows.end(), [](const SearchRow& a, const SearchRow& b) {
    return std::tie(a.dataSource, a.table, a.key) < std::tie(b.dataSource, b.table, b.key);
  });
  return rows;
}

// The text of one row of a table, read through ODBC, to see that a search
// changed nothing.
std::vector<std::string> TableTexts(const std::string& dsn, const std::string& sql) {
  std::vector<std::string> texts;
  EnvHandle env;
  DbcHandle dbc;
  StmtHandle stmt;
  EXPECT_TRUE(SQL_SUCCEEDED(env.allocate(SQL_NULL_HANDLE)));
  SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  EXPECT_TRUE(SQL_SUCCEEDED(dbc.allocate(env.get())));
  EXPECT_TRUE(SQL_SUCCEEDED(SQLConnect(dbc.get(), (SQLCHAR*)dsn.c_str(), SQL_NTS, nullptr, 0, nullptr, 0)));
  EXPECT_TRUE(SQL_SUCCEEDED(stmt.allocate(dbc.get())));
  EXPECT_TRUE(SQL_SUCCEEDED(SQLExecDirect(stmt.get(), (SQLCHAR*)sql.c_str(), SQL_NTS)));
  char text[256];
  SQLLEN indicator = 0;
  SQLBindCol(stmt.get(), 1, SQL_C_CHAR, text, sizeof text, &indicator);
  while (SQL_SUCCEEDED(SQLFetch(stmt.get()))) texts.push_back(indicator == SQL_NULL_DATA ? "<null>" : text);
  stmt.reset();
  SQLDisconnect(dbc.get());
  return texts;
}

class WalkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddSearchDataSources(world_);
    UseLibraryModuleState();
  }
  TestWorld world_;
};

TEST_F(WalkTest, VisitsEveryTableOfEverySelectedDataSource) {
  world_.addSqliteDsn("GAMMA", "CREATE TABLE solo (id INTEGER PRIMARY KEY);");
  RecordingSink sink;
  SearchControl control;
  RunDataSearch({"ALPHA, BETA", "", SearchDataType::String, ""}, sink, control);

  EXPECT_EQ(sink.dataSources(), (std::vector<std::string>{"ALPHA", "BETA"}));
  const std::vector<SearchRow> rows = sink.rows();
  std::set<std::string> alpha, beta;
  for (const SearchRow& row : rows) {
    EXPECT_EQ(row.key, "") << row;
    (row.dataSource == "ALPHA" ? alpha : beta).insert(row.table);
  }
  EXPECT_EQ(rows.size(), 6u);
  // SQLite gives no schema: the bare names.
  EXPECT_EQ(alpha, (std::set<std::string>{"accounts", "ledger", "memos"}));
  EXPECT_EQ(beta, (std::set<std::string>{"bulk", "parts", "weird \"name\""}));
}

TEST_F(WalkTest, TablePatternsSelectByTheListRule) {
  RecordingSink sink;
  SearchControl control;
  RunDataSearch({"A*", "L*, memos", SearchDataType::String, ""}, sink, control);
  std::set<std::string> tables;
  for (const SearchRow& row : sink.rows()) tables.insert(row.dataSource + "/" + row.table);
  EXPECT_EQ(tables, (std::set<std::string>{"ALPHA/ledger", "ALPHA/memos"}));
}

TEST_F(WalkTest, FindsTextInsideCharacterColumnsWithoutRegardToCase) {
  const std::vector<SearchRow> expected = {
      {"ALPHA", "accounts", "id=1"},
      {"ALPHA", "accounts", "id=3"},
      {"ALPHA", "ledger", "year=2023, entry_no=7"},
      // No primary key: the first columns of the record.
      {"ALPHA", "memos", "title=call alice, body=about the rent, due=2020-05-17"},
  };
  EXPECT_EQ(Sorted(SearchHits("", "", SearchDataType::String, "aLiCe")), Sorted(expected));
  // A name with quotes inside is quoted properly.
  EXPECT_EQ(SearchHits("BETA", "", SearchDataType::String, "NEEDLE"),
            (std::vector<SearchRow>{{"BETA", "weird \"name\"", "odd \"col\"=k1"}}));
}

TEST_F(WalkTest, FindsNumbersByEquality) {
  const std::vector<SearchRow> expected = {
      {"ALPHA", "accounts", "id=1"},
      {"ALPHA", "ledger", "year=2023, entry_no=7"},
      {"ALPHA", "ledger", "year=2024, entry_no=1"},
      {"BETA", "parts", "code=P-2"},
  };
  EXPECT_EQ(Sorted(SearchHits("", "", SearchDataType::Numeric, "250")), Sorted(expected));
  EXPECT_EQ(SearchHits("", "", SearchDataType::Numeric, "250,5"),
            (std::vector<SearchRow>{{"ALPHA", "accounts", "id=4"}}));
  // Integer columns: the key column itself is searched as well.
  EXPECT_EQ(SearchHits("BETA", "bulk", SearchDataType::Numeric, "149"),
            (std::vector<SearchRow>{{"BETA", "bulk", "id=149"}}));
  EXPECT_TRUE(SearchHits("", "", SearchDataType::Numeric, "not a number").empty());
}

TEST_F(WalkTest, FindsDatesByEquality) {
  const std::vector<SearchRow> expected = {
      {"ALPHA", "accounts", "id=1"},
      {"ALPHA", "accounts", "id=3"},
      {"ALPHA", "memos", "title=call alice, body=about the rent, due=2020-05-17"},
  };
  EXPECT_EQ(Sorted(SearchHits("", "", SearchDataType::Date, "2020-05-17")), Sorted(expected));
  EXPECT_EQ(Sorted(SearchHits("", "", SearchDataType::Date, "17.05.2020")), Sorted(expected));
  EXPECT_TRUE(SearchHits("", "", SearchDataType::Date, "2020-05-18").empty());
}

TEST_F(WalkTest, NullKeyValuesShowTheNullText) {
  const std::string saved = g_settings.NullValue;
  std::snprintf(g_settings.NullValue, sizeof g_settings.NullValue, "%s", "<nix>");
  const std::vector<SearchRow> hits = SearchHits("ALPHA", "memos", SearchDataType::String, "OTHER");
  std::snprintf(g_settings.NullValue, sizeof g_settings.NullValue, "%s", saved.c_str());
  EXPECT_EQ(hits, (std::vector<SearchRow>{{"ALPHA", "memos", "title=other, body=<nix>, due=<nix>"}}));
}

TEST_F(WalkTest, QuotesInTheValueAreData) {
  const std::vector<std::string> before = TableTexts("BETA", "SELECT title FROM parts ORDER BY code");
  // The value is the literal title of P-1 and nothing else matches it.
  EXPECT_EQ(SearchHits("", "", SearchDataType::String, "x' OR '1'='1"),
            (std::vector<SearchRow>{{"BETA", "parts", "code=P-1"}}));
  EXPECT_TRUE(SearchHits("", "", SearchDataType::String, "'; DROP TABLE parts; --").empty());
  EXPECT_TRUE(SearchHits("", "", SearchDataType::Numeric, "1 OR 1=1").empty());
  EXPECT_EQ(TableTexts("BETA", "SELECT title FROM parts ORDER BY code"), before);
  EXPECT_EQ(TableTexts("BETA", "SELECT count(*) FROM bulk"), (std::vector<std::string>{"150"}));
}

TEST_F(WalkTest, ListsAtMostAHundredRecordsPerTableAndSaysThereAreMore) {
  RecordingSink sink;
  SearchControl control;
  RunDataSearch({"BETA", "bulk", SearchDataType::String, "bulk"}, sink, control);
  const std::vector<SearchRow> rows = sink.rows();
  ASSERT_EQ(rows.size(), 1u + kMaxRecordsPerTable + 1u);
  EXPECT_EQ(rows.front(), (SearchRow{"BETA", "bulk", ""}));
  std::set<std::string> keys;
  for (size_t i = 1; i <= static_cast<size_t>(kMaxRecordsPerTable); ++i) {
    EXPECT_EQ(rows[i].key.rfind("id=", 0), 0u) << rows[i];
    keys.insert(rows[i].key);
  }
  EXPECT_EQ(keys.size(), static_cast<size_t>(kMaxRecordsPerTable));
  EXPECT_EQ(rows.back(), (SearchRow{"BETA", "bulk", ResString(IDS_SEARCH_MORE_RECORDS)}));
  EXPECT_FALSE(rows.back().key.empty());
}

TEST_F(WalkTest, DataSourceThatCannotConnectIsSkippedAfterItsMessage) {
  world_.addDsn("BROKEN", "No Such Driver", {{"Database", "/nowhere"}});
  MessageBoxRecorder boxes;
  RecordingSink sink;
  SearchControl control;
  RunDataSearch({"ALPHA,BROKEN,BETA", "", SearchDataType::String, ""}, sink, control);
  ASSERT_EQ(boxes.calls().size(), 1u);
  EXPECT_EQ(boxes.calls()[0].call.caption, "Datrova 2.2");
  EXPECT_NE(boxes.calls()[0].call.text.find("IM002"), std::string::npos) << boxes.calls()[0].call.text;
  EXPECT_EQ(sink.rows().size(), 6u);
}

TEST_F(WalkTest, StopEndsALongStatement) {
  // 1000^4 rows: no search of it ever ends by itself.
  AddSlowDataSource(world_);
  RecordingSink sink;
  SearchControl control;
  auto done = std::async(std::launch::async, [&] {
    RunDataSearch({"SLOW", "ENDLESS", SearchDataType::String, "no such text"}, sink, control);
  });
  // Wait until the view is being searched, then give its statement a moment.
  while (sink.rows().empty() && done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
  }
  ASSERT_EQ(sink.rows().size(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  control.requestStop();
  // A deadline against a hang, not a measure of speed.
  if (done.wait_for(std::chrono::seconds(120)) != std::future_status::ready) {
    ADD_FAILURE() << "the search did not stop";
    std::abort();
  }
  EXPECT_EQ(sink.hits().size(), 0u);
}

TEST_F(WalkTest, StopBetweenTablesVisitsNoFurtherTable) {
  RecordingSink sink;
  SearchControl control;
  control.requestStop();
  RunDataSearch({"", "", SearchDataType::String, "alice"}, sink, control);
  EXPECT_TRUE(sink.rows().empty());
}

}  // namespace
