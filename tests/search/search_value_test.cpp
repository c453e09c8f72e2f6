// The search value converted for each kind of column.
#include <gtest/gtest.h>

#include "library/search/search_value.h"

namespace {

SearchParameter Convert(const std::string& value, ColumnKind kind, bool* ok) {
  SearchParameter parameter;
  *ok = ConvertSearchValue(value, kind, &parameter);
  return parameter;
}

TEST(SearchValue, IntegerColumnsTakeWholeNumbersOnly) {
  bool ok = false;
  SearchParameter p = Convert(" 42 ", ColumnKind::Integer, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.cType, SQL_C_SBIGINT);
  EXPECT_EQ(p.integer, 42);
  EXPECT_EQ(p.buffer(), static_cast<void*>(&p.integer));

  p = Convert("-7.000", ColumnKind::Integer, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.integer, -7);

  for (const char* bad : {"2.5", "abc", "", "-", "1e3", "12abc", "99999999999999999999", "x' OR '1'='1"}) {
    Convert(bad, ColumnKind::Integer, &ok);
    EXPECT_FALSE(ok) << bad;
  }
}

TEST(SearchValue, DecimalColumnsTakeTheExactText) {
  bool ok = false;
  SearchParameter p = Convert("12500,50", ColumnKind::Decimal, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.cType, SQL_C_CHAR);
  EXPECT_EQ(p.sqlType, SQL_DECIMAL);
  EXPECT_EQ(p.text, "12500.50");
  EXPECT_EQ(p.decimalDigits, 2);
  EXPECT_EQ(p.columnSize, 7u);
  EXPECT_EQ(p.indicator, 8);

  p = Convert("+.5", ColumnKind::Decimal, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.text, "0.5");

  Convert("1.2.3", ColumnKind::Decimal, &ok);
  EXPECT_FALSE(ok);
}

TEST(SearchValue, FloatColumnsTakeTheNearestDouble) {
  bool ok = false;
  SearchParameter p = Convert("-0,25", ColumnKind::Float, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.cType, SQL_C_DOUBLE);
  EXPECT_DOUBLE_EQ(p.real, -0.25);
  Convert("NaN", ColumnKind::Float, &ok);
  EXPECT_FALSE(ok);
}

TEST(SearchValue, DatesInBothNotations) {
  bool ok = false;
  SearchParameter p = Convert("31.12.1999", ColumnKind::Date, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.sqlType, SQL_TYPE_DATE);
  EXPECT_EQ(p.text, "1999-12-31");

  p = Convert("2024-02-29", ColumnKind::Timestamp, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.sqlType, SQL_TYPE_TIMESTAMP);
  EXPECT_EQ(p.text, "2024-02-29 00:00:00");

  p = Convert("2023-01-16 08:30", ColumnKind::Timestamp, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.text, "2023-01-16 08:30:00");

  // A time of day never equals a date; midnight does.
  Convert("2023-01-16 08:30", ColumnKind::Date, &ok);
  EXPECT_FALSE(ok);
  p = Convert("2023-01-16 00:00:00", ColumnKind::Date, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(p.text, "2023-01-16");

  for (const char* bad : {"2023-02-29", "2023-13-01", "2023-1-5", "32.01.2020", "2023-01-16 24:00", "today",
                          "2023-01-16x"}) {
    Convert(bad, ColumnKind::Date, &ok);
    EXPECT_FALSE(ok) << bad;
    Convert(bad, ColumnKind::Timestamp, &ok);
    EXPECT_FALSE(ok) << bad;
  }
}

TEST(SearchValue, CharacterColumnsGetAnEscapedContainsPattern) {
  bool ok = false;
  SearchParameter p = Convert("50%_off!", ColumnKind::Character, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(p.sqlType, SQL_VARCHAR);
  EXPECT_EQ(p.text, "%50!%!_OFF!!%");
  EXPECT_EQ(p.indicator, static_cast<SQLLEN>(p.text.size()));

  p = Convert("müller", ColumnKind::Character, &ok);
  EXPECT_EQ(p.text, "%MÜLLER%");

  p = Convert("x' OR '1'='1", ColumnKind::Character, &ok);
  EXPECT_EQ(p.text, "%X' OR '1'='1%");  // a parameter: quotes need no care
}

TEST(SearchValue, DataTypeChoiceSelectsColumnKinds) {
  struct Case {
    SQLSMALLINT sqlType;
    ColumnKind kind;
    bool numeric, string, date;
  };
  const Case cases[] = {
      {SQL_INTEGER, ColumnKind::Integer, true, false, false},
      {SQL_BIGINT, ColumnKind::Integer, true, false, false},
      {SQL_NUMERIC, ColumnKind::Decimal, true, false, false},
      {SQL_DOUBLE, ColumnKind::Float, true, false, false},
      {SQL_VARCHAR, ColumnKind::Character, false, true, false},
      {SQL_WLONGVARCHAR, ColumnKind::Character, false, true, false},
      {SQL_TYPE_DATE, ColumnKind::Date, false, false, true},
      {SQL_TYPE_TIMESTAMP, ColumnKind::Timestamp, false, false, true},
      {SQL_BIT, ColumnKind::Other, false, false, false},
      {SQL_LONGVARBINARY, ColumnKind::Other, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KindOfSqlType(c.sqlType), c.kind) << c.sqlType;
    EXPECT_EQ(KindIsSearched(SearchDataType::Numeric, c.kind), c.numeric) << c.sqlType;
    EXPECT_EQ(KindIsSearched(SearchDataType::String, c.kind), c.string) << c.sqlType;
    EXPECT_EQ(KindIsSearched(SearchDataType::Date, c.kind), c.date) << c.sqlType;
  }
}

TEST(SearchValue, DecimalTypeNamesReportedAsCharacterAreDecimal) {
  EXPECT_EQ(KindOfColumn(SQL_VARCHAR, "DECIMAL(10,2)"), ColumnKind::Decimal);
  EXPECT_EQ(KindOfColumn(SQL_VARCHAR, "numeric"), ColumnKind::Decimal);
  EXPECT_EQ(KindOfColumn(SQL_VARCHAR, "VARCHAR(20)"), ColumnKind::Character);
  EXPECT_EQ(KindOfColumn(SQL_VARCHAR, ""), ColumnKind::Character);
  EXPECT_EQ(KindOfColumn(SQL_INTEGER, "NUMERIC"), ColumnKind::Integer);
}

}  // namespace
