// Which data sources and tables a data search visits, and how a table is
// named in the result list.
#pragma once

#include <string>

// True when `name` is selected by `patterns`.
//
// The rule: `patterns` is a comma-separated list of names. Blanks around a
// name are ignored and letters compare without regard to case (the dialog's
// edits turn what is typed into upper case, catalogs answer in any case). A
// name that ends in "*" selects every name that begins with the text before
// the "*" (so "*" alone selects everything); any other name selects only
// itself. A list without any name (empty, blanks, commas) selects everything.
// A "*" anywhere but at the end is an ordinary character.
bool MatchesPattern(const std::string& patterns, const std::string& name);

// The name a table is listed and matched by: the schema followed by "."
// when the catalog gives a schema (also an empty one, which gives ".name"),
// then the table name when it gives one. Null stands for NULL.
std::string QualifiedTableName(const char* schema, const char* name);
