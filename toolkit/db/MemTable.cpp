// The in-memory table as a dataset: record buffers, cursor, field data and editing.
#include "toolkit/db/MemTable.h"

#include <algorithm>
#include <cstring>

#include "toolkit/db/FieldClasses.h"

namespace db {
namespace {

// Record buffer: row id (4), row index (4), bookmark flag (1), padding, calculated fields.
constexpr int kHeaderSize = 12;

TCellKind kindOf(const TField& field) {
  switch (field.DataType()) {
    case ftString: case ftFixedChar: case ftWideString: return TCellKind::Text;
    case ftSmallint: return TCellKind::Int16;
    case ftWord: return TCellKind::Word;
    case ftInteger: case ftAutoInc: return TCellKind::Int32;
    case ftLargeint: return TCellKind::Int64;
    case ftBoolean: return TCellKind::Bool;
    case ftFloat: case ftCurrency: case ftDate: case ftTime: case ftDateTime: case ftTimeStamp:
      return TCellKind::Double;
    default:
      throw EDatabaseError("Field '" + field.FieldName() + "' has a type the in-memory table cannot hold");
  }
}

bool isTextType(TFieldType type) { return type == ftString || type == ftFixedChar || type == ftWideString; }

}  // namespace

TMemTable::~TMemTable() {
  observers_.clear();
  BeforeClose = nullptr;
  AfterClose = nullptr;
  Close();
}

// ---------------------------------------------------------------- buffers and cursor

TMemTable::Header TMemTable::ReadHeader(TRecordBuffer buffer) {
  Header header{};
  std::memcpy(&header.rowId, buffer, 4);
  std::memcpy(&header.rowIndex, buffer + 4, 4);
  header.flag = buffer[8];
  return header;
}

void TMemTable::WriteHeader(TRecordBuffer buffer, const Header& header) {
  std::memcpy(buffer, &header.rowId, 4);
  std::memcpy(buffer + 4, &header.rowIndex, 4);
  buffer[8] = header.flag;
}

int TMemTable::GetRecordSize() const { return kHeaderSize + CalcFieldsSize(); }

int TMemTable::RowOfId(uint32_t id) const {
  const int n = store_.RowCount();
  if (idsAscending_) {
    int low = 0, high = n - 1;
    while (low <= high) {
      const int mid = low + (high - low) / 2;
      const uint32_t at = TRowStore::RowId(store_.Row(mid));
      if (at == id) return mid;
      if (at < id) low = mid + 1; else high = mid - 1;
    }
    return -1;
  }
  for (int row = 0; row < n; ++row)
    if (TRowStore::RowId(store_.Row(row)) == id) return row;
  return -1;
}

int TMemTable::RowOfBuffer(TRecordBuffer buffer) const {
  const Header header = ReadHeader(buffer);
  if (header.flag != bfCurrent) return -1;
  if (header.rowIndex >= 0 && header.rowIndex < store_.RowCount() &&
      TRowStore::RowId(store_.Row(header.rowIndex)) == header.rowId)
    return header.rowIndex;
  return RowOfId(header.rowId);
}

TGetResult TMemTable::GetRecord(TRecordBuffer buffer, TGetMode mode, bool) {
  const int n = store_.RowCount();
  for (;;) {
    if (mode == gmNext) {
      if (cursor_ >= n - 1) {
        cursor_ = n;
        return grEOF;
      }
      ++cursor_;
    } else if (mode == gmPrior) {
      if (cursor_ <= 0) {
        cursor_ = -1;
        return grBOF;
      }
      cursor_ = std::min(cursor_, n) - 1;
    } else if (cursor_ < 0) {
      return grBOF;
    } else if (cursor_ >= n) {
      return grEOF;
    }
    WriteHeader(buffer, Header{TRowStore::RowId(store_.Row(cursor_)), cursor_, bfCurrent});
    if (!FilterAccepts(buffer)) {
      if (mode == gmCurrent) return grError;
      continue;
    }
    GetCalcFields(buffer);
    return grOK;
  }
}

void TMemTable::InternalInitFieldDefs() {
  FieldDefs().Clear();
  for (int i = 0; i < FieldCount(); ++i) {
    const TField& field = Fields()[i];
    if (field.FieldKind() != fkData) continue;
    // Text buffers hold the width in characters at up to 4 bytes each.
    const int size = isTextType(field.DataType()) ? field.Size() * 4 : field.Size();
    FieldDefs().Add(field.FieldName(), field.DataType(), size, field.Required());
  }
}

void TMemTable::InternalOpen() {
  if (FieldCount() == 0) throw EDatabaseError("The in-memory table has no fields");
  FieldDefs().SetUpdated(false);
  UpdateFieldDefs();
  BindFields(true);
  std::vector<TCellKind> kinds;
  columnOfField_.assign(static_cast<size_t>(FieldCount()), -1);
  for (int i = 0; i < FieldCount(); ++i) {
    if (Fields()[i].FieldKind() != fkData) continue;
    columnOfField_[static_cast<size_t>(i)] = static_cast<int>(kinds.size());
    kinds.push_back(kindOf(Fields()[i]));
  }
  store_.SetLayout(kinds);
  cursor_ = -1;
  nextRowId_ = 1;
  idsAscending_ = true;
  nextAutoInc_ = 1;
  editImage_.clear();
  KeysChanged(-1);
  cursorOpen_ = true;
  Notify([](TMemTableObserver& o) { o.TableReset(); });
}

void TMemTable::InternalClose() {
  BindFields(false);
  store_.Clear();
  cursorOpen_ = false;
  cursor_ = -1;
  editImage_.clear();
  KeysChanged(-1);
  Notify([](TMemTableObserver& o) { o.TableReset(); });
}

void TMemTable::InternalInitRecord(TRecordBuffer buffer) {
  WriteHeader(buffer, Header{0, -1, bfInserted});
  editImage_ = store_.BlankImage();
}

void TMemTable::ClearCalcFields(TRecordBuffer buffer) {
  std::memset(buffer + kHeaderSize, 0, static_cast<size_t>(CalcFieldsSize()));
}

// ---------------------------------------------------------------- bookmarks

void TMemTable::GetBookmarkData(TRecordBuffer buffer, void* data) const { std::memcpy(data, buffer, 4); }

TBookmarkFlag TMemTable::GetBookmarkFlag(TRecordBuffer buffer) const {
  return static_cast<TBookmarkFlag>(buffer[8]);
}

void TMemTable::SetBookmarkFlag(TRecordBuffer buffer, TBookmarkFlag flag) {
  buffer[8] = static_cast<uint8_t>(flag);
}

void TMemTable::InternalGotoBookmark(const void* data) {
  uint32_t id = 0;
  std::memcpy(&id, data, 4);
  const int row = RowOfId(id);
  if (row < 0) throw EDatabaseError("Record not found");
  cursor_ = row;
}

void TMemTable::InternalSetToRecord(TRecordBuffer buffer) {
  const int row = RowOfBuffer(buffer);
  if (row >= 0) cursor_ = row;
}

bool TMemTable::BookmarkValid(const TBookmark& bookmark) const {
  if (!Active() || bookmark.size() != 4) return false;
  uint32_t id = 0;
  std::memcpy(&id, bookmark.data(), 4);
  return RowOfId(id) >= 0;
}

int TMemTable::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
  if (a.size() != 4 || b.size() != 4) return TDataSet::CompareBookmarks(a, b);
  uint32_t idA = 0, idB = 0;
  std::memcpy(&idA, a.data(), 4);
  std::memcpy(&idB, b.data(), 4);
  const int rowA = RowOfId(idA), rowB = RowOfId(idB);
  return rowA == rowB ? 0 : (rowA < rowB ? -1 : 1);
}

int TMemTable::RecordCount() const {
  CheckActive();
  return store_.RowCount();
}

int TMemTable::ActiveRow() const {
  if (!Active() || IsEmpty() || State() == dsInsert) return -1;
  return RowOfBuffer(ActiveBuffer());
}

int TMemTable::RecNo() const { return ActiveRow() + 1; }

void TMemTable::SetRecNo(int value) {
  CheckBrowseMode();
  const int n = store_.RowCount();
  if (n == 0) return;
  value = std::clamp(value, 1, n);
  if (value == RecNo()) return;
  Fire(BeforeScroll);
  cursor_ = value - 1;
  Resync();
  Fire(AfterScroll);
}

// ---------------------------------------------------------------- editing

void TMemTable::InternalEdit() {
  const int row = RowOfBuffer(ActiveBuffer());
  if (row < 0) throw EDatabaseError("Record not found");
  editImage_.assign(store_.Row(row), store_.Row(row) + store_.RowSize());
}

void TMemTable::InternalInsert() {
  const int row = IsEmpty() ? 0 : RowOfBuffer(ActiveBuffer());
  insertAt_ = std::clamp(row, 0, store_.RowCount());
}

void TMemTable::NumberAutoIncFields(uint8_t* image) {
  for (int i = 0; i < FieldCount(); ++i) {
    if (Fields()[i].DataType() != ftAutoInc || Fields()[i].FieldKind() != fkData) continue;
    const int column = columnOfField_[static_cast<size_t>(i)];
    if (store_.IsNull(image, column))
      store_.SetInt(image, column, nextAutoInc_++);
    else
      nextAutoInc_ = std::max<int64_t>(nextAutoInc_, store_.GetInt(image, column) + 1);
  }
}

void TMemTable::InternalPost() {
  const int n = store_.RowCount();
  uint8_t* image = editImage_.data();
  if (State() == dsEdit) {
    const int row = RowOfId(TRowStore::RowId(image));
    if (row < 0) throw EDatabaseError("Record not found");
    if (indexedColumn_ >= 0 &&
        (store_.IsNull(image, indexedColumn_) != store_.IsNull(store_.Row(row), indexedColumn_) ||
         store_.GetInt(image, indexedColumn_) != store_.GetInt(store_.Row(row), indexedColumn_)))
      KeysChanged(indexedColumn_);
    store_.ReplaceRow(row, image);
    cursor_ = row;
    Notify([row](TMemTableObserver& o) { o.RowChanged(row); });
  } else {
    if (nextRowId_ == 0) throw EDatabaseError("The in-memory table has run out of row numbers");
    NumberAutoIncFields(image);
    TRowStore::SetRowId(image, nextRowId_++);
    const bool append = GetBookmarkFlag(ActiveBuffer()) == bfEOF || insertAt_ >= n;
    const int row = append ? n : insertAt_;
    if (append) {
      store_.AppendRow(image);
      if (indexedColumn_ >= 0 && !store_.IsNull(image, indexedColumn_))
        keyIndex_.emplace(store_.GetInt(image, indexedColumn_), row);
    } else {
      store_.InsertRow(row, image);
      idsAscending_ = false;
      KeysChanged(-1);
    }
    cursor_ = row;
    Notify([row](TMemTableObserver& o) { o.RowsInserted(row, 1); });
  }
  editImage_.clear();
  store_.CompactTexts();
}

void TMemTable::InternalCancel() { editImage_.clear(); }

void TMemTable::InternalDelete() {
  const int row = RowOfBuffer(ActiveBuffer());
  if (row < 0) throw EDatabaseError("Record not found");
  store_.EraseRow(row);
  editImage_.clear();
  KeysChanged(-1);
  cursor_ = std::min(row, store_.RowCount() - 1);
  Notify([row](TMemTableObserver& o) { o.RowsRemoved(row, 1); });
  store_.CompactTexts();
}

// ---------------------------------------------------------------- field data

int TMemTable::ColumnOf(const TField& field) const {
  return columnOfField_.at(static_cast<size_t>(field.Index()));
}

TRecordBuffer TMemTable::BufferForState() const {
  switch (State()) {
    case dsCalcFields: return CalcBuffer();
    case dsFilter: return FilterBuffer();
    default: return IsEmpty() ? nullptr : ActiveBuffer();
  }
}

const uint8_t* TMemTable::ImageForRead(const TField&) const {
  const bool editing = !editImage_.empty();
  TRecordBuffer buffer = nullptr;
  switch (State()) {
    case dsEdit:
    case dsInsert: return editing ? editImage_.data() : nullptr;
    case dsOldValue: buffer = IsEmpty() ? nullptr : ActiveBuffer(); break;  // the stored row
    case dsCalcFields:
      if (editing && CalcBuffer() == ActiveBuffer()) return editImage_.data();
      buffer = CalcBuffer();
      break;
    case dsFilter: buffer = FilterBuffer(); break;
    default: buffer = IsEmpty() ? nullptr : ActiveBuffer(); break;
  }
  if (!buffer) return nullptr;
  const int row = RowOfBuffer(buffer);
  return row < 0 ? nullptr : store_.Row(row);
}

bool TMemTable::GetFieldData(TField& field, void* dest) {
  if (!cursorOpen_) return false;
  if (field.FieldKind() != fkData) {
    TRecordBuffer buffer = BufferForState();
    return buffer && ReadCalcField(buffer + kHeaderSize, field, dest);
  }
  const uint8_t* image = ImageForRead(field);
  const int column = ColumnOf(field);
  if (!image || store_.IsNull(image, column)) return false;
  if (dest) ReadCell(image, column, field, dest);
  return true;
}

void TMemTable::SetFieldData(TField& field, const void* src) {
  if (!cursorOpen_) throw EDatabaseError("Cannot perform this operation on a closed dataset");
  if (field.FieldKind() != fkData) {
    TRecordBuffer buffer = BufferForState();
    if (!buffer) throw EDatabaseError("Dataset not in edit or insert mode");
    WriteCalcField(buffer + kHeaderSize, field, src);
  } else {
    if ((State() != dsEdit && State() != dsInsert) || editImage_.empty())
      throw EDatabaseError("Dataset not in edit or insert mode");
    WriteCell(editImage_.data(), ColumnOf(field), field, src);
  }
  if (State() != dsCalcFields && State() != dsFilter && State() != dsNewValue)
    DataEvent(deFieldChange, reinterpret_cast<intptr_t>(&field));
}

void TMemTable::ReadCell(const uint8_t* image, int column, const TField& field, void* dest) const {
  auto put = [dest](auto value) { std::memcpy(dest, &value, sizeof value); };
  switch (store_.Kind(column)) {
    case TCellKind::Text: {
      const std::string_view text = store_.GetText(image, column);
      const size_t length = std::min(text.size(), static_cast<size_t>(std::max(field.DataSize() - 1, 0)));
      if (length > 0) std::memcpy(dest, text.data(), length);
      static_cast<char*>(dest)[length] = '\0';
      return;
    }
    case TCellKind::Int16: return put(static_cast<int16_t>(store_.GetInt(image, column)));
    case TCellKind::Word: return put(static_cast<uint16_t>(store_.GetInt(image, column)));
    case TCellKind::Int32: return put(static_cast<int32_t>(store_.GetInt(image, column)));
    case TCellKind::Int64: return put(store_.GetInt(image, column));
    case TCellKind::Bool: return put(static_cast<uint8_t>(store_.GetInt(image, column)));
    case TCellKind::Double: break;
  }
  const double value = store_.GetDouble(image, column);
  switch (field.DataType()) {
    case ftDate: return put(DateToDayNumber(value));
    case ftTime: return put(TimeToMilliseconds(value));
    case ftDateTime: case ftTimeStamp: return put(DateTimeToNative(value));
    default: return put(value);
  }
}

void TMemTable::WriteCell(uint8_t* image, int column, const TField& field, const void* src) {
  if (!src) return store_.SetNull(image, column);
  auto get = [src](auto value) {
    std::memcpy(&value, src, sizeof value);
    return value;
  };
  switch (store_.Kind(column)) {
    case TCellKind::Text: {
      const auto* text = static_cast<const char*>(src);
      return store_.SetText(image, column, std::string_view(text, strnlen(text, static_cast<size_t>(field.DataSize()))));
    }
    case TCellKind::Int16: return store_.SetInt(image, column, get(int16_t{}));
    case TCellKind::Word: return store_.SetInt(image, column, get(uint16_t{}));
    case TCellKind::Int32: return store_.SetInt(image, column, get(int32_t{}));
    case TCellKind::Int64: return store_.SetInt(image, column, get(int64_t{}));
    case TCellKind::Bool: return store_.SetInt(image, column, get(uint8_t{}));
    case TCellKind::Double: break;
  }
  switch (field.DataType()) {
    case ftDate: return store_.SetDouble(image, column, DayNumberToDate(get(int32_t{})));
    case ftTime: return store_.SetDouble(image, column, MillisecondsToTime(get(int32_t{})));
    case ftDateTime: case ftTimeStamp: return store_.SetDouble(image, column, NativeToDateTime(get(double{})));
    default: return store_.SetDouble(image, column, get(double{}));
  }
}

}  // namespace db
