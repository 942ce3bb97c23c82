// The dataset over both real drivers: fetching only as navigation needs, the end of the rows,
// Locate and its comparison rules, record numbers, refresh and unidirectional walking.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dac/ODBCApi.h"
#include "dac/ODBCCustomDatasetEx.h"
#include "tests/dac/support_dac.h"

using namespace dac;
using dactest::RealDatabaseTest;

namespace {

// Counts the SQLFetch calls that reach the driver manager while it lives.
class FetchCounter {
 public:
  FetchCounter() : original_(odbcapi::SQLFetch) {
    active_ = this;
    odbcapi::SQLFetch = &Counting;
  }
  ~FetchCounter() {
    odbcapi::SQLFetch = original_;
    active_ = nullptr;
  }
  int Calls() const { return calls_; }

 private:
  static SQLRETURN Counting(SQLHSTMT statement) {
    ++active_->calls_;
    return active_->original_(statement);
  }
  static inline FetchCounter* active_ = nullptr;
  decltype(odbcapi::SQLFetch) original_;
  int calls_ = 0;
};

constexpr int kRows = 50;

class DataSetWalk : public RealDatabaseTest {
 protected:
  void SetUp() override {
    Prepare(database);
    database.Open();
    table = testdb::UniqueName("dswalk");
    dactest::ExecDirect(database, "CREATE TABLE " + table +
                                      " (id INTEGER, name VARCHAR(40), code VARCHAR(10))");
    std::string insert = "INSERT INTO " + table + " (id, name, code) VALUES ";
    for (int i = 1; i <= kRows; ++i) {
      if (i > 1) insert += ", ";
      insert += "(" + std::to_string(i) + ", 'Row " + std::to_string(i) + "', " +
                (i == 7 ? std::string("NULL") : "'C" + std::to_string(i) + "  '") + ")";
    }
    dactest::ExecDirect(database, insert);
    dataSet.SetConnection(&database);
    dataSet.SetBufferChunks(8);
  }
  void TearDown() override {
    dataSet.Close();
    dactest::ExecDirect(database, "DROP TABLE " + table);
  }
  void OpenAll() {
    dataSet.Statement().SetSQLText("SELECT id, name, code FROM " + table + " ORDER BY id");
    dataSet.Open();
  }
  int Id() { return dataSet.FieldByName("ID").AsInteger(); }

  TDACDatabase database;
  std::string table;
  TODBCCustomDataSetEx dataSet;
};

TEST_P(DataSetWalk, OpeningFetchesOneRowAndTheCountGrowsWhileWalking) {
  FetchCounter fetches;
  OpenAll();
  EXPECT_EQ(fetches.Calls(), 1);
  EXPECT_EQ(dataSet.RecordCount(), 1);
  EXPECT_EQ(Id(), 1);
  for (int i = 0; i < 9; ++i) dataSet.Next();
  EXPECT_EQ(Id(), 10);
  EXPECT_EQ(dataSet.RecordCount(), 10);
  EXPECT_EQ(fetches.Calls(), 10);
  // Blocks have room for 8 full records; packed, the ten rows fit the first one.
  EXPECT_EQ(dataSet.Cache().BlockBytes(), size_t(8 * dataSet.RecordSize()));
  EXPECT_EQ(dataSet.Cache().BlockCount(), 1u);
  while (!dataSet.Eof()) dataSet.Next();
  EXPECT_EQ(dataSet.RecordCount(), kRows);
}

TEST_P(DataSetWalk, NextAfterTheLastRowAsksTheDriverNothing) {
  OpenAll();
  while (!dataSet.Eof()) dataSet.Next();
  FetchCounter fetches;
  dataSet.Next();
  dataSet.Next();
  EXPECT_TRUE(dataSet.Eof());
  EXPECT_EQ(Id(), kRows);
  EXPECT_EQ(fetches.Calls(), 0);
}

TEST_P(DataSetWalk, StoredRecordsNeverMoveWhileTheCacheGrows) {
  OpenAll();
  const uint8_t* first = dataSet.Cache().At(0);
  dataSet.Last();
  EXPECT_EQ(dataSet.Cache().At(0), first);
  EXPECT_GE(dataSet.Cache().BlockCount(), 1u);
  EXPECT_LE(dataSet.Cache().BlockCount(), size_t((kRows + 7) / 8));
}

TEST_P(DataSetWalk, LocateThatMissesKeepsThePositionAndLaterWalksReadTheCache) {
  OpenAll();
  dataSet.Next();
  dataSet.Next();
  FetchCounter fetches;
  EXPECT_FALSE(dataSet.Locate("ID;NAME", std::vector<db::Variant>{int32_t(23), "Row 2"}));
  EXPECT_EQ(Id(), 3);
  EXPECT_EQ(dataSet.RecordCount(), kRows);
  const int afterLocate = fetches.Calls();
  EXPECT_EQ(afterLocate, kRows - 3 + 1);  // the rest of the rows and the end
  dataSet.First();
  int walked = 0;
  for (; !dataSet.Eof(); dataSet.Next()) ++walked;
  EXPECT_EQ(walked, kRows);
  EXPECT_EQ(fetches.Calls(), afterLocate);
}

TEST_P(DataSetWalk, LocateFindsAndMovesThere) {
  OpenAll();
  int scrolls = 0;
  dataSet.AfterScroll = [&](db::TDataSet&) { ++scrolls; };
  EXPECT_TRUE(dataSet.Locate("id;name", std::vector<db::Variant>{int32_t(23), "Row 23"}));
  EXPECT_EQ(Id(), 23);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(dataSet.RecNo(), 23);
  EXPECT_EQ(dataSet.RecordCount(), 23);  // nothing past the match was read
}

struct LocateCase {
  const char* label;
  const char* field;
  db::Variant key;
  db::TLocateOptions options;
  int foundId;  // 0: no match
};

class DataSetLocateRules : public DataSetWalk {};

// Rows hold name 'Row n' and code 'Cn  ' (two trailing spaces); row 7 has no code.
const LocateCase kLocateCases[] = {
    {"TextKeyOnIntegerField", "ID", "12", 0, 12},
    {"UnconvertibleTextOnIntegerField", "ID", "twelve", 0, 0},
    {"TrailingSpacesIgnored", "CODE", "C5", 0, 5},
    {"TrailingSpacesInKeyIgnored", "CODE", "C5   ", 0, 5},
    {"PartialKey", "NAME", "Row 3", db::loPartialKey, 3},
    {"PartialKeyOffNeedsWholeText", "NAME", "Row 4", 0, 4},
    {"CaseInsensitive", "NAME", "ROW 9", db::loCaseInsensitive, 9},
    {"CaseSensitiveByDefault", "NAME", "ROW 9", 0, 0},
    {"NullKeyNeverMatches", "CODE", db::Variant::Null(), 0, 0},
    {"IntegerKeyOnTextField", "CODE", int32_t(7), 0, 0},
};

TEST_P(DataSetLocateRules, Cases) {
  OpenAll();
  for (const LocateCase& c : kLocateCases) {
    SCOPED_TRACE(c.label);
    dataSet.First();
    const bool found = dataSet.Locate(c.field, c.key, c.options);
    EXPECT_EQ(found, c.foundId != 0);
    EXPECT_EQ(Id(), c.foundId != 0 ? c.foundId : 1);
  }
}

TEST_P(DataSetWalk, RecordNumberBeyondTheFetchedRowsLandsOnTheLast) {
  OpenAll();
  dataSet.SetRecNo(1000);
  EXPECT_EQ(dataSet.RecordCount(), kRows);
  EXPECT_EQ(Id(), kRows);
  EXPECT_EQ(dataSet.RecNo(), kRows);
  dataSet.SetRecNo(5);
  EXPECT_EQ(Id(), 5);
  dataSet.SetRecNo(0);
  EXPECT_EQ(Id(), 1);
}

TEST_P(DataSetWalk, BackwardsAndBookmarksComeFromTheCache) {
  OpenAll();
  dataSet.SetRecNo(20);
  const db::TBookmark mark = dataSet.GetBookmark();
  FetchCounter fetches;
  dataSet.Prior();
  EXPECT_EQ(Id(), 19);
  dataSet.First();
  EXPECT_TRUE(dataSet.BookmarkValid(mark));
  dataSet.GotoBookmark(mark);
  EXPECT_EQ(Id(), 20);
  EXPECT_EQ(fetches.Calls(), 0);
  EXPECT_FALSE(dataSet.BookmarkValid(db::TBookmark{}));
}

TEST_P(DataSetWalk, RefreshExecutesAgainAndKeepsThePlace) {
  OpenAll();
  dataSet.SetRecNo(4);
  dactest::ExecDirect(database, "UPDATE " + table + " SET name = 'Changed' WHERE id = 4");
  EXPECT_EQ(dataSet.FieldByName("NAME").AsString(), "Row 4");
  dataSet.Refresh();
  EXPECT_EQ(Id(), 4);
  EXPECT_EQ(dataSet.FieldByName("NAME").AsString(), "Changed");
  EXPECT_EQ(dataSet.RecordCount(), 4);
}

TEST_P(DataSetWalk, UniDirectionalKeepsTwoSlotsAndRefusesToGoBack) {
  dataSet.SetUniDirectional(true);
  OpenAll();
  int walked = 0;
  for (; !dataSet.Eof(); dataSet.Next()) {
    ++walked;
    EXPECT_EQ(Id(), walked);
  }
  EXPECT_EQ(walked, kRows);
  EXPECT_EQ(dataSet.Cache().BlockCount(), 1u);
  EXPECT_EQ(dataSet.Cache().BlockBytes(), size_t(2 * dataSet.RecordSize()));
  EXPECT_THROW(dataSet.Prior(), db::EDatabaseError);
  EXPECT_THROW(dataSet.SetUniDirectional(false), db::EDatabaseError) << "only while closed";
}

TEST_P(DataSetWalk, NullFieldsAndFieldsOfAClosedDataSet) {
  OpenAll();
  dataSet.SetRecNo(7);
  EXPECT_TRUE(dataSet.FieldByName("CODE").IsNull());
  EXPECT_EQ(dataSet.FieldByName("CODE").AsString(), "");
  dataSet.SetRecNo(8);
  EXPECT_EQ(dataSet.FieldByName("CODE").AsString(), "C8  ");
}

TEST_P(DataSetWalk, UnsupportedSearchesAndSettingsWhileOpen) {
  OpenAll();
  try {
    dataSet.FindFirst();
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Unsupported feature");
  }
  EXPECT_THROW(dataSet.SetBufferChunks(10), db::EDatabaseError);
  EXPECT_THROW(dataSet.SetConnection(nullptr), db::EDatabaseError);
  EXPECT_TRUE(dataSet.Active());
}

TEST_P(DataSetWalk, ClosingTheConnectionClosesTheDataSet) {
  OpenAll();
  database.Close();
  EXPECT_FALSE(dataSet.Active());
  database.Open();
  OpenAll();
  EXPECT_EQ(Id(), 1);
}

TEST_P(DataSetWalk, TextWithoutResultSetRunsAndLeavesTheDataSetClosed) {
  dataSet.Statement().SetSQLText("UPDATE " + table + " SET name = 'All' WHERE id < 3");
  dataSet.Open();
  EXPECT_FALSE(dataSet.Active());
  EXPECT_EQ(dactest::QueryScalar(database, "SELECT name FROM " + table + " WHERE id = 2"), "All");
}

INSTANTIATE_FOR_BOTH_DATABASES(DataSetWalk);
INSTANTIATE_FOR_BOTH_DATABASES(DataSetLocateRules);

TEST(DataSetWithoutConnection, RefusesToOpen) {
  TODBCCustomDataSetEx dataSet;
  dataSet.Statement().SetSQLText("SELECT 1");
  try {
    dataSet.Open();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Connection property not assigned");
  }
  EXPECT_FALSE(dataSet.Active());
}

}  // namespace

namespace {

class DataSetFieldKinds : public DataSetWalk {};

TEST_P(DataSetFieldKinds, PersistentCalculatedFieldsFilterAndLookup) {
  dataSet.AddField("ID", db::ftInteger);
  dataSet.AddField("NAME", db::ftString, 40);
  dataSet.AddField("TWICE", db::ftInteger, 0, db::fkCalculated);
  dataSet.OnCalcFields = [](db::TDataSet& d) {
    d.FieldByName("TWICE").SetAsInteger(2 * d.FieldByName("ID").AsInteger());
  };
  dataSet.OnFilterRecord = [](db::TDataSet& d, bool& accept) {
    accept = d.FieldByName("TWICE").AsInteger() % 4 == 0;
  };
  OpenAll();
  EXPECT_EQ(dataSet.FieldCount(), 3) << "no default fields beside the persistent ones";
  EXPECT_EQ(dataSet.FieldByName("TWICE").AsInteger(), 2);
  dataSet.SetRecNo(5);
  const db::Variant name = dataSet.Lookup("ID", int32_t(30), "NAME");
  EXPECT_EQ(name, db::Variant("Row 30"));
  EXPECT_EQ(Id(), 5) << "a lookup does not move";
  EXPECT_TRUE(dataSet.Lookup("ID", int32_t(99), "NAME").IsNull());
  dataSet.SetFiltered(true);
  std::vector<int> ids;
  for (dataSet.First(); !dataSet.Eof() && ids.size() < 4; dataSet.Next()) ids.push_back(Id());
  EXPECT_EQ(ids, (std::vector<int>{2, 4, 6, 8}));
}

INSTANTIATE_FOR_BOTH_DATABASES(DataSetFieldKinds);

}  // namespace

namespace {

TEST_P(DataSetWalk, DataSetOutlivesItsConnection) {
  auto own = std::make_unique<TDACDatabase>();
  own->SetLoginPrompt(false);
  own->SetParams(Params());
  TODBCCustomDataSetEx other;
  other.SetConnection(own.get());
  other.Statement().SetSQLText("SELECT 1 AS one");
  other.Open();
  EXPECT_EQ(own->DataSetCount(), 1u);
  EXPECT_EQ(own->StatementCount(), 0u) << "the dataset's statement is not listed on its own";
  own.reset();
  EXPECT_FALSE(other.Active());
  EXPECT_EQ(other.Connection(), nullptr);
}

}  // namespace
