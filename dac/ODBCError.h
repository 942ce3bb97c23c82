#pragma once
// The one exception of failed ODBC calls, and the one check every return code goes through.
#include <sql.h>

#include <string>
#include <vector>

#include "toolkit/db/DBTypes.h"

namespace dac {

struct TDiagRec {
  std::string SqlState;
  SQLINTEGER NativeError = 0;
  std::string Message;
};

class EODBCError : public db::EDatabaseError {
 public:
  // Reads every diagnostic record of the handle and builds the message from them.
  EODBCError(SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN retCode);

  // From records already read (the message is built the same way).
  EODBCError(std::vector<TDiagRec> diagRecs, SQLRETURN retCode);

  const std::vector<TDiagRec>& DiagRecs() const { return diagRecs_; }
  SQLRETURN RetCode() const { return retCode_; }

  static std::string BuildMessage(const std::vector<TDiagRec>& diagRecs, SQLRETURN retCode);

 private:

  std::vector<TDiagRec> diagRecs_;
  SQLRETURN retCode_;
};

[[noreturn]] void RaiseODBCError(SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN retCode);

inline void ODBCCheck(SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN retCode) {
  if (!SQL_SUCCEEDED(retCode)) RaiseODBCError(handleType, handle, retCode);
}

// The diagnostic records of a handle, in the driver's order.
std::vector<TDiagRec> ReadDiagRecs(SQLSMALLINT handleType, SQLHANDLE handle);

}  // namespace dac
