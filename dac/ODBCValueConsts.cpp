#include "dac/ODBCValueConsts.h"

DEFINE_RESOURCESTRING(SInvalidDataConversion, 1100, "Invalid data conversion");
DEFINE_RESOURCESTRING(SCursorClosed, 1101, "Cannot perform this operation on a closed cursor");
DEFINE_RESOURCESTRING(SParamCountError, 1102, "Error ...");
