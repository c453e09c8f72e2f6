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

// Decodes UTF-8 into `out` as code points, folding case when asked; a byte
// that starts no valid sequence stands for U+FFFD, as the converters do.
// The buffers are reused per thread: sorting a large folder compares the
// same few texts hundreds of thousands of times and must not allocate.
void DecodeUtf8(const char* s, bool fold, locale_t loc, std::wstring& out) {
  out.clear();
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p) {
    char32_t c = *p;
    int extra = 0;
    if (c < 0x80) {
      ++p;
    } else {
      if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
        c &= 0x1F;
      } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        c &= 0x0F;
      } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        c &= 0x07;
      } else {
        extra = -1;
      }
      bool valid = extra > 0;
      for (int i = 1; valid && i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) valid = false;
        else c = (c << 6) | (p[i] & 0x3F);
      }
      if (valid && ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
                    (c >= 0xD800 && c <= 0xDFFF)))
        valid = false;
      if (valid) {
        p += extra + 1;
      } else {
        c = 0xFFFD;
        ++p;
      }
    }
    if (fold) c = static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), loc));
    out.push_back(static_cast<wchar_t>(c));
  }
}

int Compare(LPCSTR a, LPCSTR b, bool ignoreCase) {
  // Windows orders a null string before every other string.
  if (!a || !b) return a == b ? 0 : (a ? 1 : -1);
  locale_t loc = UserCollation();
  thread_local std::wstring wa, wb;
  DecodeUtf8(a, ignoreCase, loc, wa);
  DecodeUtf8(b, ignoreCase, loc, wb);
  int r = loc ? wcscoll_l(wa.c_str(), wb.c_str(), loc) : wcscmp(wa.c_str(), wb.c_str());
  if (r == 0 && !ignoreCase) r = wcscmp(wa.c_str(), wb.c_str());  // equal in collation is not equal bytes
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

}  // namespace

extern "C" {
int lstrcmpA(LPCSTR a, LPCSTR b) { return Compare(a, b, false); }
int lstrcmpiA(LPCSTR a, LPCSTR b) { return Compare(a, b, true); }
}
