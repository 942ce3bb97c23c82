#pragma once
// The one owner of an ODBC handle: frees it in its destructor, never throws from there.
#include <sql.h>

namespace dac {

class TODBCHandle {
 public:
  explicit TODBCHandle(SQLSMALLINT type) : type_(type) {}
  ~TODBCHandle() { Release(); }
  TODBCHandle(const TODBCHandle&) = delete;
  TODBCHandle& operator=(const TODBCHandle&) = delete;

  // Allocates a handle of this owner's type under parent. A failure is checked against the
  // parent (against SQL_HANDLE_ENV with a null handle for the environment itself).
  void Allocate(SQLHANDLE parent);
  // Frees through the driver manager and raises EODBCError on failure, keeping the handle.
  void Free();
  // Frees and forgets, ignoring any error; for destructors and error paths.
  void Release() noexcept;
  // Takes over the handle of other (of the same type), releasing what this one held.
  void TakeFrom(TODBCHandle& other) noexcept;

  SQLHANDLE Get() const { return handle_; }
  SQLSMALLINT Type() const { return type_; }
  explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }

 private:
  SQLSMALLINT type_;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

}  // namespace dac
