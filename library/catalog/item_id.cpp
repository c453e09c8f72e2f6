// Encoding and decoding of the item layout (see item_id.h for the byte map).
// Every read goes through the small byte helpers below, field by field, with
// the item's cb as the bound; no struct is ever laid over item bytes.
#include "library/catalog/item_id.h"

#include <cstdio>
#include <cstring>

#include "library/catalog/settings.h"
#include "library/shell/module_state.h"

namespace {

// Offsets inside one item.
constexpr size_t kOffCb = 0;       // uint16 cb
constexpr size_t kOffKind = 2;     // uint32 kind
constexpr size_t kOffPayload = 6;  // payload

// Offsets inside the KIND_COLUMN numeric header (relative to the payload).
constexpr size_t kColDataType = 0;       // int16
constexpr size_t kColReserved = 2;       // 2 bytes, written 0
constexpr size_t kColColumnSize = 4;     // int32
constexpr size_t kColBufferLength = 8;   // int32
constexpr size_t kColDecimalDigits = 12; // int16
constexpr size_t kColRadix = 14;         // int16
constexpr size_t kColKeySequence = 16;   // int16
constexpr size_t kColNullable = 18;      // uint8

// Largest cb a 16-bit field can state.
constexpr size_t kMaxItemSize = 0xFFFF;

const uint8_t* Bytes(LPCITEMIDLIST p) { return reinterpret_cast<const uint8_t*>(p); }

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
void WriteU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void WriteU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t ItemCb(LPCITEMIDLIST item) { return ReadU16(Bytes(item) + kOffCb); }

// Number of stored strings (after any fixed header) per kind; 0 for others.
int StringCount(uint32_t kind) {
  switch (kind) {
    case KIND_DSN: return 3;
    case KIND_TABLE: return 5;
    case KIND_PROCEDURE: return 5;
    case KIND_COLUMN: return 3;
    case KIND_PROCCOLUMN: return 6;
    default: return 0;
  }
}
size_t FixedHeaderSize(uint32_t kind) { return kind == KIND_COLUMN ? kColumnHeaderSize : 0; }

// The stored string number `n` of an item, checked against cb: null when the
// item is damaged (too short, a string without its NUL inside cb) or the
// value is absent. `wellFormed`, when given, reports whether the walk up to
// and including string n found every string intact.
const char* StoredString(LPCITEMIDLIST item, int n, bool* wellFormed = nullptr) {
  if (wellFormed) *wellFormed = false;
  if (!item || n < 0) return nullptr;
  const size_t cb = ItemCb(item);
  if (cb < kOffPayload) return nullptr;
  const uint32_t kind = ReadU32(Bytes(item) + kOffKind);
  if (n >= StringCount(kind)) return nullptr;
  const uint8_t* base = Bytes(item);
  size_t pos = kOffPayload + FixedHeaderSize(kind);
  for (int i = 0;; ++i) {
    // A string needs at least its mark and its NUL.
    if (pos + 2 > cb) return nullptr;
    const void* nul = std::memchr(base + pos + 1, 0, cb - pos - 1);
    if (!nul) return nullptr;
    const size_t end = static_cast<size_t>(static_cast<const uint8_t*>(nul) - base);
    if (i == n) {
      if (wellFormed) *wellFormed = true;
      if (base[pos] == '0') return nullptr;
      return reinterpret_cast<const char*>(base + pos + 1);
    }
    pos = end + 1;
  }
}

// Length of a stored string: mark + text + NUL, or mark + NUL when absent.
size_t StoredLength(const char* s) { return s ? std::strlen(s) + 2 : 2; }

uint8_t* PutString(uint8_t* p, const char* s, const std::string& suffix = std::string()) {
  if (!s) {
    *p++ = '0';
    *p++ = 0;
    return p;
  }
  *p++ = '1';
  const size_t n = std::strlen(s);
  std::memcpy(p, s, n);
  p += n;
  std::memcpy(p, suffix.data(), suffix.size());
  p += suffix.size();
  *p++ = 0;
  return p;
}

// One string to be stored, with an optional suffix appended before its NUL
// (a null text stays absent and gets no suffix).
struct Field {
  const char* text;
  std::string suffix;
};

// Allocates an item of `kind` with the given fixed header bytes and strings,
// followed by the list terminator. Null when the item would overflow cb or
// the allocator fails.
LPITEMIDLIST BuildItem(uint32_t kind, const uint8_t* header, size_t headerSize, const Field* fields, int count) {
  size_t payload = headerSize;
  for (int i = 0; i < count; ++i) {
    payload += StoredLength(fields[i].text) + (fields[i].text ? fields[i].suffix.size() : 0);
  }
  const size_t cb = kOffPayload + payload;
  if (cb > kMaxItemSize) return nullptr;
  auto* block = static_cast<uint8_t*>(ShellAllocator()->Alloc(cb + 2));
  if (!block) return nullptr;
  WriteU16(block + kOffCb, static_cast<uint16_t>(cb));
  WriteU32(block + kOffKind, kind);
  uint8_t* p = block + kOffPayload;
  if (headerSize) std::memcpy(p, header, headerSize);
  p += headerSize;
  for (int i = 0; i < count; ++i) p = PutString(p, fields[i].text, fields[i].text ? fields[i].suffix : std::string());
  WriteU16(p, 0);
  return reinterpret_cast<LPITEMIDLIST>(block);
}

void EncodeColumnHeader(uint8_t* h, const ColumnHeader& c) {
  WriteU16(h + kColDataType, static_cast<uint16_t>(c.dataType));
  WriteU16(h + kColReserved, 0);
  WriteU32(h + kColColumnSize, static_cast<uint32_t>(c.columnSize));
  WriteU32(h + kColBufferLength, static_cast<uint32_t>(c.bufferLength));
  WriteU16(h + kColDecimalDigits, static_cast<uint16_t>(c.decimalDigits));
  WriteU16(h + kColRadix, static_cast<uint16_t>(c.radix));
  WriteU16(h + kColKeySequence, static_cast<uint16_t>(c.keySequence));
  h[kColNullable] = c.nullable;
}

// True when a KIND_COLUMN item is long enough to hold its numeric header.
bool HasColumnHeader(LPCITEMIDLIST item) {
  return GetItemKind(item) == KIND_COLUMN && ItemCb(item) >= kOffPayload + kColumnHeaderSize;
}

// Walks a list in memory: calls visit(item) for each item until the
// terminator; returns the list size, or 0 when the walk met a cb of 1 or
// ran beyond kMaxIdListSize. visit returning false stops early (size 0).
template <typename Visit>
size_t WalkList(LPCITEMIDLIST list, Visit visit) {
  if (!list) return 0;
  size_t offset = 0;
  for (;;) {
    if (offset + 2 > kMaxIdListSize) return 0;
    const auto* item = reinterpret_cast<LPCITEMIDLIST>(Bytes(list) + offset);
    const uint16_t cb = ItemCb(item);
    if (cb == 0) return offset + 2;
    if (cb < 2) return 0;
    if (!visit(item)) return 0;
    offset += cb;
  }
}

LPCITEMIDLIST FindFirstOfKind(LPCITEMIDLIST list, uint32_t kindA, uint32_t kindB) {
  LPCITEMIDLIST found = nullptr;
  WalkList(list, [&](LPCITEMIDLIST item) {
    const uint32_t k = GetItemKind(item);
    if (k == kindA || k == kindB) {
      found = item;
      return false;
    }
    return true;
  });
  return found;
}

}  // namespace

IMalloc* ShellAllocator() {
  if (g_shellMalloc) return g_shellMalloc;
  // The platform's task allocator is a process-wide singleton; this one
  // reference is kept for the life of the process.
  static IMalloc* const taskAllocator = [] {
    IMalloc* m = nullptr;
    SHGetMalloc(&m);
    return m;
  }();
  return taskAllocator;
}

// ----- builders -------------------------------------------------------------

LPITEMIDLIST CreateDsnItem(const char* name, const char* description, bool user) {
  const Field f[] = {{name, {}}, {description, {}}, {user ? "User" : "System", {}}};
  return BuildItem(KIND_DSN, nullptr, 0, f, 3);
}

LPITEMIDLIST CreateTableItem(const char* catalog, const char* schema, const char* name, const char* tableType,
                             const char* remarks) {
  const Field f[] = {{name, {}}, {catalog, {}}, {schema, {}}, {tableType, {}}, {remarks, {}}};
  return BuildItem(KIND_TABLE, nullptr, 0, f, 5);
}

LPITEMIDLIST CreateProcedureItem(const char* catalog, const char* schema, const char* name,
                                 const char* procedureType, const char* remarks) {
  const Field f[] = {{name, {}}, {catalog, {}}, {schema, {}}, {procedureType, {}}, {remarks, {}}};
  return BuildItem(KIND_PROCEDURE, nullptr, 0, f, 5);
}

LPITEMIDLIST CreateColumnItem(const char*, const char*, const char*, const char* column, int16_t dataType,
                              const char* typeName, int32_t columnSize, int32_t bufferLength, int16_t decimalDigits,
                              int16_t radix, bool nullable, const char* remarks) {
  ColumnHeader c;
  c.dataType = dataType;
  c.columnSize = columnSize;
  c.bufferLength = bufferLength;
  c.decimalDigits = decimalDigits;
  c.radix = radix;
  c.keySequence = 0;
  c.nullable = nullable ? 1 : 0;
  uint8_t header[kColumnHeaderSize];
  EncodeColumnHeader(header, c);
  const Field f[] = {{column, {}},
                     {typeName, FormatSizeSuffix(dataType, columnSize, bufferLength, decimalDigits)},
                     {remarks, {}}};
  return BuildItem(KIND_COLUMN, header, sizeof header, f, 3);
}

LPITEMIDLIST CreateProcColumnItem(int16_t ordinal, const char*, const char*, const char*, const char* column,
                                  const char* columnType, int16_t dataType, const char* typeName,
                                  int32_t columnSize, int32_t bufferLength, int16_t decimalDigits, bool nullable,
                                  const char* remarks) {
  // Right-aligned in three places so that the ninth sorts before the tenth.
  char ordinalText[16];
  std::snprintf(ordinalText, sizeof ordinalText, "%3hd", ordinal);
  const Field f[] = {{column, {}},
                     {columnType, {}},
                     {typeName, FormatSizeSuffix(dataType, columnSize, bufferLength, decimalDigits)},
                     {nullable ? g_settings.yesText : g_settings.noText, {}},
                     {ordinalText, {}},
                     {remarks, {}}};
  return BuildItem(KIND_PROCCOLUMN, nullptr, 0, f, 6);
}

std::string FormatSizeSuffix(int16_t dataType, int32_t columnSize, int32_t bufferLength, int16_t decimalDigits) {
  char text[48];
  switch (dataType) {
    case 2: case 3: case 4: case 5:  // NUMERIC, DECIMAL, INTEGER, SMALLINT
      std::snprintf(text, sizeof text, " (%ld,%ld)", static_cast<long>(columnSize), static_cast<long>(decimalDigits));
      return text;
    case 1: case 12: case -2: case -3: case -8: case -9:  // character and binary: the buffer length
      std::snprintf(text, sizeof text, " (%ld)", static_cast<long>(bufferLength));
      return text;
    case 6: case 7: case 8: case 92: case 93:  // FLOAT, REAL, DOUBLE, TIME, TIMESTAMP
    case 101: case 102: case 103: case 104:    // year, month, day, hour intervals
      std::snprintf(text, sizeof text, " (%ld)", static_cast<long>(columnSize));
      return text;
    default:
      return std::string();
  }
}

const char* ProcedureTypeText(int16_t procedureType, bool isNull) {
  if (!isNull && procedureType == 1) return "Procedure";
  if (!isNull && procedureType == 2) return "Function";
  return "Procedure Type unknown";
}

const char* ProcColumnTypeText(int16_t columnType) {
  switch (columnType) {
    case 0: return "?";
    case 1: return "IN";
    case 2: return "I/O";
    case 3: return "Column";
    case 4: return "OUT";
    case 5: return "Return";
    default: return "";
  }
}

// ----- readers --------------------------------------------------------------

uint32_t GetItemKind(LPCITEMIDLIST item) {
  if (!item || ItemCb(item) < kOffPayload) return 0;
  return ReadU32(Bytes(item) + kOffKind);
}

bool IsDsnItem(LPCITEMIDLIST item) { return GetItemKind(item) == KIND_DSN; }
bool IsTableItem(LPCITEMIDLIST item) { return GetItemKind(item) == KIND_TABLE; }
bool IsColumnItem(LPCITEMIDLIST item) { return GetItemKind(item) == KIND_COLUMN; }
bool IsProcedureItem(LPCITEMIDLIST item) { return GetItemKind(item) == KIND_PROCEDURE; }
bool IsProcColumnItem(LPCITEMIDLIST item) { return GetItemKind(item) == KIND_PROCCOLUMN; }

const char* GetItemText(int index, LPCITEMIDLIST item) {
  if (GetItemKind(item) != KIND_COLUMN) return StoredString(item, index);
  switch (index) {
    case 0: return StoredString(item, 0);
    case 1: return StoredString(item, 1);
    case 2: {
      ColumnHeader c;
      if (!GetColumnHeader(item, &c)) return nullptr;
      return c.nullable ? g_settings.yesText : g_settings.noText;
    }
    case 3: {
      ColumnHeader c;
      if (!GetColumnHeader(item, &c)) return nullptr;
      // Per thread: a result window's worker may read items while the
      // shell's thread does; the caller copies the text before its next call.
      thread_local char keyText[8];
      if (c.keySequence < 1) return "-";
      std::snprintf(keyText, sizeof keyText, "%d", static_cast<int>(c.keySequence));
      return keyText;
    }
    case 4: return StoredString(item, 2);
    default: return nullptr;
  }
}

int GetItemTextCopy(int index, LPCITEMIDLIST item, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  const char* text = GetItemText(index, item);
  if (!text) return 0;
  size_t n = std::strlen(text);
  if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
  std::memcpy(buffer, text, n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

int GetItemNameCopy(LPCITEMIDLIST item, char* buffer, int size) { return GetItemTextCopy(0, item, buffer, size); }

bool GetColumnHeader(LPCITEMIDLIST item, ColumnHeader* out) {
  if (!out || !HasColumnHeader(item)) return false;
  const uint8_t* h = Bytes(item) + kOffPayload;
  out->dataType = static_cast<int16_t>(ReadU16(h + kColDataType));
  out->columnSize = static_cast<int32_t>(ReadU32(h + kColColumnSize));
  out->bufferLength = static_cast<int32_t>(ReadU32(h + kColBufferLength));
  out->decimalDigits = static_cast<int16_t>(ReadU16(h + kColDecimalDigits));
  out->radix = static_cast<int16_t>(ReadU16(h + kColRadix));
  out->keySequence = static_cast<int16_t>(ReadU16(h + kColKeySequence));
  out->nullable = h[kColNullable];
  return true;
}

bool SetColumnHeader(LPITEMIDLIST item, const ColumnHeader& in) {
  if (!HasColumnHeader(item)) return false;
  EncodeColumnHeader(reinterpret_cast<uint8_t*>(item) + kOffPayload, in);
  return true;
}

// ----- list operations ------------------------------------------------------

LPCITEMIDLIST GetNextItem(LPCITEMIDLIST item) {
  if (!item) return nullptr;
  return reinterpret_cast<LPCITEMIDLIST>(Bytes(item) + ItemCb(item));
}

LPITEMIDLIST GetNextItem(LPITEMIDLIST item) {
  return const_cast<LPITEMIDLIST>(GetNextItem(static_cast<LPCITEMIDLIST>(item)));
}

size_t GetIdListSize(LPCITEMIDLIST list) {
  return WalkList(list, [](LPCITEMIDLIST) { return true; });
}

LPCITEMIDLIST FindLastItem(LPCITEMIDLIST list) {
  LPCITEMIDLIST last = nullptr;
  if (WalkList(list, [&](LPCITEMIDLIST item) {
        last = item;
        return true;
      }) == 0)
    return nullptr;
  return last;
}

LPITEMIDLIST FindLastItem(LPITEMIDLIST list) {
  return const_cast<LPITEMIDLIST>(FindLastItem(static_cast<LPCITEMIDLIST>(list)));
}

LPITEMIDLIST CloneIdList(LPCITEMIDLIST list) {
  static const uint8_t kEmpty[2] = {0, 0};
  if (!list) list = reinterpret_cast<LPCITEMIDLIST>(kEmpty);
  const size_t size = GetIdListSize(list);
  if (size == 0) return nullptr;
  void* block = ShellAllocator()->Alloc(size);
  if (!block) return nullptr;
  std::memcpy(block, list, size);
  return static_cast<LPITEMIDLIST>(block);
}

LPITEMIDLIST ConcatIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
  if (!first && !second) return nullptr;
  if (!first) return CloneIdList(second);
  if (!second) return CloneIdList(first);
  const size_t size1 = GetIdListSize(first);
  const size_t size2 = GetIdListSize(second);
  if (size1 == 0 || size2 == 0) return nullptr;
  auto* block = static_cast<uint8_t*>(ShellAllocator()->Alloc(size1 - 2 + size2));
  if (!block) return nullptr;
  std::memcpy(block, first, size1 - 2);
  std::memcpy(block + size1 - 2, second, size2);
  return reinterpret_cast<LPITEMIDLIST>(block);
}

void FreeIdList(LPITEMIDLIST list) {
  if (list) ShellAllocator()->Free(list);
}

// ----- lists from outside ---------------------------------------------------

namespace {

// Checks one item of `cb` bytes at `item` (cb already known to lie within
// the bytes we may read).
bool IsValidItem(const uint8_t* item, size_t cb) {
  if (cb < 2) return false;
  if (cb < kOffPayload) return true;  // too short for a kind: not one of ours
  const uint32_t kind = ReadU32(item + kOffKind);
  const int count = StringCount(kind);
  if (count == 0) return true;  // a foreign item: only its extent matters
  size_t pos = kOffPayload + FixedHeaderSize(kind);
  for (int i = 0; i < count; ++i) {
    if (pos + 2 > cb) return false;
    const void* nul = std::memchr(item + pos + 1, 0, cb - pos - 1);
    if (!nul) return false;
    pos = static_cast<size_t>(static_cast<const uint8_t*>(nul) - item) + 1;
  }
  // Our builders leave nothing after the last string.
  return pos == cb;
}

}  // namespace

size_t GetIdListSizeWithin(const void* bytes, size_t size) {
  if (!bytes) return 0;
  const auto* base = static_cast<const uint8_t*>(bytes);
  size_t offset = 0;
  for (;;) {
    if (offset + 2 > size) return 0;  // terminator missing inside the size
    const uint16_t cb = ReadU16(base + offset);
    if (cb == 0) return offset + 2;
    if (cb > size - offset) return 0;  // item runs past the end
    if (!IsValidItem(base + offset, cb)) return 0;
    offset += cb;
  }
}

bool IsValidIdList(const void* bytes, size_t size) { return GetIdListSizeWithin(bytes, size) != 0; }

LPITEMIDLIST ReadIdList(const void* bytes, size_t size) {
  const size_t n = GetIdListSizeWithin(bytes, size);
  if (n == 0) return nullptr;
  void* block = ShellAllocator()->Alloc(n);
  if (!block) return nullptr;
  std::memcpy(block, bytes, n);
  return static_cast<LPITEMIDLIST>(block);
}

// ----- path readers ---------------------------------------------------------

LPCITEMIDLIST FindDsnItem(LPCITEMIDLIST list) { return FindFirstOfKind(list, KIND_DSN, KIND_DSN); }

LPCITEMIDLIST FindTableOrProcedureItem(LPCITEMIDLIST list) {
  return FindFirstOfKind(list, KIND_TABLE, KIND_PROCEDURE);
}

const char* GetDsnName(LPCITEMIDLIST list) { return GetItemText(0, FindDsnItem(list)); }
const char* GetDsnDescription(LPCITEMIDLIST list) { return GetItemText(1, FindDsnItem(list)); }
const char* GetDsnScope(LPCITEMIDLIST list) { return GetItemText(2, FindDsnItem(list)); }

std::string GetQualifiedName(LPCITEMIDLIST list, bool withSchema) {
  LPCITEMIDLIST item = FindTableOrProcedureItem(list);
  if (!item) return std::string();
  const char* name = GetItemText(0, item);
  std::string result;
  const char* schema = GetItemText(2, item);
  if (withSchema && schema && *schema) {
    result = schema;
    result += '.';
  }
  if (name) result += name;
  return result;
}

int GetFullDisplayName(LPCITEMIDLIST list, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  LPCITEMIDLIST dsnItem = FindDsnItem(list);
  if (!dsnItem) return 0;
  const char* dsn = GetItemText(0, dsnItem);
  std::string text = dsn ? dsn : "";
  if (FindTableOrProcedureItem(list)) {
    text += " : ";
    text += GetQualifiedName(list, true);
  }
  // The whole text or nothing: a cut name would name another object.
  if (text.size() + 1 > static_cast<size_t>(size)) return 0;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}
