#include "dac/ODBCLists.h"

namespace dac {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string Trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

}  // namespace

std::string StringsToSemicolonText(const std::vector<std::string>& strings) {
  std::string result;
  for (const std::string& item : strings) {
    if (!result.empty()) result += ';';
    result += Trim(item);
  }
  return result;
}

void SemicolonTextToStrings(const std::string& text, std::vector<std::string>& strings) {
  strings.clear();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(";\r\n", pos);
    if (end == std::string::npos) end = text.size();
    strings.push_back(text.substr(pos, end - pos));
    pos = end;
    // One break: ";", LF, CR, or CR followed by LF.
    if (pos < text.size() && text[pos] == '\r') {
      ++pos;
      if (pos < text.size() && text[pos] == '\n') ++pos;
    } else if (pos < text.size()) {
      ++pos;
    }
  }
}

}  // namespace dac
