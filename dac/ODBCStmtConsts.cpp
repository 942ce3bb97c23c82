#include "dac/ODBCStmtConsts.h"

DEFINE_RESOURCESTRING(SParamNotFound, 1200, "Parameter '%s' not found");
DEFINE_RESOURCESTRING(SNoStatementsToRun, 1201, "There are not statements to run");
DEFINE_RESOURCESTRING(SNoUniqueKey, 1202,
                      "Insufficient key column information for updating or refreshing");
DEFINE_RESOURCESTRING(SStatementCursorOpen, 1203, "Cannot perform this operation on an open cursor");
DEFINE_RESOURCESTRING(SConnectionNotAssigned, 1204, "Connection property not assigned");
