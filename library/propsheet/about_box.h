// The about box (dialog 1 / 1001): the product icon, the product and maker
// lines, "OK" and the web-site button; and the one way the library opens the
// maker's web site.
#pragma once

#include "platform/com/wintypes.h"

// Shows the about box modally over `owner`; returns 1 when closed with OK,
// 0 with Esc or the close box.
int ShowAboutBox(HWND owner);

// Opens the maker's web site (kMakerWebAddress) in the user's browser.
void OpenMakerWebSite();
