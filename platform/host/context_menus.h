// Context menus the host builds from extensions: the right-click menu of a
// junction (the handlers registered under
// HKCR\CLSID\{clsid}\shellex\ContextMenuHandlers) with its property sheet,
// the right-click menu of a folder node (its parent folder's IContextMenu),
// and invoking a verb on a folder's background menu.
#pragma once

#include <QMenu>
#include <QPoint>
#include <vector>

#include "platform/com/shlobj.h"
#include "platform/host/id_list.h"

// Builds the context menu handlers of a junction, initialised through
// IShellExtInit with the My Computer list and a data object without files.
std::vector<ComPtr<IContextMenu>> JunctionMenuHandlers(const CLSID& clsid);

// Whether the junction registers property sheet handlers
// (HKCR\CLSID\{clsid}\shellex\PropertySheetHandlers).
bool HasJunctionPropertySheet(const CLSID& clsid);
// Shows one modal property sheet with the pages that every registered
// property sheet handler of the junction adds. False when none added a page.
bool ShowJunctionProperties(const CLSID& clsid, HWND owner, const QString& caption);

// Fills `menu` from `handlers` (each in its own identifier range, starting
// at `firstId`) and, when the user picks one of their items, invokes it.
// Returns true when an extension's command was run.
class ExtensionMenu {
 public:
  explicit ExtensionMenu(std::vector<ComPtr<IContextMenu>> handlers) : handlers_(std::move(handlers)) {}
  void fill(QMenu* menu, UINT flags);
  // Runs the command of a picked action; false when it is not one of ours.
  bool invoke(QAction* picked, HWND owner);

 private:
  struct Range {
    IContextMenu* handler;
    UINT first;
    UINT end;
  };
  std::vector<ComPtr<IContextMenu>> handlers_;
  std::vector<Range> ranges_;
};

// Invokes the string verb `verb` on the background context menu of
// `folder` (GetUIObjectOf with no items).
HRESULT InvokeFolderVerb(IShellFolder* folder, HWND owner, const char* verb);
