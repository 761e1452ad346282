// Sets the run-time library's process-wide format settings.
#include "app/TextFormats.h"

#include "toolkit/rtl/SysUtils.h"

void FixTextFormats() {
  TFormatSettings& s = FormatSettings();
  s.DateSeparator = '-';
  s.ShortDateFormat = "yyyy-mm-dd";
  s.LongDateFormat = "yyyy-mm-dd";
  s.TimeSeparator = ':';
  s.ShortTimeFormat = "hh:mm:ss";
  s.LongTimeFormat = "hh:mm:ss";
  s.CurrencyString = "￥";
  s.DecimalSeparator = '.';
  s.CurrencyDecimals = 2;
}
