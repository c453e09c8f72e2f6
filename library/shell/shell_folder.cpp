#include "library/shell/shell_folder.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "library/catalog/enum_id_list.h"
#include "library/catalog/item_id.h"
#include "library/propsheet/properties.h"
#include "library/shell/context_menu.h"
#include "library/shell/extract_icon.h"
#include "library/shell/query_info.h"
#include "library/shell/shell_view.h"
#include "platform/com/winbase.h"
#include "platform/ui/ui.h"

namespace {

constexpr LPARAM kDescendingOffset = 100;
constexpr int kKeySequenceText = 3;  // GetItemText index of a column's key sequence
constexpr ULONG kDsnAttributes = SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_HASPROPSHEET | SFGAO_CANDELETE;
constexpr ULONG kTableAttributes = SFGAO_FOLDER | SFGAO_HASPROPSHEET;
constexpr ULONG kColumnAttributes = SFGAO_HASPROPSHEET;

bool IsEmptyList(LPCITEMIDLIST list) { return !list || list->mkid.cb == 0; }

}  // namespace

int FolderLevelOf(LPCITEMIDLIST lastItem) {
  if (!lastItem) return kLevelRoot;
  switch (GetItemKind(lastItem)) {
    case KIND_DSN:
      return kLevelDsn;
    case KIND_TABLE:
      return kLevelTable;
    case KIND_PROCEDURE:
      return kLevelProcedure;
    default:
      return 0;
  }
}

int CompareIdLists(LPARAM lParam, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
  int column = static_cast<int>(lParam);
  int sign = 1;
  if (lParam >= kDescendingOffset) {
    column = static_cast<int>(lParam - kDescendingOffset);
    sign = -1;
  }
  if (!pidl1) return 0;
  int r = 0;
  while (pidl2) {
    if (pidl1->mkid.cb == 0) {
      r = pidl2->mkid.cb == 0 ? 0 : -1;
      break;
    }
    if (pidl2->mkid.cb == 0) {
      r = 1;
      break;
    }
    // The key sequence text of a column lives in a buffer that the next
    // GetItemText call overwrites: that one text is copied first.
    const char* text1 = GetItemText(column, pidl1);
    char keyText[16];
    if (text1 && column == kKeySequenceText && GetItemKind(pidl1) == KIND_COLUMN) {
      std::snprintf(keyText, sizeof keyText, "%s", text1);
      text1 = keyText;
    }
    const bool present1 = text1 != nullptr;
    const char* text2 = GetItemText(column, pidl2);
    if (!present1 && !text2)
      r = 0;
    else if (!present1)
      r = 1;  // an absent text sorts after a present one
    else if (!text2)
      r = -1;
    else
      r = lstrcmpiA(text1, text2);
    if (r != 0) break;
    pidl1 = GetNextItem(pidl1);
    pidl2 = GetNextItem(pidl2);
  }
  // Only the sign matters; keeping it to -1/0/1 lets the descending order
  // negate any value safely.
  r = (r > 0) - (r < 0);
  return sign * r;
}

ULONG ItemAttributes(LPCITEMIDLIST pidl) {
  switch (GetItemKind(FindLastItem(pidl))) {
    case KIND_DSN:
      return kDsnAttributes;
    case KIND_TABLE:
    case KIND_PROCEDURE:
      return kTableAttributes;
    case KIND_COLUMN:
      return kColumnAttributes;
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------
// Construction

ShellFolder* ShellFolder::Create(ShellFolder* parent, LPCITEMIDLIST relative) {
  // The own list is the whole path below the root: the parent's own list
  // followed by the relative one, so a folder bound level by level still
  // knows its data source and table. The absolute list is the parent's
  // absolute list followed by the relative list.
  LPITEMIDLIST own = parent ? ConcatIdLists(parent->ownIdList_, relative) : CloneIdList(relative);
  if (!own) return nullptr;
  LPITEMIDLIST absolute = parent ? ConcatIdLists(parent->absoluteIdList_, relative) : CloneIdList(own);
  if (!absolute) {
    FreeIdList(own);
    return nullptr;
  }
  auto* folder = new (std::nothrow) ShellFolder(parent, own, absolute);
  if (!folder) {
    FreeIdList(own);
    FreeIdList(absolute);
  }
  return folder;
}

ShellFolder::ShellFolder(ShellFolder* parent, LPITEMIDLIST ownIdList, LPITEMIDLIST absoluteIdList)
    : ownIdList_(ownIdList), absoluteIdList_(absoluteIdList), parent_(parent) {
  if (parent_) parent_->AddRef();
  level_ = FolderLevelOf(FindLastItem(ownIdList_));
}

ShellFolder::~ShellFolder() {
  FreeIdList(ownIdList_);
  FreeIdList(absoluteIdList_);
  Disconnect(context_);
  if (parent_) parent_->Release();
}

void ShellFolder::ReplaceAbsoluteIdList(LPITEMIDLIST list) {
  // The absolute list is never null: without a list to take, the empty list
  // stands in (and when not even that can be had, the old list stays).
  if (!list) list = CloneIdList(nullptr);
  if (!list) return;
  FreeIdList(absoluteIdList_);
  absoluteIdList_ = list;
}

// ---------------------------------------------------------------------------
// IUnknown

IUnknown* ShellFolder::FindInterface(REFIID riid) {
  return LookupInterface(riid, {
                                   {&IID_IUnknown, static_cast<IShellFolder*>(this)},
                                   {&IID_IShellFolder, static_cast<IShellFolder*>(this)},
                                   {&IID_IPersistFolder, static_cast<IPersistFolder*>(this)},
                                   {&IID_IPersist, static_cast<IPersistFolder*>(this)},
                                   {&IID_IDropTarget, static_cast<IDropTarget*>(this)},
                                   {&IID_IShellExtInit, static_cast<IShellExtInit*>(this)},
                                   {&IID_IShellPropSheetExt, static_cast<IShellPropSheetExt*>(this)},
                               });
}

HRESULT ShellFolder::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  // As context menu handler of the namespace root: a menu for no items.
  if (IsEqualIID(riid, IID_IContextMenu))
    return GetUIObjectOf(GetDesktopWindow(), 0, nullptr, IID_IContextMenu, nullptr, ppv);
  return ComObject::QueryInterface(riid, ppv);
}

// ---------------------------------------------------------------------------
// Seams: the context menu, the view and the settings page handler are built
// by their own components; until one is linked in, its request is refused.

HRESULT ShellFolder::MakeContextMenu(HWND owner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid, void** ppv) {
  return HandOut(ContextMenu::Create(owner, this, apidl, cidl), riid, ppv);
}

HRESULT ShellFolder::MakeView(HWND owner, REFIID riid, void** ppv) {
  return HandOut(ShellView::Create(owner, this, absoluteIdList_), riid, ppv);
}

HRESULT ShellFolder::AddSettingsPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  return AddSettingsPropertySheetPages(pfnAddPage, lParam);
}

// ---------------------------------------------------------------------------
// IShellFolder

HRESULT ShellFolder::ParseDisplayName(HWND, LPBC, LPOLESTR, ULONG*, LPITEMIDLIST* ppidl, ULONG*) {
  if (ppidl) *ppidl = nullptr;
  return E_FAIL;
}

HRESULT ShellFolder::EnumObjects(HWND /*hwnd*/, DWORD grfFlags, IEnumIDList** ppenumIDList) {
  if (!ppenumIDList) return E_POINTER;
  *ppenumIDList = nullptr;
  CatalogSource source{&context_, level_, ownIdList_};
  return EnumIDList::Create(source, grfFlags, ppenumIDList);
}

HRESULT ShellFolder::BindToObject(LPCITEMIDLIST pidl, LPBC /*pbc*/, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  // Columns and procedure columns are no folders: a folder for one would
  // have no level and nothing to list, so the bind is refused.
  LPCITEMIDLIST last = FindLastItem(pidl);
  if (last && FolderLevelOf(last) == 0) return E_INVALIDARG;
  return HandOut(Create(this, pidl), riid, ppv);
}

HRESULT ShellFolder::BindToStorage(LPCITEMIDLIST, LPBC, REFIID, void** ppv) {
  if (ppv) *ppv = nullptr;
  return E_NOTIMPL;
}

HRESULT ShellFolder::CompareIDs(LPARAM lParam, LPCITEMIDLIST pidl1, LPCITEMIDLIST pidl2) {
  return static_cast<HRESULT>(CompareIdLists(lParam, pidl1, pidl2));
}

HRESULT ShellFolder::CreateViewObject(HWND hwndOwner, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  return MakeView(hwndOwner, riid, ppv);
}

HRESULT ShellFolder::GetAttributesOf(UINT cidl, LPCITEMIDLIST* apidl, ULONG* rgfInOut) {
  if (!rgfInOut || (cidl > 0 && !apidl)) return E_INVALIDARG;
  ULONG attributes = 0xFFFFFFFFu;
  for (UINT i = 0; i < cidl; ++i) attributes &= ItemAttributes(apidl[i]);
  *rgfInOut = attributes;
  return S_OK;
}

HRESULT ShellFolder::GetUIObjectOf(HWND hwndOwner, UINT cidl, LPCITEMIDLIST* apidl, REFIID riid,
                                   UINT* /*rgfReserved*/, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (IsEqualIID(riid, IID_IContextMenu)) return MakeContextMenu(hwndOwner, cidl, apidl, riid, ppv);
  if (cidl != 1 || !apidl) return E_FAIL;
  if (IsEqualIID(riid, IID_IExtractIconA) || IsEqualIID(riid, IID_IQueryInfo)) {
    LPITEMIDLIST path = ConcatIdLists(ownIdList_, apidl[0]);
    if (!path) return E_OUTOFMEMORY;
    HRESULT hr = IsEqualIID(riid, IID_IExtractIconA) ? HandOut(ExtractIcon::Create(path), riid, ppv)
                                                      : HandOut(QueryInfo::Create(path), riid, ppv);
    FreeIdList(path);  // the object keeps its own copy
    return hr;
  }
  if (IsEqualIID(riid, IID_IDropTarget)) return QueryInterface(riid, ppv);
  return E_NOINTERFACE;
}

HRESULT ShellFolder::GetDisplayNameOf(LPCITEMIDLIST pidl, DWORD uFlags, STRRET* pName) {
  if (!pName) return E_INVALIDARG;
  char name[MAX_PATH] = "";
  switch (uFlags & 0xFF) {
    case SHGDN_NORMAL: {
      LPITEMIDLIST path = ConcatIdLists(absoluteIdList_, pidl);
      GetFullDisplayName(path, name, sizeof name);
      FreeIdList(path);
      break;
    }
    case SHGDN_INFOLDER:
      GetItemTextCopy(0, FindLastItem(pidl), name, sizeof name);
      break;
    default:
      return E_INVALIDARG;
  }
  LPWSTR wide = ShellWideCopy(name);
  if (!wide) return E_OUTOFMEMORY;
  pName->uType = STRRET_WSTR;
  pName->pOleStr = wide;
  return S_OK;
}

HRESULT ShellFolder::SetNameOf(HWND, LPCITEMIDLIST, LPCOLESTR, DWORD, LPITEMIDLIST* ppidlOut) {
  if (ppidlOut) *ppidlOut = nullptr;
  return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// IPersistFolder

HRESULT ShellFolder::GetClassID(CLSID* pClassID) {
  if (pClassID) *pClassID = CLSID_Datrova;
  return S_OK;
}

HRESULT ShellFolder::Initialize(LPCITEMIDLIST pidl) {
  LPITEMIDLIST copy = CloneIdList(pidl);
  if (!copy) return E_OUTOFMEMORY;
  ReplaceAbsoluteIdList(copy);
  return S_OK;
}

// ---------------------------------------------------------------------------
// IDropTarget

HRESULT ShellFolder::DragEnter(IDataObject*, DWORD, POINTL, DWORD* pdwEffect) {
  if (pdwEffect) *pdwEffect = DROPEFFECT_COPY;
  return S_OK;
}
HRESULT ShellFolder::DragOver(DWORD, POINTL, DWORD*) { return E_NOTIMPL; }
HRESULT ShellFolder::DragLeave() { return E_NOTIMPL; }
HRESULT ShellFolder::Drop(IDataObject*, DWORD, POINTL, DWORD*) { return E_NOTIMPL; }

// ---------------------------------------------------------------------------
// IShellExtInit

HRESULT ShellFolder::Initialize(LPCITEMIDLIST pidlFolder, IDataObject* pdtobj, HKEY /*hkeyProgID*/) {
  HRESULT result = E_NOINTERFACE;
  if (pdtobj) {
    // A selection of files (a drop list in global memory) is not ours.
    ComPtr<IDataObject> data(pdtobj);
    pdtobj->AddRef();
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) {
      result = S_OK;
    } else {
      result = medium.tymed != TYMED_HGLOBAL ? S_OK : E_NOINTERFACE;
      ReleaseStgMedium(&medium);
    }
  }
  LPITEMIDLIST absolute = nullptr;
  if (IsEmptyList(pidlFolder))
    SHGetSpecialFolderLocation(GetDesktopWindow(), CSIDL_DRIVES, &absolute);
  else
    absolute = CloneIdList(pidlFolder);
  ReplaceAbsoluteIdList(absolute);
  return result;
}

// ---------------------------------------------------------------------------
// IShellPropSheetExt

HRESULT ShellFolder::AddPages(LPFNADDPROPSHEETPAGE pfnAddPage, LPARAM lParam) {
  // Whatever the settings page handler answers, the sheet goes on.
  HRESULT hr = AddSettingsPages(pfnAddPage, lParam);
  return hr == E_OUTOFMEMORY ? hr : S_OK;
}

HRESULT ShellFolder::ReplacePage(UINT, LPFNADDPROPSHEETPAGE, LPARAM) { return E_NOTIMPL; }

// ---------------------------------------------------------------------------
// Folder operations

LPCITEMIDLIST ShellFolder::FindOwnItem(uint32_t kind) const {
  LPCITEMIDLIST item = ownIdList_;
  while (item->mkid.cb != 0 && GetItemKind(item) != kind) item = GetNextItem(item);
  return item;
}

const char* ShellFolder::GetFolderDsn() const {
  LPCITEMIDLIST item = FindOwnItem(KIND_DSN);
  return item->mkid.cb != 0 ? GetItemText(0, item) : nullptr;
}

int ShellFolder::GetFolderDsn(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  LPCITEMIDLIST item = FindOwnItem(KIND_DSN);
  if (item->mkid.cb == 0) {
    buffer[0] = '\0';
    return 0;
  }
  return GetItemTextCopy(0, item, buffer, size);
}

LPCITEMIDLIST ShellFolder::GetFolderTableItem() const { return FindOwnItem(KIND_TABLE); }

LPCITEMIDLIST ShellFolder::GetFolderProcedureItem() const { return FindOwnItem(KIND_PROCEDURE); }

int ShellFolder::GetFolderPath(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  std::string path;
  for (LPCITEMIDLIST item = ownIdList_; item && item->mkid.cb != 0; item = GetNextItem(item)) {
    const char* name = GetItemText(0, item);
    switch (GetItemKind(item)) {
      case KIND_DSN:
        path = name ? name : "";
        break;
      case KIND_TABLE:
      case KIND_PROCEDURE:
      case KIND_COLUMN:
        path += " : ";
        path += name ? name : "";
        break;
      default:
        break;
    }
  }
  if (path.size() + 1 > static_cast<size_t>(size)) return 0;
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return 1;
}

void ShellFolder::CollectStatementDiagnostics(SQLRETURN rc, SQLHSTMT statement) {
  CollectDiagnostics(&context_.errorText, rc, SQL_HANDLE_STMT, statement);
}

void ShellFolder::CollectHandleDiagnostics(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle) {
  CollectDiagnostics(&context_.errorText, rc, handleType, handle);
}
