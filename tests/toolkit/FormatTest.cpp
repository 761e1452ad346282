// Format directives: types, index, width, precision, "*", justification, and the conversion
// error for a directive that does not fit its argument.
#include <gtest/gtest.h>

#include "RtlSettings.h"
#include "toolkit/rtl/SysUtils.h"

class FormatTest : public testing::Test {
 protected:
  void SetUp() override {
    FormatSettings() = ProgramLikeSettings();
    FormatSettings().CurrencyString = "$";
    FormatSettings().CurrencyFormat = 0;
    FormatSettings().NegCurrFormat = 1;
    FormatSettings().CurrencyDecimals = 2;
  }
  ProcessSettingsGuard guard_;
};

TEST_F(FormatTest, Table) {
  const void* pointer = reinterpret_cast<const void*>(0x00AB12CD);
  struct Case {
    const char* name;
    std::string actual;
    const char* expected;
  };
  const Case cases[] = {
      {"integer", Format("%d", {42}), "42"},
      {"negative integer", Format("%d", {-42}), "-42"},
      {"integer precision pads zeros", Format("%.4d", {-42}), "-0042"},
      {"width", Format("[%5d]", {42}), "[   42]"},
      {"left justify", Format("[%-5d]", {42}), "[42   ]"},
      {"width smaller than text", Format("[%1d]", {12345}), "[12345]"},
      {"unsigned of negative", Format("%u", {-1}), "4294967295"},
      {"hex", Format("%x", {255}), "FF"},
      {"hex precision", Format("%.4x", {255}), "00FF"},
      {"hex negative", Format("%x", {-1}), "FFFFFFFF"},
      {"64-bit integer", Format("%d", {1234567890123LL}), "1234567890123"},
      {"string", Format("%s!", {"hi"}), "hi!"},
      {"std string", Format("<%s>", {std::string("x y")}), "<x y>"},
      {"string precision truncates", Format("%.3s", {"abcdef"}), "abc"},
      {"string width", Format("[%6s]", {"ab"}), "[    ab]"},
      {"utf8 width counts characters", Format("[%-4s]", {"\xE2\x84\x83"}), "[\xE2\x84\x83   ]"},
      {"fixed default two", Format("%f", {3.14159}), "3.14"},
      {"fixed one decimal rounds half away", Format("%.1f", {0.25}), "0.3"},
      {"fixed zero decimals", Format("%.0f", {2.5}), "3"},
      {"fixed negative", Format("%.2f", {-1.005L}), "-1.01"},
      {"fixed negative to zero", Format("%.1f", {-0.01}), "0.0"},
      {"fixed width", Format("[%8.3f]", {3.14159}), "[   3.142]"},
      {"number thousands", Format("%n", {1234567.891}), "1,234,567.89"},
      {"number no decimals", Format("%.0n", {1234.0}), "1,234"},
      {"number negative", Format("%.1n", {-1234.56}), "-1,234.6"},
      {"exponent", Format("%e", {1.5}), "1.50000000000000E+000"},
      {"exponent precision", Format("%.3e", {-12345.0}), "-1.23E+004"},
      {"exponent small", Format("%.2e", {0.000123}), "1.2E-004"},
      {"general", Format("%g", {0.1}), "0.1"},
      {"general big", Format("%g", {1e20}), "1E20"},
      {"general precision", Format("%.3g", {3.14159}), "3.14"},
      {"currency", Format("%m", {12.5}), "$12.50"},
      {"currency negative", Format("%m", {-1234.5}), "-$1,234.50"},
      {"pointer", Format("%p", {pointer}), sizeof(void*) == 4 ? "00AB12CD" : "0000000000AB12CD"},
      {"percent", Format("100%%", {}), "100%"},
      {"index", Format("%1:s %0:s", {"a", "b"}), "b a"},
      {"index then next", Format("%1:s %s %0:s", {"a", "b", "c"}), "b c a"},
      {"star width", Format("[%*d]", {4, 7}), "[   7]"},
      {"star precision", Format("%.*f", {3, 1.0}), "1.000"},
      {"upper case type", Format("%D %S", {5, "x"}), "5 x"},
      {"mixed", Format("%s=%.1f (%d)", {"T1", 25.04, 3}), "T1=25.0 (3)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.actual, c.expected);
  }
}

TEST_F(FormatTest, MismatchRaisesConvertError) {
  struct Case {
    const char* name;
    const char* format;
    std::initializer_list<FormatArg> args;
  };
  const Case cases[] = {
      {"float for d", "%d", {1.5}},
      {"integer for f", "%f", {1}},
      {"integer for s", "%s", {1}},
      {"string for d", "%d", {"x"}},
      {"unknown type", "%q", {1}},
      {"unterminated", "abc %", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Format(c.format, c.args);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Format '" + std::string(c.format) + "' invalid or incompatible with argument");
    }
  }
  try {
    Format("%d %d", {1});
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "No argument for format '%d %d'");
  }
}

TEST_F(FormatTest, UsesTheProcessSeparators) {
  FormatSettings().DecimalSeparator = ',';
  FormatSettings().ThousandSeparator = '.';
  EXPECT_EQ(Format("%.2f", {1.5}), "1,50");
  EXPECT_EQ(Format("%.1n", {1234.5}), "1.234,5");
}
