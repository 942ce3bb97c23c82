#pragma once
// The number that names a grid's element in the layout file ("GRID_" + decimal hash).
#include <cstdint>
#include <string_view>

namespace settings {

// ELF (PJW) hash of the key's bytes; always below 2^28.
std::uint32_t GridKeyHash(std::string_view key);

}  // namespace settings
