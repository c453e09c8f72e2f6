// SELECT * FROM a 1,000,000-row, 6-column SQLite table with MaxRow 0,
// through the real result window (offscreen), against a plain loop that
// binds the same columns as character data and fetches every row. Prints
// both times, their ratio and the window's memory growth against its budget
// (2 x the bytes of the fetched texts + 16 bytes per cell).
//
//   result_bench [rows]
#include <sqlite3.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/catalog/odbc_api.h"
#include "library/catalog/settings.h"
#include "library/query/result_model.h"
#include "library/query/result_window.h"
#include "library/res/strings.h"
#include "library/shell/module_state.h"

namespace {

constexpr int kColumns = 6;

long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  return 0;
}

bool BuildDatabase(const std::string& path, int rows) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
  const std::string sql =
      "CREATE TABLE t(id INTEGER, name VARCHAR(40), city VARCHAR(40), amount DOUBLE, qty INTEGER, note VARCHAR(60));"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(rows) +
      ") INSERT INTO t SELECT i, 'name ' || i, 'city ' || (i % 977), i * 1.25, i % 100, 'note for row ' || i FROM n;";
  char* error = nullptr;
  const bool ok = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
  if (!ok) std::fprintf(stderr, "sqlite: %s\n", error ? error : "?");
  sqlite3_free(error);
  sqlite3_close(db);
  return ok;
}

// The plain loop: every column bound as character data, one SQLFetch per row.
double PlainLoop(long& rows, size_t& textBytes) {
  SQLHENV env = nullptr;
  SQLHDBC dbc = nullptr;
  SQLHSTMT stmt = nullptr;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  QElapsedTimer clock;
  clock.start();
  if (!SQL_SUCCEEDED(SQLConnect(dbc, (SQLCHAR*)"Bench", SQL_NTS, nullptr, 0, nullptr, 0))) {
    std::fprintf(stderr, "cannot connect to Bench\n");
    std::exit(1);
  }
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
  SQLExecDirect(stmt, (SQLCHAR*)"SELECT * FROM t", SQL_NTS);
  char buffers[kColumns][256];
  SQLLEN indicators[kColumns];
  for (int c = 0; c < kColumns; ++c)
    SQLBindCol(stmt, static_cast<SQLUSMALLINT>(c + 1), SQL_C_CHAR, buffers[c], sizeof buffers[c], &indicators[c]);
  rows = 0;
  textBytes = 0;
  while (SQL_SUCCEEDED(SQLFetch(stmt))) {
    for (int c = 0; c < kColumns; ++c)
      if (indicators[c] > 0) textBytes += static_cast<size_t>(indicators[c]);
    ++rows;
  }
  const double seconds = clock.nsecsElapsed() / 1e9;
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const int rowCount = argc > 1 ? std::atoi(argv[1]) : 1000000;
  char pattern[] = "/tmp/datrova-bench-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir) return 1;
  const std::string root = dir;
  const std::string db = root + "/bench.db";
  std::filesystem::create_directories(root + "/home");
  std::filesystem::create_directories(root + "/registry");
  {
    std::ofstream ini(root + "/odbc.ini");
    // StepAPI=1: the driver steps through the result instead of copying all
    // of it at execute time, so the memory measured is the window's own.
    ini << "[Bench]\nDriver=SQLite3\nDatabase=" << db << "\nStepAPI=1\n";
  }
  setenv("HOME", (root + "/home").c_str(), 1);
  setenv("ODBCINI", (root + "/odbc.ini").c_str(), 1);
  setenv("DATROVA_REGISTRY", (root + "/registry").c_str(), 1);
  setenv("DATROVA_SYSTEM_DIR", (root + "/system").c_str(), 1);
  if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  std::printf("building %d rows x %d columns in %s ...\n", rowCount, kColumns, db.c_str());
  if (!BuildDatabase(db, rowCount)) return 1;

  QApplication app(argc, argv);
  RegisterModuleResources(nullptr);
  g_languageOffset = 1000;
  g_settings = Settings{};
  g_settings.MaxRow = 0;
  g_settings.MaxCol = 0;

  long loopRows = 0;
  size_t textBytes = 0;
  const double loopSeconds = PlainLoop(loopRows, textBytes);

  const long rssBeforeKb = StatusKb("VmRSS:");
  QElapsedTimer clock;
  clock.start();
  auto handle = OpenResultWindow("SELECT * FROM t", "Bench");
  ResultWindow* window = handle ? handle->window() : nullptr;
  if (!window) return 1;
  {
    // The event loop sleeps until something arrives, as it would for a user.
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
      if (window->finishedRuns() >= 1) loop.quit();
    });
    check.start(5);
    loop.exec();
  }
  const double windowSeconds = clock.nsecsElapsed() / 1e9;
  const long peakKb = StatusKb("VmHWM:");
  const long windowRows = window->model()->rowCount();

  const double cells = static_cast<double>(loopRows) * kColumns;
  const double growth = static_cast<double>(peakKb - rssBeforeKb) * 1024.0;
  const double budget = 2.0 * static_cast<double>(textBytes) + 16.0 * cells;
  std::printf("plain loop:    %.3f s, %ld rows, %.1f MB of text\n", loopSeconds, loopRows, textBytes / 1e6);
  std::printf("result window: %.3f s, %ld rows\n", windowSeconds, windowRows);
  std::printf("ratio:         %.2f (target at most 1.30)\n", windowSeconds / loopSeconds);
  std::printf("memory:        peak %.1f MB, growth %.1f MB, budget %.1f MB (%s)\n", peakKb / 1024.0,
              growth / 1e6, budget / 1e6, growth <= budget ? "within" : "over");
  window->close();
  while (!handle->closed()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  WaitForQueryRuns(30000);
  std::filesystem::remove_all(root);
  return windowRows == loopRows ? 0 : 2;
}
