#include <gtest/gtest.h>

#include <string>

#include "dac/DriverKind.h"

namespace {

using namespace dac;

TEST(DriverKinds, KeepTheirNumbers) {
  EXPECT_EQ(dkUnknown, 0);
  EXPECT_EQ(dkInterBase, 7);
  EXPECT_EQ(dkSQLite, 11);
  EXPECT_EQ(dkPostgreSQL, 16);
  EXPECT_EQ(dkSAPDB, 19);
  EXPECT_EQ(dbmsAccess, 6);
  EXPECT_EQ(dbmsInterBase, 12);
  EXPECT_EQ(dbmsCache, 21);
}

struct DriverNameCase {
  std::string name;
  TDBMSKind dbms;
  TODBCDriverKind kind;
};

class DriverKindFromNameTest : public testing::TestWithParam<DriverNameCase> {};

TEST_P(DriverKindFromNameTest, RecognisesTheFamily) {
  EXPECT_EQ(DriverKindFromName(GetParam().name, GetParam().dbms), GetParam().kind)
      << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, DriverKindFromNameTest,
    testing::Values(
        DriverNameCase{"C2GUP32.DLL", dbmsUnknown, dkSQLBase},
        DriverNameCase{"ivgup.so", dbmsUnknown, dkSQLBase},
        DriverNameCase{"sqlsrv32.dll", dbmsUnknown, dkMSSQLServer},
        DriverNameCase{"SQLNCLI10.DLL", dbmsUnknown, dkMSSQLServer},
        DriverNameCase{"ivmsss20.dll", dbmsUnknown, dkMSSQLServer},
        DriverNameCase{"NTLxxM.dll", dbmsUnknown, dkMSSQLServer},
        DriverNameCase{"ntl12i.dll", dbmsUnknown, dkInformix},
        DriverNameCase{"NTL1M", dbmsUnknown, dkUnknown},  // too short for the NTL test
        DriverNameCase{"NTLxxX.dll", dbmsUnknown, dkUnknown},
        DriverNameCase{"DB2CLI.DLL", dbmsUnknown, dkDB2},
        DriverNameCase{"libdb2.so", dbmsUnknown, dkDB2},
        DriverNameCase{"odbcjt32.dll", dbmsUnknown, dkMSJet},
        DriverNameCase{"myodbc3.dll", dbmsUnknown, dkMyODBC3},
        DriverNameCase{"myodbc.dll", dbmsUnknown, dkMyODBC},
        DriverNameCase{"iclit09b.dll", dbmsUnknown, dkInformix},
        DriverNameCase{"PDINF.DLL", dbmsUnknown, dkInformix},
        DriverNameCase{"syodase.dll", dbmsUnknown, dkSybase},
        DriverNameCase{"sqliteodbc.dll", dbmsUnknown, dkSQLite},
        DriverNameCase{"sqlite3odbc.so", dbmsSQLite, dkSQLite},  // as the real driver says
        DriverNameCase{"IB6ODBC.DLL", dbmsUnknown, dkInterBase},
        DriverNameCase{"OdbcJdbc.dll", dbmsInterBase, dkInterBase},
        DriverNameCase{"ib6xtg10.dll", dbmsUnknown, dkInterBase},
        DriverNameCase{"thinksql.dll", dbmsUnknown, dkThinkSQL},
        DriverNameCase{"SQORA32.DLL", dbmsUnknown, dkOracle},
        DriverNameCase{"msorcl32.dll", dbmsUnknown, dkOracle},
        DriverNameCase{"inole.dll", dbmsUnknown, dkINOLE},
        DriverNameCase{"w3odbcei.dll", dbmsUnknown, dkW3ODBC},
        DriverNameCase{"NXODBCDRIVER.DLL", dbmsUnknown, dkNXODBC},
        DriverNameCase{"psqlodbcw.so", dbmsPostgreSQL, dkPostgreSQL},
        DriverNameCase{"psqlodbca.so", dbmsPostgreSQL, dkPostgreSQL},
        DriverNameCase{"cacheodbc.dll", dbmsUnknown, dkCache},
        DriverNameCase{"IVDBF20.DLL", dbmsUnknown, dkDBase},
        DriverNameCase{"sqlod32w.dll", dbmsSAPDB, dkSAPDB},
        DriverNameCase{"sqlod32w.dll", dbmsUnknown, dkUnknown},
        DriverNameCase{"", dbmsUnknown, dkUnknown},
        DriverNameCase{"xsqlsrv.dll", dbmsUnknown, dkUnknown}));  // prefixes only

struct DbmsNameCase {
  std::string name;
  TDBMSKind kind;
};

class DBMSKindFromNameTest : public testing::TestWithParam<DbmsNameCase> {};

TEST_P(DBMSKindFromNameTest, RecognisesTheProduct) {
  EXPECT_EQ(DBMSKindFromName(GetParam().name), GetParam().kind) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, DBMSKindFromNameTest,
    testing::Values(DbmsNameCase{"SQLBase", dbmsSQLBase},
                    DbmsNameCase{"Microsoft SQL Server", dbmsMSSQLServer},
                    DbmsNameCase{"IBMDB2", dbmsDB2},
                    DbmsNameCase{"MySQL 8.0", dbmsMySQL},
                    DbmsNameCase{"ACCESS", dbmsAccess},
                    DbmsNameCase{"Excel", dbmsExcel},
                    DbmsNameCase{"Text", dbmsText},
                    DbmsNameCase{"dBASE IV", dbmsDBase},
                    DbmsNameCase{"Paradox", dbmsParadox},
                    DbmsNameCase{"Oracle", dbmsOracle},
                    DbmsNameCase{"Informix", dbmsInformix},
                    DbmsNameCase{"InterBase", dbmsInterBase},
                    DbmsNameCase{"Firebird 2.5", dbmsInterBase},
                    DbmsNameCase{"Sybase", dbmsSybase},
                    DbmsNameCase{"SQLite", dbmsSQLite},
                    DbmsNameCase{"ThinkSQL 1.0", dbmsThinkSQL},
                    DbmsNameCase{"SAP DB", dbmsSAPDB},
                    DbmsNameCase{"Pervasive.SQL", dbmsPervasive},
                    DbmsNameCase{"TurboPower FlashFiler 2", dbmsFlashFiler},
                    DbmsNameCase{"PostgreSQL", dbmsPostgreSQL},
                    DbmsNameCase{"InterSystems Cache", dbmsCache},
                    // Whole-name tests do not match a longer name.
                    DbmsNameCase{"Oracle 11g", dbmsUnknown},
                    DbmsNameCase{"InterBase 6", dbmsUnknown},
                    DbmsNameCase{"SQLite3", dbmsUnknown},
                    DbmsNameCase{"", dbmsUnknown}));

class DBMSKindFromDriverParamTest : public testing::TestWithParam<DbmsNameCase> {};

TEST_P(DBMSKindFromDriverParamTest, FindsTheProductInTheDriverValue) {
  EXPECT_EQ(DBMSKindFromDriverParam(GetParam().name), GetParam().kind) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Values, DBMSKindFromDriverParamTest,
    testing::Values(DbmsNameCase{"{Firebird/InterBase(r) driver}", dbmsInterBase},
                    DbmsNameCase{"SQL Native Client", dbmsMSSQLServer},
                    DbmsNameCase{"{SQL Server Native Client 10.0}", dbmsMSSQLServer},
                    DbmsNameCase{"sql server", dbmsMSSQLServer},
                    DbmsNameCase{"{ODBC Driver 17 for SQL Server}", dbmsMSSQLServer},
                    DbmsNameCase{"IBM DB2 ODBC DRIVER", dbmsDB2},
                    DbmsNameCase{"{Oracle in OraClient11g_home1}", dbmsOracle},
                    DbmsNameCase{"SQLite3", dbmsSQLite},
                    DbmsNameCase{"{PostgreSQL Unicode}", dbmsPostgreSQL},
                    DbmsNameCase{"MySQL ODBC 8.0 Unicode Driver", dbmsUnknown},
                    DbmsNameCase{"psqlodbcw.so", dbmsUnknown},
                    DbmsNameCase{"", dbmsUnknown}));

struct RemapCase {
  TODBCDriverKind kind;
  SQLSMALLINT described;
  SQLSMALLINT remapped;
};

class RemapDriverSQLTypeTest : public testing::TestWithParam<RemapCase> {};

TEST_P(RemapDriverSQLTypeTest, RemapsDriverTypes) {
  SQLSMALLINT sqlType = GetParam().described;
  RemapDriverSQLType(GetParam().kind, sqlType);
  EXPECT_EQ(sqlType, GetParam().remapped);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemapDriverSQLTypeTest,
    testing::Values(RemapCase{dkMSSQLServer, -150, -2}, RemapCase{dkMSSQLServer, -151, -151},
                    RemapCase{dkMSSQLServer, -100, -100}, RemapCase{dkInformix, -100, -1},
                    RemapCase{dkInformix, -101, -1}, RemapCase{dkInformix, -102, -4},
                    RemapCase{dkInformix, -109, -1}, RemapCase{dkInformix, -110, -110},
                    RemapCase{dkInformix, -99, -99}, RemapCase{dkInformix, -150, -150},
                    RemapCase{dkSQLite, -150, -150}, RemapCase{dkUnknown, -102, -102}));

}  // namespace
