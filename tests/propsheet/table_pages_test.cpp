// The table pages filled from real drivers: key order by name, foreign key
// rules, unique indexes without the statistics row, privileges without the
// columns the driver has no words for, and a driver error in place of the list.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QTreeWidget>

#include "library/catalog/settings.h"
#include "library/propsheet/table_pages.h"
#include "library/shell/module_state.h"
#include "tests/propsheet/fixture.h"
#include "tests/propsheet/sheet_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/servers.h"
#include "tests/support/world.h"

namespace {

struct PageView {
  QStringList headers;
  std::vector<QStringList> columns;  // texts by column
  bool listVisible = false;
  QString message;
};

class TablePagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    UseLibraryModuleState();
    objects_ = g_objectCount;
  }
  void TearDown() override { EXPECT_EQ(objects_, g_objectCount); }

  // Opens the sheet of table `table` in data source `dsn` and reads page
  // `templateId` after showing it.
  PageView ReadPage(const char* dsn, const char* table, int templateId, const char* schema = nullptr,
                    const char* catalog = nullptr) {
    PageView view;
    MessageBoxRecorder boxes;
    FolderPtr root = MakeFolder(nullptr, nullptr);
    ListPtr dsnItem = DsnItem(dsn);
    FolderPtr dsnFolder = MakeFolder(root.get(), dsnItem.get());
    ListPtr tableItem = TableItem(table, schema, catalog);
    LPCITEMIDLIST items[] = {tableItem.get()};
    RunProperties(dsnFolder.get(), 1, items, [&](QDialog* sheet) {
      QWidget* page = ShowPage(sheet, templateId);
      if (!page) {
        ADD_FAILURE() << "no page " << templateId << " in " << PageIds(sheet).join(',').toStdString();
        return;
      }
      auto* list = FindControl<QTreeWidget>(page, 1019);
      auto* message = FindControl<QLabel>(page, 1018);
      view.headers = HeaderTexts(list);
      for (int c = 0; c < list->columnCount(); ++c) view.columns.push_back(ColumnTexts(list, c));
      view.listVisible = !list->isHidden();
      view.message = message->isHidden() ? QString() : message->text();
    });
    for (const auto& box : boxes.calls()) ADD_FAILURE() << "message box: " << box.call.text;
    return view;
  }

  TestWorld world_;
  LONG objects_ = 0;
};

TEST(TableRecordOrder, ComparesByCollationThenNumber) {
  TableRecord a{2, "A"}, b{1, "B"}, a1{1, "A"};
  EXPECT_LT(CompareTableRecords(&a, &b), 0);
  EXPECT_GT(CompareTableRecords(&b, &a), 0);
  EXPECT_EQ(-1, CompareTableRecords(&a1, &a));
  EXPECT_EQ(1, CompareTableRecords(&a, &a1));
  EXPECT_EQ(1, CompareTableRecords(&a, &a));  // equal numbers give 1
  EXPECT_EQ(-1, CompareTableRecords(nullptr, &a));
  EXPECT_EQ(-1, CompareTableRecords(&a, nullptr));
  EXPECT_STREQ("CASCADE", ReferentialRuleText(0));
  EXPECT_STREQ("RESTRICT", ReferentialRuleText(1));
  EXPECT_STREQ("SET NULL", ReferentialRuleText(2));
  EXPECT_STREQ("NO ACTION", ReferentialRuleText(3));
  EXPECT_STREQ("SET DEFAULT", ReferentialRuleText(4));
  EXPECT_EQ(nullptr, ReferentialRuleText(5));
}

TEST_F(TablePagesTest, SqlitePrimaryKeyIndexesAndPrivileges) {
  world_.addSqliteDsn("Shop", kSheetFixtureSql);
  UseLibraryModuleState();

  PageView keys = ReadPage("Shop", "pair", 1013);
  EXPECT_EQ(QStringList({""}), keys.headers);
  ASSERT_EQ(1u, keys.columns.size());
  EXPECT_EQ(QStringList({"A", "B"}), keys.columns[0]);  // by name, not by key sequence

  PageView noKey = ReadPage("Shop", "loose", 1013);
  EXPECT_EQ(1u, noKey.columns.size());
  EXPECT_TRUE(noKey.columns[0].isEmpty());

  PageView indexes = ReadPage("Shop", "parent", 1011);
  EXPECT_EQ(QStringList({"Unique", "Indexname", "Type", "Position", "Col-Name", "Asc/Desc"}), indexes.headers);
  ASSERT_EQ(6u, indexes.columns.size());
  const int row = static_cast<int>(indexes.columns[1].indexOf("ix_parent_code"));
  ASSERT_GE(row, 0) << indexes.columns[1].join(',').toStdString();
  EXPECT_EQ("UNIQUE", indexes.columns[0][row]);
  EXPECT_EQ("code", indexes.columns[4][row]);
  EXPECT_EQ("1", indexes.columns[3][row]);

  // SQLite has no catalogs and no owner term: those columns are left out.
  PageView privileges = ReadPage("Shop", "parent", 1012);
  EXPECT_EQ(QStringList({"Grantor", "Grantee", "Right", "Granting"}), privileges.headers);
  EXPECT_TRUE(privileges.listVisible);
}

TEST_F(TablePagesTest, SqliteForeignKeyRules) {
  world_.addSqliteDsn("Shop", kSheetFixtureSql);
  UseLibraryModuleState();
  PageView keys = ReadPage("Shop", "parent", 1010);
  EXPECT_EQ(QStringList({"from Column", "to table", "to Column", "Lfd", "Update", "Delete", "Key"}), keys.headers);
  ASSERT_EQ(7u, keys.columns.size());
  ASSERT_EQ(1, keys.columns[0].size());
  EXPECT_EQ("id", keys.columns[0][0]);
  EXPECT_EQ("child", keys.columns[1][0]);
  EXPECT_EQ("parent_id", keys.columns[2][0]);
  EXPECT_EQ("1", keys.columns[3][0]);
  EXPECT_EQ("CASCADE", keys.columns[5][0]);
}

// Neither server answers SQLStatistics for a missing table with an error,
// so the driver that fails every catalog call stands in here.
TEST_F(TablePagesTest, DriverErrorFromStatisticsReplacesTheList) {
  world_.addDsn("Scripted", SCRIPTED_DRIVER_PATH, {});
  UseLibraryModuleState();
  PageView indexes = ReadPage("Scripted", "t", 1011);
  EXPECT_FALSE(indexes.listVisible);
  EXPECT_TRUE(indexes.message.startsWith("HY000")) << indexes.message.toStdString();
  // The privileges page leaves out the catalog column (no catalogs) but keeps
  // the owner's, as the driver has a word for it, also after the error.
  PageView privileges = ReadPage("Scripted", "t", 1012);
  EXPECT_EQ(QStringList({"owner", "Grantor", "Grantee", "Right", "Granting"}), privileges.headers);
  EXPECT_FALSE(privileges.listVisible);
}

class ServerTablePagesTest : public TablePagesTest, public ::testing::WithParamInterface<TestServer> {
 protected:
  // One name per server: the driver manager keeps what it read of odbc.ini.
  std::string Dsn() const { return std::string("Srv") + ServerName(GetParam()); }
};

TEST_P(ServerTablePagesTest, KeysAndIndexesFromTheServer) {
  DATROVA_REQUIRE_SERVER(GetParam());
  std::string why;
  std::optional<ServerInfo> server = FindServer(GetParam(), &why);
  ASSERT_TRUE(server) << why;
  AddServerDsn(world_, GetParam(), Dsn(), server->owner);
  UseLibraryModuleState();
  ASSERT_TRUE(SaveLogin(Dsn().c_str(), server->owner.user.c_str(), server->owner.password.c_str()));
  const bool pg = GetParam() == TestServer::PostgreSQL;
  const char* schema = pg ? "public" : nullptr;
  const char* catalog = pg ? nullptr : server->database.c_str();

  // orders.customer_id refers to customers.id, cascading on update and delete.
  PageView fk = ReadPage(Dsn().c_str(), "customers", 1010, schema, catalog);
  ASSERT_EQ(7u, fk.columns.size()) << fk.message.toStdString();
  const int row = static_cast<int>(fk.columns[1].indexOf("orders"));
  ASSERT_GE(row, 0) << fk.columns[1].join(',').toStdString() << fk.message.toStdString();
  EXPECT_EQ("id", fk.columns[0][row]);
  EXPECT_EQ("customer_id", fk.columns[2][row]);
  EXPECT_EQ("CASCADE", fk.columns[4][row]);
  EXPECT_EQ("CASCADE", fk.columns[5][row]);

  // The key (order_id, line_no) is listed by name.
  PageView keys = ReadPage(Dsn().c_str(), "order_lines", 1013, schema, catalog);
  ASSERT_EQ(1u, keys.columns.size()) << keys.message.toStdString();
  EXPECT_EQ(QStringList({"line_no", "order_id"}), keys.columns[0]);

  PageView indexes = ReadPage(Dsn().c_str(), "customers", 1011, schema, catalog);
  ASSERT_EQ(6u, indexes.columns.size());
  // With catalogs, the qualifier and the catalog separator may lead the name.
  int unique = -1;
  for (int i = 0; i < indexes.columns[1].size(); ++i)
    if (indexes.columns[1][i].endsWith("ix_customers_name")) unique = i;
  ASSERT_GE(unique, 0) << indexes.columns[1].join(',').toStdString();
  EXPECT_EQ("UNIQUE", indexes.columns[0][unique]);
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerTablePagesTest,
                         ::testing::Values(TestServer::PostgreSQL, TestServer::MariaDB),
                         [](const auto& info) { return std::string(ServerName(info.param)); });

}  // namespace
