#include <gtest/gtest.h>

#include "dac/ODBCDateTime.h"
#include "toolkit/db/DateUtils.h"

namespace {

using db::EConvertError;

SQL_TIMESTAMP_STRUCT Stamp(int y, int mo, int d, int h, int mi, int s, SQLUINTEGER fraction) {
  SQL_TIMESTAMP_STRUCT t{};
  t.year = SQLSMALLINT(y);
  t.month = SQLUSMALLINT(mo);
  t.day = SQLUSMALLINT(d);
  t.hour = SQLUSMALLINT(h);
  t.minute = SQLUSMALLINT(mi);
  t.second = SQLUSMALLINT(s);
  t.fraction = fraction;
  return t;
}

constexpr double kMsec = 1.0 / 86400000;

TEST(ODBCDateTime, DateStructGivesTheDayNumber) {
  EXPECT_EQ(dac::DateStructToDateTime(SQL_DATE_STRUCT{1899, 12, 30}), 0);
  EXPECT_EQ(dac::DateStructToDateTime(SQL_DATE_STRUCT{1899, 12, 29}), -1);
  EXPECT_EQ(dac::DateStructToDateTime(SQL_DATE_STRUCT{2024, 2, 29}), 45351);
  EXPECT_EQ(dac::DateStructToDateTime(SQL_DATE_STRUCT{1, 1, 1}), -693593);
  EXPECT_THROW(dac::DateStructToDateTime(SQL_DATE_STRUCT{2023, 2, 29}), EConvertError);
  EXPECT_THROW(dac::DateStructToDateTime(SQL_DATE_STRUCT{2024, 13, 1}), EConvertError);
  EXPECT_THROW(dac::DateStructToDateTime(SQL_DATE_STRUCT{0, 1, 1}), EConvertError);
}

TEST(ODBCDateTime, TimeStructGivesTheTimeOfDay) {
  EXPECT_EQ(dac::TimeStructToDateTime(SQL_TIME_STRUCT{6, 0, 0}), 0.25);
  EXPECT_DOUBLE_EQ(dac::TimeStructToDateTime(SQL_TIME_STRUCT{23, 59, 59}), 86399.0 / 86400);
  EXPECT_THROW(dac::TimeStructToDateTime(SQL_TIME_STRUCT{24, 0, 0}), EConvertError);
  EXPECT_THROW(dac::TimeStructToDateTime(SQL_TIME_STRUCT{12, 60, 0}), EConvertError);
}

struct StampCase {
  SQL_TIMESTAMP_STRUCT stamp;
  double value;
};

class TimestampTest : public testing::TestWithParam<StampCase> {};

TEST_P(TimestampTest, ConvertsBothWays) {
  const StampCase& c = GetParam();
  EXPECT_NEAR(dac::TimestampStructToDateTime(c.stamp), c.value, kMsec / 10);
  SQL_TIMESTAMP_STRUCT back = dac::DateTimeToTimestampStruct(c.value);
  SQL_TIMESTAMP_STRUCT expected = c.stamp;
  expected.fraction = expected.fraction / 1000000 * 1000000;  // milliseconds survive
  EXPECT_EQ(back.year, expected.year);
  EXPECT_EQ(back.month, expected.month);
  EXPECT_EQ(back.day, expected.day);
  EXPECT_EQ(back.hour, expected.hour);
  EXPECT_EQ(back.minute, expected.minute);
  EXPECT_EQ(back.second, expected.second);
  EXPECT_EQ(back.fraction, expected.fraction);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimestampTest,
    testing::Values(StampCase{Stamp(1899, 12, 30, 0, 0, 0, 0), 0},
                    StampCase{Stamp(1899, 12, 30, 6, 0, 0, 0), 0.25},
                    // Before day 0 the time of day is subtracted.
                    StampCase{Stamp(1899, 12, 29, 6, 0, 0, 0), -1.25},
                    StampCase{Stamp(1800, 1, 1, 18, 0, 0, 0), -36522.75},
                    StampCase{Stamp(2024, 2, 29, 12, 0, 0, 500000000), 45351.5 + 500 * kMsec},
                    StampCase{Stamp(2024, 2, 29, 12, 0, 0, 123456789), 45351.5 + 123 * kMsec},
                    StampCase{Stamp(2000, 1, 1, 23, 59, 59, 999000000),
                              36526 + 86399999 * kMsec},
                    StampCase{Stamp(9999, 12, 31, 0, 0, 0, 0), 2958465}));

TEST(ODBCDateTime, TimestampRejectsInvalidFields) {
  EXPECT_THROW(dac::TimestampStructToDateTime(Stamp(2024, 4, 31, 0, 0, 0, 0)), EConvertError);
  EXPECT_THROW(dac::TimestampStructToDateTime(Stamp(2024, 4, 1, 0, 0, 60, 0)), EConvertError);
  EXPECT_THROW(dac::TimestampStructToDateTime(Stamp(2024, 4, 1, 0, 0, 0, 1000000000)),
               EConvertError);
}

TEST(ODBCDateTime, DateStructTakesTheCalendarDateOnly) {
  SQL_DATE_STRUCT d = dac::DateTimeToDateStruct(45351.99);
  EXPECT_EQ(d.year, 2024);
  EXPECT_EQ(d.month, 2);
  EXPECT_EQ(d.day, 29);
  d = dac::DateTimeToDateStruct(-1.75);
  EXPECT_EQ(d.year, 1899);
  EXPECT_EQ(d.month, 12);
  EXPECT_EQ(d.day, 29);
  EXPECT_THROW(dac::DateTimeToDateStruct(1e300), EConvertError);
}

TEST(ODBCDateTime, TimestampRoundsToTheMillisecond) {
  // Just short of midnight rounds into the next day rather than to 24:00:00.
  SQL_TIMESTAMP_STRUCT t = dac::DateTimeToTimestampStruct(1 - kMsec / 4);
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.fraction, 0u);
}

}  // namespace
