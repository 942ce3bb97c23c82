// Getting records for the abstract dataset: from the cache, fetching further rows only when
// navigation passes the last one fetched.
#include <algorithm>
#include <cstring>

#include "dac/ODBCColumn.h"
#include "dac/ODBCCursor.h"
#include "dac/ODBCCustomDataset.h"
#include "dac/ODBCDatasetConsts.h"
#include "dac/ODBCStmt.h"

namespace dac {

db::TGetResult TODBCCustomDataSet::GetRecord(db::TRecordBuffer buffer, db::TGetMode mode,
                                             bool doCheck) {
  (void)doCheck;
  const bool filtering = Filtered() && OnFilterRecord;
  for (;;) {
    const db::TGetResult result = MoveToVisibleRecord(mode);
    if (result != db::grOK) {
      SetBookmarkFlag(buffer, result == db::grBOF ? db::bfBOF : db::bfEOF);
      return result;
    }
    CopyRecord(buffer, currentRecord_);
    SetBookmarkFlag(buffer, db::bfCurrent);
    GetCalcFields(buffer);
    if (!filtering || FilterAccepts(buffer)) return db::grOK;
    if (mode == db::gmCurrent) return db::grError;
  }
}

db::TGetResult TODBCCustomDataSet::MoveToVisibleRecord(db::TGetMode mode) {
  db::TGetResult result = MoveToRecord(mode);
  // Hidden records are passed over in the same direction.
  const db::TGetMode onward = mode == db::gmPrior ? db::gmPrior : db::gmNext;
  while (result == db::grOK && !IsVisible(cache_.At(currentRecord_)))
    result = MoveToRecord(onward);
  return result;
}

bool TODBCCustomDataSet::IsVisible(const uint8_t* record) const {
  if (State() == db::dsOldValue) return true;
  return (updateRecordTypes_ & (1u << TODBCRecordLayout::Status(record))) != 0;
}

db::TGetResult TODBCCustomDataSet::MoveToRecord(db::TGetMode mode) {
  const int cached = cache_.Count();
  switch (mode) {
    case db::gmCurrent:
      if (cached > 0 && currentRecord_ < 0) currentRecord_ = 0;
      if (currentRecord_ < 0 || cached == 0) return db::grBOF;
      if (currentRecord_ < cached) return db::grOK;
      while (cache_.Count() <= currentRecord_)
        if (!FetchRow()) return db::grEOF;
      currentRecord_ = cache_.Count() - 1;
      return db::grOK;
    case db::gmNext:
      if (currentRecord_ == cached - 1) {
        // The cursor remembers its end: no further fetch once it has been reached.
        if (!cursorOpen_ || Statement().Cursor().Eof()) return db::grEOF;
        ++currentRecord_;
        return FetchRow() ? db::grOK : db::grEOF;
      }
      if (currentRecord_ < cached - 1) {
        ++currentRecord_;
        return db::grOK;
      }
      return db::grEOF;
    case db::gmPrior:
      if (uniDirectional_) throw db::EDatabaseError(LoadResString(&SUniDirectionalDataSet));
      if (currentRecord_ > 0) {
        // After the last record the position is one past the cache.
        currentRecord_ = std::min(currentRecord_, cached) - 1;
        return currentRecord_ >= 0 ? db::grOK : db::grBOF;
      }
      currentRecord_ = -1;
      return db::grBOF;
  }
  return db::grError;
}

bool TODBCCustomDataSet::FetchRow() {
  TODBCCursor& cursor = Statement().Cursor();
  if (!cursorOpen_ || cursor.Eof()) return false;
  cursor.Fetch();
  if (cursor.Eof()) return false;
  StoreRow(rowBuffer_.get(), recordCounter_);
  cache_.Append(CacheRecord(rowBuffer_.get()));
  ++recordCounter_;
  return true;
}

void TODBCCustomDataSet::StoreRow(uint8_t* record, int32_t number) {
  layout_.ClearBlobSlots(record);
  TODBCRecordLayout::SetStatus(record, usUnmodified);
  TODBCRecordLayout::SetRecordNumber(record, number);
  TODBCRecordLayout::SetBookmarkFlag(record, db::bfCurrent);
  for (const TStorePlan& plan : storePlan_) {
    const TODBCColumn& column = *plan.Column;
    if (column.IsNull()) {
      record[plan.Descriptor.NullOffset] = 0;
      continue;
    }
    if (plan.Kind == TStoreKind::Long && plan.BlobIndex >= 0) {
      record[plan.Descriptor.NullOffset] = 1;
      layout_.SetBlobSlot(record, plan.BlobIndex, cache_.AddText(column.AsString()));
      continue;
    }
    StoreColumnValue(column, plan.Kind, plan.FieldType, record + plan.Descriptor.DataOffset,
                     plan.Descriptor.DataSize);
    record[plan.Descriptor.NullOffset] = 1;
  }
}

uint8_t* TODBCCustomDataSet::CacheRecord(const uint8_t* record) {
  const size_t size = packer_.PackedSize(record);
  uint8_t* place = cache_.Place(TODBCRecordLayout::RecordNumber(record), size);
  packer_.Pack(record, place);
  return place;
}

void TODBCCustomDataSet::CopyRecord(db::TRecordBuffer buffer, int position) const {
  packer_.Unpack(cache_.At(position), buffer);
}

void TODBCCustomDataSet::InternalLast() {
  while (FetchRow()) {
  }
  currentRecord_ = cache_.Count();
}

void TODBCCustomDataSet::SetRecNo(int value) {
  CheckBrowseMode();
  if (value < 1) value = 1;
  if (value > cache_.Count()) {
    InternalLast();
    value = std::min(value, cache_.Count());
  }
  if (value == RecNo()) return;
  Fire(BeforeScroll);
  currentRecord_ = value - 1;
  Resync();
  Fire(AfterScroll);
}

}  // namespace dac
