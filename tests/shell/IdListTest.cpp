// Item-id list routines: sizes, copies, joins and orders of made-up lists, and the same
// routines against the shell namespace of a fixture folder.
#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "shell/KxIdListArray.h"
#include "shell/KxShellNames.h"

using Bytes = std::vector<unsigned char>;

TEST(IdList, SizesCountEveryItemAndTheTerminator) {
  EXPECT_EQ(IdListSize(nullptr), 0u);
  TIdListPtr empty = MakeIdList({});
  EXPECT_EQ(IdListSize(empty.get()), 2u);
  TIdListPtr three = MakeIdList({{1}, {2, 2}, {3, 3, 3}});
  EXPECT_EQ(IdListSize(three.get()), 3u + 4u + 5u + 2u);
}

TEST(IdList, CopiesAreExactAndNilCopiesAsTheEmptyList) {
  TIdListPtr list = MakeIdList({{1, 2}, {3}});
  TIdListPtr copy(CopyIdList(nullptr, list.get()));
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), list.get());
  EXPECT_EQ(IdListBytes(copy.get()), IdListBytes(list.get()));

  TIdListPtr fromNil(CopyIdList(nullptr, nullptr));
  ASSERT_TRUE(fromNil);
  EXPECT_EQ(IdListBytes(fromNil.get()), (Bytes{0, 0}));
}

TEST(IdList, CopyAndJoinUseTheGivenAllocatorAndGiveNilWhenItRefuses) {
  TCountingMalloc malloc;
  TIdListPtr list = MakeIdList({{7}});
  PIDL copy = CopyIdList(&malloc, list.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(malloc.allocations, 1);
  malloc.Free(copy);

  malloc.refuse = true;
  EXPECT_EQ(CopyIdList(&malloc, list.get()), nullptr);
  EXPECT_EQ(ConcatIdLists(&malloc, list.get(), list.get()), nullptr);
}

TEST(IdList, JoinsPutBAfterAAndTreatNilAsEmpty) {
  TIdListPtr a = MakeIdList({{1}, {2}});
  TIdListPtr b = MakeIdList({{3, 3}});
  TIdListPtr ab(ConcatIdLists(nullptr, a.get(), b.get()));
  TIdListPtr expected = MakeIdList({{1}, {2}, {3, 3}});
  EXPECT_EQ(IdListBytes(ab.get()), IdListBytes(expected.get()));

  TIdListPtr aNil(ConcatIdLists(nullptr, a.get(), nullptr));
  EXPECT_EQ(IdListBytes(aNil.get()), IdListBytes(a.get()));
  TIdListPtr nilNil(ConcatIdLists(nullptr, nullptr, nullptr));
  EXPECT_EQ(IdListBytes(nilNil.get()), (Bytes{0, 0}));
}

TEST(IdList, CompareOfNilAndEmptyListsNeedsNoShell) {
  TIdListPtr empty1 = MakeIdList({}), empty2 = MakeIdList({});
  TIdListPtr item = MakeIdList({{'x'}});
  struct Case {
    const char* name;
    PCIDL a, b;
    int expected;
  } cases[] = {
      {"nil-nil", nullptr, nullptr, 0},
      {"nil-list", nullptr, item.get(), -1},
      {"list-nil", item.get(), nullptr, -1},
      {"nil-empty", nullptr, empty1.get(), -1},
      {"empty-empty", empty1.get(), empty2.get(), 0},
      {"empty-list", empty1.get(), item.get(), -1},
      {"list-empty", item.get(), empty1.get(), -1},
  };
  for (const Case& c : cases) EXPECT_EQ(CompareIdLists(c.a, c.b), c.expected) << c.name;
}

TEST(IdList, ByteOrderDecidesByFirstDifferenceThenBySize) {
  TIdListPtr a = MakeIdList({{1, 2}});
  TIdListPtr b = MakeIdList({{1, 3}});
  TIdListPtr longer = MakeIdList({{1, 2}, {9}});
  EXPECT_LT(CompareIdListBytes(a.get(), b.get()), 0);
  EXPECT_GT(CompareIdListBytes(b.get(), a.get()), 0);
  EXPECT_EQ(CompareIdListBytes(a.get(), a.get()), 0);
  EXPECT_NE(CompareIdListBytes(a.get(), longer.get()), 0);
  EXPECT_EQ(CompareIdListBytes(nullptr, nullptr), 0);
  EXPECT_LT(CompareIdListBytes(nullptr, a.get()), 0);
}

TEST(IdListArray, ViewsAThreeItemList) {
  TIdListPtr list = MakeIdList({{1}, {2, 2}, {3, 3, 3}});
  TKxIdListArray view(list.get());
  EXPECT_EQ(view.Count(), 3);
  TIdListPtr last = MakeIdList({{3, 3, 3}});
  EXPECT_EQ(IdListBytes(view.Item(2)), IdListBytes(last.get()));
  EXPECT_EQ(view.Item(3), nullptr);
  EXPECT_EQ(view.Item(-1), nullptr);
  TIdListPtr firstTwo = MakeIdList({{1}, {2, 2}});
  EXPECT_EQ(IdListBytes(view.WithoutLast(1)), IdListBytes(firstTwo.get()));
  EXPECT_EQ(IdListBytes(view.WithoutLast(0)), IdListBytes(list.get()));
  EXPECT_EQ(IdListBytes(view.WithoutLast(3)), (Bytes{0, 0}));
  EXPECT_EQ(view.WithoutLast(4), nullptr);
}

TEST(IdListArray, NilAndEmptyLists) {
  TKxIdListArray none(nullptr);
  EXPECT_EQ(none.Count(), 0);
  EXPECT_EQ(none.Item(0), nullptr);
  EXPECT_EQ(none.WithoutLast(0), nullptr);

  TIdListPtr empty = MakeIdList({});
  TKxIdListArray view(empty.get());
  EXPECT_EQ(view.Count(), 0);
  ASSERT_NE(view.Item(0), nullptr);
  EXPECT_EQ(IdListBytes(view.Item(0)), (Bytes{0, 0}));
  EXPECT_EQ(IdListBytes(view.WithoutLast(0)), (Bytes{0, 0}));
}

TEST(IdListText, AppendSeparatorOnce) {
  EXPECT_EQ(AppendSeparatorOnce("", '\\'), "");
  EXPECT_EQ(AppendSeparatorOnce("C:", '\\'), "C:\\");
  EXPECT_EQ(AppendSeparatorOnce("C:\\", '\\'), "C:\\");
  // A name ending in a multi-byte character still gets its separator.
  EXPECT_EQ(AppendSeparatorOnce("C:\\\xE8\xA1\xA8", '\\'), "C:\\\xE8\xA1\xA8\\");
}

TEST(IdListText, StrRetForms) {
  STRRET wide = {};
  wide.uType = STRRET_WSTR;
  wide.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(6 * sizeof(wchar_t)));
  wcscpy(wide.pOleStr, L"F\x00FCnf");
  EXPECT_EQ(StrRetToText(nullptr, wide), "F\xC3\xBCnf");
  FreeStrRet(wide);
  EXPECT_EQ(wide.pOleStr, nullptr);

  STRRET ansi = {};
  ansi.uType = STRRET_CSTR;
  strcpy(ansi.cStr, "Plain");
  EXPECT_EQ(StrRetToText(nullptr, ansi), "Plain");

  TIdListPtr item = MakeIdList({{'a', 'b', 'c', 0}});
  STRRET offset = {};
  offset.uType = STRRET_OFFSET;
  offset.uOffset = 2;  // past the item's count
  EXPECT_EQ(StrRetToText(item.get(), offset), "abc");
  EXPECT_EQ(StrRetToText(nullptr, offset), "");
}

class IdListShellTest : public ShellFolderTest {};

TEST_F(IdListShellTest, PathsRoundTripThroughTheDesktopsParse) {
  const std::string folder = MakeFolder("Sub");
  const std::string file = MakeFile("Sub\\data.txt", 10);
  TIdListPtr list = ListOf(file);
  ASSERT_TRUE(list);
  EXPECT_TRUE(SameText(PathFromIdList(list.get()), file)) << PathFromIdList(list.get());

  PIDL missing = reinterpret_cast<PIDL>(1);
  EXPECT_TRUE(FAILED(IdListFromPath(root_ + "no such file.txt", missing)));
  EXPECT_EQ(missing, nullptr);
}

TEST_F(IdListShellTest, ComparesRealListsThroughTheDesktop) {
  MakeFolder("A");
  MakeFolder("B");
  TIdListPtr a1 = ListOf(root_ + "A"), a2 = ListOf(root_ + "A"), b = ListOf(root_ + "B");
  EXPECT_EQ(CompareIdLists(a1.get(), a2.get()), 0);
  EXPECT_LT(CompareIdLists(a1.get(), b.get()), 0);
  EXPECT_GT(CompareIdLists(b.get(), a1.get()), 0);
}

TEST_F(IdListShellTest, BindsFoldersAndNamesItems) {
  MakeFolder("Sub");
  MakeFile("Sub\\report.txt", 1);
  TIdListPtr sub = ListOf(root_ + "Sub");

  IShellFolder* desktop = nullptr;
  ASSERT_TRUE(SUCCEEDED(BindToFolderOfIdList(nullptr, desktop)));
  ASSERT_NE(desktop, nullptr);
  desktop->Release();

  IShellFolder* folder = nullptr;
  ASSERT_TRUE(SUCCEEDED(BindToFolderOfIdList(sub.get(), folder)));
  TComRef<IShellFolder> hold(folder);
  TIdListPtr file = ListOf(root_ + "Sub\\report.txt");
  TKxIdListArray items(file.get());
  PCIDL last = items.Item(items.Count() - 1);
  EXPECT_TRUE(SameText(DisplayNameOf(folder, last, TKxNameKind::ForParsing),
                       root_ + "Sub\\report.txt"));
  EXPECT_TRUE(Pos("report", DisplayNameOf(folder, last, TKxNameKind::InFolder)) == 1);
  EXPECT_EQ(DisplayNameOfAbsolute(sub.get()), "Sub");
}

TEST_F(IdListShellTest, SpecialFoldersAreRecognised) {
  PIDL drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(SpecialFolderIdList(nullptr, CSIDL_DRIVES | 0x80, drives)));
  TIdListPtr hold(drives);
  EXPECT_EQ(SpecialFolderIdOf(drives), CSIDL_DRIVES);
  TIdListPtr desktop = MakeIdList({});
  EXPECT_EQ(SpecialFolderIdOf(desktop.get()), CSIDL_DESKTOP);
  MakeFolder("Plain");
  TIdListPtr plain = ListOf(root_ + "Plain");
  EXPECT_EQ(SpecialFolderIdOf(plain.get()), kNoSpecialFolder);
  EXPECT_FALSE(SpecialFolderPath(nullptr, CSIDL_WINDOWS).empty());
}
