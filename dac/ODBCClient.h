#pragma once
// What a connection knows of the statements and datasets that use it.
#include <functional>

namespace dac {

class TODBCClient {
 public:
  virtual ~TODBCClient() = default;
  // Datasets go into the dataset list; statements into the statement list unless a dataset
  // owns them.
  virtual bool IsDataSet() const = 0;
  virtual bool OwnedByDataSet() const { return false; }
  // The connection is being destroyed: forget it (unregistering from it).
  virtual void DropConnection() = 0;
  // A statement: whether its cursor is open; a dataset: whether it is not inactive.
  virtual bool ClientActive() const = 0;
  // A statement closes its cursor; a dataset closes itself.
  virtual void CloseClient() = 0;
};

// Called with true when the connection has opened, false when it is about to close.
using TConnectChangeEvent = std::function<void(bool connecting)>;

}  // namespace dac
