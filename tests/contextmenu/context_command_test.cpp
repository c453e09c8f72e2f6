// The commands that need no installer: browse through the view's browser,
// the delete question, the SELECT statements in real result windows, the
// property sheet and the statement editor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <algorithm>

#include "library/query/result_window.h"
#include "library/shell/context_commands.h"
#include "library/shell/context_menu.h"
#include "library/shell/module_state.h"
#include "library/shell/shell_view.h"
#include "platform/com/shell_notify.h"
#include "tests/contextmenu/menu_world.h"
#include "tests/support/gui_driver.h"

namespace {

std::vector<ResultWindow*> ResultWindows() {
  std::vector<ResultWindow*> windows;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* r = dynamic_cast<ResultWindow*>(w); r && r->isVisible()) windows.push_back(r);
  return windows;
}

std::vector<std::string> Statements(const std::vector<ResultWindow*>& windows) {
  std::vector<std::string> statements;
  for (ResultWindow* w : windows) statements.push_back(w->statement());
  std::sort(statements.begin(), statements.end());
  return statements;
}

void CloseAll(const std::vector<ResultWindow*>& windows) {
  for (ResultWindow* w : windows) {
    auto handle = w->handle();
    ProcessEventsUntil([&] { return !w->running(); }, 10000);
    w->close();
    ProcessEventsUntil([&] { return handle->closed(); }, 10000);
  }
}

class CommandTest : public MenuTestBase {
 protected:
  void SetUp() override {
    MenuTestBase::SetUp();
    cabinet_ = Owner("CabinetWClass");
    orders_.reset(CreateTableItem(nullptr, "SALES", "ORDERS", "TABLE", nullptr));
  }
  QWidget* cabinet_ = nullptr;
  OwnedList orders_;
};

TEST_F(CommandTest, DeleteAsksPerDataSourceAndStopsAtCancel) {
  for (const char* name : {"One", "Two", "Three"}) world_->addSqliteDsn(name, "CREATE TABLE t(a);");
  OwnedList one(CreateDsnItem("One", "SQLite3", true)), two(CreateDsnItem("Two", "SQLite3", true)),
      three(CreateDsnItem("Three", "SQLite3", true));
  const std::string before = FileText(world_->userOdbcIni());
  ChangeRecorder changes;
  {
    ScriptedBoxes boxes({IDNO, IDCANCEL, IDYES});
    ComPtr<IContextMenu> menu = Menu(root_, cabinet_, {one.get(), two.get(), three.get()});
    EXPECT_EQ(S_OK, Invoke(menu.get(), 2));
    EXPECT_EQ((std::vector<std::string>{"Do you really want to delete the Datasource One",
                                        "Do you really want to delete the Datasource Two"}),
              boxes.texts);
    EXPECT_EQ(MB_YESNOCANCEL | MB_ICONQUESTION, boxes.types.at(0));
  }
  EXPECT_EQ(before, FileText(world_->userOdbcIni()));
  EXPECT_TRUE(changes.events.empty());

  // No, Yes, No: only the second goes, and the root is told once.
  {
    ScriptedBoxes boxes({IDNO, IDYES, IDNO});
    ComPtr<IContextMenu> menu = Menu(root_, cabinet_, {one.get(), two.get(), three.get()});
    EXPECT_EQ(S_OK, InvokeVerb(menu.get(), "delete"));
    EXPECT_EQ(3u, boxes.texts.size());
  }
  const std::string after = FileText(world_->userOdbcIni());
  EXPECT_NE(std::string::npos, after.find("[One]")) << after;
  EXPECT_EQ(std::string::npos, after.find("[Two]")) << after;
  EXPECT_NE(std::string::npos, after.find("[Three]")) << after;
  ASSERT_EQ(1u, changes.events.size());
  EXPECT_EQ(SHCNE_UPDATEDIR, changes.events[0]);
}

TEST_F(CommandTest, DeleteOutsideTheRootDoesNothing) {
  ScriptedBoxes boxes({IDYES});
  OwnedList dsn(CreateDsnItem("Demo", "SQLite3", true));
  ShellFolder* dsnFolder = Folder(root_, dsn.get());
  ComPtr<IContextMenu> menu = Menu(dsnFolder, cabinet_, {orders_.get()});
  EXPECT_EQ(S_OK, Invoke(menu.get(), 2));
  EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CommandTest, SelectStatementsOfColumnsAndTables) {
  OwnedList id(CreateColumnItem(nullptr, nullptr, "ORDERS", "ID", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  OwnedList name(CreateColumnItem(nullptr, nullptr, "ORDERS", "NAME", 12, "VARCHAR", 40, 40, 0, 0, true, nullptr));
  const LPITEMIDLIST columns[] = {id.get(), name.get()};
  EXPECT_EQ("SELECT ID,NAME FROM SALES.ORDERS", ColumnSelectStatement(columns, 2, orders_.get()));
  EXPECT_EQ("SELECT * FROM SALES.ORDERS", ColumnSelectStatement(nullptr, 0, orders_.get()));
  EXPECT_EQ("", ColumnSelectStatement(columns, 2, nullptr));
  OwnedList plain(CreateTableItem(nullptr, nullptr, "LINES", "TABLE", nullptr));
  EXPECT_EQ("SELECT * FROM LINES", TableSelectStatement(plain.get()));
}

TEST_F(CommandTest, SelectOpensOneResultWindowPerStatement) {
  world_->addSqliteDsn("Demo", "CREATE TABLE ORDERS(ID INTEGER, NAME TEXT);");
  ASSERT_TRUE(ResultWindows().empty());
  OwnedList dsn(CreateDsnItem("Demo", "SQLite3", true));
  OwnedList lines(CreateTableItem(nullptr, nullptr, "LINES", "TABLE", nullptr));
  OwnedList ship(CreateProcedureItem(nullptr, "SALES", "SHIP", "Procedure", nullptr));
  ShellFolder* dsnFolder = Folder(root_, dsn.get());
  ShellFolder* tableFolder = Folder(dsnFolder, orders_.get());
  OwnedList id(CreateColumnItem(nullptr, nullptr, "ORDERS", "ID", 4, "INTEGER", 10, 4, 0, 10, false, nullptr));
  OwnedList name(CreateColumnItem(nullptr, nullptr, "ORDERS", "NAME", 12, "VARCHAR", 40, 40, 0, 0, true, nullptr));
  MessageBoxRecorder boxes(IDOK);

  EXPECT_EQ(S_OK, Invoke(Menu(tableFolder, cabinet_, {id.get(), name.get()}).get(), 4));
  std::vector<ResultWindow*> windows = ResultWindows();
  EXPECT_EQ(std::vector<std::string>{"SELECT ID,NAME FROM SALES.ORDERS"}, Statements(windows));
  for (ResultWindow* w : windows) EXPECT_EQ("Demo", w->dataSource());
  CloseAll(windows);

  EXPECT_EQ(S_OK, Invoke(Menu(tableFolder, cabinet_, {}).get(), 4));
  windows = ResultWindows();
  EXPECT_EQ(std::vector<std::string>{"SELECT * FROM SALES.ORDERS"}, Statements(windows));
  CloseAll(windows);

  // Two tables and a procedure: a window for each table.
  EXPECT_EQ(S_OK, Invoke(Menu(dsnFolder, cabinet_, {orders_.get(), ship.get(), lines.get()}).get(), 4));
  windows = ResultWindows();
  EXPECT_EQ((std::vector<std::string>{"SELECT * FROM LINES", "SELECT * FROM SALES.ORDERS"}), Statements(windows));
  CloseAll(windows);

  // The root has nothing to select from.
  OwnedList root(CreateDsnItem("Demo", "SQLite3", true));
  EXPECT_EQ(S_OK, Invoke(Menu(root_, cabinet_, {root.get()}).get(), 4));
  EXPECT_TRUE(ResultWindows().empty());
}

TEST_F(CommandTest, ExploreAndOpenBrowseTheFirstItemWithTheFlagsOfTheMode) {
  EXPECT_EQ(0x1000u, BrowseFlags(0, true));
  EXPECT_EQ(0x1012u, BrowseFlags(1, true));
  EXPECT_EQ(0x1022u, BrowseFlags(0, false));
  EXPECT_EQ(0x1000u, BrowseFlags(1, false));

  world_->addSqliteDsn("Demo", "CREATE TABLE t(a);");
  OwnedList demo(CreateDsnItem("Demo", "SQLite3", true)), other(CreateDsnItem("Other", "SQLite3", true));
  RecordingBrowser browser;
  IShellView* view = nullptr;
  ASSERT_EQ(S_OK, root_->CreateViewObject(browser.window(), IID_IShellView, reinterpret_cast<void**>(&view)));
  FOLDERSETTINGS fs{FVM_DETAILS, 0};
  RECT rect{0, 0, 600, 400};
  HWND window = nullptr;
  ASSERT_EQ(S_OK, view->CreateViewWindow(nullptr, &fs, &browser, &rect, &window));

  QWidget* explore = Owner("ExploreWClass");
  for (UINT offset : {0u, 1u}) {
    EXPECT_EQ(S_OK, Invoke(Menu(root_, explore, {demo.get(), other.get()}).get(), offset, view));
    EXPECT_EQ(S_OK, Invoke(Menu(root_, cabinet_, {demo.get(), other.get()}).get(), offset, view));
  }
  // Without a view, or without an item, nothing is browsed.
  EXPECT_EQ(S_OK, Invoke(Menu(root_, cabinet_, {demo.get()}).get(), 0));
  EXPECT_EQ(S_OK, Invoke(Menu(root_, cabinet_, {}).get(), 1, view));
  const std::vector<std::pair<std::string, UINT>> expected = {
      {"Demo", 0x1000}, {"Demo", 0x1022}, {"Demo", 0x1012}, {"Demo", 0x1000}};
  EXPECT_EQ(expected, browser.browsed);

  // The view verbs switch the asking view's mode.
  FOLDERSETTINGS current{};
  EXPECT_EQ(S_OK, InvokeVerb(Menu(root_, cabinet_, {}).get(), "ViewList", view));
  view->GetCurrentInfo(&current);
  EXPECT_EQ(static_cast<UINT>(FVM_LIST), current.ViewMode);
  EXPECT_EQ(S_OK, InvokeVerb(Menu(root_, cabinet_, {}).get(), "viewdetails", view));
  view->GetCurrentInfo(&current);
  EXPECT_EQ(static_cast<UINT>(FVM_DETAILS), current.ViewMode);

  EXPECT_EQ(S_OK, view->DestroyViewWindow());
  view->Release();
}

TEST_F(CommandTest, PropertiesVerbShowsTheSheet) {
  std::vector<std::string> titles;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    titles.push_back(dialog->objectName().toStdString() + "|" + dialog->windowTitle().toStdString());
    dialog->reject();
  });
  ComPtr<IContextMenu> menu = Menu(root_, cabinet_, {});
  EXPECT_EQ(S_OK, InvokeVerb(menu.get(), "Properties"));
  ASSERT_EQ(1u, titles.size());
  EXPECT_EQ(0u, titles[0].find("PropertySheet|")) << titles[0];
  EXPECT_NE(std::string::npos, titles[0].find("Datrova 2.2")) << titles[0];
}

TEST_F(CommandTest, FindVerbOpensTheDataSearch) {
  int dialogs = 0;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    ++dialogs;
    dialog->reject();
  });
  EXPECT_EQ(S_OK, InvokeVerb(Menu(root_, cabinet_, {}).get(), "find"));
  EXPECT_EQ(1, dialogs);
}

TEST_F(CommandTest, StatementOpensTheEditorAndRunsWhatWasTyped) {
  world_->addSqliteDsn("Demo", "CREATE TABLE t(a);");
  OwnedList demo(CreateDsnItem("Demo", "SQLite3", true));
  int editors = 0;
  ModalDialogWatcher watcher([&](QDialog* dialog) {
    ++editors;
    dialog->reject();
  });
  EXPECT_EQ(S_OK, Invoke(Menu(root_, cabinet_, {demo.get()}).get(), 5));
  EXPECT_EQ(1, editors);
  EXPECT_TRUE(ResultWindows().empty());  // cancelled: no window
}

}  // namespace
