#include "library/search/search_value.h"

#include <QString>

#include <charconv>
#include <optional>
#include <string_view>

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Decimal {
  bool negative = false;
  std::string whole;     // digits before the point, at least "0"
  std::string fraction;  // digits after it, possibly empty
};

std::optional<Decimal> ParseDecimal(std::string_view text) {
  text = Trim(text);
  Decimal number;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    number.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  size_t i = 0;
  while (i < text.size() && IsDigit(text[i])) number.whole += text[i++];
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    ++i;
    while (i < text.size() && IsDigit(text[i])) number.fraction += text[i++];
  }
  if (i != text.size() || (number.whole.empty() && number.fraction.empty())) return std::nullopt;
  if (number.whole.empty()) number.whole = "0";
  return number;
}

struct DateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  bool hasTime = false;
};

bool ReadInt(std::string_view text, size_t& pos, size_t digits, int* out) {
  if (pos + digits > text.size()) return false;
  int value = 0;
  for (size_t i = 0; i < digits; ++i) {
    if (!IsDigit(text[pos + i])) return false;
    value = value * 10 + (text[pos + i] - '0');
  }
  pos += digits;
  *out = value;
  return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
  text = Trim(text);
  DateTime when;
  size_t pos = 0;
  bool ok = false;
  if (text.size() >= 10 && text[4] == '-') {
    ok = ReadInt(text, pos, 4, &when.year) && Expect(text, pos, '-') && ReadInt(text, pos, 2, &when.month) &&
         Expect(text, pos, '-') && ReadInt(text, pos, 2, &when.day);
  } else if (text.size() >= 10 && text[2] == '.') {
    ok = ReadInt(text, pos, 2, &when.day) && Expect(text, pos, '.') && ReadInt(text, pos, 2, &when.month) &&
         Expect(text, pos, '.') && ReadInt(text, pos, 4, &when.year);
  }
  if (!ok) return std::nullopt;
  if (pos < text.size()) {
    if (!Expect(text, pos, ' ')) return std::nullopt;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (!ReadInt(text, pos, 2, &when.hour) || !Expect(text, pos, ':') || !ReadInt(text, pos, 2, &when.minute))
      return std::nullopt;
    if (pos < text.size() && (!Expect(text, pos, ':') || !ReadInt(text, pos, 2, &when.second)))
      return std::nullopt;
    if (pos != text.size()) return std::nullopt;
    when.hasTime = true;
  }
  if (when.year < 1 || when.month < 1 || when.month > 12 || when.day < 1 ||
      when.day > DaysInMonth(when.year, when.month) || when.hour > 23 || when.minute > 59 || when.second > 59)
    return std::nullopt;
  return when;
}

std::string TwoDigits(int value) {
  return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

std::string DateText(const DateTime& when) {
  std::string year = std::to_string(when.year);
  while (year.size() < 4) year.insert(year.begin(), '0');
  return year + "-" + TwoDigits(when.month) + "-" + TwoDigits(when.day);
}

std::string LikePattern(const std::string& value) {
  const std::string upper = QString::fromUtf8(value).toUpper().toStdString();
  std::string pattern = "%";
  for (char c : upper) {
    if (c == '!' || c == '%' || c == '_') pattern += '!';
    pattern += c;
  }
  pattern += '%';
  return pattern;
}

void SetText(SearchParameter* parameter, SQLSMALLINT sqlType, std::string text, SQLSMALLINT digits = 0) {
  parameter->cType = SQL_C_CHAR;
  parameter->sqlType = sqlType;
  parameter->text = std::move(text);
  parameter->columnSize = parameter->text.empty() ? 1 : parameter->text.size();
  parameter->decimalDigits = digits;
  parameter->indicator = static_cast<SQLLEN>(parameter->text.size());
}

}  // namespace

SQLPOINTER SearchParameter::buffer() {
  switch (cType) {
    case SQL_C_SBIGINT:
      return &integer;
    case SQL_C_DOUBLE:
      return &real;
    default:
      return text.data();
  }
}

SQLLEN SearchParameter::bufferLength() const {
  switch (cType) {
    case SQL_C_SBIGINT:
      return sizeof integer;
    case SQL_C_DOUBLE:
      return sizeof real;
    default:
      return static_cast<SQLLEN>(text.size());
  }
}

ColumnKind KindOfSqlType(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
      return ColumnKind::Integer;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return ColumnKind::Decimal;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return ColumnKind::Float;
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
      return ColumnKind::Character;
    case SQL_DATE:
    case SQL_TYPE_DATE:
      return ColumnKind::Date;
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP:
      return ColumnKind::Timestamp;
    default:
      return ColumnKind::Other;
  }
}

ColumnKind KindOfColumn(SQLSMALLINT sqlType, const std::string& typeName) {
  const ColumnKind kind = KindOfSqlType(sqlType);
  if (kind != ColumnKind::Character) return kind;
  const QString name = QString::fromUtf8(typeName).trimmed();
  if (name.startsWith(QLatin1String("DECIMAL"), Qt::CaseInsensitive) ||
      name.startsWith(QLatin1String("NUMERIC"), Qt::CaseInsensitive))
    return ColumnKind::Decimal;
  return kind;
}

bool KindIsSearched(SearchDataType dataType, ColumnKind kind) {
  switch (dataType) {
    case SearchDataType::Numeric:
      return kind == ColumnKind::Integer || kind == ColumnKind::Decimal || kind == ColumnKind::Float;
    case SearchDataType::String:
      return kind == ColumnKind::Character;
    case SearchDataType::Date:
      return kind == ColumnKind::Date || kind == ColumnKind::Timestamp;
  }
  return false;
}

bool ConvertSearchValue(const std::string& value, ColumnKind kind, SearchParameter* parameter) {
  *parameter = SearchParameter{};
  switch (kind) {
    case ColumnKind::Character:
      SetText(parameter, SQL_VARCHAR, LikePattern(value));
      return true;

    case ColumnKind::Integer: {
      std::optional<Decimal> number = ParseDecimal(value);
      if (!number || number->fraction.find_first_not_of('0') != std::string::npos) return false;
      const std::string digits = (number->negative ? "-" : "") + number->whole;
      int64_t integer = 0;
      auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), integer);
      if (error != std::errc() || end != digits.data() + digits.size()) return false;
      parameter->cType = SQL_C_SBIGINT;
      parameter->sqlType = SQL_BIGINT;
      parameter->columnSize = 19;
      parameter->integer = integer;
      return true;
    }

    case ColumnKind::Decimal: {
      std::optional<Decimal> number = ParseDecimal(value);
      if (!number) return false;
      std::string text = (number->negative ? "-" : "") + number->whole;
      if (!number->fraction.empty()) text += "." + number->fraction;
      SetText(parameter, SQL_DECIMAL, text, static_cast<SQLSMALLINT>(number->fraction.size()));
      parameter->columnSize = number->whole.size() + number->fraction.size();
      return true;
    }

    case ColumnKind::Float: {
      std::optional<Decimal> number = ParseDecimal(value);
      if (!number) return false;
      const std::string text = (number->negative ? "-" : "") + number->whole + "." +
                               (number->fraction.empty() ? "0" : number->fraction);
      double real = 0;
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), real);
      if (error != std::errc() || end != text.data() + text.size()) return false;
      parameter->cType = SQL_C_DOUBLE;
      parameter->sqlType = SQL_DOUBLE;
      parameter->columnSize = 15;
      parameter->real = real;
      return true;
    }

    case ColumnKind::Date: {
      std::optional<DateTime> when = ParseDateTime(value);
      if (!when || when->hour || when->minute || when->second) return false;
      SetText(parameter, SQL_TYPE_DATE, DateText(*when));
      return true;
    }

    case ColumnKind::Timestamp: {
      std::optional<DateTime> when = ParseDateTime(value);
      if (!when) return false;
      SetText(parameter, SQL_TYPE_TIMESTAMP,
              DateText(*when) + " " + TwoDigits(when->hour) + ":" + TwoDigits(when->minute) + ":" +
                  TwoDigits(when->second));
      return true;
    }

    case ColumnKind::Other:
      break;
  }
  return false;
}
