// The driver information catalog as data and its decoding rules, from a
// table of values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library/propsheet/driver_info.h"

namespace {

const DriverInfoRow& RowOf(const char* label) {
  for (const DriverInfoRow& row : kDriverInfoRows)
    if (std::strcmp(row.label, label) == 0) return row;
  ADD_FAILURE() << "no row " << label;
  return kDriverInfoRows[0];
}

TEST(DriverInfoCatalog, ShapeOfTheCatalog) {
  size_t shortRows = 0;
  for (const DriverInfoRow& row : kDriverInfoRows) {
    if (row.inShortList) ++shortRows;
    const bool decoded = row.kind != InfoKind::String && row.kind != InfoKind::U16 && row.kind != InfoKind::I32;
    EXPECT_EQ(decoded, row.names.count > 0) << row.label;
  }
  EXPECT_EQ(kShortListRowCount, shortRows);
  EXPECT_STREQ("SQL_ACCESSIBLE_PROCEDURES", kDriverInfoRows[0].label);
  EXPECT_STREQ("SQL_XOPEN_CLI_YEAR", kDriverInfoRows[kDriverInfoRowCount - 1].label);
  // Two labels end in a blank; type 0 is shown under two names.
  EXPECT_EQ(120, RowOf("SQL_BATCH_ROW_COUNT ").type);
  EXPECT_EQ(60, RowOf("SQL_CONVERT_FLOAT ").type);
  EXPECT_EQ(0, RowOf("SQL_ACTIVE_CONNECTIONS").type);
  EXPECT_EQ(0, RowOf("SQL_MAX_DRIVER_CONNECTIONS").type);
  // The first short row is the data source name.
  for (const DriverInfoRow& row : kDriverInfoRows) {
    if (!row.inShortList) continue;
    EXPECT_STREQ("SQL_DATA_SOURCE_NAME", row.label);
    break;
  }
}

struct DecodeCase {
  const char* label;
  uint32_t value;
  const char* text;
};

TEST(DriverInfoCatalog, DecodesValuesByKind) {
  const DecodeCase cases[] = {
      {"SQL_CURSOR_COMMIT_BEHAVIOR", 0, "DELETE"},
      {"SQL_CURSOR_COMMIT_BEHAVIOR", 1, "CLOSE"},
      {"SQL_IDENTIFIER_CASE", 3, "SENSITIVE"},
      {"SQL_ODBC_INTERFACE_CONFORMANCE", 2, "LEVEL1"},
      {"SQL_GETDATA_EXTENSIONS", 0, "Not supported"},
      {"SQL_GETDATA_EXTENSIONS", 5, "ANY_COLUMN | BLOCK"},
      {"SQL_DYNAMIC_CURSOR_ATTRIBUTES2", 0x80, "MAX_ROWS_SELECT"},
      {"SQL_DYNAMIC_CURSOR_ATTRIBUTES2", 0xF80,
       "MAX_ROWS_SELECT | MAX_ROWS_INSERT | MAX_ROWS_DELETE | MAX_ROWS_UPDATE | MAX_ROWS_CATALOG | "
       "MAX_ROWS_AFFECTS_ALL"},
      {"SQL_FETCH_DIRECTION", 0, ""},
      {"SQL_FETCH_DIRECTION", 0x40, ""},
      {"SQL_BOOKMARK_PERSISTENCE", 3, "CLOSE | DELETE"},
      {"SQL_AGGREGATE_FUNCTIONS", 0x3F, "ALL | AVG | COUNT | DISTINCT | MAX | MIN | SUM"},
      {"SQL_INDEX_KEYWORDS", 1, "ASC"},
      {"SQL_GROUP_BY", 0, "NOT_SUPPORTED"},
      {"SQL_TXN_CAPABLE", 7, ""},
      {"SQL_CONVERT_FLOAT ", 0x101, "CHAR | VARCHAR"},
      {"SQL_MAX_COLUMN_NAME_LEN", 0xFFFF, "65535"},
      {"SQL_MAX_ROW_SIZE", 0xFFFFFFFFu, "-1"},
  };
  for (const DecodeCase& c : cases)
    EXPECT_EQ(c.text, DecodeInfoValue(RowOf(c.label), c.value)) << c.label << " " << c.value;
}

TEST(DriverInfoCatalog, AppendFlagNameStopsBeforeTheBufferFills) {
  char buffer[kDecodeBufferSize] = "";
  AppendFlagName(buffer, "CLOSE");
  AppendFlagName(buffer, "DELETE");
  EXPECT_STREQ("CLOSE | DELETE", buffer);

  // Fill to 990 characters: a name of 4 leaves 1000 - 990 - 4 = 6 > 5 and is
  // appended; then nothing fits any more, and a name of 5 is refused at once.
  std::memset(buffer, 'x', 990);
  buffer[990] = '\0';
  AppendFlagName(buffer, "ABCD");
  EXPECT_EQ(997u, std::strlen(buffer));
  EXPECT_STREQ("x | ABCD", buffer + 989);
  AppendFlagName(buffer, "E");
  EXPECT_EQ(997u, std::strlen(buffer));

  std::memset(buffer, 'x', 990);
  buffer[990] = '\0';
  AppendFlagName(buffer, "ABCDE");  // 1000 - 990 - 5 = 5: refused
  EXPECT_EQ(990u, std::strlen(buffer));
}

}  // namespace
