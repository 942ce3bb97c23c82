#include "toolkit/db/FieldClasses.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "toolkit/db/DataSet.h"
#include "toolkit/db/TextUtils.h"
#include "toolkit/db/VariantConvert.h"

namespace db {
namespace {

constexpr int32_t kDateDelta = 693594;  // days from 1 January 0001 to 30 December 1899
constexpr double kMSecsPerDay = 86400000.0;

template <typename T>
bool readNative(const TField& field, T& value) {
  return field.GetData(&value);
}

[[noreturn]] void outOfRange(const TField& field, int64_t value, int64_t low, int64_t high) {
  throw EConvertError(std::to_string(value) + " is not a valid value for field '" +
                      field.DisplayName() + "'. The allowed range is " + std::to_string(low) +
                      " to " + std::to_string(high));
}

}  // namespace

int32_t DateToDayNumber(TDateTime value) {
  return static_cast<int32_t>(std::trunc(value)) + kDateDelta;
}
int32_t TimeToMilliseconds(TDateTime value) {
  const double fraction = std::fabs(value - std::trunc(value));
  return static_cast<int32_t>(std::lround(fraction * kMSecsPerDay));
}
double DateTimeToNative(TDateTime value) {
  return static_cast<double>(DateToDayNumber(value)) * kMSecsPerDay + TimeToMilliseconds(value);
}
TDateTime DayNumberToDate(int32_t dayNumber) { return dayNumber - kDateDelta; }
TDateTime MillisecondsToTime(int32_t milliseconds) { return milliseconds / kMSecsPerDay; }
TDateTime NativeToDateTime(double value) {
  const double days = std::trunc(value / kMSecsPerDay);
  const double fraction = (value - days * kMSecsPerDay) / kMSecsPerDay;
  const double date = days - kDateDelta;
  return date >= 0 ? date + fraction : date - fraction;
}

// ---- text
TStringField::TStringField(TFieldType type, int size) : TField(type, size) {}

std::string TStringField::AsString() const {
  std::vector<char> buffer(static_cast<size_t>(DataSize()) + 1, '\0');
  if (!GetData(buffer.data())) return "";
  return std::string(buffer.data(), strnlen(buffer.data(), static_cast<size_t>(DataSize())));
}

Variant TStringField::AsVariant() const {
  if (IsNull()) return Variant::Null();
  return Variant(AsString());
}

void TStringField::SetAsString(const std::string& value) {
  std::string text = Size() > 0 ? Utf8CutToChars(value, static_cast<size_t>(Size())) : value;
  text = Utf8CutToBytes(text, static_cast<size_t>(std::max(DataSize() - 1, 0)));
  // Native writes always hand over the whole DataSize bytes.
  std::vector<char> buffer(static_cast<size_t>(std::max(DataSize(), 1)), '\0');
  std::memcpy(buffer.data(), text.data(), text.size());
  SetData(buffer.data());
}

void TStringField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty())
    Clear();
  else
    SetAsString(VarToStr(value));
}

// ---- integers
TIntegerField::TIntegerField(TFieldType type) : TField(type, 0) {}

bool TIntegerField::read(int32_t& value) const {
  switch (DataType()) {
    case ftSmallint: {
      int16_t v = 0;
      if (!readNative(*this, v)) return false;
      value = v;
      return true;
    }
    case ftWord: {
      uint16_t v = 0;
      if (!readNative(*this, v)) return false;
      value = v;
      return true;
    }
    default: return readNative(*this, value);
  }
}

int32_t TIntegerField::AsInteger() const {
  int32_t value = 0;
  return read(value) ? value : 0;
}

std::string TIntegerField::AsString() const {
  int32_t value = 0;
  return read(value) ? std::to_string(value) : "";
}

Variant TIntegerField::AsVariant() const {
  int32_t value = 0;
  if (!read(value)) return Variant::Null();
  if (DataType() == ftSmallint) return Variant(static_cast<int16_t>(value));
  if (DataType() == ftWord) return Variant(static_cast<uint16_t>(value));
  return Variant(value);
}

void TIntegerField::SetAsInteger(int32_t value) {
  if (DataType() == ftSmallint) {
    if (value < INT16_MIN || value > INT16_MAX) outOfRange(*this, value, INT16_MIN, INT16_MAX);
    const auto v = static_cast<int16_t>(value);
    SetData(&v);
  } else if (DataType() == ftWord) {
    if (value < 0 || value > UINT16_MAX) outOfRange(*this, value, 0, UINT16_MAX);
    const auto v = static_cast<uint16_t>(value);
    SetData(&v);
  } else {
    SetData(&value);
  }
}

void TIntegerField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  const int64_t wide = VarToInt64(value);
  if (wide < INT32_MIN || wide > INT32_MAX) outOfRange(*this, wide, INT32_MIN, INT32_MAX);
  SetAsInteger(static_cast<int32_t>(wide));
}

// ---- 64-bit integers
TLargeintField::TLargeintField() : TField(ftLargeint, 0) {}

Variant TLargeintField::AsVariant() const {
  int64_t value = 0;
  return readNative(*this, value) ? Variant(value) : Variant::Null();
}

void TLargeintField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  const int64_t v = VarToInt64(value);
  SetData(&v);
}

// ---- floating point
TFloatField::TFloatField(TFieldType type) : TField(type, 0) {}

double TFloatField::AsFloat() const {
  double value = 0;
  return readNative(*this, value) ? value : 0;
}

Variant TFloatField::AsVariant() const {
  double value = 0;
  if (!readNative(*this, value)) return Variant::Null();
  if (DataType() == ftCurrency) return Variant(FloatToCurr(value));
  return Variant(value);
}

void TFloatField::SetAsFloat(double value) {
  if (!std::isfinite(value)) throw EConvertError("Invalid floating point value for field '" + DisplayName() + "'");
  SetData(&value);
}

void TFloatField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  SetAsFloat(VarToFloat(value));
}

// ---- boolean
TBooleanField::TBooleanField() : TField(ftBoolean, 0) {}

Variant TBooleanField::AsVariant() const {
  uint8_t value = 0;
  return readNative(*this, value) ? Variant(value != 0) : Variant::Null();
}

void TBooleanField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  const uint8_t v = VarToBool(value) ? 1 : 0;
  SetData(&v);
}

// ---- dates and times
TDateTimeField::TDateTimeField(TFieldType type) : TField(type, 0) {}

TDateTime TDateTimeField::AsDateTime() const {
  if (DataType() == ftDate || DataType() == ftTime) {
    int32_t value = 0;
    if (!readNative(*this, value)) return 0;
    return DataType() == ftDate ? DayNumberToDate(value) : MillisecondsToTime(value);
  }
  double value = 0;
  return readNative(*this, value) ? NativeToDateTime(value) : 0;
}

Variant TDateTimeField::AsVariant() const {
  if (IsNull()) return Variant::Null();
  return Variant::FromDateTime(AsDateTime());
}

void TDateTimeField::SetAsDateTime(TDateTime value) {
  if (!std::isfinite(value)) throw EConvertError("Invalid date-time value for field '" + DisplayName() + "'");
  if (DataType() == ftDate) {
    const int32_t v = DateToDayNumber(value);
    SetData(&v);
  } else if (DataType() == ftTime) {
    const int32_t v = TimeToMilliseconds(value);
    SetData(&v);
  } else {
    const double v = DateTimeToNative(value);
    SetData(&v);
  }
}

void TDateTimeField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  SetAsDateTime(VarToDateTime(value));
}

// ---- packed decimal
TBCDField::TBCDField(TFieldType type, int size) : TField(type, size) {}

Variant TBCDField::AsVariant() const {
  TBcdRecord value;
  return readNative(*this, value) ? Variant(value) : Variant::Null();
}

void TBCDField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  const TBcdRecord v = VarToBcd(value);
  SetData(&v);
}

// ---- bytes
TBytesField::TBytesField(TFieldType type, int size) : TField(type, size) {}

Variant TBytesField::AsVariant() const {
  std::vector<char> buffer(static_cast<size_t>(DataSize()), '\0');
  if (!GetData(buffer.data())) return Variant::Null();
  if (DataType() == ftVarBytes) {
    uint16_t length = 0;
    std::memcpy(&length, buffer.data(), sizeof length);
    length = static_cast<uint16_t>(std::min<int>(length, Size()));
    return Variant(std::string(buffer.data() + 2, length));
  }
  return Variant(std::string(buffer.data(), buffer.size()));
}

void TBytesField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  const std::string bytes = VarToStr(value);
  std::vector<char> buffer(static_cast<size_t>(DataSize()), '\0');
  const size_t count = std::min(bytes.size(), static_cast<size_t>(Size()));
  if (DataType() == ftVarBytes) {
    const auto length = static_cast<uint16_t>(count);
    std::memcpy(buffer.data(), &length, sizeof length);
    std::memcpy(buffer.data() + 2, bytes.data(), count);
  } else {
    std::memcpy(buffer.data(), bytes.data(), count);
  }
  SetData(buffer.data());
}

// ---- blobs
TBlobField::TBlobField(TFieldType type) : TField(type, 0) {}

std::string TBlobField::AsString() const {
  if (IsNull() || !DataSet()) return "";
  auto stream = DataSet()->CreateBlobStream(const_cast<TBlobField&>(*this), bmRead);
  std::string text;
  char chunk[4096];
  for (int64_t n; (n = stream->Read(chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<size_t>(n));
  return text;
}

Variant TBlobField::AsVariant() const {
  if (IsNull()) return Variant::Null();
  return Variant(AsString());
}

void TBlobField::SetAsString(const std::string& value) {
  if (!DataSet()) throw EDatabaseError("Field '" + DisplayName() + "' has no dataset");
  auto stream = DataSet()->CreateBlobStream(*this, bmWrite);
  stream->Write(value.data(), static_cast<int64_t>(value.size()));
}

void TBlobField::SetAsVariant(const Variant& value) {
  if (value.IsNullOrEmpty()) return Clear();
  SetAsString(VarToStr(value));
}

// ---- by type
int NativeDataSize(TFieldType type, int size) {
  switch (type) {
    case ftString: case ftFixedChar: case ftWideString: case ftGuid: return size + 1;
    case ftSmallint: case ftWord: return 2;
    case ftInteger: case ftAutoInc: case ftDate: case ftTime: return 4;
    case ftLargeint: case ftFloat: case ftCurrency: case ftDateTime: case ftTimeStamp: return 8;
    case ftBoolean: return 1;
    case ftBCD: case ftFMTBcd: return static_cast<int>(sizeof(TBcdRecord));
    case ftBytes: return size;
    case ftVarBytes: return size + 2;
    default: return 0;
  }
}

std::unique_ptr<TField> CreateField(TFieldType type, int size) {
  switch (type) {
    case ftString: case ftFixedChar: case ftWideString: case ftGuid:
      return std::make_unique<TStringField>(type, size);
    case ftSmallint: case ftWord: case ftInteger: case ftAutoInc:
      return std::make_unique<TIntegerField>(type);
    case ftLargeint: return std::make_unique<TLargeintField>();
    case ftFloat: case ftCurrency: return std::make_unique<TFloatField>(type);
    case ftBoolean: return std::make_unique<TBooleanField>();
    case ftDate: case ftTime: case ftDateTime: case ftTimeStamp:
      return std::make_unique<TDateTimeField>(type);
    case ftBCD: case ftFMTBcd: return std::make_unique<TBCDField>(type, size);
    case ftBytes: case ftVarBytes: return std::make_unique<TBytesField>(type, size);
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftParadoxOle:
    case ftDBaseOle: case ftTypedBinary: case ftOraBlob: case ftOraClob: case ftWideMemo:
      return std::make_unique<TBlobField>(type);
    default: throw EDatabaseError("Unsupported field type " + std::to_string(static_cast<int>(type)));
  }
}

}  // namespace db
