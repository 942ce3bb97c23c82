#include "dac/DescribeParams.h"

#include <stdexcept>

#include "dac/ODBCApi.h"
#include "dac/ODBCConnection.h"
#include "dac/ODBCError.h"
#include "dac/ODBCParam.h"
#include "dac/ODBCTypeMaps.h"
#include "dac/ODBCValueConsts.h"

namespace dac {

void DescribeParams(TODBCConnection* connection, SQLHSTMT statement, size_t count,
                    const std::function<TODBCParam&(size_t)>& item) {
  if (statement == SQL_NULL_HSTMT || connection == nullptr ||
      !connection->SupportsDescribeParam())
    return;
  SQLSMALLINT markers = 0;
  ODBCCheck(SQL_HANDLE_STMT, statement, odbcapi::SQLNumParams(statement, &markers));
  if (count > size_t(std::max<SQLSMALLINT>(markers, 0)))
    throw std::runtime_error(LoadResString(&SParamCountError));
  for (size_t i = 0; i < count; ++i) {
    TODBCParam& param = item(i);
    if (param.IsNull()) param.SetValue(db::Variant::Null());
    SQLSMALLINT dataType = 0, decimalDigits = 0, nullable = 0;
    SQLULEN parameterSize = 0;
    // Only a plain success counts; a warning leaves the parameter as it is.
    if (odbcapi::SQLDescribeParam(statement, SQLUSMALLINT(i + 1), &dataType, &parameterSize,
                                  &decimalDigits, &nullable) != SQL_SUCCESS)
      continue;
    param.SetDataType(SQLTypeToFieldType(dataType));
    param.SetColumnSize(parameterSize);
    param.SetDecimalDigits(decimalDigits);
    param.SetParamType(db::ptInput);
  }
}

void DescribeParams(TODBCConnection* connection, SQLHSTMT statement,
                    std::span<TODBCParam* const> params) {
  DescribeParams(connection, statement, params.size(),
                 [&params](size_t i) -> TODBCParam& { return *params[i]; });
}

}  // namespace dac
