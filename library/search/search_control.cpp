#include "library/search/search_control.h"

void SearchControl::requestStop() {
  stop_.store(true);
  std::lock_guard<std::mutex> lock(mutex_);
  // The flag is set first: a statement that the worker registers after this
  // point is never started (the worker checks the flag before each one).
  if (statement_ != SQL_NULL_HSTMT) SQLCancel(statement_);
}

void SearchControl::setStatement(SQLHSTMT statement) {
  std::lock_guard<std::mutex> lock(mutex_);
  statement_ = statement;
}

void SearchControl::clearStatement() {
  std::lock_guard<std::mutex> lock(mutex_);
  statement_ = SQL_NULL_HSTMT;
}
