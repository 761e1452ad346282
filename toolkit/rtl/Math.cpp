// Numeric helpers with the library's semantics. Round takes exact halves to the even integer
// and is computed on the long double value itself (no intermediate double), so Round(2.5) = 2
// and Round(0.5 + 2^-60) = 1. Operations the library raised on (NaN, out-of-range, logarithm
// of a non-positive value) raise here too.
#include "toolkit/rtl/Math.h"

#include <cmath>

#include "toolkit/rtl/SysUtils.h"

namespace {

[[noreturn]] void InvalidOp() { throw EInvalidOp("Invalid floating point operation"); }

// 2^63 as long double: values at or beyond it do not fit a 64-bit integer.
constexpr long double kTwo63 = 9223372036854775808.0L;

void CheckRange(long double value) {
  if (std::isnan(value) || value >= kTwo63 || value < -kTwo63) InvalidOp();
}

}  // namespace

long long Trunc(long double value) {
  CheckRange(value);
  return static_cast<long long>(value);
}

long long Round(long double value) {
  if (std::isnan(value)) InvalidOp();
  long double whole = std::truncl(value);
  long double rest = value - whole;  // exact for long double
  if (rest > 0.5L || (rest == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1;
  else if (rest < -0.5L || (rest == -0.5L && std::fmod(whole, 2.0L) != 0)) whole -= 1;
  CheckRange(whole);
  return static_cast<long long>(whole);
}

long double Frac(long double value) { return value - std::truncl(value); }

long double Int(long double value) { return std::truncl(value); }

int Sign(long double value) { return value > 0 ? 1 : value < 0 ? -1 : 0; }

namespace {

long double PowerOfTen(int n) {
  long double r = 1;
  for (int i = 0; i < n; ++i) r *= 10;
  return r;
}

}  // namespace

long double RoundTo(long double value, int digits) {
  if (digits < -20 || digits > 20) throw EInvalidOp("Invalid floating point operation");
  if (digits < 0) {
    long double f = PowerOfTen(-digits);
    return static_cast<long double>(Round(value * f)) / f;
  }
  long double f = PowerOfTen(digits);
  return static_cast<long double>(Round(value / f)) * f;
}

long double SimpleRoundTo(long double value, int digits) {
  if (digits < -20 || digits > 20) throw EInvalidOp("Invalid floating point operation");
  if (digits < 0) {
    long double f = PowerOfTen(-digits);
    long double scaled = value * f;
    return (value < 0 ? std::truncl(scaled - 0.5L) : std::truncl(scaled + 0.5L)) / f;
  }
  long double f = PowerOfTen(digits);
  long double scaled = value / f;
  return (value < 0 ? std::truncl(scaled - 0.5L) : std::truncl(scaled + 0.5L)) * f;
}

bool SameValue(long double a, long double b, long double epsilon) {
  if (epsilon == 0) {
    const long double resolution = 1e-16L;  // the library's extended resolution with its fuzz
    long double m = std::fmin(std::fabs(a), std::fabs(b)) * resolution;
    epsilon = m > resolution ? m : resolution;
  }
  if (a > b) return a - b <= epsilon;
  return b - a <= epsilon;
}

int CompareValue(long double a, long double b, long double epsilon) {
  if (SameValue(a, b, epsilon)) return 0;
  return a < b ? -1 : 1;
}

bool IsNan(long double value) { return std::isnan(value); }
bool IsInfinite(long double value) { return std::isinf(value); }

long double Power(long double base, long double exponent) {
  if (exponent == 0) return 1;
  if (base == 0) {
    if (exponent > 0) return 0;
    throw EZeroDivide("Floating point division by zero");
  }
  if (std::truncl(exponent) == exponent) return std::pow(base, exponent);  // negative bases too
  if (base < 0) InvalidOp();
  return std::pow(base, exponent);
}

long double Log10(long double value) {
  if (value < 0 || std::isnan(value)) InvalidOp();
  if (value == 0) throw EZeroDivide("Floating point division by zero");
  return std::log10(value);
}

long double LogN(long double base, long double value) {
  if (base <= 0 || base == 1 || value < 0 || std::isnan(value) || std::isnan(base)) InvalidOp();
  if (value == 0) throw EZeroDivide("Floating point division by zero");
  return std::log(value) / std::log(base);
}
