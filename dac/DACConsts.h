#pragma once
// Message texts of the database layer, held in the module's string table and read through
// LoadResString so that they pass through the translator. Identifiers 1000 to 1999.
#include <cstdio>
#include <string>
#include <vector>

#include "QuenTranslate/ResString.h"

DECLARE_RESOURCESTRING(SStillExecuting);
DECLARE_RESOURCESTRING(SNeedData);
DECLARE_RESOURCESTRING(SNoDataFound);
DECLARE_RESOURCESTRING(SInvalidHandle);
DECLARE_RESOURCESTRING(SUnknownReturnCode);
DECLARE_RESOURCESTRING(SNoDiagInfo);
DECLARE_RESOURCESTRING(SSQLStateCaption);
DECLARE_RESOURCESTRING(SNativeErrorCaption);
DECLARE_RESOURCESTRING(SODBCLibraryNotFound);
DECLARE_RESOURCESTRING(SBcdOverflow);
DECLARE_RESOURCESTRING(SInvalidBcdValue);
DECLARE_RESOURCESTRING(SEnvironmentRequired);
DECLARE_RESOURCESTRING(SConnectionClosed);
DECLARE_RESOURCESTRING(SConnectionOpen);
DECLARE_RESOURCESTRING(SLoginCancelled);
DECLARE_RESOURCESTRING(SUnspecifiedDriver);
DECLARE_RESOURCESTRING(SDatabaseRequired);

namespace dac {
// printf-style formatting of a resource text with the given arguments.
template <typename... Args>
std::string FormatRes(const TResStringRec& res, Args... args) {
  std::string format = LoadResString(&res);
  int size = std::snprintf(nullptr, 0, format.c_str(), args...);
  if (size <= 0) return format;
  std::vector<char> buffer(size + 1);
  std::snprintf(buffer.data(), buffer.size(), format.c_str(), args...);
  return std::string(buffer.data(), size);
}
}  // namespace dac
