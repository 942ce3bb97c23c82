#include "tests/dac/support_dac.h"

#include "dac/ODBCApi.h"
#include "dac/ODBCError.h"
#include "dac/ODBCHandle.h"

namespace dactest {

void ExecDirect(dac::TODBCConnection& connection, const std::string& sql) {
  dac::TODBCHandle statement(SQL_HANDLE_STMT);
  statement.Allocate(connection.Handle());
  SQLRETURN rc = odbcapi::SQLExecDirect(
      statement.Get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
  if (rc != SQL_NO_DATA) dac::ODBCCheck(SQL_HANDLE_STMT, statement.Get(), rc);
}

std::string QueryScalar(dac::TODBCConnection& connection, const std::string& sql) {
  dac::TODBCHandle statement(SQL_HANDLE_STMT);
  statement.Allocate(connection.Handle());
  dac::ODBCCheck(SQL_HANDLE_STMT, statement.Get(),
                 odbcapi::SQLExecDirect(statement.Get(),
                                        reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                                        SQL_NTS));
  SQLRETURN rc = odbcapi::SQLFetch(statement.Get());
  if (rc == SQL_NO_DATA) return "<no row>";
  dac::ODBCCheck(SQL_HANDLE_STMT, statement.Get(), rc);
  char buffer[1024] = {};
  SQLLEN indicator = 0;
  dac::ODBCCheck(SQL_HANDLE_STMT, statement.Get(),
                 odbcapi::SQLGetData(statement.Get(), 1, SQL_C_CHAR, buffer, sizeof buffer,
                                     &indicator));
  return indicator == SQL_NULL_DATA ? std::string() : std::string(buffer);
}

std::string KindParamName(const testing::TestParamInfo<testdb::Kind>& info) {
  return testdb::KindName(info.param);
}

}  // namespace dactest
