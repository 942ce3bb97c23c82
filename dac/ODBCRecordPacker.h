#pragma once
// The form in which the record cache keeps a record: the record layout with its empty bytes
// left out. The 6-byte header stays where it is; then, per data field in layout order, the
// null flag and, for a present value, its bytes (a text up to and with its terminating
// zero); then the blob slots. Calculated fields are computed again whenever a record is
// read, so they are not kept. A product row of the conversion takes about a tenth of its
// full record this way, because texts are sized for 4 bytes per character.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dac/ODBCRecordLayout.h"

namespace dac {

class TODBCRecordPacker {
 public:
  struct TFieldForm {
    int32_t NullOffset;
    int32_t DataSize;
    bool Text;
  };

  // fields: the data fields' forms, in any order.
  void Build(const TODBCRecordLayout& layout, std::vector<TFieldForm> fields);

  size_t PackedSize(const uint8_t* record) const;
  // packed must have PackedSize(record) bytes.
  void Pack(const uint8_t* record, uint8_t* packed) const;
  // Writes the packed record's values into record (RecordSize bytes); the bytes of null
  // values and the calculated-fields area are left as they are.
  void Unpack(const uint8_t* packed, uint8_t* record) const;

 private:
  size_t TextLength(const uint8_t* data, int32_t size) const;

  std::vector<TFieldForm> fields_;
  int32_t blobOffset_ = 0;
  int32_t blobSize_ = 0;
};

}  // namespace dac
