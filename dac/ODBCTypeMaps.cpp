#include "dac/ODBCTypeMaps.h"

namespace dac {

namespace {

// ODBC 2 names that the ODBC 3 headers fold into other constants.
constexpr SQLSMALLINT kSqlTimeOdbc2 = 10;       // also SQL_INTERVAL
constexpr SQLSMALLINT kSqlDateTimeOdbc2 = 9;    // SQL_DATETIME, also SQL_DATE of ODBC 2
constexpr SQLSMALLINT kFirstIntervalType = 101;  // SQL_INTERVAL_YEAR
constexpr SQLSMALLINT kLastIntervalType = 113;   // SQL_INTERVAL_MINUTE_TO_SECOND

// The driver reports the size of a character column in characters; a UTF-8 character takes
// up to 4 bytes and a UTF-16 one up to two units, so both get 4 bytes per character.
constexpr int64_t kBytesPerCharacter = 4;

bool IsIntervalType(SQLSMALLINT sqlType) {
  return sqlType >= kFirstIntervalType && sqlType <= kLastIntervalType;
}

}  // namespace

int64_t SQLTypeBufferSize(SQLSMALLINT sqlType, SQLULEN columnSize) {
  const int64_t size = int64_t(columnSize);
  if (IsIntervalType(sqlType)) return size + 1;
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
      return kBytesPerCharacter * size + 1;
    case kSqlTimeOdbc2:
      return size + 1;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return 34;
    case SQL_INTEGER:
      return 4;
    case SQL_SMALLINT:
    case SQL_TINYINT:
      return 2;
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
    case SQL_BIGINT:
      return 8;
    case kSqlDateTimeOdbc2:
    case SQL_TYPE_TIMESTAMP:
    case SQL_GUID:
      return 16;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
      return 6;
    case SQL_WCHAR:
    case SQL_WVARCHAR:
      return kBytesPerCharacter * size + 2;
    case SQL_BIT:
    case SQL_BINARY:
    case SQL_VARBINARY:
      return 1;
    default:  // long types and unknown types
      return 0;
  }
}

SQLSMALLINT SQLTypeToCType(SQLSMALLINT sqlType) {
  if (IsIntervalType(sqlType)) return SQL_C_CHAR;
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case kSqlTimeOdbc2:
    case SQL_NUMERIC:
    case SQL_DECIMAL:
    case SQL_LONGVARCHAR:
      return SQL_C_CHAR;
    case SQL_INTEGER:
      return SQL_C_SLONG;
    case SQL_SMALLINT:
    case SQL_TINYINT:
      return SQL_C_SSHORT;
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
      return SQL_C_DOUBLE;
    case SQL_BIGINT:
      return SQL_C_SBIGINT;
    case kSqlDateTimeOdbc2:
    case SQL_TYPE_TIMESTAMP:
      return SQL_C_TYPE_TIMESTAMP;
    case SQL_TYPE_DATE:
      return SQL_C_TYPE_DATE;
    case SQL_TYPE_TIME:
      return SQL_C_TYPE_TIME;
    case SQL_GUID:
      return SQL_C_GUID;
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
      return SQL_C_WCHAR;
    case SQL_BIT:
      return SQL_C_BIT;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return SQL_C_BINARY;
    default:
      return 0;
  }
}

db::TFieldType SQLTypeToFieldType(SQLSMALLINT sqlType) {
  if (IsIntervalType(sqlType)) return db::ftString;
  switch (sqlType) {
    case SQL_CHAR:
    case SQL_WCHAR:
      return db::ftFixedChar;
    case SQL_VARCHAR:
    case SQL_WVARCHAR:
    case kSqlTimeOdbc2:
      return db::ftString;
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return db::ftBCD;
    case SQL_INTEGER:
      return db::ftInteger;
    case SQL_SMALLINT:
    case SQL_TINYINT:
      return db::ftSmallint;
    case SQL_FLOAT:
    case SQL_REAL:
    case SQL_DOUBLE:
      return db::ftFloat;
    case SQL_BIGINT:
      return db::ftLargeint;
    case SQL_TYPE_DATE:
      return db::ftDate;
    case SQL_TYPE_TIME:
      return db::ftTime;
    case SQL_TYPE_TIMESTAMP:
      return db::ftDateTime;
    case SQL_GUID:
      return db::ftGuid;
    case SQL_WLONGVARCHAR:
    case SQL_LONGVARCHAR:
      return db::ftMemo;
    case SQL_BIT:
      return db::ftBoolean;
    case SQL_BINARY:
      return db::ftBytes;
    case SQL_VARBINARY:
      return db::ftVarBytes;
    case SQL_LONGVARBINARY:
      return db::ftBlob;
    default:  // SQL_DATETIME of ODBC 3 included
      return db::ftUnknown;
  }
}

bool IsLongDataType(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_WLONGVARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return true;
    default:
      return false;
  }
}

SQLSMALLINT FieldTypeToSQLType(db::TFieldType fieldType) {
  using namespace db;
  switch (fieldType) {
    case ftString: return SQL_VARCHAR;
    case ftFixedChar: return SQL_CHAR;
    case ftWideString: return SQL_WVARCHAR;
    case ftSmallint:
    case ftWord: return SQL_SMALLINT;
    case ftInteger:
    case ftAutoInc: return SQL_INTEGER;
    case ftLargeint: return SQL_BIGINT;
    case ftBoolean: return SQL_BIT;
    case ftFloat: return SQL_DOUBLE;
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd: return SQL_DECIMAL;
    case ftDate: return SQL_TYPE_DATE;
    case ftTime: return SQL_TYPE_TIME;
    case ftDateTime: return SQL_TYPE_TIMESTAMP;
    case ftBytes: return SQL_BINARY;
    case ftVarBytes: return SQL_VARBINARY;
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftCursor:
    case ftADT:
    case ftOraBlob: return SQL_LONGVARBINARY;
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob: return SQL_LONGVARCHAR;
    case ftGuid: return SQL_GUID;
    default: return 0;
  }
}

SQLSMALLINT FieldTypeToCType(db::TFieldType fieldType) {
  using namespace db;
  switch (fieldType) {
    case ftSmallint: return SQL_C_SSHORT;
    case ftWord: return SQL_C_USHORT;
    case ftInteger: return SQL_C_SLONG;
    case ftAutoInc: return SQL_C_ULONG;
    case ftLargeint: return SQL_C_SBIGINT;
    case ftBoolean: return SQL_C_BIT;
    case ftFloat:
    case ftCurrency: return SQL_C_DOUBLE;
    case ftDate: return SQL_C_TYPE_DATE;
    case ftTime: return SQL_C_TYPE_TIME;
    case ftDateTime: return SQL_C_TYPE_TIMESTAMP;
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftCursor:
    case ftADT:
    case ftOraBlob:
    case ftOraClob: return SQL_C_BINARY;
    case ftGuid: return SQL_C_GUID;
    default: return SQL_C_CHAR;  // texts, decimals, memos and every other type
  }
}

SQLSMALLINT ParamTypeToODBCDirection(db::TParamType paramType) {
  switch (paramType) {
    case db::ptInput: return SQL_PARAM_INPUT;
    case db::ptInputOutput: return SQL_PARAM_INPUT_OUTPUT;
    case db::ptOutput:
    case db::ptResult: return SQL_PARAM_OUTPUT;
    default: return 0;
  }
}

}  // namespace dac
