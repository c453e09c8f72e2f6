#include "platform/host/context_menus.h"

#include <cstring>
#include <string>

#include "platform/host/shell_namespace.h"
#include "platform/registry/registry.h"
#include "platform/ui/menu_ids.h"
#include "platform/ui/property_sheet.h"
#include "platform/ui/ui.h"

namespace {
// A data object that offers no formats: the shell's selection of a
// namespace junction carries no file drop list.
class EmptyDataObject final : public IDataObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
      *ppv = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (!left) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM* medium) override {
    if (medium) std::memset(medium, 0, sizeof *medium);
    return DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** e) override {
    if (e) *e = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** e) override {
    if (e) *e = nullptr;
    return E_NOTIMPL;
  }

 private:
  ULONG refs_ = 1;
};

std::string clsidText(const CLSID& clsid) {
  char text[40] = {};
  StringFromGUID2A(clsid, text, sizeof text);
  return text;
}
}  // namespace

namespace {

// The handler objects registered for a junction under
// HKCR\CLSID\{clsid}\shellex\<kind>, each initialised through IShellExtInit
// with the My Computer list and a data object without files.
std::vector<ComPtr<IShellExtInit>> RegisteredHandlers(const CLSID& clsid, const char* kind) {
  std::vector<ComPtr<IShellExtInit>> handlers;
  const std::string path = "CLSID\\" + clsidText(clsid) + "\\shellex\\" + kind;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return handlers;
  const IdList myComputer = MyComputerList();
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    // The subkey's default value names the handler's class; a subkey named
    // by a class identifier is the class itself.
    HKEY sub = nullptr;
    std::string value;
    if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
      char data[128] = {};
      DWORD size = sizeof data - 1;
      DWORD type = 0;
      if (RegQueryValueExA(sub, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS &&
          type == REG_SZ)
        value.assign(data, strnlen(data, sizeof data));
      RegCloseKey(sub);
    }
    CLSID handlerClass;
    if (FAILED(GUIDFromStringA(value.c_str(), &handlerClass)) && FAILED(GUIDFromStringA(name, &handlerClass)))
      continue;
    ComPtr<IShellExtInit> init;
    if (FAILED(CreateRegisteredInstance(handlerClass, IID_IShellExtInit, init.putVoid())) || !init) continue;
    ComPtr<IDataObject> data(new EmptyDataObject);
    if (FAILED(init->Initialize(myComputer.get(), data.get(), nullptr))) continue;
    handlers.push_back(init);
  }
  RegCloseKey(key);
  return handlers;
}

BOOL CollectPage(HPROPSHEETPAGE page, LPARAM lParam) {
  auto* pages = reinterpret_cast<std::vector<HPROPSHEETPAGE>*>(lParam);
  if (!page || pages->size() >= MAXPROPPAGES) return FALSE;
  pages->push_back(page);
  return TRUE;
}

}  // namespace

std::vector<ComPtr<IContextMenu>> JunctionMenuHandlers(const CLSID& clsid) {
  std::vector<ComPtr<IContextMenu>> handlers;
  for (const auto& init : RegisteredHandlers(clsid, "ContextMenuHandlers")) {
    ComPtr<IContextMenu> menu;
    if (SUCCEEDED(init->QueryInterface(IID_IContextMenu, menu.putVoid())) && menu) handlers.push_back(menu);
  }
  return handlers;
}

bool HasJunctionPropertySheet(const CLSID& clsid) {
  const std::string path = "CLSID\\" + clsidText(clsid) + "\\shellex\\PropertySheetHandlers";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool ShowJunctionProperties(const CLSID& clsid, HWND owner, const QString& caption) {
  std::vector<HPROPSHEETPAGE> pages;
  for (const auto& init : RegisteredHandlers(clsid, "PropertySheetHandlers")) {
    ComPtr<IShellPropSheetExt> sheet;
    if (SUCCEEDED(init->QueryInterface(IID_IShellPropSheetExt, sheet.putVoid())) && sheet)
      sheet->AddPages(CollectPage, reinterpret_cast<LPARAM>(&pages));
  }
  if (pages.empty()) return false;
  const QByteArray title = caption.toUtf8();
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPTITLE | PSH_NOAPPLYNOW;
  header.hwndParent = owner;
  header.pszCaption = title.constData();
  header.nPages = static_cast<UINT>(pages.size());
  header.phpage = pages.data();
  PropertySheetA(&header);
  return true;
}

void ExtensionMenu::fill(QMenu* menu, UINT flags) {
  // Each handler gets identifiers from `first`; QueryContextMenu answers
  // how many it used in its HRESULT's code.
  UINT first = 1;
  for (auto& h : handlers_) {
    if (first > 0x7000) break;
    if (!menu->isEmpty()) menu->addSeparator();
    const auto before = menu->actions().size();
    const HRESULT hr = h->QueryContextMenu(menu, static_cast<UINT>(before), first, first + 0x0FFF, flags);
    if (FAILED(hr)) continue;
    const UINT used = static_cast<UINT>(HRESULT_CODE(hr));
    ranges_.push_back({h.get(), first, first + used});
    first += used + 1;
  }
}

bool ExtensionMenu::invoke(QAction* picked, HWND owner) {
  if (!picked) return false;
  const UINT id = PlatformMenuItemId(picked);
  for (const Range& r : ranges_) {
    if (id < r.first || id >= r.end) continue;
    CMINVOKECOMMANDINFO info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(id - r.first);
    info.nShow = SW_SHOWNORMAL;
    r.handler->InvokeCommand(&info);
    return true;
  }
  return false;
}

HRESULT InvokeFolderVerb(IShellFolder* folder, HWND owner, const char* verb) {
  if (!folder || !verb) return E_INVALIDARG;
  ComPtr<IContextMenu> menu;
  HRESULT hr = folder->GetUIObjectOf(owner, 0, nullptr, IID_IContextMenu, nullptr, menu.putVoid());
  if (FAILED(hr)) return hr;
  if (!menu) return E_NOINTERFACE;
  // Menus learn their commands when they are built; build one that is never
  // shown before invoking by verb.
  QMenu scratch;
  menu->QueryContextMenu(&scratch, 0, 1, 0x7FFF, CMF_NORMAL);
  CMINVOKECOMMANDINFO info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  info.hwnd = owner;
  info.lpVerb = verb;
  info.nShow = SW_SHOWNORMAL;
  return menu->InvokeCommand(&info);
}
