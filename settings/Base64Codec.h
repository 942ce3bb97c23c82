#pragma once
// MIME Base64: lines of 76 characters joined by CR LF, no break after the last line.
#include <cstddef>
#include <string>
#include <string_view>

namespace settings {

// The encoded size of n bytes, line breaks included.
std::size_t Base64EncodedSize(std::size_t n);

std::string Base64Encode(std::string_view bytes);

// Skips every character outside the alphabet (line breaks, "=", anything else); a last group
// of 3 characters gives 2 bytes, of 2 characters 1 byte, a single leftover character nothing.
std::string Base64Decode(std::string_view text);

}  // namespace settings
