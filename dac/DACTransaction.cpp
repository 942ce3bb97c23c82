#include "dac/DACTransaction.h"

#include "dac/DACConnectionPool.h"
#include "dac/DACConsts.h"
#include "dac/DACDatabase.h"
#include "toolkit/db/DBTypes.h"

namespace dac {

TDACTransaction::TDACTransaction() = default;

TDACTransaction::~TDACTransaction() {
  try {
    if (Active()) SetActive(false);
  } catch (...) {
  }
  try {
    if (database_) {
      database_->RemoveTransaction(this);
      database_->Pool().ReleaseConnection(connection_);
    }
  } catch (...) {
  }
  if (database_) database_->ForgetTransaction(this);
}

TDACDatabase& TDACTransaction::RequireDatabase() const {
  if (!database_) throw db::EDatabaseError(LoadResString(&SDatabaseRequired));
  return *database_;
}

void TDACTransaction::SetDefaultDatabase(TDACDatabase* database) {
  if (database == database_) return;
  if (database_) {
    database_->RemoveTransaction(this);
    database_->ForgetTransaction(this);
  }
  database_ = database;
  if (database_)
    database_->AddTransaction(this);
  else
    connection_ = nullptr;
}

bool TDACTransaction::Active() const {
  try {
    return connection_ && connection_->Handle() && connection_->Connected() &&
           connection_->InTransaction();
  } catch (...) {
    return false;
  }
}

void TDACTransaction::SetActive(bool value) {
  bool active = Active();
  if (value && !active)
    StartTransaction();
  else if (!value && active)
    EndTransaction(defaultAction_ == TACommit);
}

void TDACTransaction::StartTransaction() {
  TDACDatabase& database = RequireDatabase();
  if (!database.Pool().Contains(connection_))
    connection_ = database.Pool().AcquireConnection(this);
  if (!connection_->Connected()) return;
  if (OnBeforeStartTransaction) OnBeforeStartTransaction(*this);
  connection_->StartTransaction();
  if (OnAfterStartTransaction) OnAfterStartTransaction(*this);
}

void TDACTransaction::EndTransaction(bool commit) {
  if (connection_ && connection_->Connected()) {
    CloseConnectionClients(*connection_);
    const TTransactionEvent& before = commit ? OnBeforeCommit : OnBeforeRollback;
    const TTransactionEvent& after = commit ? OnAfterCommit : OnAfterRollback;
    if (before) before(*this);
    if (commit)
      connection_->Commit();
    else
      connection_->Rollback();
    if (after) after(*this);
  }
  if (AfterTransactionEnd) AfterTransactionEnd(*this);
}

void TDACTransaction::Commit() { EndTransaction(true); }
void TDACTransaction::Rollback() { EndTransaction(false); }

TODBCConnection* TDACTransaction::GetConnection() {
  if (!connection_) StartTransaction();
  return connection_;
}

void TDACTransaction::ReleaseConnection() {
  if (connection_) {
    TODBCConnection* borrowed = connection_;
    if (database_) {
      database_->RemoveTransaction(this);
      database_->Pool().ReleaseConnection(borrowed);
    }
  }
  connection_ = nullptr;
  SetActive(false);
}

void TDACTransaction::DatabaseDestroyed() {
  database_ = nullptr;
  connection_ = nullptr;
}

}  // namespace dac
