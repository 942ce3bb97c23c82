#include "settings/Base64Codec.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace settings {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineChars = 76;

constexpr std::array<std::int8_t, 256> MakeDecodeTable() {
  std::array<std::int8_t, 256> table{};
  for (auto& entry : table) entry = -1;
  for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  return table;
}
constexpr std::array<std::int8_t, 256> kDecode = MakeDecodeTable();

}  // namespace

std::size_t Base64EncodedSize(std::size_t n) {
  if (n == 0) return 0;
  return 4 * ((n + 2) / 3) + 2 * ((n - 1) / 57);
}

std::string Base64Encode(std::string_view bytes) {
  std::string text;
  text.reserve(Base64EncodedSize(bytes.size()));
  std::size_t lineLength = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k)
      group = (group << 8) | (k < count ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    if (lineLength == kLineChars) {
      text += "\r\n";
      lineLength = 0;
    }
    for (std::size_t k = 0; k < 4; ++k)
      text += k <= count ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
    lineLength += 4;
  }
  return text;
}

std::string Base64Decode(std::string_view text) {
  std::string bytes;
  bytes.reserve(3 * ((text.size() + 3) / 4));
  std::uint32_t group = 0;
  int count = 0;
  for (char c : text) {
    std::int8_t value = kDecode[static_cast<unsigned char>(c)];
    if (value < 0) continue;
    group = (group << 6) | static_cast<std::uint32_t>(value);
    if (++count < 4) continue;
    bytes += static_cast<char>(group >> 16);
    bytes += static_cast<char>(group >> 8);
    bytes += static_cast<char>(group);
    group = 0;
    count = 0;
  }
  if (count == 3) {
    bytes += static_cast<char>(group >> 10);
    bytes += static_cast<char>(group >> 2);
  } else if (count == 2) {
    bytes += static_cast<char>(group >> 4);
  }
  return bytes;
}

}  // namespace settings
