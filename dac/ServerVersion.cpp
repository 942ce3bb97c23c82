#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "dac/DACDatabase.h"

namespace dac {
namespace {

bool isSeparator(char c) { return c == '.' || static_cast<unsigned char>(c) <= 32; }

std::vector<std::string> versionTokens(const std::string& text) {
  std::vector<std::string> tokens;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && isSeparator(text[i])) ++i;
    if (i >= text.size()) break;
    size_t start = i;
    if (text[i] == '"') {
      size_t closing = text.find('"', i + 1);
      i = closing == std::string::npos ? text.size() : closing + 1;
    } else {
      while (i < text.size() && !isSeparator(text[i])) ++i;
    }
    tokens.push_back(text.substr(start, i - start));
  }
  return tokens;
}

uint32_t tokenValue(const std::string& token) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(token.c_str(), &end, 10);
  if (token.empty() || *end != 0 || errno == ERANGE || value < INT_MIN || value > INT_MAX)
    return 0;
  return static_cast<uint32_t>(static_cast<int32_t>(value));
}

}  // namespace

uint64_t ServerVersionFromText(const std::string& text) {
  std::vector<std::string> tokens = versionTokens(text);
  if (tokens.empty()) return 0;
  int last = std::min<int>(static_cast<int>(tokens.size()) - 1, 3);
  uint64_t version = 0;
  for (int i = 0; i <= last; ++i)
    version |= static_cast<uint64_t>(tokenValue(tokens[i])) << (16 * (last - i));
  return version;
}

}  // namespace dac
