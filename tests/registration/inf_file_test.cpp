// The INF reader and the running of a section: the subset our setup writes,
// and files that try to reach beyond it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "platform/registry/registry.h"
#include "platform/setupapi/setupapi.h"
#include "tests/registration/hive_reader.h"
#include "tests/support/world.h"

using platform::setupapi::InfFile;
using platform::setupapi::InfRunReport;
using platform::setupapi::RunInfSection;

namespace {

bool Exists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

void CreateKey(HKEY root, const std::string& name, const char* value = nullptr) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  if (value) RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  RegCloseKey(key);
}

std::string Joined(const std::vector<std::string>& fields) {
  std::string out;
  for (const std::string& f : fields) out += "<" + f + ">";
  return out;
}

TEST(InfFileTest, ReadsLinesFieldsQuotesCommentsAndStrings) {
  struct Case {
    const char* line;
    const char* key;
    const char* fields;
  };
  const Case cases[] = {
      {"Plain.so", "", "<Plain.so>"},
      {"DelFiles = A.Files , B.Files", "DelFiles", "<A.Files><B.Files>"},
      {"HKCR,\"Key, with; signs\",Value ; comment", "", "<HKCR><Key, with; signs><Value>"},
      {"Quote=\"say \"\"hi\"\"\"", "Quote", "<say \"hi\">"},
      {"Sub=%Name%\\Tail", "Sub", "<Shell Ext\\Tail>"},
      {"Percent=100%% and %Unknown%", "Percent", "<100% and %Unknown%>"},
      {"Padded=\"  kept  \"", "Padded", "<  kept  >"},
      {"Empty=", "Empty", "<>"},
      {"CrLf=\"quoted\"\r", "CrLf", "<quoted>"},
  };
  for (const Case& c : cases) {
    InfFile inf;
    inf.Parse(std::string("[Strings]\nName=\"Shell Ext\"\n[Test]\n") + c.line + "\n", "/inf");
    const auto* section = inf.Section("test");
    ASSERT_NE(nullptr, section) << c.line;
    ASSERT_EQ(1u, section->lines.size()) << c.line;
    EXPECT_EQ(c.key, section->lines[0].key) << c.line;
    EXPECT_EQ(c.fields, Joined(section->lines[0].fields)) << c.line;
  }
}

TEST(InfFileTest, SectionsMergeAndIgnoreCaseAndStrayLines) {
  InfFile inf;
  inf.Parse(
      "stray=before any section\n"
      "; only a comment\n"
      "[DefaultUninstall]\r\n"
      "DelFiles=A\r\n"
      "[defaultuninstall]\r\n"
      "DelFiles=B,C\r\n",
      "/inf");
  EXPECT_EQ("<A><B><C>", Joined(inf.Values("DEFAULTUNINSTALL", "delfiles")));
  EXPECT_EQ(nullptr, inf.Section("stray"));
}

class InfRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shellExt_ = world_.systemDir() + "/ShellExt";
    mkdir(world_.systemDir().c_str(), 0700);
    mkdir(shellExt_.c_str(), 0700);
  }
  InfRunReport Run(const std::string& text) {
    InfFile inf;
    inf.Parse(text, world_.root());
    InfRunReport report;
    EXPECT_TRUE(RunInfSection(inf, "DefaultUninstall", &report));
    return report;
  }
  HiveSnapshot Hive(const char* name) const { return HiveSnapshot(world_.registryDir(), name); }

  TestWorld world_;
  std::string shellExt_;
};

TEST_F(InfRunTest, DeletesNamedFilesKeysWithTheirChildrenAndSingleValues) {
  WriteFile(shellExt_ + "/Datrova.so", "x");
  WriteFile(shellExt_ + "/Other.so", "x");
  WriteFile(world_.root() + "/next-to-inf.txt", "x");
  CreateKey(HKEY_CLASSES_ROOT, "CLSID\\{X}\\InprocServer32", "ThreadingModel");
  CreateKey(HKEY_CLASSES_ROOT, "CLSID\\{X}\\shellex\\ContextMenuHandlers\\Datrova");
  CreateKey(HKEY_CLASSES_ROOT, "CLSID\\{Y}");
  CreateKey(HKEY_LOCAL_MACHINE, "Software\\Approved", "{X}");
  CreateKey(HKEY_LOCAL_MACHINE, "Software\\Approved", "{Y}");
  const InfRunReport report = Run(
      "[DefaultUninstall]\n"
      "DelFiles=Lib.Files, Inf.Files\n"
      "DelReg=Lib.Reg\n"
      "[DestinationDirs]\n"
      "Lib.Files=11,ShellExt\n"
      "Inf.Files=1\n"
      "[Lib.Files]\n"
      "Datrova.so\n"
      "Missing.so\n"
      "[Inf.Files]\n"
      "next-to-inf.txt\n"
      "[Lib.Reg]\n"
      "HKEY_CLASSES_ROOT,CLSID\\{X}\n"
      "HKLM,Software\\Approved,{X}\n"
      "HKCU,Software\\Never\\There\n");
  EXPECT_TRUE(report.skipped.empty()) << Joined(report.skipped);
  EXPECT_FALSE(Exists(shellExt_ + "/Datrova.so"));
  EXPECT_FALSE(Exists(world_.root() + "/next-to-inf.txt"));
  EXPECT_TRUE(Exists(shellExt_ + "/Other.so"));
  const HiveSnapshot classes = Hive("HKEY_CLASSES_ROOT");
  EXPECT_FALSE(classes.HasKey("CLSID\\{X}"));
  EXPECT_TRUE(classes.HasKey("CLSID\\{Y}"));
  const HiveSnapshot machine = Hive("HKEY_LOCAL_MACHINE");
  EXPECT_FALSE(machine.Text("Software\\Approved", "{X}").has_value());
  EXPECT_TRUE(machine.Text("Software\\Approved", "{Y}").has_value());
}

TEST_F(InfRunTest, RefusesLinesThatReachBeyondTheirPlace) {
  WriteFile(world_.systemDir() + "/victim.txt", "x");
  WriteFile(world_.root() + "/victim2.txt", "x");
  mkdir((shellExt_ + "/folder").c_str(), 0700);
  CreateKey(HKEY_CLASSES_ROOT, "Keep\\Me");
  CreateKey(HKEY_CURRENT_USER, "Keep\\Me");
  const InfRunReport report = Run(
      "[DefaultUninstall]\n"
      "DelFiles=Bad.Files,Escape.Files,Unknown.Files,Missing.Section\n"
      "DelReg=Bad.Reg\n"
      "[DestinationDirs]\n"
      "Bad.Files=11,ShellExt\n"
      "Escape.Files=11,ShellExt\\..\\..\n"
      "Unknown.Files=99\n"
      "[Bad.Files]\n"
      "..\\victim.txt\n"
      "../victim.txt\n"
      "/etc/passwd\n"
      "..\n"
      "folder\n"
      "[Escape.Files]\n"
      "victim2.txt\n"
      "[Unknown.Files]\n"
      "victim.txt\n"
      "[Bad.Reg]\n"
      "HKCR,\n"
      "HKCR,\\\n"
      "HKCU\n"
      "HKXX,Keep\n"
      "HKEY_USERS,Keep\n");
  EXPECT_EQ(13u, report.skipped.size()) << Joined(report.skipped);
  EXPECT_TRUE(report.deletedFiles.empty()) << Joined(report.deletedFiles);
  EXPECT_TRUE(report.deletedKeys.empty()) << Joined(report.deletedKeys);
  EXPECT_TRUE(Exists(world_.systemDir() + "/victim.txt"));
  EXPECT_TRUE(Exists(world_.root() + "/victim2.txt"));
  EXPECT_TRUE(Exists(shellExt_ + "/folder"));
  EXPECT_TRUE(Hive("HKEY_CLASSES_ROOT").HasKey("Keep\\Me"));
  EXPECT_TRUE(Hive("HKEY_CURRENT_USER").HasKey("Keep\\Me"));
}

TEST_F(InfRunTest, EntryTakesSectionModeAndAPathWithBlanks) {
  const std::string folder = world_.root() + "/my setup";
  mkdir(folder.c_str(), 0700);
  WriteFile(folder + "/gone.txt", "x");
  WriteFile(folder + "/gone2.txt", "x");
  WriteFile(folder + "/a.inf",
            "[Remove]\nDelFiles=F\n[DestinationDirs]\nDefaultDestDir=1\n[F]\ngone.txt\n");
  WriteFile(folder + "/b.inf", "[Remove]\nDelFiles=F\n[DestinationDirs]\nF=1\n[F]\ngone2.txt\n");
  InstallHinfSectionA(nullptr, nullptr, (std::string("Remove 132 \"") + folder + "/a.inf\"").c_str(), 1);
  EXPECT_FALSE(Exists(folder + "/gone.txt"));
  InstallHinfSectionA(nullptr, nullptr, (std::string("Remove 132 ") + folder + "/b.inf").c_str(), 1);
  EXPECT_FALSE(Exists(folder + "/gone2.txt"));
  // A section the file does not have, a missing file, no arguments: nothing.
  InfFile inf;
  inf.Parse("[Other]\n", folder);
  EXPECT_FALSE(RunInfSection(inf, "Remove", nullptr));
  InstallHinfSectionA(nullptr, nullptr, "Remove 132 /no/such/file.inf", 1);
  InstallHinfSectionA(nullptr, nullptr, "", 1);
  InstallHinfSectionA(nullptr, nullptr, nullptr, 1);
}

}  // namespace
