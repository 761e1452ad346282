// The chart's mouse on a real chart window, driven by window messages: zoom by a dragged
// rectangle (threshold, direction, undo by a leftward drag, history), panning with the right
// button per AllowPanning, the wheel, undo after scrolling far past the saved range, and a
// click on a legend row that switches a curve without starting a zoom.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ChartControlTestSupport.h"
#include "ChartPanelTestSupport.h"
#include "ChartWindowTestSupport.h"
#include "chart/Chart.h"
#include "chart/SeriesMarks.h"
#include "chart/SeriesSelection.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Form.h"

namespace {

void ExpectRange(const TChartAxis* axis, double minimum, double maximum) {
  EXPECT_NEAR(axis->Minimum(), minimum, 1e-9);
  EXPECT_NEAR(axis->Maximum(), maximum, 1e-9);
  EXPECT_FALSE(axis->Automatic());
}

void ExpectUnchanged(const TChartAxis* axis, const Range& before) {
  EXPECT_DOUBLE_EQ(axis->Minimum(), before.minimum);
  EXPECT_DOUBLE_EQ(axis->Maximum(), before.maximum);
  EXPECT_EQ(axis->Automatic(), before.automatic);
}

}  // namespace

TEST(ChartMouse, DragsZoomPanScrollAndUndo) {
  struct Case {
    const char* name;
    std::function<void(MouseChart&)> act;
    std::function<void(MouseChart&, const Range& left, const Range& bottom)> check;
  };
  auto value = [](const TChartAxis* axis, int pixel) { return axis->CalcPosPoint(pixel); };
  const Case cases[] = {
      {"a 16-pixel drag does nothing",
       [](MouseChart& m) { m.Drag(m.X0(), m.Y0(), m.X0() + 16, m.Y0() + 16); },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->LeftAxis(), left);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
         EXPECT_FALSE(m.chart->Zoomed());
       }},
      {"17 pixels one way and 16 the other do nothing",
       [](MouseChart& m) { m.Drag(m.X0(), m.Y0(), m.X0() + 40, m.Y0() + 16); },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->LeftAxis(), left);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
       }},
      {"a 17-pixel drag down and right zooms to its rectangle",
       [&](MouseChart& m) {
         const int x = m.X0(), y = m.Y0();
         const double b0 = value(m.chart->BottomAxis(), x), b1 = value(m.chart->BottomAxis(), x + 17);
         const double l0 = value(m.chart->LeftAxis(), y + 17), l1 = value(m.chart->LeftAxis(), y);
         m.Drag(x, y, x + 17, y + 17);
         ExpectRange(m.chart->BottomAxis(), b0, b1);
         ExpectRange(m.chart->LeftAxis(), l0, l1);
       },
       [](MouseChart& m, const Range&, const Range&) { EXPECT_TRUE(m.chart->Zoomed()); }},
      {"a drag up and right zooms to the same rectangle",
       [&](MouseChart& m) {
         const int x = m.X0(), y = m.Y0();
         const double b0 = value(m.chart->BottomAxis(), x), b1 = value(m.chart->BottomAxis(), x + 60);
         const double l0 = value(m.chart->LeftAxis(), y + 50), l1 = value(m.chart->LeftAxis(), y);
         m.Drag(x, y + 50, x + 60, y);
         ExpectRange(m.chart->BottomAxis(), b0, b1);
         ExpectRange(m.chart->LeftAxis(), l0, l1);
       },
       [](MouseChart&, const Range&, const Range&) {}},
      {"a leftward drag undoes the zoom",
       [](MouseChart& m) {
         m.Drag(m.X0(), m.Y0(), m.X0() + 60, m.Y0() + 60);
         m.Drag(m.X0() + 60, m.Y0(), m.X0(), m.Y0() + 60);
       },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->LeftAxis(), left);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
         EXPECT_FALSE(m.chart->Zoomed());
         EXPECT_TRUE(m.chart->ScalesSavePending());
       }},
      {"vertical-only zoom leaves the bottom axis automatic",
       [&](MouseChart& m) {
         m.chart->Zoom()->Direction = tzdVertical;
         const int y = m.Y0();
         const double l0 = value(m.chart->LeftAxis(), y + 30), l1 = value(m.chart->LeftAxis(), y);
         m.Drag(m.X0(), y, m.X0() + 5, y + 30);  // the width does not count
         ExpectRange(m.chart->LeftAxis(), l0, l1);
       },
       [](MouseChart& m, const Range&, const Range& bottom) { ExpectUnchanged(m.chart->BottomAxis(), bottom); }},
      {"a right drag pans both ways",
       [&](MouseChart& m) {
         const int x = m.X0(), y = m.Y0();
         const TChartAxis* b = m.chart->BottomAxis();
         const TChartAxis* l = m.chart->LeftAxis();
         const double db = value(b, x) - value(b, x + 40), dl = value(l, y) - value(l, y + 20);
         const double bLo = b->InternalMinimum(), bHi = b->InternalMaximum();
         m.Drag(x, y, x + 40, y + 20, true);
         ExpectRange(b, bLo + db, bHi + db);
         ExpectRange(l, 0 + dl, 100 + dl);
         EXPECT_GT(dl, 0);  // dragging down shows lower values: the range moves up
       },
       [](MouseChart& m, const Range&, const Range&) { EXPECT_FALSE(m.chart->Zoom()->Active); }},
      {"panning horizontally only",
       [](MouseChart& m) {
         m.chart->SetAllowPanning(pmHorizontal);
         m.Drag(m.X0(), m.Y0(), m.X0() + 40, m.Y0() + 20, true);
       },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->LeftAxis(), left);
         EXPECT_NE(m.chart->BottomAxis()->Minimum(), bottom.minimum);
       }},
      {"panning vertically only",
       [](MouseChart& m) {
         m.chart->SetAllowPanning(pmVertical);
         m.Drag(m.X0(), m.Y0(), m.X0() + 40, m.Y0() + 20, true);
       },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
         EXPECT_NE(m.chart->LeftAxis()->Minimum(), left.minimum);
       }},
      {"no panning",
       [](MouseChart& m) {
         m.chart->SetAllowPanning(pmNone);
         m.Drag(m.X0(), m.Y0(), m.X0() + 40, m.Y0() + 20, true);
       },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->LeftAxis(), left);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
       }},
      {"a wheel notch down scrolls the vertical axes by 3 %",
       [](MouseChart& m) { m.Wheel(-1); },
       [](MouseChart& m, const Range&, const Range& bottom) {
         ExpectRange(m.chart->LeftAxis(), -3, 97);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
       }},
      {"two notches up",
       [](MouseChart& m) { m.Wheel(2); },
       [](MouseChart& m, const Range&, const Range&) { ExpectRange(m.chart->LeftAxis(), 6, 106); }},
      {"34 notches down and a leftward drag restore 0..100",
       [](MouseChart& m) {
         m.Wheel(-34);
         EXPECT_LT(m.chart->LeftAxis()->Maximum(), 0);
         EXPECT_NO_THROW(m.Drag(m.X0() + 60, m.Y0(), m.X0(), m.Y0() + 60));
       },
       [](MouseChart& m, const Range&, const Range& bottom) {
         ExpectRange(m.chart->LeftAxis(), 0, 100);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
       }},
      {"a pan past the saved range and an undo",
       [](MouseChart& m) {
         for (int i = 0; i < 8; ++i) m.Drag(m.X0(), m.Y0(), m.X0(), m.Y0() + 100, true);
         EXPECT_GT(m.chart->LeftAxis()->Minimum(), 100);
         EXPECT_NO_THROW(m.Drag(m.X0() + 60, m.Y0(), m.X0(), m.Y0() + 60));
       },
       [](MouseChart& m, const Range&, const Range& bottom) {
         ExpectRange(m.chart->LeftAxis(), 0, 100);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
       }},
      {"zoom history: undo goes back one zoom at a time",
       [&](MouseChart& m) {
         m.chart->Zoom()->SetHistory(true);
         m.Drag(m.X0(), m.Y0(), m.X0() + 100, m.Y0() + 100);
         const Range first = MouseChart::RangeOf(m.chart->LeftAxis());
         const Range firstBottom = MouseChart::RangeOf(m.chart->BottomAxis());
         m.Drag(m.X0(), m.Y0(), m.X0() + 50, m.Y0() + 50);
         EXPECT_EQ(m.chart->ZoomHistory().size(), 2u);
         EXPECT_NE(m.chart->LeftAxis()->Maximum(), first.maximum);
         m.Drag(m.X0() + 60, m.Y0(), m.X0(), m.Y0() + 60);
         ExpectRange(m.chart->LeftAxis(), first.minimum, first.maximum);
         ExpectRange(m.chart->BottomAxis(), firstBottom.minimum, firstBottom.maximum);
         m.Drag(m.X0() + 60, m.Y0(), m.X0(), m.Y0() + 60);
         EXPECT_TRUE(m.chart->ZoomHistory().empty());
       },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->LeftAxis(), left);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
       }},
      {"turning the history off forgets it: one undo restores the saved ranges",
       [](MouseChart& m) {
         m.chart->Zoom()->SetHistory(true);
         m.Drag(m.X0(), m.Y0(), m.X0() + 100, m.Y0() + 100);
         m.Drag(m.X0(), m.Y0(), m.X0() + 50, m.Y0() + 50);
         m.chart->Zoom()->SetHistory(false);
         EXPECT_TRUE(m.chart->ZoomHistory().empty());
         m.chart->Zoom()->SetHistory(true);
         m.Drag(m.X0() + 60, m.Y0(), m.X0(), m.Y0() + 60);
       },
       [](MouseChart& m, const Range& left, const Range& bottom) {
         ExpectUnchanged(m.chart->LeftAxis(), left);
         ExpectUnchanged(m.chart->BottomAxis(), bottom);
         EXPECT_FALSE(m.chart->Zoomed());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MouseChart m;
    const Range left = MouseChart::RangeOf(m.chart->LeftAxis());
    const Range bottom = MouseChart::RangeOf(m.chart->BottomAxis());
    ASSERT_TRUE(bottom.automatic);
    c.act(m);
    c.check(m, left, bottom);
  }
}

TEST(ChartMouse, ClickOnALegendRowTogglesItsCurveAndStartsNoZoom) {
  MouseChart m;
  TChartLegend* legend = m.chart->Legend();
  const int x = legend->Bounds.Left + 20;
  const int y = legend->ItemsTop() + 1 + legend->ItemHeight() + legend->ItemHeight() / 2;  // row 1
  ASSERT_EQ(legend->ItemAt(x, y), 1);
  const Range left = MouseChart::RangeOf(m.chart->LeftAxis());
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  EXPECT_FALSE(m.chart->Zoom()->Active);
  m.Send(WM_MOUSEMOVE, MK_LBUTTON, At(x - 100, y + 60));
  m.Send(WM_LBUTTONUP, 0, At(x - 100, y + 60));
  EXPECT_FALSE(m.chart->SeriesAt(1)->Active());
  EXPECT_TRUE(m.chart->SeriesAt(0)->Active());
  ExpectUnchanged(m.chart->LeftAxis(), left);
  EXPECT_FALSE(m.chart->Zoomed());
  m.Paint();
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  m.Send(WM_LBUTTONUP, 0, At(x, y));
  EXPECT_TRUE(m.chart->SeriesAt(1)->Active());
}

TEST(ChartMouse, BackgroundClickFiresOncePerPress) {
  MouseChart m;
  int clicks = 0;
  m.chart->OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) {
    ++clicks;
    m.chart->MouseHandled = false;  // let the zoom start
  };
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(m.X0(), m.Y0()));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(m.chart->Zoom()->Active);
  m.Send(WM_LBUTTONUP, 0, At(m.X0(), m.Y0()));
}

TEST(ChartZoom, RectangleWithoutWidthOrHeightLeavesThoseAxesAlone) {
  MouseChart m;
  int zooms = 0;
  m.chart->OnZoom = [&](TObject*) { ++zooms; };
  const Range bottom = MouseChart::RangeOf(m.chart->BottomAxis());
  const Range left = MouseChart::RangeOf(m.chart->LeftAxis());
  const int x = m.X0(), y = m.Y0();
  m.chart->ZoomToPixelRect(TRect(x, y, x, y + 30));  // no width
  ExpectUnchanged(m.chart->BottomAxis(), bottom);
  EXPECT_NE(m.chart->LeftAxis()->Maximum(), left.maximum);
  EXPECT_EQ(zooms, 1);
  m.chart->ResetZoom();
  m.chart->ZoomToPixelRect(TRect(x, y, x, y));  // neither
  ExpectUnchanged(m.chart->BottomAxis(), bottom);
  ExpectUnchanged(m.chart->LeftAxis(), left);
  EXPECT_EQ(zooms, 1);

  // A negative threshold counts as none: a 1-pixel drag zooms, a drag without width does not.
  m.chart->Zoom()->MinimumPixels = -5;
  m.Drag(x, y, x, y + 30);
  ExpectUnchanged(m.chart->BottomAxis(), bottom);
  EXPECT_EQ(zooms, 1);
  m.Drag(x, y, x + 1, y + 1);
  EXPECT_EQ(zooms, 2);
}

TEST(ChartZoom, InvertedAxisKeepsMinimumBelowMaximum) {
  MouseChart m;
  m.chart->LeftAxis()->SetInverted(true);
  m.Paint();
  EXPECT_NO_THROW(m.Drag(m.X0(), m.Y0(), m.X0() + 60, m.Y0() + 60));
  EXPECT_LT(m.chart->LeftAxis()->Minimum(), m.chart->LeftAxis()->Maximum());
  EXPECT_NO_THROW(m.chart->ZoomPercent(110));
  EXPECT_LT(m.chart->LeftAxis()->Minimum(), m.chart->LeftAxis()->Maximum());
  m.chart->Zoom()->Animated = true;
  EXPECT_NO_THROW(m.chart->ZoomToValues(90, 10, 0, 1, 0, 1, 8, 2));
  ExpectRange(m.chart->LeftAxis(), 10, 90);
  ExpectRange(m.chart->BottomAxis(), 2, 8);
}

TEST(ChartZoom, SavedScalesFollowTheAxisNotItsPosition) {
  MouseChart m;
  m.Drag(m.X0(), m.Y0(), m.X0() + 60, m.Y0() + 60);
  // An axis put in front of the axis list after the scales were saved is left alone, and the
  // others get their own ranges back by identity, not by their place in the list.
  auto* extra = new TChartAxis(m.chart);
  extra->SetMinMax(5, 6);
  const_cast<std::vector<TChartAxis*>&>(m.chart->Axes()).insert(m.chart->Axes().begin(), extra);
  m.Drag(m.X0() + 60, m.Y0(), m.X0(), m.Y0() + 60);
  ExpectRange(m.chart->LeftAxis(), 0, 100);
  ExpectRange(extra, 5, 6);
  auto& axes = const_cast<std::vector<TChartAxis*>&>(m.chart->Axes());
  axes.erase(axes.begin());
  delete extra;
}

TEST(ChartZoom, PercentZoomAndTheWheelWhenItZooms) {
  MouseChart m;
  const TChartAxis* bottom = m.chart->BottomAxis();
  const double lo = bottom->CalcPosPoint(bottom->StartPixel()), hi = bottom->CalcPosPoint(bottom->EndPixel());
  m.chart->ZoomPercent(110);  // each side narrows by 10 % of the range
  ExpectRange(m.chart->LeftAxis(), 10, 90);
  ExpectRange(m.chart->BottomAxis(), lo + (hi - lo) * 0.1, hi - (hi - lo) * 0.1);
  m.chart->ResetZoom();
  ExpectRange(m.chart->LeftAxis(), 0, 100);
  m.Paint();

  // Panning only sideways: the wheel zooms, and only once Zoom.MouseWheel is set.
  m.chart->SetAllowPanning(pmHorizontal);
  m.Wheel(1);
  ExpectRange(m.chart->LeftAxis(), 0, 100);
  m.chart->Zoom()->MouseWheel = pmwNormal;
  m.Wheel(1);
  ExpectRange(m.chart->LeftAxis(), 10, 90);
  m.chart->Zoom()->MouseWheel = pmwInverted;
  m.Wheel(1);  // now widens each side by 10 % of the range (80)
  ExpectRange(m.chart->LeftAxis(), 2, 98);
}

TEST(ChartZoom, TheWheelZoomsTheViewByATenthRoundingHalvesToEven) {
  // Neither panning nor the axis zoom takes the wheel: the 3D view's zoom does.
  struct Case {
    const char* name;
    int zoom;
    int notches;
    TMouseWheelStyle style;
    bool view3D;
    int expected;
  };
  const Case cases[] = {
      {"up: 15 x 1.1 = 16.5 gives 16", 15, 1, pmwNormal, true, 16},
      {"down: 5 x 0.9 = 4.5 gives 4", 5, -1, pmwNormal, true, 4},
      {"up: 100 gives 110", 100, 1, pmwNormal, true, 110},
      {"inverted: up shrinks", 100, 1, pmwInverted, true, 90},
      {"a flat chart keeps its zoom", 100, 1, pmwNormal, false, 100},
      {"no wheel zoom", 100, 1, pmwNone, true, 100},
  };
  for (const Case& c : cases) {
    MouseChart m;
    m.chart->SetAllowPanning(pmNone);
    m.chart->SetZoomWheel(c.style);
    m.chart->SetView3D(c.view3D);
    m.chart->View3DOptions()->SetZoom(c.zoom);
    m.Wheel(c.notches);
    EXPECT_EQ(m.chart->View3DOptions()->Zoom(), c.expected) << c.name;
    ExpectRange(m.chart->LeftAxis(), 0, 100);
  }
}

TEST(ChartZoom, OneButtonForZoomAndPanningStartsBoth) {
  struct Case {
    const char* name;
    TMouseButton scroll;
    bool zoomAllowed;
    bool zoom, pan;
  };
  const Case cases[] = {
      {"left zooms, right pans: the left button zooms only", mbRight, true, true, false},
      {"both on the left: both start", mbLeft, true, true, true},
      {"zoom not allowed: the left button pans", mbLeft, false, false, true},
  };
  for (const Case& c : cases) {
    MouseChart m;
    m.chart->SetScrollMouseButton(c.scroll);
    m.chart->Zoom()->Allow = c.zoomAllowed;
    m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(m.X0(), m.Y0()));
    EXPECT_EQ(m.chart->Zoom()->Active, c.zoom) << c.name;
    EXPECT_EQ(m.chart->Panning()->Active, c.pan) << c.name;
    m.Send(WM_LBUTTONUP, 0, At(m.X0(), m.Y0()));
    EXPECT_FALSE(m.chart->Zoom()->Active) << c.name;
    EXPECT_FALSE(m.chart->Panning()->Active) << c.name;
  }
}

TEST(ChartZoom, AnimationRefreshesTheChartBetweenTheSteps) {
  MouseChart m;
  m.form.Show();
  m.chart->Update();
  std::vector<double> maxima;
  m.chart->OnAfterDraw = [&](TObject*) { maxima.push_back(m.chart->LeftAxis()->Maximum()); };
  m.chart->Zoom()->Animated = true;
  m.chart->ZoomToValues(20, 40, 0, 1, 0, 1, 2, 8);
  // Seven refreshes for the default eight steps, each a third closer to the target.
  ASSERT_EQ(maxima.size(), 7u);
  double previous = 100;
  for (double value : maxima) {
    EXPECT_NEAR(value - 40, (previous - 40) * 2 / 3, 1e-9);
    previous = value;
  }
  ExpectRange(m.chart->LeftAxis(), 20, 40);
  m.form.Hide();
}

TEST(ChartMouse, ClickOnACurveReachesTheSeriesAndTheChart) {
  MouseChart m;
  TChartSeries* s = m.chart->SeriesAt(0);
  // The other curves run within a pixel or two of this one: hide them.
  m.chart->SeriesAt(1)->ChangeActive(false);
  m.chart->SeriesAt(2)->ChangeActive(false);
  m.Paint();
  int px, py;
  s->PointPixel(1, px, py);  // the curve's right end
  const int x = (m.chart->ChartBounds().Left + px) / 2;
  const int y = s->GetVertAxis()->CalcYPosValue(50);  // 10 .. 90 over the width: 50 in the middle
  std::vector<int> seriesClicks, chartClicks;
  s->OnClick = [&](TChartSeries*, int index, TMouseButton, TShiftState, int, int) { seriesClicks.push_back(index); };
  m.chart->OnClickSeries = [&](TCustomChart*, TChartSeries* clicked, int index, TMouseButton, TShiftState, int,
                               int) {
    EXPECT_EQ(clicked, s);
    chartClicks.push_back(index);
  };
  ASSERT_TRUE(s->HandlesClicks());
  const TChartHit hit = m.chart->HitTestPart(x, y, true);
  ASSERT_EQ(hit.Part, hpSeries);
  EXPECT_EQ(hit.Series, s);
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  m.Send(WM_LBUTTONUP, 0, At(x, y));
  EXPECT_EQ(seriesClicks.size(), 1u);
  EXPECT_EQ(chartClicks, seriesClicks);
  // The chart's handler left the event handled: no zoom started.
  EXPECT_FALSE(m.chart->Zoom()->Active);
}

TEST(ChartMouse, MovingOverACurveEntersAndLeavesIt) {
  MouseChart m;
  TChartSeries* s = m.chart->SeriesAt(0);
  m.chart->SeriesAt(1)->ChangeActive(false);
  m.chart->SeriesAt(2)->ChangeActive(false);
  m.Paint();
  std::vector<std::string> events;
  s->OnMouseEnter = [&](TObject*) { events.push_back("enter"); };
  s->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };
  const int x = m.chart->ChartBounds().Left + (m.chart->ChartBounds().Right - m.chart->ChartBounds().Left) / 2;
  const int y = s->GetVertAxis()->CalcYPosValue(50);
  m.Send(WM_MOUSEMOVE, 0, At(x, y + 60));
  EXPECT_TRUE(events.empty());
  m.Send(WM_MOUSEMOVE, 0, At(x, y));
  m.Send(WM_MOUSEMOVE, 0, At(x + 1, y));
  m.Send(WM_MOUSEMOVE, 0, At(x, y + 60));
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST(ChartMouse, ACurveLeavingTheChartGivesItsOwnCursorBack) {
  MouseChart m;
  TChartSeries* s = m.chart->SeriesAt(0);
  m.chart->SeriesAt(1)->ChangeActive(false);
  m.chart->SeriesAt(2)->ChangeActive(false);
  m.Paint();
  s->SetCursor(crCross);
  const int x = m.chart->ChartBounds().Left + (m.chart->ChartBounds().Right - m.chart->ChartBounds().Left) / 2;
  const int y = s->GetVertAxis()->CalcYPosValue(50);
  m.Send(WM_MOUSEMOVE, 0, At(x, y));
  ASSERT_EQ(m.chart->Cursor(), crCross) << "over the curve the chart shows its cursor";
  s->ChangeParentChart(nullptr);
  EXPECT_EQ(m.chart->Cursor(), m.chart->SavedCursor());
  // A chart showing another cursor keeps it when a curve leaves.
  TChartSeries* other = m.chart->SeriesAt(0);
  other->SetCursor(crCross);
  m.chart->SetCursor(crHandPoint);
  other->ChangeParentChart(nullptr);
  EXPECT_EQ(m.chart->Cursor(), crHandPoint);
  delete s;
  delete other;
}

TEST(ChartMouse, LegendRowsShowTheLegendCursor) {
  MouseChart m;
  TChartLegend* legend = m.chart->Legend();
  legend->SetCursor(crHandPoint);
  const int x = legend->Bounds.Left + 20, y = legend->ItemsTop() + 5;
  ASSERT_EQ(legend->ItemAt(x, y), 0);
  m.Send(WM_MOUSEMOVE, 0, At(x, y));
  EXPECT_EQ(m.chart->Cursor(), crHandPoint);
  m.Send(WM_MOUSEMOVE, 0, At(m.X0(), m.Y0() + 70));  // inside the chart, away from the curves
  EXPECT_EQ(m.chart->Cursor(), m.chart->SavedCursor());
}

TEST(ChartMouse, TitleClickReachesItsEventWhichCanKeepTheZoomAway) {
  MouseChart m;
  m.chart->Title()->SetText("Temp");
  m.Paint();
  const TRect b = m.chart->Title()->Bounds;
  const int x = (b.Left + b.Right) / 2, y = (b.Top + b.Bottom) / 2;
  std::vector<const TChartTitle*> clicked;
  m.chart->OnClickTitle = [&](TCustomChart*, TChartTitle* title, TMouseButton, TShiftState, int, int) {
    clicked.push_back(title);
  };
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  EXPECT_FALSE(m.chart->Zoom()->Active);  // the handler left the press handled
  m.Send(WM_LBUTTONUP, 0, At(x, y));
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0], m.chart->Title());
}

// ---- Parts under the mouse, marks and hover ------------------------------------------------

namespace {

// The first curve alone, with its marks shown above its two end points.
TChartSeries* MarkedCurve(MouseChart& m) {
  TChartSeries* s = m.chart->SeriesAt(0);
  m.chart->SeriesAt(1)->ChangeActive(false);
  m.chart->SeriesAt(2)->ChangeActive(false);
  s->Marks()->SetVisible(true);
  m.Paint();
  return s;
}

TPoint MarkCentre(TChartSeries* s, int index) {
  const TSeriesMarkPosition* p = s->Marks()->Positions().PositionAt(index);
  if (p == nullptr) return TPoint{-1, -1};
  return TPoint{p->LeftTop.x + p->Width / 2, p->LeftTop.y + p->Height / 2};
}

}  // namespace

TEST(ChartMouse, HitTestFindsMarksPointsLegendRowsAndNothing) {
  MouseChart m;
  TChartSeries* s = MarkedCurve(m);
  ASSERT_NE(s->Marks()->Positions().PositionAt(0), nullptr);
  ASSERT_NE(s->Marks()->Positions().PositionAt(1), nullptr);
  const TPoint mark0 = MarkCentre(s, 0), mark1 = MarkCentre(s, 1);
  int px, py;
  s->PointPixel(1, px, py);
  const int lineX = (m.chart->ChartBounds().Left + px) / 2;  // 10 .. 90 over the width: 50 here
  const int lineY = s->GetVertAxis()->CalcYPosValue(50);
  TChartLegend* legend = m.chart->Legend();
  struct Case {
    const char* name;
    int x, y;
    TChartHitPart part;
    int index;
    TChartSeries* series;
  };
  const Case cases[] = {
      {"first mark", mark0.X, mark0.Y, hpMark, 0, s},
      {"second mark", mark1.X, mark1.Y, hpMark, 1, s},
      {"the curve", lineX, lineY, hpSeries, -2, s},
      {"a legend row", legend->Bounds.Left + 30, legend->ItemsTop() + 1 + 2 + 17 + 8, hpLegend, 1, nullptr},
      {"the empty chart area", lineX, lineY + 60, hpChartArea, -1, nullptr},
      {"outside everything", 2, 2, hpNone, -1, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TChartHit hit = m.chart->HitTestPart(c.x, c.y, false);
    EXPECT_EQ(hit.Part, c.part);
    if (c.index != -2) {
      EXPECT_EQ(hit.Index, c.index);
    }
    EXPECT_EQ(hit.Series, c.series);
  }
  // Hidden marks are not hit: the point under them (the curve's end) or the area answers.
  s->Marks()->SetVisible(false);
  EXPECT_NE(m.chart->HitTestPart(mark1.X, mark1.Y, false).Part, hpMark);
}

TEST(ChartMouse, HoverFollowsThePointOrMarkUnderTheMouse) {
  MouseChart m;
  TChartSeries* s = MarkedCurve(m);
  EXPECT_FALSE(s->HoverActive()) << "no selection yet";
  TKelSelected* selected = s->Selected();
  EXPECT_FALSE(s->HoverActive()) << "a fast line's hover look starts hidden";
  selected->Hover()->SetVisible(true);
  EXPECT_TRUE(s->HoverActive());
  int px, py;
  s->PointPixel(1, px, py);
  const int lineX = (m.chart->ChartBounds().Left + px) / 2;
  const int lineY = s->GetVertAxis()->CalcYPosValue(50);
  const TPoint mark1 = MarkCentre(s, 1);
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY));
  EXPECT_EQ(selected->HoverIndex(), s->PointAtPixel(lineX, lineY));
  EXPECT_GE(selected->HoverIndex(), 0);
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY + 60));
  EXPECT_EQ(selected->HoverIndex(), -1);
  m.Send(WM_MOUSEMOVE, 0, At(mark1.X, mark1.Y));
  EXPECT_EQ(selected->HoverIndex(), 1);
  // A hidden hover look turns the hover off: the index stays where it was.
  selected->Hover()->SetVisible(false);
  EXPECT_FALSE(s->HoverActive());
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY + 60));
  EXPECT_EQ(selected->HoverIndex(), 1);
}

TEST(ChartMouse, LegendRowsShowWhichRowOrCurveIsHovered) {
  MouseChart m;
  TChartLegend* legend = m.chart->Legend();
  const int rowX = legend->Bounds.Left + 30, row1Y = legend->ItemsTop() + 1 + 2 + 17 + 8;
  ASSERT_EQ(legend->ItemAt(rowX, row1Y), 1);
  // Without a selection the legend follows nothing.
  m.Send(WM_MOUSEMOVE, 0, At(rowX, row1Y));
  EXPECT_FALSE(legend->HasSelected());

  TKelSelected* selected = legend->Selected();
  ASSERT_TRUE(selected->Hover()->Visible());
  auto* canvas = static_cast<RecordingCanvas*>(m.chart->Canvas3D());
  canvas->Clear();
  m.Paint();
  const auto texts = canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(m.RedPixels(texts[1].x, texts[1].y, texts[1].x + 18, texts[1].y + 12), 0);
  m.Send(WM_MOUSEMOVE, 0, At(rowX, row1Y));
  EXPECT_EQ(selected->HoverIndex(), 1);
  m.Paint();
  EXPECT_GT(m.RedPixels(texts[1].x, texts[1].y, texts[1].x + 18, texts[1].y + 12), 3) << "the hovered row";
  EXPECT_EQ(m.RedPixels(texts[0].x, texts[0].y, texts[0].x + 18, texts[0].y + 12), 0) << "another row";

  // Away from rows and curves: nothing is hovered.
  m.Send(WM_MOUSEMOVE, 0, At(m.X0(), m.Y0() + 70));
  EXPECT_EQ(selected->HoverIndex(), -1);
  // Over the third curve, which follows its hovered point: its row is hovered.
  TChartSeries* s = m.chart->SeriesAt(2);
  m.chart->SeriesAt(0)->ChangeActive(false);
  m.chart->SeriesAt(1)->ChangeActive(false);
  s->Selected()->Hover()->SetVisible(true);
  m.Paint();
  int px, py;
  s->PointPixel(1, px, py);
  const int x = (m.chart->ChartBounds().Left + px) / 2;
  m.Send(WM_MOUSEMOVE, 0, At(x, s->GetVertAxis()->CalcYPosValue(50)));
  ASSERT_GE(s->Selected()->HoverIndex(), 0);
  EXPECT_EQ(selected->HoverIndex(), 2);
}

// A fast line keeps its hover look hidden until asked, and a legend listing its values does not
// make it follow the mouse: the legend rows still do.
TEST(ChartMouse, AFastLineFollowsTheMouseOnlyWithItsHoverShown) {
  MouseChart m;
  TChartSeries* s = m.chart->SeriesAt(0);
  m.chart->SeriesAt(1)->ChangeActive(false);
  m.chart->SeriesAt(2)->ChangeActive(false);
  TChartLegend* legend = m.chart->Legend();
  legend->SetLegendStyle(lsValues);
  TKelSelected* legendSelected = legend->Selected();
  m.Paint();
  ASSERT_EQ(legend->ResolvedStyle(), lsValues);
  TKelSelected* selected = s->Selected();
  EXPECT_FALSE(selected->Hover()->Visible());
  EXPECT_FALSE(s->HoverActive());
  int px, py;
  s->PointPixel(1, px, py);
  const int lineX = (m.chart->ChartBounds().Left + px) / 2;
  const int lineY = s->GetVertAxis()->CalcYPosValue(50);
  const int under = s->PointAtPixel(lineX, lineY);
  ASSERT_GE(under, 0);
  ASSERT_LT(legend->ItemAt(lineX, lineY), 0);
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY));
  EXPECT_EQ(selected->HoverIndex(), -1) << "the values legend does not switch the curve's hover on";
  EXPECT_EQ(legendSelected->HoverIndex(), -1);
  EXPECT_FALSE(s->HoverActive());

  // Shown on the series: the curve follows and the legend shows its point's row.
  selected->Hover()->SetVisible(true);
  m.Send(WM_MOUSEMOVE, 0, At(lineX, lineY));
  EXPECT_EQ(selected->HoverIndex(), under);
  EXPECT_EQ(legendSelected->HoverIndex(), s->MapHoverIndex(under));
}

// ---- The zoom rectangle while dragging --------------------------------------------------------

namespace {

// The window's own paint, onto `screen`: the canvas's buffer while it is valid, else a full
// paint through the buffer.
void ScreenPaint(MouseChart& m, TBitmap& screen) {
  if (!m.chart->Canvas3D()->RestoreFromBuffer()) m.chart->DrawTo(screen.Canvas(), TRect(0, 0, 400, 250));
}

// Whether one of the columns x0..x1 is the zoom pen's colour in every row y0..y1.
bool PenColumnIn(TBitmap& bitmap, int x0, int x1, int y0, int y1) {
  GdiFlush();
  for (int x = x0; x <= x1; ++x) {
    bool whole = true;
    for (int y = y0; y <= y1 && whole; ++y) whole = GetPixel(bitmap.Canvas()->Handle(), x, y) == 0xC0C0C0;
    if (whole) return true;
  }
  return false;
}

// The window's first paint, through the buffer, onto a bitmap standing for the window.
void FirstScreenPaint(MouseChart& m, TBitmap& screen) {
  screen.SetPixelFormat(pf32bit);
  screen.SetSize(400, 250);
  m.chart->DrawTo(screen.Canvas(), TRect(0, 0, 400, 250));
}

}  // namespace

TEST(ChartZoom, WithFullRepaintTheRectangleFollowsTheMouseThroughRepaints) {
  MouseChart m;
  m.chart->Zoom()->FullRepaint = true;
  TBitmap screen;
  FirstScreenPaint(m, screen);
  const int x = m.X0(), y = m.Y0();
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  m.Send(WM_MOUSEMOVE, MK_LBUTTON, At(x + 80, y + 60));
  ScreenPaint(m, screen);
  EXPECT_TRUE(PenColumnIn(screen, x + 77, x + 81, y + 10, y + 50));
  m.Send(WM_MOUSEMOVE, MK_LBUTTON, At(x + 120, y + 60));
  ScreenPaint(m, screen);
  EXPECT_TRUE(PenColumnIn(screen, x + 117, x + 121, y + 10, y + 50));
  EXPECT_FALSE(PenColumnIn(screen, x + 77, x + 81, y + 10, y + 50));  // the old edge is gone
  m.Send(WM_LBUTTONUP, 0, At(x + 120, y + 60));
  ScreenPaint(m, screen);
  EXPECT_FALSE(PenColumnIn(screen, x + 117, x + 121, y + 10, y + 50));
}

namespace {

unsigned PixelAt(TBitmap& bitmap, int x, int y) {
  GdiFlush();
  return static_cast<unsigned>(GetPixel(bitmap.Canvas()->Handle(), x, y)) & 0xFFFFFFu;
}

// What a not-xor pen leaves on a pixel: the pen colour is chosen so that it shows on the
// chart's background colour.
unsigned NotXorOver(unsigned before, unsigned pen, unsigned background) {
  const unsigned source = ((0xFFFFFFu - background) ^ pen) & 0xFFFFFFu;
  return ~(source ^ before) & 0xFFFFFFu;
}

int PixelsChanged(TBitmap& a, TBitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (PixelAt(a, x, y) != PixelAt(b, x, y)) ++n;
  return n;
}

}  // namespace

TEST(ChartZoom, WithoutFullRepaintTheRectangleIsDrawnInNotXorAndTakenAwayByDrawingItAgain) {
  MouseChart m;
  TBitmap screen;
  FirstScreenPaint(m, screen);
  TBitmap before;
  before.Assign(&screen);
  const unsigned background = static_cast<unsigned>(ColorToRGB(m.chart->BackgroundColor())) & 0xFFFFFFu;
  const unsigned pen = 0xC0C0C0;
  const int x = m.X0(), y = m.Y0();
  m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  m.Send(WM_MOUSEMOVE, MK_LBUTTON, At(x + 80, y + 60));
  // Straight onto the window's pixels, without a repaint: each edge pixel is the not-xor of
  // what lay there (grid lines and curves included), the clear brush leaves the inside alone.
  for (int row = y + 5; row <= y + 55; ++row) {
    EXPECT_EQ(PixelAt(screen, x, row), NotXorOver(PixelAt(before, x, row), pen, background)) << row;
    EXPECT_EQ(PixelAt(screen, x + 80, row), NotXorOver(PixelAt(before, x + 80, row), pen, background)) << row;
  }
  for (int column = x + 5; column <= x + 75; ++column)
    EXPECT_EQ(PixelAt(screen, column, y + 60), NotXorOver(PixelAt(before, column, y + 60), pen, background));
  EXPECT_EQ(PixelAt(screen, x + 40, y + 30), PixelAt(before, x + 40, y + 30));
  // The right edge follows the mouse: the old one is drawn again, which takes it away.
  m.Send(WM_MOUSEMOVE, MK_LBUTTON, At(x + 120, y + 60));
  for (int row = y + 5; row <= y + 55; ++row) {
    EXPECT_EQ(PixelAt(screen, x + 80, row), PixelAt(before, x + 80, row)) << row;
    EXPECT_EQ(PixelAt(screen, x + 120, row), NotXorOver(PixelAt(before, x + 120, row), pen, background)) << row;
  }
  // Released: the rectangle is gone again before the zoom repaints the chart.
  m.Send(WM_LBUTTONUP, 0, At(x + 120, y + 60));
  EXPECT_EQ(PixelsChanged(screen, before), 0);
  EXPECT_TRUE(m.chart->Zoomed());
}

TEST(ChartZoom, AHatchedZoomBrushStaysVisibleOnItsOwnColour) {
  // On a white chart a white hatch drawn in not-xor would leave white: the brush takes black.
  struct Case {
    const char* name;
    TBrushStyle style;
    bool visible;
  };
  const Case cases[] = {{"hatched: drawn in black", bsDiagCross, true}, {"clear: nothing inside", bsClear, false}};
  for (const Case& c : cases) {
    ChartFixture f;
    f.chart.SetColor(clWhite);
    f.chart.SetMargin(1, 80);  // a wide white band above the chart rectangle
    f.AddCurve();
    f.chart.DrawTo(f.bitmap->Canvas(), TRect(0, 0, f.width, f.height));  // the canvas stays on the bitmap
    TBitmap before;
    before.Assign(f.bitmap.get());
    TKelZoom* zoom = f.chart.Zoom();
    zoom->Brush()->SetStyle(c.style);
    zoom->StartAt(100, 15);
    zoom->X1 = 220;
    zoom->Y1 = 60;
    f.chart.RedrawZoomRectangle();
    const int black = f.Count(clBlack, 105, 20, 215, 55);
    if (c.visible)
      EXPECT_GT(black, 100) << c.name;
    else
      EXPECT_EQ(black, 0) << c.name;
    // The frame shows the pen colour on the white background.
    EXPECT_EQ(f.Pixel(100, 40), static_cast<TColor>(0xC0C0C0)) << c.name;
    f.chart.RedrawZoomRectangle();
    EXPECT_EQ(PixelsChanged(*f.bitmap, before), 0) << c.name;
  }
}

TEST(ChartZoom, AGradientOrPictureZoomBrushFillsTheRectangleUnderTheMixedFrame) {
  KelGDIPlusStartup();
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(8, 8);
  picture.Canvas()->Brush()->SetColor(clBlue);
  picture.Canvas()->FillRect(TRect(0, 0, 8, 8));
  struct Case {
    const char* name;
    bool gdiPlus;
    bool gradient;  // else the picture
  };
  const Case cases[] = {{"GDI, gradient", false, true},
                        {"GDI, picture", false, false},
                        {"GDI+, gradient", true, true},
                        {"GDI+, picture", true, false}};
  for (const Case& c : cases) {
    ChartFixture f;
    if (c.gdiPlus) f.chart.ChangeCanvas(new TGDIPlusCanvas());
    f.chart.SetColor(clWhite);
    f.chart.SetMargin(1, 80);  // a wide white band above the chart rectangle
    f.AddCurve();
    f.chart.DrawTo(f.bitmap->Canvas(), TRect(0, 0, f.width, f.height));  // the canvas stays on the bitmap
    TKelZoom* zoom = f.chart.Zoom();
    zoom->Brush()->SetStyle(bsSolid);
    if (c.gradient) {
      TKelGradient* gradient = zoom->Brush()->Gradient();
      gradient->SetStartColor(clLime);
      gradient->SetEndColor(clRed);
      gradient->SetVisible(true);
    } else {
      zoom->Brush()->Image()->SetGraphic(&picture);
    }
    zoom->StartAt(100, 15);
    zoom->X1 = 220;
    zoom->Y1 = 65;
    f.chart.RedrawZoomRectangle();
    if (c.gradient) {
      // Top to bottom: the start colour lies at the bottom.
      const unsigned low = static_cast<unsigned>(f.Pixel(160, 60)), high = static_cast<unsigned>(f.Pixel(160, 20));
      EXPECT_GT((low >> 8) & 0xFF, 180u) << c.name;
      EXPECT_LT(low & 0xFF, 80u) << c.name;
      EXPECT_GT(high & 0xFF, 180u) << c.name;
      EXPECT_LT((high >> 8) & 0xFF, 80u) << c.name;
    } else {
      EXPECT_GT(f.Count(clBlue, 105, 20, 215, 60), 100 * 35) << c.name;
    }
    // The frame is still mixed with what lies under it, not painted over it in the pen colour.
    EXPECT_NE(f.Pixel(100, 40), static_cast<TColor>(0xC0C0C0)) << c.name;
    EXPECT_NE(f.Pixel(100, 40), f.Pixel(160, 40)) << c.name;
  }
}

namespace {

// A tool that writes down the mouse events it gets and may keep them from the chart.
struct MouseTool : IChartAddOn {
  MouseTool(TChart* chart, std::vector<int>& kinds, bool handles) : chart(chart), kinds(kinds), handles(handles) {}
  void ChartMouse(int kind, TMouseButton, TShiftState, int, int) override {
    kinds.push_back(kind);
    if (handles) chart->MouseHandled = true;
  }
  TChart* chart;
  std::vector<int>& kinds;
  bool handles;
};

}  // namespace

TEST(ChartMouse, ToolsGetTheMouseFirstAndOneThatHandlesItStopsTheRest) {
  for (bool handles : {false, true}) {
    MouseChart m;
    std::vector<int> first, second;
    m.chart->Tools()->Add(std::make_unique<MouseTool>(m.chart, first, handles));
    m.chart->Tools()->Add(std::make_unique<MouseTool>(m.chart, second, false));
    const int x = m.X0(), y = m.Y0();
    m.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    // A tool that handled the press keeps the chart from starting a zoom.
    EXPECT_EQ(m.chart->Zoom()->Active, !handles) << handles;
    m.Send(WM_MOUSEMOVE, MK_LBUTTON, At(x + 30, y + 30));
    m.Send(WM_LBUTTONUP, 0, At(x + 30, y + 30));
    EXPECT_EQ(first, (std::vector<int>{0, 2, 1})) << handles;
    EXPECT_EQ(second, (handles ? std::vector<int>{} : std::vector<int>{0, 2, 1})) << handles;
  }
}

namespace {

// A tool that writes down the keys and drags it hears; an inactive one must hear nothing.
struct KeyDragTool : IChartAddOn {
  KeyDragTool(std::vector<std::string>& log, bool active) : log(log), active(active) {}
  bool AddOnActive() const override { return active; }
  void ChartKeyDown(WORD& key, TShiftState) override { log.push_back("down " + std::to_string(key)); }
  void ChartKeyUp(WORD& key, TShiftState) override { log.push_back("up " + std::to_string(key)); }
  void ChartKeyPress(wchar_t& key) override { log.push_back(std::string("press ") + static_cast<char>(key)); }
  void ChartDragOver(TObject*, int x, int y, TDragState, bool& accept) override {
    log.push_back("over " + std::to_string(x) + "," + std::to_string(y));
    accept = true;
  }
  void ChartDragDrop(TObject*, int x, int y) override {
    log.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
  }
  void ChartStartDrag() override { log.push_back("start"); }
  void ChartEndDrag(TObject*, int, int) override { log.push_back("end"); }
  std::vector<std::string>& log;
  bool active;
};

}  // namespace

TEST(ChartMouse, ActiveToolsHearKeysAndDragsAfterTheChart) {
  MouseChart m;
  std::vector<std::string> heard, unheard;
  m.chart->Tools()->Add(std::make_unique<KeyDragTool>(unheard, false));
  m.chart->Tools()->Add(std::make_unique<KeyDragTool>(heard, true));
  std::vector<std::string> chartKeys;
  m.chart->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { chartKeys.push_back(std::to_string(key)); };
  m.Send(WM_KEYDOWN, 'A', 0);
  m.Send(WM_CHAR, 'a', 0);
  m.Send(WM_KEYUP, 'A', 0);
  TControl& control = *m.chart;
  bool accept = false;
  control.DragOver(nullptr, 5, 6, dsDragMove, accept);
  EXPECT_TRUE(accept) << "the tool may accept what the chart refuses";
  control.DragDrop(nullptr, 7, 8);
  m.chart->BeginDrag(true);
  m.chart->EndDrag(false);
  EXPECT_EQ(chartKeys, (std::vector<std::string>{"65"})) << "the chart's own handling still runs";
  EXPECT_EQ(heard, (std::vector<std::string>{"down 65", "press a", "up 65", "over 5,6", "drop 7,8", "start", "end"}));
  EXPECT_TRUE(unheard.empty());
}
