// Value conversions of TField.
#include "toolkit/data/Field.h"

#include <cstdint>

#include "toolkit/data/DataSet.h"
#include "toolkit/rtl/Math.h"

namespace {

const TFieldValue kNull;

// Stored texts use "." and ":" whatever the process-wide settings say.
const TFormatSettings& SqlFormats() {
  static const TFormatSettings settings = [] {
    TFormatSettings s = FormatSettings();
    s.DecimalSeparator = '.';
    s.TimeSeparator = ':';
    s.DateSeparator = '-';
    return s;
  }();
  return settings;
}

// Reads `count` digits at `at`; false when they are not all digits.
bool Digits(const std::string& s, size_t at, size_t count, int& value) {
  if (at + count > s.size()) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

}  // namespace

bool TryParseSqlDateTime(const std::string& text, TDateTime& value) {
  const std::string s = Trim(text);
  int y, mo, d, h = 0, mi = 0, sec = 0, ms = 0;
  if (!Digits(s, 0, 4, y) || s.size() < 10 || s[4] != '-' || !Digits(s, 5, 2, mo) ||
      s[7] != '-' || !Digits(s, 8, 2, d))
    return false;
  size_t at = 10;
  if (at < s.size()) {
    if ((s[at] != ' ' && s[at] != 'T') || !Digits(s, at + 1, 2, h) || at + 3 >= s.size() ||
        s[at + 3] != ':' || !Digits(s, at + 4, 2, mi))
      return false;
    at += 6;
    if (at < s.size()) {
      if (s[at] != ':' || !Digits(s, at + 1, 2, sec)) return false;
      at += 3;
      if (at < s.size()) {
        if (s[at] != '.') return false;
        size_t n = s.size() - at - 1;
        if (n == 0 || n > 9 || !Digits(s, at + 1, n, ms)) return false;
        while (n > 3) { ms /= 10; --n; }
        while (n < 3) { ms *= 10; ++n; }
      }
    }
  }
  TDateTime date, time;
  if (!TryEncodeDate(y, mo, d, date) || !TryEncodeTime(h, mi, sec, ms, time)) return false;
  value = date >= 0 ? date + time : date - time;
  return true;
}

TField::TField(TDataSet* dataSet, std::string fieldName, TFieldType dataType, int index,
               TFieldKind fieldKind)
    : dataSet_(dataSet),
      fieldName_(std::move(fieldName)),
      dataType_(dataType),
      index_(index),
      fieldKind_(fieldKind) {}

const TFieldValue& TField::Value() const {
  const TFieldValue* v = dataSet_ ? dataSet_->CurrentValue(index_) : nullptr;
  return v ? *v : kNull;
}

bool TField::IsNull() const { return std::holds_alternative<std::monostate>(Value()); }

TDateTime TField::AsDateTime() const {
  const TFieldValue& v = Value();
  if (const auto* i = std::get_if<long long>(&v)) return static_cast<TDateTime>(*i);
  if (const auto* f = std::get_if<double>(&v)) return *f;
  if (const auto* s = std::get_if<std::string>(&v)) {
    TDateTime t;
    if (TryParseSqlDateTime(*s, t)) return t;
    throw EConvertError("'" + *s + "' is not a valid date and time");
  }
  return 0;
}

double TField::AsFloat() const {
  const TFieldValue& v = Value();
  if (const auto* i = std::get_if<long long>(&v)) return static_cast<double>(*i);
  if (const auto* f = std::get_if<double>(&v)) return *f;
  if (std::holds_alternative<std::string>(v)) {
    if (dataType_ == ftDateTime) return AsDateTime();
    return static_cast<double>(StrToFloat(std::get<std::string>(v), SqlFormats()));
  }
  return 0;
}

long long TField::AsLargeInt() const {
  const TFieldValue& v = Value();
  if (const auto* i = std::get_if<long long>(&v)) return *i;
  if (const auto* f = std::get_if<double>(&v)) return Round(*f);
  if (const auto* s = std::get_if<std::string>(&v)) return StrToInt64(*s);
  return 0;
}

int TField::AsInteger() const {
  const long long v = AsLargeInt();
  if (v < INT32_MIN || v > INT32_MAX)
    throw ERangeError("Value " + IntToStr(v) + " of field '" + fieldName_ + "' is out of range");
  return static_cast<int>(v);
}

std::string TField::AsString() const {
  const TFieldValue& v = Value();
  if (std::holds_alternative<std::monostate>(v)) return {};
  if (dataType_ == ftDateTime)
    return FormatDateTime("yyyy-mm-dd hh:mm:ss", AsDateTime(), SqlFormats());
  if (const auto* i = std::get_if<long long>(&v)) return IntToStr(*i);
  if (const auto* f = std::get_if<double>(&v)) return FloatToStr(*f, SqlFormats());
  return std::get<std::string>(v);
}

std::string TField::DisplayText() const {
  const TFieldValue& v = Value();
  if (dataType_ == ftDateTime) {
    if (const auto* s = std::get_if<std::string>(&v)) {
      TDateTime t;
      return TryParseSqlDateTime(*s, t) ? FormatDateTime("yyyy-mm-dd hh:mm:ss", t, SqlFormats())
                                        : *s;
    }
  }
  return AsString();
}
