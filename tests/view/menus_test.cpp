// Menu merging by position with its separator rules, and the view's menus
// and toolbar in a browser: Edit and View merges per UI state, the "by"
// items, the Help item, the view mode checks.
#include <QMenu>

#include "library/shell/item_list_model.h"
#include "library/shell/item_list_view.h"
#include "library/shell/view_menus.h"
#include "library/shell/view_window.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/menu_ids.h"
#include "tests/support/gui_driver.h"
#include "tests/view/view_world.h"

namespace {

using Ids = std::vector<UINT>;

QAction* AddItem(QMenu* menu, UINT id) {
  QAction* action = menu->addAction(QString::number(id));
  PlatformSetMenuItemId(action, id);
  return action;
}

void AddSeparator(QMenu* menu) { menu->addSeparator(); }

// A source menu: 1, separator, 2, and a popup 50 holding 3.
std::unique_ptr<QMenu> SourceMenu() {
  auto menu = std::make_unique<QMenu>();
  AddItem(menu.get(), 1);
  AddSeparator(menu.get());
  AddItem(menu.get(), 2);
  QMenu* sub = menu->addMenu(QStringLiteral("sub"));
  PlatformSetMenuItemId(sub->menuAction(), 50);
  AddItem(sub, 3);
  return menu;
}

class MergeMenusTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApplication(); }
};

TEST_F(MergeMenusTest, AtTheEndWithASeparatorBetween) {
  QMenu destination;
  AddItem(&destination, 900);
  auto source = SourceMenu();
  const UINT next = MergeMenus(&destination, source.get(), static_cast<UINT>(-1), 100, 0x7FFF,
                               MM_ADDSEPARATOR | MM_SUBMENUSHAVEIDS);
  EXPECT_EQ((Ids{900, 0, 101, 0, 102, 150}), ItemIds(&destination));
  EXPECT_EQ(151u, next) << "one more than the highest identifier used";
  QMenu* sub = destination.actions().back()->menu();
  ASSERT_NE(nullptr, sub);
  EXPECT_EQ((Ids{103}), ItemIds(sub));
}

TEST_F(MergeMenusTest, AtPositionZeroNoLeadingSeparator) {
  QMenu destination;
  AddItem(&destination, 900);
  auto source = std::make_unique<QMenu>();
  AddSeparator(source.get());
  AddItem(source.get(), 5);
  const UINT next = MergeMenus(&destination, source.get(), 0, 0, 0x7FFF, MM_ADDSEPARATOR);
  EXPECT_EQ((Ids{5, 0, 900}), ItemIds(&destination)) << "the leading separator of the source is dropped";
  EXPECT_EQ(6u, next);
}

TEST_F(MergeMenusTest, InTheMiddleBeforeASeparatorKeepsOne) {
  QMenu destination;
  AddItem(&destination, 900);
  AddSeparator(&destination);
  AddItem(&destination, 901);
  auto source = std::make_unique<QMenu>();
  AddItem(source.get(), 7);
  AddSeparator(source.get());
  // Position 1 is the separator: the items go before it, and a separator is
  // added between 900 and them.
  MergeMenus(&destination, source.get(), 1, 0, 0x7FFF, MM_ADDSEPARATOR);
  EXPECT_EQ((Ids{900, 0, 7, 0, 901}), ItemIds(&destination));

  // Without the flag nothing is added in front.
  QMenu plain;
  AddItem(&plain, 900);
  AddItem(&plain, 901);
  auto one = std::make_unique<QMenu>();
  AddItem(one.get(), 8);
  MergeMenus(&plain, one.get(), 1, 0, 0x7FFF, 0);
  EXPECT_EQ((Ids{900, 8, 901}), ItemIds(&plain));
}

TEST_F(MergeMenusTest, AfterASeparatorNoDoubleSeparator) {
  QMenu destination;
  AddItem(&destination, 900);
  AddSeparator(&destination);
  AddItem(&destination, 901);
  auto source = std::make_unique<QMenu>();
  AddSeparator(source.get());
  AddItem(source.get(), 9);
  MergeMenus(&destination, source.get(), 2, 0, 0x7FFF, MM_ADDSEPARATOR);
  EXPECT_EQ((Ids{900, 0, 9, 0, 901}), ItemIds(&destination));
}

TEST_F(MergeMenusTest, IdentifiersAboveTheMaximumAreSkippedAndPopupsWithoutIdFlag) {
  QMenu destination;
  auto source = SourceMenu();
  const UINT next = MergeMenus(&destination, source.get(), static_cast<UINT>(-1), 1, 2, 0);
  // 1+1 = 2 fits, 2+1 = 3 does not; the popup keeps no identifier and its
  // item 3+1 is skipped too, so it stays empty.
  EXPECT_EQ((Ids{2, 0, kNoMenuItemId}), ItemIds(&destination));
  EXPECT_EQ(3u, next);
  EXPECT_TRUE(destination.actions().back()->menu()->actions().isEmpty());
  QMenu empty;
  auto none = std::make_unique<QMenu>();
  EXPECT_EQ(40u, MergeMenus(&empty, none.get(), 0, 40, 0x7FFF, MM_ADDSEPARATOR));
}

class ViewMenusTest : public ViewTestBase {
 protected:
  ShellView* OpenTableView(FakeBrowser& browser) {
    ShellFolder* demo = ChildFolder(root_, "Demo");
    if (!demo) return nullptr;
    ShellFolder* orders = ChildFolder(demo, "orders");
    if (!orders) return nullptr;
    return OpenView(orders, FVM_DETAILS, browser);
  }
};

TEST_F(ViewMenusTest, EditMenuByUiState) {
  FakeBrowser browser;
  ShellView* view = OpenTableView(browser);
  ASSERT_NE(nullptr, view);
  EXPECT_EQ(S_OK, view->UIActivate(SVUIA_ACTIVATE_NOFOCUS));
  QMenu* shared = view->SharedMenu();
  ASSERT_NE(nullptr, shared);
  EXPECT_EQ(shared, browser.shownMenu);
  EXPECT_EQ(view->Window(), browser.menuTarget);
  EXPECT_EQ((Ids{0xA002, 0, 17, 109}), ItemIds(PopupOf(shared, FCIDM_MENU_EDIT)));

  const int inserted = browser.menusInserted;
  const int removed = browser.menusRemoved;
  EXPECT_EQ(S_OK, view->UIActivate(SVUIA_ACTIVATE_FOCUS));
  EXPECT_EQ(inserted + 1, browser.menusInserted);
  EXPECT_EQ(removed + 1, browser.menusRemoved) << "the old shared menu is removed first";
  shared = view->SharedMenu();
  EXPECT_EQ((Ids{0xA002, 0, 112, 0, 17, 109}), ItemIds(PopupOf(shared, FCIDM_MENU_EDIT)));

  EXPECT_EQ(S_OK, view->UIActivate(SVUIA_DEACTIVATE));
  EXPECT_EQ(nullptr, view->SharedMenu());
  EXPECT_EQ(nullptr, browser.shownMenu);
  CloseView(view);
}

TEST_F(ViewMenusTest, ViewMenuWithArrangeIconsOfATableFolder) {
  FakeBrowser browser;
  ShellView* view = OpenTableView(browser);
  ASSERT_NE(nullptr, view);
  view->UIActivate(SVUIA_ACTIVATE_NOFOCUS);
  QMenu* viewPopup = PopupOf(view->SharedMenu(), FCIDM_MENU_VIEW);
  ASSERT_NE(nullptr, viewPopup);
  const Ids ids = ItemIds(viewPopup);
  // Host item, the view's items (with the Arrange Icons popup) merged at the
  // options separator, then the host's remaining items.
  ASSERT_EQ((Ids{0xA003, 0, 102, 103, 104, 105, 0, kNoMenuItemId, 107, FCIDM_MENU_VIEW_SEP_OPTIONS, 0xA004}), ids);
  QMenu* arrange = viewPopup->actions()[7]->menu();
  ASSERT_NE(nullptr, arrange);
  EXPECT_EQ((Ids{256, 257, 258, 259, 260, 0, 106}), ItemIds(arrange));
  EXPECT_EQ("by Name", arrange->actions()[0]->text().toStdString());
  EXPECT_EQ("by Prim.Key", arrange->actions()[3]->text().toStdString());

  // The menu refresh checks the current mode and greys the arrange items.
  SendMessageA(view->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(viewPopup), 2);
  EXPECT_TRUE(viewPopup->actions()[5]->isChecked()) << "details";
  EXPECT_FALSE(viewPopup->actions()[2]->isChecked());
  EXPECT_FALSE(arrange->actions()[6]->isEnabled());
  EXPECT_FALSE(arrange->actions()[6]->isChecked());
  EXPECT_FALSE(viewPopup->actions()[8]->isEnabled()) << "line up icons";

  // "by Type" twice: descending by type.
  ShellFolder* folder = view->Folder();
  SendMessageA(view->Window(), WM_COMMAND, 257, 0);
  EXPECT_EQ(1, folder->SortColumn());
  SendMessageA(view->Window(), WM_COMMAND, 257, 0);
  EXPECT_EQ(101, folder->SortColumn());
  const auto types = ColumnTexts(view, 1);
  EXPECT_TRUE(std::is_sorted(types.rbegin(), types.rend(),
                             [](const std::string& a, const std::string& b) {
                               return QString::fromStdString(a).compare(QString::fromStdString(b),
                                                                        Qt::CaseInsensitive) < 0;
                             }))
      << "types descending";
  CloseView(view);
}

TEST_F(ViewMenusTest, HelpGetsTheAboutItemOnce) {
  FakeBrowser browser;
  ShellView* view = OpenTableView(browser);
  ASSERT_NE(nullptr, view);
  view->UIActivate(SVUIA_ACTIVATE_FOCUS);
  QMenu* help = PopupOf(view->SharedMenu(), FCIDM_MENU_HELP);
  ASSERT_NE(nullptr, help);
  for (int i = 0; i < 3; ++i) SendMessageA(view->Window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), 3);
  EXPECT_EQ((Ids{9, 0, 0xA005}), ItemIds(help));
  EXPECT_EQ("about Datrova...", help->actions()[0]->text().toStdString());
  CloseView(view);
}

TEST_F(ViewMenusTest, ToolbarButtonsAndModeChecks) {
  FakeBrowser browser;
  ShellView* view = OpenTableView(browser);
  ASSERT_NE(nullptr, view);
  ASSERT_EQ(10u, browser.buttons.size());
  EXPECT_EQ(static_cast<UINT>(FCT_MERGE), browser.toolbarFlags);
  const int commands[] = {112, 0, 1033, 1031, 1030, 0, 102, 103, 104, 105};
  const int images[] = {STD_COPY, -1, STD_FILENEW, STD_DELETE, STD_PROPERTIES, -1,
                        STD_IMAGE_COUNT + VIEW_LARGEICONS, STD_IMAGE_COUNT + VIEW_SMALLICONS,
                        STD_IMAGE_COUNT + VIEW_LIST, STD_IMAGE_COUNT + VIEW_DETAILS};
  for (int i = 0; i < 10; ++i) {
    const TBBUTTON& b = browser.buttons[static_cast<size_t>(i)];
    if (commands[i] == 0) {
      EXPECT_EQ(TBSTYLE_SEP, b.fsStyle) << "button " << i;
      continue;
    }
    EXPECT_EQ(commands[i], b.idCommand) << "button " << i;
    EXPECT_EQ(images[i], b.iBitmap) << "button " << i;
    EXPECT_EQ(TBSTATE_ENABLED, b.fsState) << "button " << i;
  }
  EXPECT_TRUE(browser.checked[kCmdDetails]);
  SendMessageA(view->Window(), WM_COMMAND, kCmdSmallIcons, 0);
  EXPECT_TRUE(browser.checked[kCmdSmallIcons]);
  EXPECT_FALSE(browser.checked[kCmdDetails]);
  EXPECT_FALSE(browser.checked[kCmdLargeIcons]);
  EXPECT_FALSE(browser.checked[kCmdList]);
  EXPECT_EQ(FVM_SMALLICON, view->List()->viewMode());
  CloseView(view);
}

}  // namespace
