// The INSERT script of a result: one statement per fetched row.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "library/query/text_buffer.h"

// One column of a fetched row as the script writer sees it.
struct InsertCell {
  std::string_view name;  // column name
  int16_t sqlType;        // ODBC SQL type code of the column
  const char* text;       // the cell text; null for SQL NULL
};

// Appends "INSERT INTO XXX (cols) VALUES (values);\r\n" for one row. NULL
// columns are left out of both lists; a row whose columns are all NULL
// writes nothing. Names holding a blank are written as [name]. The table
// name is the literal XXX for the user to edit after pasting. Returns false
// when memory for the buffer cannot be had.
bool AppendInsertRow(TextBuffer& script, std::span<const InsertCell> row);

// How a value of an SQL type is written as a literal.
enum class LiteralKind {
  Quoted,     // 'text' with single quotes doubled
  Verbatim,   // the text as it is (numbers, {d ...} escapes)
  HexBinary,  // X'hex digits' (the driver's character form of binary data)
};
LiteralKind LiteralKindOf(int16_t sqlType);
