// The INF uninstall: a reader of the INF subset that our setup writes and
// the InstallHinfSection entry that runs one of its sections, reached as
//   rundll32 setupapi.dll,InstallHinfSection DefaultUninstall 132 FILE.inf
// ("setupapi.dll" is this platform library).
//
// The subset:
//   ; a comment (outside double quotes) runs to the end of the line
//   [DefaultUninstall]
//   DelFiles=Product.Files          ; sections of files to delete, comma-separated
//   DelReg=Product.Reg              ; sections of registry entries to delete
//   [DestinationDirs]
//   Product.Files=11,ShellExt       ; directory id and an optional subfolder
//   DefaultDestDir=11               ; for file sections without their own line
//   [Product.Files]
//   Datrova.so                      ; a plain file name (first field of the line)
//   [Product.Reg]
//   HKCR,CLSID\{...}                ; root and key: the key with everything below it
//   HKLM,Software\X,DisplayName     ; root, key and value name: that one value
//   [Strings]
//   Name="text"                     ; %Name% elsewhere is replaced, %% is a percent sign
// Directory ids: 1 the folder of the INF file, 11 the system directory.
// Roots: HKCR, HKCU, HKLM (and their long names). Fields may be quoted with
// double quotes ("" inside is one quote). There are no continuation lines.
//
// Everything in the file is treated as hostile: a file name holding a path,
// a subfolder that leaves its directory, a registry line without a key (which
// would name a whole hive) or an unknown root is skipped, never obeyed.
#pragma once

#include <string>
#include <vector>

#include "platform/com/wintypes.h"

namespace platform::setupapi {

// One line of a section: its key (text before "=", empty when there is none)
// and its comma-separated fields, unquoted, with [Strings] put in.
struct InfLine {
  std::string key;
  std::vector<std::string> fields;
};

struct InfSection {
  std::string name;
  std::vector<InfLine> lines;
};

class InfFile {
 public:
  // Reads the file; false when it cannot be read (or is larger than 1 MiB).
  bool Load(const std::string& path);
  // Parses INF text; `directory` is what directory id 1 stands for.
  void Parse(const std::string& text, const std::string& directory);

  // Section names compare without regard to case, as keys do.
  const InfSection* Section(const std::string& name) const;
  // The fields of every line of `section` whose key is `key`, comma lists of
  // several lines joined.
  std::vector<std::string> Values(const std::string& section, const std::string& key) const;
  const std::string& directory() const { return directory_; }

 private:
  std::vector<InfSection> sections_;
  std::string directory_;
};

// What running a section did.
struct InfRunReport {
  std::vector<std::string> deletedFiles;   // full paths
  std::vector<std::string> deletedKeys;    // "HKCR\\key" or "HKLM\\key\\value"
  std::vector<std::string> skipped;        // lines refused or failed, as text
};

// Runs the DelFiles and DelReg directives of `section`. Files and keys that
// are already gone count as done. Returns false when the file or the
// section is missing.
bool RunInfSection(const InfFile& inf, const std::string& section, InfRunReport* report);

}  // namespace platform::setupapi

extern "C" {
// rundll32 entry: the command line is "SECTION MODE PATH" (MODE is the
// reboot and path flags, 132 for an uninstall; nothing here asks for a
// reboot). The path may be in double quotes.
void InstallHinfSectionA(HWND window, HINSTANCE module, LPCSTR commandLine, INT showCommand);
}
