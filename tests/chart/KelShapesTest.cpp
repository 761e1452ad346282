// Shapes and text shapes: automatic size with margins, lines of text, transparent drawing in
// pixels, the speech-bubble pointer on each side and the hit test of a turned shape.
#include <gtest/gtest.h>

#include <memory>

#include "ChartPanelTestSupport.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "chart/KelProcs.h"
#include "chart/KelShapes.h"
#include "toolkit/graphics/Canvas.h"

namespace {

// A panel for shapes: a recording canvas over a white bitmap; text 6 pixels a character and
// `lineHeight` a line.
class ShapePanel : public IShapePanel {
 public:
  explicit ShapePanel(int lineHeight = 20) : lineHeight_(lineHeight) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(200, 100);
    canvas.SetBuffered(false);
    canvas.SetTargetCanvas(bitmap.Canvas());
  }
  TCanvas3D* ShapeCanvas() override { return &canvas; }
  void AssignShapeFont(TKelFont* font) override { canvas.AssignFont(font); }
  void ShapeTextExtent(const std::string& text, bool, int& width, int& height) override {
    width = 0;
    const int lines = TextLineCount(text);
    for (int n = 1; n <= lines; ++n)
      width = std::max(width, 6 * static_cast<int>(FieldAtSep(text, n, "\r").size()));
    height = lines * lineHeight_;
  }
  void ShapeChanged() override { ++changes; }

  TColor Pixel(int x, int y) {
    GdiFlush();
    const auto* p = static_cast<const unsigned char*>(bitmap.ScanLine(y)) + x * 4;
    return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
  }
  int Count(TColor color, const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += Pixel(x, y) == color;
    return n;
  }

  TBitmap bitmap;
  RecordingCanvas canvas;
  int changes = 0;

 private:
  int lineHeight_;
};

}  // namespace

TEST(ChartShapes, AutoSizedTextShapeTakesTextAndMargins) {
  struct Case {
    const char* name;
    bool transparent;
    bool pen;
    int width, height;
  };
  // Text "Hello": 30 x 20. Margins of a 20-pixel text: 2 left and right, 1 top and bottom.
  const Case cases[] = {
      {"framed", false, true, 30 + 2 + 8, 20 + 2 + 2},
      {"no frame", false, false, 30 + 8, 20 + 2},
      {"transparent: no margins", true, true, 30, 20},
  };
  for (const Case& c : cases) {
    ShapePanel panel;
    TCustomTextShape shape(&panel);
    shape.SetText("Hello");
    shape.SetTransparent(c.transparent);
    shape.Pen()->SetVisible(c.pen);
    shape.Bounds = TRect(5, 7, 99, 99);
    shape.CalcSize();
    EXPECT_EQ(shape.Bounds, TRect(5, 7, 5 + c.width, 7 + c.height)) << c.name;
    EXPECT_EQ(shape.Lines(), 1) << c.name;
  }
}

TEST(ChartShapes, LinesAreOneLineHeightApartAndLineFeedsIgnored) {
  for (const char* text : {"a\rb", "a\r\nb"}) {
    ShapePanel panel;
    TCustomTextShape shape(&panel);
    shape.SetTransparent(true);
    shape.SetText(text);
    shape.Bounds = TRect(10, 10, 10, 10);
    shape.CalcSize();
    EXPECT_EQ(shape.Lines(), 2) << text;
    shape.DrawAt();
    const auto& texts = panel.canvas.texts;
    ASSERT_EQ(texts.size(), 2u) << text;
    EXPECT_EQ(texts[0].text, "a");
    EXPECT_EQ(texts[1].text, "b");
    EXPECT_EQ(texts[1].y - texts[0].y, panel.canvas.LineHeight()) << text;
  }
}

TEST(ChartShapes, TransparentShapePaintsTextButNoFill) {
  for (bool transparent : {false, true}) {
    ShapePanel panel;
    TCustomTextShape shape(&panel);
    shape.SetColor(clRed);
    shape.SetTransparent(transparent);
    shape.Font()->SetColor(clBlue);
    shape.Font()->SetSize(12);
    shape.SetText("WWW");
    shape.Bounds = TRect(10, 10, 90, 50);
    shape.SetAutoSize(false);
    shape.DrawAt();
    const int red = panel.Count(clRed, shape.Bounds);
    if (transparent)
      EXPECT_EQ(red, 0);
    else
      EXPECT_GT(red, 1000);
    int inked = 0;
    for (int y = 10; y < 50; ++y)
      for (int x = 10; x < 90; ++x) {
        const TColor c = panel.Pixel(x, y);
        inked += c != clRed && c != clWhite && c != clBlack;
      }
    EXPECT_GT(inked, 10) << "text drawn, transparent " << transparent;
  }
}

TEST(ChartShapes, CalloutPointerOnEachSide) {
  struct Case {
    const char* name;
    TShapeCalloutSide side;
    int position;
    TPoint a, tip, b;
  };
  // Rectangle (0, 0, 100, 40), Width 20 and Size 25 percent.
  const Case cases[] = {
      {"top", csTop, 50, TPoint(40, 0), TPoint(50, -10), TPoint(60, 0)},
      {"bottom", csBottom, 50, TPoint(60, 40), TPoint(50, 50), TPoint(40, 40)},
      {"right", csRight, 50, TPoint(100, 16), TPoint(125, 20), TPoint(100, 24)},
      {"left", csLeft, 50, TPoint(0, 24), TPoint(-25, 20), TPoint(0, 16)},
      {"top, kept inside at the right end", csTop, 0, TPoint(80, 0), TPoint(90, -10), TPoint(100, 0)},
  };
  for (const Case& c : cases) {
    TKelShape shape(nullptr);
    TShapeCallout* callout = shape.ShapeCallout();
    callout->SetSide(c.side);
    callout->SetPosition(c.position);
    TPoint a, tip, b;
    ASSERT_TRUE(callout->Pointer(TRect(0, 0, 100, 40), 0, a, tip, b)) << c.name;
    EXPECT_EQ(a, c.a) << c.name;
    EXPECT_EQ(tip, c.tip) << c.name;
    EXPECT_EQ(b, c.b) << c.name;
    // The outline holds the pointer between its corners.
    const TPointArray outline = callout->Outline(TRect(0, 0, 100, 40), 0);
    EXPECT_EQ(outline.size(), 7u) << c.name;
    EXPECT_NE(std::find(outline.begin(), outline.end(), c.tip), outline.end()) << c.name;
  }
}

TEST(ChartShapes, TurnedShapeIsHitInItsTurnedRectangle) {
  TKelShape shape(nullptr);
  shape.Bounds = TRect(0, 0, 100, 20);
  EXPECT_TRUE(shape.Clicked(TPoint(90, 10)));
  EXPECT_FALSE(shape.Clicked(TPoint(50, 40)));
  shape.SetAngle(90);  // turned about (50, 10): x 40..60, y -40..60
  EXPECT_FALSE(shape.Clicked(TPoint(90, 10)));
  EXPECT_TRUE(shape.Clicked(TPoint(50, 40)));
  EXPECT_TRUE(shape.Clicked(TPoint(45, -30)));
}

TEST(ChartShapes, RoundSizeTurnsARectangleRound) {
  ShapePanel panel;
  TKelShape shape(&panel);
  shape.SetRoundSize(8);
  EXPECT_EQ(shape.ShapeStyle(), fosRoundRectangle);
  shape.SetShapeStyle(fosEllipse);
  shape.SetRoundSize(0);
  EXPECT_EQ(shape.ShapeStyle(), fosEllipse);
  EXPECT_GE(panel.changes, 3);  // every change repaints the panel
}
