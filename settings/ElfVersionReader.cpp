#include "settings/ElfVersionReader.h"

#include <cstdint>
#include <cstring>

#include "settings/TextFile.h"

namespace settings {
namespace {

constexpr std::uint32_t kSectionNote = 7;  // SHT_NOTE
constexpr std::uint32_t kSegmentNote = 4;  // PT_NOTE

// Bounds-checked little/big-endian reads over the image; a read past the end fails the parse.
class TElfImage {
 public:
  explicit TElfImage(std::string_view image) : image_(image) {}

  bool Parse() {
    if (image_.size() < 52 || image_.substr(0, 4) != "\x7f" "ELF") return false;
    wide_ = image_[4] == 2;
    bigEndian_ = image_[5] == 2;
    return (image_[4] == 1 || image_[4] == 2) && (image_[5] == 1 || image_[5] == 2);
  }
  bool Wide() const { return wide_; }

  bool Read(std::uint64_t offset, unsigned size, std::uint64_t& value) const {
    if (offset > image_.size() || image_.size() - offset < size) return false;
    value = 0;
    for (unsigned i = 0; i < size; ++i) {
      unsigned index = bigEndian_ ? i : size - 1 - i;
      value = (value << 8) | static_cast<unsigned char>(image_[offset + index]);
    }
    return true;
  }
  // An address-sized field: 8 bytes in a 64-bit file, 4 in a 32-bit one.
  bool ReadWord(std::uint64_t offset, std::uint64_t& value) const {
    return Read(offset, wide_ ? 8 : 4, value);
  }
  std::string_view Bytes(std::uint64_t offset, std::uint64_t size) const {
    if (offset > image_.size() || image_.size() - offset < size) return {};
    return image_.substr(offset, size);
  }

 private:
  std::string_view image_;
  bool wide_ = false;
  bool bigEndian_ = false;
};

std::uint64_t Padded(std::uint64_t size, std::uint64_t align) {
  return (size + align - 1) / align * align;
}

// Walks the notes of one note section or segment.
std::optional<TFixedFileInfo> FindInNotes(const TElfImage& elf, std::uint64_t offset,
                                          std::uint64_t size, std::uint64_t align) {
  align = align == 8 ? 8 : 4;
  std::uint64_t end = offset + size;
  if (end < offset) return std::nullopt;
  while (end - offset >= 12) {
    std::uint64_t nameSize, descSize, type;
    if (!elf.Read(offset, 4, nameSize) || !elf.Read(offset + 4, 4, descSize) ||
        !elf.Read(offset + 8, 4, type))
      return std::nullopt;
    std::uint64_t name = offset + 12;
    std::uint64_t desc = name + Padded(nameSize, align);
    std::uint64_t next = desc + Padded(descSize, align);
    if (next > end) return std::nullopt;
    if (type == kVersionNoteType && descSize == kVersionNoteSize &&
        elf.Bytes(name, nameSize) == std::string_view(kVersionNoteOwner, sizeof kVersionNoteOwner)) {
      std::uint64_t words[4];
      for (int i = 0; i < 4; ++i)
        if (!elf.Read(desc + 4 * i, 4, words[i])) return std::nullopt;
      return TFixedFileInfo{static_cast<std::uint32_t>(words[0]), static_cast<std::uint32_t>(words[1]),
                            static_cast<std::uint32_t>(words[2]), static_cast<std::uint32_t>(words[3])};
    }
    offset = next;
  }
  return std::nullopt;
}

// Section table, when the file has one (a stripped file keeps its note sections).
std::optional<TFixedFileInfo> FindInSections(const TElfImage& elf) {
  bool wide = elf.Wide();
  std::uint64_t tableOffset, entrySize, count;
  if (!elf.ReadWord(wide ? 0x28 : 0x20, tableOffset) || !elf.Read(wide ? 0x3A : 0x2E, 2, entrySize) ||
      !elf.Read(wide ? 0x3C : 0x30, 2, count) || tableOffset == 0)
    return std::nullopt;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t header = tableOffset + i * entrySize, type, offset, size, align;
    if (!elf.Read(header + 4, 4, type)) return std::nullopt;
    if (type != kSectionNote) continue;
    if (!elf.ReadWord(header + (wide ? 24 : 16), offset) ||
        !elf.ReadWord(header + (wide ? 32 : 20), size) ||
        !elf.ReadWord(header + (wide ? 48 : 32), align))
      return std::nullopt;
    if (auto info = FindInNotes(elf, offset, size, align)) return info;
  }
  return std::nullopt;
}

// Program headers, for files whose section table is gone.
std::optional<TFixedFileInfo> FindInSegments(const TElfImage& elf) {
  bool wide = elf.Wide();
  std::uint64_t tableOffset, entrySize, count;
  if (!elf.ReadWord(wide ? 0x20 : 0x1C, tableOffset) || !elf.Read(wide ? 0x36 : 0x2A, 2, entrySize) ||
      !elf.Read(wide ? 0x38 : 0x2C, 2, count) || tableOffset == 0)
    return std::nullopt;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::uint64_t header = tableOffset + i * entrySize, type, offset, size, align;
    if (!elf.Read(header, 4, type)) return std::nullopt;
    if (type != kSegmentNote) continue;
    if (!elf.ReadWord(header + (wide ? 8 : 4), offset) ||
        !elf.ReadWord(header + (wide ? 32 : 16), size) ||
        !elf.ReadWord(header + (wide ? 48 : 28), align))
      return std::nullopt;
    if (auto info = FindInNotes(elf, offset, size, align)) return info;
  }
  return std::nullopt;
}

}  // namespace

std::optional<TFixedFileInfo> FindVersionNote(std::string_view image) {
  TElfImage elf(image);
  if (!elf.Parse()) return std::nullopt;
  if (auto info = FindInSections(elf)) return info;
  return FindInSegments(elf);
}

std::optional<TFixedFileInfo> ReadVersionNote(const std::string& path) {
  try {
    std::optional<std::string> image = ReadWholeFile(path);
    if (!image) return std::nullopt;
    return FindVersionNote(*image);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace settings
