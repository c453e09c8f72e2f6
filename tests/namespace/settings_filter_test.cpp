// The settings that filter a data source's listing (ShowSysTab, ShowProcs),
// with the folder linked in statically so the test can change the settings
// record between listings.
#include <gtest/gtest.h>

#include "library/catalog/item_id.h"
#include "library/catalog/settings.h"
#include "library/shell/module_state.h"
#include "library/shell/shell_folder.h"
#include "tests/namespace/loaded_library.h"
#include "tests/support/servers.h"
#include "tests/support/world.h"

namespace {

struct Listing {
  int tables = 0;
  int systemTables = 0;
  int procedures = 0;
  HRESULT result = E_FAIL;
};

class SettingsFilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SharedWorld();
    UseLibraryModuleState();
    saved_ = g_settings;
    objects_ = g_objectCount;
  }
  void TearDown() override {
    g_settings = saved_;
    EXPECT_EQ(objects_, g_objectCount) << "a COM object was left alive";
  }

  // Lists the data source's folder with the current settings.
  Listing List(const char* dsnName) {
    Listing listing;
    OwnedIdList dsn(CreateDsnItem(dsnName, nullptr, true));
    ComPtr<IShellFolder> folder;
    EXPECT_EQ(S_OK, HandOut(ShellFolder::Create(nullptr, dsn.get()), IID_IShellFolder, folder.putVoid()));
    if (!folder) return listing;
    auto items = EnumerateAll(folder.get(), SHCONTF_FOLDERS, &listing.result);
    for (auto& item : items) {
      if (GetItemKind(item.get()) == KIND_PROCEDURE) {
        ++listing.procedures;
      } else {
        ++listing.tables;
        if (ItemText(3, item.get()).rfind("SYSTEM", 0) == 0) ++listing.systemTables;
      }
    }
    return listing;
  }

  Settings saved_;
  LONG objects_ = 0;
};

TEST_F(SettingsFilterTest, SqliteListsOnlyTablesWhenItReportsNoProcedures) {
  g_settings.ShowProcs = true;
  Listing listing = List("Tiny");
  EXPECT_EQ(S_OK, listing.result);
  EXPECT_EQ(1, listing.tables);
  EXPECT_EQ(0, listing.procedures);
}

TEST_F(SettingsFilterTest, SystemTablesAndProceduresFollowTheSettings) {
  // MariaDB's driver lists its system views (information_schema) as
  // "SYSTEM VIEW" when every table type is asked for.
  DATROVA_REQUIRE_SERVER(TestServer::MariaDB);
  AddServerDsn(SharedWorld(), TestServer::MariaDB, "MySys", FindServer(TestServer::MariaDB, nullptr)->owner);
  g_settings.ShowSysTab = true;
  g_settings.ShowProcs = true;
  Listing all = List("MySys");
  g_settings.ShowSysTab = false;
  Listing user = List("MySys");
  g_settings.ShowProcs = false;
  Listing noProcedures = List("MySys");
  SharedWorld().removeDsn("MySys");

  EXPECT_EQ(S_OK, all.result);
  EXPECT_GT(all.systemTables, 0) << "every table type is listed with ShowSysTab on";
  EXPECT_EQ(0, user.systemTables) << "no system tables with ShowSysTab off";
  EXPECT_EQ(all.tables - all.systemTables, user.tables) << "the user's tables stay";
  EXPECT_GT(user.procedures, 0);
  EXPECT_EQ(all.procedures, user.procedures);
  EXPECT_EQ(0, noProcedures.procedures) << "ShowProcs off";
  EXPECT_EQ(user.tables, noProcedures.tables);
}

}  // namespace
