#pragma once
// Fields: one value of the dataset's active record, read and written by type. A field holds
// no value of its own; it asks its dataset for the bytes of the record the dataset's state
// selects (DataSet.h lists the native byte form of every field type).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/db/BcdRecord.h"
#include "toolkit/db/DBTypes.h"
#include "toolkit/db/Variant.h"

namespace db {

class TDataSet;

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc };

class TField {
 public:
  TField(TFieldType dataType, int size);
  virtual ~TField() = default;
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(const std::string& name) { fieldName_ = name; }
  // The caption for users: the display label when set, else the field name.
  std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const std::string& label) { displayLabel_ = label; }
  std::string DisplayName() const { return DisplayLabel(); }

  TFieldType DataType() const { return dataType_; }
  // Declared size: characters for text, places for packed decimals, bytes for byte fields.
  int Size() const { return size_; }
  void SetSize(int size);
  int Precision() const { return precision_; }
  void SetPrecision(int precision) { precision_ = precision; }
  // Bytes of the native form in a record buffer (0 for blobs).
  int DataSize() const { return dataSize_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  void SetFieldKind(TFieldKind kind) { fieldKind_ = kind; }
  bool Calculated() const { return fieldKind_ == fkCalculated || fieldKind_ == fkLookup; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool Required() const { return required_; }
  void SetRequired(bool required) { required_ = required; }
  virtual bool IsBlob() const { return false; }

  TDataSet* DataSet() const { return dataSet_; }
  // 1-based number of the field definition a data field reads; 0 for calculated fields.
  int FieldNo() const { return fieldNo_; }
  // Position among the dataset's fields.
  int Index() const { return index_; }
  // Start of a calculated field in the calculated-fields area (null byte, then the data).
  int Offset() const { return offset_; }

  bool IsNull() const { return !GetData(nullptr); }
  void Clear() { SetData(nullptr); }

  // Readers give the empty form (0, "", false) for null; AsVariant gives null.
  virtual std::string AsString() const;
  virtual int32_t AsInteger() const;
  virtual int64_t AsLargeInt() const;
  virtual double AsFloat() const;
  virtual TDateTime AsDateTime() const;
  virtual bool AsBoolean() const;
  virtual TCurrency AsCurrency() const;
  virtual TBcdRecord AsBCD() const;
  virtual Variant AsVariant() const = 0;
  Variant Value() const { return AsVariant(); }
  // The value before the current edit (the dataset's old-value state).
  Variant OldValue() const;

  // Writers raise EConvertError for values the type cannot hold; null or empty clears.
  virtual void SetAsString(const std::string& value);
  virtual void SetAsInteger(int32_t value);
  virtual void SetAsLargeInt(int64_t value);
  virtual void SetAsFloat(double value);
  virtual void SetAsDateTime(TDateTime value);
  virtual void SetAsBoolean(bool value);
  virtual void SetAsCurrency(TCurrency value);
  virtual void SetAsBCD(const TBcdRecord& value);
  virtual void SetAsVariant(const Variant& value) = 0;
  void SetValue(const Variant& value) { SetAsVariant(value); }

  // The native bytes of the value through the dataset: false when null. dest may be null.
  bool GetData(void* dest) const;
  // Writes native bytes (nullptr: null). Requires a writable state and a writable field.
  void SetData(const void* src);

 protected:
  void SetDataSize(int dataSize) { dataSize_ = dataSize; }

 private:
  friend class TDataSet;
  std::string fieldName_;
  std::string displayLabel_;
  TFieldType dataType_;
  int size_;
  int precision_ = 0;
  int dataSize_ = 0;
  TFieldKind fieldKind_ = fkData;
  bool readOnly_ = false;
  bool required_ = false;
  TDataSet* dataSet_ = nullptr;
  int fieldNo_ = 0;
  int index_ = -1;
  int offset_ = 0;
};

// The dataset's fields, in order; owned by the dataset.
class TFields {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TField& operator[](int index) const { return *items_.at(index); }
  // Names compare without regard to case; nullptr when absent.
  TField* FindField(const std::string& name) const;
  // Raises EDatabaseError "Field 'NAME' not found".
  TField& FieldByName(const std::string& name) const;
  int IndexOf(const TField* field) const;

 private:
  friend class TDataSet;
  std::vector<std::unique_ptr<TField>> items_;
};

// The native byte size of a field type with the given declared size (text: size + 1).
int NativeDataSize(TFieldType type, int size);
// A new field of the class that holds the type.
std::unique_ptr<TField> CreateField(TFieldType type, int size);

}  // namespace db
