#pragma once
// Connection parameters are held one "key=value" a line; ODBC wants them joined by ";".
#include <string>
#include <vector>

namespace dac {

// Trims each item (characters of code 32 or less) and joins them with ";"; a separator is
// written only after something, so leading empty items add nothing.
std::string StringsToSemicolonText(const std::vector<std::string>& strings);
// Every ";" starts a new item; line breaks (CR LF, LF or CR) also do, and a trailing break
// adds no empty item. Replaces the whole content of strings.
void SemicolonTextToStrings(const std::string& text, std::vector<std::string>& strings);

}  // namespace dac
