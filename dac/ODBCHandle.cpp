#include "dac/ODBCHandle.h"

#include "dac/ODBCApi.h"
#include "dac/ODBCError.h"

namespace dac {
namespace {
SQLSMALLINT parentType(SQLSMALLINT type) {
  switch (type) {
    case SQL_HANDLE_DBC: return SQL_HANDLE_ENV;
    case SQL_HANDLE_STMT:
    case SQL_HANDLE_DESC: return SQL_HANDLE_DBC;
    default: return SQL_HANDLE_ENV;
  }
}
}  // namespace

void TODBCHandle::Allocate(SQLHANDLE parent) {
  Release();
  SQLHANDLE allocated = SQL_NULL_HANDLE;
  SQLRETURN rc = odbcapi::SQLAllocHandle(type_, parent, &allocated);
  if (!SQL_SUCCEEDED(rc)) {
    if (allocated != SQL_NULL_HANDLE) odbcapi::SQLFreeHandle(type_, allocated);
    RaiseODBCError(parentType(type_), type_ == SQL_HANDLE_ENV ? SQL_NULL_HANDLE : parent, rc);
  }
  handle_ = allocated;
}

void TODBCHandle::Free() {
  if (!handle_) return;
  ODBCCheck(type_, handle_, odbcapi::SQLFreeHandle(type_, handle_));
  handle_ = SQL_NULL_HANDLE;
}

void TODBCHandle::Release() noexcept {
  if (!handle_) return;
  if (odbcapi::SQLFreeHandle) odbcapi::SQLFreeHandle(type_, handle_);
  handle_ = SQL_NULL_HANDLE;
}

void TODBCHandle::TakeFrom(TODBCHandle& other) noexcept {
  if (&other == this) return;
  Release();
  handle_ = other.handle_;
  other.handle_ = SQL_NULL_HANDLE;
}

}  // namespace dac
