// The stop switch of one data search, shared by the worker that runs it and
// the dialog that shows it. Stopping sets a flag that the walk reads between
// statements and cancels the statement that runs at that moment (SQLCancel),
// so a long statement ends early where the driver supports it.
#pragma once

#include <atomic>
#include <mutex>

#include "library/catalog/odbc_api.h"

class SearchControl {
 public:
  // Any thread. Idempotent.
  void requestStop();
  bool stopRequested() const { return stop_.load(); }

  // Worker only: the statement that is executing or fetching now. A
  // statement must be withdrawn before it is freed (StatementWatch does both
  // in the right order).
  void setStatement(SQLHSTMT statement);
  void clearStatement();

 private:
  std::atomic<bool> stop_{false};
  std::mutex mutex_;  // guards statement_ against being freed during SQLCancel
  SQLHSTMT statement_ = SQL_NULL_HSTMT;
};

// Makes `statement` the running statement of `control` for its lifetime.
// Declare it after the owner of the statement handle, so that it withdraws
// the statement before the handle is freed.
class StatementWatch {
 public:
  StatementWatch(SearchControl& control, SQLHSTMT statement) : control_(control) {
    control_.setStatement(statement);
  }
  ~StatementWatch() { control_.clearStatement(); }
  StatementWatch(const StatementWatch&) = delete;
  StatementWatch& operator=(const StatementWatch&) = delete;

 private:
  SearchControl& control_;
};
