// Shortcut files (".dtq"): a data source and a statement in a small text
//
//   [Datrova Shortcut]\r\n
//   DSN=<data source name>\r\n
//   SQL=<statement as the window holds it, line breaks included>\r\n
//
// written in the ANSI code page (UTF-8 here) without a byte order mark.
// Files from editors may come as UTF-16 little endian, with or without a
// byte order mark; the reader converts them.
#pragma once

#include <string>
#include <string_view>

inline constexpr size_t kShortcutBufferSize = 65000;  // bytes read at most
inline constexpr size_t kShortcutTextMax = 64999;     // the last byte of a full buffer is dropped

struct ShortcutContents {
  std::string dataSource;
  std::string statement;
};

// The file's bytes exactly as they are written.
std::string ShortcutFileText(std::string_view dataSource, std::string_view statement);
// Creates or overwrites the file; false when it cannot be written.
bool WriteShortcutFile(const std::string& path, std::string_view dataSource, std::string_view statement);

// Reads the contents from the file's bytes (at most the first 65000, cut at
// 64999). False when "DSN=" or "SQL=" is missing.
bool ParseShortcutBytes(std::string_view bytes, ShortcutContents& contents);
// Opens, reads and parses a file; false when it cannot be read or parsed.
bool ReadShortcutFile(const std::string& path, ShortcutContents& contents);

// The file path of Exec's command line: first word (the verb), then the
// path in double quotes or up to the next blank. False when there is none.
bool ParseExecCommandLine(const char* commandLine, std::string& path);
