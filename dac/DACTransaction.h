#pragma once
// One database transaction on a connection borrowed from its database's pool, kept across
// commits and rollbacks until the transaction is destroyed or the database disconnects.
#include <functional>

#include "dac/ParamLines.h"

namespace dac {

class TDACDatabase;
class TODBCConnection;

enum TDACTransactionAction { TACommit = 0, TARollback = 1 };

class TDACTransaction {
 public:
  using TTransactionEvent = std::function<void(TDACTransaction& sender)>;

  TDACTransaction();
  ~TDACTransaction();
  TDACTransaction(const TDACTransaction&) = delete;
  TDACTransaction& operator=(const TDACTransaction&) = delete;

  TDACDatabase* DefaultDatabase() const { return database_; }
  void SetDefaultDatabase(TDACDatabase* database);
  // A borrowed, connected connection with autocommit off; any error reads as false.
  bool Active() const;
  void SetActive(bool value);
  TDACTransactionAction DefaultAction() const { return defaultAction_; }
  void SetDefaultAction(TDACTransactionAction value) { defaultAction_ = value; }
  const TStrings& Params() const { return params_; }
  void SetParams(const TStrings& lines) { params_ = lines; }

  TTransactionEvent AfterTransactionEnd, OnBeforeCommit, OnAfterCommit, OnBeforeRollback,
      OnAfterRollback, OnBeforeStartTransaction, OnAfterStartTransaction;

  void StartTransaction();
  void Commit();
  void Rollback();
  // The borrowed connection, starting the transaction first when there is none.
  TODBCConnection* GetConnection();
  // The database disconnects: end by the default action and give the connection back.
  void ReleaseConnection();
  // The database is being destroyed: forget it and its pool's connection.
  void DatabaseDestroyed();

 private:
  TDACDatabase& RequireDatabase() const;
  void EndTransaction(bool commit);

  TDACDatabase* database_ = nullptr;
  TODBCConnection* connection_ = nullptr;
  TDACTransactionAction defaultAction_ = TACommit;
  TStrings params_{"read_committed", "nowait"};
};

}  // namespace dac
