#pragma once
// Assertion failures of the translator, raised as an exception the caller can catch.
#include <stdexcept>

class EAssertionFailed : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Raises EAssertionFailed with "message (source, line N)".
[[noreturn]] void AssertionFailed(const char* message, const char* source, int line);
