// Values of every common column kind as dataset fields, field definition names, long text
// through blob streams, and the editing paths: an update object (defined here only; the
// system has none) and cached updates.
#include <gtest/gtest.h>

#include <string>

#include "dac/ODBCCustomDatasetEx.h"
#include "dac/ODBCQuery.h"
#include "toolkit/db/DateUtils.h"
#include "toolkit/db/TextUtils.h"
#include "toolkit/db/VariantConvert.h"
#include "tests/dac/support_dac.h"

using namespace dac;
using dactest::RealDatabaseTest;

namespace {

const std::string kBread = "P\xc3\xa3o de L\xc3\xb3";  // "Pão de Ló"

class DataSetValues : public RealDatabaseTest {
 protected:
  void SetUp() override {
    Prepare(database);
    database.Open();
    table = testdb::UniqueName("dsval");
    Exec("CREATE TABLE " + table +
         " (id INTEGER, name VARCHAR(40), price NUMERIC(10,2), ratio DOUBLE PRECISION,"
         " born DATE, stamp TIMESTAMP, note TEXT)");
    Exec("INSERT INTO " + table + " VALUES (1, '" + kBread +
         "', 12.34, 0.5, '2024-03-05', '2024-03-05 13:45:30', 'long text one')");
    Exec("INSERT INTO " + table + " VALUES (2, 'Broa', NULL, NULL, NULL, NULL, NULL)");
    Exec("INSERT INTO " + table + " VALUES (3, 'Bolo', 1.50, 2, '1999-12-31', NULL, '')");
    dataSet.SetConnection(&database);
  }
  void TearDown() override {
    dataSet.Close();
    Exec("DROP TABLE " + table);
  }
  void Exec(const std::string& sql) { dactest::ExecDirect(database, sql); }
  void OpenSelect(const std::string& columns) {
    dataSet.SetSQLText("SELECT " + columns + " FROM " + table + " ORDER BY id");
    dataSet.Open();
  }
  db::TField& F(const char* name) { return dataSet.FieldByName(name); }

  TDACDatabase database;
  std::string table;
  TODBCQuery dataSet;
};

TEST_P(DataSetValues, EveryKindReadsBackAsStored) {
  OpenSelect("id, name, price, ratio, born, stamp, note");
  EXPECT_EQ(F("ID").AsInteger(), 1);
  EXPECT_EQ(F("NAME").AsString(), kBread);
  // psqlODBC describes NUMERIC as such; the SQLite driver as a double.
  EXPECT_EQ(F("PRICE").DataType(), IsPostgres() ? db::ftBCD : db::ftFloat);
  EXPECT_NEAR(F("PRICE").AsFloat(), 12.34, 1e-9);
  EXPECT_DOUBLE_EQ(F("RATIO").AsFloat(), 0.5);
  EXPECT_EQ(F("BORN").DataType(), db::ftDate);
  EXPECT_EQ(db::DateTimeToStr(F("BORN").AsDateTime()), db::DateTimeToStr(db::EncodeDate(2024, 3, 5)));
  EXPECT_EQ(F("STAMP").DataType(), db::ftDateTime);
  EXPECT_NEAR(F("STAMP").AsDateTime(),
              db::EncodeDate(2024, 3, 5) + db::EncodeTime(13, 45, 30, 0), 1e-8);
  EXPECT_TRUE(F("NOTE").IsBlob());
  EXPECT_EQ(F("NOTE").AsString(), "long text one");
  dataSet.Next();
  for (const char* name : {"PRICE", "RATIO", "BORN", "STAMP", "NOTE"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(F(name).IsNull());
  }
  dataSet.Prior();
  EXPECT_EQ(F("NOTE").AsString(), "long text one") << "long values stay with their record";
}

TEST_P(DataSetValues, RepeatedAndEmptyNamesGetNumbered) {
  OpenSelect("id AS id_1, id, id, name");
  ASSERT_EQ(dataSet.FieldDefs().Count(), 4);
  EXPECT_TRUE(db::SameName(dataSet.FieldDefs()[0].Name(), "id_1"));
  EXPECT_TRUE(db::SameName(dataSet.FieldDefs()[1].Name(), "id"));
  EXPECT_TRUE(db::SameName(dataSet.FieldDefs()[2].Name(), "id_2"));
  EXPECT_EQ(F("ID_2").AsInteger(), 1);
}

TEST_P(DataSetValues, BlobStreamsReadSeekAndRefuseWritesOutsideEditing) {
  OpenSelect("id, note");
  auto stream = dataSet.CreateBlobStream(F("NOTE"), db::bmRead);
  EXPECT_EQ(stream->Size(), 13);
  stream->Seek(-3, db::TSeekOrigin::End);
  char tail[4] = {};
  EXPECT_EQ(stream->Read(tail, 10), 3);
  EXPECT_STREQ(tail, "one");
  try {
    dataSet.CreateBlobStream(F("NOTE"), db::bmWrite);
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Dataset not in edit or insert mode");
  }
}

// An update object of the tests: runs the SQL of each kind with the record's values, taking
// OLD_ names from the values before the edit.
class SqlUpdateObject : public TODBCDataSetUpdateObject {
 public:
  TODBCCustomDataSet* DataSet() const override { return dataSet_; }
  void SetDataSet(TODBCCustomDataSet* dataSet) override { dataSet_ = dataSet; }
  TStrings SQL(TUpdateKind kind) const override { return sql[kind]; }
  void Apply(TUpdateKind kind) override {
    applied.push_back(kind);
    TODBCQuery command;
    command.SetConnection(connection);
    command.SetSQL(sql[kind]);
    for (size_t i = 0; i < command.Params().Count(); ++i) {
      TODBCParam& param = command.Params()[i];
      std::string name = param.Name();
      if (name.rfind("OLD_", 0) == 0) name = name.substr(4);
      param.Assign(dataSet_->FieldByName(name));
    }
    command.ExecSQL();
  }

  TStrings sql[3];
  std::vector<TUpdateKind> applied;
  TODBCConnection* connection = nullptr;
  TODBCCustomDataSet* dataSet_ = nullptr;
};

class DataSetEditing : public DataSetValues {
 protected:
  void UseUpdateObject() {
    updates.connection = &database;
    updates.SetDataSet(&dataSet);
    updates.sql[ukModify] = {"UPDATE " + table + " SET name = :NAME WHERE id = :OLD_ID"};
    updates.sql[ukInsert] = {"INSERT INTO " + table + " (id, name) VALUES (:ID, :NAME)"};
    updates.sql[ukDelete] = {"DELETE FROM " + table + " WHERE id = :OLD_ID"};
    dataSet.SetUpdateObject(&updates);
  }
  std::string NameInDatabase(int id) {
    return dactest::QueryScalar(database, "SELECT name FROM " + table +
                                              " WHERE id = " + std::to_string(id));
  }
  SqlUpdateObject updates;
};

TEST_P(DataSetEditing, WithoutUpdateObjectTheDataSetIsReadOnly) {
  OpenSelect("id, name");
  EXPECT_FALSE(dataSet.CanModify());
  EXPECT_THROW(dataSet.Edit(), db::EDatabaseError);
}

TEST_P(DataSetEditing, UpdateObjectWritesAtOnceAndTheCacheKeepsTheChange) {
  UseUpdateObject();
  OpenSelect("id, name");
  dataSet.Next();
  dataSet.Edit();
  F("NAME").SetAsString("Broa de Milho");
  EXPECT_EQ(F("NAME").OldValue(), db::Variant("Broa"));
  dataSet.Post();
  EXPECT_EQ(NameInDatabase(2), "Broa de Milho");
  dataSet.First();
  dataSet.Next();
  EXPECT_EQ(F("NAME").AsString(), "Broa de Milho");
  EXPECT_EQ(dataSet.UpdateStatus(), usUnmodified);

  dataSet.Append();
  F("ID").SetAsInteger(9);
  F("NAME").SetAsString("Novo");
  dataSet.Post();
  EXPECT_EQ(NameInDatabase(9), "Novo");
  EXPECT_EQ(dataSet.RecordCount(), 4);
  EXPECT_EQ(F("ID").AsInteger(), 9);

  dataSet.First();
  dataSet.Delete();
  EXPECT_EQ(NameInDatabase(1), "<no row>");
  EXPECT_EQ(dataSet.RecordCount(), 3);
  EXPECT_EQ(F("ID").AsInteger(), 2);
  std::vector<int> ids;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) ids.push_back(F("ID").AsInteger());
  EXPECT_EQ(ids, (std::vector<int>{2, 3, 9}));
  EXPECT_EQ(updates.applied, (std::vector<TUpdateKind>{ukModify, ukInsert, ukDelete}));
}

struct MissingSqlCase {
  const char* label;
  TUpdateKind missing;
  const char* message;
};

TEST_P(DataSetEditing, EachKindWithoutItsSqlIsRefused) {
  const MissingSqlCase cases[] = {
      {"Modify", ukModify, "Cannot update. (No update query)"},
      {"Insert", ukInsert, "Cannot insert into dataset. (No insert query)"},
      {"Delete", ukDelete, "Cannot delete from dataset. (No delete query)"},
  };
  UseUpdateObject();
  OpenSelect("id, name");
  for (const MissingSqlCase& c : cases) {
    SCOPED_TRACE(c.label);
    const TStrings saved = updates.sql[c.missing];
    updates.sql[c.missing] = {"  "};
    try {
      if (c.missing == ukModify) {
        dataSet.Edit();
        F("NAME").SetAsString("x");
      } else if (c.missing == ukInsert) {
        dataSet.Append();
        F("NAME").SetAsString("x");
      } else {
        dataSet.Delete();
      }
      ADD_FAILURE() << "no error";
    } catch (const db::EDatabaseError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    dataSet.Cancel();
    updates.sql[c.missing] = saved;
  }
  EXPECT_TRUE(updates.applied.empty());
  EXPECT_EQ(NameInDatabase(1), kBread);
}

TEST_P(DataSetEditing, CachedUpdatesStayInTheCacheUntilCancelled) {
  dataSet.SetCachedUpdates(true);
  std::vector<TUpdateKind> recorded;
  dataSet.OnUpdateRecord = [&](db::TDataSet&, TUpdateKind kind, TUpdateAction& action) {
    recorded.push_back(kind);
    action = uaApplied;
  };
  OpenSelect("id, name");
  EXPECT_TRUE(dataSet.CanModify());
  dataSet.Edit();
  F("NAME").SetAsString("Mudado");
  dataSet.Post();
  EXPECT_EQ(dataSet.UpdateStatus(), usModified);
  EXPECT_EQ(F("NAME").OldValue(), db::Variant(kBread));
  EXPECT_TRUE(dataSet.UpdatesPending());
  EXPECT_EQ(NameInDatabase(1), kBread);
  dataSet.ApplyRecordUpdate();
  EXPECT_EQ(recorded, std::vector<TUpdateKind>{ukModify});

  dataSet.Next();
  dataSet.Delete();
  EXPECT_EQ(dataSet.RecordCount(), 2);
  EXPECT_EQ(F("ID").AsInteger(), 3);

  dataSet.Append();
  F("ID").SetAsInteger(8);
  dataSet.Post();
  EXPECT_EQ(dataSet.UpdateStatus(), usInserted);
  dataSet.Delete();  // an inserted record simply goes
  EXPECT_EQ(dataSet.RecordCount(), 2);

  // Deleted records show when asked for, but cannot be edited.
  dataSet.SetUpdateRecordTypes(rtUnmodified | rtModified | rtInserted | rtDeleted);
  ASSERT_TRUE(dataSet.Locate("ID", int32_t(2)));
  EXPECT_EQ(dataSet.UpdateStatus(), usDeleted);
  try {
    dataSet.Edit();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Cannot modify deleted record");
  }
  dataSet.CancelUpdates();
  EXPECT_FALSE(dataSet.UpdatesPending());
  std::vector<std::string> names;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) names.push_back(F("NAME").AsString());
  EXPECT_EQ(names, (std::vector<std::string>{kBread, "Broa", "Bolo"}));
}

TEST_P(DataSetEditing, SwitchingCachedUpdatesOffCancelsPendingChanges) {
  dataSet.SetCachedUpdates(true);
  dataSet.OnUpdateRecord = [](db::TDataSet&, TUpdateKind, TUpdateAction&) {};
  OpenSelect("id, name, note");
  dataSet.Edit();
  F("NAME").SetAsString("Outro");
  {
    auto stream = dataSet.CreateBlobStream(F("NOTE"), db::bmWrite);
    stream->Write("new note", 8);
  }
  EXPECT_EQ(F("NOTE").AsString(), "new note");
  dataSet.Post();
  EXPECT_EQ(F("NOTE").AsString(), "new note");
  dataSet.SetCachedUpdates(false);
  EXPECT_EQ(F("NAME").AsString(), kBread);
  EXPECT_EQ(F("NOTE").AsString(), "long text one");
  try {
    dataSet.CancelUpdates();
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Not in cached update mode");
  }
}

TEST_P(DataSetEditing, ReadOnlyLongFieldRefusesAWritingStream) {
  dataSet.SetCachedUpdates(true);
  dataSet.OnUpdateRecord = [](db::TDataSet&, TUpdateKind, TUpdateAction&) {};
  OpenSelect("id, note");
  F("NOTE").SetReadOnly(true);
  F("NOTE").SetDisplayLabel("Nota");
  dataSet.Edit();
  try {
    dataSet.CreateBlobStream(F("NOTE"), db::bmWrite);
    FAIL();
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Field 'Nota' cannot be modified");
  }
  dataSet.Cancel();
}

INSTANTIATE_FOR_BOTH_DATABASES(DataSetValues);
INSTANTIATE_FOR_BOTH_DATABASES(DataSetEditing);

TEST(DataSetFieldNames, UnnamedColumnIsColumn1) {
  // PostgreSQL refuses an empty column alias; SQLite gives one.
  TDACDatabase database;
  database.SetLoginPrompt(false);
  database.SetParams(testdb::ParamsFor(testdb::Kind::SQLite));
  TODBCQuery query;
  query.SetConnection(&database);
  query.SetSQLText("SELECT 1 AS \"\", 2 AS \"\", 3 AS COLUMN1");
  query.Open();
  ASSERT_EQ(query.FieldDefs().Count(), 3);
  EXPECT_EQ(query.FieldDefs()[0].Name(), "COLUMN1");
  EXPECT_EQ(query.FieldDefs()[1].Name(), "COLUMN2");
  EXPECT_EQ(query.FieldDefs()[2].Name(), "COLUMN1_1");
  EXPECT_EQ(query.FieldByName("COLUMN2").AsInteger(), 2);
}

}  // namespace
