// The menu resources as data, and the builder that turns one into Qt menus.
//
// Menus are named by their German base id (1, 4, 5); the English menu stands
// at base + 1000. A built menu keeps the Win32 addressing: every command
// action carries its command id (PlatformMenuItemId, property "menuItemId",
// and the object name "<id>"), and every popup carries its position in its
// parent (property "menuPosition"), since callers address popups by
// position and items by id.
#pragma once

#include <cstddef>

#include "platform/com/wintypes.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

enum class MenuItemKind { Command, Separator, Popup };

struct MenuItemDef {
  MenuItemKind kind;
  const char* text;             // UTF-8, "&" marks the mnemonic; null for a separator
  UINT commandId;               // Command only
  const MenuItemDef* children;  // Popup only
  size_t childCount;
};

struct MenuDef {
  UINT id;  // absolute id: German 1-5, English 1001-1005
  const MenuItemDef* popups;  // the top-level items (all popups)
  size_t popupCount;
};

inline constexpr const char* kMenuPositionProperty = "menuPosition";

// The menu with this absolute id, or null.
const MenuDef* FindMenuDef(UINT absoluteId);

// Builds the menu bar of menu baseId + g_languageOffset; null when there is
// no such menu. The bar belongs to parent (or to the caller without one).
QMenuBar* LoadMenuBar(UINT baseId, QWidget* parent = nullptr);

// Builds popup number `position` of menu baseId + g_languageOffset as a
// stand-alone QMenu (what GetSubMenu(LoadMenu(...), position) gives); null
// when the menu or the position does not exist.
QMenu* LoadMenuPopup(UINT baseId, int position, QWidget* parent = nullptr);

// Appends the items of one popup definition to a menu.
void AppendMenuItems(QMenu* menu, const MenuItemDef* items, size_t count);

// The popup at a position of a menu bar or menu (its index among the items,
// separators counted, as Win32 positions are), or null.
QMenu* MenuPopupAt(const QWidget* menuOrBar, int position);

// The first action with this command id in a menu or bar, searching popups
// depth first; null when there is none.
QAction* FindMenuCommand(const QWidget* menuOrBar, UINT commandId);
