#include "dac/ODBCQuery.h"

#include "dac/ODBCQueryConsts.h"
#include "dac/ODBCStmt.h"
#include "toolkit/db/DataLink.h"

namespace dac {

TODBCQuery::~TODBCQuery() {
  try {
    Close();
    SetPrepared(false);
    TODBCCustomDataSetEx::SetConnection(nullptr);
  } catch (...) {
    // The statement frees its handle on its own.
  }
}

void TODBCQuery::SetSQL(const TStrings& lines) {
  if (lines == sql_) return;
  Close();
  sql_ = lines;
  SQLChanged();
}

void TODBCQuery::AddSQL(const std::string& line) {
  sql_.push_back(line);
  SQLChanged();
}

std::string TODBCQuery::SQLText() const { return LinesToText(sql_); }

void TODBCQuery::SQLChanged() {
  if (loading_) {
    processedSQL_ = params_.ParseSQL(SQLText(), false);
  } else {
    Close();
    SetPrepared(false);
    if (ParamCheck()) {
      // Values of names found in both texts survive.
      TODBCParams fresh;
      processedSQL_ = fresh.ParseSQL(SQLText(), true);
      fresh.AssignValues(params_);
      params_.Clear();
      for (size_t i = 0; i < fresh.Count(); ++i) params_.Add().Assign(fresh.Items(i));
    } else {
      processedSQL_ = SQLText();
    }
    DataEvent(db::deLayoutChange, 0);
  }
  TODBCStatement& statement = Statement();
  statement.SetLoading(loading_);
  statement.SetSQL(sql_);
}

void TODBCQuery::SetPrepared(bool value) {
  CheckClosed();
  if (prepared_ == value) return;
  if (value)
    InternalPrepare();
  else
    InternalUnprepare();
  prepared_ = value;
}

void TODBCQuery::InternalOpen() {
  SetPrepared(true);
  if (DataSource()) SetParamsFromMaster();
  PassParamsToStatement();
  TODBCCustomDataSetEx::InternalOpen();
}

void TODBCQuery::ExecSQL() {
  SetPrepared(true);
  if (DataSource()) SetParamsFromMaster();
  PassParamsToStatement();
  Statement().Execute();
}

void TODBCQuery::PassParamsToStatement() {
  TODBCParams& own = Params();
  TODBCParams& target = Statement().Params();
  target.Clear();
  for (size_t i = 0; i < own.Count(); ++i) target.Add().Assign(own.Items(i));
}

void TODBCQuery::SetParamsFromMaster() {
  db::TDataSet* master = DataSource()->DataSet();
  TODBCParams& params = Params();
  if (!master) {
    for (size_t i = 0; i < params.Count(); ++i)
      if (!params.Items(i).Bound())
        throw db::EDatabaseError(LoadResString(&SRequiredParamNotSet));
    return;
  }
  master->UpdateFieldDefs();
  for (size_t i = 0; i < params.Count(); ++i) {
    TODBCParam& param = params.Items(i);
    if (param.Bound()) continue;
    param.Assign(master->FieldByName(param.Name()));
    param.SetBound(false);
  }
}

void TODBCQuery::SetDataSource(db::TDataSource* source) {
  if (source && IsLinkedTo(source))
    throw db::EDatabaseError(LoadResString(&SCircularDataLink));
  DataLink().SetDataSource(source);
}

void TODBCQuery::GetDetailLinkFields(std::vector<db::TField*>& masterFields,
                                     std::vector<db::TField*>& detailFields) {
  masterFields.clear();
  detailFields.clear();
  db::TDataSource* source = DataSource();
  db::TDataSet* master = source ? source->DataSet() : nullptr;
  if (!master) return;
  TODBCParams& params = Params();
  for (size_t i = 0; i < params.Count(); ++i) {
    db::TField* masterField = master->FindField(params.Items(i).Name());
    if (!masterField) continue;
    masterFields.push_back(masterField);
    detailFields.push_back(FindField(params.Items(i).Name()));
  }
}

}  // namespace dac
