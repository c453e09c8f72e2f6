// Icon handles: an HICON owns one QIcon. Whoever receives an HICON from the
// platform (ImageList_GetIcon, LoadImageA, PlatformCreateIcon) destroys it
// with DestroyIcon.
#pragma once

#include <QIcon>

#include "platform/com/wintypes.h"

// A new handle holding a copy of the icon (QIcon is implicitly shared).
HICON PlatformCreateIcon(const QIcon& icon);
// The icon a handle holds; a null icon for a null handle.
QIcon PlatformIconOf(HICON icon);

extern "C" {
// Frees the handle; FALSE for a null handle.
BOOL DestroyIcon(HICON hIcon);
// Icon handles not destroyed yet, so tests can find leaked icons.
long PlatformLiveIcons(void);
}
