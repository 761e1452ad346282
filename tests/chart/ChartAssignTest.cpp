// Copying charts and axes: an axis takes every drawing setting of another (and then draws the
// same labels), a chart panel takes the panel, extended-panel and axis-panel settings.
#include <gtest/gtest.h>

#include "ChartPanelTestSupport.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "chart/AxisItems.h"
#include "chart/Chart.h"
#include "toolkit/classes/StringList.h"

TEST(ChartAssign, AnAxisTakesTheDrawingSettingsOfAnother) {
  TestChart source;
  TChartAxis* a = source.panel.BottomAxis();
  a->SetTickLength(7);
  a->SetMinorTickCount(1);
  a->Grid()->SetVisible(false);
  a->SetLabelStyle(talText);
  a->SetLabelsExponent(true);
  a->SetLabelsAlign(alCenter);
  a->SetGridCentered(true);
  a->SetZPosition(40);
  a->Title()->SetText("Time");
  a->Items()->Add(3, "three");
  a->Shape()->SetVisible(true);
  a->LabelsAutoText()->SetTrim(false);

  TestChart target;
  TChartAxis* b = target.panel.BottomAxis();
  b->Assign(a);
  EXPECT_EQ(b->TickLength(), 7);
  EXPECT_EQ(b->MinorTickCount(), 1);
  EXPECT_FALSE(b->Grid()->Visible());
  EXPECT_EQ(b->LabelStyle(), talText);
  EXPECT_TRUE(b->LabelsExponent());
  EXPECT_EQ(b->LabelsAlign(), alCenter);
  EXPECT_TRUE(b->GridCentered());
  EXPECT_EQ(b->ZPosition(), 40);
  EXPECT_EQ(b->Title()->Text(), "Time");
  ASSERT_TRUE(b->HasCustomItems());
  EXPECT_EQ(b->Items()->Item(0).Text(), "three");
  EXPECT_TRUE(b->Shape()->Visible());
  EXPECT_FALSE(b->LabelsAutoText()->Trim());
  EXPECT_EQ(b->Owner(), &target.panel) << "the copy stays with its own chart";

  // The copy draws the copied custom label (written whole: no exponent in it).
  b->SetLabelsExponent(false);
  target.AddSeries({{0, 0}, {10, 10}});
  b->SetMinMax(0, 10);
  target.Paint();
  const auto labels = target.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].text, "three");
}

TEST(ChartAssign, AChartTakesThePanelSettingsOfAnother) {
  TestChart source;
  TCustomAxisPanel& a = source.panel;
  a.SetChart3DPercent(40);
  a.SetAxisBehind(false);
  a.SetAxisVisible(false);
  a.SetClipPoints(false);
  a.SetView3DWalls(false);
  a.LeftAxis()->SetMinMax(5, 50);
  a.CustomPalette = {clRed, clBlue};
  a.Pages()->SetMaxPointsPerPage(20);
  a.SetMarginLeft(9);
  a.SetMarginUnits(muPixels);
  a.SetBorderRound(6);
  a.SetColor(clYellow);
  a.Gradient()->SetVisible(true);
  a.Gradient()->SetStartColor(clRed);
  a.SetAllowPanning(pmNone);
  a.Zoom()->Allow = false;
  a.Zoom()->MinimumPixels = 30;
  a.SetBevelOuter(bvLowered);

  TestChart target;
  TCustomAxisPanel& b = target.panel;
  b.Assign(&a);
  EXPECT_EQ(b.Chart3DPercent(), 40);
  EXPECT_FALSE(b.AxisBehind());
  EXPECT_FALSE(b.AxisVisible());
  EXPECT_FALSE(b.ClipPoints());
  EXPECT_FALSE(b.View3DWalls());
  EXPECT_EQ(b.LeftAxis()->Minimum(), 5);
  EXPECT_EQ(b.LeftAxis()->Maximum(), 50);
  EXPECT_FALSE(b.LeftAxis()->Automatic());
  EXPECT_EQ(b.CustomPalette, (std::vector<TColor>{clRed, clBlue}));
  EXPECT_EQ(b.Pages()->MaxPointsPerPage(), 20);
  EXPECT_EQ(b.MarginLeft(), 9);
  EXPECT_EQ(b.MarginUnits(), muPixels);
  EXPECT_EQ(b.BorderRound(), 6);
  EXPECT_EQ(b.Color(), clYellow);
  ASSERT_TRUE(b.HasGradient());
  EXPECT_TRUE(b.Gradient()->Visible());
  EXPECT_EQ(b.Gradient()->StartColor(), clRed);
  EXPECT_EQ(b.AllowPanning(), pmNone);
  EXPECT_FALSE(b.Zoom()->Allow);
  EXPECT_EQ(b.BevelOuter(), bvLowered);
  EXPECT_TRUE(b.RepaintEnabled()) << "copying never leaves repainting off";
  EXPECT_EQ(b.BottomAxis()->Owner(), &b);
}

TEST(ChartAssign, AChartTakesItsTitlesLegendWallsAndPanelSettings) {
  TChart a(nullptr), b(nullptr);
  a.SetColor(clYellow);
  a.LeftAxis()->SetMinMax(5, 50);
  a.SetView3DWalls(false);
  a.Title()->Lines()->Add("Temp");
  a.Title()->Lines()->Add("Channel 1");
  a.Legend()->SetAlignment(laBottom);
  a.Legend()->SetCheckBoxes(true);
  a.BackWall()->SetColor(clRed);
  b.Assign(&a);
  EXPECT_EQ(b.Color(), clYellow);
  EXPECT_EQ(b.LeftAxis()->Minimum(), 5);
  EXPECT_EQ(b.LeftAxis()->Maximum(), 50);
  EXPECT_FALSE(b.View3DWalls());
  ASSERT_EQ(b.Title()->Lines()->Count(), 2);
  EXPECT_EQ(b.Title()->Lines()->Strings(1), "Channel 1");
  EXPECT_EQ(b.Legend()->Alignment(), laBottom);
  EXPECT_TRUE(b.Legend()->CheckBoxes());
  EXPECT_EQ(b.BackWall()->Color(), clRed);
  EXPECT_TRUE(b.RepaintEnabled());
}

// An axis copied from one that never made a title, label box, custom labels or back shape has
// none of its own left: it draws what the source draws.
TEST(ChartAssign, AnAxisDropsThePartsTheSourceNeverMade) {
  TestChart plain;
  TestChart target;
  TChartAxis* b = target.panel.BottomAxis();
  b->Title()->SetText("Old");
  b->Items()->Add(3, "three");
  b->LabelsFormat()->SetTransparent(false);
  b->Shape()->SetVisible(true);
  b->Assign(plain.panel.BottomAxis());
  EXPECT_EQ(b->Title()->Text(), "");
  EXPECT_FALSE(b->HasCustomItems());
  EXPECT_TRUE(b->LabelsFormat()->Transparent());
  EXPECT_FALSE(b->Shape()->Visible());

  target.AddSeries({{0, 0}, {10, 10}});
  b->SetMinMax(0, 10);
  b->SetIncrement(5);
  target.Paint();
  const auto labels = target.canvas->TextsIn("Axes/Bottom/Labels");
  ASSERT_EQ(labels.size(), 3u) << "the axis makes its own labels again";
}
