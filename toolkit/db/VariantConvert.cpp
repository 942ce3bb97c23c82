#include "toolkit/db/VariantConvert.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <limits>

#include "toolkit/db/DateUtils.h"
#include "toolkit/db/FormatSettings.h"
#include "toolkit/db/TextUtils.h"

namespace db {
namespace {

[[noreturn]] void cannotConvert(const Variant& value, TVarType to) {
  throw EConvertError("Could not convert variant of type (" + VarTypeName(value.VarType()) +
                      ") into type (" + VarTypeName(to) + ")");
}

int64_t roundToInt64(double value, const Variant& source) {
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || rounded < -9.2233720368547758e18 || rounded >= 9.2233720368547758e18)
    cannotConvert(source, TVarType::Int64);
  return static_cast<int64_t>(rounded);
}

// Integer value of an integral or floating kind; false for the other kinds.
bool numericValue(const Variant& value, double& out) {
  return std::visit(
      [&out](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t> ||
                      std::is_same_v<T, uint16_t> || std::is_same_v<T, uint8_t> ||
                      std::is_same_v<T, int64_t> || std::is_same_v<T, float> ||
                      std::is_same_v<T, double>) {
          out = static_cast<double>(v);
          return true;
        } else if constexpr (std::is_same_v<T, bool>) {
          out = v ? -1 : 0;  // the dynamic value's true is -1
          return true;
        } else if constexpr (std::is_same_v<T, TCurrency>) {
          out = CurrToFloat(v);
          return true;
        } else if constexpr (std::is_same_v<T, TVarDate>) {
          out = v.Value;
          return true;
        } else if constexpr (std::is_same_v<T, TBcdRecord>) {
          out = BcdToDouble(v);
          return true;
        } else {
          return false;
        }
      },
      value.Raw());
}

// Text kinds as UTF-8; false for the other kinds.
bool textValue(const Variant& value, std::string& out) {
  if (value.VarType() == TVarType::String) {
    out = value.Get<std::string>();
    return true;
  }
  if (value.VarType() == TVarType::WideString) {
    out = Utf16ToUtf8(value.Get<std::u16string>());
    return true;
  }
  return false;
}

std::string stripFraction(std::string text, char separator) {
  const auto point = text.find(separator);
  if (point == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == separator) text.pop_back();
  return text;
}

TBcdRecord parseBcd(const std::string& text, char separator) {
  TBcdRecord bcd;
  std::string digits;
  size_t places = 0;
  bool negative = false, seenPoint = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '-' && i == 0) {
      negative = true;
    } else if (c == separator && !seenPoint) {
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      digits += c;
      if (seenPoint) ++places;
    } else {
      throw EConvertError("'" + text + "' is not a valid BCD value");
    }
  }
  while (digits.size() > 1 && digits[0] == '0' && digits.size() > places + 1) digits.erase(0, 1);
  if (digits.empty()) digits = "0";
  if (digits.size() > 64 || places > 63) throw EConvertError("'" + text + "' is not a valid BCD value");
  bcd.Precision = static_cast<uint8_t>(digits.size());
  bcd.SignAndPlaces = static_cast<uint8_t>(places | (negative ? 0x80 : 0));
  for (size_t i = 0; i < digits.size(); ++i) {
    const auto d = static_cast<uint8_t>(digits[i] - '0');
    bcd.Digits[i / 2] |= (i % 2 == 0) ? static_cast<uint8_t>(d << 4) : d;
  }
  return bcd;
}

}  // namespace

std::string VarTypeName(TVarType type) {
  static const char* const names[] = {"Null",   "Empty",    "Smallint", "Integer", "Word",
                                      "Byte",   "Int64",    "Single",   "Double",  "Currency",
                                      "Date",   "Boolean",  "String",   "OleStr",  "FMTBcd"};
  return names[static_cast<int>(type)];
}

std::string VarToStr(const Variant& value) {
  std::string text;
  if (textValue(value, text)) return text;
  switch (value.VarType()) {
    case TVarType::Null:
    case TVarType::Empty: return "";
    case TVarType::Single: return FloatToStr(value.Get<float>());
    case TVarType::Double: return FloatToStr(value.Get<double>());
    case TVarType::Currency: return CurrToStr(value.Get<TCurrency>());
    case TVarType::Date: return DateTimeToStr(value.Get<TVarDate>().Value);
    case TVarType::Boolean: return value.Get<bool>() ? "True" : "False";
    case TVarType::Bcd: return BcdToStr(value.Get<TBcdRecord>());
    case TVarType::Int64: return std::to_string(value.Get<int64_t>());
    default: break;
  }
  return std::to_string(VarToInt64(value));
}

int64_t VarToInt64(const Variant& value) {
  if (value.IsEmpty()) return 0;
  if (value.VarType() == TVarType::Int64) return value.Get<int64_t>();
  std::string text;
  if (textValue(value, text)) {
    try {
      return StrToInt64(text);
    } catch (const EConvertError&) {
      return roundToInt64(StrToFloat(text), value);  // "12.0" reads as 12
    }
  }
  double number = 0;
  if (!numericValue(value, number)) cannotConvert(value, TVarType::Int64);
  return roundToInt64(number, value);
}

int32_t VarToInt(const Variant& value) {
  const int64_t wide = VarToInt64(value);
  if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max())
    cannotConvert(value, TVarType::Integer);
  return static_cast<int32_t>(wide);
}

double VarToFloat(const Variant& value) {
  if (value.IsEmpty()) return 0;
  std::string text;
  if (textValue(value, text)) return StrToFloat(text);
  double number = 0;
  if (!numericValue(value, number)) cannotConvert(value, TVarType::Double);
  return number;
}

TDateTime VarToDateTime(const Variant& value) {
  if (value.IsEmpty()) return 0;
  std::string text;
  if (textValue(value, text)) return StrToDateTime(text);
  double number = 0;
  if (!numericValue(value, number) || value.VarType() == TVarType::Boolean)
    cannotConvert(value, TVarType::Date);
  return number;
}

bool VarToBool(const Variant& value) {
  if (value.IsEmpty()) return false;
  std::string text;
  if (textValue(value, text)) {
    const std::string trimmed = TrimRightSpaces(text);
    if (SameName(trimmed, "True")) return true;
    if (SameName(trimmed, "False")) return false;
    return StrToFloat(text) != 0;
  }
  if (value.VarType() == TVarType::Boolean) return value.Get<bool>();
  double number = 0;
  if (!numericValue(value, number) || value.VarType() == TVarType::Date)
    cannotConvert(value, TVarType::Boolean);
  return number != 0;
}

TCurrency VarToCurrency(const Variant& value) {
  if (value.VarType() == TVarType::Currency) return value.Get<TCurrency>();
  if (value.VarType() == TVarType::Bcd) return FloatToCurr(BcdToDouble(value.Get<TBcdRecord>()));
  return FloatToCurr(VarToFloat(value));
}

TBcdRecord VarToBcd(const Variant& value) {
  if (value.VarType() == TVarType::Bcd) return value.Get<TBcdRecord>();
  std::string text;
  if (textValue(value, text)) return StrToBcd(text);
  if (value.VarType() == TVarType::Currency)
    return parseBcd(stripFraction(CurrToStr(value.Get<TCurrency>()), FormatSettings().DecimalSeparator),
                    FormatSettings().DecimalSeparator);
  return DoubleToBcd(VarToFloat(value));
}

Variant VarAsType(const Variant& value, TVarType type) {
  if (value.IsNullOrEmpty() || value.VarType() == type) return value;
  switch (type) {
    case TVarType::Null: return Variant::Null();
    case TVarType::Empty: return Variant::Empty();
    case TVarType::SmallInt: {
      const int32_t v = VarToInt(value);
      if (v < INT16_MIN || v > INT16_MAX) cannotConvert(value, type);
      return Variant(static_cast<int16_t>(v));
    }
    case TVarType::Integer: return Variant(VarToInt(value));
    case TVarType::Word: {
      const int32_t v = VarToInt(value);
      if (v < 0 || v > UINT16_MAX) cannotConvert(value, type);
      return Variant(static_cast<uint16_t>(v));
    }
    case TVarType::Byte: {
      const int32_t v = VarToInt(value);
      if (v < 0 || v > UINT8_MAX) cannotConvert(value, type);
      return Variant(static_cast<uint8_t>(v));
    }
    case TVarType::Int64: return Variant(VarToInt64(value));
    case TVarType::Single: return Variant(static_cast<float>(VarToFloat(value)));
    case TVarType::Double: return Variant(VarToFloat(value));
    case TVarType::Currency: return Variant(VarToCurrency(value));
    case TVarType::Date: return Variant::FromDateTime(VarToDateTime(value));
    case TVarType::Boolean: return Variant(VarToBool(value));
    case TVarType::String: return Variant(VarToStr(value));
    case TVarType::WideString: return Variant(Utf8ToUtf16(VarToStr(value)));
    case TVarType::Bcd: return Variant(VarToBcd(value));
  }
  cannotConvert(value, type);
}

std::string CurrToStr(TCurrency value) {
  const bool negative = value.Scaled < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(value.Scaled) : static_cast<uint64_t>(value.Scaled);
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, "%04u", static_cast<unsigned>(magnitude % 10000));
  const char separator = FormatSettings().DecimalSeparator;
  std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000) + separator + fraction;
  return stripFraction(text, separator);
}

TCurrency FloatToCurr(double value) {
  const double scaled = std::nearbyint(value * 10000.0);
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2233720368547758e18)
    throw EConvertError(FloatToStr(value) + " is not a valid currency value");
  return TCurrency{static_cast<int64_t>(scaled)};
}

double CurrToFloat(TCurrency value) { return static_cast<double>(value.Scaled) / 10000.0; }

std::string BcdToStr(const TBcdRecord& value) {
  const int precision = value.Precision;
  const int places = std::min(value.SignAndPlaces & 0x3F, precision);
  std::string digits;
  for (int i = 0; i < precision && i < 64; ++i) {
    const uint8_t byte = value.Digits[i / 2];
    digits += static_cast<char>('0' + ((i % 2 == 0) ? (byte >> 4) : (byte & 0x0F)) % 10);
  }
  std::string whole = digits.substr(0, digits.size() - places);
  std::string fraction = digits.substr(digits.size() - places);
  while (whole.size() > 1 && whole[0] == '0') whole.erase(0, 1);
  if (whole.empty()) whole = "0";
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  const bool zero = whole == "0" && fraction.empty();
  std::string text = (value.SignAndPlaces & 0x80) && !zero ? "-" : "";
  text += whole;
  if (!fraction.empty()) text += FormatSettings().DecimalSeparator + fraction;
  return text;
}

TBcdRecord StrToBcd(const std::string& text) {
  return parseBcd(text, FormatSettings().DecimalSeparator);
}

double BcdToDouble(const TBcdRecord& value) {
  // Read through the text form with "." so the result does not depend on the settings.
  std::string text = BcdToStr(value);
  const char separator = FormatSettings().DecimalSeparator;
  for (char& c : text)
    if (c == separator) c = '.';
  return std::strtod(text.c_str(), nullptr);
}

TBcdRecord DoubleToBcd(double value) {
  if (!std::isfinite(value)) throw EConvertError("Invalid floating point value for BCD");
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text = buffer;
  if (text.find('e') != std::string::npos) {
    std::snprintf(buffer, sizeof buffer, "%.20f", value);
    text = stripFraction(buffer, '.');
  }
  return parseBcd(text, '.');
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    AppendUtf8(cp, out);
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t cp = len == 1 ? lead : lead & (0x7F >> len);
    size_t n = 1;
    for (; n < len && i + n < text.size(); ++n)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i + n]) & 0x3F);
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

}  // namespace db
