// The result window: a top-level window with the menus of resource 1/1001,
// the list 1019 of the rows of the last run, the status line 1026, the
// message area 1018 over the list and the Cancel button 2 shown while a run
// is in progress. Each run is a worker thread (statement_run.h); the window
// and its runs share their state, so closing the window during a run closes
// it at once and the worker finishes on its own.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "library/query/statement_run.h"
#include "platform/ui/window_messages.h"

class QEventLoop;
class QLabel;
class QPushButton;
class QTableView;
class ResultModel;

// What OpenResultWindow hands back: the caller may wait on it until the
// window is closed.
class ResultWindowHandle {
 public:
  bool closed() const;
  // On the GUI thread the event loop runs while waiting; on any other
  // thread the call blocks.
  void wait();
  void markClosed();
  // The window while it is open; GUI thread only.
  class ResultWindow* window() const { return window_.data(); }
  void setWindow(class ResultWindow* window);

 private:
  QPointer<class ResultWindow> window_;
  mutable std::mutex mutex_;
  std::condition_variable condition_;
  bool closed_ = false;
  std::vector<QEventLoop*> loops_;  // GUI-thread waits in progress
};

class ResultWindow : public QMainWindow, public MessageTarget {
 public:
  ResultWindow(std::string statement, std::string dataSource);
  ~ResultWindow() override;

  // WM_COMMAND (low word: command id) and WM_SETTINGCHANGE.
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Runs one command of the window (100, 2, 112, 1080-1084).
  void command(UINT commandId);

  bool running() const { return run_ != nullptr; }
  const std::string& statement() const { return statement_; }
  const std::string& dataSource() const { return session_->dataSource; }
  std::shared_ptr<ResultWindowHandle> handle() const { return handle_; }
  ResultModel* model() const { return model_; }
  // How often a run was refused because another one was in progress.
  int refusedRuns() const { return refusedRuns_; }
  // Runs that have ended (whatever their outcome).
  int finishedRuns() const { return finishedRuns_; }

  // Called by the run's sink on the GUI thread.
  void runStatus(const std::string& text);
  void runTitle(const std::string& text);
  void runColumns(std::vector<std::string> names);
  void runRows(RowBatch&& batch);
  void runFinished(RunOutcome outcome);
  uint64_t runToken() const { return runToken_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void startRun(bool editFirst, bool scriptMode);
  void refuseRun();
  void setRunning(bool running);
  void layoutChildren();
  void saveShortcut();

  struct ObjectCount {
    ObjectCount();
    ~ObjectCount();
  } objectCount_;
  std::string statement_;
  std::shared_ptr<QuerySession> session_;
  std::shared_ptr<ResultWindowHandle> handle_;
  std::shared_ptr<RunControl> run_;  // the run in progress, or null
  uint64_t runToken_ = 0;
  int refusedRuns_ = 0;
  int finishedRuns_ = 0;

  QWidget* pane_ = nullptr;
  ResultModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* message_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// Opens a result window for the statement (may be empty: the editor opens at
// once) against the data source. Null when either text is null. Callable
// from any thread; the window lives on the GUI thread.
std::shared_ptr<ResultWindowHandle> OpenResultWindow(const char* statement, const char* dataSource);

// The "SQL-Statement ..." entry: the editor without an owner and with an
// empty statement; on OK a result window for it against the data source.
// Shows the system's error text when the editor cannot be shown.
void StatementEntry(const char* dataSource);
