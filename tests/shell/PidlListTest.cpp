// TKxPidlList: order, search and the three duplicate policies, in byte order and in a shell
// folder's order.
#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "shell/KxIdListArray.h"
#include "shell/KxPidlList.h"
#include "shell/KxShellNames.h"

namespace {

// A one-item list with payload {key, tag}: byte order follows key, then tag.
PIDL Item(unsigned char key, unsigned char tag = 0) {
  return MakeIdList({{key, tag}}).release();
}

std::vector<int> Keys(const TKxPidlList& list) {
  std::vector<int> keys;
  for (int i = 0; i < list.Count(); ++i)
    keys.push_back(reinterpret_cast<const unsigned char*>(list.Items(i))[2]);
  return keys;
}

}  // namespace

class PidlListTest : public testing::Test {
 protected:
  PidlListTest() { list.SetAllocator(&malloc); }
  TCountingMalloc malloc;  // frees the shell allocator's blocks too (both are the task allocator)
  TKxPidlList list;
};

TEST_F(PidlListTest, UnsortedAppendsAndSearchesInEntryOrder) {
  EXPECT_FALSE(list.Sorted());
  EXPECT_EQ(list.Duplicates(), dupError);
  EXPECT_EQ(list.Add(Item(3)), 0);
  EXPECT_EQ(list.Add(Item(1)), 1);
  EXPECT_EQ(list.Add(Item(3)), 2);  // duplicates only matter when sorted
  EXPECT_EQ(Keys(list), (std::vector<int>{3, 1, 3}));
  TIdListPtr key(Item(3));
  EXPECT_EQ(list.IndexOf(key.get()), 0);
  TIdListPtr absent(Item(9));
  EXPECT_EQ(list.IndexOf(absent.get()), -1);
}

TEST_F(PidlListTest, TurningSortedOnSortsAndAddsInOrder) {
  int marker = 0;
  list.Add(Item(5));
  list.AddObject(Item(2), &marker);
  list.Add(Item(8));
  list.SetSorted(true);
  EXPECT_EQ(Keys(list), (std::vector<int>{2, 5, 8}));
  EXPECT_EQ(list.Objects(0), &marker);
  EXPECT_EQ(list.Add(Item(6)), 2);
  EXPECT_EQ(Keys(list), (std::vector<int>{2, 5, 6, 8}));
  int index = -1;
  TIdListPtr key(Item(7));
  EXPECT_FALSE(list.Find(key.get(), index));
  EXPECT_EQ(index, 3);
}

TEST_F(PidlListTest, DuplicatePolicies) {
  struct Case {
    const char* name;
    TDuplicates policy;
    int expectedIndex;  // -2: raises
    int expectedCount;
  } cases[] = {
      {"ignore returns the existing index", dupIgnore, 1, 3},
      {"accept inserts before the equal ones", dupAccept, 1, 4},
      {"error raises", dupError, -2, 3},
  };
  for (const Case& c : cases) {
    TKxPidlList sorted;
    sorted.SetAllocator(&malloc);
    sorted.SetSorted(true);
    sorted.SetDuplicates(c.policy);
    sorted.Add(Item(1));
    sorted.AddObject(Item(4, 0), nullptr);
    sorted.Add(Item(9));
    PIDL duplicate = Item(4, 0);
    if (c.expectedIndex == -2) {
      try {
        sorted.Add(duplicate);
        ADD_FAILURE() << c.name;
      } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "TKxPidlList: Duplicate PIDL") << c.name;
      }
      ShellFree(duplicate);  // a refused list stays the caller's
    } else {
      EXPECT_EQ(sorted.Add(duplicate), c.expectedIndex) << c.name;
      if (c.policy == dupIgnore) ShellFree(duplicate);
      if (c.policy == dupAccept) {
        EXPECT_EQ(sorted.Items(1), duplicate) << c.name;
      }
    }
    EXPECT_EQ(sorted.Count(), c.expectedCount) << c.name;
  }
}

TEST_F(PidlListTest, DeleteAndClearFreeThroughTheAllocator) {
  list.Add(Item(1));
  list.Add(Item(2));
  list.Add(Item(3));
  list.Delete(1);
  EXPECT_EQ(malloc.frees, 1);
  EXPECT_EQ(Keys(list), (std::vector<int>{1, 3}));
  EXPECT_THROW(list.Delete(5), EListError);
  list.Clear();
  EXPECT_EQ(malloc.frees, 3);
  EXPECT_EQ(list.Count(), 0);
}

TEST(PidlListNoAllocator, LeavesListsToTheirOwner) {
  TIdListPtr a(Item(1));
  {
    TKxPidlList list;
    list.Add(a.get());
    list.Clear();
  }
  EXPECT_EQ(IdListSize(a.get()), 6u);  // still alive
}

class PidlListShellTest : public ShellFolderTest {};

TEST_F(PidlListShellTest, FollowsTheFoldersOrder) {
  for (const char* name : {"charlie", "alpha", "bravo"}) MakeFile(name, 1);
  TIdListPtr folderList = ListOf(root_);
  IShellFolder* folder = nullptr;
  ASSERT_TRUE(SUCCEEDED(BindToFolderOfIdList(folderList.get(), folder)));
  TComRef<IShellFolder> hold(folder);

  TKxPidlList list;
  list.SetShellFolder(folder);
  list.SetAllocator(ShellAllocator());
  list.SetSorted(true);
  for (const char* name : {"charlie", "alpha", "bravo"}) {
    TIdListPtr full = ListOf(root_ + name);
    TKxIdListArray items(full.get());
    list.Add(CopyIdList(nullptr, items.Item(items.Count() - 1)));
  }
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i)
    names.push_back(LowerCase(ExtractFileName(DisplayNameOf(folder, list.Items(i), TKxNameKind::ForParsing))));
  EXPECT_EQ(names, (std::vector<std::string>{"alpha", "bravo", "charlie"}));
}
