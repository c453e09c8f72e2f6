// List operations and the path readers over whole lists.
#include <gtest/gtest.h>

#include <string>

#include "library/catalog/item_id.h"
#include "platform/com/unknwn.h"
#include "tests/items/item_bytes.h"

namespace {

class ItemLists : public ::testing::Test {
 protected:
  void SetUp() override { liveBefore_ = PlatformTaskAllocatorLiveBlocks(); }
  void TearDown() override { EXPECT_EQ(PlatformTaskAllocatorLiveBlocks(), liveBefore_) << "item list leaked"; }

  static IdListPtr Concat(LPCITEMIDLIST a, LPCITEMIDLIST b) { return IdListPtr(ConcatIdLists(a, b)); }
  // dsn + table (+ column) as the shell would hold it.
  static IdListPtr Path(const char* dsn, const char* schema, const char* table) {
    IdListPtr d(CreateDsnItem(dsn, "driver", true));
    if (!table) return d;
    IdListPtr t(CreateTableItem("cat", schema, table, "TABLE", nullptr));
    return Concat(d.get(), t.get());
  }
  long liveBefore_ = 0;
};

TEST_F(ItemLists, SizesAndWalking) {
  IdListPtr dsn(CreateDsnItem("X", nullptr, true));
  IdListPtr table(CreateTableItem(nullptr, nullptr, "T", nullptr, nullptr));
  IdListPtr both = Concat(dsn.get(), table.get());
  ASSERT_TRUE(both);
  EXPECT_EQ(GetIdListSize(nullptr), 0u);
  EXPECT_EQ(GetIdListSize(dsn.get()), 19u);
  EXPECT_EQ(GetIdListSize(both.get()), GetIdListSize(dsn.get()) - 2 + GetIdListSize(table.get()));

  LPCITEMIDLIST second = GetNextItem(static_cast<LPCITEMIDLIST>(both.get()));
  EXPECT_TRUE(IsTableItem(second));
  EXPECT_EQ(GetItemKind(GetNextItem(second)), 0u) << "the terminator follows";
  EXPECT_EQ(FindLastItem(static_cast<LPCITEMIDLIST>(both.get())), second);
  EXPECT_EQ(FindLastItem(static_cast<LPCITEMIDLIST>(dsn.get())), static_cast<LPCITEMIDLIST>(dsn.get()));
  EXPECT_EQ(FindLastItem(static_cast<LPCITEMIDLIST>(nullptr)), nullptr);
  IdListPtr empty(CloneIdList(nullptr));
  EXPECT_EQ(FindLastItem(static_cast<LPCITEMIDLIST>(empty.get())), nullptr);
}

TEST_F(ItemLists, CloneCopiesEveryByte) {
  IdListPtr path = Path("Sales", "dbo", "ORDERS");
  IdListPtr copy(CloneIdList(path.get()));
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), path.get());
  EXPECT_EQ(ListBytes(copy.get()), ListBytes(path.get()));

  IdListPtr empty(CloneIdList(nullptr));
  ASSERT_TRUE(empty);
  EXPECT_EQ(ListBytes(empty.get()), (Bytes{0, 0}));
}

TEST_F(ItemLists, ConcatOfNullAndEmptyLists) {
  IdListPtr item(CreateDsnItem("X", nullptr, true));
  IdListPtr empty(CloneIdList(nullptr));
  EXPECT_EQ(ConcatIdLists(nullptr, nullptr), nullptr);

  IdListPtr a = Concat(nullptr, item.get());
  IdListPtr b = Concat(item.get(), nullptr);
  IdListPtr c = Concat(empty.get(), item.get());
  IdListPtr d = Concat(item.get(), empty.get());
  for (const IdListPtr* r : {&a, &b, &c, &d}) {
    ASSERT_TRUE(*r);
    EXPECT_NE(r->get(), item.get()) << "a concatenation is always a new block";
    EXPECT_EQ(ListBytes(r->get()), ListBytes(item.get()));
  }
  IdListPtr e = Concat(empty.get(), empty.get());
  EXPECT_EQ(ListBytes(e.get()), (Bytes{0, 0}));
}

TEST_F(ItemLists, ConcatKeepsOrderOfThreeLevels) {
  IdListPtr path = Path("Sales", "dbo", "ORDERS");
  IdListPtr column(CreateColumnItem(nullptr, nullptr, nullptr, "ID", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  IdListPtr full = Concat(path.get(), column.get());
  LPCITEMIDLIST p = full.get();
  EXPECT_TRUE(IsDsnItem(p));
  p = GetNextItem(p);
  EXPECT_TRUE(IsTableItem(p));
  p = GetNextItem(p);
  EXPECT_TRUE(IsColumnItem(p));
  EXPECT_STREQ(GetItemText(0, p), "ID");
  EXPECT_EQ(FindLastItem(static_cast<LPCITEMIDLIST>(full.get())), p);
}

TEST_F(ItemLists, DataSourceTextsOfAPath) {
  IdListPtr path = Path("Sales", "dbo", "ORDERS");
  EXPECT_STREQ(GetDsnName(path.get()), "Sales");
  EXPECT_STREQ(GetDsnDescription(path.get()), "driver");
  EXPECT_STREQ(GetDsnScope(path.get()), "User");
  IdListPtr table(CreateTableItem(nullptr, nullptr, "T", nullptr, nullptr));
  EXPECT_EQ(GetDsnName(table.get()), nullptr);
  EXPECT_EQ(GetDsnName(nullptr), nullptr);
}

struct QualifiedCase {
  const char* schema;
  bool withSchema;
  const char* expected;
};

TEST_F(ItemLists, QualifiedName) {
  const QualifiedCase cases[] = {
      {nullptr, true, "ORDERS"}, {"", true, "ORDERS"}, {"dbo", true, "dbo.ORDERS"}, {"dbo", false, "ORDERS"},
  };
  for (const QualifiedCase& c : cases) {
    IdListPtr path = Path("Sales", c.schema, "ORDERS");
    EXPECT_EQ(GetQualifiedName(path.get(), c.withSchema), c.expected)
        << "schema " << (c.schema ? c.schema : "<null>") << " withSchema " << c.withSchema;
  }
  IdListPtr proc(CreateProcedureItem("cat", "app", "GetOrder", "Procedure", nullptr));
  EXPECT_EQ(GetQualifiedName(proc.get(), true), "app.GetOrder") << "procedures are named the same way";
  IdListPtr dsnOnly = Path("Sales", nullptr, nullptr);
  EXPECT_EQ(GetQualifiedName(dsnOnly.get(), true), "");
  EXPECT_EQ(GetQualifiedName(nullptr, true), "");
}

TEST_F(ItemLists, QualifiedNameSkipsForeignItems) {
  // An absolute list starts with the shell's own items (here a 20-byte item
  // of My Computer); the readers skip what is not theirs.
  Bytes bytes = {0x14, 0x00, 0x1F, 0x50};
  bytes.resize(20, 0xAB);
  IdListPtr path = Path("Sales", "dbo", "ORDERS");
  Bytes tail = ListBytes(path.get());
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  ASSERT_TRUE(IsValidIdList(bytes.data(), bytes.size()));
  EXPECT_EQ(GetQualifiedName(AsList(bytes.data()), true), "dbo.ORDERS");
  EXPECT_STREQ(GetDsnName(AsList(bytes.data())), "Sales");
  EXPECT_EQ(GetIdListSize(AsList(bytes.data())), bytes.size());
}

TEST_F(ItemLists, FullDisplayName) {
  char buffer[260];
  IdListPtr dsnOnly = Path("Sales", nullptr, nullptr);
  EXPECT_EQ(GetFullDisplayName(dsnOnly.get(), buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "Sales");

  IdListPtr path = Path("SALES", "dbo", "ORDERS");
  const std::string expected = "SALES : dbo.ORDERS";
  EXPECT_EQ(GetFullDisplayName(path.get(), buffer, sizeof buffer), static_cast<int>(expected.size()));
  EXPECT_EQ(std::string(buffer), expected);

  // Exactly big enough, then one character too small: all or nothing.
  const int exact = static_cast<int>(expected.size()) + 1;
  EXPECT_EQ(GetFullDisplayName(path.get(), buffer, exact), exact - 1);
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_EQ(GetFullDisplayName(path.get(), buffer, exact - 1), 0);
  EXPECT_STREQ(buffer, "");

  IdListPtr table(CreateTableItem(nullptr, nullptr, "T", nullptr, nullptr));
  std::strcpy(buffer, "old");
  EXPECT_EQ(GetFullDisplayName(table.get(), buffer, sizeof buffer), 0) << "no data source item";
  EXPECT_STREQ(buffer, "");
}

}  // namespace
