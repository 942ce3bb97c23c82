#pragma once
// The file version that the build stamps into a module (see VersionStamp.cmake): one ELF note
// of owner "Morvel" whose descriptor holds four 32-bit words in the file's byte order: the
// file version's most and least significant halves, then the product version's.
#include <cstdint>

namespace settings {

inline constexpr char kVersionNoteOwner[] = "Morvel";
inline constexpr std::uint32_t kVersionNoteType = 1;
inline constexpr std::uint32_t kVersionNoteSize = 16;

struct TFixedFileInfo {
  std::uint32_t FileVersionMS = 0;
  std::uint32_t FileVersionLS = 0;
  std::uint32_t ProductVersionMS = 0;
  std::uint32_t ProductVersionLS = 0;
};

}  // namespace settings
