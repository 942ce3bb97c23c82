#pragma once
// One parameter of a statement. The writers choose the buffer layout from the parameter's SQL
// type, so that a program can assign an integer or a floating-point number and the statement
// sends what the column expects.
#include <string>

#include "dac/ODBCSQLVar.h"

namespace db {
class TField;
}

namespace dac {

class TODBCParam : public TODBCSQLVAR {
 public:
  TODBCParam() = default;
  explicit TODBCParam(const std::string& name) { SetName(name); }

  db::TParamType ParamType() const { return paramType_; }
  void SetParamType(db::TParamType type) { paramType_ = type; }
  bool Bound() const { return bound_; }
  void SetBound(bool value) { bound_ = value; }

  // Writers (the readers are inherited).
  void SetAsString(const std::string& value);
  // Sent in pieces at execution; an empty text leaves no buffer and reads as null.
  void SetAsLongText(const std::string& value);
  void SetAsInteger(int32_t value);
  void SetAsSmallInt(int16_t value);
  void SetAsLargeInt(int64_t value);
  void SetAsFloat(double value);
  void SetAsSingle(float value);
  void SetAsCurrency(db::TCurrency value);
  void SetAsBCD(const db::TBcdRecord& value);
  void SetAsDateTime(db::TDateTime value);
  void SetAsDate(db::TDateTime value);
  // Chooses the writer by the kind of the value; null and empty clear.
  void SetValue(const db::Variant& value);

  // CType from SQLType, Indicator null; the buffer keeps its bytes.
  void Clear();
  // Takes a described type; numbers already written are converted where the new layout asks.
  void SetDataType(db::TFieldType fieldType);

  void Assign(const TODBCParam& source);
  // From a dataset field: its previous value when Name starts with "OLD_".
  void Assign(const db::TField& source);
  void AssignTo(db::TField& destination) const;
  bool IsSameAs(const TODBCParam& other) const;
  // Name, or a placeholder when it is empty.
  std::string DisplayName() const;

 private:
  void StoreBytes(const void* bytes, SQLLEN size);
  void StoreText(const std::string& text);
  // Sets the C type, the SQL type (when unknown and setsSQLType) and the indicator.
  void Finish(SQLSMALLINT cType, SQLSMALLINT sqlType, bool setsSQLType, SQLLEN indicator);
  void SetSizesBySQLType(int size, int precision);
  void SetDateTimeString(const std::string& value);
  // The SQL type that the held C type naturally goes as.
  SQLSMALLINT NaturalSQLType() const;
  // Rewrites a held value in the layout of newCType; false when there is no such conversion.
  bool ConvertHeldValue(SQLSMALLINT newCType, db::TFieldType fieldType);
  // The held integer of any integer C type, unsigned types without a sign.
  int64_t HeldWhole() const;
  void Retype(db::TFieldType fieldType, bool keepBoundValuesOutOfLongTypes);

  db::TParamType paramType_ = db::ptUnknown;
  bool bound_ = false;
};

}  // namespace dac
