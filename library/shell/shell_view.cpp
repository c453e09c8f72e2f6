#include "library/shell/shell_view.h"

#include <QApplication>
#include <QMenu>
#include <cstring>

#include "library/catalog/item_id.h"
#include "library/catalog/settings.h"
#include "library/propsheet/about_box.h"
#include "library/propsheet/properties.h"
#include "library/query/list_render.h"
#include "library/res/accelerators.h"
#include "library/res/resource_ids.h"
#include "library/res/strings.h"
#include "library/shell/item_list_model.h"
#include "library/shell/item_list_view.h"
#include "library/shell/shell_folder.h"
#include "library/shell/view_columns.h"
#include "library/shell/view_state.h"
#include "library/shell/view_window.h"
#include "platform/loader/loader.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/menu_ids.h"
#include "platform/ui/ui.h"
#include "platform/ui/wait_cursor.h"

namespace {

constexpr UINT kFillMessage = WM_USER + 1;
constexpr int kStatusTextSize = 260;
constexpr const char* kUnknownError = "Unknown Error / Unbekannter Fehler";
// Context menu offsets after which the list is read again: delete, new data
// source, configure data source, ODBC administrator.
constexpr UINT kRefreshingOffsets[] = {2, 6, 7, 8};

using SHGetSettingsProc = void (*)(LPSHELLFLAGSTATE, DWORD);

// Task allocator block freed on scope exit.
struct TaskBlock {
  void* p = nullptr;
  ~TaskBlock() {
    if (p) g_shellMalloc->Free(p);
  }
};

}  // namespace

ShellView* ShellView::Create(HWND owner, ShellFolder* folder, LPCITEMIDLIST absoluteIdList) {
  if (!folder) return nullptr;
  LPITEMIDLIST copy = CloneIdList(absoluteIdList);
  if (!copy) return nullptr;
  auto* view = new (std::nothrow) ShellView(owner, folder, copy);
  if (!view) FreeIdList(copy);
  return view;
}

ShellView::ShellView(HWND owner, ShellFolder* folder, LPITEMIDLIST absoluteIdList)
    : owner_(owner), absoluteIdList_(absoluteIdList), folder_(folder) {
  folder_->AddRef();
}

ShellView::~ShellView() {
  // A view released without DestroyViewWindow still takes its window along.
  if (window_) {
    window_->detachView();
    delete window_.data();
  }
  delete sharedMenu_.data();
  if (browser_) browser_->Release();
  FreeIdList(absoluteIdList_);
  folder_->Release();
}

IUnknown* ShellView::FindInterface(REFIID riid) {
  return LookupInterface(riid, {{&IID_IUnknown, this}, {&IID_IOleWindow, this}, {&IID_IShellView, this}});
}

ViewWindow* ShellView::Window() const { return window_.data(); }
QMenu* ShellView::SharedMenu() const { return sharedMenu_.data(); }
ItemListView* ShellView::List() const { return window_ ? window_->list() : nullptr; }
ItemListModel* ShellView::Model() const { return window_ ? window_->model() : nullptr; }

// ---------------------------------------------------------------------------
// IOleWindow / IShellView

HRESULT ShellView::GetWindow(HWND* phwnd) {
  if (!phwnd) return E_POINTER;
  *phwnd = window_.data();
  return S_OK;
}

HRESULT ShellView::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
HRESULT ShellView::EnableModeless(BOOL) { return E_NOTIMPL; }

// The host passes key presses as WM_KEYDOWN with the Qt key combination
// (QKeyCombination::toCombined) in wParam. Only keys addressed to the list
// (or one of its inner views) are translated, with table 1; the command
// goes to the view window's dispatch.
HRESULT ShellView::TranslateAccelerator(MSG* pmsg) {
  ItemListView* list = List();
  if (!pmsg || !list || pmsg->message != WM_KEYDOWN) return S_FALSE;
  if (pmsg->hwnd != list && !list->isAncestorOf(pmsg->hwnd)) return S_FALSE;
  const UINT command =
      TranslateAcceleratorKey(IDR_ACCEL_VIEW, QKeyCombination::fromCombined(static_cast<int>(pmsg->wParam)));
  if (command == 0) return S_FALSE;
  SendMessageA(window_.data(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 1), 0);
  return S_OK;
}

HRESULT ShellView::UIActivate(UINT uState) {
  if (uState == uiState_) return S_OK;
  OnActivate(uState);
  if (uState == SVUIA_ACTIVATE_NOFOCUS || uState == SVUIA_ACTIVATE_FOCUS) SetStatusText();
  return S_OK;
}

void ShellView::SetStatusText() {
  if (!browser_) return;
  int parts[1] = {-1};
  LRESULT ignored = 0;
  browser_->SendControlMsg(FCW_STATUS, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts), &ignored);
  char text[kStatusTextSize] = "";
  LoadResString(IDS_STATUS_DATABASE, text, kStatusTextSize);
  const int used = static_cast<int>(std::strlen(text));
  folder_->GetFolderPath(text + used, kStatusTextSize - used);  // nothing when it does not fit
  browser_->SendControlMsg(FCW_STATUS, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text), &ignored);
}

HRESULT ShellView::Refresh() {
  if (ItemListModel* model = Model()) model->clear();
  FillList();
  return S_OK;
}

HRESULT ShellView::CreateViewWindow(IShellView*, LPCFOLDERSETTINGS pfs, IShellBrowser* psb, RECT* prcView,
                                    HWND* phWnd) {
  if (!phWnd) return E_POINTER;
  *phWnd = nullptr;
  if (!pfs || !psb || window_) return E_INVALIDARG;
  if (!QApplication::instance()) return E_FAIL;  // no windows without a GUI application

  settings_ = *pfs;
  ComPtr<IStream> stream;
  if (SUCCEEDED(psb->GetViewStateStream(STGM_READ, stream.put())) && stream) {
    int mode = 0;
    if (ReadViewState(stream.get(), &mode)) settings_.ViewMode = static_cast<UINT>(mode);
    stream.reset();
  }
  HWND parent = nullptr;
  psb->GetWindow(&parent);
  parent_ = parent;

  auto* model = new (std::nothrow) ItemListModel(folder_);
  if (!model) return E_FAIL;
  window_ = new (std::nothrow) ViewWindow(this, model, parent_);
  if (!window_) {
    delete model;
    return E_FAIL;
  }
  if (prcView)
    window_->setGeometry(prcView->left, prcView->top, prcView->right - prcView->left, prcView->bottom - prcView->top);
  window_->show();
  BuildChildren();
  *phWnd = window_.data();

  browser_ = psb;
  browser_->AddRef();
  const int mode = static_cast<int>(settings_.ViewMode);
  const UINT command = mode == FVM_SMALLICON ? kCmdSmallIcons
                       : mode == FVM_LIST    ? kCmdList
                       : mode == FVM_DETAILS ? kCmdDetails
                                             : kCmdLargeIcons;
  OnCommand(command, 0);
  AddToolbarButtons();
  return S_OK;
}

void ShellView::BuildChildren() {
  ItemListView* list = List();
  list->setViewMode(static_cast<int>(settings_.ViewMode));
  list->setSingleSelection((settings_.fFlags & FWF_SINGLESEL) != 0);
  Model()->setLargeIcons(list->viewMode() == FVM_ICON);
  // Auto arrange (FWF_AUTOARRANGE) is what a Qt list view always does.
  list->onActivate = [this] { InvokeOnSelection(0, 0, true, 0); };
  list->onContextMenu = [this](QPoint global) { InvokeOnSelection(global.x(), global.y(), false, 0); };
  list->onColumnClick = [this](int column) { SortByColumn(column); };
  list->onColumnsResized = [this] { StoreColumnWidths(); };
  list->onFocus = [this](bool in) { WindowProc(in ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0); };
  list->infoTipFor = [this](int row) { return Model() ? Model()->infoText(row) : QString(); };
  InstallAccelerators(list, IDR_ACCEL_VIEW, [this](UINT command) {
    SendMessageA(window_.data(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 1), 0);
  });
  ReadShellSettings();
  InsertColumns();
  PostMessageA(window_.data(), kFillMessage, 0, 0);
}

void ShellView::ReadShellSettings() {
  SHELLFLAGSTATE state{};
  bool read = false;
  if (HMODULE shell = LoadLibraryA("shell32.dll")) {
    if (auto proc = reinterpret_cast<SHGetSettingsProc>(GetProcAddress(shell, "SHGetSettings"))) {
      proc(&state, SSF_SHOWALLOBJECTS | SSF_SHOWSYSFILES | SSF_DOUBLECLICKINWEBVIEW | SSF_WIN95CLASSIC |
                       SSF_SHOWINFOTIP);
      read = true;
    }
    FreeLibrary(shell);
  }
  if (!read) {
    state = SHELLFLAGSTATE{};
    state.fShowSysFiles = TRUE;
    state.fWin95Classic = TRUE;
  }
  oneClick_ = !(state.fDoubleClickInWebView || state.fWin95Classic);
  // Info tips only where item text 1 says something about the item: the
  // driver of a data source, the type of a column, the direction of a
  // procedure column. Table lists get none.
  const int level = folder_->Level();
  infoTips_ = state.fShowInfoTip && (level == 1 || level == 3 || level == 4);
  showHidden_ = state.fShowSysFiles;
  if (ItemListView* list = List()) {
    list->setOneClickActivate(oneClick_);
    list->setInfoTips(infoTips_);
  }
}

void ShellView::InsertColumns() {
  const int level = folder_->Level();
  ConnectionContext* terms = nullptr;
  if (level >= 2 && level <= 4) {
    char dsn[256] = "";
    folder_->GetFolderDsn(dsn, sizeof dsn);
    LoadDriverTerms(folder_->Connection(), dsn);
    terms = &folder_->Connection();
  }
  const std::vector<ViewColumn> columns = ColumnsOfLevel(level, terms);
  QStringList headers;
  std::vector<int> widths;
  widthsByDriver_.clear();
  for (const ViewColumn& column : columns) {
    headers.push_back(column.header);
    widths.push_back(column.width);
    widthsByDriver_.push_back(column.fixedByDriver);
  }
  Model()->setHeaders(headers);
  List()->setColumnWidths(widths);
}

// The user dragged a divider: the widths of the level go back into the
// settings. A column that the driver hid keeps its stored width, so a data
// source without catalogs does not hide the catalog column of every other.
void ShellView::StoreColumnWidths() {
  const ColumnRange range = ColumnRangeOf(folder_->Level());
  const std::vector<int> widths = List()->columnWidths();
  for (int i = 0; i < range.count && i < static_cast<int>(widths.size()); ++i) {
    if (static_cast<size_t>(i) < widthsByDriver_.size() && widthsByDriver_[static_cast<size_t>(i)]) continue;
    g_settings.columnWidths[range.first + i] = widths[static_cast<size_t>(i)];
  }
}

HRESULT ShellView::DestroyViewWindow() {
  UIActivate(SVUIA_DEACTIVATE);
  delete sharedMenu_.data();
  if (window_) {
    window_->detachView();
    delete window_.data();
  }
  if (browser_) {
    IShellBrowser* browser = browser_;
    browser_ = nullptr;
    browser->Release();
  }
  return S_OK;
}

HRESULT ShellView::GetCurrentInfo(LPFOLDERSETTINGS pfs) {
  if (!pfs) return E_POINTER;
  *pfs = settings_;
  return S_OK;
}

HRESULT ShellView::AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE pfn, LPARAM lparam) {
  return AddViewPropertySheetPages(absoluteIdList_, pfn, lparam);
}

HRESULT ShellView::SaveViewState() {
  if (!browser_) return S_OK;
  ComPtr<IStream> stream;
  if (SUCCEEDED(browser_->GetViewStateStream(STGM_WRITE, stream.put())) && stream)
    WriteViewState(stream.get(), static_cast<int>(settings_.ViewMode));
  return S_OK;
}

HRESULT ShellView::SelectItem(LPCITEMIDLIST pidlItem, UINT uFlags) {
  ItemListView* list = List();
  if (!list) return S_OK;
  const size_t size = pidlItem ? GetIdListSize(pidlItem) : 0;
  for (int row = list->model()->rowCount() - 1; row >= 0; --row) {
    LPCITEMIDLIST item = list->model()->itemIdList(row);
    const bool match = pidlItem && item && GetIdListSize(item) == size && std::memcmp(item, pidlItem, size) == 0;
    if (match) {
      if (uFlags & SVSI_SELECT) list->setRowSelected(row, true);
      if (uFlags & SVSI_FOCUSED) list->focusRow(row);
    } else if (uFlags & SVSI_DESELECTOTHERS) {
      list->setRowSelected(row, false);
    }
  }
  return S_OK;
}

HRESULT ShellView::GetItemObject(UINT, REFIID, void** ppv) {
  if (ppv) *ppv = nullptr;
  return E_NOTIMPL;
}

// ---------------------------------------------------------------------------
// The window procedure and its commands

LRESULT ShellView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kFillMessage: FillList(); return 0;
    case WM_SETFOCUS:
      if (activating_) return 0;
      if (browser_) browser_->OnViewWindowActive(this);
      OnActivate(SVUIA_ACTIVATE_FOCUS);
      return 0;
    case WM_KILLFOCUS:
      // Focus that moves to the browser's tree or address line leaves the
      // view active without focus; the browser deactivates it when it goes.
      if (!activating_) OnActivate(SVUIA_ACTIVATE_NOFOCUS);
      return 0;
    case WM_ACTIVATE: {
      const WORD how = LOWORD(static_cast<DWORD>(wParam));
      OnActivate(how == 1 || how == 2 ? SVUIA_ACTIVATE_FOCUS : SVUIA_DEACTIVATE);
      return 0;
    }
    case WM_SETTINGCHANGE: ReadShellSettings(); return 0;
    case WM_COMMAND: OnCommand(LOWORD(static_cast<DWORD>(wParam)), lParam); return 0;
    case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<QMenu*>(wParam)); return 0;
    case WM_RENDERALLFORMATS: RenderAllClipboardFormats(window_.data()); return 0;
    default: return 0;
  }
}

void ShellView::OnCommand(UINT command, LPARAM lParam) {
  ItemListView* list = List();
  if (!list) return;
  if (command <= 10 && command != kCmdAbout) {
    InvokeOnSelection(0, 0, false, command + 1);
    return;
  }
  switch (command) {
    case kCmdAbout: ShowAboutBox(lParam ? reinterpret_cast<HWND>(lParam) : window_.data()); return;
    case kCmdSelectAll:
      list->current()->setFocus(Qt::OtherFocusReason);
      list->selectAll();
      return;
    case kCmdRefresh: Refresh(); return;
    case kCmdLargeIcons:
    case kCmdSmallIcons:
    case kCmdList:
    case kCmdDetails: SetViewMode(static_cast<int>(command - kCmdLargeIcons) + FVM_ICON); return;
    case kCmdInvertSelection:
      list->current()->setFocus(Qt::OtherFocusReason);
      list->invertSelection();
      return;
    case kCmdCopy: CopyListToClipboard(window_.data(), Model()); return;
    case kCmdProperties: InvokeOnSelection(0, 0, false, 4); return;
    case kCmdDelete: InvokeOnSelection(0, 0, false, 3); return;
    case kCmdNew: InvokeOnSelection(0, 0, false, 7); return;
    default:
      if (command >= kCmdSortFirst && command <= kCmdSortLast) SortByColumn(static_cast<int>(command - kCmdSortFirst));
      return;
  }
}

void ShellView::SetViewMode(int mode) {
  settings_.ViewMode = static_cast<UINT>(mode);
  List()->setViewMode(mode);
  Model()->setLargeIcons(mode == FVM_ICON);
  UpdateToolbarChecks();
}

void ShellView::UpdateToolbarChecks() {
  if (!browser_) return;
  for (UINT command = kCmdLargeIcons; command <= kCmdDetails; ++command) {
    const bool checked = static_cast<int>(command - kCmdLargeIcons) + FVM_ICON == static_cast<int>(settings_.ViewMode);
    LRESULT ignored = 0;
    browser_->SendControlMsg(FCW_TOOLBAR, TB_CHECKBUTTON, command, MAKELPARAM(checked ? 1 : 0, 0), &ignored);
  }
}

void ShellView::SortByColumn(int column) {
  folder_->SetSortColumn(folder_->SortColumn() == column ? column + 100 : column);
  if (ItemListModel* model = Model()) model->sortItems(folder_->SortColumn());
}

void ShellView::FillList() {
  ViewWindow* window = window_.data();
  if (!window) return;
  WaitCursor wait;
  DWORD flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
  if (showHidden_) flags |= SHCONTF_INCLUDEHIDDEN;
  window->showOverlay(QString::fromUtf8(ResString(IDS_GETTING_DATA)));

  ComPtr<IEnumIDList> enumerator;
  if (FAILED(folder_->EnumObjects(window, flags, enumerator.put())) || !enumerator) {
    const char* error = folder_->Connection().errorText;
    window->showOverlay(QString::fromUtf8(error && *error ? error : kUnknownError));
    return;
  }
  enumerator->Reset();
  std::vector<LPITEMIDLIST> items;
  for (;;) {
    LPITEMIDLIST item = nullptr;
    ULONG fetched = 0;
    if (enumerator->Next(1, &item, &fetched) != S_OK || !item) {
      if (item) FreeIdList(item);
      break;
    }
    items.push_back(item);
  }
  ItemListModel* model = window->model();
  model->appendItems(std::move(items));  // one insertion notice for the whole list
  model->sortItems(folder_->SortColumn());
  window->showList();
  if (model->rowCount() > 0) window->list()->focusRow(0);
}

std::vector<LPCITEMIDLIST> ShellView::SelectedIdLists() const {
  std::vector<LPCITEMIDLIST> lists;
  ItemListView* list = List();
  if (!list) return lists;
  for (int row : list->selectedRows())
    if (LPCITEMIDLIST item = list->model()->itemIdList(row)) lists.push_back(item);
  return lists;
}

void ShellView::InvokeOnSelection(int x, int y, bool useDefault, UINT command) {
  // The command may close the view (browse elsewhere): the view stays alive
  // until everything below has gone.
  struct KeepAlive {
    ShellView* view;
    ~KeepAlive() { view->Release(); }
  } keepAlive{this};
  AddRef();
  const std::vector<LPCITEMIDLIST> selected = SelectedIdLists();
  const UINT count = static_cast<UINT>(selected.size());
  TaskBlock array;
  array.p = g_shellMalloc->Alloc((count ? count : 1) * sizeof(LPCITEMIDLIST));
  if (!array.p) return;
  auto* items = static_cast<LPCITEMIDLIST*>(array.p);
  for (UINT i = 0; i < count; ++i) items[i] = selected[i];

  ComPtr<IContextMenu> menu;
  if (FAILED(folder_->GetUIObjectOf(parent_, count, items, IID_IContextMenu, nullptr, menu.putVoid())) || !menu)
    return;
  QMenu popup;
  if (FAILED(menu->QueryContextMenu(&popup, 0, 1, 100, CMF_NORMAL))) return;

  UINT chosen = command;
  if (useDefault) {
    const UINT id = PlatformMenuItemId(popup.defaultAction());
    chosen = id == kNoMenuItemId ? 0 : id;
  } else if (chosen == 0) {
    QAction* picked = popup.exec(QPoint(x, y));
    const UINT id = PlatformMenuItemId(picked);
    chosen = id == kNoMenuItemId ? 0 : id;
  }
  if (chosen == 0) return;

  CMINVOKECOMMANDINFO info{};
  info.cbSize = sizeof info;
  info.hwnd = parent_;
  info.lpVerb = MAKEINTRESOURCEA(chosen - 1);
  // Private convention with the context menu: the view itself rides in the
  // parameters, so a command can reach the view and its browser.
  info.lpParameters = reinterpret_cast<LPCSTR>(static_cast<IShellView*>(this));
  info.nShow = SW_SHOWNORMAL;
  menu->InvokeCommand(&info);
  for (UINT offset : kRefreshingOffsets)
    if (chosen - 1 == offset) {
      Refresh();
      break;
    }
}
