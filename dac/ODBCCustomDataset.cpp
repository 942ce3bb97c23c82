#include "dac/ODBCCustomDataset.h"

#include <cstring>

#include "dac/ODBCColumn.h"
#include "dac/ODBCDatasetConsts.h"
#include "dac/ODBCStmt.h"
#include "dac/ODBCTypeMaps.h"

namespace dac {

TODBCCustomDataSet::TODBCCustomDataSet() = default;

TODBCCustomDataSet::~TODBCCustomDataSet() {
  try {
    Close();
  } catch (...) {
    // A destructor reports nothing; the statement frees its handle below.
  }
}

TODBCStatement& TODBCCustomDataSet::Statement() {
  if (!statement_) {
    statement_ = StatementClass();
    statement_->SetOwnedByDataSet(true);
    // The dataset fetches as navigation needs: opening fetches nothing by itself.
    statement_->Cursor().SetFetchOnOpen(false);
  }
  return *statement_;
}

std::unique_ptr<TODBCStatement> TODBCCustomDataSet::StatementClass() {
  return std::make_unique<TODBCStatement>();
}

void TODBCCustomDataSet::SetBufferChunks(int value) {
  CheckInactive();
  bufferChunks_ = value > 0 ? value : 32;
}

void TODBCCustomDataSet::SetUniDirectional(bool value) {
  CheckInactive();
  uniDirectional_ = value;
}

void TODBCCustomDataSet::SetUpdateRecordTypes(TUpdateRecordTypes value) {
  updateRecordTypes_ = value;
  if (Active()) {
    UpdateCursorPos();
    Resync();
  }
}

// ---------------------------------------------------------------- open and close

void TODBCCustomDataSet::OpenCursor() {
  try {
    InternalOpen();
  } catch (const db::EAbort&) {
    // A text without a result set has run; the dataset stays closed without an error.
    cursorOpen_ = false;
  }
}

void TODBCCustomDataSet::ResetCounters() {
  currentRecord_ = -1;
  deletedCount_ = 0;
  recordCounter_ = 0;
  oldValues_.clear();
  updatedRecords_.clear();
  updatesPending_ = false;
  cache_.Clear();
}

void TODBCCustomDataSet::InternalOpen() {
  ResetCounters();
  InternalExecQuery();
  cursorOpen_ = Statement().Active();
  if (!cursorOpen_) throw db::EAbort();
  FieldDefs().SetUpdated(false);
  UpdateFieldDefs();
  if (Fields().Count() == 0) CreateFields();
  BindFields(true);
  BuildLayout();
  cache_.Setup(layout_.RecordSize(), bufferChunks_, uniDirectional_);
  BuildStorePlan();
  rowBuffer_.reset(new uint8_t[size_t(layout_.RecordSize())]());
  modelBuffer_.reset(new uint8_t[size_t(layout_.RecordSize())]());
  InternalInitRecord(modelBuffer_.get());
}

void TODBCCustomDataSet::BuildLayout() {
  std::vector<TODBCRecordLayout::TDataField> dataFields;
  int blobCount = 0;
  for (int i = 0; i < Fields().Count(); ++i) {
    const db::TField& field = Fields()[i];
    if (field.FieldKind() != db::fkData || field.FieldNo() < 1) continue;
    dataFields.push_back({field.FieldNo(), field.DataSize()});
    if (field.IsBlob()) ++blobCount;
  }
  layout_.Build(std::move(dataFields), FieldDefs().Count(), CalcFieldsSize(), blobCount);
  std::vector<TODBCRecordPacker::TFieldForm> forms;
  for (int i = 0; i < Fields().Count(); ++i) {
    const db::TField& field = Fields()[i];
    const TFieldDescriptor* descriptor =
        field.FieldKind() == db::fkData ? layout_.Descriptor(field.FieldNo()) : nullptr;
    if (!descriptor) continue;
    const db::TFieldType type = field.DataType();
    const bool text = type == db::ftString || type == db::ftFixedChar ||
                      type == db::ftWideString || type == db::ftGuid;
    forms.push_back({descriptor->NullOffset, descriptor->DataSize, text});
  }
  packer_.Build(layout_, std::move(forms));
}

void TODBCCustomDataSet::BuildStorePlan() {
  storePlan_.clear();
  TODBCColumns& columns = Statement().Cursor().Columns();
  std::vector<const db::TField*> byNumber(size_t(FieldDefs().Count()) + 1, nullptr);
  for (int i = 0; i < Fields().Count(); ++i) {
    const db::TField& field = Fields()[i];
    if (field.FieldKind() == db::fkData && field.FieldNo() >= 1 &&
        field.FieldNo() < int(byNumber.size()))
      byNumber[size_t(field.FieldNo())] = &field;
  }
  // Blob slots are numbered in field-number order, like the blob fields themselves.
  int blobIndex = 0;
  blobIndexOfFieldNo_.assign(byNumber.size(), -1);
  for (size_t number = 1; number < byNumber.size(); ++number) {
    const db::TField* field = byNumber[number];
    if (!field || int(number) >= columns.Count()) continue;
    const TODBCColumn& column = columns[int(number)];
    TStorePlan plan{&column, StoreKindOf(column.SQLType()), field->DataType(),
                    *layout_.Descriptor(int(number)), -1};
    if (field->IsBlob()) plan.BlobIndex = blobIndexOfFieldNo_[number] = blobIndex++;
    storePlan_.push_back(plan);
  }
}

void TODBCCustomDataSet::InternalClose() {
  BindFields(false);
  if (DefaultFields()) DestroyFields();
  if (statement_) statement_->Close();
  cursorOpen_ = false;
  ResetCounters();
  storePlan_.clear();
  blobIndexOfFieldNo_.clear();
  modelBuffer_.reset();
  rowBuffer_.reset();
  layout_.Clear();
}

void TODBCCustomDataSet::DropConnection() {
  try {
    Close();
  } catch (...) {
  }
  if (statement_) statement_->DropConnection();
}

// ---------------------------------------------------------------- field definitions

void TODBCCustomDataSet::InternalInitFieldDefs() {
  FieldDefs().Clear();
  TODBCColumns& columns = Statement().Cursor().Columns();
  for (int n = 1; n < columns.Count(); ++n) AddFieldDef(columns[n]);
}

void TODBCCustomDataSet::AddFieldDef(const TODBCColumn& column) {
  std::string name = column.Name();
  if (name.empty()) {
    const std::string prefix = LoadResString(&SColumnNamePrefix);
    for (int i = 1;; ++i) {
      name = prefix + std::to_string(i);
      if (FieldDefs().IndexOf(name) < 0) break;
    }
  } else if (FieldDefs().IndexOf(name) >= 0) {
    const std::string base = name;
    for (int i = 1;; ++i) {
      name = base + "_" + std::to_string(i);
      if (FieldDefs().IndexOf(name) < 0) break;
    }
  }
  const db::TFieldType type =
      column.AutoIncrement() ? db::ftAutoInc : SQLTypeToFieldType(column.SQLType());
  if (type == db::ftUnknown) RaiseUnsupportedDataType(column.Name());
  int size = 0;
  switch (type) {
    case db::ftString: case db::ftFixedChar: size = int(column.DataSize()) - 1; break;
    case db::ftBCD: case db::ftFMTBcd: size = column.DecimalDigits(); break;
    case db::ftBytes: case db::ftVarBytes: case db::ftBlob: case db::ftMemo: case db::ftGraphic:
      size = int(column.DataSize());
      break;
    case db::ftGuid: size = 38; break;
    default: break;
  }
  db::TFieldDef& def = FieldDefs().Add(name, type, size, !column.Nullable());
  def.SetPrecision(int(column.ColumnSize()));
}

// ---------------------------------------------------------------- record buffers, bookmarks

db::TRecordBuffer TODBCCustomDataSet::AllocRecordBuffer() {
  return new uint8_t[size_t(layout_.RecordSize())]();
}

void TODBCCustomDataSet::FreeRecordBuffer(db::TRecordBuffer& buffer) {
  delete[] buffer;
  buffer = nullptr;
}

void TODBCCustomDataSet::InternalInitRecord(db::TRecordBuffer buffer) {
  std::memset(buffer, 0, size_t(layout_.RecordSize()));
  TODBCRecordLayout::SetStatus(buffer, usInserted);
  TODBCRecordLayout::SetRecordNumber(buffer, -1);
  TODBCRecordLayout::SetBookmarkFlag(buffer, db::bfInserted);
}

void TODBCCustomDataSet::GetBookmarkData(db::TRecordBuffer buffer, void* data) const {
  const int32_t number = TODBCRecordLayout::RecordNumber(buffer);
  std::memcpy(data, &number, sizeof number);
}

db::TBookmarkFlag TODBCCustomDataSet::GetBookmarkFlag(db::TRecordBuffer buffer) const {
  return static_cast<db::TBookmarkFlag>(TODBCRecordLayout::BookmarkFlag(buffer));
}

void TODBCCustomDataSet::SetBookmarkFlag(db::TRecordBuffer buffer, db::TBookmarkFlag flag) {
  TODBCRecordLayout::SetBookmarkFlag(buffer, uint8_t(flag));
}

void TODBCCustomDataSet::InternalGotoBookmark(const void* data) {
  int32_t number;
  std::memcpy(&number, data, sizeof number);
  // The record's place in the list: the number itself unless records were inserted or
  // deleted, which move later records away from their numbers.
  const int position = cache_.PositionOf(number);
  currentRecord_ = position >= 0 ? position : number;
}

void TODBCCustomDataSet::InternalSetToRecord(db::TRecordBuffer buffer) {
  InternalGotoBookmark(buffer + TODBCRecordLayout::kRecordNumberOffset);
}

int TODBCCustomDataSet::CompareBookmarks(const db::TBookmark& a, const db::TBookmark& b) const {
  if (a.empty() || b.empty()) return a.empty() == b.empty() ? 0 : (a.empty() ? 1 : -1);
  int32_t x, y;
  std::memcpy(&x, a.data(), sizeof x);
  std::memcpy(&y, b.data(), sizeof y);
  return x < y ? -1 : (x > y ? 1 : 0);
}

bool TODBCCustomDataSet::BookmarkValid(const db::TBookmark& bookmark) const {
  if (bookmark.size() != sizeof(int32_t) || !Active()) return false;
  int32_t number;
  std::memcpy(&number, bookmark.data(), sizeof number);
  return number >= 0 && number < RecordCount();
}

// ---------------------------------------------------------------- counts and numbers

int TODBCCustomDataSet::RecordCount() const {
  CheckActive();
  return cache_.Count() - deletedCount_;
}

int TODBCCustomDataSet::RecNo() const {
  if (!Active() || IsEmpty()) return -1;
  const db::TRecordBuffer active = ActiveBuffer();
  if (GetBookmarkFlag(active) != db::bfCurrent) return -1;
  const int position = cache_.PositionOf(TODBCRecordLayout::RecordNumber(active));
  return position >= 0 ? position + 1 : -1;
}

// ---------------------------------------------------------------- statement

void TODBCCustomDataSet::InternalPrepare() {
  TODBCStatement& statement = Statement();
  if (!statement.Prepared()) statement.Prepare();
}

void TODBCCustomDataSet::InternalUnprepare() {
  CheckInactive();
  if (statement_ && statement_->StatementHandle() != SQL_NULL_HSTMT) statement_->Unprepare();
  FieldDefs().Clear();
  FieldDefs().SetUpdated(false);
}

void TODBCCustomDataSet::InternalExecQuery() { Statement().Execute(); }

void TODBCCustomDataSet::InternalRefresh() {
  DisableControls();
  try {
    const db::TBookmark bookmark = GetBookmark();
    Statement().Close();
    cursorOpen_ = false;
    updatedRecords_.clear();
    oldValues_.clear();
    updatesPending_ = false;
    cache_.Setup(layout_.RecordSize(), bufferChunks_, uniDirectional_);
    currentRecord_ = -1;
    recordCounter_ = 0;
    deletedCount_ = 0;
    storePlan_.clear();
    InternalExecQuery();
    cursorOpen_ = Statement().Active();
    // The execution described the columns anew: the plan must point at the new ones.
    if (cursorOpen_) BuildStorePlan();
    // As a First would: the first row is fetched before going back to the remembered place.
    InternalFirst();
    FetchRow();
    if (!bookmark.empty()) InternalGotoBookmark(bookmark.data());
  } catch (...) {
    EnableControls();
    throw;
  }
  EnableControls();
}

// ---------------------------------------------------------------- unsupported searches

bool TODBCCustomDataSet::FindFirst() { throw std::runtime_error(LoadResString(&SUnsupportedFeature)); }
bool TODBCCustomDataSet::FindNext() { throw std::runtime_error(LoadResString(&SUnsupportedFeature)); }
bool TODBCCustomDataSet::FindPrior() { throw std::runtime_error(LoadResString(&SUnsupportedFeature)); }
bool TODBCCustomDataSet::FindLast() { throw std::runtime_error(LoadResString(&SUnsupportedFeature)); }

}  // namespace dac
