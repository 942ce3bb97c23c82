#pragma once
// The ground of the statement tests: a database and a transaction as the plugin's window sets
// them up. On PostgreSQL each test works in a schema of its own, so the fixed table names of
// the conversion's statements never meet another test's tables.
#include <string>
#include <vector>

#include "dac/DACDatabase.h"
#include "dac/DACSQL.h"
#include "dac/DACTransaction.h"
#include "tests/dac/support_dac.h"

namespace stmttest {

class StmtDatabaseTest : public dactest::RealDatabaseTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // On the database's own connection, which commits each statement.
  void Exec(const std::string& sql) { dactest::ExecDirect(database_, sql); }
  std::string Scalar(const std::string& sql) { return dactest::QueryScalar(database_, sql); }
  double ScalarFloat(const std::string& sql) { return std::stod(Scalar(sql)); }
  // A statement of the plugin's kind on this test's transaction.
  void Attach(dac::TDACSQL& statement, const std::vector<std::string>& lines);
  // The connection parameters of this test (PostgreSQL: with its schema).
  const std::vector<std::string>& TestParams() const { return params_; }

  dac::TDACDatabase database_;
  dac::TDACTransaction transaction_;

 private:
  std::vector<std::string> params_;
  std::string schema_;
};

}  // namespace stmttest
