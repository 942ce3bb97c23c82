#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dac/ODBCLists.h"

namespace {

using Lines = std::vector<std::string>;

struct JoinCase {
  Lines lines;
  std::string text;
};

class StringsToSemicolonTextTest : public testing::TestWithParam<JoinCase> {};

TEST_P(StringsToSemicolonTextTest, TrimsAndJoins) {
  EXPECT_EQ(dac::StringsToSemicolonText(GetParam().lines), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringsToSemicolonTextTest,
    testing::Values(JoinCase{{}, ""},
                    JoinCase{{"  Driver={X}  ", "", "UID=a"}, "Driver={X};;UID=a"},
                    JoinCase{{"", " \t", "A=1"}, "A=1"},  // no leading separator
                    JoinCase{{"A=1", ""}, "A=1;"},
                    JoinCase{{"\tA = 1 \r", "B=2\n"}, "A = 1;B=2"},  // inner blanks kept
                    JoinCase{{"PWD=Pão de Ló "}, "PWD=Pão de Ló"},      // UTF-8 is not blank
                    JoinCase{{"PWD= s;e ", "X"}, "PWD= s;e;X"}));

struct SplitCase {
  std::string text;
  Lines lines;
};

class SemicolonTextToStringsTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SemicolonTextToStringsTest, SplitsIntoLines) {
  Lines lines{"left over"};
  dac::SemicolonTextToStrings(GetParam().text, lines);
  EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SemicolonTextToStringsTest,
    testing::Values(SplitCase{"", {}},
                    SplitCase{"A=1;B=2", {"A=1", "B=2"}},
                    SplitCase{"A=1;", {"A=1"}},  // a trailing break adds no item
                    SplitCase{";", {""}},
                    SplitCase{";A", {"", "A"}},
                    SplitCase{"A;;B", {"A", "", "B"}},
                    SplitCase{"A\r\nB", {"A", "B"}},
                    SplitCase{"A\rB\nC", {"A", "B", "C"}},
                    SplitCase{"A\n\rB", {"A", "", "B"}},
                    SplitCase{"A;\r\nB", {"A", "", "B"}},
                    SplitCase{" A = 1 ", {" A = 1 "}},  // nothing is trimmed
                    // The SQLite3 driver's completed connection string.
                    SplitCase{"DSN=;Database=/tmp/x.db;PWD=", {"DSN=", "Database=/tmp/x.db", "PWD="}},
                    // psqlODBC's, which ends in a separator.
                    SplitCase{"DRIVER={PostgreSQL Unicode};UID=morvel;D6=-101;",
                              {"DRIVER={PostgreSQL Unicode}", "UID=morvel", "D6=-101"}}));

TEST(ODBCLists, RoundTripOfParameterLines) {
  Lines params{"Driver={PostgreSQL Unicode}", "Server=127.0.0.1", "UID=morvel"};
  Lines back;
  dac::SemicolonTextToStrings(dac::StringsToSemicolonText(params), back);
  EXPECT_EQ(back, params);
}

}  // namespace
