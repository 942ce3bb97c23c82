#pragma once
// The comparison and code-page conversion that dictionary lookups rely on.
#include <string>

// Compares two texts under the collation of the C locale as the host set it (strcoll): case
// matters. Negative, zero or positive. The module never changes the locale itself.
int LocaleCompare(const std::string& left, const std::string& right);

// A text read as code page 1252 and written back in the system's code page. Both are UTF-8
// here, so the text comes back as it is; a single-byte build changes only this function.
std::string CodePage1252ToSystem(const std::string& text);
