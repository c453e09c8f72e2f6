#include "tests/query/query_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QTableView>

#include "library/catalog/settings.h"
#include "library/query/result_model.h"
#include "library/query/statement_run.h"
#include "tests/support/gui_driver.h"

const char kQuerySql[] = R"sql(
CREATE TABLE people(id INTEGER, name VARCHAR(40), "first name" VARCHAR(40), born DATE, seen TIMESTAMP);
INSERT INTO people VALUES (1, 'O''Brien', 'Pat', '1970-01-02', '2020-05-06 07:08:09');
INSERT INTO people VALUES (2, 'Smith', NULL, NULL, NULL);
INSERT INTO people VALUES (NULL, NULL, NULL, NULL, NULL);
CREATE TABLE hundred(a INTEGER, b VARCHAR(20), c VARCHAR(20));
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100)
  INSERT INTO hundred SELECT i, 'b' || i, CASE WHEN i <= 7 THEN 'seven' ELSE 'other' END FROM n;
)sql";

std::string BigTableSql(int rows) {
  return "CREATE TABLE big(a INTEGER, b VARCHAR(20), c VARCHAR(20));\n"
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
         std::to_string(rows) + ") INSERT INTO big SELECT i, 'row ' || i, 'x' FROM n;\n";
}

void QueryTest::SetUp() {
  EnsureGuiApplication();
  UseLibraryModuleState(1000);
  ASSERT_FALSE(world_.addSqliteDsn("Q", kQuerySql).empty());
}

void QueryTest::TearDown() {
  for (auto& handle : handles_)
    if (ResultWindow* window = handle->window()) window->close();
  ProcessEventsUntil([this] {
    for (auto& handle : handles_)
      if (!handle->closed()) return false;
    return true;
  });
  EXPECT_TRUE(WaitForQueryRuns(30000)) << "a run did not finish";
  // Late queued calls of finished runs must find nothing to touch.
  ProcessEventsUntil([] { return false; }, 50);
  g_settings = Settings{};
}

ResultWindow* QueryTest::openAndWait(const std::string& statement, const char* dsn) {
  auto handle = OpenResultWindow(statement.c_str(), dsn);
  if (!handle) return nullptr;
  handles_.push_back(handle);
  ResultWindow* window = handle->window();
  if (!window || !waitForRuns(window, 1)) return nullptr;
  return window;
}

bool QueryTest::waitForRuns(ResultWindow* window, int runs, int timeoutMs) {
  return ProcessEventsUntil([&] { return window->finishedRuns() >= runs; }, timeoutMs);
}

QString QueryTest::statusText(ResultWindow* window) {
  return FindControl<QLabel>(window, 1026)->text();
}

QLabel* QueryTest::messageArea(ResultWindow* window) { return FindControl<QLabel>(window, 1018); }

bool QueryTest::listVisible(ResultWindow* window) { return !FindControl<QTableView>(window, 1019)->isHidden(); }

std::vector<std::string> QueryTest::row(ResultWindow* window, int r) {
  std::vector<std::string> cells;
  ResultModel* model = window->model();
  for (int c = 0; c < model->columnCount(); ++c) cells.push_back(model->index(r, c).data().toString().toStdString());
  return cells;
}
