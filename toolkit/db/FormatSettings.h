#pragma once
// The module's number and date format: process-wide state that the conversion window fixes
// at creation. The module never calls setlocale, which would change the host's locale.

namespace db {

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
};

// The one process-wide instance.
TFormatSettings& FormatSettings();

}  // namespace db
