// The chart's custom axes: series bound to one take their range and pixels from it, the axis is
// placed by its position settings without taking room from the chart rectangle, it joins and
// leaves the axis list with the collection, is copied and kept in layouts with its series'
// binding, and the scales saved for an undo give it back exactly (skipping an axis removed
// since). Also the chart's hover look, which switches every hover highlight of the chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "ChartWindowTestSupport.h"
#include "canvas/KelFont.h"
#include "canvas/KelShadow.h"
#include "chart/Chart.h"
#include "chart/FastLineSeries.h"
#include "chart/SeriesSelection.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Form.h"

namespace {

bool Listed(const TCustomAxisPanel& panel, const TChartAxis* axis) {
  const auto& axes = panel.Axes();
  return std::find(axes.begin(), axes.end(), axis) != axes.end();
}

// Texts drawn inside the "Axes" element but not by one of the named standard axes.
std::vector<RecordingCanvas::Text> CustomAxisTexts(const RecordingCanvas& canvas) {
  std::vector<RecordingCanvas::Text> result;
  for (const auto& t : canvas.texts) {
    if (t.path.rfind("Axes", 0) != 0) continue;
    bool standard = false;
    for (const char* name : {"Axes/Left", "Axes/Bottom", "Axes/Right", "Axes/Top"})
      if (t.path.rfind(name, 0) == 0) standard = true;
    if (!standard) result.push_back(t);
  }
  return result;
}

}  // namespace

// ---- Binding and layout -----------------------------------------------------------------------

TEST(CustomAxes, SeriesOnACustomAxisTakeTheirRangeAndPixelsFromIt) {
  TestChart chart;
  TFastLineSeries* main = chart.AddSeries(Line(0, 10, 0, 100));
  TFastLineSeries* other = chart.AddSeries(Line(0, 10, 200, 300));
  TChartAxis& custom = chart.panel.CustomAxes()->AddAxis();
  EXPECT_TRUE(Listed(chart.panel, &custom));
  EXPECT_EQ(chart.panel.Axes().size(), 7u);
  EXPECT_EQ(chart.panel.CustomAxis(0), &custom);
  EXPECT_EQ(chart.panel.CustomAxis(1), nullptr);
  EXPECT_EQ(chart.panel.CustomAxis(-1), nullptr);
  EXPECT_EQ(chart.panel.CustomAxisIndex(&custom), 0);
  EXPECT_EQ(chart.panel.CustomAxisIndex(chart.panel.LeftAxis()), -1);

  other->SetCustomVertAxis(&custom);
  EXPECT_EQ(other->VertAxis(), aCustomVertAxis);
  EXPECT_EQ(other->GetVertAxis(), &custom);
  chart.Paint();
  // Each vertical axis spans only its own series.
  EXPECT_DOUBLE_EQ(chart.panel.LeftAxis()->Maximum(), 100);
  EXPECT_DOUBLE_EQ(custom.Minimum(), 200);
  EXPECT_DOUBLE_EQ(custom.Maximum(), 300);
  EXPECT_TRUE(custom.VisibleNow);
  const TRect r = chart.panel.ChartBounds();
  EXPECT_EQ(custom.CalcYPosValue(300), chart.panel.LeftAxis()->CalcYPosValue(100));
  EXPECT_EQ(custom.CalcYPosValue(200), chart.panel.LeftAxis()->CalcYPosValue(0));
  EXPECT_EQ(custom.StartPixel(), chart.panel.LeftAxis()->StartPixel());
  EXPECT_EQ(custom.EndPixel(), chart.panel.LeftAxis()->EndPixel());
  EXPECT_LE(std::abs(custom.CalcYPosValue(300) - r.Top), 1);
  int px = 0, py = 0, mx = 0, my = 0;
  other->PointPixel(10, px, py);
  main->PointPixel(10, mx, my);
  EXPECT_EQ(py, my) << "both curves end at the top of their own axis";
  other->PointPixel(5, px, py);
  main->PointPixel(5, mx, my);
  EXPECT_LE(std::abs(py - my), 1) << "half way up both axes (rounded each on its own)";
  EXPECT_EQ(px, mx);

  // Without a series on it the custom axis is not drawn (other series are active).
  other->SetCustomVertAxis(nullptr);
  EXPECT_EQ(other->VertAxis(), aLeftAxis);
  chart.Paint();
  EXPECT_FALSE(custom.VisibleNow);
  EXPECT_DOUBLE_EQ(chart.panel.LeftAxis()->Maximum(), 300);
}

TEST(CustomAxes, PositionAndLabelsTable) {
  struct Case {
    const char* name;
    std::function<void(TChartAxis&)> set;
    // The axis line from the chart rectangle.
    std::function<int(const TRect&)> position;
    bool labelsRightOfLine;
  };
  const Case cases[] = {
      {"at the left edge", [](TChartAxis&) {}, [](const TRect& r) { return r.Left; }, false},
      {"half way across", [](TChartAxis& a) { a.SetPositionPercent(50); },
       [](const TRect& r) { return r.Left + (r.Right - r.Left) / 2; }, false},
      {"30 pixels in", [](TChartAxis& a) {
         a.SetPositionUnits(muPixels);
         a.SetPositionPercent(30);
       },
       [](const TRect& r) { return r.Left + 30; }, false},
      {"on the other side", [](TChartAxis& a) { a.SetOtherSide(true); }, [](const TRect& r) { return r.Right; },
       true},
      {"a quarter in from the other side", [](TChartAxis& a) {
         a.SetOtherSide(true);
         a.SetPositionPercent(25);
       },
       [](const TRect& r) { return r.Right - (r.Right - r.Left) / 4; }, true},
  };
  TRect plain;
  {
    TestChart chart;
    chart.AddSeries(Line(0, 10, 0, 100));
    chart.Paint();
    plain = chart.panel.ChartBounds();
  }
  for (const Case& c : cases) {
    TestChart chart;
    chart.AddSeries(Line(0, 10, 0, 100));
    TFastLineSeries* other = chart.AddSeries(Line(0, 10, 200, 300));
    TChartAxis& custom = chart.panel.CustomAxes()->AddAxis();
    c.set(custom);
    other->SetCustomVertAxis(&custom);
    chart.Paint();
    const TRect r = chart.panel.ChartBounds();
    // A custom axis takes no room: the rectangle is the one of the chart without it.
    EXPECT_EQ(r, plain) << c.name;
    EXPECT_EQ(custom.Position(), c.position(r)) << c.name;
    // The labels stand beside the line, outside by the axis line (2 + 1) and ticks (4).
    EXPECT_EQ(custom.LabelPosition(), custom.Position() + (c.labelsRightOfLine ? 7 : -7)) << c.name;

    const auto texts = CustomAxisTexts(*chart.canvas);
    std::vector<std::string> values;
    for (const auto& t : texts) values.push_back(t.text);
    ASSERT_EQ(values.size(), 11u) << c.name;
    EXPECT_NE(std::find(values.begin(), values.end(), "200"), values.end()) << c.name;
    EXPECT_NE(std::find(values.begin(), values.end(), "300"), values.end()) << c.name;
    for (const auto& t : texts) {
      // Each label stands at the label position, on the row of its own value.
      EXPECT_EQ(t.x, custom.LabelPosition()) << c.name << " " << t.text;
      EXPECT_EQ(t.y, custom.CalcYPosValue(std::stod(t.text)) - 5) << c.name << " " << t.text;
    }
  }
}

TEST(CustomAxes, NewAxisCopiesTheFirstVisibleVerticalAxisAndLeavesWithItsSeries) {
  TestChart chart;
  chart.panel.LeftAxis()->SetInverted(true);
  chart.panel.LeftAxis()->LabelsFont()->SetColor(clRed);
  TChartAxis& first = chart.panel.CustomAxes()->AddAxis();
  EXPECT_TRUE(first.Inverted());
  EXPECT_EQ(first.LabelsFont()->Color(), clRed);
  EXPECT_FALSE(first.Horizontal());
  EXPECT_FALSE(first.IsStandard());

  // The left axis hidden, the right one is the first visible vertical axis.
  chart.panel.LeftAxis()->SetVisible(false);
  chart.panel.RightAxis()->SetLogarithmic(true);
  TChartAxis& second = chart.panel.CustomAxes()->AddAxis();
  EXPECT_TRUE(second.Logarithmic());
  EXPECT_FALSE(second.Inverted());

  TFastLineSeries* a = chart.AddSeries(Line(0, 10, 0, 100));
  TFastLineSeries* b = chart.AddSeries(Line(0, 10, 0, 100));
  TChartAxis& horizontal = chart.panel.CustomAxes()->AddAxis();
  horizontal.SetHorizontal(true);
  a->SetCustomVertAxis(&first);
  b->SetCustomVertAxis(&second);
  b->SetCustomHorizAxis(&horizontal);
  EXPECT_EQ(b->GetHorizAxis(), &horizontal);

  // Freed axes leave the list; their series go back to the bottom and left axes.
  delete &first;
  EXPECT_FALSE(Listed(chart.panel, &first));
  EXPECT_EQ(a->VertAxis(), aLeftAxis);
  EXPECT_EQ(a->GetVertAxis(), chart.panel.LeftAxis());
  EXPECT_EQ(b->GetVertAxis(), &second);
  chart.panel.CustomAxes()->Delete(chart.panel.CustomAxisIndex(&horizontal));
  EXPECT_EQ(b->HorizAxis(), aBottomAxis);
  EXPECT_EQ(b->GetHorizAxis(), chart.panel.BottomAxis());
  EXPECT_EQ(chart.panel.CustomAxisIndex(&second), 0);
  EXPECT_EQ(chart.panel.Axes().size(), 7u);
  chart.Paint();  // nothing refers to the freed axes
  EXPECT_DOUBLE_EQ(second.Maximum(), 100);
}

// ---- Layouts and copies -----------------------------------------------------------------------

namespace {

std::string WriteLayout(TComponent& root) {
  TMemoryStream stream;
  stream.WriteComponent(&root);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::unique_ptr<TChart> ReadLayout(const std::string& binary) {
  RegisterClass(TChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  TMemoryStream stream;
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  auto* root = new TChart(nullptr);
  stream.ReadComponent(root);
  return std::unique_ptr<TChart>(root);
}

}  // namespace

TEST(CustomAxes, LayoutKeepsTheAxesAndTheSeriesBinding) {
  TChart chart(nullptr);
  chart.SetName("Chart1");
  const std::string empty = WriteLayout(chart);
  EXPECT_EQ(empty.find("CustomAxes"), std::string::npos) << "not stored while empty";

  chart.LeftAxis()->SetInverted(true);  // the new axes copy it
  TChartAxis& a = chart.CustomAxes()->AddAxis();
  a.SetPositionPercent(50);
  TChartAxis& b = chart.CustomAxes()->AddAxis();
  b.SetOtherSide(true);
  b.SetInverted(false);
  b.SetMinMax(20, 40);
  auto* line = new TFastLineSeries(&chart);
  line->SetName("Line");
  line->ChangeParentChart(&chart);
  line->SetCustomVertAxis(&b);
  chart.Hover()->SetVisible(false);
  const std::string layout = WriteLayout(chart);
  EXPECT_NE(layout.find("CustomAxes"), std::string::npos);

  const auto copy = ReadLayout(layout);
  ASSERT_EQ(copy->CustomAxes()->Count(), 2);
  TChartAxis* ra = copy->CustomAxis(0);
  TChartAxis* rb = copy->CustomAxis(1);
  EXPECT_TRUE(Listed(*copy, ra));
  EXPECT_TRUE(Listed(*copy, rb));
  EXPECT_EQ(copy->Axes().size(), 8u);
  EXPECT_DOUBLE_EQ(ra->PositionPercent(), 50);
  EXPECT_TRUE(ra->Inverted());
  EXPECT_TRUE(rb->OtherSide());
  EXPECT_FALSE(rb->Inverted());
  EXPECT_FALSE(rb->Automatic());
  EXPECT_DOUBLE_EQ(rb->Minimum(), 20);
  EXPECT_DOUBLE_EQ(rb->Maximum(), 40);
  EXPECT_FALSE(copy->Hover()->Visible());
  auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->VertAxis(), aCustomVertAxis);
  EXPECT_EQ(read->CustomVertAxis(), rb);
  EXPECT_EQ(read->GetVertAxis(), rb);
}

TEST(CustomAxes, AssignCopiesTheAxesAndTheHoverLook) {
  TChart source(nullptr), target(nullptr);
  TChartAxis& a = source.CustomAxes()->AddAxis();
  a.SetMinMax(3, 7);
  a.SetPositionPercent(20);
  source.Hover()->SetVisible(false);
  source.Hover()->Font()->SetColor(clBlue);
  target.CustomAxes()->AddAxis();
  target.CustomAxes()->AddAxis();
  target.Assign(&source);
  ASSERT_EQ(target.CustomAxes()->Count(), 1);
  EXPECT_EQ(target.Axes().size(), 7u);
  TChartAxis* copy = target.CustomAxis(0);
  EXPECT_NE(copy, &a);
  EXPECT_TRUE(Listed(target, copy));
  EXPECT_DOUBLE_EQ(copy->Minimum(), 3);
  EXPECT_DOUBLE_EQ(copy->Maximum(), 7);
  EXPECT_DOUBLE_EQ(copy->PositionPercent(), 20);
  EXPECT_FALSE(target.Hover()->Visible());
  EXPECT_EQ(target.Hover()->Font()->Color(), clBlue);
}

// ---- Mouse: zoom, pan, wheel and undo ---------------------------------------------------------

namespace {

// The mouse chart with its third curve on a custom axis on the other side.
class CustomAxisChart : public MouseChart {
 public:
  CustomAxisChart() {
    custom = &chart->CustomAxes()->AddAxis();
    // A copy of the left axis, but with a range of its own.
    custom->SetAutomatic(true);
    custom->SetOtherSide(true);
    chart->SeriesAt(2)->SetCustomVertAxis(custom);
    Paint();
  }
  // A leftward drag: the undo.
  void Undo() { Drag(X0() + 60, Y0(), X0(), Y0() + 60); }

  TChartAxis* custom;
};

struct Scale {
  bool automatic, automaticMinimum, automaticMaximum;
  double minimum, maximum;
};

Scale ScaleOf(const TChartAxis* axis) {
  return {axis->Automatic(), axis->AutomaticMinimum(), axis->AutomaticMaximum(), axis->Minimum(), axis->Maximum()};
}

void ExpectScale(const TChartAxis* axis, const Scale& s, const std::string& name) {
  EXPECT_EQ(axis->Automatic(), s.automatic) << name;
  EXPECT_EQ(axis->AutomaticMinimum(), s.automaticMinimum) << name;
  EXPECT_EQ(axis->AutomaticMaximum(), s.automaticMaximum) << name;
  EXPECT_DOUBLE_EQ(axis->Minimum(), s.minimum) << name;
  EXPECT_DOUBLE_EQ(axis->Maximum(), s.maximum) << name;
}

}  // namespace

TEST(CustomAxisMouse, UndoGivesTheCustomAxisBackExactly) {
  struct Case {
    const char* name;
    bool fixed;  // the custom axis has a fixed range before
    std::function<void(CustomAxisChart&)> act;
  };
  const Case cases[] = {
      {"pan up", false, [](CustomAxisChart& m) { m.Drag(m.X0(), m.Y0() + 60, m.X0(), m.Y0(), true); }},
      {"pan of a fixed axis", true, [](CustomAxisChart& m) { m.Drag(m.X0(), m.Y0(), m.X0(), m.Y0() + 50, true); }},
      {"wheel", true, [](CustomAxisChart& m) { m.Wheel(3); }},
      {"zoom then pan", false,
       [](CustomAxisChart& m) {
         m.Drag(m.X0(), m.Y0(), m.X0() + 80, m.Y0() + 60);
         m.Drag(m.X0(), m.Y0() + 40, m.X0(), m.Y0(), true);
       }},
  };
  for (const Case& c : cases) {
    CustomAxisChart m;
    if (c.fixed) m.custom->SetMinMax(20, 140);
    m.Paint();
    const Scale before = ScaleOf(m.custom);
    const Scale left = ScaleOf(m.chart->LeftAxis());
    c.act(m);
    EXPECT_FALSE(m.chart->ScalesSavePending()) << c.name;
    EXPECT_FALSE(m.custom->Automatic()) << c.name << ": the custom axis moved with the others";
    EXPECT_TRUE(m.custom->Minimum() != before.minimum || m.custom->Maximum() != before.maximum) << c.name;
    m.Undo();
    EXPECT_TRUE(m.chart->ScalesSavePending()) << c.name;
    ExpectScale(m.custom, before, c.name);
    ExpectScale(m.chart->LeftAxis(), left, c.name);
  }
}

TEST(CustomAxisMouse, ZoomLeavesTheCustomAxisAndItsSnapshotKeepsIt) {
  CustomAxisChart m;
  m.chart->Zoom()->SetHistory(true);
  m.custom->SetMinMax(20, 140);
  m.Paint();
  m.Drag(m.X0(), m.Y0(), m.X0() + 80, m.Y0() + 60);
  ASSERT_TRUE(m.chart->Zoomed());
  EXPECT_DOUBLE_EQ(m.custom->Minimum(), 20);
  EXPECT_DOUBLE_EQ(m.custom->Maximum(), 140);
  ASSERT_EQ(m.chart->ZoomHistory().size(), 1u);
  ASSERT_EQ(m.chart->ZoomHistory()[0].CustomAxes.size(), 1u);
  EXPECT_DOUBLE_EQ(m.chart->ZoomHistory()[0].CustomAxes[0][0], 20);
  EXPECT_DOUBLE_EQ(m.chart->ZoomHistory()[0].CustomAxes[0][1], 140);
  m.Undo();
  EXPECT_FALSE(m.chart->Zoomed());
  ExpectScale(m.custom, {false, false, false, 20, 140}, "after the undo");
}

TEST(CustomAxisMouse, AnAxisRemovedSinceTheScalesWereSavedIsSkipped) {
  CustomAxisChart m;
  TChartAxis* kept = &m.chart->CustomAxes()->AddAxis();
  m.chart->SeriesAt(1)->SetCustomVertAxis(kept);
  m.Paint();
  const Scale keptBefore = ScaleOf(kept);
  m.Drag(m.X0(), m.Y0() + 60, m.X0(), m.Y0(), true);  // pan: the scales are saved
  ASSERT_FALSE(m.chart->ScalesSavePending());
  ASSERT_FALSE(kept->Automatic());

  // The first custom axis goes; a new one (perhaps where the old one was) gets a fixed range.
  m.chart->CustomAxes()->Delete(0);
  EXPECT_EQ(m.chart->SeriesAt(2)->GetVertAxis(), m.chart->LeftAxis());
  TChartAxis* fresh = &m.chart->CustomAxes()->AddAxis();
  fresh->SetMinMax(5, 6);
  m.chart->SeriesAt(2)->SetCustomVertAxis(fresh);
  m.Paint();
  m.Undo();
  EXPECT_TRUE(m.chart->ScalesSavePending());
  ExpectScale(fresh, {false, false, false, 5, 6}, "an axis made after the save");
  ExpectScale(kept, keptBefore, "an axis there all along");
  ExpectScale(m.chart->LeftAxis(), {false, false, false, 0, 100}, "the left axis");
}

// ---- The chart's hover look -------------------------------------------------------------------

TEST(ChartHover, HiddenChartHoverSwitchesSeriesAndLegendHoverOff) {
  CustomAxisChart m;
  TChartSeries* s = m.chart->SeriesAt(0);
  m.chart->SeriesAt(1)->ChangeActive(false);
  m.chart->SeriesAt(2)->ChangeActive(false);
  TKelSelected* selected = s->Selected();
  selected->Hover()->SetVisible(true);  // a fast line hides its own at first
  TKelSelected* legendSelected = m.chart->Legend()->Selected();
  m.Paint();
  ASSERT_TRUE(m.chart->Hover()->Visible()) << "shown by default";
  EXPECT_TRUE(s->HoverActive());
  int px, py;
  s->PointPixel(1, px, py);
  const int lineX = (m.chart->ChartBounds().Left + px) / 2;
  const int lineY = s->GetVertAxis()->CalcYPosValue(50);
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY));
  ASSERT_GE(selected->HoverIndex(), 0);
  EXPECT_EQ(legendSelected->HoverIndex(), 0) << "the curve's legend row";
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY + 60));
  EXPECT_EQ(selected->HoverIndex(), -1);
  EXPECT_EQ(legendSelected->HoverIndex(), -1);

  // Hidden on the chart: neither the curve nor the legend follows the mouse any more.
  m.chart->Hover()->SetVisible(false);
  EXPECT_FALSE(s->HoverActive());
  ASSERT_TRUE(selected->Hover()->Visible());
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY));
  EXPECT_EQ(selected->HoverIndex(), -1);
  EXPECT_EQ(legendSelected->HoverIndex(), -1);
  TChartLegend* legend = m.chart->Legend();
  const int rowX = legend->Bounds.Left + 30, row1Y = legend->ItemsTop() + 1 + 2 + 17 + 8;
  ASSERT_EQ(legend->ItemAt(rowX, row1Y), 1);
  m.Send(WM_MOUSEMOVE, 0, At(rowX, row1Y));
  EXPECT_EQ(legendSelected->HoverIndex(), -1);

  // A row hovered before the look was hidden is drawn in the plain legend colour.
  legendSelected->ChangeHoverIndex(1);
  auto* canvas = static_cast<RecordingCanvas*>(m.chart->Canvas3D());
  canvas->Clear();
  m.Paint();
  const auto texts = canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(m.RedPixels(texts[1].x, texts[1].y, texts[1].x + 18, texts[1].y + 12), 0) << "chart hover hidden";
  m.chart->Hover()->SetVisible(true);
  m.Paint();
  EXPECT_GT(m.RedPixels(texts[1].x, texts[1].y, texts[1].x + 18, texts[1].y + 12), 3) << "chart hover shown";
}

TEST(ChartHover, ASeriesWithoutAnAxisPanelKeepsItsOwnHover) {
  // A series on no chart: a missing chart hover object counts as shown.
  TFastLineSeries s(nullptr);
  s.Selected()->Hover()->SetVisible(true);
  EXPECT_TRUE(s.HoverActive());
  s.Selected()->Hover()->SetVisible(false);
  EXPECT_FALSE(s.HoverActive());
}

TEST(CustomAxisMouse, AClickOnTheCustomAxisReachesTheAxisEvent) {
  CustomAxisChart m;
  m.custom->SetPositionPercent(50);
  m.Paint();
  const TRect r = m.chart->ChartBounds();
  const int lineX = m.custom->Position(), midY = (r.Top + r.Bottom) / 2;
  ASSERT_GT(lineX, r.Left + 100);
  ASSERT_LT(lineX, r.Right - 100);
  const TChartHit hit = m.chart->HitTestPart(lineX, midY, true);
  EXPECT_EQ(hit.Part, hpAxis);
  EXPECT_EQ(hit.Axis, m.custom);
  // Beside the line and its labels: the chart area.
  EXPECT_EQ(m.chart->HitTestPart(lineX - 60, midY, true).Part, hpChartArea);

  TChartAxis* clicked = nullptr;
  m.chart->OnClickAxis = [&](TCustomChart*, TChartAxis* axis, TMouseButton, TShiftState, int, int) {
    clicked = axis;
  };
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(lineX, midY));
  m.Send(WM_LBUTTONUP, 0, At(lineX, midY));
  EXPECT_EQ(clicked, m.custom);
  EXPECT_FALSE(m.chart->Zoom()->Active) << "the handled click starts no zoom";
}

TEST(ChartHover, AxisLabelsFollowTheMouseWhileTheChartHoverIsShown) {
  CustomAxisChart m;
  TChartAxis* axis = m.chart->LeftAxis();
  TKelSelected* labels = axis->Items()->Selected();
  m.Paint();
  ASSERT_GE(axis->LabelItems().size(), 3u);
  const TRect box = axis->LabelItems()[2].Box;
  ASSERT_GT(box.Right, box.Left);
  const int x = (box.Left + box.Right) / 2, y = (box.Top + box.Bottom) / 2;

  m.Send(WM_MOUSEMOVE, 0, At(x, y));
  EXPECT_EQ(labels->HoverIndex(), 2);
  const TRect r = m.chart->ChartBounds();
  m.Send(WM_MOUSEMOVE, 0, At((r.Left + r.Right) / 2, r.Top + 3));
  EXPECT_EQ(labels->HoverIndex(), -1) << "off the labels";

  // Leaving the chart ends the hover.
  m.Send(WM_MOUSEMOVE, 0, At(x, y));
  ASSERT_EQ(labels->HoverIndex(), 2);
  m.Send(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(labels->HoverIndex(), -1);

  // With the chart's hover hidden, the labels no longer follow.
  m.chart->Hover()->SetVisible(false);
  m.Send(WM_MOUSEMOVE, 0, At(x, y));
  EXPECT_EQ(labels->HoverIndex(), -1);
}

// ---- Sub-axes and titles under the mouse ------------------------------------------------------

TEST(CustomAxisMouse, ASubAxisIsTheAxisClickedAndItsLabelsHover) {
  CustomAxisChart m;
  TChartAxis* bottom = m.chart->BottomAxis();
  TChartAxis& sub = bottom->AddSubAxis();
  sub.SetIncrement(5);
  TKelSelected* subLabels = sub.Items()->Selected();
  TKelSelected* bottomLabels = bottom->Items()->Selected();
  m.Paint();
  ASSERT_TRUE(sub.VisibleNow);
  const TRect r = m.chart->ChartBounds();
  const int midX = (r.Left + r.Right) / 2;
  // The sub-axis stands outside the bottom axis's labels; between its line and its labels.
  ASSERT_GT(sub.Position(), bottom->LabelPosition());
  const int subY = (sub.Position() + sub.LabelPosition()) / 2;
  const int bottomY = (bottom->Position() + bottom->LabelPosition()) / 2;
  ASSERT_LT(bottomY, sub.Position());

  struct Case {
    const char* name;
    int y;
    TChartAxis* axis;
  };
  const Case cases[] = {{"the sub-axis", subY, &sub}, {"the bottom axis", bottomY, bottom}};
  for (const Case& c : cases) {
    const TChartHit hit = m.chart->HitTestPart(midX, c.y, true);
    EXPECT_EQ(hit.Part, hpAxis) << c.name;
    EXPECT_EQ(hit.Axis, c.axis) << c.name;
    TChartAxis* clicked = nullptr;
    m.chart->OnClickAxis = [&](TCustomChart*, TChartAxis* axis, TMouseButton, TShiftState, int, int) {
      clicked = axis;
    };
    m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(midX, c.y));
    m.Send(WM_LBUTTONUP, 0, At(midX, c.y));
    EXPECT_EQ(clicked, c.axis) << c.name;
  }

  // The sub-axis's labels follow the mouse as the axis's own do.
  ASSERT_GE(sub.LabelItems().size(), 2u);
  const TRect box = sub.LabelItems()[1].Box;
  ASSERT_GT(box.Right, box.Left);
  m.Send(WM_MOUSEMOVE, 0, At((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2));
  EXPECT_EQ(subLabels->HoverIndex(), 1);
  EXPECT_EQ(bottomLabels->HoverIndex(), -1);
  m.Send(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(subLabels->HoverIndex(), -1) << "leaving the chart ends it";

  // Hidden, the sub-axis is not drawn, so neither hit (not even where it stood) nor hovered.
  sub.SetVisible(false);
  m.Paint();
  EXPECT_FALSE(sub.VisibleNow);
  EXPECT_EQ(sub.ClickedAxis(midX, subY), nullptr);
  EXPECT_NE(m.chart->HitTestPart(midX, subY, true).Axis, &sub);
}

TEST(CustomAxisMouse, AnAxisTitleUnderTheMouseIsItsOwnPart) {
  CustomAxisChart m;
  TChartAxis* left = m.chart->LeftAxis();
  left->Title()->SetText("Temp");
  m.Paint();
  const TRect box = left->Title()->Bounds;
  ASSERT_GT(box.Right, box.Left);
  const int x = (box.Left + box.Right) / 2, y = (box.Top + box.Bottom) / 2;
  ASSERT_LT(x, left->LabelPosition()) << "outside the labels";
  TChartHit hit = m.chart->HitTestPart(x, y, true);
  EXPECT_EQ(hit.Part, hpAxisTitle);
  EXPECT_EQ(hit.Axis, left);
  // Hidden or without a caption, the title is not there to hit.
  left->Title()->SetVisible(false);
  EXPECT_NE(m.chart->HitTestPart(x, y, true).Part, hpAxisTitle);
  left->Title()->SetVisible(true);
  left->Title()->SetText("");
  m.Paint();
  EXPECT_NE(m.chart->HitTestPart(x, y, true).Part, hpAxisTitle);
}

// ---- Freeing --------------------------------------------------------------------------------

namespace {

// An axis that counts how often it is freed, and whether its chart's axis list was already
// emptied when it went.
struct CountedAxis : TChartAxis {
  CountedAxis(TCollection* collection, int& freed, int& freedAfterList)
      : TChartAxis(collection), freed(freed), freedAfterList(freedAfterList) {}
  ~CountedAxis() override {
    ++freed;
    if (auto* panel = dynamic_cast<TCustomAxisPanel*>(Owner()); panel && panel->Axes().empty()) ++freedAfterList;
  }
  int& freed;
  int& freedAfterList;
};

}  // namespace

TEST(CustomAxes, EveryAxisIsFreedOnceAloneOrWithItsChart) {
  int freed = 0, afterList = 0;
  auto* chart = new TestChart();
  TCustomAxisPanel& panel = chart->panel;
  TFastLineSeries* series = chart->AddSeries(Line(0, 10, 0, 100));
  auto* lone = new CountedAxis(panel.CustomAxes(), freed, afterList);
  new CountedAxis(lone->SubAxes(), freed, afterList);
  auto* kept = new CountedAxis(panel.CustomAxes(), freed, afterList);
  new CountedAxis(kept->SubAxes(), freed, afterList);
  new CountedAxis(kept->SubAxes(), freed, afterList);
  series->SetCustomVertAxis(lone);
  panel.LeftAxis()->SetPartnerAxis(lone);
  kept->SetPartnerAxis(panel.LeftAxis());
  ASSERT_EQ(panel.Axes().size(), 8u);
  chart->Paint();

  // Freed alone: it and its sub-axis go once; the chart forgets it everywhere.
  delete lone;
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(panel.Axes().size(), 7u);
  EXPECT_EQ(panel.CustomAxes()->Count(), 1);
  EXPECT_EQ(series->GetVertAxis(), panel.LeftAxis());
  EXPECT_EQ(panel.LeftAxis()->PartnerAxis(), nullptr);
  chart->Paint();

  // With the chart: the axis list goes first and frees the custom axis (and its sub-axes),
  // which leave the custom axes collection before it is freed in turn.
  panel.FreeAllSeries();
  delete chart;
  EXPECT_EQ(freed, 5);
  EXPECT_EQ(afterList, 3);
}
