#include "platform/host/shell_namespace.h"

#include <algorithm>
#include <cstring>

#include "platform/host/host_strings.h"
#include "platform/loader/loader.h"
#include "platform/registry/registry.h"
#include "platform/ui/icon_handles.h"

namespace {
constexpr BYTE kJunctionType = 0x2E;
constexpr size_t kJunctionItemSize = 20;
constexpr const char* kNameSpaceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace";

typedef HRESULT (*DllGetClassObjectProc)(REFCLSID, REFIID, void**);
typedef HRESULT (*DllCanUnloadNowProc)();

// Closes a registry key when it goes out of scope.
struct KeyHolder {
  HKEY key = nullptr;
  ~KeyHolder() {
    if (key) RegCloseKey(key);
  }
};

std::optional<std::string> readDefaultString(HKEY root, const std::string& path) {
  KeyHolder k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k.key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(k.key, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
    return std::nullopt;
  std::string value(size + 1, '\0');
  size = static_cast<DWORD>(value.size());
  if (RegQueryValueExA(k.key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.resize(std::strlen(value.c_str()));
  return value;
}

std::string clsidText(const CLSID& clsid) {
  char text[40] = {};
  StringFromGUID2A(clsid, text, sizeof text);
  return text;
}
}  // namespace

IdList MyComputerList() {
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidl)) || !pidl) return IdList();
  std::optional<IdList> list = IdList::fromRaw(pidl);
  CoTaskMemFree(pidl);
  return list.value_or(IdList());
}

IdList MakeJunctionItem(const CLSID& clsid) {
  QByteArray bytes(static_cast<qsizetype>(kJunctionItemSize + 2), '\0');
  bytes[0] = static_cast<char>(kJunctionItemSize);
  bytes[2] = static_cast<char>(kJunctionType);
  std::memcpy(bytes.data() + 4, &clsid, sizeof(CLSID));
  return *IdList::fromBytes(bytes);
}

std::optional<CLSID> ReadJunctionItem(const IdList& singleItem) {
  if (singleItem.itemCount() != 1) return std::nullopt;
  const std::vector<BYTE> payload = singleItem.itemPayload(0);
  if (payload.size() != kJunctionItemSize - 2 || payload[0] != kJunctionType) return std::nullopt;
  CLSID clsid;
  std::memcpy(&clsid, payload.data() + 2, sizeof(CLSID));
  return clsid;
}

std::vector<Junction> ListJunctions() {
  std::vector<Junction> result;
  KeyHolder ns;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNameSpaceKey, 0, KEY_READ, &ns.key) != ERROR_SUCCESS) return result;
  const IdList myComputer = MyComputerList();
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(ns.key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    CLSID clsid;
    if (FAILED(GUIDFromStringA(name, &clsid))) continue;  // not a class key
    const std::string key = std::string(kNameSpaceKey) + "\\" + name;
    std::optional<std::string> display = readDefaultString(HKEY_LOCAL_MACHINE, key);
    if (!display || display->empty()) display = readDefaultString(HKEY_CLASSES_ROOT, "CLSID\\" + clsidText(clsid));
    Junction j{clsid, QString::fromUtf8(display.value_or(name)), myComputer + MakeJunctionItem(clsid)};
    result.push_back(std::move(j));
  }
  std::sort(result.begin(), result.end(),
            [](const Junction& a, const Junction& b) { return a.name.compare(b.name, Qt::CaseInsensitive) < 0; });
  return result;
}

std::optional<Junction> FindJunction(const CLSID& clsid) {
  for (Junction& j : ListJunctions())
    if (j.clsid == clsid) return j;
  return std::nullopt;
}

std::optional<Junction> FindJunctionByName(const QString& name) {
  for (Junction& j : ListJunctions())
    if (j.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0) return j;
  return std::nullopt;
}

HRESULT CreateRegisteredInstance(const CLSID& clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  const std::optional<std::string> path =
      readDefaultString(HKEY_CLASSES_ROOT, "CLSID\\" + clsidText(clsid) + "\\InprocServer32");
  if (!path || path->empty()) return CLASS_E_CLASSNOTAVAILABLE;
  // Every creation takes a reference on the library, as COM's class loading
  // does; CoFreeUnusedLibraries lets all of them go once the library answers
  // DllCanUnloadNow with S_OK.
  HMODULE module = LoadLibraryA(path->c_str());
  if (!module) return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_MOD_NOT_FOUND);
  auto getClassObject = reinterpret_cast<DllGetClassObjectProc>(GetProcAddress(module, "DllGetClassObject"));
  if (!getClassObject) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  ComPtr<IClassFactory> factory;
  HRESULT hr = getClassObject(clsid, IID_IClassFactory, factory.putVoid());
  if (FAILED(hr)) return hr;
  if (!factory) return E_UNEXPECTED;
  return factory->CreateInstance(nullptr, riid, ppv);
}

void FreeUnusedExtensions() { CoFreeUnusedLibraries(); }

HRESULT BindFolder(const IdList& absolute, IShellFolder** ppFolder) {
  if (!ppFolder) return E_POINTER;
  *ppFolder = nullptr;
  const IdList myComputer = MyComputerList();
  if (!absolute.startsWith(myComputer) || absolute.itemCount() <= myComputer.itemCount()) return E_INVALIDARG;
  const size_t junctionIndex = myComputer.itemCount();
  const std::optional<CLSID> clsid = ReadJunctionItem(absolute.from(junctionIndex).first(1));
  if (!clsid) return E_INVALIDARG;
  ComPtr<IShellFolder> root;
  HRESULT hr = CreateRegisteredInstance(*clsid, IID_IShellFolder, root.putVoid());
  if (FAILED(hr)) return hr;
  ComPtr<IPersistFolder> persist;
  if (SUCCEEDED(root->QueryInterface(IID_IPersistFolder, persist.putVoid())) && persist) {
    hr = persist->Initialize(absolute.first(junctionIndex + 1).get());
    if (FAILED(hr)) return hr;
  }
  const IdList rest = absolute.from(junctionIndex + 1);
  if (rest.isEmpty()) {
    *ppFolder = root.detach();
    return S_OK;
  }
  ComPtr<IShellFolder> deeper;
  hr = root->BindToObject(rest.get(), nullptr, IID_IShellFolder, deeper.putVoid());
  if (FAILED(hr)) return hr;
  if (!deeper) return E_UNEXPECTED;
  *ppFolder = deeper.detach();
  return S_OK;
}

QString StrRetToQString(STRRET* strret, LPCITEMIDLIST pidl) {
  switch (strret->uType) {
    case STRRET_WSTR: {
      if (!strret->pOleStr) return {};
      QString text = QString::fromUtf16(strret->pOleStr);
      CoTaskMemFree(strret->pOleStr);
      strret->pOleStr = nullptr;
      return text;
    }
    case STRRET_CSTR:
      return QString::fromUtf8(strret->cStr, static_cast<qsizetype>(strnlen(strret->cStr, sizeof strret->cStr)));
    case STRRET_OFFSET: {
      // An offset into the item itself: only inside the first item's cb.
      if (!pidl) return {};
      const BYTE* item = reinterpret_cast<const BYTE*>(pidl);
      const size_t cb = static_cast<size_t>(item[0]) | (static_cast<size_t>(item[1]) << 8);
      if (strret->uOffset >= cb) return {};
      const char* text = reinterpret_cast<const char*>(item + strret->uOffset);
      return QString::fromUtf8(text, static_cast<qsizetype>(strnlen(text, cb - strret->uOffset)));
    }
    default:
      return {};
  }
}

QString DisplayNameOf(IShellFolder* folder, const IdList& relative, DWORD flags) {
  if (!folder) return {};
  STRRET strret;
  std::memset(&strret, 0, sizeof strret);
  if (FAILED(folder->GetDisplayNameOf(relative.get(), flags, &strret))) return {};
  return StrRetToQString(&strret, relative.get());
}

QString AddressOf(const IdList& absolute) {
  const IdList myComputer = MyComputerList();
  if (absolute == myComputer || !absolute.startsWith(myComputer)) return HostText(IDS_HOST_MY_COMPUTER);
  const size_t junctionIndex = myComputer.itemCount();
  if (absolute.itemCount() == junctionIndex + 1) {
    if (auto clsid = ReadJunctionItem(absolute.last()))
      if (auto j = FindJunction(*clsid)) return j->name;
    return {};
  }
  ComPtr<IShellFolder> parent;
  if (FAILED(BindFolder(absolute.parent(), parent.put())) || !parent) return {};
  return DisplayNameOf(parent.get(), absolute.last(), SHGDN_NORMAL);
}

ItemIcons IconsOf(IShellFolder* folder, const IdList& relative, HWND owner) {
  ItemIcons icons;
  if (!folder) return icons;
  ComPtr<IExtractIconA> extract;
  LPCITEMIDLIST item = relative.get();
  if (FAILED(folder->GetUIObjectOf(owner, 1, &item, IID_IExtractIconA, nullptr, extract.putVoid())) || !extract)
    return icons;
  auto iconFor = [&](UINT flags) -> QIcon {
    char file[MAX_PATH] = {};
    int index = 0;
    UINT outFlags = 0;
    if (extract->GetIconLocation(GIL_FORSHELL | flags, file, sizeof file, &index, &outFlags) != S_OK) return {};
    file[MAX_PATH - 1] = '\0';
    HICON large = nullptr;
    HICON small = nullptr;
    // nIconSize: large size in the low word, small in the high word (pixels).
    const HRESULT hr = extract->Extract(file, static_cast<UINT>(index), &large, &small, MAKELONG(32, 16));
    QIcon icon;
    if (hr == S_OK) {
      icon = PlatformIconOf(small ? small : large);
      if (small && large) {
        // Keep both sizes in one icon so views pick the sharper one.
        for (const QSize& s : PlatformIconOf(large).availableSizes())
          icon.addPixmap(PlatformIconOf(large).pixmap(s));
      }
    }
    if (large) DestroyIcon(large);
    if (small) DestroyIcon(small);
    return icon;
  };
  icons.closed = iconFor(0);
  icons.open = iconFor(GIL_OPENICON);
  if (icons.open.isNull()) icons.open = icons.closed;
  return icons;
}
