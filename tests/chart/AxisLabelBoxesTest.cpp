// Axis labels and titles drawn as boxes: framed and filled label boxes, transparent ones that
// paint only their text, turned labels placed beside their axis, the title's box, pictures
// beside labels, and labels of a series that wants its point indexes. On the flat 400 x 250
// test chart (6 pixels a character, 10 a line) whose bottom axis is fixed to 0..10 and left
// axis to 0..100.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "chart/AxisItems.h"
#include "chart/KelShapes.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

int Even(double v) { return static_cast<int>(std::nearbyint(v)); }

// Bottom axis pixel of x on the 43..388 chart rectangle (10 units).
int BottomPixel(double x) { return 43 + Even(x * 34.5); }

// A series of n points at x = 0 .. n - 1 (y = x), bottom 0..10 and left 0..100 fixed.
struct BoxChart : TestChart {
  explicit BoxChart(int n = 11) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < n; ++i) points.emplace_back(i, i);
    series = AddSeries(points);
    panel.BottomAxis()->SetMinMax(0, 10);
    panel.LeftAxis()->SetMinMax(0, 100);
  }
  int Count(TColor color, const TRect& r) const {
    return TestChart::Count(color, r.Left, r.Top, r.Right - 1, r.Bottom - 1);
  }
  TFastLineSeries* series;
};

// A yellow box, framed in red when `frame`.
void Fill(TCustomTextShape* shape, bool frame) {
  shape->SetTransparent(false);
  shape->SetColor(clYellow);
  shape->Pen()->SetColor(clRed);
  shape->Pen()->SetVisible(frame);
  shape->Shadow()->SetVisible(false);
}

TRect TurnedBounds(const TRect& r, int angle) {
  const auto c = TKelCustomShape::RotatedCorners(r, angle);
  return TRect(std::min({c[0].X, c[1].X, c[2].X, c[3].X}), std::min({c[0].Y, c[1].Y, c[2].Y, c[3].Y}),
               std::max({c[0].X, c[1].X, c[2].X, c[3].X}), std::max({c[0].Y, c[1].Y, c[2].Y, c[3].Y}));
}

TRect Grown(const TRect& r, int d) { return TRect(r.Left - d, r.Top - d, r.Right + d, r.Bottom + d); }

// A series whose point labels stand at the point indexes.
class IndexSeries : public TFastLineSeries {
 public:
  using TFastLineSeries::TFastLineSeries;
  bool PrefersPointIndexLabels() const override { return true; }
};

}  // namespace

TEST(AxisLabelBoxes, FramedFilledBoxAroundEachBottomLabel) {
  BoxChart chart;
  TChartAxis* axis = chart.panel.BottomAxis();
  Fill(axis->LabelsFormat(), true);
  chart.Paint();
  const auto& items = axis->LabelItems();
  ASSERT_EQ(items.size(), 11u);
  for (const TAxisLabelItem& item : items) {
    SCOPED_TRACE(item.Text);
    const TRect& b = item.Box;
    EXPECT_LE(std::abs((b.Left + b.Right) / 2 - item.Pixel), 1) << "centred on its tick";
    EXPECT_EQ(b.Top, axis->LabelPosition()) << "from the label position outward";
    EXPECT_GE(b.Width(), 6 * static_cast<int>(item.Text.size()) + 2) << "room for the text and the frame";
    EXPECT_GE(b.Height(), 10 + 2);
    // The frame on the box's edges, the fill just inside it.
    EXPECT_EQ(chart.Pixel(b.Left, b.Top + 1), clRed);
    EXPECT_EQ(chart.Pixel(b.Right - 1, b.Top + 1), clRed);
    EXPECT_EQ(chart.Pixel(b.Left + 1, b.Top), clRed);
    EXPECT_EQ(chart.Pixel(b.Left + 1, b.Top + 1), clYellow);
    EXPECT_EQ(chart.Pixel(b.Right - 2, b.Top + 1), clYellow);
    // Nothing of the box right outside it.
    EXPECT_NE(chart.Pixel(b.Left - 1, b.Top + 1), clYellow);
    EXPECT_NE(chart.Pixel(b.Left - 1, b.Top + 1), clRed);
  }
  // The text is still written, in the axis label font, inside the boxes.
  const auto texts = chart.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_EQ(texts.size(), 11u);
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].text, items[i].Text);
    EXPECT_GT(texts[i].y, items[i].Box.Top) << "below the frame";
  }
}

TEST(AxisLabelBoxes, FramedLabelsTakeMoreRoomThanBareOnes) {
  BoxChart bare;
  bare.Paint();
  BoxChart framed;
  Fill(framed.panel.BottomAxis()->LabelsFormat(), true);
  framed.panel.BottomAxis()->LabelsFormat()->Pen()->SetWidth(2);
  framed.Paint();
  // Twice the frame width more below the chart.
  EXPECT_EQ(framed.panel.ChartBounds().Bottom, bare.panel.ChartBounds().Bottom - 4);
}

TEST(AxisLabelBoxes, TransparentBoxPaintsTextOnly) {
  BoxChart chart;
  TCustomTextShape* format = chart.panel.BottomAxis()->LabelsFormat();
  Fill(format, true);
  format->SetTransparent(true);
  chart.Paint();
  const TChartAxis* axis = chart.panel.BottomAxis();
  const TRect band(0, axis->LabelPosition() - 2, chart.width, axis->LabelPosition() + 16);
  EXPECT_EQ(chart.Count(clYellow, band), 0) << "no fill";
  EXPECT_EQ(chart.Count(clRed, band), 0) << "no frame";
  // The texts are there: dark pixels around every label.
  for (const TAxisLabelItem& item : axis->LabelItems()) {
    EXPECT_EQ(item.Box.Width(), 6 * static_cast<int>(item.Text.size())) << "no margins: " << item.Text;
    EXPECT_GT(chart.Count(clBlack, Grown(item.Box, 3)), 0) << item.Text;
  }
}

TEST(AxisLabelBoxes, TurnedLabelStaysBesideItsAxis) {
  // Left axis labels ("100" .. "0") and bottom axis labels ("10" .. "0"), transparent boxes of
  // 6 pixels a character by 10: the turned box's near edge stays on the label position, it is
  // centred on the label's pixel and reaches out by its turned extent.
  struct Case {
    const char* name;
    bool bottom;
    int angle;
  };
  const Case cases[] = {
      {"bottom 90", true, 90},   {"bottom 270", true, 270}, {"bottom 45", true, 45},
      {"left 90", false, 90},    {"left 270", false, 270},  {"left 30", false, 30},
      {"bottom 180", true, 180},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BoxChart chart;
    TChartAxis* axis = c.bottom ? chart.panel.BottomAxis() : chart.panel.LeftAxis();
    axis->SetLabelsAngle(c.angle);
    chart.Paint();
    ASSERT_FALSE(axis->LabelItems().empty());
    const double a = c.angle * 3.14159265358979323846 / 180;
    for (const TAxisLabelItem& item : axis->LabelItems()) {
      SCOPED_TRACE(item.Text);
      const int w = 6 * static_cast<int>(item.Text.size()), h = 10;
      ASSERT_EQ(item.Box.Width(), w);
      ASSERT_EQ(item.Box.Height(), h);
      const TRect t = TurnedBounds(item.Box, c.angle);
      if (c.bottom) {
        const int extent = Even(std::fabs(std::sin(a)) * w + std::fabs(std::cos(a)) * h);
        EXPECT_LE(std::abs((t.Left + t.Right) / 2 - item.Pixel), 1);
        EXPECT_LE(std::abs(t.Top - axis->LabelPosition()), 1) << "touches the label position";
        EXPECT_LE(std::abs(t.Height() - extent), 1);
      } else {
        const int extent = Even(std::fabs(std::cos(a)) * w + std::fabs(std::sin(a)) * h);
        EXPECT_LE(std::abs((t.Top + t.Bottom) / 2 - item.Pixel), 1);
        EXPECT_LE(std::abs(t.Right - axis->LabelPosition()), 1) << "ends at the label position";
        EXPECT_LE(std::abs(t.Width() - extent), 1);
      }
    }
  }
}

TEST(AxisLabelBoxes, TurnedBoxIsPaintedWhereItWasPlaced) {
  BoxChart chart;
  TChartAxis* axis = chart.panel.BottomAxis();
  axis->SetLabelsAngle(90);
  Fill(axis->LabelsFormat(), false);
  // Long labels: their turned boxes are tall and narrow.
  chart.panel.OnGetAxisLabel = [&](const TChartAxis& a, TChartSeries*, int, std::string& text) {
    if (&a == axis) text = "value " + text;
  };
  chart.Paint();
  const auto& items = axis->LabelItems();
  ASSERT_EQ(items.size(), 11u);
  // The yellow lies in the turned boxes only: standing below the axis, as tall as the text
  // is long.
  int inside = 0;
  for (const TAxisLabelItem& item : items) {
    const TRect t = TurnedBounds(item.Box, 90);
    EXPECT_GT(t.Height(), t.Width()) << item.Text;
    EXPECT_GE(t.Top, axis->LabelPosition() - 1) << item.Text;
    const int n = chart.Count(clYellow, t);
    EXPECT_GT(n, t.Width() * t.Height() / 3) << item.Text;
    inside += n;
  }
  const TRect band(0, axis->LabelPosition() - 3, chart.width, chart.height);
  EXPECT_EQ(chart.Count(clYellow, band), inside) << "no yellow outside the turned boxes";
}

TEST(AxisLabelBoxes, TitleBoxes) {
  struct Case {
    const char* name;
    bool left;
  };
  for (const Case c : {Case{"left title, turned", true}, Case{"bottom title", false}}) {
    SCOPED_TRACE(c.name);
    BoxChart chart;
    TChartAxis* axis = c.left ? chart.panel.LeftAxis() : chart.panel.BottomAxis();
    TCustomTextShape* title = axis->Title();
    title->SetText("Temp");
    Fill(title, true);
    chart.Paint();
    const TRect box = title->Bounds;
    const TRect seen = c.left ? TurnedBounds(box, 90) : box;
    const int centre = axis->CenterPixel();
    if (c.left) {
      EXPECT_LE(std::abs(seen.Right - axis->TitlePosition()), 1) << "beside the labels";
      EXPECT_LT(seen.Width(), seen.Height()) << "turned";
      EXPECT_LE(std::abs((seen.Top + seen.Bottom) / 2 - centre), 1);
    } else {
      EXPECT_EQ(seen.Top, axis->TitlePosition());
      EXPECT_LE(std::abs((seen.Left + seen.Right) / 2 - centre), 1);
    }
    // Filled and framed where it was placed; nothing of it elsewhere.
    EXPECT_GT(chart.Count(clYellow, seen), seen.Width() * seen.Height() / 3);
    // The frame (a turned outline covers its last row and column too), where the text
    // leaves it.
    EXPECT_GT(chart.Count(clRed, Grown(seen, 1)), seen.Width() + seen.Height());
    const int all = chart.Count(clYellow, TRect(0, 0, chart.width, chart.height));
    EXPECT_EQ(all, chart.Count(clYellow, Grown(seen, 1)));
  }
}

TEST(AxisLabelBoxes, PictureBesideACustomLabel) {
  BoxChart plain;
  plain.panel.BottomAxis()->Items()->Add(5, "five");
  plain.Paint();
  BoxChart chart;
  TAxisItem& item = chart.panel.BottomAxis()->Items()->Add(5, "five");
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(8, 6);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->FillRect(TRect(0, 0, 8, 6));
  item.Picture()->SetGraphic(&bitmap);
  chart.Paint();
  // Room for the picture's height below the labels.
  EXPECT_EQ(chart.panel.ChartBounds().Bottom, plain.panel.ChartBounds().Bottom - 6);
  const auto& items = chart.panel.BottomAxis()->LabelItems();
  ASSERT_EQ(items.size(), 1u);
  const TRect& box = items[0].Box;
  const int cx = (box.Left + box.Right) / 2;
  const TRect under(cx - 4, box.Bottom, cx + 4, box.Bottom + 6);
  EXPECT_EQ(chart.Count(clRed, under), 8 * 6) << "centred under the label";
  const TRect labels(0, chart.panel.ChartBounds().Bottom + 1, chart.width, chart.height);
  EXPECT_EQ(chart.Count(clRed, labels), 8 * 6) << "nowhere else under the chart";
  // Without images the picture stays away, and so does its room.
  chart.panel.BottomAxis()->SetLabelsUseImages(false);
  chart.Paint();
  EXPECT_EQ(chart.Count(clRed, TRect(0, chart.panel.ChartBounds().Bottom + 1, chart.width, chart.height)), 0);
  EXPECT_EQ(chart.panel.ChartBounds().Bottom, plain.panel.ChartBounds().Bottom);
}

TEST(AxisLabelSources, SeriesThatPrefersPointIndexesLabelsAtTheIndexes) {
  // Points at x = 2, 4, 6 with texts "a", "b", "c".
  struct Case {
    const char* name;
    bool prefersIndexes;
    TAxisLabelStyle style;
    std::vector<std::string> texts;
    std::vector<double> at;
  };
  const Case cases[] = {
      {"labels at the indexes", true, talText, {"a", "b", "c"}, {0, 1, 2}},
      {"values at the indexes", true, talPointValue, {"2", "4", "6"}, {0, 1, 2}},
      {"labels at the values", false, talText, {"a", "b", "c"}, {2, 4, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestChart chart;
    TFastLineSeries* series = c.prefersIndexes ? new IndexSeries(nullptr) : new TFastLineSeries(nullptr);
    const char* texts[] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i) series->AppendXY(2.0 * (i + 1), i, texts[i]);
    chart.panel.AttachSeries(series);
    chart.panel.BottomAxis()->SetMinMax(0, 10);
    chart.panel.LeftAxis()->SetMinMax(0, 10);
    chart.panel.BottomAxis()->SetLabelStyle(c.style);
    chart.Paint();
    const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
    ASSERT_EQ(labels.size(), c.texts.size());
    for (size_t i = 0; i < labels.size(); ++i) {
      EXPECT_EQ(labels[i].text, c.texts[i]);
      EXPECT_EQ(labels[i].x, BottomPixel(c.at[i])) << labels[i].text;
    }
  }
}

TEST(AxisLabelBoxes, TitleStandsAtTheStartCentreOrEndOfItsAxis) {
  // "Title" is 30 pixels long. The start is the low values' end: left on the bottom axis,
  // bottom on the left axis, the other end when the axis is inverted.
  struct Case {
    const char* name;
    bool left;
    TAxisTitlePosition position;
    bool inverted;
    bool atStartPixel;  // else at the end pixel; ignored for the centre
  };
  const Case cases[] = {
      {"bottom start", false, tpStart, false, true},  {"bottom end", false, tpEnd, false, false},
      {"bottom start inverted", false, tpStart, true, false},
      {"left start", true, tpStart, false, false},    {"left end", true, tpEnd, false, true},
      {"left start inverted", true, tpStart, true, true},
      {"left centre", true, tpCenter, false, false},  {"bottom centre", false, tpCenter, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BoxChart chart;
    TChartAxis* axis = c.left ? chart.panel.LeftAxis() : chart.panel.BottomAxis();
    axis->SetInverted(c.inverted);
    axis->Title()->SetText("Title");
    axis->Title()->SetPosition(c.position);
    chart.Paint();
    const TRect seen = c.left ? TurnedBounds(axis->Title()->Bounds, 90) : axis->Title()->Bounds;
    ASSERT_EQ(c.left ? seen.Height() : seen.Width(), 30);
    const int along = c.left ? (seen.Top + seen.Bottom) / 2 : (seen.Left + seen.Right) / 2;
    int expected;
    if (c.position == tpCenter)
      expected = axis->CenterPixel();
    else if (c.atStartPixel)
      expected = axis->StartPixel() + 15;
    else
      expected = axis->EndPixel() - 15;
    EXPECT_LE(std::abs(along - expected), 1) << along << " vs " << expected;
    // Drawn there: the text stands inside the title's box.
    const auto texts = chart.canvas->TextsIn(c.left ? "Axes/Left/Title" : "Axes/Bottom/Title");
    if (!c.left) {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0].x, along);
    }
  }
}
