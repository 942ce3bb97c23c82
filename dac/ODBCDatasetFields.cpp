// Field access: which record a field reads and writes depends on the dataset's state.
#include <cstring>

#include "dac/ODBCBlobStream.h"
#include "dac/ODBCCustomDataset.h"
#include "dac/ODBCDatasetConsts.h"

namespace dac {

uint8_t* TODBCCustomDataSet::RecordForState() const {
  if (!cursorOpen_) return nullptr;
  switch (State()) {
    case db::dsBrowse: return IsEmpty() ? nullptr : ActiveBuffer();
    case db::dsCalcFields: return CalcBuffer();
    case db::dsFilter: return FilterBuffer();
    case db::dsOldValue: {
      uint8_t* active = ActiveBuffer();
      if (!active) return nullptr;
      const int32_t number = TODBCRecordLayout::RecordNumber(active);
      if (modelBuffer_ && TODBCRecordLayout::RecordNumber(modelBuffer_.get()) == number)
        return modelBuffer_.get();
      if (const uint8_t* old = OldRecordOf(number)) return const_cast<uint8_t*>(old);
      return active;
    }
    default: return ActiveBuffer();
  }
}

const uint8_t* TODBCCustomDataSet::OldRecordOf(int32_t number) const {
  for (const TOldValues& old : oldValues_)
    if (old.RecordNumber == number) return old.Record.get();
  return nullptr;
}

bool TODBCCustomDataSet::GetFieldData(db::TField& field, void* dest) {
  const uint8_t* record = RecordForState();
  if (!record) return false;
  if (field.FieldKind() != db::fkData)
    return ReadCalcField(record + layout_.CalcFieldsOffset(), field, dest);
  const TFieldDescriptor* descriptor = layout_.Descriptor(field.FieldNo());
  if (!descriptor || record[descriptor->NullOffset] == 0) return false;
  if (dest && descriptor->DataSize > 0)
    std::memcpy(dest, record + descriptor->DataOffset, size_t(descriptor->DataSize));
  return true;
}

void TODBCCustomDataSet::SetFieldData(db::TField& field, const void* src) {
  uint8_t* record = RecordForState();
  if (!record) return;
  const db::TDataSetState state = State();
  if (field.FieldKind() != db::fkData) {
    WriteCalcField(record + layout_.CalcFieldsOffset(), field, src);
  } else {
    if (state == db::dsEdit) CheckCanUpdate();
    if (state == db::dsInsert) CheckCanInsert();
    const TFieldDescriptor* descriptor = layout_.Descriptor(field.FieldNo());
    if (!descriptor) return;
    record[descriptor->NullOffset] = src ? 1 : 0;
    if (src && descriptor->DataSize > 0)
      std::memcpy(record + descriptor->DataOffset, src, size_t(descriptor->DataSize));
    const int blobIndex = BlobIndexOf(field);
    if (!src && blobIndex >= 0) layout_.SetBlobSlot(record, blobIndex, 0);
  }
  if (state != db::dsCalcFields && state != db::dsFilter && state != db::dsNewValue)
    DataEvent(db::deFieldChange, reinterpret_cast<intptr_t>(&field));
}

void TODBCCustomDataSet::ClearCalcFields(db::TRecordBuffer buffer) {
  if (CalcFieldsSize() > 0)
    std::memset(buffer + layout_.CalcFieldsOffset(), 0, size_t(CalcFieldsSize()));
}

int TODBCCustomDataSet::BlobIndexOf(const db::TField& field) const {
  const int number = field.FieldNo();
  if (number < 1 || number >= int(blobIndexOfFieldNo_.size())) return -1;
  return blobIndexOfFieldNo_[size_t(number)];
}

std::unique_ptr<db::TStream> TODBCCustomDataSet::CreateBlobStream(db::TField& field,
                                                                  db::TBlobStreamMode mode) {
  return std::make_unique<TODBCBlobStream>(*this, field, mode);
}

void TODBCCustomDataSet::BlobWritten(db::TField& field) noexcept {
  try {
    DataEvent(db::deFieldChange, reinterpret_cast<intptr_t>(&field));
  } catch (...) {
    // There is no application error handler here; a stream being freed reports nothing.
  }
}

}  // namespace dac
