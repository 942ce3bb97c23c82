#pragma once
// A dataset with SQL text and named parameters on a connection. The query keeps its own
// parameter list; the statement's list is refilled from it at every open and execution.
// With a data source, parameters without a value of their own take the master's fields.
#include <sql.h>

#include <string>
#include <vector>

#include "dac/ODBCCustomDatasetEx.h"
#include "dac/ODBCParams.h"
#include "dac/ParamLines.h"

namespace db {
class TDataSource;
class TField;
}

namespace dac {

class TODBCQuery : public TODBCCustomDataSetEx {
 public:
  TODBCQuery() = default;
  ~TODBCQuery() override;

  const TStrings& SQL() const { return sql_; }
  // A text equal to the current one changes nothing; another closes the query first.
  void SetSQL(const TStrings& lines);
  void SetSQLText(const std::string& text) { SetSQL(TextToLines(text)); }
  // Appends one line: a change of the text like any other.
  void AddSQL(const std::string& line);
  // The lines, each followed by a line feed.
  std::string SQLText() const;
  // The text with its markers replaced.
  const std::string& ProcessedSQL() const { return processedSQL_; }

  bool Prepared() const { return prepared_; }
  // Only while closed.
  void SetPrepared(bool value);
  void Prepare() { SetPrepared(true); }
  void Unprepare() { SetPrepared(false); }

  virtual TODBCParams& Params() { return params_; }
  // Each given parameter hands its value to the first parameter of its name here.
  void SetParams(const TODBCParams& values) { Params().AssignValues(values); }
  TODBCParam& ParamByName(const std::string& name) { return Params().ParamByName(name); }
  bool ParamCheck() { return Statement().ParamCheck(); }
  void SetParamCheck(bool value) { Statement().SetParamCheck(value); }

  // Executes a text that returns no rows.
  void ExecSQL();
  SQLLEN RowsAffected() { return Statement().RowsAffected(); }

  db::TDataSource* DataSource() const { return GetDataSource(); }
  // EDatabaseError "Circular datalinks are not allowed" when the source leads back here.
  void SetDataSource(db::TDataSource* source);
  // For each parameter named like a master field: that field, and this query's field of
  // the same name (nullptr when there is none).
  void GetDetailLinkFields(std::vector<db::TField*>& masterFields,
                           std::vector<db::TField*>& detailFields);

  // While a stored form is read, a change of SQL only parses the text.
  bool Loading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }

 protected:
  virtual void SQLChanged();
  void InternalOpen() override;
  TODBCParams& OwnParams() { return params_; }
  // Parameters without a value of their own take the master's field values.
  void SetParamsFromMaster();
  // The statement's list becomes a copy of the query's.
  void PassParamsToStatement();

 private:
  TStrings sql_;
  TODBCParams params_;
  std::string processedSQL_;
  bool prepared_ = false;
  bool loading_ = false;
};

}  // namespace dac
