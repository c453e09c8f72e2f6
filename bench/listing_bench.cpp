// Listing a data source of 10,000 tables: the folder's enumerator (catalog
// read into items, copies handed out through Next) plus sorting the items
// with CompareIDs, against a plain SQLTables fetch loop over the same data
// source. Each side connects anew per run; the median of several runs counts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "library/catalog/item_id.h"
#include "library/catalog/odbc_api.h"
#include "library/catalog/settings.h"
#include "library/shell/module_state.h"
#include "library/shell/shell_folder.h"
#include "tests/support/world.h"

namespace {

constexpr int kTables = 10000;
constexpr int kRuns = 7;

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// SQLTables with every column bound as text, fetched to the end.
size_t PlainLoop(const char* dsn) {
  SQLHENV env;
  SQLHDBC dbc;
  SQLHSTMT st;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  size_t rows = 0;
  if (SQL_SUCCEEDED(SQLConnect(dbc, (SQLCHAR*)dsn, SQL_NTS, nullptr, 0, nullptr, 0))) {
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
    if (SQL_SUCCEEDED(SQLTables(st, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0))) {
      char text[5][255];
      SQLLEN indicator[5];
      for (SQLUSMALLINT c = 0; c < 5; ++c) SQLBindCol(st, c + 1, SQL_C_CHAR, text[c], 255, &indicator[c]);
      while (SQL_SUCCEEDED(SQLFetch(st))) ++rows;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, st);
    SQLDisconnect(dbc);
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return rows;
}

// Milliseconds of the last listing's phases: fill, Next, sort.
double g_phase[3];

double Since(Clock::time_point& mark) {
  auto now = Clock::now();
  double ms = std::chrono::duration<double, std::milli>(now - mark).count();
  mark = now;
  return ms;
}

// A new data source folder, its enumerator drained, the items sorted by name.
size_t FolderListing(const char* dsn) {
  auto mark = Clock::now();
  LPITEMIDLIST dsnItem = CreateDsnItem(dsn, nullptr, true);
  ComPtr<IShellFolder> folder;
  HandOut(ShellFolder::Create(nullptr, dsnItem), IID_IShellFolder, folder.putVoid());
  FreeIdList(dsnItem);
  std::vector<LPITEMIDLIST> items;
  ComPtr<IEnumIDList> enumerator;
  if (folder && SUCCEEDED(folder->EnumObjects(nullptr, SHCONTF_FOLDERS, enumerator.put()))) {
    g_phase[0] = Since(mark);
    LPITEMIDLIST item;
    ULONG fetched;
    while (enumerator->Next(1, &item, &fetched) == S_OK) items.push_back(item);
    g_phase[1] = Since(mark);
    std::sort(items.begin(), items.end(),
              [&](LPITEMIDLIST a, LPITEMIDLIST b) { return folder->CompareIDs(0, a, b) < 0; });
    g_phase[2] = Since(mark);
  }
  size_t count = items.size();
  for (LPITEMIDLIST item : items) FreeIdList(item);
  return count;
}

template <typename F>
double Time(F&& f, size_t* rows) {
  auto start = Clock::now();
  *rows = f();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
  TestWorld world;
  std::string sql = "BEGIN;\n";
  for (int i = 0; i < kTables; ++i)
    sql += "CREATE TABLE t" + std::to_string((i * 7919) % kTables) + " (id INTEGER PRIMARY KEY, v TEXT);\n";
  sql += "COMMIT;\n";
  world.addSqliteDsn("Bench", sql);
  UseLibraryModuleState();
  g_settings.ConnectDSN = true;

  std::vector<double> plain, listing;
  size_t plainRows = 0, listedRows = 0;
  for (int run = 0; run < kRuns; ++run) {
    plain.push_back(Time([] { return PlainLoop("Bench"); }, &plainRows));
    listing.push_back(Time([] { return FolderListing("Bench"); }, &listedRows));
  }
  const double plainMs = Median(plain);
  const double listingMs = Median(listing);
  std::printf("tables: plain loop %zu rows, folder listing %zu items\n", plainRows, listedRows);
  std::printf("plain SQLTables loop:           %8.2f ms (median of %d)\n", plainMs, kRuns);
  std::printf("enumerator fill + CompareIDs:   %8.2f ms (median of %d)\n", listingMs, kRuns);
  std::printf("  last listing: fill %.2f ms, Next %.2f ms, sort %.2f ms\n", g_phase[0], g_phase[1], g_phase[2]);
  std::printf("ratio listing / plain:          %8.2f (budget 1.50)\n", listingMs / plainMs);
  return plainRows == listedRows && plainRows >= static_cast<size_t>(kTables) ? 0 : 1;
}
