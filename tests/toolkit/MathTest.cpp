// Round (halves to even), Trunc, Frac, Int, RoundTo/SimpleRoundTo and the raising guards.
#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"

TEST(Round, Table) {
  struct Case {
    const char* name;
    long double value;
    long long expected;
  };
  static const Case cases[] = {
      {"2.5 to even", 2.5L, 2},      {"3.5 to even", 3.5L, 4},        {"-2.5 to even", -2.5L, -2},
      {"-3.5 to even", -3.5L, -4},   {"0.5 to even", 0.5L, 0},        {"1.5 to even", 1.5L, 2},
      {"above half", 2.5000001L, 3}, {"below half", 2.4999999L, 2},   {"negative above", -2.6L, -3},
      {"tiny above half in extended", 0.5L + 0x1p-60L, 1},
      {"exact", 7.0L, 7},            {"zero", 0.0L, 0},
      {"large", 9007199254740993.0L, 9007199254740993LL},
      {"int64 edge", -9223372036854775808.0L, LLONG_MIN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Round(c.value), c.expected);
  }
}

TEST(Trunc, TableAndFractions) {
  struct Case {
    const char* name;
    long double value;
    long long trunc;
    long double frac;
  };
  static const Case cases[] = {
      {"positive", 2.75L, 2, 0.75L},
      {"negative toward zero", -2.75L, -2, -0.75L},
      {"below one", 0.25L, 0, 0.25L},
      {"whole", 5.0L, 5, 0.0L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Trunc(c.value), c.trunc);
    EXPECT_EQ(Frac(c.value), c.frac);
    EXPECT_EQ(Int(c.value), static_cast<long double>(c.trunc));
  }
  EXPECT_EQ(Sign(-3.0L), -1);
  EXPECT_EQ(Sign(0.0L), 0);
  EXPECT_EQ(Sign(2.0L), 1);
}

TEST(Round, OutOfRangeAndNanRaise) {
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  const long double inf = std::numeric_limits<long double>::infinity();
  EXPECT_THROW(Round(nan), EInvalidOp);
  EXPECT_THROW(Round(inf), EInvalidOp);
  EXPECT_THROW(Round(1e19L), EInvalidOp);
  EXPECT_THROW(Trunc(nan), EInvalidOp);
  EXPECT_THROW(Trunc(-1e19L), EInvalidOp);
  EXPECT_THROW(Trunc(9223372036854775808.0L), EInvalidOp);
  EXPECT_EQ(Trunc(9223372036854775807.0L), LLONG_MAX);
}

TEST(RoundTo, Table) {
  struct Case {
    const char* name;
    long double value;
    int digits;
    long double roundTo;
    long double simpleRoundTo;
  };
  static const Case cases[] = {
      {"two decimals", 1.235, -2, 1.24L, 1.24L},
      {"exact half to even", 0.125L, -2, 0.12L, 0.13L},
      {"negative half", -0.125L, -2, -0.12L, -0.13L},
      {"hundreds", 1250.0L, 2, 1200.0L, 1300.0L},
      {"units", 2.5L, 0, 2.0L, 3.0L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NEAR(static_cast<double>(RoundTo(c.value, c.digits)), static_cast<double>(c.roundTo), 1e-12);
    EXPECT_NEAR(static_cast<double>(SimpleRoundTo(c.value, c.digits)),
                static_cast<double>(c.simpleRoundTo), 1e-12);
  }
}

TEST(MathHelpers, PowersLogsAndComparisons) {
  EXPECT_EQ(Power(2, 10), 1024);
  EXPECT_EQ(Power(-2, 3), -8);
  EXPECT_EQ(Power(0, 0), 1);
  EXPECT_EQ(Power(0, 2), 0);
  EXPECT_THROW(Power(-8, 0.5L), EInvalidOp);
  EXPECT_NEAR(static_cast<double>(Log10(1000)), 3.0, 1e-15);
  EXPECT_THROW(Log10(-1), EInvalidOp);
  EXPECT_THROW(Log10(0), EZeroDivide);
  EXPECT_NEAR(static_cast<double>(LogN(2, 8)), 3.0, 1e-15);
  EXPECT_TRUE(SameValue(0.1L + 0.2L, 0.3L));
  EXPECT_FALSE(SameValue(1.0L, 1.0001L));
  EXPECT_TRUE(SameValue(1.0L, 1.0001L, 0.001L));
  EXPECT_TRUE(IsNan(std::numeric_limits<long double>::quiet_NaN()));
  EXPECT_TRUE(IsInfinite(-std::numeric_limits<long double>::infinity()));
  EXPECT_FALSE(IsInfinite(1e300L));
}
