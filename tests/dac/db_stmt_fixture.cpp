#include "tests/dac/db_stmt_fixture.h"

#include "dac/ODBCConnection.h"

namespace stmttest {

void StmtDatabaseTest::SetUp() {
  params_ = Params();
  if (IsPostgres()) {
    schema_ = testdb::UniqueName("stmt");
    dac::TODBCConnection admin;
    admin.SetLoginPrompt(false);
    admin.SetParams(params_);
    admin.Open();
    dactest::ExecDirect(admin, "CREATE SCHEMA " + schema_);
    // psqlODBC runs these settings on every connection it opens, pooled ones included.
    params_.push_back("ConnSettings=SET search_path TO " + schema_);
  }
  database_.SetLoginPrompt(false);
  database_.SetParams(params_);
  database_.Open();
  transaction_.SetDefaultDatabase(&database_);
  transaction_.SetParams({"read_committed", "nowait"});
}

void StmtDatabaseTest::TearDown() {
  if (schema_.empty()) return;
  transaction_.SetActive(false);
  dactest::ExecDirect(database_, "DROP SCHEMA " + schema_ + " CASCADE");
}

void StmtDatabaseTest::Attach(dac::TDACSQL& statement, const std::vector<std::string>& lines) {
  statement.SetDatabase(&database_);
  statement.SetTransaction(&transaction_);
  statement.SetSQL(lines);
}

}  // namespace stmttest
