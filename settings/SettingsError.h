#pragma once
// Raised when a settings file cannot be read, parsed or written. Callers that restore or save
// settings for a window catch it and carry on with what they had.
#include <stdexcept>
#include <string>

namespace settings {

class ESettingsError : public std::runtime_error {
 public:
  explicit ESettingsError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace settings
