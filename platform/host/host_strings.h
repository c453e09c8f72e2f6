// The shell host's own user-visible texts: German at the base identifier,
// English at identifier + 1000, chosen by the user's language.
#pragma once

#include <QString>

enum HostStringId : unsigned {
  IDS_HOST_MENU_FILE = 1,
  IDS_HOST_MENU_EDIT = 2,
  IDS_HOST_MENU_VIEW = 3,
  IDS_HOST_MENU_HELP = 4,
  IDS_HOST_CLOSE = 5,
  IDS_HOST_FIND = 6,
  IDS_HOST_BACK = 7,
  IDS_HOST_UP = 8,
  IDS_HOST_MY_COMPUTER = 9,
  IDS_HOST_ADDRESS = 10,
  IDS_HOST_REFRESH = 11,
  IDS_HOST_TOOLBAR = 12,
  IDS_HOST_STATUSBAR = 13,
  IDS_HOST_OPEN = 14,
  IDS_HOST_EXPLORE = 15,
  IDS_HOST_ABOUT = 16,
  IDS_HOST_OBJECTS = 17,
  IDS_HOST_NOT_FOUND = 18,
  IDS_HOST_CANNOT_OPEN = 19,
  IDS_HOST_TITLE = 20,
  IDS_HOST_ABOUT_TEXT = 21,
  IDS_HOST_FOLDERS = 22,
  IDS_HOST_PROPERTIES = 23,
};

// The text in the user's language (GetUserDefaultLangID).
QString HostText(unsigned id);
// The text of exactly this identifier (German base or English + 1000);
// empty for an unknown identifier.
QString HostTextById(unsigned id);
