// The shell view over the demo SQLite data source: columns and texts of each
// folder level, sorting, view modes and their saved state, the overlay,
// selection commands, the clipboard and the status bar.
#include <QAbstractItemModelTester>
#include <algorithm>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMimeData>
#include <QTreeView>

#include "library/catalog/item_id.h"
#include "library/catalog/settings.h"
#include "library/shell/item_list_model.h"
#include "library/shell/item_list_view.h"
#include "library/shell/view_window.h"
#include "platform/registry/registry.h"
#include "platform/ui/commctrl.h"
#include "tests/support/gui_driver.h"
#include "tests/view/view_world.h"

namespace {

using Texts = std::vector<std::string>;

class ShellViewTest : public ViewTestBase {};

void Command(ShellView* view, UINT command) {
  SendMessageA(view->Window(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
}

TEST_F(ShellViewTest, RootListsDataSourcesWithDriverAndIcons) {
  FakeBrowser browser;
  ShellView* view = OpenView(root_, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  QAbstractItemModelTester tester(view->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
  EXPECT_EQ((Texts{"DSN", "Driver", "Type"}), Headers(view));
  EXPECT_EQ((Texts{"Demo"}), ColumnTexts(view, 0));
  EXPECT_EQ((Texts{"SQLite3"}), ColumnTexts(view, 1));
  const QIcon icon = view->Model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
  EXPECT_FALSE(icon.isNull()) << "the data source icon comes from the item's icon object";
  // Banner, list and overlay are the window's three children by control id.
  ViewWindow* window = view->Window();
  EXPECT_EQ("DatrovaNSClass", window->property("windowClass").toString().toStdString());
  EXPECT_EQ("Datrova 2.2", FindControl<QLabel>(window, kBannerControlId)->text().toStdString());
  EXPECT_NE(nullptr, FindControl<ItemListView>(window, kListControlId));
  EXPECT_FALSE(FindControl<QLabel>(window, kOverlayControlId)->isVisible());
  EXPECT_EQ(window->bannerHeight(), view->List()->geometry().top());
  // Column widths come from the settings' table (positions 0-2).
  const std::vector<int> widths = view->List()->columnWidths();
  ASSERT_EQ(3u, widths.size());
  EXPECT_EQ(g_settings.columnWidths[1], widths[1]);
  CloseView(view);
}

TEST_F(ShellViewTest, TablesOfSqliteHideCatalogAndOwnerAndSortByTypeBothWays) {
  ShellFolder* demo = ChildFolder(root_, "Demo");
  ASSERT_NE(nullptr, demo);
  FakeBrowser browser;
  ShellView* view = OpenView(demo, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  const Texts names = ColumnTexts(view, 0);
  EXPECT_EQ((Texts{"categories", "customers", "order_items", "order_totals", "orders", "products"}), names)
      << "sorted by name at first";
  // SQLite supports no catalogs and has no owner term: both columns have
  // width 0 and no header.
  const std::vector<int> widths = view->List()->columnWidths();
  ASSERT_EQ(5u, widths.size());
  EXPECT_EQ(0, widths[1]);
  EXPECT_EQ(0, widths[2]);
  EXPECT_GT(widths[0], 0);
  EXPECT_EQ("Name", Headers(view)[0]);
  EXPECT_EQ("Type", Headers(view)[3]);

  QHeaderView* header = view->List()->details()->header();
  header->sectionClicked(3);
  EXPECT_EQ(3, demo->SortColumn());
  EXPECT_EQ("VIEW", ColumnTexts(view, 3).back()) << "ascending: TABLE before VIEW";
  header->sectionClicked(3);
  EXPECT_EQ(103, demo->SortColumn());
  EXPECT_EQ("VIEW", ColumnTexts(view, 3).front()) << "second click: descending";
  header->sectionClicked(3);
  EXPECT_EQ(3, demo->SortColumn()) << "third click: ascending again";
  EXPECT_EQ("VIEW", ColumnTexts(view, 3).back());
  CloseView(view);
}

TEST_F(ShellViewTest, ColumnsOfATableWithTypesNullabilityAndKey) {
  ShellFolder* demo = ChildFolder(root_, "Demo");
  ASSERT_NE(nullptr, demo);
  ShellFolder* items = ChildFolder(demo, "order_items");
  ASSERT_NE(nullptr, items);
  FakeBrowser browser;
  ShellView* view = OpenView(items, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  EXPECT_EQ((Texts{"Name", "Type", "Nullable", "Prim.Key", "Remark"}), Headers(view));
  const Texts names = ColumnTexts(view, 0);
  ASSERT_FALSE(names.empty());
  const Texts keys = ColumnTexts(view, 3);
  const Texts nullable = ColumnTexts(view, 2);
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == "order_id") {
      EXPECT_EQ("1", keys[i]);
      EXPECT_EQ("No", nullable[i]);
    }
    if (names[i] == "line_no") {
      EXPECT_EQ("2", keys[i]);
    }
    if (names[i] == "product_id") {
      EXPECT_EQ("-", keys[i]);
      EXPECT_EQ("Yes", nullable[i]);
    }
  }
  // An absent remark shows the settings' null value text.
  EXPECT_EQ(g_settings.NullValue, ColumnTexts(view, 4).front());
  EXPECT_TRUE(view->InfoTips()) << "column lists carry info tips";
  const auto orderId = std::find(names.begin(), names.end(), "order_id");
  ASSERT_NE(names.end(), orderId);
  EXPECT_EQ("INTEGER", view->Model()->infoText(static_cast<int>(orderId - names.begin())).left(7).toStdString())
      << "the tip of a column is its type";
  CloseView(view);
}

TEST_F(ShellViewTest, DraggedWidthsGoBackIntoTheSettings) {
  ShellFolder* demo = ChildFolder(root_, "Demo");
  ASSERT_NE(nullptr, demo);
  ShellFolder* customers = ChildFolder(demo, "customers");
  ASSERT_NE(nullptr, customers);
  FakeBrowser browser;
  ShellView* view = OpenView(customers, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  view->List()->details()->header()->resizeSection(1, 173);
  EXPECT_EQ(173, g_settings.columnWidths[9]) << "level 3 widths start at position 8";
  CloseView(view);

  // The hidden catalog column of a SQLite source does not overwrite the
  // stored width that other data sources use.
  g_settings.columnWidths[4] = 120;
  FakeBrowser tables;
  view = OpenView(demo, FVM_DETAILS, tables);
  ASSERT_NE(nullptr, view);
  view->List()->details()->header()->resizeSection(0, 140);
  EXPECT_EQ(140, g_settings.columnWidths[3]);
  EXPECT_EQ(120, g_settings.columnWidths[4]);
  CloseView(view);
}

TEST_F(ShellViewTest, ViewStateOfAnotherVersionIsIgnoredAndDetailsReopen) {
  {
    FakeBrowser browser;
    browser.hasReadState = true;
    browser.readState = {8, 0, 0, 0, 2, 0, 4, 0};  // version 2
    ShellView* view = OpenView(root_, FVM_ICON, browser);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(FVM_ICON, view->List()->viewMode());
    EXPECT_TRUE(view->List()->icons()->isVisible());
    EXPECT_EQ(QListView::IconMode, view->List()->icons()->viewMode());
    CloseView(view);
  }
  {
    FakeBrowser browser;
    browser.hasReadState = true;
    browser.readState = {8, 0, 0, 0, 1, 0, 4, 0};
    ShellView* view = OpenView(root_, FVM_ICON, browser);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(FVM_DETAILS, view->List()->viewMode());
    EXPECT_TRUE(view->List()->details()->isVisible());
    EXPECT_TRUE(browser.checked[kCmdDetails]);
    EXPECT_FALSE(browser.checked[kCmdLargeIcons]);
    Command(view, kCmdList);
    EXPECT_EQ(S_OK, view->SaveViewState());
    EXPECT_EQ((std::vector<unsigned char>{8, 0, 0, 0, 1, 0, 3, 0}), browser.writtenState);
    FOLDERSETTINGS fs{};
    EXPECT_EQ(S_OK, view->GetCurrentInfo(&fs));
    EXPECT_EQ(static_cast<UINT>(FVM_LIST), fs.ViewMode);
    CloseView(view);
  }
  {
    FakeBrowser browser;
    browser.hasReadState = true;
    browser.readState = {8, 0, 0, 0, 1, 0};  // short
    ShellView* view = OpenView(root_, FVM_SMALLICON, browser);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(FVM_SMALLICON, view->List()->viewMode());
    CloseView(view);
  }
}

TEST_F(ShellViewTest, EnumerationFailureShowsTheErrorOverTheHiddenList) {
  world_->addDsn("Broken", "SQLite3", {{"Database", world_->dataDir() + "/missing/nowhere.db"}});
  MessageBoxRecorder boxes(IDOK);
  ShellFolder* broken = ChildFolder(root_, "Broken");
  ASSERT_NE(nullptr, broken);
  FakeBrowser browser;
  ShellView* view = OpenView(broken, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  QLabel* overlay = view->Window()->overlay();
  EXPECT_TRUE(overlay->isVisible());
  EXPECT_FALSE(view->List()->isVisible());
  EXPECT_NE("Getting data ... please wait", overlay->text().toStdString());
  EXPECT_FALSE(overlay->text().isEmpty());
  EXPECT_EQ(0, view->Model()->rowCount());
  CloseView(view);
}

TEST_F(ShellViewTest, SelectAllInvertAndSelectItem) {
  ShellFolder* demo = ChildFolder(root_, "Demo");
  ASSERT_NE(nullptr, demo);
  FakeBrowser browser;
  ShellView* view = OpenView(demo, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  ItemListView* list = view->List();
  const int rows = view->Model()->rowCount();
  ASSERT_EQ(6, rows);
  EXPECT_TRUE(list->selectedRows().empty());
  EXPECT_EQ(0, list->selection()->currentIndex().row()) << "the first item has the focus after the fill";

  Command(view, kCmdSelectAll);
  EXPECT_EQ(static_cast<size_t>(rows), list->selectedRows().size());
  list->selection()->clearSelection();
  list->setRowSelected(1, true);
  Command(view, kCmdInvertSelection);
  EXPECT_EQ((std::vector<int>{0, 2, 3, 4, 5}), list->selectedRows());

  // SelectItem: a match is selected and focused; DESELECTOTHERS clears the rest.
  LPCITEMIDLIST third = view->Model()->itemIdList(2);
  LPITEMIDLIST copy = CloneIdList(third);
  EXPECT_EQ(S_OK, view->SelectItem(copy, SVSI_SELECT | SVSI_FOCUSED | SVSI_DESELECTOTHERS));
  EXPECT_EQ((std::vector<int>{2}), list->selectedRows());
  EXPECT_EQ(2, list->selection()->currentIndex().row());
  FreeIdList(copy);
  LPITEMIDLIST stranger = CreateTableItem(nullptr, nullptr, "nothere", "TABLE", nullptr);
  EXPECT_EQ(S_OK, view->SelectItem(stranger, SVSI_DESELECTOTHERS));
  EXPECT_TRUE(list->selectedRows().empty());
  FreeIdList(stranger);
  CloseView(view);
}

TEST_F(ShellViewTest, CopyRendersTheRowsOnlyWhenTheClipboardIsRead) {
  ShellFolder* demo = ChildFolder(root_, "Demo");
  ASSERT_NE(nullptr, demo);
  ShellFolder* categories = ChildFolder(demo, "categories");
  ASSERT_NE(nullptr, categories);
  FakeBrowser browser;
  ShellView* view = OpenView(categories, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  Command(view, kCmdCopy);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  ASSERT_NE(nullptr, data);
  EXPECT_TRUE(data->hasFormat("text/plain"));
  EXPECT_TRUE(data->hasFormat("text/rtf"));
  // Sorting after the copy changes what is pasted: nothing was rendered yet.
  Command(view, kCmdSortFirst);  // name, descending (already sorted by name)
  ASSERT_EQ(100, categories->SortColumn());
  const std::string sep = g_settings.listSeparator;
  std::string expected;
  for (int row = 0; row < view->Model()->rowCount(); ++row) {
    for (int column = 0; column < 5; ++column) {
      if (column) expected += sep;
      expected += view->Model()->index(row, column).data().toString().toStdString();
    }
    expected += "\r\n";
  }
  EXPECT_EQ(0u, expected.rfind("name" + sep + "VARCHAR(40)", 0)) << "descending by name: " << expected;
  EXPECT_NE(std::string::npos, expected.find("category_id" + sep + "INTEGER")) << expected;
  EXPECT_EQ(expected, data->data("text/plain").toStdString()) << "no header row, every row once";
  const std::string rtf = data->data("text/rtf").toStdString();
  EXPECT_EQ(0u, rtf.rfind("{\\rtf1\\ansi", 0));
  EXPECT_NE(std::string::npos, rtf.find("name\\tab VARCHAR(40)")) << rtf;
  // Closing the view leaves fully rendered data behind.
  CloseView(view);
  EXPECT_EQ(expected, QApplication::clipboard()->mimeData()->data("text/plain").toStdString());
}

TEST_F(ShellViewTest, StatusBarShowsTheFolderPathOnActivation) {
  ShellFolder* demo = ChildFolder(root_, "Demo");
  ASSERT_NE(nullptr, demo);
  ShellFolder* orders = ChildFolder(demo, "orders");
  ASSERT_NE(nullptr, orders);
  FakeBrowser browser;
  ShellView* view = OpenView(orders, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  EXPECT_EQ(S_OK, view->UIActivate(SVUIA_ACTIVATE_NOFOCUS));
  EXPECT_EQ((std::vector<int>{-1}), browser.statusParts);
  EXPECT_EQ("Database:Demo : orders", browser.statusText);
  CloseView(view);
}

TEST_F(ShellViewTest, ShellSettingsChooseActivationAndInfoTips) {
  {
    FakeBrowser browser;
    ShellView* view = OpenView(root_, FVM_DETAILS, browser);
    ASSERT_NE(nullptr, view);
    EXPECT_FALSE(view->OneClickActivate());
    EXPECT_TRUE(view->InfoTips());
    CloseView(view);
  }
  ShellFolder* demo = ChildFolder(root_, "Demo");
  ASSERT_NE(nullptr, demo);
  {
    FakeBrowser browser;
    ShellView* view = OpenView(demo, FVM_DETAILS, browser);
    ASSERT_NE(nullptr, view);
    EXPECT_FALSE(view->InfoTips()) << "no info tips in table lists";
    CloseView(view);
  }
  // Single-click activation when the user turned double click off.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER,
                                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                                           nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  DWORD off = 0;
  RegSetValueExA(key, "DoubleClickInWebView", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
  RegCloseKey(key);
  FakeBrowser browser;
  ShellView* view = OpenView(root_, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  EXPECT_TRUE(view->OneClickActivate());
  CloseView(view);
}

TEST_F(ShellViewTest, InterfacesAndRefusals) {
  FakeBrowser browser;
  ShellView* view = OpenView(root_, FVM_DETAILS, browser);
  ASSERT_NE(nullptr, view);
  void* p = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, view->QueryInterface(IID_IShellView2, &p));
  EXPECT_EQ(nullptr, p);
  EXPECT_EQ(S_OK, view->QueryInterface(IID_IOleWindow, &p));
  static_cast<IUnknown*>(p)->Release();
  p = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOTIMPL, view->GetItemObject(0, IID_IUnknown, &p));
  EXPECT_EQ(nullptr, p);
  HWND window = nullptr;
  EXPECT_EQ(S_OK, view->GetWindow(&window));
  EXPECT_EQ(view->Window(), window);
  // Ctrl+A addressed to the list selects everything.
  MSG msg{view->List()->details(), WM_KEYDOWN,
          static_cast<WPARAM>(QKeyCombination(Qt::ControlModifier, Qt::Key_A).toCombined()), 0, 0, {0, 0}};
  EXPECT_EQ(S_OK, view->TranslateAccelerator(&msg));
  EXPECT_EQ(1u, view->List()->selectedRows().size());
  msg.hwnd = view->Window()->banner();
  EXPECT_EQ(S_FALSE, view->TranslateAccelerator(&msg));
  CloseView(view);
}

}  // namespace
