#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "toolkit/db/DateUtils.h"
#include "toolkit/db/FormatSettings.h"

namespace {

using db::EConvertError;

class FormatGuard {
 public:
  FormatGuard() : saved_(db::FormatSettings()) {}
  ~FormatGuard() { db::FormatSettings() = saved_; }

 private:
  db::TFormatSettings saved_;
};

constexpr double kMsec = 1.0 / 86400000;

struct DateCase {
  int year, month, day;
  double value;
};

class EncodeDateTest : public testing::TestWithParam<DateCase> {};

TEST_P(EncodeDateTest, CountsDaysFromTheOrigin) {
  const DateCase& c = GetParam();
  EXPECT_EQ(db::EncodeDate(c.year, c.month, c.day), c.value);
  int y = 0, m = 0, d = 0;
  db::DecodeDate(c.value, y, m, d);
  EXPECT_EQ(y, c.year);
  EXPECT_EQ(m, c.month);
  EXPECT_EQ(d, c.day);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, EncodeDateTest,
    testing::Values(DateCase{1899, 12, 30, 0}, DateCase{1899, 12, 29, -1},
                    DateCase{1900, 1, 1, 2}, DateCase{1900, 3, 1, 61},  // 1900 is no leap year
                    DateCase{2000, 1, 1, 36526}, DateCase{2000, 2, 29, 36585},
                    DateCase{2024, 2, 29, 45351}, DateCase{1, 1, 1, -693593},
                    DateCase{9999, 12, 31, 2958465}));

TEST(DateUtils, EveryDayDecodesToItself) {
  double previous = db::EncodeDate(1599, 12, 31);
  for (int year = 1600; year <= 2401; ++year)
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= 31; ++day) {
        double value = 0;
        try {
          value = db::EncodeDate(year, month, day);
        } catch (const EConvertError&) {
          continue;
        }
        ASSERT_EQ(value, previous + 1) << year << "-" << month << "-" << day;
        previous = value;
        int y = 0, m = 0, d = 0;
        db::DecodeDate(value < 0 ? value - 0.5 : value + 0.5, y, m, d);  // noon
        ASSERT_TRUE(y == year && m == month && d == day) << year << "-" << month << "-" << day;
      }
}

TEST(DateUtils, InvalidDatesAndTimesAreRejected) {
  EXPECT_THROW(db::EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(db::EncodeDate(1900, 2, 29), EConvertError);
  EXPECT_THROW(db::EncodeDate(2024, 0, 1), EConvertError);
  EXPECT_THROW(db::EncodeDate(2024, 1, 0), EConvertError);
  EXPECT_THROW(db::EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(db::EncodeDate(10000, 1, 1), EConvertError);
  EXPECT_THROW(db::EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(db::EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(db::EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(db::EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(db::EncodeTime(-1, 0, 0, 0), EConvertError);
  int y, m, d;
  EXPECT_THROW(db::DecodeDate(std::nan(""), y, m, d), EConvertError);
  EXPECT_THROW(db::DecodeDate(1e10, y, m, d), EConvertError);
}

TEST(DateUtils, TimesEncodeAndDecode) {
  EXPECT_EQ(db::EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_EQ(db::EncodeTime(0, 0, 0, 0), 0);
  EXPECT_NEAR(db::EncodeTime(23, 59, 59, 999), 1 - kMsec, 1e-12);
  int h, n, s, ms;
  db::DecodeTime(45351 + db::EncodeTime(13, 14, 15, 16), h, n, s, ms);
  EXPECT_EQ(std::vector<int>({h, n, s, ms}), std::vector<int>({13, 14, 15, 16}));
  // A date before the origin carries its time with the date's sign.
  db::DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(std::vector<int>({h, n, s, ms}), std::vector<int>({6, 0, 0, 0}));
  int y, m, d;
  db::DecodeDate(-1.25, y, m, d);
  EXPECT_EQ(std::vector<int>({y, m, d}), std::vector<int>({1899, 12, 29}));
}

struct TextDateCase {
  double value;
  std::string text;
};

class DateTimeToStrTest : public testing::TestWithParam<TextDateCase> {};

TEST_P(DateTimeToStrTest, WritesAndReadsBack) {
  const TextDateCase& c = GetParam();
  EXPECT_EQ(db::DateTimeToStr(c.value), c.text);
  EXPECT_NEAR(db::StrToDateTime(c.text), c.value, kMsec);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DateTimeToStrTest,
    testing::Values(TextDateCase{0, "30/12/1899"}, TextDateCase{45351, "29/02/2024"},
                    TextDateCase{45351.5, "29/02/2024 12:00:00"},
                    TextDateCase{45351 + 1.0 / 86400, "29/02/2024 00:00:01"},
                    TextDateCase{-1.25, "29/12/1899 06:00:00"},
                    TextDateCase{-693593, "01/01/0001"},
                    TextDateCase{2958465 + 86399.0 / 86400, "31/12/9999 23:59:59"}));

TEST(DateUtils, DateTimeTextUsesTheSeparators) {
  FormatGuard guard;
  db::FormatSettings().DateSeparator = '.';
  db::FormatSettings().TimeSeparator = 'h';
  EXPECT_EQ(db::DateTimeToStr(45351.75), "29.02.2024 18h00h00");
  EXPECT_EQ(db::StrToDateTime("29.02.2024 18h00h00"), 45351.75);
  EXPECT_THROW(db::StrToDateTime("29/02/2024"), EConvertError);
}

struct ReadCase {
  std::string text;
  double value;
};

class StrToDateTimeTest : public testing::TestWithParam<ReadCase> {};

TEST_P(StrToDateTimeTest, ReadsTheForms) {
  EXPECT_NEAR(db::StrToDateTime(GetParam().text), GetParam().value, kMsec / 10)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrToDateTimeTest,
    testing::Values(ReadCase{"29/02/2024", 45351}, ReadCase{"1/2/2024", 45323},
                    ReadCase{" 29/02/2024 12:30 ", 45351 + 12.5 / 24},
                    ReadCase{"2024-02-29", 45351},
                    ReadCase{"2024-02-29 12:00:00", 45351.5},
                    ReadCase{"2024-02-29T12:00", 45351.5},
                    ReadCase{"2024-02-29 12:00:00.123456", 45351.5 + 123 * kMsec},
                    ReadCase{"2024-02-29 12:00:00.9996", 45351.5 + 999 * kMsec},
                    ReadCase{"1899-12-29 18:00:00", -1.75}));

TEST(DateUtils, StrToDateTimeRejectsOtherTexts) {
  for (std::string text : {"", "abc", "29/02/2023", "2024-13-01", "29/02/24", "29/02/2024 25:00",
                           "29/02/2024 12", "29/02/2024x", "2024-02-29 12:00:00.", "29-02-2024"})
    EXPECT_THROW(db::StrToDateTime(text), EConvertError) << text;
}

struct FloatCase {
  double value;
  std::string text;
};

class FloatToStrTest : public testing::TestWithParam<FloatCase> {};

TEST_P(FloatToStrTest, WritesTheShortestGeneralForm) {
  EXPECT_EQ(db::FloatToStr(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FloatToStrTest,
    testing::Values(FloatCase{0, "0"}, FloatCase{-0.0, "0"}, FloatCase{1, "1"},
                    FloatCase{-1.5, "-1.5"}, FloatCase{0.1, "0.1"}, FloatCase{0.1 + 0.2, "0.3"},
                    FloatCase{1.0 / 3, "0.333333333333333"},
                    FloatCase{123456789012345.0, "123456789012345"}, FloatCase{1e15, "1E15"},
                    FloatCase{0.0001, "0.0001"}, FloatCase{0.00001, "1E-5"},
                    FloatCase{-2.5e-10, "-2.5E-10"}, FloatCase{1e300, "1E300"},
                    FloatCase{1234567.891, "1234567.891"}));

TEST(DateUtils, FloatTextUsesTheDecimalSeparator) {
  FormatGuard guard;
  db::FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(db::FloatToStr(12.5), "12,5");
  EXPECT_EQ(db::StrToFloat("12,5"), 12.5);
  EXPECT_THROW(db::StrToFloat("12.5"), EConvertError);
}

TEST(DateUtils, StrToFloatReadsNumbers) {
  EXPECT_EQ(db::StrToFloat(" 1.5e3 "), 1500);
  EXPECT_EQ(db::StrToFloat("-.5"), -0.5);
  EXPECT_EQ(db::StrToFloat("+2."), 2);
  EXPECT_EQ(db::StrToFloat("1E-2"), 0.01);
  EXPECT_EQ(db::StrToFloat(db::FloatToStr(0.1 + 0.2)), 0.3);
  for (std::string text : {"", " ", "abc", "1,5", "1e", "1e+", "inf", "nan", "1.2.3", "-",
                           "+-1", ".", "1 2", "0x10", "1e999"})
    EXPECT_THROW(db::StrToFloat(text), EConvertError) << text;
}

TEST(DateUtils, StrToIntReadsDecimalIntegers) {
  EXPECT_EQ(db::StrToInt(" 42 "), 42);
  EXPECT_EQ(db::StrToInt("+7"), 7);
  EXPECT_EQ(db::StrToInt("-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(db::StrToInt64("9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(db::StrToInt64("-9223372036854775808"), std::numeric_limits<int64_t>::min());
  for (std::string text : {"", "-", "+", "+-1", "1.0", "12a", "2147483648", "0x10", "1 2"})
    EXPECT_THROW(db::StrToInt(text), EConvertError) << text;
  EXPECT_THROW(db::StrToInt64("9223372036854775808"), EConvertError);
  try {
    db::StrToInt("12a");
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
  }
}

}  // namespace
