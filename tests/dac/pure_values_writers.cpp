// Writers of the parameter: the layout each chooses from the parameter's SQL type.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "dac/Bcd.h"
#include "tests/dac/values_bytes.h"
#include "dac/ODBCParam.h"
#include "toolkit/db/DateUtils.h"
#include "toolkit/db/VariantConvert.h"

using namespace dac;

namespace {

using valuestest::Bytes;
using valuestest::Text;
using valuestest::Held;

db::TBcdRecord Bcd(const std::string& text) {
  db::TBcdRecord bcd;
  TextToBcd(text, bcd);
  return bcd;
}

const double kDay = 45356;  // 5 March 2024

struct WriterRow {
  const char* label;
  SQLSMALLINT sqlTypeBefore;
  std::function<void(TODBCParam&)> write;
  SQLSMALLINT cType;
  SQLSMALLINT sqlType;
  SQLLEN indicator;
  std::string bytes;
};

class WriterTable : public testing::TestWithParam<WriterRow> {};

TEST_P(WriterTable, StoresTheLayoutOfTheTable) {
  const WriterRow& row = GetParam();
  TODBCParam param("P");
  param.SetSQLType(row.sqlTypeBefore);
  row.write(param);
  EXPECT_EQ(param.CType(), row.cType);
  EXPECT_EQ(param.SQLType(), row.sqlType);
  EXPECT_EQ(param.Indicator(), row.indicator);
  EXPECT_EQ(Held(param), row.bytes);
  EXPECT_EQ(param.DataSize(), SQLLEN(row.bytes.size()));
}

const SQL_TIMESTAMP_STRUCT kEvening = {2024, 3, 5, 18, 0, 0, 0};
const SQL_TIMESTAMP_STRUCT kMidnight = {2024, 3, 5, 0, 0, 0, 0};
const SQL_DATE_STRUCT kDate = {2024, 3, 5};

INSTANTIATE_TEST_SUITE_P(
    Writers, WriterTable,
    testing::Values(
        WriterRow{"IntegerOnUnknown", 0, [](TODBCParam& p) { p.SetAsInteger(7); }, SQL_C_SLONG,
                  SQL_INTEGER, 0, Bytes(int32_t(7))},
        WriterRow{"IntegerOnDouble", SQL_DOUBLE, [](TODBCParam& p) { p.SetAsInteger(3); },
                  SQL_C_DOUBLE, SQL_DOUBLE, 0, Bytes(3.0)},
        WriterRow{"IntegerOnDecimal", SQL_DECIMAL, [](TODBCParam& p) { p.SetAsInteger(5); },
                  SQL_C_CHAR, SQL_DECIMAL, SQL_NTS, Text("5")},
        WriterRow{"IntegerOnSmallIntKeepsLow16Bits", SQL_SMALLINT,
                  [](TODBCParam& p) { p.SetAsInteger(70000); }, SQL_C_SSHORT, SQL_SMALLINT, 0,
                  Bytes(int16_t(4464))},
        WriterRow{"SmallInt", 0, [](TODBCParam& p) { p.SetAsSmallInt(-2); }, SQL_C_SSHORT,
                  SQL_SMALLINT, 0, Bytes(int16_t(-2))},
        WriterRow{"LargeInt", 0, [](TODBCParam& p) { p.SetAsLargeInt(int64_t(1) << 40); },
                  SQL_C_SBIGINT, SQL_BIGINT, 0, Bytes(int64_t(1) << 40)},
        WriterRow{"FloatOnUnknown", 0, [](TODBCParam& p) { p.SetAsFloat(12.5); }, SQL_C_DOUBLE,
                  SQL_DOUBLE, 0, Bytes(12.5)},
        WriterRow{"FloatOnDecimal", SQL_DECIMAL, [](TODBCParam& p) { p.SetAsFloat(12.5); },
                  SQL_C_CHAR, SQL_DECIMAL, SQL_NTS, Text("12.5")},
        WriterRow{"FloatOnNumeric", SQL_NUMERIC, [](TODBCParam& p) { p.SetAsFloat(-0.125); },
                  SQL_C_CHAR, SQL_NUMERIC, SQL_NTS, Text("-0.125")},
        WriterRow{"FloatOnInteger", SQL_INTEGER, [](TODBCParam& p) { p.SetAsFloat(12.5); },
                  SQL_C_SLONG, SQL_INTEGER, 0, Bytes(int32_t(12))},
        WriterRow{"FloatOnSmallIntTruncates", SQL_SMALLINT,
                  [](TODBCParam& p) { p.SetAsFloat(-12.9); }, SQL_C_SSHORT, SQL_SMALLINT, 0,
                  Bytes(int16_t(-12))},
        WriterRow{"FloatOnDouble", SQL_DOUBLE, [](TODBCParam& p) { p.SetAsFloat(12.5); },
                  SQL_C_DOUBLE, SQL_DOUBLE, 0, Bytes(12.5)},
        WriterRow{"FloatOnDate", SQL_TYPE_DATE, [](TODBCParam& p) { p.SetAsFloat(kDay + 0.75); },
                  SQL_C_TYPE_DATE, SQL_TYPE_DATE, 0, Bytes(kDate)},
        WriterRow{"FloatOnTimestampKeepsTime", SQL_TYPE_TIMESTAMP,
                  [](TODBCParam& p) { p.SetAsFloat(kDay + 0.75); }, SQL_C_TYPE_TIMESTAMP,
                  SQL_TYPE_TIMESTAMP, 0, Bytes(kEvening)},
        WriterRow{"SingleSetsNoSQLType", 0, [](TODBCParam& p) { p.SetAsSingle(1.5f); },
                  SQL_C_FLOAT, 0, 0, Bytes(1.5f)},
        WriterRow{"CurrencyAsFloat", 0,
                  [](TODBCParam& p) { p.SetAsCurrency(db::TCurrency{125000}); }, SQL_C_DOUBLE,
                  SQL_DOUBLE, 0, Bytes(12.5)},
        WriterRow{"BcdSetsNoSQLType", 0, [](TODBCParam& p) { p.SetAsBCD(Bcd("12.30")); },
                  SQL_C_CHAR, 0, SQL_NTS, Text("12.3")},
        WriterRow{"DateTime", 0, [](TODBCParam& p) { p.SetAsDateTime(kDay + 0.75); },
                  SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 0, Bytes(kEvening)},
        WriterRow{"DateKeepsTheDay", 0, [](TODBCParam& p) { p.SetAsDate(kDay + 0.75); },
                  SQL_C_TYPE_DATE, SQL_TYPE_DATE, 0, Bytes(kDate)},
        WriterRow{"DateOnTimestampKeepsTime", SQL_TYPE_TIMESTAMP,
                  [](TODBCParam& p) { p.SetAsDate(kDay + 0.75); }, SQL_C_TYPE_TIMESTAMP,
                  SQL_TYPE_TIMESTAMP, 0, Bytes(kEvening)},
        WriterRow{"String", 0, [](TODBCParam& p) { p.SetAsString("P\xc3\xa3o"); }, SQL_C_CHAR,
                  SQL_VARCHAR, SQL_NTS, Text("P\xc3\xa3o")},
        WriterRow{"StringOnInteger", SQL_INTEGER, [](TODBCParam& p) { p.SetAsString(" 42 "); },
                  SQL_C_SLONG, SQL_INTEGER, 0, Bytes(int32_t(42))},
        WriterRow{"StringOnSmallInt", SQL_SMALLINT, [](TODBCParam& p) { p.SetAsString("70000"); },
                  SQL_C_SSHORT, SQL_SMALLINT, 0, Bytes(int16_t(4464))},
        WriterRow{"StringOnBigInt", SQL_BIGINT,
                  [](TODBCParam& p) { p.SetAsString("9000000000"); }, SQL_C_SBIGINT, SQL_BIGINT, 0,
                  Bytes(int64_t(9000000000LL))},
        WriterRow{"StringOnLongText", SQL_LONGVARCHAR, [](TODBCParam& p) { p.SetAsString("abc"); },
                  SQL_C_CHAR, SQL_LONGVARCHAR, SQL_DATA_AT_EXEC, Text("abc")},
        WriterRow{"StringOnDate", SQL_TYPE_DATE,
                  [](TODBCParam& p) { p.SetAsString("2024-03-05"); }, SQL_C_TYPE_DATE,
                  SQL_TYPE_DATE, 0, Bytes(kDate)},
        WriterRow{"StringOnTimestampIsMidnight", SQL_TYPE_TIMESTAMP,
                  [](TODBCParam& p) { p.SetAsString("05/03/2024"); }, SQL_C_TYPE_TIMESTAMP,
                  SQL_TYPE_TIMESTAMP, 0, Bytes(kMidnight)},
        WriterRow{"StringOnTime", SQL_TYPE_TIME,
                  [](TODBCParam& p) { p.SetAsString("05/03/2024 18:00:00"); }, SQL_C_TYPE_TIME,
                  SQL_TYPE_TIME, 0, Bytes(SQL_TIME_STRUCT{18, 0, 0})},
        WriterRow{"LongText", 0, [](TODBCParam& p) { p.SetAsLongText("xyz"); }, SQL_C_CHAR, 0,
                  SQL_DATA_AT_EXEC, Text("xyz")},
        WriterRow{"EmptyLongTextLeavesNoBuffer", 0, [](TODBCParam& p) { p.SetAsLongText(""); },
                  SQL_C_CHAR, 0, SQL_DATA_AT_EXEC, ""},
        // A marker described as long text (the SQLite driver describes every one so) does not
        // turn a number into data at execution: the number keeps its own type.
        WriterRow{"IntegerOnLongTextStaysInteger", SQL_LONGVARCHAR,
                  [](TODBCParam& p) { p.SetAsInteger(7); }, SQL_C_SLONG, SQL_INTEGER, 0,
                  Bytes(int32_t(7))},
        WriterRow{"FloatOnLongTextStaysDouble", SQL_LONGVARCHAR,
                  [](TODBCParam& p) { p.SetAsFloat(2.5); }, SQL_C_DOUBLE, SQL_DOUBLE, 0,
                  Bytes(2.5)},
        WriterRow{"BcdOnLongTextIsDecimal", SQL_LONGVARCHAR,
                  [](TODBCParam& p) { p.SetAsBCD(Bcd("1.5")); }, SQL_C_CHAR, SQL_DECIMAL, SQL_NTS,
                  Text("1.5")}),
    [](const testing::TestParamInfo<WriterRow>& info) { return std::string(info.param.label); });

struct ValueWriteRow {
  const char* label;
  db::Variant value;
  SQLSMALLINT cType;
  std::string bytes;
};

class ValueWriteTable : public testing::TestWithParam<ValueWriteRow> {};

TEST_P(ValueWriteTable, ChoosesTheWriterByKind) {
  const ValueWriteRow& row = GetParam();
  TODBCParam param("P");
  param.SetValue(row.value);
  EXPECT_EQ(param.CType(), row.cType);
  EXPECT_EQ(Held(param), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ValueWriteTable,
    testing::Values(
        ValueWriteRow{"SmallInt", db::Variant(int16_t(-4)), SQL_C_SSHORT, Bytes(int16_t(-4))},
        ValueWriteRow{"Byte", db::Variant(uint8_t(200)), SQL_C_SSHORT, Bytes(int16_t(200))},
        ValueWriteRow{"TrueIsMinusOne", db::Variant(true), SQL_C_SSHORT, Bytes(int16_t(-1))},
        ValueWriteRow{"Integer", db::Variant(int32_t(9)), SQL_C_SLONG, Bytes(int32_t(9))},
        ValueWriteRow{"Single", db::Variant(0.5f), SQL_C_FLOAT, Bytes(0.5f)},
        ValueWriteRow{"Double", db::Variant(0.25), SQL_C_DOUBLE, Bytes(0.25)},
        ValueWriteRow{"Currency", db::Variant(db::TCurrency{25000}), SQL_C_DOUBLE, Bytes(2.5)},
        ValueWriteRow{"Date", db::Variant::FromDateTime(kDay + 0.75), SQL_C_TYPE_TIMESTAMP,
                      Bytes(kEvening)},
        ValueWriteRow{"String", db::Variant("ab"), SQL_C_CHAR, Text("ab")},
        ValueWriteRow{"WideString", db::Variant(std::u16string(u"L\u00f3")), SQL_C_CHAR,
                      Text("L\xc3\xb3")},
        ValueWriteRow{"Int64", db::Variant(int64_t(-5)), SQL_C_SBIGINT, Bytes(int64_t(-5))},
        ValueWriteRow{"Bcd", db::Variant(Bcd("-7.25")), SQL_C_CHAR, Text("-7.25")}),
    [](const testing::TestParamInfo<ValueWriteRow>& info) { return std::string(info.param.label); });

TEST(ParamWriters, NullValueClearsKeepingTheBytes) {
  TODBCParam param("P");
  param.SetAsInteger(7);
  param.SetValue(db::Variant::Null());
  EXPECT_TRUE(param.IsNull());
  EXPECT_EQ(param.CType(), SQL_C_SLONG);  // from the SQL type INTEGER
  EXPECT_EQ(Held(param), Bytes(int32_t(7)));
  param.SetValue(db::Variant::Empty());
  EXPECT_TRUE(param.IsNull());
}

TEST(ParamWriters, WordValueIsAConversionError) {
  TODBCParam param("W");
  EXPECT_THROW(param.SetValue(db::Variant(uint16_t(3))), db::EDatabaseError);
}

TEST(ParamWriters, TextThatIsNoIntegerNamesTheText) {
  TODBCParam param("P");
  param.SetSQLType(SQL_INTEGER);
  try {
    param.SetAsString("12x");
    FAIL() << "no error";
  } catch (const db::EConvertError& error) {
    EXPECT_NE(std::string(error.what()).find("12x"), std::string::npos) << error.what();
  }
}

TEST(ParamWriters, ValueReadsBackWhatWasWritten) {
  TODBCParam param("P");
  param.SetSQLType(SQL_DECIMAL);
  param.SetAsFloat(12.5);
  EXPECT_TRUE(param.IsNumericText());
  EXPECT_EQ(param.Value(), db::Variant(12.5));
  EXPECT_EQ(param.AsString(), "12.5");
}

TEST(ParamWriters, RewritingTheSameSizeKeepsTheBuffer) {
  TODBCParam param("P");
  param.SetAsInteger(1);
  const char* buffer = param.Data();
  for (int i = 2; i < 100; ++i) param.SetAsInteger(i);
  EXPECT_EQ(param.Data(), buffer);
  EXPECT_EQ(param.AsInteger(), 99);
}

}  // namespace
