// Decimal expansion and the basic float-to-text layouts (general, exponent, fixed, number,
// currency). The 18-digit expansion comes from MinGW's own printf, which converts the exact
// binary value of a long double; the second rounding to the requested digits is half away from
// zero on that decimal text.
#include "toolkit/rtl/FloatDecimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace rtl_detail {

namespace {

// Adds one unit in the last place of `digits`; returns true when it carried out ("99" -> "00").
bool IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

void StripTrailingZeros(std::string& digits) {
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
}

std::string Integer(std::string_view digits, int exponent) {
  // The integer part of 0.digits x 10^exponent, "0" when below one.
  if (exponent <= 0) return "0";
  std::string out;
  for (int i = 0; i < exponent; ++i)
    out += i < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(i)] : '0';
  return out;
}

std::string Fraction(std::string_view digits, int exponent, int count) {
  std::string out;
  for (int k = 0; k < count; ++k) {
    int idx = exponent + k;
    out += idx >= 0 && idx < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(idx)] : '0';
  }
  return out;
}

std::string GroupThousands(const std::string& integer, char separator) {
  std::string out;
  const int n = static_cast<int>(integer.size());
  for (int i = 0; i < n; ++i) {
    out += integer[static_cast<size_t>(i)];
    int remaining = n - 1 - i;
    if (remaining > 0 && remaining % 3 == 0) out += separator;
  }
  return out;
}

std::string ExponentText(int exponent, bool plusSign, int minDigits) {
  std::string out;
  if (exponent < 0) out += '-';
  else if (plusSign) out += '+';
  std::string num = std::to_string(exponent < 0 ? -exponent : exponent);
  if (static_cast<int>(num.size()) < minDigits) num.insert(0, static_cast<size_t>(minDigits) - num.size(), '0');
  return out + num;
}

const char* SpecialText(const FloatDecimal& d) {
  switch (d.kind) {
    case FloatDecimal::Kind::Nan: return "NAN";
    case FloatDecimal::Kind::PosInf: return "INF";
    case FloatDecimal::Kind::NegInf: return "-INF";
    default: return nullptr;
  }
}

std::string ScientificText(const FloatDecimal& d, int mantissaDigits, bool padMantissa,
                           bool plusSign, int expDigits, char decimalSeparator) {
  std::string out = d.negative ? "-" : "";
  std::string digits = d.digits.empty() ? "0" : d.digits;
  out += digits[0];
  std::string rest = digits.substr(1);
  if (padMantissa && static_cast<int>(rest.size()) < mantissaDigits - 1)
    rest.append(static_cast<size_t>(mantissaDigits - 1) - rest.size(), '0');
  if (!rest.empty()) {
    out += decimalSeparator;
    out += rest;
  }
  out += 'E';
  out += ExponentText(d.digits.empty() ? 0 : d.exponent - 1, plusSign, expDigits);
  return out;
}

std::string CurrencyPattern(const std::string& number, bool negative,
                            const TFormatSettings& s) {
  const std::string& c = s.CurrencyString;
  if (!negative) {
    switch (s.CurrencyFormat) {
      case 1: return number + c;
      case 2: return c + " " + number;
      case 3: return number + " " + c;
      default: return c + number;
    }
  }
  switch (s.NegCurrFormat) {
    case 1: return "-" + c + number;
    case 2: return c + "-" + number;
    case 3: return c + number + "-";
    case 4: return "(" + number + c + ")";
    case 5: return "-" + number + c;
    case 6: return number + "-" + c;
    case 7: return number + c + "-";
    case 8: return "-" + number + " " + c;
    case 9: return "-" + c + " " + number;
    case 10: return number + " " + c + "-";
    case 11: return c + " " + number + "-";
    case 12: return c + " -" + number;
    case 13: return number + "- " + c;
    case 14: return "(" + c + " " + number + ")";
    case 15: return "(" + number + " " + c + ")";
    default: return "(" + c + number + ")";
  }
}

}  // namespace

FloatDecimal FloatToDecimal(long double value, int precision, int decimals) {
  FloatDecimal d;
  if (std::isnan(value)) {
    d.kind = FloatDecimal::Kind::Nan;
    return d;
  }
  if (std::isinf(value)) {
    d.kind = value < 0 ? FloatDecimal::Kind::NegInf : FloatDecimal::Kind::PosInf;
    return d;
  }
  if (value == 0) return d;
  if (precision < 1) precision = 1;
  if (precision > kMaxDigits) precision = kMaxDigits;

  // "d.ddddddddddddddddde+x": 18 significant digits of the exact value.
  char buf[64];
  __mingw_snprintf(buf, sizeof buf, "%.17Le", std::fabs(value));
  std::string digits;
  const char* p = buf;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  int exponent = std::atoi(p + 1) + 1;

  int keep = precision;
  if (decimals < kNoDecimalsLimit && exponent + decimals < keep) keep = exponent + decimals;
  if (keep < 0) return d;  // rounds to zero
  if (keep < static_cast<int>(digits.size())) {
    bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
      if (digits.empty() || IncrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
        if (static_cast<int>(digits.size()) > keep && keep > 0) digits.pop_back();
        ++exponent;
      }
    }
  }
  StripTrailingZeros(digits);
  if (digits.empty()) return d;
  d.negative = value < 0;
  d.exponent = exponent;
  d.digits = std::move(digits);
  return d;
}

std::string FloatToText(long double value, FloatFormat format, int precision, int digits,
                        const TFormatSettings& settings) {
  const char ds = settings.DecimalSeparator;
  if (precision > kMaxDigits) precision = kMaxDigits;
  if (precision < 1) precision = 1;
  if (digits < 0) digits = 0;
  switch (format) {
    case FloatFormat::General: {
      FloatDecimal d = FloatToDecimal(value, precision, kNoDecimalsLimit);
      if (const char* special = SpecialText(d)) return special;
      if (d.digits.empty()) return "0";
      if (d.exponent > precision || d.exponent < -3)
        return ScientificText(d, precision, false, false, digits > 4 ? 4 : digits, ds);
      std::string out = d.negative ? "-" : "";
      out += Integer(d.digits, d.exponent);
      int frac = static_cast<int>(d.digits.size()) - d.exponent;
      if (frac > 0) {
        out += ds;
        out += Fraction(d.digits, d.exponent, frac);
      }
      return out;
    }
    case FloatFormat::Exponent: {
      FloatDecimal d = FloatToDecimal(value, precision, kNoDecimalsLimit);
      if (const char* special = SpecialText(d)) return special;
      return ScientificText(d, precision, true, true, digits > 4 ? 4 : digits, ds);
    }
    case FloatFormat::Fixed:
    case FloatFormat::Number:
    case FloatFormat::Currency: {
      if (digits > kMaxDigits) digits = kMaxDigits;
      FloatDecimal d = FloatToDecimal(value, precision, digits);
      if (const char* special = SpecialText(d)) return special;
      if (d.exponent > precision)  // too many integer digits for the precision
        return FloatToText(value, FloatFormat::Exponent, precision, 3, settings);
      std::string number = Integer(d.digits, d.exponent);
      if (format != FloatFormat::Fixed) number = GroupThousands(number, settings.ThousandSeparator);
      if (digits > 0) {
        number += ds;
        number += Fraction(d.digits, d.exponent, digits);
      }
      if (format == FloatFormat::Currency) return CurrencyPattern(number, d.negative, settings);
      return d.negative ? "-" + number : number;
    }
  }
  return {};
}

}  // namespace rtl_detail
