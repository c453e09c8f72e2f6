// CollectDiagnostics and ReportStatementError on real diagnostic records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/catalog/connection.h"
#include "library/catalog/odbc_handles.h"
#include "library/catalog/text_utils.h"
#include "platform/com/winbase.h"
#include "tests/support/world.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

class DiagnosticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseLibraryModuleState();
    world_.addSqliteDsn("Tiny", "tiny.sql");
    ASSERT_TRUE(OdbcSucceeded(AllocEnvironment(&env_)));
    ASSERT_TRUE(OdbcSucceeded(dbc_.allocate(env_)));
  }
  void TearDown() override {
    dbc_.reset();
    if (env_) SQLFreeHandle(SQL_HANDLE_ENV, env_);
    HeapFreeBlock(text_);
  }

  // A failed SQLConnect to a missing data source leaves a record on dbc_.
  SQLRETURN FailConnect(const char* dsn) {
    return SQLConnect(dbc_.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(dsn)), SQL_NTS, nullptr, 0,
                      nullptr, 0);
  }

  TestWorld world_;
  SQLHENV env_ = SQL_NULL_HENV;
  DbcHandle dbc_;
  char* text_ = nullptr;
};

TEST_F(DiagnosticsTest, EnvironmentIsOdbc3) {
  SQLINTEGER version = 0;
  ASSERT_TRUE(OdbcSucceeded(SQLGetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, &version, 0, nullptr)));
  EXPECT_EQ(version, SQL_OV_ODBC3);
}

TEST_F(DiagnosticsTest, FailureRecordsBecomeStateAndMessageLines) {
  SQLRETURN rc = FailConnect("Missing");
  ASSERT_EQ(rc, SQL_ERROR);
  EXPECT_FALSE(CollectDiagnostics(&text_, rc, SQL_HANDLE_DBC, dbc_.get()));
  ASSERT_NE(text_, nullptr);
  std::vector<std::string> lines = SplitLines(text_);
  ASSERT_EQ(lines.size() % 2, 0u) << text_;
  for (size_t i = 0; i < lines.size(); i += 2) {
    EXPECT_EQ(lines[i].size(), 5u) << "state line " << i << ": " << text_;
    EXPECT_FALSE(lines[i + 1].empty()) << text_;
  }
  EXPECT_EQ(lines[0], "IM002");
}

TEST_F(DiagnosticsTest, SuccessAndNoDataClearTheSlot) {
  SQLRETURN rc = FailConnect("Missing");
  ASSERT_FALSE(CollectDiagnostics(&text_, rc, SQL_HANDLE_DBC, dbc_.get()));
  ASSERT_NE(text_, nullptr);
  long blocks = PlatformHeapLiveBlocks();

  EXPECT_FALSE(CollectDiagnostics(&text_, SQL_SUCCESS, SQL_HANDLE_DBC, dbc_.get()));
  EXPECT_EQ(text_, nullptr);
  EXPECT_EQ(PlatformHeapLiveBlocks(), blocks - 1);  // the old text went back

  rc = FailConnect("Missing");
  ASSERT_FALSE(CollectDiagnostics(&text_, rc, SQL_HANDLE_DBC, dbc_.get()));
  EXPECT_FALSE(CollectDiagnostics(&text_, SQL_NO_DATA, SQL_HANDLE_DBC, dbc_.get()));
  EXPECT_EQ(text_, nullptr);
  EXPECT_FALSE(CollectDiagnostics(&text_, SQL_SUCCESS_WITH_INFO, SQL_HANDLE_DBC, dbc_.get()));
  EXPECT_EQ(text_, nullptr);
}

TEST_F(DiagnosticsTest, EachCallReplacesTheText) {
  SQLRETURN rc = FailConnect("Missing");
  CollectDiagnostics(&text_, rc, SQL_HANDLE_DBC, dbc_.get());
  ASSERT_NE(text_, nullptr);
  std::string first = text_;
  rc = FailConnect("AlsoMissing");
  CollectDiagnostics(&text_, rc, SQL_HANDLE_DBC, dbc_.get());
  ASSERT_NE(text_, nullptr);
  // The records of the second call only, not appended to the first.
  EXPECT_EQ(SplitLines(text_).size(), SplitLines(first).size());
}

TEST_F(DiagnosticsTest, StatementErrorGoesIntoTheContext) {
  ConnectionContext context;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  ASSERT_TRUE(AllocStatement(context, "Tiny", &statement));
  SQLRETURN rc = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELEKT nothing")), SQL_NTS);
  ASSERT_EQ(rc, SQL_ERROR);
  ReportStatementError(context, rc, statement);
  ASSERT_NE(context.errorText, nullptr);
  std::vector<std::string> lines = SplitLines(context.errorText);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "HY000");
  EXPECT_NE(lines[1].find("syntax error"), std::string::npos) << context.errorText;
  ReleaseStatement(context, &statement);
}

TEST_F(DiagnosticsTest, LongMessagesAreCutNotDropped) {
  ConnectionContext context;
  SQLHSTMT statement = SQL_NULL_HSTMT;
  ASSERT_TRUE(AllocStatement(context, "Tiny", &statement));
  // The driver repeats the unknown table's 700-character name in its message.
  std::string sql = "SELECT * FROM t" + std::string(700, 'x');
  SQLRETURN rc = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS);
  ASSERT_EQ(rc, SQL_ERROR);
  ReportStatementError(context, rc, statement);
  ASSERT_NE(context.errorText, nullptr);
  std::vector<std::string> lines = SplitLines(context.errorText);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "HY000");
  EXPECT_GT(lines[1].size(), 400u);
  EXPECT_LT(lines[1].size(), 512u);
  ReleaseStatement(context, &statement);
}

}  // namespace
