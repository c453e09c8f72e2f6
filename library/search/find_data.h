// The data search: the "Find Data" dialog, in which the user names the data
// sources and tables to search, the kind of data and the value to look for,
// and the "Find Result" dialogs that list what each search visits and finds.
#pragma once

#include "platform/com/wintypes.h"

// Opens the "Find Data" dialog modally (it has no owner window; `owner` only
// places it) and returns when the user closes it. Each OK starts a search in
// a new "Find Result" dialog; result dialogs go with the "Find Data" dialog.
// Must be called on the GUI thread.
void ShowFindDataDialog(HWND owner);
