#include "dac/ODBCSQLVar.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "dac/Bcd.h"
#include "dac/ODBCDateTime.h"
#include "dac/ODBCTypeMaps.h"
#include "dac/ODBCValueConsts.h"
#include "toolkit/db/DateUtils.h"
#include "toolkit/db/VariantConvert.h"

namespace dac {

int32_t TruncToInt32(double value) {
  const double truncated = std::trunc(value);
  if (!std::isfinite(truncated)) return 0;
  const double wrapped = std::fmod(truncated, 4294967296.0);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(wrapped)));
}

namespace {

std::string GuidToString(const SQLGUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                unsigned(guid.Data1), unsigned(guid.Data2), unsigned(guid.Data3),
                guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
                guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

db::TBcdRecord ZeroBcd() {
  db::TBcdRecord zero;
  TryTextToBcd("0", zero);
  return zero;
}

}  // namespace

void TODBCSQLVAR::SetDataSize(SQLLEN n) {
  if (n < 0) n = 0;
  if (n == dataSize_) return;
  if (n == 0) {
    data_.reset();
    capacity_ = 0;
  } else if (n > capacity_) {
    // Grown buffers keep what they held: long values are read into them chunk by chunk.
    std::unique_ptr<char[]> grown(new char[size_t(n)]());
    if (data_) std::memcpy(grown.get(), data_.get(), size_t(dataSize_));
    data_ = std::move(grown);
    capacity_ = n;
  } else if (n > dataSize_) {
    std::memset(data_.get() + dataSize_, 0, size_t(n - dataSize_));
  }
  dataSize_ = n;
}

bool TODBCSQLVAR::IsLong() const { return IsLongDataType(sqlType_); }

bool TODBCSQLVAR::IsNumericText() const {
  return cType_ == SQL_C_CHAR && (sqlType_ == SQL_NUMERIC || sqlType_ == SQL_DECIMAL);
}

void TODBCSQLVAR::RaiseConversionError() const {
  throw db::EDatabaseError(LoadResString(&SInvalidDataConversion) + "\n\r" + name_ + "\n\r" +
                           std::to_string(cType_));
}

std::string TODBCSQLVAR::CharText() const {
  if (!data_) return {};
  return std::string(data_.get(), strnlen(data_.get(), size_t(dataSize_)));
}

std::string TODBCSQLVAR::AsString() const {
  if (IsNull()) return {};
  switch (cType_) {
    case SQL_C_CHAR: return CharText();
    case SQL_C_WCHAR: {
      std::u16string wide(size_t(dataSize_) / 2, u'\0');
      std::memcpy(wide.data(), data_.get(), wide.size() * 2);
      wide.resize(std::char_traits<char16_t>::length(wide.c_str()));
      return db::Utf16ToUtf8(wide);
    }
    case SQL_C_BINARY: return std::string(data_.get(), size_t(dataSize_));
    case SQL_C_GUID: return GuidToString(Load<SQLGUID>());
    case SQL_C_SSHORT: return std::to_string(Load<int16_t>());
    case SQL_C_SLONG: return std::to_string(Load<int32_t>());
    case SQL_C_SBIGINT: return std::to_string(Load<int64_t>());
    case SQL_C_FLOAT:
    case SQL_C_DOUBLE: return db::FloatToStr(AsFloat());
    case SQL_C_TYPE_DATE:
    case SQL_C_TYPE_TIME:
    case SQL_C_TYPE_TIMESTAMP: return db::DateTimeToStr(AsDateTime());
    default: RaiseConversionError();
  }
}

int32_t TODBCSQLVAR::AsInteger() const {
  if (IsNull()) return 0;
  switch (cType_) {
    case SQL_C_CHAR:
      try {
        if (IsNumericText()) {
          db::TBcdRecord bcd;
          TextToBcd(CharText(), bcd);
          return TruncToInt32(BcdToFloat(bcd));
        }
        return db::StrToInt(CharText());
      } catch (const std::exception&) {
        RaiseConversionError();
      }
    case SQL_C_BIT: return Load<uint8_t>();
    case SQL_C_SSHORT: return Load<int16_t>();
    case SQL_C_USHORT: return Load<uint16_t>();
    case SQL_C_SLONG: return Load<int32_t>();
    case SQL_C_ULONG: return static_cast<int32_t>(Load<uint32_t>());
    case SQL_C_SBIGINT: return static_cast<int32_t>(static_cast<uint32_t>(Load<int64_t>()));
    case SQL_C_DOUBLE: return TruncToInt32(Load<double>());
    case SQL_C_TYPE_DATE:
    case SQL_C_TYPE_TIME:
    case SQL_C_TYPE_TIMESTAMP: return TruncToInt32(AsDateTime());
    default: RaiseConversionError();
  }
}

int16_t TODBCSQLVAR::AsSmallInt() const {
  if (IsNull()) return 0;
  if (cType_ == SQL_C_SSHORT) return Load<int16_t>();
  if (cType_ != SQL_C_CHAR) RaiseConversionError();
  try {
    return static_cast<int16_t>(static_cast<uint16_t>(db::StrToInt(CharText())));
  } catch (const std::exception&) {
    RaiseConversionError();
  }
}

uint16_t TODBCSQLVAR::AsWord() const {
  if (IsNull()) return 0;
  if (cType_ == SQL_C_USHORT) return Load<uint16_t>();
  if (cType_ != SQL_C_CHAR) RaiseConversionError();
  try {
    return static_cast<uint16_t>(db::StrToInt(CharText()));
  } catch (const std::exception&) {
    RaiseConversionError();
  }
}

int64_t TODBCSQLVAR::AsLargeInt() const {
  if (IsNull()) return 0;
  if (cType_ == SQL_C_SBIGINT) return Load<int64_t>();
  if (cType_ != SQL_C_CHAR) RaiseConversionError();
  try {
    return db::StrToInt64(CharText());
  } catch (const std::exception&) {
    RaiseConversionError();
  }
}

double TODBCSQLVAR::AsFloat() const {
  if (IsNull()) return 0;
  switch (cType_) {
    case SQL_C_CHAR:
      try {
        if (IsNumericText()) {
          db::TBcdRecord bcd;
          TextToBcd(CharText(), bcd);
          return BcdToFloat(bcd);
        }
        return db::StrToFloat(CharText());
      } catch (const std::exception&) {
        RaiseConversionError();
      }
    case SQL_C_SSHORT: return Load<int16_t>();
    case SQL_C_SLONG: return Load<int32_t>();
    case SQL_C_SBIGINT: return static_cast<double>(Load<int64_t>());
    case SQL_C_FLOAT: return Load<float>();
    case SQL_C_DOUBLE: return Load<double>();
    default: RaiseConversionError();
  }
}

db::TBcdRecord TODBCSQLVAR::AsBCD() const {
  db::TBcdRecord bcd = ZeroBcd();
  if (IsNull()) return bcd;
  if (cType_ == SQL_C_CHAR)
    TextToBcd(CharText(), bcd);
  else if (cType_ == SQL_C_DOUBLE)
    FloatToBcd(Load<double>(), bcd);
  else
    RaiseConversionError();
  return bcd;
}

db::TDateTime TODBCSQLVAR::AsDateTime() const {
  if (IsNull()) return 0;
  switch (cType_) {
    case SQL_C_CHAR:
      try {
        return db::StrToDateTime(CharText());
      } catch (const db::EConvertError&) {
        RaiseConversionError();
      }
    case SQL_C_FLOAT:
    case SQL_C_DOUBLE: return AsFloat();
    case SQL_C_TYPE_DATE: return DateStructToDateTime(Load<SQL_DATE_STRUCT>());
    case SQL_C_TYPE_TIME: return TimeStructToDateTime(Load<SQL_TIME_STRUCT>());
    case SQL_C_TYPE_TIMESTAMP: return TimestampStructToDateTime(Load<SQL_TIMESTAMP_STRUCT>());
    default: RaiseConversionError();
  }
}

bool TODBCSQLVAR::AsBoolean() const {
  if (IsNull()) return false;
  if (cType_ != SQL_C_BIT) RaiseConversionError();
  return Load<uint8_t>() != 0;
}

db::Variant TODBCSQLVAR::Value() const {
  if (IsNull()) return db::Variant::Null();
  switch (cType_) {
    case SQL_C_BIT: return db::Variant(AsBoolean());
    case SQL_C_SBIGINT: return db::Variant(Load<int64_t>());
    case SQL_C_SLONG:
    case SQL_C_ULONG: return db::Variant(AsInteger());
    case SQL_C_USHORT: return db::Variant(AsWord());
    case SQL_C_SSHORT: return db::Variant(Load<int16_t>());
    case SQL_C_BINARY: return db::Variant(AsString());
    case SQL_C_CHAR: return IsNumericText() ? db::Variant(AsFloat()) : db::Variant(CharText());
    case SQL_C_FLOAT:
    case SQL_C_DOUBLE: return db::Variant(AsFloat());
    case SQL_C_TYPE_DATE:
    case SQL_C_TYPE_TIME:
    case SQL_C_TYPE_TIMESTAMP: return db::Variant::FromDateTime(AsDateTime());
    default: RaiseConversionError();
  }
}

}  // namespace dac
