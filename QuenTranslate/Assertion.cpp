#include "QuenTranslate/Assertion.h"

#include <cstdio>
#include <string>

void AssertionFailed(const char* message, const char* source, int line) {
  int size = std::snprintf(nullptr, 0, "%s (%s, line %d)", message, source, line);
  std::string text(static_cast<size_t>(size), '\0');
  std::snprintf(text.data(), text.size() + 1, "%s (%s, line %d)", message, source, line);
  throw EAssertionFailed(text);
}
