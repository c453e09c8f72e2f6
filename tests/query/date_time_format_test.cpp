// Date and time cell texts in the locale's formats and as ODBC escapes.
#include <gtest/gtest.h>

#include <locale.h>

#include <string>

#include "library/query/date_time_format.h"

namespace {

const CellDateTime kValue{2024, 3, 7, 14, 5, 9};

TEST(DateTimeFormat, CLocaleFormats) {
  DateTimeFormatter format("C");
  std::string out;
  format.appendDate(out, kValue);
  EXPECT_EQ(out, "03/07/24");
  out.clear();
  format.appendTime(out, kValue);
  EXPECT_EQ(out, "14:05:09");
  out.clear();
  format.appendTimestamp(out, kValue);
  EXPECT_EQ(out, "03/07/24 14:05:09");
}

TEST(DateTimeFormat, MatchesStrftimeOfTheSameLocale) {
  for (const char* name : {"C", "de_DE.UTF-8", "en_US.UTF-8", "C.UTF-8"}) {
    locale_t loc = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(0));
    if (!loc) continue;  // not installed here
    std::tm tm{};
    tm.tm_year = kValue.year - 1900;
    tm.tm_mon = kValue.month - 1;
    tm.tm_mday = kValue.day;
    tm.tm_hour = kValue.hour;
    tm.tm_min = kValue.minute;
    tm.tm_sec = kValue.second;
    char expected[128];
    strftime_l(expected, sizeof expected, "%x %X", &tm, loc);
    freelocale(loc);

    DateTimeFormatter format(name);
    std::string out;
    format.appendTimestamp(out, kValue);
    EXPECT_EQ(out, expected) << "locale " << name;
  }
}

TEST(DateTimeFormat, NeverTouchesTheProcessLocale) {
  const std::string before = setlocale(LC_ALL, nullptr);
  { DateTimeFormatter format("de_DE.UTF-8"); }
  { DateTimeFormatter format; }
  EXPECT_EQ(before, setlocale(LC_ALL, nullptr));
}

TEST(DateTimeFormat, OdbcEscapes) {
  std::string out;
  DateTimeFormatter::appendDateEscape(out, kValue);
  EXPECT_EQ(out, "{d '2024-03-07'}");
  out.clear();
  DateTimeFormatter::appendTimeEscape(out, kValue);
  EXPECT_EQ(out, "{t '14:05:09'}");
  out.clear();
  DateTimeFormatter::appendTimestampEscape(out, kValue);
  EXPECT_EQ(out, "{ts '2024-03-07 14:05:09'}");
  out.clear();
  DateTimeFormatter::appendDateEscape(out, CellDateTime{987, 1, 2, 0, 0, 0});
  EXPECT_EQ(out, "{d '0987-01-02'}");
}

}  // namespace
