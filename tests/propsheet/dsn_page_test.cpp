// The data source page: saved login shown and saved on OK, "&Connect" and
// "&Long list" on a fresh connection without the login prompt, rows the
// driver rejects left out, errors in place of the list.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "library/catalog/connection.h"
#include "library/catalog/odbc_handles.h"
#include "library/catalog/settings.h"
#include "library/propsheet/driver_info.h"
#include "library/shell/module_state.h"
#include "tests/propsheet/fixture.h"
#include "tests/propsheet/sheet_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/servers.h"
#include "tests/support/world.h"

namespace {

struct DsnPageView {
  QString user, password;
  QStringList labels, values;
  bool listVisible = false;
  QString message;
};

class DsnPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    UseLibraryModuleState();
  }

  // Opens the sheet of data source `dsn` from the root; `act` works on the
  // data source page, then the page is read and the sheet closed with OK or
  // Cancel.
  DsnPageView Run(const char* dsn, const std::function<void(QWidget*)>& act, bool ok, int* prompts = nullptr) {
    DsnPageView view;
    FolderPtr root = MakeFolder(nullptr, nullptr);
    ListPtr item = DsnItem(dsn);
    LPCITEMIDLIST items[] = {item.get()};
    int seen = 0;
    RunProperties(root.get(), 1, items, [&](QDialog* sheet) {
      QWidget* page = ShowPage(sheet, 1007);
      ASSERT_NE(nullptr, page);
      act(page);
      auto* list = FindControl<QTreeWidget>(page, 1001);
      view.user = FindControl<QLineEdit>(page, 1014)->text();
      view.password = FindControl<QLineEdit>(page, 1015)->text();
      view.labels = ColumnTexts(list, 0);
      view.values = ColumnTexts(list, 1);
      view.listVisible = !list->isHidden();
      auto* message = FindControl<QLabel>(page, 1018);
      view.message = message->isHidden() ? QString() : message->text();
      if (ok) PressOk(sheet);
    }, &seen);
    if (prompts) *prompts = seen - 1;  // dialogs other than the sheet itself
    return view;
  }

  static void Click(QWidget* page, int id) { FindControl<QPushButton>(page, id)->click(); }
  static void Type(QWidget* page, int id, const char* text) {
    FindControl<QLineEdit>(page, id)->setText(QString::fromUtf8(text));
  }

  TestWorld world_;
};

QStringList ShortListLabels(const QString& skip = QString()) {
  QStringList labels;
  for (const DriverInfoRow& row : kDriverInfoRows)
    if (row.inShortList && skip != row.label) labels << row.label;
  return labels;
}

// The labels of the catalog rows whose SQLGetInfo the data source answers,
// asked here on a connection of the test's own.
QStringList AnsweredLabels(const char* dsn, bool shortOnly, const std::string& user = "",
                           const std::string& password = "") {
  QStringList labels;
  EnvHandle env;
  SQLHENV raw = nullptr;
  if (!OdbcSucceeded(AllocEnvironment(&raw))) return labels;
  env.reset(raw);
  ConnectedDbc dbc;
  if (!OdbcSucceeded(dbc.handle().allocate(env.get()))) return labels;
  SQLRETURN rc = SQLConnect(dbc.get(), (SQLCHAR*)dsn, SQL_NTS, (SQLCHAR*)user.c_str(), SQL_NTS,
                            (SQLCHAR*)password.c_str(), SQL_NTS);
  EXPECT_TRUE(OdbcSucceeded(rc)) << dsn;
  if (!OdbcSucceeded(rc)) return labels;
  dbc.markConnected();
  for (const DriverInfoRow& row : kDriverInfoRows) {
    if (shortOnly && !row.inShortList) continue;
    char buffer[1024];
    SQLSMALLINT length = 0;
    if (OdbcSucceeded(SQLGetInfo(dbc.get(), row.type, buffer, 1000, &length))) labels << row.label;
  }
  return labels;
}

TEST_F(DsnPageTest, ConnectFillsTheShortListAndLongListWhatTheDriverAnswers) {
  world_.addSqliteDsn("Shop", kSheetFixtureSql);
  DsnPageView shortList = Run("Shop", [](QWidget* page) { Click(page, 1017); }, false);
  EXPECT_TRUE(shortList.listVisible) << shortList.message.toStdString();
  // The short rows in catalog order, less the one this driver rejects.
  QStringList answered = AnsweredLabels("Shop", true);
  EXPECT_EQ(answered, shortList.labels);
  EXPECT_EQ(ShortListLabels("SQL_SQL92_STRING_FUNCTIONS"), shortList.labels);
  ASSERT_FALSE(shortList.values.isEmpty());
  EXPECT_EQ("Shop", shortList.values[0]);

  // The long list: every row whose SQLGetInfo the driver accepts, in order.
  const QStringList expected = AnsweredLabels("Shop", false);
  DsnPageView longList = Run("Shop", [](QWidget* page) { Click(page, 1070); }, false);
  EXPECT_EQ(expected, longList.labels);
  EXPECT_GT(longList.labels.size(), 100);
  EXPECT_EQ("SQL_ACCESSIBLE_PROCEDURES", longList.labels.value(0));
  // Type 0 under two names gives the same value.
  const auto a = longList.labels.indexOf("SQL_ACTIVE_CONNECTIONS");
  const auto b = longList.labels.indexOf("SQL_MAX_DRIVER_CONNECTIONS");
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  EXPECT_EQ(longList.values[a], longList.values[b]);
}

TEST_F(DsnPageTest, DriverThatRejectsDbmsVersionShowsTheOtherRows) {
  world_.addDsn("Scripted", SCRIPTED_DRIVER_PATH, {});
  DsnPageView view = Run("Scripted", [](QWidget* page) { Click(page, 1017); }, false);
  EXPECT_TRUE(view.listVisible);
  EXPECT_TRUE(view.message.isEmpty());
  EXPECT_EQ(ShortListLabels("SQL_DBMS_VER"), view.labels);
}

TEST_F(DsnPageTest, LoginIsShownSavedOnOkAndClearedByTheButton) {
  world_.addSqliteDsn("Shop", kSheetFixtureSql);
  ASSERT_TRUE(SaveLogin("Shop", "anna", "geheim"));
  DsnPageView shown = Run("Shop", [](QWidget* page) { Type(page, 1014, "bert"); }, true);
  EXPECT_EQ("bert", shown.user);
  EXPECT_EQ("geheim", shown.password);
  char user[256], password[256];
  ASSERT_TRUE(LoadLogin("Shop", user, sizeof user, password, sizeof password));
  EXPECT_STREQ("bert", user);

  // Cancel saves nothing; "Delete User and Password" then OK removes the login.
  Run("Shop", [](QWidget* page) { Type(page, 1014, "carl"); }, false);
  ASSERT_TRUE(LoadLogin("Shop", user, sizeof user, password, sizeof password));
  EXPECT_STREQ("bert", user);
  DsnPageView cleared = Run("Shop", [](QWidget* page) { Click(page, 1016); }, true);
  EXPECT_TRUE(cleared.user.isEmpty());
  EXPECT_TRUE(cleared.password.isEmpty());
  EXPECT_FALSE(LoadLogin("Shop", user, sizeof user, password, sizeof password));
}

TEST_F(DsnPageTest, WrongPasswordOnMariaDbShowsTheErrorWithoutPrompt) {
  DATROVA_REQUIRE_SERVER(TestServer::MariaDB);
  std::string why;
  std::optional<ServerInfo> server = FindServer(TestServer::MariaDB, &why);
  ASSERT_TRUE(server) << why;
  AddServerDsn(world_, TestServer::MariaDB, "Maria");
  const std::string user = server->owner.user;
  int prompts = 0;
  DsnPageView view = Run("Maria", [&](QWidget* page) {
    Type(page, 1014, user.c_str());
    Type(page, 1015, "wrong-password");
    Click(page, 1017);
  }, false, &prompts);
  EXPECT_EQ(0, prompts);
  EXPECT_FALSE(view.listVisible);
  EXPECT_TRUE(view.labels.isEmpty());
  EXPECT_TRUE(view.message.startsWith("28000")) << view.message.toStdString();
  EXPECT_TRUE(view.message.contains("Access denied")) << view.message.toStdString();

  // The right login fills the list again.
  const std::string password = server->owner.password;
  DsnPageView good = Run("Maria", [&](QWidget* page) {
    Type(page, 1014, user.c_str());
    Type(page, 1015, password.c_str());
    Click(page, 1017);
  }, false);
  EXPECT_TRUE(good.listVisible) << good.message.toStdString();
  EXPECT_EQ(AnsweredLabels("Maria", true, user, password), good.labels);
  EXPECT_GE(good.labels.size(), 20);
}

TEST_F(DsnPageTest, PostgreSqlShortList) {
  DATROVA_REQUIRE_SERVER(TestServer::PostgreSQL);
  std::string why;
  std::optional<ServerInfo> server = FindServer(TestServer::PostgreSQL, &why);
  ASSERT_TRUE(server) << why;
  AddServerDsn(world_, TestServer::PostgreSQL, "Pg", server->owner);
  DsnPageView view = Run("Pg", [](QWidget* page) { Click(page, 1017); }, false);
  EXPECT_TRUE(view.listVisible) << view.message.toStdString();
  EXPECT_EQ(AnsweredLabels("Pg", true), view.labels);
  EXPECT_GE(view.labels.size(), 20);
  EXPECT_EQ("PostgreSQL", view.values.value(static_cast<int>(view.labels.indexOf("SQL_DBMS_NAME"))));
}

}  // namespace
