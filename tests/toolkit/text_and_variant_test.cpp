#include <gtest/gtest.h>

#include "toolkit/db/FieldClasses.h"
#include "toolkit/db/TextUtils.h"
#include "toolkit/db/VariantConvert.h"

using namespace db;

struct CutCase {
  const char* text;
  size_t maxChars;
  const char* expected;
};

class Utf8Cut : public testing::TestWithParam<CutCase> {};

TEST_P(Utf8Cut, KeepsWholeCharacters) {
  const CutCase& c = GetParam();
  EXPECT_EQ(Utf8CutToChars(c.text, c.maxChars), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Utf8Cut,
                         testing::Values(CutCase{"Pão de Ló", 5, "Pão d"}, CutCase{"Pão de Ló", 9, "Pão de Ló"},
                                         CutCase{"Pão de Ló", 40, "Pão de Ló"}, CutCase{"ãé", 1, "ã"},
                                         CutCase{"a😀b", 2, "a😀"}, CutCase{"", 3, ""}));

TEST(Utf8, CutToBytesNeverSplitsACharacter) {
  EXPECT_EQ(Utf8CutToBytes("Pão", 2), "P");  // "ã" takes bytes 2 and 3
  EXPECT_EQ(Utf8CutToBytes("Pão", 3), "Pã");
  EXPECT_EQ(Utf8CutToBytes("😀", 3), "");
  EXPECT_EQ(Utf8Length("Pão de Ló"), 9u);
}

TEST(Utf8, UpperCaseCoversAccentedLetters) {
  EXPECT_EQ(Utf8UpperCase("pão de ló"), "PÃO DE LÓ");
  EXPECT_EQ(Utf8UpperCase("çãõéêíúàÿ"), "ÇÃÕÉÊÍÚÀŸ");
  EXPECT_EQ(Utf8UpperCase("ąłž"), "ĄŁŽ");
  EXPECT_EQ(Utf8UpperCase("abc\xff"), "ABC\xff");  // a stray byte stays as it is
}

struct ConvertCase {
  Variant value;
  TVarType to;
  Variant expected;
};

class VariantConversion : public testing::TestWithParam<ConvertCase> {};

TEST_P(VariantConversion, GivesTheTargetKind) {
  const ConvertCase& c = GetParam();
  EXPECT_EQ(VarAsType(c.value, c.to), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantConversion,
    testing::Values(ConvertCase{Variant("23"), TVarType::Integer, Variant(int32_t{23})},
                    ConvertCase{Variant(" 23 "), TVarType::Integer, Variant(int32_t{23})},
                    ConvertCase{Variant(int32_t{23}), TVarType::String, Variant("23")},
                    ConvertCase{Variant(2.5), TVarType::Integer, Variant(int32_t{2})},  // half to even
                    ConvertCase{Variant(3.5), TVarType::Integer, Variant(int32_t{4})},
                    ConvertCase{Variant(int16_t{7}), TVarType::Double, Variant(7.0)},
                    ConvertCase{Variant("1.25"), TVarType::Double, Variant(1.25)},
                    ConvertCase{Variant(1.25), TVarType::String, Variant("1.25")},
                    ConvertCase{Variant(TCurrency{12345}), TVarType::String, Variant("1.2345")},
                    ConvertCase{Variant(true), TVarType::String, Variant("True")},
                    ConvertCase{Variant::Null(), TVarType::Integer, Variant::Null()},
                    ConvertCase{Variant(int32_t{70000}), TVarType::Integer, Variant(int32_t{70000})}));

TEST(VariantConversion, FailuresRaiseConvertErrors) {
  EXPECT_THROW(VarAsType(Variant("abc"), TVarType::Integer), EConvertError);
  EXPECT_THROW(VarAsType(Variant(int32_t{70000}), TVarType::SmallInt), EConvertError);
  EXPECT_THROW(VarToInt(Variant::Null()), EConvertError);
  EXPECT_THROW(VarToInt(Variant(5e12)), EConvertError);
  EXPECT_EQ(VarToInt(Variant::Empty()), 0);
}

TEST(PackedDecimal, RoundTripsThroughText) {
  for (const char* text : {"0", "123.45", "-0.5", "1000", "99999999999999999999.0001"}) {
    SCOPED_TRACE(text);
    const TBcdRecord bcd = StrToBcd(text);
    EXPECT_EQ(BcdToStr(bcd), std::string(text));
  }
  EXPECT_DOUBLE_EQ(BcdToDouble(StrToBcd("-12.75")), -12.75);
  EXPECT_EQ(BcdToStr(DoubleToBcd(0.1)), "0.1");
  EXPECT_THROW(StrToBcd("12a"), EConvertError);
}

TEST(NativeDates, RoundTripThroughTheRecordForms) {
  const TDateTime noon = 45000.5;  // 15 March 2023, 12:00
  EXPECT_EQ(DateToDayNumber(0), 693594);
  EXPECT_EQ(TimeToMilliseconds(noon), 43200000);
  EXPECT_DOUBLE_EQ(NativeToDateTime(DateTimeToNative(noon)), noon);
  EXPECT_DOUBLE_EQ(NativeToDateTime(DateTimeToNative(-1.25)), -1.25);
  EXPECT_DOUBLE_EQ(DayNumberToDate(DateToDayNumber(noon)), 45000);
}
