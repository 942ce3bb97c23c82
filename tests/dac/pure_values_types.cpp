// Described types (SetDataType), copying (Assign, AssignTo) and comparing parameters.
#include <gtest/gtest.h>

#include <functional>

#include "dac/Bcd.h"
#include "tests/dac/values_bytes.h"
#include "dac/ODBCParam.h"
#include "toolkit/db/DateUtils.h"
#include "toolkit/db/MemTable.h"

using namespace dac;

namespace {

using valuestest::Bytes;
using valuestest::Text;
using valuestest::Held;


const double kDay = 45356;  // 5 March 2024

struct DescribedRow {
  const char* label;
  std::function<void(TODBCParam&)> write;
  db::TFieldType described;
  SQLSMALLINT cType;
  SQLSMALLINT sqlType;
  std::string bytes;
};

class DescribedTable : public testing::TestWithParam<DescribedRow> {};

TEST_P(DescribedTable, TakesTheDescribedType) {
  const DescribedRow& row = GetParam();
  TODBCParam param("P");
  row.write(param);
  param.SetDataType(row.described);
  EXPECT_EQ(param.CType(), row.cType);
  EXPECT_EQ(param.SQLType(), row.sqlType);
  EXPECT_EQ(Held(param), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DescribedTable,
    testing::Values(
        DescribedRow{"NullTakesTheTypeAsItIs", [](TODBCParam&) {}, db::ftMemo, SQL_C_CHAR,
                     SQL_LONGVARCHAR, ""},
        DescribedRow{"SmallIntDescribedFloat", [](TODBCParam& p) { p.SetAsSmallInt(5); },
                     db::ftFloat, SQL_C_DOUBLE, SQL_DOUBLE, Bytes(5.0)},
        DescribedRow{"DoubleDescribedDecimal", [](TODBCParam& p) { p.SetAsFloat(12.5); },
                     db::ftBCD, SQL_C_CHAR, SQL_DECIMAL, Text("12.5")},
        DescribedRow{"DoubleDescribedDate", [](TODBCParam& p) { p.SetAsFloat(kDay + 0.75); },
                     db::ftDate, SQL_C_TYPE_DATE, SQL_TYPE_DATE,
                     Bytes(SQL_DATE_STRUCT{2024, 3, 5})},
        // The date structure is the head of the timestamp: the 16 bytes stay, the date is sent.
        DescribedRow{"TimestampDescribedDate", [](TODBCParam& p) { p.SetAsDateTime(kDay + 0.75); },
                     db::ftDate, SQL_C_TYPE_DATE, SQL_TYPE_DATE,
                     Bytes(SQL_TIMESTAMP_STRUCT{2024, 3, 5, 18, 0, 0, 0})},
        DescribedRow{"TimestampDescribedTime", [](TODBCParam& p) { p.SetAsDateTime(kDay + 0.75); },
                     db::ftTime, SQL_C_TYPE_TIME, SQL_TYPE_TIME,
                     Bytes(SQL_TIME_STRUCT{18, 0, 0})},
        DescribedRow{"DateDescribedTimestamp", [](TODBCParam& p) { p.SetAsDate(kDay); },
                     db::ftDateTime, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
                     Bytes(SQL_TIMESTAMP_STRUCT{2024, 3, 5, 0, 0, 0, 0})},
        DescribedRow{"IntegerDescribedBigInt", [](TODBCParam& p) { p.SetAsInteger(-7); },
                     db::ftLargeint, SQL_C_SBIGINT, SQL_BIGINT, Bytes(int64_t(-7))},
        DescribedRow{"IntegerDescribedSmallInt", [](TODBCParam& p) { p.SetAsInteger(300); },
                     db::ftSmallint, SQL_C_SSHORT, SQL_SMALLINT, Bytes(int16_t(300))},
        DescribedRow{"TrueDescribedBit", [](TODBCParam& p) { p.SetValue(db::Variant(true)); },
                     db::ftBoolean, SQL_C_BIT, SQL_BIT, Bytes(uint8_t(1))},
        DescribedRow{"BitDescribedInteger",
                     [](TODBCParam& p) {
                       p.SetValue(db::Variant(true));
                       p.SetDataType(db::ftBoolean);
                     },
                     db::ftInteger, SQL_C_SLONG, SQL_INTEGER, Bytes(int32_t(1))},
        DescribedRow{"BigIntDescribedFloat", [](TODBCParam& p) { p.SetAsLargeInt(1LL << 40); },
                     db::ftFloat, SQL_C_DOUBLE, SQL_DOUBLE, Bytes(1099511627776.0)},
        DescribedRow{"IntegerDescribedDecimal", [](TODBCParam& p) { p.SetAsInteger(42); },
                     db::ftBCD, SQL_C_CHAR, SQL_DECIMAL, Text("42")},
        // Described as long text (the SQLite driver's answer for every marker): numbers keep
        // their layout and a type that matches it, never raw bytes relabelled as text.
        DescribedRow{"IntegerDescribedLongText", [](TODBCParam& p) { p.SetAsInteger(7); },
                     db::ftMemo, SQL_C_SLONG, SQL_INTEGER, Bytes(int32_t(7))},
        DescribedRow{"DoubleDescribedLongText", [](TODBCParam& p) { p.SetAsFloat(2.5); },
                     db::ftMemo, SQL_C_DOUBLE, SQL_DOUBLE, Bytes(2.5)},
        DescribedRow{"DecimalTextDescribedLongText",
                     [](TODBCParam& p) {
                       p.SetSQLType(SQL_DECIMAL);
                       p.SetAsFloat(1.25);
                     },
                     db::ftMemo, SQL_C_CHAR, SQL_DECIMAL, Text("1.25")},
        DescribedRow{"TextDescribedLongTextStaysVarchar", [](TODBCParam& p) { p.SetAsString("ab"); },
                     db::ftMemo, SQL_C_CHAR, SQL_VARCHAR, Text("ab")},
        DescribedRow{"LongTextDescribedLongText", [](TODBCParam& p) { p.SetAsLongText("ab"); },
                     db::ftMemo, SQL_C_CHAR, SQL_LONGVARCHAR, Text("ab")},
        // Described as a shorter text: the driver turns the number into text itself.
        DescribedRow{"IntegerDescribedVarchar", [](TODBCParam& p) { p.SetAsInteger(7); },
                     db::ftString, SQL_C_SLONG, SQL_VARCHAR, Bytes(int32_t(7))},
        DescribedRow{"TextDescribedInteger", [](TODBCParam& p) { p.SetAsString("12"); },
                     db::ftInteger, SQL_C_CHAR, SQL_INTEGER, Text("12")}),
    [](const testing::TestParamInfo<DescribedRow>& info) { return std::string(info.param.label); });

TEST(DescribedParam, TimestampDescribedDateReadsTheDate) {
  TODBCParam param("D");
  param.SetAsDateTime(kDay + 0.75);
  param.SetDataType(db::ftDate);
  EXPECT_EQ(param.DataSize(), 16);
  EXPECT_EQ(param.AsDateTime(), kDay);
}

TEST(DescribedParam, LongTextDescribedKeepsDataAtExecution) {
  TODBCParam param("T");
  param.SetSQLType(SQL_LONGVARCHAR);
  param.SetAsString("abc");
  param.SetDataType(db::ftMemo);
  EXPECT_EQ(param.Indicator(), SQL_DATA_AT_EXEC);
}

TODBCParam& Filled(TODBCParam& param) {
  param.SetName("Code");
  param.SetParamType(db::ptInput);
  param.SetSQLType(SQL_DECIMAL);
  param.SetAsFloat(12.5);
  param.SetColumnSize(9);
  param.SetDecimalDigits(2);
  param.SetBound(true);
  return param;
}

TEST(ParamAssign, CopiesValueAndSettingsExactly) {
  TODBCParam source;
  Filled(source);
  TODBCParam destination("Other");
  destination.SetSQLType(SQL_INTEGER);  // its own type must not reshape the value
  destination.SetAsInteger(3);
  destination.Assign(source);
  EXPECT_TRUE(destination.IsSameAs(source));
  EXPECT_EQ(Held(destination), Text("12.5"));
  EXPECT_EQ(destination.CType(), SQL_C_CHAR);
  EXPECT_EQ(destination.ColumnSize(), 9u);
  EXPECT_EQ(destination.DecimalDigits(), 2);
  EXPECT_EQ(destination.Indicator(), SQL_NTS);
  EXPECT_TRUE(destination.Bound());
  EXPECT_EQ(destination.AsFloat(), 12.5);
}

TEST(ParamAssign, NullSourceGivesNull) {
  TODBCParam source("N");
  source.SetSQLType(SQL_INTEGER);
  TODBCParam destination("D");
  destination.SetAsInteger(5);
  destination.Assign(source);
  EXPECT_TRUE(destination.IsNull());
  EXPECT_TRUE(destination.IsSameAs(source));
}

struct DifferenceRow {
  const char* label;
  std::function<void(TODBCParam&)> change;
};

class IsSameAsTable : public testing::TestWithParam<DifferenceRow> {};

TEST_P(IsSameAsTable, EveryComparedAttributeCounts) {
  TODBCParam a, b;
  Filled(a);
  Filled(b);
  ASSERT_TRUE(a.IsSameAs(b));
  GetParam().change(b);
  EXPECT_FALSE(a.IsSameAs(b));
}

INSTANTIATE_TEST_SUITE_P(
    Attributes, IsSameAsTable,
    testing::Values(DifferenceRow{"NameCase", [](TODBCParam& p) { p.SetName("CODE"); }},
                    DifferenceRow{"Value", [](TODBCParam& p) { p.SetAsFloat(12.75); }},
                    DifferenceRow{"CType", [](TODBCParam& p) { p.SetCType(SQL_C_BINARY); }},
                    DifferenceRow{"SQLType", [](TODBCParam& p) { p.SetSQLType(SQL_NUMERIC); }},
                    DifferenceRow{"ParamType", [](TODBCParam& p) { p.SetParamType(db::ptOutput); }},
                    DifferenceRow{"Null", [](TODBCParam& p) { p.Clear(); }},
                    DifferenceRow{"Bound", [](TODBCParam& p) { p.SetBound(false); }}),
    [](const testing::TestParamInfo<DifferenceRow>& info) { return std::string(info.param.label); });

TEST(ParamIsSameAs, SizesAreNotCompared) {
  TODBCParam a, b;
  Filled(a);
  Filled(b);
  b.SetColumnSize(99);
  EXPECT_TRUE(a.IsSameAs(b));
}

TEST(ParamDisplayName, IsTheNameWhenThereIsOne) {
  EXPECT_EQ(TODBCParam("PRICE").DisplayName(), "PRICE");
  EXPECT_FALSE(TODBCParam().DisplayName().empty());
}

class FieldAssign : public testing::Test {
 protected:
  void SetUp() override {
    table.AddField("CODE", db::ftInteger);
    table.AddField("NAME", db::ftString, 40);
    table.AddField("PRICE", db::ftFloat);
    table.AddField("DAY", db::ftDate);
    table.AddField("SMALL", db::ftWord);
    table.AddField("EMPTY", db::ftInteger);
    table.Open();
    table.Append();
    table.FieldByName("CODE").SetAsInteger(10);
    table.FieldByName("NAME").SetAsString("P\xc3\xa3o de L\xc3\xb3");
    table.FieldByName("PRICE").SetAsFloat(2.5);
    table.FieldByName("DAY").SetAsDateTime(kDay);
    table.FieldByName("SMALL").SetAsInteger(65000);
    table.Post();
  }
  db::TMemTable table;
};

TEST_F(FieldAssign, TakesValueTypeAndSizesFromTheField) {
  TODBCParam code("CODE"), name("NAME"), price("PRICE"), day("DAY"), small("SMALL"),
      empty("EMPTY");
  code.Assign(table.FieldByName("CODE"));
  name.Assign(table.FieldByName("NAME"));
  price.Assign(table.FieldByName("PRICE"));
  day.Assign(table.FieldByName("DAY"));
  small.Assign(table.FieldByName("SMALL"));
  empty.Assign(table.FieldByName("EMPTY"));
  EXPECT_EQ(code.CType(), SQL_C_SLONG);
  EXPECT_EQ(code.SQLType(), SQL_INTEGER);
  EXPECT_EQ(code.AsInteger(), 10);
  EXPECT_EQ(name.SQLType(), SQL_VARCHAR);
  EXPECT_EQ(name.ColumnSize(), 40u);
  EXPECT_EQ(name.AsString(), "P\xc3\xa3o de L\xc3\xb3");
  EXPECT_EQ(price.SQLType(), SQL_DOUBLE);
  EXPECT_EQ(price.AsFloat(), 2.5);
  EXPECT_EQ(day.CType(), SQL_C_TYPE_DATE);
  EXPECT_EQ(day.AsDateTime(), kDay);
  EXPECT_EQ(small.CType(), SQL_C_USHORT);
  EXPECT_EQ(small.AsWord(), 65000);
  EXPECT_TRUE(empty.IsNull());
  EXPECT_EQ(empty.SQLType(), SQL_INTEGER);
}

TEST_F(FieldAssign, OldPrefixTakesThePreviousValue) {
  table.Edit();
  table.FieldByName("CODE").SetAsInteger(11);
  TODBCParam current("CODE"), previous("old_CODE");
  current.Assign(table.FieldByName("CODE"));
  previous.Assign(table.FieldByName("CODE"));
  EXPECT_EQ(current.AsInteger(), 11);
  EXPECT_EQ(previous.AsInteger(), 10);
  table.Cancel();
}

TEST_F(FieldAssign, AssignToSetsTheField) {
  table.Edit();
  TODBCParam param("NAME");
  param.SetAsString("Bolo");
  param.AssignTo(table.FieldByName("NAME"));
  EXPECT_EQ(table.FieldByName("NAME").AsString(), "Bolo");
  table.Cancel();
}

}  // namespace
