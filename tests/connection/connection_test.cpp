// Connection contexts against the real driver manager and the SQLite driver.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>

#include <atomic>
#include <string>
#include <thread>

#include "library/catalog/connection.h"
#include "library/catalog/settings.h"
#include "library/shell/module_state.h"
#include "platform/com/winbase.h"
#include "tests/support/gui_driver.h"
#include "tests/support/world.h"

namespace {

class ConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    UseLibraryModuleState();
    world_.addSqliteDsn("Demo", "demo.sql");
  }

  // Runs a one-value query on the context's connection.
  static std::string QueryText(ConnectionContext& context, const char* dsn, const char* sql) {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!AllocStatement(context, dsn, &statement)) return "<no statement>";
    std::string value = "<no row>";
    SQLRETURN rc = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS);
    if (OdbcSucceeded(rc) && OdbcSucceeded(SQLFetch(statement))) {
      char buffer[256] = "";
      SQLLEN length = 0;
      SQLGetData(statement, 1, SQL_C_CHAR, buffer, sizeof buffer, &length);
      value = length == SQL_NULL_DATA ? "<null>" : buffer;
    } else if (!OdbcSucceeded(rc)) {
      ReportStatementError(context, rc, statement);
      value = std::string("<error> ") + (context.errorText ? context.errorText : "");
    }
    ReleaseStatement(context, &statement);
    return value;
  }

  TestWorld world_;
  MessageBoxRecorder boxes_;
  ModalDialogWatcher prompts_{[](QDialog* dialog) { dialog->reject(); }};
};

TEST_F(ConnectionTest, DataSourceWithoutLoginConnectsWithoutPrompt) {
  ConnectionContext context;
  ASSERT_TRUE(Connect(context, "Demo")) << (context.errorText ? context.errorText : "");
  EXPECT_TRUE(context.connected);
  EXPECT_NE(context.environment, nullptr);
  EXPECT_NE(context.connection, nullptr);
  EXPECT_EQ(prompts_.dialogsSeen(), 0);
  EXPECT_TRUE(boxes_.calls().empty());

  // It is the fixture's database, and a second Connect keeps the connection.
  SQLHDBC first = context.connection;
  EXPECT_EQ(QueryText(context, "Demo", "SELECT COUNT(*) FROM customers"), "5");
  EXPECT_TRUE(Connect(context, "Demo"));
  EXPECT_EQ(context.connection, first);
}

TEST_F(ConnectionTest, UnknownDataSourceGivesOneMessageWithStateAndMessageLines) {
  ConnectionContext context;
  EXPECT_FALSE(Connect(context, "NoSuchSource"));
  EXPECT_FALSE(context.connected);
  EXPECT_EQ(prompts_.dialogsSeen(), 0);

  auto calls = boxes_.calls();
  ASSERT_EQ(calls.size(), 1u);
  ASSERT_NE(context.errorText, nullptr);
  const std::string text = context.errorText;
  EXPECT_EQ(calls[0].call.text, text);
  EXPECT_EQ(calls[0].call.caption, "Datrova 2.2");
  EXPECT_EQ(calls[0].call.type, MB_ICONINFORMATION | MB_SYSTEMMODAL);
  EXPECT_EQ(calls[0].call.owner, nullptr);
  EXPECT_EQ(text.rfind("IM002\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("Data source name not found"), std::string::npos) << text;
  EXPECT_EQ(text.find("\r\n\r\n"), std::string::npos) << text;
  EXPECT_NE(text.back(), '\n');
}

TEST_F(ConnectionTest, ConnectDsnOffDisconnectsAfterEveryRelease) {
  g_settings.ConnectDSN = false;
  ConnectionContext context;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  ASSERT_TRUE(AllocStatement(context, "Demo", &statement));
  EXPECT_NE(statement, nullptr);
  EXPECT_TRUE(context.connected);
  EXPECT_TRUE(ReleaseStatement(context, &statement));
  EXPECT_EQ(statement, nullptr);
  EXPECT_FALSE(context.connected);
  EXPECT_EQ(context.connection, nullptr);
  EXPECT_EQ(context.environment, nullptr);

  // A temporary table lives as long as its connection: the second operation
  // runs on a new connection and no longer sees it.
  EXPECT_EQ(QueryText(context, "Demo", "CREATE TEMP TABLE marker (x)"), "<no row>");
  std::string second = QueryText(context, "Demo", "SELECT COUNT(*) FROM marker");
  EXPECT_EQ(second.rfind("<error>", 0), 0u) << second;
  EXPECT_NE(second.find("marker"), std::string::npos) << second;
}

TEST_F(ConnectionTest, ConnectDsnOnKeepsOneConnection) {
  g_settings.ConnectDSN = true;
  ConnectionContext context;
  EXPECT_EQ(QueryText(context, "Demo", "CREATE TEMP TABLE marker (x)"), "<no row>");
  EXPECT_TRUE(context.connected);
  EXPECT_EQ(QueryText(context, "Demo", "SELECT COUNT(*) FROM marker"), "0");
  Disconnect(context);
  EXPECT_FALSE(context.connected);
  EXPECT_EQ(context.connection, nullptr);
  EXPECT_EQ(context.environment, nullptr);
}

TEST_F(ConnectionTest, TimeoutBecomesTheLoginTimeout) {
  // Read back from the driver manager before any driver is loaded: the
  // SQLite driver answers with its own busy timeout once connected.
  for (uint32_t seconds : {10u, 37u}) {
    g_settings.Timeout = seconds;
    ConnectionContext context;
    ASSERT_FALSE(Connect(context, "NoSuchSource"));
    ASSERT_NE(context.connection, nullptr);
    SQLUINTEGER timeout = 0;
    ASSERT_TRUE(OdbcSucceeded(SQLGetConnectAttr(context.connection, SQL_ATTR_LOGIN_TIMEOUT, &timeout, 0, nullptr)));
    EXPECT_EQ(timeout, seconds);
  }
}

TEST_F(ConnectionTest, FailedStatementAllocationWithoutConnectionReportsNothingTwice) {
  ConnectionContext context;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  EXPECT_FALSE(AllocStatement(context, "NoSuchSource", &statement));
  EXPECT_EQ(statement, nullptr);
  EXPECT_EQ(boxes_.calls().size(), 1u);
}

TEST_F(ConnectionTest, DriverTermsOfSqlite) {
  ConnectionContext context;
  LoadDriverTerms(context, nullptr);  // the root folder has no data source
  EXPECT_FALSE(context.termsLoaded);
  EXPECT_FALSE(context.connected);

  LoadDriverTerms(context, "Demo");
  ASSERT_TRUE(context.termsLoaded);
  EXPECT_FALSE(context.proceduresSupported);
  EXPECT_STREQ(context.procedureTerm, "");
  EXPECT_STREQ(context.ownerTerm, "");
  EXPECT_FALSE(context.catalogsSupported);
  EXPECT_STREQ(context.catalogTerm, "");
  EXPECT_STRNE(context.tableTerm, "");
}

TEST_F(ConnectionTest, FailureOnAWorkerIsShownOnTheGuiThread) {
  std::atomic<bool> done{false};
  bool connected = true;
  std::thread worker([&] {
    ConnectionContext context;
    connected = Connect(context, "NoSuchSource");
    done = true;
  });
  ASSERT_TRUE(ProcessEventsUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_FALSE(connected);
  auto calls = boxes_.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].thread, std::this_thread::get_id());
}

TEST_F(ConnectionTest, SystemErrorMessages) {
  ShowSystemError(nullptr, 0);
  EXPECT_TRUE(boxes_.calls().empty());

  char expected[512] = "";
  ASSERT_GT(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, expected, 511, nullptr), 0u);
  ShowSystemError(nullptr, ERROR_FILE_NOT_FOUND);
  SetLastError(ERROR_ACCESS_DENIED);
  ShowSystemError(nullptr);
  auto calls = boxes_.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].call.text, expected);
  EXPECT_EQ(calls[0].call.caption, "Datrova 2.2");
  EXPECT_EQ(calls[0].call.type, MB_OK);
  EXPECT_NE(calls[1].call.text, calls[0].call.text);
}

TEST_F(ConnectionTest, ContextLeavesNoHeapBlocks) {
  long before = PlatformHeapLiveBlocks();
  {
    ConnectionContext context;
    EXPECT_FALSE(Connect(context, "NoSuchSource"));
    EXPECT_NE(context.errorText, nullptr);
  }
  EXPECT_EQ(PlatformHeapLiveBlocks(), before);
}

}  // namespace
