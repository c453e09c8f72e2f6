// The ODBC installer (unixODBC's libodbcinst), loaded at run time under its
// Windows name "ODBCCP32.DLL". Every function is looked up by name; a missing
// library or function makes the call report failure with an error text of
// our own, so the commands end as they would after an installer failure.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/com/wintypes.h"

// Installer request and mode values (odbcinst.h), kept here so callers need
// not see the unixODBC header.
inline constexpr WORD kOdbcAddDsn = 1;
inline constexpr WORD kOdbcConfigDsn = 2;
inline constexpr WORD kOdbcAddSysDsn = 4;
inline constexpr WORD kOdbcConfigSysDsn = 5;
inline constexpr WORD kOdbcBothDsn = 0;
inline constexpr WORD kOdbcUserDsn = 1;
inline constexpr WORD kOdbcSystemDsn = 2;
inline constexpr DWORD kOdbcErrorGeneral = 1;
inline constexpr DWORD kOdbcErrorInvalidDsn = 9;
// The installer's "user cancelled" code is 16 (ODBC_ERROR_USER_CANCELED);
// 11 is ODBC_ERROR_REQUEST_FAILED, a real failure that must be shown.
inline constexpr DWORD kOdbcErrorUserCanceled = 16;

// The first error of the installer's error stack after a failed call.
struct InstallerError {
  DWORD code = 0;
  std::string text;  // at most 511 characters; empty when there is none
};

class OdbcInstaller {
 public:
  OdbcInstaller();
  ~OdbcInstaller();
  OdbcInstaller(const OdbcInstaller&) = delete;
  OdbcInstaller& operator=(const OdbcInstaller&) = delete;

  bool loaded() const { return module_ != nullptr; }

  // The interactive entry points of the installer.
  BOOL CreateDataSource(HWND owner, const char* dsn);
  BOOL ConfigDataSource(HWND owner, WORD request, const char* driver, const char* attributes);
  BOOL ManageDataSources(HWND owner);

  // The non-interactive ones.
  BOOL RemoveDsnFromIni(const char* dsn);
  BOOL WriteDsnToIni(const char* dsn, const char* driver);
  // value null deletes the key; key null deletes the section.
  BOOL WritePrivateProfileString(const char* section, const char* key, const char* value, const char* file);
  // Section names (section null) or key names (key null) come back as a list
  // of texts; a value as one text. Empty when nothing is there.
  std::vector<std::string> GetPrivateProfileList(const char* section, const char* file);
  std::string GetPrivateProfileString(const char* section, const char* key, const char* file);
  std::vector<std::string> GetInstalledDrivers();
  BOOL GetConfigMode(WORD* mode);
  BOOL SetConfigMode(WORD mode);

  // SQLInstallerError(1, ...): the first error after a failed call. When the
  // library could not be loaded, the reason of our own.
  InstallerError FirstError();

 private:
  void* resolve(const char* name);

  HMODULE module_ = nullptr;
  std::string loadError_;
};

// Sets the installer's configuration mode for its lifetime and restores the
// mode it found.
class ConfigModeScope {
 public:
  ConfigModeScope(OdbcInstaller& installer, WORD mode);
  ~ConfigModeScope();
  ConfigModeScope(const ConfigModeScope&) = delete;
  ConfigModeScope& operator=(const ConfigModeScope&) = delete;

 private:
  OdbcInstaller& installer_;
  WORD saved_ = kOdbcBothDsn;
  bool restore_ = false;
};
