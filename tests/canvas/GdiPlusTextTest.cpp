// The GDI+ canvas's text and paths under Wine's gdiplus.dll: rendering hints, the stored fonts
// of the private collection, alignment, rotation inside a transformed element, and the GDI+
// path object.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelGDIPlusPath.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "toolkit/graphics/Canvas.h"

namespace {

class GdiPlusTextTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
  void SetUp() override {
    surface = std::make_unique<TDibSurface>(200, 120);
    canvas = std::make_unique<TGDIPlusCanvas>();
    ASSERT_TRUE(canvas->IsAvailable());
    canvas->SetBuffered(false);
    canvas->SetTargetCanvas(surface->Canvas());
    ASSERT_NE(canvas->Graphics(), nullptr);
    canvas->SetBackMode(TRANSPARENT);
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetSize(14);
    canvas->Font()->SetColor(clBlack);
    canvas->Font()->SetQuality(TKelFontQuality::fqNormal);  // crisp glyphs for pixel checks
  }
  void TearDown() override {
    canvas.reset();
    surface.reset();
  }

  std::unique_ptr<TDibSurface> surface;
  std::unique_ptr<TGDIPlusCanvas> canvas;
};

TEST_F(GdiPlusTextTest, TheRenderingHintFollowsTheFontQuality) {
  struct Case {
    const char* name;
    TKelFontQuality quality;
    TGDIPlusFontQuality canvasQuality;
    float size;
    int hint;
  } cases[] = {
      {"default at 20 points", TKelFontQuality::fqDefault, gpfDefault, 20, 4},
      {"default at 19.5 points", TKelFontQuality::fqDefault, gpfDefault, 19.5f, 5},
      {"default on a best canvas", TKelFontQuality::fqDefault, gpfBest, 10, 4},
      {"default on a normal canvas", TKelFontQuality::fqDefault, gpfNormal, 30, 1},
      {"best", TKelFontQuality::fqBest, gpfNormal, 10, 4},
      {"normal", TKelFontQuality::fqNormal, gpfBest, 10, 1},
      {"ClearType", TKelFontQuality::fqClearType, gpfBest, 30, 5},
  };
  for (const Case& c : cases) {
    canvas->ChangeAntiAliasText(c.canvasQuality);
    canvas->Font()->SetQuality(c.quality);
    canvas->Font()->SetSizeFloat(c.size);
    canvas->ApplyFont();
    EXPECT_EQ(canvas->Graphics()->GetTextRenderingHint(), c.hint) << c.name;
  }
}

TEST_F(GdiPlusTextTest, TheLedFontComesFromThePrivateCollection) {
  std::unique_ptr<TGPFontFamily> family(canvas->FindPrivateFontFamily("Dovudad"));
  ASSERT_NE(family, nullptr);
  EXPECT_EQ(family->GetFamilyName(), L"Dovudad");
  std::unique_ptr<TGPFontFamily> lcd(canvas->FindPrivateFontFamily(KelLcdFontFamily));
  ASSERT_NE(lcd, nullptr);
  EXPECT_EQ(lcd->GetFamilyName(), L"Dovudad LCD");
  EXPECT_EQ(canvas->FindPrivateFontFamily("Arial"), nullptr) << "system families are not looked up here";

  canvas->Font()->SetName("Dovudad");
  canvas->ApplyFont();
  TGPFontFamily used;
  ASSERT_NE(canvas->GdiFont(), nullptr);
  canvas->GdiFont()->GetFamily(&used);
  EXPECT_EQ(used.GetFamilyName(), L"Dovudad");
  canvas->TextOut(10, 10, "-");
  EXPECT_FALSE(surface->InkBounds().IsEmpty());
}

TEST_F(GdiPlusTextTest, AnUnknownFamilyFallsBackToSansSerif) {
  canvas->Font()->SetName("No Such Family Anywhere");
  canvas->ApplyFont();
  ASSERT_NE(canvas->GdiFont(), nullptr);
  TGPFontFamily used;
  canvas->GdiFont()->GetFamily(&used);
  EXPECT_EQ(used.GetFamilyName(), GenericSansSerifFamily()->GetFamilyName());
  canvas->TextOut(10, 10, "HHH");
  EXPECT_FALSE(surface->InkBounds().IsEmpty());
}

TEST_F(GdiPlusTextTest, AlignmentPlacesTheTextAroundItsAnchor) {
  // The labels' size: GDI+ pads an unformatted string by a sixth of the em on the left, which
  // centring by the typographic width does not take out (under 2 px at 8 points).
  canvas->Font()->SetSize(8);
  const std::string text = "HHHH";
  TPointFloat size;
  canvas->MeasureTextF(text, size);
  ASSERT_GT(size.X, 20);
  struct Case {
    const char* name;
    int align;
    std::function<void(const TRect& ink)> check;
  } cases[] = {
      {"right", TA_RIGHT, [](const TRect& ink) { EXPECT_NEAR(ink.Right, 150, 2); }},
      {"centre", TA_CENTER, [](const TRect& ink) { EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 150, 2); }},
      {"centre bottom", TA_CENTER | TA_BOTTOM, [&](const TRect& ink) {
         EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 150, 2);
         EXPECT_LE(ink.Bottom, 60);
         EXPECT_GE(ink.Top, 60 - size.Y - 2);
       }},
      {"bottom alone moves nothing", TA_BOTTOM, [](const TRect& ink) {
         EXPECT_GE(ink.Left, 150);
         EXPECT_LE(ink.Left, 153);
         EXPECT_GT(ink.Top, 60);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    surface->Clear();
    canvas->SetTextAlign(c.align);
    canvas->TextOut(150, 60, text);
    const TRect ink = surface->InkBounds();
    ASSERT_FALSE(ink.IsEmpty());
    c.check(ink);
  }
  canvas->SetTextAlign(0);
}

TEST_F(GdiPlusTextTest, TextWithFullWidthBracketsAndDegreeCelsiusDraws) {
  canvas->TextOut(10, 10, "Temp\xEF\xBC\x88\xE2\x84\x83\xEF\xBC\x89");
  EXPECT_GT(surface->InkBounds().Right, 40);
  EXPECT_GT(canvas->MeasureTextWidth("Temp\xEF\xBC\x88\xE2\x84\x83\xEF\xBC\x89"), canvas->MeasureTextWidth("Temp"));
}

TEST_F(GdiPlusTextTest, MeasuresAddTheVisibleShadow) {
  const int plainHeight = canvas->MeasureTextHeight("Hg");
  const int plainWidth = canvas->MeasureTextWidth("Hg");
  canvas->Font()->Shadow()->SetVisible(true);
  canvas->Font()->Shadow()->SetHorizSize(4);
  canvas->Font()->Shadow()->SetVertSize(-3);
  EXPECT_EQ(canvas->MeasureTextHeight("Hg"), plainHeight + 3);
  EXPECT_EQ(canvas->MeasureTextWidth("Hg"), plainWidth + 4);
}

TEST_F(GdiPlusTextTest, ATextShadowIsDrawnOffsetInItsColour) {
  canvas->Font()->Shadow()->SetVisible(true);
  canvas->Font()->Shadow()->SetColor(clRed);
  canvas->Font()->Shadow()->SetHorizSize(3);
  canvas->Font()->Shadow()->SetVertSize(3);
  canvas->TextOut(20, 20, "HHH");
  const TRect red = surface->BoundsOf(clRed);
  const TRect black = surface->BoundsOf(clBlack);
  ASSERT_FALSE(red.IsEmpty());
  ASSERT_FALSE(black.IsEmpty());
  EXPECT_EQ(red.Right - black.Right, 3);
  EXPECT_EQ(red.Bottom - black.Bottom, 3);
}

TEST_F(GdiPlusTextTest, RotatedTextInsideAnOffsetElementIsOffsetOnceAndKeepsTheTransform) {
  TElementTransform t;
  t.Enabled = true;
  t.Offset = {30, 0};
  canvas->BeginElement("text", 0, &t);
  canvas->RotatedTextOut(100, 100, "HHHH", 90, false);
  TGPMatrix after;
  canvas->Graphics()->GetTransform(&after);
  float e[6];
  after.GetElements(e);
  EXPECT_FLOAT_EQ(e[0], 1);
  EXPECT_FLOAT_EQ(e[1], 0);
  EXPECT_FLOAT_EQ(e[4], 30);
  EXPECT_FLOAT_EQ(e[5], 0);
  canvas->EndElement();

  const TRect ink = surface->InkBounds();
  ASSERT_FALSE(ink.IsEmpty());
  // Upwards from (130, 100): taller than wide, right of the anchor, above it.
  EXPECT_GT(ink.Bottom - ink.Top, ink.Right - ink.Left);
  EXPECT_GE(ink.Left, 129);
  EXPECT_LE(ink.Left, 140);
  EXPECT_LE(ink.Bottom, 101);
  EXPECT_EQ(canvas->TextAngle, 0);
}

TEST_F(GdiPlusTextTest, UnrotatedTextNeedsNoTransform) {
  canvas->RotatedTextOut(20, 20, "HHHH", 0, false);
  const TRect ink = surface->InkBounds();
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GT(ink.Right - ink.Left, ink.Bottom - ink.Top);
}

TEST_F(GdiPlusTextTest, AnOpaqueBackModeFillsTheTextRectangleWithTheBrush) {
  canvas->Brush()->SetColor(clYellow);  // a brush change sets the back mode from its back colour
  canvas->SetBackMode(OPAQUE);
  canvas->TextOut(20, 20, "HH");
  EXPECT_EQ(surface->Pixel(20, 20), clYellow);
  EXPECT_GT(surface->Count(clBlack), 0);
}

// ---- Paths -----------------------------------------------------------------------------------

TEST_F(GdiPlusTextTest, PathLinesRoundTripThroughTheirPointsAndTypes) {
  std::unique_ptr<TKelBasePath> path(canvas->NewPath());
  path->StartFigureAt(10, 10);
  path->AddLineTo(20, 10);
  path->AddLineTo(20, 20);
  TKelPathData data;
  path->GetPathData(data);
  // Two segments: (10,10)-(20,10) and (20,10)-(20,20).
  TPointFloatArray corners;
  for (const TPointFloat& p : data.points) {
    if (corners.empty() || !(corners.back() == p)) corners.push_back(p);
  }
  EXPECT_EQ(corners, (TPointFloatArray{{10, 10}, {20, 10}, {20, 20}}));
  ASSERT_EQ(data.types.size(), data.points.size());
  EXPECT_EQ(data.types[0] & 7, 0);
  for (std::size_t i = 1; i < data.types.size(); ++i) EXPECT_EQ(data.types[i] & 7, 1) << i;
  EXPECT_FLOAT_EQ(data.bounds.Left, 10);
  EXPECT_FLOAT_EQ(data.bounds.Bottom, 20);

  TKelGDIPlusPath copy(*canvas, data.points, data.types);
  TKelPathData again;
  copy.GetPathData(again);
  EXPECT_EQ(again.points, data.points);
  EXPECT_EQ(again.types, data.types);
}

TEST_F(GdiPlusTextTest, ClosedPointsMakeAClosedSplineNotAPolygon) {
  std::unique_ptr<TKelBasePath> path(canvas->NewPath());
  path->AddPoints({{10, 10}, {60, 10}, {60, 60}, {10, 60}}, 3, true);
  TKelPathData data;
  path->GetPathData(data);
  ASSERT_FALSE(data.types.empty());
  bool bezier = false;
  for (unsigned char t : data.types) bezier |= (t & 7) == 3;
  EXPECT_TRUE(bezier);
  EXPECT_NE(data.types.back() & 0x80, 0) << "closed";
}

TEST_F(GdiPlusTextTest, DrawPathFillsWithTheBrushAndOutlinesWithThePen) {
  std::unique_ptr<TKelBasePath> path(canvas->NewPath());
  path->StartFigureAt(20, 20);
  path->AddLineTo(100, 20);
  path->AddLineTo(100, 80);
  path->AddLineTo(20, 80);
  path->CloseFigure();
  canvas->Brush()->SetColor(clBlue);
  canvas->Pen()->SetColor(clRed);
  path->DrawPath(*canvas);
  EXPECT_EQ(surface->Pixel(60, 50), clBlue);
  EXPECT_EQ(surface->Pixel(60, 20), clRed);
  EXPECT_EQ(surface->Pixel(110, 50), clWhite);
}

TEST_F(GdiPlusTextTest, PathTextAddsGlyphOutlines) {
  std::unique_ptr<TKelBasePath> path(canvas->NewPath());
  path->AddText("H", 10, 10);
  EXPECT_EQ(static_cast<TKelGDIPlusPath*>(path.get())->Path()->LastStatus(), 0);
  ASSERT_NE(canvas->GdiFont(), nullptr);
  EXPECT_EQ(canvas->GdiFont()->LastStatus(), 0);
  TKelPathData data;
  path->GetPathData(data);
  EXPECT_GT(data.points.size(), 4u);
  EXPECT_GT(data.bounds.Bottom - data.bounds.Top, 5);
}

}  // namespace
