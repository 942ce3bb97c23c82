#pragma once
// Conversions between the ODBC date and time structures and date-time values (days since
// 30 December 1899, time of day as the fraction). Invalid fields raise db::EConvertError.
#include <sqltypes.h>

#include "toolkit/db/DBTypes.h"

namespace dac {

db::TDateTime DateStructToDateTime(const SQL_DATE_STRUCT& value);
db::TDateTime TimeStructToDateTime(const SQL_TIME_STRUCT& value);
// Milliseconds come from the nanosecond fraction; a date before day 0 subtracts the time.
db::TDateTime TimestampStructToDateTime(const SQL_TIMESTAMP_STRUCT& value);
SQL_DATE_STRUCT DateTimeToDateStruct(db::TDateTime value);
SQL_TIMESTAMP_STRUCT DateTimeToTimestampStruct(db::TDateTime value);

}  // namespace dac
