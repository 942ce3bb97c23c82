#pragma once
// Identification of the driver and database product behind a connection handle.
#include <sql.h>

#include "dac/DriverKind.h"

namespace dac {

// Ask the driver each time (SQL_DRIVER_NAME / SQL_DBMS_NAME); a failure raises EODBCError.
TODBCDriverKind GetDriverKind(SQLHDBC connectionHandle);
TDBMSKind GetDBMSKind(SQLHDBC connectionHandle);

}  // namespace dac
