#include "dac/Utf8.h"

namespace dac {

std::string DropPartialCharacter(std::string text) {
  size_t end = text.size();
  size_t start = end;
  while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
  if (start == 0) return text;
  unsigned char lead = static_cast<unsigned char>(text[start - 1]);
  size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (expected > 1 && end - (start - 1) < expected) text.resize(start - 1);
  return text;
}

std::string CutToBytes(const std::string& text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  return DropPartialCharacter(text.substr(0, maxBytes));
}

}  // namespace dac
