// Number <-> text conversions: IntToStr/IntToHex, StrToInt with "$"/"0x" hexadecimal, blanks and
// range limits, StrToFloat with the settings' decimal separator, and FloatToStr's 15 digits.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "RtlSettings.h"
#include "toolkit/rtl/SysUtils.h"

TEST(IntToStr, Table) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(LLONG_MIN), "-9223372036854775808");
  struct Case {
    const char* name;
    long long value;
    int digits;
    const char* expected;
  };
  static const Case hex[] = {
      {"padded", 0x1F, 4, "001F"},        {"wider than digits", 0x12345, 2, "12345"},
      {"zero", 0, 1, "0"},                {"negative 32-bit", -1, 8, "FFFFFFFF"},
      {"64-bit", 0x123456789ALL, 2, "123456789A"},
  };
  for (const Case& c : hex) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IntToHex(c.value, c.digits), c.expected);
  }
}

TEST(StrToInt, Table) {
  struct Case {
    const char* name;
    const char* text;
    bool valid;
    int expected;
  };
  static const Case cases[] = {
      {"decimal", "123", true, 123},
      {"negative", "-45", true, -45},
      {"plus sign", "+7", true, 7},
      {"blanks around", "  12 ", true, 12},
      {"dollar hex", "$1F", true, 31},
      {"0x hex", "0x1F", true, 31},
      {"lower hex digits", "$ff", true, 255},
      {"hex wraps to negative", "$FFFFFFFF", true, -1},
      {"max", "2147483647", true, INT_MAX},
      {"min", "-2147483648", true, INT_MIN},
      {"overflow", "2147483648", false, 0},
      {"hex overflow", "$100000000", false, 0},
      {"empty", "", false, 0},
      {"blank", "   ", false, 0},
      {"float", "1.5", false, 0},
      {"inner blank", "1 2", false, 0},
      {"sign only", "-", false, 0},
      {"dollar only", "$", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int v = 99;
    ASSERT_EQ(TryStrToInt(c.text, v), c.valid);
    if (c.valid) {
      EXPECT_EQ(v, c.expected);
      EXPECT_EQ(StrToInt(c.text), c.expected);
    } else {
      EXPECT_EQ(v, 99);
      EXPECT_EQ(StrToIntDef(c.text, -7), -7);
      try {
        StrToInt(c.text);
        ADD_FAILURE() << "no exception";
      } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'" + std::string(c.text) + "' is not a valid integer value");
      }
    }
  }
}

TEST(StrToInt64, Limits) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), LLONG_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), LLONG_MIN);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("$FFFFFFFF"), 4294967295LL);
  long long v;
  EXPECT_FALSE(TryStrToInt64("9223372036854775808", v));
  EXPECT_THROW(StrToInt64("x"), EConvertError);
}

TEST(StrToFloat, Table) {
  struct Case {
    const char* name;
    const char* text;
    bool valid;
    long double expected;
  };
  static const Case cases[] = {
      {"integer", "12", true, 12},
      {"decimal", "25.5", true, 25.5},
      {"negative", "-0.25", true, -0.25},
      {"no integer part", ".5", true, 0.5},
      {"no fraction digits", "5.", true, 5},
      {"exponent", "1.5E3", true, 1500},
      {"negative exponent", "25e-1", true, 2.5},
      {"blanks", " 3.5 ", true, 3.5},
      {"comma is not the separator", "3,5", false, 0},
      {"empty", "", false, 0},
      {"letters", "abc", false, 0},
      {"exponent without digits", "1e", false, 0},
      {"two points", "1.2.3", false, 0},
      {"overflow", "1e99999", false, 0},
  };
  const TFormatSettings s = ProgramLikeSettings();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    long double v = 99;
    ASSERT_EQ(TryStrToFloat(c.text, v, s), c.valid);
    if (c.valid) EXPECT_EQ(v, c.expected);
    else EXPECT_EQ(v, 99);
  }
  // The value is the nearest to the decimal text.
  long double tenth;
  ASSERT_TRUE(TryStrToFloat("0.1", tenth, s));
  EXPECT_EQ(static_cast<double>(tenth), 0.1);
}

TEST(StrToFloat, SettingsSeparatorAndMessage) {
  TFormatSettings s = ProgramLikeSettings();
  s.DecimalSeparator = ',';
  EXPECT_EQ(StrToFloat("3,5", s), 3.5L);
  EXPECT_THROW(StrToFloat("3.5", s), EConvertError);

  ProcessSettingsGuard guard;
  FormatSettings() = ProgramLikeSettings();
  EXPECT_EQ(StrToFloat("3.5"), 3.5L);
  EXPECT_EQ(StrToFloatDef("zz", 1.5L), 1.5L);
  double d = 0;
  EXPECT_TRUE(TryStrToFloat("2.25", d));
  EXPECT_EQ(d, 2.25);
  EXPECT_FALSE(TryStrToFloat("1e400", d));  // fits long double but not double
  try {
    StrToFloat("1,5");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1,5' is not a valid floating point value");
  }
}

TEST(FloatToStr, Table) {
  struct Case {
    const char* name;
    long double value;
    const char* expected;
  };
  static const Case cases[] = {
      {"zero", 0, "0"},
      {"negative zero", -0.0L, "0"},
      {"tenth", 0.1, "0.1"},
      {"integer", 25, "25"},
      {"negative", -3.5, "-3.5"},
      {"third", 1.0 / 3, "0.333333333333333"},
      {"two thirds rounds", 2.0 / 3, "0.666666666666667"},
      {"binary noise hidden", 0.1 + 0.2, "0.3"},
      {"small still fixed", 0.0001, "0.0001"},
      {"smaller is scientific", 0.00001, "1E-5"},
      {"fifteen digits fixed", 123456789012345.0, "123456789012345"},
      {"sixteen digits scientific", 1e15, "1E15"},
      {"big", 1e20, "1E20"},
      {"big mantissa", 1.5e300, "1.5E300"},
      {"negative small", -2.5e-10, "-2.5E-10"},
  };
  const TFormatSettings s = ProgramLikeSettings();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FloatToStr(c.value, s), c.expected);
  }
  TFormatSettings comma = s;
  comma.DecimalSeparator = ',';
  EXPECT_EQ(FloatToStr(2.5, comma), "2,5");
  EXPECT_EQ(FloatToStr(std::numeric_limits<long double>::quiet_NaN(), s), "NAN");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<long double>::infinity(), s), "-INF");
}

// Over a wide spread of magnitudes, the digits written read back as the value: catches a digit
// or exponent placed wrongly in any of the layouts.
TEST(FloatToStr, ReadsBackAcrossMagnitudes) {
  const TFormatSettings s = ProgramLikeSettings();
  unsigned long long state = 0x9E3779B97F4A7C15ULL;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < 3000; ++i) {
    const double mantissa = static_cast<double>(next() % 1000000007ULL) / 1000000007.0 + 0.05;
    const int exponent = static_cast<int>(next() % 601) - 300;
    const double value = ((next() & 1) ? -1 : 1) * mantissa * std::pow(10.0, exponent);
    SCOPED_TRACE(testing::Message() << "value " << value);
    long double back = 0;
    const std::string general = FloatToStr(value, s);
    ASSERT_TRUE(TryStrToFloat(general, back, s)) << general;
    EXPECT_LE(std::fabs(static_cast<double>(back) - value), std::fabs(value) * 1e-14) << general;

    const std::string scientific = FormatFloat("0.0000E+000", value, s);
    ASSERT_TRUE(TryStrToFloat(scientific, back, s)) << scientific;
    EXPECT_LE(std::fabs(static_cast<double>(back) - value), std::fabs(value) * 1e-4) << scientific;

    if (std::fabs(value) < 1e15) {
      const std::string fixed = StringReplace(FormatFloat("#,##0.###", value, s), ",", "",
                                              static_cast<int>(TReplaceFlag::rfReplaceAll));
      ASSERT_TRUE(TryStrToFloat(fixed, back, s)) << fixed;
      EXPECT_LE(std::fabs(static_cast<double>(back) - value), 0.0005 + std::fabs(value) * 1e-15) << fixed;
    }
  }
}
