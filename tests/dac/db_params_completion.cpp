// Completion of Params by the server kind guessed from the Driver key. These drivers are not
// installed here: the connect fails in the driver manager, after the completion took place.
#include <gtest/gtest.h>

#include "dac/DACDatabase.h"
#include "dac/ODBCError.h"

using namespace dac;

namespace {

struct CompletionCase {
  const char* name;
  std::vector<std::string> params;
  std::string serverName, databaseName;
  std::vector<std::string> expected;
};

class ParamsCompletion : public testing::TestWithParam<CompletionCase> {};

TEST_P(ParamsCompletion, CompletesBeforeConnecting) {
  const CompletionCase& c = GetParam();
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(c.params);
  database.SetServerName(c.serverName);
  database.SetDatabaseName(c.databaseName);
  try {
    database.Open();
    FAIL() << "no such driver is installed here";
  } catch (const EODBCError& error) {
    // unixODBC: "Can't open lib '...' : file not found".
    ASSERT_FALSE(error.DiagRecs().empty());
    EXPECT_EQ(error.DiagRecs()[0].SqlState, "01000");
    EXPECT_NE(error.DiagRecs()[0].Message.find("Can't open lib"), std::string::npos);
  }
  EXPECT_EQ(database.Params(), c.expected);
  EXPECT_EQ(database.Handle(), nullptr);
}

const char* kFirebird = "Driver={Firebird/InterBase(r) driver}";
const char* kSqlServer = "Driver={ODBC Driver 17 for SQL Server}";

INSTANTIATE_TEST_SUITE_P(
    Kinds, ParamsCompletion,
    testing::Values(
        CompletionCase{"InterBaseFillsDbName", {kFirebird}, "srv", "/data/x.fdb",
                       {kFirebird, "DbName=srv:/data/x.fdb"}},
        CompletionCase{"InterBaseWithoutServer", {kFirebird}, "", "/data/x.fdb",
                       {kFirebird, "DbName=/data/x.fdb"}},
        CompletionCase{"InterBaseKeepsDbName", {kFirebird, "dbname=mine"}, "srv", "db",
                       {kFirebird, "dbname=mine"}},
        CompletionCase{"InterBaseNothingToFill", {kFirebird}, "", "", {kFirebird}},
        CompletionCase{"InterBaseKeyWithBlankIsNotTheKey", {kFirebird, "DbName =x"}, "", "d",
                       {kFirebird, "DbName =x", "DbName=d"}},
        CompletionCase{"SqlServerAlwaysSetsApp", {kSqlServer, "APP=Mine"}, "host", "base",
                       {kSqlServer, "APP=Tabrel Store", "SERVER=host", "DATABASE=base"}},
        CompletionCase{"SqlServerKeepsGivenServer", {kSqlServer, "Server=given"}, "host", "",
                       {kSqlServer, "Server=given", "APP=Tabrel Store"}},
        CompletionCase{"DB2UsesHostname", {"Driver={IBM DB2 ODBC DRIVER}"}, "h", "d",
                       {"Driver={IBM DB2 ODBC DRIVER}", "HOSTNAME=h", "DATABASE=d"}},
        CompletionCase{"Oracle", {"Driver={Oracle in XE}"}, "h", "d",
                       {"Driver={Oracle in XE}", "SERVER=h", "DATABASE=d"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
