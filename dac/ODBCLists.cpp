#include "dac/ODBCLists.h"

#include <algorithm>

#include "dac/ParamLines.h"

namespace dac {

std::string StringsToSemicolonText(const std::vector<std::string>& strings) {
  std::string result;
  for (const std::string& item : strings) {
    if (!result.empty()) result += ';';
    result += TrimBlanks(item);
  }
  return result;
}

void SemicolonTextToStrings(const std::string& text, std::vector<std::string>& strings) {
  std::string lines = text;
  std::replace(lines.begin(), lines.end(), ';', '\n');
  strings = TextToLines(lines);
}

}  // namespace dac
