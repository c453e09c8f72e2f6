// Text conversions at the UTF-16 boundary and heap blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library/catalog/text_utils.h"

namespace {

TEST(TextUtils, ConversionsRoundTrip) {
  char16_t wide[16];
  EXPECT_EQ(ToWide(wide, "Grüße €", 16), 8);  // 7 characters and the NUL
  EXPECT_EQ(std::u16string(wide), u"Grüße €");
  char ansi[32];
  EXPECT_EQ(ToAnsi(ansi, wide, sizeof ansi), static_cast<int>(std::strlen("Grüße €")) + 1);
  EXPECT_STREQ(ansi, "Grüße €");
}

TEST(TextUtils, DestinationTooSmallStaysEmpty) {
  char16_t wide[4] = u"old";
  EXPECT_EQ(ToWide(wide, "four", 4), 0);
  EXPECT_EQ(wide[0], u'\0') << "a failed conversion must not leave a cut text without its NUL";
  char ansi[4] = "old";
  EXPECT_EQ(ToAnsi(ansi, u"ü€", 4), 0);  // needs 2 + 3 + 1 bytes
  EXPECT_STREQ(ansi, "");
  EXPECT_EQ(ToAnsi(ansi, nullptr, 4), 0);
  EXPECT_STREQ(ansi, "");
}

TEST(TextUtils, HeapBlocksAreReturned) {
  const long before = PlatformHeapLiveBlocks();
  void* block = HeapAllocBlock(100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(PlatformHeapLiveBlocks(), before + 1);
  HeapFreeBlock(block);
  HeapFreeBlock(nullptr);
  {
    HeapBlockPtr<char> owned(static_cast<char*>(HeapAllocBlock(10)));
    EXPECT_EQ(PlatformHeapLiveBlocks(), before + 1);
  }
  EXPECT_EQ(PlatformHeapLiveBlocks(), before);
}

}  // namespace
