#include "registry_sandbox.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

void RegistrySandbox::SetUp() {
  world_ = std::make_unique<TestWorld>();
  root_ = world_->root();
  setenv("DATROVA_REGISTRY", RegistryDir().c_str(), 1);  // the world restores it
  PlatformRegistryReset();
}

void RegistrySandbox::TearDown() {
  for (HKEY key : opened_) RegCloseKey(key);
  opened_.clear();
  world_.reset();
}

std::string RegistrySandbox::ReadFile(const std::string& path) const {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void RegistrySandbox::WriteFile(const std::string& path, const std::string& bytes) const {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::vector<std::string> RegistrySandbox::FilesStartingWith(const std::string& prefix) const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(RegistryDir(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0) names.push_back(name);
  }
  return names;
}

HKEY RegistrySandbox::CreateKey(HKEY parent, const char* path) {
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS)
      << path;
  if (key) opened_.push_back(key);
  return key;
}

void RegistrySandbox::SetString(HKEY key, const char* name, const std::string& text) {
  EXPECT_EQ(RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1)),
            ERROR_SUCCESS)
      << name;
}

void RegistrySandbox::SetDword(HKEY key, const char* name, DWORD value) {
  EXPECT_EQ(RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS)
      << name;
}

RegistrySandbox::Value RegistrySandbox::Query(HKEY key, const char* name) {
  Value v;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return v;
  std::string data(size, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return v;
  data.resize(size);
  v.type = type;
  v.data = data;
  return v;
}
