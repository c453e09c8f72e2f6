// Menus build into Qt menus whose actions carry their command ids and whose
// popups sit at their Win32 positions, in both languages.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "library/res/menus.h"
#include "library/res/resource_ids.h"
#include "library/shell/module_state.h"
#include "platform/ui/menu_ids.h"
#include "qt_app.h"

namespace {

struct Item {
  UINT id;  // kNoMenuItemId for a separator or popup
  std::string text;
};

// The items of a menu as (id, text) in position order; separators as (-1, "-").
std::vector<Item> Items(const QWidget* menu) {
  std::vector<Item> out;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator())
      out.push_back({kNoMenuItemId, "-"});
    else
      out.push_back({PlatformMenuItemId(a), a->text().toStdString()});
  }
  return out;
}

class MenuTest : public ::testing::TestWithParam<UINT> {
 protected:
  void SetUp() override {
    EnsureQtApp();
    saved_ = g_languageOffset;
    g_languageOffset = GetParam();
  }
  void TearDown() override { g_languageOffset = saved_; }
  bool English() const { return GetParam() == kEnglishOffset; }

 private:
  UINT saved_ = 0;
};

TEST_P(MenuTest, ResultWindowMenuHasTwoPopupsWithTheirCommands) {
  std::unique_ptr<QMenuBar> bar(LoadMenuBar(IDR_MENU_RESULT));
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->actions().size(), 2);

  QMenu* selection = MenuPopupAt(bar.get(), 0);
  QMenu* edit = MenuPopupAt(bar.get(), 1);
  ASSERT_TRUE(selection && edit);
  EXPECT_EQ(selection->property(kMenuPositionProperty).toInt(), 0);
  EXPECT_EQ(edit->property(kMenuPositionProperty).toInt(), 1);

  std::vector<UINT> ids;
  for (const Item& i : Items(selection)) ids.push_back(i.id);
  EXPECT_EQ(ids, (std::vector<UINT>{IDM_CHANGE_STATEMENT, IDM_NEW_SELECTION_WINDOW, kNoMenuItemId,
                                    IDM_CREATE_SHORTCUT, kNoMenuItemId, IDM_EXIT}));
  ids.clear();
  for (const Item& i : Items(edit)) ids.push_back(i.id);
  EXPECT_EQ(ids, (std::vector<UINT>{IDM_COPY, IDM_INSERT_SCRIPT, kNoMenuItemId, IDM_REFRESH}));

  if (English()) {
    EXPECT_EQ(bar->actions()[0]->text().toStdString(), "&Selection");
    EXPECT_EQ(Items(selection)[0].text, "&Change statement...");
    EXPECT_EQ(Items(selection)[3].text, "create &Shortcut...");
    EXPECT_EQ(Items(edit)[0].text, "&Copy\tStrg+C");
    EXPECT_EQ(Items(edit)[1].text, "Create &Insertscript on clipboard");
    EXPECT_EQ(Items(edit)[3].text, "&Refresh\tF5");
  } else {
    EXPECT_EQ(Items(edit)[0].text, "&Kopieren\tStrg+C");
  }
  // Greying popups by position, as a running statement does.
  bar->actions()[1]->setEnabled(false);
  EXPECT_FALSE(edit->menuAction()->isEnabled());
}

TEST_P(MenuTest, ViewMenusCarryEditAndViewItems) {
  std::unique_ptr<QMenu> editFocus(LoadMenuPopup(IDR_MENU_VIEW_FOCUS, 0));
  std::unique_ptr<QMenu> editNoFocus(LoadMenuPopup(IDR_MENU_VIEW_NOFOCUS, 0));
  ASSERT_TRUE(editFocus && editNoFocus);

  std::vector<UINT> ids;
  for (const Item& i : Items(editFocus.get())) ids.push_back(i.id);
  EXPECT_EQ(ids, (std::vector<UINT>{IDM_COPY, kNoMenuItemId, IDM_SELECT_ALL, IDM_INVERT_SELECTION}));

  // Without focus: no copy; German lists invert before select all.
  ids.clear();
  for (const Item& i : Items(editNoFocus.get())) ids.push_back(i.id);
  if (English())
    EXPECT_EQ(ids, (std::vector<UINT>{IDM_SELECT_ALL, IDM_INVERT_SELECTION}));
  else
    EXPECT_EQ(ids, (std::vector<UINT>{IDM_INVERT_SELECTION, IDM_SELECT_ALL}));

  for (UINT menuId : {IDR_MENU_VIEW_FOCUS, IDR_MENU_VIEW_NOFOCUS}) {
    std::unique_ptr<QMenu> view(LoadMenuPopup(menuId, 1));
    ASSERT_TRUE(view);
    std::vector<Item> items = Items(view.get());
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].id, IDM_VIEW_LARGE_ICONS);
    EXPECT_EQ(items[1].id, IDM_VIEW_SMALL_ICONS);
    EXPECT_EQ(items[2].id, IDM_VIEW_LIST);
    EXPECT_EQ(items[3].id, IDM_VIEW_DETAILS);
    EXPECT_EQ(items[4].text, "-");
    QMenu* arrange = MenuPopupAt(view.get(), 5);
    ASSERT_TRUE(arrange) << "the arrange popup sits at position 5";
    EXPECT_EQ(arrange->property(kMenuPositionProperty).toInt(), 5);
    ASSERT_EQ(arrange->actions().size(), 1);
    EXPECT_EQ(PlatformMenuItemId(arrange->actions()[0]), IDM_AUTO_ARRANGE);
    EXPECT_EQ(items[6].id, IDM_LINE_UP_ICONS);
    EXPECT_EQ(FindMenuCommand(view.get(), IDM_AUTO_ARRANGE), arrange->actions()[0]);
    if (English()) {
      EXPECT_EQ(items[0].text, "Lar&ge Icons");
      EXPECT_EQ(arrange->title().toStdString(), "Arrange &Icons");
      EXPECT_EQ(items[6].text, "Lin&e up Icons");
    }
  }
  if (English()) {
    EXPECT_EQ(Items(editFocus.get())[0].text, "&Copy\tCtrl+C");
    EXPECT_EQ(Items(editFocus.get())[2].text, "Select &All\tCtrl+A");
    EXPECT_EQ(Items(editFocus.get())[3].text, "&Invert Selection");
  }
}

TEST_P(MenuTest, UnknownMenusAndPositionsGiveNothing) {
  EXPECT_EQ(LoadMenuBar(77), nullptr);
  EXPECT_EQ(LoadMenuPopup(IDR_MENU_RESULT, 2), nullptr);
  EXPECT_EQ(LoadMenuPopup(IDR_MENU_RESULT, -1), nullptr);
  std::unique_ptr<QMenuBar> bar(LoadMenuBar(IDR_MENU_RESULT));
  EXPECT_EQ(MenuPopupAt(bar.get(), 2), nullptr);
  EXPECT_EQ(FindMenuCommand(bar.get(), 4711), nullptr);
  ASSERT_NE(FindMenuCommand(bar.get(), IDM_REFRESH), nullptr);
  EXPECT_EQ(FindMenuCommand(bar.get(), IDM_REFRESH)->objectName().toStdString(), "1081");
}

INSTANTIATE_TEST_SUITE_P(Languages, MenuTest, ::testing::Values(0u, kEnglishOffset),
                         [](const auto& info) { return info.param ? "English" : "German"; });

// Every menu exists in both languages with the same command ids in the
// same places: code addresses items by id and popups by position.
TEST(MenuDefinitions, GermanAndEnglishAgreeInShape) {
  for (UINT base : {IDR_MENU_RESULT, IDR_MENU_VIEW_FOCUS, IDR_MENU_VIEW_NOFOCUS}) {
    const MenuDef* de = FindMenuDef(base);
    const MenuDef* en = FindMenuDef(base + kEnglishOffset);
    ASSERT_TRUE(de && en) << "menu " << base;
    ASSERT_EQ(de->popupCount, en->popupCount) << "menu " << base;
    for (size_t p = 0; p < de->popupCount; ++p) {
      ASSERT_EQ(de->popups[p].childCount, en->popups[p].childCount) << "menu " << base;
      std::multiset<UINT> idsDe, idsEn;
      for (size_t i = 0; i < de->popups[p].childCount; ++i) {
        const MenuItemDef& a = de->popups[p].children[i];
        const MenuItemDef& b = en->popups[p].children[i];
        EXPECT_EQ(a.kind, b.kind) << "menu " << base << " popup " << p << " item " << i;
        if (a.kind == MenuItemKind::Command) {
          idsDe.insert(a.commandId);
          idsEn.insert(b.commandId);
          EXPECT_TRUE(a.text && *a.text);
          EXPECT_TRUE(b.text && *b.text);
        }
      }
      EXPECT_EQ(idsDe, idsEn) << "menu " << base << " popup " << p;
    }
  }
}

}  // namespace
