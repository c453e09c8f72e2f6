#include "platform/host/shell_browser.h"

#include "platform/host/browser_bars.h"
#include "platform/host/browser_menus.h"
#include "platform/host/main_window.h"
#include "platform/host/tree_pane.h"
#include "platform/host/view_pane.h"
#include "platform/host/view_state_stream.h"

HRESULT ShellBrowser::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IShellBrowser) {
    *ppv = static_cast<IShellBrowser*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG ShellBrowser::Release() {
  const ULONG left = --refs_;
  if (!left) delete this;
  return left;
}

HRESULT ShellBrowser::GetWindow(HWND* phwnd) {
  if (!phwnd) return E_POINTER;
  *phwnd = window_ ? window_->viewPane() : nullptr;
  return window_ ? S_OK : E_FAIL;
}

HRESULT ShellBrowser::InsertMenusSB(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS widths) {
  if (!window_) return E_FAIL;
  const HRESULT hr = window_->menus()->insertMenus(hmenuShared);
  if (SUCCEEDED(hr) && widths) {
    // File; Edit and View in the container's groups; Help last.
    widths->width[0] = 1;
    widths->width[2] = 2;
    widths->width[4] = 1;
  }
  return hr;
}

HRESULT ShellBrowser::SetMenuSB(HMENU hmenuShared, HOLEMENU, HWND hwndActiveObject) {
  if (!window_) return E_FAIL;
  return window_->menus()->setMenu(hmenuShared, hwndActiveObject);
}

HRESULT ShellBrowser::RemoveMenusSB(HMENU hmenuShared) {
  if (!window_) return E_FAIL;
  return window_->menus()->removeMenus(hmenuShared);
}

HRESULT ShellBrowser::SetStatusTextSB(LPCOLESTR text) {
  if (!window_) return E_FAIL;
  window_->status()->setSimpleText(text ? QString::fromUtf16(text) : QString());
  return S_OK;
}

HRESULT ShellBrowser::BrowseObject(LPCITEMIDLIST pidl, UINT wFlags) {
  if (!window_) return E_FAIL;
  return window_->browseObject(pidl, wFlags);
}

HRESULT ShellBrowser::GetViewStateStream(DWORD grfMode, IStream** ppStrm) {
  if (!ppStrm) return E_POINTER;
  *ppStrm = nullptr;
  if (!window_) return E_FAIL;
  return OpenViewStateStream(window_->current(), grfMode, ppStrm);
}

HRESULT ShellBrowser::GetControlWindow(UINT id, HWND* phwnd) {
  if (!phwnd) return E_POINTER;
  *phwnd = nullptr;
  if (!window_) return E_FAIL;
  switch (id) {
    case FCW_TOOLBAR: *phwnd = window_->toolbar(); break;
    case FCW_STATUS: *phwnd = window_->status(); break;
    case FCW_TREE: *phwnd = window_->tree(); break;
    default: break;
  }
  return *phwnd ? S_OK : E_FAIL;
}

HRESULT ShellBrowser::SendControlMsg(UINT id, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pret) {
  if (pret) *pret = 0;
  if (!window_) return E_FAIL;
  LRESULT result = 0;
  switch (id) {
    case FCW_TOOLBAR: result = window_->toolbar()->handleMessage(uMsg, wParam, lParam); break;
    case FCW_STATUS: result = window_->status()->handleMessage(uMsg, wParam, lParam); break;
    default: return E_FAIL;
  }
  if (pret) *pret = result;
  return S_OK;
}

HRESULT ShellBrowser::QueryActiveShellView(IShellView** ppshv) {
  if (!ppshv) return E_POINTER;
  *ppshv = nullptr;
  if (!window_ || !window_->viewPane()->view()) return E_FAIL;
  *ppshv = window_->viewPane()->view();
  (*ppshv)->AddRef();
  return S_OK;
}

HRESULT ShellBrowser::OnViewWindowActive(IShellView*) { return window_ ? S_OK : E_FAIL; }

HRESULT ShellBrowser::SetToolbarItems(LPTBBUTTON lpButtons, UINT nButtons, UINT) {
  if (!window_) return E_FAIL;
  BrowserMenus* menus = window_->menus();
  window_->toolbar()->setViewButtons(lpButtons, nButtons, [menus](int id) { return menus->viewItemText(id); });
  return S_OK;
}
