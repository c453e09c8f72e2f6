#include "library/query/rtf_escape.h"

#include <cstdint>
#include <cstdio>

namespace {

// Decodes one valid UTF-8 sequence of two to four bytes at the start of s.
// Returns its length, or 0 when the bytes there are not a valid sequence
// (overlong forms, surrogates and values beyond U+10FFFF are not valid).
size_t DecodeUtf8(std::string_view s, uint32_t& codePoint) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  uint8_t b0 = byte(0);
  size_t length;
  uint32_t cp;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (s.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  codePoint = cp;
  return length;
}

bool AppendUnicodeEscape(TextBuffer& buffer, uint16_t unit) {
  char text[16];
  std::snprintf(text, sizeof text, "\\u%d?", static_cast<int>(static_cast<int16_t>(unit)));
  return buffer.append(text);
}

}  // namespace

bool EscapeRtfText(TextBuffer& buffer, std::string_view cell) {
  // 0: start of the cell, 1: after a control word, 2: after plain output.
  int state = 0;
  auto plain = [&](std::string_view text) {
    if (state != 2) {
      if (!buffer.append(' ')) return false;
      state = 2;
    }
    return buffer.append(text);
  };
  auto control = [&](const char* word) {
    state = 1;
    return buffer.append(word);
  };

  for (size_t i = 0; i < cell.size();) {
    const auto byte = static_cast<uint8_t>(cell[i]);
    bool ok = true;
    if (byte == '\t') {
      ok = control("\\tab");
    } else if (byte == '"') {
      ok = control("\\rdblquote");
    } else if (byte == '\'') {
      ok = control("\\rquote");
    } else if (byte == '\\' || byte == '{' || byte == '}') {
      const char escaped[3] = {'\\', static_cast<char>(byte), '\0'};
      ok = plain(escaped);
    } else if (byte >= 32 && byte <= 122) {
      ok = plain(std::string_view(&cell[i], 1));
    } else {
      uint32_t cp = 0;
      size_t length = byte >= 0x80 ? DecodeUtf8(cell.substr(i), cp) : 0;
      if (length > 0) {
        ok = plain("");
        if (cp >= 0x10000) {
          cp -= 0x10000;
          ok = ok && AppendUnicodeEscape(buffer, static_cast<uint16_t>(0xD800 + (cp >> 10))) &&
               AppendUnicodeEscape(buffer, static_cast<uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
          ok = ok && AppendUnicodeEscape(buffer, static_cast<uint16_t>(cp));
        }
        if (!ok) return false;
        i += length;
        continue;
      }
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(byte));
      ok = plain(hex);
    }
    if (!ok) return false;
    ++i;
  }
  return true;
}
