// Functions: the period walks (points and X ranges, alignment, degenerate periods that once
// hung), the whole-source and several-source computations with null handling, the series side
// (SetFunction, AttachTo, Assign, reload on a setting change, ownership) and the gallery
// registry.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/FastLineSeries.h"
#include "chart/KelFunction.h"
#include "chart/SeriesTypes.h"
#include "chart/SmoothingFunction.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"

namespace {

// A concrete function for the framework: the sum of the collected values.
class SumFunction : public TKelFunction {
 public:
  explicit SumFunction(TComponent* owner = nullptr, bool* destroyed = nullptr)
      : TKelFunction(owner), destroyed_(destroyed) {}
  ~SumFunction() override {
    if (destroyed_) *destroyed_ = true;
  }
  double EmptyResult(const std::vector<double>& values) override {
    return std::accumulate(values.begin(), values.end(), 0.0);
  }

 private:
  bool* destroyed_;
};

struct Point {
  double x, y;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

std::vector<Point> PointsOf(const TChartSeries& s) {
  std::vector<Point> v;
  for (int i = 0; i < s.PointCount(); ++i) v.push_back({s.XValueAt(i), s.YValueAt(i)});
  return v;
}

class FunctionTest : public testing::Test {
 protected:
  // A source in the chart with points (x, 10 x + 1) and a parent series computed from it.
  TChartSeries* Source(const std::vector<double>& xs, TChartSeries* s = nullptr) {
    if (!s) s = new TChartSeries(&panel);
    s->ChangeParentChart(&panel);
    for (double x : xs) s->AppendXY(x, 10 * x + 1);
    return s;
  }
  TChartSeries* Parent(TKelFunction* function, TChartSeries* source) {
    auto* parent = new TChartSeries(&panel);
    parent->ChangeParentChart(&panel);
    parent->SetFunction(function);
    parent->SetDataSource(source);
    return parent;
  }

  TCustomAxisPanel panel{nullptr};
};

TEST_F(FunctionTest, NegativePeriodRaisesItsMessageAndKeepsThePeriod) {
  SumFunction f;
  f.SetPeriod(2);
  try {
    f.SetPeriod(-1);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_EQ(std::string(e.what()), "Function Period should be >= 0");
  }
  EXPECT_EQ(f.Period(), 2);
  EXPECT_THROW(f.SetPeriod(std::nan("")), ChartException) << "not a number is no period";
  EXPECT_EQ(f.Period(), 2);
}

struct PeriodCase {
  const char* name;
  TFunctionPeriodStyle style;
  double period;
  std::vector<double> xs;
  std::vector<Point> expected;  // positions and sums of y = 10 x + 1
};

class PeriodWalk : public FunctionTest, public testing::WithParamInterface<PeriodCase> {};

TEST_P(PeriodWalk, GivesOnePointPerPeriod) {
  const PeriodCase& c = GetParam();
  auto* f = new SumFunction;
  f->SetPeriodStyle(c.style);
  f->SetPeriod(c.period);
  TChartSeries* parent = Parent(f, Source(c.xs));
  const std::vector<Point> got = PointsOf(*parent);
  ASSERT_EQ(got.size(), c.expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].x, c.expected[i].x, 1e-9) << "point " << i;
    EXPECT_NEAR(got[i].y, c.expected[i].y, 1e-9) << "point " << i;
  }
}

const std::vector<double> kSeven{0, 1, 2, 3, 4, 5, 6};

INSTANTIATE_TEST_SUITE_P(
    Table, PeriodWalk,
    testing::Values(
        // 0..2 and 3..5; the trailing point 6 forms no period.
        PeriodCase{"Points3", psNumPoints, 3, kSeven, {{1, 33}, {4, 123}}},
        // 2.5 and 1.5 both round to 2 (halves to even).
        PeriodCase{"Points2half", psNumPoints, 2.5, kSeven, {{0.5, 12}, {2.5, 52}, {4.5, 92}}},
        PeriodCase{"Points1half", psNumPoints, 1.5, kSeven, {{0.5, 12}, {2.5, 52}, {4.5, 92}}},
        // Periods that round to 0 take one point each (they used to loop forever).
        PeriodCase{"PointsHalf",
                   psNumPoints,
                   0.5,
                   kSeven,
                   {{0, 1}, {1, 11}, {2, 21}, {3, 31}, {4, 41}, {5, 51}, {6, 61}}},
        PeriodCase{"PointsThird",
                   psNumPoints,
                   0.3,
                   kSeven,
                   {{0, 1}, {1, 11}, {2, 21}, {3, 31}, {4, 41}, {5, 51}, {6, 61}}},
        // A period beyond any integer takes every point at once.
        PeriodCase{"PointsHuge", psNumPoints, 1e300, kSeven, {{3, 217}}},
        PeriodCase{"Range2", psRange, 2, kSeven, {{0.999, 12}, {2.999, 52}, {4.999, 92}, {6.999, 61}}},
        // The range 2..4 holds no point: a point of value 0 marks it.
        PeriodCase{"RangeWithEmptyPeriod", psRange, 2, {0, 1, 5}, {{0.999, 12}, {2.999, 0}, {4.999, 51}}}),
    [](const testing::TestParamInfo<PeriodCase>& info) { return std::string(info.param.name); });

TEST_F(FunctionTest, AlignmentPlacesThePeriodPointAtItsStartOrEnd) {
  struct Case {
    TFunctionPeriodAlign align;
    std::vector<double> positions;
  };
  for (const Case& c : {Case{paFirst, {0, 3}}, Case{paLast, {2, 5}}, Case{paCenter, {1, 4}}}) {
    auto* f = new SumFunction;
    f->SetPeriod(3);
    f->SetPeriodAlign(c.align);
    TChartSeries* parent = Parent(f, Source(kSeven));
    std::vector<double> got;
    for (const Point& p : PointsOf(*parent)) got.push_back(p.x);
    EXPECT_EQ(got, c.positions) << "align " << c.align;
  }
}

TEST_F(FunctionTest, RangeWalkEndsWhereTheStartCannotAdvance) {
  // No chart, so no horizontal axis to step on: nothing, and the call returns.
  TChartSeries source(nullptr), parent(nullptr);
  for (double x : kSeven) source.AppendXY(x, x);
  auto* f = new SumFunction;
  f->SetPeriodStyle(psRange);
  f->SetPeriod(2);
  parent.SetFunction(f);
  parent.CopyAllFrom(&source);
  EXPECT_EQ(parent.PointCount(), 0);
  // A step too small to move a date-sized X.
  auto* g = new SumFunction;
  g->SetPeriodStyle(psRange);
  g->SetPeriod(1e-13);
  TChartSeries* dates = Source({45000, 45000.5, 45001});
  TChartSeries* result = Parent(g, dates);
  EXPECT_EQ(result->PointCount(), 0);
}

TEST_F(FunctionTest, ARangePeriodOfADayStepsByCalendarDays) {
  auto* f = new SumFunction;
  f->SetPeriodStyle(psRange);
  f->SetPeriodAlign(paFirst);
  f->SetPeriod(1);  // one day: a date-time step of the axes
  TChartSeries* parent = Parent(f, Source({45000, 45000.25, 45001.5, 45002.75}));
  EXPECT_EQ(PointsOf(*parent), (std::vector<Point>{{45000, 450001 + 450003.5}, {45001, 450016}, {45002, 450028.5}}));
}

TEST_F(FunctionTest, PeriodZeroComputesTheWholeSource) {
  auto* f = new SumFunction;
  TChartSeries* parent = Parent(f, Source(kSeven));
  EXPECT_EQ(PointsOf(*parent), (std::vector<Point>{{3, 217}}));
  // A fast line series (no centre point) gets the value at both ends.
  auto* line = new TFastLineSeries(&panel);
  line->ChangeParentChart(&panel);
  line->SetFunction(new SumFunction);
  line->SetDataSource(Source({2, 4}));
  EXPECT_EQ(PointsOf(*line), (std::vector<Point>{{2, 62}, {4, 62}}));
}

TEST_F(FunctionTest, NullPointsCountOnlyWithIncludeNulls) {
  TChartSeries* source = Source({0, 1});
  source->AppendGapXY(2, 100);
  auto* f = new SumFunction;
  TChartSeries* parent = Parent(f, source);
  EXPECT_EQ(parent->YValueAt(0), 1 + 11 + 100);
  f->SetIncludeNulls(false);  // recalculates
  ASSERT_EQ(parent->PointCount(), 1);
  EXPECT_EQ(parent->YValueAt(0), 1 + 11);
}

TEST_F(FunctionTest, SeveralSourcesByIndexFollowTheLongestSource) {
  TChartSeries* a = Source({0, 1});
  TChartSeries* b = Source({5, 6, 7});
  b->Labels().SetLabel(2, "last");
  auto* parent = new TChartSeries(&panel);
  parent->ChangeParentChart(&panel);
  parent->SetFunction(new SumFunction);
  parent->AddDataSource(a);
  parent->AddDataSource(b);
  // Positions from b (the longest); index 2 only exists in b.
  EXPECT_EQ(PointsOf(*parent), (std::vector<Point>{{5, 1 + 51}, {6, 11 + 61}, {7, 71}}));
  EXPECT_EQ(parent->PointLabel(2), "last");
}

TEST_F(FunctionTest, SeveralSourcesByValueMatchEqualX) {
  TChartSeries* a = Source({0, 1, 2});
  TChartSeries* b = Source({1, 2, 3});
  auto* parent = new TChartSeries(&panel);
  parent->ChangeParentChart(&panel);
  auto* f = new SumFunction;
  f->SetCalcByValue(true);
  parent->SetFunction(f);
  parent->AddDataSource(a);
  parent->AddDataSource(b);
  // X held by both sources gets the sum; the others become gap points.
  EXPECT_EQ(PointsOf(*parent), (std::vector<Point>{{0, 1}, {1, 22}, {2, 42}, {3, 31}}));
  EXPECT_TRUE(parent->IsNullPoint(0));
  EXPECT_FALSE(parent->IsNullPoint(1));
  EXPECT_FALSE(parent->IsNullPoint(2));
  EXPECT_TRUE(parent->IsNullPoint(3));
  f->SetIncludeNulls(false);
  EXPECT_EQ(PointsOf(*parent), (std::vector<Point>{{1, 22}, {2, 42}}));
}

TEST_F(FunctionTest, ValueSourceNamesTheListTheFunctionReads) {
  auto* source = new TChartSeries(&panel);
  auto* extra = new TChartValueList(source, "High");
  extra->PendingValue = 5;
  source->AppendXY(0, 1);
  extra->PendingValue = 7;
  source->AppendXY(1, 11);
  source->ChangeParentChart(&panel);
  EXPECT_EQ(source->ValueListNamed("high"), extra);
  EXPECT_EQ(source->ValueListNamed("none"), source->MandatoryValues());
  auto* f = new SumFunction;
  auto* parent = new TChartSeries(&panel);
  parent->ChangeParentChart(&panel);
  parent->MandatoryValues()->ChangeValueSource("HIGH");
  parent->SetFunction(f);
  parent->SetDataSource(source);
  ASSERT_EQ(parent->PointCount(), 1);
  EXPECT_EQ(parent->YValueAt(0), 12);
}

TEST_F(FunctionTest, TheSeriesOwnsItsFunctionAndForgetsOneThatGoes) {
  bool destroyed = false;
  {
    TChartSeries series(nullptr);
    series.SetFunction(new SumFunction(nullptr, &destroyed));
    auto* other = new SumFunction;
    series.SetFunction(other);  // frees the first
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(other->ParentSeries(), &series);
    delete other;  // freed elsewhere: the series forgets it
    EXPECT_EQ(series.Function(), nullptr);
    destroyed = false;
    series.SetFunction(new SumFunction(nullptr, &destroyed));
  }
  EXPECT_TRUE(destroyed) << "the series frees its function";
}

TEST_F(FunctionTest, AttachToAndAssignMoveTheFunction) {
  TChartSeries* source = Source(kSeven);
  auto* f = new SumFunction;
  TChartSeries* first = Parent(f, source);
  auto* second = new TChartSeries(&panel);
  second->ChangeParentChart(&panel);
  f->AttachTo(second);
  EXPECT_EQ(first->Function(), nullptr);
  EXPECT_EQ(second->Function(), f);
  EXPECT_EQ(f->ParentSeries(), second);
  auto* third = new TChartSeries(&panel);
  third->ChangeParentChart(&panel);
  third->Assign(second);
  EXPECT_EQ(third->Function(), f);
  EXPECT_EQ(second->Function(), nullptr);
}

TEST_F(FunctionTest, AssignCopiesTheSettings) {
  SumFunction a, b;
  a.SetCalcByValue(true);
  a.SetIncludeNulls(false);
  a.SetPeriod(4);
  a.SetPeriodStyle(psRange);
  a.SetPeriodAlign(paLast);
  b.Assign(&a);
  EXPECT_TRUE(b.CalcByValue());
  EXPECT_FALSE(b.IncludeNulls());
  EXPECT_EQ(b.Period(), 4);
  EXPECT_EQ(b.PeriodStyle(), psRange);
  EXPECT_EQ(b.PeriodAlign(), paLast);
}

// A function's series is a dependent of its source that takes no single points: it is computed
// again whenever its source is refreshed or a value changes, and emptied with its source.
TEST_F(FunctionTest, AFunctionOfASeriesFollowsItsSourceByTheKindOfChange) {
  struct Case {
    const char* name;
    void (*change)(TChartSeries& source);
    bool followChanges;           // sfOnChange in the function series' follow set
    std::vector<Point> expected;  // the sum of y = 10 x + 1 at the middle of the X range
  };
  const Case cases[] = {
      {"aBatchOfAddsIsComputedOnceAtItsEnd",
       [](TChartSeries& s) {
         s.BeginUpdate();
         s.AppendXY(3, 31);
         s.AppendXY(4, 41);
         s.EndUpdate();
       },
       true, {{2, 105}}},
      {"aBatchOfDeletesToo",
       [](TChartSeries& s) {
         s.BeginUpdate();
         s.DeletePoint(0);
         s.EndUpdate();
       },
       true, {{1.5, 32}}},
      {"aChangedValueIsComputedAgain", [](TChartSeries& s) { s.YValues()->SetValueAt(0, 101); }, true, {{1, 133}}},
      {"aChangedValueIsNotFollowedWithoutOnChange", [](TChartSeries& s) { s.YValues()->SetValueAt(0, 101); }, false,
       {{1, 33}}},
      {"clearingTheSourceEmptiesTheFunction", [](TChartSeries& s) { s.ClearPoints(); }, true, {}},
      {"aSinglePointAddedIsNotTakenOver", [](TChartSeries& s) { s.AppendXY(3, 31); }, true, {{1, 33}}},
      {"aSinglePointDeletedIsNotTakenOver", [](TChartSeries& s) { s.DeletePoint(2); }, true, {{1, 33}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TChartSeries* source = Source({0, 1, 2});
    TChartSeries* parent = Parent(new SumFunction, source);
    if (!c.followChanges) parent->SetFollowSet({sfOnAdd, sfOnDelete, sfOnClear});
    // A plain follower of the function's series sees every result it gets.
    auto* copy = new TChartSeries(&panel);
    copy->ChangeParentChart(&panel);
    copy->SetDataSource(parent);
    ASSERT_EQ(PointsOf(*parent), (std::vector<Point>{{1, 33}}));
    c.change(*source);
    EXPECT_EQ(PointsOf(*parent), c.expected);
    EXPECT_EQ(PointsOf(*copy), c.expected);
    EXPECT_FALSE(parent->Updating());
    delete copy;
    delete parent;
    delete source;
  }
}

TEST_F(FunctionTest, AFunctionWithoutSourceLeavesNoPoints) {
  auto* parent = new TChartSeries(&panel);
  parent->ChangeParentChart(&panel);
  parent->AppendXY(1, 1);
  parent->SetFunction(new SumFunction);
  EXPECT_EQ(parent->PointCount(), 0);
  EXPECT_FALSE(parent->Updating());
}

// ---- Gallery registry -------------------------------------------------------------------------

TEST(GalleryRegistryTest, ASecondRegistrationWithSubIndexZeroIsIgnored) {
  const TClassInfo* cls = &TKelFunction::StaticClass();
  const int before = SeriesTypeList().Count();
  RegisterGalleryFunction(cls, "Sum", "Tests", 1);
  RegisterGalleryFunction(cls, "Sum", "Tests", 1);
  EXPECT_EQ(SeriesTypeList().Count(), before + 1);
  RegisterGalleryType(nullptr, cls, "Sum variant", 2, 1, "Tests");
  EXPECT_EQ(SeriesTypeList().Count(), before + 2) << "a sub-index other than 0 adds a variant";
  RemoveGalleryFunctions({cls});
  EXPECT_EQ(SeriesTypeList().Count(), before);
  EXPECT_EQ(SeriesTypeList().Find(nullptr, cls), nullptr);
}

TEST(GalleryRegistryTest, SmoothingIsOfferedOnTheExtendedPageWhileStarted) {
  SmoothingFunctionStartup();
  const TKelSeriesType* type = SeriesTypeList().Find(nullptr, &TSmoothingFunction::StaticClass());
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(type->Description, "Smoothing");
  EXPECT_EQ(type->GalleryPage, "Extended");
  EXPECT_EQ(type->SeriesClass, nullptr);
  EXPECT_EQ(GetClass("TSmoothingFunction"), &TSmoothingFunction::StaticClass()) << "registered for layouts";
  SmoothingFunctionShutdown();
  EXPECT_EQ(SeriesTypeList().Find(nullptr, &TSmoothingFunction::StaticClass()), nullptr);
}

TEST(GalleryRegistryTest, RemovingBySeriesClassLeavesFunctionEntries) {
  const TClassInfo* series = &TFastLineSeries::StaticClass();
  const TClassInfo* function = &TSmoothingFunction::StaticClass();
  RegisterGalleryType(series, nullptr, "Line", 0, 1, "Standard");
  RegisterGalleryType(series, function, "Smoothed line", 0, 1, "Standard");
  RegisterGalleryFunction(function, "Smoothing", "Extended", 1);
  RemoveGalleryTypes(true, series);
  EXPECT_EQ(SeriesTypeList().Find(series, nullptr), nullptr);
  EXPECT_EQ(SeriesTypeList().Find(series, function), nullptr);
  EXPECT_NE(SeriesTypeList().Find(nullptr, function), nullptr);
  RemoveGalleryTypes(false, function);
  EXPECT_EQ(SeriesTypeList().Find(nullptr, function), nullptr);
}

}  // namespace

namespace {

TEST(FunctionLayoutTest, AFunctionIsStoredInsideItsSeriesAndAttachedAgainWhenRead) {
  RegisterClasses({&TCustomAxisPanel::StaticClass(), &TFastLineSeries::StaticClass(),
                   &TSmoothingFunction::StaticClass()});
  TCustomAxisPanel panel(nullptr);
  panel.SetName("Chart");
  auto* source = new TFastLineSeries(&panel);
  source->SetName("Source");
  source->ChangeParentChart(&panel);
  for (int i = 0; i < 4; ++i) source->AppendXY(i, i * i);
  auto* smooth = new TFastLineSeries(&panel);
  smooth->SetName("Smooth");
  smooth->ChangeParentChart(&panel);
  auto* f = new TSmoothingFunction(&panel);
  f->SetName("Smoothing1");
  f->SetFactor(3);
  smooth->SetFunction(f);
  smooth->SetDataSource(source);
  ASSERT_EQ(smooth->PointCount(), 13);

  TMemoryStream stream;
  stream.WriteComponent(&panel);
  const std::string text = ObjectBinaryToText(
      std::string_view(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())));
  const size_t series = text.find("object Smooth: TFastLineSeries");
  const size_t function = text.find("object Smoothing1: TSmoothingFunction");
  ASSERT_NE(series, std::string::npos) << text;
  ASSERT_NE(function, std::string::npos) << text;
  EXPECT_LT(series, function) << "inside its series";
  EXPECT_NE(text.find("Factor = 3", function), std::string::npos) << text;

  stream.SetPosition(0);
  std::unique_ptr<TCustomAxisPanel> copy(static_cast<TCustomAxisPanel*>(stream.ReadComponent(nullptr)));
  auto* readSmooth = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Smooth"));
  ASSERT_NE(readSmooth, nullptr);
  auto* readFunction = dynamic_cast<TSmoothingFunction*>(readSmooth->Function());
  ASSERT_NE(readFunction, nullptr);
  EXPECT_EQ(readFunction->Factor(), 3);
  EXPECT_EQ(readFunction->ParentSeries(), readSmooth);
}

}  // namespace
