// lstrcmpA/lstrcmpiA: comparisons in the user's collation, as Windows makes
// them in the user's locale. The locale is the one the environment names
// (LC_ALL, LC_COLLATE/LC_CTYPE, LANG), opened once with newlocale so that
// the process's global locale is neither read nor changed; when it is not
// installed or not a UTF-8 locale, C.UTF-8 is used, which collates by code
// point. Texts are UTF-8;
// they are decoded to wide characters so that collation and case folding
// (towlower_l, simple one-to-one folding) see whole characters.
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <cwchar>
#include <cwctype>
#include <locale.h>
#include <string>

#include "platform/com/winbase.h"

namespace {

locale_t UserCollation() {
  static locale_t loc = [] {
    locale_t l = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    // Texts are UTF-8 whatever the environment says: a locale of another
    // character set (the plain C locale among them) would not fold
    // non-ASCII letters, so C.UTF-8 stands in for it.
    if (l && std::strcmp(nl_langinfo_l(CODESET, l), "UTF-8") != 0) {
      freelocale(l);
      l = nullptr;
    }
    if (!l) l = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (!l) l = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    return l;  // kept for the life of the process
  }();
  return loc;
}

std::wstring ToWide(const char* s, bool fold, locale_t loc) {
  std::u16string u16;
  int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
  u16.resize(n > 0 ? static_cast<size_t>(n) : 0);
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s, -1, u16.data(), n);
  std::wstring w;
  w.reserve(u16.size());
  for (size_t i = 0; i < u16.size() && u16[i]; ++i) {
    char32_t c = u16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < u16.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (u16[i + 1] - 0xDC00);
      ++i;
    }
    w.push_back(fold ? static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), loc)) : static_cast<wchar_t>(c));
  }
  return w;
}

int Compare(LPCSTR a, LPCSTR b, bool ignoreCase) {
  // Windows orders a null string before every other string.
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  locale_t loc = UserCollation();
  std::wstring wa = ToWide(a, ignoreCase, loc);
  std::wstring wb = ToWide(b, ignoreCase, loc);
  int r = loc ? wcscoll_l(wa.c_str(), wb.c_str(), loc) : wcscmp(wa.c_str(), wb.c_str());
  if (r == 0 && !ignoreCase) r = wcscmp(wa.c_str(), wb.c_str());  // equal in collation is not equal bytes
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

}  // namespace

extern "C" {
int lstrcmpA(LPCSTR a, LPCSTR b) { return Compare(a, b, false); }
int lstrcmpiA(LPCSTR a, LPCSTR b) { return Compare(a, b, true); }
}
