// String helpers: trimming, case mapping, comparisons, 1-based Pos/Copy, replacement, quoting.
#include <gtest/gtest.h>

#include "toolkit/rtl/SysUtils.h"

TEST(StrUtils, TrimAndCase) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a \x01"), "  a");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(UpperCase("abc\xC3\xA9z"), "ABC\xC3\xA9Z");  // é untouched
  EXPECT_EQ(LowerCase("ABC"), "abc");
  EXPECT_EQ(AnsiUpperCase("abc\xC3\xA9"), "ABC\xC3\x89");  // é -> É
  EXPECT_EQ(AnsiLowerCase("\xC3\x89X"), "\xC3\xA9x");
}

TEST(StrUtils, Comparisons) {
  struct Case {
    const char* name;
    const char* a;
    const char* b;
    int text;  // sign of CompareText
    int str;   // sign of CompareStr
  };
  static const Case cases[] = {
      {"equal", "abc", "abc", 0, 0},
      {"case differs", "ABC", "abc", 0, -1},
      {"prefix shorter", "ab", "abc", -1, -1},
      {"later letter", "abd", "ABC", 1, 1},
      {"empty", "", "a", -1, -1},
  };
  auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sign(CompareText(c.a, c.b)), c.text);
    EXPECT_EQ(sign(CompareStr(c.a, c.b)), c.str);
    EXPECT_EQ(SameText(c.a, c.b), c.text == 0);
    EXPECT_EQ(sign(AnsiCompareText(c.a, c.b)), c.text);
  }
  EXPECT_EQ(AnsiCompareText("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"), 0);
  EXPECT_NE(AnsiCompareStr("a", "A"), 0);
}

TEST(StrUtils, PosAndCopy) {
  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("b", "abcb", 3), 4);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("a", "abc", 4), 0);
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 2, -1), "");
}

TEST(StrUtils, StringReplace) {
  const int all = static_cast<int>(TReplaceFlag::rfReplaceAll);
  const int nocase = static_cast<int>(TReplaceFlag::rfIgnoreCase);
  struct Case {
    const char* name;
    const char* text;
    const char* from;
    const char* to;
    int flags;
    const char* expected;
  };
  static const Case cases[] = {
      {"first only", "a-b-c", "-", "+", 0, "a+b-c"},
      {"all", "a-b-c", "-", "+", all, "a+b+c"},
      {"case sensitive miss", "Abc", "a", "x", all, "Abc"},
      {"ignore case keeps the rest", "AbcaB", "ab", "x", all | nocase, "xcx"},
      {"longer replacement", "aa", "a", "aa", all, "aaaa"},
      {"empty from", "abc", "", "x", all, "abc"},
      {"remove", "a, b, c", ", ", "", all, "abc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(StringReplace(c.text, c.from, c.to, c.flags), c.expected);
  }
}

TEST(StrUtils, Quoting) {
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(QuotedStr(""), "''");
  struct Case {
    const char* name;
    const char* text;
    const char* expected;
  };
  static const Case cases[] = {
      {"quoted", "\"abc\"", "abc"},
      {"doubled quote inside", "\"a\"\"b\"", "a\"b"},
      {"not quoted", "abc", "abc"},
      {"unterminated kept", "\"abc", "\"abc"},
      {"empty quotes", "\"\"", ""},
      {"text after closing", "\"ab\"cd", "ab"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AnsiDequotedStr(c.text, '"'), c.expected);
  }
}
