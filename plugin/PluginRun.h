#pragma once
// The run action: connects the host's database and runs the conversion over it.
#include <cstdint>

namespace plugin {

// Connection parameters: one name=value entry per line. Returns the modal result.
int32_t RunConversion(const char* connectionParams);

}  // namespace plugin
