// The chart's back image (where each mode puts the graphic, drawn behind the chart, copied and
// freed) and the automatic text zoom that follows the panel's growth.
#include <gtest/gtest.h>

#include <algorithm>

#include "ChartControlTestSupport.h"
#include "ChartPanelTestSupport.h"
#include "canvas/View3DOptions.h"
#include "chart/BackImage.h"
#include "chart/Chart.h"
#include "toolkit/ui/Form.h"

namespace {

// A w x h bitmap of one colour.
std::unique_ptr<TBitmap> Solid(int w, int h, TColor color) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(w, h);
  bitmap->Canvas()->Brush()->SetColor(color);
  bitmap->Canvas()->FillRect(TRect(0, 0, w, h));
  return bitmap;
}

}  // namespace

TEST(BackImage, ModesPlaceTheGraphic) {
  struct Case {
    const char* name;
    TKelBackImageMode mode;
    int left, top, right, bottom;
    TRect expected;
    bool stretched;
  };
  const Case cases[] = {
      {"centre: shrunk by half the difference", pbmCenter, 0, 0, 0, 0, TRect(100, 50, 200, 100), false},
      {"custom at natural size", pbmCustom, 10, 5, 0, 0, TRect(10, 5, 110, 55), false},
      {"custom with a size: stretched", pbmCustom, 10, 5, 40, 20, TRect(10, 5, 50, 25), true},
      {"stretch: the whole rectangle", pbmStretch, 0, 0, 0, 0, TRect(0, 0, 300, 150), true},
  };
  for (const Case& c : cases) {
    TBackImage image;
    image.SetMode(c.mode);
    image.SetLeft(c.left);
    image.SetTop(c.top);
    image.SetRight(c.right);
    image.SetBottom(c.bottom);
    bool stretched = !c.stretched;
    EXPECT_EQ(image.Target(TRect(0, 0, 300, 150), 100, 50, stretched), c.expected) << c.name;
    EXPECT_EQ(stretched, c.stretched) << c.name;
  }
}

TEST(BackImage, DrawnBehindTheChartAsItsModeSays) {
  for (TKelBackImageMode mode : {pbmTile, pbmCenter}) {
    TestChart chart;
    auto tile = Solid(20, 10, clRed);
    chart.panel.BackImage()->SetMode(mode);
    chart.panel.BackImage()->Assign(tile.get());
    chart.Paint();
    if (mode == pbmTile) {
      // Tiles from the top-left corner cover the margins too.
      EXPECT_EQ(chart.Pixel(2, 2), clRed);
      EXPECT_EQ(chart.Pixel(395, 245), clRed);
    } else {
      // One copy in the middle of the panel only.
      EXPECT_EQ(chart.Pixel(200, 125), clRed);
      EXPECT_NE(chart.Pixel(2, 2), clRed);
      EXPECT_EQ(chart.Count(clRed, 0, 0, 399, 249), 20 * 10);
    }
  }
}

TEST(BackImage, InsideOrEmptyImagesLeaveThePanelAlone) {
  TestChart chart;
  auto tile = Solid(20, 10, clRed);
  chart.panel.BackImage()->SetMode(pbmTile);
  chart.panel.BackImage()->Assign(tile.get());
  chart.panel.BackImage()->SetInside(true);  // for the back wall only
  chart.Paint();
  EXPECT_EQ(chart.Count(clRed, 0, 0, 399, 249), 0);
  chart.panel.SetBackImage(nullptr);
  EXPECT_FALSE(chart.panel.HasBackImage());
  chart.Paint();
  EXPECT_EQ(chart.Count(clRed, 0, 0, 399, 249), 0);
}

// The bounds of the pixels of exactly `color`; empty when there are none.
static TRect BoundsOf(const ChartFixture& f, TColor color) {
  TRect r(f.width, f.height, -1, -1);
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x)
      if (f.Pixel(x, y) == color) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

TEST(BackImage, InsideTheWallsItStandsAtTheChartDepthAsItsModeSays) {
  struct Case {
    const char* name;
    TKelBackImageMode mode;
    bool view3D;
  };
  const Case cases[] = {{"centred, 3D", pbmCenter, true},
                        {"stretched, 3D", pbmStretch, true},
                        {"centred, flat", pbmCenter, false}};
  for (const Case& c : cases) {
    ChartFixture f;
    f.chart.SetView3D(c.view3D);
    f.chart.View3DOptions()->SetOrthogonal(true);
    f.AddCurve(0, 100, clBlue);
    auto image = Solid(20, 10, clRed);
    f.chart.BackImage()->Assign(image.get());
    f.chart.BackImage()->SetMode(c.mode);
    f.chart.BackImage()->SetInside(true);
    f.Paint();
    const TRect red = BoundsOf(f, clRed);
    ASSERT_GT(red.Right, red.Left) << c.name;
    // The wall at the chart depth, as the canvas projects the chart rectangle there.
    const int depth = c.view3D ? f.chart.ChartDepthPixels() : 0;
    if (c.view3D) {
      ASSERT_GT(depth, 0) << c.name;
    }
    const TRect wall = f.chart.Canvas3D()->ProjectRect(f.chart.ChartBounds(), depth);
    const int cx = (wall.Left + wall.Right) / 2, cy = (wall.Top + wall.Bottom) / 2;
    if (c.mode == pbmCenter) {
      // At its own size in the middle of the wall, not spread over it.
      EXPECT_EQ(red.Width(), 20) << c.name;
      EXPECT_EQ(red.Height(), 10) << c.name;
      EXPECT_NEAR((red.Left + red.Right) / 2, cx, 2) << c.name;
      EXPECT_NEAR((red.Top + red.Bottom) / 2, cy, 2) << c.name;
    } else {
      // Across the whole wall (whose top and bottom are the wall's own).
      EXPECT_NEAR(red.Left, wall.Left, 2) << c.name;
      EXPECT_NEAR(red.Right, wall.Right, 2) << c.name;
      EXPECT_GT(red.Height(), wall.Height() / 2) << c.name;
    }
  }
}

TEST(BackImage, AssignCopiesSettingsAndPicture) {
  TBackImage a;
  auto tile = Solid(4, 3, clBlue);
  a.Assign(tile.get());
  a.SetMode(pbmCustom);
  a.SetLeft(3);
  a.SetBottom(9);
  a.SetInside(true);
  TBackImage b;
  b.Assign(&a);
  EXPECT_EQ(b.Mode(), pbmCustom);
  EXPECT_EQ(b.Left(), 3);
  EXPECT_EQ(b.Bottom(), 9);
  EXPECT_TRUE(b.Inside());
  ASSERT_TRUE(b.HasGraphic());
  EXPECT_EQ(b.Width(), 4);
}

TEST(ChartFontZoom, AutomaticZoomFollowsTheLargerGrowth) {
  struct Case {
    const char* name;
    int width, height;
    int zoom;
  };
  const Case cases[] = {
      {"half as wide again", 600, 250, 150},
      {"taller wins over narrower", 300, 375, 150},
      {"smaller", 200, 125, 50},
  };
  for (const Case& c : cases) {
    TestChart chart;
    chart.Paint();  // the first paint takes the base size 400 x 250
    chart.panel.View3DOptions()->SetZoomText(ztAuto);
    chart.panel.SetBounds(0, 0, c.width, c.height);
    EXPECT_EQ(chart.panel.View3DOptions()->FontZoom(), c.zoom) << c.name;
  }
  TestChart manual;
  manual.Paint();
  manual.panel.SetBounds(0, 0, 800, 500);
  EXPECT_EQ(manual.panel.View3DOptions()->FontZoom(), 100) << "manual zoom stays";
}

// The panel's colour palette is that of a palette bitmap held by its back image, else none.
TEST(BackImage, PanelPaletteIsTheBackImageBitmapsPalette) {
  TChart chart(nullptr);
  EXPECT_EQ(chart.GetPalette(), nullptr);
  TBitmap mono;
  mono.SetSize(8, 8);
  mono.SetPixelFormat(pf1bit);
  chart.BackImage()->Assign(&mono);
  const HPALETTE palette = chart.GetPalette();
  ASSERT_NE(palette, nullptr);
  PALETTEENTRY entries[4] = {};
  ASSERT_EQ(GetPaletteEntries(palette, 0, 4, entries), 2u);
  EXPECT_EQ(RGB(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), RGB(0, 0, 0));
  EXPECT_EQ(RGB(entries[1].peRed, entries[1].peGreen, entries[1].peBlue), RGB(255, 255, 255));
  // A true-colour picture has no palette, nor has a panel without back image.
  chart.BackImage()->Assign(Solid(4, 4, clRed).get());
  EXPECT_EQ(chart.GetPalette(), nullptr);
  chart.BackImage()->Assign(&mono);
  chart.SetBackImage(nullptr);
  EXPECT_EQ(chart.GetPalette(), nullptr);
}

// The palette is selected into a device context and realised: through the owner's window for a
// chart without a parent, through the form's window for a chart on a form gaining the focus.
TEST(BackImage, PanelPaletteIsRealisedInAWindowContext) {
  TBitmap mono;
  mono.SetSize(8, 8);
  mono.SetPixelFormat(pf1bit);

  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* loose = new TChart(&form);  // owned by the form, not on it
  HWND window = nullptr;
  const HDC dc = loose->GetDeviceContext(window);
  EXPECT_EQ(window, form.Handle()) << "a chart without a parent draws through its owner's window";
  EXPECT_NE(dc, nullptr);
  ReleaseDC(window, dc);
  EXPECT_FALSE(loose->PaletteChanged(true)) << "no palette to realise";
  loose->BackImage()->Assign(&mono);
  EXPECT_TRUE(loose->PaletteChanged(true));
  loose->SetVisible(false);
  EXPECT_FALSE(loose->PaletteChanged(true)) << "a hidden chart takes no part";

  TChart ownerless(nullptr);
  HWND none = nullptr;
  const HDC screen = ownerless.GetDeviceContext(none);
  EXPECT_EQ(none, nullptr) << "the context of the window given (the screen)";
  EXPECT_NE(screen, nullptr);
  ReleaseDC(none, screen);

  auto* placed = new TChart(&form);
  placed->SetParent(&form);
  form.SetVisible(true);
  EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYNEWPALETTE, 0, 0), 0) << "nothing on the form has a palette";
  placed->BackImage()->Assign(&mono);
  EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYNEWPALETTE, 0, 0), 1);
  form.SetVisible(false);
}
