#pragma once
// UTF-8 helpers: texts are cut only between characters.
#include <cstddef>
#include <string>

namespace dac {

// Drops a character left incomplete at the end of text (by a fixed-size buffer).
std::string DropPartialCharacter(std::string text);
// The longest prefix of text that has at most maxBytes bytes and ends on a character boundary.
std::string CutToBytes(const std::string& text, size_t maxBytes);

}  // namespace dac
