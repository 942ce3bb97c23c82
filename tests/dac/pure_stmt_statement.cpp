// Statement and parameter-list behaviour that needs no database.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dac/DACSQL.h"
#include "dac/ODBCParams.h"
#include "dac/ODBCStmt.h"

using namespace dac;

namespace {

template <typename F>
std::string MessageOf(F action) {
  try {
    action();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "<no error>";
}

TEST(ODBCParamsList, ParseSQLCreatesOneItemPerMarker) {
  TODBCParams params;
  params.Add("stale");
  EXPECT_EQ(params.ParseSQLFor("select :a, :b, :A", true, dkSQLite), "select ?, ?, ?");
  ASSERT_EQ(params.Count(), 3u);
  EXPECT_EQ(params.Items(2).Name(), "A");
  EXPECT_EQ(params.FindParam("a"), &params.Items(0));
  EXPECT_EQ(params.FindParam("nope"), nullptr);
  // Without creating, the list stays as it is.
  EXPECT_EQ(params.ParseSQLFor("select :x", false, dkSQLite), "select ?");
  EXPECT_EQ(params.Count(), 3u);
}

TEST(ODBCParamsList, ParamByNameNamesTheMissingParameter) {
  TODBCParams params;
  params.ParseSQLFor("select :a", true, dkUnknown);
  EXPECT_EQ(MessageOf([&] { params.ParamByName("MISSING"); }),
            "Parameter 'MISSING' not found");
}

// The SQL Server rules apply only while SQL Server is the kind connected last.
TEST(ODBCParamsList, RewritesOnlyForSQLServer) {
  TODBCParams params;
  EXPECT_EQ(params.ParseSQLFor("select first 1 a from t where b = :b", true, dkMSSQLServer),
            "select top 1 a from t where b = ?");
  EXPECT_EQ(params.ParseSQLFor("select first 1 a from t where b = :b", true, dkPostgreSQL),
            "select first 1 a from t where b = ?");
  EXPECT_EQ(params.Count(), 1u);
}

TEST(ODBCParamsList, AssignValuesGoesToTheFirstItemOfEachName) {
  TODBCParams source, target;
  source.ParseSQLFor(":x :y", true, dkUnknown);
  source.Items(0).SetAsInteger(5);
  source.Items(1).SetAsString("text");
  target.ParseSQLFor(":Y :X :X :z", true, dkUnknown);
  target.AssignValues(source);
  EXPECT_EQ(target.Items(0).AsString(), "text");
  EXPECT_EQ(target.Items(1).AsInteger(), 5);
  EXPECT_TRUE(target.Items(2).IsNull());
  EXPECT_TRUE(target.Items(3).IsNull());
}

TEST(ODBCParamsList, IsEqualComparesItemByItem) {
  TODBCParams a, b;
  a.ParseSQLFor(":x :y", true, dkUnknown);
  b.ParseSQLFor(":x :y", true, dkUnknown);
  EXPECT_TRUE(a.IsEqual(b));
  a.Items(1).SetAsInteger(1);
  EXPECT_FALSE(a.IsEqual(b));
  b.Items(1).SetAsInteger(1);
  EXPECT_TRUE(a.IsEqual(b));
  b.Add("z");
  EXPECT_FALSE(a.IsEqual(b));
}

TEST(StatementText, ChangingSQLKeepsValuesOfNamesInBothTexts) {
  TODBCStatement statement;
  statement.SetSQL({"update t set a = :a", "where b = :b"});
  EXPECT_EQ(statement.ProcessedSQL(), "update t set a = ?\nwhere b = ?\n");
  statement.Params().ParamByName("a").SetAsInteger(7);
  statement.Params().ParamByName("b").SetAsInteger(8);
  statement.SetSQL({"update t set c = :c where a = :A"});
  ASSERT_EQ(statement.Params().Count(), 2u);
  EXPECT_TRUE(statement.Params().Items(0).IsNull());
  EXPECT_EQ(statement.Params().Items(1).AsInteger(), 7);
  EXPECT_EQ(statement.Params().Items(1).Name(), "a");  // the old item's settings came along
}

TEST(StatementText, WithoutParamCheckTheTextGoesUnchanged) {
  TODBCStatement statement;
  statement.SetParamCheck(false);
  statement.SetSQL({"select :a from t"});
  EXPECT_EQ(statement.ProcessedSQL(), "select :a from t\n");
  EXPECT_EQ(statement.Params().Count(), 0u);
  EXPECT_EQ(MessageOf([&] { statement.Params().ParamByName("a"); }),
            "Parameter 'a' not found");
}

TEST(StatementText, WhileLoadingOnlyTheTextIsParsed) {
  TODBCStatement statement;
  statement.SetLoading(true);
  statement.SetSQL({"select :a from t"});
  EXPECT_EQ(statement.ProcessedSQL(), "select ? from t\n");
  EXPECT_EQ(statement.Params().Count(), 0u);
}

struct PrepareRefusal {
  const char* label;
  std::vector<std::string> sql;
  std::string message;
};

class StatementPrepareRefusalTest : public testing::TestWithParam<PrepareRefusal> {};

// Refused before any handle is allocated, so no connection is needed to see it.
TEST_P(StatementPrepareRefusalTest, RaisesTheMessageAndStaysUnprepared) {
  TODBCStatement statement;
  statement.SetSQL(GetParam().sql);
  EXPECT_EQ(MessageOf([&] { statement.Prepare(); }), GetParam().message);
  EXPECT_FALSE(statement.Prepared());
  EXPECT_EQ(statement.StatementHandle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, StatementPrepareRefusalTest,
    testing::Values(
        PrepareRefusal{"Empty", {"  ", "\t"}, "There are not statements to run"},
        PrepareRefusal{"NoUniqueKey", {" SQL_NO_UNIQUE_KEY "},
                       "Insufficient key column information for updating or refreshing"},
        PrepareRefusal{"NoConnection", {"select 1"}, "Connection property not assigned"}),
    [](const testing::TestParamInfo<PrepareRefusal>& info) { return info.param.label; });

TEST(DACSQLComponent, WithoutTransactionThereIsNoConnection) {
  TDACSQL statement;
  statement.SetSQL({"update t set a = :a"});
  EXPECT_EQ(MessageOf([&] { statement.ExecQuery(); }), "Connection property not assigned");
  EXPECT_FALSE(statement.Prepared());
  EXPECT_EQ(statement.Connection(), nullptr);
}

TEST(DACSQLComponent, ParamCountDoesNotCreateParameters) {
  TDACSQL statement;
  statement.SetSQL({"update t set a = :a"});
  EXPECT_FALSE(statement.ParamsCreated());
  // The change of SQL itself fills the list; creation (with a prepare) waits for first use.
  EXPECT_EQ(statement.ParamCount(), 1u);
  EXPECT_FALSE(statement.ParamsCreated());
  EXPECT_TRUE(statement.GoToFirstRecord());
}

struct AdjustCase {
  const char* label;
  TODBCDriverKind kind;
  SQLSMALLINT sqlType;
  SQLSMALLINT expectedType;
  SQLULEN expectedSize;
  SQLSMALLINT expectedDigits;
};

class DriverAdjustmentTest : public testing::TestWithParam<AdjustCase> {};

TEST_P(DriverAdjustmentTest, AdjustsTypeAndSizes) {
  TODBCParam param("p");
  param.SetSQLType(GetParam().sqlType);
  param.SetColumnSize(10);
  param.SetDecimalDigits(2);
  AdjustParamForDriver(param, GetParam().kind);
  EXPECT_EQ(param.SQLType(), GetParam().expectedType);
  EXPECT_EQ(param.ColumnSize(), GetParam().expectedSize);
  EXPECT_EQ(param.DecimalDigits(), GetParam().expectedDigits);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, DriverAdjustmentTest,
    testing::Values(
        AdjustCase{"SqlServerDate", dkMSSQLServer, SQL_TYPE_DATE, SQL_TYPE_TIMESTAMP, 23, 3},
        AdjustCase{"SqlServerTime", dkMSSQLServer, SQL_TYPE_TIME, SQL_TYPE_TIME, 23, 3},
        AdjustCase{"SqlServerTimestamp", dkMSSQLServer, SQL_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
                   23, 3},
        AdjustCase{"SqlServerInterval", dkMSSQLServer, 110, 110, 23, 3},
        AdjustCase{"SqlServerOldDate", dkMSSQLServer, SQL_DATE, SQL_DATE, 23, 0},
        AdjustCase{"SqlServerInteger", dkMSSQLServer, SQL_INTEGER, SQL_INTEGER, 10, 2},
        AdjustCase{"JetDecimal", dkMSJet, SQL_DECIMAL, SQL_NUMERIC, 10, 2},
        AdjustCase{"PostgresUnchanged", dkPostgreSQL, SQL_TYPE_DATE, SQL_TYPE_DATE, 10, 2}),
    [](const testing::TestParamInfo<AdjustCase>& info) { return info.param.label; });

// A timestamp keeps its time of day for SQL Server.
TEST(DriverAdjustment, SqlServerTimestampKeepsTheTimeOfDay) {
  TODBCParam param("p");
  param.SetAsDateTime(45000.75);
  AdjustParamForDriver(param, dkMSSQLServer);
  EXPECT_DOUBLE_EQ(param.AsDateTime(), 45000.75);
}

}  // namespace
