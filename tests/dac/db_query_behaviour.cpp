// The query components on both drivers: Open against Active, parameters by exact name,
// texts without rows, the connection taken from the transaction, master-detail parameters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dac/DACQuery.h"
#include "dac/DACTransaction.h"
#include "dac/SQLMonitor.h"
#include "toolkit/db/DataLink.h"
#include "tests/dac/support_dac.h"

using namespace dac;
using dactest::RealDatabaseTest;

namespace {

// Counts the executions of one statement through the SQL monitor.
class ExecutionCounter {
 public:
  explicit ExecutionCounter(const void* statement) {
    id_ = SQLMonitor().AddHook(
        [this, statement](const void* sender, int, const std::string&, const std::string&) {
          if (sender == statement) ++count_;
        },
        uint8_t(1u << 1));
  }
  ~ExecutionCounter() { SQLMonitor().RemoveHook(id_); }
  int Count() const { return count_; }

 private:
  int id_ = 0;
  int count_ = 0;
};

class QueryBehaviour : public RealDatabaseTest {
 protected:
  void SetUp() override {
    Prepare(database);
    database.Open();
    transaction.SetDefaultDatabase(&database);
    master = testdb::UniqueName("qm");
    detail = testdb::UniqueName("qd");
    Exec("CREATE TABLE " + master + " (id INTEGER, name VARCHAR(20))");
    Exec("INSERT INTO " + master + " VALUES (1, 'um'), (2, 'dois'), (3, 'tres')");
    Exec("CREATE TABLE " + detail + " (m_id INTEGER, name VARCHAR(20))");
    Exec("INSERT INTO " + detail + " VALUES (1, 'a1'), (1, 'b1'), (2, 'a2'), (3, 'a3')");
  }
  void TearDown() override {
    transaction.SetActive(false);
    Exec("DROP TABLE " + master);
    Exec("DROP TABLE " + detail);
  }
  void Exec(const std::string& sql) { dactest::ExecDirect(database, sql); }
  void Bind(TDACQuery& query) {
    query.SetDatabase(&database);
    query.SetTransaction(&transaction);
  }
  static std::vector<int> Ids(db::TDataSet& query, const char* field = "ID") {
    std::vector<int> ids;
    for (query.First(); !query.Eof(); query.Next()) ids.push_back(query.FieldByName(field).AsInteger());
    return ids;
  }
  static std::vector<std::string> Names(db::TDataSet& query) {
    std::vector<std::string> names;
    for (query.First(); !query.Eof(); query.Next()) names.push_back(query.FieldByName("NAME").AsString());
    return names;
  }

  TDACDatabase database;
  TDACTransaction transaction;
  std::string master, detail;
};

TEST_P(QueryBehaviour, OpenOfAnOpenQueryExecutesNothing) {
  TDACQuery query;
  Bind(query);
  query.SetSQLText("SELECT id, name FROM " + master + " ORDER BY id");
  ExecutionCounter executions(&query.Statement());
  query.Open();
  EXPECT_EQ(query.FieldByName("NAME").AsString(), "um");
  dactest::ExecDirect(*transaction.GetConnection(),
                      "UPDATE " + master + " SET name = 'mudou' WHERE id = 1");
  query.Open();
  EXPECT_EQ(executions.Count(), 1);
  EXPECT_EQ(query.FieldByName("NAME").AsString(), "um") << "rows fetched stay in the cache";
  query.Close();
  query.Open();
  EXPECT_EQ(executions.Count(), 2);
  EXPECT_EQ(query.FieldByName("NAME").AsString(), "mudou");
}

TEST_P(QueryBehaviour, NamesThatDifferInCaseAreDifferentParameters) {
  TDACQuery query;
  Bind(query);
  query.SetSQLText("SELECT id FROM " + master + " WHERE id = :A OR id = :a ORDER BY id");
  ASSERT_EQ(query.Params().Count(), 2u);
  EXPECT_EQ(&query.ParamByName("a"), &query.Params()[0]);
  query.ParamByName("a").SetAsInteger(1);
  query.Params()[1].SetAsInteger(2);
  query.Open();
  EXPECT_EQ(Ids(query), (std::vector<int>{1, 2}));
  EXPECT_EQ(query.Params()[1].AsInteger(), 2);
}

TEST_P(QueryBehaviour, OpenHandsValuesOnBetweenEqualNamesButActiveDoesNot) {
  const std::string sql = "SELECT id FROM " + master + " WHERE id = :X OR id = :X ORDER BY id";
  TDACQuery viaActive;
  Bind(viaActive);
  viaActive.SetSQLText(sql);
  viaActive.Params()[0].SetAsInteger(1);
  viaActive.Params()[1].SetAsInteger(3);
  viaActive.SetActive(true);
  EXPECT_EQ(Ids(viaActive), (std::vector<int>{1, 3}));

  TDACQuery viaOpen;
  Bind(viaOpen);
  viaOpen.SetSQLText(sql);
  viaOpen.Params()[0].SetAsInteger(1);
  viaOpen.Params()[1].SetAsInteger(3);
  viaOpen.Open();
  EXPECT_EQ(Ids(viaOpen), (std::vector<int>{1}));
}

TEST_P(QueryBehaviour, UpdateOpenedAsAQueryRunsAndStaysClosed) {
  TDACQuery query;
  Bind(query);
  query.SetSQLText("UPDATE " + master + " SET name = 'feito' WHERE id = 2");
  EXPECT_NO_THROW(query.Open());
  EXPECT_FALSE(query.Active());
  EXPECT_EQ(dactest::QueryScalar(*transaction.GetConnection(),
                                 "SELECT name FROM " + master + " WHERE id = 2"),
            "feito");
}

TEST_P(QueryBehaviour, AnotherDatabaseClearsTheTransaction) {
  TDACDatabase other;
  TDACQuery query;
  query.SetTransaction(&transaction);
  query.SetDatabase(&database);
  EXPECT_EQ(query.Transaction(), &transaction);
  query.SetDatabase(&other);
  EXPECT_EQ(query.Transaction(), nullptr);
  query.SetSQLText("SELECT id FROM " + master);
  try {
    query.Open();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Connection property not assigned");
  }
  EXPECT_FALSE(query.Active());
}

TEST_P(QueryBehaviour, DetailExecutesAgainWhenTheMasterMoves) {
  TDACQuery masterQuery, detailQuery;
  Bind(masterQuery);
  Bind(detailQuery);
  masterQuery.SetSQLText("SELECT id FROM " + master + " ORDER BY id");
  db::TDataSource source(&masterQuery);
  detailQuery.SetSQLText("SELECT name FROM " + detail + " WHERE m_id = :ID ORDER BY name");
  detailQuery.SetDataSource(&source);
  masterQuery.Open();
  ExecutionCounter executions(&detailQuery.Statement());
  detailQuery.Open();
  EXPECT_EQ(Names(detailQuery), (std::vector<std::string>{"a1", "b1"}));
  masterQuery.Next();
  EXPECT_EQ(executions.Count(), 2);
  EXPECT_TRUE(detailQuery.Active());
  EXPECT_EQ(Names(detailQuery), (std::vector<std::string>{"a2"}));
  masterQuery.Close();
  EXPECT_FALSE(detailQuery.Active());

  std::vector<db::TField*> masterFields, detailFields;
  detailQuery.GetDetailLinkFields(masterFields, detailFields);
  EXPECT_TRUE(masterFields.empty()) << "the master is closed and has no fields";
}

TEST_P(QueryBehaviour, DataSourcesThatLeadBackAreRefused) {
  TDACQuery first, second;
  db::TDataSource ofFirst(&first), ofSecond(&second);
  second.SetDataSource(&ofFirst);
  for (db::TDataSource* source : {&ofFirst, &ofSecond}) {
    try {
      first.SetDataSource(source);
      ADD_FAILURE();
    } catch (const db::EDatabaseError& e) {
      EXPECT_STREQ(e.what(), "Circular datalinks are not allowed");
    }
  }
  EXPECT_EQ(first.DataSource(), nullptr);
}

TEST_P(QueryBehaviour, SourceWithoutDataSetNeedsEveryParameterBound) {
  TDACQuery query;
  Bind(query);
  db::TDataSource empty;
  query.SetSQLText("SELECT id FROM " + master + " WHERE id = :ID");
  query.SetDataSource(&empty);
  try {
    query.Open();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Required Param value not set");
  }
  EXPECT_FALSE(query.Active());
  query.Params()[0].SetAsInteger(3);
  query.Params()[0].SetBound(true);
  query.Open();
  EXPECT_EQ(Ids(query), std::vector<int>{3});
}

TEST_P(QueryBehaviour, ExecSQLReportsTheRowsAffected) {
  TODBCQuery query;
  query.SetConnection(&database);
  query.SetSQLText("UPDATE " + master + " SET name = :NAME WHERE id >= :LOW");
  query.ParamByName("NAME").SetAsString("x");
  query.ParamByName("low").SetAsInteger(2);
  query.ExecSQL();
  EXPECT_EQ(query.RowsAffected(), 2);
  EXPECT_TRUE(query.Prepared());
  // A new text keeps the values of the names it shares with the old one and unprepares.
  query.SetSQLText("DELETE FROM " + master + " WHERE id >= :LOW");
  EXPECT_FALSE(query.Prepared());
  ASSERT_EQ(query.Params().Count(), 1u);
  EXPECT_EQ(query.Params()[0].AsInteger(), 2);
  query.ExecSQL();
  EXPECT_EQ(query.RowsAffected(), 2);
  EXPECT_EQ(dactest::QueryScalar(database, "SELECT COUNT(*) FROM " + master), "1");
}

TEST_P(QueryBehaviour, PrepareOnlyWhileClosed) {
  TDACQuery query;
  Bind(query);
  query.SetSQLText("SELECT id FROM " + master);
  query.Open();
  EXPECT_TRUE(query.Prepared());
  EXPECT_THROW(query.Unprepare(), db::EDatabaseError);
  EXPECT_THROW(query.SetBufferChunks(5), db::EDatabaseError);
  query.SetSQLText("SELECT name FROM " + master);
  EXPECT_FALSE(query.Active());
  EXPECT_FALSE(query.Prepared());
}

TEST_P(QueryBehaviour, OpenOnAnotherTransactionsConnectionIsRefusedWhileOpen) {
  TDACTransaction other;
  other.SetDefaultDatabase(&database);
  TDACQuery query;
  Bind(query);
  query.SetSQLText("SELECT id FROM " + master + " ORDER BY id");
  query.Open();
  query.SetTransaction(&other);
  try {
    query.Open();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Cannot perform this operation on an open dataset");
  }
  EXPECT_TRUE(query.Active());
  EXPECT_EQ(query.Connection(), transaction.GetConnection());
  query.Close();
  query.Open();
  EXPECT_EQ(query.Connection(), other.GetConnection());
  EXPECT_EQ(Ids(query), (std::vector<int>{1, 2, 3}));
  other.SetActive(false);
}

TEST_P(QueryBehaviour, ProviderSupportRunsOnTheSameConnection) {
  TDACQuery query;
  Bind(query);
  query.SetSQLText("SELECT id, name\nFROM " + master + " ORDER BY id");
  query.Open();
  EXPECT_EQ(query.PSGetTableName(), master);
  EXPECT_EQ(query.PSGetQuoteChar(), "\"");
  EXPECT_EQ(query.PSExecuteStatement("UPDATE " + master + " SET name = 'p' WHERE id >= 2"), 2);
  EXPECT_EQ(dactest::QueryScalar(*transaction.GetConnection(),
                                 "SELECT name FROM " + master + " WHERE id = 3"),
            "p");
}

INSTANTIATE_FOR_BOTH_DATABASES(QueryBehaviour);

}  // namespace
