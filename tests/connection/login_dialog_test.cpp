// The login prompt, driven through its real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "library/catalog/login_dialog.h"
#include "library/shell/module_state.h"
#include "tests/support/gui_driver.h"
#include "tests/support/world.h"

namespace {

QString LabelFor(QWidget* dialog, QWidget* edit) {
  for (QLabel* label : dialog->findChildren<QLabel*>())
    if (label->buddy() == edit) return label->text();
  return QStringLiteral("<no label>");
}

// Types into the dialog's controls and presses one of its buttons (1 OK, 2 Cancel).
void Answer(QDialog* dialog, const QString& user, const QString& password, bool save, int button) {
  FindControl<QLineEdit>(dialog, 1014)->setText(user);
  FindControl<QLineEdit>(dialog, 1015)->setText(password);
  FindControl<QCheckBox>(dialog, 1056)->setChecked(save);
  FindControl<QPushButton>(dialog, button)->click();
}

class LoginDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApplication();
    UseLibraryModuleState();
    g_savePassword = true;
  }
  void TearDown() override {
    g_languageOffset = 1000;
    g_savePassword = true;
  }
  TestWorld world_;
};

TEST_F(LoginDialogTest, EnglishTexts) {
  g_languageOffset = 1000;
  LoginPrompt prompt;
  LoginDialog dialog(prompt);
  EXPECT_EQ(dialog.windowTitle(), "Login to Database");
  EXPECT_EQ(LabelFor(&dialog, FindControl<QLineEdit>(&dialog, 1014)), "&Loginname:");
  EXPECT_EQ(LabelFor(&dialog, FindControl<QLineEdit>(&dialog, 1015)), "&Password:");
  EXPECT_EQ(FindControl<QCheckBox>(&dialog, 1056)->text(), "&Save Password");
  EXPECT_EQ(FindControl<QPushButton>(&dialog, 1)->text(), "OK");
  EXPECT_EQ(FindControl<QPushButton>(&dialog, 2)->text(), "Cancel");
}

TEST_F(LoginDialogTest, GermanTexts) {
  g_languageOffset = 0;
  LoginPrompt prompt;
  LoginDialog dialog(prompt);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Anmeldung an der Datenbank"));
  QString user = LabelFor(&dialog, FindControl<QLineEdit>(&dialog, 1014));
  QString password = LabelFor(&dialog, FindControl<QLineEdit>(&dialog, 1015));
  QString save = FindControl<QCheckBox>(&dialog, 1056)->text();
  for (const QString& text : {user, password, save}) {
    EXPECT_TRUE(text.contains('&')) << text.toStdString();  // keeps a mnemonic
  }
  EXPECT_TRUE(user.endsWith(':'));
  EXPECT_TRUE(password.endsWith(':'));
  EXPECT_NE(password, "&Password:");
  EXPECT_NE(save, "&Save Password");
  EXPECT_NE(FindControl<QPushButton>(&dialog, 2)->text(), "Cancel");
}

TEST_F(LoginDialogTest, ShowsThePromptTextsAndLimitsThem) {
  LoginPrompt prompt;
  std::strcpy(prompt.user, "Jürgen");
  std::strcpy(prompt.password, "geheim");
  g_savePassword = false;
  LoginDialog dialog(prompt);
  auto* user = FindControl<QLineEdit>(&dialog, 1014);
  auto* password = FindControl<QLineEdit>(&dialog, 1015);
  ASSERT_NE(user, nullptr);
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(user->text(), QString::fromUtf8("Jürgen"));
  EXPECT_EQ(password->text(), "geheim");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(user->echoMode(), QLineEdit::Normal);
  EXPECT_EQ(user->maxLength(), 255);
  EXPECT_EQ(password->maxLength(), 255);
  EXPECT_FALSE(FindControl<QCheckBox>(&dialog, 1056)->isChecked());
}

TEST_F(LoginDialogTest, OkTakesTheTextsAndTheSaveChoice) {
  LoginPrompt prompt;
  std::strcpy(prompt.user, "old");
  ModalDialogWatcher watcher([](QDialog* d) { Answer(d, QString::fromUtf8("Zoë"), "s3cr€t", false, 1); });
  EXPECT_TRUE(PromptForLogin(prompt));
  EXPECT_EQ(watcher.dialogsSeen(), 1);
  EXPECT_STREQ(prompt.user, "Zoë");
  EXPECT_STREQ(prompt.password, "s3cr€t");
  EXPECT_FALSE(g_savePassword.load());

  // The choice is remembered by the next prompt.
  LoginPrompt next;
  LoginDialog dialog(next);
  EXPECT_FALSE(FindControl<QCheckBox>(&dialog, 1056)->isChecked());
}

TEST_F(LoginDialogTest, CancelLeavesTextsAndChoiceAlone) {
  LoginPrompt prompt;
  std::strcpy(prompt.user, "anna");
  std::strcpy(prompt.password, "pw");
  ModalDialogWatcher watcher([](QDialog* d) { Answer(d, "other", "changed", false, 2); });
  EXPECT_FALSE(PromptForLogin(prompt));
  EXPECT_EQ(watcher.dialogsSeen(), 1);
  EXPECT_STREQ(prompt.user, "anna");
  EXPECT_STREQ(prompt.password, "pw");
  EXPECT_TRUE(g_savePassword.load());
}

TEST_F(LoginDialogTest, TwoPromptsOnTwoThreadsKeepTheirTexts) {
  LoginPrompt gui;  // the shell's thread
  std::strcpy(gui.user, "gui-user");
  LoginPrompt work;  // a result window's worker
  std::strcpy(work.user, "worker-user");

  std::atomic<bool> workerDone{false};
  std::atomic<bool> workerAnswer{false};
  std::thread worker;
  QPointer<QDialog> guiDialog;
  ModalDialogWatcher watcher([&](QDialog* d) {
    QString shown = FindControl<QLineEdit>(d, 1014)->text();
    if (shown == "gui-user") {
      // While the first prompt is open, a worker asks too.
      guiDialog = d;
      worker = std::thread([&] {
        workerAnswer = PromptForLogin(work);
        workerDone = true;
      });
    } else if (shown == "worker-user") {
      Answer(d, "bob", "bob-password", true, 1);
      // Once the worker has its answer, finish the first prompt.
      QTimer* finish = new QTimer;
      finish->setInterval(5);
      QObject::connect(finish, &QTimer::timeout, [&, finish] {
        if (!workerDone || !guiDialog) return;
        finish->stop();
        finish->deleteLater();
        Answer(guiDialog, "alice", "alice-password", true, 1);
      });
      finish->start();
    } else {
      ADD_FAILURE() << "unexpected prompt for " << shown.toStdString();
      d->reject();
    }
  });

  EXPECT_TRUE(PromptForLogin(gui));
  ASSERT_TRUE(worker.joinable());
  worker.join();
  EXPECT_TRUE(workerAnswer.load());
  EXPECT_EQ(watcher.dialogsSeen(), 2);
  EXPECT_STREQ(gui.user, "alice");
  EXPECT_STREQ(gui.password, "alice-password");
  EXPECT_STREQ(work.user, "bob");
  EXPECT_STREQ(work.password, "bob-password");
}

struct CutCase {
  const char* source;
  size_t destSize;
  size_t maxChars;
  const char* expected;
};

TEST(CopyUtf8Cut, KeepsWholeCharacters) {
  const CutCase cases[] = {
      {"abcdef", 10, 254, "abcdef"},
      {"abcdef", 10, 3, "abc"},
      {"abcdef", 4, 254, "abc"},
      {"äöü", 10, 2, "äö"},      // two characters, four bytes
      {"äöü", 6, 254, "äö"},     // the third would need bytes 5 and 6 plus the NUL
      {"äöü", 5, 254, "äö"},
      {"€x", 3, 254, ""},        // three-byte character does not fit two bytes
      {"", 1, 254, ""},
  };
  for (const CutCase& c : cases) {
    char dest[16];
    std::memset(dest, '#', sizeof dest);
    CopyUtf8Cut(dest, c.destSize, c.source, c.maxChars);
    EXPECT_STREQ(dest, c.expected) << c.source << " size " << c.destSize << " max " << c.maxChars;
  }
  char same[] = "Müller-Lüdenscheidt";
  CopyUtf8Cut(same, sizeof same, same, 7);
  EXPECT_STREQ(same, "Müller-");
}

}  // namespace
