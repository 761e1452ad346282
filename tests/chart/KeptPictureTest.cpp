// Pictures the chart keeps between paints (the legend's): a paint that reuses them gives the
// same pixels as a paint from scratch, after every kind of change, and they serve again when
// only the curves changed.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "canvas/KelCanvas3D.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "chart/Chart.h"
#include "chart/ChartLegend.h"
#include "chart/FastLineSeries.h"
#include "toolkit/graphics/Bitmap.h"

namespace {

std::vector<COLORREF> Pixels(TBitmap& bitmap) {
  GdiFlush();
  std::vector<COLORREF> pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(GetPixel(bitmap.Canvas()->Handle(), x, y));
  return pixels;
}

// A flat chart with a gradient, a legend with boxes on the right and three curves.
struct LegendChart {
  explicit LegendChart(bool plus) {
    chart.SetBounds(0, 0, 420, 260);
    chart.SetView3D(false);
    if (plus)
      chart.ChangeCanvas(new TGDIPlusCanvas());
    else
      chart.ChangeCanvas(new TKelCanvas3D());
    chart.Gradient()->SetStartColor(static_cast<TColor>(0xEAEAEA));
    chart.Gradient()->SetEndColor(clWhite);
    chart.Gradient()->SetVisible(true);
    chart.Legend()->SetCheckBoxes(true);
    chart.Foot()->SetText("foot");
    const TColor colors[] = {clRed, clBlue, clGreen};
    for (int s = 0; s < 3; ++s) {
      auto* line = new TFastLineSeries(nullptr);
      for (int i = 0; i < 200; ++i) line->AppendXY(i, (i * (7 + s)) % 23);
      line->ChangeSeriesColor(colors[s]);
      line->ChangeTitle("CH" + std::to_string(s + 1));
      chart.AttachSeries(line);
      series.push_back(line);
    }
    screen.SetPixelFormat(pf32bit);
    screen.SetSize(420, 260);
  }
  std::vector<COLORREF> Paint() {
    chart.DrawTo(screen.Canvas(), TRect(0, 0, chart.Width(), chart.Height()));
    return Pixels(screen);
  }
  TChart chart{nullptr};
  std::vector<TFastLineSeries*> series;
  TBitmap screen;
};

}  // namespace

TEST(ChartKeptPictures, LegendServesAgainOnlyWhileWhatItShowsStays) {
  KelGDIPlusStartup();
  for (const bool plus : {false, true}) {
    SCOPED_TRACE(plus ? "GDI+ canvas" : "GDI canvas");
    LegendChart c(plus);
    c.Paint();  // kept
    const unsigned uses = c.chart.KeptPictureUses();
    // New points change the curves, not the legend: its picture serves.
    c.series[0]->AppendXY(200, 5);
    const std::vector<COLORREF> reused = c.Paint();
    EXPECT_EQ(c.chart.KeptPictureUses(), uses + 1);
    c.chart.DropLayers();
    EXPECT_TRUE(c.Paint() == reused);

    struct Change {
      const char* name;
      std::function<void()> apply;
      bool legendChanges;  // else the legend's picture serves after the change
    };
    const Change changes[] = {
        {"a series' title", [&] { c.series[1]->ChangeTitle("Outside"); }, true},
        {"a series' colour", [&] { c.series[0]->ChangeSeriesColor(clFuchsia); }, true},
        {"a series switched off", [&] { c.series[2]->ChangeActive(false); }, true},
        {"the legend's font colour", [&] { c.chart.Legend()->Font()->SetColor(clMaroon); }, true},
        {"the legend's colour", [&] { c.chart.Legend()->SetColor(clYellow); }, true},
        {"the background under the legend", [&] { c.chart.Gradient()->SetStartColor(clAqua); }, true},
        {"a range of the axis", [&] { c.chart.LeftAxis()->SetMinMax(-40, 60); }, false},
        {"the size", [&] {
           c.chart.SetBounds(0, 0, 380, 230);
           c.screen.SetSize(380, 230);
         },
         true},
    };
    for (const Change& change : changes) {
      SCOPED_TRACE(change.name);
      c.Paint();  // kept before the change
      const unsigned before = c.chart.KeptPictureUses();
      change.apply();
      const std::vector<COLORREF> kept = c.Paint();
      EXPECT_EQ(c.chart.KeptPictureUses(), before + (change.legendChanges ? 0 : 1));
      c.chart.DropLayers();
      const std::vector<COLORREF> fresh = c.Paint();
      EXPECT_TRUE(kept == fresh);
      // Unchanged since: the picture serves, with the same pixels.
      const std::vector<COLORREF> again = c.Paint();
      EXPECT_EQ(c.chart.KeptPictureUses(), before + (change.legendChanges ? 1 : 2));
      EXPECT_TRUE(again == fresh);
    }
  }
}
