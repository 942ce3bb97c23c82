#pragma once
// Lists of key=value lines, as connection parameters are held.
#include <string>
#include <vector>

namespace dac {

using TStrings = std::vector<std::string>;

// The rest of the first line whose text before its first "=" equals key (case ignored, blanks
// not), or the empty text.
std::string LookupParam(const TStrings& lines, const std::string& key);
// Replaces the first matching line by key=value or appends it; an empty value removes the line.
void SetParam(TStrings& lines, const std::string& key, const std::string& value);
// Splits a text into lines at CR LF, LF or CR; a trailing line break adds no empty line.
TStrings TextToLines(const std::string& text);
// The text without leading and trailing characters of code 32 or less.
std::string TrimBlanks(const std::string& text);
// The lines joined, each followed by a line feed.
std::string LinesToText(const TStrings& lines);

}  // namespace dac
