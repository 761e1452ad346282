// The chart panel and axis panel: margins and axis layout on fixed text metrics, value labels,
// ticks and grid, the paint order and clipping in pixels, recovery from a failing series, the
// bitmap export beside the screen buffer, and the series list with colours and paging.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelPen.h"
#include "chart/KelProcs.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Canvas.h"

namespace {

// Rounds halves to even, as the axis does.
int Even(double v) { return static_cast<int>(std::nearbyint(v)); }

// A chart whose series runs along the bottom and left axes, both fixed.
struct FixedChart : TestChart {
  FixedChart() {
    AddSeries(Line(0, 10, 0, 100));
    panel.BottomAxis()->SetMinMax(0, 10);
    panel.LeftAxis()->SetMinMax(0, 100);
  }
};

}  // namespace

// ---- Margins and layout ---------------------------------------------------------------------

TEST(ChartPanelLayout, MarginsGiveTheChartRectangle) {
  struct Case {
    const char* name;
    TBevelCut bevel;
    TRect expected;
  };
  const Case cases[] = {
      {"no bevel", bvNone, TRect(12, 10, 388, 240)},
      {"raised bevel of 1", bvRaised, TRect(13, 11, 387, 239)},
  };
  for (const Case& c : cases) {
    TestChart chart;
    chart.panel.SetBevelOuter(c.bevel);
    TRect before;
    chart.panel.OnBeforeDrawChart = [&](TObject*) { before = chart.panel.ChartBounds(); };
    chart.Paint();
    EXPECT_EQ(before, c.expected) << c.name;
  }
}

TEST(ChartPanelLayout, DegenerateMarginsAreClamped) {
  TestChart chart;
  chart.panel.SetMarginUnits(muPixels);
  chart.panel.SetMarginLeft(250);
  chart.panel.SetMarginRight(250);  // right edge left of the left edge
  TRect crossed;
  chart.panel.OnBeforeDrawChart = [&](TObject*) { crossed = chart.panel.ChartBounds(); };
  chart.Paint();
  EXPECT_EQ(crossed.Left, 250);
  EXPECT_EQ(crossed.Right, 251);

  chart.panel.SetMarginLeft(200);
  chart.panel.SetMarginRight(200);  // right edge on the left edge
  chart.Paint();
  EXPECT_EQ(crossed.Right, 200 + 400);
}

TEST(ChartPanelLayout, AxesTakeTheirRoomAndLabelsSitOnTheirTicks) {
  FixedChart chart;
  chart.Paint();
  // Bottom first: labels one line (10) then axis line 2 + 1 and ticks 4: 240 - 10 - 7 = 223;
  // the labels start a tenth of a line outside the room they took (230 + 1). Then the left
  // axis: its widest label "100" (18) and a blank (6), then 7 for line and ticks: 12 + 31.
  EXPECT_EQ(chart.panel.ChartBounds(), TRect(43, 10, 388, 223));
  EXPECT_EQ(chart.panel.BottomAxis()->LabelPosition(), 231);
  EXPECT_EQ(chart.panel.LeftAxis()->LabelPosition(), 35);

  // Bottom labels 10 .. 0 at 34.5 pixels a unit, each centred on its tick at the label row.
  const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_EQ(labels.size(), 11u);
  for (int i = 0; i < 11; ++i) {
    const int value = 10 - i;
    EXPECT_EQ(labels[i].text, std::to_string(value));
    EXPECT_EQ(labels[i].x, 43 + Even(value * 34.5)) << value;
    EXPECT_EQ(labels[i].y, 231) << value;
  }
  // The left labels (0..100 by 10 on 213 pixels) end at the label position, half a line up.
  const auto left = chart.canvas->TextsIn("Axes/Left/Labels");
  ASSERT_EQ(left.size(), 11u);
  EXPECT_EQ(left.front().text, "100");
  EXPECT_EQ(left.front().x, 35);
  EXPECT_EQ(left.front().y, 10 - 5);

  // Grid lines lie strictly inside the chart rectangle, from its top + 1 to its bottom.
  const auto grid = chart.canvas->SegmentsIn("Axes/Bottom/Grid");
  ASSERT_EQ(grid.size(), 9u);
  for (const auto& line : grid) {
    EXPECT_GT(line.x0, 43);
    EXPECT_LT(line.x0, 388);
    EXPECT_EQ(line.y0, 11);
    EXPECT_EQ(line.y1, 223);
  }
  const auto leftGrid = chart.canvas->SegmentsIn("Axes/Left/Grid");
  ASSERT_EQ(leftGrid.size(), 9u);
  for (const auto& line : leftGrid) {
    EXPECT_GT(line.y0, 10);
    EXPECT_LT(line.y0, 223);
    EXPECT_EQ(line.x0, 44);
    EXPECT_EQ(line.x1, 388);
  }
}

// ---- Value labels ---------------------------------------------------------------------------

TEST(ChartAxisLabels, ValueLabelTable) {
  struct Case {
    const char* name;
    double minimum, maximum, increment;
    size_t labels;
    const char* first;
    const char* last;
  };
  const Case cases[] = {
      {"0..100 by 10", 0, 100, 10, 11, "100", "0"},
      {"range of 10000 increments", 0, 10000, 1, 0, "", ""},
      {"20..22 by 0.1 keeps both ends", 20, 22, 0.1, 21, "22", "20"},
      {"0..0.7 by 0.1 keeps both ends", 0, 0.7, 0.1, 8, "0.7", "0"},
  };
  for (const Case& c : cases) {
    FixedChart chart;
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->SetLabelsSeparation(0);  // every increment fits
    axis->SetMinMax(c.minimum, c.maximum);
    axis->SetIncrement(c.increment);
    chart.Paint();
    const auto& items = axis->LabelItems();
    ASSERT_EQ(items.size(), c.labels) << c.name;
    if (c.labels == 0) {
      EXPECT_TRUE(axis->TickPixels().empty()) << c.name;
      EXPECT_TRUE(axis->GridPixels().empty()) << c.name;
      EXPECT_TRUE(chart.canvas->TextsIn("Axes/Left/Labels").empty()) << c.name;
      continue;
    }
    EXPECT_EQ(items.front().Text, c.first) << c.name;
    EXPECT_EQ(items.back().Text, c.last) << c.name;
    // Drawn too, in that order.
    const auto drawn = chart.canvas->TextsIn("Axes/Left/Labels");
    ASSERT_EQ(drawn.size(), c.labels) << c.name;
    EXPECT_EQ(drawn.back().text, c.last) << c.name;
  }
}

TEST(ChartAxisLabels, TicksGridAndMinorTicks) {
  struct Case {
    const char* name;
    bool centred;
    int minorCount;
    size_t grid, minor;
  };
  const Case cases[] = {
      {"plain", false, 3, 9, 30},
      {"grid centred between ticks", true, 3, 10, 30},
      {"minor count below 0 acts as 0", false, -1, 9, 0},
  };
  for (const Case& c : cases) {
    FixedChart chart;
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->SetIncrement(10);
    axis->SetGridCentered(c.centred);
    axis->SetMinorTickCount(c.minorCount);
    chart.Paint();
    const auto& ticks = axis->TickPixels();
    ASSERT_EQ(ticks.size(), 11u) << c.name;
    const auto grid = axis->GridPixels();
    EXPECT_EQ(grid.size(), c.grid) << c.name;
    if (c.centred) {
      for (size_t i = 0; i < grid.size(); ++i) EXPECT_EQ(grid[i], (ticks[i] + ticks[i + 1]) / 2) << c.name;
    }
    EXPECT_EQ(axis->MinorTickPixels().size(), c.minor) << c.name;
    EXPECT_EQ(chart.canvas->SegmentsIn("Axes/Left/MinorTicks").size(), c.minor) << c.name;
  }
}

TEST(ChartAxisLabels, LogarithmicBaseBelowOneEndsTheIncrementSearch) {
  FixedChart chart;
  TChartAxis* axis = chart.panel.LeftAxis();
  axis->SetMinMax(1, 1000);
  axis->SetLogarithmic(true);
  axis->SetLogarithmicBase(0.5);
  double increment = 0;
  chart.panel.OnAfterDraw = [&](TObject*) { increment = axis->LabelsIncrement(); };
  chart.Paint();  // returned: the search no longer loops on a shrinking step
  EXPECT_GT(increment, 0);
}

// ---- Paint order and clipping -----------------------------------------------------------------

TEST(ChartPaintOrder, AxesBehindOrOverTheSeries) {
  for (bool behind : {true, false}) {
    FixedChart chart;
    chart.panel.SeriesAt(0)->ChangeSeriesColor(clRed);
    chart.panel.SeriesAt(0)->SetName("Curve");
    chart.panel.SetAxisBehind(behind);
    chart.Paint();
    const auto& e = chart.canvas->elements;
    ASSERT_EQ(e.front(), "Panel");
    const int axes = chart.canvas->IndexOf("Axes");
    const int series = chart.canvas->IndexOf("Series");
    ASSERT_GE(axes, 0);
    ASSERT_GE(series, 0);
    EXPECT_EQ(axes < series, behind);
    EXPECT_EQ(e[series + 1], "Curve");
    EXPECT_EQ(chart.canvas->open.size(), 0u);
    EXPECT_EQ(chart.canvas->clipDepth, 0);
  }
}

TEST(ChartPaintOrder, SeriesOverGridLastSeriesOnTopNothingOutsideTheClip) {
  for (bool behind : {true, false}) {
    FixedChart chart;
    chart.panel.FreeAllSeries();
    // A horizontal red line at 50 crossing the bottom axis's grid line at 5, a blue one on it.
    chart.AddSeries(Line(0, 10, 50, 50), clRed);
    chart.AddSeries(Line(0, 10, 35, 35), clRed);
    chart.AddSeries(Line(0, 10, 35, 35), clBlue);
    // A steep green line running far above and below the fixed range (it crosses 50 at 3.3).
    chart.AddSeries(Line(0, 10, 150, -150), clLime);
    chart.panel.SetAxisBehind(behind);
    chart.Paint();
    const TRect r = chart.panel.ChartBounds();
    const int x = chart.panel.BottomAxis()->CalcXPosValue(5);
    const int y50 = chart.panel.LeftAxis()->CalcYPosValue(50);
    const int y35 = chart.panel.LeftAxis()->CalcYPosValue(35);
    EXPECT_EQ(chart.Pixel(x, y50), behind ? clRed : static_cast<TColor>(0xC0C0C0)) << behind;
    EXPECT_EQ(chart.Pixel(x + 7, y35), clBlue);  // the last series on top
    EXPECT_GT(chart.Count(clLime, r.Left, r.Top, r.Right, r.Bottom), 0);
    EXPECT_EQ(chart.Count(clLime, 0, 0, chart.width - 1, r.Top - 1), 0);
    EXPECT_EQ(chart.Count(clLime, 0, r.Bottom + 1, chart.width - 1, chart.height - 1), 0);
  }
}

TEST(ChartPaintOrder, AxesShowWhenUsedOrWithoutSeries) {
  TestChart empty;
  empty.Paint();
  for (TChartAxis* axis : {empty.panel.BottomAxis(), empty.panel.TopAxis(), empty.panel.LeftAxis(),
                           empty.panel.RightAxis()})
    EXPECT_TRUE(axis->VisibleNow) << axis->ElementName();
  EXPECT_FALSE(empty.panel.DepthAxis()->VisibleNow);

  FixedChart used;
  used.Paint();
  EXPECT_TRUE(used.panel.BottomAxis()->VisibleNow);
  EXPECT_TRUE(used.panel.LeftAxis()->VisibleNow);
  EXPECT_FALSE(used.panel.TopAxis()->VisibleNow);
  EXPECT_FALSE(used.panel.RightAxis()->VisibleNow);
  EXPECT_EQ(used.canvas->IndexOf("Top"), -1);
  EXPECT_EQ(used.canvas->IndexOf("Right"), -1);
}

// ---- Recovery ---------------------------------------------------------------------------------

namespace {

class FailingSeries : public TFastLineSeries {
 public:
  using TFastLineSeries::TFastLineSeries;
  void PaintAllPoints() override {
    if (failures > 0) {
      --failures;
      throw Exception("paint failed");
    }
    TFastLineSeries::PaintAllPoints();
  }
  int failures = 1;
};

}  // namespace

TEST(ChartPaintRecovery, AFailingSeriesLeavesTheChartPaintable) {
  FixedChart chart;
  chart.panel.FreeAllSeries();
  auto* series = new FailingSeries(nullptr);
  for (const auto& [x, y] : Line(0, 10, 50, 50)) series->AppendXY(x, y);
  series->ChangeSeriesColor(clRed);
  chart.panel.AttachSeries(series);
  EXPECT_THROW(chart.Paint(), Exception);
  EXPECT_TRUE(chart.panel.RepaintEnabled());
  EXPECT_EQ(chart.canvas->clipDepth, 0);
  EXPECT_TRUE(chart.canvas->open.empty()) << chart.canvas->Path();
  EXPECT_EQ(chart.canvas->DeviceCanvas(), chart.panel.Canvas());  // pointed back

  chart.Paint();
  const int y = chart.panel.LeftAxis()->CalcYPosValue(50);
  EXPECT_GT(chart.Count(clRed, 0, y, chart.width - 1, y), 100);
}

// ---- Export -----------------------------------------------------------------------------------

TEST(ChartExport, BitmapFileEqualsTheScreenBufferWhichStaysValid) {
  FixedChart chart;
  chart.panel.LeftAxis()->Title()->SetText("Temp");
  TBitmap screen;
  screen.SetPixelFormat(pf32bit);
  screen.SetSize(400, 250);
  auto* canvas = chart.canvas;
  chart.panel.DrawTo(screen.Canvas(), TRect(0, 0, 400, 250));  // the screen paint: through the buffer
  ASSERT_TRUE(canvas->RestoreFromBuffer());

  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string file = std::string(folder) + "TmpLine.jpg";
  chart.panel.WriteBitmapFile(file);

  // The buffer survived the export and still restores the window.
  EXPECT_NE(canvas->BufferBitmap, nullptr);
  EXPECT_FALSE(canvas->BufferInvalid);
  EXPECT_TRUE(canvas->GetBuffered());

  FILE* f = std::fopen(file.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char magic[2] = {};
  ASSERT_EQ(std::fread(magic, 1, 2, f), 2u);
  std::fclose(f);
  EXPECT_EQ(std::string(magic, 2), "BM");  // a Windows bitmap whatever the extension

  TBitmap written;
  written.LoadFromFile(file);
  ASSERT_EQ(written.Width(), 400);
  ASSERT_EQ(written.Height(), 250);
  int different = 0;
  for (int y = 0; y < 250; ++y)
    for (int x = 0; x < 400; ++x)
      if (::GetPixel(written.Canvas()->Handle(), x, y) != ::GetPixel(screen.Canvas()->Handle(), x, y)) ++different;
  EXPECT_EQ(different, 0);
  std::remove(file.c_str());
}

// ---- Series list, colours and paging ------------------------------------------------------------

TEST(ChartSeriesList, RegisteringTwiceKeepsOneEntry) {
  TestChart chart;
  auto* series = chart.AddSeries(Line(0, 1, 0, 1));
  chart.panel.RegisterSeries(*series);
  chart.panel.AttachSeries(series);
  EXPECT_EQ(chart.panel.SeriesCount(), 1);
}

TEST(ChartSeriesList, UncolouredSeriesGetDistinctPaletteColours) {
  TestChart chart;
  std::vector<TColor> colours;
  for (int i = 0; i < 3; ++i) colours.push_back(chart.AddSeries(Line(0, 1, 0, 1))->EffectiveColor());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(colours[i], static_cast<TColor>(DefaultPaletteColor(i))) << i;
  EXPECT_NE(colours[0], colours[1]);
  EXPECT_NE(colours[1], colours[2]);
}

TEST(ChartSeriesList, PagingSplitsThePoints) {
  TestChart chart;
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < 250; ++i) points.emplace_back(i, i % 7);
  TChartSeries* series = chart.AddSeries(points);
  TChartPage* pages = chart.panel.Pages();
  EXPECT_THROW(pages->SetMaxPointsPerPage(-1), ChartException);
  pages->SetMaxPointsPerPage(100);
  EXPECT_EQ(pages->PageCount(), 3);
  pages->SetCurrent(5);
  EXPECT_EQ(pages->Current(), 3);
  int first, last;
  series->PageRange(first, last);
  EXPECT_EQ(first, 200);
  EXPECT_EQ(last, 249);
  // The short last page keeps the scale of a full one unless it is to be scaled by itself.
  TChartAxis& bottom = *chart.panel.BottomAxis();
  EXPECT_EQ(chart.panel.SeriesExtreme(bottom, false, true), 200);
  EXPECT_EQ(chart.panel.SeriesExtreme(bottom, true, true), 249);
  pages->SetScaleLastPage(false);
  EXPECT_DOUBLE_EQ(chart.panel.SeriesExtreme(bottom, true, true), 200 + 100 * 49.0 / 50);
}

TEST(ChartSeriesList, ExtremesWithoutSeriesAndDepthPercentClamped) {
  TestChart chart;
  EXPECT_EQ(chart.panel.SeriesExtreme(*chart.panel.LeftAxis(), false, false), 0);
  EXPECT_EQ(chart.panel.SeriesExtreme(*chart.panel.LeftAxis(), true, false), 0);
  chart.panel.SetChart3DPercent(0);
  EXPECT_EQ(chart.panel.Chart3DPercent(), 1);
  chart.panel.SetChart3DPercent(250);
  EXPECT_EQ(chart.panel.Chart3DPercent(), 100);
}

TEST(ChartSeriesList, LegendSeriesAndTheirOneLineTitles) {
  struct Case {
    const char* name;
    std::string title;
    std::string expected;
  };
  const Case cases[] = {
      {"plain", "Ch1", "Ch1"},
      {"column separator", std::string("Ch\x06") + "1", "Ch 1"},
      {"line feed and return: one goes", "Ch\n\r1", "Ch 1"},
      {"return and line feed: one goes", "Ch\r\n1", "Ch 1"},
      {"later breaks become blanks", "a\r\nb\rc\nd", "a b c d"},
  };
  for (const Case& c : cases) {
    TestChart chart;
    TChartSeries* s = chart.AddSeries(Line(0, 1, 0, 1));
    s->SetLegendTitle(c.title);
    EXPECT_EQ(chart.panel.LegendSeriesTitle(0, false), c.expected) << c.name;
  }

  TestChart chart;
  TChartSeries* hidden = chart.AddSeries(Line(0, 1, 0, 1), clDefault, "Hidden");
  TChartSeries* off = chart.AddSeries(Line(0, 1, 0, 1), clDefault, "Off");
  TChartSeries* on = chart.AddSeries(Line(0, 1, 0, 1), clDefault, "On");
  hidden->SetShowInLegend(false);
  off->ChangeActive(false);
  EXPECT_EQ(chart.panel.LegendSeries(0, false), off);
  EXPECT_EQ(chart.panel.LegendSeries(1, false), on);
  EXPECT_EQ(chart.panel.LegendSeries(0, true), on);
  EXPECT_EQ(chart.panel.LegendSeries(1, true), nullptr);
  EXPECT_EQ(chart.panel.LegendSeriesTitle(0, true), "On");  // no title: its name
  EXPECT_EQ(chart.panel.LegendSeriesTitle(5, false), "");
}

TEST(ChartSeriesList, ASeriesOfAClassJoinsTheChartOwnedByTheChartsOwner) {
  TComponent owner(nullptr);
  auto* panel = new TCustomAxisPanel(&owner);
  TChartSeries* s = panel->AddSeriesOfClass(TFastLineSeries::StaticClass());
  ASSERT_NE(s, nullptr);
  EXPECT_NE(dynamic_cast<TFastLineSeries*>(s), nullptr);
  EXPECT_EQ(s->Owner(), &owner);
  EXPECT_EQ(panel->SeriesCount(), 1);
  EXPECT_EQ(panel->SeriesAt(0), s);
}

TEST(ChartSeriesList, PageChangesAreBroadcast) {
  struct Pages : IKelEventListener {
    void ChartEvent(TKelEvent& e) override { count += dynamic_cast<TChartChangePage*>(&e) != nullptr; }
    int count = 0;
  } listener;
  TestChart chart;
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < 250; ++i) points.emplace_back(i, i);
  chart.AddSeries(points);
  chart.panel.AddListener(&listener);
  int fired = 0;
  chart.panel.OnPageChange = [&](TObject*) { ++fired; };
  chart.panel.Pages()->SetMaxPointsPerPage(100);
  EXPECT_EQ(listener.count, 1);
  chart.panel.Pages()->SetCurrent(2);
  EXPECT_EQ(listener.count, 2);
  EXPECT_EQ(fired, 1);
  chart.panel.Pages()->SetCurrent(2);  // unchanged: nothing
  EXPECT_EQ(listener.count, 2);
  chart.panel.RemoveListener(&listener);
}

TEST(ChartSeriesList, TheValidSourceEventCanRefuseAnAcceptedSource) {
  TestChart chart;
  TChartSeries* target = chart.AddSeries(Line(0, 1, 0, 1));
  TChartSeries* source = chart.AddSeries(Line(0, 1, 0, 1));
  ASSERT_TRUE(chart.panel.IsValidDataSource(*target, source));
  int asked = 0;
  chart.panel.OnValidDataSource = [&](TCustomAxisPanel* sender, TChartSeries* s, TComponent* c, bool& valid) {
    ++asked;
    EXPECT_EQ(sender, &chart.panel);
    EXPECT_EQ(s, target);
    EXPECT_EQ(c, source);
    valid = false;
  };
  EXPECT_FALSE(chart.panel.IsValidDataSource(*target, source));
  EXPECT_EQ(asked, 1);
}

TEST(ChartAxes, TheDepthAxesInvertTogether) {
  TestChart chart;
  chart.panel.DepthAxis()->SetInverted(true);
  EXPECT_TRUE(chart.panel.DepthTopAxis()->Inverted());
  chart.panel.DepthTopAxis()->SetInverted(false);
  EXPECT_FALSE(chart.panel.DepthAxis()->Inverted());
  chart.panel.LeftAxis()->SetInverted(true);
  EXPECT_FALSE(chart.panel.RightAxis()->Inverted());
}

// ---- Layouts ----------------------------------------------------------------------------------

namespace {

std::unique_ptr<TCustomAxisPanel> ReadPanel(const std::string& text) {
  RegisterClass(TCustomAxisPanel::StaticClass());
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  return std::unique_ptr<TCustomAxisPanel>(static_cast<TCustomAxisPanel*>(stream.ReadComponent(nullptr)));
}

std::string WritePanel(TCustomAxisPanel& panel) {
  TMemoryStream stream;
  stream.WriteComponent(&panel);
  return ObjectBinaryToText(
      std::string_view(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())));
}

}  // namespace

TEST(ChartPanelStream, UnknownCanvasFallsBackToGdiAndLegacyEntriesAreRead) {
  const auto panel = ReadPanel(
      "object Chart: TCustomAxisPanel\n"
      "  BorderStyle = bsSingle\n"
      "  DefaultCanvas = 'TNoSuchCanvas'\n"
      "  MaxPointsPerPage = 100\n"
      "  ScaleLastPage = False\n"
      "end\n");
  ASSERT_NE(panel->Canvas3D(), nullptr);
  EXPECT_EQ(panel->Canvas3D()->ClassType().Name(), "TKelCanvas3D");
  EXPECT_TRUE(panel->Border()->Visible());
  EXPECT_EQ(panel->Pages()->MaxPointsPerPage(), 100);
  EXPECT_FALSE(panel->Pages()->ScaleLastPage());
  EXPECT_TRUE(panel->RepaintEnabled());
}

TEST(ChartPanelStream, CanvasNameAndPrintMarginsRoundTrip) {
  TCustomAxisPanel panel(nullptr);
  panel.SetName("Chart");
  panel.SetCanvasClassName("TGDIPlusCanvas");
  std::string text = WritePanel(panel);
  EXPECT_NE(text.find("DefaultCanvas = 'TGDIPlusCanvas'"), std::string::npos) << text;
  EXPECT_EQ(text.find("PrintMargins"), std::string::npos) << text;  // all 15: not written
  // Read while the GDI+ canvas class is not registered (another suite of this exe may have
  // registered it): the name is kept for when the class is there, meanwhile the GDI canvas.
  std::vector<const TClassInfo*>& classes = CanvasClassList();
  const std::vector<const TClassInfo*> registered = classes;
  RemoveCanvasClass(TGDIPlusCanvas::StaticClass());
  struct Restore {
    std::vector<const TClassInfo*>& list;
    const std::vector<const TClassInfo*>& saved;
    ~Restore() { list = saved; }
  } restore{classes, registered};
  const auto copy = ReadPanel(text);
  EXPECT_EQ(copy->CanvasClassName(), "TGDIPlusCanvas");
  EXPECT_EQ(copy->Canvas3D()->ClassType().Name(), "TKelCanvas3D");
}

// ---- Series elements, first-paint ranges, offsets, add-ons ----------------------------------

TEST(ChartPaintOrder, EachSeriesDrawsInAnElementOfItsDisplayName) {
  FixedChart chart;
  chart.panel.SeriesAt(0)->SetName("Curve");
  chart.AddSeries(Line(0, 10, 20, 30));  // no name: shown as the chart calls it
  chart.Paint();
  const std::string unnamed = chart.panel.SeriesAt(1)->DisplayName();
  ASSERT_FALSE(unnamed.empty());
  // Each series' element opens inside "Series", first series first on a flat chart.
  const int series = chart.canvas->IndexOf("Series");
  ASSERT_GE(series, 0);
  EXPECT_EQ(chart.canvas->elements[static_cast<size_t>(series) + 1], "Curve");
  EXPECT_GT(chart.canvas->IndexOf(unnamed), series + 1);
  EXPECT_TRUE(chart.canvas->open.empty());
}

namespace {

// A fast line turned (and scaled) as a whole by its own element transform.
struct TransformedLine : TFastLineSeries {
  TransformedLine() : TFastLineSeries(nullptr) {}
  bool ElementTransform(TElementTransform& t) const override {
    if (angle == 0 && scale == 1) return false;
    t.Enabled = true;
    t.Angle = angle;
    t.ScaleX = t.ScaleY = scale;
    // The chart places the centre of the turn: whatever the series says is replaced.
    t.Origin = TPointFloat{5, 5};
    return true;
  }
  double angle = 0;
  double scale = 1;
};

}  // namespace

TEST(ChartPaintOrder, ASeriesTransformTurnsItsDrawingAboutTheChartCentre) {
  KelGDIPlusStartup();
  struct Case {
    const char* name;
    double angle, scale;
    // Where the ink of the segment's middle lands, from its place p and the centre c.
    double fx, fy;  // p' = c + f * (p - c), per axis
  };
  const Case cases[] = {
      {"no transform", 0, 1, 1, 1},
      {"half a turn", 180, 1, -1, -1},
      {"half the size", 0, 0.5, 0.5, 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TCustomAxisPanel panel(nullptr);
    panel.SetBounds(0, 0, 400, 250);
    panel.SetView3D(false);
    panel.SetBevelOuter(bvNone);
    panel.ChangeCanvas(new TGDIPlusCanvas());
    auto* series = new TransformedLine();
    series->angle = c.angle;
    series->scale = c.scale;
    // A short thick stroke in the upper left quarter.
    series->AppendXY(1, 80);
    series->AppendXY(3, 80);
    series->LinePen()->SetWidth(3);
    series->ChangeSeriesColor(clRed);
    panel.AttachSeries(series);
    panel.BottomAxis()->SetMinMax(0, 10);
    panel.LeftAxis()->SetMinMax(0, 100);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(400, 250);
    panel.DrawToCanvas(bitmap.Canvas(), TRect(0, 0, 400, 250));
    GdiFlush();
    const TRect r = panel.ChartBounds();
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const int px = panel.BottomAxis()->CalcPosValue(2), py = panel.LeftAxis()->CalcPosValue(80);
    const int ex = static_cast<int>(std::lround(cx + c.fx * (px - cx)));
    const int ey = static_cast<int>(std::lround(cy + c.fy * (py - cy)));
    auto red = [&](int x0, int y0, int x1, int y1) {
      int n = 0;
      for (int y = std::max(0, y0); y <= std::min(249, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(399, x1); ++x)
          if ((bitmap.Canvas()->Pixel(x, y) & 0xFFFFFF) == ColorToRGB(clRed)) ++n;
      return n;
    };
    EXPECT_GT(red(ex - 2, ey - 2, ex + 2, ey + 2), 0) << "expected at " << ex << "," << ey;
    // Nothing left at the untransformed place when the series moved.
    if (c.fx != 1) {
      EXPECT_EQ(red(px - 2, py - 2, px + 2, py + 2), 0);
    }
    panel.FreeAllSeries();
  }
}

// A series that asks for no pixel margins: the axis range is rounded with the span it really
// has, also on the very first paint.
TEST(ChartAxisRange, RoundedAutomaticEndsAreRoundedOnTheFirstPaint) {
  struct Case {
    const char* name;
    bool minimumRound, maximumRound;
  };
  const Case cases[] = {{"both ends", true, true}, {"minimum only", true, false}, {"maximum only", false, true}};
  for (const Case& c : cases) {
    TestChart chart;
    auto* series = new TChartSeries(nullptr);
    series->AppendXY(0, 3.7);
    series->AppendXY(10, 96.2);
    chart.panel.AttachSeries(series);
    TChartAxis* axis = chart.panel.LeftAxis();
    axis->SetMinimumRound(c.minimumRound);
    axis->SetMaximumRound(c.maximumRound);
    chart.Paint();  // the first paint: the axis had no span when its range was found
    const double first[2] = {axis->InternalMinimum(), axis->InternalMaximum()};
    chart.Paint();
    EXPECT_DOUBLE_EQ(first[0], axis->InternalMinimum()) << c.name;
    EXPECT_DOUBLE_EQ(first[1], axis->InternalMaximum()) << c.name;
    // Rounded outward to whole labels; an end that is not rounded stays on the data.
    if (c.minimumRound) {
      EXPECT_LT(first[0], 3.7) << c.name;
      EXPECT_DOUBLE_EQ(std::fmod(first[0], 10.0), 0.0) << c.name;
    } else {
      EXPECT_DOUBLE_EQ(first[0], 3.7) << c.name;
    }
    if (c.maximumRound) {
      EXPECT_GT(first[1], 96.2) << c.name;
      EXPECT_DOUBLE_EQ(std::fmod(first[1], 10.0), 0.0) << c.name;
    } else {
      EXPECT_DOUBLE_EQ(first[1], 96.2) << c.name;
    }
  }
}

TEST(ChartAxisRange, PixelOffsetsPutTheTitleRightOutsideTheLabels) {
  FixedChart plain;
  plain.panel.LeftAxis()->Title()->SetText("Temp");
  plain.Paint();
  FixedChart offset;
  TChartAxis* axis = offset.panel.LeftAxis();
  axis->Title()->SetText("Temp");
  axis->SetMinimumOffset(8);
  int size = -1;
  offset.panel.OnAfterDraw = [&](TObject*) { size = axis->LabelSize(); };
  offset.Paint();
  ASSERT_GT(size, 0);
  EXPECT_EQ(axis->LabelPosition(), plain.panel.LeftAxis()->LabelPosition());
  // Without offsets the label margin lies between labels and title; with them the title
  // stands right at the labels' outer edge, whatever room the labels took before.
  EXPECT_EQ(axis->TitlePosition(), axis->LabelPosition() - size);
}

namespace {

// An add-on that writes down the paint phases it hears of.
struct PhaseRecorder : IChartAddOn {
  explicit PhaseRecorder(std::vector<int>& phases) : phases(phases) {}
  void ChartPaintPhase(int phase) override { phases.push_back(phase); }
  std::vector<int>& phases;
};

}  // namespace

TEST(ChartAddOns, ToolsAndAnimationsHearThePaintPhasesInOrder) {
  for (bool behind : {true, false}) {
    FixedChart chart;
    std::vector<int> tool, animation;
    chart.panel.Tools()->Add(std::make_unique<PhaseRecorder>(tool));
    chart.panel.Animations()->Add(std::make_unique<PhaseRecorder>(animation));
    chart.panel.SetAxisBehind(behind);
    chart.Paint();
    // Before painting, before the axes, before the series, after the series, after painting.
    const std::vector<int> expected = behind ? std::vector<int>{2, 3, 1, 4, 0} : std::vector<int>{2, 1, 4, 3, 0};
    EXPECT_EQ(tool, expected) << behind;
    EXPECT_EQ(animation, expected) << behind;
  }
}

namespace {

// A canvas that says it draws full 3D itself (it draws as the GDI canvas does).
struct Full3DCanvas : RecordingCanvas {
  bool SupportsFull3D() override { return true; }
};

}  // namespace

TEST(ChartExport, AFull3DCanvasExportsA24BitBitmapUnlessAFormatIsAsked) {
  struct Case {
    const char* name;
    bool full3D;
    TPixelFormat asked, expected;
  };
  const Case cases[] = {{"full 3D, device format", true, pfDevice, pf24bit},
                        {"full 3D, 32-bit asked", true, pf32bit, pf32bit},
                        {"GDI canvas, device format", false, pfDevice, pfDevice}};
  for (const Case& c : cases) {
    FixedChart chart;
    if (c.full3D) chart.panel.ChangeCanvas(new Full3DCanvas());
    chart.panel.SeriesAt(0)->ChangeSeriesColor(clRed);
    const std::unique_ptr<TBitmap> bitmap = chart.panel.RenderToBitmap(clWhite, TRect(0, 0, 400, 250), c.asked);
    EXPECT_EQ(bitmap->PixelFormat(), c.expected) << c.name;
    ASSERT_EQ(bitmap->Width(), 400) << c.name;
    // The chart painted its own background onto it (white means no pre-fill).
    EXPECT_NE(bitmap->Canvas()->Pixel(2, 2), clWhite) << c.name;
  }
}

namespace {

// A fast line that is always clipped, as every series was before curves that stay inside the
// chart rectangle were left unclipped.
struct AlwaysClippedLine : TFastLineSeries {
  AlwaysClippedLine() : TFastLineSeries(nullptr) {}
  bool DrawsWithin(const TRect&) override { return false; }
};

// A chart 400 x 250 with a zigzag of sharp spikes from edge to edge of the automatic bottom
// axis, its left axis fixed with room above and below, drawn onto a fresh bitmap.
std::unique_ptr<TBitmap> PaintZigzag(TFastLineSeries* series, bool plus, int width, bool allPoints, bool& inside) {
  TCustomAxisPanel panel(nullptr);
  panel.SetBounds(0, 0, 400, 250);
  panel.SetView3D(false);
  panel.SetBevelOuter(bvNone);
  if (plus)
    panel.ChangeCanvas(new TGDIPlusCanvas());
  else
    panel.ChangeCanvas(new TKelCanvas3D());
  for (int i = 0; i <= 300; ++i) series->AppendXY(i * 0.1, i % 2 == 0 ? 0 : 100);
  series->LinePen()->SetWidth(width);
  series->ChangeDrawAllPoints(allPoints);
  series->ChangeSeriesColor(clRed);
  panel.AttachSeries(series);
  panel.LeftAxis()->SetMinMax(-40, 140);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(400, 250);
  panel.DrawToCanvas(bitmap->Canvas(), TRect(0, 0, 400, 250));
  const TRect r = panel.ChartBounds();
  inside = series->DrawsWithin(TRect(r.Left, r.Top - 1, r.Right, r.Bottom + 1));
  panel.FreeAllSeries();
  return bitmap;
}

}  // namespace

TEST(ChartPaintOrder, ACurveLeftUnclippedLooksExactlyAsClipped) {
  KelGDIPlusStartup();
  for (const bool plus : {false, true})
    for (const int width : {1, 2, 3, 6})
      for (const bool allPoints : {false, true}) {
        SCOPED_TRACE(std::string(plus ? "GDI+" : "GDI") + " width " + std::to_string(width) +
                     (allPoints ? " all points" : " one point a column"));
        bool inside = false, clippedInside = true;
        const auto free = PaintZigzag(new TFastLineSeries(nullptr), plus, width, allPoints, inside);
        const auto clipped = PaintZigzag(new AlwaysClippedLine(), plus, width, allPoints, clippedInside);
        // The curve touches the automatic axis's ends (less the room the line asks for).
        EXPECT_TRUE(inside);
        EXPECT_FALSE(clippedInside);
        GdiFlush();
        int different = 0, red = 0;
        for (int y = 0; y < 250; ++y) {
          const auto* a = static_cast<const std::uint32_t*>(free->ScanLine(y));
          const auto* b = static_cast<const std::uint32_t*>(clipped->ScanLine(y));
          for (int x = 0; x < 400; ++x) {
            if ((a[x] & 0xFFFFFF) != (b[x] & 0xFFFFFF)) ++different;
            if ((a[x] & 0xFFFFFF) == 0xFF0000) ++red;
          }
        }
        EXPECT_EQ(different, 0);
        EXPECT_GT(red, 500);
      }
}

namespace {

// A tool that writes down which series draw their values, into the log the series' own events
// also write to.
struct SeriesValuesTool : IChartAddOn {
  SeriesValuesTool(std::vector<std::string>& log, bool active) : log(log), active(active) {}
  bool AddOnActive() const override { return active; }
  void ChartSeriesValues(int kind, TChartSeries& series) override {
    log.push_back("tool " + std::to_string(kind) + " " + series.Name());
  }
  std::vector<std::string>& log;
  bool active;
};

// A tool that notes, when the chart frees it, whether the series and the paging are still there.
struct FreedTool : IChartAddOn {
  FreedTool(TCustomAxisPanel& panel, int& series, bool& pages) : panel(panel), series(series), pages(pages) {}
  ~FreedTool() override {
    series = panel.SeriesCount();
    pages = panel.Pages() != nullptr;
  }
  TCustomAxisPanel& panel;
  int& series;
  bool& pages;
};

}  // namespace

TEST(ChartAddOns, ActiveToolsHearEachSeriesDrawItsValuesBeforeTheSeriesEvents) {
  TestChart chart;
  std::vector<std::string> log, unheard;
  chart.panel.Tools()->Add(std::make_unique<SeriesValuesTool>(unheard, false));
  chart.panel.Tools()->Add(std::make_unique<SeriesValuesTool>(log, true));
  for (const char* name : {"A", "B"}) {
    TFastLineSeries* s = chart.AddSeries(Line(0, 10, 0, 100), clDefault, name);
    s->BeforeDrawValues = [&log, name](TObject*) { log.push_back(std::string("before ") + name); };
    s->AfterDrawValues = [&log, name](TObject*) { log.push_back(std::string("after ") + name); };
  }
  chart.Paint();
  ASSERT_EQ(log.size(), 8u);
  for (size_t k = 0; k < 2; ++k) {
    const std::string name = log[k * 4].substr(log[k * 4].size() - 1);
    EXPECT_EQ(std::vector<std::string>(log.begin() + k * 4, log.begin() + k * 4 + 4),
              (std::vector<std::string>{"tool 1 " + name, "before " + name, "tool 4 " + name, "after " + name}));
  }
  EXPECT_NE(log[0].back(), log[4].back()) << "both series draw";
  EXPECT_TRUE(unheard.empty());
}

TEST(ChartAddOns, ToolsAreFreedAfterTheSeriesAndBeforeThePaging) {
  int series = -1;
  bool pages = false;
  {
    auto panel = std::make_unique<TCustomAxisPanel>(nullptr);
    auto* s = new TFastLineSeries(nullptr);
    panel->AttachSeries(s);
    panel->Tools()->Add(std::make_unique<FreedTool>(*panel, series, pages));
  }
  EXPECT_EQ(series, 0);
  EXPECT_TRUE(pages);
}

namespace {

// A series that writes down the axes that offer it room.
struct SpaceAskingSeries : TFastLineSeries {
  SpaceAskingSeries(std::vector<std::pair<const TChartAxis*, std::string>>& offers) : TFastLineSeries(nullptr), offers(offers) {}
  void RequestAxisSpace(TChartAxis& axis) override { offers.emplace_back(&axis, Name()); }
  std::vector<std::pair<const TChartAxis*, std::string>>& offers;
};

}  // namespace

TEST(ChartAxisRange, EveryAxisOffersEachActiveSeriesRoomAfterTheMargins) {
  TestChart chart;
  std::vector<std::pair<const TChartAxis*, std::string>> offers;
  for (const char* name : {"A", "Off", "B"}) {
    auto* s = new SpaceAskingSeries(offers);
    s->SetName(name);
    s->AppendXY(0, 0);
    s->AppendXY(1, 1);
    chart.panel.AttachSeries(s);
    if (std::string(name) == "Off") s->ChangeActive(false);
  }
  chart.Paint();
  std::vector<std::pair<const TChartAxis*, std::string>> expected;
  for (TChartAxis* axis : chart.panel.Axes())
    for (const char* name : {"A", "B"}) expected.emplace_back(axis, name);
  EXPECT_EQ(offers, expected);
  chart.panel.FreeAllSeries();
}
