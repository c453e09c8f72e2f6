// The walk of a data search: every data source (user and system) whose name
// the request selects, every table and view of it that the request selects,
// and in each the value search. What it visits and finds goes to a sink.
#pragma once

#include <string>

#include "library/search/search_control.h"
#include "library/search/search_request.h"

// Receives the progress of a search, on the thread that runs it.
class SearchSink {
 public:
  virtual ~SearchSink() = default;
  virtual void currentDataSource(const std::string& name) = 0;
  virtual void currentTable(const std::string& name) = 0;
  // One result row: data source, qualified table name, and "KEY": empty for
  // a visited table, the key of a matching record, or the note that more
  // records matched than are listed.
  virtual void addRow(const std::string& dataSource, const std::string& table, const std::string& key) = 0;
};

// Runs a whole search and returns when it is done or stopped. Connections
// use the saved logins; a data source that refuses one shows the login
// prompt, other connection failures a message box (both on the GUI thread),
// and a data source that cannot be connected is skipped. Each data source
// is connected once, disconnected and freed as soon as its tables are done.
void RunDataSearch(const SearchRequest& request, SearchSink& sink, SearchControl& control);
