// TDateTime arithmetic: days since 1899-12-30 with the time of day as the fraction. Decoding
// goes through whole milliseconds (the value rounded once), so a time a hair before midnight
// decodes as the next day's 00:00:00.000, never as 23:59:60 or 1000 ms. Before 1899-12-30 the
// integer part counts days backwards and the fraction is the time of day (-1.25 = 1899-12-29
// 06:00), as the library has always done.
#include <cmath>

#include "toolkit/rtl/DateTimeStamp.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

namespace {

constexpr long long kMSecsPerDay = 86400000LL;
constexpr int kDateDelta = 693594;  // days from 0001-01-01 to 1899-12-31 (day 1 = 0001-01-01)

const int kMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

}  // namespace

namespace rtl_detail {

TimeStamp DateTimeToTimeStamp(TDateTime value) {
  if (!std::isfinite(value) || std::fabs(value) > 3e6)
    throw EConvertError("Invalid argument to date encode");
  long long ms = Round(static_cast<long double>(value) * kMSecsPerDay);
  TimeStamp ts;
  ts.date = kDateDelta + static_cast<int>(ms / kMSecsPerDay);  // truncates toward zero
  ts.time = static_cast<int>((ms < 0 ? -ms : ms) % kMSecsPerDay);
  return ts;
}

void DayNumberToDate(int dayNumber, int& year, int& month, int& day) {
  // dayNumber 1 = 0001-01-01; 400-year cycles of 146097 days.
  if (dayNumber <= 0) {
    year = month = day = 0;
    return;
  }
  int t = dayNumber - 1;
  int y = 1;
  y += 400 * (t / 146097);
  t %= 146097;
  int c = t / 36524;
  if (c == 4) c = 3;
  y += 100 * c;
  t -= c * 36524;
  y += 4 * (t / 1461);
  t %= 1461;
  int q = t / 365;
  if (q == 4) q = 3;
  y += q;
  t -= q * 365;
  const int* md = kMonthDays[IsLeapYear(y) ? 1 : 0];
  int m = 0;
  while (t >= md[m]) t -= md[m++];
  year = y;
  month = m + 1;
  day = t + 1;
}

}  // namespace rtl_detail

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  return kMonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInAMonth(year, month))
    return false;
  const int* md = kMonthDays[IsLeapYear(year) ? 1 : 0];
  int days = day;
  for (int m = 0; m < month - 1; ++m) days += md[m];
  int y = year - 1;
  days += y * 365 + y / 4 - y / 100 + y / 400;
  value = static_cast<TDateTime>(days - kDateDelta);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime v;
  if (!TryEncodeDate(year, month, day, v)) throw EConvertError("Invalid argument to date encode");
  return v;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value) {
  if (hour < 0 || hour >= 24 || min < 0 || min >= 60 || sec < 0 || sec >= 60 || msec < 0 ||
      msec >= 1000)
    return false;
  long long ms = ((hour * 60LL + min) * 60 + sec) * 1000 + msec;
  value = static_cast<TDateTime>(ms) / kMSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime v;
  if (!TryEncodeTime(hour, min, sec, msec, v)) throw EConvertError("Invalid argument to time encode");
  return v;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  rtl_detail::DayNumberToDate(rtl_detail::DateTimeToTimeStamp(value).date, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  int t = rtl_detail::DateTimeToTimeStamp(value).time;
  msec = t % 1000;
  t /= 1000;
  sec = t % 60;
  t /= 60;
  min = t % 60;
  hour = t / 60;
}

int DayOfWeek(TDateTime value) {
  int d = rtl_detail::DateTimeToTimeStamp(value).date;  // day 1 = 0001-01-01, a Monday
  return d % 7 + 1;
}

TDateTime Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeDate(st.wYear, st.wMonth, st.wDay) +
         EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

TDateTime Date() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeDate(st.wYear, st.wMonth, st.wDay);
}

TDateTime Time() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}
