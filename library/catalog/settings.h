// The module-wide settings record and the saved logins, kept in the current
// user's registry under "Software\Brenmoor\Datrova" (logins in its subkey
// "DSN", one scrambled 512-byte REG_BINARY value per data source).
#pragma once

#include <cstdint>

#include "platform/com/wintypes.h"

inline constexpr const char* kSettingsKey = "Software\\Brenmoor\\Datrova";
inline constexpr const char* kLoginsKey = "Software\\Brenmoor\\Datrova\\DSN";
inline constexpr int kColumnWidthCount = 19;   // widths kept in memory
inline constexpr int kStoredWidthCount = 13;   // widths stored in "Display Settings"
inline constexpr int kNullValueMax = 128;      // characters of NullValue

struct Settings {
  uint16_t MaxCol = 100;       // most result columns; 0 = no limit
  uint16_t MaxRow = 1000;      // most result rows; 0 = no limit
  uint32_t Timeout = 10;       // login timeout in seconds
  bool ConnectSelect = true;   // result windows keep their connection
  bool ConnectDSN = true;      // catalog connection contexts keep theirs
  bool ShowSysTab = true;      // list every table type
  bool ShowProcs = true;       // list stored procedures
  char NullValue[kNullValueMax + 1] = "(NULL)";
  int32_t columnWidths[kColumnWidthCount] = {100, 100, 100, 100, 100, 100, 100, 100, 100, 100,
                                              100, 100, 100, 100, 100, 100, 100, 100, 100};

  // Values prepared at start-up, read-only afterwards.
  char listSeparator[20] = ",";
  char yesText[255] = "Yes";
  char noText[255] = "No";
  UINT rtfClipboardFormat = 0;
};

// The one settings record of the process.
extern Settings g_settings;

// Reads the record (defaults for anything missing or malformed) and prepares
// the start-up values. Returns whether stored column widths were applied.
bool LoadSettings();
// Writes every value; false only when the key cannot be created.
bool SaveSettings();

// Saved logins. Buffers are emptied first; true when a login was read.
bool LoadLogin(const char* dsn, char* user, int userSize, char* password, int passwordSize);
// Both empty: deletes the saved login. Returns false (and writes nothing)
// when the pair does not fit the 512-byte layout or the registry refuses it.
bool SaveLogin(const char* dsn, const char* user, const char* password);
bool DeleteLogin(const char* dsn);
bool DeleteAllLogins();
