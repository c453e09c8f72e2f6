#include "tests/support/world.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "library/catalog/settings.h"
#include "library/res/strings.h"
#include "library/shell/module_state.h"
#include "platform/com/unknwn.h"
#include "platform/registry/registry.h"

namespace fs = std::filesystem;

namespace {

const char* const kWorldVariables[] = {
    "HOME",           "ODBCINI",          "ODBCSYSINI",    "ODBCINSTINI",     "DATROVA_REGISTRY",
    "DATROVA_SYSTEM_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR",
};

const char* const kKnownDrivers[] = {"SQLite3", "PostgreSQL ANSI", "PostgreSQL Unicode", "MariaDB Unicode"};

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The "Driver" value of a section of Debian's /etc/odbcinst.ini.
std::string SystemDriverValue(const std::string& driver) {
  std::ifstream in("/etc/odbcinst.ini");
  std::string line, section;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    size_t eq = line.find('=');
    if (eq != std::string::npos && EqualsNoCase(section, driver) && EqualsNoCase(Trim(line.substr(0, eq)), "Driver"))
      return Trim(line.substr(eq + 1));
  }
  return {};
}

std::string FallbackDriverFile(const std::string& driver) {
  if (driver == "SQLite3") return "libsqlite3odbc.so";
  if (driver == "PostgreSQL ANSI") return "psqlodbca.so";
  if (driver == "PostgreSQL Unicode") return "psqlodbcw.so";
  if (driver == "MariaDB Unicode") return "libmaodbc.so";
  return {};
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path);
}

bool LooksLikeFixtureFile(const std::string& sql) {
  return sql.size() > 4 && sql.compare(sql.size() - 4, 4, ".sql") == 0 && sql.find('\n') == std::string::npos;
}

// The system ini folder of this process (see systemIniDir()).
class ProcessSystemIniDir {
 public:
  ProcessSystemIniDir() {
    std::string pattern = (fs::temp_directory_path() / "datrova-odbcsys-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  // Only the process that made the folder removes it: a forked child that
  // exits runs the same static destructors and must not pull the folder away
  // from its parent.
  ~ProcessSystemIniDir() {
    if (getpid() != owner_) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  pid_t owner_ = getpid();
};

}  // namespace

std::string TestWorld::systemIniDir() const {
  static ProcessSystemIniDir dir;
  return dir.path();
}

TestWorld::TestWorld() {
  std::string pattern = (fs::temp_directory_path() / "datrova-world-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  for (const char* dir : {"home", "registry", "system", "data", "xdg-config", "xdg-data", "runtime"})
    fs::create_directories(root_ + "/" + dir);
  chmod((root_ + "/runtime").c_str(), 0700);

  for (const char* name : kWorldVariables) {
    const char* old = std::getenv(name);
    savedEnv_.push_back({name, {old != nullptr, old ? old : ""}});
  }
  setEnv("HOME", home());
  setEnv("ODBCINI", userOdbcIni());
  setEnv("ODBCSYSINI", systemIniDir());
  // unixODBC takes odbcinst.ini from $ODBCSYSINI when ODBCINSTINI is unset
  // (a relative ODBCINSTINI is not joined to the folder).
  unsetenv("ODBCINSTINI");
  setEnv("DATROVA_REGISTRY", registryDir());
  setEnv("DATROVA_SYSTEM_DIR", systemDir());
  setEnv("XDG_CONFIG_HOME", root_ + "/xdg-config");
  setEnv("XDG_DATA_HOME", root_ + "/xdg-data");
  setEnv("XDG_RUNTIME_DIR", root_ + "/runtime");

  // A private driver list that names the installed drivers by full path.
  std::vector<Section> drivers;
  for (const char* driver : kKnownDrivers) {
    std::string library = driverLibrary(driver);
    if (library.empty()) continue;
    drivers.push_back({driver, {{"Description", std::string(driver) + " ODBC driver"},
                                {"Driver", library},
                                {"Setup", library},
                                {"UsageCount", "1"}}});
  }
  writeIni(systemIniDir() + "/odbcinst.ini", drivers);
  writeIni(systemOdbcIni(), systemSections_);
  writeIni(userOdbcIni(), userSections_);

  PlatformRegistryReset();
}

TestWorld::~TestWorld() {
  for (const auto& [name, saved] : savedEnv_) {
    if (saved.first)
      setenv(name.c_str(), saved.second.c_str(), 1);
    else
      unsetenv(name.c_str());
  }
  PlatformRegistryReset();
  const char* keep = std::getenv("DATROVA_KEEP_WORLD");
  if (!keep || !*keep || std::string(keep) == "0") {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
}

void TestWorld::setEnv(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

std::string TestWorld::driverLibrary(const std::string& driver) {
  std::string file = SystemDriverValue(driver);
  if (file.empty()) file = FallbackDriverFile(driver);
  if (file.empty()) return {};
  if (file.front() == '/') return fs::exists(file) ? file : std::string();
  for (const char* dir : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc", "/usr/lib/odbc",
                          "/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/local/lib"}) {
    std::string path = std::string(dir) + "/" + file;
    if (fs::exists(path)) return path;
  }
  return {};
}

std::string TestWorld::fixtureText(const std::string& file) {
  std::string path = std::string(DATROVA_SOURCE_DIR) + "/tests/fixtures/" + file;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("missing fixture " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TestWorld::buildSqliteDatabase(const std::string& file, const std::string& sql) {
  const std::string path = dataDir() + "/" + file;
  std::error_code ec;
  fs::remove(path, ec);
  const std::string text = LooksLikeFixtureFile(sql) ? fixtureText(sql) : sql;
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    ADD_FAILURE() << "cannot create " << path << ": " << (db ? sqlite3_errmsg(db) : "no memory");
    sqlite3_close(db);
    return {};
  }
  char* error = nullptr;
  if (sqlite3_exec(db, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    ADD_FAILURE() << "SQL of " << (LooksLikeFixtureFile(sql) ? sql : std::string("text")) << " failed: "
                  << (error ? error : "?");
    sqlite3_free(error);
    sqlite3_close(db);
    return {};
  }
  sqlite3_close(db);
  return path;
}

std::string TestWorld::addSqliteDsn(const std::string& name, const std::string& sql, bool system,
                                    const IniAttributes& extra) {
  std::string path = buildSqliteDatabase(name + ".db", sql);
  if (path.empty()) return {};
  IniAttributes attributes = {{"Description", "SQLite database " + name}, {"Database", path}};
  attributes.insert(attributes.end(), extra.begin(), extra.end());
  addDsn(name, "SQLite3", attributes, system);
  return path;
}

void TestWorld::addDsn(const std::string& name, const std::string& driver, const IniAttributes& attributes,
                       bool system) {
  std::vector<Section>& sections = system ? systemSections_ : userSections_;
  Section section{name, {{"Driver", driver}}};
  section.values.insert(section.values.end(), attributes.begin(), attributes.end());
  bool replaced = false;
  for (Section& s : sections)
    if (EqualsNoCase(s.name, name)) {
      s = section;
      replaced = true;
    }
  if (!replaced) sections.push_back(section);
  writeIni(system ? systemOdbcIni() : userOdbcIni(), sections);
}

void TestWorld::removeDsn(const std::string& name, bool system) {
  std::vector<Section>& sections = system ? systemSections_ : userSections_;
  std::erase_if(sections, [&](const Section& s) { return EqualsNoCase(s.name, name); });
  writeIni(system ? systemOdbcIni() : userOdbcIni(), sections);
}

void TestWorld::writeIni(const std::string& path, const std::vector<Section>& sections) {
  std::ostringstream text;
  for (const Section& section : sections) {
    text << '[' << section.name << "]\n";
    for (const auto& [key, value] : section.values) text << key << " = " << value << '\n';
    text << '\n';
  }
  WriteFile(path, text.str());
}

void UseLibraryModuleState(UINT languageOffset) {
  if (!g_shellMalloc) SHGetMalloc(&g_shellMalloc);
  g_hInstance = nullptr;
  RegisterModuleResources(nullptr);
  g_languageOffset = languageOffset;
  g_settings = Settings{};
  LoadSettings();
}
