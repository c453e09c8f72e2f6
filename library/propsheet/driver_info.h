// The driver information catalog: which SQLGetInfo types the data source
// page shows, in which order, under which label, how each value is fetched
// and turned into text, and which rows form the short list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "library/catalog/odbc_api.h"

// How a row's value is fetched and shown.
enum class InfoKind : uint8_t {
  String,   // character data, shown as the driver returns it
  U16,      // SQLUSMALLINT, unsigned decimal
  I32,      // SQLINTEGER, signed decimal
  Flags16,  // SQLUSMALLINT bit set: the names of every entry whose bits are all set
  Flags32,  // SQLUINTEGER bit set
  Code16,   // SQLUSMALLINT code: the names of the entries equal to the value
  Code32,   // SQLUINTEGER code
};

struct InfoName {
  uint32_t code;
  const char* name;
};

struct InfoNameList {
  const InfoName* names = nullptr;
  size_t count = 0;
};

struct DriverInfoRow {
  SQLUSMALLINT type;  // the SQLGetInfo information type
  const char* label;  // the standard's name of the type, shown in column 0
  InfoKind kind;
  bool inShortList;   // shown by "&Connect" (every row is shown by "&Long list")
  InfoNameList names; // for the flags and code kinds
};

inline constexpr size_t kDriverInfoRowCount = 165;
inline constexpr size_t kShortListRowCount = 24;
extern const DriverInfoRow kDriverInfoRows[kDriverInfoRowCount];

// Size of the buffer a value text is built in, and of the string fetch.
inline constexpr size_t kDecodeBufferSize = 1000;

// Appends `name` to the text in `buffer` (kDecodeBufferSize bytes), after the
// separator " | " when the buffer is not empty. A name is appended only while
// kDecodeBufferSize - current length - length of the name is greater than 5;
// otherwise the buffer stays as it is.
void AppendFlagName(char* buffer, const char* name);

// The value text of a flags or code row for `value`: every matching entry of
// the row's list in list order (flags: all bits of the code set, and a code of
// 0 only for the value 0; codes: equal). Empty when nothing matches. Other
// kinds give their decimal text.
std::string DecodeInfoValue(const DriverInfoRow& row, uint32_t value);

// Fetches and decodes one row through SQLGetInfo on a connected handle.
// False, and nothing written, when the driver rejects the type.
bool FetchInfoRow(SQLHDBC connection, const DriverInfoRow& row, std::string* text);
