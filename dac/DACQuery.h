#pragma once
// The query component of the application's forms: it runs on the connection of its
// transaction, creates its parameters from its text on first use, and its Open describes the
// parameters and hands each name's value to later occurrences of exactly that name before
// opening. Opening a query that is already open executes nothing.
#include <string>

#include "dac/ODBCQuery.h"

namespace dac {

class TDACDatabase;
class TDACTransaction;

class TDACQuery : public TODBCQuery {
 public:
  TDACQuery() = default;
  ~TDACQuery() override;

  TDACTransaction* Transaction() const { return transaction_; }
  void SetTransaction(TDACTransaction* transaction) { transaction_ = transaction; }
  // Stored only; another database than the transaction's clears Transaction.
  TDACDatabase* Database() const { return database_; }
  void SetDatabase(TDACDatabase* database);
  // Stored only; nothing reads it.
  bool ForcedRefresh() const { return forcedRefresh_; }
  void SetForcedRefresh(bool value) { forcedRefresh_ = value; }
  // The connection always comes from Transaction: setting it is ignored.
  void SetConnection(TODBCConnection*) override {}

  // Creates the parameters from SQL first when that is due.
  TODBCParams& Params() override;
  // Without creating the parameters.
  size_t ParamCount() { return OwnParams().Count(); }
  bool ParamsCreated() const { return paramsCreated_; }

  // The application's open: connect, prepare, describe the parameters, hand values on
  // between parameters of the same name (case counts), open. Setting Active instead never
  // hands values on.
  void Open();

 protected:
  void EnsureConnection() override;
  void InternalPrepare() override;
  void SQLChanged() override;

 private:
  void AttachTransactionConnection();
  void CreateParams();
  void DescribeQueryParams(TODBCParams& params);
  void PropagateDuplicateNames();

  TDACTransaction* transaction_ = nullptr;
  TDACDatabase* database_ = nullptr;
  bool forcedRefresh_ = false;
  bool paramsCreated_ = false;
};

}  // namespace dac
