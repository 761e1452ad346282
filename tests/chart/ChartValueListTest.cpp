// Value lists: ordered inserts, statistics behind the modified flag, growth, deletes, sorting
// through the owner and the notifications the owning series receives.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "chart/ChartValueList.h"

namespace {

// Records what a series would be told.
class RecordingOwner : public IValueListOwner {
 public:
  TChartValueLists& ValueLists() override { return lists; }
  void NotifyValueChange(TSeriesChangeKind kind, int index) override {
    changes.push_back({kind, index});
  }
  void ExchangePoints(int i, int j) override {
    // Every store of the series moves together: here each list plus a parallel tag array.
    for (int k = 0; k < lists.Count(); ++k) lists[k].ExchangeItems(i, j);
    std::swap(tags[i], tags[j]);
    ++exchanges;
  }
  void RepaintOwner() override { ++repaints; }
  void ReloadFromSource() override { ++reloads; }

  struct Change {
    TSeriesChangeKind kind;
    int index;
  };
  TChartValueLists lists;
  std::vector<Change> changes;
  std::vector<int> tags;
  int exchanges = 0;
  int repaints = 0;
  int reloads = 0;
};

std::vector<double> Contents(const TChartValueList& list) {
  return std::vector<double>(list.Values(), list.Values() + list.Count());
}

struct OrderedInsertCase {
  const char* name;
  TChartListOrder order;
  std::vector<double> appended;
  std::vector<int> indexes;
  std::vector<double> contents;
};

}  // namespace

TEST(ChartValueList, OrderedInserts) {
  const OrderedInsertCase cases[] = {
      {"ascending 3, 1, 2", loAscending, {3, 1, 2}, {0, 0, 1}, {1, 2, 3}},
      {"ascending, an equal value goes after", loAscending, {3, 1, 2, 2}, {0, 0, 1, 2},
       {1, 2, 2, 3}},
      {"descending 1, 3, 2", loDescending, {1, 3, 2}, {0, 0, 1}, {3, 2, 1}},
      {"descending, an equal value goes after", loDescending, {3, 1, 2, 2}, {0, 1, 1, 2},
       {3, 2, 2, 1}},
      {"ascending, in order appends", loAscending, {1, 2, 2, 5}, {0, 1, 2, 3}, {1, 2, 2, 5}},
      {"no order keeps arrival order", loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}},
      {"ascending, new smallest goes first", loAscending, {5, 6, 7, -1}, {0, 1, 2, 0},
       {-1, 5, 6, 7}},
  };
  for (const auto& c : cases) {
    TChartValueList list(nullptr, "X");
    list.SetOrder(c.order);
    std::vector<int> indexes;
    for (double v : c.appended) indexes.push_back(list.AppendValue(v));
    EXPECT_EQ(indexes, c.indexes) << c.name;
    EXPECT_EQ(Contents(list), c.contents) << c.name;
  }
}

struct StatsCase {
  const char* name;
  std::vector<double> values;
  double minimum, maximum, total, totalAbs;
};

TEST(ChartValueList, Statistics) {
  const StatsCase cases[] = {
      {"empty list", {}, 0, 0, 0, 0},
      {"one value", {-4}, -4, -4, -4, 4},
      {"mixed signs", {-3, 5, 2}, -3, 5, 4, 10},
      {"largest first", {9, -1, 3, 9}, -1, 9, 20, 22},
      {"all equal", {2.5, 2.5}, 2.5, 2.5, 5, 5},
  };
  for (const auto& c : cases) {
    TChartValueList list(nullptr, "Y");
    for (double v : c.values) list.AppendValue(v);
    EXPECT_EQ(list.MinValue(), c.minimum) << c.name;
    EXPECT_EQ(list.MaxValue(), c.maximum) << c.name;
    EXPECT_EQ(list.Total(), c.total) << c.name;
    EXPECT_EQ(list.TotalAbs(), c.totalAbs) << c.name;
    EXPECT_EQ(list.ValueRange(), c.maximum - c.minimum) << c.name;
    EXPECT_FALSE(list.Modified()) << c.name;
  }
}

TEST(ChartValueList, StatisticsFollowEveryChange) {
  TChartValueList list(nullptr, "Y");
  for (double v : {1.0, 2.0, 3.0}) list.AppendValue(v);
  EXPECT_EQ(list.MaxValue(), 3);
  list.InsertValue(0, 10);
  EXPECT_TRUE(list.Modified());
  EXPECT_EQ(list.MaxValue(), 10);
  list.SetValueAt(1, -7);
  EXPECT_EQ(list.MinValue(), -7);
  list.DeleteValue(1);
  EXPECT_EQ(list.MinValue(), 2);
  list.ExchangeItems(0, 1);
  EXPECT_TRUE(list.Modified());
  list.FillSequence();
  EXPECT_EQ(list.MaxValue(), 2);
  EXPECT_EQ(list.Total(), 3);
  list.ClearAll();
  EXPECT_EQ(list.MaxValue(), 0);
}

// Reading the statistics between changes gives exactly what one count over the final values
// gives (the totals are sums in list order), whatever came in between.
TEST(ChartValueList, StatisticsReadBetweenChangesEqualAFreshCount) {
  struct Case {
    const char* name;
    TChartListOrder order;
    std::function<void(TChartValueList&)> change;
  };
  const Case cases[] = {
      {"appended at the end", loNone, [](TChartValueList& l) { l.AppendValue(0.3); }},
      {"a new lowest at the end", loNone, [](TChartValueList& l) { l.AppendValue(-50); }},
      {"ordered, into the middle", loAscending, [](TChartValueList& l) { l.AppendValue(0.15); }},
      {"a value changed", loNone, [](TChartValueList& l) { l.SetValueAt(2, 1e6); }},
      {"the first deleted", loNone, [](TChartValueList& l) { l.DeleteValue(0); }},
      {"inserted at the front", loNone, [](TChartValueList& l) { l.InsertValue(0, -3); }},
      {"rotated", loNone, [](TChartValueList& l) { l.RotateLeft(); }},
      {"exchanged", loNone, [](TChartValueList& l) { l.ExchangeItems(0, 3); }},
  };
  for (const Case& c : cases) {
    TChartValueList list(nullptr, "Y");
    list.SetOrder(c.order);
    for (int i = 0; i < 40; ++i) list.AppendValue(0.1 * i + (i % 3 == 0 ? 1e-9 : 0.0));
    list.Total();  // counted once
    c.change(list);
    list.AppendValue(7.7);
    list.AppendValue(-0.7);
    TChartValueList fresh(nullptr, "Y");
    for (int i = 0; i < list.Count(); ++i) fresh.AppendValue(list.ValueAt(i));
    EXPECT_EQ(list.Total(), fresh.Total()) << c.name;
    EXPECT_EQ(list.TotalAbs(), fresh.TotalAbs()) << c.name;
    EXPECT_EQ(list.MinValue(), fresh.MinValue()) << c.name;
    EXPECT_EQ(list.MaxValue(), fresh.MaxValue()) << c.name;
    EXPECT_FALSE(list.Modified()) << c.name;
    list.AppendValue(1e9);  // after a read: still told as modified, and counted on
    EXPECT_TRUE(list.Modified()) << c.name;
    EXPECT_EQ(list.MaxValue(), 1e9) << c.name;
  }
}

TEST(ChartValueList, CapacityGrowsGeometricallyFromOneThousand) {
  TChartValueList list(nullptr, "X");
  EXPECT_EQ(list.Capacity(), 0);
  list.AppendValue(0);
  EXPECT_EQ(list.Capacity(), 1000);
  for (int i = 1; i < 1000; ++i) list.AppendValue(i);
  EXPECT_EQ(list.Capacity(), 1000);
  list.AppendValue(1000);  // the 1001st value
  EXPECT_EQ(list.Capacity(), 2000);
  for (int i = 1001; i < 2001; ++i) list.AppendValue(i);
  EXPECT_EQ(list.Capacity(), 4000);
  EXPECT_EQ(list.Count(), 2001);
  EXPECT_EQ(list.LastValue(), 2000);
  list.DeleteRange(0, 2000);
  EXPECT_EQ(list.Capacity(), 4000);  // deleting never shrinks
  list.ClearAll();
  EXPECT_EQ(list.Capacity(), 0);  // clearing frees
}

TEST(ChartValueList, DeleteRangeIsCutToTheList) {
  TChartValueList list(nullptr, "X");
  for (int i = 0; i < 8; ++i) list.AppendValue(i);
  list.DeleteRange(5, 10);
  EXPECT_EQ(Contents(list), (std::vector<double>{0, 1, 2, 3, 4}));
  list.DeleteRange(1, 2);
  EXPECT_EQ(Contents(list), (std::vector<double>{0, 3, 4}));
  list.DeleteRange(3, 1);  // past the end: nothing
  EXPECT_EQ(list.Count(), 3);
}

TEST(ChartValueList, LocateFindsTheFirstExactValue) {
  TChartValueList list(nullptr, "X");
  for (double v : {4.0, 2.0, 7.0, 2.0}) list.AppendValue(v);
  EXPECT_EQ(list.Locate(2), 1);
  EXPECT_EQ(list.LocateInRange(2, 3, 2), 3);
  EXPECT_EQ(list.Locate(2.0000001), -1);
  EXPECT_EQ(list.LocateInRange(0, 1, 7), -1);
}

TEST(ChartValueList, RotateLeftMovesTheFirstToTheEnd) {
  TChartValueList list(nullptr, "X");
  list.RotateLeft();  // empty: nothing
  for (double v : {1.0, 2.0, 3.0}) list.AppendValue(v);
  list.RotateLeft();
  EXPECT_EQ(Contents(list), (std::vector<double>{2, 3, 1}));
}

TEST(ChartValueList, CompareItemsByOrder) {
  TChartValueList list(nullptr, "X");
  for (double v : {1.0, 2.0, 2.0}) list.AppendValue(v);
  EXPECT_EQ(list.CompareItems(0, 1), -1);
  EXPECT_EQ(list.CompareItems(1, 0), 1);
  EXPECT_EQ(list.CompareItems(1, 2), -1);  // equal, j > i
  EXPECT_EQ(list.CompareItems(2, 1), 0);   // equal, j < i
  list.SetOrder(loDescending);
  EXPECT_EQ(list.CompareItems(0, 1), 1);
  EXPECT_EQ(list.CompareItems(1, 0), -1);
  EXPECT_EQ(list.CompareItems(1, 2), -1);  // equal values are not negated
  EXPECT_EQ(list.CompareItems(2, 2), 0);
}

TEST(ChartValueList, OwnerIsToldOfChanges) {
  RecordingOwner owner;
  auto* list = new TChartValueList(&owner, "Y");
  ASSERT_EQ(owner.lists.Count(), 1);
  EXPECT_EQ(&owner.lists[0], list);
  EXPECT_EQ(list->Name(), "Y");

  list->AppendValue(1);  // already modified since creation: no notification
  EXPECT_TRUE(owner.changes.empty());
  list->MinValue();  // statistics read: flag off
  list->AppendValue(2);
  ASSERT_EQ(owner.changes.size(), 1u);
  EXPECT_EQ(owner.changes[0].kind, sckModified);
  EXPECT_EQ(owner.changes[0].index, -1);
  list->MarkModified(true);  // already modified: nothing
  EXPECT_EQ(owner.changes.size(), 1u);

  list->SetValueAt(1, 5);  // always tells, with its index
  list->SetValueAt(0, 6);
  ASSERT_EQ(owner.changes.size(), 3u);
  EXPECT_EQ(owner.changes[1].index, 1);
  EXPECT_EQ(owner.changes[2].index, 0);

  list->ExchangeItems(1, 0);
  EXPECT_EQ(owner.changes.back().index, 1);
  list->FillSequence();
  EXPECT_EQ(owner.changes.back().index, 0);
  const size_t before = owner.changes.size();
  list->ClearAll();  // no notification
  EXPECT_EQ(owner.changes.size(), before);
}

TEST(ChartValueList, DateTimeAndValueSourceChangesReachTheOwner) {
  RecordingOwner owner;
  auto* list = new TChartValueList(&owner, "X");
  list->ChangeDateTime(false);
  EXPECT_EQ(owner.repaints, 0);
  list->ChangeDateTime(true);
  EXPECT_EQ(owner.repaints, 1);
  EXPECT_TRUE(list->IsDateTimeStored());
  list->SetDefaultDateTime(true);
  EXPECT_FALSE(list->IsDateTimeStored());

  list->ChangeValueSource("val1");
  list->ChangeValueSource("val1");
  EXPECT_EQ(owner.reloads, 1);
  list->ChangeValueSource("VAL1");  // names compare case-sensitively
  EXPECT_EQ(owner.reloads, 2);
  EXPECT_EQ(list->ValueSource(), "VAL1");
}

TEST(ChartValueList, SortByOrderMovesTheWholeSeries) {
  RecordingOwner owner;
  auto* x = new TChartValueList(&owner, "X");
  auto* y = new TChartValueList(&owner, "Y");
  const double xs[] = {5, 1, 4, 1, 3};
  for (int i = 0; i < 5; ++i) {
    x->AppendValue(xs[i]);
    y->AppendValue(xs[i] * 10);
    owner.tags.push_back(static_cast<int>(xs[i]));
  }
  x->SetOrder(loDescending);
  x->SortByOrder();
  EXPECT_EQ(Contents(*x), (std::vector<double>{5, 4, 3, 1, 1}));
  EXPECT_EQ(Contents(*y), (std::vector<double>{50, 40, 30, 10, 10}));
  EXPECT_EQ(owner.tags, (std::vector<int>{5, 4, 3, 1, 1}));
  EXPECT_GT(owner.exchanges, 0);

  owner.exchanges = 0;
  x->SetOrder(loNone);
  y->SortByOrder();  // y has no order: nothing moves
  EXPECT_EQ(owner.exchanges, 0);
}

TEST(ChartValueList, AssignCopiesSettingsNotValues) {
  TChartValueList source(nullptr, "X");
  source.SetOrder(loDescending);
  source.ChangeDateTime(true);
  source.ChangeValueSource("dtime");
  source.AppendValue(1);
  TChartValueList target(nullptr, "Y");
  target.Assign(&source);
  EXPECT_EQ(target.Order(), loDescending);
  EXPECT_TRUE(target.DateTime());
  EXPECT_EQ(target.ValueSource(), "dtime");
  EXPECT_EQ(target.Count(), 0);
  EXPECT_EQ(target.Name(), "Y");
}

TEST(ChartValueLists, ClearFreesEveryList) {
  static int destroyed = 0;
  struct CountedList : TChartValueList {
    using TChartValueList::TChartValueList;
    ~CountedList() override { ++destroyed; }
  };
  RecordingOwner owner;
  new CountedList(&owner, "X");
  new CountedList(&owner, "Y");
  new CountedList(&owner, "Extra");
  ASSERT_EQ(owner.lists.Count(), 3);
  EXPECT_EQ(owner.lists[2].Name(), "Extra");
  owner.lists.Clear();
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(owner.lists.Count(), 0);
}

TEST(ChartValueList, StoredMultiplierOtherThanOneShowsTheObsoleteNotice) {
  static std::vector<std::string> notices;
  const auto saved = ObsoleteMultiplierNotice;
  ObsoleteMultiplierNotice = [](const std::string& text) { notices.push_back(text); };
  TChartValueList list(nullptr, "Y");
  list.ReadMultiplier(1);
  EXPECT_TRUE(notices.empty());
  list.ReadMultiplier(2);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0],
            "Error: Multiplier property is obsolete.\rModify KelDefs (enable Multiplier) and "
            "recompile.");
  ObsoleteMultiplierNotice = saved;
}
