#include "dac/Bcd.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "dac/DACConsts.h"
#include "toolkit/db/DateUtils.h"
#include "toolkit/db/FormatSettings.h"

namespace dac {

namespace {

constexpr int kMaxPrecision = 64;
constexpr int kMaxTextDecimals = 11;
constexpr uint8_t kNegativeBit = 0x80;
constexpr uint8_t kPlacesMask = 0x3F;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SetZero(db::TBcdRecord& bcd, uint8_t precision) {
  bcd = db::TBcdRecord{};
  bcd.Precision = precision;
  bcd.SignAndPlaces = 2;
}

int Nibble(const db::TBcdRecord& bcd, int index) {
  uint8_t byte = bcd.Digits[index / 2];
  return index % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

void SetNibble(db::TBcdRecord& bcd, int index, int digit) {
  uint8_t& byte = bcd.Digits[index / 2];
  byte = uint8_t(index % 2 == 0 ? (byte & 0x0F) | (digit << 4) : (byte & 0xF0) | digit);
}

// A "-" is only a sign where it follows the leading zeros, and a second separator would be
// dropped silently while packing: both would give a value the text does not say.
bool IsWellFormedRest(const std::string& text, size_t from, char ds) {
  return text.find('-', from) == std::string::npos &&
         std::count(text.begin() + from, text.end(), ds) <= 1;
}

// Exponent "e+15" / "e-05" written as "E15" / "E-5", the point as the decimal separator.
std::string GeneralText(double value, int significantDigits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::general, significantDigits);
  std::string raw(buffer, ec == std::errc() ? end : buffer);
  size_t e = raw.find('e');
  std::string result = raw.substr(0, e);
  std::replace(result.begin(), result.end(), '.', db::FormatSettings().DecimalSeparator);
  if (e != std::string::npos) result += "E" + std::to_string(std::atoi(raw.c_str() + e + 1));
  return result;
}

// Integer and fraction digits of value with 18 significant digits and 11 decimals; false
// when the integer part needs more than 18 digits.
bool NumberDigits(double value, std::string& integerPart, std::string& fraction) {
  char buffer[64];
  double magnitude = std::fabs(value);
  auto sci = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                           std::chars_format::scientific, 17);
  std::string raw(buffer, sci.ptr);
  int exponent = std::atoi(raw.c_str() + raw.find('e') + 1);
  if (exponent >= 18) return false;
  if (exponent < 7) {  // the 11 decimals limit the digits: one rounding at the last decimal
    auto fixed = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                               std::chars_format::fixed, kMaxTextDecimals);
    std::string text(buffer, fixed.ptr);
    size_t point = text.find('.');
    integerPart = text.substr(0, point);
    fraction = text.substr(point + 1);
    return true;
  }
  std::string digits = raw.substr(0, 1) + raw.substr(2, raw.find('e') - 2);  // 18 digits
  integerPart = digits.substr(0, exponent + 1);
  fraction = digits.substr(exponent + 1);
  fraction.resize(kMaxTextDecimals, '0');
  return true;
}

// Fixed notation with thousands separators, 18 significant digits and 11 decimals.
std::string NumberText(double value) {
  const db::TFormatSettings& fs = db::FormatSettings();
  std::string integerPart, fraction;
  if (!NumberDigits(value, integerPart, fraction)) return GeneralText(value, 18);
  std::string grouped;
  for (size_t i = 0; i < integerPart.size(); ++i) {
    if (i > 0 && (integerPart.size() - i) % 3 == 0 && fs.ThousandSeparator != '\0')
      grouped += fs.ThousandSeparator;
    grouped += integerPart[i];
  }
  bool isZero = (integerPart + fraction).find_first_not_of('0') == std::string::npos;
  return (value < 0 && !isZero ? "-" : "") + grouped + fs.DecimalSeparator + fraction;
}

}  // namespace

bool TryTextToBcd(const std::string& text, db::TBcdRecord& bcd) {
  const char ds = db::FormatSettings().DecimalSeparator;
  for (char c : text)
    if (c != '-' && c != ds && !IsDigit(c)) return false;
  if (text.empty() || text == "0") {
    SetZero(bcd, 8);
    return true;
  }
  size_t dsPos = text.find(ds);
  int p = dsPos == std::string::npos ? 0 : int(dsPos) + 1;  // 1-based, relative to cursor
  size_t cursor = 0;
  auto skip = [&] {
    ++cursor;
    if (p > 0) --p;
  };
  while (cursor < text.size() && text[cursor] == '0') skip();
  bool negative = cursor < text.size() && text[cursor] == '-';
  if (negative) skip();
  if (cursor < text.size() && text[cursor] == '0') skip();
  if (!IsWellFormedRest(text, cursor, ds)) return false;

  bcd = db::TBcdRecord{};
  size_t n = text.size() - cursor;
  if (n > size_t(kMaxPrecision)) {
    if (p < 1 || p > kMaxPrecision) {
      // Too many integer digits: a precision no reader accepts (never one that wraps).
      bcd.Precision = uint8_t(std::min<size_t>(n, 255));
      return true;
    }
    n = kMaxPrecision;  // drops fraction digits only
  }
  if (n == 0) {
    SetZero(bcd, 10);
    return true;
  }
  int index = 0;
  for (size_t i = cursor; i < cursor + n; ++i)
    if (text[i] != ds) SetNibble(bcd, index++, text[i] - '0');
  if (p > 0) {
    bcd.Precision = uint8_t(n - 1);
    bcd.SignAndPlaces = uint8_t(n - p);
  } else {
    bcd.Precision = uint8_t(n);
  }
  if (negative) bcd.SignAndPlaces |= kNegativeBit;
  return true;
}

void TextToBcd(const std::string& text, db::TBcdRecord& bcd) {
  const db::TFormatSettings& fs = db::FormatSettings();
  std::string work = text;
  size_t dsPos = text.find(fs.DecimalSeparator);
  if (text.find_first_of("eE") != std::string::npos)
    work = NumberText(db::StrToFloat(text));
  else if (dsPos != std::string::npos && text.size() - dsPos - 1 > size_t(kMaxTextDecimals))
    work = text.substr(0, dsPos + 1 + kMaxTextDecimals);
  if (fs.ThousandSeparator != '\0' && fs.ThousandSeparator != fs.DecimalSeparator)
    work.erase(std::remove(work.begin(), work.end(), fs.ThousandSeparator), work.end());
  if (!TryTextToBcd(work, bcd)) throw EBcdException(FormatRes(SInvalidBcdValue, text.c_str()));
}

std::string BcdToText(const db::TBcdRecord& bcd) {
  const int precision = bcd.Precision;
  const int places = bcd.SignAndPlaces & kPlacesMask;
  bool valid = precision > 0 && precision <= kMaxPrecision && places <= precision;
  for (int i = 0; valid && i < precision; ++i) valid = Nibble(bcd, i) <= 9;
  if (!valid) throw EBcdOverflowException(LoadResString(&SBcdOverflow));

  const char ds = db::FormatSettings().DecimalSeparator;
  const bool negative = bcd.SignAndPlaces & kNegativeBit;
  const int d = places > 0 ? precision - places : precision + 1;
  const bool allFraction = places == precision;
  std::string text;
  for (int i = 0; i < precision; ++i) {
    if ((d > 0 && i == d) || (allFraction && i == 0)) {
      if (text.empty()) text += '0';
      text += ds;
    }
    int digit = Nibble(bcd, i);
    if (digit != 0 || !text.empty()) text += char('0' + digit);
  }
  if (d > 0 && d < precision)
    while (text.size() > 1 && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == ds) text.pop_back();
  if (text.empty()) return "0";
  if (negative) text.insert(0, 1, '-');
  const std::string zeroFraction = std::string("0") + ds + "0";
  if (text == "-0" || text == zeroFraction || text == "-" + zeroFraction) return "0";
  return text;
}

double BcdToFloat(const db::TBcdRecord& bcd) { return db::StrToFloat(BcdToText(bcd)); }

void FloatToBcd(double value, db::TBcdRecord& bcd) { TextToBcd(GeneralText(value, 14), bcd); }

void IntToBcd(int32_t value, db::TBcdRecord& bcd) { TextToBcd(std::to_string(value), bcd); }

}  // namespace dac
