#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dac/ParamParser.h"

namespace {

using dac::ParseParamMarkers;
using Names = std::vector<std::string>;

struct MarkerCase {
  const char* label;
  std::string sql;
  std::string expected;
  Names names;
};

class ParamMarkerTest : public testing::TestWithParam<MarkerCase> {};

TEST_P(ParamMarkerTest, ReplacesMarkersAndCollectsNames) {
  Names names;
  EXPECT_EQ(ParseParamMarkers(GetParam().sql, &names), GetParam().expected);
  EXPECT_EQ(names, GetParam().names);
}

TEST_P(ParamMarkerTest, WithoutCreatingGivesTheSameText) {
  EXPECT_EQ(ParseParamMarkers(GetParam().sql, nullptr), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scanning, ParamMarkerTest,
    testing::Values(
        MarkerCase{"Plain", "select * from t where a = :a", "select * from t where a = ?", {"a"}},
        MarkerCase{"NoMarker", "select 1 from t", "select 1 from t", {}},
        MarkerCase{"SingleQuotedColon", "select ':x' from t where a=:p",
                   "select ':x' from t where a=?", {"p"}},
        MarkerCase{"DoubleQuotedColon", "select \":x\" from t", "select \":x\" from t", {}},
        MarkerCase{"BackQuotedColon", "select `:x::y` from t", "select `:x::y` from t", {}},
        MarkerCase{"AnyQuoteClosesTheLiteral", "select 'a\" :x", "select 'a\" ?", {"x"}},
        MarkerCase{"TwoColons", "select a::int from t", "select a:int from t", {}},
        MarkerCase{"ThreeColonsThenName", "select :::name from t", "select :? from t",
                   {"name"}},
        MarkerCase{"QuotedName", "where n = :\"my name\" and m = 1", "where n = ? and m = 1",
                   {"my name"}},
        MarkerCase{"QuotedNameMixedQuotes", "where n = :'a b` or 1", "where n = ? or 1",
                   {"a b"}},
        MarkerCase{"QuoteInsideNameStays", "set a = :ab'c d' , b = 1", "set a = ? , b = 1",
                   {"ab'c d'"}},
        MarkerCase{"OddQuoteLeavesLiteralOpen", "where a = :a'b and c = :c", "where a = ?",
                   {"a'b and c = :c"}},
        MarkerCase{"EqualsBelongsToName", "where a=:x= 1", "where a=? 1", {"x="}},
        MarkerCase{"TabBelongsToName", "where a = :x\tand b", "where a = ? b", {"x\tand"}},
        MarkerCase{"PeriodAndColonBelongToName", "where a = :t.col:b<>(c|d and",
                   "where a = ? and", {"t.col:b<>(c|d"}},
        MarkerCase{"ColonAtEnd", "select :", "select ?", {""}},
        MarkerCase{"ColonBeforeDelimiter", "values (:, 1)", "values (?, 1)", {""}},
        MarkerCase{"EveryDelimiter", ":a):b*:c+:d,:e-:f/:g;:h\r:i\n:j :k",
                   "?)?*?+?,?-?/?;?\r?\n? ?", {"a", "b", "c", "d", "e", "f", "g", "h", "i",
                                               "j", "k"}},
        MarkerCase{"DuplicateNamesTwice", "where a = :n or b = :N", "where a = ? or b = ?",
                   {"n", "N"}},
        MarkerCase{"AccentedName", "set preço = :preço, x = 'São :y'",
                   "set preço = ?, x = 'São :y'", {"preço"}},
        MarkerCase{"AccentsBeforeQuote", "select 'Pão de Ló' || :p from t",
                   "select 'Pão de Ló' || ? from t", {"p"}},
        // A lead byte with no continuation is a byte of its own: the quote after it counts.
        MarkerCase{"BrokenSequenceKeepsQuote", "x \xC3':x' :y", "x \xC3':x' ?", {"y"}}),
    [](const testing::TestParamInfo<MarkerCase>& info) { return info.param.label; });

// The three update statements of the conversion, line by line.
std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(ParamMarkerStatements, UpdateProdsHasSevenMarkers) {
  std::string sql = Lines(
      {"UPDATE product",
       "SET table_tax = case when coalesce(:NEW_TABLE_TAX, 0) <> 0 then :NEW_TABLE_TAX else "
       "table_tax end,",
       "       direct_tax = case when coalesce(:NEW_DIRECT_TAX, 0) <> 0 then :NEW_DIRECT_TAX "
       "else direct_tax end,",
       "       purchase_tax = case when coalesce(:NEW_PURCHASE_TAX, 0) <> 0 then "
       ":NEW_PURCHASE_TAX else purchase_tax end",
       "WHERE code = :PRODUCT_CODE", ""});
  Names names;
  std::string processed = ParseParamMarkers(sql, &names);
  EXPECT_EQ(names, (Names{"NEW_TABLE_TAX", "NEW_TABLE_TAX", "NEW_DIRECT_TAX", "NEW_DIRECT_TAX",
                          "NEW_PURCHASE_TAX", "NEW_PURCHASE_TAX", "PRODUCT_CODE"}));
  EXPECT_EQ(processed,
            Lines({"UPDATE product",
                   "SET table_tax = case when coalesce(?, 0) <> 0 then ? else table_tax end,",
                   "       direct_tax = case when coalesce(?, 0) <> 0 then ? else direct_tax "
                   "end,",
                   "       purchase_tax = case when coalesce(?, 0) <> 0 then ? else "
                   "purchase_tax end",
                   "WHERE code = ?", ""}));
}

TEST(ParamMarkerStatements, UpdatePricesHasFourMarkers) {
  std::string sql = Lines({"UPDATE productprice SET price_wo_tax = (price_wo_tax * (1 + "
                           "(:old_taxvalue/100)) ) / (1 + (:new_taxvalue/100))",
                           "WHERE fiscalregion_code = :fiscalregion",
                           "AND productprice.product_code = :product_code"});
  Names names;
  std::string processed = ParseParamMarkers(sql, &names);
  EXPECT_EQ(names, (Names{"old_taxvalue", "new_taxvalue", "fiscalregion", "product_code"}));
  EXPECT_EQ(processed, Lines({"UPDATE productprice SET price_wo_tax = (price_wo_tax * (1 + "
                              "(?/100)) ) / (1 + (?/100))",
                              "WHERE fiscalregion_code = ?",
                              "AND productprice.product_code = ?"}));
}

TEST(ParamMarkerStatements, UpdateFamPricesHasFiveMarkers) {
  std::string sql = Lines({"UPDATE familyprice SET price_wo_tax = (price_wo_tax * (1 + "
                           "(:old_taxvalue/100)) ) / (1 + (:new_taxvalue/100))",
                           "WHERE fiscalregion_code = :fiscalregion",
                           "AND family_code = :family_code",
                           "AND family_subcode = :family_subcode"});
  Names names;
  ParseParamMarkers(sql, &names);
  EXPECT_EQ(names, (Names{"old_taxvalue", "new_taxvalue", "fiscalregion", "family_code",
                          "family_subcode"}));
}

struct NameCase {
  std::string left, right;
  bool same;
};

class ParamNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(ParamNameTest, ComparesWithoutCase) {
  EXPECT_EQ(dac::SameParamName(GetParam().left, GetParam().right), GetParam().same)
      << GetParam().left << " / " << GetParam().right;
}

INSTANTIATE_TEST_SUITE_P(Names, ParamNameTest,
                         testing::Values(NameCase{"new_table_tax", "NEW_TABLE_TAX", true},
                                         NameCase{"Old_TaxValue", "OLD_TAXVALUE", true},
                                         NameCase{"a", "ab", false},
                                         NameCase{"a@", "a`", false},  // not letters
                                         NameCase{"[x]", "{X}", false},
                                         NameCase{"", "", true},
                                         NameCase{"preço", "preço", true},
                                         NameCase{"preço", "preco", false},
                                         NameCase{"\xC3", "\xE3", false}));

}  // namespace
