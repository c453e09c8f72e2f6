// Splitting SQL text into statements and the window title made from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/query/statement_splitter.h"

namespace {

std::vector<std::string> Split(const std::string& text, bool* endedText = nullptr) {
  StatementSplitter splitter(text);
  std::vector<std::string> pieces;
  std::string piece;
  while (splitter.next(piece)) {
    pieces.push_back(piece);
    if (endedText && splitter.lastPieceEndedText()) *endedText = true;
  }
  return pieces;
}

struct SplitCase {
  const char* text;
  std::vector<std::string> pieces;
};

class SplitTable : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, PiecesAreExact) {
  EXPECT_EQ(Split(GetParam().text), GetParam().pieces) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitTable,
    testing::Values(
        SplitCase{"SELECT 1", {"SELECT 1"}},
        SplitCase{"SELECT 1; SELECT 2", {"SELECT 1", "SELECT 2"}},
        SplitCase{"  \r\n;; SELECT 1 ;;\t;", {"SELECT 1 "}},
        SplitCase{"SELECT 'a;b' FROM t; SELECT 2", {"SELECT 'a;b' FROM t", "SELECT 2"}},
        SplitCase{"SELECT 'it''s; here'", {"SELECT 'it''s; here'"}},
        SplitCase{"SELECT \"a;b\"", {"SELECT \"a", "b\""}},  // double quotes have no meaning
        SplitCase{"-- note; here\nSELECT 1; SELECT 2", {"-- note; here\nSELECT 1", "SELECT 2"}},
        SplitCase{"SELECT 1 -- it's; fine\n, 2", {"SELECT 1 -- it's; fine\n, 2"}},
        SplitCase{"SELECT '--;' ; SELECT 3", {"SELECT '--;' ", "SELECT 3"}},
        SplitCase{"SELECT 1 -- trailing; comment", {"SELECT 1 -- trailing; comment"}},
        SplitCase{"SELECT 5 - -3; SELECT 4", {"SELECT 5 - -3", "SELECT 4"}},
        SplitCase{" ; ;\n\t; ", {}}, SplitCase{"", {}}));

TEST(Splitter, ReportsWhetherAPieceEndedTheText) {
  StatementSplitter splitter("SELECT 1; SELECT 2;");
  std::string piece;
  ASSERT_TRUE(splitter.next(piece));
  EXPECT_FALSE(splitter.lastPieceEndedText());
  ASSERT_TRUE(splitter.next(piece));
  EXPECT_TRUE(splitter.lastPieceEndedText()) << "only its ';' follows the last piece";
  EXPECT_FALSE(splitter.next(piece));
}

TEST(Title, CollapsesWhiteSpaceAndCutsAt255Bytes) {
  EXPECT_EQ(StatementTitle(" \r\n SELECT\t*\r\n\r\nFROM  t \n"), "SELECT * FROM t");
  EXPECT_EQ(StatementTitle("a\vb\fc"), "a b c");
  EXPECT_EQ(StatementTitle(std::string(300, 'x')).size(), 255u);
  // A two-byte character across the cut is dropped whole.
  const std::string text = std::string(254, 'x') + "\xC3\xA4" + "yyy";
  const std::string title = StatementTitle(text);
  EXPECT_EQ(title, std::string(254, 'x'));
}

}  // namespace
