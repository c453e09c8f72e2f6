// The command object of the namespace: the menu that fits a folder level and
// a selection, help texts, and every command (browse, delete data sources,
// properties, SELECT, statement, new/configure data source, ODBC
// administrator, data search). The view uses one per right click, double
// click, File menu opening and toolbar command; the shell host uses one for
// the tree pane and the folder background.
#pragma once

#include "library/shell/com_object.h"
#include "platform/com/shlobj.h"

class ShellFolder;

// Command offsets; menus carry idCmdFirst + offset.
enum ContextCommand : UINT {
  kOffsetExplore = 0,
  kOffsetOpen = 1,
  kOffsetDelete = 2,
  kOffsetProperties = 3,
  kOffsetSelect = 4,
  kOffsetStatement = 5,
  kOffsetNewDsn = 6,
  kOffsetConfigDsn = 7,
  kOffsetOdbcAdmin = 8,
  kOffsetNothing = 9,
  kOffsetFindData = 10,
};
// The offsets reserved by QueryContextMenu, whatever it inserted.
inline constexpr UINT kContextCommandCount = 11;

class ContextMenu final : public ComObject<IContextMenu> {
 public:
  // A menu for `count` items of `folder` (which may be null), relative to
  // the folder; each item is copied. Null when memory runs out.
  static ContextMenu* Create(HWND owner, ShellFolder* folder, LPCITEMIDLIST* items, UINT count);

  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                             UINT uFlags) override;
  HRESULT STDMETHODCALLTYPE InvokeCommand(LPCMINVOKECOMMANDINFO pici) override;
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR idCmd, UINT uType, UINT* pReserved, LPSTR pszName,
                                             UINT cchMax) override;

  bool ExploreMode() const { return exploreMode_; }
  UINT ItemCount() const { return itemCount_; }

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  ContextMenu(HWND owner, ShellFolder* folder);
  ~ContextMenu() override;
  bool CopyItems(LPCITEMIDLIST* items, UINT count);
  int Level() const;

  UINT itemCount_ = 0;
  LPITEMIDLIST* items_ = nullptr;  // itemCount_ + 1 entries, the last null
  ShellFolder* folder_;
  HWND owner_;
  bool exploreMode_;
};

// True when a window class name marks the shell host's explore mode: it
// begins with "explore" in any case ("ExploreWClass").
bool IsExploreClassName(const char* className);
