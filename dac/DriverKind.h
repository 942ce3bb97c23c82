#pragma once
// The driver family and the database product behind a connection, recognised from the names
// the driver reports or from the "Driver" key of the connection parameters.
#include <sql.h>

#include <string>

namespace dac {

enum TODBCDriverKind {
  dkUnknown, dkSQLBase, dkMSSQLServer, dkDB2, dkMSJet, dkMyODBC, dkMyODBC3, dkInterBase,
  dkInformix, dkOracle, dkSybase, dkSQLite, dkThinkSQL, dkINOLE, dkW3ODBC, dkNXODBC,
  dkPostgreSQL, dkCache, dkDBase, dkSAPDB
};

enum TDBMSKind {
  dbmsUnknown = 0, dbmsSQLBase = 1, dbmsMSSQLServer = 2, dbmsDB2 = 3, dbmsMySQL = 4,
  dbmsAccess = 6, dbmsExcel = 7, dbmsText = 8, dbmsDBase = 9, dbmsParadox = 10, dbmsOracle = 11,
  dbmsInterBase = 12, dbmsInformix = 13, dbmsSybase = 14, dbmsSQLite = 15, dbmsThinkSQL = 16,
  dbmsSAPDB = 17, dbmsPervasive = 18, dbmsFlashFiler = 19, dbmsPostgreSQL = 20, dbmsCache = 21
};

// From the driver's file name (SQL_DRIVER_NAME). SAP DB's driver shares its prefix with
// others, so the product kind of the same connection decides it.
TODBCDriverKind DriverKindFromName(const std::string& driverFileName,
                                   TDBMSKind dbmsKindOfSameConnection);
// From the product name (SQL_DBMS_NAME).
TDBMSKind DBMSKindFromName(const std::string& dbmsName);
// From the value of the "Driver" connection parameter, before connecting.
TDBMSKind DBMSKindFromDriverParam(const std::string& driverValue);
// Maps driver-specific column types onto standard ones.
void RemapDriverSQLType(TODBCDriverKind kind, SQLSMALLINT& sqlType);

}  // namespace dac
