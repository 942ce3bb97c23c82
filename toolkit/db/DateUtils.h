#pragma once
// Date-time values (days since 30 December 1899, time of day as the fraction) and the text
// forms of numbers and dates under the module's format settings (FormatSettings()).
#include <cstdint>
#include <string>

#include "toolkit/db/DBTypes.h"

namespace db {

// Raise EConvertError on an invalid date or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// Short date (dd/mm/yyyy with the date separator), then a blank and the long time
// (hh:nn:ss) when the time of day is not 0.
std::string DateTimeToStr(TDateTime value);
// Reads a date, optionally followed by a time, in the form DateTimeToStr writes; also accepts
// ISO yyyy-mm-dd[ hh:nn[:ss[.fff]]]. Raises EConvertError.
TDateTime StrToDateTime(const std::string& text);

// Shortest general form with up to 15 significant digits and the module's decimal separator.
std::string FloatToStr(double value);
// Reads a floating-point number written with the module's decimal separator; surrounding
// blanks are allowed. Raises EConvertError.
double StrToFloat(const std::string& text);
// Decimal integers; surrounding blanks are allowed. Raise EConvertError (also on overflow).
int32_t StrToInt(const std::string& text);
int64_t StrToInt64(const std::string& text);

}  // namespace db
