// Walls and titles of the chart: the flat back wall with its gradient and frame checked by
// pixels, the walls a flat chart never draws, and the room titles take from the chart.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ChartControlTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"

namespace {

int Channel(TColor c, int shift) { return (static_cast<unsigned>(c) >> shift) & 0xFF; }

bool Near(TColor a, TColor b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  return true;
}

// The recorder's chart: one flat curve at 50 on a fixed 0..100 left axis, no grid lines, and
// the back wall filled with a gradient from $EAEAEA at the bottom (its start) to white.
void RecorderWall(ChartFixture& f) {
  f.AddCurve(50, 50, clRed);
  f.chart.LeftAxis()->SetMinMax(0, 100);
  f.chart.LeftAxis()->Grid()->SetVisible(false);
  f.chart.BottomAxis()->Grid()->SetVisible(false);
  f.chart.BackWall()->SetTransparent(false);
  f.chart.BackWall()->Gradient()->SetVisible(true);
  f.chart.BackWall()->Gradient()->SetStartColor(static_cast<TColor>(0xEAEAEA));
  f.chart.BackWall()->Gradient()->SetEndColor(clWhite);
}

}  // namespace

TEST(ChartWalls, FlatBackWallGradientRunsFromWhiteToLightGreyWithTheFrameOnTheChartRectangle) {
  ChartFixture f;
  RecorderWall(f);
  f.Paint();
  const TRect r = f.chart.ChartBounds();
  const int x = (r.Left + r.Right) / 2;
  const TColor top = f.Pixel(x, r.Top + 2);
  const TColor bottom = f.Pixel(x, r.Bottom - 2);
  const TColor quarter = f.Pixel(x, r.Top + (r.Bottom - r.Top) * 3 / 4);
  EXPECT_TRUE(Near(top, clWhite, 3)) << std::hex << top;
  EXPECT_TRUE(Near(bottom, static_cast<TColor>(0xEAEAEA), 3)) << std::hex << bottom;
  EXPECT_LT(Channel(quarter, 0), Channel(top, 0));
  EXPECT_GT(Channel(quarter, 0), Channel(bottom, 0));
  // The frame (the back wall's pen) on the chart rectangle's top and right edges.
  const int y = r.Top + (r.Bottom - r.Top) / 4;
  EXPECT_EQ(f.Pixel(r.Right, y), clBlack);
  EXPECT_EQ(f.Pixel(x, r.Top), clBlack);
  EXPECT_NE(f.Pixel(r.Right + 2, y), clBlack);
  // The background answer follows the wall.
  EXPECT_EQ(f.chart.BackgroundColor(), static_cast<TColor>(0xEAEAEA));
}

TEST(ChartWalls, TransparentBackWallDrawsOnlyItsFrame) {
  ChartFixture f;
  RecorderWall(f);
  f.chart.BackWall()->SetTransparent(true);
  f.chart.SetColor(static_cast<TColor>(0x00C8FF));
  f.Paint();
  const TRect r = f.chart.ChartBounds();
  EXPECT_EQ(f.Pixel((r.Left + r.Right) / 2, r.Bottom - 2), static_cast<TColor>(0x00C8FF));
  EXPECT_EQ(f.Pixel(r.Right, r.Top + 20), clBlack);
}

TEST(ChartWalls, FlatChartDrawsNoSideOrBottomWalls) {
  ChartFixture f;
  f.AddCurve();
  EXPECT_FALSE(f.chart.Walls()->HasRight());
  EXPECT_FALSE(f.chart.RightWall()->Visible());  // created on first use, hidden
  f.chart.RightWall()->SetVisible(true);
  f.Paint();
  // The elements opened inside "Walls" (the axes come next).
  const int walls = f.canvas->IndexOf("Walls");
  const int axes = f.canvas->IndexOf("Axes");
  ASSERT_GE(walls, 0);
  ASSERT_GT(axes, walls);
  const std::vector<std::string> drawn(f.canvas->elements.begin() + walls + 1, f.canvas->elements.begin() + axes);
  EXPECT_EQ(drawn, std::vector<std::string>{"Back"});
  // Walls belong to charts whose series use axes: nothing when none of them does.
  EXPECT_TRUE(f.chart.AxesInUse());
}

TEST(ChartTitles, InvisibleTitleTakesNoRoomAndIsNotHit) {
  ChartFixture f;
  f.AddCurve();
  f.Paint();
  const int top = f.chart.ChartBounds().Top;

  f.chart.Title()->SetText("Temp");
  f.chart.Title()->SetVisible(false);
  f.Paint();
  EXPECT_EQ(f.chart.ChartBounds().Top, top);
  EXPECT_EQ(f.canvas->IndexOf("Titles"), -1);

  f.chart.Title()->SetVisible(true);
  f.Paint();
  const TChartTitle* title = f.chart.Title();
  EXPECT_EQ(title->Height(), 10);  // one line of the fixed metrics, no margins (transparent)
  EXPECT_EQ(f.chart.ChartBounds().Top, top + title->Height() + 5);
  const auto texts = f.canvas->TextsIn("Titles/Title");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "Temp");
  const int cx = (title->Bounds.Left + title->Bounds.Right) / 2, cy = (title->Bounds.Top + title->Bounds.Bottom) / 2;
  EXPECT_EQ(f.chart.HitTestPart(cx, cy, false).Part, hpTitle);
  f.chart.Title()->SetVisible(false);
  EXPECT_NE(f.chart.HitTestPart(cx, cy, false).Part, hpTitle);
}

TEST(ChartTitles, FootMovesTheChartBottomUpByItsHeightMarginAndHalfItsPen) {
  struct Case {
    const char* name;
    int penWidth;
    int half;
  };
  const Case cases[] = {{"thin pen", 1, 0}, {"pen of 4", 4, 2}, {"pen of 5", 5, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve();
    f.Paint();
    const int bottom = f.chart.ChartBounds().Bottom;
    f.chart.Foot()->SetText("Foot");
    f.chart.Foot()->Pen()->SetWidth(c.penWidth);
    f.Paint();
    const int height = f.chart.Foot()->Height();
    EXPECT_GE(height, 10);
    EXPECT_EQ(f.chart.ChartBounds().Bottom, bottom - (height + 5 + c.half));
    // The foot stands on the chart rectangle as it was before the axes took their room
    // (250 - 10 pixels of margin), half its pen inside.
    EXPECT_EQ(f.chart.Foot()->Bounds.Bottom, 240 - c.half);
  }
}
