// The rest of series drawing: the point order (draw-order lists, inverted axes), per-point canvas
// elements and the template rule, the chart's own point painter, the legend symbol in pixels
// (colour, transparency, picture), depth ranges, gaps between rectangles, label styles per axis,
// series groups (also in layouts), selection and hover, and the per-point visuals store.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "support/ColorNear.h"
#include "ChartPanelTestSupport.h"
#include "SeriesTestSupport.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "chart/AxisPanel.h"
#include "chart/FastLineSeries.h"
#include "chart/SeriesGroups.h"
#include "chart/SeriesSelection.h"
#include "chart/VisualsList.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"

namespace {

// Records the points it is asked to paint and may supply its own draw order.
class LoggingSeries : public TChartSeries {
 public:
  explicit LoggingSeries(TComponent* owner) : TChartSeries(owner) {}
  void PaintPoint(int index) override { painted.push_back(index); }
  void CollectDrawOrder(int, int, std::vector<int>& out) override { out = order; }
  std::vector<int> painted;
  std::vector<int> order;
};

// Records the canvas elements opened: their names and whether a transform came with them.
class ElementCanvas : public TKelCanvas3D {
 public:
  int BeginElement(const std::string& name, int data, const TElementTransform* transform) override {
    names.push_back(name);
    transforms.push_back(transform != nullptr);
    ++depth;
    return data;
  }
  void EndElement() override { --depth; }
  std::vector<std::string> names;
  std::vector<bool> transforms;
  int depth = 0;
};

// A stand-in chart whose canvas groups elements and whose own painter takes the even points.
class GroupingChart : public FakeSeriesChart {
 public:
  bool GroupsPointElements() const override { return grouping; }
  bool PaintPointOf(TChartSeries&, int index) override {
    if (!painterTakesEven || index % 2 != 0) return false;
    chartPainted.push_back(index);
    return true;
  }
  bool grouping = true;
  bool painterTakesEven = false;
  std::vector<int> chartPainted;
};

class PaintOrderTest : public testing::Test {
 protected:
  void SetUp() override {
    chart.canvas = std::make_unique<ElementCanvas>();
    series = new LoggingSeries(&chart);
    series->ChangeParentChart(&chart);
    for (int i = 0; i < 5; ++i) series->AppendXY(i * 10, 50);
    chart.SetRanges(0, 200, 0, 100);
    series->FindVisibleRange();
  }
  ElementCanvas& Canvas() { return static_cast<ElementCanvas&>(*chart.canvas); }

  GroupingChart chart;
  LoggingSeries* series = nullptr;
};

TEST_F(PaintOrderTest, PointsGoByIndexOrByTheSeriesOrderTurnedWithTheAxis) {
  struct Case {
    const char* name;
    std::vector<int> order;
    bool inverted;
    std::vector<int> expected;
  };
  for (const Case& c : {Case{"index", {}, false, {0, 1, 2, 3, 4}}, Case{"index inverted", {}, true, {4, 3, 2, 1, 0}},
                        Case{"list", {3, 0, 2}, false, {3, 0, 2}}, Case{"list inverted", {3, 0, 2}, true, {2, 0, 3}}}) {
    series->painted.clear();
    series->order = c.order;
    chart.bottom.SetInverted(c.inverted);
    series->PaintAllPoints();
    EXPECT_EQ(series->painted, c.expected) << c.name;
  }
}

TEST_F(PaintOrderTest, EachPointIsAnElementNamedByItsIndex) {
  series->PaintAllPoints();
  EXPECT_EQ(Canvas().names, (std::vector<std::string>{"0", "1", "2", "3", "4"}));
  EXPECT_EQ(Canvas().depth, 0);
  EXPECT_EQ(Canvas().transforms, std::vector<bool>(5, false)) << "no visuals: no transform";
}

TEST_F(PaintOrderTest, ADisabledTemplateOpensNoElementsAndAnEnabledOneGivesEachPointItsVisual) {
  TSeriesPointVisual model;
  model.Enabled = false;
  series->Visuals().SetTemplate(&model);
  series->PaintAllPoints();
  EXPECT_TRUE(Canvas().names.empty());
  EXPECT_EQ(series->painted.size(), 5u) << "the points are still painted";
  model.Enabled = true;
  model.Transform.Enabled = true;
  model.Transform.Angle = 30;
  series->PaintAllPoints();
  EXPECT_EQ(Canvas().names.size(), 5u);
  EXPECT_EQ(Canvas().transforms, std::vector<bool>(5, true));
  ASSERT_NE(series->Visuals().StoredAt(2), nullptr);
  EXPECT_EQ(series->Visuals().StoredAt(2)->Transform.Angle, 30);
  EXPECT_NE(series->Visuals().StoredAt(2), &model) << "a copy made for the point";
}

TEST_F(PaintOrderTest, WithoutGroupingNoElementsAreOpened) {
  chart.grouping = false;
  series->PaintAllPoints();
  EXPECT_TRUE(Canvas().names.empty());
  EXPECT_EQ(series->painted.size(), 5u);
}

TEST_F(PaintOrderTest, TheChartsPainterTakesThePointsItPaints) {
  chart.painterTakesEven = true;
  series->PaintAllPoints();
  EXPECT_EQ(chart.chartPainted, (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(series->painted, (std::vector<int>{1, 3}));
}

TEST_F(PaintOrderTest, APointThatRaisesClosesItsElement) {
  class Failing : public LoggingSeries {
   public:
    using LoggingSeries::LoggingSeries;
    void PaintPoint(int index) override {
      if (index == 2) throw ChartException("paint failed");
      LoggingSeries::PaintPoint(index);
    }
  };
  auto* failing = new Failing(&chart);
  failing->ChangeParentChart(&chart);
  for (int i = 0; i < 4; ++i) failing->AppendXY(i, 1);
  failing->FindVisibleRange();
  EXPECT_THROW(failing->PaintAllPoints(), ChartException);
  EXPECT_EQ(Canvas().depth, 0);
}

// ---- Legend symbol in pixels -----------------------------------------------------------------

class PictureSeries : public TChartSeries {
 public:
  explicit PictureSeries(TComponent* owner) : TChartSeries(owner) {}
  TGraphic* LegendSymbolGraphic() override { return graphic; }
  TGraphic* graphic = nullptr;
};

// Within a few steps per channel (stretching may smooth a solid colour a little).
bool IsNear(TColor a, TColor b) { return ColorNear(a, b, 8); }

class LegendSymbolTest : public testing::Test {
 protected:
  void SetUp() override {
    chart.AttachCanvas();
    series = new PictureSeries(&chart);
    series->ChangeParentChart(&chart);
    series->AppendXY(0, 1, {}, clRed);
    series->AppendXY(1, 1, {}, clBlue);
    chart.canvas->Pen()->SetColor(clBlack);
  }
  std::unique_ptr<TBitmap> SolidBitmap(TColor color) {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(4, 4);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(color));
    RECT r{0, 0, 4, 4};
    FillRect(b->Canvas()->Handle(), &r, brush);
    DeleteObject(brush);
    return b;
  }

  FakeSeriesChart chart;
  PictureSeries* series = nullptr;
  const TRect box{20, 20, 40, 30};
};

TEST_F(LegendSymbolTest, APointsSymbolIsFilledWithItsColourInsideTheRectangle) {
  series->PaintLegendSymbol(1, box);
  EXPECT_EQ(chart.Pixel(30, 25), clBlue);
  EXPECT_GT(chart.Count(clBlue, 21, 21, 38, 28), 100);
  EXPECT_EQ(chart.Count(clBlue) - chart.Count(clBlue, 20, 20, 40, 30), 0) << "nothing outside";
  series->PaintLegendSymbol(0, box);
  EXPECT_EQ(chart.Pixel(30, 25), clRed);
}

TEST_F(LegendSymbolTest, TransparencyBlendsTheSymbolWithWhatIsBehind) {
  series->ChangeTransparency(50);
  series->PaintLegendSymbol(1, box);
  const TColor c = chart.Pixel(30, 25);
  const int red = c & 0xFF, blue = (c >> 16) & 0xFF;
  EXPECT_NE(c, clBlue);
  EXPECT_GT(red, 80) << "white shows through";
  EXPECT_LT(red, 180);
  EXPECT_GT(blue, 200);
  EXPECT_EQ(chart.canvas->CurrentTransparency, 0) << "the group is closed";
}

TEST_F(LegendSymbolTest, TheSeriesPictureIsStretchedIntoTheSymbol) {
  auto picture = SolidBitmap(clLime);
  series->graphic = picture.get();
  series->PaintLegendSymbol(-1, box);
  EXPECT_TRUE(IsNear(chart.Pixel(30, 25), clLime));
  EXPECT_TRUE(IsNear(chart.Pixel(21, 21), clLime));
  EXPECT_EQ(chart.Pixel(45, 25), clWhite);
}

TEST_F(LegendSymbolTest, APointsPictureWinsOverItsColour) {
  auto* picture = new TKelPicture;
  auto bitmap = SolidBitmap(clYellow);
  picture->Assign(bitmap.get());
  series->Pictures().PutPicture(1, picture);
  series->PaintLegendSymbol(1, box);
  EXPECT_TRUE(IsNear(chart.Pixel(30, 25), clYellow));
}

// A legend row: the whole series in its effective colour, a point in its own, nothing for a
// null point; a line series draws its pen across the middle, no thicker than half the row.
TEST_F(LegendSymbolTest, ALegendItemIsFilledInTheColourOfTheSeriesOrOfItsPoint) {
  series->ChangeSeriesColor(clGreen);
  series->AppendXY(2, 1, {}, clNone);
  struct Case {
    int index;
    TColor expected;
  };
  const Case cases[] = {{-1, clGreen}, {1, clBlue}, {0, clRed}, {2, clWhite}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    chart.canvas->Brush()->SetColor(clWhite);
    chart.canvas->Brush()->SetStyle(bsSolid);
    chart.canvas->FillRect(TRect(0, 0, 200, 100));
    series->PaintLegendItem(c.index, box);
    EXPECT_EQ(chart.Pixel(30, 25), c.expected);
    EXPECT_EQ(chart.Count(c.expected, 0, 0, 199, 99) - chart.Count(c.expected, 20, 20, 40, 30),
              c.expected == clWhite ? 200 * 100 - 21 * 11 : 0)
        << "nothing outside the row's box";
  }
}

TEST_F(LegendSymbolTest, ALineSeriesLegendItemIsAHorizontalLineAtMostHalfTheRowHigh) {
  auto* line = new TFastLineSeries(&chart);
  line->ChangeParentChart(&chart);
  line->ChangeSeriesColor(clFuchsia);
  line->Pen()->SetWidth(20);
  line->AppendXY(0, 1);
  line->PaintLegendItem(-1, box);
  EXPECT_EQ(chart.Pixel(30, 25), clFuchsia);
  EXPECT_EQ(chart.Count(clFuchsia, 22, 21, 38, 21), 0) << "row 21 is above the cut pen";
  EXPECT_EQ(chart.Count(clFuchsia, 22, 29, 38, 29), 0) << "row 29 is below the cut pen";
  EXPECT_GT(chart.Count(clFuchsia, 22, 24, 38, 26), 3 * 10) << "the middle rows carry the line";
  EXPECT_EQ(line->Pen()->Width(), 20) << "the series keeps its own pen";
}

// ---- Depth, gaps and label styles ------------------------------------------------------------

class DepthChart : public FakeSeriesChart {
 public:
  bool View3D() const override { return view3D; }
  int SeriesDepth() const override { return 10; }
  bool view3D = true;
};

TEST(SeriesGeometryTest, DepthRangeFollowsTheOrderAndTheSeriesDepth) {
  struct Case {
    const char* name;
    bool view3D;
    int depth;
    int counter;
    int start, end, middle;
  };
  for (const Case& c : {Case{"3D auto", true, -1, 0, 10, 20, 15}, Case{"3D own depth", true, 4, 0, 10, 14, 12},
                        Case{"3D third", true, -1, 2, 30, 40, 35}, Case{"2D", false, -1, 5, 0, 10, 5}}) {
    DepthChart chart;
    chart.view3D = c.view3D;
    TChartSeries s(&chart);
    s.ChangeParentChart(&chart);
    s.ChangeDepth(c.depth);
    int counter = c.counter;
    s.AssignDepthOrder(counter);
    s.ComputeDepthRange();
    EXPECT_EQ(s.StartDepth(), c.start) << c.name;
    EXPECT_EQ(s.EndDepth(), c.end) << c.name;
    EXPECT_EQ(s.MiddleDepth(), c.middle) << c.name;
  }
}

TEST(SeriesGeometryTest, GapBetweenRectsIsMeasuredAlongTheValues) {
  struct Case {
    const char* name;
    TRect a, b;
    int gapY;
  };
  TChartSeries s(nullptr);
  for (const Case& c : {Case{"b below", {0, 0, 10, 10}, {0, 15, 10, 25}, 5},
                        Case{"b above", {0, 20, 10, 30}, {0, 0, 10, 12}, -8},
                        Case{"overlap", {0, 0, 10, 10}, {0, 6, 10, 16}, -4}}) {
    TPoint gap{99, 99};
    s.GapBetweenRects(c.a, gap, c.b);
    EXPECT_EQ(gap.X, 0) << c.name;
    EXPECT_EQ(gap.Y, c.gapY) << c.name;
  }
}

class PagedChart : public FakeSeriesChart {
 public:
  int MaxPointsPerPage() const override { return perPage; }
  int CurrentPage() const override { return page; }
  int perPage = 0;
  int page = 1;
};

TEST(SeriesGeometryTest, PageRangeTable) {
  struct Case {
    const char* name;
    int points, perPage, page;
    int first, last;
  };
  for (const Case& c : {Case{"no points", 0, 100, 1, -1, -1}, Case{"no paging", 7, 0, 1, 0, 6},
                        Case{"one a page", 7, 1, 3, 2, 2}, Case{"last short page", 250, 100, 3, 200, 249},
                        Case{"middle page", 250, 100, 2, 100, 199}, Case{"beyond the end", 250, 100, 5, 100, 199},
                        Case{"short single page", 50, 100, 1, 0, 49}}) {
    PagedChart chart;
    chart.perPage = c.perPage;
    chart.page = c.page;
    TChartSeries s(&chart);
    s.ChangeParentChart(&chart);
    for (int i = 0; i < c.points; ++i) s.AppendXY(i, i);
    int first = 99, last = 99;
    s.PageRange(first, last);
    EXPECT_EQ(first, c.first) << c.name;
    EXPECT_EQ(last, c.last) << c.name;
  }
}

TEST(SeriesGeometryTest, LabelStylePerAxis) {
  FakeSeriesChart chart;
  TChartSeries s(&chart);
  s.ChangeParentChart(&chart);
  s.AppendXY(1, 1);
  EXPECT_EQ(s.LabelStyleForAxis(&chart.left), talValue) << "the value axis";
  EXPECT_EQ(s.LabelStyleForAxis(&chart.bottom), talValue) << "no labels";
  s.Labels().SetLabel(0, "Mon");
  EXPECT_EQ(s.LabelStyleForAxis(&chart.bottom), talText);
  EXPECT_EQ(s.LabelStyleForAxis(&chart.left), talValue);
}

// A series that prefers its points' values as labels gets them on its position axis, before
// its texts; the value axis keeps plain values.
TEST(SeriesGeometryTest, PointValueLabelsComeBeforeTexts) {
  class ValueLabelled : public TChartSeries {
   public:
    using TChartSeries::TChartSeries;
    bool PrefersPointValueLabels() const override { return true; }
  };
  FakeSeriesChart chart;
  ValueLabelled s(&chart);
  s.ChangeParentChart(&chart);
  s.AppendXY(1, 1, "Mon");
  EXPECT_EQ(s.LabelStyleForAxis(&chart.bottom), talPointValue);
  EXPECT_EQ(s.LabelStyleForAxis(&chart.left), talValue);
}

// ---- Series groups ---------------------------------------------------------------------------

// A stand-in chart that answers its series list by index.
class ListingChart : public FakeSeriesChart {
 public:
  int SeriesCount() const override { return static_cast<int>(series.size()); }
  TChartSeries* SeriesAt(int index) const override { return series[index]; }
};

class GroupTest : public testing::Test {
 protected:
  TChartSeries* NewSeries() {
    auto* s = new TChartSeries(&chart);
    s->ChangeParentChart(&chart);
    return s;
  }
  ListingChart chart;
  TSeriesGroups groups{&chart, &chart};
};

TEST_F(GroupTest, NewGroupsAreNamedByTheirCount) {
  EXPECT_EQ(groups.Add()->Name(), "Group1");
  EXPECT_EQ(groups.Add()->Name(), "Group2");
  EXPECT_EQ(groups.Add()->Name(), "Group3");
  EXPECT_EQ(groups.Find("group2"), groups.Items(1));
}

TEST_F(GroupTest, ActiveReadsTheSeriesAndSwitchesThemTogether) {
  TSeriesGroup* g = groups.Add();
  EXPECT_EQ(g->ReadActive(), gaYes) << "an empty group";
  TChartSeries* a = NewSeries();
  TChartSeries* b = NewSeries();
  g->AddSeries(a);
  g->AddSeries(b);
  b->ChangeActive(false);
  EXPECT_EQ(g->ReadActive(), gaSome);
  g->ChangeActive(gaSome);
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
  g->ChangeActive(gaYes);
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(g->ReadActive(), gaYes);
  g->ChangeActive(gaNo);
  EXPECT_FALSE(a->Active());
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(g->ReadActive(), gaNo);
}

TEST_F(GroupTest, StoredSeriesAreIndexesResolvedAfterLoading) {
  TChartSeries* s0 = NewSeries();
  TChartSeries* s1 = NewSeries();
  TChartSeries* s2 = NewSeries();
  TSeriesGroup* g = groups.Add();
  g->AddSeries(s2);
  g->AddSeries(s0);
  TMemoryStream stream;
  {
    TWriter writer(stream);
    g->DefineProperties(writer);
  }
  (void)s1;
  TSeriesGroups loaded(&chart, &chart);
  TSeriesGroup* copy = loaded.Add();
  stream.Seek(0, soBeginning);
  {
    TReader reader(stream);
    reader.ReadProperty(copy);
  }
  EXPECT_EQ(copy->StoredSeries(), (std::vector<std::string>{"2", "0"}));
  EXPECT_EQ(copy->SeriesCount(), 0);
  loaded.ResolveStoredSeries();
  ASSERT_EQ(copy->SeriesCount(), 2);
  EXPECT_EQ(copy->SeriesAt(0), s2);
  EXPECT_EQ(copy->SeriesAt(1), s0);
  EXPECT_TRUE(copy->StoredSeries().empty());
}

TEST_F(GroupTest, AssignCopiesNameAndSeriesAndARemovedSeriesLeavesEveryGroup) {
  TChartSeries* a = NewSeries();
  TSeriesGroup* g = groups.Add();
  g->SetName("Ovens");
  g->AddSeries(a);
  TSeriesGroup* h = groups.Add();
  h->Assign(g);
  EXPECT_EQ(h->Name(), "Ovens");
  ASSERT_EQ(h->SeriesCount(), 1);
  groups.SeriesRemoved(a);
  EXPECT_EQ(g->SeriesCount(), 0);
  EXPECT_EQ(h->SeriesCount(), 0);
}

// ---- Selection and hover ---------------------------------------------------------------------


TEST(SelectionTest, DefaultsOfSelectionAndHover) {
  FakeSeriesChart chart;
  TChartSeries s(&chart);
  TKelSelected* sel = s.Selected();
  EXPECT_EQ(s.Selected(), sel) << "made once";
  EXPECT_FALSE(sel->Visible());
  EXPECT_EQ(sel->ItemIndex(), -1);
  EXPECT_EQ(sel->HoverIndex(), -1);
  EXPECT_EQ(sel->Pen()->Color(), clRed);
  EXPECT_EQ(sel->Pen()->Width(), 2);
  EXPECT_EQ(sel->Hover()->Font()->Color(), clRed);
  EXPECT_EQ(static_cast<unsigned>(sel->Hover()->Pen()->Color()), 0x800000FFu);
  EXPECT_EQ(sel->Hover()->Pen()->Width(), 3);
  EXPECT_EQ(sel->Element(), &s);
}

TEST(SelectionTest, IndexChangesRepaintOnlyWhatIsShown) {
  FakeSeriesChart chart;
  TChartSeries s(&chart);
  s.ChangeParentChart(&chart);
  TKelSelected* sel = s.Selected();
  int before = chart.invalidations;
  sel->ChangeItemIndex(3);
  EXPECT_EQ(sel->ItemIndex(), 3);
  EXPECT_EQ(chart.invalidations, before) << "a hidden selection repaints nothing";
  sel->SetVisible(true);
  before = chart.invalidations;
  sel->ChangeItemIndex(4);
  EXPECT_EQ(chart.invalidations, before + 1);
  before = chart.invalidations;
  sel->ChangeHoverIndex(2);  // the hover look is shown by default
  EXPECT_EQ(chart.invalidations, before + 1);
  sel->Hover()->SetVisible(false);
  before = chart.invalidations;
  sel->ChangeHoverIndex(1);
  EXPECT_EQ(sel->HoverIndex(), 1);
  EXPECT_EQ(chart.invalidations, before);
}

// ---- Visuals list ----------------------------------------------------------------------------

class CountedVisual : public TSeriesPointVisual {
 public:
  static int alive;
  CountedVisual() { ++alive; }
  ~CountedVisual() override { --alive; }
};
int CountedVisual::alive = 0;

TEST(VisualsListTest, OwnedEntriesAreFreedAndOthersKept) {
  FakeSeriesChart chart;
  TChartSeries s(&chart);
  s.ChangeParentChart(&chart);
  for (int i = 0; i < 4; ++i) s.AppendXY(i, i);
  TVisualsList& list = s.Visuals();
  CountedVisual kept;
  list.PutVisual(1, &kept);
  list.PutVisual(2, new CountedVisual, true);
  list.PutVisual(3, new CountedVisual, true);
  EXPECT_EQ(CountedVisual::alive, 3);
  list.PutVisual(3, nullptr);  // frees the owned one
  EXPECT_EQ(CountedVisual::alive, 2);
  EXPECT_EQ(list.VisualAt(0), nullptr) << "no template: nothing made";
  s.DeletePoint(0);  // the store moves with the points
  EXPECT_EQ(list.StoredAt(0), &kept);
  s.ClearPoints();
  EXPECT_EQ(CountedVisual::alive, 1) << "only the caller's own visual is left";
  EXPECT_EQ(list.Count(), 0);
}

TEST(VisualsListTest, ChangedVisualsReachTheEditorHook) {
  TChartSeries s(nullptr);
  std::vector<TSeriesPointVisual*> told;
  s.Visuals().OnVisualChanged = [&told](TSeriesPointVisual* v) { told.push_back(v); };
  TSeriesPointVisual v;
  s.Visuals().VisualChanged(&v);
  EXPECT_EQ(told, (std::vector<TSeriesPointVisual*>{&v}));
}

}  // namespace


namespace {

TEST(SeriesGroupLayoutTest, GroupsAreStoredWithTheChartAndFindTheirSeriesAgain) {
  RegisterClasses({&TCustomAxisPanel::StaticClass(), &TFastLineSeries::StaticClass()});
  TCustomAxisPanel panel(nullptr);
  panel.SetName("Chart");
  std::vector<TFastLineSeries*> series;
  for (const char* name : {"Oven1", "Oven2", "Oven3"}) {
    auto* s = new TFastLineSeries(&panel);
    s->SetName(name);
    s->ChangeParentChart(&panel);
    series.push_back(s);
  }
  TSeriesGroup* group = panel.SeriesGroups()->Add();
  group->AddSeries(series[2]);
  group->AddSeries(series[0]);
  TMemoryStream stream;
  stream.WriteComponent(&panel);
  const std::string text = ObjectBinaryToText(
      std::string_view(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())));
  EXPECT_NE(text.find("SeriesGroups = <"), std::string::npos) << text;
  EXPECT_NE(text.find("Group1"), std::string::npos) << text;

  stream.SetPosition(0);
  std::unique_ptr<TCustomAxisPanel> copy(static_cast<TCustomAxisPanel*>(stream.ReadComponent(nullptr)));
  ASSERT_EQ(copy->SeriesGroups()->Count(), 1);
  TSeriesGroup* read = copy->SeriesGroups()->Items(0);
  EXPECT_EQ(read->Name(), "Group1");
  ASSERT_EQ(read->SeriesCount(), 2);
  EXPECT_EQ(read->SeriesAt(0), copy->FindComponent("Oven3"));
  EXPECT_EQ(read->SeriesAt(1), copy->FindComponent("Oven1"));
  EXPECT_TRUE(read->StoredSeries().empty());
  // A series that leaves the chart leaves its groups too.
  delete copy->FindComponent("Oven3");
  ASSERT_EQ(read->SeriesCount(), 1);
  EXPECT_EQ(read->SeriesAt(0), copy->FindComponent("Oven1"));
}

TEST(SeriesGroupLayoutTest, AChartWithoutGroupsWritesNone) {
  TCustomAxisPanel panel(nullptr);
  TMemoryStream stream;
  stream.WriteComponent(&panel);
  const std::string text = ObjectBinaryToText(
      std::string_view(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())));
  EXPECT_EQ(text.find("SeriesGroups"), std::string::npos) << text;
}

}  // namespace

// Each series draws inside a canvas element of its display name: its component name, or
// "Series" and its place in the chart when it has none; the chart closes every one.
TEST(SeriesElements, EachSeriesDrawsInAnElementOfItsDisplayName) {
  TestChart chart;
  chart.AddSeries(Line(0, 10, 20, 80), clRed, "Curve");
  chart.AddSeries(Line(0, 10, 80, 20), clBlue);
  chart.Paint();
  const auto& e = chart.canvas->elements;
  const int series = chart.canvas->IndexOf("Series");
  ASSERT_GE(series, 0);
  ASSERT_LT(series + 2, static_cast<int>(e.size()));
  EXPECT_EQ(e[series + 1], "Curve");
  EXPECT_EQ(e[series + 2], "Series2");
  EXPECT_TRUE(chart.canvas->open.empty());
}

// The looks a gallery offers: "Normal" for any series; a fast line adds marks, a dotted pen
// and stairs, each applied to the series it is given.
TEST(SeriesGallery, VariantsOfAFastLine) {
  TChartSeries plain(nullptr);
  std::vector<std::string> names;
  plain.ListGalleryVariants(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Normal"}));
  TFastLineSeries gallery(nullptr);
  names.clear();
  gallery.ListGalleryVariants(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Marks", "Dotted", "Stairs"}));
  struct Case {
    int variant;
    bool marks, dotted, stairs;
  };
  const Case cases[] = {{0, false, false, false}, {1, true, false, false}, {2, false, true, false}, {3, false, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variant);
    TFastLineSeries line(nullptr);
    gallery.ApplyGalleryVariant(&line, c.variant);
    EXPECT_EQ(line.Marks()->Visible(), c.marks);
    EXPECT_EQ(line.LinePen()->SmallDots(), c.dotted);
    EXPECT_EQ(line.Stairs(), c.stairs);
    EXPECT_FALSE(gallery.Stairs()) << "the gallery's own series stays as it is";
  }
}
