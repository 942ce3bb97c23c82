#pragma once
// Message texts of the value holders and cursors (identifiers 1100 to 1199), read through
// LoadResString so that they pass through the translator.
#include "QuenTranslate/ResString.h"

DECLARE_RESOURCESTRING(SInvalidDataConversion);
DECLARE_RESOURCESTRING(SCursorClosed);
DECLARE_RESOURCESTRING(SParamCountError);
