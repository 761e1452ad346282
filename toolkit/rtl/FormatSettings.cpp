// The process-wide format settings, filled from the user's locale (GetLocaleInfoW) on first use.
// The program overwrites the separators and date/time formats it relies on at start-up; the
// values read here only matter until then and for the names of months and days.
#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
  wchar_t buf[256];
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 256);
  if (n <= 1) return fallback;
  return WideToUtf8(std::wstring_view(buf, static_cast<size_t>(n - 1)));
}

int LocaleNumber(LCTYPE type, int fallback) {
  std::string text = LocaleText(type, "");
  if (text.empty() || text[0] < '0' || text[0] > '9') return fallback;
  return std::stoi(text);
}

// A separator must be one byte here; other locale separators fall back to a plain character.
char LocaleChar(LCTYPE type, char fallback, char nonAscii) {
  std::string text = LocaleText(type, "");
  if (text.empty()) return fallback;
  unsigned char c = static_cast<unsigned char>(text[0]);
  return c < 0x80 ? static_cast<char>(c) : nonAscii;
}

// Turns a locale date picture into ours: 'M' is a month in ours too (letters are
// case-insensitive), the era ('g') is dropped, and a lone 'y' becomes "yy".
std::string TranslateDateFormat(const std::string& locale) {
  std::string out;
  for (size_t i = 0; i < locale.size(); ++i) {
    char c = locale[i];
    if (c == 'g') continue;
    if (c == '\'') {
      size_t close = locale.find('\'', i + 1);
      if (close == std::string::npos) close = locale.size();
      out += '"';
      out += locale.substr(i + 1, close - i - 1);
      out += '"';
      i = close;
      continue;
    }
    if (c == 'y') {
      size_t n = 1;
      while (i + n < locale.size() && locale[i + n] == 'y') ++n;
      out += n <= 2 ? "yy" : "yyyy";
      i += n - 1;
      continue;
    }
    out += c;
  }
  // Leading/trailing blanks from dropped eras.
  while (!out.empty() && out.front() == ' ') out.erase(out.begin());
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

TFormatSettings LoadFromLocale() {
  static const char* const kShortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  static const char* const kLongMonths[12] = {"January", "February", "March",     "April",
                                              "May",     "June",     "July",      "August",
                                              "September", "October", "November", "December"};
  static const char* const kShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kLongDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
  TFormatSettings s;
  s.CurrencyString = LocaleText(LOCALE_SCURRENCY, "$");
  s.CurrencyFormat = static_cast<unsigned char>(LocaleNumber(LOCALE_ICURRENCY, 0));
  s.NegCurrFormat = static_cast<unsigned char>(LocaleNumber(LOCALE_INEGCURR, 0));
  s.CurrencyDecimals = static_cast<unsigned char>(LocaleNumber(LOCALE_ICURRDIGITS, 2));
  s.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, ',', ' ');
  s.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, '.', '.');
  s.DateSeparator = LocaleChar(LOCALE_SDATE, '/', '/');
  s.TimeSeparator = LocaleChar(LOCALE_STIME, ':', ':');
  s.ListSeparator = LocaleChar(LOCALE_SLIST, ',', ',');
  s.ShortDateFormat = TranslateDateFormat(LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy"));
  s.LongDateFormat = TranslateDateFormat(LocaleText(LOCALE_SLONGDATE, "dddd, MMMM d, yyyy"));
  s.TimeAMString = LocaleText(LOCALE_S1159, "AM");
  s.TimePMString = LocaleText(LOCALE_S2359, "PM");

  // Time formats from the clock flags: 12/24 hours, leading zero, AM/PM before or after.
  bool twelveHour = LocaleNumber(LOCALE_ITIME, 0) == 0;
  std::string hour = LocaleNumber(LOCALE_ITLZERO, 0) == 1 ? "hh" : "h";
  std::string prefix, suffix;
  if (twelveHour) {
    if (LocaleNumber(LOCALE_ITIMEMARKPOSN, 0) == 1) prefix = "AMPM ";
    else suffix = " AMPM";
  }
  s.ShortTimeFormat = prefix + hour + ":mm" + suffix;
  s.LongTimeFormat = prefix + hour + ":mm:ss" + suffix;

  for (int i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + static_cast<LCTYPE>(i), kShortMonths[i]);
    s.LongMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(i), kLongMonths[i]);
  }
  // The locale's day names start on Monday; ours start on Sunday.
  for (int i = 0; i < 7; ++i) {
    LCTYPE offset = static_cast<LCTYPE>((i + 6) % 7);
    s.ShortDayNames[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + offset, kShortDays[i]);
    s.LongDayNames[i] = LocaleText(LOCALE_SDAYNAME1 + offset, kLongDays[i]);
  }
  return s;
}

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = LoadFromLocale();
  return settings;
}
