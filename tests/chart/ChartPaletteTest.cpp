// Named colour palettes: the built-in registry, storing palettes, a new chart's palette, the
// colours default-coloured curves get from it, recolouring on a palette change, the custom
// palette (-2) and its layout entries.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chart/Chart.h"
#include "chart/FastLineSeries.h"
#include "chart/KelProcs.h"
#include "chart/SeriesTypes.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"

namespace {

// Restores the registry's built-in state after a test that stores palettes.
struct FreshPalettes {
  FreshPalettes() { ColorPalettesShutdown(); }
  ~FreshPalettes() { ColorPalettesShutdown(); }
};

TFastLineSeries* AddCurve(TCustomChart& chart, TColor color = clDefault) {
  auto* series = new TFastLineSeries(nullptr);
  series->AppendXY(0, 1);
  series->AppendXY(1, 2);
  if (color != clDefault) series->ChangeSeriesColor(color);
  chart.AttachSeries(series);
  return series;
}

std::vector<TColor> DrawnColors(TCustomChart& chart) {
  std::vector<TColor> colors;
  for (int i = 0; i < chart.SeriesCount(); ++i) colors.push_back(chart.SeriesAt(i)->EffectiveColor());
  return colors;
}

std::unique_ptr<TChart> ReadChart(const std::string& text) {
  RegisterClass(TChart::StaticClass());
  TMemoryStream stream;
  const std::string binary = ObjectTextToBinary(text);
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  return std::unique_ptr<TChart>(static_cast<TChart*>(stream.ReadComponent(nullptr)));
}

std::string WriteChart(TChart& chart) {
  TMemoryStream stream;
  stream.WriteComponent(&chart);
  return ObjectBinaryToText(
      std::string_view(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())));
}

}  // namespace

TEST(ColorPalettes, BuiltInRegistryHasTheNamedPalettesInOrder) {
  FreshPalettes fresh;
  TColorPalettes& list = ColorPaletteList();
  ASSERT_EQ(list.Count(), 22);
  struct Case {
    int index;
    const char* name;
    size_t count;
    TColor first, last;
  };
  const Case cases[] = {
      {1, "Excel", 22, static_cast<TColor>(0xFF9999), static_cast<TColor>(0xCC99FF)},
      {8, "Rainbow", 25, static_cast<TColor>(0x000099), static_cast<TColor>(0xFF00CC)},
      {13, "Opera", 12, static_cast<TColor>(0xA36644), static_cast<TColor>(0xB4B4B4)},
      {16, "BlackIsBack", 4, static_cast<TColor>(0x5AE6C8), static_cast<TColor>(0x0FA0E6)},
      {21, "Seawash", 12, static_cast<TColor>(0x055CDC), static_cast<TColor>(0xC3F5FF)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(list.At(c.index).Name, c.name);
    ASSERT_EQ(list.At(c.index).Colors.size(), c.count);
    EXPECT_EQ(list.At(c.index).Colors.front(), c.first);
    EXPECT_EQ(list.At(c.index).Colors.back(), c.last);
  }
  EXPECT_TRUE(list.At(0).Colors.empty());
  EXPECT_EQ(list.IndexOfName("oPeRa"), 13);
  EXPECT_EQ(list.IndexOfName("Nowhere"), -1);
  EXPECT_TRUE(PaletteColors(-1).empty());
  EXPECT_TRUE(PaletteColors(22).empty());
}

TEST(ColorPalettes, StoreReplacesByNameIgnoringCaseAndAppendsNewNames) {
  FreshPalettes fresh;
  const TColorArray three = {clRed, clGreen, clBlue};
  StorePalette("opera", three, 2);
  EXPECT_EQ(ColorPaletteList().Count(), 22);
  EXPECT_EQ(PaletteColors(13), three);
  EXPECT_EQ(ColorPaletteList().At(13).Name, "Opera");

  StorePalette("Mine", three, 1);
  ASSERT_EQ(ColorPaletteList().Count(), 23);
  EXPECT_EQ(ColorPaletteList().At(22).Name, "Mine");
  EXPECT_EQ(PaletteColors(22), (TColorArray{clRed, clGreen}));

  // A highest index beyond the colours given reads only what is there; -1 stores none.
  StorePalette("Short", three, 40);
  EXPECT_EQ(PaletteColors(23), three);
  StorePalette("Empty", three, -1);
  EXPECT_TRUE(PaletteColors(24).empty());
}

TEST(ChartPalette, NewChartTakesOperaAndFourteenCurvesGetItsColoursInOrder) {
  FreshPalettes fresh;
  ASSERT_EQ(ReadDefaultInteger("DefaultPalette", 13), 13) << "a per-user palette value is set";
  TChart chart(nullptr);
  EXPECT_EQ(chart.ColorPaletteIndex(), 13);
  for (int i = 0; i < 14; ++i) AddCurve(chart);
  const TColorArray opera = PaletteColors(13);
  std::vector<TColor> expected(opera.begin(), opera.end());
  expected.push_back(opera[0]);  // then wrapping
  expected.push_back(opera[1]);
  EXPECT_EQ(DrawnColors(chart), expected);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(chart.SeriesAt(i)->SeriesColor(), clDefault);
}

TEST(ChartPalette, AnotherIndexRecoloursTheDefaultColouredCurves) {
  FreshPalettes fresh;
  TChart chart(nullptr);
  for (int i = 0; i < 3; ++i) AddCurve(chart);
  TFastLineSeries* own = AddCurve(chart, clBlack);
  chart.SetColorPaletteIndex(5);
  const TColorArray classic = PaletteColors(5);
  EXPECT_EQ(DrawnColors(chart), (std::vector<TColor>{classic[0], classic[1], classic[2], clBlack}));
  EXPECT_EQ(own->SeriesColor(), clBlack);
  EXPECT_EQ(chart.CustomPalette, classic);

  // 0 and -1 empty the chart's list: the default colour table applies.
  chart.SetColorPaletteIndex(-1);
  EXPECT_TRUE(chart.CustomPalette.empty());
  EXPECT_EQ(chart.SeriesAt(0)->EffectiveColor(), static_cast<TColor>(DefaultPaletteColor(0)));
  // An index without a palette is kept and uses the default table too.
  chart.SetColorPaletteIndex(30);
  EXPECT_EQ(chart.ColorPaletteIndex(), 30);
  EXPECT_TRUE(chart.CustomPalette.empty());
}

TEST(ChartPalette, DefaultColouredCurvesAvoidColoursOthersDrawWith) {
  FreshPalettes fresh;
  TChart chart(nullptr);
  // The first curve is given the palette's first colour explicitly, so the next two skip it.
  AddCurve(chart, static_cast<TColor>(0xA36644));
  AddCurve(chart);
  AddCurve(chart);
  EXPECT_EQ(DrawnColors(chart), (std::vector<TColor>{static_cast<TColor>(0xA36644), static_cast<TColor>(0x359CF3),
                                                     static_cast<TColor>(0x144CF1)}));
}

TEST(ChartPalette, CustomIndexKeepsTheCurrentColours) {
  FreshPalettes fresh;
  TChart chart(nullptr);
  AddCurve(chart);
  chart.SetColorPaletteIndex(-2);
  EXPECT_EQ(chart.ColorPaletteIndex(), -2);
  EXPECT_EQ(chart.CustomPalette, PaletteColors(13));
  EXPECT_EQ(chart.SeriesAt(0)->EffectiveColor(), static_cast<TColor>(0xA36644));

  TChart plain(nullptr);
  plain.SetColorPaletteIndex(0);
  plain.SetColorPaletteIndex(-2);
  ASSERT_EQ(plain.CustomPalette.size(), DefaultPalette().size());
  EXPECT_EQ(plain.CustomPalette[0], static_cast<TColor>(DefaultPalette()[0]));
}

TEST(ChartPalette, LayoutEntries) {
  FreshPalettes fresh;
  // A stored -2 with an empty colour list ends at -1.
  auto empty = ReadChart(
      "object Chart: TChart\n"
      "  ColorPaletteIndex = -2\n"
      "  ColorPalette = ()\n"
      "end\n");
  EXPECT_EQ(empty->ColorPaletteIndex(), -1);
  EXPECT_TRUE(empty->CustomPalette.empty());

  auto custom = ReadChart(
      "object Chart: TChart\n"
      "  ColorPaletteIndex = -2\n"
      "  ColorPalette = (\n"
      "    255\n"
      "    65280)\n"
      "end\n");
  EXPECT_EQ(custom->ColorPaletteIndex(), -2);
  EXPECT_EQ(custom->CustomPalette, (TColorArray{clRed, static_cast<TColor>(65280)}));
  const std::string written = WriteChart(*custom);
  EXPECT_NE(written.find("ColorPaletteIndex = -2"), std::string::npos) << written;
  EXPECT_NE(written.find("65280"), std::string::npos) << written;

  auto indexed = ReadChart(
      "object Chart: TChart\n"
      "  ColorPaletteIndex = 30\n"
      "end\n");
  EXPECT_EQ(indexed->ColorPaletteIndex(), 30);
  const std::string thirty = WriteChart(*indexed);
  EXPECT_NE(thirty.find("ColorPaletteIndex = 30"), std::string::npos) << thirty;
  EXPECT_EQ(thirty.find("ColorPalette ="), std::string::npos) << thirty;
}

TEST(ChartPalette, RecolouringManyCurvesWrapsByTheirPositions) {
  FreshPalettes fresh;
  TChart chart(nullptr);
  for (int i = 0; i < 14; ++i) AddCurve(chart);
  chart.SetColorPaletteIndex(5);
  const TColorArray classic = PaletteColors(5);
  std::vector<TColor> expected(classic.begin(), classic.end());
  expected.push_back(classic[0]);
  expected.push_back(classic[1]);
  EXPECT_EQ(DrawnColors(chart), expected);
  // And back: the Opera colours in order again.
  chart.SetColorPaletteIndex(13);
  EXPECT_EQ(chart.SeriesAt(0)->EffectiveColor(), static_cast<TColor>(0xA36644));
  EXPECT_EQ(chart.SeriesAt(13)->EffectiveColor(), static_cast<TColor>(0x359CF3));
}

TEST(ChartPalettes, TheChartUnitsShutDownFreesStoredPalettes) {
  FreshPalettes fresh;
  StorePalette("Stored", {clRed, clBlue}, 1);
  ASSERT_EQ(ColorPaletteList().Count(), 23);
  ChartTypesShutdown();
  ChartTypesStartup();
  // The next use builds the registry anew: the built-in palettes only.
  EXPECT_EQ(ColorPaletteList().Count(), 22);
  EXPECT_EQ(ColorPaletteList().IndexOfName("Stored"), -1);
}

