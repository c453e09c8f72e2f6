// The stored layout of each kind, byte for byte, and the texts read back.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "library/catalog/item_id.h"
#include "library/catalog/settings.h"
#include "platform/com/unknwn.h"
#include "tests/items/item_bytes.h"
#include "tests/support/world.h"

namespace {

std::string Text(int index, LPCITEMIDLIST item) {
  const char* t = GetItemText(index, item);
  return t ? std::string(t) : std::string("<null>");
}

// Every test must give back each block it took from the task allocator.
class ItemLayout : public ::testing::Test {
 protected:
  void SetUp() override { liveBefore_ = PlatformTaskAllocatorLiveBlocks(); }
  void TearDown() override { EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), liveBefore_) << "item list leaked"; }
  long liveBefore_ = 0;
};

TEST_F(ItemLayout, UserDsnWithNullDescriptionIsTheNineteenByteExample) {
  IdListPtr list(CreateDsnItem("X", nullptr, true));
  ASSERT_TRUE(list);
  const Bytes expected = {0x11, 0x00, 0x00, 0x01, 0x00, 0x00, 0x31, 0x58, 0x00, 0x30,
                          0x00, 0x31, 0x55, 0x73, 0x65, 0x72, 0x00, 0x00, 0x00};
  EXPECT_EQ(GetIdListSize(list.get()), 19u);
  EXPECT_EQ(ListBytes(list.get()), expected);
}

TEST_F(ItemLayout, SystemDsnAndTexts) {
  IdListPtr list(CreateDsnItem("Sales", "SQLite3", false));
  ASSERT_TRUE(list);
  EXPECT_EQ(GetItemKind(list.get()), KIND_DSN);
  EXPECT_TRUE(IsDsnItem(list.get()));
  EXPECT_EQ(Text(0, list.get()), "Sales");
  EXPECT_EQ(Text(1, list.get()), "SQLite3");
  EXPECT_EQ(Text(2, list.get()), "System");
  EXPECT_EQ(Text(3, list.get()), "<null>");  // beyond the kind's texts
  EXPECT_EQ(Text(-1, list.get()), "<null>");
}

TEST_F(ItemLayout, NullAndEmptyAreStoredApart) {
  IdListPtr list(CreateTableItem(nullptr, "", "T", nullptr, ""));
  ASSERT_TRUE(list);
  const Bytes expected = {0x11, 0x00, 0x00, 0x02, 0x00, 0x00,  // cb 17, KIND_TABLE
                          '1', 'T', 0,                          // name
                          '0', 0,                               // catalog absent
                          '1', 0,                               // schema empty
                          '0', 0,                               // type absent
                          '1', 0,                               // remarks empty
                          0, 0};
  EXPECT_EQ(ListBytes(list.get()), expected);
  EXPECT_EQ(GetItemText(1, list.get()), nullptr);
  ASSERT_NE(GetItemText(2, list.get()), nullptr);
  EXPECT_STREQ(GetItemText(2, list.get()), "");
}

TEST_F(ItemLayout, TableAndProcedureStoreTheNameFirst) {
  IdListPtr table(CreateTableItem("cat", "dbo", "ORDERS", "VIEW", "all orders"));
  IdListPtr proc(CreateProcedureItem("cat", "dbo", "GetOrder", ProcedureTypeText(2), "one order"));
  ASSERT_TRUE(table && proc);
  EXPECT_TRUE(IsTableItem(table.get()));
  EXPECT_TRUE(IsProcedureItem(proc.get()));
  EXPECT_FALSE(IsTableItem(proc.get()));
  const char* tableTexts[] = {"ORDERS", "cat", "dbo", "VIEW", "all orders"};
  const char* procTexts[] = {"GetOrder", "cat", "dbo", "Function", "one order"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(Text(i, table.get()), tableTexts[i]) << "table text " << i;
    EXPECT_EQ(Text(i, proc.get()), procTexts[i]) << "procedure text " << i;
  }
}

TEST_F(ItemLayout, ColumnHeaderOffsetsAndStrings) {
  IdListPtr list(CreateColumnItem("c", "s", "t", "ID", 12, "VARCHAR", 40, 50, -2, 10, true, nullptr));
  ASSERT_TRUE(list);
  const Bytes expected = {0x2D, 0x00, 0x00, 0x03, 0x00, 0x00,  // cb 45, KIND_COLUMN
                          0x0C, 0x00,                          // data type 12
                          0x00, 0x00,                          // reserved
                          0x28, 0x00, 0x00, 0x00,              // column size 40
                          0x32, 0x00, 0x00, 0x00,              // buffer length 50
                          0xFE, 0xFF,                          // decimal digits -2
                          0x0A, 0x00,                          // radix 10
                          0x00, 0x00,                          // key sequence 0
                          0x01,                                // nullable
                          '1', 'I', 'D', 0,
                          '1', 'V', 'A', 'R', 'C', 'H', 'A', 'R', ' ', '(', '5', '0', ')', 0,
                          '0', 0,
                          0, 0};
  EXPECT_EQ(ListBytes(list.get()), expected);

  ColumnHeader h;
  ASSERT_TRUE(GetColumnHeader(list.get(), &h));
  EXPECT_EQ(h.dataType, 12);
  EXPECT_EQ(h.columnSize, 40);
  EXPECT_EQ(h.bufferLength, 50);
  EXPECT_EQ(h.decimalDigits, -2);
  EXPECT_EQ(h.radix, 10);
  EXPECT_EQ(h.keySequence, 0);
  EXPECT_EQ(h.nullable, 1);
  EXPECT_EQ(Text(0, list.get()), "ID");
  EXPECT_EQ(Text(1, list.get()), "VARCHAR (50)");
  EXPECT_EQ(Text(3, list.get()), "-");
  EXPECT_EQ(Text(4, list.get()), "<null>");
  EXPECT_EQ(Text(5, list.get()), "<null>");

  // The key sequence is changed in place and read back as decimal text.
  h.keySequence = 1;
  ASSERT_TRUE(SetColumnHeader(list.get(), h));
  EXPECT_EQ(Text(3, list.get()), "1");
  EXPECT_EQ(ListBytes(list.get())[22], 0x01);
  h.keySequence = 12;
  ASSERT_TRUE(SetColumnHeader(list.get(), h));
  EXPECT_EQ(Text(3, list.get()), "12");
  EXPECT_EQ(Text(0, list.get()), "ID");  // the strings are untouched
}

TEST_F(ItemLayout, ColumnHeaderIsOnlyForColumns) {
  IdListPtr table(CreateTableItem(nullptr, nullptr, "T", nullptr, nullptr));
  ColumnHeader h;
  h.keySequence = 7;
  EXPECT_FALSE(GetColumnHeader(table.get(), &h));
  EXPECT_FALSE(SetColumnHeader(table.get(), h));
  EXPECT_EQ(h.keySequence, 7);
  EXPECT_EQ(Text(0, table.get()), "T");
  EXPECT_FALSE(GetColumnHeader(nullptr, &h));
  EXPECT_EQ(GetItemKind(nullptr), 0u);
  EXPECT_EQ(GetItemText(0, nullptr), nullptr);
}

TEST_F(ItemLayout, KeySequenceTextIsPerThread) {
  IdListPtr first(CreateColumnItem(nullptr, nullptr, nullptr, "A", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  IdListPtr second(CreateColumnItem(nullptr, nullptr, nullptr, "B", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  ColumnHeader h;
  GetColumnHeader(first.get(), &h);
  h.keySequence = 3;
  SetColumnHeader(first.get(), h);
  h.keySequence = 4;
  SetColumnHeader(second.get(), h);

  const char* mine = GetItemText(3, first.get());
  std::string other;
  std::thread([&] { other = GetItemText(3, second.get()); }).join();
  EXPECT_EQ(other, "4");
  EXPECT_STREQ(mine, "3") << "another thread overwrote this thread's text";
}

TEST_F(ItemLayout, ProcedureColumnTexts) {
  IdListPtr tenth(CreateProcColumnItem(10, "c", "s", "proc", "p1", ProcColumnTypeText(1), 4, "INTEGER", 10, 4, 0,
                                       false, "rem"));
  IdListPtr first(CreateProcColumnItem(1, nullptr, nullptr, nullptr, nullptr, ProcColumnTypeText(5), 12, "VARCHAR",
                                       20, 21, 0, true, nullptr));
  ASSERT_TRUE(tenth && first);
  EXPECT_TRUE(IsProcColumnItem(tenth.get()));
  EXPECT_EQ(Text(0, tenth.get()), "p1");
  EXPECT_EQ(Text(1, tenth.get()), "IN");
  EXPECT_EQ(Text(2, tenth.get()), "INTEGER (10,0)");
  EXPECT_EQ(Text(3, tenth.get()), g_settings.noText);
  EXPECT_EQ(Text(4, tenth.get()), " 10");
  EXPECT_EQ(Text(5, tenth.get()), "rem");
  EXPECT_EQ(Text(0, first.get()), "<null>");
  EXPECT_EQ(Text(1, first.get()), "Return");
  EXPECT_EQ(Text(2, first.get()), "VARCHAR (21)");
  EXPECT_EQ(Text(3, first.get()), g_settings.yesText);
  EXPECT_EQ(Text(4, first.get()), "  1");
  EXPECT_EQ(Text(5, first.get()), "<null>");
  EXPECT_LT(std::string(Text(4, first.get())), std::string(" 10")) << "ordinals must sort as text";
}

TEST(ItemTypeTexts, ProcedureAndColumnTypes) {
  EXPECT_STREQ(ProcedureTypeText(1), "Procedure");
  EXPECT_STREQ(ProcedureTypeText(2), "Function");
  EXPECT_STREQ(ProcedureTypeText(0), "Procedure Type unknown");
  EXPECT_STREQ(ProcedureTypeText(1, true), "Procedure Type unknown");
  const char* expected[] = {"?", "IN", "I/O", "Column", "OUT", "Return", ""};
  for (int16_t t = 0; t <= 6; ++t) EXPECT_STREQ(ProcColumnTypeText(t), expected[t]) << "COLUMN_TYPE " << t;
  EXPECT_STREQ(ProcColumnTypeText(-1), "");
}

struct SuffixCase {
  int16_t type;
  int32_t size;
  int32_t length;
  int16_t digits;
  const char* suffix;
};

TEST(FormatSizeSuffix, ByDataType) {
  const SuffixCase cases[] = {
      {12, 255, 50, 0, " (50)"},       // VARCHAR shows the buffer length
      {1, 10, 11, 0, " (11)"},         // CHAR
      {-2, 8, 9, 0, " (9)"},           // BINARY
      {-3, 8, 16, 0, " (16)"},         // VARBINARY
      {-8, 5, 20, 0, " (20)"},         // WCHAR
      {-9, 5, 22, 0, " (22)"},         // WVARCHAR
      {3, 10, 12, 2, " (10,2)"},       // DECIMAL
      {2, 18, 20, 4, " (18,4)"},       // NUMERIC
      {4, 10, 4, 0, " (10,0)"},        // INTEGER
      {5, 5, 2, 0, " (5,0)"},          // SMALLINT
      {6, 15, 8, 0, " (15)"},          // FLOAT shows the column size
      {7, 7, 4, 0, " (7)"},            // REAL
      {8, 15, 8, 0, " (15)"},          // DOUBLE
      {92, 8, 6, 0, " (8)"},           // TYPE_TIME
      {93, 23, 16, 3, " (23)"},        // TYPE_TIMESTAMP
      {101, 2, 4, 0, " (2)"},          // interval year
      {102, 3, 4, 0, " (3)"},          // interval month
      {103, 4, 4, 0, " (4)"},          // interval day
      {104, 5, 4, 0, " (5)"},          // interval hour
      {12, -2, -2, -2, " (-2)"},       // NULL sizes show as -2
      {3, -2, -2, -2, " (-2,-2)"},
      {91, 10, 6, 0, ""},              // TYPE_DATE
      {-1, 65535, 65535, 0, ""},       // LONGVARCHAR
      {-4, 1, 1, 0, ""}, {-5, 19, 8, 0, ""}, {-6, 3, 1, 0, ""}, {-7, 1, 1, 0, ""}, {-10, 1, 1, 0, ""},
      {9, 10, 6, 0, ""}, {10, 8, 6, 0, ""}, {11, 23, 16, 0, ""}, {105, 2, 4, 0, ""}, {113, 2, 4, 0, ""},
  };
  for (const SuffixCase& c : cases) {
    EXPECT_EQ(FormatSizeSuffix(c.type, c.size, c.length, c.digits), c.suffix) << "data type " << c.type;
  }
}

TEST_F(ItemLayout, TypeTextOfColumnsCarriesTheSuffix) {
  IdListPtr decimal(CreateColumnItem(nullptr, nullptr, nullptr, "P", 3, "DECIMAL", 10, 12, 2, 10, false, nullptr));
  IdListPtr date(CreateColumnItem(nullptr, nullptr, nullptr, "D", 91, "DATE", 10, 6, -2, -2, false, nullptr));
  IdListPtr noType(CreateColumnItem(nullptr, nullptr, nullptr, "N", 12, nullptr, 10, 10, -2, -2, false, nullptr));
  EXPECT_EQ(Text(1, decimal.get()), "DECIMAL (10,2)");
  EXPECT_EQ(Text(1, date.get()), "DATE");
  EXPECT_EQ(Text(1, noType.get()), "<null>") << "an absent type name stays absent";
}

TEST_F(ItemLayout, TextCopiesAreCutAndEmptiedForAbsentValues) {
  IdListPtr list(CreateDsnItem("LongName", nullptr, true));
  char buffer[5] = "zzzz";
  EXPECT_EQ(GetItemNameCopy(list.get(), buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "Long");
  EXPECT_EQ(GetItemTextCopy(1, list.get(), buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetItemTextCopy(2, list.get(), buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "User");
}

TEST_F(ItemLayout, OversizedItemIsRefusedNotTruncated) {
  // cb is 16 bits: a remark that cannot fit must not wrap the length around.
  std::string remarks(70000, 'r');
  EXPECT_EQ(CreateTableItem(nullptr, nullptr, "T", nullptr, remarks.c_str()), nullptr);
  std::string fits(65000, 'r');
  IdListPtr list(CreateTableItem(nullptr, nullptr, "T", nullptr, fits.c_str()));
  ASSERT_TRUE(list);
  EXPECT_EQ(std::string(GetItemText(4, list.get())).size(), fits.size());
}

// The nullable text of a column follows the language the settings were
// loaded in.
class ItemLanguage : public ::testing::TestWithParam<std::pair<UINT, std::pair<const char*, const char*>>> {};

TEST_P(ItemLanguage, NullableTextFollowsTheLanguage) {
  TestWorld world;
  UseLibraryModuleState(GetParam().first);
  IdListPtr yes(CreateColumnItem(nullptr, nullptr, nullptr, "A", 4, "INTEGER", 10, 4, 0, 10, true, nullptr));
  IdListPtr no(CreateColumnItem(nullptr, nullptr, nullptr, "B", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  IdListPtr param(CreateProcColumnItem(1, nullptr, nullptr, nullptr, "p", "IN", 4, "INTEGER", 10, 4, 0, true,
                                       nullptr));
  EXPECT_EQ(Text(2, yes.get()), GetParam().second.first);
  EXPECT_EQ(Text(2, no.get()), GetParam().second.second);
  EXPECT_EQ(Text(3, param.get()), GetParam().second.first);
  UseLibraryModuleState(1000);
}

INSTANTIATE_TEST_SUITE_P(Languages, ItemLanguage,
                         ::testing::Values(std::make_pair(0u, std::make_pair("Ja", "Nein")),
                                           std::make_pair(1000u, std::make_pair("Yes", "No"))));

}  // namespace
