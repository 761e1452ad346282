// Legend styles other than the recorder's: the points of one curve (values legend, right-
// aligned value column), last values, a band below the chart in one row or wrapped into
// several, and the hit test across band columns.
#include <gtest/gtest.h>

#include "ChartControlTestSupport.h"
#include "canvas/KelPen.h"

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
