// Data sources as the installer keeps them in the user and the system
// odbc.ini, read and written only through the installer's non-interactive
// functions, so what is written here is what unixODBC and every other ODBC
// program read. Each operation works in the installer mode of its scope and
// restores the mode it found.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "library/shell/dsn_admin/odbc_installer.h"

enum class DsnScope { User, System };

using DsnAttributes = std::vector<std::pair<std::string, std::string>>;

class DsnStore {
 public:
  explicit DsnStore(OdbcInstaller& installer) : installer_(installer) {}

  // The driver names of the installer's odbcinst.ini.
  std::vector<std::string> InstalledDrivers() { return installer_.GetInstalledDrivers(); }
  // The data source names of one scope, in file order.
  std::vector<std::string> Names(DsnScope scope);
  bool Exists(DsnScope scope, const std::string& name);
  // The "Driver" entry of a data source (empty when it has none).
  std::string Driver(DsnScope scope, const std::string& name);
  // Every entry of a data source except "Driver", in file order.
  DsnAttributes Attributes(DsnScope scope, const std::string& name);

  // Each of these returns false with a user-readable reason in *error and
  // leaves the files as they were.
  //
  // A new data source: refused when the name exists in the scope already,
  // when the installer refuses the name, or when an attribute is malformed.
  bool Create(DsnScope scope, const std::string& name, const std::string& driver, const DsnAttributes& attributes,
              std::string* error);
  // Replaces the attributes of an existing data source (its driver stays).
  bool Update(DsnScope scope, const std::string& name, const DsnAttributes& attributes, std::string* error);
  bool Remove(DsnScope scope, const std::string& name, std::string* error);

  // An attribute the files could not carry back as written: an empty or
  // reserved key, or brackets, '=', ';' or line breaks where the ini syntax
  // would split them. Empty when the attribute is sound.
  static std::string CheckAttribute(const std::string& key, const std::string& value);

 private:
  bool WriteAttributes(DsnScope scope, const std::string& name, const DsnAttributes& attributes);
  std::string InstallerText(const char* fallback);

  OdbcInstaller& installer_;
};

WORD ConfigModeOf(DsnScope scope);
