#include "dac/ODBCError.h"

#include "dac/DACConsts.h"
#include "dac/ODBCApi.h"
#include "dac/Utf8.h"

namespace dac {

std::vector<TDiagRec> ReadDiagRecs(SQLSMALLINT handleType, SQLHANDLE handle) {
  std::vector<TDiagRec> records;
  if (!odbcapi::SQLGetDiagRec) return records;
  for (SQLSMALLINT number = 1;; ++number) {
    SQLCHAR state[6] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR message[256] = {};
    SQLRETURN rc = odbcapi::SQLGetDiagRec(handleType, handle, number, state, &nativeError,
                                          message, sizeof message, nullptr);
    // Anything but a record (no more data, an error, an invalid handle) ends the collection.
    if (!SQL_SUCCEEDED(rc)) break;
    message[sizeof message - 1] = 0;
    records.push_back({reinterpret_cast<char*>(state), nativeError,
                       DropPartialCharacter(reinterpret_cast<char*>(message))});
  }
  return records;
}

EODBCError::EODBCError(SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN retCode)
    : EODBCError(retCode == SQL_ERROR || retCode == SQL_SUCCESS_WITH_INFO
                     ? ReadDiagRecs(handleType, handle)
                     : std::vector<TDiagRec>{},
                 retCode) {}

EODBCError::EODBCError(std::vector<TDiagRec> diagRecs, SQLRETURN retCode)
    : db::EDatabaseError(BuildMessage(diagRecs, retCode)),
      diagRecs_(std::move(diagRecs)),
      retCode_(retCode) {}

std::string EODBCError::BuildMessage(const std::vector<TDiagRec>& diagRecs, SQLRETURN retCode) {
  std::string message;
  switch (retCode) {
    case SQL_ERROR:
    case SQL_SUCCESS_WITH_INFO:
      for (const TDiagRec& record : diagRecs) {
        message += record.Message + "\r\n" + LoadResString(&SSQLStateCaption) + record.SqlState +
                   "\r\n" + LoadResString(&SNativeErrorCaption) +
                   std::to_string(record.NativeError) + "\r\n";
      }
      break;
    case SQL_STILL_EXECUTING: message = LoadResString(&SStillExecuting); break;
    case SQL_NEED_DATA: message = LoadResString(&SNeedData); break;
    case SQL_NO_DATA: message = LoadResString(&SNoDataFound); break;
    case SQL_INVALID_HANDLE: message = LoadResString(&SInvalidHandle); break;
    default: message = FormatRes(SUnknownReturnCode, static_cast<int>(retCode)); break;
  }
  if (message.empty()) message = FormatRes(SNoDiagInfo, static_cast<int>(retCode));
  return message;
}

void RaiseODBCError(SQLSMALLINT handleType, SQLHANDLE handle, SQLRETURN retCode) {
  throw EODBCError(handleType, handle, retCode);
}

}  // namespace dac
