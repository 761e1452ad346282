// The GDI+ switch component on a real chart panel: switching it on paints the chart through
// the GDI+ canvas, switching it off through the GDI canvas again, its settings reach the
// canvas the panel paints with, and a panel or a component going away leaves the other sound.
// The two canvases are told apart by the axis labels: the GDI canvas draws them in whole
// pixels here, GDI+ smooths their edges into grey levels between the colours the chart uses.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/KelCanvas3D.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGDIPlusSwitch.h"
#include "chart/AxisPanel.h"
#include "chart/FastLineSeries.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

int R(TColor c) { return static_cast<int>(c) & 0xFF; }
int G(TColor c) { return (static_cast<int>(c) >> 8) & 0xFF; }
int B(TColor c) { return (static_cast<int>(c) >> 16) & 0xFF; }

// A grey that is none of the chart's own: black text, grey axes and grid, the light back.
bool SmoothingGrey(TColor c) {
  if (R(c) != G(c) || G(c) != B(c)) return false;
  const int v = R(c);
  return v > 0x10 && v < 0xE8 && v != 0x80 && v != 0xC0;
}

constexpr int kWidth = 300;
constexpr int kHeight = 200;

class CanvasSwitchPanelTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { KelGDIPlusStartup(); }
  void SetUp() override {
    panel = std::make_unique<TCustomAxisPanel>(nullptr);
    panel->SetBounds(0, 0, kWidth, kHeight);
    panel->SetView3D(false);
    panel->SetBevelOuter(bvNone);
    panel->ChangeCanvas(new TKelCanvas3D());  // whatever the per-user default, start on GDI
    auto* series = new TFastLineSeries(nullptr);
    // A zigzag of labelled points.
    for (int i = 0; i <= 10; ++i) series->AppendXY(i, i % 2 == 0 ? 0 : 7);
    series->ChangeSeriesColor(clRed);
    panel->AttachSeries(series);
    bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(kWidth, kHeight);
  }

  struct TInk {
    int red = 0;      // pure red: the series line
    int smoothed = 0; // greys of smoothed text edges
  };
  // Paints the chart through whatever canvas the panel has now and sorts its pixels.
  TInk Paint() {
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect(0, 0, kWidth, kHeight));
    panel->DrawToCanvas(bitmap->Canvas(), TRect(0, 0, kWidth, kHeight));
    GdiFlush();
    TInk ink;
    for (int y = 0; y < kHeight; ++y) {
      const auto* row = static_cast<const unsigned char*>(bitmap->ScanLine(y));
      for (int x = 0; x < kWidth; ++x) {
        const unsigned char* p = row + x * 4;
        const TColor c = static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
        if (c == clRed) ++ink.red;
        if (SmoothingGrey(c)) ++ink.smoothed;
      }
    }
    return ink;
  }

  std::unique_ptr<TCustomAxisPanel> panel;
  std::unique_ptr<TBitmap> bitmap;
};

TEST_F(CanvasSwitchPanelTest, SwitchingRepaintsTheChartWithTheOtherCanvas) {
  ASSERT_EQ(dynamic_cast<TGDIPlusCanvas*>(panel->Canvas3D()), nullptr);
  const TInk gdi = Paint();
  ASSERT_GT(gdi.red, 100) << "the series is drawn";
  EXPECT_LT(gdi.smoothed, 10) << "GDI draws the labels in whole pixels";

  TKelGDIPlus gdiPlus(nullptr);
  gdiPlus.ChangeKelPanel(panel.get());
  gdiPlus.ChangeActive(true);
  auto* canvas = dynamic_cast<TGDIPlusCanvas*>(panel->Canvas3D());
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->InstalledBy, &gdiPlus);
  const TInk plus = Paint();
  EXPECT_GT(plus.red, 100) << "the series is drawn through GDI+";
  EXPECT_GT(plus.smoothed, gdi.smoothed + 50) << "the labels are drawn through GDI+";

  gdiPlus.ChangeAntialias(false);
  gdiPlus.ChangeAntiAliasText(gpfNormal);
  EXPECT_FALSE(canvas->Antialias) << "the settings reach the panel's canvas";
  EXPECT_EQ(canvas->ReadAntiAliasText(), gpfNormal);
  EXPECT_EQ(panel->Canvas3D(), canvas) << "settings do not swap the canvas";

  gdiPlus.ChangeActive(false);
  EXPECT_EQ(dynamic_cast<TGDIPlusCanvas*>(panel->Canvas3D()), nullptr);
  EXPECT_NE(dynamic_cast<TKelCanvas3D*>(panel->Canvas3D()), nullptr);
  const TInk back = Paint();
  EXPECT_EQ(back.red, gdi.red) << "the same GDI picture as before";
  EXPECT_EQ(back.smoothed, gdi.smoothed);

  gdiPlus.ChangeActive(true);
  EXPECT_GT(Paint().smoothed, gdi.smoothed + 50) << "and GDI+ once more";
}

TEST_F(CanvasSwitchPanelTest, FreeingThePanelLeavesTheComponentInactive) {
  TKelGDIPlus gdiPlus(nullptr);
  gdiPlus.ChangeKelPanel(panel.get());
  gdiPlus.ChangeActive(true);
  ASSERT_NE(gdiPlus.FindCanvas(), nullptr);
  panel.reset();
  EXPECT_EQ(gdiPlus.KelPanel(), nullptr);
  EXPECT_FALSE(gdiPlus.Active());
  EXPECT_EQ(gdiPlus.FindCanvas(), nullptr);
}

TEST_F(CanvasSwitchPanelTest, FreeingTheComponentGivesTheLivePanelAGdiCanvas) {
  auto gdiPlus = std::make_unique<TKelGDIPlus>(nullptr);
  gdiPlus->ChangeKelPanel(panel.get());
  gdiPlus->ChangeActive(true);
  ASSERT_NE(dynamic_cast<TGDIPlusCanvas*>(panel->Canvas3D()), nullptr);
  gdiPlus.reset();
  EXPECT_EQ(dynamic_cast<TGDIPlusCanvas*>(panel->Canvas3D()), nullptr);
  const TInk ink = Paint();
  EXPECT_GT(ink.red, 100) << "the panel still paints";
  EXPECT_LT(ink.smoothed, 10);
}

TEST_F(CanvasSwitchPanelTest, OnlyAPanelCanBeSwitched) {
  TKelGDIPlus gdiPlus(nullptr);
  TComponent notAPanel(nullptr);
  gdiPlus.ChangeKelPanel(&notAPanel);
  EXPECT_EQ(gdiPlus.KelPanel(), nullptr);
  gdiPlus.ChangeKelPanel(panel.get());
  EXPECT_EQ(gdiPlus.KelPanel(), panel.get());
}

}  // namespace
