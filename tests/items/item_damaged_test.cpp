// Damaged lists: lists come back from outside (the shell, view state
// streams, files), so a broken length or a missing NUL must give null texts
// or a refused list, never a read beyond the bytes. Every buffer here is a
// heap block of exactly its size, so AddressSanitizer (items_asan_tests)
// catches any such read.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "library/catalog/item_id.h"
#include "tests/items/item_bytes.h"

namespace {

Bytes DsnBytes() {
  IdListPtr list(CreateDsnItem("X", nullptr, true));
  return ListBytes(list.get());
}

Bytes PathBytes() {
  IdListPtr dsn(CreateDsnItem("Sales", "driver", true));
  IdListPtr table(CreateTableItem("cat", "dbo", "ORDERS", "TABLE", "remarks"));
  IdListPtr column(CreateColumnItem(nullptr, nullptr, nullptr, "ID", 3, "DECIMAL", 10, 12, 2, 10, true, "key"));
  IdListPtr two(ConcatIdLists(dsn.get(), table.get()));
  IdListPtr three(ConcatIdLists(two.get(), column.get()));
  return ListBytes(three.get());
}

uint16_t ReadCb(LPCITEMIDLIST p) {
  const auto* b = reinterpret_cast<const uint8_t*>(p);
  return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

// Reads every text of every item of a list that was accepted.
void ReadEverything(LPCITEMIDLIST list) {
  // The list was validated: the walk ends at its terminator.
  for (LPCITEMIDLIST p = list; ReadCb(p) != 0; p = GetNextItem(p)) {
    for (int i = -1; i < 8; ++i) {
      const char* t = GetItemText(i, p);
      if (t) (void)std::strlen(t);
    }
    ColumnHeader h;
    GetColumnHeader(p, &h);
  }
  (void)GetQualifiedName(list, true);
  char buffer[64];
  GetFullDisplayName(list, buffer, sizeof buffer);
}

TEST(DamagedLists, WellFormedListsAreAccepted) {
  const Bytes dsn = DsnBytes();
  const Bytes path = PathBytes();
  auto a = ExactCopy(dsn);
  auto b = ExactCopy(path);
  EXPECT_TRUE(IsValidIdList(a.get(), dsn.size()));
  EXPECT_EQ(GetIdListSizeWithin(b.get(), path.size()), path.size());
  // Bytes after the terminator are not part of the list.
  Bytes padded = path;
  padded.push_back(0xEE);
  auto c = ExactCopy(padded);
  EXPECT_EQ(GetIdListSizeWithin(c.get(), padded.size()), path.size());
  IdListPtr copy(ReadIdList(c.get(), padded.size()));
  ASSERT_TRUE(copy);
  EXPECT_EQ(ListBytes(copy.get()), path);
}

TEST(DamagedLists, EveryCutShortListIsRefused) {
  const Bytes path = PathBytes();
  for (size_t n = 0; n < path.size(); ++n) {
    Bytes prefix(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(n));
    auto block = ExactCopy(prefix);
    EXPECT_FALSE(IsValidIdList(block.get(), n)) << "accepted " << n << " of " << path.size() << " bytes";
    EXPECT_EQ(ReadIdList(block.get(), n), nullptr);
  }
  EXPECT_FALSE(IsValidIdList(nullptr, 10));
}

TEST(DamagedLists, ItemRunningPastTheEndIsRefused) {
  Bytes bytes = DsnBytes();
  bytes[0] = static_cast<uint8_t>(bytes[0] + 10);  // cb claims 10 bytes more than there are
  auto block = ExactCopy(bytes);
  EXPECT_FALSE(IsValidIdList(block.get(), bytes.size()));
  bytes[0] = 0xFF;
  bytes[1] = 0xFF;
  auto huge = ExactCopy(bytes);
  EXPECT_FALSE(IsValidIdList(huge.get(), bytes.size()));
}

TEST(DamagedLists, MissingTerminatorInsideTheSizeIsRefused) {
  Bytes bytes = DsnBytes();
  bytes.pop_back();
  bytes.pop_back();
  auto block = ExactCopy(bytes);
  EXPECT_FALSE(IsValidIdList(block.get(), bytes.size()));
  // A terminator with only one of its two bytes inside the size.
  Bytes half = DsnBytes();
  half.pop_back();
  auto h = ExactCopy(half);
  EXPECT_FALSE(IsValidIdList(h.get(), half.size()));
}

TEST(DamagedLists, StringWithoutItsNulGivesNullTexts) {
  // One DSN item alone (no terminator in the block): the last string's NUL
  // is overwritten, so its text would run past cb.
  Bytes item = DsnBytes();
  item.resize(17);
  item[16] = 'r';  // "User" loses its NUL
  auto block = ExactCopy(item);
  LPCITEMIDLIST p = AsList(block.get());
  EXPECT_EQ(GetItemKind(p), KIND_DSN);
  EXPECT_STREQ(GetItemText(0, p), "X") << "texts before the damage stay readable";
  EXPECT_EQ(GetItemText(1, p), nullptr);
  EXPECT_EQ(GetItemText(2, p), nullptr);
  char buffer[8] = "old";
  EXPECT_EQ(GetItemTextCopy(2, p, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");

  Bytes list = item;
  list.push_back(0);
  list.push_back(0);
  auto whole = ExactCopy(list);
  EXPECT_FALSE(IsValidIdList(whole.get(), list.size()));
}

TEST(DamagedLists, MissingStringsOrTrailingBytesAreRefused) {
  // A table item whose cb holds only two of its five strings.
  const Bytes shortTable = {0x0C, 0x00, 0x00, 0x02, 0x00, 0x00, '1', 'T', 0, '0', 0, 0, 0, 0};
  auto a = ExactCopy(shortTable);
  EXPECT_FALSE(IsValidIdList(a.get(), shortTable.size()));
  LPCITEMIDLIST p = AsList(a.get());
  EXPECT_STREQ(GetItemText(0, p), "T");
  EXPECT_EQ(GetItemText(2, p), nullptr);
  EXPECT_EQ(GetItemText(4, p), nullptr);
  // Bytes after the last string inside cb.
  Bytes trailing = DsnBytes();
  trailing.insert(trailing.begin() + 17, 0x41);
  trailing[0] = 18;
  auto b = ExactCopy(trailing);
  EXPECT_FALSE(IsValidIdList(b.get(), trailing.size()));
}

TEST(DamagedLists, ItemsTooShortForTheirKind) {
  // cb 4: not even room for the kind.
  const Bytes four = {0x04, 0x00, 0x00, 0x01};
  auto a = ExactCopy(four);
  EXPECT_EQ(GetItemKind(AsList(a.get())), 0u);
  EXPECT_EQ(GetItemText(0, AsList(a.get())), nullptr);
  EXPECT_FALSE(IsDsnItem(AsList(a.get())));
  // cb 6: a kind and no payload.
  const Bytes six = {0x06, 0x00, 0x00, 0x01, 0x00, 0x00};
  auto b = ExactCopy(six);
  EXPECT_EQ(GetItemText(0, AsList(b.get())), nullptr);
  // cb 7: a mark without its NUL.
  const Bytes seven = {0x07, 0x00, 0x00, 0x02, 0x00, 0x00, '1'};
  auto c = ExactCopy(seven);
  EXPECT_EQ(GetItemText(0, AsList(c.get())), nullptr);
  // A column whose cb cannot hold the 19-byte header.
  const Bytes column = {0x10, 0x00, 0x00, 0x03, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  auto d = ExactCopy(column);
  ColumnHeader h;
  EXPECT_FALSE(GetColumnHeader(AsList(d.get()), &h));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(GetItemText(i, AsList(d.get())), nullptr) << "column text " << i;
  // A cb of 1 cannot hold itself.
  const Bytes one = {0x01, 0x00, 0x00, 0x00};
  auto e = ExactCopy(one);
  EXPECT_FALSE(IsValidIdList(e.get(), one.size()));
  EXPECT_EQ(GetIdListSize(AsList(e.get())), 0u);
}

TEST(DamagedLists, RandomDamageNeverReadsOutside) {
  // Flip bytes of a valid path at random: whatever the validator accepts must
  // read back without touching anything outside the block.
  const Bytes path = PathBytes();
  std::mt19937 rng(20240611);
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    Bytes damaged = path;
    const int flips = 1 + static_cast<int>(rng() % 3);
    for (int f = 0; f < flips; ++f) damaged[rng() % damaged.size()] = static_cast<uint8_t>(rng());
    if (rng() % 4 == 0) damaged.resize(rng() % damaged.size());
    auto block = ExactCopy(damaged);
    // Single-item readers bound themselves by cb, which must lie inside.
    if (IsValidIdList(block.get(), damaged.size())) {
      ++accepted;
      ReadEverything(AsList(block.get()));
      IdListPtr copy(ReadIdList(block.get(), damaged.size()));
      ASSERT_TRUE(copy);
      ReadEverything(copy.get());
    }
  }
  EXPECT_GT(accepted, 0) << "the damage should leave some lists intact (changed text bytes)";
}

}  // namespace
