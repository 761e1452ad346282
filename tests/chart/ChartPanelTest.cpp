// The chart panel itself: multi-line and mark-up text extents, the bitmap export's transparency
// and its copy into pictures, the events it broadcasts (3D view, mouse leave), the default font
// shared along the parent panel chain, the text zoom after a change of scale, and the bevels
// drawn inside the border pen (square and rounded), in pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGradient.h"
#include "canvas/KelShadow.h"
#include "chart/AxisPanel.h"
#include "chart/FastLineSeries.h"
#include "canvas/KelPen.h"
#include "canvas/View3DOptions.h"
#include "chart/KelPanel.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Messages.h"

namespace {

// Keeps the kinds of events the panel sends.
class EventLog : public IKelEventListener {
 public:
  void ChartEvent(TKelEvent& event) override {
    if (dynamic_cast<TKelView3DEvent*>(&event) != nullptr)
      kinds.push_back("view3d");
    else if (dynamic_cast<TMouseLeaveEvent*>(&event) != nullptr)
      kinds.push_back("leave");
    else
      kinds.push_back("other");
    senders.push_back(event.Sender);
  }
  std::vector<std::string> kinds;
  std::vector<TCustomKelPanel*> senders;
};

// A bare panel whose GDI canvas measures on a small bitmap in a real font.
struct MeasuringPanel {
  MeasuringPanel() {
    panel.ChangeCanvas(new TKelCanvas3D());
    surface.SetPixelFormat(pf32bit);
    surface.SetSize(50, 50);
    panel.Canvas3D()->SetTargetCanvas(surface.Canvas());
    TKelFont font;
    font.SetName("Arial");
    font.SetSize(12);
    panel.Canvas3D()->AssignFont(&font);
  }
  TCustomKelPanel panel{nullptr};
  TBitmap surface;
};

}  // namespace

// ---- Text ---------------------------------------------------------------------------------------

TEST(ChartPanelText, MarkUpTextIsMeasuredWithoutItsTags) {
  struct Case {
    const char* name;
    std::string markUp;
    std::string plain;  // the same text as it shows
  };
  const Case cases[] = {
      {"one underlined line", "<u>Temperature</u>", "Temperature"},
      {"two lines, one tagged", "<u>ab</u>\rabcdef", "ab\rabcdef"},
      {"a line feed after the return is dropped", "x\r\n<u>xyz</u>", "x\r\nxyz"},
  };
  MeasuringPanel m;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int markUpWidth = 0, markUpHeight = 0, plainWidth = 0, plainHeight = 0, taggedWidth = 0, taggedHeight = 0;
    m.panel.TextLinesExtent(c.markUp, true, markUpWidth, markUpHeight);
    m.panel.TextLinesExtent(c.plain, false, plainWidth, plainHeight);
    m.panel.TextLinesExtent(c.markUp, false, taggedWidth, taggedHeight);
    EXPECT_GT(plainWidth, 0);
    EXPECT_EQ(markUpWidth, plainWidth);
    EXPECT_EQ(markUpHeight, plainHeight);
    EXPECT_GT(taggedWidth, plainWidth);  // as plain text the tags would take room
  }
}

TEST(ChartPanelText, MeasuringAnUnclosedTagLeavesTheCanvasFontAlone) {
  MeasuringPanel m;
  int width = 0, height = 0;
  m.panel.TextLinesExtent("<b>bold to the end", true, width, height);
  EXPECT_GT(width, 0);
  EXPECT_FALSE(m.panel.Canvas3D()->Font()->Style().Contains(fsBold));
  int again = 0;
  m.panel.TextLinesExtent("<b>bold to the end", true, again, height);
  EXPECT_EQ(again, width);
}

// ---- Export ---------------------------------------------------------------------------------

TEST(ChartPanelExport, NoColourMakesATransparentBitmap) {
  struct Case {
    const char* name;
    TColor color;
    bool transparent;
  };
  const Case cases[] = {
      {"clNone", clNone, true},
      {"$FF000000", static_cast<TColor>(0xFF000000), true},
      {"white: no pre-fill", clWhite, false},
      {"red pre-fill", clRed, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestChart chart;
    std::unique_ptr<TBitmap> bitmap = chart.panel.RenderToBitmap(c.color, TRect(0, 0, 120, 80));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Width(), 120);
    EXPECT_EQ(bitmap->Height(), 80);
    EXPECT_EQ(bitmap->Transparent(), c.transparent);
    if (c.transparent) {
      EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
      EXPECT_EQ(bitmap->TransparentColor(), c.color);
    }
  }
}

TEST(ChartPanelExport, APictureTakesThePanelBitmap) {
  TestChart chart(160, 100);
  chart.panel.SetColor(clYellow);
  chart.AddSeries(Line(0, 10, 0, 100), clRed);
  TPicture picture;
  picture.Assign(&chart.panel);
  TBitmap* bitmap = picture.Bitmap();
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->Width(), 160);
  ASSERT_EQ(bitmap->Height(), 100);
  // The panel's background and its curve are in the picture.
  GdiFlush();
  EXPECT_EQ(GetPixel(bitmap->Canvas()->Handle(), 2, 50), static_cast<COLORREF>(clYellow));
  int red = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 160; ++x) red += GetPixel(bitmap->Canvas()->Handle(), x, y) == static_cast<COLORREF>(clRed);
  EXPECT_GT(red, 50);
}

// ---- Events ---------------------------------------------------------------------------------

TEST(ChartPanelEvents, View3DChangesAndMouseLeaveReachTheListeners) {
  TestChart chart;
  EventLog log;
  chart.panel.AddListener(&log);
  chart.panel.SetView3D(false);  // unchanged: nothing
  chart.panel.SetView3D(true);
  chart.panel.SetView3D(true);
  chart.panel.SetView3D(false);
  chart.panel.Perform(CM_MOUSELEAVE, 0, 0);
  const std::vector<std::string> expected = {"view3d", "view3d", "leave"};
  EXPECT_EQ(log.kinds, expected);
  for (TCustomKelPanel* sender : log.senders) EXPECT_EQ(sender, &chart.panel);
  chart.panel.RemoveListener(&log);
}

TEST(ChartPanelFonts, TheDefaultFontComesFromTheParentPanel) {
  TCustomKelPanel parent(nullptr), child(nullptr), grandchild(nullptr);
  EXPECT_NE(child.DefaultFont(), parent.DefaultFont());
  child.ParentPanel = &parent;
  grandchild.ParentPanel = &child;
  EXPECT_EQ(child.DefaultFont(), parent.DefaultFont());
  EXPECT_EQ(grandchild.DefaultFont(), parent.DefaultFont());
  child.ParentPanel = nullptr;
  EXPECT_EQ(grandchild.DefaultFont(), child.DefaultFont());
  EXPECT_NE(child.DefaultFont(), parent.DefaultFont());
}

TEST(ChartPanelFonts, AChangeOfScaleZoomsTheText) {
  struct Case {
    int m, d;
    int expected;  // font zoom after the change, from 100
  };
  const Case cases[] = {{3, 2, 150}, {2, 3, 67}, {5, 5, 100}};
  for (const Case& c : cases) {
    TCustomKelPanel panel(nullptr);
    panel.ChangeCanvas(new TKelCanvas3D());
    ASSERT_EQ(panel.View3DOptions()->FontZoom(), 100);
    panel.ChangeScale(c.m, c.d);
    EXPECT_EQ(panel.View3DOptions()->FontZoom(), c.expected) << c.m << "/" << c.d;
  }
}

// ---- Bevels -----------------------------------------------------------------------------------

TEST(ChartPanelBevels, BevelsLieInsideTheBorderPen) {
  TestChart chart;
  chart.panel.SetBevelOuter(bvRaised);
  chart.panel.Border()->SetVisible(true);
  chart.panel.Border()->SetColor(clBlue);
  chart.panel.Border()->SetWidth(1);
  chart.Paint();
  const int mid = chart.height / 2;
  EXPECT_EQ(chart.Pixel(0, mid), clBlue);                          // the border
  EXPECT_EQ(chart.Pixel(1, mid), clWhite);                         // raised: light top-left
  EXPECT_EQ(chart.Pixel(chart.width - 2, mid), TColor(0xA0A0A0));  // dark bottom-right
  EXPECT_EQ(chart.Pixel(chart.width - 1, mid), clBlue);

  // A wider border pushes the bevel further in.
  chart.panel.Border()->SetWidth(3);
  chart.Paint();
  EXPECT_EQ(chart.Pixel(2, mid), clBlue);
  EXPECT_EQ(chart.Pixel(3, mid), clWhite);
  EXPECT_EQ(chart.Pixel(chart.width - 4, mid), TColor(0xA0A0A0));
}

TEST(ChartPanelBevels, RoundedCornersDrawTheBevelAsARoundedFrame) {
  TestChart chart;
  chart.panel.SetBevelOuter(bvLowered);
  chart.panel.SetBorderRound(20);
  chart.Paint();
  const int mid = chart.height / 2;
  // One rounded line in the dark top-left colour, one pixel in, on every side.
  EXPECT_EQ(chart.Pixel(1, mid), TColor(0xA0A0A0));
  EXPECT_EQ(chart.Pixel(chart.width - 2, mid), TColor(0xA0A0A0));
  EXPECT_EQ(chart.Pixel(chart.width / 2, 1), TColor(0xA0A0A0));
  EXPECT_NE(chart.Pixel(1, 1), TColor(0xA0A0A0));  // the corner is rounded off
}

TEST(ChartPanelEvents, AHandledDoubleClickEndsSilently) {
  TestChart chart;
  bool handle = false;
  int heard = 0;
  chart.panel.OnDblClick = [&](TObject*) {
    ++heard;
    if (handle) chart.panel.MouseHandled = true;
  };
  EXPECT_NO_THROW(static_cast<TControl&>(chart.panel).DblClick());
  handle = true;
  EXPECT_THROW(static_cast<TControl&>(chart.panel).DblClick(), EAbort);
  EXPECT_EQ(heard, 2);
}

// ---- Layers kept between paints ------------------------------------------------------------------

namespace {

// Every pixel of a 32-bit bitmap, in rows.
std::vector<COLORREF> AllPixels(TBitmap& bitmap) {
  GdiFlush();
  std::vector<COLORREF> pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(GetPixel(bitmap.Canvas()->Handle(), x, y));
  return pixels;
}

}  // namespace

TEST(ChartPanelLayers, TheKeptBackgroundGivesTheSamePixelsAndFollowsItsSettings) {
  KelGDIPlusStartup();
  for (const bool plus : {false, true}) {
    SCOPED_TRACE(plus ? "GDI+ canvas" : "GDI canvas");
    TCustomAxisPanel panel(nullptr);
    panel.SetBounds(0, 0, 300, 200);
    panel.SetView3D(false);
    if (plus)
      panel.ChangeCanvas(new TGDIPlusCanvas());
    else
      panel.ChangeCanvas(new TKelCanvas3D());
    TKelGradient* gradient = panel.Gradient();
    gradient->SetStartColor(static_cast<TColor>(0xEAEAEA));
    gradient->SetEndColor(clWhite);
    gradient->SetVisible(true);
    panel.Shadow()->SetVisible(true);
    auto series = new TFastLineSeries(nullptr);
    for (int i = 0; i < 50; ++i) series->AppendXY(i, (i * 37) % 11);
    series->ChangeSeriesColor(clRed);
    panel.AttachSeries(series);
    TBitmap screen;
    screen.SetPixelFormat(pf32bit);
    screen.SetSize(300, 200);
    const TRect all(0, 0, 300, 200);
    panel.DrawTo(screen.Canvas(), all);  // painted and kept
    const std::vector<COLORREF> first = AllPixels(screen);
    series->AppendXY(50, 5);             // a new point: the background is reused
    panel.DrawTo(screen.Canvas(), all);
    const std::vector<COLORREF> reused = AllPixels(screen);
    panel.DropLayers();
    panel.DrawTo(screen.Canvas(), all);  // painted again from scratch
    EXPECT_TRUE(AllPixels(screen) == reused);
    int differ = 0;
    for (size_t i = 0; i < first.size(); ++i) differ += first[i] != reused[i];
    EXPECT_GT(differ, 0);  // the new point shows

    // A change of colour, or of size, is painted anew.
    gradient->SetStartColor(clYellow);
    gradient->SetEndColor(clYellow);
    panel.DrawTo(screen.Canvas(), all);
    GdiFlush();
    EXPECT_EQ(GetPixel(screen.Canvas()->Handle(), 1, 100), static_cast<COLORREF>(clYellow));
    screen.SetSize(200, 150);
    panel.SetBounds(0, 0, 200, 150);
    panel.DrawTo(screen.Canvas(), TRect(0, 0, 200, 150));
    const std::vector<COLORREF> small = AllPixels(screen);
    panel.DropLayers();
    panel.DrawTo(screen.Canvas(), TRect(0, 0, 200, 150));
    EXPECT_TRUE(AllPixels(screen) == small);
  }
}

TEST(ChartPanelWindow, WithoutAParentThePanelDrawsThroughItsWindowedOwner) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  for (bool parented : {false, true}) {
    const char* name = parented ? "parented: its own window" : "owned by the form, no parent: the form's window";
    auto* panel = new TCustomAxisPanel(&form);
    if (parented) panel->SetParent(&form);
    HWND window = nullptr;
    HDC dc = panel->GetDeviceContext(window);
    ASSERT_NE(dc, nullptr) << name;
    EXPECT_EQ(WindowFromDC(dc), window) << name;
    EXPECT_EQ(window, parented ? panel->Handle() : form.Handle()) << name;
    ReleaseDC(window, dc);
    // The panel's own canvas follows the same rule.
    EXPECT_EQ(WindowFromDC(panel->Canvas()->Handle()), window) << name;
    delete panel;
  }
}
