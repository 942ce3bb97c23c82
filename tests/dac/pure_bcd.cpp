#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "dac/Bcd.h"
#include "toolkit/db/DBTypes.h"
#include "toolkit/db/FormatSettings.h"

namespace {

using db::TBcdRecord;

// Sets the process-wide separators for one test and restores them after it.
class SeparatorGuard {
 public:
  SeparatorGuard(char decimal, char thousand) : saved_(db::FormatSettings()) {
    db::FormatSettings().DecimalSeparator = decimal;
    db::FormatSettings().ThousandSeparator = thousand;
  }
  ~SeparatorGuard() { db::FormatSettings() = saved_; }

 private:
  db::TFormatSettings saved_;
};

TBcdRecord Bcd(int precision, int signAndPlaces, std::vector<int> digits) {
  TBcdRecord bcd;
  bcd.Precision = uint8_t(precision);
  bcd.SignAndPlaces = uint8_t(signAndPlaces);
  for (size_t i = 0; i < digits.size(); ++i)
    bcd.Digits[i / 2] |= uint8_t(i % 2 == 0 ? digits[i] << 4 : digits[i]);
  return bcd;
}

struct TryCase {
  std::string text;
  bool ok;
  int precision;
  int signAndPlaces;
  std::vector<int> digits;
};

class TryTextToBcdTest : public testing::TestWithParam<TryCase> {
 protected:
  SeparatorGuard separators_{'.', ','};
};

TEST_P(TryTextToBcdTest, PacksTheDigits) {
  const TryCase& c = GetParam();
  TBcdRecord bcd;
  ASSERT_EQ(dac::TryTextToBcd(c.text, bcd), c.ok) << c.text;
  if (c.ok) {
    EXPECT_EQ(bcd, Bcd(c.precision, c.signAndPlaces, c.digits)) << c.text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TryTextToBcdTest,
    testing::Values(TryCase{"", true, 8, 2, {}},
                    TryCase{"0", true, 8, 2, {}},
                    TryCase{"00", true, 10, 2, {}},
                    TryCase{"-", true, 10, 2, {}},
                    TryCase{"-0", true, 10, 2, {}},  // zero is never negative
                    TryCase{"12.3", true, 3, 1, {1, 2, 3}},
                    TryCase{"-12.5", true, 3, 0x81, {1, 2, 5}},
                    TryCase{"0.05", true, 2, 2, {0, 5}},
                    TryCase{"-0.5", true, 1, 0x81, {5}},
                    TryCase{"-00.5", true, 2, 0x81, {0, 5}},
                    TryCase{"007", true, 1, 0, {7}},
                    TryCase{"5.", true, 1, 0, {5}},
                    TryCase{"100", true, 3, 0, {1, 0, 0}},
                    TryCase{"123456789012", true, 12, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2}},
                    TryCase{"00-5", true, 1, 0x80, {5}},  // a sign after leading zeros
                    TryCase{".", true, 0, 0, {}},         // no digit: BcdToText rejects it
                    TryCase{"+1", false, 0, 0, {}},
                    TryCase{" 1", false, 0, 0, {}},
                    TryCase{"1 ", false, 0, 0, {}},
                    TryCase{"1,5", false, 0, 0, {}},
                    TryCase{"1e5", false, 0, 0, {}},
                    // A misplaced sign or a second separator would give a value the text
                    // does not hold (1-2 packed a garbage digit, 1.2.3 read as 1.23).
                    TryCase{"1-2", false, 0, 0, {}},
                    TryCase{"--5", false, 0, 0, {}},
                    TryCase{"-0-5", false, 0, 0, {}},
                    TryCase{"1.2.3", false, 0, 0, {}}));

TEST(TryTextToBcd, ManyFractionDigitsAreCutTo64Characters) {
  SeparatorGuard separators('.', ',');
  TBcdRecord bcd;
  ASSERT_TRUE(dac::TryTextToBcd("1." + std::string(70, '7'), bcd));
  EXPECT_EQ(bcd.Precision, 63);
  EXPECT_EQ(bcd.SignAndPlaces, 62);
  EXPECT_EQ(dac::BcdToText(bcd), "1." + std::string(62, '7'));
}

TEST(TryTextToBcd, TooManyIntegerDigitsGiveARecordThatIsRejected) {
  SeparatorGuard separators('.', ',');
  TBcdRecord bcd;
  for (size_t digits : {65, 70, 255, 300, 320}) {
    ASSERT_TRUE(dac::TryTextToBcd(std::string(digits, '9'), bcd));
    EXPECT_GT(bcd.Precision, 64) << digits;  // 300 digits must not wrap to a valid 44
    EXPECT_THROW(dac::BcdToText(bcd), dac::EBcdOverflowException) << digits;
  }
}

struct TextCase {
  std::string text;
  int precision;
  int signAndPlaces;
  std::string back;  // BcdToText of the result
};

class TextToBcdTest : public testing::TestWithParam<TextCase> {
 protected:
  SeparatorGuard separators_{'.', ','};
};

TEST_P(TextToBcdTest, ConvertsAndReadsBack) {
  const TextCase& c = GetParam();
  TBcdRecord bcd;
  dac::TextToBcd(c.text, bcd);
  EXPECT_EQ(bcd.Precision, c.precision) << c.text;
  EXPECT_EQ(bcd.SignAndPlaces, c.signAndPlaces) << c.text;
  EXPECT_EQ(dac::BcdToText(bcd), c.back) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToBcdTest,
    testing::Values(TextCase{"12.3456789012345", 13, 11, "12.34567890123"},  // cut, not rounded
                    TextCase{"123456789012", 12, 0, "123456789012"},
                    TextCase{"0.99999999999999", 11, 11, "0.99999999999"},
                    TextCase{"1,234.5", 5, 1, "1234.5"},
                    TextCase{"-1,234,567.25", 9, 0x82, "-1234567.25"},
                    TextCase{"1.5E3", 15, 11, "1500"},
                    TextCase{"-2.5e-3", 11, 0x8B, "-0.00250000000"},
                    TextCase{"1e-20", 11, 11, "0.00000000000"},
                    TextCase{"-1e-20", 11, 11, "0.00000000000"},  // no negative zero
                    TextCase{"1.23456789012345678e17", 29, 11, "123456789012345680"},
                    TextCase{"0.1e1", 12, 11, "1"},
                    TextCase{"", 8, 2, "0"}));

TEST(TextToBcd, RejectsTextsThatAreNoDecimals) {
  SeparatorGuard separators('.', ',');
  TBcdRecord bcd;
  for (std::string text : {"abc", "1x", "+1", " 1", "1-2", "1e30", "1.5e18"}) {
    try {
      dac::TextToBcd(text, bcd);
      ADD_FAILURE() << text;
    } catch (const dac::EBcdOverflowException&) {
      ADD_FAILURE() << "overflow for " << text;
    } catch (const dac::EBcdException& e) {
      EXPECT_EQ(std::string(e.what()), text + " is not a valid BCD value");
    }
  }
}

TEST(TextToBcd, AnExponentFormThatIsNoNumberIsAConversionError) {
  SeparatorGuard separators('.', ',');
  TBcdRecord bcd;
  EXPECT_THROW(dac::TextToBcd("1e", bcd), db::EConvertError);
  EXPECT_THROW(dac::TextToBcd("e5", bcd), db::EConvertError);
  EXPECT_THROW(dac::TextToBcd("1e999", bcd), db::EConvertError);
}

struct ToTextCase {
  TBcdRecord bcd;
  std::string text;
};

class BcdToTextTest : public testing::TestWithParam<ToTextCase> {
 protected:
  SeparatorGuard separators_{'.', ','};
};

TEST_P(BcdToTextTest, WritesTheValue) { EXPECT_EQ(dac::BcdToText(GetParam().bcd), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Records, BcdToTextTest,
    testing::Values(ToTextCase{Bcd(5, 2, {0, 1, 2, 3, 0}), "12.3"},
                    ToTextCase{Bcd(4, 4, {5, 0, 0, 0}), "0.5000"},  // all fraction keeps zeros
                    ToTextCase{Bcd(4, 0x82, {0, 0, 0, 0}), "0"},
                    ToTextCase{Bcd(3, 0, {1, 0, 0}), "100"},
                    ToTextCase{Bcd(3, 1, {1, 0, 0}), "10"},
                    ToTextCase{Bcd(5, 2, {0, 0, 0, 0, 5}), "0.05"},
                    ToTextCase{Bcd(3, 0x81, {1, 2, 5}), "-12.5"},
                    ToTextCase{Bcd(1, 1, {0}), "0"},
                    ToTextCase{Bcd(1, 0x81, {0}), "0"},
                    ToTextCase{Bcd(2, 0x82, {0, 7}), "-0.07"},
                    ToTextCase{Bcd(64, 0, std::vector<int>(64, 9)), std::string(64, '9')},
                    ToTextCase{Bcd(8, 2, {}), "0"},
                    ToTextCase{Bcd(10, 2, {}), "0"}));

TEST(BcdToText, RejectsRecordsThatHoldNoValue) {
  SeparatorGuard separators('.', ',');
  EXPECT_THROW(dac::BcdToText(Bcd(0, 0, {})), dac::EBcdOverflowException);
  EXPECT_THROW(dac::BcdToText(Bcd(65, 0, {1})), dac::EBcdOverflowException);
  // More places than digits or a nibble above 9 would be written as a wrong value.
  EXPECT_THROW(dac::BcdToText(Bcd(2, 5, {1, 2})), dac::EBcdOverflowException);
  EXPECT_THROW(dac::BcdToText(Bcd(2, 0, {1, 10})), dac::EBcdOverflowException);
  try {
    dac::BcdToText(Bcd(0, 0, {}));
  } catch (const dac::EBcdException& e) {
    EXPECT_STREQ(e.what(), "BCD overflow");
  }
}

// Prices go to the database as FloatToBcd then BcdToText: the shortest exact text.
TEST(FloatToBcd, PricesReachTheTextUnchanged) {
  SeparatorGuard separators('.', ',');
  struct { double value; const char* text; } rows[] = {
      {12.5, "12.5"},       {1.99, "1.99"},     {0.83, "0.83"},         {-3.3, "-3.3"},
      {100, "100"},         {0, "0"},           {-0.0, "0"},            {1234.56, "1234.56"},
      {0.1 + 0.2, "0.3"},   {2.0 / 3, "0.66666666666"},              {1e-5, "0.00001000000"},
      {123456789.125, "123456789.125"},         {1234567890123456.0, "1234567890123500"},
      {-0.0001, "-0.0001"}};
  for (auto row : rows) {
    TBcdRecord bcd;
    dac::FloatToBcd(row.value, bcd);
    EXPECT_EQ(dac::BcdToText(bcd), row.text) << row.value;
  }
}

TEST(FloatToBcd, NotANumberIsNoDecimal) {
  SeparatorGuard separators('.', ',');
  TBcdRecord bcd;
  EXPECT_THROW(dac::FloatToBcd(std::nan(""), bcd), dac::EBcdException);
  EXPECT_THROW(dac::FloatToBcd(std::numeric_limits<double>::infinity(), bcd), dac::EBcdException);
  EXPECT_THROW(dac::FloatToBcd(1e300, bcd), dac::EBcdException);
}

TEST(BcdToFloat, ReadsTheValue) {
  SeparatorGuard separators('.', ',');
  EXPECT_EQ(dac::BcdToFloat(Bcd(5, 2, {0, 1, 2, 3, 0})), 12.3);
  EXPECT_EQ(dac::BcdToFloat(Bcd(2, 0x82, {0, 7})), -0.07);
  EXPECT_EQ(dac::BcdToFloat(Bcd(8, 2, {})), 0);
  EXPECT_THROW(dac::BcdToFloat(Bcd(0, 0, {})), dac::EBcdOverflowException);
}

TEST(IntToBcd, PacksTheDecimalText) {
  SeparatorGuard separators('.', ',');
  TBcdRecord bcd;
  dac::IntToBcd(0, bcd);
  EXPECT_EQ(bcd, Bcd(8, 2, {}));
  dac::IntToBcd(42, bcd);
  EXPECT_EQ(bcd, Bcd(2, 0, {4, 2}));
  dac::IntToBcd(std::numeric_limits<int32_t>::min(), bcd);
  EXPECT_EQ(bcd, Bcd(10, 0x80, {2, 1, 4, 7, 4, 8, 3, 6, 4, 8}));
  EXPECT_EQ(dac::BcdToText(bcd), "-2147483648");
}

TEST(Bcd, UsesTheModuleSeparators) {
  SeparatorGuard separators(',', '.');
  TBcdRecord bcd;
  dac::TextToBcd("1.234,5", bcd);
  EXPECT_EQ(bcd, Bcd(5, 1, {1, 2, 3, 4, 5}));
  EXPECT_EQ(dac::BcdToText(bcd), "1234,5");
  EXPECT_EQ(dac::BcdToFloat(bcd), 1234.5);
  EXPECT_FALSE(dac::TryTextToBcd("12.5", bcd));
  EXPECT_EQ(dac::BcdToText(Bcd(1, 0x81, {0})), "0");  // "-0,0" reads as zero too
  dac::FloatToBcd(0.25, bcd);
  EXPECT_EQ(dac::BcdToText(bcd), "0,25");
  dac::TextToBcd("2,5e2", bcd);
  EXPECT_EQ(dac::BcdToText(bcd), "250");
}

TEST(Bcd, TextsRoundTrip) {
  SeparatorGuard separators('.', ',');
  for (std::string text : {"0.01", "-1234.56", "99999999.99", "0.5", "7", "-7", "10.01",
                           "0.00000000001", "12345678901234567890.12345678901"}) {
    TBcdRecord bcd;
    dac::TextToBcd(text, bcd);
    EXPECT_EQ(dac::BcdToText(bcd), text);
  }
}

}  // namespace
