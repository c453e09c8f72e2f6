// Helpers of the registration tests: the library loaded through the platform
// loader with its registration exports, the user's language for one scope,
// and the programs of build/bin run as child processes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/loader/loader.h"

// Sets LC_ALL (which decides the library's language when it attaches) and
// restores the old value when it goes.
class LanguageScope {
 public:
  explicit LanguageScope(const char* locale);
  ~LanguageScope();
  LanguageScope(const LanguageScope&) = delete;
  LanguageScope& operator=(const LanguageScope&) = delete;

 private:
  std::optional<std::string> saved_;
};

class RegistrationLibrary {
 public:
  RegistrationLibrary() { Load(); }
  ~RegistrationLibrary() { Unload(); }
  RegistrationLibrary(const RegistrationLibrary&) = delete;
  RegistrationLibrary& operator=(const RegistrationLibrary&) = delete;

  // build/bin/Datrova.so with every link resolved, as the loader names it.
  static std::string Path();
  bool Load();
  void Unload();
  bool loaded() const { return handle_ != nullptr; }
  HMODULE handle() const { return handle_; }
  // The path the library reports for itself.
  std::string FileName() const;

  HRESULT Register() const;
  HRESULT Unregister() const;
  // Calls the exported Uninstall as rundll32 would.
  void Uninstall(const std::string& commandLine) const;

 private:
  HMODULE handle_ = nullptr;
};

// Makes a hive unwritable: a folder takes the place of its file.
void BlockHive(const std::string& registryDir, const std::string& hiveName);
// A saved login value under the settings' "DSN" subkey, written through the
// registry as the library's settings code does.
void WriteSavedLogin(const std::string& dataSource);
// A key of another program in the machine hive.
void WriteForeignMachineKey(const std::string& key);
// Runs build/bin/<program> with `args` and returns its exit code (-1 when it
// did not start or did not end normally).
int RunProgram(const std::string& program, const std::vector<std::string>& args);
// Polls `done` (every 20 ms, for at most `timeoutMs`) and returns its last
// answer. For work done by a detached process.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);
