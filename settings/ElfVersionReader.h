#pragma once
// Reads the stamped version note back from an ELF file of either class and byte order.
#include <optional>
#include <string>
#include <string_view>

#include "settings/VersionNote.h"

namespace settings {

// The version note of an ELF image held in memory; nothing when the bytes are not ELF, are
// damaged, or carry no note.
std::optional<TFixedFileInfo> FindVersionNote(std::string_view image);

// The same for a file; nothing when the file cannot be read.
std::optional<TFixedFileInfo> ReadVersionNote(const std::string& path);

}  // namespace settings
