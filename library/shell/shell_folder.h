// The namespace folder, the library's one COM class: the root under My
// Computer, each data source, each table or view and each procedure. It hands
// out the enumerator of its children, deeper folders, its view, context menus
// and per-item icon and info tip objects, and owns the ODBC connection
// context of its data source. It also serves as context menu and property
// sheet handler of the namespace root (IShellExtInit, IShellPropSheetExt).
#pragma once

#include "library/catalog/catalog_reader.h"
#include "library/catalog/connection.h"
#include "library/shell/com_object.h"
#include "platform/com/shlobj.h"

class ShellFolder final : public ComObject<IShellFolder, IPersistFolder, IDropTarget, IShellExtInit,
                                           IShellPropSheetExt> {
 public:
  // A new folder below `parent` (one reference is held on it), named by
  // `relative`, the path below the parent (null stands for the empty list).
  // Null when memory runs out.
  static ShellFolder* Create(ShellFolder* parent, LPCITEMIDLIST relative);

  // IUnknown: adds IID_IContextMenu (a context menu for no items) to the
  // interfaces of the table.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;

  // IShellFolder
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND hwnd, LPBC pbc, LPOLESTR pszDisplayName, ULONG* pchEaten,
                                             LPITEMIDLIST* ppidl, ULONG* pdwAttributes) override;
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND hwnd, DWORD grfFlags, IEnumIDList** ppenumIDList) override;
  HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST pidl, LPBC pbc, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST pidl, LPBC pbc, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM lParam, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) override;
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND hwndOwner, REFIID riid, void** ppv) override;
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, ULONG* rgfInOut) override;
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND hwndOwner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid,
                                          UINT* rgfReserved, void** ppv) override;
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST pidl, DWORD uFlags, STRRET* pName) override;
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND hwnd, LPCITEMIDLIST pidl, LPCOLESTR pszName, DWORD uFlags,
                                      LPITEMIDLIST* ppidlOut) override;

  // IPersistFolder (IShellExtInit::Initialize shares the name; both are
  // implemented below under their own signatures).
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
  HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST pidl) override;

  // IDropTarget: nothing can be dropped into the namespace.
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                      DWORD* pdwEffect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

  // IShellExtInit
  HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST pidlFolder, IDataObject* pdtobj, HKEY hkeyProgID) override;

  // IShellPropSheetExt
  HRESULT STDMETHODCALLTYPE AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE ReplacePage(UINT uPageID, LPFNADDPROPSHEETPAGE pfnReplaceWith, LPARAM lParam) override;

  // ----- folder operations for the view, context menu and property pages.
  int Level() const { return level_; }
  LPCITEMIDLIST OwnIdList() const { return ownIdList_; }
  LPCITEMIDLIST AbsoluteIdList() const { return absoluteIdList_; }
  ShellFolder* Parent() const { return parent_; }
  ConnectionContext& Connection() { return context_; }
  int SortColumn() const { return sortColumn_; }
  void SetSortColumn(int column) { sortColumn_ = column; }

  // Text 0 of the first data source item of the own list, or null.
  const char* GetFolderDsn() const;
  // The same copied into buffer (cut to size - 1; empty when there is none).
  int GetFolderDsn(char* buffer, int size) const;
  // The first table / procedure item of the own list, or the list's
  // terminator when there is none.
  LPCITEMIDLIST GetFolderTableItem() const;
  LPCITEMIDLIST GetFolderProcedureItem() const;
  // "DSN : table : column" of the own list; 1 when it fit into buffer with
  // its terminator, else 0 and nothing copied.
  int GetFolderPath(char* buffer, int size) const;
  // Diagnostics of a handle after a failed call, into the error text.
  void CollectStatementDiagnostics(SQLRETURN rc, SQLHSTMT statement);
  void CollectHandleDiagnostics(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle);

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  ShellFolder(ShellFolder* parent, LPITEMIDLIST ownIdList, LPITEMIDLIST absoluteIdList);
  ~ShellFolder() override;

  // Seams for the objects that arrive with their own components.
  HRESULT MakeContextMenu(HWND owner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid, void** ppv);
  HRESULT MakeView(HWND owner, REFIID riid, void** ppv);
  HRESULT AddSettingsPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam);

  // The first item of `kind` in the own list, or its terminator.
  LPCITEMIDLIST FindOwnItem(uint32_t kind) const;
  void ReplaceAbsoluteIdList(LPITEMIDLIST list);

  ConnectionContext context_;
  int sortColumn_ = 0;  // 100 and up: descending by column - 100
  LPITEMIDLIST ownIdList_;
  LPITEMIDLIST absoluteIdList_;
  ShellFolder* parent_;
  int level_;
};

// The level of a folder whose own list ends with `lastItem` (null for the
// root): kLevelRoot ... kLevelProcedure, or 0 for items that are no folders.
int FolderLevelOf(LPCITEMIDLIST lastItem);
// CompareIDs without a folder: the sign of the order of two paths by the
// item text of the column in lParam (100 and up: descending).
int CompareIdLists(LPARAM lParam, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2);
// The SFGAO_ attributes of an item by the kind of its last item.
ULONG ItemAttributes(LPCITEMIDLIST pidl);
