// The hive files as other processes and damaged disks see them: writes of
// two processes at once, changes noticed without a reset, damaged files
// read as far as they go and kept aside, modes and the default folder.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "registry_sandbox.h"

namespace {

using namespace std::string_literals;

class HiveFiles : public RegistrySandbox {
 protected:
  // Runs `body` in a child process; returns the child's exit status.
  template <typename F>
  static pid_t Spawn(F body) {
    const pid_t pid = fork();
    if (pid == 0) {
      const int rc = body();
      _exit(rc);
    }
    return pid;
  }
  static int Wait(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  static mode_t ModeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
  }
};

TEST_F(HiveFiles, TwoProcessesWritingAtOnceLoseNothing) {
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Race");
  ASSERT_NE(key, nullptr);
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = Spawn([key, p] {
      int failures = 0;
      for (DWORD i = 0; i < 200; ++i) {
        const std::string name = "p" + std::to_string(p) + "-" + std::to_string(i);
        if (RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i), sizeof i) !=
            ERROR_SUCCESS)
          ++failures;
      }
      return failures == 0 ? 0 : 1;
    });
    ASSERT_GT(children[p], 0);
  }
  EXPECT_EQ(Wait(children[0]), 0);
  EXPECT_EQ(Wait(children[1]), 0);

  // Without a reset: the cache notices that the file changed.
  DWORD count = 0;
  char name[32];
  for (DWORD cch = sizeof name; RegEnumValueA(key, count, name, &cch, nullptr, nullptr, nullptr, nullptr) ==
                                ERROR_SUCCESS;
       cch = sizeof name)
    ++count;
  EXPECT_EQ(count, 400u);
  for (int p = 0; p < 2; ++p) {
    for (DWORD i = 0; i < 200; ++i) {
      const std::string n = "p" + std::to_string(p) + "-" + std::to_string(i);
      ASSERT_EQ(Query(key, n.c_str()).data, std::string(reinterpret_cast<const char*>(&i), 4)) << n;
    }
  }
  EXPECT_TRUE(FilesStartingWith("HKEY_CURRENT_USER.reg.tmp").empty());
}

TEST_F(HiveFiles, ChangesOfAnotherProcessAreSeen) {
  HKEY key = CreateKey(HKEY_LOCAL_MACHINE, "Software\\Shared");
  SetString(key, "who", "parent");
  ASSERT_EQ(Query(key, "who").data, "parent\0"s);
  const pid_t child = Spawn([key] {
    const char text[] = "child";
    if (RegSetValueExA(key, "who", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text) != ERROR_SUCCESS)
      return 1;
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Shared\\Nothing") == ERROR_FILE_NOT_FOUND ? 0 : 2;
  });
  ASSERT_EQ(Wait(child), 0);
  EXPECT_EQ(Query(key, "who").data, "child\0"s);

  // A file replaced by hand is read again too.
  WriteFile(HivePath("HKEY_LOCAL_MACHINE"),
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Shared]\n\"who\"=\"editor\"\n");
  EXPECT_EQ(Query(key, "who").data, "editor\0"s);
}

TEST_F(HiveFiles, UserHiveIsPrivate) {
  const mode_t old = umask(0);
  HKEY key = CreateKey(HKEY_CURRENT_USER, "Software\\Brenmoor\\Datrova\\DSN");
  umask(old);
  const BYTE login[512] = {7};
  ASSERT_EQ(RegSetValueExA(key, "Sales", 0, REG_BINARY, login, sizeof login), ERROR_SUCCESS);
  EXPECT_EQ(ModeOf(HivePath("HKEY_CURRENT_USER")), 0600u);
  EXPECT_EQ(ModeOf(RegistryDir()), 0700u);
  // Even a hive that someone opened up is closed again by the next write.
  ASSERT_EQ(chmod(HivePath("HKEY_CURRENT_USER").c_str(), 0644), 0);
  SetDword(key, "Other", 1);
  EXPECT_EQ(ModeOf(HivePath("HKEY_CURRENT_USER")), 0600u);
}

TEST_F(HiveFiles, TemporaryFileOfADeadWriterIsRemoved) {
  CreateKey(HKEY_CURRENT_USER, "Software");
  WriteFile(RegistryDir() + "/HKEY_CURRENT_USER.reg.tmp-AbC123", "half a hive");
  WriteFile(RegistryDir() + "/HKEY_LOCAL_MACHINE.reg.tmp-AbC123", "not this hive's");
  SetDword(HKEY_CURRENT_USER, "x", 1);
  EXPECT_TRUE(FilesStartingWith("HKEY_CURRENT_USER.reg.tmp-").empty());
  EXPECT_EQ(FilesStartingWith("HKEY_LOCAL_MACHINE.reg.tmp-").size(), 1u);
}

TEST_F(HiveFiles, DefaultFolderFollowsXdgThenHome) {
  unsetenv("DATROVA_REGISTRY");
  PlatformRegistryReset();
  CreateKey(HKEY_CURRENT_USER, "Software\\A");
  const std::string xdgDir = std::string(getenv("XDG_CONFIG_HOME")) + "/datrova/registry";
  EXPECT_NE(ReadFile(xdgDir + "/HKEY_CURRENT_USER.reg").find("[HKEY_CURRENT_USER\\Software\\A]"), std::string::npos);
  EXPECT_EQ(ModeOf(xdgDir), 0700u);

  unsetenv("XDG_CONFIG_HOME");
  PlatformRegistryReset();
  CreateKey(HKEY_CURRENT_USER, "Software\\B");
  EXPECT_NE(ReadFile(std::string(getenv("HOME")) + "/.config/datrova/registry/HKEY_CURRENT_USER.reg")
                .find("Software\\B]"),
            std::string::npos);
}

// A damaged hive: what can be read is read, nothing is written until a
// change, and the change keeps a copy of the damaged file beside the new one.
struct DamageCase {
  const char* what;
  std::string text;
  std::vector<std::string> readable;  // value names expected under Software\Good
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.what; }

class DamagedHive : public HiveFiles, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedHive, ReadsWhatItCanAndKeepsACopy) {
  const DamageCase& c = GetParam();
  const std::string path = HivePath("HKEY_CURRENT_USER");
  WriteFile(path, c.text);

  HKEY good = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Good", 0, KEY_ALL_ACCESS, &good), ERROR_SUCCESS) << c.what;
  for (const std::string& name : c.readable) EXPECT_EQ(Query(good, name.c_str()).type, REG_SZ) << c.what << " " << name;
  EXPECT_EQ(ReadFile(path), c.text) << "reading alone must not rewrite the file";
  EXPECT_TRUE(FilesStartingWith("HKEY_CURRENT_USER.reg.damaged-").empty());

  SetString(good, "new", "value");
  const auto copies = FilesStartingWith("HKEY_CURRENT_USER.reg.damaged-");
  ASSERT_EQ(copies.size(), 1u) << c.what;
  EXPECT_EQ(ReadFile(RegistryDir() + "/" + copies[0]), c.text);
  PlatformRegistryReset();
  for (const std::string& name : c.readable) EXPECT_EQ(Query(good, name.c_str()).type, REG_SZ) << c.what << " " << name;
  EXPECT_EQ(Query(good, "new").data, "value\0"s);

  // The rewritten hive is sound: a further write keeps no further copy.
  SetString(good, "newer", "value");
  EXPECT_EQ(FilesStartingWith("HKEY_CURRENT_USER.reg.damaged-").size(), 1u);
  RegCloseKey(good);
}

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";
const std::string kGood = "[HKEY_CURRENT_USER\\Software\\Good]\n\"a\"=\"1\"\n\"b\"=\"2\"\n\n";

std::string BinaryJunk() {
  std::mt19937 gen(42);
  std::string s;
  for (int i = 0; i < 4096; ++i) s.push_back(static_cast<char>(gen() & 0xFF));
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedHive,
    ::testing::Values(
        DamageCase{"truncated in a wrapped hex value",
                   kHeader + kGood + "[HKEY_CURRENT_USER\\Software\\Good]\n\"blob\"=hex:01,02,03,\\\n  04,0",
                   {"a", "b"}},
        DamageCase{"garbage lines between", kHeader + "[HKEY_CURRENT_USER\\Software\\Good]\n\"a\"=\"1\"\nnot a line\n"
                                                      "\"x\"=hex:1,02\n\"y\"=dword:123456789\n\"z\"=\"open\n"
                                                      "\"q\"=\"bad \\n escape\"\n\"b\"=\"2\"\n",
                   {"a", "b"}},
        DamageCase{"missing bracket and foreign hive",
                   kHeader + "[HKEY_CURRENT_USER\\Software\\Lost\n\"lost\"=\"1\"\n[HKEY_LOCAL_MACHINE\\Software]\n"
                             "\"m\"=\"1\"\n" + kGood,
                   {"a", "b"}},
        DamageCase{"no header", kGood, {"a", "b"}},
        DamageCase{"binary bytes and NULs", kGood + "\0\0\0\x01\xff"s + BinaryJunk() + "\n" + kGood, {"a", "b"}}),
    [](const ::testing::TestParamInfo<DamageCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(HiveFiles, HiveThatIsNoFileIsNeverReplaced) {
  ASSERT_TRUE(std::filesystem::create_directories(HivePath("HKEY_LOCAL_MACHINE")));
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_CANTWRITE);
  EXPECT_EQ(key, nullptr);
  struct stat st;
  ASSERT_EQ(stat(HivePath("HKEY_LOCAL_MACHINE").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  // The other hives are not affected.
  EXPECT_NE(CreateKey(HKEY_CLASSES_ROOT, "CLSID"), nullptr);
}

}  // namespace
