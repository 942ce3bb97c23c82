#pragma once
// Message texts of the query components (identifiers 1400 to 1499), read through
// LoadResString so that they pass through the translator.
#include "dac/DACConsts.h"

DECLARE_RESOURCESTRING(SCircularDataLink);
DECLARE_RESOURCESTRING(SRequiredParamNotSet);
