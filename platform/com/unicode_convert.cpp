// UTF-8 <-> UTF-16 with the length and buffer rules of the Windows
// conversion functions. The "ANSI code page" of this platform is UTF-8, so
// CP_ACP and CP_UTF8 mean the same. Malformed input never fails the call
// (unless MB_ERR_INVALID_CHARS asks for that): each maximal ill-formed UTF-8
// subsequence and each unpaired surrogate becomes U+FFFD.
#include <cstring>
#include <string>

#include "platform/com/winbase.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool KnownCodePage(UINT cp) { return cp <= 3 || cp == CP_UTF8; }  // ACP, OEMCP, MACCP, THREAD_ACP

// Decodes UTF-8 into UTF-16. Returns false when invalid input was met and
// `strict` is set.
bool DecodeUtf8(const unsigned char* s, size_t n, bool strict, std::u16string& out) {
  out.clear();
  out.reserve(n);
  size_t i = 0;
  while (i < n) {
    unsigned char c = s[i];
    char32_t cp;
    size_t len;
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    } else {
      if (strict) return false;
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    // Consume continuation bytes as long as they keep the sequence valid; the
    // second byte's range excludes overlongs, surrogates and > U+10FFFF.
    size_t j = 1;
    for (; j < len && i + j < n; ++j) {
      unsigned char b = s[i + j];
      unsigned char lo = 0x80, hi = 0xBF;
      if (j == 1) {
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
      }
      if (b < lo || b > hi) break;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (j < len) {
      if (strict) return false;
      out.push_back(kReplacement);
      i += j;
      continue;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return true;
}

// Encodes UTF-16 as UTF-8; returns whether an unpaired surrogate was replaced.
bool EncodeUtf8(const char16_t* s, size_t n, std::string& out) {
  bool replaced = false;
  out.clear();
  out.reserve(n * 3);
  for (size_t i = 0; i < n; ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
      replaced = true;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return replaced;
}

size_t WideLength(const char16_t* s) {
  size_t n = 0;
  while (s[n]) ++n;
  return n;
}

// Copies a converted text by the Windows rules: size 0 asks for the length,
// a buffer that is too small fails with ERROR_INSUFFICIENT_BUFFER.
template <typename Ch>
int Deliver(const std::basic_string<Ch>& text, Ch* dst, int capacity) {
  if (text.size() > static_cast<size_t>(INT32_MAX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int need = static_cast<int>(text.size());
  if (capacity == 0) return need;
  if (need > capacity) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (need) std::memcpy(dst, text.data(), text.size() * sizeof(Ch));
  return need;
}

constexpr DWORD kMbErrInvalidChars = 0x00000008u;   // MB_ERR_INVALID_CHARS
constexpr DWORD kNoUnicodeTranslation = 1113;        // ERROR_NO_UNICODE_TRANSLATION

}  // namespace

extern "C" {

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int cbMultiByte, LPWSTR dst, int cchWideChar) {
  if (!KnownCodePage(codePage) || !src || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
      (cchWideChar > 0 && !dst) || (cchWideChar > 0 && static_cast<const void*>(src) == dst)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // -1: NUL-terminated, and the terminator is converted and counted.
  size_t n = cbMultiByte == -1 ? std::strlen(src) + 1 : static_cast<size_t>(cbMultiByte);
  std::u16string wide;
  if (!DecodeUtf8(reinterpret_cast<const unsigned char*>(src), n, (flags & kMbErrInvalidChars) != 0, wide)) {
    SetLastError(kNoUnicodeTranslation);
    return 0;
  }
  return Deliver(wide, dst, cchWideChar);
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR src, int cchWideChar, LPSTR dst, int cbMultiByte,
                        LPCSTR /*defaultChar*/, BOOL* usedDefaultChar) {
  if (!KnownCodePage(codePage) || !src || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
      (cbMultiByte > 0 && !dst)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // Every code point exists in UTF-8, so a default character is never needed;
  // it is ignored (rather than refused as Windows does for CP_UTF8, because
  // callers pass it with CP_ACP). Only an unpaired surrogate, which becomes
  // U+FFFD, counts as "used the default".
  size_t n = cchWideChar == -1 ? WideLength(src) + 1 : static_cast<size_t>(cchWideChar);
  std::string narrow;
  bool replaced = EncodeUtf8(src, n, narrow);
  if (usedDefaultChar) *usedDefaultChar = replaced ? TRUE : FALSE;
  return Deliver(narrow, dst, cbMultiByte);
}

int lstrlenW(LPCWSTR s) { return s ? static_cast<int>(WideLength(s)) : 0; }
}
