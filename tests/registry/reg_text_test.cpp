// The ".reg" text on its own: hostile input is read as far as it is sound,
// and what is written reads back to the same tree.
#include <gtest/gtest.h>

#include <string>

#include "platform/registry/reg_text.h"
#include "platform/registry/registry.h"

namespace {

using namespace platform::registry;
using namespace std::string_literals;

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";

const RegValue* ValueAt(const RegKey& root, std::initializer_list<const char*> path, const char* name) {
  const RegKey* key = &root;
  for (const char* part : path) {
    key = key->Child(part);
    if (!key) return nullptr;
  }
  return key->Value(name);
}

TEST(RegText, ReadsTheFormsItWrites) {
  const std::string text = kHeader +
                           "; a comment\r\n"
                           "[HKEY_CLASSES_ROOT\\CLSID\\{A}]\r\n"
                           "@=\"Datrova 2.2\"\r\n"
                           "\"Attributes\"=dword:A0000040\r\n"
                           "\"Blob\"=hex:01,02,\\\r\n"
                           "  03\r\n"
                           "\"Multi\"=hex(7):61,00,62,00,00\r\n"
                           "\"Text\"=hex(1):61,0a,00,7a\r\n"
                           "\"Esc\"=\"a\\\\b\\\"c\"\r\n";
  ParseReport report;
  const RegKey root = ParseHiveText(text, "HKEY_CLASSES_ROOT", &report);
  EXPECT_FALSE(report.Damaged()) << report.badLines;
  const auto* def = ValueAt(root, {"clsid", "{a}"}, "");
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(def->data, "Datrova 2.2");
  EXPECT_EQ(ValueAt(root, {"CLSID", "{A}"}, "attributes")->data, "\x40\x00\x00\xA0"s);
  EXPECT_EQ(ValueAt(root, {"CLSID", "{A}"}, "Blob")->data, "\x01\x02\x03"s);
  EXPECT_EQ(ValueAt(root, {"CLSID", "{A}"}, "Multi")->type, REG_MULTI_SZ);
  EXPECT_EQ(ValueAt(root, {"CLSID", "{A}"}, "Multi")->data, "a\0b\0\0"s);
  EXPECT_EQ(ValueAt(root, {"CLSID", "{A}"}, "Text")->type, REG_SZ);
  EXPECT_EQ(ValueAt(root, {"CLSID", "{A}"}, "Text")->data, "a\n");  // up to the first NUL
  EXPECT_EQ(ValueAt(root, {"CLSID", "{A}"}, "Esc")->data, "a\\b\"c");

  // Written and read again, the tree is the same.
  const std::string written = FormatHiveText(root, "HKEY_CLASSES_ROOT");
  ParseReport again;
  const RegKey reread = ParseHiveText(written, "HKEY_CLASSES_ROOT", &again);
  EXPECT_FALSE(again.Damaged());
  EXPECT_EQ(FormatHiveText(reread, "HKEY_CLASSES_ROOT"), written);
}

struct BadInput {
  const char* what;
  std::string lines;  // placed between two good values
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.what; }

class RegTextBadLine : public ::testing::TestWithParam<BadInput> {};

TEST_P(RegTextBadLine, IsSkippedAndReported) {
  const BadInput& c = GetParam();
  const std::string text = kHeader + "[HKEY_CURRENT_USER\\K]\n\"before\"=\"1\"\n" + c.lines +
                           "\n[HKEY_CURRENT_USER\\K]\n\"after\"=\"2\"\n";
  ParseReport report;
  const RegKey root = ParseHiveText(text, "HKEY_CURRENT_USER", &report);
  EXPECT_TRUE(report.Damaged()) << c.what;
  EXPECT_NE(ValueAt(root, {"K"}, "before"), nullptr) << c.what;
  EXPECT_NE(ValueAt(root, {"K"}, "after"), nullptr) << c.what;
}

std::string DeepSection(size_t depth) {
  std::string s = "[HKEY_CURRENT_USER";
  for (size_t i = 0; i < depth; ++i) s += "\\k";
  return s + "]";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegTextBadLine,
    ::testing::Values(BadInput{"odd hex", "\"x\"=hex:0,01"}, BadInput{"hex without comma", "\"x\"=hex:0102"},
                      BadInput{"bad hex digit", "\"x\"=hex:0g"}, BadInput{"trailing comma", "\"x\"=hex:01,"},
                      BadInput{"dword too long", "\"x\"=dword:123456789"}, BadInput{"dword empty", "\"x\"=dword:"},
                      BadInput{"unclosed text", "\"x\"=\"abc"}, BadInput{"unknown escape", "\"x\"=\"a\\tb\""},
                      BadInput{"text then junk", "\"x\"=\"a\" junk"}, BadInput{"no equals", "\"x\" \"y\""},
                      BadInput{"unquoted name", "x=\"y\""}, BadInput{"empty name", "\"\"=\"y\""},
                      BadInput{"delete syntax", "\"x\"=-"}, BadInput{"unknown form", "\"x\"=qword:1"},
                      BadInput{"hex type unclosed", "\"x\"=hex(7:00"},
                      BadInput{"NUL in line", "\"x\"=\"a\0b\""s},
                      BadInput{"missing bracket", "[HKEY_CURRENT_USER\\Other\n\"lost\"=\"1\""},
                      BadInput{"empty component", "[HKEY_CURRENT_USER\\a\\\\b]"},
                      BadInput{"deletion section", "[-HKEY_CURRENT_USER\\K]"},
                      BadInput{"foreign hive", "[HKEY_LOCAL_MACHINE\\K]\n\"x\"=\"1\""},
                      BadInput{"too deep", DeepSection(kMaxKeyDepth + 1)},
                      BadInput{"name too long", "[HKEY_CURRENT_USER\\" + std::string(kMaxKeyNameLength + 1, 'n') + "]"},
                      BadInput{"huge line", "\"x\"=hex:" + std::string(8u << 20, '0')},
                      BadInput{"continuation into a section", "\"x\"=hex:01,\\"}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return "Case" + std::to_string(info.index); });

TEST(RegText, DeepestAllowedKeyRoundTrips) {
  const std::string text = kHeader + DeepSection(kMaxKeyDepth) + "\n\"v\"=\"deep\"\n";
  ParseReport report;
  const RegKey root = ParseHiveText(text, "HKEY_CURRENT_USER", &report);
  EXPECT_FALSE(report.Damaged());
  const RegKey* key = &root;
  size_t depth = 0;
  while (!key->children.empty()) {
    key = &key->children.begin()->second;
    ++depth;
  }
  EXPECT_EQ(depth, kMaxKeyDepth);
  ASSERT_NE(key->Value("v"), nullptr);
  EXPECT_EQ(key->Value("v")->data, "deep");
  EXPECT_NE(FormatHiveText(root, "HKEY_CURRENT_USER").find(DeepSection(kMaxKeyDepth) + "\n\"v\"=\"deep\"\n"),
            std::string::npos);
}

TEST(RegText, EmptyTextIsAnEmptySoundHive) {
  ParseReport report;
  const RegKey root = ParseHiveText("", "HKEY_CURRENT_USER", &report);
  EXPECT_FALSE(report.Damaged());
  EXPECT_TRUE(root.children.empty());
  EXPECT_EQ(FormatHiveText(root, "HKEY_CURRENT_USER"), kHeader);
}

}  // namespace
