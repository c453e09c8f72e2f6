// Which names a pattern list selects, and how tables are named in the list.
#include <gtest/gtest.h>

#include "library/search/search_pattern.h"

namespace {

struct PatternCase {
  const char* patterns;
  const char* name;
  bool selected;
};

TEST(MatchesPattern, FollowsTheListRule) {
  const PatternCase cases[] = {
      // An empty list, or one without names, selects everything.
      {"", "PROD_DB", true},
      {"   ", "anything", true},
      {" , ,", "anything", true},
      // Exact names, blanks around them ignored, case does not matter.
      {"PROD_DB", "PROD_DB", true},
      {"PROD_DB", "prod_db", true},
      {"  PROD_DB  ", "PROD_DB", true},
      {"PROD_DB", "PROD_DB2", false},
      {"PROD_DB", "PROD", false},
      // "*" at the end: any rest, also none.
      {"DBFR*", "DBFR", true},
      {"DBFR*", "dbfr_test", true},
      {"DBFR*", "XDBFR", false},
      {"*", "whatever", true},
      {"*", "", true},
      // "*" elsewhere is an ordinary character.
      {"A*B", "AXB", false},
      {"A*B", "A*B", true},
      // Lists: any entry may select.
      {"A*, b", "alpha", true},
      {"A*, b", "B", true},
      {"A*, b", "beta", false},
      {"A*, b", "cA", false},
      {"EMP, PROD*", "PRODUCTS", true},
      {"EMP, PROD*", "EMPLOYEES", false},
      // Names outside ASCII compare without case too.
      {"ÄRZTE*", "ärzteliste", true},
  };
  for (const PatternCase& c : cases)
    EXPECT_EQ(MatchesPattern(c.patterns, c.name), c.selected)
        << "patterns \"" << c.patterns << "\", name \"" << c.name << "\"";
}

TEST(QualifiedTableName, SchemaOnlyWhenTheCatalogGivesOne) {
  EXPECT_EQ(QualifiedTableName(nullptr, "EMP"), "EMP");
  EXPECT_EQ(QualifiedTableName("HR", "EMP"), "HR.EMP");
  EXPECT_EQ(QualifiedTableName("", "EMP"), ".EMP");
  EXPECT_EQ(QualifiedTableName("HR", nullptr), "HR.");
  EXPECT_EQ(QualifiedTableName(nullptr, nullptr), "");
}

}  // namespace
