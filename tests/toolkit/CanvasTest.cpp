// TCanvas with pens, brushes and fonts, drawn into 32-bit bitmaps and checked pixel by pixel.
#include <gtest/gtest.h>

#include "PixelHelpers.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsUtils.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { MakeCanvasBitmap(bitmap, 40, 30); }
  TCanvas& canvas() { return *bitmap.Canvas(); }
  TBitmap bitmap;
};

TEST_F(CanvasTest, NewBitmapIsWhiteEverywhere) {
  EXPECT_EQ(CountPixels(bitmap, [](TColor c) { return c != clWhite; }), 0);
}

TEST_F(CanvasTest, PenLineLandsOnItsRowOnly) {
  canvas().Pen()->SetColor(clRed);
  canvas().MoveTo(5, 10);
  canvas().LineTo(30, 10);
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clRed; }), Rect(5, 10, 30, 11));
  EXPECT_EQ(CountPixels(bitmap, [](TColor c) { return c != clRed && c != clWhite; }), 0);
  EXPECT_EQ(canvas().PenPos(), Point(30, 10));
}

TEST_F(CanvasTest, WidePenCoversItsWidthAroundTheLine) {
  canvas().Pen()->SetColor(clBlue);
  canvas().Pen()->SetWidth(5);
  canvas().MoveTo(10, 15);
  canvas().LineTo(30, 15);
  const TRect ink = InkBounds(bitmap, [](TColor c) { return c == clBlue; });
  EXPECT_EQ(ink.Height(), 5);
  EXPECT_EQ(ink.Top, 13);
}

TEST_F(CanvasTest, ChangedPenColourReachesTheNextCall) {
  canvas().Pen()->SetColor(clRed);
  canvas().MoveTo(0, 2);
  canvas().LineTo(40, 2);
  canvas().Pen()->SetColor(clLime);
  canvas().MoveTo(0, 4);
  canvas().LineTo(40, 4);
  EXPECT_EQ(PixelAt(bitmap, 20, 2), clRed);
  EXPECT_EQ(PixelAt(bitmap, 20, 4), clLime);
}

TEST_F(CanvasTest, PenModesCombineWithTheBackground) {
  struct Case {
    const char* name;
    TPenMode mode;
    TColor pen;
    TColor expected;
  };
  const Case cases[] = {
      {"copy", pmCopy, clRed, clRed},
      {"not inverts white", pmNot, clRed, clBlack},
      {"xor with white", pmXor, clRed, clAqua},
      {"nop leaves white", pmNop, clRed, clWhite},
      {"mask keeps the pen on white", pmMask, clBlue, clBlue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap b;
    MakeCanvasBitmap(b, 10, 10);
    b.Canvas()->Pen()->SetColor(c.pen);
    b.Canvas()->Pen()->SetMode(c.mode);
    b.Canvas()->MoveTo(0, 5);
    b.Canvas()->LineTo(10, 5);
    EXPECT_EQ(PixelAt(b, 5, 5), c.expected);
  }
}

TEST_F(CanvasTest, ClearPenDrawsNothing) {
  canvas().Pen()->SetStyle(psClear);
  canvas().MoveTo(0, 5);
  canvas().LineTo(40, 5);
  EXPECT_EQ(CountPixels(bitmap, [](TColor c) { return c != clWhite; }), 0);
}

TEST_F(CanvasTest, FillRectUsesTheBrushAndStopsAtTheRightAndBottomEdges) {
  canvas().Brush()->SetColor(clNavy);
  canvas().FillRect(Rect(4, 6, 14, 9));
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clNavy; }), Rect(4, 6, 14, 9));
}

TEST_F(CanvasTest, RectangleWithClearBrushDrawsOnlyTheOutline) {
  canvas().Pen()->SetColor(clRed);
  canvas().Brush()->SetStyle(bsClear);
  canvas().Rectangle(5, 5, 25, 20);
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clRed; }), Rect(5, 5, 25, 20));
  EXPECT_EQ(PixelAt(bitmap, 15, 12), clWhite);
  EXPECT_EQ(PixelAt(bitmap, 5, 12), clRed);
}

TEST_F(CanvasTest, RectangleWithSolidBrushFillsInside) {
  canvas().Pen()->SetColor(clRed);
  canvas().Brush()->SetColor(clYellow);
  canvas().Rectangle(Rect(5, 5, 25, 20));
  EXPECT_EQ(PixelAt(bitmap, 15, 12), clYellow);
  EXPECT_EQ(PixelAt(bitmap, 24, 12), clRed);
  EXPECT_EQ(PixelAt(bitmap, 25, 12), clWhite);
}

TEST_F(CanvasTest, HatchedBrushLeavesTheBackgroundBetweenLines) {
  canvas().Brush()->SetColor(clBlack);
  canvas().Brush()->SetStyle(bsHorizontal);
  canvas().FillRect(Rect(0, 0, 40, 30));
  const int black = CountPixels(bitmap, [](TColor c) { return c == clBlack; });
  EXPECT_GT(black, 0);
  EXPECT_LT(black, 40 * 30 / 2);
  // Horizontal hatch: a row is all black or all white.
  for (int y = 0; y < 30; ++y) {
    const TColor first = PixelAt(bitmap, 0, y);
    for (int x = 1; x < 40; ++x) ASSERT_EQ(PixelAt(bitmap, x, y), first) << "row " << y;
  }
}

TEST_F(CanvasTest, SystemColoursResolveThroughColorToRGB) {
  canvas().Brush()->SetColor(clBtnFace);
  canvas().FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(static_cast<COLORREF>(PixelAt(bitmap, 5, 5)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(CanvasTest, PixelsReadAndWrite) {
  canvas().SetPixel(3, 4, clPurple);
  EXPECT_EQ(canvas().Pixel(3, 4), clPurple);
  EXPECT_EQ(PixelAt(bitmap, 3, 4), clPurple);
  EXPECT_EQ(canvas().Pixel(4, 4), clWhite);
}

TEST_F(CanvasTest, TextLandsInsideItsExtentInTheFontColour) {
  TBitmap b;
  MakeCanvasBitmap(b, 200, 60);
  TCanvas& c = *b.Canvas();
  c.Font()->SetName("Arial");
  c.Font()->SetHeight(-20);
  c.Font()->SetQuality(fqNonAntialiased);
  c.Font()->SetColor(clRed);
  c.Brush()->SetStyle(bsClear);
  const TSize extent = c.TextExtent("Hello");
  c.TextOut(10, 15, "Hello");
  const TRect ink = InkBounds(b, [](TColor col) { return col == clRed; });
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 15);
  EXPECT_LE(ink.Right, 10 + extent.cx + 1);
  EXPECT_LE(ink.Bottom, 15 + extent.cy);
  EXPECT_GT(ink.Width(), extent.cx / 2);
  EXPECT_EQ(c.PenPos(), Point(10 + extent.cx, 15));
}

TEST_F(CanvasTest, FontHeightAndStyleChangeTheInk) {
  auto inkOf = [](int height, TFontStyles style) {
    TBitmap b;
    MakeCanvasBitmap(b, 300, 80);
    TCanvas& c = *b.Canvas();
    c.Font()->SetName("Arial");
    c.Font()->SetHeight(height);
    c.Font()->SetStyle(style);
    c.Font()->SetQuality(fqNonAntialiased);
    c.Font()->SetColor(clBlack);
    c.TextOut(0, 0, "Mmmm");
    return std::pair(InkBounds(b, [](TColor col) { return col == clBlack; }),
                     CountPixels(b, [](TColor col) { return col == clBlack; }));
  };
  const auto small = inkOf(-12, {});
  const auto large = inkOf(-36, {});
  const auto bold = inkOf(-36, {fsBold});
  EXPECT_GT(large.first.Height(), small.first.Height() * 2);
  EXPECT_GT(bold.second, large.second);
}

TEST_F(CanvasTest, SolidBrushFillsBehindTextOutButClearBrushDoesNot) {
  TCanvas& c = canvas();
  c.Font()->SetColor(clBlack);
  c.Brush()->SetColor(clYellow);
  c.TextOut(0, 0, "W");
  EXPECT_GT(CountPixels(bitmap, [](TColor col) { return col == clYellow; }), 0);
  TBitmap clear;
  MakeCanvasBitmap(clear, 40, 30);
  clear.Canvas()->Brush()->SetColor(clLime);
  clear.Canvas()->FillRect(Rect(0, 0, 40, 30));
  clear.Canvas()->Brush()->SetStyle(bsClear);
  clear.Canvas()->Font()->SetColor(clBlack);
  clear.Canvas()->TextOut(0, 0, "W");
  EXPECT_EQ(CountPixels(clear, [](TColor col) { return col == clWhite; }), 0);
  EXPECT_GT(CountPixels(clear, [](TColor col) { return col != clLime; }), 0);
}

TEST_F(CanvasTest, TextRectClipsToItsRectangle) {
  TCanvas& c = canvas();
  c.Font()->SetHeight(-24);
  c.Font()->SetColor(clBlack);
  c.Brush()->SetColor(clYellow);
  c.TextRect(Rect(2, 2, 12, 12), 2, 2, "WWWW");
  EXPECT_EQ(InkBounds(bitmap, [](TColor col) { return col != clWhite; }), Rect(2, 2, 12, 12));
}

TEST_F(CanvasTest, DrawAndStretchDrawPlaceABitmap) {
  TBitmap red;
  MakeCanvasBitmap(red, 4, 3);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect(Rect(0, 0, 4, 3));
  canvas().Draw(5, 6, &red);
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clRed; }), Rect(5, 6, 9, 9));
  canvas().StretchDraw(Rect(20, 10, 36, 22), &red);
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clRed; }), Rect(5, 6, 36, 22));
  EXPECT_EQ(PixelAt(bitmap, 35, 21), clRed);
  EXPECT_EQ(PixelAt(bitmap, 15, 15), clWhite);
}

TEST_F(CanvasTest, TransparentBitmapLeavesItsTransparentColourOut) {
  TBitmap sprite;
  MakeCanvasBitmap(sprite, 6, 6);  // white; the bottom-left pixel makes white transparent
  sprite.Canvas()->Brush()->SetColor(clBlue);
  sprite.Canvas()->FillRect(Rect(2, 2, 4, 4));
  sprite.SetTransparent(true);
  canvas().Brush()->SetColor(clLime);
  canvas().FillRect(Rect(0, 0, 40, 30));
  canvas().Draw(10, 10, &sprite);
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clBlue; }), Rect(12, 12, 14, 14));
  EXPECT_EQ(PixelAt(bitmap, 10, 10), clLime);
  EXPECT_EQ(CountPixels(bitmap, [](TColor c) { return c == clWhite; }), 0);
}

TEST_F(CanvasTest, CopyRectCopiesBetweenCanvases) {
  TBitmap source;
  MakeCanvasBitmap(source, 10, 10);
  source.Canvas()->Brush()->SetColor(clGreen);
  source.Canvas()->FillRect(Rect(0, 0, 5, 5));
  canvas().CopyRect(Rect(20, 20, 30, 30), source.Canvas(), Rect(0, 0, 10, 10));
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clGreen; }), Rect(20, 20, 25, 25));
}

TEST_F(CanvasTest, AttachedDCGetsItsOriginalObjectsBack) {
  TBitmap target;
  MakeCanvasBitmap(target, 10, 10);
  HDC dc = target.Canvas()->Handle();
  HGDIOBJ originalPen = GetCurrentObject(dc, OBJ_PEN);
  {
    TCanvas borrowed;
    borrowed.SetHandle(dc);
    borrowed.Pen()->SetColor(clRed);
    borrowed.MoveTo(0, 0);
    borrowed.LineTo(10, 0);
    EXPECT_NE(GetCurrentObject(dc, OBJ_PEN), originalPen);
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), originalPen);
  EXPECT_EQ(PixelAt(target, 5, 0), clRed);
}

TEST(GraphicsObjectTest, ChangesNotifyOnceAndOnlyWhenTheValueDiffers) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetStyle({fsBold});
  font.SetStyle({fsBold});
  font.SetColor(clRed);
  font.SetSize(12);
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(font.Size(), 12);
  EXPECT_EQ(font.Height(), -MulDiv(12, font.PixelsPerInch(), 72));
  TPen pen;
  int penChanges = 0;
  pen.OnChange = [&](TObject*) { ++penChanges; };
  pen.SetWidth(1);
  pen.SetWidth(3);
  EXPECT_EQ(penChanges, 1);
}

TEST(GraphicsObjectTest, AssignCopiesAttributesAndKeepsPointSizeAcrossResolutions) {
  TFont source;
  source.SetName("Arial");
  source.SetSize(10);
  source.SetStyle({fsItalic});
  source.SetColor(clNavy);
  TFont dest;
  dest.SetPixelsPerInch(source.PixelsPerInch() * 2);
  dest.Assign(&source);
  EXPECT_EQ(dest.Name(), "Arial");
  EXPECT_EQ(dest.Size(), 10);
  EXPECT_EQ(dest.Height(), -MulDiv(10, dest.PixelsPerInch(), 72));
  EXPECT_EQ(dest.Style(), TFontStyles{fsItalic});
  EXPECT_EQ(dest.Color(), clNavy);
  TBrush brush;
  EXPECT_THROW(brush.Assign(&source), EConvertError);
}

TEST(GraphicsObjectTest, AdoptedHandlesReportTheirAttributes) {
  TPen pen;
  pen.SetHandle(CreatePen(PS_DOT, 1, RGB(255, 0, 0)));
  EXPECT_EQ(pen.Style(), psDot);
  EXPECT_EQ(pen.Color(), clRed);
  TFont font;
  LOGFONTW lf{};
  lf.lfHeight = -17;
  lf.lfWeight = FW_BOLD;
  wcscpy(lf.lfFaceName, L"Arial");
  font.SetHandle(CreateFontIndirectW(&lf));
  EXPECT_EQ(font.Height(), -17);
  EXPECT_EQ(font.Name(), "Arial");
  EXPECT_TRUE(font.Style().Contains(fsBold));
}

TEST(ColorTest, IdentifiersRoundTripAndNumbersParse) {
  std::string ident;
  ASSERT_TRUE(ColorToIdent(clBtnFace, ident));
  EXPECT_EQ(ident, "clBtnFace");
  TColor color = 0;
  ASSERT_TRUE(IdentToColor("CLRED", color));
  EXPECT_EQ(color, clRed);
  EXPECT_EQ(StringToColor("$00F0FBFF"), 0xF0FBFF);
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(ColorToString(clNone), "clNone");
  EXPECT_THROW(StringToColor("clNotAColour"), EConvertError);
}

}  // namespace

namespace {

TEST(GraphicsUtilsTest, Frame3DDrawsLightTopLeftAndDarkBottomRightRings) {
  TBitmap b;
  MakeCanvasBitmap(b, 20, 12);
  TRect r = Rect(0, 0, 20, 12);
  Frame3D(b.Canvas(), r, clWhite, clGray, 2);
  EXPECT_EQ(r, Rect(2, 2, 18, 10));
  b.Canvas()->Brush()->SetColor(clBlack);
  b.Canvas()->FillRect(Rect(0, 0, 20, 12));
  TRect again = Rect(0, 0, 20, 12);
  Frame3D(b.Canvas(), again, clRed, clBlue, 2);
  EXPECT_EQ(PixelAt(b, 0, 5), clRed);    // left
  EXPECT_EQ(PixelAt(b, 10, 1), clRed);   // top, second ring
  EXPECT_EQ(PixelAt(b, 19, 5), clBlue);  // right
  EXPECT_EQ(PixelAt(b, 10, 11), clBlue); // bottom
  EXPECT_EQ(PixelAt(b, 18, 10), clBlue); // second ring's corner
  EXPECT_EQ(PixelAt(b, 10, 5), clBlack); // inside untouched
}

TEST(GraphicsUtilsTest, PatternBitmapIsACheckerAndIsShared) {
  TBitmap* pattern = AllocPatternBitmap(clBtnFace, clWhite);
  EXPECT_EQ(pattern, AllocPatternBitmap(clBtnFace, clWhite));
  EXPECT_NE(pattern, AllocPatternBitmap(clRed, clWhite));
  ASSERT_EQ(pattern->Width(), 8);
  EXPECT_EQ(static_cast<COLORREF>(pattern->Canvas()->Pixel(0, 0)), ColorToRGB(clBtnFace));
  EXPECT_EQ(pattern->Canvas()->Pixel(1, 0), clWhite);
  EXPECT_EQ(pattern->Canvas()->Pixel(0, 1), clWhite);
  EXPECT_EQ(static_cast<COLORREF>(pattern->Canvas()->Pixel(7, 7)), ColorToRGB(clBtnFace));
  // As a brush it fills with the checker.
  TBitmap b;
  MakeCanvasBitmap(b, 16, 16);
  b.Canvas()->Brush()->SetBitmap(AllocPatternBitmap(clRed, clBlue));
  b.Canvas()->FillRect(Rect(0, 0, 16, 16));
  b.Canvas()->Brush()->SetBitmap(nullptr);
  EXPECT_EQ(CountPixels(b, [](TColor c) { return c == clRed; }), 128);
  EXPECT_EQ(CountPixels(b, [](TColor c) { return c == clBlue; }), 128);
}

TEST(GraphicsUtilsTest, TransparentStretchBltKeepsTheDestinationWhereTheMaskIsSet) {
  TBitmap source;
  MakeCanvasBitmap(source, 4, 4);
  source.Canvas()->Brush()->SetColor(clRed);
  source.Canvas()->FillRect(Rect(0, 0, 4, 4));
  TBitmap mask;
  mask.SetPixelFormat(pf1bit);
  mask.SetSize(4, 4);  // white = 1 = keep the destination
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 2, 4));  // left half drawn
  TBitmap dest;
  MakeCanvasBitmap(dest, 20, 20);
  dest.Canvas()->Brush()->SetColor(clLime);
  dest.Canvas()->FillRect(Rect(0, 0, 20, 20));
  ASSERT_TRUE(TransparentStretchBlt(dest.Canvas()->Handle(), 2, 2, 8, 8, source.Canvas()->Handle(), 0, 0, 4, 4,
                                    mask.Canvas()->Handle(), 0, 0));
  EXPECT_EQ(InkBounds(dest, [](TColor c) { return c == clRed; }), Rect(2, 2, 6, 10));
  EXPECT_EQ(CountPixels(dest, [](TColor c) { return c != clRed && c != clLime; }), 0);
}

}  // namespace
