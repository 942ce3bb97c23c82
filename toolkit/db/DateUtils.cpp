#include "toolkit/db/DateUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>
#include <system_error>

#include "toolkit/db/FormatSettings.h"

namespace db {

namespace {

constexpr int64_t kMSecsPerDay = 86400000;
// Days from 1 January of year 1 to 30 December 1899, the day numbered 0.
constexpr int kDateDelta = 693594;

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  int dayOfYear = day;
  for (int m = 1; m < month; ++m) dayOfYear += DaysInMonth(year, m);
  int y = year - 1;
  result = double(y * 365 + y / 4 - y / 100 + y / 400 + dayOfYear - kDateDelta);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, double fraction, double& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      fraction < 0 || fraction >= 1)
    return false;
  result = (hour * 3600 + minute * 60 + second + fraction) / 86400.0;
  return true;
}

// A date before day 0 carries its time of day with the sign of the date: -1.25 is
// 29 December 1899 at 06:00.
TDateTime CombineDateTime(TDateTime date, double time) {
  return date < 0 ? date - time : date + time;
}

// Whole days (towards zero) and the time of day in milliseconds, rounded to the millisecond.
void SplitDateTime(TDateTime value, int64_t& days, int64_t& msecs) {
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
    throw EConvertError("Invalid argument to date encode");
  int64_t total = std::llround(value * kMSecsPerDay);
  days = total / kMSecsPerDay;
  msecs = (total < 0 ? -total : total) % kMSecsPerDay;
}

void DecodeDays(int64_t days, int& year, int& month, int& day) {
  int64_t d = days + kDateDelta - 1;  // 0 = 1 January of year 1
  if (d < 0 || d >= 3652059) throw EConvertError("Invalid argument to date encode");
  int64_t y400 = d / 146097;
  d %= 146097;
  int64_t y100 = std::min<int64_t>(d / 36524, 3);
  d -= y100 * 36524;
  int64_t y4 = d / 1461;
  d %= 1461;
  int64_t y1 = std::min<int64_t>(d / 365, 3);
  d -= y1 * 365;
  year = int(y400 * 400 + y100 * 100 + y4 * 4 + y1 + 1);
  month = 1;
  while (d >= DaysInMonth(year, month)) d -= DaysInMonth(year, month++);
  day = int(d + 1);
}

std::string_view TrimBlanks(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Reads 1..maxDigits decimal digits at pos.
bool ReadNumber(std::string_view text, size_t& pos, size_t maxDigits, int& value) {
  size_t start = pos;
  value = 0;
  while (pos < text.size() && pos - start < maxDigits && text[pos] >= '0' && text[pos] <= '9')
    value = value * 10 + (text[pos++] - '0');
  return pos > start;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

// Date part: dd/mm/yyyy with the date separator, or ISO yyyy-mm-dd.
bool ReadDate(std::string_view text, size_t& pos, TDateTime& date) {
  size_t start = pos;
  int a = 0, b = 0, c = 0;
  if (!ReadNumber(text, pos, 4, a)) return false;
  if (pos - start == 4) {
    return Expect(text, pos, '-') && ReadNumber(text, pos, 2, b) && Expect(text, pos, '-') &&
           ReadNumber(text, pos, 2, c) && TryEncodeDate(a, b, c, date);
  }
  char sep = FormatSettings().DateSeparator;
  if (pos - start > 2 || !Expect(text, pos, sep) || !ReadNumber(text, pos, 2, b) ||
      !Expect(text, pos, sep))
    return false;
  size_t yearStart = pos;
  return ReadNumber(text, pos, 4, c) && pos - yearStart == 4 && TryEncodeDate(c, b, a, date);
}

// Time part: hh:nn[:ss[.fff...]] with the time separator (or ':').
bool ReadTime(std::string_view text, size_t& pos, double& time) {
  char sep = FormatSettings().TimeSeparator;
  auto expectSep = [&] { return Expect(text, pos, sep) || Expect(text, pos, ':'); };
  int hour = 0, minute = 0, second = 0;
  double fraction = 0;
  if (!ReadNumber(text, pos, 2, hour) || !expectSep() || !ReadNumber(text, pos, 2, minute))
    return false;
  if (pos < text.size() && expectSep()) {
    if (!ReadNumber(text, pos, 2, second)) return false;
    if (pos < text.size() && (text[pos] == '.' || text[pos] == FormatSettings().DecimalSeparator)) {
      double scale = 0.1;
      size_t start = ++pos;
      for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos, scale /= 10)
        fraction += (text[pos] - '0') * scale;
      if (pos == start) return false;
      // Rounded to the millisecond, the precision of the date-time value.
      fraction = std::min(std::round(fraction * 1000) / 1000, 0.999);
    }
  }
  return TryEncodeTime(hour, minute, second, fraction, time);
}

[[noreturn]] void ThrowInvalid(const std::string& text, const char* what) {
  throw EConvertError("'" + text + "' is not a valid " + what);
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime result = 0;
  if (!TryEncodeDate(year, month, day, result))
    throw EConvertError("Invalid argument to date encode");
  return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  double result = 0;
  if (millisecond < 0 || millisecond > 999 ||
      !TryEncodeTime(hour, minute, second, millisecond / 1000.0, result))
    throw EConvertError("Invalid argument to time encode");
  return result;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  int64_t days = 0, msecs = 0;
  SplitDateTime(value, days, msecs);
  DecodeDays(days, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  int64_t days = 0, msecs = 0;
  SplitDateTime(value, days, msecs);
  hour = int(msecs / 3600000);
  minute = int(msecs / 60000 % 60);
  second = int(msecs / 1000 % 60);
  millisecond = int(msecs % 1000);
}

std::string DateTimeToStr(TDateTime value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
  const TFormatSettings& fs = FormatSettings();
  char buffer[48];
  int n = std::snprintf(buffer, sizeof buffer, "%02d%c%02d%c%04d", day, fs.DateSeparator, month,
                        fs.DateSeparator, year);
  if (hour != 0 || minute != 0 || second != 0 || msec != 0)
    std::snprintf(buffer + n, sizeof buffer - n, " %02d%c%02d%c%02d", hour, fs.TimeSeparator,
                  minute, fs.TimeSeparator, second);
  return buffer;
}

TDateTime StrToDateTime(const std::string& text) {
  std::string_view s = TrimBlanks(text);
  size_t pos = 0;
  TDateTime date = 0;
  double time = 0;
  if (!ReadDate(s, pos, date)) ThrowInvalid(text, "date and time");
  if (pos < s.size()) {
    if (s[pos] != ' ' && s[pos] != 'T') ThrowInvalid(text, "date and time");
    while (pos < s.size() && s[pos] == ' ') ++pos;
    if (pos < s.size() && s[pos] == 'T') ++pos;
    if (!ReadTime(s, pos, time) || pos != s.size()) ThrowInvalid(text, "date and time");
  }
  return CombineDateTime(date, time);
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";  // also -0
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::general, 15);
  std::string raw(buffer, ec == std::errc() ? end : buffer);
  std::string result;
  size_t e = raw.find('e');
  std::string mantissa = raw.substr(0, e);
  for (char c : mantissa) result += c == '.' ? FormatSettings().DecimalSeparator : c;
  if (e != std::string::npos) {
    // "1e+15" is written "1E15", "1e-05" is written "1E-5".
    int exponent = std::atoi(raw.c_str() + e + 1);
    result += "E" + std::to_string(exponent);
  }
  return result;
}

double StrToFloat(const std::string& text) {
  std::string_view s = TrimBlanks(text);
  const char sep = FormatSettings().DecimalSeparator;
  std::string plain;  // the text with '.' as the point, checked character by character
  size_t pos = 0;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    if (s[pos] == '-') plain += '-';
    ++pos;
  }
  size_t digits = 0;
  for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos, ++digits) plain += s[pos];
  if (pos < s.size() && s[pos] == sep) {
    plain += '.';
    for (++pos; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos, ++digits)
      plain += s[pos];
  }
  if (digits == 0) ThrowInvalid(text, "floating point value");
  if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
    plain += 'e';
    ++pos;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) plain += s[pos++];
    size_t start = pos;
    for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; ++pos) plain += s[pos];
    if (pos == start) ThrowInvalid(text, "floating point value");
  }
  if (pos != s.size()) ThrowInvalid(text, "floating point value");
  double value = 0;
  auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
    ThrowInvalid(text, "floating point value");
  return value;
}

int64_t StrToInt64(const std::string& text) {
  std::string_view s = TrimBlanks(text);
  bool plus = !s.empty() && s.front() == '+';
  if (plus) s.remove_prefix(1);
  if (s.empty() || s.front() == '+' || (s.front() == '-' && (plus || s.size() == 1)))
    ThrowInvalid(text, "integer value");
  int64_t value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) ThrowInvalid(text, "integer value");
  return value;
}

int32_t StrToInt(const std::string& text) {
  int64_t value = StrToInt64(text);
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    ThrowInvalid(text, "integer value");
  return int32_t(value);
}

}  // namespace db
