#pragma once
// An ini file held in memory: "[section]" lines open sections, "key=value" lines follow.
// Every line is kept as it was read, in its place (other sections, unknown keys, comments and
// lines that are neither), so writing the document back changes only what was written to it.
// Section and key names compare without regard to ASCII case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace settings {

class TIniDocument {
 public:
  // Throws ESettingsError when text is not text: invalid UTF-8, NUL or other control bytes.
  static TIniDocument FromText(std::string_view text);
  // A missing file gives an empty document; an unreadable or binary one throws ESettingsError.
  static TIniDocument LoadFromFile(const std::string& path);

  std::string ToText() const;
  // Replaces the file whole (temporary file and rename); throws ESettingsError on failure.
  void SaveToFile(const std::string& path) const;

  bool SectionExists(std::string_view section) const;
  // True when every line of the section is a key, a comment or blank.
  bool SectionIsWellFormed(std::string_view section) const;
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  // defaultValue when the key is missing; throws ESettingsError when its value is no integer.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;

  // Replaces the key's value in place, or adds the key after the section's last entry, or adds
  // the section at the end of the document.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // Drops the lines of the section that are neither keys, comments nor blank.
  void DropMalformedLines(std::string_view section);

 private:
  enum class TLineKind { Blank, Comment, Section, Key, Malformed };
  struct TLine {
    TLineKind Kind;
    std::string Text;  // the line as read or written, without its line break
    std::string Name;  // section name or key
    std::string Value;
  };
  struct TRange {
    std::size_t Begin, End;  // the section's lines after its header
  };

  static TLine ParseLine(std::string_view text);
  std::optional<TRange> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const TRange& range, std::string_view key) const;

  std::vector<TLine> lines_;
  std::string lineBreak_ = "\n";
};

}  // namespace settings
