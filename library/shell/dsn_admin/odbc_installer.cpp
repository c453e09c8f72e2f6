#include "library/shell/dsn_admin/odbc_installer.h"

#include <cstring>

#include "platform/loader/loader.h"

namespace {

// The installer's narrow entry points, as unixODBC exports them. HWND is a
// pointer on both sides; BOOL is int and WORD/DWORD are 16/32 bits in
// odbcinst.h as well.
using CreateDataSourceFn = BOOL (*)(HWND, const char*);
using ConfigDataSourceFn = BOOL (*)(HWND, WORD, const char*, const char*);
using ManageDataSourcesFn = BOOL (*)(HWND);
using RemoveDsnFn = BOOL (*)(const char*);
using WriteDsnFn = BOOL (*)(const char*, const char*);
using WriteProfileFn = BOOL (*)(const char*, const char*, const char*, const char*);
using GetProfileFn = int (*)(const char*, const char*, const char*, char*, int, const char*);
using GetDriversFn = BOOL (*)(char*, WORD, WORD*);
using GetModeFn = BOOL (*)(WORD*);
using SetModeFn = BOOL (*)(WORD);
using InstallerErrorFn = short (*)(WORD, DWORD*, char*, WORD, WORD*);

constexpr short kSqlSuccess = 0;
constexpr short kSqlSuccessWithInfo = 1;
constexpr int kErrorTextSize = 512;  // 511 characters and the terminator

// Splits a run of NUL-terminated texts ended by an empty one.
std::vector<std::string> SplitDoubleNul(const char* buffer, size_t size) {
  std::vector<std::string> texts;
  size_t at = 0;
  while (at < size && buffer[at] != '\0') {
    const size_t length = strnlen(buffer + at, size - at);
    texts.emplace_back(buffer + at, length);
    at += length + 1;
  }
  return texts;
}

}  // namespace

OdbcInstaller::OdbcInstaller() {
  module_ = LoadLibraryA("ODBCCP32.DLL");
  if (!module_) loadError_ = "The ODBC installer library (libodbcinst) could not be loaded.";
}

OdbcInstaller::~OdbcInstaller() {
  if (module_) FreeLibrary(module_);
}

void* OdbcInstaller::resolve(const char* name) {
  if (!module_) return nullptr;
  void* proc = reinterpret_cast<void*>(GetProcAddress(module_, name));
  if (!proc) loadError_ = std::string("The ODBC installer has no function ") + name + ".";
  return proc;
}

BOOL OdbcInstaller::CreateDataSource(HWND owner, const char* dsn) {
  auto fn = reinterpret_cast<CreateDataSourceFn>(resolve("SQLCreateDataSource"));
  return fn ? fn(owner, dsn) : FALSE;
}

BOOL OdbcInstaller::ConfigDataSource(HWND owner, WORD request, const char* driver, const char* attributes) {
  auto fn = reinterpret_cast<ConfigDataSourceFn>(resolve("SQLConfigDataSource"));
  return fn ? fn(owner, request, driver, attributes) : FALSE;
}

BOOL OdbcInstaller::ManageDataSources(HWND owner) {
  auto fn = reinterpret_cast<ManageDataSourcesFn>(resolve("SQLManageDataSources"));
  return fn ? fn(owner) : FALSE;
}

BOOL OdbcInstaller::RemoveDsnFromIni(const char* dsn) {
  auto fn = reinterpret_cast<RemoveDsnFn>(resolve("SQLRemoveDSNFromIni"));
  return fn ? fn(dsn) : FALSE;
}

BOOL OdbcInstaller::WriteDsnToIni(const char* dsn, const char* driver) {
  auto fn = reinterpret_cast<WriteDsnFn>(resolve("SQLWriteDSNToIni"));
  return fn ? fn(dsn, driver) : FALSE;
}

BOOL OdbcInstaller::WritePrivateProfileString(const char* section, const char* key, const char* value,
                                              const char* file) {
  auto fn = reinterpret_cast<WriteProfileFn>(resolve("SQLWritePrivateProfileString"));
  return fn ? fn(section, key, value, file) : FALSE;
}

std::vector<std::string> OdbcInstaller::GetPrivateProfileList(const char* section, const char* file) {
  auto fn = reinterpret_cast<GetProfileFn>(resolve("SQLGetPrivateProfileString"));
  if (!fn) return {};
  // The installer cuts a list that does not fit without saying so: grow the
  // buffer until the answer leaves room to spare.
  for (int size = 4096; size <= (1 << 22); size *= 4) {
    std::vector<char> buffer(static_cast<size_t>(size), '\0');
    const int length = fn(section, nullptr, "", buffer.data(), size, file);
    if (length < 0) return {};
    if (length < size - 2) return SplitDoubleNul(buffer.data(), buffer.size());
  }
  return {};
}

std::string OdbcInstaller::GetPrivateProfileString(const char* section, const char* key, const char* file) {
  auto fn = reinterpret_cast<GetProfileFn>(resolve("SQLGetPrivateProfileString"));
  if (!fn || !section || !key) return {};
  std::vector<char> buffer(4096, '\0');
  const int length = fn(section, key, "", buffer.data(), static_cast<int>(buffer.size()), file);
  if (length <= 0) return {};
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

std::vector<std::string> OdbcInstaller::GetInstalledDrivers() {
  auto fn = reinterpret_cast<GetDriversFn>(resolve("SQLGetInstalledDrivers"));
  if (!fn) return {};
  std::vector<char> buffer(32768, '\0');
  WORD used = 0;
  if (!fn(buffer.data(), static_cast<WORD>(buffer.size() - 1), &used)) return {};
  return SplitDoubleNul(buffer.data(), buffer.size());
}

BOOL OdbcInstaller::GetConfigMode(WORD* mode) {
  auto fn = reinterpret_cast<GetModeFn>(resolve("SQLGetConfigMode"));
  return fn ? fn(mode) : FALSE;
}

BOOL OdbcInstaller::SetConfigMode(WORD mode) {
  auto fn = reinterpret_cast<SetModeFn>(resolve("SQLSetConfigMode"));
  return fn ? fn(mode) : FALSE;
}

InstallerError OdbcInstaller::FirstError() {
  InstallerError error;
  auto fn = reinterpret_cast<InstallerErrorFn>(resolve("SQLInstallerError"));
  if (!fn) {
    error.code = kOdbcErrorGeneral;
    error.text = loadError_;
    return error;
  }
  char text[kErrorTextSize] = {};
  WORD length = 0;
  const short rc = fn(1, &error.code, text, kErrorTextSize - 1, &length);
  if (rc == kSqlSuccess || rc == kSqlSuccessWithInfo) error.text.assign(text, strnlen(text, sizeof text));
  else error.code = 0;
  return error;
}

ConfigModeScope::ConfigModeScope(OdbcInstaller& installer, WORD mode) : installer_(installer) {
  restore_ = installer_.GetConfigMode(&saved_) != FALSE;
  installer_.SetConfigMode(mode);
}

ConfigModeScope::~ConfigModeScope() {
  if (restore_) installer_.SetConfigMode(saved_);
}
