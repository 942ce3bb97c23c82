#pragma once
// Run-time binding of the ODBC driver manager. Every ODBC call of the layer goes through the
// entry points resolved here (odbcapi::SQLxxx), never through a link-time dependency.
#include <sql.h>
#include <sqlext.h>

#include <string>

#define MORVEL_ODBC_ENTRY_POINTS(X)                                                            \
  X(SQLAllocConnect) X(SQLAllocEnv) X(SQLAllocHandle) X(SQLAllocStmt) X(SQLBindCol)             \
  X(SQLBindParam) X(SQLCancel) X(SQLCloseCursor) X(SQLColAttribute) X(SQLColumns)               \
  X(SQLConnect) X(SQLCopyDesc) X(SQLDataSources) X(SQLDescribeCol) X(SQLDisconnect)             \
  X(SQLEndTran) X(SQLError) X(SQLExecDirect) X(SQLExecute) X(SQLFetch) X(SQLMoreResults)        \
  X(SQLFetchScroll) X(SQLFreeConnect) X(SQLFreeEnv) X(SQLFreeHandle) X(SQLFreeStmt)             \
  X(SQLGetConnectAttr) X(SQLGetConnectOption) X(SQLGetCursorName) X(SQLGetData)                 \
  X(SQLGetDescField) X(SQLGetDescRec) X(SQLGetDiagField) X(SQLGetDiagRec) X(SQLGetEnvAttr)      \
  X(SQLGetFunctions) X(SQLGetInfo) X(SQLGetStmtAttr) X(SQLGetStmtOption) X(SQLGetTypeInfo)      \
  X(SQLNumResultCols) X(SQLParamData) X(SQLPrepare) X(SQLPutData) X(SQLRowCount)                \
  X(SQLSetConnectAttr) X(SQLSetConnectOption) X(SQLSetCursorName) X(SQLSetDescField)            \
  X(SQLSetDescRec) X(SQLSetEnvAttr) X(SQLSetParam) X(SQLSetStmtAttr) X(SQLSetStmtOption)        \
  X(SQLSpecialColumns) X(SQLStatistics) X(SQLPrimaryKeys) X(SQLForeignKeys)                     \
  X(SQLTablePrivileges) X(SQLColumnPrivileges) X(SQLNumParams) X(SQLTables) X(SQLTransact)      \
  X(SQLDrivers) X(SQLProcedures) X(SQLProcedureColumns) X(SQLDriverConnect)                     \
  X(SQLDescribeParam) X(SQLBindParameter)

namespace odbcapi {
#define MORVEL_DECLARE_ENTRY(name) extern decltype(&::name) name;
MORVEL_ODBC_ENTRY_POINTS(MORVEL_DECLARE_ENTRY)
#undef MORVEL_DECLARE_ENTRY

// Number of entry points bound (69).
int EntryPointCount();
}  // namespace odbcapi

namespace dac {

// The driver manager's file name; tests may point it elsewhere before the first load.
const std::string& ODBCLibraryName();
void SetODBCLibraryName(const std::string& name);

// Loads the library and resolves every entry point; does nothing visible when it is absent.
// A library that lacks an entry point raises std::runtime_error and is released again.
void LoadODBCLibrary();
bool ODBCLibraryLoaded();
// Raises EDatabaseError "ODBC library %s not found in the path" when it cannot be loaded.
void RequireODBCLibrary();
void UnloadODBCLibrary();

}  // namespace dac
