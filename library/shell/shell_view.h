// The view that the browser embeds for a Datrova folder: the view window
// with banner, list and overlay, filled from the folder's enumerator, with
// texts and icons asked from the folder; sorting by column; the view mode
// kept in the browser's view state stream; and every command (double click,
// right click, File menu, toolbar) run through the folder's context menu on
// the selected items. The menu and toolbar merges live in view_menus.cpp.
#pragma once

#include <QPointer>
#include <vector>

#include "library/shell/com_object.h"
#include "platform/com/shlobj.h"

class QMenu;
class ItemListModel;
class ItemListView;
class ShellFolder;
class ViewWindow;

// Command identifiers of the view (WM_COMMAND low word).
enum ViewCommand : UINT {
  kCmdAbout = 9,
  kCmdSelectAll = 17,
  kCmdRefresh = 22,
  kCmdLargeIcons = 102,
  kCmdSmallIcons = 103,
  kCmdList = 104,
  kCmdDetails = 105,
  kCmdAutoArrange = 106,
  kCmdLineUpIcons = 107,
  kCmdInvertSelection = 109,
  kCmdCopy = 112,
  kCmdProperties = 1030,
  kCmdDelete = 1031,
  kCmdNew = 1033,
  kCmdSortFirst = 256,  // 256 + column: sort by that column
  kCmdSortLast = 288,
};

class ShellView final : public ComObject<IShellView> {
 public:
  // Null when memory runs out. The folder gets one reference for the view's
  // life; the absolute list is copied.
  static ShellView* Create(HWND owner, ShellFolder* folder, LPCITEMIDLIST absoluteIdList);

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;
  // IShellView
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pmsg) override;
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;
  HRESULT STDMETHODCALLTYPE UIActivate(UINT uState) override;
  HRESULT STDMETHODCALLTYPE Refresh() override;
  HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView* psvPrevious, LPCFOLDERSETTINGS pfs, IShellBrowser* psb,
                                             RECT* prcView, HWND* phWnd) override;
  HRESULT STDMETHODCALLTYPE DestroyViewWindow() override;
  HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS pfs) override;
  HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD dwReserved, LPFNSVADDPROPSHEETPAGE pfn,
                                                  LPARAM lparam) override;
  HRESULT STDMETHODCALLTYPE SaveViewState() override;
  HRESULT STDMETHODCALLTYPE SelectItem(LPCITEMIDLIST pidlItem, UINT uFlags) override;
  HRESULT STDMETHODCALLTYPE GetItemObject(UINT uItem, REFIID riid, void** ppv) override;

  // ----- routines of the view window and the context menu.
  // Runs a context menu command on the selected items: with useDefault the
  // menu's default item, else `command` (offset + 1), or when that is 0 the
  // item the user picks from the popup shown at the global point (x, y).
  void InvokeOnSelection(int x, int y, bool useDefault, UINT command);
  void FillList();
  // The window procedure of "DatrovaNSClass".
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // Sort by column c: a second request for the same column sorts descending.
  void SortByColumn(int column);

  // ----- menus and toolbar (view_menus.cpp).
  void OnActivate(UINT state);
  void OnDeactivate();
  void OnInitMenuPopup(QMenu* popup);
  void AddToolbarButtons();

  // ----- state, for the context menu and the tests.
  ShellFolder* Folder() const { return folder_; }
  IShellBrowser* Browser() const { return browser_; }
  HWND ParentWindow() const { return parent_; }
  ViewWindow* Window() const;
  ItemListView* List() const;
  ItemListModel* Model() const;
  UINT UiState() const { return uiState_; }
  QMenu* SharedMenu() const;
  bool ShowHidden() const { return showHidden_; }
  bool OneClickActivate() const { return oneClick_; }
  bool InfoTips() const { return infoTips_; }

 protected:
  IUnknown* FindInterface(REFIID riid) override;

 private:
  ShellView(HWND owner, ShellFolder* folder, LPITEMIDLIST absoluteIdList);
  ~ShellView() override;

  // WM_CREATE: list style, image list, shell settings, columns; posts the fill.
  void BuildChildren();
  void ReadShellSettings();
  void InsertColumns();
  void StoreColumnWidths();
  void OnCommand(UINT command, LPARAM lParam);
  void SetViewMode(int mode);
  void UpdateToolbarChecks();
  void SetStatusText();
  // The stored ID lists of the selected rows, in row order.
  std::vector<LPCITEMIDLIST> SelectedIdLists() const;
  void AddSortItems(QMenu* viewPopup);

  HWND owner_;
  UINT uiState_ = SVUIA_DEACTIVATE;
  LPITEMIDLIST absoluteIdList_;
  FOLDERSETTINGS settings_{FVM_ICON, 0};
  HWND parent_ = nullptr;
  QPointer<ViewWindow> window_;
  QPointer<QMenu> sharedMenu_;
  bool showHidden_ = false;
  bool oneClick_ = false;
  bool infoTips_ = false;
  bool activating_ = false;          // inside OnActivate (focus changes re-enter)
  std::vector<bool> widthsByDriver_; // columns the driver forced to width 0
  ShellFolder* folder_;
  IShellBrowser* browser_ = nullptr;
};
