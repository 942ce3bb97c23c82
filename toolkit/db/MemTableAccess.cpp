// The in-memory table's random access, search, loading and view suspension.
#include <algorithm>
#include <cmath>

#include "toolkit/db/FieldClasses.h"
#include "toolkit/db/MemTable.h"
#include "toolkit/db/TextUtils.h"
#include "toolkit/db/VariantConvert.h"

namespace db {
namespace {

bool isIntegerCell(TCellKind kind) {
  return kind == TCellKind::Int16 || kind == TCellKind::Word || kind == TCellKind::Int32 ||
         kind == TCellKind::Int64;
}

bool isIntegerKey(const Variant& key) {
  switch (key.VarType()) {
    case TVarType::SmallInt: case TVarType::Integer: case TVarType::Word: case TVarType::Byte:
    case TVarType::Int64: return true;
    default: return false;
  }
}

void checkRange(const TField& field, int64_t value, int64_t low, int64_t high) {
  if (value < low || value > high)
    throw EConvertError(std::to_string(value) + " is not a valid value for field '" +
                        field.DisplayName() + "'. The allowed range is " + std::to_string(low) +
                        " to " + std::to_string(high));
}

}  // namespace

// ---------------------------------------------------------------- cells

Variant TMemTable::CellVariant(const uint8_t* image, int column, const TField& field) const {
  if (store_.IsNull(image, column)) return Variant::Null();
  switch (store_.Kind(column)) {
    case TCellKind::Text: return Variant(std::string(store_.GetText(image, column)));
    case TCellKind::Int16: return Variant(static_cast<int16_t>(store_.GetInt(image, column)));
    case TCellKind::Word: return Variant(static_cast<uint16_t>(store_.GetInt(image, column)));
    case TCellKind::Int32: return Variant(static_cast<int32_t>(store_.GetInt(image, column)));
    case TCellKind::Int64: return Variant(store_.GetInt(image, column));
    case TCellKind::Bool: return Variant(store_.GetInt(image, column) != 0);
    case TCellKind::Double: break;
  }
  const double value = store_.GetDouble(image, column);
  switch (field.DataType()) {
    case ftCurrency: return Variant(FloatToCurr(value));
    case ftDate: case ftTime: case ftDateTime: case ftTimeStamp: return Variant::FromDateTime(value);
    default: return Variant(value);
  }
}

void TMemTable::StoreVariant(uint8_t* image, int column, const TField& field, const Variant& value,
                             bool replacing) {
  if (value.IsNullOrEmpty()) return store_.SetNull(image, column);
  const TCellKind kind = store_.Kind(column);
  if (kind == TCellKind::Text) {
    const std::string text = VarToStr(value);
    return store_.SetText(image, column,
                          field.Size() > 0 ? Utf8CutToChars(text, static_cast<size_t>(field.Size())) : text,
                          replacing);
  }
  if (kind == TCellKind::Bool) return store_.SetInt(image, column, VarToBool(value) ? 1 : 0);
  if (isIntegerCell(kind)) {
    const int64_t number = VarToInt64(value);
    if (kind == TCellKind::Int16) checkRange(field, number, INT16_MIN, INT16_MAX);
    if (kind == TCellKind::Word) checkRange(field, number, 0, UINT16_MAX);
    if (kind == TCellKind::Int32) checkRange(field, number, INT32_MIN, INT32_MAX);
    return store_.SetInt(image, column, number);
  }
  switch (field.DataType()) {
    case ftCurrency: return store_.SetDouble(image, column, CurrToFloat(VarToCurrency(value)));
    case ftDate: return store_.SetDouble(image, column, DayNumberToDate(DateToDayNumber(VarToDateTime(value))));
    case ftTime: return store_.SetDouble(image, column, MillisecondsToTime(TimeToMilliseconds(VarToDateTime(value))));
    case ftDateTime: case ftTimeStamp:
      return store_.SetDouble(image, column, NativeToDateTime(DateTimeToNative(VarToDateTime(value))));
    default: {
      const double number = VarToFloat(value);
      if (!std::isfinite(number)) throw EConvertError("Invalid floating point value for field '" + field.DisplayName() + "'");
      return store_.SetDouble(image, column, number);
    }
  }
}

Variant TMemTable::CellValue(int row, int fieldIndex) const {
  CheckActive();
  if (row < 0 || row >= store_.RowCount()) throw EDatabaseError("Row " + std::to_string(row) + " out of range");
  const TField& field = Fields()[fieldIndex];
  const int column = columnOfField_.at(static_cast<size_t>(fieldIndex));
  if (column < 0) return Variant::Null();
  return CellVariant(store_.Row(row), column, field);
}

void TMemTable::SetCellValue(int row, int fieldIndex, const Variant& value) {
  CheckActive();
  if (row < 0 || row >= store_.RowCount()) throw EDatabaseError("Row " + std::to_string(row) + " out of range");
  const TField& field = Fields()[fieldIndex];
  const int column = columnOfField_.at(static_cast<size_t>(fieldIndex));
  if (column < 0) throw EDatabaseError("Field '" + field.FieldName() + "' is not a data field");
  if (State() == dsEdit && !editImage_.empty() && RowOfId(TRowStore::RowId(editImage_.data())) == row)
    throw EDatabaseError("Row " + std::to_string(row) + " is being edited");
  StoreVariant(store_.Row(row), column, field, value, true);
  KeysChanged(column);
  Notify([row](TMemTableObserver& o) { o.RowChanged(row); });
  if (row == ActiveRow()) DataEvent(deRecordChange, 0);
}

void TMemTable::AddObserver(TMemTableObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void TMemTable::RemoveObserver(TMemTableObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// ---------------------------------------------------------------- search

void TMemTable::KeysChanged(int column) {
  if (column < 0 || column == indexedColumn_) {
    indexedColumn_ = -1;
    keyIndex_.clear();
  }
}

int TMemTable::FindRow(const std::vector<TField*>& fields, const std::vector<Variant>& keyValues,
                       TLocateOptions options) {
  const int n = store_.RowCount();
  if (fields.empty()) return n > 0 ? 0 : -1;
  if (keyValues.size() < fields.size() && !(fields.size() == 1 && !keyValues.empty()))
    throw EDatabaseError("Key values do not match the key fields");
  std::vector<int> columns;
  for (const TField* field : fields) columns.push_back(ColumnOf(*field));
  // An exact integer key on one column goes through a hash of first rows per value.
  if (fields.size() == 1 && options == 0 && isIntegerCell(store_.Kind(columns[0])) &&
      isIntegerKey(keyValues[0])) {
    if (indexedColumn_ != columns[0]) {
      keyIndex_.clear();
      keyIndex_.reserve(static_cast<size_t>(n));
      for (int row = 0; row < n; ++row)
        if (!store_.IsNull(store_.Row(row), columns[0]))
          keyIndex_.emplace(store_.GetInt(store_.Row(row), columns[0]), row);
      indexedColumn_ = columns[0];
    }
    const auto found = keyIndex_.find(VarToInt64(keyValues[0]));
    return found == keyIndex_.end() ? -1 : found->second;
  }
  for (int row = 0; row < n; ++row) {
    bool match = true;
    for (size_t i = 0; i < fields.size() && match; ++i) {
      const Variant& key = fields.size() == 1 ? keyValues[0] : keyValues[i];
      match = KeyMatches(fields[i]->DataType(), CellVariant(store_.Row(row), columns[i], *fields[i]), key, options);
    }
    if (match) return row;
  }
  return -1;
}

bool TMemTable::Locate(const std::string& keyFields, const std::vector<Variant>& keyValues,
                       TLocateOptions options) {
  CheckBrowseMode();
  const std::vector<TField*> fields = FieldList(keyFields);
  const bool direct = !(Filtered() && OnFilterRecord) &&
                      std::none_of(fields.begin(), fields.end(), [](TField* f) { return f->FieldKind() != fkData; });
  if (!direct) return TDataSet::Locate(keyFields, keyValues, options);
  Fire(BeforeScroll);
  const int row = FindRow(fields, keyValues, options);
  if (row < 0) return false;
  cursor_ = row;
  Resync();
  Fire(AfterScroll);
  return true;
}

std::vector<Variant> TMemTable::LookupValues(const std::string& keyFields,
                                             const std::vector<Variant>& keyValues,
                                             const std::string& resultFields) {
  CheckActive();
  const std::vector<TField*> fields = FieldList(keyFields);
  const std::vector<TField*> results = FieldList(resultFields);
  const auto calculated = [](TField* f) { return f->FieldKind() != fkData; };
  if ((Filtered() && OnFilterRecord) || std::any_of(fields.begin(), fields.end(), calculated) ||
      std::any_of(results.begin(), results.end(), calculated))
    return TDataSet::LookupValues(keyFields, keyValues, resultFields);
  std::vector<Variant> values(results.size());
  const int row = FindRow(fields, keyValues, 0);
  if (row >= 0)
    for (size_t i = 0; i < results.size(); ++i)
      values[i] = CellVariant(store_.Row(row), ColumnOf(*results[i]), *results[i]);
  return values;
}

// ---------------------------------------------------------------- loading and suspension

void TMemTable::LoadFromDataSet(TDataSet& source, const TFieldMapping& mapping, bool fireBeforePost) {
  CheckActive();
  std::vector<std::pair<TField*, TField*>> pairs;
  if (!source.Active()) source.Open();
  if (mapping.empty()) {
    for (int i = 0; i < source.FieldCount(); ++i)
      if (TField* target = FindField(source.Fields()[i].FieldName()); target && target->FieldKind() == fkData)
        pairs.emplace_back(&source.Fields()[i], target);
  } else {
    for (const auto& [from, to] : mapping) pairs.emplace_back(&source.FieldByName(from), &FieldByName(to));
  }
  BeginUpdate();
  source.DisableControls();
  try {
    for (source.First(); !source.Eof(); source.Next()) {
      Append();
      for (const auto& [from, to] : pairs) to->SetAsVariant(from->AsVariant());
      PostRecord(fireBeforePost);
    }
  } catch (...) {
    if (State() == dsInsert) Cancel();
    source.EnableControls();
    EndUpdate();
    throw;
  }
  source.EnableControls();
  EndUpdate();
}

void TMemTable::BeginUpdate() {
  if (updateCount_++ == 0) rowsDirty_ = false;
  DisableControls();
}

void TMemTable::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && rowsDirty_) {
    rowsDirty_ = false;
    Notify([](TMemTableObserver& o) { o.TableReset(); });
  }
  EnableControls();
}

}  // namespace db
