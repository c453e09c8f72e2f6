// The Reg* functions: handles, access rights and Windows' rules for sizes and
// error codes, over the hive files of hive_file.h. One mutex serialises every
// call in the process; other processes are kept out by the hive's lock file.
#include "platform/registry/registry.h"

#include <array>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/registry/hive_file.h"
#include "platform/registry/key_tree.h"

// An opened key: the hive and the path it names. The key is looked up again
// on every use, so a handle of a key that another handle (or process)
// deleted reports ERROR_KEY_DELETED.
struct PlatformKey {
  int hive;
  platform::registry::KeyPath path;
  REGSAM access;
};

namespace platform::registry {
namespace {

constexpr REGSAM kMaximumAllowed = 0x02000000u;
constexpr REGSAM kGenericAll = 0x10000000u;
constexpr REGSAM kGenericWrite = 0x40000000u;
constexpr REGSAM kGenericRead = 0x80000000u;
constexpr DWORD kRegOptionVolatile = 1u;
// Value data above this size is refused; Windows advises files for anything
// near it, and the hive file stays well below kMaxHiveFileSize.
constexpr DWORD kMaxValueDataSize = 1u << 20;

enum HiveIndex { kClassesRoot = 0, kCurrentUser = 1, kLocalMachine = 2, kHiveCount = 3 };
constexpr std::array<const char*, kHiveCount> kHiveNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                           "HKEY_LOCAL_MACHINE"};

struct State {
  std::mutex mutex;
  std::array<std::unique_ptr<HiveFile>, kHiveCount> hives;
  std::unordered_map<PlatformKey*, std::unique_ptr<PlatformKey>> handles;
};

// Never destroyed: modules still write their settings while the process
// exits (after static destructors may have run).
State& GlobalState() {
  static State* state = new State;
  return *state;
}

HiveFile& Hive(State& s, int index) {
  if (!s.hives[static_cast<size_t>(index)]) {
    // The user hive holds saved logins: only its owner may read it.
    const mode_t mode = index == kCurrentUser ? 0600 : 0644;
    s.hives[static_cast<size_t>(index)] = std::make_unique<HiveFile>(RegistryDirectory(), kHiveNames[static_cast<size_t>(index)], mode);
  }
  return *s.hives[static_cast<size_t>(index)];
}

REGSAM NormalizeAccess(REGSAM sam) {
  REGSAM out = sam & KEY_ALL_ACCESS;
  if (sam & (kMaximumAllowed | kGenericAll)) out |= KEY_ALL_ACCESS;
  if (sam & kGenericRead) out |= KEY_READ;
  if (sam & kGenericWrite) out |= KEY_WRITE;
  return out;
}

// Where a handle points.
struct Target {
  int hive;
  KeyPath path;
  REGSAM access;
};

std::optional<Target> Resolve(State& s, HKEY key) {
  const auto raw = reinterpret_cast<ULONG_PTR>(key);
  if (raw == reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT)) return Target{kClassesRoot, {}, KEY_ALL_ACCESS};
  if (raw == reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER)) return Target{kCurrentUser, {}, KEY_ALL_ACCESS};
  if (raw == reinterpret_cast<ULONG_PTR>(HKEY_LOCAL_MACHINE)) return Target{kLocalMachine, {}, KEY_ALL_ACCESS};
  auto it = s.handles.find(key);
  if (it == s.handles.end()) return std::nullopt;
  return Target{it->second->hive, it->second->path, it->second->access};
}

// The target's path extended by `subKey` (null is empty).
bool Extend(const Target& t, LPCSTR subKey, KeyPath* out) {
  KeyPath sub;
  if (!SplitKeyPath(subKey ? subKey : "", &sub)) return false;
  if (t.path.size() + sub.size() > kMaxKeyDepth) return false;
  *out = t.path;
  out->insert(out->end(), sub.begin(), sub.end());
  return true;
}

HKEY NewHandle(State& s, int hive, KeyPath path, REGSAM access) {
  auto key = std::make_unique<PlatformKey>(PlatformKey{hive, std::move(path), access});
  PlatformKey* raw = key.get();
  s.handles.emplace(raw, std::move(key));
  return raw;
}

// The stored form of value data: strings up to their first NUL.
std::string StoredData(DWORD type, const BYTE* data, DWORD size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    const size_t nul = bytes.find('\0');
    if (nul != std::string::npos) bytes.resize(nul);
  }
  return bytes;
}

// Hands out a value's type and data with Windows' size rules: strings are
// reported with their terminating NUL; no buffer asks for the size; a small
// buffer gets ERROR_MORE_DATA and the size needed.
LSTATUS CopyValue(const RegValue& value, LPDWORD type, LPBYTE data, LPDWORD size) {
  const bool isString = value.type == REG_SZ || value.type == REG_EXPAND_SZ;
  const DWORD needed = static_cast<DWORD>(value.data.size() + (isString ? 1 : 0));
  if (type) *type = value.type;
  if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  if (!data) {
    *size = needed;
    return ERROR_SUCCESS;
  }
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, value.data.data(), value.data.size());
  if (isString) data[value.data.size()] = 0;
  *size = needed;
  return ERROR_SUCCESS;
}

// Copies a name into a caller's buffer of *capacity characters (NUL
// included); on success *capacity becomes the length without the NUL.
LSTATUS CopyName(const std::string& name, LPSTR buffer, LPDWORD capacity) {
  if (name.size() + 1 > *capacity) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *capacity = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// Creates the keys of `path` that are missing; the part `existing` (the
// handle's own key) must be there already.
LSTATUS CreatePath(RegKey& root, const KeyPath& existing, const KeyPath& path, bool* created) {
  RegKey* key = FindKey(root, existing);
  if (!key) return ERROR_KEY_DELETED;
  *created = false;
  for (size_t i = existing.size(); i < path.size(); ++i) {
    bool added = false;
    key = &key->ChildOrAdd(path[i], &added);
    *created = *created || added;
  }
  return ERROR_SUCCESS;
}

LSTATUS CreateKey(HKEY parent, LPCSTR subKey, REGSAM access, PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  if (!subKey) return ERROR_INVALID_PARAMETER;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, parent);
  if (!target) return ERROR_INVALID_HANDLE;
  KeyPath path;
  if (!Extend(*target, subKey, &path)) return ERROR_INVALID_PARAMETER;
  HiveFile& hive = Hive(s, target->hive);

  bool created = false;
  if (!FindKey(hive.Current(), path)) {
    if (!(target->access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
    const LSTATUS status = hive.Modify([&](RegKey& root, bool* changed) -> LSTATUS {
      const LSTATUS st = CreatePath(root, target->path, path, &created);
      *changed = created;
      return st;
    });
    if (status != ERROR_SUCCESS) return status;
  }
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = NewHandle(s, target->hive, std::move(path), NormalizeAccess(access));
  return ERROR_SUCCESS;
}

}  // namespace
}  // namespace platform::registry

using namespace platform::registry;

extern "C" {

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/, LPSTR /*lpClass*/, DWORD dwOptions,
                        REGSAM samDesired, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, PHKEY phkResult,
                        LPDWORD lpdwDisposition) {
  // Volatile keys would vanish at the next start of Windows; here every key
  // is kept in its file, so REG_OPTION_VOLATILE is accepted as non-volatile.
  if (dwOptions & ~kRegOptionVolatile) {
    if (phkResult) *phkResult = nullptr;
    return ERROR_INVALID_PARAMETER;
  }
  return CreateKey(hKey, lpSubKey, samDesired, phkResult, lpdwDisposition);
}

LSTATUS RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  return CreateKey(hKey, lpSubKey ? lpSubKey : "", KEY_ALL_ACCESS, phkResult, nullptr);
}

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  KeyPath path;
  if (!Extend(*target, lpSubKey, &path)) return ERROR_FILE_NOT_FOUND;
  RegKey& root = Hive(s, target->hive).Current();
  if (!FindKey(root, target->path)) return ERROR_KEY_DELETED;
  if (!FindKey(root, path)) return ERROR_FILE_NOT_FOUND;
  *phkResult = NewHandle(s, target->hive, std::move(path), NormalizeAccess(samDesired));
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                         LPDWORD lpcbData) {
  if (lpReserved) return ERROR_INVALID_PARAMETER;
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  if (!(target->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  const RegKey* key = FindKey(Hive(s, target->hive).Current(), target->path);
  if (!key) return ERROR_KEY_DELETED;
  const RegValue* value = key->Value(lpValueName ? lpValueName : "");
  if (!value) return ERROR_FILE_NOT_FOUND;
  return CopyValue(*value, lpType, lpData, lpcbData);
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                       DWORD cbData) {
  const std::string name = lpValueName ? lpValueName : "";
  if (!IsValidValueName(name)) return ERROR_INVALID_PARAMETER;
  if ((!lpData && cbData > 0) || cbData > kMaxValueDataSize) return ERROR_INVALID_PARAMETER;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  if (!(target->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  std::string data = lpData ? StoredData(dwType, lpData, cbData) : std::string();
  return Hive(s, target->hive).Modify([&](RegKey& root, bool* changed) -> LSTATUS {
    RegKey* key = FindKey(root, target->path);
    if (!key) return ERROR_KEY_DELETED;
    const RegValue* old = key->Value(name);
    if (old && old->type == dwType && old->data == data) return ERROR_SUCCESS;  // nothing to write
    key->SetValue(name, dwType, std::move(data));
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegSetValueA(HKEY hKey, LPCSTR lpSubKey, DWORD dwType, LPCSTR lpData, DWORD /*cbData*/) {
  // As on Windows the text's own length counts, not cbData.
  if (dwType != REG_SZ || !lpData) return ERROR_INVALID_PARAMETER;
  const size_t length = std::strlen(lpData);
  if (length > kMaxValueDataSize) return ERROR_INVALID_PARAMETER;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  KeyPath path;
  if (!Extend(*target, lpSubKey, &path)) return ERROR_INVALID_PARAMETER;
  if (!(target->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  if (path.size() > target->path.size() && !(target->access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
  return Hive(s, target->hive).Modify([&](RegKey& root, bool* changed) -> LSTATUS {
    bool created = false;
    const LSTATUS st = CreatePath(root, target->path, path, &created);
    if (st != ERROR_SUCCESS) return st;
    RegKey* key = FindKey(root, path);
    const RegValue* old = key->Value("");
    std::string data(lpData, length);
    if (old && old->type == REG_SZ && old->data == data) {
      *changed = created;
      return ERROR_SUCCESS;
    }
    key->SetValue("", REG_SZ, std::move(data));
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  const std::string name = lpValueName ? lpValueName : "";
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  if (!(target->access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  HiveFile& hive = Hive(s, target->hive);
  // A look at the fresh cache first spares the lock (and creating the
  // folder) for values that are not there.
  const RegKey* key = FindKey(hive.Current(), target->path);
  if (!key) return ERROR_KEY_DELETED;
  if (!key->Value(name)) return ERROR_FILE_NOT_FOUND;
  return hive.Modify([&](RegKey& root, bool* changed) -> LSTATUS {
    RegKey* k = FindKey(root, target->path);
    if (!k) return ERROR_KEY_DELETED;
    if (!k->DeleteValue(name)) return ERROR_FILE_NOT_FOUND;
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  KeyPath path;
  if (!Extend(*target, lpSubKey, &path)) return ERROR_FILE_NOT_FOUND;
  if (path.empty()) return ERROR_ACCESS_DENIED;  // a hive's root is never deleted
  HiveFile& hive = Hive(s, target->hive);
  auto check = [&](RegKey& root) -> LSTATUS {
    if (!FindKey(root, target->path)) return ERROR_KEY_DELETED;
    const RegKey* key = FindKey(root, path);
    if (!key) return ERROR_FILE_NOT_FOUND;
    // Windows NT refuses to delete a key that still has subkeys.
    if (!key->children.empty()) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
  };
  if (const LSTATUS st = check(hive.Current()); st != ERROR_SUCCESS) return st;
  return hive.Modify([&](RegKey& root, bool* changed) -> LSTATUS {
    if (const LSTATUS st = check(root); st != ERROR_SUCCESS) return st;
    KeyPath parentPath(path.begin(), path.end() - 1);
    RegKey* parent = FindKey(root, parentPath);
    parent->children.erase(FoldName(path.back()));
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD /*lpReserved*/,
                      LPSTR lpClass, LPDWORD lpcchClass, void* lpftLastWriteTime) {
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  if (!(target->access & KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
  const RegKey* key = FindKey(Hive(s, target->hive).Current(), target->path);
  if (!key) return ERROR_KEY_DELETED;
  if (dwIndex >= key->children.size()) return ERROR_NO_MORE_ITEMS;
  auto it = key->children.begin();
  std::advance(it, dwIndex);
  const LSTATUS st = CopyName(it->second.name, lpName, lpcchName);
  if (st != ERROR_SUCCESS) return st;
  // Keys carry no class and no write time here.
  if (lpClass && lpcchClass && *lpcchClass > 0) lpClass[0] = '\0';
  if (lpcchClass) *lpcchClass = 0;
  if (lpftLastWriteTime) std::memset(lpftLastWriteTime, 0, 2 * sizeof(DWORD));  // FILETIME
  return ERROR_SUCCESS;
}

LSTATUS RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                      LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (!lpValueName || !lpcchValueName || lpReserved) return ERROR_INVALID_PARAMETER;
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto target = Resolve(s, hKey);
  if (!target) return ERROR_INVALID_HANDLE;
  if (!(target->access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  const RegKey* key = FindKey(Hive(s, target->hive).Current(), target->path);
  if (!key) return ERROR_KEY_DELETED;
  if (dwIndex >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  auto it = key->values.begin();
  std::advance(it, dwIndex);
  const LSTATUS st = CopyName(it->second.name, lpValueName, lpcchValueName);
  if (st != ERROR_SUCCESS) return st;
  return CopyValue(it->second, lpType, lpData, lpcbData);
}

LSTATUS RegCloseKey(HKEY hKey) {
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  const auto raw = reinterpret_cast<ULONG_PTR>(hKey);
  if (raw == reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) || raw == reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER) ||
      raw == reinterpret_cast<ULONG_PTR>(HKEY_LOCAL_MACHINE)) {
    return ERROR_SUCCESS;
  }
  return s.handles.erase(hKey) > 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

void PlatformRegistryReset(void) {
  State& s = GlobalState();
  std::lock_guard guard(s.mutex);
  for (auto& hive : s.hives) hive.reset();
}

}  // extern "C"
