// The series core: points added in X order with and without X, labels and colours, null
// points, deletion and clearing with their side stores, point colours, batching, extremes for
// axis ranges under each null treatment, change notifications reaching dependent series and
// the chart in order, data-source checks, axes and the visible range.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "SeriesTestSupport.h"
#include "canvas/KelPicture.h"
#include "chart/FastLineSeries.h"
#include "chart/KelProcs.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

class SeriesTest : public testing::Test {
 protected:
  // A named series owned by (and, when joined, listed in) the stand-in chart.
  TChartSeries* NewSeries(const std::string& name, bool join = true) {
    auto* s = new TChartSeries(&chart);
    if (!name.empty()) s->SetName(name);
    if (join) s->ChangeParentChart(&chart);
    return s;
  }
  std::vector<double> Xs(TChartSeries& s) {
    std::vector<double> v;
    for (int i = 0; i < s.PointCount(); ++i) v.push_back(s.XValueAt(i));
    return v;
  }
  std::vector<double> Ys(TChartSeries& s) {
    std::vector<double> v;
    for (int i = 0; i < s.PointCount(); ++i) v.push_back(s.YValueAt(i));
    return v;
  }

  FakeSeriesChart chart;
};

TEST_F(SeriesTest, PointsGoInXOrderWhateverTheAddingOrder) {
  TChartSeries* s = NewSeries("S1");
  EXPECT_EQ(s->AppendXY(3, 30), 0);
  EXPECT_EQ(s->AppendXY(1, 10), 0);
  EXPECT_EQ(s->AppendXY(2, 20), 1);
  EXPECT_EQ(Xs(*s), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Ys(*s), (std::vector<double>{10, 20, 30}));
}

TEST_F(SeriesTest, ValuesWithoutXTakeThePointNumberAsX) {
  TChartSeries* s = NewSeries("S1");
  s->AppendValue(7);
  s->AppendValue(5);
  s->AppendValue(9);
  EXPECT_EQ(Xs(*s), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(Ys(*s), (std::vector<double>{7, 5, 9}));
  EXPECT_EQ(s->Labels().Count(), 0) << "no label store until a label arrives";
  EXPECT_FALSE(s->HasColorList()) << "no colour store until a colour arrives";
}

TEST_F(SeriesTest, LabelsAndColoursMoveWithTheirPointsOnOrderedInserts) {
  TChartSeries* s = NewSeries("S1");
  s->AppendXY(10, 1);
  s->AppendXY(30, 3, "Wed", clBlue);
  s->AppendXY(20, 2, "Tue");
  s->AppendXY(5, 0);
  EXPECT_EQ(Xs(*s), (std::vector<double>{5, 10, 20, 30}));
  EXPECT_EQ(s->PointLabel(0), "");
  EXPECT_EQ(s->PointLabel(2), "Tue");
  EXPECT_EQ(s->PointLabel(3), "Wed");
  EXPECT_EQ(s->OwnColorAt(3), clBlue);
  EXPECT_EQ(s->OwnColorAt(0), clDefault);
  EXPECT_EQ(s->OwnColorAt(2), clDefault);
  EXPECT_EQ(s->Labels().IndexOfLabel("wed", false), 3);
  EXPECT_EQ(s->Labels().IndexOfLabel("wed", true), -1);
}

TEST_F(SeriesTest, AClNonePointIsANullPointAndCreatesTheColourStore) {
  TChartSeries* s = NewSeries("S1");
  s->AppendXY(0, 1);
  s->AppendXY(1, 2);
  EXPECT_FALSE(s->HasColorList());
  s->AppendGapXY(2, 3);
  ASSERT_TRUE(s->HasColorList());
  EXPECT_TRUE(s->IsNullPoint(2));
  EXPECT_FALSE(s->IsNullPoint(0));
  EXPECT_EQ(s->OwnColorAt(0), clDefault);
  EXPECT_EQ(s->OwnColorAt(1), clDefault);
  s->SetGapValue(-1);
  s->AppendGap("gap");
  EXPECT_EQ(s->YValueAt(3), -1);
  EXPECT_EQ(s->XValueAt(3), 3);
  EXPECT_TRUE(s->IsNullPoint(3));
}

TEST_F(SeriesTest, SetPointColorBeyondTheEndAppendsGapPointsFirst) {
  TChartSeries* s = NewSeries("S1");
  s->AppendValue(1);
  s->AppendValue(2);
  s->SetPointColor(5, clRed);
  ASSERT_EQ(s->PointCount(), 6);
  for (int i = 2; i <= 4; ++i) EXPECT_TRUE(s->IsNullPoint(i)) << i;
  EXPECT_EQ(s->OwnColorAt(5), clRed);
  EXPECT_EQ(s->OwnColorAt(0), clDefault);
}

TEST_F(SeriesTest, SetPointColorDefaultWithoutColourStoreChangesNothing) {
  TChartSeries* s = NewSeries("S1");
  s->AppendValue(1);
  s->SetPointColor(7, clDefault);
  EXPECT_EQ(s->PointCount(), 1);
  EXPECT_FALSE(s->HasColorList());
}

TEST_F(SeriesTest, DeletingOutsideThePointsRaisesWithTheRange) {
  TChartSeries* s = NewSeries("S1");
  for (int i = 0; i < 3; ++i) s->AppendValue(i);
  try {
    s->DeletePoint(3);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Series Delete: ValueIndex 3 out of bounds (0 to 2).");
  }
  EXPECT_THROW(s->DeletePoint(-1), ChartException);
  EXPECT_EQ(s->PointCount(), 3);
}

TEST_F(SeriesTest, DeletePointRemovesEveryStoreEntryOfThePoint) {
  TChartSeries* s = NewSeries("S1");
  s->AppendXY(0, 10, "a", clRed);
  s->AppendXY(1, 11, "b", clNone);
  s->AppendXY(2, 12, "c", clBlue);
  s->DeletePoint(1);
  EXPECT_EQ(Xs(*s), (std::vector<double>{0, 2}));
  EXPECT_EQ(s->PointLabel(1), "c");
  EXPECT_EQ(s->OwnColorAt(1), clBlue);
  EXPECT_FALSE(s->IsNullPoint(1));
}

TEST_F(SeriesTest, DeletingARunRemovesItsPicturesAndFreesAnEmptyColourStore) {
  TChartSeries* s = NewSeries("S1");
  for (int i = 0; i < 4; ++i) s->AppendValue(i);
  s->Pictures().PutPicture(1, new TKelPicture);
  s->Pictures().PutPicture(2, new TKelPicture);
  s->DeletePoints(1, 2);
  EXPECT_EQ(Ys(*s), (std::vector<double>{0, 3}));
  EXPECT_EQ(s->Pictures().PictureAt(0), nullptr);
  EXPECT_EQ(s->Pictures().PictureAt(1), nullptr);

  TChartSeries* t = NewSeries("S2");
  t->AppendXY(0, 0, "", clRed);
  t->AppendXY(1, 1, "", clRed);
  t->DeletePoints(0, 5);
  EXPECT_EQ(t->PointCount(), 0);
  EXPECT_FALSE(t->HasColorList());
}

TEST_F(SeriesTest, DeletingARunWithResequenceRenumbersX) {
  TChartSeries* s = NewSeries("S1");
  for (int i = 0; i < 5; ++i) s->AppendValue(i * 10);
  s->DeletePoints(1, 2, true);
  EXPECT_EQ(Xs(*s), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(Ys(*s), (std::vector<double>{0, 30, 40}));
  s->DeletePoints(3, 1);  // a start beyond the points does nothing
  EXPECT_EQ(s->PointCount(), 3);
}

TEST_F(SeriesTest, ClearEmptiesEveryStoreAndTellsTheClearEvent) {
  TChartSeries* s = NewSeries("S1");
  int cleared = 0;
  s->OnClearValues = [&](TChartSeries*) { ++cleared; };
  s->AppendXY(0, 1, "x", clNone);
  s->Pictures().PutPicture(0, new TKelPicture);
  chart.invalidations = 0;
  s->ClearPoints();
  EXPECT_EQ(s->PointCount(), 0);
  EXPECT_FALSE(s->HasColorList());
  EXPECT_EQ(s->Labels().Count(), 0);
  EXPECT_EQ(s->Pictures().PictureAt(0), nullptr);
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(chart.invalidations, 1);
}

TEST_F(SeriesTest, OnBeforeAddRefusingStoresNothingAndNotifiesNoOne) {
  TChartSeries* s = NewSeries("S1");
  TChartSeries* d = NewSeries("D1");
  d->AddDataSource(s);
  int afterAdds = 0;
  s->OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
  s->OnBeforeAdd = [](TChartSeries* sender) { return sender->PointCount() < 1; };
  EXPECT_EQ(s->AppendXY(0, 1, "a", clRed), 0);
  EXPECT_EQ(s->AppendXY(1, 2, "b", clRed), -1);
  EXPECT_EQ(s->AppendGap(), -1);
  EXPECT_EQ(s->PointCount(), 1);
  EXPECT_EQ(s->Labels().Count(), 1);
  EXPECT_EQ(afterAdds, 1);
  EXPECT_EQ(d->PointCount(), 1);
}

struct ColorCase {
  const char* name;
  TColor own;
  bool colorEachPoint;
  bool inChart;
  TColor expected;
};

class PointColorTest : public SeriesTest, public testing::WithParamInterface<ColorCase> {};

TEST_P(PointColorTest, PointColourFollowsOwnColourSeriesColourOrPalette) {
  const ColorCase& c = GetParam();
  TChartSeries* s = NewSeries("S1", c.inChart);
  s->ChangeSeriesColor(clPurple);
  s->ChangeColorEachPoint(c.colorEachPoint);
  s->AppendValue(1);
  s->AppendValue(2, "", c.own);
  // clDefault in the table stands for the default colour table's entry of the point.
  const TColor expected = c.expected == clDefault ? DefaultPaletteColor(1) : c.expected;
  EXPECT_EQ(s->PointColor(1), expected);
  EXPECT_EQ(s->LegendColor(1), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PointColorTest,
    testing::Values(ColorCase{"OwnColourWins", clYellow, true, true, clYellow},
                    ColorCase{"NullPointKeepsClNone", clNone, false, true, clNone},
                    ColorCase{"SeriesColour", clDefault, false, true, clPurple},
                    ColorCase{"ChartPalettePerPoint", clDefault, true, true, clGreen},
                    ColorCase{"DefaultTableWithoutChart", clDefault, true, false, clDefault}),
    [](const testing::TestParamInfo<ColorCase>& info) { return std::string(info.param.name); });

TEST_F(SeriesTest, ASeriesJoiningWithoutColourDrawsInThePickedPaletteColour) {
  NewSeries("S1");
  TChartSeries* s = NewSeries("S2");
  EXPECT_EQ(s->SeriesColor(), clDefault);
  EXPECT_EQ(s->DefaultColor(), clGreen);  // the fake chart picks palette entry (series count)
  EXPECT_EQ(s->EffectiveColor(), clGreen);
  s->AppendValue(1);
  EXPECT_EQ(s->PointColor(0), clGreen);
  const TPropInfo* prop = s->ClassType().FindProperty("SeriesColor");
  ASSERT_NE(prop, nullptr);
  EXPECT_FALSE(prop->IsStored(*s));
  s->ChangeSeriesColor(clNavy);
  EXPECT_TRUE(prop->IsStored(*s));
  EXPECT_EQ(s->DefaultColor(), clNavy);
}

TEST_F(SeriesTest, SeriesColourSetterSendsColourChanged) {
  TChartSeries* s = NewSeries("S1");
  chart.events.clear();
  s->ChangeSeriesColor(s->DefaultColor());  // equal to the default colour: nothing
  EXPECT_TRUE(chart.events.empty());
  s->ChangeSeriesColor(clTeal);
  EXPECT_EQ(chart.events, (std::vector<std::string>{"S1:3"}));
}

// Points (0,10) (1,50 null) (2,-20 null) (3,30): the extremes an axis takes from the series.
struct ExtremeCase {
  const char* name;
  TTreatNullsStyle treatNulls;
  double minY, maxY, minX, maxX;
};

class ExtremesTest : public SeriesTest, public testing::WithParamInterface<ExtremeCase> {};

TEST_P(ExtremesTest, NullPointsCountForRangesOnlyWhenDrawnAtTheirValue) {
  const ExtremeCase& c = GetParam();
  TChartSeries* s = NewSeries("S1");
  s->SetTreatNulls(c.treatNulls);
  s->AppendXY(0, 10);
  s->AppendXY(1, 50, "", clNone);
  s->AppendXY(2, -20, "", clNone);
  s->AppendXY(3, 30);
  EXPECT_EQ(s->ExtremeValue(false, false), c.minY);
  EXPECT_EQ(s->ExtremeValue(false, true), c.maxY);
  EXPECT_EQ(s->ExtremeValue(true, false), c.minX);
  EXPECT_EQ(s->ExtremeValue(true, true), c.maxX);
  // The axis takes its automatic range through the chart from the same values.
  chart.left.SetAutomatic(true);
  chart.left.SetAutomaticMinimum(true);
  chart.left.SetAutomaticMaximum(true);
  chart.left.AutoRange();
  EXPECT_EQ(chart.left.Minimum(), c.minY);
  EXPECT_EQ(chart.left.Maximum(), c.maxY);
  // Plain statistics of the lists still hold every value.
  EXPECT_EQ(s->LowestY(), -20);
  EXPECT_EQ(s->HighestY(), 50);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExtremesTest,
                         testing::Values(ExtremeCase{"Ignore", tnIgnore, -20, 50, 0, 3},
                                         ExtremeCase{"Skip", tnSkip, 10, 30, 0, 3},
                                         ExtremeCase{"DontPaint", tnDontPaint, 10, 30, 0, 3}),
                         [](const testing::TestParamInfo<ExtremeCase>& info) { return std::string(info.param.name); });

TEST_F(SeriesTest, ExtremesOfOnlyNullPointsAreZero) {
  TChartSeries* s = NewSeries("S1");
  s->AppendGapXY(4, 7);
  EXPECT_EQ(s->ExtremeValue(false, true), 0);
  EXPECT_EQ(s->ExtremeValue(true, false), 0);
}

// ---- Notifications ------------------------------------------------------------------------

TEST_F(SeriesTest, AnAddReachesTheEventTheDependentsAndThenTheChartInThatOrder) {
  TChartSeries* master = NewSeries("M");
  TChartSeries* dependent = NewSeries("D");
  dependent->AddDataSource(master);
  master->AppendXY(0, 5);
  (void)master->HighestY();  // statistics read: the next insert marks the list modified again
  chart.events.clear();
  chart.logRepaints = true;
  master->OnAfterAdd = [&](TChartSeries*, int index) {
    chart.events.push_back("M.OnAfterAdd " + std::to_string(index) + " D has " +
                           std::to_string(dependent->PointCount()));
  };
  dependent->OnAfterAdd = [&](TChartSeries*, int index) {
    chart.events.push_back("D.OnAfterAdd " + std::to_string(index));
  };
  master->AppendXY(1, 6, "lbl", clRed);
  EXPECT_EQ(chart.events, (std::vector<std::string>{"M.OnAfterAdd 1 D has 1", "D.OnAfterAdd 1", "repaint",
                                                    "repaint"}));
  // The dependent holds the master's points once each, with label and colour.
  EXPECT_EQ(Xs(*dependent), (std::vector<double>{0, 1}));
  EXPECT_EQ(Ys(*dependent), (std::vector<double>{5, 6}));
  EXPECT_EQ(dependent->PointLabel(1), "lbl");
  EXPECT_EQ(dependent->OwnColorAt(1), clRed);
}

TEST_F(SeriesTest, DependentsFollowDeletesClearsAndValueChangesByTheirFollowSet) {
  TChartSeries* master = NewSeries("M");
  TChartSeries* all = NewSeries("All");
  TChartSeries* addsOnly = NewSeries("AddsOnly");
  all->AddDataSource(master);
  addsOnly->AddDataSource(master);
  addsOnly->SetFollowSet({sfOnAdd});
  for (int i = 0; i < 4; ++i) master->AppendValue(i * 10);
  master->DeletePoint(1);
  EXPECT_EQ(Ys(*all), (std::vector<double>{0, 20, 30}));
  EXPECT_EQ(addsOnly->PointCount(), 4);
  master->DeletePoints(0, 2);
  EXPECT_EQ(Ys(*all), (std::vector<double>{30}));
  master->YValues()->SetValueAt(0, 99);
  EXPECT_EQ(Ys(*all), (std::vector<double>{99}));
  EXPECT_EQ(addsOnly->PointCount(), 4);
  master->ClearPoints();
  EXPECT_EQ(all->PointCount(), 0);
  EXPECT_EQ(addsOnly->PointCount(), 4);
}

TEST_F(SeriesTest, ABatchSendsNoAddedNoticesAndOneRefreshAtTheEnd) {
  TChartSeries* master = NewSeries("M");
  TChartSeries* dependent = NewSeries("D");
  dependent->AddDataSource(master);
  int masterAfterAdds = 0;
  int dependentAfterAdds = 0;
  master->OnAfterAdd = [&](TChartSeries*, int) { ++masterAfterAdds; };
  dependent->OnAfterAdd = [&](TChartSeries*, int) { ++dependentAfterAdds; };
  chart.events.clear();
  master->BeginUpdate();
  master->BeginUpdate();
  for (int i = 0; i < 1000; ++i) master->AppendValue(i);
  master->EndUpdate();
  EXPECT_EQ(dependent->PointCount(), 0) << "inner EndUpdate sends nothing";
  master->EndUpdate();
  master->EndUpdate();  // at 0: does nothing
  EXPECT_EQ(masterAfterAdds, 0);
  EXPECT_EQ(dependentAfterAdds, 0) << "the dependent copies inside its own update bracket";
  EXPECT_EQ(dependent->PointCount(), 1000);
  EXPECT_EQ(std::count(chart.events.begin(), chart.events.end(), "M:6"), 1);
  EXPECT_EQ(std::count(chart.events.begin(), chart.events.end(), "D:6"), 1);
}

TEST_F(SeriesTest, TitleActiveAndMembershipChangesReachTheChart) {
  TChartSeries* s = NewSeries("S1");
  EXPECT_EQ(chart.events, (std::vector<std::string>{"S1:3", "S1:0"}));
  chart.events.clear();
  s->ChangeTitle("Channel 1");
  s->ChangeTitle("Channel 1");
  s->ChangeActive(false);
  s->ChangeActive(false);
  s->ChangeParentChart(nullptr);
  EXPECT_EQ(chart.events, (std::vector<std::string>{"S1:2", "S1:5", "S1:1", "S1:7"}));
  EXPECT_EQ(s->GetHorizAxis(), nullptr);
}

// ---- Data sources -------------------------------------------------------------------------

TEST_F(SeriesTest, ASeriesCannotBeItsOwnDataSource) {
  TChartSeries* alone = NewSeries("Alone", false);
  try {
    alone->AddDataSource(alone);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "No ParentChart to validate DataSource");
  }
  TChartSeries* member = NewSeries("Member");
  try {
    member->AddDataSource(member);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "No valid DataSource: Member");
  }
}

TEST_F(SeriesTest, CircularSourcesAreRefusedAndRepeatedSourcesIgnored) {
  TChartSeries* a = NewSeries("A");
  TChartSeries* b = NewSeries("B");
  EXPECT_EQ(b->AddDataSource(a), 0);
  EXPECT_EQ(b->AddDataSource(a), -1);
  EXPECT_THROW(a->AddDataSource(b), ChartException);
  EXPECT_EQ(a->DataSourceCount(), 0);
}

TEST_F(SeriesTest, ADestroyedSourceLeavesItsDependents) {
  TChartSeries* a = NewSeries("A");
  TChartSeries* b = NewSeries("B");
  b->AddDataSource(a);
  a->AppendValue(3);
  ASSERT_EQ(b->PointCount(), 1);
  delete a;
  EXPECT_EQ(b->DataSourceCount(), 0);
  EXPECT_EQ(b->PointCount(), 0);
  EXPECT_EQ(chart.series.size(), 1u);
}

TEST_F(SeriesTest, ReplacingTheDataSourceLeavesTheOldOne) {
  TChartSeries* a = NewSeries("A");
  TChartSeries* b = NewSeries("B");
  TChartSeries* c = NewSeries("C");
  c->SetDataSource(a);
  c->SetDataSource(b);
  EXPECT_EQ(c->DataSource(), b);
  EXPECT_EQ(a->DependentCount(), 0);
  EXPECT_EQ(b->DependentCount(), 1);
  c->SetDataSource(nullptr);
  EXPECT_EQ(c->DataSourceCount(), 0);
  EXPECT_EQ(b->DependentCount(), 0);
}

// Taking an entry out of the data-source list is a removal of that source by the series: the
// source stops feeding it (no dependent entry left behind), and it reloads.
TEST_F(SeriesTest, RemovingAnEntryFromTheDataSourceListRemovesTheSource) {
  TChartSeries* a = NewSeries("A");
  TChartSeries* b = NewSeries("B");
  TChartSeries* c = NewSeries("C");
  c->AddDataSource(a);
  c->AddDataSource(b);
  ASSERT_EQ(b->DependentCount(), 1);
  const int reloads = chart.reloads;
  c->DataSources().Remove(b);  // not the current DataSource: only this entry goes
  EXPECT_EQ(c->DataSourceCount(), 1);
  EXPECT_EQ(c->DataSource(), a);
  EXPECT_EQ(b->DependentCount(), 0);
  EXPECT_GT(chart.reloads, reloads);
  b->AppendValue(7);
  EXPECT_EQ(c->PointCount(), 0) << "a removed source still feeds the series";
  a->AppendValue(5);
  EXPECT_EQ(c->PointCount(), 1);

  c->DataSources().Delete(0);  // the current DataSource: the list empties and the points go
  EXPECT_EQ(c->DataSourceCount(), 0);
  EXPECT_EQ(a->DependentCount(), 0);
  EXPECT_EQ(c->PointCount(), 0);
  a->AppendValue(6);
  EXPECT_EQ(c->PointCount(), 0);
}

// ---- Axes, visible range, texts ---------------------------------------------------------------

TEST_F(SeriesTest, AxisChoicesResolveToTheChartsAxes) {
  TChartSeries* s = NewSeries("S1");
  EXPECT_EQ(s->GetHorizAxis(), &chart.bottom);
  EXPECT_EQ(s->GetVertAxis(), &chart.left);
  s->SetHorizAxis(aCustomHorizAxis);
  EXPECT_EQ(s->GetHorizAxis(), &chart.bottom) << "custom choice without a custom axis";
  s->SetHorizAxis(aTopAxis);
  s->SetVertAxis(aRightAxis);
  EXPECT_EQ(s->GetHorizAxis(), &chart.top);
  EXPECT_EQ(s->GetVertAxis(), &chart.right);
  EXPECT_TRUE(s->UsesAxis(&chart.top));
  EXPECT_FALSE(s->UsesAxis(&chart.bottom));
  chart.customAxes.push_back(std::make_unique<TChartAxis>(&chart));
  s->SetCustomVertAxis(chart.customAxes[0].get());
  EXPECT_EQ(s->VertAxis(), aCustomVertAxis);
  EXPECT_EQ(s->GetVertAxis(), chart.customAxes[0].get());
  EXPECT_EQ(s->ValuesForAxis(chart.customAxes[0].get()), s->YValues());
  s->SetCustomVertAxis(nullptr);
  EXPECT_EQ(s->VertAxis(), aLeftAxis);
}

struct RangeCase {
  const char* name;
  double axisMin, axisMax;
  bool fastLine;  // sets the draw-beyond flag
  int first, last;
};

class VisibleRangeTest : public SeriesTest, public testing::WithParamInterface<RangeCase> {};

TEST_P(VisibleRangeTest, VisibleRangeFollowsTheHorizontalAxis) {
  const RangeCase& c = GetParam();
  TChartSeries* s = c.fastLine ? new TFastLineSeries(&chart) : new TChartSeries(&chart);
  s->ChangeParentChart(&chart);
  for (int i = 0; i < 100; ++i) s->AppendXY(i, i);
  chart.SetRanges(c.axisMin, c.axisMax, 0, 100);
  s->FindVisibleRange();
  EXPECT_EQ(s->FirstVisible(), c.first);
  EXPECT_EQ(s->LastVisible(), c.last);
}

INSTANTIATE_TEST_SUITE_P(Cases, VisibleRangeTest,
                         testing::Values(RangeCase{"Inside", 10.5, 20.2, false, 11, 20},
                                         RangeCase{"DrawBeyond", 10.5, 20.2, true, 11, 21},
                                         RangeCase{"AllBelow", 150, 300, false, -1, -1},
                                         RangeCase{"EndsInside", 95.5, 300, false, 96, 99},
                                         RangeCase{"AllInside", -10, 300, false, 0, 99}),
                         [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.name); });

TEST_F(SeriesTest, DisplayNameAndTitle) {
  NewSeries("First");
  NewSeries("Second");
  TChartSeries* third = NewSeries("");
  EXPECT_EQ(third->DisplayName(), "Series3");
  EXPECT_EQ(third->TitleText(), "Series3");
  third->ChangeTitle("  ");
  EXPECT_EQ(third->TitleText(), "Series3");
  third->ChangeTitle("Oven");
  EXPECT_EQ(third->TitleText(), "Oven");
  third->AppendValue(1234.5678);
  EXPECT_EQ(third->ValueText(0), "1,234.568");
}

// ---- Texts ----------------------------------------------------------------------------------

struct LegendCase {
  const char* name;
  TLegendTextStyle style;
  int index;
  std::string expected;  // '|' stands for the legend column separator
};

class LegendTextTest : public SeriesTest, public testing::WithParamInterface<LegendCase> {};

TEST_P(LegendTextTest, LegendLinesJoinTheirColumns) {
  const LegendCase& c = GetParam();
  TChartSeries* s = NewSeries("S1", false);  // no axis: X in the value format
  s->AppendXY(1, 12, "Mon");
  s->AppendXY(2, -36);
  s->AppendXY(3, 72, "Wed");
  std::string expected = c.expected;
  std::replace(expected.begin(), expected.end(), '|', LegendColumnSeparator);
  EXPECT_EQ(s->LegendText(c.style, c.index), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LegendTextTest,
    testing::Values(LegendCase{"Plain", ltsPlain, 0, "Mon"}, LegendCase{"RightValue", ltsRightValue, 0, "Mon|12"},
                    LegendCase{"RightValueNoLabel", ltsRightValue, 1, "-36"},
                    LegendCase{"LeftValue", ltsLeftValue, 2, "72|Wed"},
                    LegendCase{"LeftPercentSigned", ltsLeftPercent, 1, "-30 %"},
                    LegendCase{"RightPercent", ltsRightPercent, 2, "Wed|60 %"},
                    LegendCase{"XAndValueAndText", ltsXAndValueAndText, 0, "1|12|Mon"},
                    LegendCase{"XAndText", ltsXAndText, 1, "2|"}),
    [](const testing::TestParamInfo<LegendCase>& info) { return std::string(info.param.name); });

// Date-time values read in the legend as dates past one day and as times of day up to it.
TEST_F(SeriesTest, DateTimeValuesShowInTheLegendAsDatesOrTimesBySize) {
  TChartSeries* s = NewSeries("S1", false);
  s->YValues()->ChangeDateTime(true);
  const double values[] = {EncodeDate(2021, 3, 4) + 0.5, 0.75, 1.0, 1.5};
  const bool asDate[] = {true, false, false, true};
  for (double v : values) s->AppendValue(v);
  for (int i = 0; i < 4; ++i) {
    const std::string format = asDate[i] ? FormatSettings().ShortDateFormat : FormatSettings().ShortTimeFormat;
    EXPECT_EQ(s->LegendText(ltsValue, i), FormatDateTime(format, values[i])) << i;
    EXPECT_EQ(s->LegendText(ltsRightValue, i), FormatDateTime(format, values[i])) << i;
  }
  EXPECT_EQ(s->ValueText(1), "0.75") << "the value text stays a number";
  s->YValues()->ChangeDateTime(false);
  EXPECT_EQ(s->LegendText(ltsValue, 1), "0.75");
}

TEST_F(SeriesTest, PercentTextUsesTheAbsoluteTotal) {
  TChartSeries* s = NewSeries("S1");
  s->AppendValue(25);
  s->AppendValue(-75);
  EXPECT_EQ(s->PercentText(0, false), "25 %");
  EXPECT_EQ(s->PercentText(1, false), "75 %");
  EXPECT_EQ(s->PercentText(0, true), "25 % of 100");
  EXPECT_EQ(s->PercentText(0, true, true), "25 %\rof 100");
  TChartSeries* zeros = NewSeries("S2");
  zeros->AppendValue(0);
  zeros->AppendValue(0);
  EXPECT_EQ(zeros->PercentText(1, false), "100 %");
}

TEST_F(SeriesTest, SortingByTheXOrderMovesEveryStoreAndTellsDependentsOnce) {
  TChartSeries* s = NewSeries("S1");
  TChartSeries* d = NewSeries("D1");
  d->AddDataSource(s);
  s->XValues()->SetOrder(loNone);
  s->AppendXY(3, 30, "c", clBlue);
  s->AppendXY(1, 10, "a");
  s->AppendXY(2, 20, "b", clNone);
  s->XValues()->SetOrder(loAscending);
  s->XValues()->SortByOrder();
  EXPECT_EQ(Xs(*s), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Ys(*s), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(s->PointLabel(0), "a");
  EXPECT_EQ(s->PointLabel(2), "c");
  EXPECT_EQ(s->OwnColorAt(2), clBlue);
  EXPECT_TRUE(s->IsNullPoint(1));
  EXPECT_EQ(Ys(*d), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(d->PointLabel(2), "c");
}

TEST_F(SeriesTest, SortingByLabelsRenumbersXAndKeepsEachPointTogether) {
  TChartSeries* s = NewSeries("S1");
  s->AppendValue(3, "cherry", clRed);
  s->AppendValue(1, "apple");
  s->AppendValue(2, "Banana");
  s->SortByLabels(0);
  EXPECT_EQ(s->PointLabel(0), "cherry");
  s->SortByLabels(1);
  EXPECT_EQ(s->PointLabel(0), "Banana");  // case-sensitive: capitals first
  EXPECT_EQ(s->PointLabel(1), "apple");
  EXPECT_EQ(s->PointLabel(2), "cherry");
  EXPECT_EQ(Ys(*s), (std::vector<double>{2, 1, 3}));
  EXPECT_EQ(Xs(*s), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(s->OwnColorAt(2), clRed);
  s->SortByLabels(2);
  EXPECT_EQ(s->PointLabel(0), "cherry");
  EXPECT_EQ(s->PointLabel(2), "Banana");
}

TEST_F(SeriesTest, CheckOrderSortsByTheMandatoryValuesAndRenumbersX) {
  TChartSeries* s = NewSeries("S1");
  s->AppendValue(30, "c");
  s->AppendValue(10, "a");
  s->AppendValue(20, "b");
  s->YValues()->SetOrder(loAscending);
  s->XValues()->SetOrder(loNone);
  s->CheckOrder();
  EXPECT_EQ(Ys(*s), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(Xs(*s), (std::vector<double>{0, 1, 2}));
  EXPECT_EQ(s->PointLabel(0), "a");
}

}  // namespace
