// IShellBrowser of one host window. The window holds one reference; views
// hold theirs between CreateViewWindow and DestroyViewWindow. When the
// window goes first, the browser forgets it and answers E_FAIL.
#pragma once

#include <QPointer>
#include <atomic>

#include "platform/com/shlobj.h"

class ExplorerWindow;

class ShellBrowser final : public IShellBrowser {
 public:
  explicit ShellBrowser(ExplorerWindow* window) : window_(window) {}
  void detach() { window_ = nullptr; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS widths) override;
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU hmenuShared, HOLEMENU holemenuRes, HWND hwndActiveObject) override;
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU hmenuShared) override;
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCOLESTR text) override;
  HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE BrowseObject(LPCITEMIDLIST pidl, UINT wFlags) override;
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD grfMode, IStream** ppStrm) override;
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT id, HWND* phwnd) override;
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT id, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                           LRESULT* pret) override;
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** ppshv) override;
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView* pshv) override;
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTON lpButtons, UINT nButtons, UINT uFlags) override;

 private:
  ~ShellBrowser() = default;
  std::atomic<ULONG> refs_{1};
  QPointer<ExplorerWindow> window_;
};
