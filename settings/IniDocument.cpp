#include "settings/IniDocument.h"

#include <charconv>

#include "settings/SettingsError.h"
#include "settings/TextFile.h"

namespace settings {
namespace {

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

// Length of the UTF-8 sequence that starts at text[i], or 0 when it is not a valid one.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2
                     : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || text.size() - i < length) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  unsigned char second = length > 1 ? byte(i + 1) : 0;
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
    return 0;  // overlong forms, surrogates, beyond U+10FFFF
  return length;
}

void CheckIsText(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\r' && c != '\n')
      throw ESettingsError("The settings file holds binary data");
    std::size_t length = Utf8SequenceLength(text, i);
    if (length == 0) throw ESettingsError("The settings file is not UTF-8 text");
    i += length;
  }
}

}  // namespace

TIniDocument::TLine TIniDocument::ParseLine(std::string_view text) {
  std::string_view trimmed = Trim(text);
  TLine line{TLineKind::Malformed, std::string(text), "", ""};
  if (trimmed.empty()) {
    line.Kind = TLineKind::Blank;
  } else if (trimmed.front() == ';' || trimmed.front() == '#') {
    line.Kind = TLineKind::Comment;
  } else if (trimmed.front() == '[' && trimmed.back() == ']' && trimmed.size() > 2) {
    line.Kind = TLineKind::Section;
    line.Name = Trim(trimmed.substr(1, trimmed.size() - 2));
  } else if (std::size_t equals = trimmed.find('='); equals != std::string_view::npos && equals > 0) {
    line.Kind = TLineKind::Key;
    line.Name = Trim(trimmed.substr(0, equals));
    line.Value = Trim(trimmed.substr(equals + 1));
  }
  return line;
}

TIniDocument TIniDocument::FromText(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  CheckIsText(text);
  TIniDocument document;
  std::size_t firstBreak = text.find('\n');
  if (firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r')
    document.lineBreak_ = "\r\n";
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    document.lines_.push_back(ParseLine(line));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return document;
}

TIniDocument TIniDocument::LoadFromFile(const std::string& path) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  return bytes ? FromText(*bytes) : TIniDocument();
}

std::string TIniDocument::ToText() const {
  std::string text;
  for (const TLine& line : lines_) text += line.Text + lineBreak_;
  return text;
}

void TIniDocument::SaveToFile(const std::string& path) const { WriteFileReplacing(path, ToText()); }

std::optional<TIniDocument::TRange> TIniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].Kind != TLineKind::Section || !SameName(lines_[i].Name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && lines_[end].Kind != TLineKind::Section) ++end;
    return TRange{i + 1, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> TIniDocument::FindKey(const TRange& range, std::string_view key) const {
  for (std::size_t i = range.Begin; i < range.End; ++i)
    if (lines_[i].Kind == TLineKind::Key && SameName(lines_[i].Name, key)) return i;
  return std::nullopt;
}

bool TIniDocument::SectionExists(std::string_view section) const {
  return FindSection(section).has_value();
}

bool TIniDocument::SectionIsWellFormed(std::string_view section) const {
  std::optional<TRange> range = FindSection(section);
  if (!range) return true;
  for (std::size_t i = range->Begin; i < range->End; ++i)
    if (lines_[i].Kind == TLineKind::Malformed) return false;
  return true;
}

std::optional<std::string> TIniDocument::ReadString(std::string_view section,
                                                    std::string_view key) const {
  std::optional<TRange> range = FindSection(section);
  if (!range) return std::nullopt;
  std::optional<std::size_t> index = FindKey(*range, key);
  if (!index) return std::nullopt;
  return lines_[*index].Value;
}

int TIniDocument::ReadInteger(std::string_view section, std::string_view key,
                              int defaultValue) const {
  std::optional<std::string> text = ReadString(section, key);
  if (!text) return defaultValue;
  std::string_view digits = *text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
    throw ESettingsError("The value of " + std::string(key) + " is not an integer: " + *text);
  return value;
}

void TIniDocument::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  TLine line{TLineKind::Key, std::string(key) + "=" + std::string(value), std::string(key),
             std::string(value)};
  std::optional<TRange> range = FindSection(section);
  if (!range) {
    if (!lines_.empty() && lines_.back().Kind != TLineKind::Blank)
      lines_.push_back({TLineKind::Blank, "", "", ""});
    lines_.push_back({TLineKind::Section, "[" + std::string(section) + "]", std::string(section), ""});
    lines_.push_back(std::move(line));
    return;
  }
  if (std::optional<std::size_t> index = FindKey(*range, key)) {
    line.Text = lines_[*index].Name + "=" + std::string(value);
    line.Name = lines_[*index].Name;
    lines_[*index] = std::move(line);
    return;
  }
  std::size_t at = range->End;  // after the last line that is not blank
  while (at > range->Begin && lines_[at - 1].Kind == TLineKind::Blank) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

void TIniDocument::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniDocument::DropMalformedLines(std::string_view section) {
  std::optional<TRange> range = FindSection(section);
  if (!range) return;
  for (std::size_t i = range->End; i-- > range->Begin;)
    if (lines_[i].Kind == TLineKind::Malformed)
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace settings
