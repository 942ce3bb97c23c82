#include "dac/ODBCRecordLayout.h"

#include <algorithm>

namespace dac {

void TODBCRecordLayout::Build(std::vector<TDataField> dataFields, int fieldCount,
                              int calcFieldsSize, int blobCount) {
  std::sort(dataFields.begin(), dataFields.end(),
            [](const TDataField& a, const TDataField& b) { return a.FieldNo < b.FieldNo; });
  descriptors_.assign(static_cast<size_t>(std::max(fieldCount, 0)), TFieldDescriptor{});
  int offset = kHeaderSize;
  for (const TDataField& field : dataFields) {
    if (field.FieldNo < 1 || field.FieldNo > fieldCount) continue;
    TFieldDescriptor& d = descriptors_[static_cast<size_t>(field.FieldNo - 1)];
    d.DataSize = field.DataSize;
    d.NullOffset = offset;
    d.DataOffset = offset + 1;
    offset += field.DataSize + 1;
  }
  calcFieldsOffset_ = offset;
  blobCacheOffset_ = calcFieldsOffset_ + calcFieldsSize;
  blobCacheSize_ = kBlobSlotSize * blobCount;
  recordSize_ = blobCacheOffset_ + blobCacheSize_;
}

void TODBCRecordLayout::Clear() {
  descriptors_.clear();
  calcFieldsOffset_ = blobCacheOffset_ = recordSize_ = kHeaderSize;
  blobCacheSize_ = 0;
}

}  // namespace dac
