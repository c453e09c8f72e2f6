// The column sets of the folder levels: headers in both languages, widths
// from the settings, and the driver's terms at the data source level.
#include <gtest/gtest.h>

#include <cstdio>

#include "library/catalog/connection.h"
#include "library/catalog/settings.h"
#include "library/shell/module_state.h"
#include "library/shell/view_columns.h"
#include "tests/support/world.h"

namespace {

std::vector<std::string> HeadersOf(const std::vector<ViewColumn>& columns) {
  std::vector<std::string> headers;
  for (const ViewColumn& c : columns) headers.push_back(c.header.toStdString());
  return headers;
}

class ColumnSetTest : public ::testing::Test {
 protected:
  TestWorld world_;
};

TEST_F(ColumnSetTest, GermanAndEnglishHeadersOfEveryLevel) {
  UseLibraryModuleState(0);
  EXPECT_EQ((std::vector<std::string>{"DSN", "Treiber", "Typ"}), HeadersOf(ColumnsOfLevel(1, nullptr)));
  EXPECT_EQ((std::vector<std::string>{"Name", "Katalog", "Eigentümer", "Typ", "Bemerkung"}),
            HeadersOf(ColumnsOfLevel(2, nullptr)));
  EXPECT_EQ((std::vector<std::string>{"Name", "Typ", "Null möglich", "Prim.Key", "Bemerkung"}),
            HeadersOf(ColumnsOfLevel(3, nullptr)));
  EXPECT_EQ((std::vector<std::string>{"Name", "Ein/Ausgabe", "Datentyp", "Null möglich", "Reihenfolge", "Bemerkung"}),
            HeadersOf(ColumnsOfLevel(4, nullptr)));
  UseLibraryModuleState(1000);
  EXPECT_EQ((std::vector<std::string>{"Name", "In/Out", "Datatype", "Nullable", "Order", "Remark"}),
            HeadersOf(ColumnsOfLevel(4, nullptr)));
  EXPECT_TRUE(ColumnsOfLevel(0, nullptr).empty());
}

TEST_F(ColumnSetTest, WidthsComeFromTheTablePositionsOfTheLevel) {
  UseLibraryModuleState(1000);
  for (int i = 0; i < kColumnWidthCount; ++i) g_settings.columnWidths[i] = 60 + i;
  g_settings.columnWidths[13] = 10;  // below the minimum of a first column
  const std::vector<ViewColumn> procedure = ColumnsOfLevel(4, nullptr);
  ASSERT_EQ(6u, procedure.size());
  EXPECT_EQ(50, procedure[0].width) << "the first column is at least 50 pixels wide";
  EXPECT_EQ(60 + 18, procedure[5].width);
  EXPECT_EQ(18, procedure[5].widthSlot);
  const std::vector<ViewColumn> table = ColumnsOfLevel(3, nullptr);
  EXPECT_EQ(60 + 8, table[0].width);
  EXPECT_EQ((ColumnRange{3, 5}).first, ColumnRangeOf(2).first);
  EXPECT_EQ(5, ColumnRangeOf(2).count);
}

TEST_F(ColumnSetTest, DriverTermsNameAndHideTheQualifierAndOwnerColumns) {
  UseLibraryModuleState(1000);
  ConnectionContext terms;
  terms.termsLoaded = true;
  terms.catalogsSupported = true;
  std::snprintf(terms.catalogTerm, sizeof terms.catalogTerm, "database");
  std::snprintf(terms.ownerTerm, sizeof terms.ownerTerm, "%s", "");
  std::vector<ViewColumn> columns = ColumnsOfLevel(2, &terms);
  EXPECT_EQ("database", columns[1].header.toStdString());
  EXPECT_EQ(g_settings.columnWidths[4], columns[1].width);
  EXPECT_FALSE(columns[1].fixedByDriver);
  EXPECT_EQ(0, columns[2].width) << "no owner term: the owner column is hidden";
  EXPECT_TRUE(columns[2].fixedByDriver);

  terms.catalogsSupported = false;
  std::snprintf(terms.ownerTerm, sizeof terms.ownerTerm, "schema");
  columns = ColumnsOfLevel(2, &terms);
  EXPECT_EQ(0, columns[1].width);
  EXPECT_EQ("schema", columns[2].header.toStdString());
  EXPECT_GT(columns[2].width, 0);

  terms.termsLoaded = false;  // no connection: the string table headers stay
  columns = ColumnsOfLevel(2, &terms);
  EXPECT_EQ("Qualifier", columns[1].header.toStdString());
  EXPECT_EQ("Owner", columns[2].header.toStdString());
}

}  // namespace
