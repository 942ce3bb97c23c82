#pragma once
// The value holder of the layer: a buffer in the layout of an ODBC C type with its length or
// null indicator, plus the SQL type, size and digits that describe it. Columns and parameters
// derive from it.
#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "toolkit/db/BcdRecord.h"
#include "toolkit/db/DBTypes.h"
#include "toolkit/db/Variant.h"

namespace dac {

// The whole part of value; one that does not fit keeps its low 32 bits.
int32_t TruncToInt32(double value);

class TODBCSQLVAR {
 public:
  TODBCSQLVAR() = default;
  virtual ~TODBCSQLVAR() = default;
  TODBCSQLVAR(const TODBCSQLVAR&) = delete;
  TODBCSQLVAR& operator=(const TODBCSQLVAR&) = delete;

  // The owned buffer; nullptr when DataSize is 0. Its address stays the same while the size
  // does not change, so a bound column or parameter may keep pointing at it.
  char* Data() { return data_.get(); }
  const char* Data() const { return data_.get(); }
  SQLLEN DataSize() const { return dataSize_; }
  // A negative n counts as 0; 0 releases the buffer. Bytes up to the smaller size are kept;
  // new bytes are zero.
  void SetDataSize(SQLLEN n);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  SQLSMALLINT CType() const { return cType_; }
  void SetCType(SQLSMALLINT cType) { cType_ = cType; }
  SQLSMALLINT SQLType() const { return sqlType_; }
  void SetSQLType(SQLSMALLINT sqlType) { sqlType_ = sqlType; }
  SQLULEN ColumnSize() const { return columnSize_; }
  void SetColumnSize(SQLULEN size) { columnSize_ = size; }
  SQLSMALLINT DecimalDigits() const { return decimalDigits_; }
  void SetDecimalDigits(SQLSMALLINT digits) { decimalDigits_ = digits; }
  // SQL_NULL_DATA, SQL_NTS, SQL_DATA_AT_EXEC, or a length.
  SQLLEN Indicator() const { return indicator_; }
  void SetIndicator(SQLLEN indicator) { indicator_ = indicator; }
  // For SQLBindCol / SQLBindParameter / SQLGetData.
  SQLLEN* IndicatorPtr() { return &indicator_; }
  bool AutoIncrement() const { return autoIncrement_; }
  void SetAutoIncrement(bool value) { autoIncrement_ = value; }

  bool IsNull() const { return indicator_ == SQL_NULL_DATA || !data_; }
  bool IsLong() const;
  // Decimal values travel as text.
  bool IsNumericText() const;

  // Readers. A null holder reads as "", 0, false, a zero decimal or the date-time 0; types
  // that cannot be read raise the conversion error (EDatabaseError).
  std::string AsString() const;
  int32_t AsInteger() const;
  int16_t AsSmallInt() const;
  uint16_t AsWord() const;
  int64_t AsLargeInt() const;
  double AsFloat() const;
  db::TBcdRecord AsBCD() const;
  db::TDateTime AsDateTime() const;
  bool AsBoolean() const;
  // Null for a null holder; wide text and GUIDs raise the conversion error.
  db::Variant Value() const;

  // EDatabaseError "Invalid data conversion", LF CR, Name, LF CR, CType.
  [[noreturn]] void RaiseConversionError() const;

 protected:
  // The text of a SQL_C_CHAR buffer, up to its NUL or the end of the buffer.
  std::string CharText() const;
  // A buffer shorter than the layout reads as if padded with zeros.
  template <typename T>
  T Load() const {
    T value{};
    if (data_) std::memcpy(&value, data_.get(), std::min(sizeof(T), size_t(dataSize_)));
    return value;
  }
  template <typename T>
  void Store(const T& value) {
    SetDataSize(sizeof(T));
    std::memcpy(data_.get(), &value, sizeof(T));
  }

 private:
  std::unique_ptr<char[]> data_;
  SQLLEN capacity_ = 0;
  std::string name_;
  SQLSMALLINT cType_ = 0;
  SQLSMALLINT sqlType_ = 0;
  SQLULEN columnSize_ = 0;
  SQLSMALLINT decimalDigits_ = 0;
  SQLLEN dataSize_ = 0;
  SQLLEN indicator_ = SQL_NULL_DATA;
  bool autoIncrement_ = false;
};

}  // namespace dac
