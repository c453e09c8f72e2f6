// UTF-8 <-> UTF-16 conversions with the Windows length and buffer rules.
#include <gtest/gtest.h>

#include <string>

#include "platform/com/winbase.h"

namespace {

std::u16string ToWide(const std::string& s, int len) {
  int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), len, nullptr, 0);
  std::u16string out(static_cast<size_t>(n), u'\0');
  if (n > 0) {
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, s.data(), len, out.data(), n), n);
  }
  return out;
}

std::string ToNarrow(const std::u16string& s, int len) {
  int n = WideCharToMultiByte(CP_ACP, 0, s.data(), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  if (n > 0) {
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, s.data(), len, out.data(), n, nullptr, nullptr), n);
  }
  return out;
}

struct ValidCase {
  const char* utf8;
  std::u16string utf16;
};

}  // namespace

TEST(TextConvert, RoundTripsValidText) {
  const ValidCase cases[] = {
      {"", u""},
      {"plain", u"plain"},
      {"Gr\xC3\xBC\xC3\x9F" "e", u"Gr\u00FC\u00DFe"},
      {"\xE2\x82\xAC 5", u"\u20AC 5"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},           // a surrogate pair
      {"a\xF4\x8F\xBF\xBFz", u"a\U0010FFFFz"},        // the last code point
      {"\xEF\xBF\xBD", u"\uFFFD"},
  };
  for (const auto& c : cases) {
    const std::string utf8 = c.utf8;
    if (!utf8.empty()) {
      EXPECT_EQ(ToWide(utf8, static_cast<int>(utf8.size())), c.utf16) << utf8;
      EXPECT_EQ(ToNarrow(c.utf16, static_cast<int>(c.utf16.size())), utf8) << utf8;
    }
    // -1: the terminator is converted and counted.
    std::u16string withNul = c.utf16 + u'\0';
    EXPECT_EQ(ToWide(utf8, -1), withNul) << utf8;
    EXPECT_EQ(ToNarrow(withNul, -1), utf8 + '\0') << utf8;
    EXPECT_EQ(lstrlenW(withNul.c_str()), static_cast<int>(c.utf16.size()));
  }
}

TEST(TextConvert, InvalidUtf8BecomesReplacementCharacters) {
  const struct {
    std::string in;
    std::u16string out;
  } cases[] = {
      {"\x80", u"\uFFFD"},                              // lone continuation byte
      {"a\xC3", u"a\uFFFD"},                            // truncated at the end
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                    // overlong '/'
      {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},          // overlong three bytes
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},          // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xE2\x82x", u"\uFFFDx"},                        // maximal subpart, then the next character
      {"\xFF\xFE", u"\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToWide(c.in, static_cast<int>(c.in.size())), c.out) << "input of " << c.in.size() << " bytes";
  }
  // MB_ERR_INVALID_CHARS (8) asks for failure instead.
  char16_t buf[8];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 8, "\x80", 1, buf, 8), 0);
  EXPECT_EQ(GetLastError(), 1113u);
}

TEST(TextConvert, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string in = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  BOOL used = FALSE;
  char buf[32];
  int n = WideCharToMultiByte(CP_UTF8, 0, in.data(), 4, buf, sizeof buf, nullptr, &used);
  EXPECT_EQ(std::string(buf, static_cast<size_t>(n)), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_TRUE(used);
  n = WideCharToMultiByte(CP_UTF8, 0, u"ok", 2, buf, sizeof buf, nullptr, &used);
  EXPECT_EQ(n, 2);
  EXPECT_FALSE(used);
}

TEST(TextConvert, BufferRules) {
  char16_t wide[4] = {u'#', u'#', u'#', u'#'};
  // "\xC3\xA4bc" is four wide characters with the terminator.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA4" "bc", -1, nullptr, 0), 4);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA4" "bc", -1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(wide[3], u'#') << "nothing written past the buffer";
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA4" "bc", -1, wide, 4), 4);
  EXPECT_EQ(std::u16string(wide), u"\u00E4bc");

  char narrow[5] = {'#', '#', '#', '#', '#'};
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E4bc", -1, nullptr, 0, nullptr, nullptr), 5);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u00E4bc", -1, narrow, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  // A surrogate pair does not fit in one wide slot.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, wide, 1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  // Bad arguments.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, wide, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "x", 0, wide, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "x", -2, wide, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(1252, 0, "x", 1, wide, 4), 0);
}

TEST(TextConvert, ComparisonsFoldCaseOnlyWhenAsked) {
  EXPECT_EQ(lstrcmpiA("Stra\xC3\x9F" "e", "STRA\xC3\x9F" "E"), 0);
  EXPECT_EQ(lstrcmpiA("\xC3\x84pfel", "\xC3\xA4PFEL"), 0) << "non-ASCII letters fold too";
  EXPECT_NE(lstrcmpA("abc", "ABC"), 0);
  EXPECT_EQ(lstrcmpA("abc", "abc"), 0);
  EXPECT_LT(lstrcmpA("abc", "abd"), 0);
  EXPECT_GT(lstrcmpiA("abd", "ABC"), 0);
  EXPECT_LT(lstrcmpiA("ab", "abc"), 0);
  EXPECT_LT(lstrcmpA(nullptr, ""), 0);
  EXPECT_EQ(lstrcmpA(nullptr, nullptr), 0);
}
