#include "dac/DACConsts.h"


DEFINE_RESOURCESTRING(SStillExecuting, 1001, "Still executing");
DEFINE_RESOURCESTRING(SNeedData, 1002, "Need data");
DEFINE_RESOURCESTRING(SNoDataFound, 1003, "No data found");
DEFINE_RESOURCESTRING(SInvalidHandle, 1004, "Invalid handle");
DEFINE_RESOURCESTRING(SUnknownReturnCode, 1005, "Unknown return code: %d");
DEFINE_RESOURCESTRING(SNoDiagInfo, 1006, "ODBC Return Code: %d\r\nNo ODBC diagnostic info available");
DEFINE_RESOURCESTRING(SSQLStateCaption, 1007, "SQLSTATE : ");
DEFINE_RESOURCESTRING(SNativeErrorCaption, 1008, "Native error code: ");
DEFINE_RESOURCESTRING(SODBCLibraryNotFound, 1009, "ODBC library %s not found in the path");
DEFINE_RESOURCESTRING(SBcdOverflow, 1010, "BCD overflow");
DEFINE_RESOURCESTRING(SInvalidBcdValue, 1011, "%s is not a valid BCD value");
DEFINE_RESOURCESTRING(SEnvironmentRequired, 1012, "Environment property required for this operation");
DEFINE_RESOURCESTRING(SConnectionClosed, 1013, "Cannot perform this operation on a closed connection");
DEFINE_RESOURCESTRING(SConnectionOpen, 1014, "Cannot perform this operation on an open connection");
DEFINE_RESOURCESTRING(SLoginCancelled, 1015, "Operation cancelled at user's request");
DEFINE_RESOURCESTRING(SUnspecifiedDriver, 1016, "Unspecified odbc driver.");

DEFINE_RESOURCESTRING(SDatabaseRequired, 1017, "Database property required for this operation");
