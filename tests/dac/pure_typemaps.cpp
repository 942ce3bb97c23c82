#include <gtest/gtest.h>

#include "dac/ODBCTypeMaps.h"

namespace {

using namespace db;

struct SqlTypeRow {
  SQLSMALLINT sqlType;
  int64_t bufferSize;  // for a column size of 10
  SQLSMALLINT cType;
  TFieldType fieldType;
  bool isLong;
};

class SqlTypeMapTest : public testing::TestWithParam<SqlTypeRow> {};

TEST_P(SqlTypeMapTest, MapsTheRow) {
  const SqlTypeRow& row = GetParam();
  EXPECT_EQ(dac::SQLTypeBufferSize(row.sqlType, 10), row.bufferSize);
  EXPECT_EQ(dac::SQLTypeToCType(row.sqlType), row.cType);
  EXPECT_EQ(dac::SQLTypeToFieldType(row.sqlType), row.fieldType);
  EXPECT_EQ(dac::IsLongDataType(row.sqlType), row.isLong);
}

// Character columns take 4 bytes a character, so that a UTF-8 text of the declared width fits.
INSTANTIATE_TEST_SUITE_P(
    Rows, SqlTypeMapTest,
    testing::Values(SqlTypeRow{SQL_CHAR, 41, SQL_C_CHAR, ftFixedChar, false},
                    SqlTypeRow{SQL_VARCHAR, 41, SQL_C_CHAR, ftString, false},
                    SqlTypeRow{10, 11, SQL_C_CHAR, ftString, false},
                    SqlTypeRow{101, 11, SQL_C_CHAR, ftString, false},
                    SqlTypeRow{113, 11, SQL_C_CHAR, ftString, false},
                    SqlTypeRow{SQL_NUMERIC, 34, SQL_C_CHAR, ftBCD, false},
                    SqlTypeRow{SQL_DECIMAL, 34, SQL_C_CHAR, ftBCD, false},
                    SqlTypeRow{SQL_INTEGER, 4, SQL_C_SLONG, ftInteger, false},
                    SqlTypeRow{SQL_SMALLINT, 2, SQL_C_SSHORT, ftSmallint, false},
                    SqlTypeRow{SQL_TINYINT, 2, SQL_C_SSHORT, ftSmallint, false},
                    SqlTypeRow{SQL_FLOAT, 8, SQL_C_DOUBLE, ftFloat, false},
                    SqlTypeRow{SQL_REAL, 8, SQL_C_DOUBLE, ftFloat, false},
                    SqlTypeRow{SQL_DOUBLE, 8, SQL_C_DOUBLE, ftFloat, false},
                    SqlTypeRow{SQL_BIGINT, 8, SQL_C_SBIGINT, ftLargeint, false},
                    SqlTypeRow{9, 16, SQL_C_TYPE_TIMESTAMP, ftUnknown, false},
                    SqlTypeRow{SQL_TYPE_DATE, 6, SQL_C_TYPE_DATE, ftDate, false},
                    SqlTypeRow{SQL_TYPE_TIME, 6, SQL_C_TYPE_TIME, ftTime, false},
                    SqlTypeRow{SQL_TYPE_TIMESTAMP, 16, SQL_C_TYPE_TIMESTAMP, ftDateTime, false},
                    SqlTypeRow{SQL_GUID, 16, SQL_C_GUID, ftGuid, false},
                    SqlTypeRow{SQL_WCHAR, 42, SQL_C_WCHAR, ftFixedChar, false},
                    SqlTypeRow{SQL_WVARCHAR, 42, SQL_C_WCHAR, ftString, false},
                    SqlTypeRow{SQL_WLONGVARCHAR, 0, SQL_C_WCHAR, ftMemo, true},
                    SqlTypeRow{SQL_LONGVARCHAR, 0, SQL_C_CHAR, ftMemo, true},
                    SqlTypeRow{SQL_BIT, 1, SQL_C_BIT, ftBoolean, false},
                    SqlTypeRow{SQL_BINARY, 1, SQL_C_BINARY, ftBytes, true},
                    SqlTypeRow{SQL_VARBINARY, 1, SQL_C_BINARY, ftVarBytes, true},
                    SqlTypeRow{SQL_LONGVARBINARY, 0, SQL_C_BINARY, ftBlob, true},
                    SqlTypeRow{11, 0, 0, ftUnknown, false},  // SQL_TIMESTAMP of ODBC 2
                    SqlTypeRow{100, 0, 0, ftUnknown, false},
                    SqlTypeRow{114, 0, 0, ftUnknown, false},
                    SqlTypeRow{-150, 0, 0, ftUnknown, false}));

TEST(SQLTypeBufferSize, HugeColumnSizesDoNotOverflow) {
  EXPECT_EQ(dac::SQLTypeBufferSize(SQL_VARCHAR, 2147483647), 4 * 2147483647LL + 1);
  EXPECT_EQ(dac::SQLTypeBufferSize(SQL_WVARCHAR, 2147483647), 4 * 2147483647LL + 2);
  EXPECT_EQ(dac::SQLTypeBufferSize(SQL_VARCHAR, 0), 1);
}

struct FieldTypeRow {
  TFieldType fieldType;
  SQLSMALLINT sqlType;
  SQLSMALLINT cType;
};

class FieldTypeMapTest : public testing::TestWithParam<FieldTypeRow> {};

TEST_P(FieldTypeMapTest, MapsTheRow) {
  EXPECT_EQ(dac::FieldTypeToSQLType(GetParam().fieldType), GetParam().sqlType);
  EXPECT_EQ(dac::FieldTypeToCType(GetParam().fieldType), GetParam().cType);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FieldTypeMapTest,
    testing::Values(FieldTypeRow{ftString, SQL_VARCHAR, SQL_C_CHAR},
                    FieldTypeRow{ftFixedChar, SQL_CHAR, SQL_C_CHAR},
                    FieldTypeRow{ftWideString, SQL_WVARCHAR, SQL_C_CHAR},
                    FieldTypeRow{ftSmallint, SQL_SMALLINT, SQL_C_SSHORT},
                    FieldTypeRow{ftWord, SQL_SMALLINT, SQL_C_USHORT},
                    FieldTypeRow{ftInteger, SQL_INTEGER, SQL_C_SLONG},
                    FieldTypeRow{ftAutoInc, SQL_INTEGER, SQL_C_ULONG},
                    FieldTypeRow{ftLargeint, SQL_BIGINT, SQL_C_SBIGINT},
                    FieldTypeRow{ftBoolean, SQL_BIT, SQL_C_BIT},
                    FieldTypeRow{ftFloat, SQL_DOUBLE, SQL_C_DOUBLE},
                    FieldTypeRow{ftCurrency, SQL_DECIMAL, SQL_C_DOUBLE},
                    FieldTypeRow{ftBCD, SQL_DECIMAL, SQL_C_CHAR},
                    FieldTypeRow{ftFMTBcd, SQL_DECIMAL, SQL_C_CHAR},
                    FieldTypeRow{ftDate, SQL_TYPE_DATE, SQL_C_TYPE_DATE},
                    FieldTypeRow{ftTime, SQL_TYPE_TIME, SQL_C_TYPE_TIME},
                    FieldTypeRow{ftDateTime, SQL_TYPE_TIMESTAMP, SQL_C_TYPE_TIMESTAMP},
                    FieldTypeRow{ftBytes, SQL_BINARY, SQL_C_BINARY},
                    FieldTypeRow{ftVarBytes, SQL_VARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftBlob, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftGraphic, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftParadoxOle, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftDBaseOle, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftTypedBinary, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftCursor, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftADT, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftOraBlob, SQL_LONGVARBINARY, SQL_C_BINARY},
                    FieldTypeRow{ftMemo, SQL_LONGVARCHAR, SQL_C_CHAR},
                    FieldTypeRow{ftFmtMemo, SQL_LONGVARCHAR, SQL_C_CHAR},
                    FieldTypeRow{ftOraClob, SQL_LONGVARCHAR, SQL_C_BINARY},
                    FieldTypeRow{ftGuid, SQL_GUID, SQL_C_GUID},
                    FieldTypeRow{ftUnknown, 0, SQL_C_CHAR},
                    FieldTypeRow{ftWideMemo, 0, SQL_C_CHAR},
                    FieldTypeRow{ftTimeStamp, 0, SQL_C_CHAR},
                    FieldTypeRow{ftVariant, 0, SQL_C_CHAR}));

TEST(ParamTypeToODBCDirection, MapsEveryParamType) {
  EXPECT_EQ(dac::ParamTypeToODBCDirection(ptUnknown), 0);
  EXPECT_EQ(dac::ParamTypeToODBCDirection(ptInput), SQL_PARAM_INPUT);
  EXPECT_EQ(dac::ParamTypeToODBCDirection(ptInputOutput), SQL_PARAM_INPUT_OUTPUT);
  EXPECT_EQ(dac::ParamTypeToODBCDirection(ptOutput), SQL_PARAM_OUTPUT);
  EXPECT_EQ(dac::ParamTypeToODBCDirection(ptResult), SQL_PARAM_OUTPUT);
}

// A described type passed through a field type and back comes out in canonical form.
TEST(TypeMaps, DescribedTypesBecomeCanonical) {
  struct { SQLSMALLINT described, canonical; } rows[] = {
      {SQL_NUMERIC, SQL_DECIMAL}, {SQL_FLOAT, SQL_DOUBLE},   {SQL_REAL, SQL_DOUBLE},
      {SQL_TINYINT, SQL_SMALLINT}, {SQL_WVARCHAR, SQL_VARCHAR}, {SQL_WCHAR, SQL_CHAR},
      {SQL_WLONGVARCHAR, SQL_LONGVARCHAR}};
  for (auto row : rows)
    EXPECT_EQ(dac::FieldTypeToSQLType(dac::SQLTypeToFieldType(row.described)), row.canonical)
        << row.described;
}

}  // namespace
