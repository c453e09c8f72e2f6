// DllRegisterServer and DllUnregisterServer of the loaded library, checked by
// reading the hive files back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "library/catalog/settings.h"
#include "platform/loader/loader.h"
#include "tests/registration/hive_reader.h"
#include "tests/registration/registration_support.h"
#include "tests/support/world.h"

namespace {

constexpr const char* kClsid = "{5C7E2A14-9B3D-4F61-A8E2-3D9C0B6F1E47}";
const std::string kClassKey = std::string("CLSID\\") + kClsid;
const std::string kJunctionKey =
    std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\") + kClsid;
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Datrova";
constexpr const char* kApprovedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

struct Texts {
  std::string infoTip, verb, fileType;
};
const Texts kEnglish{"The Datrova shows the structure and data of ODBC-Datasources.", "&Execute", "Datrova-Shortcut"};
const Texts kGerman{"Der Datrova zeigt die Struktur und die Daten von ODBC-Datenquellen.", "&Ausführen",
                    "Datrova-Verknüpfung"};

struct ExpectedValue {
  std::string key;
  std::string value;  // "" is the default value
  std::string data;
};

// Every value registration writes into HKEY_CLASSES_ROOT, for a library at
// `path` in the language of `texts`.
std::vector<ExpectedValue> ClassesRootValues(const std::string& path, const Texts& texts) {
  return {
      {kClassKey, "", "Datrova 2.2"},
      {kClassKey, "InfoTip", texts.infoTip},
      {kClassKey + "\\InprocServer32", "", path},
      {kClassKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {kClassKey + "\\DefaultIcon", "", path + ",0"},
      {kClassKey + "\\shellex\\PropertySheetHandlers\\Datrova", "", kClsid},
      {"Drive\\shellex\\PropertySheetHandlers\\Datrova", "", kClsid},
      {kClassKey + "\\shellex\\ContextMenuHandlers\\Datrova", "", kClsid},
      {".dtq", "", "DatrovaFile"},
      {"DatrovaFile", "", texts.fileType},
      {"DatrovaFile\\CLSID", "", kClsid},
      {"DatrovaFile\\DefaultIcon", "", path + ",1"},
      {"DatrovaFile\\shell\\Exec", "", texts.verb},
      {"DatrovaFile\\shell\\Exec\\Command", "", "rundll32 " + path + ",Exec EXEC \"%1\""},
      {"DatrovaFile\\shellex\\PropertySheetHandlers", "", kClsid},
  };
}

std::vector<ExpectedValue> LocalMachineValues(const std::string& path) {
  return {
      {kJunctionKey, "", "Datrova 2.2"},
      {kUninstallKey, "DisplayName", "Datrova 2.2"},
      {kUninstallKey, "UninstallString", "rundll32.exe " + path + ",DllUnregisterServer"},
      {kApprovedKey, kClsid, "Datrova 2.2"},
  };
}

void ExpectValues(const HiveSnapshot& hive, const std::vector<ExpectedValue>& expected) {
  for (const ExpectedValue& e : expected) {
    const auto text = hive.Text(e.key, e.value);
    ASSERT_TRUE(text.has_value()) << e.key << " value \"" << e.value << "\" is missing";
    EXPECT_EQ(e.data, *text) << e.key << " value \"" << e.value << "\"";
  }
}

class RegistrationTest : public ::testing::Test {
 protected:
  HiveSnapshot ClassesRoot() const { return HiveSnapshot(world_.registryDir(), "HKEY_CLASSES_ROOT"); }
  HiveSnapshot LocalMachine() const { return HiveSnapshot(world_.registryDir(), "HKEY_LOCAL_MACHINE"); }
  HiveSnapshot CurrentUser() const { return HiveSnapshot(world_.registryDir(), "HKEY_CURRENT_USER"); }

  TestWorld world_;
};

TEST_F(RegistrationTest, WritesEveryKeyAndValueInEnglish) {
  LanguageScope english("en_US.UTF-8");
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded()) << RegistrationLibrary::Path();
  ASSERT_EQ(S_OK, library.Register());
  const std::string path = library.FileName();

  const HiveSnapshot classes = ClassesRoot();
  EXPECT_FALSE(classes.damaged());
  ExpectValues(classes, ClassesRootValues(path, kEnglish));
  // Keys created without a value.
  EXPECT_EQ(0, classes.ValueCount("DatrovaFile\\shell"));
  EXPECT_EQ(0, classes.ValueCount("DatrovaFile\\shellex"));
  EXPECT_EQ(0xA0000040u, classes.Dword(kClassKey + "\\ShellFolder", "Attributes").value_or(0));
  // Nothing beyond the tables: every key is one of them or a parent of one.
  const std::vector<std::string> expectedKeys = {
      ".dtq", "CLSID", kClassKey, kClassKey + "\\DefaultIcon", kClassKey + "\\InprocServer32",
      kClassKey + "\\ShellFolder", kClassKey + "\\shellex", kClassKey + "\\shellex\\ContextMenuHandlers",
      kClassKey + "\\shellex\\ContextMenuHandlers\\Datrova", kClassKey + "\\shellex\\PropertySheetHandlers",
      kClassKey + "\\shellex\\PropertySheetHandlers\\Datrova", "DatrovaFile", "DatrovaFile\\CLSID",
      "DatrovaFile\\DefaultIcon", "DatrovaFile\\shell", "DatrovaFile\\shell\\Exec",
      "DatrovaFile\\shell\\Exec\\Command", "DatrovaFile\\shellex", "DatrovaFile\\shellex\\PropertySheetHandlers",
      "Drive", "Drive\\shellex", "Drive\\shellex\\PropertySheetHandlers",
      "Drive\\shellex\\PropertySheetHandlers\\Datrova"};
  std::vector<std::string> keys = classes.AllKeys();
  std::vector<std::string> want = expectedKeys;
  std::sort(keys.begin(), keys.end());
  std::sort(want.begin(), want.end());
  EXPECT_EQ(want, keys);

  const HiveSnapshot machine = LocalMachine();
  ExpectValues(machine, LocalMachineValues(path));
}

TEST_F(RegistrationTest, WritesTheTextsOfAGermanUser) {
  LanguageScope german("de_DE.UTF-8");
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded());
  ASSERT_EQ(S_OK, library.Register());
  const HiveSnapshot classes = ClassesRoot();
  EXPECT_EQ(kGerman.fileType, classes.Text("DatrovaFile", "").value_or("<missing>"));
  EXPECT_EQ(kGerman.verb, classes.Text("DatrovaFile\\shell\\Exec", "").value_or("<missing>"));
  EXPECT_EQ(kGerman.infoTip, classes.Text(kClassKey, "InfoTip").value_or("<missing>"));
}

TEST_F(RegistrationTest, ShortcutCommandHasOnePercentSign) {
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded());
  ASSERT_EQ(S_OK, library.Register());
  const std::string command = ClassesRoot().Text("DatrovaFile\\shell\\Exec\\Command", "").value_or("");
  EXPECT_EQ("rundll32 " + library.FileName() + ",Exec EXEC \"%1\"", command);
  EXPECT_EQ(std::string::npos, command.find("%%")) << command;
}

TEST_F(RegistrationTest, RegisteringTwiceLeavesTheSameHives) {
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded());
  ASSERT_EQ(S_OK, library.Register());
  const std::vector<std::string> first = ClassesRoot().AllKeys();
  ASSERT_EQ(S_OK, library.Register());
  EXPECT_EQ(first, ClassesRoot().AllKeys());
  ExpectValues(ClassesRoot(), ClassesRootValues(library.FileName(), kEnglish));
}

TEST_F(RegistrationTest, StopsAtTheFirstKeyThatCannotBeCreated) {
  // The machine hive cannot be written: its file's place is taken by a
  // folder. Entries 1-8 (classes root) are written, entry 9 (the junction
  // under the machine hive) fails and nothing after it is written.
  BlockHive(world_.registryDir(), "HKEY_LOCAL_MACHINE");
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded());
  EXPECT_EQ(SELFREG_E_CLASS, library.Register());
  const HiveSnapshot classes = ClassesRoot();
  EXPECT_EQ(library.FileName(), classes.Text(kClassKey + "\\InprocServer32", "").value_or("<missing>"));
  EXPECT_TRUE(classes.HasKey(kClassKey + "\\shellex\\ContextMenuHandlers\\Datrova"));
  EXPECT_FALSE(classes.HasKey(".dtq"));
  EXPECT_FALSE(classes.HasKey("DatrovaFile"));
  EXPECT_FALSE(classes.HasKey(kClassKey + "\\ShellFolder"));
}

TEST_F(RegistrationTest, UnregistrationRemovesTheTablesApprovalAndSettings) {
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded());
  ASSERT_EQ(S_OK, library.Register());
  // A saved login and the settings the library writes when it unloads.
  library.Unload();
  ASSERT_TRUE(CurrentUser().HasKey(kSettingsKey)) << "the library saves its settings at unload";
  ASSERT_TRUE(library.Load());
  WriteSavedLogin("Shop");
  ASSERT_TRUE(CurrentUser().HasKey(kLoginsKey));
  // A key of another program next to ours stays.
  WriteForeignMachineKey("Software\\Brenmoor\\Other");

  EXPECT_EQ(S_OK, library.Unregister());
  library.Unload();  // must not write the settings back

  const HiveSnapshot classes = ClassesRoot();
  for (const ExpectedValue& e : ClassesRootValues(library.FileName(), kEnglish))
    EXPECT_FALSE(classes.HasKey(e.key)) << e.key;
  EXPECT_FALSE(classes.HasKey(kClassKey + "\\ShellFolder"));
  EXPECT_FALSE(classes.HasKey(kClassKey));
  EXPECT_FALSE(classes.HasKey("DatrovaFile"));
  const HiveSnapshot machine = LocalMachine();
  EXPECT_FALSE(machine.HasKey(kJunctionKey));
  EXPECT_FALSE(machine.HasKey(kUninstallKey));
  EXPECT_FALSE(machine.Text(kApprovedKey, kClsid).has_value());
  EXPECT_TRUE(machine.HasKey("Software\\Brenmoor\\Other"));
  const HiveSnapshot user = CurrentUser();
  EXPECT_FALSE(user.HasKey(kLoginsKey));
  EXPECT_FALSE(user.HasKey(kSettingsKey)) << "the settings came back after unregistration";
}

TEST_F(RegistrationTest, UnregistrationOfNothingSucceedsAndCreatesNothing) {
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded());
  EXPECT_EQ(S_OK, library.Unregister());
  EXPECT_TRUE(ClassesRoot().AllKeys().empty());
  EXPECT_FALSE(LocalMachine().HasKey(kApprovedKey));
  // Twice is as good as once.
  EXPECT_EQ(S_OK, library.Unregister());
}

TEST_F(RegistrationTest, RegisteringAgainAfterUnregistrationKeepsSettingsAgain) {
  RegistrationLibrary library;
  ASSERT_TRUE(library.loaded());
  EXPECT_EQ(S_OK, library.Unregister());
  ASSERT_EQ(S_OK, library.Register());
  library.Unload();
  EXPECT_TRUE(CurrentUser().HasKey(kSettingsKey));
}

// The command-line programs as run.sh and setup use them.
TEST_F(RegistrationTest, Regsvr32RegistersAndUnregistersTheLibrary) {
  const std::string library = RegistrationLibrary::Path();
  EXPECT_EQ(0, RunProgram("regsvr32", {library}));
  ExpectValues(ClassesRoot(), ClassesRootValues(library, kEnglish));
  EXPECT_EQ(0, RunProgram("regsvr32", {"/u", library}));
  EXPECT_FALSE(ClassesRoot().HasKey(kClassKey));
  EXPECT_FALSE(CurrentUser().HasKey(kSettingsKey));
}

}  // namespace
