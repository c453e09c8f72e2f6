// Date and time cell texts in the user's regional formats, without touching
// the process-wide locale: the locale is opened per run (newlocale from the
// environment, LC_ALL/LC_TIME/LANG), its date and time patterns (D_FMT,
// T_FMT) are expanded once into a list of pieces, and every cell is written
// digit by digit. strftime per cell would cost ten times as much.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CellDateTime {
  int16_t year = 0;   // full year, e.g. 2024
  uint16_t month = 1; // 1-12
  uint16_t day = 1;   // 1-31
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
};

class DateTimeFormatter {
 public:
  // The user's current regional settings (read anew at every construction).
  DateTimeFormatter();
  // A named locale ("de_DE.UTF-8"); the C locale when it is not installed.
  explicit DateTimeFormatter(const char* localeName);
  ~DateTimeFormatter();
  DateTimeFormatter(const DateTimeFormatter&) = delete;
  DateTimeFormatter& operator=(const DateTimeFormatter&) = delete;

  // Appends "%x", "%X" or "%x %X" of the value to out.
  void appendDate(std::string& out, const CellDateTime& v) const { appendPattern(out, date_, v); }
  void appendTime(std::string& out, const CellDateTime& v) const { appendPattern(out, time_, v); }
  void appendTimestamp(std::string& out, const CellDateTime& v) const {
    appendPattern(out, date_, v);
    out += ' ';
    appendPattern(out, time_, v);
  }

  // ODBC escapes of the INSERT script: {d '2024-01-31'}, {t '..'}, {ts '..'}.
  static void appendDateEscape(std::string& out, const CellDateTime& v);
  static void appendTimeEscape(std::string& out, const CellDateTime& v);
  static void appendTimestampEscape(std::string& out, const CellDateTime& v);

 private:
  enum class Field : uint8_t { Literal, Day, DaySpace, Month, Year2, Year4, Hour24, Hour12, Minute, Second, AmPm, MonthAbbr, MonthName, Other };
  struct Piece {
    Field field;
    std::string text;  // literal text, or the conversion for Other
  };
  void open(const char* localeName);
  void expand(const char* pattern, std::vector<Piece>& out, int depth);
  void appendPattern(std::string& out, const std::vector<Piece>& pattern, const CellDateTime& v) const;

  void* locale_ = nullptr;  // locale_t, or null for the C locale
  std::vector<Piece> date_;
  std::vector<Piece> time_;
  std::string am_, pm_;
  std::string monthAbbr_[12], monthName_[12];
};
