// Item identifiers of the namespace: one SHITEMID per data source, table,
// procedure, column or procedure column, and lists of them (data source, then
// table or procedure, then column). The layout is a storage format: the shell
// keeps these lists, hands them back and may persist them, so every reader
// checks each length against the item's cb and treats the bytes as hostile.
//
// One item, little-endian, no padding:
//   offset 0  cb    uint16  total size of the item (6 + payload length)
//   offset 2  kind  uint32  one of the KIND_ values below
//   offset 6  payload       cb - 6 bytes, kind-specific
// A list is a run of items ended by a cb of 0 (two zero bytes).
//
// Every stored text is a presence mark ('1' present, '0' absent) followed by
// the text and a NUL; an absent value is the two bytes '0' NUL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/com/shlobj.h"

inline constexpr uint32_t KIND_DSN = 0x0100;
inline constexpr uint32_t KIND_TABLE = 0x0200;
inline constexpr uint32_t KIND_COLUMN = 0x0300;
inline constexpr uint32_t KIND_PROCEDURE = 0x0400;
inline constexpr uint32_t KIND_PROCCOLUMN = 0x0500;

// Size of the cb and kind fields in front of every payload.
inline constexpr size_t kItemHeaderSize = 6;
// Size of the fixed numeric header at the start of a KIND_COLUMN payload.
inline constexpr size_t kColumnHeaderSize = 19;
// Walks over lists give up beyond this many bytes: no list the namespace
// makes comes near it (at most four items of at most 64 KiB each), so a walk
// that gets this far is running through damaged memory.
inline constexpr size_t kMaxIdListSize = 4 * 65536 + 2;

// The fixed numeric header of a KIND_COLUMN item, read and written field by
// field (payload offsets in brackets; bytes [2..3] are reserved, written 0).
struct ColumnHeader {
  int16_t dataType = 0;       // [0]  ODBC SQL data type code
  int32_t columnSize = 0;     // [4]  COLUMN_SIZE, -2 for NULL
  int32_t bufferLength = 0;   // [8]  BUFFER_LENGTH, -2 for NULL
  int16_t decimalDigits = 0;  // [12] DECIMAL_DIGITS, -2 for NULL
  int16_t radix = 0;          // [14] NUM_PREC_RADIX, -2 for NULL
  int16_t keySequence = 0;    // [16] position in the primary key, 0 = none
  uint8_t nullable = 0;       // [18] 1 = NULLABLE was SQL_NULLABLE
};

// The allocator of every item list: g_shellMalloc when the module has one,
// else the platform's task allocator (tests, tools).
IMalloc* ShellAllocator();

// ----- builders: a new one-item list, or null when memory is exhausted or
// the item would not fit the 16-bit cb. Any string may be null (absent).
LPITEMIDLIST CreateDsnItem(const char* name, const char* description, bool user);
LPITEMIDLIST CreateTableItem(const char* catalog, const char* schema, const char* name, const char* tableType,
                             const char* remarks);
LPITEMIDLIST CreateProcedureItem(const char* catalog, const char* schema, const char* name,
                                 const char* procedureType, const char* remarks);
// catalog, schema and table are accepted for symmetry with the catalog call
// and not stored. The key sequence starts at 0 (SetColumnHeader changes it).
LPITEMIDLIST CreateColumnItem(const char* catalog, const char* schema, const char* table, const char* column,
                              int16_t dataType, const char* typeName, int32_t columnSize, int32_t bufferLength,
                              int16_t decimalDigits, int16_t radix, bool nullable, const char* remarks);
// procedure is accepted and not stored.
LPITEMIDLIST CreateProcColumnItem(int16_t ordinal, const char* catalog, const char* schema, const char* procedure,
                                  const char* column, const char* columnType, int16_t dataType, const char* typeName,
                                  int32_t columnSize, int32_t bufferLength, int16_t decimalDigits, bool nullable,
                                  const char* remarks);

// The text appended to a type name: " (size,digits)", " (length)", " (size)"
// or empty, by data type code.
std::string FormatSizeSuffix(int16_t dataType, int32_t columnSize, int32_t bufferLength, int16_t decimalDigits);
// "Procedure" (1), "Function" (2), "Procedure Type unknown" (anything else;
// pass isNull for a NULL PROCEDURE_TYPE).
const char* ProcedureTypeText(int16_t procedureType, bool isNull = false);
// COLUMN_TYPE of the procedure-column catalog: "?", "IN", "I/O", "Column",
// "OUT", "Return" for 0-5, the empty text for anything else.
const char* ProcColumnTypeText(int16_t columnType);

// ----- readers of one item. An item whose cb is below 6, whose strings run
// past its cb or lack their NUL gives null texts; nothing is read beyond cb.
//
// Text `index` of the item, or null when absent or not defined for the kind.
// KIND_COLUMN: 0 name, 1 type text, 2 "Yes"/"No" of the settings, 3 key
// sequence in decimal or "-" below 1 (in a per-thread buffer that the next
// such call on the same thread overwrites), 4 remarks.
const char* GetItemText(int index, LPCITEMIDLIST item);
// Copies text `index` into buffer (cut to size - 1); empty when absent.
// Returns the number of characters copied.
int GetItemTextCopy(int index, LPCITEMIDLIST item, char* buffer, int size);
int GetItemNameCopy(LPCITEMIDLIST item, char* buffer, int size);

// The kind field; 0 for a null pointer or an item too short to hold one.
uint32_t GetItemKind(LPCITEMIDLIST item);
bool IsDsnItem(LPCITEMIDLIST item);
bool IsTableItem(LPCITEMIDLIST item);
bool IsColumnItem(LPCITEMIDLIST item);
bool IsProcedureItem(LPCITEMIDLIST item);
bool IsProcColumnItem(LPCITEMIDLIST item);

// The numeric header of a KIND_COLUMN item; false (nothing done) otherwise.
bool GetColumnHeader(LPCITEMIDLIST item, ColumnHeader* out);
bool SetColumnHeader(LPITEMIDLIST item, const ColumnHeader& in);

// ----- list operations. Lists in memory are ours or were checked with
// IsValidIdList when they came in; the walks still stop at a cb of 1 (which
// cannot hold itself) and at kMaxIdListSize.
//
// The item after `item` (address plus cb); null for null.
LPCITEMIDLIST GetNextItem(LPCITEMIDLIST item);
LPITEMIDLIST GetNextItem(LPITEMIDLIST item);
// Sum of all cb plus 2; 0 for a null list or one that is damaged.
size_t GetIdListSize(LPCITEMIDLIST list);
// The last item with a cb other than 0; null for a null or empty list.
LPCITEMIDLIST FindLastItem(LPCITEMIDLIST list);
LPITEMIDLIST FindLastItem(LPITEMIDLIST list);
// A copy in a new shell-allocated block; null yields the empty list. Null
// only when memory is exhausted or the list is damaged.
LPITEMIDLIST CloneIdList(LPCITEMIDLIST list);
// first's items followed by second's; both null -> null, one null -> a
// clone of the other.
LPITEMIDLIST ConcatIdLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
// Returns the list to the shell allocator; null is ignored.
void FreeIdList(LPITEMIDLIST list);

// ----- lists that arrive from outside (view state streams, files, the
// clipboard): `size` is the number of bytes that may be read.
//
// True when the items and the terminator lie within size, no cb is 1, and
// every item of one of the KIND_ values carries exactly the strings of its
// kind, each with its NUL inside the item (items of other kinds, such as the
// shell's own, are only checked for their extent).
bool IsValidIdList(const void* bytes, size_t size);
// The list's size (terminator included) when it is valid within size, else 0.
size_t GetIdListSizeWithin(const void* bytes, size_t size);
// A shell-allocated copy of a list that IsValidIdList accepts; null otherwise.
LPITEMIDLIST ReadIdList(const void* bytes, size_t size);

// ----- path readers: they walk a list from its first item.
//
// Texts 0, 1, 2 of the first KIND_DSN item; null when there is none.
const char* GetDsnName(LPCITEMIDLIST list);
const char* GetDsnDescription(LPCITEMIDLIST list);
const char* GetDsnScope(LPCITEMIDLIST list);
// The first KIND_DSN item, or null.
LPCITEMIDLIST FindDsnItem(LPCITEMIDLIST list);
// The first KIND_TABLE or KIND_PROCEDURE item, or null.
LPCITEMIDLIST FindTableOrProcedureItem(LPCITEMIDLIST list);
// Name of the first table or procedure, preceded by "schema." when
// withSchema is set and the schema is present and not empty; never quoted,
// never the catalog. Empty when the list has no such item.
std::string GetQualifiedName(LPCITEMIDLIST list, bool withSchema);
// "DSN : schema.name", or the data source name alone when there is no table
// or procedure. Empty buffer and 0 when there is no data source item or the
// text does not fit; otherwise the length written.
int GetFullDisplayName(LPCITEMIDLIST list, char* buffer, int size);
