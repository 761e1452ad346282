// TList: index errors with the index in the message, and notification of every addition,
// deletion and extraction.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/classes/List.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

class LoggingList : public TList {
 public:
  ~LoggingList() override { Clear(); }
  std::vector<std::string> log;

 protected:
  void Notify(void* item, TListNotification action) override {
    static const char* names[] = {"added", "extracted", "deleted"};
    log.push_back(std::string(names[action]) + " " + std::to_string(*static_cast<int*>(item)));
  }
};

TEST(List, NotifiesEveryChange) {
  int a = 1, b = 2, c = 3;
  LoggingList list;
  list.Add(&a);
  list.Insert(0, &b);
  list.Add(&c);
  list.Put(1, &c);   // a is replaced
  list.Extract(&b);
  list.Remove(&c);
  list.Add(nullptr);  // nothing to tell about a null entry
  EXPECT_EQ(list.log, (std::vector<std::string>{"added 1", "added 2", "added 3", "deleted 1", "added 3",
                                                "extracted 2", "deleted 3"}));
  EXPECT_EQ(list.Count(), 2);
  list.Pack();
  EXPECT_EQ(list.Count(), 1);
}

TEST(List, SetCountDeletesOrPadsWithNulls) {
  int a = 1, b = 2;
  LoggingList list;
  list.Add(&a);
  list.Add(&b);
  list.SetCount(4);
  EXPECT_EQ(list.Items(3), nullptr);
  list.SetCount(1);
  EXPECT_EQ(list.log.back(), "deleted 2");
  EXPECT_EQ(list.Count(), 1);
}

TEST(List, IndexErrorsNameTheIndex) {
  TList list;
  int a = 0;
  list.Add(&a);
  struct Case {
    const char* what;
    void (*act)(TList&);
    const char* message;
  };
  const Case cases[] = {
      {"Items", [](TList& l) { l.Items(1); }, "List index out of bounds (1)"},
      {"Delete", [](TList& l) { l.Delete(-1); }, "List index out of bounds (-1)"},
      {"Insert", [](TList& l) { l.Insert(3, nullptr); }, "List index out of bounds (3)"},
      {"Exchange", [](TList& l) { l.Exchange(0, 2); }, "List index out of bounds (2)"},
      {"Count", [](TList& l) { l.SetCount(-2); }, "List count out of bounds (-2)"},
  };
  for (const Case& c : cases) {
    try {
      c.act(list);
      ADD_FAILURE() << c.what;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  EXPECT_EQ(list.Count(), 1);
}

TEST(List, MoveExchangeAndSort) {
  int v[4] = {3, 1, 4, 2};
  TList list;
  for (int& x : v) list.Add(&x);
  list.Move(0, 3);
  EXPECT_EQ(list.Items(3), &v[0]);
  list.Exchange(0, 1);
  EXPECT_EQ(list.First(), &v[2]);
  list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  for (int i = 0; i < 4; ++i) EXPECT_EQ(*static_cast<int*>(list.Items(i)), i + 1);
  EXPECT_EQ(list.IndexOf(&v[2]), 3);
}

}  // namespace
