#pragma once
// The byte layout of a dataset record: a 6-byte header (update status, record number,
// bookmark flag), then per data field a null flag and the field's native bytes, then the
// calculated-fields area, then one 4-byte blob slot per blob field.
#include <cstdint>
#include <cstring>
#include <vector>

namespace dac {

// Update status of a cached record.
enum TUpdateStatus : uint8_t { usUnmodified = 0, usModified = 1, usInserted = 2, usDeleted = 3 };

struct TFieldDescriptor {
  int32_t DataSize = 0;
  int32_t DataOffset = 0;
  int32_t NullOffset = 0;
};

class TODBCRecordLayout {
 public:
  static constexpr int kStatusOffset = 0;
  static constexpr int kRecordNumberOffset = 1;
  static constexpr int kBookmarkFlagOffset = 5;
  static constexpr int kHeaderSize = 6;
  static constexpr int kBlobSlotSize = 4;

  struct TDataField {
    int FieldNo;
    int DataSize;
  };

  // Lays out the data fields in field-number order (fieldCount is the highest field number
  // that may be asked for), the calculated-fields area and blobCount blob slots.
  void Build(std::vector<TDataField> dataFields, int fieldCount, int calcFieldsSize,
             int blobCount);
  void Clear();

  // nullptr for a field number without a data field.
  const TFieldDescriptor* Descriptor(int fieldNo) const {
    if (fieldNo < 1 || fieldNo > static_cast<int>(descriptors_.size())) return nullptr;
    const TFieldDescriptor& d = descriptors_[static_cast<size_t>(fieldNo - 1)];
    return d.NullOffset > 0 ? &d : nullptr;
  }
  int CalcFieldsOffset() const { return calcFieldsOffset_; }
  int BlobCacheOffset() const { return blobCacheOffset_; }
  int BlobCacheSize() const { return blobCacheSize_; }
  int BlobCount() const { return blobCacheSize_ / kBlobSlotSize; }
  int RecordSize() const { return recordSize_; }

  static TUpdateStatus Status(const uint8_t* record) {
    return static_cast<TUpdateStatus>(record[kStatusOffset]);
  }
  static void SetStatus(uint8_t* record, TUpdateStatus status) { record[kStatusOffset] = status; }
  static int32_t RecordNumber(const uint8_t* record) {
    int32_t number;
    std::memcpy(&number, record + kRecordNumberOffset, sizeof number);
    return number;
  }
  static void SetRecordNumber(uint8_t* record, int32_t number) {
    std::memcpy(record + kRecordNumberOffset, &number, sizeof number);
  }
  static uint8_t BookmarkFlag(const uint8_t* record) { return record[kBookmarkFlagOffset]; }
  static void SetBookmarkFlag(uint8_t* record, uint8_t flag) { record[kBookmarkFlagOffset] = flag; }

  // Blob slots hold an index into the cache's text table (0: empty text).
  uint32_t BlobSlot(const uint8_t* record, int blobIndex) const {
    uint32_t value;
    std::memcpy(&value, record + blobCacheOffset_ + blobIndex * kBlobSlotSize, sizeof value);
    return value;
  }
  void SetBlobSlot(uint8_t* record, int blobIndex, uint32_t value) const {
    std::memcpy(record + blobCacheOffset_ + blobIndex * kBlobSlotSize, &value, sizeof value);
  }
  void ClearBlobSlots(uint8_t* record) const {
    if (blobCacheSize_ > 0) std::memset(record + blobCacheOffset_, 0, size_t(blobCacheSize_));
  }

 private:
  std::vector<TFieldDescriptor> descriptors_;
  int calcFieldsOffset_ = kHeaderSize;
  int blobCacheOffset_ = kHeaderSize;
  int blobCacheSize_ = 0;
  int recordSize_ = kHeaderSize;
};

}  // namespace dac
