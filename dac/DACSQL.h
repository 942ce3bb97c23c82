#pragma once
// The statement component of the application's forms: it runs on the connection of its
// transaction, creates its parameters from its text on first use and executes with them.
#include <string>

#include "dac/ODBCStmt.h"

namespace dac {

class TDACDatabase;
class TDACTransaction;

class TDACSQL : public TODBCStatement {
 public:
  TDACSQL() = default;

  TDACTransaction* Transaction() const { return transaction_; }
  void SetTransaction(TDACTransaction* transaction) { transaction_ = transaction; }
  // Stored only; another database than the transaction's clears Transaction.
  TDACDatabase* Database() const { return database_; }
  void SetDatabase(TDACDatabase* database);
  // Stored only; execution does not consult it.
  bool GoToFirstRecord() const { return goToFirstRecord_; }
  void SetGoToFirstRecord(bool value) { goToFirstRecord_ = value; }
  // The connection always comes from Transaction: setting it is ignored.
  void SetConnection(TODBCConnection*) override {}

  // Creates the parameters from SQL first when that is due.
  TODBCParams& Params() override;
  TODBCParam& ParamByName(const std::string& name) { return Params().ParamByName(name); }
  // Without creating the parameters.
  size_t ParamCount() { return OwnParams().Count(); }
  bool ParamsCreated() const { return paramsCreated_; }
  // Prepares when needed, describes the parameters, hands each name's value to its later
  // occurrences and executes.
  void ExecQuery();

 protected:
  void InternalPrepare() override;
  void InternalUnprepare() override;
  void SQLChanged() override;

 private:
  void AttachTransactionConnection();
  void CreateParams();
  void PrepareAndDescribe();
  void PropagateDuplicateNames();

  bool paramsCreated_ = false;
  TDACTransaction* transaction_ = nullptr;
  TDACDatabase* database_ = nullptr;
  bool goToFirstRecord_ = true;
};

}  // namespace dac
