// String tables registered by modules (this platform has no resource
// sections). A table is copied on registration, so the module's own array
// may live anywhere.
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/loader/loader.h"

namespace {

struct Strings {
  std::mutex lock;
  std::map<HINSTANCE, std::map<UINT, std::string>> tables;
};

Strings& All() {
  static auto* s = new Strings;  // modules unregister from their exit-time DllMain
  return *s;
}

}  // namespace

extern "C" {

void PlatformRegisterStrings(HINSTANCE hInstance, const ResourceString* table, size_t count) {
  std::lock_guard<std::mutex> g(All().lock);
  auto& strings = All().tables[hInstance];
  strings.clear();
  for (size_t i = 0; table && i < count; ++i)
    if (table[i].text) strings[table[i].id] = table[i].text;
}

void PlatformUnregisterStrings(HINSTANCE hInstance) {
  std::lock_guard<std::mutex> g(All().lock);
  All().tables.erase(hInstance);
}

int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard<std::mutex> g(All().lock);
  auto table = All().tables.find(hInstance);
  if (table == All().tables.end()) {
    lpBuffer[0] = '\0';
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  auto it = table->second.find(uID);
  if (it == table->second.end()) {
    lpBuffer[0] = '\0';
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return 0;
  }
  // Cut to cchBufferMax - 1 bytes, but never inside a UTF-8 sequence.
  size_t n = std::min(it->second.size(), static_cast<size_t>(cchBufferMax - 1));
  if (n < it->second.size())
    while (n > 0 && (static_cast<unsigned char>(it->second[n]) & 0xC0) == 0x80) --n;
  std::memcpy(lpBuffer, it->second.data(), n);
  lpBuffer[n] = '\0';
  return static_cast<int>(n);
}
}
