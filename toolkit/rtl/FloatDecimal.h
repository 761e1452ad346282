// Decimal digits of a floating value, shared by every number formatter of the run-time library
// (FloatToStr, FormatFloat, Format's %e %f %g %n %m). The value is first expanded to at most 18
// significant digits from its exact binary value, then rounded half away from zero to what the
// caller asks for, so all formatters agree on the digits they print. Internal to rtl.
#pragma once

#include <string>

#include "toolkit/rtl/SysUtils.h"

namespace rtl_detail {

// value = 0.d1d2d3... x 10^exponent; digits has no trailing zeros and is empty for zero (then
// negative is false and exponent 0). NaN and infinities are flagged in kind.
struct FloatDecimal {
  enum class Kind { Finite, Nan, PosInf, NegInf };
  Kind kind = Kind::Finite;
  bool negative = false;
  int exponent = 0;
  std::string digits;
};

constexpr int kMaxDigits = 18;
constexpr int kNoDecimalsLimit = 9999;

// Keeps at most `precision` significant digits (1..18) and at most `decimals` digits after the
// decimal point (kNoDecimalsLimit for no such limit), rounding half away from zero.
FloatDecimal FloatToDecimal(long double value, int precision, int decimals);

enum class FloatFormat { General, Exponent, Fixed, Number, Currency };

// The library's FloatToText: General (shortest of fixed and scientific, `precision` significant
// digits, exponent with at least `digits` digits), Exponent ("d.dddE+ddd", `precision` digits),
// Fixed/Number (`digits` decimals, Number with thousands separators) and Currency (Number with the
// settings' currency string and positive/negative patterns). NaN and infinities give "NAN", "INF"
// and "-INF".
std::string FloatToText(long double value, FloatFormat format, int precision, int digits,
                        const TFormatSettings& settings);

}  // namespace rtl_detail
