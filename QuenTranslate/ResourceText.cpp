#include "QuenTranslate/ResourceText.h"

#include <cstring>

namespace {
constexpr uintptr_t kMaxResourceIdentifier = 65535;

// The longest prefix of at most limit bytes that does not end inside a UTF-8 character.
size_t CutAtCharacter(const char* text, size_t length, size_t limit) {
  if (length <= limit) return length;
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}
}  // namespace

std::string ReadResourceText(const TResStringRec* resString) {
  if (resString == nullptr) return std::string();
  if (resString->Identifier > kMaxResourceIdentifier)
    return std::string(reinterpret_cast<const char*>(resString->Identifier));
  const char* text = FindResourceString(resString->Identifier);
  if (text == nullptr) return std::string();
  const size_t length = std::strlen(text);
  return std::string(text, CutAtCharacter(text, length, kResStringBufferSize));
}
