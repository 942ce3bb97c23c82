// The result cursor against the real SQLite3 and psqlODBC drivers: describing, binding and
// fetching every kind of column, long values in chunks, the end of the rows.
#include <gtest/gtest.h>


#include "dac/Bcd.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCCursor.h"
#include "dac/ODBCError.h"
#include "dac/ODBCHandle.h"
#include "dac/SQLMonitor.h"
#include "dac/Utf8.h"
#include "toolkit/db/FormatSettings.h"
#include "tests/dac/support_dac.h"

using namespace dac;
using dactest::RealDatabaseTest;

namespace {

class CursorTest : public RealDatabaseTest {
 protected:
  void SetUp() override {
    Prepare(database);
    database.Open();
    table = testdb::UniqueName("cursor");
  }
  void TearDown() override {
    cursor.Reset();
    statement.Release();
    try {
      dactest::ExecDirect(database, "DROP TABLE " + table);
    } catch (const std::exception&) {
    }
  }
  void Exec(const std::string& sql) { dactest::ExecDirect(database, sql); }
  // Runs sql on this test's own statement handle and opens the cursor over its result.
  void Query(const std::string& sql) {
    if (!statement) statement.Allocate(database.Handle());
    odbcapi::SQLFreeStmt(statement.Get(), SQL_CLOSE);
    const SQLRETURN rc = odbcapi::SQLExecDirect(
        statement.Get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
    if (rc != SQL_NO_DATA) ODBCCheck(SQL_HANDLE_STMT, statement.Get(), rc);
    cursor.Initialize(statement.Get(), database.Handle());
    if (cursor.ColumnCount() > 0) cursor.Open();
  }
  TODBCColumn& Column(const char* name) {
    for (int i = 1; i < cursor.Columns().Count(); ++i)
      if (cursor.Columns()[i].Name() == name) return cursor.Columns()[i];
    throw std::runtime_error(std::string("no column ") + name);
  }

  TDACDatabase database;
  std::string table;
  TODBCHandle statement{SQL_HANDLE_STMT};
  TODBCCursor cursor;
};

const double kDay = 45356;  // 5 March 2024
const std::string kBread = "P\xc3\xa3o de L\xc3\xb3";  // 9 characters, 11 bytes

// Inserts one text through a bound parameter of exactly its length (test setup only).
void InsertText(TDACDatabase& database, const std::string& sql, const std::string& text) {
  TODBCHandle statement(SQL_HANDLE_STMT);
  statement.Allocate(database.Handle());
  SQLLEN length = SQLLEN(text.size());
  ODBCCheck(SQL_HANDLE_STMT, statement.Get(),
            odbcapi::SQLBindParameter(statement.Get(), 1, SQL_PARAM_INPUT, SQL_C_CHAR,
                                      SQL_LONGVARCHAR, text.size() + 1, 0,
                                      const_cast<char*>(text.data()), length, &length));
  ODBCCheck(SQL_HANDLE_STMT, statement.Get(),
            odbcapi::SQLExecDirect(statement.Get(),
                                   reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                                   SQL_NTS));
}

// A text of exactly size bytes, accented characters included, never cut inside one.
std::string LongText(size_t size) {
  std::string text;
  while (text.size() < size) text += kBread + " " + std::to_string(text.size()) + "; ";
  text = CutToBytes(text, size);
  text.append(size - text.size(), 'x');
  return text;
}

TEST_P(CursorTest, FetchesEveryKindOfColumn) {
  Exec("CREATE TABLE " + table +
       " (id integer, small smallint, big bigint, real_value double precision,"
       " price numeric(10,2), name varchar(9), day date, moment timestamp)");
  Exec("INSERT INTO " + table + " VALUES (1, -2, 1099511627776, 4.5, 12.50, '" + kBread +
       "', '2024-03-05', '2024-03-05 18:00:00')");
  Exec("INSERT INTO " + table + " VALUES (2, null, null, null, null, null, null, null)");
  Query("SELECT id, small, big, real_value, price, name, day, moment FROM " + table +
        " ORDER BY id");
  ASSERT_EQ(cursor.Columns().Count(), 9);
  EXPECT_EQ(cursor.Columns()[0].Name(), "ODBC_BOOKMARK");
  EXPECT_EQ(cursor.Columns()[0].CType(), SQL_C_BINARY);
  EXPECT_EQ(cursor.ColumnCount(), 8);
  EXPECT_TRUE(cursor.Bof());
  cursor.Fetch();
  EXPECT_FALSE(cursor.Bof());
  EXPECT_EQ(Column("id").CType(), SQL_C_SLONG);
  EXPECT_EQ(Column("id").AsInteger(), 1);
  EXPECT_EQ(Column("small").CType(), SQL_C_SSHORT);
  EXPECT_EQ(Column("small").AsSmallInt(), -2);
  EXPECT_EQ(Column("big").CType(), SQL_C_SBIGINT);
  EXPECT_EQ(Column("big").AsLargeInt(), int64_t(1) << 40);
  EXPECT_EQ(Column("big").AsString(), "1099511627776");
  EXPECT_EQ(Column("real_value").AsFloat(), 4.5);
  if (IsPostgres()) {
    // Decimals travel as text in a 34-byte buffer.
    EXPECT_EQ(Column("price").SQLType(), SQL_NUMERIC);
    EXPECT_TRUE(Column("price").IsNumericText());
    EXPECT_EQ(Column("price").DataSize(), 34);
    EXPECT_EQ(Column("price").DecimalDigits(), 2);
    EXPECT_EQ(Column("price").AsString(), "12.50");
    EXPECT_EQ(BcdToText(Column("price").AsBCD()), "12.5");
  } else {
    // The SQLite driver describes numeric(10,2) as SQL_DOUBLE.
    EXPECT_EQ(Column("price").SQLType(), SQL_DOUBLE);
  }
  EXPECT_EQ(Column("price").AsFloat(), 12.5);
  // Nine characters of up to four bytes each fit whole.
  EXPECT_EQ(Column("name").ColumnSize(), 9u);
  EXPECT_EQ(Column("name").DataSize(), 37);
  EXPECT_EQ(Column("name").AsString(), kBread);
  EXPECT_EQ(Column("day").CType(), SQL_C_TYPE_DATE);
  EXPECT_EQ(Column("day").AsDateTime(), kDay);
  EXPECT_EQ(Column("moment").CType(), SQL_C_TYPE_TIMESTAMP);
  EXPECT_EQ(Column("moment").AsDateTime(), kDay + 0.75);
  EXPECT_EQ(Column("moment").AsString(), "05/03/2024 18:00:00");
  cursor.Fetch();
  EXPECT_EQ(cursor.RecordCount(), 2);
  for (const char* name : {"small", "big", "real_value", "price", "name", "day", "moment"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(Column(name).IsNull());
    EXPECT_TRUE(Column(name).Value().IsNull());
    EXPECT_EQ(Column(name).AsString(), "");
  }
}

TEST_P(CursorTest, DecimalTextTakesTheModuleSeparator) {
  Exec("CREATE TABLE " + table + " (price numeric(10,2))");
  Exec("INSERT INTO " + table + " VALUES (12.50)");
  struct Case {
    char separator;
    const char* text;
  };
  for (const Case& c : {Case{',', "12,50"}, Case{'.', "12.50"}}) {
    SCOPED_TRACE(c.separator);
    db::FormatSettings().DecimalSeparator = c.separator;
    cursor.ClearColumns();
    Query("SELECT price FROM " + table);
    cursor.Fetch();
    if (IsPostgres()) {
      EXPECT_EQ(Column("price").AsString(), c.text);
    }
    EXPECT_EQ(Column("price").AsFloat(), 12.5);
    cursor.Reset();
  }
  db::FormatSettings().DecimalSeparator = '.';
}

TEST_P(CursorTest, LongTextArrivesWholeInChunks) {
  Exec("CREATE TABLE " + table + " (id integer, memo text)");
  const size_t sizes[] = {0, 3000, 32768, 70000};
  int id = 0;
  for (size_t size : sizes)
    InsertText(database,
               "INSERT INTO " + table + " VALUES (" + std::to_string(++id) + ", ?)",
               LongText(size));
  Exec("INSERT INTO " + table + " VALUES (99, null)");
  Query("SELECT id, memo FROM " + table + " ORDER BY id");
  EXPECT_EQ(cursor.LongColumnCount(), 1);
  EXPECT_EQ(Column("memo").SQLType(), SQL_LONGVARCHAR);
  for (size_t size : sizes) {
    SCOPED_TRACE(size);
    cursor.Fetch();
    ASSERT_FALSE(cursor.Eof());
    EXPECT_FALSE(Column("memo").IsNull());
    EXPECT_EQ(Column("memo").AsString(), LongText(size));
    EXPECT_EQ(Column("memo").DataSize(), SQLLEN(size + 1));
  }
  cursor.Fetch();
  EXPECT_EQ(Column("id").AsInteger(), 99);
  EXPECT_TRUE(Column("memo").IsNull());
  EXPECT_EQ(Column("memo").Data(), nullptr);
}

TEST_P(CursorTest, EndOfRowsStaysSetWithoutAskingTheDriver) {
  Exec("CREATE TABLE " + table + " (id integer, name varchar(20))");
  Exec("INSERT INTO " + table + " VALUES (1, 'one')");
  Exec("INSERT INTO " + table + " VALUES (2, 'two')");
  int fetchNotices = 0;
  const int hook = SQLMonitor().AddHook(
      [&](const void*, int category, const std::string&, const std::string&) {
        if (category == 3) ++fetchNotices;
      },
      0xFF);
  Query("SELECT id, name FROM " + table + " ORDER BY id");
  cursor.Fetch();
  cursor.Fetch();
  cursor.Fetch();
  SQLMonitor().RemoveHook(hook);
  EXPECT_TRUE(cursor.Eof());
  EXPECT_EQ(fetchNotices, 2);
  EXPECT_EQ(cursor.RecordCount(), 2);
  EXPECT_EQ(Column("id").AsInteger(), 2);  // the buffers keep the last row
  EXPECT_EQ(Column("name").AsString(), "two");
  // With the driver's cursor closed behind its back, a further SQLFetch would fail.
  ODBCCheck(SQL_HANDLE_STMT, statement.Get(), odbcapi::SQLFreeStmt(statement.Get(), SQL_CLOSE));
  EXPECT_NO_THROW(cursor.Fetch());
  EXPECT_TRUE(cursor.Eof());
  EXPECT_EQ(cursor.RecordCount(), 2);
  cursor.Open();
  EXPECT_FALSE(cursor.Eof());
  EXPECT_TRUE(cursor.Bof());
  EXPECT_EQ(cursor.RecordCount(), 0);
}

TEST_P(CursorTest, FetchOnOpenFetchesTheFirstRow) {
  Exec("CREATE TABLE " + table + " (id integer)");
  Exec("INSERT INTO " + table + " VALUES (7)");
  cursor.SetFetchOnOpen(true);
  Query("SELECT id FROM " + table);
  EXPECT_EQ(cursor.RecordCount(), 1);
  EXPECT_EQ(Column("id").AsInteger(), 7);
}

TEST_P(CursorTest, ClosedCursorRefusesToFetch) {
  try {
    cursor.Fetch();
    FAIL() << "no error";
  } catch (const db::EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Cannot perform this operation on a closed cursor");
  }
  Exec("CREATE TABLE " + table + " (id integer)");
  Query("SELECT id FROM " + table);
  cursor.Reset();
  EXPECT_FALSE(cursor.IsOpen());
  EXPECT_THROW(cursor.CheckOpen(), db::EDatabaseError);
}

TEST_P(CursorTest, ResultWithoutColumnsLeavesColumnsAndCursorAsTheyWere) {
  Exec("CREATE TABLE " + table + " (id integer)");
  Query("SELECT id FROM " + table);
  cursor.Reset();
  Query("UPDATE " + table + " SET id = 1");
  EXPECT_EQ(cursor.ColumnCount(), 0);
  EXPECT_EQ(cursor.Columns().Count(), 2);
  EXPECT_FALSE(cursor.IsOpen());
  cursor.ClearColumns();
  EXPECT_EQ(cursor.Columns().Count(), 0);
  EXPECT_EQ(cursor.LongColumnCount(), 0);
}

TEST_P(CursorTest, SameNameTwiceGivesTwoItemsInColumnOrder) {
  Exec("CREATE TABLE " + table + " (id integer, other integer)");
  Exec("INSERT INTO " + table + " VALUES (1, 2)");
  Query("SELECT id AS a, other AS a FROM " + table);
  cursor.Fetch();
  ASSERT_EQ(cursor.Columns().Count(), 3);
  EXPECT_EQ(cursor.Columns()[1].Name(), "a");
  EXPECT_EQ(cursor.Columns()[2].Name(), "a");
  EXPECT_EQ(cursor.Columns()[1].AsInteger(), 1);
  EXPECT_EQ(cursor.Columns()[2].AsInteger(), 2);
}

TEST_P(CursorTest, BitColumnIsNoText) {
  if (IsPostgres()) {
    // psqlODBC reports booleans as text unless told otherwise.
    database.Close();
    std::vector<std::string> params = Params();
    params.push_back("BoolsAsChar=0");
    database.SetParams(params);
    database.Open();
  }
  Exec("CREATE TABLE " + table + " (flag " + (IsPostgres() ? "boolean" : "bit") + ")");
  Exec("INSERT INTO " + table + " VALUES (" + (IsPostgres() ? "true" : "1") + ")");
  Query("SELECT flag FROM " + table);
  cursor.Fetch();
  TODBCColumn& flag = Column("flag");
  ASSERT_EQ(flag.CType(), SQL_C_BIT);
  try {
    flag.AsString();
    FAIL() << "no error";
  } catch (const db::EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Invalid data conversion\n\rflag\n\r-7");
  }
  EXPECT_EQ(flag.AsInteger(), 1);
  EXPECT_TRUE(flag.AsBoolean());
}

TEST_P(CursorTest, AutoIncrementAndNullableFromTheDriver) {
  Exec("CREATE TABLE " + table +
       (IsPostgres() ? " (id serial primary key, name varchar(10) not null)"
                     : " (id integer primary key autoincrement, name varchar(10) not null)"));
  Query("SELECT id, name FROM " + table);
  EXPECT_TRUE(Column("id").AutoIncrement());
  EXPECT_FALSE(Column("name").AutoIncrement());
  // The SQLite driver describes every column as nullable, not null ones included.
  EXPECT_EQ(Column("name").Nullable(), !IsPostgres());
  EXPECT_TRUE(Column("id").Nullable() || IsPostgres());
}

INSTANTIATE_FOR_BOTH_DATABASES(CursorTest);

}  // namespace
