// The ".reg" text of one hive: reading it (as hostile input) and writing it.
//
//   Windows Registry Editor Version 5.00
//   <blank line>
//   [HKEY_CURRENT_USER\Software\Brenmoor]
//   @="default value"
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000000a
//   "Blob"=hex:01,02,...,\          (wrapped at 80 columns, continued after
//     ff,00                          two blanks, as the Windows editor does)
//   "Other"=hex(7):61,00,00          (any other type: hex(<type>) and its bytes)
//   <blank line after every section>
//
// Texts are bytes of this platform's ANSI code page (UTF-8) as the A
// functions receive them; REG_EXPAND_SZ and REG_MULTI_SZ keep those bytes in
// their hex(2)/hex(7) form too, so every value reads back exactly as written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/registry/key_tree.h"

namespace platform::registry {

inline constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";

struct ParseReport {
  bool missingHeader = false;
  size_t badLines = 0;  // lines that could not be taken (values of a bad section included)
  bool Damaged() const { return missingHeader || badLines > 0; }
};

// Reads everything that can be read: bad lines and whole bad sections are
// skipped, never fatal. Sections of another hive than `hiveName` are bad.
// No recursion; key depth and name lengths stay within the limits of
// key_tree.h.
RegKey ParseHiveText(std::string_view text, std::string_view hiveName, ParseReport* report);

// The file text of a hive: every key below the root gets its section (so
// empty keys survive), the root only when it holds values.
std::string FormatHiveText(const RegKey& root, std::string_view hiveName);

}  // namespace platform::registry
