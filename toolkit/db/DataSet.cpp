#include "toolkit/db/DataSet.h"

#include <algorithm>
#include <cstring>

#include "toolkit/db/DataLink.h"

namespace db {
namespace {

// Field types that share one native form: a persistent field may read any of its group.
int nativeGroup(TFieldType type) {
  switch (type) {
    case ftString: case ftFixedChar: case ftWideString: case ftGuid: return 1;
    case ftInteger: case ftAutoInc: return 2;
    case ftFloat: case ftCurrency: return 3;
    case ftBCD: case ftFMTBcd: return 4;
    case ftDateTime: case ftTimeStamp: return 5;
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftParadoxOle:
    case ftDBaseOle: case ftTypedBinary: case ftOraBlob: case ftOraClob: case ftWideMemo:
      return 6;
    default: return 100 + static_cast<int>(type);
  }
}

bool isTextType(TFieldType type) { return nativeGroup(type) == 1; }

}  // namespace

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() {
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) {
    source->dataSet_ = nullptr;
    source->NotifyLinksOfState();
  }
  // Only reached with buffers when a derived dataset did not close itself.
  for (TRecordBuffer* buffer : {&activeBuffer_, &spareBuffer_, &tempBuffer_}) delete[] *buffer;
}

// ---------------------------------------------------------------- fields

void TDataSet::UpdateFieldDefs() {
  if (fieldDefs_.Updated()) return;
  InternalInitFieldDefs();
  fieldDefs_.SetUpdated(true);
}

TField& TDataSet::AddField(const std::string& name, TFieldType type, int size, TFieldKind kind) {
  CheckInactive();
  if (FindField(name)) throw EDatabaseError("Duplicate field name '" + name + "'");
  auto field = CreateField(type, size);
  field->fieldName_ = name;
  field->fieldKind_ = kind;
  field->dataSet_ = this;
  field->index_ = fields_.Count();
  fields_.items_.push_back(std::move(field));
  defaultFields_ = false;
  return *fields_.items_.back();
}

void TDataSet::CreateFields() {
  for (int i = 0; i < fieldDefs_.Count(); ++i) {
    const TFieldDef& def = fieldDefs_[i];
    auto field = CreateField(def.DataType(), def.Size());
    field->fieldName_ = def.Name();
    field->required_ = def.Required();
    field->precision_ = def.Precision();
    field->dataSet_ = this;
    field->index_ = fields_.Count();
    fields_.items_.push_back(std::move(field));
  }
  defaultFields_ = true;
}

void TDataSet::DestroyFields() {
  fields_.items_.clear();
  defaultFields_ = false;
}

void TDataSet::BindFields(bool binding) {
  calcFieldsSize_ = 0;
  for (int i = 0; i < fields_.Count(); ++i) {
    TField& field = fields_[i];
    field.index_ = i;
    if (field.fieldKind_ != fkData) {
      field.offset_ = calcFieldsSize_;
      calcFieldsSize_ += field.DataSize() + 1;
      continue;
    }
    if (!binding) {
      field.fieldNo_ = 0;
      continue;
    }
    const TFieldDef* def = fieldDefs_.Find(field.FieldName());
    if (!def) throw EDatabaseError("Field '" + field.FieldName() + "' not found");
    if (nativeGroup(def->DataType()) != nativeGroup(field.DataType()))
      throw EDatabaseError("Type mismatch for field '" + field.FieldName() + "'");
    field.fieldNo_ = def->FieldNo();
    // A persistent text field reads whatever the cursor holds; writes are still cut to
    // the field's own size.
    if (isTextType(field.DataType())) field.dataSize_ = def->Size() + 1;
  }
}

// ---------------------------------------------------------------- open and close

void TDataSet::SetActive(bool value) {
  if (value == Active()) return;
  if (value)
    OpenDataSet();
  else
    CloseDataSet();
}

void TDataSet::OpenDataSet() {
  Fire(BeforeOpen);
  try {
    OpenCursor();
    if (!IsCursorOpen()) return;  // the cursor gave no rows to show: stay closed quietly
    AllocateBuffers();
    InternalFirstRecord();
  } catch (...) {
    try {
      CloseCursor();
    } catch (...) {
    }
    FreeBuffers();
    hasRecord_ = false;
    throw;
  }
  SetState(dsBrowse);
  Fire(AfterOpen);
  if (hasRecord_) Fire(AfterScroll);
}

void TDataSet::CloseDataSet() {
  Fire(BeforeClose);
  if (state_ == dsEdit || state_ == dsInsert) InternalCancel();
  SetState(dsInactive);
  CloseCursor();
  FreeBuffers();
  hasRecord_ = false;
  bof_ = eof_ = true;
  insertReturn_.clear();
  Fire(AfterClose);
}

TRecordBuffer TDataSet::AllocRecordBuffer() { return new uint8_t[static_cast<size_t>(GetRecordSize())](); }

void TDataSet::FreeRecordBuffer(TRecordBuffer& buffer) {
  delete[] buffer;
  buffer = nullptr;
}

void TDataSet::AllocateBuffers() {
  recordSize_ = GetRecordSize();
  activeBuffer_ = AllocRecordBuffer();
  spareBuffer_ = AllocRecordBuffer();
  tempBuffer_ = AllocRecordBuffer();
}

void TDataSet::FreeBuffers() {
  for (TRecordBuffer* buffer : {&activeBuffer_, &spareBuffer_, &tempBuffer_})
    if (*buffer) FreeRecordBuffer(*buffer);
  calcBuffer_ = filterBuffer_ = nullptr;
}

// ---------------------------------------------------------------- navigation

bool TDataSet::Fetch(TRecordBuffer buffer, TGetMode mode) {
  return GetRecord(buffer, mode, mode != gmCurrent) == grOK;
}

void TDataSet::InternalFirstRecord() {
  InternalFirst();
  hasRecord_ = Fetch(activeBuffer_, gmNext);
  bof_ = true;
  eof_ = !hasRecord_;
}

int TDataSet::InternalMoveBy(int distance) {
  if (!hasRecord_) {
    bof_ = eof_ = true;
    return 0;
  }
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  bof_ = eof_ = false;
  UpdateCursorPos();
  const TGetMode mode = distance > 0 ? gmNext : gmPrior;
  const int steps = distance > 0 ? distance : -distance;
  int moved = 0;
  while (moved < steps) {
    if (!Fetch(spareBuffer_, mode)) {
      (distance > 0 ? eof_ : bof_) = true;
      break;
    }
    std::swap(activeBuffer_, spareBuffer_);
    ++moved;
  }
  return distance > 0 ? moved : -moved;
}

void TDataSet::First() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  InternalFirstRecord();
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll);
}

void TDataSet::Last() {
  CheckBrowseMode();
  Fire(BeforeScroll);
  InternalLast();
  hasRecord_ = Fetch(activeBuffer_, gmPrior);
  eof_ = true;
  bof_ = !hasRecord_;
  DataEvent(deDataSetChange, 0);
  Fire(AfterScroll);
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  Fire(BeforeScroll);
  const int moved = InternalMoveBy(distance);
  if (moved != 0) DataEvent(deDataSetScroll, moved);
  Fire(AfterScroll);
  return moved;
}

void TDataSet::UpdateCursorPos() {
  if (hasRecord_ && activeBuffer_ && GetBookmarkFlag(activeBuffer_) == bfCurrent)
    InternalSetToRecord(activeBuffer_);
}

void TDataSet::Resync() {
  CheckActive();
  hasRecord_ = Fetch(activeBuffer_, gmCurrent) || Fetch(activeBuffer_, gmNext) ||
               Fetch(activeBuffer_, gmPrior);
  bof_ = eof_ = !hasRecord_;
  DataEvent(deDataSetChange, 0);
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  Fire(BeforeRefresh);
  UpdateCursorPos();
  InternalRefresh();
  Resync();
  Fire(AfterRefresh);
}

// ---------------------------------------------------------------- bookmarks

TBookmark TDataSet::GetBookmark() const {
  if (!Active() || !hasRecord_ || BookmarkSize() <= 0 || GetBookmarkFlag(activeBuffer_) != bfCurrent)
    return {};
  TBookmark bookmark(static_cast<size_t>(BookmarkSize()));
  GetBookmarkData(activeBuffer_, bookmark.data());
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  CheckBrowseMode();
  Fire(BeforeScroll);
  InternalGotoBookmarkAndResync(bookmark);
  Fire(AfterScroll);
}

void TDataSet::InternalGotoBookmarkAndResync(const TBookmark& bookmark) {
  InternalGotoBookmark(bookmark.data());
  Resync();
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  return Active() && !bookmark.empty() && static_cast<int>(bookmark.size()) == BookmarkSize();
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
  if (a.empty() || b.empty()) return a.empty() == b.empty() ? 0 : (a.empty() ? 1 : -1);
  const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (c != 0) return c < 0 ? -1 : 1;
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// ---------------------------------------------------------------- notices and states

void TDataSet::AddDataSource(TDataSource* source) { dataSources_.push_back(source); }

void TDataSet::RemoveDataSource(TDataSource* source) {
  dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), source), dataSources_.end());
}

bool TDataSet::IsLinkedTo(const TDataSource* source) const {
  for (int depth = 0; source && depth < 1000; ++depth) {
    const TDataSet* dataSet = source->DataSet();
    if (!dataSet) return false;
    if (dataSet == this) return true;
    source = dataSet->GetDataSource();
  }
  return source != nullptr;
}

void TDataSet::DataEvent(TDataEvent event, intptr_t info) {
  if (event == deFieldChange) {
    const auto* field = reinterpret_cast<TField*>(info);
    if (field && field->FieldKind() == fkData && (state_ == dsEdit || state_ == dsInsert)) {
      modified_ = true;
      GetCalcFields(activeBuffer_);
    }
  }
  if (silentCount_ > 0) return;
  if (disableCount_ > 0) {
    if ((event == deUpdateState && state_ == dsInactive) || event == deLayoutChange)
      enableEvent_ = deLayoutChange;
    return;
  }
  for (TDataSource* source : std::vector<TDataSource*>(dataSources_)) source->DataEvent(event, info);
}

void TDataSet::DisableControls() {
  if (disableCount_++ == 0) {
    disableState_ = state_;
    enableEvent_ = deDataSetChange;
  }
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  if (disableState_ != state_) DataEvent(deUpdateState, 0);
  if (disableState_ != dsInactive && state_ != dsInactive) DataEvent(enableEvent_, 0);
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  modified_ = false;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState state) {
  const TDataSetState old = state_;
  state_ = state;
  ++silentCount_;
  return old;
}

void TDataSet::RestoreState(TDataSetState state) {
  state_ = state;
  if (silentCount_ > 0) --silentCount_;
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
  if (Active()) throw EDatabaseError("Cannot perform this operation on an open dataset");
}

// ---------------------------------------------------------------- calculated fields, filter

void TDataSet::GetCalcFields(TRecordBuffer buffer) {
  if (calcFieldsSize_ == 0 || !buffer) return;
  const TDataSetState saved = SetTempState(dsCalcFields);
  TRecordBuffer previous = calcBuffer_;
  calcBuffer_ = buffer;
  try {
    ClearCalcFields(buffer);
    Fire(OnCalcFields);
  } catch (...) {
    calcBuffer_ = previous;
    RestoreState(saved);
    throw;
  }
  calcBuffer_ = previous;
  RestoreState(saved);
}

bool TDataSet::FilterAccepts(TRecordBuffer buffer) {
  if (!filtered_ || !OnFilterRecord) return true;
  const TDataSetState saved = SetTempState(dsFilter);
  filterBuffer_ = buffer;
  bool accept = true;
  try {
    OnFilterRecord(*this, accept);
  } catch (...) {
    filterBuffer_ = nullptr;
    RestoreState(saved);
    throw;
  }
  filterBuffer_ = nullptr;
  RestoreState(saved);
  return accept;
}

void TDataSet::SetFiltered(bool value) {
  if (value == filtered_) return;
  if (Active()) CheckBrowseMode();
  filtered_ = value;
  if (Active()) {
    UpdateCursorPos();
    Resync();
  }
}

bool TDataSet::ReadCalcField(const uint8_t* calcArea, const TField& field, void* dest) {
  const uint8_t* slot = calcArea + field.Offset();
  if (slot[0] == 0) return false;
  if (dest) std::memcpy(dest, slot + 1, static_cast<size_t>(field.DataSize()));
  return true;
}

void TDataSet::WriteCalcField(uint8_t* calcArea, const TField& field, const void* src) {
  uint8_t* slot = calcArea + field.Offset();
  slot[0] = src ? 1 : 0;
  if (src)
    std::memcpy(slot + 1, src, static_cast<size_t>(field.DataSize()));
  else
    std::memset(slot + 1, 0, static_cast<size_t>(field.DataSize()));
}

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField& field, TBlobStreamMode) {
  throw EDatabaseError("Field '" + field.DisplayName() + "' has no blob stream");
}

}  // namespace db
