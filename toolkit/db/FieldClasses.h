#pragma once
// The field classes, one per family of native forms (see DataSet.h for the byte forms).
#include <string>

#include "toolkit/db/Field.h"

namespace db {

// Native date and time forms: a day number counts 1 January of year 1 as day 1; a time of
// day is in milliseconds; a date-time is day number x 86400000 + milliseconds, as a double.
int32_t DateToDayNumber(TDateTime value);
int32_t TimeToMilliseconds(TDateTime value);
double DateTimeToNative(TDateTime value);
TDateTime NativeToDateTime(double value);
TDateTime DayNumberToDate(int32_t dayNumber);
TDateTime MillisecondsToTime(int32_t milliseconds);

// ftString, ftFixedChar, ftWideString, ftGuid: zero-terminated UTF-8. A written text is cut
// to Size characters and to the native buffer, never inside a character.
class TStringField : public TField {
 public:
  explicit TStringField(TFieldType type = ftString, int size = 20);
  std::string AsString() const override;
  Variant AsVariant() const override;
  void SetAsString(const std::string& value) override;
  void SetAsVariant(const Variant& value) override;
};

// ftSmallint (int16), ftWord (uint16), ftInteger and ftAutoInc (int32).
class TIntegerField : public TField {
 public:
  explicit TIntegerField(TFieldType type = ftInteger);
  int32_t AsInteger() const override;
  std::string AsString() const override;
  Variant AsVariant() const override;
  void SetAsInteger(int32_t value) override;
  void SetAsVariant(const Variant& value) override;

 private:
  bool read(int32_t& value) const;
};

// ftLargeint: int64.
class TLargeintField : public TField {
 public:
  TLargeintField();
  Variant AsVariant() const override;
  void SetAsVariant(const Variant& value) override;
};

// ftFloat and ftCurrency: double.
class TFloatField : public TField {
 public:
  explicit TFloatField(TFieldType type = ftFloat);
  double AsFloat() const override;
  Variant AsVariant() const override;
  void SetAsFloat(double value) override;
  void SetAsVariant(const Variant& value) override;
};

// ftBoolean: one byte, 0 or 1.
class TBooleanField : public TField {
 public:
  TBooleanField();
  Variant AsVariant() const override;
  void SetAsVariant(const Variant& value) override;
};

// ftDate (day number), ftTime (milliseconds), ftDateTime and ftTimeStamp (see above).
class TDateTimeField : public TField {
 public:
  explicit TDateTimeField(TFieldType type = ftDateTime);
  TDateTime AsDateTime() const override;
  Variant AsVariant() const override;
  void SetAsDateTime(TDateTime value) override;
  void SetAsVariant(const Variant& value) override;
};

// ftBCD and ftFMTBcd: the 34-byte packed decimal.
class TBCDField : public TField {
 public:
  explicit TBCDField(TFieldType type = ftBCD, int size = 4);
  Variant AsVariant() const override;
  void SetAsVariant(const Variant& value) override;
};

// ftBytes: Size bytes; ftVarBytes: a 16-bit length, then up to Size bytes. Text forms are
// the raw bytes.
class TBytesField : public TField {
 public:
  explicit TBytesField(TFieldType type = ftBytes, int size = 16);
  Variant AsVariant() const override;
  void SetAsVariant(const Variant& value) override;
};

// Long values (ftBlob, ftMemo, ...): read and written whole through the dataset's blob
// stream; the record itself holds only the null flag.
class TBlobField : public TField {
 public:
  explicit TBlobField(TFieldType type = ftBlob);
  bool IsBlob() const override { return true; }
  std::string AsString() const override;
  Variant AsVariant() const override;
  void SetAsString(const std::string& value) override;
  void SetAsVariant(const Variant& value) override;
};

}  // namespace db
