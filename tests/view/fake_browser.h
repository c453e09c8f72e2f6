// A browser for the view tests: a real parent widget, menus built like the
// shell host's (File, Edit, View with the options separator, Help), a
// recorded toolbar and status bar, and a view state stream in memory. Any
// call a view has no business making fails the test.
#pragma once

#include <QMenu>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/shlobj.h"

// A stream over a byte vector; only Read and Write are expected.
class MemoryStream final : public IStream {
 public:
  explicit MemoryStream(std::vector<unsigned char>* bytes) : bytes_(bytes) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream**) override;

 private:
  ULONG refs_ = 1;
  std::vector<unsigned char>* bytes_;
  size_t position_ = 0;
};

class FakeBrowser final : public IShellBrowser {
 public:
  FakeBrowser();
  ~FakeBrowser();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU shared, HOLEMENU, HWND target) override;
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU shared) override;
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCOLESTR) override;
  HRESULT STDMETHODCALLTYPE EnableModelessSB(BOOL) override;
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override;
  HRESULT STDMETHODCALLTYPE BrowseObject(LPCITEMIDLIST, UINT) override;
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD mode, IStream** stream) override;
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND*) override;
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT id, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* ret) override;
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView**) override;
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override;
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTON buttons, UINT count, UINT flags) override;

  QWidget* window() const { return window_.get(); }
  ULONG refs() const { return refs_; }

  // What the view did.
  HMENU shownMenu = nullptr;       // last SetMenuSB
  HWND menuTarget = nullptr;
  std::vector<TBBUTTON> buttons;   // last SetToolbarItems
  UINT toolbarFlags = 0;
  std::map<UINT, bool> checked;    // TB_CHECKBUTTON by command
  std::vector<int> statusParts;
  std::string statusText;
  std::vector<unsigned char> readState;    // what GetViewStateStream(STGM_READ) offers
  bool hasReadState = false;
  std::vector<unsigned char> writtenState; // what the view wrote
  int menusInserted = 0;
  int menusRemoved = 0;

 private:
  ULONG refs_ = 1;
  std::unique_ptr<QWidget> window_;
};

// The popup with a FCIDM_MENU_* id in a shared menu.
QMenu* PopupOf(QMenu* shared, UINT id);
// Identifiers of a menu's items in order (separators as 0, popups as the
// popup's id or 0xFFFFFFFF).
std::vector<UINT> ItemIds(QMenu* menu);
