#include "library/query/insert_script.h"

#include "library/catalog/odbc_api.h"

#include <cstring>

// Character types (narrow and wide) are quoted; numbers, bits and the date
// and time escapes that the run has already written ({d '...'}, {t '...'},
// {ts '...'}, for the ODBC 2 and ODBC 3 codes alike) go in as they are;
// binary data, which the driver converts to hexadecimal digits, becomes an
// SQL hexadecimal literal. Any other type (GUID, intervals, driver-specific
// codes) is written as quoted text: a valid literal that the target converts,
// never an empty value between two commas.
LiteralKind LiteralKindOf(int16_t sqlType) {
  switch (sqlType) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_BIGINT:
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_INTEGER:
    case SQL_SMALLINT:
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
    case SQL_DATE:
    case SQL_TIME:
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
      return LiteralKind::Verbatim;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return LiteralKind::HexBinary;
    default:
      return LiteralKind::Quoted;
  }
}

namespace {

bool AppendQuoted(TextBuffer& script, const char* text) {
  if (!script.append('\'')) return false;
  for (const char* p = text; *p; ++p) {
    const char* quote = std::strchr(p, '\'');
    if (!quote) return script.append(p) && script.append('\'');
    if (!script.append(std::string_view(p, static_cast<size_t>(quote - p + 1))) || !script.append('\''))
      return false;
    p = quote;
  }
  return script.append('\'');
}

bool AppendValue(TextBuffer& script, const InsertCell& cell) {
  switch (LiteralKindOf(cell.sqlType)) {
    case LiteralKind::Verbatim:
      return script.append(cell.text);
    case LiteralKind::HexBinary:
      return script.append("X'") && script.append(cell.text) && script.append('\'');
    case LiteralKind::Quoted:
      break;
  }
  return AppendQuoted(script, cell.text);
}

bool AppendName(TextBuffer& script, std::string_view name) {
  if (name.find(' ') == std::string_view::npos) return script.append(name);
  return script.append('[') && script.append(name) && script.append(']');
}

}  // namespace

bool AppendInsertRow(TextBuffer& script, std::span<const InsertCell> row) {
  bool anyValue = false;
  for (const auto& cell : row) anyValue = anyValue || cell.text != nullptr;
  if (!anyValue) return true;

  if (!script.append("INSERT INTO XXX (")) return false;
  bool first = true;
  for (const auto& cell : row) {
    if (!cell.text) continue;
    if ((!first && !script.append(',')) || !AppendName(script, cell.name)) return false;
    first = false;
  }
  if (!script.append(") VALUES (")) return false;
  first = true;
  for (const auto& cell : row) {
    if (!cell.text) continue;
    if ((!first && !script.append(',')) || !AppendValue(script, cell)) return false;
    first = false;
  }
  return script.append(");\r\n");
}
