#include "library/shell/dsn_admin/dsn_store.h"

#include <strings.h>

#include <algorithm>

#include "library/shell/dsn_admin/dsn_admin_strings.h"

namespace {

constexpr const char* kOdbcIni = "odbc.ini";
constexpr const char* kDriverKey = "Driver";

bool SameKey(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

}  // namespace

WORD ConfigModeOf(DsnScope scope) { return scope == DsnScope::System ? kOdbcSystemDsn : kOdbcUserDsn; }

std::vector<std::string> DsnStore::Names(DsnScope scope) {
  ConfigModeScope mode(installer_, ConfigModeOf(scope));
  std::vector<std::string> names = installer_.GetPrivateProfileList(nullptr, kOdbcIni);
  // unixODBC keeps a section of defaults under this name; it is no data source.
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const std::string& n) { return SameKey(n, "ODBC"); }),
              names.end());
  return names;
}

bool DsnStore::Exists(DsnScope scope, const std::string& name) {
  for (const std::string& n : Names(scope))
    if (SameKey(n, name.c_str())) return true;
  return false;
}

std::string DsnStore::Driver(DsnScope scope, const std::string& name) {
  ConfigModeScope mode(installer_, ConfigModeOf(scope));
  return installer_.GetPrivateProfileString(name.c_str(), kDriverKey, kOdbcIni);
}

DsnAttributes DsnStore::Attributes(DsnScope scope, const std::string& name) {
  ConfigModeScope mode(installer_, ConfigModeOf(scope));
  DsnAttributes attributes;
  for (const std::string& key : installer_.GetPrivateProfileList(name.c_str(), kOdbcIni)) {
    if (SameKey(key, kDriverKey)) continue;
    attributes.emplace_back(key, installer_.GetPrivateProfileString(name.c_str(), key.c_str(), kOdbcIni));
  }
  return attributes;
}

std::string DsnStore::CheckAttribute(const std::string& key, const std::string& value) {
  if (key.empty() || SameKey(key, kDriverKey) || SameKey(key, "DSN")) return key.empty() ? " " : key;
  if (key.find_first_of("[]=;\r\n") != std::string::npos || key.front() == ' ' || key.back() == ' ') return key;
  if (value.find_first_of("\r\n") != std::string::npos) return key;
  return {};
}

std::string DsnStore::InstallerText(const char* fallback) {
  InstallerError e = installer_.FirstError();
  return e.text.empty() ? fallback : e.text;
}

bool DsnStore::WriteAttributes(DsnScope scope, const std::string& name, const DsnAttributes& attributes) {
  ConfigModeScope mode(installer_, ConfigModeOf(scope));
  for (const auto& [key, value] : attributes)
    if (!installer_.WritePrivateProfileString(name.c_str(), key.c_str(), value.c_str(), kOdbcIni)) return false;
  return true;
}

bool DsnStore::Create(DsnScope scope, const std::string& name, const std::string& driver,
                      const DsnAttributes& attributes, std::string* error) {
  if (name.empty()) {
    *error = DsnAdminText(DSN_ERR_NO_NAME);
    return false;
  }
  if (driver.empty()) {
    *error = DsnAdminText(DSN_ERR_NO_DRIVER);
    return false;
  }
  for (const auto& [key, value] : attributes) {
    const std::string bad = CheckAttribute(key, value);
    if (!bad.empty()) {
      *error = DsnAdminText(DSN_ERR_BAD_ATTRIBUTE, bad);
      return false;
    }
  }
  // SQLWriteDSNToIni replaces a data source of the same name without asking:
  // an existing one is refused here instead of being overwritten.
  if (Exists(scope, name)) {
    *error = DsnAdminText(DSN_ERR_EXISTS, name);
    return false;
  }
  {
    ConfigModeScope mode(installer_, ConfigModeOf(scope));
    if (!installer_.WriteDsnToIni(name.c_str(), driver.c_str())) {
      *error = InstallerText(DsnAdminText(DSN_ERR_NAME_REFUSED).c_str());
      return false;
    }
  }
  if (!WriteAttributes(scope, name, attributes)) {
    *error = InstallerText(DsnAdminText(DSN_ERR_WRITE_FAILED).c_str());
    ConfigModeScope mode(installer_, ConfigModeOf(scope));
    installer_.RemoveDsnFromIni(name.c_str());  // no half-written data source stays behind
    return false;
  }
  return true;
}

bool DsnStore::Update(DsnScope scope, const std::string& name, const DsnAttributes& attributes,
                      std::string* error) {
  for (const auto& [key, value] : attributes) {
    const std::string bad = CheckAttribute(key, value);
    if (!bad.empty()) {
      *error = DsnAdminText(DSN_ERR_BAD_ATTRIBUTE, bad);
      return false;
    }
  }
  if (!Exists(scope, name)) {
    *error = DsnAdminText(DSN_ERR_NOT_FOUND, name);
    return false;
  }
  const DsnAttributes old = Attributes(scope, name);
  bool ok = true;
  {
    ConfigModeScope mode(installer_, ConfigModeOf(scope));
    for (const auto& [key, value] : old) {
      const bool kept = std::any_of(attributes.begin(), attributes.end(),
                                    [&key = key](const auto& a) { return SameKey(a.first, key.c_str()); });
      if (!kept && !installer_.WritePrivateProfileString(name.c_str(), key.c_str(), nullptr, kOdbcIni)) ok = false;
    }
  }
  if (ok) ok = WriteAttributes(scope, name, attributes);
  if (!ok) {
    *error = InstallerText(DsnAdminText(DSN_ERR_WRITE_FAILED).c_str());
    // Put back what was there: the keys written anew go, the old ones return.
    ConfigModeScope mode(installer_, ConfigModeOf(scope));
    for (const auto& [key, value] : attributes)
      installer_.WritePrivateProfileString(name.c_str(), key.c_str(), nullptr, kOdbcIni);
    for (const auto& [key, value] : old)
      installer_.WritePrivateProfileString(name.c_str(), key.c_str(), value.c_str(), kOdbcIni);
    return false;
  }
  return true;
}

bool DsnStore::Remove(DsnScope scope, const std::string& name, std::string* error) {
  if (!Exists(scope, name)) {
    *error = DsnAdminText(DSN_ERR_NOT_FOUND, name);
    return false;
  }
  ConfigModeScope mode(installer_, ConfigModeOf(scope));
  if (!installer_.RemoveDsnFromIni(name.c_str())) {
    *error = InstallerText(DsnAdminText(DSN_ERR_WRITE_FAILED).c_str());
    return false;
  }
  return true;
}
