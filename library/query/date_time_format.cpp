#include "library/query/date_time_format.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdio>
#include <ctime>

namespace {

void AppendDigits(std::string& out, unsigned value, int width, char pad = '0') {
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && n < 11);
  for (int i = n; i < width; ++i) out += pad;
  while (n > 0) out += digits[--n];
}

void AppendYear(std::string& out, int year, int width) {
  if (year < 0) {
    out += '-';
    year = -year;
  }
  AppendDigits(out, static_cast<unsigned>(year), width);
}

const char* LangInfo(nl_item item, void* locale) {
  return locale ? nl_langinfo_l(item, static_cast<locale_t>(locale)) : nl_langinfo(item);
}

}  // namespace

DateTimeFormatter::DateTimeFormatter() { open(""); }
DateTimeFormatter::DateTimeFormatter(const char* localeName) { open(localeName); }

DateTimeFormatter::~DateTimeFormatter() {
  if (locale_) freelocale(static_cast<locale_t>(locale_));
}

void DateTimeFormatter::open(const char* localeName) {
  // "" takes the user's settings from the environment; a locale that is not
  // installed falls back to the C locale rather than failing the run.
  locale_t loc = newlocale(LC_ALL_MASK, localeName, static_cast<locale_t>(0));
  if (!loc) loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  locale_ = loc;
  // nl_langinfo_l without a locale object would read the process locale,
  // so every query below goes through the object opened here.
  am_ = LangInfo(AM_STR, locale_);
  pm_ = LangInfo(PM_STR, locale_);
  for (int m = 0; m < 12; ++m) {
    monthAbbr_[m] = LangInfo(static_cast<nl_item>(ABMON_1 + m), locale_);
    monthName_[m] = LangInfo(static_cast<nl_item>(MON_1 + m), locale_);
  }
  const std::string dateFmt = LangInfo(D_FMT, locale_);
  const std::string timeFmt = LangInfo(T_FMT, locale_);
  expand(dateFmt.c_str(), date_, 0);
  expand(timeFmt.c_str(), time_, 0);
}

void DateTimeFormatter::expand(const char* pattern, std::vector<Piece>& out, int depth) {
  auto literal = [&out](char c) {
    if (out.empty() || out.back().field != Field::Literal) out.push_back({Field::Literal, {}});
    out.back().text += c;
  };
  for (const char* p = pattern; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      literal(*p);
      continue;
    }
    ++p;
    // Skip the E and O modifiers (alternative eras and digits).
    if ((*p == 'E' || *p == 'O') && p[1] != '\0') ++p;
    switch (*p) {
      case 'd': out.push_back({Field::Day, {}}); break;
      case 'e': out.push_back({Field::DaySpace, {}}); break;
      case 'm': out.push_back({Field::Month, {}}); break;
      case 'y': out.push_back({Field::Year2, {}}); break;
      case 'Y': out.push_back({Field::Year4, {}}); break;
      case 'H': out.push_back({Field::Hour24, {}}); break;
      case 'I': out.push_back({Field::Hour12, {}}); break;
      case 'M': out.push_back({Field::Minute, {}}); break;
      case 'S': out.push_back({Field::Second, {}}); break;
      case 'p': out.push_back({Field::AmPm, {}}); break;
      case 'b':
      case 'h': out.push_back({Field::MonthAbbr, {}}); break;
      case 'B': out.push_back({Field::MonthName, {}}); break;
      case '%': literal('%'); break;
      case 'n': literal('\n'); break;
      case 't': literal('\t'); break;
      // Composite conversions, expanded once here.
      case 'D': if (depth < 2) expand("%m/%d/%y", out, depth + 1); break;
      case 'F': if (depth < 2) expand("%Y-%m-%d", out, depth + 1); break;
      case 'T': if (depth < 2) expand("%H:%M:%S", out, depth + 1); break;
      case 'R': if (depth < 2) expand("%H:%M", out, depth + 1); break;
      case 'r': if (depth < 2) expand(LangInfo(T_FMT_AMPM, locale_), out, depth + 1); break;
      default:
        // Rare conversions (weekday names, week numbers) go through
        // strftime_l for the cells that need them.
        out.push_back({Field::Other, std::string("%") + *p});
        break;
    }
  }
}

void DateTimeFormatter::appendPattern(std::string& out, const std::vector<Piece>& pattern,
                                      const CellDateTime& v) const {
  const unsigned month = v.month >= 1 && v.month <= 12 ? v.month : 1;
  for (const Piece& piece : pattern) {
    switch (piece.field) {
      case Field::Literal: out += piece.text; break;
      case Field::Day: AppendDigits(out, v.day, 2); break;
      case Field::DaySpace: AppendDigits(out, v.day, 2, ' '); break;
      case Field::Month: AppendDigits(out, v.month, 2); break;
      case Field::Year2: AppendDigits(out, static_cast<unsigned>((v.year % 100 + 100) % 100), 2); break;
      case Field::Year4: AppendYear(out, v.year, 1); break;
      case Field::Hour24: AppendDigits(out, v.hour, 2); break;
      case Field::Hour12: AppendDigits(out, v.hour % 12 == 0 ? 12u : v.hour % 12u, 2); break;
      case Field::Minute: AppendDigits(out, v.minute, 2); break;
      case Field::Second: AppendDigits(out, v.second, 2); break;
      case Field::AmPm: out += v.hour < 12 ? am_ : pm_; break;
      case Field::MonthAbbr: out += monthAbbr_[month - 1]; break;
      case Field::MonthName: out += monthName_[month - 1]; break;
      case Field::Other: {
        std::tm tm{};
        tm.tm_year = v.year - 1900;
        tm.tm_mon = static_cast<int>(month) - 1;
        tm.tm_mday = v.day;
        tm.tm_hour = v.hour;
        tm.tm_min = v.minute;
        tm.tm_sec = v.second;
        std::mktime(&tm);  // fills in the weekday and the day of the year
        char buffer[129];
        const size_t n = strftime_l(buffer, sizeof buffer, piece.text.c_str(), &tm, static_cast<locale_t>(locale_));
        out.append(buffer, n);
        break;
      }
    }
  }
}

namespace {

// "YYYY-MM-DD" and "hh:mm:ss", the parts of the ODBC date/time escapes.
void AppendIsoDate(std::string& out, const CellDateTime& v) {
  AppendYear(out, v.year, 4);
  out += '-';
  AppendDigits(out, v.month, 2);
  out += '-';
  AppendDigits(out, v.day, 2);
}

void AppendIsoTime(std::string& out, const CellDateTime& v) {
  AppendDigits(out, v.hour, 2);
  out += ':';
  AppendDigits(out, v.minute, 2);
  out += ':';
  AppendDigits(out, v.second, 2);
}

}  // namespace

void DateTimeFormatter::appendDateEscape(std::string& out, const CellDateTime& v) {
  out += "{d '";
  AppendIsoDate(out, v);
  out += "'}";
}

void DateTimeFormatter::appendTimeEscape(std::string& out, const CellDateTime& v) {
  out += "{t '";
  AppendIsoTime(out, v);
  out += "'}";
}

void DateTimeFormatter::appendTimestampEscape(std::string& out, const CellDateTime& v) {
  out += "{ts '";
  AppendIsoDate(out, v);
  out += ' ';
  AppendIsoTime(out, v);
  out += "'}";
}
