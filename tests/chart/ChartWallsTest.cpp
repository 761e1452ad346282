// Walls and titles of the chart: the flat back wall with its gradient and frame checked by
// pixels, the walls a flat chart never draws, and the room titles take from the chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "support/ColorNear.h"
#include "ChartControlTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelFilter.h"
#include "canvas/KelFilters.h"
#include "canvas/KelFont.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "chart/BackImage.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/graphics/Bitmap.h"

namespace {

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
  EXPECT_TRUE(ColorNear(top, clWhite, 3)) << std::hex << top;
  EXPECT_TRUE(ColorNear(bottom, static_cast<TColor>(0xEAEAEA), 3)) << std::hex << bottom;
  EXPECT_LT(GetRValue(quarter), GetRValue(top));
  EXPECT_GT(GetRValue(quarter), GetRValue(bottom));
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

// A foot stands half its frame pen in from the chart's bottom; the chart then ends half the pen
// above the foot's bounds (where the frame ends) and VertMargin (5) beyond: the chart bottom
// moves up by the height, the margin and the pen's width (twice its half).
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
    EXPECT_EQ(f.chart.ChartBounds().Bottom, bottom - (height + 5 + 2 * c.half));
    // The foot stands on the chart rectangle as it was before the axes took their room
    // (250 - 10 pixels of margin), half its pen inside.
    EXPECT_EQ(f.chart.Foot()->Bounds.Bottom, 240 - c.half);
  }
}

namespace {

// A 4 x 2 bitmap: blue on its left half, lime on its right half.
std::unique_ptr<TBitmap> TwoColourPicture() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(4, 2);
  b->Canvas()->Brush()->SetColor(clBlue);
  b->Canvas()->FillRect(TRect(0, 0, 2, 2));
  b->Canvas()->Brush()->SetColor(clLime);
  b->Canvas()->FillRect(TRect(2, 0, 4, 2));
  return b;
}

}  // namespace

TEST(ChartWalls, BackWallPictureFillsTheWallInsideItsFrame) {
  for (bool transparentWall : {false, true}) {
    SCOPED_TRACE(transparentWall ? "transparent wall" : "filled wall");
    ChartFixture f;
    RecorderWall(f);
    f.chart.BackWall()->SetTransparent(transparentWall);
    auto picture = TwoColourPicture();
    f.chart.BackWall()->Picture()->Assign(picture.get());
    f.chart.BackWall()->Picture()->SetDrawQuality(sqLow);
    f.Paint();
    const TRect r = f.chart.ChartBounds();
    const int y = r.Top + (r.Bottom - r.Top) / 4;  // above the curve at 50
    EXPECT_EQ(f.Pixel(r.Left + 3, y), clBlue);
    EXPECT_EQ(f.Pixel(r.Left + (r.Right - r.Left) / 4, y), clBlue);
    EXPECT_EQ(f.Pixel(r.Right - 3, y), clLime);
    EXPECT_EQ(f.Pixel(r.Right - (r.Right - r.Left) / 4, r.Bottom - 3), clLime);
    // The frame stays on the chart rectangle and nothing spills outside it.
    EXPECT_EQ(f.Pixel(r.Right, y), clBlack);
    EXPECT_EQ(f.Pixel((r.Left + r.Right) / 2, r.Top), clBlack);
    EXPECT_EQ(f.Count(clBlue, 0, 0, r.Left - 1, f.height - 1), 0);
    EXPECT_EQ(f.Count(clLime, r.Right + 1, 0, f.width - 1, f.height - 1), 0);
  }
}

TEST(ChartWalls, BackWallTransparencyShowsThePanelBehindIt) {
  struct Case {
    const char* name;
    bool transparent;
    int transparency;
    bool invertBehind;  // a picture holding only an invert filter
    int red, green, blue;  // expected channels of the wall's inside (wall red, panel blue)
  };
  const Case cases[] = {
      {"opaque", false, 0, false, 255, 0, 0},
      {"half", false, 50, false, 128, 0, 128},
      {"a quarter see-through", false, 25, false, 191, 0, 64},
      {"fully see-through", false, 100, false, 0, 0, 255},
      {"transparent wall", true, 0, false, 0, 0, 255},
      {"half over the inverted panel (yellow)", false, 50, true, 255, 128, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve(50, 50, clBlack);
    f.chart.LeftAxis()->SetMinMax(0, 100);
    f.chart.LeftAxis()->Grid()->SetVisible(false);
    f.chart.BottomAxis()->Grid()->SetVisible(false);
    f.chart.SetColor(clBlue);
    f.chart.BackWall()->SetTransparent(c.transparent);
    f.chart.BackWall()->SetColor(clRed);
    f.chart.BackWall()->SetTransparency(c.transparency);
    if (c.invertBehind) f.chart.BackWall()->Picture()->Filters()->Add(TInvertFilter::StaticClass());
    f.Paint();
    const TRect r = f.chart.ChartBounds();
    const TColor inside = f.Pixel((r.Left + r.Right) / 2, r.Top + (r.Bottom - r.Top) / 4);
    EXPECT_NEAR(GetRValue(inside), c.red, 3) << std::hex << inside;
    EXPECT_NEAR(GetGValue(inside), c.green, 3) << std::hex << inside;
    EXPECT_NEAR(GetBValue(inside), c.blue, 3) << std::hex << inside;
    // The panel around the chart keeps its colour.
    EXPECT_EQ(f.Pixel(2, 2), clBlue);
  }
}

TEST(ChartTitles, TitleOfSeveralLinesTakesTheirHeightAndKeepsTheirOrder) {
  struct Case {
    int lines;
    int height;
  };
  const Case cases[] = {{1, 10}, {2, 20}, {3, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines);
    ChartFixture f;
    f.AddCurve();
    f.Paint();
    const int top = f.chart.ChartBounds().Top;
    TChartTitle* title = f.chart.Title();
    for (int i = 0; i < c.lines; ++i) title->Lines()->Add("Line " + std::string(i + 1, 'x'));
    f.Paint();
    EXPECT_EQ(title->Height(), c.height);
    EXPECT_EQ(f.chart.ChartBounds().Top, top + c.height + 5);
    const auto texts = f.canvas->TextsIn("Titles/Title");
    ASSERT_EQ(static_cast<int>(texts.size()), c.lines);
    for (int i = 0; i < c.lines; ++i) {
      EXPECT_EQ(texts[i].text, "Line " + std::string(i + 1, 'x'));
      EXPECT_EQ(texts[i].y, title->Bounds.Top + 10 * i);
    }
    // The longest line gives the width: "Line xxx..." is 6 pixels a character.
    EXPECT_EQ(title->Width(), 6 * (5 + c.lines));
  }
}

TEST(ChartTitles, LinesOfATitleAlignWithinItsBox) {
  struct Case {
    const char* name;
    TAlignment alignment;
  };
  const Case cases[] = {{"left", taLeftJustify}, {"centre", taCenter}, {"right", taRightJustify}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve();
    TChartTitle* title = f.chart.Title();
    title->Lines()->Add("Temperature");
    title->Lines()->Add("C");
    title->SetTextAlignment(c.alignment);
    f.Paint();
    const TRect b = title->Bounds;
    EXPECT_EQ(b.Right - b.Left, 66);
    const auto texts = f.canvas->TextsIn("Titles/Title");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "C");
    // Where the short line's text starts, for a recorded anchor and the canvas's alignment.
    const int anchor = c.alignment == taLeftJustify ? b.Left : c.alignment == taCenter ? (b.Left + b.Right) / 2 : b.Right;
    EXPECT_EQ(texts[0].x, anchor);
    EXPECT_EQ(texts[1].x, anchor);
  }
}

TEST(ChartTitles, AssignedTitleBringsItsLines) {
  ChartFixture a, b;
  a.chart.Title()->Lines()->Add("One");
  a.chart.Title()->Lines()->Add("Two");
  b.chart.Title()->Assign(a.chart.Title());
  ASSERT_EQ(b.chart.Title()->Lines()->Count(), 2);
  EXPECT_EQ(b.chart.Title()->Lines()->Strings(1), "Two");
  EXPECT_EQ(b.chart.Title()->Text(), "One\r\nTwo");
}

TEST(ChartWalls, BackWallShadowAndEmbossStandBesideTheWall) {
  struct Case {
    const char* name;
    bool emboss;
    bool rightAndBelow;  // where the band shows: right and below, or left and above
  };
  const Case cases[] = {{"shadow", false, true}, {"emboss", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    RecorderWall(f);
    TKelShadow* effect = c.emboss ? static_cast<TKelShadow*>(f.chart.BackWall()->Emboss()) : f.chart.BackWall()->Shadow();
    effect->SetVisible(true);
    effect->SetColor(clLime);
    effect->ChangeSize(4);
    effect->SetTransparency(0);
    effect->SetSmooth(false);
    f.Paint();
    const TRect r = f.chart.ChartBounds();
    const int y = r.Top + (r.Bottom - r.Top) / 2;
    const int x = (r.Left + r.Right) / 2;
    // Strips three pixels outside each edge, beyond the axes' two-pixel lines (their ticks may
    // cover a few pixels of them).
    const int h = r.Bottom - r.Top - 20, w = r.Right - r.Left - 20;
    const int right = f.Count(clLime, r.Right + 3, r.Top + 10, r.Right + 3, r.Bottom - 10);
    const int below = f.Count(clLime, r.Left + 10, r.Bottom + 3, r.Right - 10, r.Bottom + 3);
    const int left = f.Count(clLime, r.Left - 3, r.Top + 10, r.Left - 3, r.Bottom - 10);
    const int above = f.Count(clLime, r.Left + 10, r.Top - 3, r.Right - 10, r.Top - 3);
    if (c.rightAndBelow) {
      EXPECT_GT(right, h / 2);
      EXPECT_GT(below, w / 2);
      EXPECT_EQ(left + above, 0);
    } else {
      EXPECT_GT(left, h / 2);
      EXPECT_GT(above, w / 2);
      EXPECT_EQ(right + below, 0);
    }
    EXPECT_EQ(f.Count(clLime, x - 5, y - 5, x + 5, y + 5), 0) << "the wall covers its own shadow";
  }
}

namespace {

// Rows of the region holding a pixel that passes the test.
template <class Test>
int RowsWith(const ChartFixture& f, int x0, int y0, int x1, int y1, Test test) {
  int rows = 0;
  for (int y = std::max(y0, 0); y <= std::min(y1, f.height - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, f.width - 1); ++x) {
      const unsigned c = static_cast<unsigned>(f.Pixel(x, y));
      if (test(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)) {
        ++rows;
        break;
      }
    }
  return rows;
}

}  // namespace

// A zoomed 3D view leaves the title's and the legend's letters at their own size.
TEST(ChartTitles, TitleAndLegendKeepTheirFontSizeInAZoomed3DView) {
  auto measure = [](bool view3D, int& titleRows, int& legendRows) {
    ChartFixture f(400, 300);
    f.AddCurve(0, 100, clRed);
    f.AddCurve(10, 90, clLime);
    f.chart.Title()->SetText("Temp");  // in blue
    f.chart.Title()->Font()->SetSize(14);
    f.chart.Legend()->Font()->SetSize(14);
    f.chart.Legend()->Symbol()->SetVisible(false);
    f.chart.SetView3D(view3D);
    f.chart.View3DOptions()->SetZoom(200);
    f.Paint();
    titleRows = RowsWith(f, 0, 0, f.width - 1, 100,
                         [](unsigned r, unsigned g, unsigned b) { return b >= 150 && r < 120 && g < 120; });
    const auto texts = f.canvas->TextsIn("Legend/Items");
    legendRows = texts.empty() ? -1
                               : RowsWith(f, texts[0].x, texts[0].y - 5, texts[0].x + 30, texts[0].y + 60,
                                          [](unsigned r, unsigned g, unsigned b) { return r + g + b < 3 * 0x80; });
  };
  int flatTitle = 0, flatLegend = 0, zoomedTitle = 0, zoomedLegend = 0;
  measure(false, flatTitle, flatLegend);
  measure(true, zoomedTitle, zoomedLegend);
  EXPECT_GT(flatTitle, 5);
  EXPECT_NEAR(zoomedTitle, flatTitle, 3) << "zoomed letters would be twice as high";
  EXPECT_GT(flatLegend, 5);
  EXPECT_NEAR(zoomedLegend, flatLegend, 4);
}

// Without AdjustFrame a title spans the panel less its side gaps and keeps that width: a text
// longer than that is cut at the title's edges.
TEST(ChartTitles, WithoutAdjustFrameTheTitleKeepsItsWidthAndClipsItsText) {
  ChartFixture f;
  f.AddCurve();
  TChartTitle* title = f.chart.Title();
  title->SetText(std::string(80, 'W'));
  title->SetAdjustFrame(false);
  f.Paint();
  EXPECT_FALSE(title->AutoSize());
  // Gap = border 0 + round(2 % of 400) = 8 on each side.
  EXPECT_EQ(title->Bounds.Left, 8);
  EXPECT_EQ(title->Bounds.Right, 392);
  const int top = title->Bounds.Top, bottom = title->Bounds.Bottom - 1;
  const TColor back = f.Pixel(1, 1);  // the panel's background
  EXPECT_LT(f.Count(back, 8, top, 391, bottom), 384 * (bottom - top + 1)) << "the text is there";
  EXPECT_EQ(f.Count(back, 0, top, 7, bottom), 8 * (bottom - top + 1)) << "nothing left of the title";
  EXPECT_EQ(f.Count(back, 392, top, 399, bottom), 8 * (bottom - top + 1)) << "nothing right of it";
  // With AdjustFrame back on the title sizes itself again.
  title->SetAdjustFrame(true);
  f.Paint();
  EXPECT_TRUE(title->AutoSize());
}

// A rounded back wall: its corners are cut round on a flat chart (a corner set square stays
// square) and on the back of a 3D box.
TEST(ChartWalls, RoundedBackWallHasRoundCornersFlatAndIn3D) {
  struct Case {
    const char* name;
    bool view3D;
    bool squareTopLeft;
  };
  const Case cases[] = {{"flat", false, false}, {"flat, top left square", false, true}, {"3D", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve(50, 50, clRed);
    f.chart.SetView3D(c.view3D);
    TChartBackWall* wall = f.chart.BackWall();
    wall->SetTransparent(false);
    wall->SetColor(clFuchsia);
    wall->Brush()->SetStyle(bsSolid);
    wall->SetShapeStyle(fosRoundRectangle);
    wall->SetRoundSize(24);
    if (c.squareTopLeft) wall->Corners()->LeftTop()->SetStyle(cosNone);
    f.chart.LeftAxis()->Grid()->SetVisible(false);
    f.chart.BottomAxis()->Grid()->SetVisible(false);
    f.Paint();
    // The wall's fill: the box around its fuchsia pixels.
    int left = f.width, top = f.height, right = -1, bottom = -1;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x)
        if (f.Pixel(x, y) == clFuchsia) {
          left = std::min(left, x);
          top = std::min(top, y);
          right = std::max(right, x);
          bottom = std::max(bottom, y);
        }
    ASSERT_GT(right - left, 100);
    ASSERT_GT(bottom - top, 100);
    EXPECT_EQ(f.Pixel((left + right) / 2, top + 1), clFuchsia) << "the middle of the top edge is filled";
    EXPECT_NE(f.Pixel(right - 1, top + 1), clFuchsia) << "top right is round";
    EXPECT_NE(f.Pixel(right - 1, bottom - 1), clFuchsia) << "bottom right is round";
    EXPECT_EQ(f.Pixel(left + 1, top + 1) == clFuchsia, c.squareTopLeft) << "top left";
  }
}

// A title on top stands half its frame pen below the chart's top; the chart then starts half
// the pen below the title's bounds and VertMargin (5) beyond.
TEST(ChartTitles, TitleMovesTheChartTopDownByItsHeightMarginAndPen) {
  struct Case {
    const char* name;
    int penWidth;
    int half;
  };
  const Case cases[] = {{"thin pen", 1, 0}, {"pen of 4", 4, 2}, {"pen of 7", 7, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve();
    f.Paint();
    const int top = f.chart.ChartBounds().Top;
    f.chart.Title()->SetText("Temp");
    f.chart.Title()->Pen()->SetWidth(c.penWidth);
    f.Paint();
    const int height = f.chart.Title()->Height();
    EXPECT_EQ(f.chart.Title()->Bounds.Top, 10 + c.half);
    EXPECT_EQ(f.chart.ChartBounds().Top, top + height + 5 + 2 * c.half);
  }
}

// A hatched wall in its own colour over a back colour just the same would not show: its lines
// turn black. In another colour they keep the wall's colour.
TEST(ChartWalls, HatchedWallInTheBrushsOwnColourTurnsBlack) {
  struct Case {
    const char* name;
    TColor wall;
    TColor lines;
  };
  const Case cases[] = {{"same colours", clYellow, clBlack}, {"red on yellow", clRed, clRed}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve(50, 50, clBlue);
    f.chart.LeftAxis()->SetMinMax(0, 100);
    f.chart.LeftAxis()->Grid()->SetVisible(false);
    f.chart.BottomAxis()->Grid()->SetVisible(false);
    TChartBackWall* wall = f.chart.BackWall();
    wall->SetTransparent(false);
    wall->Brush()->SetStyle(bsDiagCross);
    wall->Brush()->SetColor(clYellow);
    wall->SetColor(c.wall);
    f.Paint();
    const TRect r = f.chart.ChartBounds();
    // A patch of the wall above the curve, clear of its frame.
    const int x0 = r.Left + 10, y0 = r.Top + 10, x1 = r.Left + 50, y1 = r.Top + 40;
    EXPECT_GT(f.Count(c.lines, x0, y0, x1, y1), 40);
    if (c.lines != clBlack) {
      EXPECT_EQ(f.Count(clBlack, x0, y0, x1, y1), 0);
    }
  }
}
