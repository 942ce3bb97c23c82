// Statements on both real drivers: transactions seen from outside, long values, cursors,
// errors and the SQL monitor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dac/DACConnectionPool.h"
#include "dac/ODBCError.h"
#include "dac/SQLMonitor.h"
#include "tests/dac/db_stmt_fixture.h"

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

class StatementTest : public stmttest::StmtDatabaseTest {
 protected:
  void CreateItems() { Exec("CREATE TABLE items (id integer primary key, name varchar(40))"); }
  // An independent connection, as another user of the database would have.
  std::string SeenFromOutside(const std::string& sql) {
    TODBCConnection other;
    other.SetLoginPrompt(false);
    other.SetParams(TestParams());
    other.Open();
    return dactest::QueryScalar(other, sql);
  }
  void Insert(TDACSQL& statement, int id, const std::string& name) {
    statement.ParamByName("ID").SetAsInteger(id);
    statement.ParamByName("NAME").SetAsString(name);
    statement.ExecQuery();
  }
};

TEST_P(StatementTest, WorkIsInvisibleOutsideUntilCommit) {
  CreateItems();
  TDACSQL statement;
  Attach(statement, {"INSERT INTO items (id, name) VALUES (:id, :name)"});
  Insert(statement, 1, "Pão de Ló");
  EXPECT_EQ(SeenFromOutside("SELECT count(*) FROM items"), "0");
  transaction_.Commit();
  EXPECT_EQ(SeenFromOutside("SELECT name FROM items WHERE id = 1"), "Pão de Ló");
}

TEST_P(StatementTest, RollbackTakesTheWorkAway) {
  CreateItems();
  TDACSQL statement;
  Attach(statement, {"INSERT INTO items (id, name) VALUES (:id, :name)"});
  Insert(statement, 1, "a");
  Insert(statement, 2, "b");
  transaction_.Rollback();
  EXPECT_EQ(SeenFromOutside("SELECT count(*) FROM items"), "0");
  // The statement stays prepared on the kept connection and works in the next transaction.
  EXPECT_TRUE(statement.Prepared());
  transaction_.StartTransaction();
  Insert(statement, 3, "c");
  transaction_.Commit();
  EXPECT_EQ(SeenFromOutside("SELECT count(*) FROM items"), "1");
}

TEST_P(StatementTest, LongValuesRoundTrip) {
  Exec("CREATE TABLE notes (id integer, body text)");
  TDACSQL insert;
  Attach(insert, {"INSERT INTO notes (id, body) VALUES (:id, :body)"});
  for (size_t size : {size_t(0), size_t(3000), size_t(32768), size_t(70000)}) {
    std::string body;
    for (size_t i = 0; i < size; ++i) body += char('a' + i % 26);
    insert.ParamByName("id").SetAsInteger(int(size));
    insert.ParamByName("body").SetAsLongText(body);
    insert.ExecQuery();
  }
  transaction_.Commit();
  for (size_t size : {size_t(3000), size_t(32768), size_t(70000)}) {
    std::string id = std::to_string(size);
    EXPECT_EQ(Scalar("SELECT length(body) FROM notes WHERE id = " + id), id);
    // The last 26 characters, where a chunk boundary would show first.
    std::string tail = Scalar("SELECT substr(body, " + std::to_string(size - 25) +
                              ", 26) FROM notes WHERE id = " + id);
    std::string expected;
    for (size_t i = size - 26; i < size; ++i) expected += char('a' + i % 26);
    EXPECT_EQ(tail, expected) << size;
  }
  // An empty long text reads as null in its holder: it arrives without characters.
  EXPECT_EQ(Scalar("SELECT coalesce(length(body), 0) FROM notes WHERE id = 0"), "0");
}

TEST_P(StatementTest, SelectOpensTheCursorOnItsFirstRow) {
  CreateItems();
  Exec("INSERT INTO items VALUES (5, 'five')");
  TDACSQL query;
  Attach(query, {"SELECT id, name FROM items WHERE id = :id"});
  query.ParamByName("ID").SetAsInteger(5);
  query.ExecQuery();
  ASSERT_TRUE(query.Active());
  EXPECT_EQ(query.Cursor().Columns()[2].AsString(), "five");
  EXPECT_EQ(MessageOf([&] { query.ExecQuery(); }),
            "Cannot perform this operation on an open cursor");
  EXPECT_EQ(MessageOf([&] { query.Unprepare(); }),
            "Cannot perform this operation on an open cursor");
  query.Close();
  EXPECT_FALSE(query.Active());
  EXPECT_TRUE(query.Prepared());
  query.ExecQuery();
  EXPECT_TRUE(query.Active());
  // Ending the transaction closes the statements' cursors.
  transaction_.Commit();
  EXPECT_FALSE(query.Active());
}

TEST_P(StatementTest, FailingStatementReportsTheDriverStateAndStaysPrepared) {
  CreateItems();
  TDACSQL statement;
  Attach(statement, {"INSERT INTO items (id, name) VALUES (:id, :name)"});
  Insert(statement, 1, "first");
  SQLHSTMT handle = statement.StatementHandle();
  try {
    Insert(statement, 1, "again");
    FAIL() << "a duplicate key was accepted";
  } catch (const EODBCError& error) {
    ASSERT_FALSE(error.DiagRecs().empty());
    const std::string state = error.DiagRecs()[0].SqlState;
    // The SQLite driver reports constraint failures as general errors, native code 19.
    EXPECT_EQ(state, IsPostgres() ? "23505" : "HY000") << error.what();
    EXPECT_NE(std::string(error.what()).find(state), std::string::npos);
  }
  EXPECT_TRUE(statement.Prepared());
  EXPECT_EQ(statement.StatementHandle(), handle);
  // The values stay as they were set, and the next row goes through the same preparation.
  EXPECT_EQ(statement.ParamByName("name").AsString(), "again");
  Insert(statement, 2, "second");
  transaction_.Commit();
  EXPECT_EQ(Scalar("SELECT count(*) FROM items"), "2");
}

// Both drivers check the text when it first executes: the statement stays prepared, and a new
// text replaces it.
TEST_P(StatementTest, SyntaxErrorIsTheDriversAndLeavesTheStatementPrepared) {
  TDACSQL statement;
  Attach(statement, {"SELEC 1 AS one WHERE 1 = :one"});
  try {
    statement.ExecQuery();
    FAIL() << "a syntax error went through";
  } catch (const EODBCError& error) {
    ASSERT_FALSE(error.DiagRecs().empty());
    EXPECT_EQ(error.DiagRecs()[0].SqlState, IsPostgres() ? "42601" : "HY000");
  }
  EXPECT_TRUE(statement.Prepared());
  EXPECT_FALSE(statement.Active());
  statement.SetSQL({"SELECT 2 AS two WHERE 1 = :one"});
  statement.ParamByName("one").SetAsInteger(1);
  statement.ExecQuery();
  EXPECT_EQ(statement.Cursor().Columns()[1].AsInteger(), 2);
}

TEST_P(StatementTest, BindingFailureNamesTheParameter) {
  CreateItems();
  TDACSQL statement;
  Attach(statement, {"INSERT INTO items (id, name) VALUES (:id, :name)"});
  statement.ParamByName("id").SetAsInteger(1);
  statement.ParamByName("name").SetAsString("x");
  statement.Params().Items(1).SetCType(12345);  // no C type ODBC knows
  try {
    statement.ExecQuery();
    FAIL() << "an unknown C type was bound";
  } catch (const EODBCError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.substr(message.size() - 16), "\n\ron Param :name");
  }
}

TEST_P(StatementTest, MissingParameterIsReported) {
  TDACSQL statement;
  Attach(statement, {"SELECT 1 AS one WHERE 1 = :one"});
  EXPECT_EQ(MessageOf([&] { statement.ParamByName("two"); }), "Parameter 'two' not found");
  EXPECT_TRUE(statement.Prepared());  // the first use prepared and described
}

TEST_P(StatementTest, UnprepareEmptiesTheParametersAndUseRecreatesThemNull) {
  TDACSQL statement;
  Attach(statement, {"SELECT 1 AS one WHERE 1 = :one"});
  statement.ParamByName("one").SetAsInteger(1);
  statement.Unprepare();
  EXPECT_EQ(statement.ParamCount(), 0u);
  EXPECT_TRUE(statement.ParamByName("ONE").IsNull());
  EXPECT_EQ(statement.ParamCount(), 1u);
}

TEST_P(StatementTest, DatabaseDisconnectUnpreparesAndTheStatementComesBack) {
  CreateItems();
  TDACSQL statement;
  Attach(statement, {"INSERT INTO items (id, name) VALUES (:id, :name)"});
  Insert(statement, 1, "one");
  transaction_.Commit();
  database_.Close();
  EXPECT_FALSE(statement.Prepared());
  EXPECT_EQ(statement.StatementHandle(), nullptr);
  EXPECT_EQ(statement.Connection(), nullptr);  // the pooled connection is gone
  database_.Open();
  Insert(statement, 2, "two");
  transaction_.Commit();
  EXPECT_EQ(Scalar("SELECT count(*) FROM items"), "2");
}

TEST_P(StatementTest, MonitorHearsPrepareAndBothEndsOfExecution) {
  struct Notice {
    int category;
    std::string sql, processed;
  };
  std::vector<Notice> notices;
  TDACSQL statement;
  int hook = SQLMonitor().AddHook(
      [&](const void* sender, int category, const std::string& text1, const std::string& text2) {
        if (sender == &statement) notices.push_back({category, text1, text2});
      },
      0xFF);
  Attach(statement, {"SELECT 1 AS one WHERE 1 = :one"});
  statement.ParamByName("one").SetAsInteger(1);
  statement.ExecQuery();
  SQLMonitor().RemoveHook(hook);
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[0].category, 0);
  EXPECT_EQ(notices[1].category, 1);
  EXPECT_EQ(notices[2].category, 2);
  EXPECT_EQ(notices[1].sql, "SELECT 1 AS one WHERE 1 = :one\n");
  EXPECT_EQ(notices[1].processed, "SELECT 1 AS one WHERE 1 = ?\n");
}

TEST_P(StatementTest, PlainStatementRunsOnItsConnection) {
  CreateItems();
  TODBCStatement statement;
  EXPECT_EQ(MessageOf([&] { statement.SetSQL({"DELETE FROM items"}), statement.Execute(); }),
            "Connection property not assigned");
  statement.SetConnection(&database_);
  statement.SetSQL({"INSERT INTO items (id, name) VALUES (:id, 'x')"});
  statement.Params().Items(0).SetAsInteger(9);
  statement.Execute();
  EXPECT_EQ(statement.RowsAffected(), 1);
  EXPECT_EQ(Scalar("SELECT name FROM items WHERE id = 9"), "x");
  ASSERT_EQ(database_.StatementCount(), 1u);
  statement.SetSQL({"SELECT name FROM items"});
  statement.Execute();
  EXPECT_EQ(MessageOf([&] { statement.SetConnection(nullptr); }),
            "Cannot perform this operation on an open cursor");
  EXPECT_EQ(MessageOf([&] { statement.Prepare(); }),
            "Cannot perform this operation on an open cursor");
  statement.Close();
  statement.SetConnection(nullptr);
  EXPECT_FALSE(statement.Prepared());
  EXPECT_EQ(database_.StatementCount(), 0u);
}

TEST_P(StatementTest, AnotherDatabaseThanTheTransactionsClearsTransaction) {
  TDACSQL statement;
  Attach(statement, {"SELECT 1 AS one"});
  TDACDatabase other;
  statement.SetLoading(true);  // a stored form sets properties in any order
  statement.SetDatabase(&other);
  EXPECT_EQ(statement.Transaction(), &transaction_);
  statement.SetLoading(false);
  statement.SetDatabase(&database_);
  EXPECT_EQ(statement.Transaction(), &transaction_);
  statement.SetDatabase(&other);
  EXPECT_EQ(statement.Transaction(), nullptr);
  EXPECT_EQ(statement.Database(), &other);
}

TEST_P(StatementTest, MoreParametersThanMarkers) {
  TDACSQL statement;
  Attach(statement, {"SELECT 1 AS one WHERE 1 = :one"});
  statement.ParamByName("one").SetAsInteger(1);
  statement.Params().Add("extra").SetAsInteger(2);
  std::string message = MessageOf([&] { statement.ExecQuery(); });
  EXPECT_TRUE(statement.Prepared());
  // Only a driver that describes parameters has the markers counted first; psqlODBC does not
  // describe and ignores a value bound past the last marker.
  EXPECT_EQ(message, IsPostgres() ? "<no error>" : "Error ...");
}

INSTANTIATE_FOR_BOTH_DATABASES(StatementTest);

}  // namespace
