// Diagnostics, parameter lines and server version texts.
#include <gtest/gtest.h>

#include "dac/DACDatabase.h"
#include "dac/ODBCApi.h"
#include "dac/ODBCError.h"
#include "dac/ParamLines.h"

using namespace dac;

namespace {

TEST(ODBCBinding, AllEntryPointsAreBound) {
  ASSERT_TRUE(ODBCLibraryLoaded());
  EXPECT_EQ(odbcapi::EntryPointCount(), 69);
#define EXPECT_BOUND(name) EXPECT_NE(odbcapi::name, nullptr) << #name;
  MORVEL_ODBC_ENTRY_POINTS(EXPECT_BOUND)
#undef EXPECT_BOUND
}

struct RetCodeCase {
  SQLRETURN retCode;
  bool passes;
  const char* message;
};

class RetCodes : public testing::TestWithParam<RetCodeCase> {};

TEST_P(RetCodes, CheckPassesOnlySuccessAndRaisesTheFixedTexts) {
  ASSERT_TRUE(ODBCLibraryLoaded());
  const RetCodeCase& c = GetParam();
  if (c.passes) {
    EXPECT_NO_THROW(ODBCCheck(SQL_HANDLE_ENV, SQL_NULL_HANDLE, c.retCode));
    return;
  }
  try {
    ODBCCheck(SQL_HANDLE_ENV, SQL_NULL_HANDLE, c.retCode);
    FAIL() << "passed return code " << c.retCode;
  } catch (const EODBCError& error) {
    EXPECT_EQ(error.RetCode(), c.retCode);
    EXPECT_STREQ(error.what(), c.message);
    EXPECT_TRUE(error.DiagRecs().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RetCodes,
    testing::Values(RetCodeCase{SQL_SUCCESS, true, ""}, RetCodeCase{SQL_SUCCESS_WITH_INFO, true, ""},
                    RetCodeCase{SQL_NO_DATA, false, "No data found"},
                    RetCodeCase{SQL_NEED_DATA, false, "Need data"},
                    RetCodeCase{SQL_STILL_EXECUTING, false, "Still executing"},
                    RetCodeCase{SQL_INVALID_HANDLE, false, "Invalid handle"},
                    // No records on a null handle: the fallback text.
                    RetCodeCase{SQL_ERROR, false,
                                "ODBC Return Code: -1\r\nNo ODBC diagnostic info available"},
                    RetCodeCase{7, false, "Unknown return code: 7"},
                    RetCodeCase{-5, false, "Unknown return code: -5"}));

TEST(DiagnosticMessage, TwoRecordsGiveSixLinesInDriverOrder) {
  std::vector<TDiagRec> records = {{"42000", 7, "first"}, {"01004", -3, "second"}};
  EODBCError error(records, SQL_ERROR);
  EXPECT_STREQ(error.what(),
               "first\r\nSQLSTATE : 42000\r\nNative error code: 7\r\n"
               "second\r\nSQLSTATE : 01004\r\nNative error code: -3\r\n");
  ASSERT_EQ(error.DiagRecs().size(), 2u);
  EXPECT_EQ(error.DiagRecs()[1].SqlState, "01004");
}

TEST(DiagnosticMessage, AllocatingUnderAnInvalidParentReportsOnTheParent) {
  ASSERT_TRUE(ODBCLibraryLoaded());
  TODBCHandle connection(SQL_HANDLE_DBC);
  try {
    connection.Allocate(SQL_NULL_HANDLE);
    FAIL();
  } catch (const EODBCError& error) {
    EXPECT_EQ(error.RetCode(), SQL_INVALID_HANDLE);
    EXPECT_STREQ(error.what(), "Invalid handle");
  }
  EXPECT_FALSE(connection);
}

struct LookupCase {
  std::vector<std::string> lines;
  const char* key;
  const char* expected;
};

class ParamLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(ParamLookup, KeysIgnoreCaseButNotBlanks) {
  EXPECT_EQ(LookupParam(GetParam().lines, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParamLookup,
    testing::Values(LookupCase{{"dbname=x"}, "DbName", "x"},
                    LookupCase{{"DbName =x"}, "DbName", ""},
                    LookupCase{{"PWD= a;b "}, "pwd", " a;b "},
                    LookupCase{{"A=1", "a=2"}, "A", "1"},
                    LookupCase{{"A=1=2"}, "A", "1=2"},
                    LookupCase{{"A"}, "A", ""},
                    LookupCase{{}, "A", ""}));

TEST(ParamSetting, ReplacesAppendsAndRemoves) {
  std::vector<std::string> lines = {"uid=a", "PWD=b"};
  SetParam(lines, "UID", "x");
  EXPECT_EQ(lines, (std::vector<std::string>{"UID=x", "PWD=b"}));
  SetParam(lines, "Port", "5432");
  EXPECT_EQ(lines.back(), "Port=5432");
  SetParam(lines, "pwd", "");
  EXPECT_EQ(lines, (std::vector<std::string>{"UID=x", "Port=5432"}));
  SetParam(lines, "Missing", "");
  EXPECT_EQ(lines.size(), 2u);
}

TEST(ParamText, SplitsLinesOfAnyBreak) {
  EXPECT_EQ(TextToLines("a=1\r\nb=2\nc=3\rd=4\n"),
            (std::vector<std::string>{"a=1", "b=2", "c=3", "d=4"}));
  EXPECT_EQ(TextToLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(TextToLines("").empty());
}

struct VersionCase {
  const char* text;
  uint64_t expected;
};

class ServerVersion : public testing::TestWithParam<VersionCase> {};

TEST_P(ServerVersion, PartsOfSixteenBits) {
  EXPECT_EQ(ServerVersionFromText(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ServerVersion,
    testing::Values(VersionCase{"02.01.0150", (2ull << 32) + (1ull << 16) + 150},
                    VersionCase{"2.5", (2ull << 16) + 5}, VersionCase{"", 0},
                    VersionCase{"15.0.18", (15ull << 32) + 18},
                    VersionCase{"3.40.1", (3ull << 32) + (40ull << 16) + 1},
                    VersionCase{"1.2.3.4.5", (1ull << 48) + (2ull << 32) + (3ull << 16) + 4},
                    VersionCase{"  7 .  8", (7ull << 16) + 8},
                    VersionCase{"\"a b\".2", 2}, VersionCase{"x.3", 3},
                    VersionCase{"02.00.0149", (2ull << 32) + 149}));

}  // namespace
