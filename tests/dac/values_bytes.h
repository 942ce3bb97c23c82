#pragma once
// Byte views of value-holder buffers, shared by the value-holder tests.
#include <string>

#include "dac/ODBCParam.h"

namespace valuestest {

// The bytes of a plain value, as a buffer holds them.
template <typename T>
std::string Bytes(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}
// A text with its terminating zero.
inline std::string Text(const std::string& text) {
  return std::string(text.c_str(), text.size() + 1);
}
// What a parameter's buffer holds.
inline std::string Held(const dac::TODBCParam& param) {
  return param.Data() ? std::string(param.Data(), size_t(param.DataSize())) : std::string();
}

}  // namespace valuestest
