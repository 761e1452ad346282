// Text on the GDI canvas: shadow and emboss copies and where they put the text, measured sizes
// with effects, rotated text escapements and outlined text.
#include <gtest/gtest.h>

#include <limits>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"

namespace {

class TextTest : public GdiCanvasTest {
 protected:
  void SetUp() override {
    GdiCanvasTest::SetUp();
    canvas->Font()->SetName("Arial");
    canvas->Font()->SetSize(14);
    canvas->Font()->SetQuality(TKelFontQuality::fqNormal);  // no grey edge pixels
    canvas->Font()->SetColor(clBlack);
    canvas->SetBackMode(TRANSPARENT);
  }
  // Draws "I" and answers the ink bounds of the text and of its copy.
  void DrawI(TRect& text, TRect& copy) {
    canvas->TextOut(50, 30, "I");
    text = surface->BoundsOf(clBlack);
    copy = surface->BoundsOf(clRed);
  }
};

struct EffectCase {
  const char* name;
  bool emboss;
  int horiz, vert;
  int copyDx, copyDy;  // where the copy lands relative to the unmoved text
  int textDx, textDy;  // how far the text itself moves
};

class TextEffectTest : public TextTest, public testing::WithParamInterface<EffectCase> {};

TEST_P(TextEffectTest, CopyAndTextOffsets) {
  const EffectCase& c = GetParam();
  TRect plain, none;
  DrawI(plain, none);
  ASSERT_FALSE(plain.IsEmpty());
  surface->Clear();
  TKelShadow* effect = c.emboss ? static_cast<TKelShadow*>(canvas->Font()->Emboss()) : canvas->Font()->Shadow();
  effect->SetVisible(true);
  effect->SetColor(clRed);
  effect->SetTransparency(0);
  effect->SetHorizSize(c.horiz);
  effect->SetVertSize(c.vert);
  TRect text, copy;
  DrawI(text, copy);
  EXPECT_EQ(text.Left - plain.Left, c.textDx);
  EXPECT_EQ(text.Top - plain.Top, c.textDy);
  // The copy is partly hidden under the text: compare the edges it shows.
  if (c.copyDx <= 0) {
    EXPECT_EQ(copy.Left - plain.Left, c.copyDx);
  }
  if (c.copyDx >= 0) {
    EXPECT_EQ(copy.Right - plain.Right, c.copyDx);
  }
  if (c.copyDy <= 0) {
    EXPECT_EQ(copy.Top - plain.Top, c.copyDy);
  }
  if (c.copyDy >= 0) {
    EXPECT_EQ(copy.Bottom - plain.Bottom, c.copyDy);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextEffectTest,
    testing::Values(EffectCase{"ShadowRightDown", false, 3, 2, 3, 2, 0, 0},
                    EffectCase{"ShadowNegativeMovesText", false, -3, 0, 0, 0, 3, 0},
                    EffectCase{"EmbossPositiveGoesLeftUp", true, 2, 2, -2, -2, 0, 0},
                    EffectCase{"EmbossNegativeMovesTextBack", true, -3, 0, 0, 0, -3, 0}),
    [](const testing::TestParamInfo<EffectCase>& info) { return std::string(info.param.name); });

TEST_F(TextTest, InvisibleOrZeroSizedEffectsDrawNoCopy) {
  canvas->Font()->Shadow()->SetColor(clRed);
  canvas->Font()->Shadow()->SetTransparency(0);
  canvas->TextOut(50, 30, "I");
  EXPECT_EQ(surface->Count(clRed), 0) << "size 0";
  canvas->Font()->Emboss()->SetColor(clRed);
  canvas->Font()->Emboss()->SetHorizSize(3);
  canvas->TextOut(50, 30, "I");
  EXPECT_EQ(surface->Count(clRed), 0) << "an emboss is invisible until shown";
}

TEST_F(TextTest, MeasuredSizesAddTheVisibleEffects) {
  const int width = canvas->MeasureTextWidth("Wide");
  const int height = canvas->MeasureTextHeight("Wide");
  canvas->Font()->Shadow()->SetHorizSize(-3);
  canvas->Font()->Shadow()->SetVertSize(1);
  canvas->Font()->Emboss()->SetVisible(true);
  canvas->Font()->Emboss()->SetHorizSize(2);
  canvas->Font()->Emboss()->SetVertSize(-4);
  EXPECT_EQ(canvas->MeasureTextWidth("Wide"), width + 5);
  EXPECT_EQ(canvas->MeasureTextHeight("Wide"), height + 5);
  TPointFloat size;
  canvas->MeasureTextF("Wide", size);
  EXPECT_FLOAT_EQ(size.X, width + 5.0f);
  EXPECT_EQ(canvas->MeasureTextWidthW(L"Wide"), width + 5);
  canvas->Font()->Emboss()->SetVisible(false);
  EXPECT_EQ(canvas->MeasureTextWidth("Wide"), width + 3);
}

struct RotationCase {
  const char* name;
  double angle;
  bool upright;  // the ink runs vertically
};

class RotatedTextTest : public TextTest, public testing::WithParamInterface<RotationCase> {};

TEST_P(RotatedTextTest, TextRunsAlongTheEscapement) {
  canvas->RotatedTextOut(100, 100, "MMMMMM", GetParam().angle, false);
  const TRect ink = surface->BoundsOf(clBlack);
  ASSERT_FALSE(ink.IsEmpty());
  if (GetParam().upright) {
    EXPECT_GT(ink.Height(), 2 * ink.Width());
    EXPECT_LE(ink.Bottom, 101) << "turned counter-clockwise, the text rises from its start";
  } else {
    EXPECT_GT(ink.Width(), 2 * ink.Height());
  }
}

INSTANTIATE_TEST_SUITE_P(Angles, RotatedTextTest,
                         testing::Values(RotationCase{"Zero", 0, false}, RotationCase{"Ninety", 90, true},
                                         RotationCase{"FourFiftyIsNinety", 450, true},
                                         RotationCase{"SevenTwentyIsFull", 720, false},
                                         // Whole turns come off at once, however many.
                                         RotationCase{"HugeIsItsRest", 360.0 * 1099511627776.0 + 90, true}),
                         [](const testing::TestParamInfo<RotationCase>& info) { return std::string(info.param.name); });

TEST_F(TextTest, AnglesAboveAFullTurnDrawAsTheirRemainder) {
  canvas->RotatedTextOut(100, 100, "Rise", 90, false);
  const TRect ninety = surface->BoundsOf(clBlack);
  surface->Clear();
  canvas->RotatedTextOut(100, 100, "Rise", 450, false);
  EXPECT_EQ(surface->BoundsOf(clBlack), ninety);
  surface->Clear();
  canvas->TextOut(100, 100, "Rise");
  const TRect plain = surface->BoundsOf(clBlack);
  surface->Clear();
  canvas->RotatedTextOut(100, 100, "Rise", 720, false);
  // 720 reduces to 360, a full turn: horizontal again (the turned font may place a glyph a
  // pixel apart).
  const TRect full = surface->BoundsOf(clBlack);
  EXPECT_NEAR(full.Left, plain.Left, 1);
  EXPECT_NEAR(full.Right, plain.Right, 1);
  EXPECT_EQ(full.Top, plain.Top);
  EXPECT_EQ(full.Bottom, plain.Bottom);
}

TEST_F(TextTest, NonFiniteAnglesDrawNothing) {
  for (double angle : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                       std::numeric_limits<double>::quiet_NaN()}) {
    canvas->RotatedTextOut(100, 100, "MMMMMM", angle, false);
    EXPECT_EQ(surface->InkBounds(), TRect()) << angle;
  }
  canvas->RotatedTextOut(100, 100, "MMMMMM", 30, false);
  EXPECT_FALSE(surface->InkBounds().IsEmpty()) << "the canvas still draws afterwards";
}

TEST_F(TextTest, RotationAboutTheTextCentreMovesThePosition) {
  canvas->RotateAroundCentre = true;
  canvas->TextCentre = TPoint(100, 60);
  canvas->RotatedTextOut(140, 60, "I", 90, false);
  const TRect ink = surface->BoundsOf(clBlack);
  ASSERT_FALSE(ink.IsEmpty());
  // (140, 60) turned by 90 degrees about (100, 60) lands at (100, 20).
  EXPECT_NEAR(ink.Left, 100, 25);
  EXPECT_LT(ink.Top, 40);
}

TEST_F(TextTest, OutlinedTextIsStrokedAndFilled) {
  canvas->Font()->SetSize(30);
  canvas->Font()->SetColor(clBlue);
  canvas->Font()->OutLine()->SetVisible(true);
  canvas->Font()->OutLine()->SetColor(clRed);
  canvas->TextOut(20, 20, "O");
  EXPECT_GT(surface->Count(clRed), 10) << "outline";
  EXPECT_GT(surface->Count(clBlue), 10) << "fill";
}

// The font's gradient runs over the text rectangle (top to bottom: the start colour at the
// bottom, the end colour at the top) and shows only inside the glyphs.
TEST_F(TextTest, GradientTextFillsInsideTheGlyphsOnly) {
  canvas->Font()->SetSize(40);
  TKelGradient* gradient = canvas->Font()->Brush()->Gradient();
  gradient->SetStartColor(clRed);
  gradient->SetEndColor(clBlue);
  gradient->SetVisible(true);
  canvas->TextOut(20, 10, "H");
  const TRect ink = surface->InkBounds();
  ASSERT_FALSE(ink.IsEmpty());
  // The left stem of the H, sampled at its top and bottom rows and half way.
  int stem = -1;
  for (int x = ink.Left; x < ink.Right && stem < 0; ++x) {
    if (surface->Pixel(x, (ink.Top + ink.Bottom) / 2) != clWhite) stem = x + 1;
  }
  ASSERT_GE(stem, 0);
  const TColor top = surface->Pixel(stem, ink.Top);
  const TColor middle = surface->Pixel(stem, (ink.Top + ink.Bottom) / 2);
  const TColor bottom = surface->Pixel(stem, ink.Bottom - 1);
  EXPECT_GT(GetBValue(top), GetRValue(top)) << std::hex << top << ": the top leans to the end colour";
  EXPECT_GT(GetRValue(bottom), GetBValue(bottom)) << std::hex << bottom << ": the bottom to the start colour";
  EXPECT_GT(GetRValue(middle), GetRValue(top));
  EXPECT_LT(GetRValue(middle), GetRValue(bottom));
  EXPECT_EQ(GetGValue(middle), 0) << "a blend of the two colours only";
  // Between the stems of the H the rectangle stays white.
  EXPECT_EQ(surface->Pixel((ink.Left + ink.Right) / 2, ink.Top + 2), clWhite) << "the glyph, not its rectangle";
  EXPECT_FALSE(canvas->BrushGradient()->Visible()) << "the canvas brush gradient is given back";
}

}  // namespace
