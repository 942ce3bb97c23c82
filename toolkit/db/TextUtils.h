#pragma once
// UTF-8 text helpers of the dataset layer: characters are counted, never cut in half.
#include <cstddef>
#include <string>
#include <string_view>

namespace db {

// Number of characters (code points) in UTF-8 text.
// Appends one code point as UTF-8.
void AppendUtf8(char32_t codePoint, std::string& out);
size_t Utf8Length(std::string_view text);
// The first maxChars characters of the text.
std::string Utf8CutToChars(std::string_view text, size_t maxChars);
// The longest prefix of at most maxBytes bytes that ends on a character boundary.
std::string Utf8CutToBytes(std::string_view text, size_t maxBytes);
// Upper case of every character (ASCII, Latin-1 and Latin Extended-A letters, then the C
// library's wide mapping), independent of the process locale.
std::string Utf8UpperCase(std::string_view text);
// The text without trailing blanks.
std::string TrimRightSpaces(std::string_view text);
// Names of fields and parameters compare without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b);

}  // namespace db
