// The chart in a window layout: the recorder's settings read by published name (legend check
// boxes, back wall gradient, side wall colours, a hidden title, the palette), and the chart's
// parts copied by Assign.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/Chart.h"
#include "chart/FastLineSeries.h"
#include "canvas/KelBrush.h"
#include "canvas/KelGradient.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"

namespace {

std::unique_ptr<TChart> ReadChart(const std::string& text) {
  RegisterClass(TChart::StaticClass());
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  return std::unique_ptr<TChart>(static_cast<TChart*>(stream.ReadComponent(nullptr)));
}

}  // namespace

TEST(ChartStream, RecorderSettingsAreReadByName) {
  const auto chart = ReadChart(
      "object Chart: TChart\n"
      "  BackWall.Gradient.EndColor = 16777215\n"
      "  BackWall.Gradient.StartColor = 15395562\n"
      "  BackWall.Gradient.Visible = True\n"
      "  BackWall.Transparent = False\n"
      "  LeftWall.Color = 14745599\n"
      "  RightWall.Color = 14745599\n"
      "  Legend.CheckBoxes = True\n"
      "  Title.Text.Strings = (\n"
      "    'Temp')\n"
      "  Title.Visible = False\n"
      "  View3D = False\n"
      "  ColorPaletteIndex = 13\n"
      "end\n");
  EXPECT_TRUE(chart->Legend()->CheckBoxes());
  EXPECT_EQ(chart->Legend()->Alignment(), laRight);
  EXPECT_TRUE(chart->BackWall()->Gradient()->Visible());
  EXPECT_EQ(chart->BackWall()->Gradient()->StartColor(), static_cast<TColor>(0xEAEAEA));
  EXPECT_FALSE(chart->BackWall()->Transparent());
  EXPECT_EQ(chart->LeftWall()->Color(), static_cast<TColor>(14745599));
  EXPECT_EQ(chart->RightWall()->Color(), static_cast<TColor>(14745599));
  EXPECT_FALSE(chart->RightWall()->Visible());
  EXPECT_EQ(chart->Title()->Text(), "Temp");
  EXPECT_FALSE(chart->Title()->Visible());
  EXPECT_FALSE(chart->View3D());
  EXPECT_EQ(chart->ColorPaletteIndex(), 13);
  EXPECT_EQ(chart->BackgroundColor(), static_cast<TColor>(0xEAEAEA));
}

TEST(ChartStream, OlderLayoutsBackColourGoesToTheBackWall) {
  const auto chart = ReadChart(
      "object Chart: TChart\n"
      "  BackColor = clYellow\n"
      "end\n");
  EXPECT_EQ(chart->BackWall()->Color(), clYellow);
  const auto numbered = ReadChart(
      "object Chart: TChart\n"
      "  BackColor = 255\n"
      "end\n");
  EXPECT_EQ(numbered->BackWall()->Color(), clRed);
}

TEST(ChartAssign, CopiesPaletteTitlesWallsAndLegend) {
  TChart source(nullptr), target(nullptr);
  source.SetColorPaletteIndex(5);
  source.Title()->SetText("Temp");
  source.Foot()->SetText("Foot");
  source.BackWall()->SetColor(clYellow);
  source.BackWall()->SetSize(4);
  source.Legend()->SetCheckBoxes(true);
  source.Legend()->SetAlignment(laBottom);
  target.Assign(&source);
  EXPECT_EQ(target.ColorPaletteIndex(), 5);
  EXPECT_EQ(target.Title()->Text(), "Temp");
  EXPECT_EQ(target.Foot()->Text(), "Foot");
  EXPECT_EQ(target.BackWall()->Color(), clYellow);
  EXPECT_EQ(target.BackWall()->Size(), 4);
  EXPECT_TRUE(target.Legend()->CheckBoxes());
  EXPECT_EQ(target.Legend()->Alignment(), laBottom);
}

TEST(ChartStream, CurveHiddenFromTheLegendInALayout) {
  RegisterClass(TFastLineSeries::StaticClass());
  const auto chart = ReadChart(
      "object Chart: TChart\n"
      "  object Shown: TFastLineSeries\n"
      "  end\n"
      "  object Hidden: TFastLineSeries\n"
      "    ShowInLegend = False\n"
      "  end\n"
      "end\n");
  ASSERT_EQ(chart->SeriesCount(), 2);
  EXPECT_TRUE(chart->SeriesAt(0)->ShowInLegend());
  EXPECT_FALSE(chart->SeriesAt(1)->ShowInLegend());
  EXPECT_EQ(chart->Legend()->ListedSeries(0, false), chart->SeriesAt(0));
  EXPECT_EQ(chart->Legend()->ListedSeries(1, false), nullptr);
}
