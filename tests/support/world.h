// The private world of a test: a temporary folder that stands in for
// everything a test could otherwise touch of the user's own — HOME, the
// unixODBC user and system ini files (with a private odbcinst.ini naming the
// installed drivers), the registry hives, the system directory and the XDG
// folders. The environment is restored and the folder removed when the world
// goes (set DATROVA_KEEP_WORLD=1 to keep the folder for a look afterwards).
//
//   TestWorld world;                          // in a fixture or a test body
//   world.addSqliteDsn("Demo", "demo.sql");   // tests/fixtures/demo.sql
//   UseLibraryModuleState();                  // allocator, strings, settings
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/wintypes.h"

using IniAttributes = std::vector<std::pair<std::string, std::string>>;

class TestWorld {
 public:
  TestWorld();
  ~TestWorld();
  TestWorld(const TestWorld&) = delete;
  TestWorld& operator=(const TestWorld&) = delete;

  const std::string& root() const { return root_; }
  std::string home() const { return root_ + "/home"; }
  std::string userOdbcIni() const { return home() + "/.odbc.ini"; }       // $ODBCINI
  // $ODBCSYSINI. unixODBC reads this variable once per process and keeps the
  // folder, so every world of a process shares one temporary folder (made
  // empty by each new world, removed at exit) instead of one of its own.
  std::string systemIniDir() const;
  std::string systemOdbcIni() const { return systemIniDir() + "/odbc.ini"; }
  std::string registryDir() const { return root_ + "/registry"; }         // $DATROVA_REGISTRY
  std::string systemDir() const { return root_ + "/system"; }             // $DATROVA_SYSTEM_DIR
  std::string dataDir() const { return root_ + "/data"; }                 // databases of the DSNs

  // Builds a SQLite database from `sql` and registers it as a DSN with the
  // driver "SQLite3". `sql` is the name of a file under tests/fixtures/
  // (ending in ".sql") or SQL text. Returns the database path. A failure of
  // the SQL fails the current test (ADD_FAILURE) and leaves no DSN.
  std::string addSqliteDsn(const std::string& name, const std::string& sql, bool system = false,
                           const IniAttributes& extra = {});
  // Registers a DSN for any driver ("PostgreSQL Unicode", "MariaDB Unicode", ...).
  void addDsn(const std::string& name, const std::string& driver, const IniAttributes& attributes,
              bool system = false);
  // Removes a DSN from the user or system odbc.ini.
  void removeDsn(const std::string& name, bool system = false);

  // A database built from `sql` (as above) at dataDir()/<file>, without a DSN.
  std::string buildSqliteDatabase(const std::string& file, const std::string& sql);

  // The text of tests/fixtures/<file>.
  static std::string fixtureText(const std::string& file);

  // The shared object of an installed driver ("SQLite3", "PostgreSQL ANSI",
  // "PostgreSQL Unicode", "MariaDB Unicode"), empty when it is not installed.
  static std::string driverLibrary(const std::string& driver);

 private:
  struct Section {
    std::string name;
    IniAttributes values;
  };
  void writeIni(const std::string& path, const std::vector<Section>& sections);
  void setEnv(const char* name, const std::string& value);

  std::string root_;
  std::vector<std::pair<std::string, std::pair<bool, std::string>>> savedEnv_;  // name, (was set, value)
  std::vector<Section> userSections_;
  std::vector<Section> systemSections_;
};

// Makes the library's module-wide state usable in a test that links the
// library statically: the shell's task allocator, the string tables of the
// program itself, the language offset (1000 English, 0 German), and the
// settings read from the current world's registry.
void UseLibraryModuleState(UINT languageOffset = 1000);
