// The menus of the context menu, item by item, for each folder level and
// selection; help texts; the verbs and offsets InvokeCommand accepts.
#include <gtest/gtest.h>

#include <QMenu>
#include <cstring>

#include "library/shell/context_menu.h"
#include "library/shell/module_state.h"
#include "platform/ui/ui.h"
#include "tests/contextmenu/menu_world.h"
#include "tests/support/gui_driver.h"

namespace {

using Texts = std::vector<std::string>;

class ContextMenuTest : public MenuTestBase {
 protected:
  void SetUp() override {
    MenuTestBase::SetUp();
    dsn_.reset(CreateDsnItem("Demo", "SQLite3", true));
    otherDsn_.reset(CreateDsnItem("Archive", "SQLite3", false));
    orders_.reset(CreateTableItem(nullptr, "SALES", "ORDERS", "TABLE", nullptr));
    lines_.reset(CreateTableItem(nullptr, nullptr, "LINES", "TABLE", nullptr));
    ship_.reset(CreateProcedureItem(nullptr, "SALES", "SHIP", "Procedure", nullptr));
    id_.reset(CreateColumnItem(nullptr, nullptr, "ORDERS", "ID", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
    dsnFolder_ = Folder(root_, dsn_.get());
    ASSERT_NE(nullptr, dsnFolder_);
    tableFolder_ = Folder(dsnFolder_, orders_.get());
    ASSERT_NE(nullptr, tableFolder_);
    cabinet_ = Owner("CabinetWClass");
    explore_ = Owner("ExploreWClass");
  }

  // The menu built into an empty popup with idCmdFirst 1.
  Texts Build(IContextMenu* menu, UINT flags = CMF_NORMAL, HRESULT* result = nullptr) {
    QMenu popup;
    const HRESULT hr = menu->QueryContextMenu(&popup, 0, 1, 100, flags);
    if (result) *result = hr;
    return MenuTexts(&popup);
  }

  OwnedList dsn_, otherDsn_, orders_, lines_, ship_, id_;
  ShellFolder* dsnFolder_ = nullptr;
  ShellFolder* tableFolder_ = nullptr;
  QWidget* cabinet_ = nullptr;
  QWidget* explore_ = nullptr;
};

TEST_F(ContextMenuTest, RootMenusWithAndWithoutSelection) {
  HRESULT hr = E_FAIL;
  EXPECT_EQ((Texts{"*&New...", "-", "&ODBC administrator...", "-", "&Properties..."}),
            Build(Menu(root_, cabinet_, {}).get(), CMF_NORMAL, &hr));
  EXPECT_EQ(11, hr);
  // Owned by the desktop (the folder's own QueryInterface): no properties.
  EXPECT_EQ((Texts{"*&New...", "-", "&ODBC administrator..."}), Build(Menu(root_, GetDesktopWindow(), {}).get()));

  EXPECT_EQ((Texts{"*&Open", "&Explorer", "&Delete...", "&New...", "-", "&Config...", "&ODBC administrator...", "-",
                   "&Properties...", "SQL-Statement ..."}),
            Build(Menu(root_, cabinet_, {dsn_.get()}).get()));
  EXPECT_EQ((Texts{"*&Explorer", "&Open", "&Delete...", "&New...", "-", "&Config...", "&ODBC administrator...", "-",
                   "&Properties...", "SQL-Statement ..."}),
            Build(Menu(root_, explore_, {dsn_.get()}).get()));
}

TEST_F(ContextMenuTest, MenuIdentifiersAreFirstPlusOffset) {
  ComPtr<IContextMenu> menu = Menu(root_, cabinet_, {dsn_.get()});
  QMenu popup;
  ASSERT_EQ(11, menu->QueryContextMenu(&popup, 0, 40, 41, CMF_NORMAL));  // idCmdLast is not consulted
  std::vector<std::pair<std::string, UINT>> ids;
  for (const MenuRow& row : MenuRows(&popup))
    if (row.text != "-") ids.emplace_back(row.text, row.id);
  const std::vector<std::pair<std::string, UINT>> expected = {
      {"*&Open", 41},       {"&Explorer", 40},         {"&Delete...", 42},       {"&New...", 46},
      {"&Config...", 47},   {"&ODBC administrator...", 48}, {"&Properties...", 43}, {"SQL-Statement ...", 45}};
  EXPECT_EQ(expected, ids);
}

TEST_F(ContextMenuTest, DataSourceFolderOffersSelectForExactlyOneTable) {
  EXPECT_EQ((Texts{"*&Open", "&Explorer", "-", "&Properties...", "-", "&Select * from SALES.ORDERS",
                   "SQL-Statement ..."}),
            Build(Menu(dsnFolder_, cabinet_, {orders_.get()}).get()));
  EXPECT_EQ((Texts{"*&Open", "&Explorer", "-", "&Properties...", "-", "&Select * from LINES", "SQL-Statement ..."}),
            Build(Menu(dsnFolder_, cabinet_, {lines_.get()}).get()));
  // Two tables, a procedure, or nothing: no select item.
  EXPECT_EQ((Texts{"*&Open", "&Explorer", "-", "&Properties...", "-", "SQL-Statement ..."}),
            Build(Menu(dsnFolder_, cabinet_, {orders_.get(), lines_.get()}).get()));
  EXPECT_EQ((Texts{"*&Open", "&Explorer", "-", "&Properties...", "-", "SQL-Statement ..."}),
            Build(Menu(dsnFolder_, cabinet_, {ship_.get()}).get()));
  EXPECT_EQ((Texts{"*&Properties...", "-", "SQL-Statement ..."}), Build(Menu(dsnFolder_, cabinet_, {}).get()));
}

TEST_F(ContextMenuTest, TableFolderOffersPlainSelect) {
  EXPECT_EQ((Texts{"*&Properties...", "-", "&Select * from", "SQL-Statement ..."}),
            Build(Menu(tableFolder_, cabinet_, {id_.get()}).get()));
  EXPECT_EQ((Texts{"*&Properties...", "-", "&Select * from", "SQL-Statement ..."}),
            Build(Menu(tableFolder_, cabinet_, {}).get()));
}

TEST_F(ContextMenuTest, FlagsAndInsertPosition) {
  ComPtr<IContextMenu> menu = Menu(root_, cabinet_, {});
  HRESULT hr = E_FAIL;
  EXPECT_EQ(Texts{}, Build(menu.get(), CMF_DEFAULTONLY, &hr));
  EXPECT_EQ(0, hr);
  EXPECT_EQ((Texts{"&New...", "-", "&ODBC administrator...", "-", "&Properties..."}),
            Build(menu.get(), CMF_NODEFAULT));

  // Inserted by position between what the host already has; the default is
  // the item at position 0, whatever it is.
  QMenu popup;
  popup.addAction("host first");
  popup.addAction("host last");
  EXPECT_EQ(11, menu->QueryContextMenu(&popup, 1, 1, 100, CMF_NORMAL));
  EXPECT_EQ((Texts{"*host first", "&New...", "-", "&ODBC administrator...", "-", "&Properties...", "host last"}),
            MenuTexts(&popup));
}

TEST_F(ContextMenuTest, ExploreModeIgnoresCaseOfTheClassName) {
  EXPECT_TRUE(IsExploreClassName("ExploreWClass"));
  EXPECT_TRUE(IsExploreClassName("explorer"));
  EXPECT_FALSE(IsExploreClassName("CabinetWClass"));
  EXPECT_FALSE(IsExploreClassName("Explor"));
  EXPECT_FALSE(IsExploreClassName(nullptr));

  ComPtr<IContextMenu> fromExplore = Menu(root_, explore_, {});
  ComPtr<IContextMenu> fromCabinet = Menu(root_, cabinet_, {});
  EXPECT_TRUE(static_cast<ContextMenu*>(fromExplore.get())->ExploreMode());
  EXPECT_FALSE(static_cast<ContextMenu*>(fromCabinet.get())->ExploreMode());
}

TEST_F(ContextMenuTest, HelpTextsInBothLanguages) {
  ComPtr<IContextMenu> menu = Menu(root_, cabinet_, {dsn_.get()});
  char buffer[64];
  std::strcpy(buffer, "untouched");
  EXPECT_EQ(S_OK, menu->GetCommandString(7, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer));
  EXPECT_STREQ("untouched", buffer);
  EXPECT_EQ(E_INVALIDARG, menu->GetCommandString(7, GCS_VERBA, nullptr, buffer, sizeof buffer));
  EXPECT_EQ(E_INVALIDARG, menu->GetCommandString(2, GCS_VERBA, nullptr, buffer, sizeof buffer));
  EXPECT_EQ(S_OK, menu->GetCommandString(2, GCS_VALIDATEA, nullptr, buffer, sizeof buffer));

  EXPECT_EQ(S_OK, menu->GetCommandString(2, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer));
  EXPECT_STREQ("Delete DSN", buffer);
  EXPECT_EQ(S_OK, menu->GetCommandString(6, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer));
  EXPECT_STREQ("Add a new DSN", buffer);
  EXPECT_EQ(S_OK, menu->GetCommandString(4, GCS_HELPTEXTA, nullptr, buffer, 5));  // cut to cchMax
  EXPECT_STREQ("&Sel", buffer);

  g_languageOffset = 0;
  EXPECT_EQ(S_OK, menu->GetCommandString(2, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer));
  EXPECT_STREQ("DSN löschen...", buffer);
  EXPECT_EQ((Texts{"*&Öffnen", "&Explorer", "&Löschen", "&Neu", "-", "&Konfigurieren...", "&ODBC Administrator...",
                   "-", "&Eigenschaften", "SQL-Statement ..."}),
            Build(menu.get()));
  g_languageOffset = 1000;
}

TEST_F(ContextMenuTest, InterfacesAndLifetime) {
  const LONG before = g_objectCount;
  ComPtr<IContextMenu> menu;
  ASSERT_EQ(S_OK, root_->QueryInterface(IID_IContextMenu, menu.putVoid()));
  EXPECT_EQ(before + 1, g_objectCount);
  ComPtr<IUnknown> unknown;
  EXPECT_EQ(S_OK, menu->QueryInterface(IID_IUnknown, unknown.putVoid()));
  ComPtr<IShellFolder> notAFolder;
  EXPECT_EQ(E_NOINTERFACE, menu->QueryInterface(IID_IShellFolder, notAFolder.putVoid()));
  EXPECT_EQ(nullptr, notAFolder.get());
  unknown.reset();
  menu.reset();
  EXPECT_EQ(before, g_objectCount);

  // Two items through GetUIObjectOf: both copied.
  ComPtr<IContextMenu> two = Menu(root_, cabinet_, {dsn_.get(), otherDsn_.get()});
  EXPECT_EQ(2u, static_cast<ContextMenu*>(two.get())->ItemCount());
}

TEST_F(ContextMenuTest, OffsetsAboveTenAndUnknownVerbs) {
  MessageBoxRecorder boxes(IDCANCEL);
  ComPtr<IContextMenu> menu = Menu(root_, cabinet_, {dsn_.get()});
  EXPECT_EQ(E_INVALIDARG, Invoke(menu.get(), 11));
  EXPECT_EQ(E_INVALIDARG, Invoke(menu.get(), 0xFFFF));
  EXPECT_EQ(S_OK, InvokeVerb(menu.get(), "rename"));
  EXPECT_EQ(S_OK, InvokeVerb(menu.get(), "ViewList"));  // no view: nothing to switch
  EXPECT_EQ(S_OK, Invoke(menu.get(), 9));
  EXPECT_TRUE(boxes.calls().empty());
  ASSERT_EQ(S_OK, InvokeVerb(menu.get(), "DELETE"));  // the delete question, cancelled
  ASSERT_EQ(1u, boxes.calls().size());
  EXPECT_EQ("Do you really want to delete the Datasource Demo", boxes.calls()[0].call.text);
}

}  // namespace
