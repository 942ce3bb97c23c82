// Dataset and query settings that need no database: buffer chunks, what makes a dataset
// writable, searches it does not offer, the query's text and parameters, data links.
#include <gtest/gtest.h>

#include "dac/DACDatabase.h"
#include "dac/DACQuery.h"
#include "dac/DACTransaction.h"
#include "toolkit/db/DataLink.h"

using namespace dac;

namespace {

class NoSqlUpdateObject : public TODBCDataSetUpdateObject {
 public:
  TODBCCustomDataSet* DataSet() const override { return nullptr; }
  void SetDataSet(TODBCCustomDataSet*) override {}
  void Apply(TUpdateKind) override {}
  TStrings SQL(TUpdateKind) const override { return {}; }
};

TEST(DataSetSettings, BufferChunksOfZeroOrLessMean32) {
  TODBCQuery query;
  EXPECT_EQ(query.BufferChunks(), 32);
  query.SetBufferChunks(100);
  EXPECT_EQ(query.BufferChunks(), 100);
  query.SetBufferChunks(0);
  EXPECT_EQ(query.BufferChunks(), 32);
  query.SetBufferChunks(-5);
  EXPECT_EQ(query.BufferChunks(), 32);
}

TEST(DataSetSettings, WritableOnlyWithAWayToWrite) {
  TODBCQuery query;
  NoSqlUpdateObject updates;
  EXPECT_FALSE(query.CanModify());
  query.SetCachedUpdates(true);
  EXPECT_FALSE(query.CanModify());
  query.OnUpdateRecord = [](db::TDataSet&, TUpdateKind, TUpdateAction&) {};
  EXPECT_TRUE(query.CanModify());
  query.SetCachedUpdates(false);
  EXPECT_FALSE(query.CanModify()) << "without cached updates only an update object writes";
  query.SetUpdateObject(&updates);
  EXPECT_TRUE(query.CanModify());
  EXPECT_TRUE(query.CacheBlobs());
  EXPECT_FALSE(query.IsSequenced());
  EXPECT_EQ(query.UpdateStatus(), usUnmodified);
}

TEST(DataSetSettings, OtherSearchesAreUnsupported) {
  TODBCQuery query;
  for (auto search : {&TODBCQuery::FindFirst, &TODBCQuery::FindNext, &TODBCQuery::FindPrior,
                      &TODBCQuery::FindLast}) {
    try {
      (query.*search)();
      ADD_FAILURE();
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), "Unsupported feature");
    }
  }
}

TEST(DataSetSettings, CancellingUpdatesNeedsCachedUpdates) {
  TODBCQuery query;
  try {
    query.CancelUpdates();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Not in cached update mode");
  }
}

TEST(DataSetSettings, TheOwnedStatementFetchesNothingOnItsOwn) {
  TODBCQuery query;
  EXPECT_FALSE(query.Statement().Cursor().FetchOnOpen());
  EXPECT_TRUE(query.Statement().OwnedByDataSet());
  EXPECT_TRUE(query.IsDataSet());
}

TEST(QueryText, ParamsFollowTheTextAndSurviveByName) {
  TODBCQuery query;
  query.SetSQLText("SELECT * FROM t WHERE a = :A AND b = :B");
  ASSERT_EQ(query.Params().Count(), 2u);
  EXPECT_EQ(query.ProcessedSQL(), "SELECT * FROM t WHERE a = ? AND b = ?\n");
  EXPECT_EQ(query.Statement().ProcessedSQL(), query.ProcessedSQL());
  query.ParamByName("b").SetAsInteger(5);
  query.SetSQLText("SELECT * FROM t WHERE b = :B");
  ASSERT_EQ(query.Params().Count(), 1u);
  EXPECT_EQ(query.Params()[0].AsInteger(), 5);
  try {
    query.ParamByName("A");
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Parameter 'A' not found");
  }
}

TEST(QueryText, WithoutParamCheckTheTextGoesUnchanged) {
  TODBCQuery query;
  query.SetParamCheck(false);
  EXPECT_FALSE(query.Statement().ParamCheck());
  query.SetSQLText("SELECT :A");
  EXPECT_EQ(query.Params().Count(), 0u);
  EXPECT_EQ(query.ProcessedSQL(), "SELECT :A\n");
}

TEST(QueryText, AddingLinesParsesTheWholeTextEachTime) {
  TDACQuery query;
  query.AddSQL("SELECT a FROM t");
  query.AddSQL("WHERE a = :A");
  EXPECT_FALSE(query.ParamsCreated());
  EXPECT_EQ(query.ParamCount(), 1u);
  EXPECT_EQ(query.ProcessedSQL(), "SELECT a FROM t\nWHERE a = ?\n");
  EXPECT_EQ(query.Params().Count(), 1u);
  EXPECT_TRUE(query.ParamsCreated());
  EXPECT_EQ(query.Params()[0].ParamType(), db::ptInput);
  query.AddSQL("OR a = :B");
  EXPECT_FALSE(query.ParamsCreated());
  EXPECT_EQ(query.Params().Count(), 2u);
}

TEST(QueryText, ParamsCreatedAgainHoldNoValues) {
  TDACQuery query;
  query.SetSQLText("SELECT :X");
  query.Params()[0].SetAsInteger(3);
  query.SetSQLText("SELECT :X ");
  EXPECT_TRUE(query.Params()[0].IsNull());
}

TEST(DACQuerySettings, DatabaseOtherThanTheTransactionsClearsIt) {
  TDACDatabase first, second;
  TDACTransaction transaction;
  transaction.SetDefaultDatabase(&first);
  TDACQuery query;
  query.SetDatabase(&first);
  query.SetTransaction(&transaction);
  query.SetDatabase(&first);
  EXPECT_EQ(query.Transaction(), &transaction);
  query.SetDatabase(&second);
  EXPECT_EQ(query.Transaction(), nullptr);
  EXPECT_EQ(query.Database(), &second);
}

TEST(DACQuerySettings, ConnectionComesOnlyFromTheTransaction) {
  TDACDatabase database;
  TDACQuery query;
  query.SetConnection(&database);
  EXPECT_EQ(query.Connection(), nullptr);
  query.SetForcedRefresh(true);
  EXPECT_TRUE(query.ForcedRefresh());
}

TEST(QueryLinks, SourceOverItselfIsCircular) {
  TODBCQuery query;
  db::TDataSource own(&query);
  EXPECT_THROW(query.SetDataSource(&own), db::EDatabaseError);
  db::TDataSource none;
  query.SetDataSource(&none);
  EXPECT_EQ(query.DataSource(), &none);
  query.SetDataSource(nullptr);
  EXPECT_EQ(query.DataSource(), nullptr);
}

}  // namespace
