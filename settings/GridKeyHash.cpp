#include "settings/GridKeyHash.h"

namespace settings {

std::uint32_t GridKeyHash(std::string_view key) {
  std::uint32_t h = 0;
  for (char c : key) {
    h = (h << 4) + static_cast<unsigned char>(c);
    std::uint32_t g = h & 0xF0000000u;
    if (g != 0) h ^= g >> 24;
    h &= ~g;
  }
  return h;
}

}  // namespace settings
