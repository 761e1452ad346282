// Format settings for the rtl tests: fixed English names and the separators and formats the
// program sets at start-up, so results do not depend on the machine's regional settings.
#pragma once

#include "toolkit/rtl/SysUtils.h"

inline TFormatSettings ProgramLikeSettings() {
  static const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  static const char* const kLongMonths[12] = {"January", "February", "March",     "April",
                                              "May",     "June",     "July",      "August",
                                              "September", "October", "November", "December"};
  static const char* const kShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kLongDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
  TFormatSettings s;
  for (int i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = kShortMonths[i];
    s.LongMonthNames[i] = kLongMonths[i];
  }
  for (int i = 0; i < 7; ++i) {
    s.ShortDayNames[i] = kShortDays[i];
    s.LongDayNames[i] = kLongDays[i];
  }
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  s.DateSeparator = '-';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "yyyy-mm-dd";
  s.LongDateFormat = "yyyy-mm-dd";
  s.ShortTimeFormat = "hh:mm:ss";
  s.LongTimeFormat = "hh:mm:ss";
  return s;
}

// Saves the process-wide settings and puts them back when the test ends.
class ProcessSettingsGuard {
 public:
  ProcessSettingsGuard() : saved_(FormatSettings()) {}
  ~ProcessSettingsGuard() { FormatSettings() = saved_; }
  ProcessSettingsGuard(const ProcessSettingsGuard&) = delete;
  ProcessSettingsGuard& operator=(const ProcessSettingsGuard&) = delete;

 private:
  TFormatSettings saved_;
};
