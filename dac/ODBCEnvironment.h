#pragma once
// One ODBC environment handle, and the process-wide default environment "Default".
#include <mutex>
#include <string>
#include <vector>

#include "dac/ODBCHandle.h"

namespace dac {

class TODBCConnection;

class TODBCEnvironment {
 public:
  // Makes sure the driver manager is loaded (raises when it is not to be had).
  explicit TODBCEnvironment(std::string name = std::string());
  ~TODBCEnvironment();
  TODBCEnvironment(const TODBCEnvironment&) = delete;
  TODBCEnvironment& operator=(const TODBCEnvironment&) = delete;

  bool Active() const { return static_cast<bool>(handle_); }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  SQLHENV Handle() const { return handle_.Get(); }
  const std::string& Name() const { return name_; }

  // The connection list; TODBCConnection keeps itself in it.
  void AttachConnection(TODBCConnection* connection);
  void DetachConnection(TODBCConnection* connection);
  size_t ConnectionCount() const;

 private:
  void DoOpen();
  void DoClose();

  std::string name_;
  TODBCHandle handle_{SQL_HANDLE_ENV};
  bool libraryReady_ = false;
  std::vector<TODBCConnection*> connections_;
};

// The layer lock: guards environment handles and environments' connection lists.
std::mutex& LayerLock();

// The default environment, created and opened on first use; raises when the driver manager
// is missing (and is looked for again at the next call).
TODBCEnvironment& DefaultEnvironment();

}  // namespace dac
