// A small namespace extension for the shell host's tests: a root folder with
// fixed items ("Alpha" with a subfolder "Inner", "Beta", the file "Gamma"),
// a view that merges a menu item and toolbar buttons and keeps its mode in
// the view state stream, icons (red closed, green open), a context menu
// that records the verbs it runs, registration and a rundll32 entry. What it
// saw is readable through the exported TestNsState().
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com/shlobj.h"
#include "platform/loader/loader.h"
#include "platform/registry/registry.h"
#include "platform/ui/commctrl.h"
#include "platform/ui/icon_handles.h"
#include "platform/ui/menu_ids.h"
#include "platform/ui/window_messages.h"
#include "tests/host/test_namespace.h"

namespace {
TestNsStateData g_state;
std::atomic<long> g_objects{0};
HINSTANCE g_module = nullptr;
const CLSID kClsid = TEST_NS_CLSID;

struct Counted {
  Counted() { ++g_objects; }
  ~Counted() { --g_objects; }
};

// Item: cb, flags (1 folder, 2 has subfolders), name, NUL.
std::vector<BYTE> makeItem(BYTE flags, const char* name) {
  const size_t n = std::strlen(name);
  std::vector<BYTE> bytes(2 + 1 + n + 1 + 2, 0);
  bytes[0] = static_cast<BYTE>(3 + n + 1);
  bytes[2] = flags;
  std::memcpy(bytes.data() + 3, name, n);
  return bytes;
}
BYTE itemFlags(LPCITEMIDLIST pidl) {
  const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
  return (p && p[0] >= 3) ? p[2] : 0;
}
std::string itemName(LPCITEMIDLIST pidl) {
  const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
  if (!p || p[0] < 4) return {};
  return std::string(reinterpret_cast<const char*>(p + 3), strnlen(reinterpret_cast<const char*>(p + 3), p[0] - 3));
}
LPCITEMIDLIST lastItem(LPCITEMIDLIST pidl) {
  const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
  const BYTE* last = p;
  while (p[0] | p[1]) {
    last = p;
    p += p[0] | (p[1] << 8);
  }
  return reinterpret_cast<LPCITEMIDLIST>(last);
}
LPITEMIDLIST cloneItem(const std::vector<BYTE>& bytes) {
  auto* out = static_cast<BYTE*>(CoTaskMemAlloc(bytes.size()));
  std::memcpy(out, bytes.data(), bytes.size());
  return reinterpret_cast<LPITEMIDLIST>(out);
}

template <typename Self, typename... Ifaces>
HRESULT answer(Self* self, REFIID riid, void** ppv) {
  *ppv = nullptr;
  IUnknown* found = nullptr;
  ((found = found ? found : (riid == Ifaces::iid ? static_cast<typename Ifaces::type*>(self) : nullptr)), ...);
  if (!found && riid == IID_IUnknown) found = static_cast<typename std::tuple_element<0, std::tuple<Ifaces...>>::type::type*>(self);
  if (!found) return E_NOINTERFACE;
  found->AddRef();
  *ppv = found;
  return S_OK;
}
template <typename T, const IID& I>
struct Iface {
  using type = T;
  static constexpr const IID& iid = I;
};

#define REFCOUNT                                           \
  std::atomic<ULONG> refs_{1};                             \
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; } \
  ULONG STDMETHODCALLTYPE Release() override {             \
    ULONG l = --refs_;                                     \
    if (!l) delete this;                                   \
    return l;                                              \
  }

class Enum final : public IEnumIDList, Counted {
 public:
  explicit Enum(std::vector<std::vector<BYTE>> items) : items_(std::move(items)) {}
  REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return answer<Enum, Iface<IEnumIDList, IID_IEnumIDList>>(this, riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE Next(ULONG, LPITEMIDLIST* out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (pos_ >= items_.size()) return S_FALSE;
    *out = cloneItem(items_[pos_++]);
    if (fetched) *fetched = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG n) override { pos_ += n; return S_OK; }
  HRESULT STDMETHODCALLTYPE Reset() override { pos_ = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** e) override { *e = nullptr; return E_NOTIMPL; }

 private:
  std::vector<std::vector<BYTE>> items_;
  size_t pos_ = 0;
};

class Icon final : public IExtractIconA, Counted {
 public:
  REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return answer<Icon, Iface<IExtractIconA, IID_IExtractIconA>>(this, riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE GetIconLocation(UINT flags, LPSTR file, UINT cch, int* index, UINT* out) override {
    if (file && cch) std::snprintf(file, cch, "testicons");
    *index = (flags & GIL_OPENICON) ? 1 : 0;
    *out = GIL_NOTFILENAME;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Extract(LPCSTR, UINT index, HICON* large, HICON* small, UINT) override {
    QPixmap pm(16, 16);
    pm.fill(index == 1 ? Qt::green : Qt::red);
    if (large) *large = PlatformCreateIcon(QIcon(pm));
    if (small) *small = PlatformCreateIcon(QIcon(pm));
    return S_OK;
  }
};

class Menu final : public IContextMenu, Counted {
 public:
  REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return answer<Menu, Iface<IContextMenu, IID_IContextMenu>>(this, riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT, UINT first, UINT, UINT) override {
    QAction* a = menu->addAction(QStringLiteral("Test Command"));
    PlatformSetMenuItemId(a, first);
    return 1;  // one identifier used
  }
  HRESULT STDMETHODCALLTYPE InvokeCommand(LPCMINVOKECOMMANDINFO info) override {
    const auto verb = reinterpret_cast<uintptr_t>(info->lpVerb);
    if (verb > 0xFFFF) std::snprintf(g_state.lastVerb, sizeof g_state.lastVerb, "%s", info->lpVerb);
    else std::snprintf(g_state.lastVerb, sizeof g_state.lastVerb, "#%u", static_cast<unsigned>(verb));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) override { return E_NOTIMPL; }
};

class View final : public QWidget, public MessageTarget, public IShellView, Counted {
 public:
  View() : QWidget(nullptr) {}
  REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return answer<View, Iface<IShellView, IID_IShellView>, Iface<IOleWindow, IID_IOleWindow>>(this, riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* h) override { *h = this; return S_OK; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UIActivate(UINT state) override {
    if (state == ui_) return S_OK;
    deactivate();
    if (state != SVUIA_DEACTIVATE) {
      shared_ = new QMenu;
      browser_->InsertMenusSB(shared_, nullptr);
      for (QAction* a : shared_->actions())
        if (PlatformMenuItemId(a) == FCIDM_MENU_VIEW) {
          QAction* item = a->menu()->addAction(QStringLiteral("Test &Item"));
          PlatformSetMenuItemId(item, 42);
        }
      browser_->SetMenuSB(shared_, nullptr, this);
    }
    ui_ = state;
    g_state.uiState = static_cast<int>(state);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Refresh() override { ++g_state.refreshCount; return S_OK; }
  HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView*, LPCFOLDERSETTINGS fs, IShellBrowser* sb, RECT*,
                                             HWND* out) override {
    *out = nullptr;
    mode_ = fs->ViewMode;
    ComPtr<IStream> stream;
    if (SUCCEEDED(sb->GetViewStateStream(STGM_READ, stream.put())) && stream) {
      BYTE rec[8];
      ULONG got = 0;
      stream->Read(rec, 8, &got);
      if (got == 8 && rec[4] == 1 && rec[5] == 0) mode_ = static_cast<UINT>(rec[6] | (rec[7] << 8));
    }
    HWND parent = nullptr;
    sb->GetWindow(&parent);
    setParent(parent);
    auto* layout = new QVBoxLayout(this);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("testlist"));
    for (const char* n : {"Alpha", "Beta", "Gamma"}) list->addItem(QString::fromLatin1(n));
    layout->addWidget(list);
    browser_ = sb;
    browser_->AddRef();
    TBADDBITMAP add{HINST_COMMCTRL, IDB_VIEW_SMALL_COLOR};
    LRESULT base = 0;
    sb->SendControlMsg(FCW_TOOLBAR, TB_ADDBITMAP, 8, reinterpret_cast<LPARAM>(&add), &base);
    TBBUTTON buttons[4] = {};
    for (int i = 0; i < 4; ++i) {
      buttons[i].iBitmap = static_cast<int>(base) + i;
      buttons[i].idCommand = 102 + i;
      buttons[i].fsState = TBSTATE_ENABLED;
      buttons[i].fsStyle = TBSTYLE_BUTTON;
    }
    sb->SetToolbarItems(buttons, 4, FCT_MERGE);
    setMode(mode_);
    g_state.viewMode = static_cast<int>(mode_);
    *out = this;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DestroyViewWindow() override {
    UIActivate(SVUIA_DEACTIVATE);
    hide();
    setParent(nullptr);
    if (browser_) browser_->Release();
    browser_ = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS fs) override { fs->ViewMode = mode_; fs->fFlags = 0; return S_OK; }
  HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SaveViewState() override {
    ComPtr<IStream> stream;
    if (browser_ && SUCCEEDED(browser_->GetViewStateStream(STGM_WRITE, stream.put())) && stream) {
      BYTE rec[8] = {8, 0, 0, 0, 1, 0, static_cast<BYTE>(mode_), 0};
      stream->Write(rec, 8, nullptr);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SelectItem(LPCITEMIDLIST, UINT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetItemObject(UINT, REFIID, void** ppv) override { *ppv = nullptr; return E_NOTIMPL; }

  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM) override {
    if (msg == WM_INITMENUPOPUP) ++g_state.initMenuPopups;
    if (msg == WM_COMMAND) {
      const int id = LOWORD(wParam);
      g_state.lastCommand = id;
      if (id >= 102 && id <= 105) setMode(static_cast<UINT>(id - 101));
    }
    return 0;
  }

 private:
  ~View() override { deactivate(); }
  void deactivate() {
    if (shared_ && browser_) {
      browser_->SetMenuSB(nullptr, nullptr, nullptr);
      browser_->RemoveMenusSB(shared_);
    }
    delete shared_;
    shared_ = nullptr;
    ui_ = SVUIA_DEACTIVATE;
  }
  void setMode(UINT mode) {
    mode_ = mode;
    g_state.viewMode = static_cast<int>(mode);
    for (int i = 0; i < 4; ++i)
      browser_->SendControlMsg(FCW_TOOLBAR, TB_CHECKBUTTON, 102 + i, MAKELONG(static_cast<UINT>(102 + i) == mode + 101, 0), nullptr);
  }
  IShellBrowser* browser_ = nullptr;
  QMenu* shared_ = nullptr;
  UINT ui_ = SVUIA_DEACTIVATE;
  UINT mode_ = FVM_DETAILS;
};

class Folder final : public IShellFolder, public IPersistFolder, public IShellExtInit, Counted {
 public:
  explicit Folder(std::string name = {}) : name_(std::move(name)) {}
  REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IContextMenu) {
      *ppv = static_cast<IContextMenu*>(new Menu);
      return S_OK;
    }
    return answer<Folder, Iface<IShellFolder, IID_IShellFolder>, Iface<IPersistFolder, IID_IPersistFolder>,
                  Iface<IShellExtInit, IID_IShellExtInit>>(this, riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, LPBC, LPOLESTR, ULONG*, LPITEMIDLIST* p, ULONG*) override {
    *p = nullptr;
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, DWORD flags, IEnumIDList** out) override {
    std::vector<std::vector<BYTE>> items;
    if (name_.empty()) {
      if (flags & SHCONTF_FOLDERS) {
        items.push_back(makeItem(3, "Alpha"));
        items.push_back(makeItem(1, "Beta"));
      }
      if (flags & SHCONTF_NONFOLDERS) items.push_back(makeItem(0, "Gamma"));
    } else if (name_ == "Alpha" && (flags & SHCONTF_FOLDERS)) {
      items.push_back(makeItem(1, "Inner"));
    }
    *out = new Enum(std::move(items));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST pidl, LPBC, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (!(itemFlags(lastItem(pidl)) & 1)) return E_INVALIDARG;
    auto* f = new Folder(itemName(lastItem(pidl)));
    const HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST, LPBC, REFIID, void** ppv) override { *ppv = nullptr; return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, LPCITEMIDLIST a, LPCITEMIDLIST b) override {
    return itemName(a).compare(itemName(b));
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid == IID_IContextMenu) return QueryInterface(riid, ppv);
    auto* v = new View;
    const HRESULT hr = v->QueryInterface(riid, ppv);
    v->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT cidl, LPCITEMIDLIST* items, ULONG* inout) override {
    ULONG r = 0xFFFFFFFF;
    for (UINT i = 0; i < cidl; ++i) {
      const BYTE f = itemFlags(lastItem(items[i]));
      r &= ((f & 1) ? SFGAO_FOLDER : 0) | ((f & 2) ? SFGAO_HASSUBFOLDER : 0);
    }
    *inout = r;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT cidl, LPCITEMIDLIST*, REFIID riid, UINT*, void** ppv) override {
    *ppv = nullptr;
    if (riid == IID_IContextMenu) { *ppv = static_cast<IContextMenu*>(new Menu); return S_OK; }
    if (riid == IID_IExtractIconA && cidl == 1) { *ppv = static_cast<IExtractIconA*>(new Icon); return S_OK; }
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST pidl, DWORD, STRRET* out) override {
    const std::string name = itemName(lastItem(pidl));
    auto* w = static_cast<char16_t*>(CoTaskMemAlloc((name.size() + 1) * 2));
    for (size_t i = 0; i <= name.size(); ++i) w[i] = static_cast<char16_t>(i < name.size() ? name[i] : 0);
    out->uType = STRRET_WSTR;
    out->pOleStr = w;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, LPCITEMIDLIST, LPCOLESTR, DWORD, LPITEMIDLIST* o) override { if (o) *o = nullptr; return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* c) override { if (c) *c = kClsid; return S_OK; }
  HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST) override { ++g_state.initializeCalls; return S_OK; }
  HRESULT STDMETHODCALLTYPE Initialize(LPCITEMIDLIST, IDataObject* data, HKEY) override {
    return data ? S_OK : E_NOINTERFACE;
  }

 private:
  std::string name_;
};

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return answer<Factory, Iface<IClassFactory, IID_IClassFactory>>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { ++g_objects; return 2; }
  ULONG STDMETHODCALLTYPE Release() override { --g_objects; return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* f = new Folder;
    const HRESULT hr = f->QueryInterface(riid, ppv);
    f->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};
Factory g_factory;

void setString(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}
std::string clsidText() {
  char t[40] = {};
  StringFromGUID2A(kClsid, t, sizeof t);
  return t;
}
const char* kNs = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\";
}  // namespace

DATROVA_EXPORT BOOL DllMain(HINSTANCE h, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = h;
  return TRUE;
}
DATROVA_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  *ppv = nullptr;
  if (!(clsid == kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}
DATROVA_EXPORT HRESULT DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }
DATROVA_EXPORT HRESULT DllRegisterServer() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(g_module, path, sizeof path);
  const std::string c = clsidText();
  setString(HKEY_CLASSES_ROOT, "CLSID\\" + c, nullptr, TEST_NS_NAME);
  setString(HKEY_CLASSES_ROOT, "CLSID\\" + c + "\\InprocServer32", nullptr, path);
  setString(HKEY_CLASSES_ROOT, "CLSID\\" + c + "\\shellex\\ContextMenuHandlers\\Test", nullptr, c);
  setString(HKEY_LOCAL_MACHINE, kNs + c, nullptr, TEST_NS_NAME);
  ++g_state.registerCalls;
  return path[0] ? S_OK : SELFREG_E_CLASS;
}
DATROVA_EXPORT HRESULT DllUnregisterServer() {
  const std::string c = clsidText();
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kNs + c).c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + c + "\\shellex\\ContextMenuHandlers\\Test").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + c + "\\shellex\\ContextMenuHandlers").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + c + "\\shellex").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + c + "\\InprocServer32").c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + c).c_str());
  return S_OK;
}
// rundll32 entry: writes its arguments to $TEST_NS_ENTRY_FILE.
DATROVA_EXPORT void TestEntry(HWND hwnd, HINSTANCE inst, LPSTR cmdLine, int show) {
  const char* file = std::getenv("TEST_NS_ENTRY_FILE");
  if (!file) return;
  if (FILE* f = std::fopen(file, "w")) {
    std::fprintf(f, "%d|%d|%d|%s", hwnd == nullptr, inst == g_module && inst != nullptr, show, cmdLine ? cmdLine : "(null)");
    std::fclose(f);
  }
}
DATROVA_EXPORT TestNsStateData* TestNsState() { return &g_state; }
DATROVA_EXPORT long TestNsObjects() { return g_objects; }
