#include "QuenTranslate/ResString.h"

#include <unordered_map>

const char HInstance = 0;

namespace {
std::unordered_map<uintptr_t, const char*>& StringTable() {
  static std::unordered_map<uintptr_t, const char*> table;
  return table;
}
}  // namespace

bool RegisterResourceString(uintptr_t identifier, const char* text) {
  StringTable()[identifier] = text;
  return true;
}

const char* FindResourceString(uintptr_t identifier) {
  auto found = StringTable().find(identifier);
  return found == StringTable().end() ? nullptr : found->second;
}
