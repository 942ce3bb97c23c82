#include "dac/ParamLines.h"

#include <strings.h>

namespace dac {
namespace {
// Index of the first line whose key matches, or -1.
long findKey(const TStrings& lines, const std::string& key) {
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t equals = lines[i].find('=');
    if (equals == std::string::npos) continue;
    if (equals == key.size() && strncasecmp(lines[i].data(), key.data(), equals) == 0)
      return static_cast<long>(i);
  }
  return -1;
}
}  // namespace

std::string LookupParam(const TStrings& lines, const std::string& key) {
  long index = findKey(lines, key);
  return index < 0 ? std::string() : lines[index].substr(lines[index].find('=') + 1);
}

void SetParam(TStrings& lines, const std::string& key, const std::string& value) {
  long index = findKey(lines, key);
  if (value.empty()) {
    if (index >= 0) lines.erase(lines.begin() + index);
  } else if (index >= 0) {
    lines[index] = key + "=" + value;
  } else {
    lines.push_back(key + "=" + value);
  }
}

TStrings TextToLines(const std::string& text) {
  TStrings lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

std::string TrimBlanks(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return text.substr(first, last - first);
}

std::string LinesToText(const TStrings& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace dac
