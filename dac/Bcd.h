#pragma once
// Conversions between decimal text (with the module's decimal separator) and packed decimals.
// Decimal columns travel as text; these keep their digits exact.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "toolkit/db/BcdRecord.h"

namespace dac {

class EBcdException : public std::runtime_error {
 public:
  explicit EBcdException(const std::string& message) : std::runtime_error(message) {}
};

class EBcdOverflowException : public EBcdException {
 public:
  explicit EBcdOverflowException(const std::string& message) : EBcdException(message) {}
};

// Accepts digits, the decimal separator and a minus sign; false for anything else.
bool TryTextToBcd(const std::string& text, db::TBcdRecord& bcd);
// Also reads exponent forms and thousands separators; keeps at most 11 decimals (cut, not
// rounded). Raises EBcdException, or db::EConvertError for a bad exponent form.
void TextToBcd(const std::string& text, db::TBcdRecord& bcd);
// Raises EBcdOverflowException for a record that holds no valid value.
std::string BcdToText(const db::TBcdRecord& bcd);
double BcdToFloat(const db::TBcdRecord& bcd);
// Through 14 significant digits.
void FloatToBcd(double value, db::TBcdRecord& bcd);
void IntToBcd(int32_t value, db::TBcdRecord& bcd);

}  // namespace dac
