#include "QuenTranslate/TextCompare.h"

#include <cstring>

int LocaleCompare(const std::string& left, const std::string& right) {
  return std::strcoll(left.c_str(), right.c_str());
}

std::string CodePage1252ToSystem(const std::string& text) {
  return text;
}
