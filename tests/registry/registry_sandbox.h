// The private world of a registry test: the shared test world (private
// HOME, XDG folders, restored environment), with DATROVA_REGISTRY pointing at
// a folder that does not exist yet, so that every test also sees the
// registry create it. The registry cache is forgotten before and after.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "tests/support/world.h"

class RegistrySandbox : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The folder that holds the hive files.
  std::string RegistryDir() const { return root_ + "/hives/registry"; }
  std::string HivePath(const char* hive) const { return RegistryDir() + "/" + hive + ".reg"; }
  std::string ReadFile(const std::string& path) const;
  void WriteFile(const std::string& path, const std::string& bytes) const;
  // Files in the registry folder whose names start with `prefix`.
  std::vector<std::string> FilesStartingWith(const std::string& prefix) const;

  // Shortcuts over the Reg* functions that fail the test on error.
  HKEY CreateKey(HKEY parent, const char* path);
  void SetString(HKEY key, const char* name, const std::string& text);
  void SetDword(HKEY key, const char* name, DWORD value);
  // A value as RegQueryValueExA reports it; type 0xFFFFFFFF when missing.
  struct Value {
    DWORD type = 0xFFFFFFFFu;
    std::string data;
  };
  Value Query(HKEY key, const char* name);

  std::string root_;  // the world's folder

 private:
  std::unique_ptr<TestWorld> world_;
  std::vector<HKEY> opened_;
};
