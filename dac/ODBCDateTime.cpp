#include "dac/ODBCDateTime.h"

#include "toolkit/db/DateUtils.h"

namespace dac {

namespace {
constexpr SQLUINTEGER kNanosecondsPerMillisecond = 1000000;
}

db::TDateTime DateStructToDateTime(const SQL_DATE_STRUCT& value) {
  return db::EncodeDate(value.year, value.month, value.day);
}

db::TDateTime TimeStructToDateTime(const SQL_TIME_STRUCT& value) {
  return db::EncodeTime(value.hour, value.minute, value.second, 0);
}

db::TDateTime TimestampStructToDateTime(const SQL_TIMESTAMP_STRUCT& value) {
  db::TDateTime date = db::EncodeDate(value.year, value.month, value.day);
  db::TDateTime time = db::EncodeTime(value.hour, value.minute, value.second,
                                      int(value.fraction / kNanosecondsPerMillisecond));
  return date < 0 ? date - time : date + time;
}

SQL_DATE_STRUCT DateTimeToDateStruct(db::TDateTime value) {
  int year = 0, month = 0, day = 0;
  db::DecodeDate(value, year, month, day);
  SQL_DATE_STRUCT result{};
  result.year = SQLSMALLINT(year);
  result.month = SQLUSMALLINT(month);
  result.day = SQLUSMALLINT(day);
  return result;
}

SQL_TIMESTAMP_STRUCT DateTimeToTimestampStruct(db::TDateTime value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
  db::DecodeDate(value, year, month, day);
  db::DecodeTime(value, hour, minute, second, msec);
  SQL_TIMESTAMP_STRUCT result{};
  result.year = SQLSMALLINT(year);
  result.month = SQLUSMALLINT(month);
  result.day = SQLUSMALLINT(day);
  result.hour = SQLUSMALLINT(hour);
  result.minute = SQLUSMALLINT(minute);
  result.second = SQLUSMALLINT(second);
  result.fraction = SQLUINTEGER(msec) * kNanosecondsPerMillisecond;
  return result;
}

}  // namespace dac
