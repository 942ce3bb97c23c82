#include "toolkit/db/TextUtils.h"

#include <cwctype>

namespace db {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte length of the character starting at text[pos], never past the end.
size_t expectedLength(unsigned char lead) {
  return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

size_t charLength(std::string_view text, size_t pos) {
  const size_t len = expectedLength(static_cast<unsigned char>(text[pos]));
  size_t n = 1;
  while (n < len && pos + n < text.size() &&
         isContinuation(static_cast<unsigned char>(text[pos + n])))
    ++n;
  return n;
}

char32_t decode(std::string_view text, size_t pos, size_t len) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (len == 1) return lead;
  char32_t cp = lead & (0x7F >> len);
  for (size_t i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
  return cp;
}


char32_t upper(char32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 32;
  if (cp < 0x80) return cp;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
  if (cp == 0xFF) return 0x178;
  // Latin Extended-A pairs capital/small letters on even/odd code points, with a shift
  // in the range 0x139..0x148 and 0x179..0x17E.
  if ((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) return cp & ~char32_t{1};
  if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E))
    return (cp % 2 == 0) ? cp - 1 : cp;
  const auto mapped = std::towupper(static_cast<wint_t>(cp));
  return static_cast<char32_t>(mapped);
}

}  // namespace

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

size_t Utf8Length(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); pos += charLength(text, pos)) ++count;
  return count;
}

std::string Utf8CutToChars(std::string_view text, size_t maxChars) {
  size_t pos = 0;
  for (size_t count = 0; pos < text.size() && count < maxChars; ++count) pos += charLength(text, pos);
  return std::string(text.substr(0, pos));
}

std::string Utf8CutToBytes(std::string_view text, size_t maxBytes) {
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t len = charLength(text, pos);
    if (pos + len > maxBytes) break;
    pos += len;
  }
  return std::string(text.substr(0, pos));
}

std::string Utf8UpperCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t len = charLength(text, pos);
    const auto lead = static_cast<unsigned char>(text[pos]);
    const bool wellFormed = len == expectedLength(lead) && (lead < 0x80 || lead >= 0xC0);
    if (wellFormed)
      AppendUtf8(upper(decode(text, pos, len)), out);
    else
      out.append(text.substr(pos, len));  // stray byte: kept as it is
    pos += len;
  }
  return out;
}

std::string TrimRightSpaces(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return std::string(text.substr(0, end));
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

}  // namespace db
