#include "toolkit/db/Field.h"

#include "toolkit/db/DataSet.h"
#include "toolkit/db/TextUtils.h"
#include "toolkit/db/VariantConvert.h"

namespace db {

TField::TField(TFieldType dataType, int size)
    : dataType_(dataType), size_(size), dataSize_(NativeDataSize(dataType, size)) {}

void TField::SetSize(int size) {
  if (dataSet_ && dataSet_->Active())
    throw EDatabaseError("Cannot perform this operation on an open dataset");
  size_ = size;
  dataSize_ = NativeDataSize(dataType_, size);
}

std::string TField::AsString() const { return VarToStr(AsVariant()); }
int32_t TField::AsInteger() const {
  const Variant v = AsVariant();
  return v.IsNull() ? 0 : VarToInt(v);
}
int64_t TField::AsLargeInt() const {
  const Variant v = AsVariant();
  return v.IsNull() ? 0 : VarToInt64(v);
}
double TField::AsFloat() const {
  const Variant v = AsVariant();
  return v.IsNull() ? 0 : VarToFloat(v);
}
TDateTime TField::AsDateTime() const {
  const Variant v = AsVariant();
  return v.IsNull() ? 0 : VarToDateTime(v);
}
bool TField::AsBoolean() const {
  const Variant v = AsVariant();
  return v.IsNull() ? false : VarToBool(v);
}
TCurrency TField::AsCurrency() const {
  const Variant v = AsVariant();
  return v.IsNull() ? TCurrency{} : VarToCurrency(v);
}
TBcdRecord TField::AsBCD() const {
  const Variant v = AsVariant();
  return v.IsNull() ? StrToBcd("0") : VarToBcd(v);
}

Variant TField::OldValue() const {
  if (!dataSet_) return Variant::Null();
  const TDataSetState saved = dataSet_->SetTempState(dsOldValue);
  try {
    Variant value = AsVariant();
    dataSet_->RestoreState(saved);
    return value;
  } catch (...) {
    dataSet_->RestoreState(saved);
    throw;
  }
}

void TField::SetAsString(const std::string& value) { SetAsVariant(Variant(value)); }
void TField::SetAsInteger(int32_t value) { SetAsVariant(Variant(value)); }
void TField::SetAsLargeInt(int64_t value) { SetAsVariant(Variant(value)); }
void TField::SetAsFloat(double value) { SetAsVariant(Variant(value)); }
void TField::SetAsDateTime(TDateTime value) { SetAsVariant(Variant::FromDateTime(value)); }
void TField::SetAsBoolean(bool value) { SetAsVariant(Variant(value)); }
void TField::SetAsCurrency(TCurrency value) { SetAsVariant(Variant(value)); }
void TField::SetAsBCD(const TBcdRecord& value) { SetAsVariant(Variant(value)); }

bool TField::GetData(void* dest) const {
  if (!dataSet_) return false;
  return dataSet_->GetFieldData(const_cast<TField&>(*this), dest);
}

void TField::SetData(const void* src) {
  if (!dataSet_) throw EDatabaseError("Field '" + DisplayName() + "' has no dataset");
  const TDataSetState state = dataSet_->State();
  const bool editing = state == dsEdit || state == dsInsert;
  if (!editing && state != dsSetKey && state != dsCalcFields && state != dsFilter &&
      state != dsNewValue && state != dsInternalCalc)
    throw EDatabaseError("Dataset not in edit or insert mode");
  if (editing && readOnly_)
    throw EDatabaseError("Field '" + DisplayName() + "' cannot be modified");
  dataSet_->SetFieldData(*this, src);
}

TField* TFields::FindField(const std::string& name) const {
  for (const auto& field : items_)
    if (SameName(field->FieldName(), name)) return field.get();
  return nullptr;
}

TField& TFields::FieldByName(const std::string& name) const {
  TField* field = FindField(name);
  if (!field) throw EDatabaseError("Field '" + name + "' not found");
  return *field;
}

int TFields::IndexOf(const TField* field) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[i].get() == field) return i;
  return -1;
}

}  // namespace db
