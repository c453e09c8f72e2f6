// What the user asks the data search for (read from the "Find Data" dialog
// when OK is pressed).
#pragma once

#include <string>

// The kind of columns the value is compared with; the numbers are the
// dialog's data type choice.
enum class SearchDataType { Numeric = 1, String = 2, Date = 3 };

struct SearchRequest {
  std::string dataSourcePatterns;  // MatchesPattern list for data source names
  std::string tablePatterns;       // MatchesPattern list for table names
  SearchDataType dataType = SearchDataType::String;
  std::string value;               // empty: tables are only listed, not searched
};
