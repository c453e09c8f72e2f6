// The library's icons (product 100, item icons 102-125), drawn as SVG in
// the resource file icons.qrc and rendered to pixmaps in the small (16 px)
// and large (32 px) system sizes, plus 24 and 48 px for high-density
// screens. Icons are language-neutral and loaded without the offset.
#pragma once

#include <QIcon>
#include <QString>

#include "platform/com/wintypes.h"

inline constexpr int kSmallIconSize = 16;  // SM_CXSMICON / SM_CYSMICON
inline constexpr int kLargeIconSize = 32;  // SM_CXICON / SM_CYICON

// The qrc path of an icon's SVG (":/datrova/icons/..."), empty for an
// unknown id.
QString IconResourcePath(UINT iconId);

// The icon of an id, with pixmaps at 16, 24, 32 and 48 px; a null icon for
// an unknown id. Needs a QGuiApplication (pixmaps).
QIcon LoadResIcon(UINT iconId);

// One rendering of an icon at an exact size; a null pixmap for an unknown id.
QPixmap RenderResIcon(UINT iconId, int size);
