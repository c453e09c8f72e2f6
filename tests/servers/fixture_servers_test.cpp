// The test servers themselves: their fixture databases through the real
// drivers, the second role's privileges, the routines, where they listen,
// and what the helpers say when a server is not there.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "library/catalog/odbc_api.h"
#include "tests/support/servers.h"
#include "tests/support/world.h"

namespace {

// A connection of the driver manager, closed and freed by its destructor.
class RawConnection {
 public:
  RawConnection() {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
  }
  ~RawConnection() {
    if (connected_) SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
  }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  // Empty texts on success, else the diagnostics.
  std::string connect(const std::string& dsn, const std::string& user = "", const std::string& password = "") {
    SQLRETURN rc = SQLConnect(dbc_, (SQLCHAR*)dsn.c_str(), SQL_NTS, (SQLCHAR*)user.c_str(), SQL_NTS,
                              (SQLCHAR*)password.c_str(), SQL_NTS);
    connected_ = SQL_SUCCEEDED(rc);
    return connected_ ? std::string() : Diagnostics(SQL_HANDLE_DBC, dbc_);
  }
  SQLHDBC handle() const { return dbc_; }

  static std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string text;
    for (SQLSMALLINT i = 1;; ++i) {
      SQLCHAR state[6] = "";
      SQLCHAR message[512] = "";
      SQLINTEGER native = 0;
      SQLSMALLINT length = 0;
      if (SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length) != SQL_SUCCESS) break;
      text += std::string((char*)state) + " " + (char*)message + "\n";
    }
    return text.empty() ? "<no diagnostics>" : text;
  }

 private:
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  bool connected_ = false;
};

using Rows = std::vector<std::vector<std::string>>;

// Every row of a result as texts ("<null>" for NULL); a failure gives one
// row that starts with "<error>".
Rows ReadRows(SQLHSTMT statement, SQLRETURN rc) {
  if (!SQL_SUCCEEDED(rc)) return {{"<error>", RawConnection::Diagnostics(SQL_HANDLE_STMT, statement)}};
  SQLSMALLINT columns = 0;
  SQLNumResultCols(statement, &columns);
  Rows rows;
  while (SQL_SUCCEEDED(rc = SQLFetch(statement))) {
    std::vector<std::string> row;
    for (SQLUSMALLINT c = 1; c <= columns; ++c) {
      char buffer[512] = "";
      SQLLEN length = 0;
      SQLGetData(statement, c, SQL_C_CHAR, buffer, sizeof buffer, &length);
      row.push_back(length == SQL_NULL_DATA ? "<null>" : buffer);
    }
    rows.push_back(row);
  }
  if (rc != SQL_NO_DATA) rows.push_back({"<error>", RawConnection::Diagnostics(SQL_HANDLE_STMT, statement)});
  return rows;
}

struct Statement {
  explicit Statement(SQLHDBC dbc) { SQLAllocHandle(SQL_HANDLE_STMT, dbc, &handle); }
  ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, handle); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  SQLHSTMT handle = SQL_NULL_HSTMT;
};

Rows Query(RawConnection& connection, const std::string& sql) {
  Statement statement(connection.handle());
  return ReadRows(statement.handle, SQLExecDirect(statement.handle, (SQLCHAR*)sql.c_str(), SQL_NTS));
}

std::string Flat(const Rows& rows) {
  std::ostringstream text;
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) text << (i ? "|" : "") << row[i];
    text << "\n";
  }
  return text.str();
}

class ServerFixtureTest : public ::testing::TestWithParam<TestServer> {
 protected:
  void SetUp() override {
    DATROVA_REQUIRE_SERVER(GetParam());
    std::string why;
    info_ = *FindServer(GetParam(), &why);
    // Names of their own per server: see the ini cache note in servers.cpp.
    owner_ = std::string(ServerName(GetParam())) + "Owner";
    reader_ = std::string(ServerName(GetParam())) + "Reader";
    AddServerDsn(world_, GetParam(), owner_, info_.owner);
    AddServerDsn(world_, GetParam(), reader_);
  }
  bool IsPostgres() const { return GetParam() == TestServer::PostgreSQL; }

  TestWorld world_;
  ServerInfo info_;
  std::string owner_;
  std::string reader_;
};

TEST_P(ServerFixtureTest, FixtureDataThroughTheDriver) {
  RawConnection connection;
  ASSERT_EQ(connection.connect(owner_, info_.owner.user, info_.owner.password), "");
  EXPECT_EQ(Flat(Query(connection, "SELECT id, name, city, since, credit FROM customers ORDER BY id")),
            "1|Müller & Söhne GmbH|München|2019-03-14|12500.50\n"
            "2|Café Ørsted|København|2020-11-02|0.00\n"
            "3|Ελληνική Εταιρεία|<null>|<null>|<null>\n"
            "4|Plain Trading|Leeds|2021-01-31|-42.10\n"
            "5|東京商事|東京|2018-07-07|99999999.99\n");
  EXPECT_EQ(Flat(Query(connection, "SELECT customer, order_id FROM customer_orders ORDER BY order_id")),
            "Müller & Söhne GmbH|100\nMüller & Söhne GmbH|101\nCafé Ørsted|102\nPlain Trading|103\n");
  EXPECT_EQ(Flat(Query(connection, "SELECT order_id, line_no, product_code FROM order_lines "
                                   "WHERE product_code IS NULL")),
            "103|1|<null>\n");
}

TEST_P(ServerFixtureTest, TwoColumnKeysAndForeignKeyRules) {
  RawConnection connection;
  ASSERT_EQ(connection.connect(owner_, info_.owner.user, info_.owner.password), "");
  const char* catalog = IsPostgres() ? nullptr : info_.database.c_str();
  {
    Statement keys(connection.handle());
    Rows rows = ReadRows(keys.handle, SQLPrimaryKeys(keys.handle, (SQLCHAR*)catalog, catalog ? SQL_NTS : 0,
                                                     nullptr, 0, (SQLCHAR*)"order_lines", SQL_NTS));
    std::string columns;
    for (const auto& row : rows) columns += row.at(3) + ":" + row.at(4) + " ";
    EXPECT_EQ(columns, "order_id:1 line_no:2 ") << Flat(rows);
  }
  // Foreign keys that point at order_lines: the two-column one of shipments.
  Statement fks(connection.handle());
  Rows rows = ReadRows(fks.handle, SQLForeignKeys(fks.handle, (SQLCHAR*)catalog, catalog ? SQL_NTS : 0, nullptr,
                                                   0, (SQLCHAR*)"order_lines", SQL_NTS, nullptr, 0, nullptr, 0,
                                                   nullptr, 0));
  std::set<std::string> seen;
  for (const auto& row : rows)  // FKTABLE_NAME, FKCOLUMN_NAME, KEY_SEQ, UPDATE_RULE, DELETE_RULE
    seen.insert(row.at(6) + "." + row.at(7) + " " + row.at(8) + " " + row.at(9) + " " + row.at(10));
  const std::string noAction = std::to_string(SQL_NO_ACTION);
  EXPECT_EQ(seen, (std::set<std::string>{"shipments.order_id 1 " + noAction + " " + noAction,
                                         "shipments.line_no 2 " + noAction + " " + noAction}))
      << Flat(rows);

  // And those of order_lines itself: differing rules per key.
  Statement own(connection.handle());
  rows = ReadRows(own.handle, SQLForeignKeys(own.handle, nullptr, 0, nullptr, 0, nullptr, 0, (SQLCHAR*)catalog,
                                             catalog ? SQL_NTS : 0, nullptr, 0, (SQLCHAR*)"order_lines", SQL_NTS));
  seen.clear();
  for (const auto& row : rows) seen.insert(row.at(2) + " " + row.at(9) + " " + row.at(10));
  EXPECT_EQ(seen, (std::set<std::string>{
                      "orders " + std::to_string(SQL_RESTRICT) + " " + std::to_string(SQL_CASCADE),
                      "products " + std::to_string(SQL_CASCADE) + " " + std::to_string(SQL_SET_NULL)}))
      << Flat(rows);
}

TEST_P(ServerFixtureTest, SecondRoleHasExactlyItsTablePrivileges) {
  RawConnection reader;
  ASSERT_EQ(reader.connect(reader_, info_.reader.user, info_.reader.password), "");
  EXPECT_EQ(Query(reader, "SELECT COUNT(*) FROM customers"), (Rows{{"5"}}));
  EXPECT_EQ(Query(reader, "SELECT COUNT(*) FROM orders"), (Rows{{"4"}}));
  EXPECT_EQ(Query(reader, "SELECT COUNT(*) FROM products").at(0).at(0), "<error>");
  EXPECT_EQ(Query(reader, "DELETE FROM orders WHERE id = -1").size(), 1u);  // a refusal, not rows
  EXPECT_EQ(Query(reader, "DELETE FROM orders WHERE id = -1").at(0).at(0), "<error>");

  // What the server itself records (drivers differ in how they read it
  // back); each server shows a role its own grants.
  auto privileges = [&](const char* table) {
    Rows rows = Query(reader, std::string("SELECT privilege_type FROM information_schema.table_privileges "
                                         "WHERE grantee LIKE '%") + info_.reader.user +
                                 "%' AND table_name = '" + table + "'");
    std::set<std::string> granted;
    for (const auto& row : rows) granted.insert(row.at(0));
    return granted;
  };
  EXPECT_EQ(privileges("customers"), (std::set<std::string>{"SELECT"}));
  EXPECT_EQ(privileges("orders"), (std::set<std::string>{"INSERT", "SELECT", "UPDATE"}));
  EXPECT_EQ(privileges("products"), (std::set<std::string>{}));
}

TEST_P(ServerFixtureTest, RoutinesWithTheirParameterDirections) {
  RawConnection connection;
  ASSERT_EQ(connection.connect(owner_, info_.owner.user, info_.owner.password), "");
  Statement list(connection.handle());
  std::set<std::string> names;
  for (const auto& row : ReadRows(list.handle, SQLProcedures(list.handle, nullptr, 0, nullptr, 0, nullptr, 0)))
    if (row.size() > 2) names.insert(row[2]);
  EXPECT_TRUE(names.count("add_tax")) << "procedures seen: " << names.size();
  EXPECT_TRUE(names.count("raise_credit"));
  if (IsPostgres()) {
    EXPECT_TRUE(names.count("order_total"));
    EXPECT_TRUE(names.count("split_name"));
    EXPECT_TRUE(names.count("customers_in"));
  }

  // raise_credit has an INOUT amount on both servers.
  Statement columns(connection.handle());
  Rows rows = ReadRows(columns.handle, SQLProcedureColumns(columns.handle, nullptr, 0, nullptr, 0,
                                                           (SQLCHAR*)"raise_credit", SQL_NTS, nullptr, 0));
  std::string amountType;
  for (const auto& row : rows)
    if (row.size() > 4 && row[3] == "p_amount") amountType = row[4];
  EXPECT_EQ(amountType, std::to_string(SQL_PARAM_INPUT_OUTPUT)) << Flat(rows);
}

TEST_P(ServerFixtureTest, ListensOnLoopbackOnly) {
  // /proc/net/tcp{,6}: "local_address rem_address st" with hex address:port;
  // state 0A is LISTEN.
  int listeners = 0;
  for (const char* file : {"/proc/net/tcp", "/proc/net/tcp6"}) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::string slot, local, remote, state;
      fields >> slot >> local >> remote >> state;
      const size_t colon = local.find(':');
      if (state != "0A" || colon == std::string::npos) continue;
      if (std::stoi(local.substr(colon + 1), nullptr, 16) != info_.port) continue;
      ++listeners;
      EXPECT_EQ(local.substr(0, colon), "0100007F") << file << ": " << line;
    }
  }
  EXPECT_EQ(listeners, 1);
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerFixtureTest,
                         ::testing::Values(TestServer::PostgreSQL, TestServer::MariaDB),
                         [](const auto& info) { return std::string(ServerName(info.param)); });

TEST(ServerHelpers, MissingEnvFileFailsWithAHintInsteadOfSkipping) {
  const char* old = getenv("DATROVA_TEST_SERVERS_ENV");
  const std::string saved = old ? old : "";
  setenv("DATROVA_TEST_SERVERS_ENV", "/nonexistent/servers.env", 1);
  for (TestServer server : {TestServer::PostgreSQL, TestServer::MariaDB}) {
    std::string why;
    EXPECT_FALSE(FindServer(server, &why).has_value());
    EXPECT_NE(why.find("/nonexistent/servers.env"), std::string::npos) << why;
    EXPECT_NE(why.find("scripts/test-servers.sh start"), std::string::npos) << why;
    // Installed packages but no server is a failure, never a skip.
    const ServerReadiness expected = MissingServerPackages(server).empty() ? ServerReadiness::NotRunning
                                                                           : ServerReadiness::PackagesMissing;
    EXPECT_EQ(CheckServer(server, &why), expected) << why;
  }
  if (old)
    setenv("DATROVA_TEST_SERVERS_ENV", saved.c_str(), 1);
  else
    unsetenv("DATROVA_TEST_SERVERS_ENV");
}

}  // namespace
