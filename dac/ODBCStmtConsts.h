#pragma once
// Message texts of statements and parameters (identifiers 1200 to 1299), read through
// LoadResString so that they pass through the translator.
#include "dac/DACConsts.h"

DECLARE_RESOURCESTRING(SParamNotFound);
DECLARE_RESOURCESTRING(SNoStatementsToRun);
DECLARE_RESOURCESTRING(SNoUniqueKey);
DECLARE_RESOURCESTRING(SStatementCursorOpen);
DECLARE_RESOURCESTRING(SConnectionNotAssigned);

namespace dac {
// Fixed texts that no translation touches.
inline constexpr const char* kBlobDataError = "Error Setting data for blob";
inline constexpr const char* kOnParamCaption = "on Param :";
}  // namespace dac
