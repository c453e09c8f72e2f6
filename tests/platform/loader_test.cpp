// The module loader with a real module (test_module.so, built next to this
// program) and the built-in names; string resources.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/com/shlobj.h"
#include "platform/loader/loader.h"
#include "tests/support/world.h"

namespace {

std::string ModulePath() { return std::string(DATROVA_BIN_DIR) + "/test_module.so"; }

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log_ = world_.root() + "/module.log";
    setenv("TEST_MODULE_LOG", log_.c_str(), 1);
    unsetenv("TEST_MODULE_FAIL_ATTACH");
  }
  void TearDown() override {
    unsetenv("TEST_MODULE_LOG");
    unsetenv("TEST_MODULE_FAIL_ATTACH");
  }
  std::string Log() const {
    std::ifstream in(log_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  TestWorld world_;
  std::string log_;
};

}  // namespace

TEST_F(LoaderTest, SameFileTwiceAttachesOnceAndDetachesAtLastFree) {
  HMODULE a = LoadLibraryA(ModulePath().c_str());
  ASSERT_NE(a, nullptr) << GetLastError();
  // The bare name is found next to the program; it is the same module.
  HMODULE b = LoadLibraryA("test_module.so");
  EXPECT_EQ(a, b);
  EXPECT_EQ(Log(), "attach\n");
  EXPECT_EQ(GetModuleHandleA("TEST_MODULE.SO"), a);

  auto answer = reinterpret_cast<int (*)()>(GetProcAddress(a, "TestModuleAnswer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(GetProcAddress(a, "NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  // Only the module's own exports: not those of the libraries it links.
  EXPECT_EQ(GetProcAddress(a, "LoadLibraryA"), nullptr);

  char path[512];
  DWORD n = GetModuleFileNameA(a, path, sizeof path);
  EXPECT_EQ(std::filesystem::path(std::string(path, n)), std::filesystem::canonical(ModulePath()));

  EXPECT_TRUE(FreeLibrary(a));
  EXPECT_EQ(Log(), "attach\n");
  EXPECT_TRUE(FreeLibrary(b));
  EXPECT_EQ(Log(), "attach\ndetach\n");
  EXPECT_FALSE(FreeLibrary(b)) << "no reference is left";
  EXPECT_EQ(GetModuleHandleA("test_module.so"), nullptr);

  // Loaded again: attached again, with the same handle.
  EXPECT_EQ(LoadLibraryA(ModulePath().c_str()), a);
  EXPECT_EQ(Log(), "attach\ndetach\nattach\n");
  EXPECT_TRUE(FreeLibrary(a));
}

TEST_F(LoaderTest, RefusedAttachFailsTheLoad) {
  setenv("TEST_MODULE_FAIL_ATTACH", "1", 1);
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA(ModulePath().c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  EXPECT_EQ(Log(), "attach\ndetach\n");
  EXPECT_EQ(GetModuleHandleA("test_module.so"), nullptr);
  unsetenv("TEST_MODULE_FAIL_ATTACH");
  HMODULE h = LoadLibraryA(ModulePath().c_str());
  ASSERT_NE(h, nullptr);
  FreeLibrary(h);
}

TEST_F(LoaderTest, DataFileLoadSkipsDllMain) {
  HMODULE h = LoadLibraryExA(ModulePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(h, nullptr);
  EXPECT_NE(GetProcAddress(h, "TestModuleAnswer"), nullptr);
  EXPECT_TRUE(FreeLibrary(h));
  EXPECT_EQ(Log(), "");
}

TEST_F(LoaderTest, StillLoadedModulesDetachAtExit) {
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    HMODULE h = LoadLibraryA(ModulePath().c_str());
    std::exit(h ? 0 : 3);  // exit, not _exit: the exit handlers run
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Log(), "attach\ndetach\n");
}

TEST_F(LoaderTest, SearchOrderAndMissingModules) {
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("no_such_module.so"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

  // A file in the system directory is found by its name.
  std::filesystem::create_directories(world_.systemDir());
  std::filesystem::copy_file(ModulePath(), world_.systemDir() + "/sysmod.so");
  char dir[512];
  UINT n = GetSystemDirectoryA(dir, sizeof dir);
  EXPECT_EQ(std::string(dir, n), world_.systemDir());
  EXPECT_EQ(GetSystemDirectoryA(dir, 3), world_.systemDir().size() + 1) << "size needed with the terminator";
  HMODULE h = LoadLibraryA("sysmod.so");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(Log(), "attach\n");
  EXPECT_TRUE(FreeLibrary(h));

  // A file that is no module fails to load.
  std::ofstream(world_.systemDir() + "/garbage.so") << "not an ELF file";
  EXPECT_EQ(LoadLibraryA("garbage.so"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
}

TEST_F(LoaderTest, BuiltInNames) {
  HMODULE rich = LoadLibraryA("riched32.dll");
  ASSERT_NE(rich, nullptr);
  EXPECT_EQ(LoadLibraryA("RICHED32.DLL"), rich);
  EXPECT_EQ(GetProcAddress(rich, "CreateTextServices"), nullptr);
  EXPECT_TRUE(FreeLibrary(rich));
  EXPECT_TRUE(FreeLibrary(rich));

  HMODULE shell = LoadLibraryA("SHELL32.dll");
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSettings")), reinterpret_cast<void*>(&SHGetSettings));
  EXPECT_TRUE(FreeLibrary(shell));

  HMODULE odbc = LoadLibraryA("odbc32.dll");
  ASSERT_NE(odbc, nullptr);
  EXPECT_NE(GetProcAddress(odbc, "SQLAllocHandle"), nullptr);
  char path[512];
  ASSERT_GT(GetModuleFileNameA(odbc, path, sizeof path), 0u);
  EXPECT_NE(std::string(path).find("libodbc.so"), std::string::npos) << path;
  EXPECT_TRUE(FreeLibrary(odbc));

  HMODULE installer = LoadLibraryA("ODBCCP32.DLL");
  ASSERT_NE(installer, nullptr);
  EXPECT_NE(GetProcAddress(installer, "SQLConfigDataSource"), nullptr);
  EXPECT_TRUE(FreeLibrary(installer));
}

TEST(ModuleNames, ProgramPathAndTruncation) {
  char path[512];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(std::filesystem::path(path).filename(), "platform_tests");
  EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
  char small[5];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(small), std::string(path, 4));
}

TEST(StringResources, LookupAndCutting) {
  static const ResourceString table[] = {{1, "Datenquelle"}, {1001, "Data source"}, {7, "\xC3\xA4\xC3\xB6"}};
  HINSTANCE module = reinterpret_cast<HINSTANCE>(0x1234);
  PlatformRegisterStrings(module, table, 3);
  PlatformRegisterStrings(nullptr, table + 1, 1);
  char buf[64];
  EXPECT_EQ(LoadStringA(module, 1001, buf, sizeof buf), 11);
  EXPECT_STREQ(buf, "Data source");
  EXPECT_EQ(LoadStringA(module, 1, buf, 5), 4);
  EXPECT_STREQ(buf, "Date");
  EXPECT_EQ(LoadStringA(module, 2, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
  // A cut never splits a character: "\xC3\xA4\xC3\xB6" into 4 bytes keeps one.
  EXPECT_EQ(LoadStringA(module, 7, buf, 4), 2);
  EXPECT_STREQ(buf, "\xC3\xA4");
  // The null handle has its own table.
  EXPECT_EQ(LoadStringA(nullptr, 1001, buf, sizeof buf), 11);
  EXPECT_EQ(LoadStringA(nullptr, 1, buf, sizeof buf), 0);
  PlatformUnregisterStrings(module);
  PlatformUnregisterStrings(nullptr);
  EXPECT_EQ(LoadStringA(module, 1001, buf, sizeof buf), 0);
}
