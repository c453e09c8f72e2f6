#include "library/res/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QVariant>

#include "library/res/resource_ids.h"
#include "library/shell/module_state.h"
#include "platform/ui/menu_ids.h"

namespace {

constexpr MenuItemDef Cmd(const char* text, UINT id) {
  return {MenuItemKind::Command, text, id, nullptr, 0};
}
constexpr MenuItemDef Sep() { return {MenuItemKind::Separator, nullptr, 0, nullptr, 0}; }
template <size_t N>
constexpr MenuItemDef Popup(const char* text, const MenuItemDef (&items)[N]) {
  return {MenuItemKind::Popup, text, 0, items, N};
}
template <size_t N>
constexpr MenuDef Menu(UINT id, const MenuItemDef (&popups)[N]) {
  return {id, popups, N};
}

// ---- Menu 1: result window ------------------------------------------------
// Only the English captions were handed to us; the German ones are ours.
// "Strg+C" in the English copy item is as given.
constexpr MenuItemDef kResultSelectionDe[] = {
    Cmd("Statement &ändern...", IDM_CHANGE_STATEMENT),
    Cmd("&Neues Selektionsfenster...", IDM_NEW_SELECTION_WINDOW),
    Sep(),
    Cmd("&Verknüpfung erstellen...", IDM_CREATE_SHORTCUT),
    Sep(),
    Cmd("&Beenden", IDM_EXIT),
};
constexpr MenuItemDef kResultEditDe[] = {
    Cmd("&Kopieren\tStrg+C", IDM_COPY),
    Cmd("&Insertscript in die Zwischenablage", IDM_INSERT_SCRIPT),
    Sep(),
    Cmd("&Aktualisieren\tF5", IDM_REFRESH),
};
constexpr MenuItemDef kResultMenuDe[] = {
    Popup("&Selektion", kResultSelectionDe),
    Popup("&Bearbeiten", kResultEditDe),
};

constexpr MenuItemDef kResultSelectionEn[] = {
    Cmd("&Change statement...", IDM_CHANGE_STATEMENT),
    Cmd("&New selection window...", IDM_NEW_SELECTION_WINDOW),
    Sep(),
    Cmd("create &Shortcut...", IDM_CREATE_SHORTCUT),
    Sep(),
    Cmd("&Exit", IDM_EXIT),
};
constexpr MenuItemDef kResultEditEn[] = {
    Cmd("&Copy\tStrg+C", IDM_COPY),
    Cmd("Create &Insertscript on clipboard", IDM_INSERT_SCRIPT),
    Sep(),
    Cmd("&Refresh\tF5", IDM_REFRESH),
};
constexpr MenuItemDef kResultMenuEn[] = {
    Popup("&Selection", kResultSelectionEn),
    Popup("&Edit", kResultEditEn),
};

// ---- Menus 4 and 5: what the shell view merges into the browser ----------
// Popup 0 goes into the browser's Edit menu, popup 1 into its View menu; the
// popup captions themselves are never shown. German texts are ours.
// "Line up Icons" sits beside the "Arrange Icons" popup, not inside it: the
// view inserts its "by <column>" items into that popup before "Auto Arrange".
constexpr MenuItemDef kArrangeDe[] = {Cmd("&Automatisch anordnen", IDM_AUTO_ARRANGE)};
constexpr MenuItemDef kViewDe[] = {
    Cmd("&Große Symbole", IDM_VIEW_LARGE_ICONS),
    Cmd("&Kleine Symbole", IDM_VIEW_SMALL_ICONS),
    Cmd("&Liste", IDM_VIEW_LIST),
    Cmd("&Details", IDM_VIEW_DETAILS),
    Sep(),
    Popup("Symbole a&nordnen", kArrangeDe),
    Cmd("&Am Raster ausrichten", IDM_LINE_UP_ICONS),
};
constexpr MenuItemDef kArrangeEn[] = {Cmd("&Auto Arrange", IDM_AUTO_ARRANGE)};
constexpr MenuItemDef kViewEn[] = {
    Cmd("Lar&ge Icons", IDM_VIEW_LARGE_ICONS),
    Cmd("S&mall Icons", IDM_VIEW_SMALL_ICONS),
    Cmd("&List", IDM_VIEW_LIST),
    Cmd("&Details", IDM_VIEW_DETAILS),
    Sep(),
    Popup("Arrange &Icons", kArrangeEn),
    Cmd("Lin&e up Icons", IDM_LINE_UP_ICONS),
};

constexpr MenuItemDef kEditFocusDe[] = {
    Cmd("&Kopieren\tStrg+C", IDM_COPY),
    Sep(),
    Cmd("&Alles markieren\tStrg+A", IDM_SELECT_ALL),
    Cmd("Markierung &umkehren", IDM_INVERT_SELECTION),
};
constexpr MenuItemDef kEditFocusEn[] = {
    Cmd("&Copy\tCtrl+C", IDM_COPY),
    Sep(),
    Cmd("Select &All\tCtrl+A", IDM_SELECT_ALL),
    Cmd("&Invert Selection", IDM_INVERT_SELECTION),
};
// Without focus there is no copy; the German menu lists the two items the
// other way round.
constexpr MenuItemDef kEditNoFocusDe[] = {
    Cmd("Markierung &umkehren", IDM_INVERT_SELECTION),
    Cmd("&Alles markieren\tStrg+A", IDM_SELECT_ALL),
};
constexpr MenuItemDef kEditNoFocusEn[] = {
    Cmd("Select &All\tCtrl+A", IDM_SELECT_ALL),
    Cmd("&Invert Selection", IDM_INVERT_SELECTION),
};

constexpr MenuItemDef kViewFocusDe[] = {Popup("&Bearbeiten", kEditFocusDe), Popup("&Ansicht", kViewDe)};
constexpr MenuItemDef kViewFocusEn[] = {Popup("&Edit", kEditFocusEn), Popup("&View", kViewEn)};
constexpr MenuItemDef kViewNoFocusDe[] = {Popup("&Bearbeiten", kEditNoFocusDe),
                                          Popup("&Ansicht", kViewDe)};
constexpr MenuItemDef kViewNoFocusEn[] = {Popup("&Edit", kEditNoFocusEn), Popup("&View", kViewEn)};

constexpr MenuDef kMenus[] = {
    Menu(IDR_MENU_RESULT, kResultMenuDe),
    Menu(kEnglishOffset + IDR_MENU_RESULT, kResultMenuEn),
    Menu(IDR_MENU_VIEW_FOCUS, kViewFocusDe),
    Menu(kEnglishOffset + IDR_MENU_VIEW_FOCUS, kViewFocusEn),
    Menu(IDR_MENU_VIEW_NOFOCUS, kViewNoFocusDe),
    Menu(kEnglishOffset + IDR_MENU_VIEW_NOFOCUS, kViewNoFocusEn),
};

void MarkPopup(QMenu* popup, int position) {
  popup->setProperty(kMenuPositionProperty, position);
  popup->menuAction()->setProperty(kMenuPositionProperty, position);
}

QMenu* BuildPopup(const MenuItemDef& def, int position, QWidget* parent) {
  auto* popup = new QMenu(QString::fromUtf8(def.text), parent);
  MarkPopup(popup, position);
  AppendMenuItems(popup, def.children, def.childCount);
  return popup;
}

}  // namespace

const MenuDef* FindMenuDef(UINT absoluteId) {
  for (const MenuDef& menu : kMenus) {
    if (menu.id == absoluteId) return &menu;
  }
  return nullptr;
}

void AppendMenuItems(QMenu* menu, const MenuItemDef* items, size_t count) {
  // Positions count every item, separators included, as Win32 positions do.
  for (size_t i = 0; i < count; ++i) {
    const MenuItemDef& item = items[i];
    switch (item.kind) {
      case MenuItemKind::Separator:
        menu->addSeparator();
        break;
      case MenuItemKind::Command: {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        PlatformSetMenuItemId(action, item.commandId);
        action->setData(QVariant::fromValue<uint>(item.commandId));
        action->setObjectName(QString::number(item.commandId));
        break;
      }
      case MenuItemKind::Popup:
        menu->addMenu(BuildPopup(item, static_cast<int>(i), menu));
        break;
    }
  }
}

QMenuBar* LoadMenuBar(UINT baseId, QWidget* parent) {
  const MenuDef* def = FindMenuDef(g_languageOffset + baseId);
  if (!def) return nullptr;
  auto* bar = new QMenuBar(parent);
  for (size_t i = 0; i < def->popupCount; ++i) {
    bar->addMenu(BuildPopup(def->popups[i], static_cast<int>(i), bar));
  }
  return bar;
}

QMenu* LoadMenuPopup(UINT baseId, int position, QWidget* parent) {
  const MenuDef* def = FindMenuDef(g_languageOffset + baseId);
  if (!def || position < 0 || static_cast<size_t>(position) >= def->popupCount) return nullptr;
  return BuildPopup(def->popups[position], position, parent);
}

QMenu* MenuPopupAt(const QWidget* menuOrBar, int position) {
  if (!menuOrBar) return nullptr;
  const QList<QAction*> actions = menuOrBar->actions();
  if (position < 0 || position >= actions.size()) return nullptr;
  return actions[position]->menu();
}

QAction* FindMenuCommand(const QWidget* menuOrBar, UINT commandId) {
  if (!menuOrBar) return nullptr;
  for (QAction* action : menuOrBar->actions()) {
    if (QMenu* sub = action->menu()) {
      if (QAction* found = FindMenuCommand(sub, commandId)) return found;
    } else if (!action->isSeparator() && PlatformMenuItemId(action) == commandId) {
      return action;
    }
  }
  return nullptr;
}
