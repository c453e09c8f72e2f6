// A private world with SQLite data sources and helpers that drive result
// windows through the real event loop.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "library/query/result_window.h"
#include "tests/support/world.h"

class QLabel;

// people: O'Brien, a column name with a blank, NULLs, a date, a timestamp and
// an all-NULL row; hundred: 100 rows of 3 columns, 7 of them with c = 'seven'.
extern const char kQuerySql[];
// A table of `rows` rows and 3 columns, for runs that take a while.
std::string BigTableSql(int rows);

class QueryTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens a window for the statement against "Q" and waits for its first run.
  ResultWindow* openAndWait(const std::string& statement, const char* dsn = "Q");
  // Waits until the window has finished `runs` runs in all.
  bool waitForRuns(ResultWindow* window, int runs, int timeoutMs = 20000);

  static QString statusText(ResultWindow* window);
  static QLabel* messageArea(ResultWindow* window);
  static bool listVisible(ResultWindow* window);
  static std::vector<std::string> row(ResultWindow* window, int r);

  TestWorld world_;
  std::vector<std::shared_ptr<ResultWindowHandle>> handles_;
};
