// Editing: changes go through the update object at once, or stay in the cache with cached
// updates until they are applied or cancelled.
#include <algorithm>
#include <cstring>

#include "dac/ODBCCustomDataset.h"
#include "dac/ODBCDatasetConsts.h"
#include "dac/ODBCError.h"

namespace dac {

bool TODBCCustomDataSet::HasUpdateSQL(TUpdateKind kind) const {
  for (const std::string& line : updateObject_->SQL(kind))
    if (line.find_first_not_of(" \t\r\n") != std::string::npos) return true;
  return false;
}

void TODBCCustomDataSet::CheckCanUpdate() {
  if (!cachedUpdates_ && updateObject_ && !HasUpdateSQL(ukModify))
    throw db::EDatabaseError(LoadResString(&SNoUpdateQuery));
}

void TODBCCustomDataSet::CheckCanInsert() {
  if (!cachedUpdates_ && updateObject_ && !HasUpdateSQL(ukInsert))
    throw db::EDatabaseError(LoadResString(&SNoInsertQuery));
}

void TODBCCustomDataSet::CheckCanDelete() {
  if (!cachedUpdates_ && updateObject_ && !HasUpdateSQL(ukDelete))
    throw db::EDatabaseError(LoadResString(&SNoDeleteQuery));
}

bool TODBCCustomDataSet::CanModify() const {
  if (cachedUpdates_) return updateObject_ != nullptr || static_cast<bool>(OnUpdateRecord);
  return updateObject_ != nullptr;
}

void TODBCCustomDataSet::ApplyModify() {
  if (updateObject_) updateObject_->Apply(ukModify);
}

void TODBCCustomDataSet::ApplyInsert() {
  if (updateObject_) updateObject_->Apply(ukInsert);
}

void TODBCCustomDataSet::ApplyDelete() {
  if (updateObject_) updateObject_->Apply(ukDelete);
}

TUpdateStatus TODBCCustomDataSet::UpdateStatus() const {
  if (!cachedUpdates_ || !Active() || IsEmpty()) return usUnmodified;
  return TODBCRecordLayout::Status(ActiveBuffer());
}

// ---------------------------------------------------------------- edit, post, delete

void TODBCCustomDataSet::InternalEdit() {
  uint8_t* active = ActiveBuffer();
  if (cachedUpdates_ && TODBCRecordLayout::Status(active) == usDeleted)
    throw db::EDatabaseError(LoadResString(&SDeletedRecordReadOnly));
  // The model buffer keeps the record as it was, for the old values during the edit.
  std::memcpy(modelBuffer_.get(), active, size_t(layout_.RecordSize()));
}

void TODBCCustomDataSet::InternalPost() {
  if (cachedUpdates_)
    PostCached();
  else
    PostThroughUpdateObject();
  // The model buffer holds no record once the edit is over.
  TODBCRecordLayout::SetRecordNumber(modelBuffer_.get(), -2);
}

int TODBCCustomDataSet::InsertPosition() {
  // An appended record goes after every row of the result, so the rows not fetched yet are
  // fetched first; an inserted one takes the active place.
  if (GetBookmarkFlag(ActiveBuffer()) == db::bfEOF) {
    while (FetchRow()) {
    }
    return cache_.Count();
  }
  return std::clamp(currentRecord_, 0, cache_.Count());
}

void TODBCCustomDataSet::StoreIntoCache(const uint8_t* buffer, int position) {
  const int32_t number = TODBCRecordLayout::RecordNumber(buffer);
  const int existing = position < 0 ? cache_.PositionOf(number) : -1;
  uint8_t* record = CacheRecord(buffer);
  TODBCRecordLayout::SetBookmarkFlag(record, db::bfCurrent);
  if (position >= 0) {
    cache_.Insert(position, record);
    currentRecord_ = position;
  } else if (existing >= 0) {
    cache_.Replace(existing, record);
  }
}

void TODBCCustomDataSet::PostThroughUpdateObject() {
  uint8_t* active = ActiveBuffer();
  if (State() == db::dsEdit) {
    CheckCanUpdate();
    ApplyModify();
    StoreIntoCache(active, -1);
    return;
  }
  CheckCanInsert();
  ApplyInsert();
  const int position = InsertPosition();
  TODBCRecordLayout::SetRecordNumber(active, recordCounter_++);
  TODBCRecordLayout::SetStatus(active, usUnmodified);
  StoreIntoCache(active, position);
}

void TODBCCustomDataSet::SaveOldValues(const uint8_t* cachedRecord) {
  const int32_t number = TODBCRecordLayout::RecordNumber(cachedRecord);
  if (std::find(updatedRecords_.begin(), updatedRecords_.end(), number) != updatedRecords_.end())
    return;
  auto copy = std::make_unique<uint8_t[]>(size_t(layout_.RecordSize()));
  packer_.Unpack(cachedRecord, copy.get());
  oldValues_.push_back({number, std::move(copy)});
  updatedRecords_.push_back(number);
  updatesPending_ = true;
}

void TODBCCustomDataSet::PostCached() {
  uint8_t* active = ActiveBuffer();
  if (State() == db::dsEdit) {
    const int position = cache_.PositionOf(TODBCRecordLayout::RecordNumber(active));
    if (position >= 0) SaveOldValues(cache_.At(position));
    if (TODBCRecordLayout::Status(active) == usUnmodified)
      TODBCRecordLayout::SetStatus(active, usModified);
    StoreIntoCache(active, -1);
    return;
  }
  const int position = InsertPosition();
  TODBCRecordLayout::SetRecordNumber(active, recordCounter_++);
  TODBCRecordLayout::SetStatus(active, usInserted);
  StoreIntoCache(active, position);
  updatedRecords_.push_back(TODBCRecordLayout::RecordNumber(active));
  updatesPending_ = true;
}

void TODBCCustomDataSet::InternalDelete() {
  CheckCanDelete();
  const int position = cache_.PositionOf(TODBCRecordLayout::RecordNumber(ActiveBuffer()));
  if (position < 0) return;
  uint8_t* record = cache_.At(position);
  currentRecord_ = position;
  if (!cachedUpdates_) {
    ApplyDelete();
    cache_.Remove(position);
    return;
  }
  const int32_t number = TODBCRecordLayout::RecordNumber(record);
  if (TODBCRecordLayout::Status(record) == usInserted) {
    // A record that never reached the database simply goes.
    cache_.Remove(position);
    updatedRecords_.erase(std::remove(updatedRecords_.begin(), updatedRecords_.end(), number),
                          updatedRecords_.end());
    updatesPending_ = !updatedRecords_.empty();
    return;
  }
  SaveOldValues(record);
  TODBCRecordLayout::SetStatus(record, usDeleted);
  ++deletedCount_;
}

// ---------------------------------------------------------------- cached updates

void TODBCCustomDataSet::SetCachedUpdates(bool value) {
  if (value == cachedUpdates_) return;
  if (!value && Active() && updatesPending_) {
    Cancel();
    RevertCachedChanges();
  }
  cachedUpdates_ = value;
}

void TODBCCustomDataSet::CancelUpdates() {
  if (!cachedUpdates_) throw db::EDatabaseError(LoadResString(&SNotCachedUpdates));
  if (!Active()) return;
  Cancel();
  RevertCachedChanges();
}

void TODBCCustomDataSet::RevertCachedChanges() {
  for (int32_t number : updatedRecords_) {
    const int position = cache_.PositionOf(number);
    if (position < 0) continue;
    uint8_t* record = cache_.At(position);
    if (TODBCRecordLayout::Status(record) == usInserted) {
      cache_.Remove(position);
      continue;
    }
    if (const uint8_t* old = OldRecordOf(number)) {
      record = CacheRecord(old);
      cache_.Replace(position, record);
    }
    TODBCRecordLayout::SetStatus(record, usUnmodified);
  }
  updatedRecords_.clear();
  oldValues_.clear();
  deletedCount_ = 0;
  updatesPending_ = false;
  currentRecord_ = std::min(currentRecord_, cache_.Count() - 1);
  if (Active()) Resync();
}

void TODBCCustomDataSet::ApplyRecordUpdate() {
  CheckActive();
  if (IsEmpty()) return;
  TUpdateKind kind = ukModify;
  switch (TODBCRecordLayout::Status(ActiveBuffer())) {
    case usInserted: kind = ukInsert; break;
    case usDeleted: kind = ukDelete; break;
    case usModified: kind = ukModify; break;
    case usUnmodified: return;
  }
  TUpdateAction action = uaFail;
  try {
    if (OnUpdateRecord)
      OnUpdateRecord(*this, kind, action);
    else if (updateObject_)
      updateObject_->Apply(kind);
  } catch (EODBCError& error) {
    if (!OnUpdateError) throw;
    OnUpdateError(*this, error, kind, action);
    if (action == uaFail) throw;
  }
}

}  // namespace dac
