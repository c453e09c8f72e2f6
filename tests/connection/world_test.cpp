// The private world of a test: environment, ini files and fixture databases.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "library/catalog/odbc_api.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "library/catalog/odbc_handles.h"
#include "platform/registry/registry.h"
#include "tests/support/world.h"

namespace {

struct Source {
  std::string name;
  std::string driver;
};

std::vector<Source> DataSources(SQLUSMALLINT first) {
  std::vector<Source> sources;
  EnvHandle env;
  if (!SQL_SUCCEEDED(env.allocate(SQL_NULL_HANDLE))) return sources;
  SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLCHAR name[SQL_MAX_DSN_LENGTH + 1];
  SQLCHAR driver[256];
  SQLSMALLINT nameLength = 0, driverLength = 0;
  for (SQLUSMALLINT direction = first;; direction = SQL_FETCH_NEXT) {
    SQLRETURN rc = SQLDataSources(env.get(), direction, name, sizeof name, &nameLength, driver, sizeof driver,
                                  &driverLength);
    if (!SQL_SUCCEEDED(rc)) break;
    sources.push_back({reinterpret_cast<char*>(name), reinterpret_cast<char*>(driver)});
  }
  return sources;
}

std::vector<std::string> Names(const std::vector<Source>& sources) {
  std::vector<std::string> names;
  for (const Source& s : sources) names.push_back(s.name);
  return names;
}

TEST(TestWorld, PointsEveryUserFileIntoItsFolderAndRestoresThem) {
  const char* home = std::getenv("HOME");
  std::string before = home ? home : "<unset>";
  std::string root;
  {
    TestWorld world;
    root = world.root();
    ASSERT_TRUE(std::filesystem::is_directory(root));
    EXPECT_STREQ(std::getenv("ODBCSYSINI"), world.systemIniDir().c_str());
    EXPECT_NE(world.systemIniDir(), "/etc");
    for (const char* name : {"HOME", "ODBCINI", "DATROVA_REGISTRY", "DATROVA_SYSTEM_DIR",
                             "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
      const char* value = std::getenv(name);
      ASSERT_NE(value, nullptr) << name;
      EXPECT_EQ(std::string(value).rfind(root, 0), 0u) << name << "=" << value;
    }
    EXPECT_FALSE(TestWorld::driverLibrary("SQLite3").empty());
  }
  const char* after = std::getenv("HOME");
  EXPECT_EQ(after ? after : "<unset>", before);
  EXPECT_FALSE(std::filesystem::exists(root));
}

TEST(TestWorld, UserSourcesThenSystemSourcesThroughTheDriverManager) {
  TestWorld world;
  world.addSqliteDsn("Demo", "demo.sql");
  world.addSqliteDsn("Archive", "tiny.sql", /*system=*/true);
  world.addDsn("Orders PG", "PostgreSQL Unicode", {{"Servername", "127.0.0.1"}, {"Port", "5432"}}, true);

  EXPECT_EQ(Names(DataSources(SQL_FETCH_FIRST_USER)), (std::vector<std::string>{"Demo"}));
  EXPECT_EQ(Names(DataSources(SQL_FETCH_FIRST_SYSTEM)), (std::vector<std::string>{"Archive", "Orders PG"}));
  auto all = DataSources(SQL_FETCH_FIRST);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].name, "Demo");

  // The driver manager reads the ini files again: later changes are seen.
  world.addSqliteDsn("Later", "tiny.sql");
  world.removeDsn("Archive", true);
  EXPECT_EQ(Names(DataSources(SQL_FETCH_FIRST_USER)), (std::vector<std::string>{"Demo", "Later"}));
  EXPECT_EQ(Names(DataSources(SQL_FETCH_FIRST_SYSTEM)), (std::vector<std::string>{"Orders PG"}));
}

TEST(TestWorld, WorldsDoNotShareDataSources) {
  {
    TestWorld first;
    first.addSqliteDsn("OnlyInFirst", "tiny.sql");
    EXPECT_EQ(Names(DataSources(SQL_FETCH_FIRST)), (std::vector<std::string>{"OnlyInFirst"}));
  }
  TestWorld second;
  EXPECT_TRUE(DataSources(SQL_FETCH_FIRST).empty());
}

TEST(TestWorld, FixtureDatabasesAreQueryableThroughTheSqliteDriver) {
  TestWorld world;
  std::string path = world.addSqliteDsn("Demo", "demo.sql", false, {{"StepAPI", "1"}});
  ASSERT_TRUE(std::filesystem::exists(path));
  ASSERT_EQ(path.rfind(world.root(), 0), 0u);

  EnvHandle env;
  ASSERT_TRUE(SQL_SUCCEEDED(env.allocate(SQL_NULL_HANDLE)));
  SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  ConnectedDbc dbc;
  ASSERT_TRUE(SQL_SUCCEEDED(dbc.handle().allocate(env.get())));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLConnect(dbc.get(), (SQLCHAR*)"Demo", SQL_NTS, nullptr, 0, nullptr, 0)));
  dbc.markConnected();
  StmtHandle stmt;
  ASSERT_TRUE(SQL_SUCCEEDED(stmt.allocate(dbc.get())));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(
      stmt.get(), (SQLCHAR*)"SELECT last_name FROM customers WHERE customer_id = 1", SQL_NTS)));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLFetch(stmt.get())));
  char text[64] = "";
  SQLLEN length = 0;
  SQLGetData(stmt.get(), 1, SQL_C_CHAR, text, sizeof text, &length);
  EXPECT_STREQ(text, "Müller");
}

TEST(TestWorld, BrokenFixtureSqlFailsTheTest) {
  TestWorld world;
  EXPECT_NONFATAL_FAILURE(world.addSqliteDsn("Broken", "CREATE TABLE (;"), "failed");
  EXPECT_TRUE(DataSources(SQL_FETCH_FIRST).empty());
}

TEST(TestWorld, RegistryHivesLiveInTheWorld) {
  TestWorld world;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD value = 7;
  EXPECT_EQ(RegSetValueExA(key, "Timeout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_TRUE(std::filesystem::exists(world.registryDir() + "/HKEY_CURRENT_USER.reg"));
}

}  // namespace
