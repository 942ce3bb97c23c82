#pragma once
// Maps between SQL data types, C data types and the dataset layer's field and parameter types.
#include <sql.h>
#include <sqlext.h>

#include <cstdint>

#include "toolkit/db/DBTypes.h"

namespace dac {

// Bytes of the bound buffer for a column of the given SQL type; 0 for long and unknown types,
// which are not bound. Character columns hold up to 4 bytes per character (UTF-8).
int64_t SQLTypeBufferSize(SQLSMALLINT sqlType, SQLULEN columnSize);
// The C type a column of this SQL type is fetched as; 0 for unknown types.
SQLSMALLINT SQLTypeToCType(SQLSMALLINT sqlType);
db::TFieldType SQLTypeToFieldType(SQLSMALLINT sqlType);
// Long columns are not bound but read in chunks after each fetch.
bool IsLongDataType(SQLSMALLINT sqlType);

SQLSMALLINT FieldTypeToSQLType(db::TFieldType fieldType);
SQLSMALLINT FieldTypeToCType(db::TFieldType fieldType);
SQLSMALLINT ParamTypeToODBCDirection(db::TParamType paramType);

}  // namespace dac
