#include "settings/VersionText.h"

#include "settings/ElfVersionReader.h"
#include "settings/ModulePath.h"

namespace settings {
namespace {

std::string Trimmed(const std::string& text) {
  const char* blanks = " \t\r\n";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string Halves(std::uint32_t word) {
  return std::to_string(word >> 16) + "." + std::to_string(word & 0xFFFFu);
}

}  // namespace

std::string GetVersionText(const std::string& fileName) {
  std::string name = Trimmed(fileName);
  if (name.empty()) name = GetModulePath("Generic Plugin");
  if (name.empty()) return "0.0.0.0";
  std::optional<TFixedFileInfo> info = ReadVersionNote(name);
  if (!info) return "";
  return Halves(info->FileVersionMS) + "." + Halves(info->FileVersionLS);
}

}  // namespace settings
