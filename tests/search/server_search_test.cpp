// The same searches against PostgreSQL and MariaDB find the same records.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "library/catalog/settings.h"
#include "library/search/find_data_dialog.h"
#include "library/search/find_result_dialog.h"
#include "library/search/found_rows_model.h"
#include "tests/search/search_world.h"
#include "tests/support/gui_driver.h"
#include "tests/support/servers.h"

namespace {

// unixODBC keeps what it read of an odbc.ini that seems unchanged (same
// size and second), so each server's data source has a name of its own.
std::string g_dsn;

// "table | key" of each hit, the schema left out (PostgreSQL has one,
// MariaDB has catalogs instead), sorted.
std::vector<std::string> Hits(const std::string& tables, SearchDataType type, const std::string& value) {
  std::vector<std::string> hits;
  for (const SearchRow& row : SearchHits(g_dsn, tables, type, value)) {
    const size_t dot = row.table.rfind('.');
    hits.push_back((dot == std::string::npos ? row.table : row.table.substr(dot + 1)) + " | " + row.key);
  }
  std::sort(hits.begin(), hits.end());
  return hits;
}

class ServerSearchTest : public ::testing::TestWithParam<TestServer> {
 protected:
  void SetUp() override {
    DATROVA_REQUIRE_SERVER(GetParam());
    std::string why;
    server_ = *FindServer(GetParam(), &why);
    g_dsn = std::string("SEARCH_") + ServerName(GetParam());
    AddServerDsn(world_, GetParam(), g_dsn, server_.owner);
    UseLibraryModuleState();
  }
  void TearDown() override {
    for (const MessageBoxRecorder::Call& box : boxes_.calls()) ADD_FAILURE() << "message box: " << box.call.text;
  }
  TestWorld world_;
  ServerInfo server_;
  MessageBoxRecorder boxes_;
};

constexpr char kTables[] = "CUSTOMERS, ORDERS, ORDER_LINES";

TEST_P(ServerSearchTest, FindsTextNumbersAndDates) {
  EXPECT_EQ(Hits(kTables, SearchDataType::String, "trADing"), (std::vector<std::string>{"customers | id=4"}));
  EXPECT_EQ(Hits(kTables, SearchDataType::String, "LEAP"), (std::vector<std::string>{"orders | id=103"}));
  EXPECT_EQ(Hits(kTables, SearchDataType::Numeric, "500"),
            (std::vector<std::string>{"order_lines | order_id=100, line_no=1"}));
  EXPECT_EQ(Hits(kTables, SearchDataType::Numeric, "0.15"),
            (std::vector<std::string>{"order_lines | order_id=100, line_no=1", "order_lines | order_id=102, line_no=1"}));
  EXPECT_EQ(Hits(kTables, SearchDataType::Numeric, "12500.5"), (std::vector<std::string>{"customers | id=1"}));
  EXPECT_EQ(Hits(kTables, SearchDataType::Date, "2023-02-28"), (std::vector<std::string>{"orders | id=102"}));
  EXPECT_EQ(Hits(kTables, SearchDataType::Date, "2023-01-16 08:30:00"), (std::vector<std::string>{"orders | id=100"}));
}

TEST_P(ServerSearchTest, QuotesInTheValueFindNothingAndHarmNothing) {
  EXPECT_TRUE(Hits("", SearchDataType::String, "x' OR '1'='1").empty());
  EXPECT_TRUE(Hits("", SearchDataType::String, "'; DELETE FROM customers; --").empty());
  // The rows are all still there: "e" is in the name or city of three.
  EXPECT_EQ(Hits("CUSTOMERS", SearchDataType::String, "E"),
            (std::vector<std::string>{"customers | id=1", "customers | id=2", "customers | id=4"}));
}

TEST_P(ServerSearchTest, EveryTableAndViewIsVisited) {
  RecordingSink sink;
  SearchControl control;
  RunDataSearch({g_dsn, "", SearchDataType::String, ""}, sink, control);
  std::vector<std::string> tables;
  for (const SearchRow& row : sink.rows()) tables.push_back(row.table.substr(row.table.rfind('.') + 1));
  for (const char* expected : {"customers", "products", "orders", "order_lines", "shipments", "customer_orders"})
    EXPECT_NE(std::find(tables.begin(), tables.end(), expected), tables.end()) << expected;
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerSearchTest, ::testing::Values(TestServer::PostgreSQL, TestServer::MariaDB),
                         [](const auto& info) { return std::string(ServerName(info.param)); });

TEST(ServerSearchLogin, ARefusedLoginIsPromptedForOnTheGuiThread) {
  EnsureGuiApplication();
  DATROVA_REQUIRE_SERVER(TestServer::MariaDB);
  TestWorld world;
  std::string why;
  const ServerInfo server = *FindServer(TestServer::MariaDB, &why);
  AddServerDsn(world, TestServer::MariaDB, "MARIA");  // no login in the DSN
  UseLibraryModuleState();
  ASSERT_TRUE(SaveLogin("MARIA", server.owner.user.c_str(), "wrong-password"));
  MessageBoxRecorder boxes;

  int prompts = 0;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    ASSERT_EQ(dialog->objectName(), "4");
    ++prompts;
    FindControl<QLineEdit>(dialog, 1015)->setText(QString::fromStdString(server.owner.password));
    FindControl<QPushButton>(dialog, 1)->click();
  });
  FindDataDialog find;
  FindControl<QLineEdit>(&find, 1078)->setText("MARIA");
  FindControl<QLineEdit>(&find, 1079)->setText("CUSTOMERS");
  FindControl<QLineEdit>(&find, 1077)->setText("trading");
  find.accept();
  FindResultDialog* result = find.resultDialogs().at(0);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !result->running(); }, 60000));
  EXPECT_EQ(prompts, 1);
  EXPECT_TRUE(boxes.calls().empty());
  ASSERT_EQ(result->model()->rowCount(), 2);
  EXPECT_EQ(result->model()->row(0).key, "id=4");
  EXPECT_EQ(result->model()->row(1).key, "");
}

}  // namespace
