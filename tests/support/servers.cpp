#include "tests/support/servers.h"

#include "library/catalog/settings.h"

#include <gtest/gtest.h>

#include <QString>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

using EnvValues = std::map<std::string, std::string>;

// KEY=VALUE lines, unquoted, as the start script writes them.
EnvValues ReadEnvFile(const std::string& path) {
  EnvValues values;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos || line.compare(0, 8, "DATROVA_") != 0) continue;
    values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

std::string Value(const EnvValues& values, const std::string& key) {
  auto it = values.find(key);
  return it == values.end() ? std::string() : it->second;
}

// The prefix of the server's keys in the env file.
std::string KeyPrefix(TestServer server) {
  return server == TestServer::PostgreSQL ? "DATROVA_PG_" : "DATROVA_MARIADB_";
}

bool ServerProgramInstalled(TestServer server) {
  std::error_code ec;
  if (server == TestServer::MariaDB)
    return fs::exists("/usr/sbin/mariadbd", ec) || fs::exists("/usr/bin/mariadbd", ec);
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec))
    if (fs::exists(entry.path() / "bin" / "initdb", ec)) return true;
  return false;
}

// unixODBC's installer library caches what it read from the ini files for a
// while, keyed by the logical file name ("ODBC.INI"), not by the file behind
// $ODBCINI: a DSN name that an earlier world of the same process defined
// otherwise would still resolve to the old driver, port and login.
void ClearOdbcIniCache() {
  void* odbcinst = dlopen("libodbcinst.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (!odbcinst) return;  // not loaded yet: nothing cached
  if (auto clear = reinterpret_cast<int (*)()>(dlsym(odbcinst, "__clear_ini_cache"))) clear();
  dlclose(odbcinst);
}

std::string StartHint() {
  return "Run the suite through ctest (the \"servers\" fixture starts the servers), or start them "
         "with: scripts/test-servers.sh start " DATROVA_BINARY_DIR "/test-servers";
}

}  // namespace

const char* ServerName(TestServer server) {
  return server == TestServer::PostgreSQL ? "PostgreSQL" : "MariaDB";
}

const char* ServerDriver(TestServer server) {
  return server == TestServer::PostgreSQL ? "PostgreSQL ANSI" : "MariaDB Unicode";
}

std::string ServersEnvFile() {
  const char* file = std::getenv("DATROVA_TEST_SERVERS_ENV");
  if (file && *file) return file;
  return DATROVA_BINARY_DIR "/test-servers/servers.env";
}

std::string MissingServerPackages(TestServer server) {
  const bool program = ServerProgramInstalled(server);
  const bool driver = !TestWorld::driverLibrary(ServerDriver(server)).empty();
  if (program && driver) return {};
  const char* packages = server == TestServer::PostgreSQL
                             ? "postgresql and odbc-postgresql"
                             : "mariadb-server, mariadb-client and odbc-mariadb";
  return std::string(ServerName(server)) + " is not installed (" +
         (program ? "" : "no server program") + (!program && !driver ? ", " : "") +
         (driver ? "" : std::string("no \"") + ServerDriver(server) + "\" driver") +
         "); install " + packages + " (scripts/install-deps.sh) to run this test";
}

std::optional<ServerInfo> FindServer(TestServer server, std::string* why) {
  const std::string path = ServersEnvFile();
  const EnvValues values = ReadEnvFile(path);
  const std::string prefix = KeyPrefix(server);
  auto fail = [&](const std::string& reason) -> std::optional<ServerInfo> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (values.empty()) return fail(std::string(ServerName(server)) + " test server is not running: " +
                                  path + " is missing. " + StartHint());
  if (Value(values, prefix + "AVAILABLE") != "1")
    return fail(std::string(ServerName(server)) + " test server was not started (" + path +
                " records it as unavailable). " + StartHint());

  ServerInfo info;
  info.server = server;
  info.host = Value(values, prefix + "HOST");
  info.port = std::atoi(Value(values, prefix + "PORT").c_str());
  info.database = Value(values, prefix + "DATABASE");
  info.owner = {Value(values, prefix + "USER"), Value(values, prefix + "PASSWORD")};
  info.reader = {Value(values, prefix + "READER_USER"), Value(values, prefix + "READER_PASSWORD")};
  if (info.host.empty() || info.port <= 0 || info.database.empty() || info.owner.user.empty())
    return fail(std::string("incomplete record of the ") + ServerName(server) + " test server in " + path);

  // A run that was interrupted may have left the file of servers that are gone.
  const std::string pid = Value(values, prefix + "PID");
  if (pid.empty() || !fs::exists("/proc/" + pid))
    return fail(std::string(ServerName(server)) + " test server (pid " + pid + ") is not running. " +
                StartHint());
  if (why) why->clear();
  return info;
}

ServerReadiness CheckServer(TestServer server, std::string* why) {
  std::string reason = MissingServerPackages(server);
  if (!reason.empty()) {
    if (why) *why = reason;
    return ServerReadiness::PackagesMissing;
  }
  if (!FindServer(server, why)) return ServerReadiness::NotRunning;
  return ServerReadiness::Ready;
}

void AddServerDsn(TestWorld& world, TestServer server, const std::string& name,
                  const std::optional<ServerLogin>& login, const IniAttributes& extra) {
  std::string why;
  const std::optional<ServerInfo> info = FindServer(server, &why);
  if (!info) {
    ADD_FAILURE() << why;
    return;
  }
  IniAttributes attributes;
  if (server == TestServer::PostgreSQL) {
    attributes = {{"Servername", info->host},
                  {"Port", std::to_string(info->port)},
                  {"Database", info->database},
                  {"SSLmode", "disable"}};
    if (login) {
      attributes.emplace_back("Username", login->user);
      attributes.emplace_back("Password", login->password);
    }
  } else {
    // The server name must stay an address: "localhost" would make the
    // driver take the default socket instead of the test server's port.
    attributes = {{"Server", info->host},
                  {"Port", std::to_string(info->port)},
                  {"Database", info->database},
                  {"CHARSET", "utf8mb4"}};
    if (login) {
      attributes.emplace_back("UID", login->user);
      attributes.emplace_back("PWD", login->password);
    }
  }
  // An extra attribute replaces one of the same name (ini keys are
  // case-insensitive) instead of adding a second, which drivers ignore.
  for (const auto& [key, value] : extra) {
    std::erase_if(attributes, [&](const auto& existing) {
      return QString::fromStdString(existing.first).compare(QString::fromStdString(key),
                                                            Qt::CaseInsensitive) == 0;
    });
    attributes.emplace_back(key, value);
  }
  world.addDsn(name, ServerDriver(server), attributes);
  ClearOdbcIniCache();
  if (login && !SaveLogin(name.c_str(), login->user.c_str(), login->password.c_str()))
    ADD_FAILURE() << "could not save the login of " << name;
}
