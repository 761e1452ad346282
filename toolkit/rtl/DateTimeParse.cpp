// Reading dates and times from text: numbers in the short date format's order (day, month,
// year as its first letter says) separated by the date separator, and h:n[:s[.z]] with an
// optional AM/PM marker separated by the time separator. Two-digit years fall in the century
// window around the current year.
#include <cctype>
#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : t_(text) {}

  void SkipBlanks() {
    while (i_ < t_.size() && t_[i_] == ' ') ++i_;
  }
  bool AtEnd() {
    SkipBlanks();
    return i_ >= t_.size();
  }
  bool Char(char c) {
    SkipBlanks();
    if (i_ < t_.size() && t_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  // Up to 4 digits (9 for milliseconds); `digits` receives how many were read.
  bool Number(int& value, int& digits, int maxDigits = 4) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (i_ < t_.size() && digits < maxDigits && std::isdigit(static_cast<unsigned char>(t_[i_]))) {
      value = value * 10 + (t_[i_++] - '0');
      ++digits;
    }
    return digits > 0;
  }
  bool Word(std::string_view word) {
    SkipBlanks();
    if (word.empty() || t_.size() - i_ < word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k)
      if (std::toupper(static_cast<unsigned char>(t_[i_ + k])) !=
          std::toupper(static_cast<unsigned char>(word[k])))
        return false;
    i_ += word.size();
    return true;
  }
  size_t Position() const { return i_; }
  void Rewind(size_t i) { i_ = i; }

 private:
  std::string_view t_;
  size_t i_ = 0;
};

int CurrentYear() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return st.wYear;
}

// 'Y', 'M' or 'D': the first date part in the short date format.
char DateOrder(const std::string& shortDateFormat) {
  for (char c : shortDateFormat) {
    char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (u == 'Y' || u == 'M' || u == 'D') return u;
  }
  return 'M';
}

bool ScanDate(Scanner& s, const TFormatSettings& fs, TDateTime& value) {
  int n[3], digits[3], count = 0;
  if (!s.Number(n[0], digits[0])) return false;
  count = 1;
  while (count < 3 && s.Char(fs.DateSeparator)) {
    if (!s.Number(n[count], digits[count])) return false;
    ++count;
  }
  if (count < 2) return false;
  int year, month, day, yearDigits = 4;
  bool haveYear = count == 3;
  switch (DateOrder(fs.ShortDateFormat)) {
    case 'Y':
      if (haveYear) {
        year = n[0]; yearDigits = digits[0]; month = n[1]; day = n[2];
      } else {
        year = CurrentYear(); month = n[0]; day = n[1];
      }
      break;
    case 'D':
      day = n[0]; month = n[1];
      if (haveYear) { year = n[2]; yearDigits = digits[2]; } else { year = CurrentYear(); }
      break;
    default:
      month = n[0]; day = n[1];
      if (haveYear) { year = n[2]; yearDigits = digits[2]; } else { year = CurrentYear(); }
      break;
  }
  if (haveYear && yearDigits <= 2) {
    int current = CurrentYear();
    int pivot = current - fs.TwoDigitYearCenturyWindow;
    year += pivot / 100 * 100;
    if (fs.TwoDigitYearCenturyWindow > 0 && year < pivot) year += 100;
  }
  // A trailing date separator ("5/3/") is allowed.
  s.Char(fs.DateSeparator);
  return TryEncodeDate(year, month, day, value);
}

// 0 = none, 1 = AM, 2 = PM.
int ScanAmPm(Scanner& s, const TFormatSettings& fs) {
  if (s.Word("AM") || s.Word("A")) return 1;
  if (s.Word("PM") || s.Word("P")) return 2;
  if (s.Word(fs.TimeAMString)) return 1;
  if (s.Word(fs.TimePMString)) return 2;
  return 0;
}

bool ScanTime(Scanner& s, const TFormatSettings& fs, TDateTime& value) {
  int mark = ScanAmPm(s, fs);
  int hour, minute = 0, second = 0, msec = 0, d;
  if (!s.Number(hour, d, 2)) return false;
  bool hasMinutes = false;
  if (s.Char(fs.TimeSeparator)) {
    if (!s.Number(minute, d, 2)) return false;
    hasMinutes = true;
    if (s.Char(fs.TimeSeparator)) {
      if (!s.Number(second, d, 2)) return false;
      if (s.Char(fs.DecimalSeparator)) {
        if (!s.Number(msec, d, 3)) return false;
        for (; d < 3; ++d) msec *= 10;
      }
    }
  }
  if (mark == 0) mark = ScanAmPm(s, fs);
  if (!hasMinutes && mark == 0) return false;
  if (mark != 0) {
    if (hour < 1 || hour > 12) return false;
    hour %= 12;
    if (mark == 2) hour += 12;
  }
  return TryEncodeTime(hour, minute, second, msec, value);
}

[[noreturn]] void Invalid(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

}  // namespace

bool TryStrToDate(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  Scanner s(text);
  TDateTime d;
  if (!ScanDate(s, settings, d) || !s.AtEnd()) return false;
  value = d;
  return true;
}

bool TryStrToTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  Scanner s(text);
  TDateTime t;
  if (!ScanTime(s, settings, t) || !s.AtEnd()) return false;
  value = t;
  return true;
}

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  Scanner s(text);
  TDateTime d = 0, t = 0;
  if (ScanDate(s, settings, d)) {
    if (!s.AtEnd() && (!ScanTime(s, settings, t) || !s.AtEnd())) return false;
    // Before 1899-12-30 the fraction still counts forward from midnight.
    value = d < 0 ? d - t : d + t;
    return true;
  }
  return TryStrToTime(text, value, settings);
}

bool TryStrToDate(std::string_view text, TDateTime& value) {
  return TryStrToDate(text, value, FormatSettings());
}
bool TryStrToTime(std::string_view text, TDateTime& value) {
  return TryStrToTime(text, value, FormatSettings());
}
bool TryStrToDateTime(std::string_view text, TDateTime& value) {
  return TryStrToDateTime(text, value, FormatSettings());
}

TDateTime StrToDate(std::string_view text) {
  TDateTime v;
  if (!TryStrToDate(text, v)) Invalid(text, "date");
  return v;
}

TDateTime StrToTime(std::string_view text) {
  TDateTime v;
  if (!TryStrToTime(text, v)) Invalid(text, "time");
  return v;
}

TDateTime StrToDateTime(std::string_view text) {
  TDateTime v;
  if (!TryStrToDateTime(text, v)) Invalid(text, "date and time");
  return v;
}
