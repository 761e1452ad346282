// Numeric helpers with the run-time library's semantics: Round takes halves to the even
// integer (never std::round), Trunc cuts toward zero, and both raise on values outside 64 bits.
#pragma once

#include <cstdint>

long long Round(long double value);  // halves to even; EInvalidOp on NaN/inf/out of range
long long Trunc(long double value);  // toward zero; EInvalidOp on NaN/inf/out of range
long double Frac(long double value);
long double Int(long double value);
int Sign(long double value);  // -1, 0, 1
// Rounds to 10^digits ("RoundTo(1.235, -2)" = 1.24, halves to even like the library does).
long double RoundTo(long double value, int digits);
long double SimpleRoundTo(long double value, int digits = -2);  // halves away from zero
bool SameValue(long double a, long double b, long double epsilon = 0);
// -1, 0 or 1 comparing a with b, equal within `epsilon` (0: SameValue's default tolerance).
int CompareValue(long double a, long double b, long double epsilon = 0);
bool IsNan(long double value);
bool IsInfinite(long double value);
long double Power(long double base, long double exponent);
long double Log10(long double value);
long double LogN(long double base, long double value);
