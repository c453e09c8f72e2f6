// The options record in the registry: defaults, limits, round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "library/catalog/settings.h"
#include "library/shell/module_state.h"
#include "platform/registry/registry.h"
#include "platform/ui/ui.h"
#include "tests/settings/registry_values.h"
#include "tests/support/world.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseLibraryModuleState(1000);  // strings and allocator; reads the empty registry
    g_settings = Settings{};
  }
  void TearDown() override { g_settings = Settings{}; }

  static void ExpectDefaults() {
    EXPECT_EQ(g_settings.MaxCol, 100);
    EXPECT_EQ(g_settings.MaxRow, 1000);
    EXPECT_EQ(g_settings.Timeout, 10u);
    EXPECT_TRUE(g_settings.ConnectSelect);
    EXPECT_TRUE(g_settings.ConnectDSN);
    EXPECT_TRUE(g_settings.ShowSysTab);
    EXPECT_TRUE(g_settings.ShowProcs);
    EXPECT_STREQ(g_settings.NullValue, "(NULL)");
    for (int i = 0; i < kColumnWidthCount; ++i) EXPECT_EQ(g_settings.columnWidths[i], 100) << "width " << i;
  }

  TestWorld world_;
};

TEST_F(SettingsTest, FirstStartGivesDefaultsAndWritesNothing) {
  g_settings.MaxCol = 7;
  std::strcpy(g_settings.NullValue, "x");
  g_settings.columnWidths[3] = 5;
  EXPECT_FALSE(LoadSettings());
  ExpectDefaults();
  EXPECT_FALSE(KeyExists(kSettingsKey)) << "loading must not create the key";
  SaveSettings();  // hand back the rich edit library
}

TEST_F(SettingsTest, StartUpValues) {
  SetString("Control Panel\\International", "sList", ";");
  LoadSettings();
  EXPECT_STREQ(g_settings.listSeparator, ";");
  EXPECT_STREQ(g_settings.yesText, "Yes");
  EXPECT_STREQ(g_settings.noText, "No");
  EXPECT_NE(g_settings.rtfClipboardFormat, 0u);
  EXPECT_EQ(g_settings.rtfClipboardFormat, RegisterClipboardFormatA("Rich Text Format"));
  SaveSettings();

  g_languageOffset = 0;
  LoadSettings();
  EXPECT_STREQ(g_settings.yesText, "Ja");
  EXPECT_STREQ(g_settings.noText, "Nein");
  SaveSettings();
  g_languageOffset = 1000;
}

TEST_F(SettingsTest, SaveWritesEveryValueInItsLayout) {
  g_settings.MaxCol = 0;
  g_settings.MaxRow = 65535;
  g_settings.Timeout = 70000;
  g_settings.ConnectSelect = false;
  g_settings.ConnectDSN = true;
  g_settings.ShowSysTab = false;
  g_settings.ShowProcs = false;
  std::strcpy(g_settings.NullValue, "<nichts>");
  for (int i = 0; i < kColumnWidthCount; ++i) g_settings.columnWidths[i] = 10 * i - 5;
  ASSERT_TRUE(SaveSettings());

  EXPECT_EQ(ReadRaw(kSettingsKey, "MaxCol"), (RawValue{REG_DWORD, {0, 0, 0, 0}}));
  EXPECT_EQ(ReadRaw(kSettingsKey, "MaxRow"), (RawValue{REG_DWORD, {0xFF, 0xFF, 0, 0}}));
  EXPECT_EQ(ReadRaw(kSettingsKey, "Timeout"), (RawValue{REG_DWORD, {0x70, 0x11, 0x01, 0}}));
  EXPECT_EQ(ReadRaw(kSettingsKey, "ConnectSelect"), (RawValue{REG_DWORD, {0, 0, 0, 0}}));
  EXPECT_EQ(ReadRaw(kSettingsKey, "ConnectDSN"), (RawValue{REG_DWORD, {1, 0, 0, 0}}));
  EXPECT_EQ(ReadRaw(kSettingsKey, "ShowSysTab"), (RawValue{REG_DWORD, {0, 0, 0, 0}}));
  EXPECT_EQ(ReadRaw(kSettingsKey, "ShowProcs"), (RawValue{REG_DWORD, {0, 0, 0, 0}}));
  const RawValue nullValue = ReadRaw(kSettingsKey, "NullValue");
  EXPECT_EQ(nullValue.type, REG_SZ);
  EXPECT_EQ(std::string(nullValue.data.begin(), nullValue.data.end()), std::string("<nichts>", 9));

  const RawValue display = ReadRaw(kSettingsKey, "Display Settings");
  EXPECT_EQ(display.type, REG_BINARY);
  ASSERT_EQ(display.data.size(), 56u);
  EXPECT_EQ(LE32(display.data, 0), 1) << "format version";
  for (int i = 0; i < kStoredWidthCount; ++i) EXPECT_EQ(LE32(display.data, 4 + 4 * i), 10 * i - 5) << "width " << i;
}

TEST_F(SettingsTest, RoundTripRestoresStoredWidthsOnly) {
  g_settings.MaxCol = 12;
  g_settings.MaxRow = 345;
  g_settings.Timeout = 3;
  g_settings.ConnectSelect = false;
  g_settings.ShowProcs = false;
  std::strcpy(g_settings.NullValue, "");
  for (int i = 0; i < kColumnWidthCount; ++i) g_settings.columnWidths[i] = 200 + i;
  ASSERT_TRUE(SaveSettings());

  g_settings = Settings{};
  PlatformRegistryReset();  // read the hive from its file again
  EXPECT_TRUE(LoadSettings());
  EXPECT_EQ(g_settings.MaxCol, 12);
  EXPECT_EQ(g_settings.MaxRow, 345);
  EXPECT_EQ(g_settings.Timeout, 3u);
  EXPECT_FALSE(g_settings.ConnectSelect);
  EXPECT_TRUE(g_settings.ConnectDSN);
  EXPECT_TRUE(g_settings.ShowSysTab);
  EXPECT_FALSE(g_settings.ShowProcs);
  EXPECT_STREQ(g_settings.NullValue, "") << "an empty NullValue is a value, not a missing one";
  for (int i = 0; i < kStoredWidthCount; ++i) EXPECT_EQ(g_settings.columnWidths[i], 200 + i) << "width " << i;
  for (int i = kStoredWidthCount; i < kColumnWidthCount; ++i) EXPECT_EQ(g_settings.columnWidths[i], 100) << i;
  SaveSettings();
}

TEST_F(SettingsTest, MaxColAndMaxRowTakeTheLowWord) {
  SetDwordValue(kSettingsKey, "MaxCol", 0x00050007u);
  SetDwordValue(kSettingsKey, "MaxRow", 0xFFFF0000u);
  SetDwordValue(kSettingsKey, "ShowSysTab", 0);
  LoadSettings();
  EXPECT_EQ(g_settings.MaxCol, 7);
  EXPECT_EQ(g_settings.MaxRow, 0);
  EXPECT_FALSE(g_settings.ShowSysTab);
  SaveSettings();
}

TEST_F(SettingsTest, ValuesOfTheWrongTypeGiveDefaults) {
  SetString(kSettingsKey, "MaxRow", "5");
  SetBinary(kSettingsKey, "Timeout", {1, 0});
  SetDwordValue(kSettingsKey, "NullValue", 0x41414141u);
  LoadSettings();
  EXPECT_EQ(g_settings.MaxRow, 1000);
  EXPECT_EQ(g_settings.Timeout, 10u);
  EXPECT_STREQ(g_settings.NullValue, "(NULL)");
  SaveSettings();
}

TEST_F(SettingsTest, NullValueLimit) {
  SetString(kSettingsKey, "NullValue", std::string(128, 'n'));
  LoadSettings();
  EXPECT_EQ(std::string(g_settings.NullValue), std::string(128, 'n'));
  SetString(kSettingsKey, "NullValue", std::string(129, 'n'));
  LoadSettings();
  EXPECT_STREQ(g_settings.NullValue, "(NULL)");
  SaveSettings();
}

TEST_F(SettingsTest, DisplaySettingsOfAnotherShapeLeaveWidthsAt100) {
  std::vector<uint8_t> good(56, 0);
  good[0] = 1;
  for (int i = 0; i < kStoredWidthCount; ++i) good[4 + 4 * i] = static_cast<uint8_t>(50 + i);

  struct Case {
    const char* what;
    std::vector<uint8_t> data;
  };
  std::vector<uint8_t> version2 = good;
  version2[0] = 2;
  std::vector<uint8_t> longer = good;
  longer.resize(60, 7);
  std::vector<uint8_t> shorter(good.begin(), good.begin() + 40);
  const Case cases[] = {{"version 2", version2}, {"60 bytes", longer}, {"40 bytes", shorter}};
  for (const Case& c : cases) {
    SetBinary(kSettingsKey, "Display Settings", c.data);
    g_settings.columnWidths[0] = 1;
    EXPECT_FALSE(LoadSettings()) << c.what;
    for (int i = 0; i < kColumnWidthCount; ++i) EXPECT_EQ(g_settings.columnWidths[i], 100) << c.what << " " << i;
  }
  SetBinary(kSettingsKey, "Display Settings", good);
  EXPECT_TRUE(LoadSettings());
  EXPECT_EQ(g_settings.columnWidths[0], 50);
  EXPECT_EQ(g_settings.columnWidths[12], 62);
  EXPECT_EQ(g_settings.columnWidths[13], 100);
  SaveSettings();
}

}  // namespace
