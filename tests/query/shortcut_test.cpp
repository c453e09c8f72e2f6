// Shortcut files: the exact layout, UTF-16 files, the 64999-byte cut and the
// Exec command line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "library/query/shortcut_file.h"
#include "tests/support/world.h"

namespace {

std::string Utf16Le(const std::u16string& text, bool byteOrderMark) {
  std::string bytes;
  if (byteOrderMark) bytes += "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

TEST(ShortcutFile, LayoutIsExact) {
  EXPECT_EQ(ShortcutFileText("Demo", "SELECT *\r\nFROM t"),
            "[Datrova Shortcut]\r\nDSN=Demo\r\nSQL=SELECT *\r\nFROM t\r\n");
}

TEST(ShortcutFile, WrittenFileReadsBackUnchanged) {
  TestWorld world;
  const std::string path = world.dataDir() + "/q.dtq";
  const std::string statement = "SELECT a;\r\n-- second\r\nSELECT b FROM t WHERE c = 'x'";
  ASSERT_TRUE(WriteShortcutFile(path, "My DSN", statement));
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes, ShortcutFileText("My DSN", statement));

  ShortcutContents contents;
  ASSERT_TRUE(ReadShortcutFile(path, contents));
  EXPECT_EQ(contents.dataSource, "My DSN");
  EXPECT_EQ(contents.statement, statement);
  EXPECT_FALSE(ReadShortcutFile(world.dataDir() + "/missing.dtq", contents));
}

TEST(ShortcutFile, Utf16WithAndWithoutByteOrderMark) {
  const std::u16string text = u"[Datrova Shortcut]\r\nDSN=Kunden\r\nSQL=SELECT 'Gr\u00FC\u00DFe'\r\n";
  for (bool bom : {false, true}) {
    ShortcutContents contents;
    ASSERT_TRUE(ParseShortcutBytes(Utf16Le(text, bom), contents)) << "bom " << bom;
    EXPECT_EQ(contents.dataSource, "Kunden");
    EXPECT_EQ(contents.statement, "SELECT 'Gr\xC3\xBC\xC3\x9F" "e'");
  }
}

TEST(ShortcutFile, DataSourceEndsAtSeparatorsAndLeadingOnesAreSkipped) {
  ShortcutContents contents;
  ASSERT_TRUE(ParseShortcutBytes("[Datrova Shortcut]\r\nDSN=\tMy Data\tx\r\nSQL=SELECT 1", contents));
  EXPECT_EQ(contents.dataSource, "My Data");
  EXPECT_EQ(contents.statement, "SELECT 1");
}

TEST(ShortcutFile, MissingKeysAreRefused) {
  ShortcutContents contents;
  EXPECT_FALSE(ParseShortcutBytes("[Datrova Shortcut]\r\nDSN=Demo\r\n", contents));
  EXPECT_FALSE(ParseShortcutBytes("[Datrova Shortcut]\r\nSQL=SELECT 1\r\n", contents));
  EXPECT_FALSE(ParseShortcutBytes("", contents));
}

TEST(ShortcutFile, TextIsCutAt64999Bytes) {
  std::string bytes = "[Datrova Shortcut]\r\nDSN=D\r\nSQL=";
  const size_t head = bytes.size();
  bytes += std::string(70000 - head, 'x');
  ShortcutContents contents;
  ASSERT_TRUE(ParseShortcutBytes(bytes, contents));
  EXPECT_EQ(contents.statement.size(), 64999 - head);
}

TEST(ExecCommandLine, PathQuotedOrUpToTheFirstBlank) {
  std::string path;
  ASSERT_TRUE(ParseExecCommandLine("EXEC \"/tmp/my file.dtq\"", path));
  EXPECT_EQ(path, "/tmp/my file.dtq");
  ASSERT_TRUE(ParseExecCommandLine("EXEC /tmp/my file.dtq", path));
  EXPECT_EQ(path, "/tmp/my");
  EXPECT_FALSE(ParseExecCommandLine("EXEC", path));
  EXPECT_FALSE(ParseExecCommandLine("EXEC   ", path));
  EXPECT_FALSE(ParseExecCommandLine("", path));
  EXPECT_FALSE(ParseExecCommandLine(nullptr, path));
}

}  // namespace
