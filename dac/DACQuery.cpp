#include "dac/DACQuery.h"

#include "dac/DACTransaction.h"
#include "dac/DescribeParams.h"
#include "dac/ODBCConnection.h"
#include "dac/ODBCStmt.h"

namespace dac {

TDACQuery::~TDACQuery() {
  try {
    Close();
  } catch (...) {
  }
}

void TDACQuery::SetDatabase(TDACDatabase* database) {
  database_ = database;
  if (transaction_ && transaction_->DefaultDatabase() != database && !Loading())
    transaction_ = nullptr;
}

void TDACQuery::AttachTransactionConnection() {
  if (!transaction_) return;
  TODBCConnection* connection = transaction_->GetConnection();
  if (Connection() != connection) TODBCCustomDataSetEx::SetConnection(connection);
}

void TDACQuery::EnsureConnection() {
  AttachTransactionConnection();
  TODBCQuery::EnsureConnection();
}

void TDACQuery::InternalPrepare() {
  AttachTransactionConnection();
  TODBCQuery::InternalPrepare();
  DescribeQueryParams(Params());
}

void TDACQuery::SQLChanged() {
  paramsCreated_ = false;
  TODBCQuery::SQLChanged();
}

TODBCParams& TDACQuery::Params() {
  if (!paramsCreated_) CreateParams();
  return OwnParams();
}

void TDACQuery::CreateParams() {
  AttachTransactionConnection();
  paramsCreated_ = true;
  TODBCParams& params = OwnParams();
  params.ParseSQL(SQLText(), true);
  for (size_t i = 0; i < params.Count(); ++i) {
    params.Items(i).SetParamType(db::ptInput);
    params.Items(i).SetSQLType(0);
  }
  DescribeQueryParams(params);
}

void TDACQuery::DescribeQueryParams(TODBCParams& params) {
  if (!Connection()) AttachTransactionConnection();
  if (!Connection()) return;
  DescribeParams(Connection(), Statement().StatementHandle(), params.Count(),
                 [&params](size_t i) -> TODBCParam& { return params.Items(i); });
}

void TDACQuery::PropagateDuplicateNames() {
  TODBCParams& params = OwnParams();
  for (size_t i = 0; i < params.Count(); ++i)
    for (size_t j = i + 1; j < params.Count(); ++j)
      if (params.Items(i).Name() == params.Items(j).Name())
        params.Items(j).Assign(params.Items(i));
}

void TDACQuery::Open() {
  EnsureConnection();
  if (!Prepared()) SetPrepared(true);
  DescribeQueryParams(Params());
  PropagateDuplicateNames();
  TODBCQuery::Open();
}

}  // namespace dac
