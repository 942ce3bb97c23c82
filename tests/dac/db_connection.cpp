// Connections and the database component against the real SQLite3 and psqlODBC drivers.
#include <gtest/gtest.h>

#include <filesystem>

#include "dac/DACDatabase.h"
#include "dac/ODBCEnvironment.h"
#include "dac/ODBCError.h"
#include "tests/dac/support_dac.h"

using namespace dac;
using dactest::RealDatabaseTest;

namespace {

class ConnectionTest : public RealDatabaseTest {};

TEST_P(ConnectionTest, ConnectCompletesParamsAndIdentifiesTheServer) {
  TDACDatabase database;
  Prepare(database);
  database.SetConnected(true);
  ASSERT_TRUE(database.Connected());
  // The driver's completed connection string, split at every ";".
  EXPECT_FALSE(LookupParam(database.Params(), "Driver").empty());
  if (IsPostgres()) {
    EXPECT_EQ(database.DBMSKind(), dbmsPostgreSQL);
    EXPECT_EQ(CurrentDriverKind(), dkPostgreSQL);
    EXPECT_EQ(database.ServerVersion() >> 32, 15u);  // "15.0.x"
    EXPECT_EQ(LookupParam(database.Params(), "Port"), LookupParam(Params(), "Port"));
  } else {
    EXPECT_EQ(database.DBMSKind(), dbmsSQLite);
    EXPECT_EQ(CurrentDriverKind(), dkSQLite);
    EXPECT_EQ(database.ServerVersion() >> 32, 3u);  // "3.40.1"
  }
  database.SetConnected(false);
  EXPECT_FALSE(database.Connected());
  EXPECT_EQ(CurrentDriverKind(), dkUnknown);
  // Disconnected, the kind is guessed again from the Driver key.
  EXPECT_EQ(database.DBMSKind(), IsPostgres() ? dbmsPostgreSQL : dbmsSQLite);
}

// The SQLite driver leaves Driver out of its completed string: it is kept, so the completed
// parameters connect again.
TEST_P(ConnectionTest, CompletedParamsReconnect) {
  TDACDatabase database;
  Prepare(database);
  database.Open();
  std::vector<std::string> completed = database.Params();
  EXPECT_GT(completed.size(), Params().size());
  database.Close();
  EXPECT_EQ(database.Params(), completed);
  database.Open();
  EXPECT_TRUE(database.Connected());
  TODBCConnection second;
  second.SetLoginPrompt(false);
  second.SetParams(completed);
  second.Open();
  EXPECT_TRUE(second.Connected());
}

TEST_P(ConnectionTest, ConnectedTwiceConnectsOnceAndClosingClosedDoesNothing) {
  TDACDatabase database;
  Prepare(database);
  int before = 0, after = 0, beforeDisconnect = 0;
  database.BeforeConnect = [&](TODBCConnection&) { ++before; };
  database.AfterConnect = [&](TODBCConnection& sender) {
    EXPECT_EQ(&sender, &database);
    EXPECT_TRUE(sender.Connected());
    ++after;
  };
  database.BeforeDisconnect = [&](TODBCConnection&) { ++beforeDisconnect; };
  database.SetConnected(false);
  database.SetConnected(true);
  database.SetConnected(true);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  database.SetConnected(false);
  database.SetConnected(false);
  EXPECT_EQ(beforeDisconnect, 1);
}

TEST_P(ConnectionTest, TransactionStateFollowsAutocommit) {
  TDACDatabase database;
  Prepare(database);
  database.Open();
  EXPECT_FALSE(database.InTransaction());
  database.StartTransaction();
  EXPECT_TRUE(database.InTransaction());
  database.Rollback();
  EXPECT_FALSE(database.InTransaction());
  database.StartTransaction();
  database.Commit();
  EXPECT_FALSE(database.InTransaction());
}

TEST_P(ConnectionTest, DisconnectRollsBackAnOpenTransaction) {
  std::vector<std::string> params = Params();
  std::string table = testdb::UniqueName("t_disc");
  {
    TDACDatabase database;
    database.SetLoginPrompt(false);
    database.SetParams(params);
    database.Open();
    dactest::ExecDirect(database, "CREATE TABLE " + table + " (n INTEGER)");
    database.StartTransaction();
    dactest::ExecDirect(database, "INSERT INTO " + table + " VALUES (1)");
    database.Close();
  }
  TDACDatabase check;
  check.SetLoginPrompt(false);
  check.SetParams(params);
  check.Open();
  EXPECT_EQ(dactest::QueryScalar(check, "SELECT COUNT(*) FROM " + table), "0");
  dactest::ExecDirect(check, "DROP TABLE " + table);
}

TEST_P(ConnectionTest, InfoQueries) {
  TDACDatabase database;
  Prepare(database);
  database.Open();
  EXPECT_EQ(database.IdentifierQuoteChar(), '"');
  // SQLite answers "Y" (and then describes every parameter as long text); psqlODBC "N".
  EXPECT_EQ(database.SupportsDescribeParam(), !IsPostgres());
}

TEST_P(ConnectionTest, ParamsCannotChangeWhileOpen) {
  TDACDatabase database;
  Prepare(database);
  database.Open();
  try {
    database.SetParams({"Driver=Other"});
    FAIL() << "expected EDatabaseError";
  } catch (const db::EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Cannot perform this operation on an open connection");
  }
  EXPECT_FALSE(LookupParam(database.Params(), "Driver").empty());
}

TEST_P(ConnectionTest, KeepConnectionFalseClosesAnIdleConnection) {
  TDACDatabase database;
  Prepare(database);
  database.Open();
  database.StartTransaction();
  database.SetKeepConnection(false);
  EXPECT_TRUE(database.Connected()) << "a connection inside a transaction stays open";
  database.Commit();
  database.SetKeepConnection(true);
  database.SetKeepConnection(false);
  EXPECT_FALSE(database.Connected());
}

INSTANTIATE_FOR_BOTH_DATABASES(ConnectionTest);

// --- Failures --------------------------------------------------------------------------

void ExpectDriverError(const EODBCError& error) {
  ASSERT_FALSE(error.DiagRecs().empty());
  EXPECT_EQ(error.RetCode(), SQL_ERROR);
  std::string expected;
  for (const TDiagRec& record : error.DiagRecs()) {
    EXPECT_EQ(record.SqlState.size(), 5u);
    EXPECT_FALSE(record.Message.empty());
    expected += record.Message + "\r\nSQLSTATE : " + record.SqlState +
                "\r\nNative error code: " + std::to_string(record.NativeError) + "\r\n";
  }
  EXPECT_EQ(std::string(error.what()), expected);
}

TEST(ConnectionFailure, WrongPasswordRaisesTheDriversDiagnostics) {
  std::vector<std::string> params = testdb::PostgresParams();
  SetParam(params, "PWD", "not-the-password");
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(params);
  size_t attachedBefore = DefaultEnvironment().ConnectionCount();
  try {
    database.Open();
    FAIL() << "connected with a wrong password";
  } catch (const EODBCError& error) {
    ExpectDriverError(error);
    EXPECT_EQ(error.DiagRecs()[0].SqlState, "08001");
    EXPECT_NE(error.DiagRecs()[0].Message.find("password authentication failed"),
              std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(database.Connected());
  EXPECT_EQ(database.Handle(), nullptr);
  EXPECT_EQ(database.Params(), params) << "a refused connection leaves Params as they were";
  EXPECT_EQ(DefaultEnvironment().ConnectionCount(), attachedBefore);
}

TEST(ConnectionFailure, UnreachablePortRaisesTheDriversDiagnostics) {
  std::vector<std::string> params = testdb::PostgresParams();
  SetParam(params, "Port", "1");
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(params);
  try {
    database.Open();
    FAIL() << "connected to a closed port";
  } catch (const EODBCError& error) {
    ExpectDriverError(error);
    EXPECT_EQ(error.DiagRecs()[0].SqlState, "08001");
  }
  EXPECT_EQ(database.Handle(), nullptr);
}

TEST(ConnectionFailure, SqliteFileInAMissingFolder) {
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(testdb::SqliteParams("/nonexistent-folder/x/demo.db"));
  EXPECT_THROW(database.Open(), EODBCError);
  EXPECT_EQ(database.Handle(), nullptr);
  EXPECT_FALSE(std::filesystem::exists("/nonexistent-folder"));
}

struct BadParamsCase {
  const char* name;
  std::vector<std::string> params;
};

class BadParams : public testing::TestWithParam<BadParamsCase> {};

// Nothing names a known server: refused before any ODBC call, Params untouched.
TEST_P(BadParams, UnspecifiedDriverIsRaisedWithoutAnyOdbcCall) {
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(GetParam().params);
  try {
    database.Open();
    FAIL() << "expected the unspecified-driver error";
  } catch (const db::EDatabaseError&) {
    FAIL() << "must be a general error, not a database error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Unspecified odbc driver.");
  }
  EXPECT_EQ(database.Handle(), nullptr);
  EXPECT_EQ(database.Params(), GetParam().params);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadParams,
    testing::Values(BadParamsCase{"Empty", {}}, BadParamsCase{"BlankLines", {"", "  ", ""}},
                    BadParamsCase{"NoEquals", {"garbage without key"}},
                    BadParamsCase{"UnknownDriver", {"Driver={Nonexistent}", "Database=x"}},
                    BadParamsCase{"DriverKeyWithSpace", {"Driver =SQLite3", "Database=x"}},
                    BadParamsCase{"Binary", {std::string("Driver=\x01\xff\xfe", 10)}}),
    [](const auto& info) { return std::string(info.param.name); });

// Known server kind, but no such driver installed: the driver manager's own diagnostics.
TEST(ConnectionFailure, MissingDriverReportsTheDriverManagersError) {
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams({"Driver={SQLite3 not installed}", "Database=x"});
  try {
    database.Open();
    FAIL();
  } catch (const EODBCError& error) {
    ASSERT_FALSE(error.DiagRecs().empty());
    EXPECT_EQ(error.DiagRecs()[0].SqlState, "01000");
    EXPECT_NE(error.DiagRecs()[0].Message.find("Can't open lib 'SQLite3 not installed'"),
              std::string::npos)
        << error.what();
  }
  EXPECT_EQ(database.Handle(), nullptr);
}

}  // namespace
