#include "dac/ODBCParam.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "dac/Bcd.h"
#include "dac/ODBCDateTime.h"
#include "dac/ODBCTypeMaps.h"
#include "toolkit/db/DateUtils.h"
#include "toolkit/db/Field.h"
#include "toolkit/db/VariantConvert.h"

namespace dac {

namespace {

int16_t Low16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

bool IsIntegerCType(SQLSMALLINT cType) {
  switch (cType) {
    case SQL_C_BIT: case SQL_C_SSHORT: case SQL_C_USHORT: case SQL_C_SLONG: case SQL_C_ULONG:
    case SQL_C_SBIGINT: return true;
    default: return false;
  }
}

bool IsNumericCType(SQLSMALLINT cType) {
  return IsIntegerCType(cType) || cType == SQL_C_FLOAT || cType == SQL_C_DOUBLE;
}

bool IsTextSQLType(SQLSMALLINT sqlType) {
  return sqlType == SQL_CHAR || sqlType == SQL_VARCHAR || sqlType == SQL_WCHAR ||
         sqlType == SQL_WVARCHAR;
}

bool IsTimeSQLType(SQLSMALLINT sqlType) {
  return sqlType == SQL_TYPE_TIME || sqlType == SQL_TYPE_TIMESTAMP || sqlType == 106 ||
         sqlType == 110 || sqlType == 112 || sqlType == 113;
}

SQL_TIME_STRUCT TimeOfDay(db::TDateTime value) {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  db::DecodeTime(value, hour, minute, second, millisecond);
  return SQL_TIME_STRUCT{SQLUSMALLINT(hour), SQLUSMALLINT(minute), SQLUSMALLINT(second)};
}

}  // namespace

// --- writers ---------------------------------------------------------------------------------

void TODBCParam::StoreBytes(const void* bytes, SQLLEN size) {
  SetDataSize(size);
  if (size > 0) std::memcpy(Data(), bytes, size_t(size));
}

void TODBCParam::StoreText(const std::string& text) {
  StoreBytes(text.c_str(), SQLLEN(text.size() + 1));
}

void TODBCParam::Finish(SQLSMALLINT cType, SQLSMALLINT sqlType, bool setsSQLType,
                        SQLLEN indicator) {
  SetCType(cType);
  if (setsSQLType && SQLType() == 0) SetSQLType(sqlType);
  SetIndicator(indicator);
  // A value in a bound buffer must not carry a long type: the statement would send it as data
  // at execution, which it is not (drivers that describe every marker as long text do this).
  if (indicator != SQL_DATA_AT_EXEC && IsLongDataType(SQLType())) SetSQLType(sqlType);
}

void TODBCParam::Clear() {
  SetCType(SQLTypeToCType(SQLType()));
  SetIndicator(SQL_NULL_DATA);
}

void TODBCParam::SetAsInteger(int32_t value) {
  if (SQLType() == SQL_DECIMAL || SQLType() == SQL_DOUBLE) return SetAsFloat(value);
  if (SQLType() == SQL_SMALLINT) return SetAsSmallInt(Low16(value));
  Clear();
  Store(value);
  Finish(SQL_C_SLONG, SQL_INTEGER, true, 0);
}

void TODBCParam::SetAsSmallInt(int16_t value) {
  Clear();
  Store(value);
  Finish(SQL_C_SSHORT, SQL_SMALLINT, true, 0);
}

void TODBCParam::SetAsLargeInt(int64_t value) {
  Clear();
  Store(value);
  Finish(SQL_C_SBIGINT, SQL_BIGINT, true, 0);
}

void TODBCParam::SetAsFloat(double value) {
  switch (SQLType()) {
    case SQL_NUMERIC:
    case SQL_DECIMAL: {
      db::TBcdRecord bcd;
      FloatToBcd(value, bcd);
      return SetAsBCD(bcd);
    }
    case SQL_INTEGER: return SetAsInteger(TruncToInt32(value));
    case SQL_SMALLINT: return SetAsSmallInt(Low16(TruncToInt32(value)));
    case SQL_DATETIME:
    case SQL_TYPE_DATE: return SetAsDate(std::trunc(value));
    case SQL_TYPE_TIMESTAMP: return SetAsDateTime(value);  // keeps the time of day
    default: break;
  }
  Clear();
  Store(value);
  Finish(SQL_C_DOUBLE, SQL_DOUBLE, true, 0);
}

void TODBCParam::SetAsSingle(float value) {
  Clear();
  Store(value);
  Finish(SQL_C_FLOAT, SQL_REAL, false, 0);
}

void TODBCParam::SetAsCurrency(db::TCurrency value) {
  SetAsFloat(static_cast<double>(value.Scaled) / 10000.0);
}

void TODBCParam::SetAsBCD(const db::TBcdRecord& value) {
  const std::string text = BcdToText(value);
  Clear();
  StoreText(text);
  Finish(SQL_C_CHAR, SQL_DECIMAL, false, SQL_NTS);
}

void TODBCParam::SetAsDateTime(db::TDateTime value) {
  const SQL_TIMESTAMP_STRUCT timestamp = DateTimeToTimestampStruct(value);
  Clear();
  Store(timestamp);
  Finish(SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, true, 0);
}

void TODBCParam::SetAsDate(db::TDateTime value) {
  if (SQLType() == SQL_TYPE_TIMESTAMP) return SetAsDateTime(value);
  const SQL_DATE_STRUCT date = DateTimeToDateStruct(std::trunc(value));
  Clear();
  Store(date);
  Finish(SQL_C_TYPE_DATE, SQL_TYPE_DATE, true, 0);
}

void TODBCParam::SetAsLongText(const std::string& value) {
  Clear();
  if (value.empty())
    SetDataSize(0);
  else
    StoreText(value);
  Finish(SQL_C_CHAR, SQL_LONGVARCHAR, false, SQL_DATA_AT_EXEC);
}

void TODBCParam::SetDateTimeString(const std::string& value) {
  const db::TDateTime moment = db::StrToDateTime(value);
  if (SQLType() == SQL_TYPE_DATE) return SetAsDate(moment);
  if (SQLType() == SQL_TYPE_TIMESTAMP) return SetAsDateTime(moment);
  const SQL_TIME_STRUCT time = TimeOfDay(moment);
  Clear();
  Store(time);
  Finish(SQL_C_TYPE_TIME, SQL_TYPE_TIME, true, 0);
}

void TODBCParam::SetAsString(const std::string& value) {
  switch (SQLType()) {
    case SQL_SMALLINT: return SetAsSmallInt(Low16(db::StrToInt(value)));
    case SQL_INTEGER: return SetAsInteger(db::StrToInt(value));
    case SQL_BIGINT: return SetAsLargeInt(db::StrToInt64(value));
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR: return SetAsLongText(value);
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP: return SetDateTimeString(value);
    default: break;
  }
  Clear();
  StoreText(value);
  Finish(SQL_C_CHAR, SQL_VARCHAR, true, SQL_NTS);
}

void TODBCParam::SetValue(const db::Variant& value) {
  using db::TVarType;
  switch (value.VarType()) {
    case TVarType::Null:
    case TVarType::Empty: return Clear();
    case TVarType::SmallInt: return SetAsSmallInt(value.Get<int16_t>());
    case TVarType::Byte: return SetAsSmallInt(value.Get<uint8_t>());
    case TVarType::Boolean: return SetAsSmallInt(value.Get<bool>() ? -1 : 0);
    case TVarType::Integer: return SetAsInteger(value.Get<int32_t>());
    case TVarType::Single: return SetAsSingle(value.Get<float>());
    case TVarType::Double: return SetAsFloat(value.Get<double>());
    case TVarType::Currency: return SetAsCurrency(value.Get<db::TCurrency>());
    case TVarType::Date: return SetAsDateTime(value.Get<db::TVarDate>().Value);
    case TVarType::String: return SetAsString(value.Get<std::string>());
    case TVarType::WideString: return SetAsString(db::Utf16ToUtf8(value.Get<std::u16string>()));
    case TVarType::Int64: return SetAsLargeInt(value.Get<int64_t>());
    case TVarType::Bcd: return SetAsBCD(value.Get<db::TBcdRecord>());
    default: RaiseConversionError();
  }
}

// --- described types -------------------------------------------------------------------------

SQLSMALLINT TODBCParam::NaturalSQLType() const {
  switch (CType()) {
    case SQL_C_CHAR: return IsNumericText() ? SQLType() : SQLSMALLINT(SQL_VARCHAR);
    case SQL_C_BIT: return SQL_BIT;
    case SQL_C_SSHORT:
    case SQL_C_USHORT: return SQL_SMALLINT;
    case SQL_C_SLONG:
    case SQL_C_ULONG: return SQL_INTEGER;
    case SQL_C_SBIGINT: return SQL_BIGINT;
    case SQL_C_FLOAT: return SQL_REAL;
    case SQL_C_DOUBLE: return SQL_DOUBLE;
    case SQL_C_TYPE_DATE: return SQL_TYPE_DATE;
    case SQL_C_TYPE_TIME: return SQL_TYPE_TIME;
    case SQL_C_TYPE_TIMESTAMP: return SQL_TYPE_TIMESTAMP;
    case SQL_C_BINARY: return SQL_LONGVARBINARY;
    case SQL_C_WCHAR: return SQL_WLONGVARCHAR;
    case SQL_C_GUID: return SQL_GUID;
    default: return SQLType();
  }
}

bool TODBCParam::ConvertHeldValue(SQLSMALLINT newCType, db::TFieldType fieldType) {
  const SQLSMALLINT held = CType();
  const SQLLEN indicator = Indicator();
  if (IsNumericCType(held) && IsNumericCType(newCType)) {
    const bool fromInteger = IsIntegerCType(held);
    const double real = fromInteger ? double(HeldWhole()) : AsFloat();
    const bool fits = std::fabs(std::trunc(real)) < 9.2e18;
    const int64_t whole = fromInteger ? HeldWhole() : fits ? int64_t(std::trunc(real)) : 0;
    switch (newCType) {
      case SQL_C_BIT: Store(uint8_t(whole != 0)); break;
      case SQL_C_SSHORT: Store(int16_t(whole)); break;
      case SQL_C_USHORT: Store(uint16_t(whole)); break;
      case SQL_C_SLONG: Store(int32_t(whole)); break;
      case SQL_C_ULONG: Store(uint32_t(whole)); break;
      case SQL_C_SBIGINT: Store(whole); break;
      case SQL_C_FLOAT: Store(float(real)); break;
      default: Store(real); break;
    }
    return true;
  }
  if (IsNumericCType(held) && (fieldType == db::ftBCD || fieldType == db::ftFMTBcd)) {
    db::TBcdRecord bcd;
    FloatToBcd(IsIntegerCType(held) ? double(HeldWhole()) : AsFloat(), bcd);
    StoreText(BcdToText(bcd));
    SetIndicator(SQL_NTS);
    return true;
  }
  if ((held == SQL_C_DOUBLE || held == SQL_C_FLOAT) && newCType == SQL_C_TYPE_DATE) {
    Store(DateTimeToDateStruct(std::trunc(AsFloat())));
    return true;
  }
  if ((held == SQL_C_DOUBLE || held == SQL_C_FLOAT) && newCType == SQL_C_TYPE_TIMESTAMP) {
    Store(DateTimeToTimestampStruct(AsFloat()));
    return true;
  }
  // The date structure is the head of the timestamp structure: the bytes stay.
  if (held == SQL_C_TYPE_TIMESTAMP && newCType == SQL_C_TYPE_DATE) return true;
  if (held == SQL_C_TYPE_TIMESTAMP && newCType == SQL_C_TYPE_TIME) {
    Store(TimeOfDay(AsDateTime()));
    return true;
  }
  if (held == SQL_C_TYPE_DATE && newCType == SQL_C_TYPE_TIMESTAMP) {
    Store(DateTimeToTimestampStruct(AsDateTime()));
    return true;
  }
  if (held == SQL_C_CHAR && newCType == SQL_C_BINARY) {
    const std::string text = CharText();
    StoreBytes(text.data(), SQLLEN(text.size()));
    SetIndicator(indicator == SQL_NTS ? SQLLEN(text.size()) : indicator);
    return true;
  }
  return false;
}

int64_t TODBCParam::HeldWhole() const {
  switch (CType()) {
    case SQL_C_SBIGINT: return Load<int64_t>();
    case SQL_C_ULONG: return Load<uint32_t>();
    default: return AsInteger();
  }
}

void TODBCParam::Retype(db::TFieldType fieldType, bool keepBoundValuesOutOfLongTypes) {
  const SQLSMALLINT newSQLType = FieldTypeToSQLType(fieldType);
  const SQLSMALLINT newCType = FieldTypeToCType(fieldType);
  if (IsNull() || CType() == newCType || ConvertHeldValue(newCType, fieldType)) {
    const bool boundValue = !IsNull() && Indicator() != SQL_DATA_AT_EXEC;
    SetCType(newCType);
    if (keepBoundValuesOutOfLongTypes && boundValue && IsLongDataType(newSQLType)) {
      // A value held in the buffer goes as the type it is; it is not data at execution.
      SetSQLType(NaturalSQLType());
      if (IsLongDataType(SQLType())) SetIndicator(SQL_DATA_AT_EXEC);
      return;
    }
    SetSQLType(newSQLType);
    return;
  }
  // The held layout cannot be turned into the new one by value: it stays, and the driver
  // converts it to the described SQL type, as ODBC defines for every pair it supports. Its bytes
  // are never relabelled as another C type.
  const bool boundValue = Indicator() != SQL_DATA_AT_EXEC;
  SetSQLType(keepBoundValuesOutOfLongTypes && boundValue && IsLongDataType(newSQLType)
                 ? NaturalSQLType()
                 : newSQLType);
  if (IsLongDataType(SQLType()) && boundValue) SetIndicator(SQL_DATA_AT_EXEC);
}

void TODBCParam::SetDataType(db::TFieldType fieldType) { Retype(fieldType, true); }

// --- copying ---------------------------------------------------------------------------------

void TODBCParam::Assign(const TODBCParam& source) {
  if (&source == this) return;
  // The bytes are copied as they are: passing them through Value would lose numeric text and
  // write them in this parameter's layout before the source's C type is copied over them.
  SetName(source.Name());
  SetParamType(source.ParamType());
  SetDataSize(source.DataSize());
  if (source.DataSize() > 0) std::memcpy(Data(), source.Data(), size_t(source.DataSize()));
  SetCType(source.CType());
  SetSQLType(source.SQLType());
  SetColumnSize(source.ColumnSize());
  SetDecimalDigits(source.DecimalDigits());
  SetIndicator(source.Indicator());
  SetAutoIncrement(source.AutoIncrement());
  SetBound(source.Bound());
}

void TODBCParam::SetSizesBySQLType(int size, int precision) {
  const SQLSMALLINT sqlType = SQLType();
  SetColumnSize(0);
  SetDecimalDigits(0);
  if (IsTextSQLType(sqlType)) {
    SetColumnSize(SQLULEN(std::max(size, 0)));
  } else if (sqlType == SQL_NUMERIC || sqlType == SQL_DECIMAL) {
    SetColumnSize(SQLULEN(std::max(precision, 0)));
    SetDecimalDigits(SQLSMALLINT(size));
  } else if (IsTimeSQLType(sqlType)) {
    SetColumnSize(26);
    SetDecimalDigits(6);
  } else if (IsLongDataType(sqlType) && !IsNull()) {
    SetIndicator(SQL_DATA_AT_EXEC);
  }
}

void TODBCParam::Assign(const db::TField& source) {
  std::string prefix = Name().substr(0, 4);
  for (char& c : prefix) c = char(std::toupper(static_cast<unsigned char>(c)));
  const db::Variant value = prefix == "OLD_" ? source.OldValue() : source.Value();
  const db::TFieldType fieldType = source.DataType();
  if (value.IsNullOrEmpty())
    Clear();
  else if (fieldType == db::ftBCD || fieldType == db::ftFMTBcd)
    SetAsBCD(db::VarToBcd(db::Variant(db::VarToCurrency(value))));
  else if (value.VarType() == db::TVarType::Word)
    SetAsInteger(value.Get<uint16_t>());
  else
    SetValue(value);
  Retype(fieldType, false);
  SetSizesBySQLType(source.Size(), source.Precision());
}

void TODBCParam::AssignTo(db::TField& destination) const { destination.SetValue(Value()); }

bool TODBCParam::IsSameAs(const TODBCParam& other) const {
  if (CType() != other.CType() || Name() != other.Name() || SQLType() != other.SQLType() ||
      ParamType() != other.ParamType() || IsNull() != other.IsNull() || Bound() != other.Bound())
    return false;
  if (IsNull()) return true;
  try {
    return Value() == other.Value();
  } catch (const db::EDatabaseError&) {
    // Wide text and GUIDs have no Value: their bytes decide.
    return DataSize() == other.DataSize() &&
           std::memcmp(Data(), other.Data(), size_t(DataSize())) == 0;
  }
}

std::string TODBCParam::DisplayName() const { return Name().empty() ? "TODBCParam" : Name(); }

}  // namespace dac
