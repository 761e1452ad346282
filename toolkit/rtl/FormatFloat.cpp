// FormatFloat: picture formats with up to three sections (positive; negative; zero). A section
// is scanned once for its digit placeholders, decimal point, thousands flag and exponent; the
// value's decimal digits (FloatDecimal, rounded half away from zero) are then laid into it.
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/rtl/FloatDecimal.h"
#include "toolkit/rtl/SysUtils.h"

using rtl_detail::FloatDecimal;

namespace {

bool IsQuote(char c) { return c == '\'' || c == '"'; }

// Index of the closing quote of the literal opened at `i`, or the end of the text.
size_t ClosingQuote(std::string_view s, size_t i) {
  size_t j = s.find(s[i], i + 1);
  return j == std::string_view::npos ? s.size() : j;
}

// Up to three sections split at ';' outside quotes; text after a third ';' is ignored.
std::vector<std::string_view> SplitSections(std::string_view format) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  size_t i = 0;
  while (i < format.size()) {
    if (IsQuote(format[i])) {
      i = ClosingQuote(format, i) + 1;
    } else if (format[i] == ';') {
      sections.push_back(format.substr(start, i - start));
      start = ++i;
      if (sections.size() == 3) return sections;
    } else {
      ++i;
    }
  }
  sections.push_back(format.substr(start < format.size() ? start : format.size()));
  return sections;
}

// Placeholders ('0', '#') are numbered from 0 in writing order; `decimalIndex` of them stand
// before the decimal point. Placeholders in [firstDigit, lastDigit) always print a digit (the
// '0's and any '#' between them and the point); the others print only significant digits.
struct SectionLayout {
  int digitCount = 0;
  int decimalIndex = -1;
  int firstDigit = 0;
  int lastDigit = 0;
  bool thousands = false;
  bool scientific = false;
};

bool IsExponentAt(std::string_view s, size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

SectionLayout ScanSection(std::string_view section) {
  SectionLayout l;
  int firstZero = -1, lastZero = -1;
  size_t i = 0;
  while (i < section.size()) {
    char c = section[i];
    if (IsQuote(c)) {
      i = ClosingQuote(section, i) + 1;
      continue;
    }
    if (c == '0' || c == '#') {
      if (c == '0') {
        if (firstZero < 0) firstZero = l.digitCount;
        lastZero = l.digitCount;
      }
      ++l.digitCount;
    } else if (c == '.') {
      if (l.decimalIndex < 0) l.decimalIndex = l.digitCount;
    } else if (c == ',') {
      l.thousands = true;
    } else if (!l.scientific && IsExponentAt(section, i)) {
      l.scientific = true;
      i += 2;
      while (i < section.size() && section[i] == '0') ++i;
      continue;
    }
    ++i;
  }
  if (l.decimalIndex < 0) l.decimalIndex = l.digitCount;
  l.firstDigit = firstZero >= 0 && firstZero < l.decimalIndex ? firstZero : l.decimalIndex;
  l.lastDigit = lastZero >= 0 && lastZero + 1 > l.decimalIndex ? lastZero + 1 : l.decimalIndex;
  return l;
}

// Section `index`, or the first one when that section is absent or empty.
std::string_view PickSection(const std::vector<std::string_view>& sections, int index) {
  if (index < static_cast<int>(sections.size()) && !sections[static_cast<size_t>(index)].empty())
    return sections[static_cast<size_t>(index)];
  return sections[0];
}

FloatDecimal Digits(long double value, const SectionLayout& l) {
  if (l.scientific)
    return rtl_detail::FloatToDecimal(value, l.digitCount > 0 ? l.digitCount : 1,
                                      rtl_detail::kNoDecimalsLimit);
  return rtl_detail::FloatToDecimal(value, rtl_detail::kMaxDigits, l.digitCount - l.decimalIndex);
}

// Writes the section with the value's digits, preceded by '-' when `sign`.
std::string ApplySection(std::string_view section, const SectionLayout& l, const FloatDecimal& d,
                         bool sign, const TFormatSettings& s) {
  const std::string& digits = d.digits;
  // Digits before the point as printed (scientific: the section's own count).
  const int intDigits = l.scientific ? (digits.empty() ? 0 : l.decimalIndex) : d.exponent;
  auto digitAt = [&](int idx) {
    return idx >= 0 && idx < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(idx)] : '0';
  };
  int fracShown = l.lastDigit - l.decimalIndex;
  if (!digits.empty()) {
    int significant = static_cast<int>(digits.size()) - intDigits;
    if (significant > fracShown) fracShown = significant;
  }
  if (fracShown > l.digitCount - l.decimalIndex) fracShown = l.digitCount - l.decimalIndex;

  std::string out = sign ? "-" : "";
  auto emitInteger = [&](int place) {  // place 1 = units
    out += digitAt(intDigits - place);
    if (l.thousands && place > 1 && (place - 1) % 3 == 0) out += s.ThousandSeparator;
  };
  auto emitLeading = [&](int abovePlace) {  // integer digits that have no placeholder
    for (int p = intDigits; p > abovePlace; --p) emitInteger(p);
  };

  int placeholder = 0;
  bool pointDone = false;
  size_t i = 0;
  while (i < section.size()) {
    char c = section[i];
    if (IsQuote(c)) {
      size_t close = ClosingQuote(section, i);
      out.append(section.substr(i + 1, close - (i + 1)));
      i = close + 1;
      continue;
    }
    if (c == '0' || c == '#') {
      if (placeholder < l.decimalIndex) {
        int place = l.decimalIndex - placeholder;
        if (placeholder == 0) emitLeading(l.decimalIndex);
        if (place <= intDigits || placeholder >= l.firstDigit) emitInteger(place);
      } else {
        int k = placeholder - l.decimalIndex;
        if (k < fracShown) out += digitAt(intDigits + k);
      }
      ++placeholder;
    } else if (c == '.') {
      if (!pointDone) {
        pointDone = true;
        if (l.decimalIndex == 0) emitLeading(0);
        if (fracShown > 0) out += s.DecimalSeparator;
      }
    } else if (c == ',') {
      // only the thousands flag
    } else if (l.scientific && IsExponentAt(section, i)) {
      char signMode = section[i + 1];
      i += 2;
      int minDigits = 0;
      while (i < section.size() && section[i] == '0') {
        ++minDigits;
        ++i;
      }
      if (minDigits > 4) minDigits = 4;
      int exponent = digits.empty() ? 0 : d.exponent - l.decimalIndex;
      out += c;
      if (exponent < 0) out += '-';
      else if (signMode == '+') out += '+';
      std::string num = std::to_string(exponent < 0 ? -exponent : exponent);
      if (static_cast<int>(num.size()) < minDigits)
        num.insert(0, static_cast<size_t>(minDigits) - num.size(), '0');
      out += num;
      continue;
    } else {
      out += c;
    }
    ++i;
  }
  return out;
}

}  // namespace

std::string FormatFloat(std::string_view format, long double value) {
  return FormatFloat(format, value, FormatSettings());
}

std::string FormatFloat(std::string_view format, long double value, const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (format.empty())
    return rtl_detail::FloatToText(value, rtl_detail::FloatFormat::General, 15, 0, settings);

  const std::vector<std::string_view> sections = SplitSections(format);
  int index = value > 0 ? 0 : value < 0 ? 1 : 2;
  std::string_view section = PickSection(sections, index);
  SectionLayout layout = ScanSection(section);
  FloatDecimal d = Digits(value, layout);

  // More integer digits than the expansion holds: general format instead.
  if (!layout.scientific && d.exponent > rtl_detail::kMaxDigits)
    return rtl_detail::FloatToText(value, rtl_detail::FloatFormat::General, 15, 0, settings);

  if (d.digits.empty() && index != 2) {
    // The value rounds to zero at this section's precision: it is written as a zero, unsigned.
    section = PickSection(sections, 2);
    layout = ScanSection(section);
    d = FloatDecimal{};
  }
  // A negative value written with the first section carries its own minus sign.
  bool sign = d.negative && section.data() == sections[0].data();
  return ApplySection(section, layout, d, sign, settings);
}
