// How a connection context meets real servers that refuse a login: MariaDB's
// driver reports state 28000 (the login prompt opens), psqlODBC reports 08001
// (one message box with every diagnostic record), and a server that does not
// answer at all gives one message box and leaves the program usable.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "library/catalog/connection.h"
#include "library/catalog/login_dialog.h"
#include "library/catalog/settings.h"
#include "tests/support/gui_driver.h"
#include "tests/support/servers.h"
#include "tests/support/world.h"

namespace {

// What a login prompt showed when it opened.
struct PromptSeen {
  std::string user;
  std::string password;
  bool saveChecked = false;
};

// The saved login of a data source, or "<none>".
std::string SavedLogin(const char* dsn) {
  char user[kLoginTextMax + 1] = "";
  char password[kLoginTextMax + 1] = "";
  if (!LoadLogin(dsn, user, sizeof user, password, sizeof password)) return "<none>";
  return std::string(user) + "/" + password;
}

// A TCP port on 127.0.0.1 that nothing listens on: bound once and released.
int UnusedLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  int port = 0;
  if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  if (fd >= 0) close(fd);
  return port;
}

// Every diagnostic record of a plain SQLConnect, formatted as the program
// formats them: one state line and one message line per record.
std::vector<std::string> RecordsOfPlainConnect(const std::string& dsn, const std::string& user,
                                               const std::string& password) {
  std::vector<std::string> records;
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  SQLRETURN rc = SQLConnect(dbc, (SQLCHAR*)dsn.c_str(), SQL_NTS, (SQLCHAR*)user.c_str(), SQL_NTS,
                            (SQLCHAR*)password.c_str(), SQL_NTS);
  if (OdbcSucceeded(rc)) {
    SQLDisconnect(dbc);
  } else {
    for (SQLSMALLINT i = 1;; ++i) {
      SQLCHAR state[6] = "";
      SQLCHAR message[512] = "";
      SQLINTEGER native = 0;
      SQLSMALLINT length = 0;
      if (SQLGetDiagRec(SQL_HANDLE_DBC, dbc, i, state, &native, message, sizeof message, &length) !=
          SQL_SUCCESS)
        break;
      records.push_back(std::string((char*)state) + "\r\n" + (char*)message);
    }
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return records;
}

class LoginContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    UseLibraryModuleState();
    g_savePassword = true;
  }

  void TearDown() override { g_savePassword = true; }

  // Answers every login prompt with the next of `answers`; records what each
  // prompt showed. A cancelling answer, or a prompt beyond the answers,
  // clicks Cancel.
  struct Answer {
    std::string user;
    std::string password;
    bool save = true;
    bool cancel = false;
  };
  static Answer CancelPrompt() { return {"", "", true, true}; }
  void AnswerPrompts(std::vector<Answer> answers) {
    answers_ = std::move(answers);
    watcher_ = std::make_unique<ModalDialogWatcher>([this](QDialog* dialog) {
      auto* user = FindControl<QLineEdit>(dialog, kLoginUserEditId);
      auto* password = FindControl<QLineEdit>(dialog, kLoginPasswordEditId);
      auto* save = FindControl<QCheckBox>(dialog, kLoginSaveCheckId);
      if (!user || !password || !save) {
        ADD_FAILURE() << "a modal dialog without the login prompt's controls appeared";
        dialog->reject();
        return;
      }
      seen_.push_back({user->text().toStdString(), password->text().toStdString(), save->isChecked()});
      if (seen_.size() > answers_.size() || answers_[seen_.size() - 1].cancel) {
        FindControl<QPushButton>(dialog, IDCANCEL)->click();
        return;
      }
      const Answer& answer = answers_[seen_.size() - 1];
      user->setText(QString::fromStdString(answer.user));
      password->setText(QString::fromStdString(answer.password));
      save->setChecked(answer.save);
      FindControl<QPushButton>(dialog, IDOK)->click();
    });
  }

  std::string ErrorText(const ConnectionContext& context) const {
    return context.errorText ? context.errorText : "";
  }

  TestWorld world_;
  MessageBoxRecorder boxes_;
  std::vector<Answer> answers_;
  std::vector<PromptSeen> seen_;
  std::unique_ptr<ModalDialogWatcher> watcher_;
};

class MariaDbLoginTest : public LoginContractTest {
 protected:
  void SetUp() override {
    LoginContractTest::SetUp();
    DATROVA_REQUIRE_SERVER(TestServer::MariaDB);
    std::string why;
    server_ = *FindServer(TestServer::MariaDB, &why);
    // No login in the DSN: the saved login is all the driver gets.
    AddServerDsn(world_, TestServer::MariaDB, "Maria");
    ASSERT_TRUE(SaveLogin("Maria", server_.owner.user.c_str(), "wrong-password"));
  }
  ServerInfo server_;
};

TEST_F(MariaDbLoginTest, WrongSavedPasswordPromptsAndACheckedSaveBoxReplacesTheLogin) {
  AnswerPrompts({{server_.owner.user, server_.owner.password, /*save=*/true}});
  ConnectionContext context;
  ASSERT_TRUE(Connect(context, "Maria")) << ErrorText(context);
  EXPECT_TRUE(context.connected);

  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].user, server_.owner.user);
  EXPECT_EQ(seen_[0].password, "wrong-password");
  EXPECT_TRUE(seen_[0].saveChecked);
  EXPECT_TRUE(boxes_.calls().empty());
  EXPECT_EQ(SavedLogin("Maria"), server_.owner.user + "/" + server_.owner.password);

  // The next context connects with the new saved login, without a prompt.
  ConnectionContext again;
  EXPECT_TRUE(Connect(again, "Maria")) << ErrorText(again);
  EXPECT_EQ(seen_.size(), 1u);
}

TEST_F(MariaDbLoginTest, ClearedSaveBoxConnectsButKeepsTheSavedLogin) {
  AnswerPrompts({{server_.owner.user, server_.owner.password, /*save=*/false}});
  ConnectionContext context;
  ASSERT_TRUE(Connect(context, "Maria")) << ErrorText(context);
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_TRUE(boxes_.calls().empty());
  EXPECT_EQ(SavedLogin("Maria"), server_.owner.user + "/wrong-password");

  // The box keeps the user's last choice for the next prompt of the process.
  ConnectionContext next;
  AnswerPrompts({CancelPrompt()});
  EXPECT_FALSE(Connect(next, "Maria"));
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_FALSE(seen_[1].saveChecked);
}

TEST_F(MariaDbLoginTest, CancelEndsQuietly) {
  AnswerPrompts({CancelPrompt()});
  ConnectionContext context;
  EXPECT_FALSE(Connect(context, "Maria"));
  EXPECT_FALSE(context.connected);
  EXPECT_EQ(seen_.size(), 1u);
  EXPECT_TRUE(boxes_.calls().empty());
  EXPECT_EQ(SavedLogin("Maria"), server_.owner.user + "/wrong-password");
  // The refusal is still on record for whoever asks.
  EXPECT_NE(ErrorText(context).find("28000\r\n"), std::string::npos) << ErrorText(context);
}

TEST_F(MariaDbLoginTest, EachRefusedEntryPromptsAgainWithWhatWasEntered) {
  AnswerPrompts({{server_.owner.user, "still-wrong", /*save=*/false},
                 {server_.reader.user, server_.reader.password, /*save=*/true}});
  ConnectionContext context;
  ASSERT_TRUE(Connect(context, "Maria")) << ErrorText(context);
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_EQ(seen_[1].user, server_.owner.user);
  EXPECT_EQ(seen_[1].password, "still-wrong");
  EXPECT_FALSE(seen_[1].saveChecked);
  EXPECT_TRUE(boxes_.calls().empty());
  // The second entry (another role of the server) is the one that was saved.
  EXPECT_EQ(SavedLogin("Maria"), server_.reader.user + "/" + server_.reader.password);
}

TEST_F(LoginContractTest, PostgreSqlWrongPasswordShowsOneMessageWithEveryRecord) {
  DATROVA_REQUIRE_SERVER(TestServer::PostgreSQL);
  std::string why;
  const ServerInfo server = *FindServer(TestServer::PostgreSQL, &why);
  AddServerDsn(world_, TestServer::PostgreSQL, "Pg");
  ASSERT_TRUE(SaveLogin("Pg", server.owner.user.c_str(), "wrong-password"));
  AnswerPrompts({});

  ConnectionContext context;
  EXPECT_FALSE(Connect(context, "Pg"));
  EXPECT_FALSE(context.connected);
  EXPECT_TRUE(seen_.empty()) << "psqlODBC's refusal (08001) must not open the login prompt";

  const auto calls = boxes_.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].call.caption, "Datrova 2.2");
  EXPECT_EQ(calls[0].call.type, static_cast<UINT>(MB_ICONINFORMATION | MB_SYSTEMMODAL));
  EXPECT_EQ(calls[0].call.text, ErrorText(context));
  EXPECT_EQ(calls[0].call.text.rfind("08001\r\n", 0), 0u) << calls[0].call.text;

  const auto records = RecordsOfPlainConnect("Pg", server.owner.user, "wrong-password");
  ASSERT_FALSE(records.empty());
  for (const std::string& record : records)
    EXPECT_NE(calls[0].call.text.find(record), std::string::npos)
        << "record missing from the message:\n" << record << "\nmessage:\n" << calls[0].call.text;
  EXPECT_EQ(SavedLogin("Pg"), server.owner.user + "/wrong-password");
}

// A server address where nothing answers: one message box per attempt, and
// the same context, and the program, go on working afterwards.
class UnreachableServerTest : public LoginContractTest,
                              public ::testing::WithParamInterface<TestServer> {};

TEST_P(UnreachableServerTest, OneMessageThenTheProgramGoesOn) {
  const TestServer server = GetParam();
  DATROVA_REQUIRE_SERVER(server);
  std::string why;
  const ServerInfo info = *FindServer(server, &why);
  const int port = UnusedLoopbackPort();
  ASSERT_GT(port, 0);
  // Names of their own per server: unixODBC caches ini values by DSN name.
  const std::string nowhere = std::string(ServerName(server)) + "Nowhere";
  const std::string good = std::string(ServerName(server)) + "Good";
  AddServerDsn(world_, server, nowhere, info.owner, {{"Port", std::to_string(port)}});
  AddServerDsn(world_, server, good, info.owner);
  AnswerPrompts({});

  ConnectionContext context;
  EXPECT_FALSE(Connect(context, nowhere.c_str()));
  EXPECT_TRUE(seen_.empty());
  auto calls = boxes_.calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].call.text, ErrorText(context));
  EXPECT_FALSE(calls[0].call.text.empty());
  EXPECT_EQ(calls[0].call.text.find("28000"), std::string::npos);

  // A second attempt reports again, once.
  EXPECT_FALSE(Connect(context, nowhere.c_str()));
  EXPECT_EQ(boxes_.calls().size(), 2u);

  // The program goes on: another data source of the same driver connects.
  ConnectionContext other;
  EXPECT_TRUE(Connect(other, good.c_str())) << ErrorText(other);
  EXPECT_EQ(boxes_.calls().size(), 2u);
  EXPECT_TRUE(seen_.empty());
}

INSTANTIATE_TEST_SUITE_P(Servers, UnreachableServerTest,
                         ::testing::Values(TestServer::PostgreSQL, TestServer::MariaDB),
                         [](const auto& info) { return std::string(ServerName(info.param)); });

}  // namespace
