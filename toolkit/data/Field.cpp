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
bool Digits(std::string_view s, size_t at, size_t count, int& value) {
  if (at + count > s.size()) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

bool TryParseSqlDateTime(std::string_view text, TDateTime& value) {
  std::string_view s = text;
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
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

TFieldCell TFieldCell::Of(const TFieldValue& value) {
  TFieldCell cell;
  if (const auto* i = std::get_if<long long>(&value)) {
    cell.kind = Integer;
    cell.integer = *i;
  } else if (const auto* f = std::get_if<double>(&value)) {
    cell.kind = Real;
    cell.real = *f;
  } else if (const auto* t = std::get_if<std::string>(&value)) {
    cell.kind = Text;
    cell.text = *t;
  }
  return cell;
}

TFieldValue TFieldCell::ToValue() const {
  switch (kind) {
    case Integer:
      return integer;
    case Real:
      return real;
    case Text:
      return std::string(text);
    case Null:
      break;
  }
  return std::monostate();
}

const TFieldValue& TField::Value() const {
  const TFieldValue* v = dataSet_ ? dataSet_->CurrentValue(index_) : nullptr;
  return v ? *v : kNull;
}

TFieldCell TField::Cell() const { return dataSet_ ? dataSet_->CurrentCell(index_) : TFieldCell(); }

bool TField::IsNull() const { return Cell().kind == TFieldCell::Null; }

namespace {

TDateTime CellAsDateTime(const TFieldCell& c) {
  switch (c.kind) {
    case TFieldCell::Integer:
      return static_cast<TDateTime>(c.integer);
    case TFieldCell::Real:
      return c.real;
    case TFieldCell::Text: {
      TDateTime t;
      if (TryParseSqlDateTime(c.text, t)) return t;
      throw EConvertError("'" + std::string(c.text) + "' is not a valid date and time");
    }
    case TFieldCell::Null:
      break;
  }
  return 0;
}

}  // namespace

TDateTime TField::AsDateTime() const { return CellAsDateTime(Cell()); }

double TField::AsFloat() const {
  const TFieldCell c = Cell();
  switch (c.kind) {
    case TFieldCell::Integer:
      return static_cast<double>(c.integer);
    case TFieldCell::Real:
      return c.real;
    case TFieldCell::Text:
      if (dataType_ == ftDateTime) return CellAsDateTime(c);
      return static_cast<double>(StrToFloat(c.text, SqlFormats()));
    case TFieldCell::Null:
      break;
  }
  return 0;
}

long long TField::AsLargeInt() const {
  const TFieldCell c = Cell();
  switch (c.kind) {
    case TFieldCell::Integer:
      return c.integer;
    case TFieldCell::Real:
      return Round(c.real);
    case TFieldCell::Text:
      return StrToInt64(c.text);
    case TFieldCell::Null:
      break;
  }
  return 0;
}

int TField::AsInteger() const {
  const long long v = AsLargeInt();
  if (v < INT32_MIN || v > INT32_MAX)
    throw ERangeError("Value " + IntToStr(v) + " of field '" + fieldName_ + "' is out of range");
  return static_cast<int>(v);
}

std::string TField::AsString() const {
  const TFieldCell c = Cell();
  switch (c.kind) {
    case TFieldCell::Null:
      return {};
    case TFieldCell::Integer:
      if (dataType_ == ftDateTime) break;
      return IntToStr(c.integer);
    case TFieldCell::Real:
      if (dataType_ == ftDateTime) break;
      return FloatToStr(c.real, SqlFormats());
    case TFieldCell::Text:
      if (dataType_ == ftDateTime) break;
      return std::string(c.text);
  }
  return FormatDateTime("yyyy-mm-dd hh:mm:ss", CellAsDateTime(c), SqlFormats());
}

std::string TField::DisplayText() const {
  if (dataType_ == ftDateTime) {
    const TFieldCell c = Cell();
    if (c.kind == TFieldCell::Text) {
      TDateTime t;
      return TryParseSqlDateTime(c.text, t) ? FormatDateTime("yyyy-mm-dd hh:mm:ss", t, SqlFormats())
                                            : std::string(c.text);
    }
  }
  return AsString();
}
