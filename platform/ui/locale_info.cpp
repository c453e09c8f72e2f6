// The user's language and list separator, read from the environment the way
// the C library reads it, without touching the process's global locale.
#include <langinfo.h>
#include <locale.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/registry/registry.h"
#include "platform/ui/ui.h"

namespace {

// The first of LC_ALL, LC_MESSAGES, LANG that is set and not empty.
std::string MessagesLocale() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) return v;
  }
  return {};
}

// The decimal separator of the user's numeric locale (LC_ALL, LC_NUMERIC,
// LANG); "." when that locale is not installed.
std::string DecimalSeparator() {
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (!loc) return ".";
  std::string sep = nl_langinfo_l(RADIXCHAR, loc);
  freelocale(loc);
  return sep;
}

std::string ListSeparator() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_QUERY_VALUE, &key) ==
      ERROR_SUCCESS) {
    char value[64] = {};
    DWORD type = 0, size = sizeof value - 1;
    LSTATUS rc = RegQueryValueExA(key, "sList", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (rc == ERROR_SUCCESS && type == REG_SZ && size <= sizeof value - 1) {
      value[size] = '\0';  // a stored value need not carry its terminator
      if (value[0]) return value;
    }
  }
  return DecimalSeparator() == "," ? ";" : ",";
}

DWORD CopyProfileText(const std::string& text, LPSTR out, DWORD size) {
  if (!out || size == 0) return 0;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));  // Windows cuts to size - 1
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<DWORD>(n);
}

}  // namespace

extern "C" {

LANGID GetUserDefaultLangID(void) {
  std::string loc = MessagesLocale();
  if (loc.compare(0, 2, "de") == 0) return MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT);
  return MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT);
}

// One user per process here: the system language is the user's.
LANGID GetSystemDefaultLangID(void) { return GetUserDefaultLangID(); }

DWORD GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                        DWORD nSize) {
  if (lpAppName && lpKeyName && strcasecmp(lpAppName, "intl") == 0 && strcasecmp(lpKeyName, "sList") == 0)
    return CopyProfileText(ListSeparator(), lpReturnedString, nSize);
  return CopyProfileText(lpDefault ? lpDefault : "", lpReturnedString, nSize);
}
}
