#include <gtest/gtest.h>

#include <string>

#include "dac/SQLServerRewrite.h"

namespace {

struct RuleCase {
  const char* label;
  size_t rule;  // 1-based, in the order of application
  std::string sql;
  std::string expected;
};

class SQLServerRuleTest : public testing::TestWithParam<RuleCase> {};

TEST_P(SQLServerRuleTest, RewritesAsTheRuleSays) {
  EXPECT_EQ(dac::ApplySQLServerRule(GetParam().rule - 1, GetParam().sql), GetParam().expected);
}

const char* kNow = "CAST(FLOOR(CAST(GETDATE() AS DECIMAL(12, 5))) AS DATETIME)";

INSTANTIATE_TEST_SUITE_P(
    Rules, SQLServerRuleTest,
    testing::Values(
        RuleCase{"R1Function", 1, "select round(x, 2), TRUNC(y) from t",
                 "select dbo.round(x, 2), dbo.TRUNC(y) from t"},
        RuleCase{"R1NestedNeedsPasses", 1, "select round(round(round(round(x))))",
                 "select dbo.round(dbo.round(dbo.round(dbo.round(x))))"},
        RuleCase{"R1AlreadyQualified", 1, "select dbo.round(x) from t",
                 "select dbo.round(x) from t"},
        RuleCase{"R1WholeWordMod", 1, "select mod(a,b), nmod(a,b), xmod(a,b) from t",
                 "select dbo.mod(a,b), dbo.nmod(a,b), xmod(a,b) from t"},
        RuleCase{"R1NeedsACharacterBefore", 1, "round(1)", "round(1)"},
        RuleCase{"R1AllNames", 1,
                 " nvl_float( nmax( string_replace( strlength( strpos( datetoiso( rightfill(",
                 " dbo.nvl_float( dbo.nmax( dbo.string_replace( dbo.strlength( dbo.strpos( "
                 "dbo.datetoiso( dbo.rightfill("},
        RuleCase{"R2Trim", 2, "select trim(name) from t", "select LTRIM(RTRIM(name)) from t"},
        RuleCase{"R2TrimQuoted", 2, "where trim ( 'a b' ) = x", "where LTRIM(RTRIM('a b' )) = x"},
        RuleCase{"R3GenId", 3, "select gen_id(gen_product,0) from t",
                 "select dbo.gen_id('gen_product') from t"},
        RuleCase{"R3OnlyStepZero", 3, "select gen_id(gen_product,1) from t",
                 "select gen_id(gen_product,1) from t"},
        RuleCase{"R4Concat", 4, "select a || b ||c from t", "select a + b +c from t"},
        RuleCase{"R5DummyTable", 5, "select 1 from RDB$DATABASE", "select 1 from systable"},
        RuleCase{"R6First", 6, "SELECT FIRST 10 * from t", "SELECT top 10 * from t"},
        RuleCase{"R7Extract", 7, "select extract(month from sale_date) from t",
                 "select datepart(month, sale_date) from t"},
        // The blank before "from" belongs to the first argument's class, so it stays.
        RuleCase{"R8Substring", 8, "select substring(name from 1 for 3) from t",
                 "select substring(name , 1, 3) from t"},
        RuleCase{"R9Types", 9, "cast(a as date), cast(b as TIMESTAMP) ,c time,",
                 "cast(a as datetime), cast(b as datetime) ,c datetime,"},
        RuleCase{"R9NotInsideWords", 9, "select update_date from t",
                 "select update_date from t"},
        RuleCase{"R10LeftJoinOuterApply", 10,
                 "select * from t left join get_stock(t.id, 1) s on s.id = t.id",
                 "select * from t  OUTER APPLY get_stock(t.id, 1) s"},
        RuleCase{"R11LeftJoinOuterApply", 11,
                 "from t LEFT JOIN get_product_price(t.id,'x') p on p.id = t.id where 1=1",
                 "from t  OUTER APPLY get_product_price(t.id,'x') p where 1=1"},
        RuleCase{"R12JoinCrossApply", 12, "from t join get_stock(1) s on s.id = t.id",
                 "from t  CROSS APPLY get_stock(1) s"},
        RuleCase{"R13JoinCrossApply", 13, "from t join getavgprice(t.id) a on a.id = t.id",
                 "from t  CROSS APPLY getavgprice(t.id) a"},
        RuleCase{"R14Now", 14, "where d = 'NOW'", std::string("where d = ") + kNow},
        RuleCase{"R15ProcedureWithArguments", 15, "execute procedure set_price(:a, :b)",
                 "exec set_price :a, :b"},
        RuleCase{"R16Procedure", 16, "EXECUTE  PROCEDURE do_it", "exec do_it"},
        RuleCase{"R17Recursive", 17, "WITH RECURSIVE tree AS (select 1)",
                 "with tree AS (select 1)"}),
    [](const testing::TestParamInfo<RuleCase>& info) { return info.param.label; });

TEST(SQLServerRewrite, HasSeventeenRules) { EXPECT_EQ(dac::SQLServerRuleCount(), 17u); }

TEST(SQLServerRewrite, AppliesEveryRuleInOrder) {
  EXPECT_EQ(dac::RewriteForSQLServer("select first 1 gen_id(g,0), a || b from rdb$database"),
            "select top 1 dbo.gen_id('g'), a + b from systable");
}

TEST(SQLServerRewrite, LeavesTheUpdateStatementsAlone) {
  std::string sql =
      "UPDATE productprice SET price_wo_tax = (price_wo_tax * (1 + (:old_taxvalue/100)) ) / "
      "(1 + (:new_taxvalue/100))\nWHERE fiscalregion_code = :fiscalregion\n";
  EXPECT_EQ(dac::RewriteForSQLServer(sql), sql);
}

TEST(SQLServerRewrite, KeepsMultiByteCharacters) {
  EXPECT_EQ(dac::RewriteForSQLServer("select 'Pão' || trim(nome) from t"),
            "select 'Pão' + LTRIM(RTRIM(nome)) from t");
}

}  // namespace
