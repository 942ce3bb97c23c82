#include "dac/DriverInfo.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "dac/ODBCApi.h"
#include "dac/ODBCError.h"

namespace dac {
namespace {
std::string infoText(SQLHDBC connectionHandle, SQLUSMALLINT infoType) {
  char buffer[129] = {};
  SQLSMALLINT length = 0;
  ODBCCheck(SQL_HANDLE_DBC, connectionHandle,
            odbcapi::SQLGetInfo(connectionHandle, infoType, buffer, sizeof buffer, &length));
  buffer[sizeof buffer - 1] = 0;
  return buffer;
}
}  // namespace

TODBCDriverKind GetDriverKind(SQLHDBC connectionHandle) {
  std::string name = infoText(connectionHandle, SQL_DRIVER_NAME);
  std::string upper = name;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  // Only the SAP DB rule needs the product name; ask for it only then.
  TDBMSKind dbmsKind =
      upper.rfind("SQLOD", 0) == 0 ? GetDBMSKind(connectionHandle) : dbmsUnknown;
  return DriverKindFromName(name, dbmsKind);
}

TDBMSKind GetDBMSKind(SQLHDBC connectionHandle) {
  return DBMSKindFromName(infoText(connectionHandle, SQL_DBMS_NAME));
}

}  // namespace dac
