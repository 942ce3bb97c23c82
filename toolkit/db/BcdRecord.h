#pragma once
#include <cstdint>
#include <cstring>

namespace db {

// Packed decimal: two digits a byte, most significant first, high nibble first.
#pragma pack(push, 1)
struct TBcdRecord {
  uint8_t Precision = 0;      // digits held, valid 1..64
  uint8_t SignAndPlaces = 0;  // bit 7 negative, bits 0..5 places after the point
  uint8_t Digits[32] = {};

  bool operator==(const TBcdRecord& other) const {
    return Precision == other.Precision && SignAndPlaces == other.SignAndPlaces &&
           std::memcmp(Digits, other.Digits, sizeof Digits) == 0;
  }
};
#pragma pack(pop)
static_assert(sizeof(TBcdRecord) == 34);

}  // namespace db
