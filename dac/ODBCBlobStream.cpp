#include "dac/ODBCBlobStream.h"

#include <algorithm>
#include <cstring>

#include "dac/ODBCCustomDataset.h"
#include "dac/ODBCDatasetConsts.h"

namespace dac {

TODBCBlobStream::TODBCBlobStream(TODBCCustomDataSet& dataSet, db::TField& field,
                                 db::TBlobStreamMode mode)
    : dataSet_(dataSet), field_(field), writing_(mode != db::bmRead) {
  if (writing_) {
    if (field.ReadOnly())
      throw db::EDatabaseError(FormatRes(SBlobFieldReadOnly, field.DisplayName().c_str()));
    const db::TDataSetState state = dataSet.State();
    if (state != db::dsEdit && state != db::dsInsert)
      throw db::EDatabaseError(LoadResString(&SBlobNotEditing));
    // A text entry of the stream's own, so that the cached record keeps its value until the
    // edit is posted.
    textIndex_ = dataSet.cache_.NewText();
    WriteBack();
    return;
  }
  const uint8_t* record = dataSet.RecordForState();
  const int blobIndex = dataSet.BlobIndexOf(field);
  if (record && blobIndex >= 0)
    text_ = dataSet.cache_.Text(dataSet.layout_.BlobSlot(record, blobIndex));
}

TODBCBlobStream::~TODBCBlobStream() {
  if (modified_) dataSet_.BlobWritten(field_);
}

int64_t TODBCBlobStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= int64_t(text_.size())) return 0;
  const int64_t n = std::min<int64_t>(count, int64_t(text_.size()) - position_);
  std::memcpy(buffer, text_.data() + position_, size_t(n));
  position_ += n;
  return n;
}

int64_t TODBCBlobStream::Write(const void* buffer, int64_t count) {
  if (!writing_ || count <= 0) return 0;
  const size_t end = size_t(position_ + count);
  if (text_.size() < end) text_.resize(end);
  std::memcpy(text_.data() + position_, buffer, size_t(count));
  position_ += count;
  modified_ = true;
  WriteBack();
  return count;
}

int64_t TODBCBlobStream::Seek(int64_t offset, db::TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == db::TSeekOrigin::Current) base = position_;
  if (origin == db::TSeekOrigin::End) base = int64_t(text_.size());
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TODBCBlobStream::WriteBack() {
  uint8_t* record = dataSet_.ActiveBuffer();
  const int blobIndex = dataSet_.BlobIndexOf(field_);
  const TFieldDescriptor* descriptor = dataSet_.layout_.Descriptor(field_.FieldNo());
  if (!record || blobIndex < 0 || !descriptor) return;
  dataSet_.cache_.SetText(textIndex_, text_);
  dataSet_.layout_.SetBlobSlot(record, blobIndex, textIndex_);
  record[descriptor->NullOffset] = text_.empty() ? 0 : 1;
}

}  // namespace dac
