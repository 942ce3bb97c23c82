#include <gtest/gtest.h>

#include "TestTables.h"

using namespace db;
using dbtest::DefaultProducts;
using dbtest::MakeProducts;

namespace {

struct LocateCase {
  const char* label;
  const char* keyFields;
  std::vector<Variant> keys;
  TLocateOptions options;
  int expectedCode;  // 0: no match
};

// The search runs either on the table's own rows or, with a filter event in place, through
// the dataset's generic walk over First and Next: both must give the same answers.
enum class Path { Direct, Walk };

class LocateRules : public testing::TestWithParam<std::tuple<Path, LocateCase>> {
 protected:
  void SetUp() override {
    MakeProducts(table_, DefaultProducts());
    if (std::get<0>(GetParam()) == Path::Walk) {
      table_.OnFilterRecord = [](TDataSet&, bool& accept) { accept = true; };
      table_.SetFiltered(true);
    }
    table_.SetRecNo(2);
  }
  TMemTable table_;
};

TEST_P(LocateRules, FindsTheFirstMatchOrKeepsThePosition) {
  const LocateCase& c = std::get<1>(GetParam());
  int afterScroll = 0;
  table_.AfterScroll = [&](TDataSet&) { ++afterScroll; };
  const bool found = table_.Locate(c.keyFields, c.keys, c.options);
  EXPECT_EQ(found, c.expectedCode != 0);
  EXPECT_EQ(table_.FieldByName("CODE").AsInteger(), found ? c.expectedCode : 2);
  EXPECT_EQ(afterScroll, found ? 1 : 0);
  EXPECT_FALSE(table_.Eof());
}

const LocateCase kCases[] = {
    {"ExactText", "NAME", {Variant("ABD")}, 0, 2},
    {"CaseCounts", "NAME", {Variant("abc")}, 0, 0},
    {"CaseInsensitive", "NAME", {Variant("abc")}, loCaseInsensitive, 1},
    {"CaseInsensitiveAccents", "NAME", {Variant("pão de ló")}, loCaseInsensitive, 3},
    {"PartialKey", "NAME", {Variant("AB")}, loPartialKey, 1},
    {"PartialWithoutOptionMisses", "NAME", {Variant("AB")}, 0, 0},
    {"PartialAndCase", "NAME", {Variant("xy")}, loPartialKey | loCaseInsensitive, 4},
    {"TrailingSpacesOfTheField", "NAME", {Variant("XYZ")}, 0, 4},
    {"TrailingSpacesOfTheKey", "NAME", {Variant("ABC  ")}, 0, 1},
    {"TextKeyForIntegerField", "CODE", {Variant("3")}, 0, 3},
    {"UnconvertibleKeyMisses", "CODE", {Variant("abc")}, 0, 0},
    {"FieldNotConvertibleToKeyMisses", "NAME", {Variant(int32_t{1})}, 0, 0},
    {"IntegerKey", "code", {Variant(int32_t{4})}, 0, 4},
    {"SmallIntKey", "CODE", {Variant(int16_t{5})}, 0, 5},
    {"FloatKey", "PRICE", {Variant(3.5)}, 0, 3},
    {"NullKeyNeverMatches", "NAME", {Variant::Null()}, 0, 0},
    {"TwoKeys", "CODE;NAME", {Variant(int32_t{2}), Variant("ABD")}, 0, 2},
    {"TwoKeysOneWrong", "CODE; NAME", {Variant(int32_t{2}), Variant("ABC")}, 0, 0},
    {"NoKeyFieldsMatchTheFirst", "", {}, 0, 1},
};

INSTANTIATE_TEST_SUITE_P(Cases, LocateRules,
                         testing::Combine(testing::Values(Path::Direct, Path::Walk), testing::ValuesIn(kCases)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) == Path::Direct ? "Direct_" : "Walk_") +
                                  std::get<1>(info.param).label;
                         });

TEST(Locate, NullFieldIsNeverMatchedEvenByANullKey) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());  // code 5 has a null name
  EXPECT_FALSE(table.Locate("NAME", Variant::Null()));
  EXPECT_FALSE(table.Locate("NAME", Variant("")));
  EXPECT_TRUE(table.Locate("CODE", Variant(int32_t{5})));
  EXPECT_TRUE(table.FieldByName("NAME").IsNull());
}

TEST(Locate, MissKeepsBofAndEofAndUnknownFieldRaises) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  table.OnFilterRecord = [](TDataSet&, bool& accept) { accept = true; };
  table.SetFiltered(true);
  table.Last();
  table.Next();
  ASSERT_TRUE(table.Eof());
  EXPECT_FALSE(table.Locate("CODE", Variant(int32_t{99})));
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 5);
  EXPECT_THROW(table.Locate("NOPE", Variant(int32_t{1})), EDatabaseError);
}

TEST(Locate, IntegerKeysStayRightAfterChanges) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  ASSERT_TRUE(table.Locate("CODE", Variant(int32_t{3})));  // builds the key index
  table.Edit();
  table.FieldByName("CODE").SetAsInteger(30);
  table.Post();
  EXPECT_FALSE(table.Locate("CODE", Variant(int32_t{3})));
  EXPECT_TRUE(table.Locate("CODE", Variant(int32_t{30})));
  table.Append();
  table.FieldByName("CODE").SetAsInteger(2);  // a second row with code 2: the first still wins
  table.Post();
  ASSERT_TRUE(table.Locate("CODE", Variant(int32_t{2})));
  EXPECT_EQ(table.RecNo(), 2);
  table.SetCellValue(1, 0, Variant(int32_t{20}));
  ASSERT_TRUE(table.Locate("CODE", Variant(int32_t{2})));
  EXPECT_EQ(table.RecNo(), 6);
}

class LookupPaths : public testing::TestWithParam<Path> {};

TEST_P(LookupPaths, GivesValuesWithoutMovingOrNotifying) {
  TMemTable table;
  MakeProducts(table, DefaultProducts());
  if (GetParam() == Path::Walk) {
    table.OnFilterRecord = [](TDataSet&, bool& accept) { accept = true; };
    table.SetFiltered(true);
  }
  TDataSource source(&table);
  dbtest::CountingLink link;
  link.SetDataSource(&source);
  table.SetRecNo(2);
  link.Reset();
  int scrolls = 0;
  table.BeforeScroll = [&](TDataSet&) { ++scrolls; };

  EXPECT_EQ(table.Lookup("CODE", Variant(int32_t{3}), "NAME"), Variant("PÃO DE LÓ"));
  EXPECT_TRUE(table.Lookup("CODE", Variant(int32_t{99}), "NAME").IsNull());
  const auto values = table.LookupValues("NAME", {Variant("XYZ")}, "CODE;PRICE");
  EXPECT_EQ(values, (std::vector<Variant>{Variant(int32_t{4}), Variant(4.5)}));

  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 2);
  EXPECT_EQ(link.Total(), 0);
  EXPECT_EQ(scrolls, 0);
  table.Next();  // the position is still sound after the search
  EXPECT_EQ(table.FieldByName("CODE").AsInteger(), 3);
}

INSTANTIATE_TEST_SUITE_P(Paths, LookupPaths, testing::Values(Path::Direct, Path::Walk));

}  // namespace
