#include "dac/DACSQL.h"

#include "dac/DACDatabase.h"
#include "dac/DACTransaction.h"
#include "dac/DescribeParams.h"
#include "dac/ParamParser.h"

namespace dac {

void TDACSQL::SetDatabase(TDACDatabase* database) {
  database_ = database;
  if (!Loading() && transaction_ && transaction_->DefaultDatabase() != database)
    transaction_ = nullptr;
}

TODBCParams& TDACSQL::Params() {
  if (!paramsCreated_ && ParamCheck()) CreateParams();
  return OwnParams();
}

void TDACSQL::CreateParams() {
  paramsCreated_ = true;
  TODBCParams& params = OwnParams();
  // The statement keeps sending the text processed at the last change of SQL.
  params.ParseSQL(SQLText(), true);
  for (size_t i = 0; i < params.Count(); ++i) {
    TODBCParam& param = params.Items(i);
    param.SetParamType(db::ptInput);
    param.SetSQLType(0);
    param.SetValue(db::Variant::Null());
  }
  PrepareAndDescribe();
}

void TDACSQL::PrepareAndDescribe() {
  if (!Connection()) AttachTransactionConnection();
  if (!Prepared()) Prepare();
  if (!SupportsDescribeParam()) return;  // the driver's answer, kept per connection
  TODBCParams& params = OwnParams();
  DescribeParams(Connection(), StatementHandle(), params.Count(),
                 [&params](size_t i) -> TODBCParam& { return params.Items(i); });
}

void TDACSQL::PropagateDuplicateNames() {
  TODBCParams& params = OwnParams();
  for (size_t i = 0; i < params.Count(); ++i)
    for (size_t j = i + 1; j < params.Count(); ++j)
      if (SameParamName(params.Items(i).Name(), params.Items(j).Name()))
        params.Items(j).Assign(params.Items(i));
}

void TDACSQL::ExecQuery() {
  CheckClosed();
  if (!Prepared()) Prepare();
  if (!paramsCreated_ && ParamCheck())
    CreateParams();
  else
    PrepareAndDescribe();
  PropagateDuplicateNames();
  Execute();
}

void TDACSQL::AttachTransactionConnection() {
  if (!transaction_) return;
  TODBCConnection* connection = transaction_->GetConnection();
  if (Connection() != connection) AttachConnection(connection);
}

void TDACSQL::InternalPrepare() {
  AttachTransactionConnection();
  TODBCStatement::InternalPrepare();
}

void TDACSQL::InternalUnprepare() {
  TODBCStatement::InternalUnprepare();
  paramsCreated_ = false;
}

void TDACSQL::SQLChanged() {
  paramsCreated_ = false;
  TODBCStatement::SQLChanged();
}

}  // namespace dac
