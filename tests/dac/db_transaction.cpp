// Transactions on pooled connections, seen from a second, independent connection.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "dac/DACConnectionPool.h"
#include "dac/DACDatabase.h"
#include "dac/DACTransaction.h"
#include "dac/ODBCError.h"
#include "tests/dac/support_dac.h"

using namespace dac;

namespace {

class TransactionTest : public dactest::RealDatabaseTest {
 protected:
  void SetUp() override {
    params_ = Params();
    table_ = testdb::UniqueName("t_tx");
    database_.SetLoginPrompt(false);
    database_.SetParams(params_);
    database_.Open();
    dactest::ExecDirect(database_, "CREATE TABLE " + table_ + " (n INTEGER)");
    observer_.SetLoginPrompt(false);
    observer_.SetParams(params_);
    observer_.Open();
  }
  void TearDown() override {
    database_.Close();
    dactest::ExecDirect(observer_, "DROP TABLE " + table_);
  }

  void Insert(TDACTransaction& transaction, int n) {
    dactest::ExecDirect(*transaction.GetConnection(),
                        "INSERT INTO " + table_ + " VALUES (" + std::to_string(n) + ")");
  }
  // What an independent connection sees.
  std::string Visible() { return dactest::QueryScalar(observer_, "SELECT COUNT(*) FROM " + table_); }

  std::vector<std::string> params_;
  std::string table_;
  TDACDatabase database_;
  TODBCConnection observer_;
};

TEST_P(TransactionTest, WorkIsInvisibleBeforeCommitAndGoneAfterRollback) {
  TDACTransaction transaction;
  transaction.SetDefaultDatabase(&database_);
  transaction.StartTransaction();
  ASSERT_TRUE(transaction.Active());
  EXPECT_NE(transaction.GetConnection(), &database_) << "never the database's own connection";
  Insert(transaction, 1);
  EXPECT_EQ(Visible(), "0");
  transaction.Commit();
  EXPECT_FALSE(transaction.Active());
  EXPECT_EQ(Visible(), "1");
  transaction.StartTransaction();
  Insert(transaction, 2);
  transaction.Rollback();
  EXPECT_EQ(Visible(), "1");
  EXPECT_EQ(database_.Pool().Count(), 1u) << "the connection is kept across commits";
}

struct EndingCase {
  const char* name;
  TDACTransactionAction action;
  int how;  // 0 deactivate, 1 destroy, 2 disconnect the database
  const char* visible;
};

TEST_P(TransactionTest, DeactivateDestroyAndDisconnectEndByDefaultAction) {
  const EndingCase cases[] = {
      {"deactivate commit", TACommit, 0, "1"},  {"deactivate rollback", TARollback, 0, "0"},
      {"destroy commit", TACommit, 1, "1"},     {"destroy rollback", TARollback, 1, "0"},
      {"disconnect commit", TACommit, 2, "1"},  {"disconnect rollback", TARollback, 2, "0"},
  };
  for (const EndingCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (!database_.Connected()) database_.Open();
    dactest::ExecDirect(observer_, "DELETE FROM " + table_);
    auto transaction = std::make_unique<TDACTransaction>();
    transaction->SetDefaultAction(c.action);
    transaction->SetDefaultDatabase(&database_);
    transaction->SetActive(true);
    Insert(*transaction, 1);
    if (c.how == 0) transaction->SetActive(false);
    if (c.how == 1) transaction.reset();
    if (c.how == 2) {
      database_.Close();
      EXPECT_FALSE(transaction->Active());
      EXPECT_EQ(database_.TransactionCount(), 0u) << "cut off from its database";
      EXPECT_EQ(database_.Pool().Count(), 0u);
    }
    EXPECT_EQ(Visible(), c.visible);
  }
}

TEST_P(TransactionTest, EventsFireInOrder) {
  std::vector<std::string> events;
  TDACTransaction transaction;
  auto record = [&events](const char* name) {
    return [&events, name](TDACTransaction&) { events.push_back(name); };
  };
  transaction.OnBeforeStartTransaction = record("before start");
  transaction.OnAfterStartTransaction = record("after start");
  transaction.OnBeforeCommit = record("before commit");
  transaction.OnAfterCommit = record("after commit");
  transaction.OnBeforeRollback = record("before rollback");
  transaction.OnAfterRollback = record("after rollback");
  transaction.AfterTransactionEnd = record("end");
  transaction.SetDefaultDatabase(&database_);
  transaction.Commit();  // never started: only the end event
  EXPECT_EQ(events, std::vector<std::string>{"end"});
  events.clear();
  transaction.SetActive(true);
  transaction.SetActive(true);  // already active: nothing
  transaction.Commit();
  transaction.StartTransaction();
  transaction.Rollback();
  EXPECT_EQ(events, (std::vector<std::string>{"before start", "after start", "before commit",
                                              "after commit", "end", "before start",
                                              "after start", "before rollback",
                                              "after rollback", "end"}));
}

TEST_P(TransactionTest, SecondTransactionGetsSecondEntryAndIdleEntriesAreReused) {
  auto first = std::make_unique<TDACTransaction>();
  TDACTransaction second;
  first->SetDefaultDatabase(&database_);
  second.SetDefaultDatabase(&database_);
  first->StartTransaction();
  second.StartTransaction();
  EXPECT_EQ(database_.Pool().Count(), 2u);
  EXPECT_NE(first->GetConnection(), second.GetConnection());
  EXPECT_EQ(database_.Pool().FreeCount(), 0);
  TODBCConnection* firstConnection = first->GetConnection();
  first.reset();
  EXPECT_EQ(database_.Pool().FreeCount(), 1);
  TDACTransaction third;
  third.SetDefaultDatabase(&database_);
  third.StartTransaction();
  EXPECT_EQ(third.GetConnection(), firstConnection) << "same isolation level: reused";
  EXPECT_EQ(database_.Pool().Count(), 2u);
}

TEST_P(TransactionTest, TrimFreesTheOlderIdleEntryOfFive) {
  std::vector<std::unique_ptr<TDACTransaction>> transactions;
  for (int i = 0; i < 5; ++i) {
    transactions.push_back(std::make_unique<TDACTransaction>());
    transactions.back()->SetDefaultDatabase(&database_);
    transactions.back()->StartTransaction();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));  // distinct creation ticks
  }
  ASSERT_EQ(database_.Pool().Count(), 5u);
  TODBCConnection* newerIdle = transactions[1]->GetConnection();
  transactions[0].reset();  // 1 idle of 5: 1 > 5 div 3 does not hold
  EXPECT_EQ(database_.Pool().Count(), 5u);
  transactions[1].reset();  // 2 idle of 5: the older one goes
  EXPECT_EQ(database_.Pool().Count(), 4u);
  EXPECT_EQ(database_.Pool().FreeCount(), 1);
  EXPECT_TRUE(database_.Pool().Contains(newerIdle));
  // Four entries, all idle: never trimmed.
  for (auto& transaction : transactions) transaction.reset();
  EXPECT_EQ(database_.Pool().Count(), 4u);
  EXPECT_EQ(database_.Pool().FreeCount(), 4);
}

TEST_P(TransactionTest, ChangingTheDatabaseEndsTheTransactionOnTheOldOne) {
  TDACDatabase other;
  other.SetLoginPrompt(false);
  other.SetParams(params_);
  other.Open();
  TDACTransaction transaction;
  transaction.SetDefaultDatabase(&database_);
  transaction.SetActive(true);
  Insert(transaction, 1);
  transaction.SetDefaultDatabase(&other);  // ends by the default action: commit
  EXPECT_EQ(Visible(), "1");
  EXPECT_EQ(database_.TransactionCount(), 0u);
  EXPECT_EQ(other.TransactionCount(), 1u);
  transaction.StartTransaction();
  EXPECT_TRUE(other.Pool().Contains(transaction.GetConnection()));
}

INSTANTIATE_FOR_BOTH_DATABASES(TransactionTest);

// --- PostgreSQL only: isolation levels and connection failures of the pool --------------

struct IsolationCase {
  std::vector<std::string> params;
  const char* expected;
};

class PostgresIsolation : public testing::TestWithParam<IsolationCase> {};

TEST_P(PostgresIsolation, LevelReadBackMatchesParams) {
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(testdb::PostgresParams());
  database.Open();
  TDACTransaction transaction;
  transaction.SetParams(GetParam().params);
  transaction.SetDefaultDatabase(&database);
  transaction.StartTransaction();
  EXPECT_EQ(dactest::QueryScalar(*transaction.GetConnection(), "SHOW transaction_isolation"),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PostgresIsolation,
    testing::Values(IsolationCase{{"read_committed", "nowait"}, "read committed"},
                    IsolationCase{{}, "read committed"},
                    IsolationCase{{"READ_UNCOMMITTED"}, "read uncommitted"},
                    IsolationCase{{" read_uncommitted"}, "read committed"},
                    IsolationCase{{"read_uncommitted", "read_committed"}, "read uncommitted"}));

TEST(TransactionParams, IsolationKeywords) {
  EXPECT_EQ(IsolationLevelFromParams({}), 2);
  EXPECT_EQ(IsolationLevelFromParams({"nowait"}), 2);
  EXPECT_EQ(IsolationLevelFromParams({"Read_Uncommitted"}), 1);
  EXPECT_EQ(IsolationLevelFromParams({"read_uncommitted ", "read_committed"}), 2);
  EXPECT_EQ(IsolationLevelFromParams({"read_uncommitted", "read_committed"}), 1);
}

TEST(PoolFailure, ConnectionThatCannotOpenIsTriedFiveTimesThenDiscarded) {
  std::string role = testdb::UniqueName("r_pool");
  TDACDatabase admin;
  admin.SetLoginPrompt(false);
  admin.SetParams(testdb::PostgresParams());
  admin.Open();
  dactest::ExecDirect(admin, "CREATE ROLE " + role + " LOGIN PASSWORD 'first'");
  std::vector<std::string> params = testdb::PostgresParams();
  SetParam(params, "UID", role);
  SetParam(params, "PWD", "first");
  {
    TDACDatabase database;
    database.SetLoginPrompt(false);
    database.SetParams(params);
    database.Open();
    // The pool copies the completed parameters, whose password is now wrong.
    dactest::ExecDirect(admin, "ALTER ROLE " + role + " PASSWORD 'second'");
    TDACTransaction transaction;
    transaction.SetDefaultDatabase(&database);
    auto started = std::chrono::steady_clock::now();
    try {
      transaction.StartTransaction();
      FAIL() << "connected with a changed password";
    } catch (const EODBCError& error) {
      EXPECT_EQ(error.DiagRecs().at(0).SqlState, "08001");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(40));
    EXPECT_EQ(database.Pool().Count(), 0u);
    EXPECT_FALSE(transaction.Active());
  }
  dactest::ExecDirect(admin, "DROP ROLE " + role);
}

}  // namespace
