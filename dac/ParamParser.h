#pragma once
// The named-parameter syntax of SQL texts: ":NAME" markers become the "?" markers of ODBC.
#include <string>
#include <vector>

namespace dac {

// Replaces every marker by "?" and turns "::" outside literals into ":". When names is given,
// the marker names are appended to it in text order. Quotes (' " `) open and close literals;
// a marker name ends at a blank, CR, LF or one of ")*+,-/;" outside a literal; a name that
// starts with a quote loses its enclosing quotes. Multi-byte UTF-8 characters are never read
// as a colon, a quote or a delimiter.
std::string ParseParamMarkers(const std::string& sql, std::vector<std::string>* names);

// Parameter names compare without regard to case.
bool SameParamName(const std::string& left, const std::string& right);

}  // namespace dac
