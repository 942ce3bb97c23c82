#pragma once
// The path of the module that holds this code: the plugin's own file when the code is linked
// into a shared library, the executable's file when it is linked into a program.
#include <string>

namespace settings {

// Full path of the module's file, or defaultPath when the system gives nothing.
std::string GetModulePath(const std::string& defaultPath);

}  // namespace settings
