// A TDateTime split into whole days and milliseconds, the one place where a date-time value is
// rounded (to the millisecond). Decoding and FormatDateTime both go through it so they agree on
// the day a value falls on. Internal to rtl.
#pragma once

#include "toolkit/rtl/SysUtils.h"

namespace rtl_detail {

struct TimeStamp {
  int date = 0;  // day 1 = 0001-01-01
  int time = 0;  // milliseconds since midnight, 0..86399999
};

// EConvertError for NaN, infinities and values far outside the years 1..9999.
TimeStamp DateTimeToTimeStamp(TDateTime value);
// Year/month/day of a day number (1 = 0001-01-01); all 0 for day numbers below 1.
void DayNumberToDate(int dayNumber, int& year, int& month, int& day);

}  // namespace rtl_detail
