#pragma once
// Conversions of the dynamic value to and from the plain types. Text forms of numbers and
// dates follow the module's format settings (DateUtils.h). Every failed conversion raises
// EConvertError, which Locate relies on to tell "no match" from real errors.
#include <cstdint>
#include <string>

#include "toolkit/db/BcdRecord.h"
#include "toolkit/db/DBTypes.h"
#include "toolkit/db/Variant.h"

namespace db {

// Null and empty give "".
std::string VarToStr(const Variant& value);
// Null raises; empty gives 0; floats are rounded (half to even); text is parsed.
int32_t VarToInt(const Variant& value);
int64_t VarToInt64(const Variant& value);
double VarToFloat(const Variant& value);
TDateTime VarToDateTime(const Variant& value);
bool VarToBool(const Variant& value);
TCurrency VarToCurrency(const Variant& value);
TBcdRecord VarToBcd(const Variant& value);
// The value converted to the given kind; null and empty stay as they are.
Variant VarAsType(const Variant& value, TVarType type);
// The name of a kind, as conversion errors show it ("Integer", "String", ...).
std::string VarTypeName(TVarType type);

// Currency: 64-bit integer scaled by 10000.
std::string CurrToStr(TCurrency value);
TCurrency FloatToCurr(double value);
double CurrToFloat(TCurrency value);

// Packed decimal to and from text with the module's decimal separator.
std::string BcdToStr(const TBcdRecord& value);
TBcdRecord StrToBcd(const std::string& text);
double BcdToDouble(const TBcdRecord& value);
TBcdRecord DoubleToBcd(double value);

std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace db
