// Walls of a 3D chart: which walls are drawn, the room the box's depth takes from the chart
// rectangle, and the wall thickness the axes are told about.
#include <gtest/gtest.h>

#include "ChartControlTestSupport.h"

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
