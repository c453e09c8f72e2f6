// One run of a result window's statement: connect, split, prepare, prompt
// for parameters, execute, describe, bind and fetch the last result. It runs
// on a worker thread of its own and reports through a RunSink, which the
// window implements with queued calls to the GUI thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "library/catalog/connection.h"
#include "library/query/parameter_dialog.h"
#include "library/query/result_rows.h"

// The settings a run reads, copied when it starts (MaxRow/MaxCol 0 = no limit).
struct RunSettings {
  uint16_t maxRow = 1000;
  uint16_t maxCol = 100;
  std::string nullText = "(NULL)";
  bool keepConnection = true;  // ConnectSelect
  static RunSettings FromGlobal();
};

// The ODBC state a window keeps across its runs. Window and running worker
// share it, so a window closed during a run never frees it under the worker.
struct QuerySession {
  explicit QuerySession(std::string dsn) : dataSource(std::move(dsn)) {}
  std::string dataSource;
  ConnectionContext context;
};

// What the window shows when a run ends.
struct RunOutcome {
  std::string errorText;    // diagnostics or connection failure: message area
  std::string messageText;  // rows touched / no result: message area
  bool canceled = false;    // status reads "Statement canceled !"
  bool scriptMode = false;
  bool scriptReady = false;  // put `script` on the clipboard
  std::string script;
  int result = 1;            // 0 when the column table could not be had
};

class RunSink {
 public:
  virtual ~RunSink() = default;
  virtual void status(std::string text) = 0;
  virtual void title(std::string text) = 0;
  virtual void columns(std::vector<std::string> names) = 0;
  virtual void rows(RowBatch&& batch) = 0;
  // Modal on the GUI thread; the worker waits. False for Cancel.
  virtual bool promptParameters(ParameterValues& values, const std::string& nullText) = 0;
  // Message 77 in a box; the worker waits.
  virtual void tooManyParameters() = 0;
  virtual void finished(RunOutcome outcome) = 0;
};

// The cancel side of a run. The flag is polled by the worker before each
// piece, in the describe loop and before each fetch; a statement the worker
// is blocked in is interrupted with SQLCancel. The statement handle is only
// used under the lock, so SQLCancel never reaches a freed handle.
class RunControl {
 public:
  // interruptFetch: also interrupt a fetch in progress (the window is going,
  // so the cursor may be closed under the worker); otherwise only prepare
  // and execute are interrupted and the fetch loop stops at the next row.
  void requestCancel(bool interruptFetch = false);
  bool canceled() const { return cancel_.load(std::memory_order_relaxed); }

  // Worker side.
  void attach(SQLHSTMT statement);
  void detach();
  void setInExecute(bool inExecute);

 private:
  std::atomic<bool> cancel_{false};
  std::mutex mutex_;
  SQLHSTMT statement_ = SQL_NULL_HSTMT;
  bool inExecute_ = false;
};

// Test seam: when set, called on the worker after every fetched row of a
// display or script run with the number of rows read so far. Lets a test hold
// a run in the middle of its fetch; null (the default) costs one atomic load.
using FetchObserver = void (*)(long rowsRead, RunControl& control);
void SetFetchObserverForTesting(FetchObserver observer);

// Performs one run on the calling thread. Returns 1 when the run ended
// normally, 0 when the column table could not be allocated.
int ExecuteStatement(const std::string& statement, bool scriptMode, const RunSettings& settings,
                     QuerySession& session, RunControl& control, RunSink& sink);

// Workers still running in the process (the window does not wait for them;
// Exec waits before its library may be unloaded).
int ActiveQueryRuns();
// Waits until no worker runs or `timeoutMs` passes; true when none runs.
bool WaitForQueryRuns(int timeoutMs);

// Starts ExecuteStatement on a detached worker thread that holds the shared
// pieces until it ends.
void StartQueryWorker(std::string statement, bool scriptMode, RunSettings settings,
                      std::shared_ptr<QuerySession> session, std::shared_ptr<RunControl> control,
                      std::shared_ptr<RunSink> sink);
