#pragma once
// Shared pieces of the database-layer tests: a suite parameterised over both real databases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dac/DACDatabase.h"
#include "tests/support/TestDatabases.h"

namespace dactest {

class RealDatabaseTest : public testing::TestWithParam<testdb::Kind> {
 protected:
  std::vector<std::string> Params() const { return testdb::ParamsFor(GetParam()); }
  bool IsPostgres() const { return GetParam() == testdb::Kind::PostgreSQL; }
  // A database component with LoginPrompt off, as the plugin sets it.
  void Prepare(dac::TDACDatabase& database) const {
    database.SetLoginPrompt(false);
    database.SetParams(Params());
  }
};

// Runs a statement on a connected connection through plain ODBC calls (test setup only).
void ExecDirect(dac::TODBCConnection& connection, const std::string& sql);
// The first column of the first row of a query, as text ("" for null).
std::string QueryScalar(dac::TODBCConnection& connection, const std::string& sql);

std::string KindParamName(const testing::TestParamInfo<testdb::Kind>& info);

}  // namespace dactest

#define INSTANTIATE_FOR_BOTH_DATABASES(suite)                                           \
  INSTANTIATE_TEST_SUITE_P(RealDrivers, suite,                                          \
                           testing::Values(testdb::Kind::SQLite, testdb::Kind::PostgreSQL), \
                           dactest::KindParamName)
