// The five handlers as COM objects and the sheets assembled from them: which
// pages each subject gets, in which order, and that every handler is gone
// when its sheet is.
#include <gtest/gtest.h>

#include <QDialog>

#include "library/propsheet/column_page.h"
#include "library/propsheet/dsn_page.h"
#include "library/propsheet/properties.h"
#include "library/propsheet/settings_page.h"
#include "library/propsheet/table_pages.h"
#include "library/shell/module_state.h"
#include "platform/ui/property_sheet.h"
#include "tests/propsheet/fixture.h"
#include "tests/propsheet/sheet_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/world.h"

namespace {

class HandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    world_.addSqliteDsn("Shop", kSheetFixtureSql);
    world_.addDsn("Scripted", SCRIPTED_DRIVER_PATH, {});
    UseLibraryModuleState();
    objects_ = g_objectCount;
    pages_ = PlatformLivePropertySheetPages();
  }
  void TearDown() override {
    EXPECT_EQ(objects_, g_objectCount) << "a handler or folder was left alive";
    EXPECT_EQ(pages_, PlatformLivePropertySheetPages());
  }

  QStringList SheetPages(ShellFolder* folder, UINT cidl, LPCITEMIDLIST* apidl, QString* title = nullptr) {
    QStringList ids;
    RunProperties(folder, cidl, apidl, [&](QDialog* sheet) {
      ids = PageIds(sheet);
      if (title) *title = sheet->windowTitle();
    });
    return ids;
  }

  TestWorld world_;
  LONG objects_ = 0;
  long pages_ = 0;
};

BOOL Refuse(HPROPSHEETPAGE, LPARAM) { return FALSE; }
BOOL Collect(HPROPSHEETPAGE page, LPARAM lParam) {
  reinterpret_cast<std::vector<HPROPSHEETPAGE>*>(lParam)->push_back(page);
  return TRUE;
}

TEST_F(HandlerTest, ComBasicsOfAHandler) {
  SettingsPageHandler* handler = SettingsPageHandler::Create();
  ASSERT_NE(nullptr, handler);
  EXPECT_EQ(objects_ + 1, g_objectCount);
  EXPECT_EQ(1u, handler->AddRef());
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, handler->QueryInterface(IID_IShellFolder, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(S_OK, handler->QueryInterface(IID_IShellPropSheetExt, &out));
  EXPECT_EQ(static_cast<IShellPropSheetExt*>(handler), out);
  EXPECT_EQ(1u, handler->Release());
  EXPECT_EQ(E_FAIL, handler->ReplacePage(0, Collect, 0));

  // A refused page gives its reference back at once; an added page holds one
  // until it is destroyed.
  EXPECT_EQ(S_OK, handler->AddPages(Refuse, 0));
  EXPECT_EQ(2u, handler->AddRef());
  EXPECT_EQ(1u, handler->Release());
  std::vector<HPROPSHEETPAGE> pages;
  EXPECT_EQ(S_OK, handler->AddPages(Collect, reinterpret_cast<LPARAM>(&pages)));
  ASSERT_EQ(1u, pages.size());
  EXPECT_EQ(1u, handler->Release());  // the page keeps it alive
  EXPECT_EQ(objects_ + 1, g_objectCount);
  DestroyPropertySheetPage(pages[0]);
  EXPECT_EQ(objects_, g_objectCount);
}

TEST_F(HandlerTest, DataSourceWithoutNameAddsNoPage) {
  for (LPITEMIDLIST raw : {CreateDsnItem("", nullptr, true), CreateDsnItem(nullptr, nullptr, true),
                           static_cast<LPITEMIDLIST>(nullptr)}) {
    ListPtr list(raw);
    std::vector<HPROPSHEETPAGE> pages;
    DsnPageHandler* handler = DsnPageHandler::Create(list.get());
    handler->AddRef();
    EXPECT_EQ(S_OK, handler->AddPages(Collect, reinterpret_cast<LPARAM>(&pages)));
    handler->Release();
    EXPECT_TRUE(pages.empty());
  }
}

TEST_F(HandlerTest, ColumnSheetShowsColumnTableDataSourceAndSettingsPages) {
  FolderPtr root = MakeFolder(nullptr, nullptr);
  ListPtr dsn = DsnItem("Shop");
  FolderPtr dsnFolder = MakeFolder(root.get(), dsn.get());
  ListPtr table = TableItem("parent");
  FolderPtr tableFolder = MakeFolder(dsnFolder.get(), table.get());
  ListPtr column(CreateColumnItem(nullptr, nullptr, "parent", "code", 12, "VARCHAR", 50, 50, -2, -2, true, nullptr));
  LPCITEMIDLIST items[] = {column.get()};
  QString title;
  EXPECT_EQ(QStringList({"1006", "1012", "1013", "1010", "1011", "1007", "1008"}),
            SheetPages(tableFolder.get(), 1, items, &title));
  EXPECT_EQ(QStringLiteral("code Properties"), title);

  // A table: its pages, then data source and settings.
  LPCITEMIDLIST tables[] = {table.get()};
  EXPECT_EQ(QStringList({"1012", "1013", "1010", "1011", "1007", "1008"}), SheetPages(dsnFolder.get(), 1, tables));
  // A data source selected in the root.
  LPCITEMIDLIST dsns[] = {dsn.get()};
  EXPECT_EQ(QStringList({"1007", "1008"}), SheetPages(root.get(), 1, dsns));
}

TEST_F(HandlerTest, EmptySelectionsShowTheFolderOrTheSettingsOnly) {
  FolderPtr root = MakeFolder(nullptr, nullptr);
  QString title;
  EXPECT_EQ(QStringList({"1008"}), SheetPages(root.get(), 0, nullptr, &title));
  EXPECT_EQ(QStringLiteral("Datrova 2.2 Properties"), title);
  ListPtr dsn = DsnItem("Shop");
  FolderPtr dsnFolder = MakeFolder(root.get(), dsn.get());
  EXPECT_EQ(QStringList({"1007", "1008"}), SheetPages(dsnFolder.get(), 0, nullptr, &title));
  EXPECT_EQ(QStringLiteral("Shop Properties"), title);
}

TEST_F(HandlerTest, ProcedureSheetAndFolderAndViewPages) {
  FolderPtr root = MakeFolder(nullptr, nullptr);
  ListPtr dsn = DsnItem("Shop");
  FolderPtr dsnFolder = MakeFolder(root.get(), dsn.get());
  ListPtr procedure(CreateProcedureItem(nullptr, nullptr, "ship", "Procedure", nullptr));
  LPCITEMIDLIST items[] = {procedure.get()};
  QString notImplemented;
  RunProperties(dsnFolder.get(), 1, items, [&](QDialog* sheet) {
    EXPECT_EQ(QStringList({"1009", "1007", "1008"}), PageIds(sheet));
    EXPECT_EQ(QStringList({"Procedure", "DSN", "Datrova"}), TabTexts(sheet));
    if (auto* label = FindControl<QWidget>(ShowPage(sheet, 1009), 1203))
      notImplemented = label->property("text").toString();
  });
  EXPECT_EQ(QStringLiteral("Not yet implemented"), notImplemented);

  // The folder's own IShellPropSheetExt: the settings page alone.
  std::vector<HPROPSHEETPAGE> pages;
  EXPECT_EQ(S_OK, root->AddPages(Collect, reinterpret_cast<LPARAM>(&pages)));
  ASSERT_EQ(1u, pages.size());
  DestroyPropertySheetPage(pages[0]);

  // The view's pages: data source, and column for a column folder.
  ListPtr column(CreateColumnItem(nullptr, nullptr, "parent", "id", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  ListPtr path(ConcatIdLists(dsn.get(), column.get()));
  pages.clear();
  EXPECT_EQ(S_OK, AddViewPropertySheetPages(path.get(), Collect, reinterpret_cast<LPARAM>(&pages)));
  EXPECT_EQ(2u, pages.size());
  for (HPROPSHEETPAGE page : pages) DestroyPropertySheetPage(page);
}

TEST_F(HandlerTest, DriverWithoutForeignKeysGetsNoForeignKeysPage) {
  FolderPtr root = MakeFolder(nullptr, nullptr);
  ListPtr dsn = DsnItem("Scripted");
  FolderPtr dsnFolder = MakeFolder(root.get(), dsn.get());
  ListPtr table = TableItem("t");
  LPCITEMIDLIST items[] = {table.get()};
  EXPECT_EQ(QStringList({"1012", "1013", "1011", "1007", "1008"}), SheetPages(dsnFolder.get(), 1, items));
}

}  // namespace
