#include "platform/registry/reg_text.h"

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/registry/registry.h"

namespace platform::registry {

namespace {

// Lines of hex data are wrapped so that none, backslash included, is longer
// than this (the Windows editor's width).
constexpr size_t kHexLineWidth = 80;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHexNumber(std::string_view s, uint32_t* out) {
  if (s.empty() || s.size() > 8) return false;
  uint32_t v = 0;
  for (char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  *out = v;
  return true;
}

// "xx,xx,..." with optional blanks around the bytes; an empty list is zero
// bytes. Every byte must be exactly two hex digits (odd lengths are bad).
bool ParseHexList(std::string_view s, std::string* out) {
  out->clear();
  s = Trim(s);
  if (s.empty()) return true;
  size_t start = 0;
  while (true) {
    size_t comma = s.find(',', start);
    std::string_view tok = Trim(s.substr(start, comma == std::string_view::npos ? s.npos : comma - start));
    if (tok.size() != 2) return false;
    const int hi = HexDigit(tok[0]);
    const int lo = HexDigit(tok[1]);
    if (hi < 0 || lo < 0) return false;
    out->push_back(static_cast<char>((hi << 4) | lo));
    if (comma == std::string_view::npos) return true;
    start = comma + 1;
  }
}

// Reads a quoted, escaped text starting at s[0] == '"'. Only \\ and \" are
// escapes; anything else after a backslash is not ours and fails the line.
// On success `rest` is what follows the closing quote.
bool ParseQuoted(std::string_view s, std::string* out, std::string_view* rest) {
  out->clear();
  if (s.empty() || s.front() != '"') return false;
  for (size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      *rest = s.substr(i + 1);
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= s.size()) return false;
      const char e = s[++i];
      if (e != '\\' && e != '"') return false;
      out->push_back(e);
    } else {
      out->push_back(c);
    }
  }
  return false;  // no closing quote
}

// The components after the hive name of "[HIVE\A\B]"'s inner text, strictly:
// no empty component, limits of key_tree.h.
bool ParseSectionPath(std::string_view inner, std::string_view hiveName, KeyPath* path) {
  path->clear();
  size_t start = 0;
  bool first = true;
  while (true) {
    const size_t end = inner.find('\\', start);
    std::string_view part = inner.substr(start, end == std::string_view::npos ? inner.npos : end - start);
    if (part.empty()) return false;
    if (first) {
      if (FoldName(part) != FoldName(hiveName)) return false;
      first = false;
    } else {
      if (part.size() > kMaxKeyNameLength || path->size() >= kMaxKeyDepth) return false;
      path->emplace_back(part);
    }
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Splits the text into physical lines (without their '\n').
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// A value's data text after '='. Returns false when it is not one of the
// forms we write.
bool ParseData(std::string_view data, uint32_t* type, std::string* bytes) {
  if (!data.empty() && data.front() == '"') {
    std::string_view rest;
    if (!ParseQuoted(data, bytes, &rest) || !Trim(rest).empty()) return false;
    *type = REG_SZ;
    return true;
  }
  if (StartsWithNoCase(data, "dword:")) {
    uint32_t v = 0;
    if (!ParseHexNumber(Trim(data.substr(6)), &v)) return false;
    *type = REG_DWORD;
    bytes->assign({static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                   static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)});
    return true;
  }
  if (StartsWithNoCase(data, "hex:")) {
    *type = REG_BINARY;
    return ParseHexList(data.substr(4), bytes);
  }
  if (StartsWithNoCase(data, "hex(")) {
    const size_t close = data.find("):");
    if (close == std::string_view::npos) return false;
    if (!ParseHexNumber(data.substr(4, close - 4), type)) return false;
    if (!ParseHexList(data.substr(close + 2), bytes)) return false;
    if (*type == REG_SZ || *type == REG_EXPAND_SZ) {
      const size_t nul = bytes->find('\0');
      if (nul != std::string::npos) bytes->resize(nul);
    }
    return true;
  }
  return false;
}

bool IsHexData(std::string_view data) { return StartsWithNoCase(data, "hex"); }

// A continuation must not swallow what plainly starts a new entry (a file
// cut in the middle of a hex value and written on afterwards).
bool StartsNewEntry(std::string_view line) {
  return !line.empty() && (line.front() == '[' || line.front() == '"' || line.front() == '@');
}

void AppendEscaped(std::string* out, std::string_view s) {
  for (char c : s) {
    if (c == '\\' || c == '"') out->push_back('\\');
    out->push_back(c);
  }
}

void AppendHex(std::string* out, std::string_view prefix, std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  out->append(prefix);
  size_t column = prefix.size();
  for (size_t i = 0; i < bytes.size(); ++i) {
    const bool last = i + 1 == bytes.size();
    const size_t width = last ? 2 : 3;
    // Leave room for the continuation backslash.
    if (column + width > kHexLineWidth - 1) {
      out->append("\\\n  ");
      column = 2;
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    out->push_back(kDigits[b >> 4]);
    out->push_back(kDigits[b & 0xF]);
    if (!last) out->push_back(',');
    column += width;
  }
  out->push_back('\n');
}

void AppendValue(std::string* out, const RegValue& value) {
  std::string prefix;
  if (value.name.empty()) {
    prefix = "@=";
  } else {
    prefix = "\"";
    AppendEscaped(&prefix, value.name);
    prefix += "\"=";
  }
  const std::string_view data = value.data;
  if (value.type == REG_SZ && data.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos) {
    out->append(prefix);
    out->push_back('"');
    AppendEscaped(out, data);
    out->append("\"\n");
    return;
  }
  if (value.type == REG_DWORD && data.size() == 4) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
    char buf[16];
    snprintf(buf, sizeof buf, "dword:%08x\n", v);
    out->append(prefix);
    out->append(buf);
    return;
  }
  if (value.type == REG_BINARY) {
    AppendHex(out, prefix + "hex:", data);
    return;
  }
  char typeText[24];
  snprintf(typeText, sizeof typeText, "hex(%x):", value.type);
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
    std::string withNul(data);
    withNul.push_back('\0');
    AppendHex(out, prefix + typeText, withNul);
  } else {
    AppendHex(out, prefix + typeText, data);
  }
}

}  // namespace

RegKey ParseHiveText(std::string_view text, std::string_view hiveName, ParseReport* report) {
  ParseReport local;
  ParseReport& rep = report ? *report : local;
  rep = ParseReport{};
  RegKey root;

  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::vector<std::string_view> lines = SplitLines(text);
  size_t i = 0;
  if (!lines.empty() && Trim(lines[0]) == kRegFileHeader) {
    i = 1;
  } else if (!text.empty()) {
    rep.missingHeader = true;
  }

  RegKey* current = nullptr;  // null: before any section or inside a bad one
  for (; i < lines.size(); ++i) {
    std::string_view line = Trim(lines[i]);
    if (line.empty() || line.front() == ';') continue;
    if (line.find('\0') != std::string_view::npos) {
      ++rep.badLines;
      continue;
    }
    if (line.front() == '[') {
      current = nullptr;
      KeyPath path;
      if (line.size() < 2 || line.back() != ']' || !ParseSectionPath(line.substr(1, line.size() - 2), hiveName, &path)) {
        ++rep.badLines;
        continue;
      }
      RegKey* key = &root;
      for (const std::string& part : path) key = &key->ChildOrAdd(part, nullptr);
      current = key;
      continue;
    }

    // A value line: @=data or "name"=data.
    std::string name;
    std::string_view rest;
    bool nameOk = false;
    if (line.front() == '@') {
      rest = line.substr(1);
      nameOk = true;
    } else if (line.front() == '"') {
      nameOk = ParseQuoted(line, &name, &rest) && !name.empty() && IsValidValueName(name);
    }
    rest = Trim(rest);
    if (!nameOk || rest.empty() || rest.front() != '=') {
      ++rep.badLines;
      continue;
    }
    std::string_view data = Trim(rest.substr(1));
    std::string joined;
    if (IsHexData(data) && !data.empty() && data.back() == '\\') {
      joined.assign(data.substr(0, data.size() - 1));
      while (i + 1 < lines.size()) {
        std::string_view next = Trim(lines[i + 1]);
        if (StartsNewEntry(next)) break;
        ++i;
        if (!next.empty() && next.back() == '\\') {
          joined.append(next.substr(0, next.size() - 1));
        } else {
          joined.append(next);
          break;
        }
      }
      data = joined;
    }
    uint32_t type = 0;
    std::string bytes;
    if (!current || data.find('\0') != std::string_view::npos || !ParseData(data, &type, &bytes)) {
      ++rep.badLines;
      continue;
    }
    current->SetValue(name, type, std::move(bytes));
  }
  return root;
}

std::string FormatHiveText(const RegKey& root, std::string_view hiveName) {
  std::string out(kRegFileHeader);
  out.append("\n\n");
  // Pre-order walk with an explicit stack (depth is bounded, but a stack
  // keeps the cost of a deep tree off the call stack).
  struct Item {
    const RegKey* key;
    std::string path;
  };
  std::vector<Item> stack;
  stack.push_back({&root, std::string(hiveName)});
  while (!stack.empty()) {
    Item item = std::move(stack.back());
    stack.pop_back();
    if (item.key != &root || !item.key->values.empty()) {
      out.push_back('[');
      out.append(item.path);
      out.append("]\n");
      for (const auto& [folded, value] : item.key->values) AppendValue(&out, value);
      out.push_back('\n');
    }
    for (auto it = item.key->children.rbegin(); it != item.key->children.rend(); ++it) {
      stack.push_back({&it->second, item.path + "\\" + it->second.name});
    }
  }
  return out;
}

}  // namespace platform::registry
