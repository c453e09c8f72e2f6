// Merging menus the Win32 way on Qt menus: items addressed by position,
// identifiers kept on the actions (PlatformMenuItemId). A separator without
// an identifier counts as identifier 0, as a Win32 separator does.
#pragma once

#include "platform/com/wintypes.h"

class QMenu;

// MergeMenus flags.
inline constexpr UINT MM_ADDSEPARATOR = 0x1;
inline constexpr UINT MM_SUBMENUSHAVEIDS = 0x2;

// Copies the items of `source` into `destination` at `insertPosition`
// (at or past the end, e.g. (UINT)-1: appended), shifting identifiers by
// `idShift` and skipping items whose shifted identifier exceeds `idMax`;
// never two separators in a row. Returns one more than the highest
// identifier used, or idShift when none was.
UINT MergeMenus(QMenu* destination, QMenu* source, UINT insertPosition, UINT idShift, UINT idMax, UINT flags);

// The identifier of the item at a position (separators without one: 0).
UINT MenuItemIdAt(QMenu* menu, int position);
// The position of the item with identifier `id`, or -1.
int MenuPositionOf(QMenu* menu, UINT id);
// The popup of a menu bar (or menu) whose own identifier is `id`, or null.
QMenu* MenuPopupWithId(QMenu* menu, UINT id);
