// The exported Uninstall: the question, then the INF file's DefaultUninstall
// section run by rundll32 in a process of its own.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "library/catalog/settings.h"
#include "tests/registration/hive_reader.h"
#include "tests/registration/registration_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/world.h"

namespace {

constexpr const char* kClassKey = "CLSID\\{5C7E2A14-9B3D-4F61-A8E2-3D9C0B6F1E47}";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Datrova";

// An INF file as our setup writes it.
constexpr const char* kInfText =
    "; Datrova installation\r\n"
    "[Version]\r\n"
    "Signature=\"$Windows NT$\"\r\n"
    "\r\n"
    "[DefaultUninstall]\r\n"
    "DelFiles=Datrova.Files\r\n"
    "DelReg=Datrova.Reg\r\n"
    "\r\n"
    "[DestinationDirs]\r\n"
    "Datrova.Files=11,ShellExt\r\n"
    "\r\n"
    "[Datrova.Files]\r\n"
    "Datrova.so\r\n"
    "\r\n"
    "[Datrova.Reg]\r\n"
    "HKCR,\"CLSID\\{5C7E2A14-9B3D-4F61-A8E2-3D9C0B6F1E47}\"\r\n"
    "HKLM,%UninstallKey%\r\n"
    "HKCU,Software\\Brenmoor\\Datrova\r\n"
    "\r\n"
    "[Strings]\r\n"
    "UninstallKey=\"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Datrova\"\r\n";

bool Exists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

class UninstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.loaded()) << RegistrationLibrary::Path();
    ASSERT_EQ(S_OK, library_.Register());
    installed_ = world_.systemDir() + "/ShellExt/Datrova.so";
    mkdir(world_.systemDir().c_str(), 0700);
    mkdir((world_.systemDir() + "/ShellExt").c_str(), 0700);
    WriteFile(installed_, "installed library");
    // A folder with a blank: rundll32 must hand the path on whole.
    const std::string setupDir = world_.root() + "/setup files";
    mkdir(setupDir.c_str(), 0700);
    inf_ = setupDir + "/datrova.inf";
    WriteFile(inf_, kInfText);
    WriteSavedLogin("Shop");
  }

  HiveSnapshot Hive(const char* name) const { return HiveSnapshot(world_.registryDir(), name); }

  TestWorld world_;
  RegistrationLibrary library_;
  std::string installed_;
  std::string inf_;
};

TEST_F(UninstallTest, AnswerNoLeavesEverything) {
  MessageBoxRecorder recorder(IDNO);
  library_.Uninstall(inf_);
  const auto calls = recorder.calls();
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ("Do you really want to deinstall the Datrova ?", calls[0].call.text);
  EXPECT_EQ("Datrova", calls[0].call.caption);
  EXPECT_EQ(MB_YESNO | MB_ICONSTOP, calls[0].call.type);
  // Nothing was started: give a wrongly started uninstall time to show.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(Exists(installed_));
  EXPECT_TRUE(Hive("HKEY_CLASSES_ROOT").HasKey(kClassKey));
  EXPECT_TRUE(Hive("HKEY_LOCAL_MACHINE").HasKey(kUninstallKey));
}

TEST_F(UninstallTest, AnswerYesRemovesTheFilesAndKeysOfTheInf) {
  MessageBoxRecorder recorder(IDYES);
  library_.Uninstall(inf_);
  ASSERT_EQ(1u, recorder.calls().size());
  const bool done = WaitFor(
      [&] { return !Exists(installed_) && !Hive("HKEY_LOCAL_MACHINE").HasKey(kUninstallKey) &&
                   !Hive("HKEY_CURRENT_USER").HasKey(kSettingsKey); },
      30000);
  ASSERT_TRUE(done) << "the uninstall did not finish";
  const HiveSnapshot classes = Hive("HKEY_CLASSES_ROOT");
  // The class key went with everything below it.
  EXPECT_FALSE(classes.HasKey(kClassKey));
  EXPECT_FALSE(classes.HasKey(std::string(kClassKey) + "\\shellex\\ContextMenuHandlers\\Datrova"));
  // What the INF does not name stays.
  EXPECT_TRUE(classes.HasKey(".dtq"));
  EXPECT_TRUE(Exists(inf_));
  // The library in this process does not write its settings back.
  library_.Unload();
  EXPECT_FALSE(Hive("HKEY_CURRENT_USER").HasKey(kSettingsKey));
}

TEST_F(UninstallTest, QuotedPathIsTakenWhole) {
  MessageBoxRecorder recorder(IDYES);
  library_.Uninstall("\"" + inf_ + "\"");
  EXPECT_TRUE(WaitFor([&] { return !Exists(installed_); }, 30000));
}

TEST_F(UninstallTest, WithoutAnInfFileNothingIsAsked) {
  MessageBoxRecorder recorder(IDYES);
  library_.Uninstall("");
  library_.Uninstall("   ");
  library_.Uninstall(std::string(5000, 'x'));
  EXPECT_TRUE(recorder.calls().empty());
  EXPECT_TRUE(Exists(installed_));
}

}  // namespace
