// Axis labels beyond plain values, drawn through the recording canvas (6 pixels a character,
// 10 a line) on a flat 400 x 250 chart whose bottom axis is fixed to 0..10 and left axis to
// 0..100: labels from point texts and their thinning, custom label items, labels from the
// application's next-label event, the exponent, alternate and opposite variants, the draw-label
// event and the back shape.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelPen.h"
#include "canvas/KelFont.h"
#include "chart/AxisItems.h"
#include "chart/SeriesSelection.h"

namespace {

int Even(double v) { return static_cast<int>(std::nearbyint(v)); }

// A series of n points at x = 0 .. n - 1 (y = x), bottom 0..10 and left 0..100 fixed.
struct LabelChart : TestChart {
  explicit LabelChart(int n = 11, double xMax = 10) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < n; ++i) points.emplace_back(i, i);
    series = AddSeries(points);
    panel.BottomAxis()->SetMinMax(0, xMax);
    panel.LeftAxis()->SetMinMax(0, 100);
  }
  std::vector<std::string> BottomTexts() const {
    std::vector<std::string> result;
    for (const auto& t : canvas->TextsIn("Axes/Bottom/Labels")) result.push_back(t.text);
    return result;
  }
  TFastLineSeries* series;
};

// Bottom axis pixel of x on the 43..388 chart rectangle (10 units).
int BottomPixel(double x) { return 43 + Even(x * 34.5); }

}  // namespace

TEST(AxisPointLabels, PointTextsLabelTheirPoints) {
  LabelChart chart(3);
  const char* names[] = {"Mon", "Tue", "Wed"};
  for (int i = 0; i < 3; ++i) chart.series->Labels().SetLabel(i, names[i]);
  chart.Paint();
  const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_EQ(labels.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(labels[i].text, names[i]);
    EXPECT_EQ(labels[i].x, BottomPixel(i)) << names[i];
  }
  // The left axis carries the values: still value labels.
  EXPECT_EQ(chart.canvas->TextsIn("Axes/Left/Labels").front().text, "100");
}

TEST(AxisPointLabels, StylesTakeLabelMarkOrValue) {
  struct Case {
    const char* name;
    TAxisLabelStyle style;
    std::string first;
  };
  const Case cases[] = {
      {"text", talText, "p0"},
      {"mark (the point label until marks exist)", talMark, "p0"},
      {"point value", talPointValue, "0"},
  };
  for (const Case& c : cases) {
    LabelChart chart(3);
    for (int i = 0; i < 3; ++i) chart.series->Labels().SetLabel(i, "p" + std::to_string(i));
    chart.panel.BottomAxis()->SetLabelStyle(c.style);
    chart.Paint();
    const auto texts = chart.BottomTexts();
    ASSERT_EQ(texts.size(), 3u) << c.name;
    EXPECT_EQ(texts[0], c.first) << c.name;
  }
}

TEST(AxisPointLabels, TheChartEventSeesSeriesAndIndex) {
  LabelChart chart(3);
  chart.panel.BottomAxis()->SetLabelStyle(talText);
  std::vector<int> indexes;
  chart.panel.OnGetAxisLabel = [&](const TChartAxis& axis, TChartSeries* series, int index, std::string& text) {
    if (&axis != chart.panel.BottomAxis() || series != chart.series) return;
    indexes.push_back(index);
    text = "#" + std::to_string(index);
  };
  chart.Paint();
  EXPECT_EQ(chart.BottomTexts(), (std::vector<std::string>{"#0", "#1", "#2"}));
  EXPECT_NE(std::find(indexes.begin(), indexes.end(), 2), indexes.end());
}

TEST(AxisPointLabels, CrowdedLabelsKeepTheirDistanceOrAreShortened) {
  // 41 points on 0..10: 8.6 pixels apart; "ABCDEFGH" is 48 wide, half extent (48 + 9) / 2 = 28.
  for (bool trim : {false, true}) {
    LabelChart chart(41);
    chart.panel.BottomAxis()->SetLabelStyle(talText);
    chart.panel.BottomAxis()->LabelsAutoText()->SetTrim(trim);
    for (int i = 0; i < 41; ++i) chart.series->Labels().SetLabel(i, "ABCDEFGH");
    chart.series->XValues()->SetValueAt(0, 0);
    for (int i = 0; i < 41; ++i) chart.series->XValues()->SetValueAt(i, i * 0.25);
    chart.Paint();
    const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels[0].text, "ABCDEFGH") << "the first label of a series always stands";
    auto half = [](const std::string& t) {
      const int w = 6 * static_cast<int>(t.size());
      return (w + static_cast<int>(std::trunc(w * 0.2))) / 2;
    };
    bool shortened = false;
    for (size_t i = 1; i < labels.size(); ++i) {
      EXPECT_GE(labels[i].x - labels[i - 1].x, half(labels[i - 1].text) + half(labels[i].text)) << i;
      shortened |= labels[i].text.size() < 8;
    }
    if (trim) {
      EXPECT_TRUE(shortened);
    } else {
      EXPECT_FALSE(shortened);
      EXPECT_LT(labels.size(), 8u);
    }
  }
}

TEST(AxisCustomLabels, ItemsInRangeReplaceTheValueLabels) {
  LabelChart chart;
  TAxisItems* items = chart.panel.BottomAxis()->Items();
  EXPECT_TRUE(items->Automatic());
  items->Add(2.5, "quarter");
  items->Add(7.5);          // no text: the formatted value
  items->Add(12, "beyond");  // outside the range
  EXPECT_FALSE(items->Automatic());
  chart.Paint();
  const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0].text, "quarter");
  EXPECT_EQ(labels[0].x, BottomPixel(2.5));
  EXPECT_EQ(labels[1].text, "7.5");
  EXPECT_EQ(chart.panel.BottomAxis()->TickPixels(), (std::vector<int>{BottomPixel(2.5), BottomPixel(7.5)}));

  // An invisible item format hides its label but keeps its tick.
  items->Item(0).Format()->SetVisible(false);
  chart.canvas->Clear();
  chart.Paint();
  EXPECT_EQ(chart.BottomTexts(), (std::vector<std::string>{"7.5"}));
}

TEST(AxisCustomLabels, AssignCopiesACustomList) {
  LabelChart chart;
  TAxisItems copy(nullptr, nullptr);
  copy.Assign(*chart.panel.BottomAxis()->Items());
  EXPECT_TRUE(copy.Automatic()) << "an automatic list copies no items";
  chart.panel.BottomAxis()->Items()->Add(1, "one");
  copy.Assign(*chart.panel.BottomAxis()->Items());
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_FALSE(copy.Automatic());
  EXPECT_EQ(copy.Item(0).Text(), "one");
  EXPECT_EQ(copy.Item(0).Value(), 1);
  // The hover look goes along.
  chart.panel.BottomAxis()->Items()->Selected()->Hover()->Font()->SetColor(clLime);
  chart.panel.BottomAxis()->Items()->Selected()->Hover()->SetVisible(false);
  copy.Assign(*chart.panel.BottomAxis()->Items());
  ASSERT_TRUE(copy.HasSelected());
  EXPECT_EQ(copy.Selected()->Hover()->Font()->Color(), clLime);
  EXPECT_FALSE(copy.Selected()->Hover()->Visible());
}

TEST(AxisNextLabels, TheEventChoosesTheValuesUntilOneFallsOutside) {
  struct Case {
    const char* name;
    int stopAt;  // label number that stops (-1: none)
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"values 0, 5, 10 then outside", -1, {"0", "5", "10"}},
      {"stop after two", 2, {"0", "5"}},
      {"stop at once: the axis walk", 0, {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}},
  };
  for (const Case& c : cases) {
    LabelChart chart;
    chart.panel.OnGetNextAxisLabel = [&](const TChartAxis& axis, int index, double& value, bool& stop) {
      if (&axis != chart.panel.BottomAxis()) {
        stop = true;
        return;
      }
      if (index == c.stopAt) {
        stop = true;
        return;
      }
      value = index * 5.0;
    };
    chart.Paint();
    EXPECT_EQ(chart.BottomTexts(), c.expected) << c.name;
  }
}

TEST(AxisLabelVariants, ExponentIsWrittenSmallerAndRaised) {
  LabelChart chart;
  chart.panel.BottomAxis()->SetLabelsExponent(true);
  chart.panel.OnGetAxisLabel = [&](const TChartAxis& axis, TChartSeries*, int, std::string& text) {
    if (&axis == chart.panel.BottomAxis() && text == "4") text = "4E3";
  };
  chart.Paint();
  const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
  const RecordingCanvas::Text* mantissa = nullptr;
  const RecordingCanvas::Text* exponent = nullptr;
  for (size_t i = 0; i + 1 < labels.size(); ++i)
    if (labels[i].text == "4" && labels[i + 1].text == "3") {
      mantissa = &labels[i];
      exponent = &labels[i + 1];
    }
  ASSERT_NE(mantissa, nullptr);
  EXPECT_EQ(exponent->x, mantissa->x + 6) << "right after the mantissa";
  EXPECT_EQ(exponent->y, mantissa->y - (10 / 2 - 2)) << "raised by half a line less 2";
}

TEST(AxisLabelVariants, AlternateLabelsTakeTwoRows) {
  LabelChart chart;
  chart.panel.BottomAxis()->SetIncrement(1);
  chart.panel.BottomAxis()->SetLabelsAlternate(true);
  chart.Paint();
  const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_GE(labels.size(), 4u);
  const int row = chart.panel.BottomAxis()->LabelPosition();
  for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(labels[i].y, i % 2 == 0 ? row : row + 10) << i;
}

TEST(AxisLabelVariants, OppositeAlignmentMovesLeftLabelsByTheLabelSize) {
  LabelChart plain;
  plain.Paint();
  LabelChart opposite;
  opposite.panel.LeftAxis()->SetLabelsAlign(alOpposite);
  // Text is measured on the canvas of a paint.
  int size = 0;
  opposite.panel.OnAfterDraw = [&](TObject*) { size = opposite.panel.LeftAxis()->LabelSize(); };
  opposite.Paint();
  const auto a = plain.canvas->TextsIn("Axes/Left/Labels");
  const auto b = opposite.canvas->TextsIn("Axes/Left/Labels");
  ASSERT_EQ(a.size(), b.size());
  ASSERT_FALSE(a.empty());
  EXPECT_EQ(size, 24) << "\"100\" and a blank";
  EXPECT_EQ(b[0].x, a[0].x - size);
  EXPECT_EQ(b[0].y, a[0].y);
}

TEST(AxisLabelVariants, DrawLabelEventChangesOrCancels) {
  LabelChart chart;
  chart.panel.BottomAxis()->OnDrawLabel = [](TChartAxis*, int& x, int&, int&, std::string& text, bool& draw) {
    if (text == "5") draw = false;
    if (text == "6") {
      text = "six";
      x += 1;
    }
  };
  chart.Paint();
  const auto labels = chart.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_EQ(labels.size(), 10u);
  bool sawSix = false;
  for (const auto& l : labels) {
    EXPECT_NE(l.text, "5");
    if (l.text == "six") {
      sawSix = true;
      EXPECT_EQ(l.x, BottomPixel(6) + 1);
    }
  }
  EXPECT_TRUE(sawSix);
}

TEST(AxisBackShape, AVisibleShapeFillsTheBandBehindTheLabels) {
  LabelChart chart;
  TChartAxis* axis = chart.panel.BottomAxis();
  EXPECT_FALSE(axis->Shape()->Visible()) << "invisible at first";
  axis->Shape()->SetVisible(true);
  axis->Shape()->SetColor(clYellow);
  axis->Shape()->Pen()->SetVisible(false);
  TRect box;
  chart.panel.OnAfterDraw = [&](TObject*) { box = axis->BackShapeBox(); };
  chart.Paint();
  EXPECT_EQ(box.Left, 43);
  EXPECT_EQ(box.Right, 388);
  EXPECT_EQ(box.Top, 223);
  EXPECT_GT(box.Bottom, axis->LabelPosition() + 10 - 1) << "past the labels";
  // Yellow between the labels, under the chart rectangle; none above it.
  EXPECT_GT(chart.Count(clYellow, 60, 226, 370, box.Bottom - 2), 1000);
  EXPECT_EQ(chart.Count(clYellow, 43, 10, 388, 220), 0);
  // The labels are still drawn over it.
  EXPECT_EQ(chart.canvas->TextsIn("Axes/Bottom/Labels").size(), 11u);
}

TEST(AxisPointLabels, TextLabelsMeasureEverySeriesAndMarkLabelsTheActiveOnes) {
  // The left axis shows point texts; a second series on the right axis carries either short
  // or ten-character texts. The left axis is as wide as the widest text it may have to show:
  // point labels of every series, marks of the active series only.
  struct Case {
    const char* name;
    TAxisLabelStyle style;
    bool otherActive;
    int extraWidth;  // recording canvas: 6 pixels a character
  };
  const Case cases[] = {
      {"point labels, other series active", talText, true, 54},
      {"point labels, other series inactive", talText, false, 54},
      {"marks, other series active", talMark, true, 54},
      {"marks, other series inactive", talMark, false, 0},
  };
  for (const Case& c : cases) {
    auto left = [&](const std::string& otherText) {
      LabelChart chart(3);
      for (int i = 0; i < 3; ++i) chart.series->Labels().SetLabel(i, "a");
      chart.series->OnGetMarkText = [](TChartSeries*, int, std::string& text) { text = "a"; };
      TFastLineSeries* other = chart.AddSeries({{0, 0}, {1, 1}});
      other->SetVertAxis(aRightAxis);
      other->Labels().SetLabel(1, otherText);
      other->OnGetMarkText = [otherText](TChartSeries*, int, std::string& text) { text = otherText; };
      other->ChangeActive(c.otherActive);
      chart.panel.LeftAxis()->SetLabelStyle(c.style);
      chart.Paint();
      return chart.panel.ChartBounds().Left;
    };
    EXPECT_EQ(left("ABCDEFGHIJ") - left("A"), c.extraWidth) << c.name;
  }
}
