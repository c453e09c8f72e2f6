// Two small SQLite data sources for the data search tests, and a sink that
// records what a search reports.
#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "library/search/data_search.h"
#include "tests/support/world.h"

// ALPHA: accounts (primary key id; name, city, opened DATE, balance DECIMAL),
//        ledger (two-column key year, entry_no; memo, amount),
//        memos (no primary key; title, body, due DATE).
// BETA:  bulk (150 rows whose label contains "BULK"), parts, "weird ""name""".
void AddSearchDataSources(TestWorld& world);
// SLOW: a view "endless" of 1000^4 rows whose one character column is built
// from every joined row, so that no search of it ends by itself.
void AddSlowDataSource(TestWorld& world);

struct SearchRow {
  std::string dataSource;
  std::string table;
  std::string key;
  bool operator==(const SearchRow&) const = default;
};
std::ostream& operator<<(std::ostream& out, const SearchRow& row);

class RecordingSink : public SearchSink {
 public:
  void currentDataSource(const std::string& name) override;
  void currentTable(const std::string& name) override;
  void addRow(const std::string& dataSource, const std::string& table, const std::string& key) override;

  std::vector<SearchRow> rows() const;
  std::vector<std::string> dataSources() const;
  // Rows with a non-empty key (records found), in the order reported.
  std::vector<SearchRow> hits() const;
  std::vector<std::thread::id> threads() const;

 private:
  mutable std::mutex mutex_;
  std::vector<SearchRow> rows_;
  std::vector<std::string> dataSources_;
  std::vector<std::string> tables_;
  std::vector<std::thread::id> threads_;
};

// Runs a search to its end on the calling thread.
std::vector<SearchRow> SearchHits(const std::string& dataSources, const std::string& tables,
                                  SearchDataType type, const std::string& value);
