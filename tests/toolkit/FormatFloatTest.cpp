// FormatFloat picture formats: placeholders, sections, thousands, exponents, literals, and the
// decimal rounding (half away from zero on the value's 18-digit decimal expansion).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "RtlSettings.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

struct Case {
  const char* name;
  const char* format;
  long double value;
  const char* expected;
};

void RunTable(const Case* cases, size_t n, const TFormatSettings& s) {
  for (size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(FormatFloat(cases[i].format, cases[i].value, s), cases[i].expected);
  }
}

}  // namespace

TEST(FormatFloat, Table) {
  static const Case cases[] = {
      // Rounding of decimal digits: halves away from zero, decided on the decimal expansion.
      {"quarter rounds up", "0.0", 0.25, "0.3"},
      {"negative quarter rounds away", "0.0", -0.25, "-0.3"},
      {"whole half rounds up", "0", 2.5, "3"},
      {"half rounds up not to even", "0", 0.5, "1"},
      {"negative half", "0", -2.5, "-3"},
      {"double 0.35 is below the half", "0.0", 0.35, "0.3"},
      {"double 1.005 is below the half", "0.00", 1.005, "1.00"},
      {"extended 1.005 is the half", "0.00", 1.005L, "1.01"},
      {"double 12.345 is above the half", "0.00", 12.345, "12.35"},
      {"carry through nines", "0.00", 9.999, "10.00"},
      {"carry into new digit", "#,##0", 999.9996, "1,000"},
      // Fixed decimals and optional ones.
      {"zero with two decimals", "0.00", 0.0, "0.00"},
      {"plain two decimals", "0.00", 3.14159, "3.14"},
      {"optional decimals trimmed", "0.####", 2.0, "2"},
      {"optional decimals kept", "0.####", 1.23456, "1.2346"},
      {"optional decimals tiny", "0.####", 0.00004, "0"},
      {"optional decimals negative", "0.####", -1.5, "-1.5"},
      {"leading zeros", "000", 7.0, "007"},
      {"padded both sides", "00.00", 1.5, "01.50"},
      {"hash only zero is empty", "#", 0.0, ""},
      {"hash fraction without integer", "#.##", 0.5, ".5"},
      {"integer digits beyond placeholders", "0", 12345.0, "12345"},
      // Negative values that round to zero are written as zero.
      {"negative rounds to zero", "0.0", -0.04, "0.0"},
      {"negative rounds to zero two places", "0.00", -0.001, "0.00"},
      // Thousands.
      {"thousands small", "#,##0.###", 0.5, "0.5"},
      {"thousands zero", "#,##0.###", 0.0, "0"},
      {"thousands exact", "#,##0", 1000.0, "1,000"},
      {"thousands millions", "#,##0.###", 1234567.125, "1,234,567.125"},
      {"thousands negative", "#,##0.###", -1234.5678, "-1,234.568"},
      {"thousands large", "#,##0", 1234567890123.0, "1,234,567,890,123"},
      {"thousands below", "#,##0.###", 999.0, "999"},
      // Literal percent, no scaling.
      {"percent", "##0.## %", 12.345, "12.35 %"},
      {"percent hundred", "##0.## %", 100.0, "100 %"},
      {"percent zero", "##0.## %", 0.0, "0 %"},
      {"percent thirds", "##0.## %", 33.333333, "33.33 %"},
      {"percent rounds up on the fifth digit", "##0.## %", 66.666, "66.67 %"},
      {"percent no scaling", "0%", 0.5, "1%"},
      // Sections.
      {"sections positive", "0.0;(0.0);zero", 1.5, "1.5"},
      {"sections negative has no sign", "0.0;(0.0);zero", -1.5, "(1.5)"},
      {"sections zero", "0.0;(0.0);zero", 0.0, "zero"},
      {"sections rounds to zero", "0.0;(0.0);zero", -0.01, "zero"},
      {"empty negative section uses first with sign", "0.0;;Z", -2.0, "-2.0"},
      {"two sections zero uses first", "0.0;-0.0", 0.0, "0.0"},
      {"accounting negative", "#,##0.00;(#,##0.00)", -1234567.891, "(1,234,567.89)"},
      {"negative section rounds to zero", "0.0;(0.0)", -0.01, "0.0"},
      // Exponents.
      {"exponent plus", "0.00E+00", 12345.0, "1.23E+04"},
      {"exponent minus negative", "0.00E-00", 0.000123, "1.23E-04"},
      {"exponent minus positive has no sign", "0.00e-0", 12345.0, "1.23e4"},
      {"exponent optional digits", "0.###E+0", 1234.0, "1.234E+3"},
      {"exponent zero", "0.00E+00", 0.0, "0.00E+00"},
      {"exponent rounds up", "0.0E+0", 9.96, "1.0E+1"},
      {"exponent negative value", "0.0E+00", -0.5, "-5.0E-01"},
      // Quoted literals.
      {"double quoted", "\"V=\"0.0", 1.25, "V=1.3"},
      {"single quoted unit", "0.0 'mm'", 2.0, "2.0 mm"},
      {"quoted semicolon", "0.0 ';'", 2.0, "2.0 ;"},
      {"quoted placeholders are literal", "'0#.,'0", 5.0, "0#.,5"},
      // Very large values fall back to the general format.
      {"beyond eighteen digits", "0", 1e20, "1E20"},
      {"fifteen digits", "0", 1e15, "1000000000000000"},
  };
  RunTable(cases, std::size(cases), ProgramLikeSettings());
}

TEST(FormatFloat, UsesTheSettingsSeparators) {
  TFormatSettings s = ProgramLikeSettings();
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, s), "1.234,50");
  EXPECT_EQ(FormatFloat("0.0", 0.25, s), "0,3");
}

TEST(FormatFloat, SpecialValues) {
  TFormatSettings s = ProgramLikeSettings();
  EXPECT_EQ(FormatFloat("0.0", std::numeric_limits<long double>::quiet_NaN(), s), "NAN");
  EXPECT_EQ(FormatFloat("0.0", std::numeric_limits<long double>::infinity(), s), "INF");
  EXPECT_EQ(FormatFloat("0.0", -std::numeric_limits<long double>::infinity(), s), "-INF");
  EXPECT_EQ(FormatFloat("", 0.1, s), "0.1");
}
