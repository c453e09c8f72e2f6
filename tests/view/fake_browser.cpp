#include "tests/view/fake_browser.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ui/commctrl.h"
#include "platform/ui/menu_ids.h"

#define UNEXPECTED(name)                                   \
  do {                                                     \
    ADD_FAILURE() << "unexpected call " << name;           \
    return E_NOTIMPL;                                      \
  } while (0)

HRESULT MemoryStream::QueryInterface(REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IStream) {
    *ppv = this;
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}
ULONG MemoryStream::Release() {
  const ULONG left = --refs_;
  if (!left) delete this;
  return left;
}
HRESULT MemoryStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  const size_t n = std::min<size_t>(cb, bytes_->size() - position_);
  std::memcpy(pv, bytes_->data() + position_, n);
  position_ += n;
  if (pcbRead) *pcbRead = static_cast<ULONG>(n);
  return n == cb ? S_OK : S_FALSE;
}
HRESULT MemoryStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
  const auto* p = static_cast<const unsigned char*>(pv);
  bytes_->insert(bytes_->end(), p, p + cb);
  if (pcbWritten) *pcbWritten = cb;
  return S_OK;
}
HRESULT MemoryStream::Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) { UNEXPECTED("Seek"); }
HRESULT MemoryStream::SetSize(ULARGE_INTEGER) { UNEXPECTED("SetSize"); }
HRESULT MemoryStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) { UNEXPECTED("CopyTo"); }
HRESULT MemoryStream::Commit(DWORD) { UNEXPECTED("Commit"); }
HRESULT MemoryStream::Revert() { UNEXPECTED("Revert"); }
HRESULT MemoryStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { UNEXPECTED("LockRegion"); }
HRESULT MemoryStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { UNEXPECTED("UnlockRegion"); }
HRESULT MemoryStream::Stat(STATSTG*, DWORD) { UNEXPECTED("Stat"); }
HRESULT MemoryStream::Clone(IStream**) { UNEXPECTED("Clone"); }

FakeBrowser::FakeBrowser() : window_(std::make_unique<QWidget>()) {
  window_->resize(900, 600);
}
FakeBrowser::~FakeBrowser() { EXPECT_EQ(1u, refs_) << "the view kept a reference on the browser"; }

HRESULT FakeBrowser::QueryInterface(REFIID, void** ppv) {
  *ppv = nullptr;
  UNEXPECTED("QueryInterface");
}
HRESULT FakeBrowser::GetWindow(HWND* phwnd) {
  *phwnd = window_.get();
  return S_OK;
}
HRESULT FakeBrowser::ContextSensitiveHelp(BOOL) { UNEXPECTED("ContextSensitiveHelp"); }

HRESULT FakeBrowser::InsertMenusSB(HMENU shared, LPOLEMENUGROUPWIDTHS) {
  EXPECT_NE(nullptr, shared);
  if (!shared) return E_INVALIDARG;
  ++menusInserted;
  auto popup = [shared](const char* text, UINT id) {
    QMenu* menu = shared->addMenu(QString::fromLatin1(text));
    PlatformSetMenuItemId(menu->menuAction(), id);
    return menu;
  };
  QMenu* file = popup("&File", FCIDM_MENU_FILE);
  PlatformSetMenuItemId(file->addAction(QStringLiteral("&Close")), 0xA001);
  QMenu* edit = popup("&Edit", FCIDM_MENU_EDIT);
  PlatformSetMenuItemId(edit->addAction(QStringLiteral("&Find...")), 0xA002);
  QMenu* view = popup("&View", FCIDM_MENU_VIEW);
  PlatformSetMenuItemId(view->addAction(QStringLiteral("&Toolbar")), 0xA003);
  PlatformSetMenuItemId(view->addSeparator(), FCIDM_MENU_VIEW_SEP_OPTIONS);
  PlatformSetMenuItemId(view->addAction(QStringLiteral("&Refresh")), 0xA004);
  QMenu* help = popup("&Help", FCIDM_MENU_HELP);
  PlatformSetMenuItemId(help->addAction(QStringLiteral("About &host")), 0xA005);
  return S_OK;
}
HRESULT FakeBrowser::SetMenuSB(HMENU shared, HOLEMENU, HWND target) {
  shownMenu = shared;
  menuTarget = target;
  return S_OK;
}
HRESULT FakeBrowser::RemoveMenusSB(HMENU shared) {
  EXPECT_NE(nullptr, shared);
  ++menusRemoved;
  if (shownMenu == shared) ADD_FAILURE() << "menus removed while still shown";
  return S_OK;
}
HRESULT FakeBrowser::SetStatusTextSB(LPCOLESTR) { UNEXPECTED("SetStatusTextSB"); }
HRESULT FakeBrowser::EnableModelessSB(BOOL) { UNEXPECTED("EnableModelessSB"); }
HRESULT FakeBrowser::TranslateAcceleratorSB(MSG*, WORD) { UNEXPECTED("TranslateAcceleratorSB"); }
HRESULT FakeBrowser::BrowseObject(LPCITEMIDLIST, UINT) { UNEXPECTED("BrowseObject"); }

HRESULT FakeBrowser::GetViewStateStream(DWORD mode, IStream** stream) {
  *stream = nullptr;
  if (mode == STGM_READ) {
    if (!hasReadState) return E_FAIL;
    *stream = new MemoryStream(&readState);
    return S_OK;
  }
  if (mode == STGM_WRITE) {
    writtenState.clear();
    *stream = new MemoryStream(&writtenState);
    return S_OK;
  }
  UNEXPECTED("GetViewStateStream with mode " << mode);
}

HRESULT FakeBrowser::GetControlWindow(UINT, HWND*) { UNEXPECTED("GetControlWindow"); }

HRESULT FakeBrowser::SendControlMsg(UINT id, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* ret) {
  if (ret) *ret = 0;
  if (id == FCW_TOOLBAR && msg == TB_ADDBITMAP) {
    const auto* add = reinterpret_cast<const TBADDBITMAP*>(lParam);
    EXPECT_EQ(8u, wParam);
    EXPECT_EQ(HINST_COMMCTRL, add->hInst);
    // The standard strip first at 0, the view strip after it.
    if (ret) *ret = add->nID == IDB_STD_SMALL_COLOR ? 0 : add->nID == IDB_VIEW_SMALL_COLOR ? STD_IMAGE_COUNT : -1;
    return S_OK;
  }
  if (id == FCW_TOOLBAR && msg == TB_CHECKBUTTON) {
    checked[static_cast<UINT>(wParam)] = LOWORD(static_cast<DWORD>(lParam)) != 0;
    return S_OK;
  }
  if (id == FCW_STATUS && msg == SB_SETPARTS) {
    const int* edges = reinterpret_cast<const int*>(lParam);
    statusParts.assign(edges, edges + wParam);
    return S_OK;
  }
  if (id == FCW_STATUS && msg == SB_SETTEXTA) {
    EXPECT_EQ(0u, wParam & 0xFF);
    statusText = reinterpret_cast<const char*>(lParam);
    return S_OK;
  }
  UNEXPECTED("SendControlMsg " << id << "/" << msg);
}

HRESULT FakeBrowser::QueryActiveShellView(IShellView**) { UNEXPECTED("QueryActiveShellView"); }
HRESULT FakeBrowser::OnViewWindowActive(IShellView* view) {
  EXPECT_NE(nullptr, view);
  return S_OK;
}
HRESULT FakeBrowser::SetToolbarItems(LPTBBUTTON list, UINT count, UINT flags) {
  buttons.assign(list, list + count);
  toolbarFlags = flags;
  return S_OK;
}

QMenu* PopupOf(QMenu* shared, UINT id) {
  if (!shared) return nullptr;
  for (QAction* a : shared->actions())
    if (a->menu() && PlatformMenuItemId(a) == id) return a->menu();
  return nullptr;
}

std::vector<UINT> ItemIds(QMenu* menu) {
  std::vector<UINT> ids;
  for (QAction* a : menu->actions()) {
    const UINT id = PlatformMenuItemId(a);
    ids.push_back(a->isSeparator() && id == kNoMenuItemId ? 0 : id);
  }
  return ids;
}
