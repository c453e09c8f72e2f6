#include "tests/registration/registration_support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <functional>
#include <thread>

#include "library/catalog/settings.h"
#include "platform/registry/registry.h"

namespace {
using RegisterProc = HRESULT (*)();
using RunDllProc = void (*)(HWND, HINSTANCE, LPSTR, int);

std::string BinDir() {
  const char* dir = std::getenv("DATROVA_BIN_DIR");
  return dir ? dir : DATROVA_BIN_DIR;
}
}  // namespace

LanguageScope::LanguageScope(const char* locale) {
  if (const char* old = std::getenv("LC_ALL")) saved_ = old;
  setenv("LC_ALL", locale, 1);
}

LanguageScope::~LanguageScope() {
  if (saved_) {
    setenv("LC_ALL", saved_->c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
}

std::string RegistrationLibrary::Path() {
  const std::string path = BinDir() + "/Datrova.so";
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

bool RegistrationLibrary::Load() {
  if (!handle_) handle_ = LoadLibraryA(Path().c_str());
  return handle_ != nullptr;
}

void RegistrationLibrary::Unload() {
  if (handle_) FreeLibrary(handle_);
  handle_ = nullptr;
}

std::string RegistrationLibrary::FileName() const {
  char buffer[PATH_MAX];
  const DWORD n = GetModuleFileNameA(handle_, buffer, sizeof buffer);
  return std::string(buffer, n < sizeof buffer ? n : 0);
}

HRESULT RegistrationLibrary::Register() const {
  auto entry = reinterpret_cast<RegisterProc>(GetProcAddress(handle_, "DllRegisterServer"));
  return entry ? entry() : E_NOTIMPL;
}

HRESULT RegistrationLibrary::Unregister() const {
  auto entry = reinterpret_cast<RegisterProc>(GetProcAddress(handle_, "DllUnregisterServer"));
  return entry ? entry() : E_NOTIMPL;
}

void RegistrationLibrary::Uninstall(const std::string& commandLine) const {
  auto entry = reinterpret_cast<RunDllProc>(GetProcAddress(handle_, "Uninstall"));
  if (!entry) return;
  std::string line = commandLine;
  entry(nullptr, handle_, line.data(), 1);
}

void BlockHive(const std::string& registryDir, const std::string& hiveName) {
  mkdir(registryDir.c_str(), 0700);
  mkdir((registryDir + "/" + hiveName + ".reg").c_str(), 0700);
  PlatformRegistryReset();
}

void WriteSavedLogin(const std::string& dataSource) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kLoginsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  const BYTE login[512] = {0x5A};
  RegSetValueExA(key, dataSource.c_str(), 0, REG_BINARY, login, sizeof login);
  RegCloseKey(key);
}

void WriteForeignMachineKey(const std::string& name) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS)
    RegCloseKey(key);
}

int RunProgram(const std::string& program, const std::vector<std::string>& args) {
  const std::string path = BinDir() + "/" + program;
  // Built before the fork: the child of a threaded process only calls exec.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}
