#pragma once
// The dataset with its connection: the connection is the owned statement's; the dataset is
// registered with it and closes itself when the connection closes.
#include "dac/ODBCCustomDataset.h"

namespace dac {

class TODBCCustomDataSetEx : public TODBCCustomDataSet {
 public:
  TODBCCustomDataSetEx() = default;
  ~TODBCCustomDataSetEx() override;

  TODBCConnection* Connection() { return Statement().Connection(); }
  // Only while closed; the dataset moves its registration to the new connection.
  virtual void SetConnection(TODBCConnection* value);

  void DropConnection() override;

 protected:
  // EDatabaseError "Connection property not assigned" without a connection; connects it.
  virtual void EnsureConnection();
  void OpenCursor() override;

 private:
  void ConnectionChanged(bool connecting);
};

}  // namespace dac
