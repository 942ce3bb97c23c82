#include "dac/ODBCRecordPacker.h"

#include <algorithm>
#include <cstring>

namespace dac {

void TODBCRecordPacker::Build(const TODBCRecordLayout& layout, std::vector<TFieldForm> fields) {
  std::sort(fields.begin(), fields.end(),
            [](const TFieldForm& a, const TFieldForm& b) { return a.NullOffset < b.NullOffset; });
  fields_ = std::move(fields);
  blobOffset_ = layout.BlobCacheOffset();
  blobSize_ = layout.BlobCacheSize();
}

size_t TODBCRecordPacker::TextLength(const uint8_t* data, int32_t size) const {
  // The terminating zero goes too; a text that fills its buffer keeps every byte.
  const size_t length = strnlen(reinterpret_cast<const char*>(data), size_t(size));
  return std::min(length + 1, size_t(size));
}

size_t TODBCRecordPacker::PackedSize(const uint8_t* record) const {
  size_t size = TODBCRecordLayout::kHeaderSize + size_t(blobSize_);
  for (const TFieldForm& field : fields_) {
    size += 1;
    if (record[field.NullOffset] == 0) continue;
    const uint8_t* data = record + field.NullOffset + 1;
    size += field.Text ? TextLength(data, field.DataSize) : size_t(field.DataSize);
  }
  return size;
}

void TODBCRecordPacker::Pack(const uint8_t* record, uint8_t* packed) const {
  std::memcpy(packed, record, TODBCRecordLayout::kHeaderSize);
  uint8_t* out = packed + TODBCRecordLayout::kHeaderSize;
  for (const TFieldForm& field : fields_) {
    const uint8_t present = record[field.NullOffset];
    *out++ = present;
    if (present == 0) continue;
    const uint8_t* data = record + field.NullOffset + 1;
    const size_t length = field.Text ? TextLength(data, field.DataSize) : size_t(field.DataSize);
    std::memcpy(out, data, length);
    out += length;
  }
  if (blobSize_ > 0) std::memcpy(out, record + blobOffset_, size_t(blobSize_));
}

void TODBCRecordPacker::Unpack(const uint8_t* packed, uint8_t* record) const {
  std::memcpy(record, packed, TODBCRecordLayout::kHeaderSize);
  const uint8_t* in = packed + TODBCRecordLayout::kHeaderSize;
  for (const TFieldForm& field : fields_) {
    const uint8_t present = *in++;
    record[field.NullOffset] = present;
    if (present == 0) continue;
    uint8_t* data = record + field.NullOffset + 1;
    const size_t length = field.Text ? TextLength(in, field.DataSize) : size_t(field.DataSize);
    std::memcpy(data, in, length);
    in += length;
  }
  if (blobSize_ > 0) std::memcpy(record + blobOffset_, in, size_t(blobSize_));
}

}  // namespace dac
