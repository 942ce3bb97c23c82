#include "dac/ParamParser.h"

#include <cwctype>

namespace dac {
namespace {

bool isQuote(char c) { return c == '\'' || c == '"' || c == '`'; }

bool isNameDelimiter(char c) {
  switch (c) {
    case ' ': case '\r': case '\n': case ')': case '*': case '+': case ',': case '-': case '/':
    case ';':
      return true;
    default:
      return false;
  }
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes taken by the multi-byte character starting at i (0 when none starts there). Only real
// continuation bytes are taken, so a broken sequence never swallows a quote or a colon.
size_t multiByteLength(const std::string& text, size_t i) {
  unsigned char lead = static_cast<unsigned char>(text[i]);
  size_t expected = lead >= 0xF0 && lead <= 0xF7 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (lead >= 0xF8) expected = 0;
  size_t length = 1;
  while (length < expected && i + length < text.size() &&
         isContinuation(static_cast<unsigned char>(text[i + length])))
    ++length;
  return expected == 0 || length == 1 ? 0 : length;
}

// Moves i past any multi-byte characters.
void skipMultiByte(const std::string& text, size_t& i) {
  while (i < text.size()) {
    size_t length = multiByteLength(text, i);
    if (length == 0) return;
    i += length;
  }
}

class TMarkerScanner {
 public:
  TMarkerScanner(const std::string& sql, std::vector<std::string>* names)
      : text_(sql), names_(names) {}

  std::string Run() {
    size_t i = 0;
    while (true) {
      skipMultiByte(text_, i);
      if (i >= text_.size()) break;
      char c = text_[i];
      bool nextIsColon = i + 1 < text_.size() && text_[i + 1] == ':';
      if (c == ':' && !literal_ && !nextIsColon) {
        i = TakeMarker(i) + 1;
      } else if (c == ':' && !literal_) {
        text_.erase(i, 1);
        i += 1;
      } else {
        if (isQuote(c)) literal_ = !literal_;
        ++i;
      }
    }
    return text_;
  }

 private:
  // Replaces the marker at colon by "?" and returns the position of the character that
  // stopped the name (or the end of the text).
  size_t TakeMarker(size_t colon) {
    size_t j = colon + 1;
    bool embeddedQuote = false;
    while (true) {
      skipMultiByte(text_, j);
      if (j >= text_.size()) break;
      char c = text_[j];
      if (isQuote(c)) {
        literal_ = !literal_;
        if (j == colon + 1) embeddedQuote = true;
      }
      if (!literal_ && isNameDelimiter(c)) break;
      ++j;
    }
    std::string name = text_.substr(colon + 1, j - colon - 1);
    if (embeddedQuote) {
      if (!name.empty() && isQuote(name.front())) name.erase(0, 1);
      if (!name.empty() && isQuote(name.back())) name.pop_back();
    }
    if (names_) names_->push_back(name);
    text_[colon] = '?';
    text_.erase(colon + 1, j - colon - 1);
    return colon + 1;
  }

  std::string text_;
  std::vector<std::string>* names_;
  bool literal_ = false;
};

// Next code point of a UTF-8 text. Bytes of a broken sequence come back one by one, outside
// the range of characters, so that they only ever equal themselves.
char32_t nextCodePoint(const std::string& text, size_t& i) {
  size_t length = multiByteLength(text, i);
  unsigned char lead = static_cast<unsigned char>(text[i]);
  if (length == 0) {
    ++i;
    return lead < 0x80 ? char32_t{lead} : char32_t{0x110000} + lead;
  }
  char32_t value = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) value = (value << 6) | (text[i + k] & 0x3F);
  i += length;
  return value;
}

}  // namespace

std::string ParseParamMarkers(const std::string& sql, std::vector<std::string>* names) {
  return TMarkerScanner(sql, names).Run();
}

bool SameParamName(const std::string& left, const std::string& right) {
  size_t i = 0, j = 0;
  while (i < left.size() && j < right.size()) {
    unsigned char a = static_cast<unsigned char>(left[i]);
    unsigned char b = static_cast<unsigned char>(right[j]);
    if (a < 0x80 && b < 0x80) {  // the common case, without the locale's tables
      if (a != b && (a | 0x20) != (b | 0x20)) return false;
      if (a != b && ((a | 0x20) < 'a' || (a | 0x20) > 'z')) return false;
      ++i, ++j;
      continue;
    }
    char32_t x = nextCodePoint(left, i);
    char32_t y = nextCodePoint(right, j);
    if (x != y && std::towupper(static_cast<wint_t>(x)) != std::towupper(static_cast<wint_t>(y)))
      return false;
  }
  return i == left.size() && j == right.size();
}

}  // namespace dac
