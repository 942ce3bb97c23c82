#include "dac/ODBCCustomDatasetEx.h"

#include "dac/ODBCConnection.h"
#include "dac/ODBCDatasetConsts.h"
#include "dac/ODBCStmt.h"

namespace dac {

TODBCCustomDataSetEx::~TODBCCustomDataSetEx() {
  try {
    Close();
  } catch (...) {
  }
  if (TODBCConnection* connection = Statement().Connection()) connection->UnregisterClient(this);
}

void TODBCCustomDataSetEx::SetConnection(TODBCConnection* value) {
  CheckClosed();
  TODBCStatement& statement = Statement();
  TODBCConnection* current = statement.Connection();
  if (value == current) return;
  if (current) current->UnregisterClient(this);
  statement.SetConnection(value);
  if (value) value->RegisterClient(this, [this](bool connecting) { ConnectionChanged(connecting); });
}

void TODBCCustomDataSetEx::ConnectionChanged(bool connecting) {
  if (!connecting && Active()) Close();
}

void TODBCCustomDataSetEx::DropConnection() {
  TODBCConnection* connection = Statement().Connection();
  TODBCCustomDataSet::DropConnection();
  if (connection) connection->UnregisterClient(this);
}

void TODBCCustomDataSetEx::EnsureConnection() {
  TODBCConnection* connection = Statement().Connection();
  if (!connection) throw db::EDatabaseError(LoadResString(&SDataSetNoConnection));
  if (!connection->Connected()) connection->Open();
}

void TODBCCustomDataSetEx::OpenCursor() {
  EnsureConnection();
  TODBCCustomDataSet::OpenCursor();
}

}  // namespace dac
