// Menu item identifiers. An HMENU is a QMenu; the identifier of an item is
// kept on its QAction (for a popup, on the popup's menuAction()) as the
// dynamic property "menuItemId". Items without one report 0xFFFFFFFF, as
// Win32 reports (UINT)-1 for popups without an identifier.
#pragma once

#include <QAction>
#include <QVariant>

#include "platform/com/wintypes.h"

inline constexpr const char* kMenuItemIdProperty = "menuItemId";
inline constexpr UINT kNoMenuItemId = 0xFFFFFFFFu;

inline void PlatformSetMenuItemId(QAction* action, UINT id) {
  if (action) action->setProperty(kMenuItemIdProperty, QVariant::fromValue<uint>(id));
}

inline UINT PlatformMenuItemId(const QAction* action) {
  if (!action) return kNoMenuItemId;
  const QVariant v = action->property(kMenuItemIdProperty);
  return v.isValid() ? v.toUInt() : kNoMenuItemId;
}
