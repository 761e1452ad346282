// FormatDateTime and the date/time <-> text conversions built on it. Specifiers are read
// case-insensitively; "m"/"mm" directly after an hour specifier are minutes; "/" and ":" are
// the settings' separators; quoted text is literal. The value is split once into day and
// millisecond (DateTimeStamp) so every field comes from the same rounded instant.
#include <cctype>
#include <string>

#include "toolkit/rtl/DateTimeStamp.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

char Up(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view text, size_t i, std::string_view word) {
  if (text.size() - i < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (Up(text[i + k]) != Up(word[k])) return false;
  return true;
}

std::string Pad(int value, int width) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

struct Fields {
  int year, month, day, hour, minute, second, msec, dayOfWeek;  // dayOfWeek 1 = Sunday
  bool hasTime;
};

// True when an hour specifier ending at `i` is on the 12-hour clock: the first 'a' after it
// (outside quotes, before any further hour) starts an am/pm marker.
bool HasAmPm(std::string_view f, size_t i) {
  for (; i < f.size(); ++i) {
    char c = f[i];
    if (c == '"' || c == '\'') {
      size_t close = f.find(c, i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (Up(c) == 'H') {
      return false;
    } else if (Up(c) == 'A') {
      return StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") ||
             StartsWithNoCase(f, i, "ampm");
    }
  }
  return false;
}

class DateFormatter {
 public:
  DateFormatter(const Fields& f, const TFormatSettings& s) : f_(f), s_(s) {}

  void Append(std::string_view format, int depth) {
    if (format.empty()) format = "C";
    char lastToken = ' ';
    size_t i = 0;
    while (i < format.size()) {
      char c = format[i];
      char token = Up(c);
      if (token >= 'A' && token <= 'Z') {
        // The whole run of one letter is one specifier ("hhh" is "hh").
        size_t run = 1;
        while (i + run < format.size() && Up(format[i + run]) == token) ++run;
        size_t count = run;
        switch (token) {
          case 'Y':
            out_ += count <= 2 ? Pad(f_.year % 100, 2) : Pad(f_.year, 4);
            break;
          case 'M':
            if (lastToken == 'H') {
              if (count > 2) count = 2;
              out_ += Pad(f_.minute, static_cast<int>(count));
            } else if (count <= 2) {
              out_ += Pad(f_.month, static_cast<int>(count));
            } else if (count == 3) {
              out_ += s_.ShortMonthNames[f_.month - 1];
            } else {
              out_ += s_.LongMonthNames[f_.month - 1];
            }
            break;
          case 'D':
            if (count > 6) count = 6;
            switch (count) {
              case 1: case 2: out_ += Pad(f_.day, static_cast<int>(count)); break;
              case 3: out_ += s_.ShortDayNames[f_.dayOfWeek - 1]; break;
              case 4: out_ += s_.LongDayNames[f_.dayOfWeek - 1]; break;
              case 5: Nested(s_.ShortDateFormat, depth); break;
              default: Nested(s_.LongDateFormat, depth); break;
            }
            break;
          case 'H': {
            if (count > 2) count = 2;
            int h = f_.hour;
            if (HasAmPm(format, i + run)) {
              h %= 12;
              if (h == 0) h = 12;
            }
            out_ += Pad(h, static_cast<int>(count));
            break;
          }
          case 'N':
            if (count > 2) count = 2;
            out_ += Pad(f_.minute, static_cast<int>(count));
            break;
          case 'S':
            if (count > 2) count = 2;
            out_ += Pad(f_.second, static_cast<int>(count));
            break;
          case 'Z':
            if (count >= 3) out_ += Pad(f_.msec, 3);
            else out_ += std::to_string(f_.msec);
            break;
          case 'T':
            if (count > 2) count = 2;
            Nested(count == 1 ? s_.ShortTimeFormat : s_.LongTimeFormat, depth);
            break;
          case 'C':
            Nested(s_.ShortDateFormat, depth);
            if (f_.hasTime) {
              out_ += ' ';
              Nested(s_.LongTimeFormat, depth);
            }
            break;
          case 'A':
            run = AmPm(format, i);
            if (run == 0) {
              out_ += c;
              run = 1;
            }
            break;
          default:
            out_.append(format.substr(i, run));
            break;
        }
        i += run;
        if (token != 'A') lastToken = token;
        continue;
      }
      if (c == '"' || c == '\'') {
        size_t close = format.find(c, i + 1);
        if (close == std::string_view::npos) close = format.size();
        out_.append(format.substr(i + 1, close - i - 1));
        i = close + 1;
        continue;
      }
      if (c == '/') out_ += s_.DateSeparator;
      else if (c == ':') out_ += s_.TimeSeparator;
      else out_ += c;
      ++i;
    }
  }

  std::string Take() { return std::move(out_); }

 private:
  void Nested(const std::string& format, int depth) {
    if (depth < 2) Append(format, depth + 1);
  }

  // Writes an am/pm marker at `i`; returns its length, 0 when there is none.
  size_t AmPm(std::string_view format, size_t i) {
    bool pm = f_.hour >= 12;
    if (StartsWithNoCase(format, i, "am/pm")) {
      std::string_view marker = format.substr(pm ? i + 3 : i, 2);  // keeps the format's case
      out_.append(marker);
      return 5;
    }
    if (StartsWithNoCase(format, i, "a/p")) {
      out_ += format[pm ? i + 2 : i];
      return 3;
    }
    if (StartsWithNoCase(format, i, "ampm")) {
      out_ += pm ? s_.TimePMString : s_.TimeAMString;
      return 4;
    }
    return 0;
  }

  const Fields& f_;
  const TFormatSettings& s_;
  std::string out_;
};

Fields Decode(TDateTime value) {
  rtl_detail::TimeStamp ts = rtl_detail::DateTimeToTimeStamp(value);
  Fields f{};
  rtl_detail::DayNumberToDate(ts.date, f.year, f.month, f.day);
  if (f.year == 0) throw EConvertError("Invalid argument to date encode");
  int t = ts.time;
  f.msec = t % 1000;
  t /= 1000;
  f.second = t % 60;
  t /= 60;
  f.minute = t % 60;
  f.hour = t / 60;
  f.dayOfWeek = ts.date % 7 + 1;
  // "c" adds the time when there is one to the second; milliseconds alone do not count.
  f.hasTime = f.hour != 0 || f.minute != 0 || f.second != 0;
  return f;
}

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
  Fields f = Decode(value);
  DateFormatter formatter(f, settings);
  formatter.Append(format, 0);
  return formatter.Take();
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
  return FormatDateTime(format, value, FormatSettings());
}

void DateTimeToString(std::string& result, std::string_view format, TDateTime value) {
  result = FormatDateTime(format, value);
}

void DateTimeToString(std::string& result, std::string_view format, TDateTime value,
                      const TFormatSettings& settings) {
  result = FormatDateTime(format, value, settings);
}

std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }
std::string DateToStr(TDateTime value) { return FormatDateTime("ddddd", value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime("tt", value); }
