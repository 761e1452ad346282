// TStringList: sorted insertion under each duplicates policy, binary search, Text with CR LF,
// comma text, name=value access and the change events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/classes/StringList.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
  return out;
}

struct SortedAddCase {
  const char* name;
  TDuplicates duplicates;
  std::vector<std::string> input;
  std::vector<std::string> expected;
  bool raises;
};

class SortedAdd : public ::testing::TestWithParam<SortedAddCase> {};

TEST_P(SortedAdd, KeepsOrderAndAppliesThePolicy) {
  const SortedAddCase& c = GetParam();
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(c.duplicates);
  bool raised = false;
  try {
    for (const std::string& s : c.input) list.Add(s);
  } catch (const EStringListError& e) {
    raised = true;
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  EXPECT_EQ(raised, c.raises);
  EXPECT_EQ(Lines(list), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Policies, SortedAdd,
    ::testing::Values(
        SortedAddCase{"IgnoreDropsRepeats", dupIgnore, {"pear", "apple", "Pear", "fig"}, {"apple", "fig", "pear"}, false},
        SortedAddCase{"AcceptKeepsRepeats", dupAccept, {"b", "a", "b", "c", "a"}, {"a", "a", "b", "b", "c"}, false},
        SortedAddCase{"ErrorRaisesOnRepeat", dupError, {"b", "a", "B", "c"}, {"a", "b"}, true},
        SortedAddCase{"CaseInsensitiveOrder", dupAccept, {"beta", "Alpha", "gamma", "ALPHA2"}, {"Alpha", "ALPHA2", "beta", "gamma"}, false},
        SortedAddCase{"NumbersAsText", dupIgnore, {"10", "9", "100", "1"}, {"1", "10", "100", "9"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StringList, AddAnswersTheIndexOfTheEntry) {
  TStringList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add("m"), 0);
  EXPECT_EQ(list.Add("a"), 0);
  EXPECT_EQ(list.Add("z"), 2);
  EXPECT_EQ(list.Add("m"), 1);  // dupIgnore answers the existing entry
  EXPECT_EQ(list.Count(), 3);
}

struct FindCase {
  const char* name;
  const char* key;
  bool found;
  int index;
};

class Find : public ::testing::TestWithParam<FindCase> {};

TEST_P(Find, AnswersMatchOrInsertionPoint) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"delta", "alpha", "echo", "charlie", "bravo"}) list.Add(s);
  int index = -7;
  EXPECT_EQ(list.Find(GetParam().key, index), GetParam().found);
  EXPECT_EQ(index, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Keys, Find,
                         ::testing::Values(FindCase{"First", "alpha", true, 0}, FindCase{"Middle", "charlie", true, 2},
                                           FindCase{"Last", "echo", true, 4}, FindCase{"IgnoresCase", "DELTA", true, 3},
                                           FindCase{"BeforeAll", "aardvark", false, 0},
                                           FindCase{"Between", "cobra", false, 3}, FindCase{"AfterAll", "zulu", false, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StringList, IndexOfSortedAndUnsorted) {
  TStringList list;
  for (const char* s : {"b", "C", "a"}) list.Add(s);
  EXPECT_EQ(list.IndexOf("c"), 1);
  EXPECT_EQ(list.IndexOf("x"), -1);
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "C"}));
  EXPECT_EQ(list.IndexOf("c"), 2);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("c"), -1);
  EXPECT_EQ(list.IndexOf("C"), 2);
}

TEST(StringList, SortedListRefusesPositionalChanges) {
  TStringList list;
  list.SetSorted(true);
  list.Add("a");
  EXPECT_THROW(list.Insert(0, "b"), EStringListError);
  try {
    list.Put(0, "z");
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "Operation not allowed on sorted list");
  }
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list;
  list.Add("only");
  try {
    list.Get(5);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(3, "x"), EStringListError);
}

struct TextCase {
  const char* name;
  std::string text;
  std::vector<std::string> lines;
};

class SetText : public ::testing::TestWithParam<TextCase> {};

TEST_P(SetText, SplitsAtEveryLineBreakKind) {
  TStringList list;
  list.SetText(GetParam().text);
  EXPECT_EQ(Lines(list), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, SetText,
    ::testing::Values(TextCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, TextCase{"NoFinalBreak", "a\r\nb", {"a", "b"}},
                      TextCase{"LfAndCr", "a\nb\rc", {"a", "b", "c"}},
                      TextCase{"EmptyLinesKept", "\r\n\r\nx\r\n", {"", "", "x"}}, TextCase{"Empty", "", {}},
                      TextCase{"LfCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StringList, TextEndsEveryLineWithCrLf) {
  TStringList list;
  list.Add("25.0");
  list.Add("");
  list.Add("x y");
  EXPECT_EQ(list.Text(), "25.0\r\n\r\nx y\r\n");
  TStringList empty;
  EXPECT_EQ(empty.Text(), "");
}

struct CommaCase {
  const char* name;
  std::vector<std::string> lines;
  std::string text;
};

class CommaText : public ::testing::TestWithParam<CommaCase> {};

TEST_P(CommaText, QuotesWhatNeedsItAndReadsBack) {
  TStringList list;
  for (const std::string& s : GetParam().lines) list.Add(s);
  EXPECT_EQ(list.CommaText(), GetParam().text);
  TStringList back;
  back.SetCommaText(GetParam().text);
  EXPECT_EQ(Lines(back), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CommaText,
    ::testing::Values(CommaCase{"Plain", {"a", "b"}, "a,b"}, CommaCase{"Blank", {"a b", "c"}, "\"a b\",c"},
                      CommaCase{"Quote", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
                      CommaCase{"Comma", {"1,5", "2"}, "\"1,5\",2"}, CommaCase{"OneEmpty", {""}, "\"\""},
                      CommaCase{"TrailingEmpty", {"a", ""}, "a,"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StringList, CommaTextSplitsUnquotedBlanks) {
  TStringList list;
  list.SetCommaText("a b, c ,\"d e\"");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c", "d e"}));
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.Add("Port=COM3");
  list.Add("plain");
  list.Add("Baud=9600");
  EXPECT_EQ(list.Names(0), "Port");
  EXPECT_EQ(list.Names(1), "");
  EXPECT_EQ(list.Values("port"), "COM3");
  EXPECT_EQ(list.Values("missing"), "");
  EXPECT_EQ(list.ValueFromIndex(2), "9600");
  list.SetValues("Baud", "19200");
  EXPECT_EQ(list.Get(2), "Baud=19200");
  list.SetValues("Parity", "N");
  EXPECT_EQ(list.Get(3), "Parity=N");
  list.SetValues("Port", "");
  EXPECT_EQ(list.IndexOfName("Port"), -1);
  EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, ObjectsFollowTheirStrings) {
  TStringList a;
  TObject o1, o2;
  a.AddObject("b", &o1);
  a.AddObject("a", &o2);
  a.Sort();
  EXPECT_EQ(a.Objects(0), &o2);
  EXPECT_EQ(a.IndexOfObject(&o1), 1);
  TStringList copy;
  copy.Assign(&a);
  EXPECT_EQ(Lines(copy), Lines(a));
  EXPECT_EQ(copy.Objects(1), &o1);
}

struct ChangeCase {
  const char* name;
  void (*act)(TStringList&);
  int changing;
  int changed;
};

class ChangeEvents : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeEvents, FireOncePerChangeOrBracket) {
  TStringList list;
  list.Add("start");
  int changing = 0, changed = 0, changingAtChange = -1;
  list.OnChanging = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changing;
  };
  list.OnChange = [&](TObject*) {
    ++changed;
    changingAtChange = changing;
  };
  GetParam().act(list);
  EXPECT_EQ(changing, GetParam().changing);
  EXPECT_EQ(changed, GetParam().changed);
  if (changed > 0) {
    EXPECT_EQ(changingAtChange, changing);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ChangeEvents,
    ::testing::Values(
        ChangeCase{"Add", [](TStringList& l) { l.Add("x"); }, 1, 1},
        ChangeCase{"Delete", [](TStringList& l) { l.Delete(0); }, 1, 1},
        ChangeCase{"Put", [](TStringList& l) { l.Put(0, "y"); }, 1, 1},
        ChangeCase{"Clear", [](TStringList& l) { l.Clear(); }, 1, 1},
        ChangeCase{"ClearTwice", [](TStringList& l) { l.Clear(); l.Clear(); }, 1, 1},
        ChangeCase{"UpdateBracket", [](TStringList& l) {
                     l.BeginUpdate();
                     l.Add("a");
                     l.BeginUpdate();
                     l.Add("b");
                     l.EndUpdate();
                     l.Delete(0);
                     l.EndUpdate();
                   }, 1, 1},
        ChangeCase{"SetTextIsOneChange", [](TStringList& l) { l.SetText("a\r\nb\r\nc"); }, 1, 1},
        ChangeCase{"IgnoredDuplicate", [](TStringList& l) {
                     l.SetSorted(true);
                     l.Add("start");
                   }, 0, 0},
        ChangeCase{"SortOfOneEntry", [](TStringList& l) { l.Sort(); }, 0, 0},
        ChangeCase{"FailedIndex", [](TStringList& l) { EXPECT_THROW(l.Delete(4), EStringListError); }, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
