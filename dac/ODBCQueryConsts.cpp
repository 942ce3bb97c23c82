#include "dac/ODBCQueryConsts.h"

DEFINE_RESOURCESTRING(SCircularDataLink, 1400, "Circular datalinks are not allowed");
DEFINE_RESOURCESTRING(SRequiredParamNotSet, 1401, "Required Param value not set");
