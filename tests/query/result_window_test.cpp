// Result windows through the real SQLite ODBC driver: statements, limits,
// parameters, messages, the INSERT script, commands and keys.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <locale.h>
#include <thread>

#include "library/catalog/settings.h"
#include "library/query/result_model.h"
#include "library/query/shortcut_file.h"
#include "library/query/statement_run.h"
#include "library/res/menus.h"
#include "platform/ui/window_messages.h"
#include "tests/query/query_fixture.h"
#include "tests/support/gui_driver.h"

extern "C" void Exec(HWND, HINSTANCE, LPSTR, int);

namespace {

using Row = std::vector<std::string>;

// "%x %X" of the user's regional settings, by the C library itself.
std::string UserTimestamp(int year, int month, int day, int hour, int minute, int second) {
  locale_t loc = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (!loc) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  char text[128];
  strftime_l(text, sizeof text, "%x %X", &tm, loc);
  freelocale(loc);
  return text;
}

TEST_F(QueryTest, TwoSelectsShowTheSecondResult) {
  ResultWindow* w = openAndWait("SELECT a FROM hundred WHERE a = 1;\n SELECT b, c FROM hundred WHERE a = 2");
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->model()->columnCount(), 2);
  ASSERT_EQ(w->model()->rowCount(), 1);
  EXPECT_EQ(row(w, 0), (Row{"b2", "seven"}));
  EXPECT_EQ(w->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "b");
  EXPECT_EQ(statusText(w), "2 columns, 1 rows");
  EXPECT_EQ(w->windowTitle(), "SELECT a FROM hundred WHERE a = 1; SELECT b, c FROM hundred WHERE a = 2");
  EXPECT_TRUE(listVisible(w));
  EXPECT_TRUE(messageArea(w)->isHidden());
}

TEST_F(QueryTest, SemicolonsInQuotesAndCommentsDoNotSplit) {
  ResultWindow* w = openAndWait("SELECT 'a;b' AS x -- it's; a comment\n, 'c' AS y");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(messageArea(w)->isHidden()) << messageArea(w)->text().toStdString();
  ASSERT_EQ(w->model()->rowCount(), 1);
  EXPECT_EQ(row(w, 0), (Row{"a;b", "c"}));
}

TEST_F(QueryTest, BlanksAndSemicolonsNeverReachTheDriver) {
  // An empty piece sent to SQLPrepare would come back as an error text.
  ResultWindow* w = openAndWait(" ;; \r\n ; \t");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(messageArea(w)->isHidden()) << messageArea(w)->text().toStdString();
  EXPECT_EQ(w->model()->columnCount(), 0);
  EXPECT_EQ(statusText(w), "Connecting to the database");
}

TEST_F(QueryTest, MaxRowLimitsTheRowsAndZeroMeansUnlimited) {
  g_settings.MaxRow = 5;
  ResultWindow* w = openAndWait("SELECT * FROM hundred");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->model()->rowCount(), 5);
  EXPECT_EQ(statusText(w), "3 columns, 5 rows");

  g_settings.MaxRow = 0;
  g_settings.MaxCol = 2;
  w->command(1081);
  ASSERT_TRUE(waitForRuns(w, 2));
  EXPECT_EQ(w->model()->rowCount(), 100);
  EXPECT_EQ(w->model()->columnCount(), 2);
  EXPECT_EQ(statusText(w), "2 columns, 100 rows");
  EXPECT_EQ(row(w, 99), (Row{"100", "b100"}));
}

TEST_F(QueryTest, UpdateShowsTheRowsTouchedAndHidesTheList) {
  ResultWindow* w = openAndWait("UPDATE hundred SET b = 'changed' WHERE c = 'seven'");
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(messageArea(w)->isHidden());
  EXPECT_EQ(messageArea(w)->text(), "The SQL-statement touched 7 rows.");
  EXPECT_FALSE(listVisible(w));
}

TEST_F(QueryTest, ErrorsShowTheDiagnosticsInTheMessageArea) {
  ResultWindow* w = openAndWait("SELECT * FROM no_such_table");
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(messageArea(w)->isHidden());
  EXPECT_TRUE(messageArea(w)->text().contains("no_such_table")) << messageArea(w)->text().toStdString();
  EXPECT_FALSE(listVisible(w));
}

TEST_F(QueryTest, NullCellsAndDatesInTheUsersFormats) {
  std::strcpy(g_settings.NullValue, "<nil>");
  ResultWindow* w = openAndWait("SELECT id, \"first name\", seen FROM people ORDER BY id DESC");
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->model()->rowCount(), 3);
  EXPECT_EQ(row(w, 0), (Row{"2", "<nil>", "<nil>"}));
  EXPECT_EQ(row(w, 1), (Row{"1", "Pat", UserTimestamp(2020, 5, 6, 7, 8, 9)}));
  EXPECT_EQ(row(w, 2), (Row{"<nil>", "<nil>", "<nil>"}));
}

TEST_F(QueryTest, ParametersLeftAtTheNullTextAreNullAndEmptiedOnesEmpty) {
  bool sawFields = false;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    auto* first = FindControl<QLineEdit>(dialog, 1058);
    auto* second = FindControl<QLineEdit>(dialog, 1059);
    auto* third = FindControl<QLineEdit>(dialog, 1060);
    auto* fourth = FindControl<QLineEdit>(dialog, 1061);
    sawFields = first && second && third && fourth && first->isEnabled() && third->isEnabled() &&
                !fourth->isEnabled() && first->text() == "(NULL)" && third->text() == "(NULL)" &&
                fourth->text().isEmpty() &&
                FindControl<QPlainTextEdit>(dialog, 1069)->toPlainText().startsWith("SELECT ? IS NULL");
    second->clear();
    third->setText("x");
    FindControl<QPushButton>(dialog, 1)->click();
  });
  ResultWindow* w = openAndWait("SELECT ? IS NULL AS a, ? IS NULL AS b, ? AS c");
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(sawFields);
  EXPECT_EQ(watcher.dialogsSeen(), 1);
  ASSERT_EQ(w->model()->rowCount(), 1);
  EXPECT_EQ(row(w, 0), (Row{"1", "0", "x"}));
}

TEST_F(QueryTest, CancelledPromptStopsTheRun) {
  ModalDialogWatcher watcher([](QDialog* dialog) { FindControl<QPushButton>(dialog, 2)->click(); });
  ResultWindow* w = openAndWait("UPDATE hundred SET b = ? WHERE a = 1");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(statusText(w), "Statement canceled !");
  EXPECT_TRUE(messageArea(w)->isHidden());
}

TEST_F(QueryTest, ElevenMarkersAreNotExecuted) {
  MessageBoxRecorder boxes;
  ResultWindow* w = openAndWait("UPDATE hundred SET b = 'gone' WHERE a IN (?,?,?,?,?,?,?,?,?,?,?)");
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(boxes.calls().size(), 1u);
  EXPECT_EQ(boxes.calls()[0].call.text,
            "For SQL-Statements only 10 Parameters are implemented. The statement will not be executed.");
  EXPECT_EQ(boxes.calls()[0].call.caption, "Datrova 2.2");
  EXPECT_EQ(statusText(w), "Statement canceled !");
  EXPECT_TRUE(messageArea(w)->isHidden());

  // Nothing was changed.
  w->command(1081);  // same statement again would ask again; check the data instead
  ASSERT_TRUE(waitForRuns(w, 2));
  ResultWindow* check = openAndWait("SELECT COUNT(*) FROM hundred WHERE b = 'gone'");
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(row(check, 0), (Row{"0"}));
}

TEST_F(QueryTest, InsertScriptOfAResult) {
  ResultWindow* w = openAndWait("SELECT id, name, \"first name\", born, seen FROM people ORDER BY id DESC");
  ASSERT_NE(w, nullptr);
  QGuiApplication::clipboard()->setText("before");
  w->command(1082);
  ASSERT_TRUE(waitForRuns(w, 2));
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            "INSERT INTO XXX (id,name) VALUES (2,'Smith');\r\n"
            "INSERT INTO XXX (id,name,[first name],born,seen) VALUES "
            "(1,'O''Brien','Pat',{d '1970-01-02'},{ts '2020-05-06 07:08:09'});\r\n");
  EXPECT_EQ(w->model()->rowCount(), 0) << "the list stays empty in script mode";
}

TEST_F(QueryTest, RefreshDuringARunIsRefused) {
  ASSERT_FALSE(world_.addSqliteDsn("Big", BigTableSql(300000)).empty());
  g_settings.MaxRow = 0;
  auto handle = OpenResultWindow("SELECT * FROM big", "Big");
  ASSERT_TRUE(handle);
  handles_.push_back(handle);
  ResultWindow* w = handle->window();
  ASSERT_TRUE(ProcessEventsUntil([&] { return w->running(); }));
  SendMessageA(w, WM_COMMAND, 1081, 0);
  SendMessageA(w, WM_SETTINGCHANGE, 0, 0);
  w->command(1082);
  EXPECT_EQ(w->refusedRuns(), 3);
  EXPECT_FALSE(MenuPopupAt(w->menuBar(), 0) == nullptr);
  EXPECT_FALSE(w->menuBar()->actions()[0]->isEnabled()) << "menus are grey during a run";
  EXPECT_TRUE(FindControl<QPushButton>(w, 2)->isVisible());
  ASSERT_TRUE(waitForRuns(w, 1, 60000));
  EXPECT_EQ(w->finishedRuns(), 1);
  EXPECT_TRUE(w->menuBar()->actions()[0]->isEnabled());
  EXPECT_FALSE(FindControl<QPushButton>(w, 2)->isVisible());
  EXPECT_EQ(w->model()->rowCount(), 300000);
}

namespace {
// Holds the worker after its 1000th row until the Cancel button was pressed,
// so the cancel lands in the middle of the fetch however fast the machine is.
std::atomic<bool> g_heldAtRow{false};
void HoldAtRow1000(long rowsRead, RunControl& control) {
  if (rowsRead != 1000) return;
  g_heldAtRow.store(true);
  for (int i = 0; i < 6000 && !control.canceled(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}
}  // namespace

TEST_F(QueryTest, CancelDuringTheFetchKeepsTheRowsRead) {
  ASSERT_FALSE(world_.addSqliteDsn("Big", BigTableSql(20000)).empty());
  g_settings.MaxRow = 0;
  g_heldAtRow.store(false);
  SetFetchObserverForTesting(HoldAtRow1000);
  struct Unhook {
    ~Unhook() { SetFetchObserverForTesting(nullptr); }
  } unhook;
  auto handle = OpenResultWindow("SELECT * FROM big", "Big");
  ASSERT_TRUE(handle);
  handles_.push_back(handle);
  ResultWindow* w = handle->window();
  ASSERT_TRUE(ProcessEventsUntil([&] { return g_heldAtRow.load() || w->finishedRuns() > 0; }, 30000));
  ASSERT_EQ(w->finishedRuns(), 0) << "the run ended before it could be cancelled";
  FindControl<QPushButton>(w, 2)->click();
  ASSERT_TRUE(waitForRuns(w, 1));
  EXPECT_EQ(statusText(w), "Statement canceled !");
  // The row being read when Cancel came is kept; nothing after it is fetched.
  EXPECT_EQ(w->model()->rowCount(), 1000);
  EXPECT_TRUE(listVisible(w));
  EXPECT_TRUE(messageArea(w)->isHidden()) << messageArea(w)->text().toStdString();
}

TEST_F(QueryTest, TwoWindowsPromptingAtOnceKeepTheirValuesApart) {
  bool bothOpen = false;
  auto answer = [](QDialog* dialog) {
    auto* window = qobject_cast<QWidget*>(dialog->parent());
    const bool isA = window && window->windowTitle().contains("'A'");
    FindControl<QLineEdit>(dialog, 1058)->setText(isA ? "A" : "B");
    FindControl<QPushButton>(dialog, 1)->click();
  };
  // Answers only once both prompts are open (or after a while, so that a
  // failure does not hang): the innermost first, then the other.
  QElapsedTimer waited;
  waited.start();
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    std::vector<QDialog*> prompts;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible() && dialog->objectName() == "5")
        prompts.push_back(dialog);
    if (prompts.empty() || (prompts.size() < 2 && !bothOpen && waited.elapsed() < 5000)) return;
    if (prompts.size() == 2) bothOpen = true;
    auto* active = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!active || active->objectName() != "5") return;
    answer(active);
  });
  poll.start();
  auto a = OpenResultWindow("SELECT ? AS v, 'A' AS w", "Q");
  auto b = OpenResultWindow("SELECT ? AS v, 'B' AS w", "Q");
  handles_.push_back(a);
  handles_.push_back(b);
  ASSERT_TRUE(waitForRuns(a->window(), 1));
  ASSERT_TRUE(waitForRuns(b->window(), 1));
  EXPECT_TRUE(bothOpen);
  EXPECT_EQ(row(a->window(), 0), (Row{"A", "A"}));
  EXPECT_EQ(row(b->window(), 0), (Row{"B", "B"}));
}

TEST_F(QueryTest, EmptyStatementOpensTheEditorAtOnce) {
  int editors = 0;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    ++editors;
    EXPECT_EQ(dialog->windowTitle(), "Insert SQL-Statement");
    FindControl<QPushButton>(dialog, 2)->click();
  });
  auto handle = OpenResultWindow("", "Q");
  handles_.push_back(handle);
  ASSERT_TRUE(ProcessEventsUntil([&] { return editors == 1; }));
  ProcessEventsUntil([] { return false; }, 100);
  EXPECT_EQ(handle->window()->finishedRuns(), 0);
  EXPECT_TRUE(handle->window()->windowTitle().isEmpty());
}

TEST_F(QueryTest, ChangeStatementReplacesItOnOkOnly) {
  ResultWindow* w = openAndWait("SELECT a FROM hundred WHERE a = 3");
  ASSERT_NE(w, nullptr);
  bool refusedEmpty = false;
  // Cancel keeps the old statement and result.
  {
    ModalDialogWatcher watcher([&](QDialog* dialog) {
      auto* editor = FindControl<QPlainTextEdit>(dialog, 1036);
      EXPECT_EQ(editor->toPlainText(), "SELECT a FROM hundred WHERE a = 3");
      FindControl<QPushButton>(dialog, 2)->click();
    });
    w->command(100);
  }
  EXPECT_EQ(w->statement(), "SELECT a FROM hundred WHERE a = 3");
  EXPECT_EQ(row(w, 0), (Row{"3"}));
  // An empty text cannot be confirmed; a new one is run.
  {
    ModalDialogWatcher watcher([&](QDialog* dialog) {
      auto* editor = FindControl<QPlainTextEdit>(dialog, 1036);
      editor->clear();
      FindControl<QPushButton>(dialog, 1)->click();
      refusedEmpty = dialog->isVisible();
      editor->setPlainText("SELECT b\nFROM hundred WHERE a = 4");
      FindControl<QPushButton>(dialog, 1)->click();
    });
    w->command(100);
  }
  EXPECT_TRUE(refusedEmpty);
  ASSERT_TRUE(waitForRuns(w, 2));
  EXPECT_EQ(w->statement(), "SELECT b\nFROM hundred WHERE a = 4");
  EXPECT_EQ(row(w, 0), (Row{"b4"}));
}

TEST_F(QueryTest, KeysWorkWhileTheListHasTheFocus) {
  std::strcpy(g_settings.listSeparator, ";");
  ResultWindow* w = openAndWait("SELECT a, b FROM hundred WHERE a <= 2");
  ASSERT_NE(w, nullptr);
  w->activateWindow();
  auto* list = FindControl<QTableView>(w, 1019);
  list->setFocus();
  ProcessEventsUntil([&] { return QApplication::focusWidget() == list; }, 2000);
  QTest::keyClick(list, Qt::Key_F5);
  ASSERT_TRUE(waitForRuns(w, 2, 10000)) << "F5 did not re-run";

  QGuiApplication::clipboard()->setText("before");
  QTest::keyClick(list, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "1;b1\r\n2;b2\r\n");
}

TEST_F(QueryTest, ShortcutSavedAndRunAgainThroughExec) {
  const std::string statement = "SELECT b\r\nFROM hundred\r\nWHERE a = 5";
  ResultWindow* w = openAndWait(statement);
  ASSERT_NE(w, nullptr);
  // An empty folder of its own: in a folder with other files the dialog's file
  // model, filled by a background thread, may select one of them instead.
  const std::string folder = world_.dataDir() + "/shortcuts";
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
  const std::string path = folder + "/saved query.dtq";
  std::string chosen;
  {
    ModalDialogWatcher watcher([&](QDialog* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      if (!files) {
        dialog->reject();  // never leave a modal dialog open: the test would hang
        ADD_FAILURE() << "expected the save dialog, got " << dialog->metaObject()->className();
        return;
      }
      EXPECT_EQ(files->windowTitle(), "Create Datrova-Shortcut");
      EXPECT_TRUE(files->nameFilters().join(";").contains("*.dtq"));
      // Typed as a user would: the folder first, then the name. (selectFile
      // races the file model that a background thread fills.)
      files->setDirectory(QString::fromStdString(folder));
      QTest::qWait(200);
      auto* name = files->findChild<QLineEdit*>("fileNameEdit");
      if (name) name->setText("saved query.dtq");
      else files->selectFile(QString::fromStdString(path));
      chosen = files->selectedFiles().join("|").toStdString();
      // done() rather than accept(): accept() validates against the file
      // system model, which a background thread may not have filled yet,
      // and then leaves the dialog open.
      static_cast<QDialog*>(files)->done(QDialog::Accepted);
    });
    w->command(1084);
  }
  ShortcutContents saved;
  ASSERT_TRUE(ReadShortcutFile(path, saved)) << "the dialog chose: " << chosen;
  EXPECT_EQ(saved.dataSource, "Q");

  // Exec runs the event loop until the window it opened is closed.
  std::string shownStatement, shownDsn;
  Row shownRow;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* opened = dynamic_cast<ResultWindow*>(top);
      if (!opened || opened == w || opened->finishedRuns() < 1 || !opened->isVisible()) continue;
      shownStatement = opened->statement();
      shownDsn = opened->dataSource();
      shownRow = row(opened, 0);
      opened->close();
    }
  });
  poll.start();
  std::string commandLine = "EXEC \"" + path + "\"";
  Exec(nullptr, nullptr, commandLine.data(), 1);
  poll.stop();
  EXPECT_EQ(shownStatement, statement);
  EXPECT_EQ(shownDsn, "Q");
  EXPECT_EQ(shownRow, (Row{"b5"}));
}

TEST_F(QueryTest, ExecWithoutUsableFileReturnsAtOnce) {
  std::string missing = "EXEC \"" + world_.dataDir() + "/none.dtq\"";
  Exec(nullptr, nullptr, missing.data(), 1);
  const std::string noSql = world_.dataDir() + "/nosql.dtq";
  { FILE* f = std::fopen(noSql.c_str(), "wb"); std::fputs("[Datrova Shortcut]\r\nDSN=Q\r\n", f); std::fclose(f); }
  std::string line = "EXEC \"" + noSql + "\"";
  Exec(nullptr, nullptr, line.data(), 1);
  Exec(nullptr, nullptr, nullptr, 1);
  for (QWidget* top : QApplication::topLevelWidgets()) EXPECT_EQ(dynamic_cast<ResultWindow*>(top), nullptr);
}

}  // namespace
