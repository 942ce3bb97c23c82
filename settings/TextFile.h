#pragma once
// Whole-file reads and replacing writes for the settings files.
#include <optional>
#include <string>

namespace settings {

// The file's bytes, or nothing when the file does not exist. Throws ESettingsError when it
// exists but cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes to a temporary file beside `path` and renames it over `path`, so that a failed write
// leaves the previous file as it was. Throws ESettingsError on failure.
void WriteFileReplacing(const std::string& path, const std::string& bytes);

}  // namespace settings
