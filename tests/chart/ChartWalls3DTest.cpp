// Walls of a 3D chart: which walls are drawn, the room the box's depth takes from the chart
// rectangle, and the wall thickness the axes are told about.
#include <gtest/gtest.h>

#include <string>

#include "ChartControlTestSupport.h"
#include "canvas/View3DOptions.h"
#include "chart/BackImage.h"
#include "toolkit/graphics/Bitmap.h"

TEST(ChartWalls3D, BackLeftAndBottomWallsAndTheDepthTakenFromTheRight) {
  ChartFixture flat;
  flat.AddCurve();
  flat.Paint();

  ChartFixture f;
  f.AddCurve();
  f.chart.SetView3D(true);
  f.Paint();
  const int walls = f.canvas->IndexOf("Walls");
  const int axes = f.canvas->IndexOf("Axes");
  ASSERT_GE(walls, 0);
  ASSERT_GT(axes, walls);
  const std::vector<std::string> drawn(f.canvas->elements.begin() + walls + 1, f.canvas->elements.begin() + axes);
  EXPECT_EQ(drawn, (std::vector<std::string>{"Back", "Left", "Bottom"}));
  ASSERT_GT(f.chart.ChartDepthPixels(), 0);
  EXPECT_LE(f.chart.ChartBounds().Right, flat.chart.ChartBounds().Right - f.chart.ChartDepthPixels());
}

TEST(ChartWalls3D, WallSizeForAxisOnlyIn3DAndForVisibleWalls) {
  ChartFixture f;
  f.chart.LeftWall()->SetSize(6);
  f.chart.BottomWall()->SetSize(4);
  f.chart.BackWall()->SetSize(3);
  struct Case {
    const char* name;
    bool view3D;
    const TChartAxis* axis;
    int size;
  };
  const Case cases[] = {
      {"flat", false, f.chart.LeftAxis(), 0},
      {"left", true, f.chart.LeftAxis(), 6},
      {"bottom", true, f.chart.BottomAxis(), 4},
      {"right wall not made yet", true, f.chart.RightAxis(), 0},
      {"top axis: the back wall", true, f.chart.TopAxis(), 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    f.chart.SetView3D(c.view3D);
    EXPECT_EQ(f.chart.WallSizeForAxis(*c.axis), c.size);
  }
  f.chart.SetView3D(true);
  f.chart.LeftWall()->SetVisible(false);
  EXPECT_EQ(f.chart.WallSizeForAxis(*f.chart.LeftAxis()), 0);
  f.chart.SetView3DWalls(false);
  EXPECT_EQ(f.chart.WallSizeForAxis(*f.chart.BottomAxis()), 0);
}

// Turned views: a side wall stands behind the series or, facing the viewer, in front of them
// (drawn after the series), never both and never twice.
TEST(ChartWalls3D, TurnedViewsDrawEachSideWallOnceBehindOrInFront) {
  bool someInFront = false, someBehind = false;
  for (int rotation : {20, 60, 300, 340}) {
    SCOPED_TRACE(rotation);
    ChartFixture f;
    f.AddCurve();
    f.chart.SetView3D(true);
    f.chart.View3DOptions()->SetOrthogonal(false);
    f.chart.View3DOptions()->SetRotation(rotation);
    f.chart.View3DOptions()->SetElevation(340);
    f.chart.RightWall()->SetVisible(true);
    EXPECT_NO_THROW(f.Paint());
    const auto& e = f.canvas->elements;
    // Behind: inside "Walls". In front: after the legend, which follows the series (a wall in
    // front is followed by its axis, drawn again over it).
    const int walls = f.canvas->IndexOf("Walls");
    const int axes = f.canvas->IndexOf("Axes");
    const int legend = f.canvas->IndexOf("Legend");
    ASSERT_GT(legend, f.canvas->IndexOf("Series"));
    for (const char* side : {"Left", "Right"}) {
      SCOPED_TRACE(side);
      int behind = 0, after = 0;
      for (int i = walls + 1; i < axes; ++i) behind += e[i] == side;
      for (int i = legend + 1; i < static_cast<int>(e.size()); ++i) after += e[i] == side;
      EXPECT_EQ(behind + (after > 0 ? 1 : 0), 1);
      EXPECT_LE(behind, 1);
      someInFront = someInFront || after > 0;
      someBehind = someBehind || behind > 0;
    }
  }
  // The views chosen show both cases.
  EXPECT_TRUE(someInFront);
  EXPECT_TRUE(someBehind);
}

TEST(ChartWalls3D, SideAndBottomWallPicturesLieOnTheirPlanes) {
  for (const char* wallName : {"Left", "Bottom"}) {
    SCOPED_TRACE(wallName);
    ChartFixture f;
    f.AddCurve(50, 50, clBlack);
    f.chart.SetView3D(true);
    f.chart.LeftAxis()->SetMinMax(0, 100);
    TBitmap blue;
    blue.SetPixelFormat(pf32bit);
    blue.SetSize(2, 2);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(TRect(0, 0, 2, 2));
    TChartWall* wall = std::string(wallName) == "Left" ? static_cast<TChartWall*>(f.chart.LeftWall())
                                                       : static_cast<TChartWall*>(f.chart.BottomWall());
    wall->Picture()->Assign(&blue);
    f.Paint();
    const TRect cr = f.chart.ChartBounds();
    const int depth = f.chart.ChartDepthPixels();
    ASSERT_GT(depth, 4);
    const int total = f.Count(clBlue, 0, 0, f.width - 1, f.height - 1);
    EXPECT_GT(total, 40) << "the picture is painted";
    if (std::string(wallName) == "Left") {
      // The left wall's plane runs from the chart's left edge back into the depth.
      EXPECT_EQ(f.Count(clBlue, cr.Left - 1, 0, cr.Left + depth + 1, f.height - 1), total);
    } else {
      // The floor lies between the chart's bottom and the depth above it.
      EXPECT_EQ(f.Count(clBlue, 0, cr.Bottom - depth - 1, f.width - 1, cr.Bottom + 1), total);
    }
  }
}
