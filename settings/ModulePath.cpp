#include "settings/ModulePath.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

#include "settings/SettingsLocations.h"

namespace settings {
namespace {

// Internal linkage: its address can never be resolved to another module's copy.
const char moduleTag = 0;

}  // namespace

std::string GetModulePath(const std::string& defaultPath) {
  Dl_info info{};
  if (dladdr(&moduleTag, &info) == 0 || info.dli_fname == nullptr) return defaultPath;
  std::string name = info.dli_fname;
  // The main program's map has no useful name of its own.
  if (name.find('/') == std::string::npos) {
    name = ExecutablePath();
    return name.empty() ? defaultPath : name;
  }
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(name, error);
  return error ? name : full.lexically_normal().string();
}

}  // namespace settings
