// Readers of the value holder, by C type, without a database.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "dac/Bcd.h"
#include "tests/dac/values_bytes.h"
#include "dac/ODBCSQLVar.h"
#include "toolkit/db/DateUtils.h"
#include "toolkit/db/FormatSettings.h"

using namespace dac;

namespace {

using valuestest::Bytes;
using valuestest::Text;


void Fill(TODBCSQLVAR& holder, SQLSMALLINT cType, SQLSMALLINT sqlType, const std::string& bytes) {
  holder.SetName("V");
  holder.SetCType(cType);
  holder.SetSQLType(sqlType);
  holder.SetDataSize(SQLLEN(bytes.size()));
  std::memcpy(holder.Data(), bytes.data(), bytes.size());
  holder.SetIndicator(SQLLEN(bytes.size()));
}

const double kDay = 45356;  // 5 March 2024
const double kTwo40 = 1099511627776.0;

struct ReaderRow {
  const char* label;
  SQLSMALLINT cType;
  SQLSMALLINT sqlType;
  std::string bytes;
  std::optional<std::string> asString;  // nullopt: the conversion error
  std::optional<int32_t> asInteger;
  std::optional<double> asFloat;
  std::optional<double> asDateTime;
};

class ReaderTable : public testing::TestWithParam<ReaderRow> {};

template <typename T, typename Read>
void ExpectReads(const std::optional<T>& expected, Read read, const char* what) {
  SCOPED_TRACE(what);
  if (expected) {
    EXPECT_EQ(read(), *expected);
  } else {
    EXPECT_THROW(read(), db::EDatabaseError);
  }
}

TEST_P(ReaderTable, ReadsAsTheTableSays) {
  const ReaderRow& row = GetParam();
  TODBCSQLVAR holder;
  Fill(holder, row.cType, row.sqlType, row.bytes);
  ExpectReads(row.asString, [&] { return holder.AsString(); }, "AsString");
  ExpectReads(row.asInteger, [&] { return holder.AsInteger(); }, "AsInteger");
  ExpectReads(row.asFloat, [&] { return holder.AsFloat(); }, "AsFloat");
  ExpectReads(row.asDateTime, [&] { return holder.AsDateTime(); }, "AsDateTime");
}

const SQLGUID kGuid = {0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
const std::u16string kWide = u"P\u00e3o";

INSTANTIATE_TEST_SUITE_P(
    ByCType, ReaderTable,
    testing::Values(
        ReaderRow{"CharInteger", SQL_C_CHAR, SQL_VARCHAR, Text("42"), "42", 42, 42.0, std::nullopt},
        ReaderRow{"CharNumericText", SQL_C_CHAR, SQL_DECIMAL, Text("-12.75"), "-12.75", -12, -12.75,
                  std::nullopt},
        ReaderRow{"CharDate", SQL_C_CHAR, SQL_VARCHAR, Text("05/03/2024 13:45:30"),
                  "05/03/2024 13:45:30", std::nullopt, std::nullopt,
                  kDay + (13 * 3600 + 45 * 60 + 30) / 86400.0},
        ReaderRow{"CharStopsAtNul", SQL_C_CHAR, SQL_VARCHAR, std::string("ab\0cd", 5), "ab",
                  std::nullopt, std::nullopt, std::nullopt},
        ReaderRow{"WideText", SQL_C_WCHAR, SQL_WVARCHAR,
                  std::string(reinterpret_cast<const char*>(kWide.c_str()), 8), "P\xc3\xa3o",
                  std::nullopt, std::nullopt, std::nullopt},
        ReaderRow{"BinaryKeepsEveryByte", SQL_C_BINARY, SQL_VARBINARY, std::string("a\0b", 3),
                  std::string("a\0b", 3), std::nullopt, std::nullopt, std::nullopt},
        ReaderRow{"Guid", SQL_C_GUID, SQL_GUID, Bytes(kGuid),
                  "{12345678-9ABC-DEF0-0123-456789ABCDEF}", std::nullopt, std::nullopt,
                  std::nullopt},
        ReaderRow{"BitIsNoText", SQL_C_BIT, SQL_BIT, Bytes(uint8_t(1)), std::nullopt, 1,
                  std::nullopt, std::nullopt},
        ReaderRow{"BitByteAsStored", SQL_C_BIT, SQL_BIT, Bytes(uint8_t(200)), std::nullopt, 200,
                  std::nullopt, std::nullopt},
        ReaderRow{"SmallInt", SQL_C_SSHORT, SQL_SMALLINT, Bytes(int16_t(-5)), "-5", -5, -5.0,
                  std::nullopt},
        ReaderRow{"Word", SQL_C_USHORT, SQL_SMALLINT, Bytes(uint16_t(65535)), std::nullopt, 65535,
                  std::nullopt, std::nullopt},
        ReaderRow{"Long", SQL_C_SLONG, SQL_INTEGER, Bytes(int32_t(-123456)), "-123456", -123456,
                  -123456.0, std::nullopt},
        ReaderRow{"UnsignedLongReadSigned", SQL_C_ULONG, SQL_INTEGER, Bytes(uint32_t(0xFFFFFFFF)),
                  std::nullopt, -1, std::nullopt, std::nullopt},
        ReaderRow{"BigIntTwoTo40", SQL_C_SBIGINT, SQL_BIGINT, Bytes(int64_t(1) << 40),
                  "1099511627776", 0, kTwo40, std::nullopt},
        ReaderRow{"Single", SQL_C_FLOAT, SQL_REAL, Bytes(1.5f), "1.5", std::nullopt, 1.5, 1.5},
        ReaderRow{"Double", SQL_C_DOUBLE, SQL_DOUBLE, Bytes(-2.75), "-2.75", -2, -2.75, -2.75},
        ReaderRow{"DoubleKeepsLow32Bits", SQL_C_DOUBLE, SQL_DOUBLE, Bytes(4294967303.5),
                  "4294967303.5", 7, 4294967303.5, 4294967303.5},
        ReaderRow{"Date", SQL_C_TYPE_DATE, SQL_TYPE_DATE, Bytes(SQL_DATE_STRUCT{2024, 3, 5}),
                  "05/03/2024", 45356, std::nullopt, kDay},
        ReaderRow{"Time", SQL_C_TYPE_TIME, SQL_TYPE_TIME, Bytes(SQL_TIME_STRUCT{18, 0, 0}),
                  "30/12/1899 18:00:00", 0, std::nullopt, 0.75},
        ReaderRow{"Timestamp", SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP,
                  Bytes(SQL_TIMESTAMP_STRUCT{2024, 3, 5, 18, 0, 0, 0}), "05/03/2024 18:00:00",
                  45356, std::nullopt, kDay + 0.75}),
    [](const testing::TestParamInfo<ReaderRow>& info) { return std::string(info.param.label); });

struct OtherReaderRow {
  const char* label;
  SQLSMALLINT cType;
  std::string bytes;
  std::optional<int16_t> asSmallInt;
  std::optional<uint16_t> asWord;
  std::optional<int64_t> asLargeInt;
  std::optional<bool> asBoolean;
};

class OtherReaderTable : public testing::TestWithParam<OtherReaderRow> {};

TEST_P(OtherReaderTable, ReadsAsTheTableSays) {
  const OtherReaderRow& row = GetParam();
  TODBCSQLVAR holder;
  Fill(holder, row.cType, SQL_VARCHAR, row.bytes);
  ExpectReads(row.asSmallInt, [&] { return holder.AsSmallInt(); }, "AsSmallInt");
  ExpectReads(row.asWord, [&] { return holder.AsWord(); }, "AsWord");
  ExpectReads(row.asLargeInt, [&] { return holder.AsLargeInt(); }, "AsLargeInt");
  ExpectReads(row.asBoolean, [&] { return holder.AsBoolean(); }, "AsBoolean");
}

INSTANTIATE_TEST_SUITE_P(
    ByCType, OtherReaderTable,
    testing::Values(
        OtherReaderRow{"SmallInt", SQL_C_SSHORT, Bytes(int16_t(-5)), -5, std::nullopt,
                       std::nullopt, std::nullopt},
        OtherReaderRow{"Word", SQL_C_USHORT, Bytes(uint16_t(65535)), std::nullopt, 65535,
                       std::nullopt, std::nullopt},
        OtherReaderRow{"TextCutToLow16Bits", SQL_C_CHAR, Text("70000"), 4464, 4464, 70000,
                       std::nullopt},
        OtherReaderRow{"TextBeyond32Bits", SQL_C_CHAR, Text("9000000000"), std::nullopt,
                       std::nullopt, 9000000000LL, std::nullopt},
        OtherReaderRow{"TextNotANumber", SQL_C_CHAR, Text("12a"), std::nullopt, std::nullopt,
                       std::nullopt, std::nullopt},
        OtherReaderRow{"BigInt", SQL_C_SBIGINT, Bytes(int64_t(1) << 40), std::nullopt,
                       std::nullopt, int64_t(1) << 40, std::nullopt},
        OtherReaderRow{"BitSet", SQL_C_BIT, Bytes(uint8_t(1)), std::nullopt, std::nullopt,
                       std::nullopt, true},
        OtherReaderRow{"BitClear", SQL_C_BIT, Bytes(uint8_t(0)), std::nullopt, std::nullopt,
                       std::nullopt, false},
        OtherReaderRow{"LongIsNoLargeInt", SQL_C_SLONG, Bytes(int32_t(7)), std::nullopt,
                       std::nullopt, std::nullopt, std::nullopt},
        OtherReaderRow{"Double", SQL_C_DOUBLE, Bytes(1.0), std::nullopt, std::nullopt,
                       std::nullopt, std::nullopt}),
    [](const testing::TestParamInfo<OtherReaderRow>& info) { return std::string(info.param.label); });

struct ValueRow {
  const char* label;
  SQLSMALLINT cType;
  SQLSMALLINT sqlType;
  std::string bytes;
  std::optional<db::Variant> value;
};

class ValueTable : public testing::TestWithParam<ValueRow> {};

TEST_P(ValueTable, GivesTheKindOfTheCType) {
  const ValueRow& row = GetParam();
  TODBCSQLVAR holder;
  Fill(holder, row.cType, row.sqlType, row.bytes);
  if (row.value) {
    EXPECT_EQ(holder.Value(), *row.value);
  } else {
    EXPECT_THROW(holder.Value(), db::EDatabaseError);
  }
}

INSTANTIATE_TEST_SUITE_P(
    ByCType, ValueTable,
    testing::Values(
        ValueRow{"Bit", SQL_C_BIT, SQL_BIT, Bytes(uint8_t(1)), db::Variant(true)},
        ValueRow{"BigInt", SQL_C_SBIGINT, SQL_BIGINT, Bytes(int64_t(-9)), db::Variant(int64_t(-9))},
        ValueRow{"Long", SQL_C_SLONG, SQL_INTEGER, Bytes(int32_t(7)), db::Variant(int32_t(7))},
        ValueRow{"UnsignedLong", SQL_C_ULONG, SQL_INTEGER, Bytes(uint32_t(0xFFFFFFFF)),
                 db::Variant(int32_t(-1))},
        ValueRow{"Word", SQL_C_USHORT, SQL_SMALLINT, Bytes(uint16_t(9)), db::Variant(uint16_t(9))},
        ValueRow{"SmallInt", SQL_C_SSHORT, SQL_SMALLINT, Bytes(int16_t(-3)),
                 db::Variant(int16_t(-3))},
        ValueRow{"Binary", SQL_C_BINARY, SQL_VARBINARY, "xy", db::Variant("xy")},
        ValueRow{"NumericText", SQL_C_CHAR, SQL_NUMERIC, Text("12.5"), db::Variant(12.5)},
        ValueRow{"Text", SQL_C_CHAR, SQL_VARCHAR, Text("12.5"), db::Variant("12.5")},
        ValueRow{"Single", SQL_C_FLOAT, SQL_REAL, Bytes(0.5f), db::Variant(0.5)},
        ValueRow{"Double", SQL_C_DOUBLE, SQL_DOUBLE, Bytes(0.25), db::Variant(0.25)},
        ValueRow{"Date", SQL_C_TYPE_DATE, SQL_TYPE_DATE, Bytes(SQL_DATE_STRUCT{2024, 3, 5}),
                 db::Variant::FromDateTime(kDay)},
        ValueRow{"Wide", SQL_C_WCHAR, SQL_WVARCHAR, Bytes(char16_t(u'a')), std::nullopt},
        ValueRow{"Guid", SQL_C_GUID, SQL_GUID, Bytes(kGuid), std::nullopt}),
    [](const testing::TestParamInfo<ValueRow>& info) { return std::string(info.param.label); });

TEST(ValueHolder, NewHolderIsNullAndReadsAsZero) {
  TODBCSQLVAR holder;
  EXPECT_EQ(holder.CType(), 0);
  EXPECT_EQ(holder.SQLType(), 0);
  EXPECT_EQ(holder.DataSize(), 0);
  EXPECT_EQ(holder.Data(), nullptr);
  EXPECT_EQ(holder.Indicator(), SQL_NULL_DATA);
  EXPECT_TRUE(holder.IsNull());
  holder.SetCType(SQL_C_BIT);  // even a type that cannot be read as text
  EXPECT_EQ(holder.AsString(), "");
  EXPECT_EQ(holder.AsInteger(), 0);
  EXPECT_EQ(holder.AsFloat(), 0.0);
  EXPECT_FALSE(holder.AsBoolean());
  EXPECT_EQ(BcdToText(holder.AsBCD()), "0");
  EXPECT_TRUE(holder.Value().IsNull());
}

TEST(ValueHolder, NullIndicatorReadsAsNullOverData) {
  TODBCSQLVAR holder;
  Fill(holder, SQL_C_SLONG, SQL_INTEGER, Bytes(int32_t(5)));
  holder.SetIndicator(SQL_NULL_DATA);
  EXPECT_TRUE(holder.IsNull());
  EXPECT_EQ(holder.AsInteger(), 0);
}

TEST(ValueHolder, ConversionMessageNamesHolderAndCType) {
  TODBCSQLVAR holder;
  Fill(holder, SQL_C_BIT, SQL_BIT, Bytes(uint8_t(1)));
  holder.SetName("FLAG");
  try {
    holder.AsString();
    FAIL() << "no error";
  } catch (const db::EDatabaseError& error) {
    EXPECT_STREQ(error.what(), "Invalid data conversion\n\rFLAG\n\r-7");
  }
}

TEST(ValueHolder, AsBcdReadsDecimalTextAndDoubles) {
  TODBCSQLVAR holder;
  Fill(holder, SQL_C_CHAR, SQL_DECIMAL, Text("-1234.5600"));
  EXPECT_EQ(BcdToText(holder.AsBCD()), "-1234.56");
  Fill(holder, SQL_C_DOUBLE, SQL_DOUBLE, Bytes(2.5));
  EXPECT_EQ(BcdToText(holder.AsBCD()), "2.5");
  Fill(holder, SQL_C_CHAR, SQL_DECIMAL, Text("1x2"));
  EXPECT_THROW(holder.AsBCD(), EBcdException);
  Fill(holder, SQL_C_SLONG, SQL_INTEGER, Bytes(int32_t(2)));
  EXPECT_THROW(holder.AsBCD(), db::EDatabaseError);
}

TEST(ValueHolder, NumericTextReadsWithTheModuleSeparator) {
  TODBCSQLVAR holder;
  Fill(holder, SQL_C_CHAR, SQL_DECIMAL, Text("12,50"));
  db::FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(holder.AsFloat(), 12.5);
  db::FormatSettings().DecimalSeparator = '.';
  // With the full stop the comma is the thousands separator, which decimal text drops.
  EXPECT_EQ(holder.AsFloat(), 1250.0);
}

TEST(ValueHolder, SetDataSizeKeepsTheBufferWhileTheSizeStays) {
  TODBCSQLVAR holder;
  holder.SetDataSize(8);
  char* first = holder.Data();
  std::memcpy(first, "abcdefg", 8);
  holder.SetDataSize(8);
  EXPECT_EQ(holder.Data(), first);
  holder.SetDataSize(3);
  EXPECT_EQ(holder.DataSize(), 3);
  EXPECT_EQ(std::string(holder.Data(), 3), "abc");
  holder.SetDataSize(2000);  // grows keeping what it held, zero after it
  EXPECT_EQ(std::string(holder.Data(), 4), std::string("abc\0", 4));
  holder.SetDataSize(-4);
  EXPECT_EQ(holder.DataSize(), 0);
  EXPECT_EQ(holder.Data(), nullptr);
  EXPECT_TRUE(holder.IsNull());
}

TEST(ValueHolder, ShortBufferReadsPaddedNotPastItsEnd) {
  TODBCSQLVAR holder;
  Fill(holder, SQL_C_DOUBLE, SQL_DOUBLE, Bytes(int16_t(0)));
  EXPECT_EQ(holder.AsFloat(), 0.0);
}

}  // namespace
