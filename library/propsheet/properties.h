// The property sheets of the namespace, assembled from the handlers: the
// context menu's "&Properties...", the view's AddPropertySheetPages and the
// folder's own IShellPropSheetExt.
#pragma once

#include "platform/com/shlobj.h"

class ShellFolder;

// Shows the modal sheet of the first of `apidl` (cidl items of `folder`) or,
// with no items, of the folder itself, over `owner`. Returns what
// PropertySheetA returned (1 OK, 0 Cancel, -1 when nothing could be shown).
INT_PTR ShowPropertiesFor(ShellFolder* folder, HWND owner, UINT cidl, LPCITEMIDLIST* apidl);

// IShellView::AddPropertySheetPages of a view whose folder has the absolute
// list `folderIdList`: the data source page and, for a column, the column
// page. E_OUTOFMEMORY when a handler cannot be made.
HRESULT AddViewPropertySheetPages(LPCITEMIDLIST folderIdList, LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam);

// The settings page alone (the folder's IShellPropSheetExt).
HRESULT AddSettingsPropertySheetPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam);
