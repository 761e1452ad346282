// Legend styles other than the recorder's: the points of one curve (values legend, right-
// aligned value column), last values, a band below the chart in one row or wrapped into
// several, and the hit test across band columns.
#include <gtest/gtest.h>

#include "ChartControlTestSupport.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"

TEST(LegendValues, OneCurveListsItsPointsWithValuesRightAligned) {
  ChartFixture f;
  auto* s = new TFastLineSeries(nullptr);
  s->AppendXY(0, 5, "low");
  s->AppendXY(1, 100, "high");
  s->AppendXY(2, 42, "mid");
  f.chart.AttachSeries(s);
  f.Paint();
  TChartLegend* legend = f.chart.Legend();
  EXPECT_EQ(legend->ResolvedStyle(), lsValues);
  EXPECT_EQ(legend->TotalItems(), 3);
  EXPECT_EQ(legend->Rows(), 3);
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 6u);  // value and label per row
  // Values share their right edge: "5" and "100" are drawn at the same anchor.
  EXPECT_EQ(texts[0].text, "5");
  EXPECT_EQ(texts[2].text, "100");
  EXPECT_EQ(texts[0].x, texts[2].x);
  // The value column's right edge lies at its widest text ("100": 18 + gap 2) less 4 from the
  // row's start; the labels follow a blank (6) after it.
  EXPECT_EQ(texts[1].text, "low");
  EXPECT_EQ(texts[1].x, texts[0].x + 6);
  const int rowStart = texts[0].x - (20 - 4);
  EXPECT_GT(rowStart, legend->Bounds.Left);
  EXPECT_LT(texts[1].x + 18, legend->Bounds.Right);
  EXPECT_EQ(texts[5].text, "mid");
  EXPECT_EQ(texts[5].x, texts[1].x);
}

TEST(LegendValues, LastValuesListEachCurvesLastPoint) {
  ChartFixture f;
  f.AddCurve(0, 7);
  f.AddCurve(0, 93);
  f.chart.Legend()->SetLegendStyle(lsLastValues);
  f.chart.Legend()->SetTextStyle(ltsValue);
  f.Paint();
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "7");
  EXPECT_EQ(texts[1].text, "93");
}

TEST(LegendBand, BottomLegendInOneRow) {
  ChartFixture f;
  f.AddCurves(3);
  TChartLegend* legend = f.chart.Legend();
  legend->SetAlignment(laBottom);
  f.Paint();
  EXPECT_EQ(legend->Columns(), 3);
  EXPECT_EQ(legend->Rows(), 1);
  // Its bottom stands on the chart's former bottom (240), less half the frame + 1 and the
  // legend shadow's 3 pixels.
  EXPECT_EQ(legend->Bounds.Bottom, 240 - 4);
  EXPECT_LT(f.chart.ChartBounds().Bottom, legend->Bounds.Top);
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].y, texts[2].y);
  EXPECT_LT(texts[0].x, texts[1].x);
  EXPECT_LT(texts[1].x, texts[2].x);
  // Each column's middle hits its own row.
  const int y = legend->ItemsTop() + 2;
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(legend->ItemAt(texts[k].x + 3, y), k);
  }
}

TEST(LegendBand, ManyCurvesWrapIntoRowsUpToTheLimit) {
  ChartFixture f;
  f.AddCurves(40);
  TChartLegend* legend = f.chart.Legend();
  legend->SetAlignment(laTop);
  f.Paint();
  const int columns = legend->Columns();
  ASSERT_GT(columns, 1);
  EXPECT_LT(columns, 40);
  EXPECT_EQ(legend->Rows(), std::min(10, (40 + columns - 1) / columns));
  EXPECT_EQ(legend->LastValue(), std::min(40, columns * legend->Rows()) - 1);
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_GT(static_cast<int>(texts.size()), columns);
  // Row-major: the entry after the first row's last starts the second row.
  EXPECT_EQ(texts[columns].text, "Ch" + std::to_string(columns + 1));
  EXPECT_GT(texts[columns].y, texts[0].y);
  EXPECT_EQ(texts[columns].x, texts[0].x);
  EXPECT_EQ(legend->ItemAt(texts[columns].x + 3, texts[columns].y + 2), columns);
  EXPECT_GT(f.chart.ChartBounds().Top, legend->Bounds.Bottom);
}

TEST(LegendParts, TitleAboveTheRowsAndDividingLinesBetweenThem) {
  ChartFixture plain;
  plain.AddCurves(3);
  plain.chart.Legend()->SetCheckBoxes(true);
  plain.Paint();

  ChartFixture f;
  f.AddCurves(3);
  TChartLegend* legend = f.chart.Legend();
  legend->SetCheckBoxes(true);
  legend->Title()->SetText("Channels");
  legend->DividingLines()->SetVisible(true);
  f.Paint();
  // The title (one 10-pixel line) and 2 pixels push the rows down.
  EXPECT_EQ(legend->ItemsTop(), plain.chart.Legend()->ItemsTop() + 12);
  const auto titles = f.canvas->TextsIn("Legend");
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0].text, "Channels");
  EXPECT_EQ(titles[0].y, legend->Bounds.Top + 2);
  // Rows grow by the line's width; a line above every row but the first.
  EXPECT_EQ(legend->ItemHeight(), 18);
  const auto lines = f.canvas->SegmentsIn("Legend/Items");
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& line : lines) {
    EXPECT_EQ(line.y0, line.y1);
    EXPECT_EQ(line.x1 - line.x0, legend->Bounds.Right - legend->Bounds.Left - 2);
  }
  EXPECT_EQ(lines[1].y0 - lines[0].y0, 18);
}

TEST(LegendParts, TextEventAndPagedValues) {
  ChartFixture f;
  auto* s = new TFastLineSeries(nullptr);
  for (int i = 0; i < 5; ++i) s->AppendXY(i, 10 * i, "p" + std::to_string(i));
  f.chart.AttachSeries(s);
  f.chart.Legend()->SetTextStyle(ltsPlain);
  f.chart.OnGetLegendText = [](TCustomAxisPanel*, TLegendStyle style, int index, std::string& text) {
    EXPECT_EQ(style, lsValues);
    text += "#" + std::to_string(index);
  };
  f.chart.Pages()->SetMaxPointsPerPage(2);
  f.chart.Pages()->SetCurrent(2);
  f.Paint();
  EXPECT_EQ(f.chart.Legend()->FirstValue(), 2);
  EXPECT_EQ(f.chart.Legend()->TotalItems(), 2);
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "p2#2");
  EXPECT_EQ(texts[1].text, "p3#3");
}

TEST(LegendParts, CustomPositionInPercentTakesNoRoom) {
  ChartFixture plain;
  plain.AddCurves(3);
  plain.chart.Legend()->SetVisible(false);
  plain.Paint();

  ChartFixture f;
  f.AddCurves(3);
  TChartLegend* legend = f.chart.Legend();
  legend->SetCustomPosition(true);
  legend->SetPositionUnits(muPercent);
  legend->SetLeftPercent(50);
  legend->SetTopPercent(20);
  f.Paint();
  EXPECT_EQ(legend->Bounds.Left, 200);
  EXPECT_EQ(legend->Bounds.Top, 50);
  EXPECT_GT(legend->Bounds.Right, 200);
  EXPECT_EQ(legend->Rows(), 3);
  EXPECT_EQ(f.chart.ChartBounds().Right, plain.chart.ChartBounds().Right);
  EXPECT_EQ(legend->ItemAt(legend->Bounds.Left + 30, legend->ItemsTop() + 2), 0);
}

// Room a band legend leaves for effects: a bottom legend stands clear of its own shadow and
// emboss; under a top legend lie the panel's shadow and emboss.
TEST(LegendBand, EffectsBelowTheBandTakeTheirRoom) {
  struct Case {
    const char* name;
    TLegendAlignment alignment;
    int legendShadow, legendEmboss, panelShadow, panelEmboss;
    int shift;  // how far the edge facing the chart moves from its place without effects
  };
  const Case cases[] = {
      {"bottom, own shadow", laBottom, 5, 0, 0, 0, -(5 - 3)},
      {"bottom, own emboss", laBottom, 0, 4, 0, 0, -4},
      {"bottom, both", laBottom, 5, 4, 0, 0, -(5 - 3) - 4},
      {"top, panel shadow", laTop, 0, 0, 6, 0, 6},
      {"top, panel emboss", laTop, 0, 0, 0, 2, 2},
      {"top, both", laTop, 0, 0, 6, 2, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto edge = [&](bool effects) {
      ChartFixture f;
      f.AddCurves(3);
      TChartLegend* legend = f.chart.Legend();
      legend->SetAlignment(c.alignment);
      legend->SetVertMargin(5);
      // The legend's shadow is 3 pixels by default: the baseline keeps it.
      if (effects) {
        if (c.legendShadow) legend->Shadow()->SetVertSize(c.legendShadow);
        if (c.legendEmboss) {
          legend->Emboss()->SetVisible(true);
          legend->Emboss()->SetVertSize(c.legendEmboss);
        }
        if (c.panelShadow) {
          f.chart.Shadow()->SetVisible(true);
          f.chart.Shadow()->SetVertSize(c.panelShadow);
        }
        if (c.panelEmboss) {
          f.chart.Emboss()->SetVisible(true);
          f.chart.Emboss()->SetVertSize(c.panelEmboss);
        }
      }
      int chartTop = 0;
      f.chart.OnBeforeDrawAxes = [&](TObject*) { chartTop = f.chart.ChartBounds().Top; };
      f.Paint();
      if (c.alignment == laBottom) return legend->Bounds.Bottom;
      return chartTop - legend->Bounds.Bottom;
    };
    EXPECT_EQ(edge(true) - edge(false), c.shift);
  }
}

// A symbol on the right follows the row's text instead of covering it.
TEST(LegendSymbol, ASymbolOnTheRightStandsAfterTheTexts) {
  ChartFixture f;
  f.AddCurve(0, 100, clRed);
  f.AddCurve(10, 90, clBlue);
  TChartLegend* legend = f.chart.Legend();
  legend->Symbol()->SetPosition(spRight);
  f.Paint();
  const auto texts = f.canvas->TextsIn("Legend/Items");
  ASSERT_EQ(texts.size(), 2u);
  for (int r = 0; r < 2; ++r) {
    SCOPED_TRACE(r);
    const TColor colour = r == 0 ? clRed : clBlue;
    const auto& t = texts[r];
    const int textEnd = t.x + 6 * 3;
    EXPECT_EQ(f.Count(colour, legend->Bounds.Left, t.y, textEnd, t.y + 10), 0) << "nothing on or before the text";
    EXPECT_GT(f.Count(colour, textEnd + 1, t.y, legend->Bounds.Right, t.y + 10), 0) << "the symbol after it";
  }
}

// A custom place counts from the panel rectangle, wherever the chart is drawn.
TEST(LegendParts, ACustomPlaceMovesWithThePanelRectangle) {
  auto firstRow = [](int dx, int dy, int& left) {
    ChartFixture f;
    f.AddCurves(2);
    TChartLegend* legend = f.chart.Legend();
    legend->SetLeft(100);
    legend->SetTop(60);
    f.bitmap->SetSize(f.width + dx, f.height + dy);
    f.canvas->Clear();
    f.chart.DrawToCanvas(f.bitmap->Canvas(), TRect(dx, dy, dx + f.width, dy + f.height));
    left = legend->Bounds.Left;
    const auto texts = f.canvas->TextsIn("Legend/Items");
    EXPECT_EQ(texts.size(), 2u);
    return texts.empty() ? TPoint() : TPoint(texts[0].x, texts[0].y);
  };
  int left0 = 0, left1 = 0;
  const TPoint at0 = firstRow(0, 0, left0);
  const TPoint at1 = firstRow(40, 20, left1);
  EXPECT_EQ(at1.X - at0.X, 40);
  EXPECT_EQ(at1.Y - at0.Y, 20);
  EXPECT_EQ(left0, 100);
  EXPECT_EQ(left1, 100) << "the stored place stays relative to the panel";
}

// Switching the boxes on or to radio boxes tells the chart's listeners.
TEST(LegendParts, BoxChangesReachTheChartsListeners) {
  struct Listener : IKelEventListener {
    void ChartEvent(TKelEvent& event) override {
      if (dynamic_cast<TKelLegendEvent*>(&event)) ++legendEvents;
    }
    int legendEvents = 0;
  } listener;
  ChartFixture f;
  f.AddCurves(3);
  f.chart.AddListener(&listener);
  TChartLegend* legend = f.chart.Legend();
  legend->SetCheckBoxes(true);
  EXPECT_EQ(listener.legendEvents, 1);
  legend->SetCheckBoxes(true);
  EXPECT_EQ(listener.legendEvents, 1) << "no change, no event";
  legend->SetCheckBoxesStyle(cbsRadio);
  EXPECT_EQ(listener.legendEvents, 2);
  EXPECT_TRUE(f.chart.SeriesAt(0)->Active());
  EXPECT_FALSE(f.chart.SeriesAt(1)->Active());
  f.chart.RemoveListener(&listener);
}
