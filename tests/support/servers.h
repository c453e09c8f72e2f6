// The test servers (PostgreSQL and MariaDB) as a test sees them: what
// scripts/test-servers.sh recorded about them, and data sources for them in
// a test's private world.
//
//   class PgTest : public ::testing::Test {
//     void SetUp() override {
//       DATROVA_REQUIRE_SERVER(TestServer::PostgreSQL);
//       AddServerDsn(world_, TestServer::PostgreSQL, "Pg");   // owner login in the DSN
//     }
//     TestWorld world_;
//   };
//
// A test that names a server is skipped only when that server's packages are
// not installed. When they are installed but the server is not running (the
// suite was started without the "servers" CTest fixture), the test fails and
// says how to start the servers.
#pragma once

#include <optional>
#include <string>

#include "tests/support/world.h"

enum class TestServer { PostgreSQL, MariaDB };

// A login of one of the fixture roles.
struct ServerLogin {
  std::string user;
  std::string password;
};

struct ServerInfo {
  TestServer server = TestServer::PostgreSQL;
  std::string host;        // always 127.0.0.1
  int port = 0;
  std::string database;    // the fixture database ("datrova")
  ServerLogin owner;       // owns every fixture object
  ServerLogin reader;      // SELECT on customers; SELECT, INSERT, UPDATE on orders
};

// "PostgreSQL" or "MariaDB".
const char* ServerName(TestServer server);

// The ODBC driver the test DSNs use: "PostgreSQL ANSI" or "MariaDB Unicode".
const char* ServerDriver(TestServer server);

// The env file the start script wrote: $DATROVA_TEST_SERVERS_ENV, else
// <build>/test-servers/servers.env.
std::string ServersEnvFile();

// Why the server cannot be used at all: its server or driver packages are
// not installed. Empty when they are.
std::string MissingServerPackages(TestServer server);

// The running server as recorded in the env file; nullopt with `*why` set
// when the file is missing or the server is not recorded as running.
std::optional<ServerInfo> FindServer(TestServer server, std::string* why);

// Registers a user DSN `name` for the server's fixture database with the
// server's driver. With `login`, the DSN carries that user and password and
// the login is also saved for the data source in the world's registry: the
// program passes the saved login to SQLConnect, and MariaDB's driver, unlike
// psqlODBC, ignores the DSN's login when SQLConnect passes an empty user.
// Without `login`, nothing is saved and the DSN carries none. Fails the
// current test when the server is not running.
void AddServerDsn(TestWorld& world, TestServer server, const std::string& name,
                  const std::optional<ServerLogin>& login = std::nullopt,
                  const IniAttributes& extra = {});

// What DATROVA_REQUIRE_SERVER decides.
enum class ServerReadiness { Ready, PackagesMissing, NotRunning };
ServerReadiness CheckServer(TestServer server, std::string* why);

// In a test body or SetUp: skips the test when the server's packages are not
// installed, fails it when they are but the server is not running.
#define DATROVA_REQUIRE_SERVER(server)                                  \
  do {                                                                  \
    std::string datrova_why_;                                           \
    switch (CheckServer((server), &datrova_why_)) {                     \
      case ServerReadiness::Ready:                                      \
        break;                                                          \
      case ServerReadiness::PackagesMissing:                            \
        GTEST_SKIP() << datrova_why_;                                   \
      case ServerReadiness::NotRunning:                                 \
        FAIL() << datrova_why_;                                         \
    }                                                                   \
  } while (0)
