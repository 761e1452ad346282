// TKxLabel on a host window painted into a DIB: angle normalisation and the font rule, blink
// phases from the shared list, fly-by colour on mouse enter/leave, automatic size with a flat
// border, caption condensing, the frame controller's effect and an older layout's entry.
#include <gtest/gtest.h>

#include "DibSurface.h"
#include "controls/KxBlinkingControlsList.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxLabel.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Timer.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;

class THost : public TForm {
 public:
  explicit THost(TComponent* owner) : TForm(owner) {
    SetBorderStyle(bsNone);
    SetBounds(0, 0, 200, 60);
    SetColor(0x00FFFF);
  }
};

class KxLabelTest : public testing::Test {
 protected:
  KxLabelTest() : host_(nullptr), dib_(200, 60, kMarker) {
    label_ = new TKxLabel(&host_);
    label_->SetParent(&host_);
    label_->Font()->SetName("Arial");
    label_->Font()->SetSize(12);
    label_->Font()->SetColor(0x000000);
    label_->SetCaption("Hello");
  }
  ~KxLabelTest() override { ReleaseBlinkerIfIdle(); }
  void Paint() {
    dib_.Fill(kMarker);
    host_.PaintTo(dib_.DC(), 0, 0);
  }
  // Number of pixels of `color` inside the label's bounds.
  int Count(COLORREF color) {
    int n = 0;
    const TRect b = label_->BoundsRect();
    for (int y = b.Top; y < b.Bottom && y < dib_.Height(); ++y) {
      for (int x = b.Left; x < b.Right && x < dib_.Width(); ++x) n += dib_.Pixel(x, y) == color;
    }
    return n;
  }

  THost host_;
  TDibSurface dib_;
  TKxLabel* label_;
};

struct TAngleCase {
  const char* name;
  int set;
  int expected;
};

class KxLabelAngleTest : public testing::TestWithParam<TAngleCase> {};

TEST_P(KxLabelAngleTest, AngleIsNormalised) {
  TKxLabel label(nullptr);
  label.SetAngle(GetParam().set);
  EXPECT_EQ(label.Angle(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, KxLabelAngleTest,
                         testing::Values(TAngleCase{"Minus90", -90, 270}, TAngleCase{"Plus450", 450, 90},
                                         TAngleCase{"Full", 360, 0}, TAngleCase{"Minus450", -450, 270}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KxLabelTest, NonZeroAngleOnABitmapFontSwitchesToVerdanaAndFlatRotation) {
  label_->Font()->SetName("System");
  if (FontIsTrueType(*label_->Font())) GTEST_SKIP() << "no bitmap font named System on this display";
  label_->SetAngle(45);
  EXPECT_EQ(label_->Font()->Name(), "Verdana");
  EXPECT_EQ(label_->Rotation(), roFlat);
  label_->SetRotation(roNone);
  EXPECT_EQ(label_->Angle(), 0) << "roNone resets the angle";
}

TEST_F(KxLabelTest, DefaultLabelPaintsItsFaceAndTextInTheFontColour) {
  label_->SetParentColor(false);
  label_->SetColor(0xFFFFFF);
  Paint();
  EXPECT_GT(Count(0x000000), 10);
  EXPECT_GT(Count(0xFFFFFF), 50);
  EXPECT_EQ(dib_.Pixel(label_->Width() + 5, 5), 0x00FFFFu) << "the host outside the label";
}

TEST_F(KxLabelTest, BlinkingAlternatesColoursAndSwitchingOffShowsTheFontColour) {
  label_->SetBlinkColor(0x0000FF);
  label_->SetBlinking(true);
  TKxBlinkingControlsList* list = KxBlinker();
  ASSERT_GE(list->IndexOf(label_), 0);
  label_->SetBlinkIntervalOn(200);
  label_->SetBlinkIntervalOff(800);
  EXPECT_EQ(list->IntervalOn(), 200);

  SendMessageW(list->Timer()->Handle(), WM_TIMER, 1, 0);  // normal phase
  EXPECT_EQ(label_->CurrentColor(), 0x000000);
  EXPECT_EQ(list->Timer()->Interval(), 800u);
  SendMessageW(list->Timer()->Handle(), WM_TIMER, 1, 0);  // blink phase
  EXPECT_EQ(label_->CurrentColor(), 0x0000FF);
  EXPECT_EQ(list->Timer()->Interval(), 200u);
  Paint();
  EXPECT_GT(Count(0x0000FF), 10);
  EXPECT_EQ(Count(0x000000), 0);

  label_->SetBlinking(false);
  EXPECT_EQ(label_->CurrentColor(), 0x000000);
  Paint();
  EXPECT_EQ(Count(0x0000FF), 0);
  EXPECT_GT(Count(0x000000), 10);
  label_->SetBlinkIntervalOn(500);
  label_->SetBlinkIntervalOff(500);
}

TEST_F(KxLabelTest, FlyByColourUnderTheMouseIsUndoneOnLeave) {
  label_->Font()->SetColor(0x008000);
  label_->SetFlyByColor(0xFF0000);
  label_->SetFlyByEnabled(true);
  int entered = 0;
  int left = 0;
  label_->OnMouseEnter = [&](TObject*) { ++entered; };
  label_->OnMouseLeave = [&](TObject*) { ++left; };
  label_->Perform(CM_MOUSEENTER);
  EXPECT_EQ(label_->Font()->Color(), 0xFF0000);
  Paint();
  EXPECT_GT(Count(0xFF0000), 10);
  label_->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(label_->Font()->Color(), 0x008000);
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 1);
}

TEST_F(KxLabelTest, FlatBorderOnAllSidesAddsTwoPixelsToTheAutoSize) {
  label_->SetAutoSize(true);
  const int width = label_->Width();
  const int height = label_->Height();
  label_->SetFlatColor(0x0000FF);
  label_->SetFlatColorAdjustment(0);
  label_->SetBorderOuter(fsFlat);
  EXPECT_EQ(label_->Width(), width + 2);
  EXPECT_EQ(label_->Height(), height + 2);
  label_->SetParentColor(false);
  label_->SetColor(0xFFFFFF);
  Paint();
  EXPECT_EQ(dib_.Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(dib_.Pixel(label_->Width() - 1, label_->Height() - 1), 0x0000FFu);
  EXPECT_EQ(dib_.Pixel(1, 1), 0xFFFFFFu) << "inside the border: the face";
}

TEST_F(KxLabelTest, CondensedCaptionEndsInAnEllipsisInsteadOfCutLetters) {
  label_->SetAutoSize(false);
  label_->SetParentColor(false);
  label_->SetColor(0xFFFFFF);
  label_->SetCaption("WWWWWWWWWWWWWWWWWWWWWWWW");
  label_->SetBounds(0, 0, 60, 24);
  // Rows with text in the last columns: cut letters fill many, an ellipsis only its dots.
  auto rowsWithTextAtEnd = [&] {
    int rows = 0;
    for (int y = 0; y < 24; ++y) {
      bool any = false;
      for (int x = 54; x < 60; ++x) any = any || dib_.Pixel(x, y) == 0x000000;
      rows += any;
    }
    return rows;
  };
  Paint();
  const int cut = rowsWithTextAtEnd();
  label_->SetAutoSize(true);
  label_->SetCondenseCaption(ccAtEnd);
  EXPECT_FALSE(label_->AutoSize());
  label_->SetBounds(0, 0, 60, 24);
  Paint();
  const int condensed = rowsWithTextAtEnd();
  EXPECT_GT(cut, 6);
  EXPECT_LE(condensed, 3);
  EXPECT_GT(condensed, 0);
}

TEST_F(KxLabelTest, RaisedTextDrawsHighlightAndShadowPasses) {
  label_->SetParentColor(false);
  label_->SetColor(0xFFFFFF);
  label_->SetHighlightColor(0x00FF00);
  label_->SetShadowColor(0xFF0000);
  label_->SetTextStyle(tsRaised);
  Paint();
  EXPECT_GT(Count(0x00FF00), 5);
  EXPECT_GT(Count(0xFF0000), 5);
  label_->SetLightTextStyle(true);
  Paint();
  EXPECT_EQ(Count(0xFF0000), 0) << "the light style leaves out the shadow pass";
}

TEST_F(KxLabelTest, DisabledLabelDrawsInGrayText) {
  label_->SetParentColor(false);
  label_->SetColor(0xFFFFFF);
  label_->SetEnabled(false);
  Paint();
  EXPECT_EQ(Count(0x000000), 0);
  EXPECT_GT(Count(KxColorToRGB(clGrayText)), 5);
}

TEST_F(KxLabelTest, FrameControllerAppliesOnlyWhenItsFrameIsVisible) {
  TKxFrameController frames(nullptr);
  frames.SetFrameStyle(fsBump);
  frames.SetFrameColor(0x123456);
  label_->SetFrameController(&frames);
  EXPECT_EQ(label_->BorderOuter(), fsNone) << "an invisible controller frame leaves the borders";
  EXPECT_EQ(label_->FlatColor(), clBtnShadow);
  frames.SetFrameVisible(true);
  EXPECT_EQ(label_->BorderOuter(), fsBump);
  EXPECT_EQ(label_->FlatColor(), 0x123456);
  EXPECT_EQ(label_->FlatColorAdjustment(), 0);
  label_->SetFrameController(nullptr);
  EXPECT_EQ(frames.ControlCount(), 0);
}

TEST_F(KxLabelTest, ObsoleteFrameSidesOfAnOlderLayoutIsSkipped) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TKxLabel");
    writer.WriteStr("Caption1");
    writer.WriteStr("FrameSides");
    writer.WriteValue(vaSet);
    writer.WriteStr("sdLeft");
    writer.WriteStr("");
    writer.WriteStr("Angle");
    writer.WriteInteger(90);
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TKxLabel loaded(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&loaded);
  EXPECT_EQ(loaded.Angle(), 90);
  EXPECT_EQ(loaded.Rotation(), roFlat) << "a loaded angle with roNone becomes flat rotation";
  EXPECT_EQ(loaded.BorderSides(), kAllSides);
}

}  // namespace

namespace {

TEST(KxLabelControllerTest, ControllerColourDerivesTheBevelColours) {
  TKxFrameController frames(nullptr);
  frames.SetFrameVisible(true);
  frames.SetColor(0x808080);
  TKxLabel label(nullptr);
  label.SetFrameController(&frames);
  EXPECT_EQ(label.Color(), 0x808080);
  EXPECT_EQ(label.BorderHighlight(), LightenColor(0x808080, 100));
  EXPECT_EQ(label.BorderShadow(), DarkenColor(0x808080, 50));
  label.SetFrameControllerNotifications(TKxFrameControllerNotifications{fcpFrameStyle});
  frames.SetColor(0x00FF00);
  EXPECT_EQ(label.Color(), 0x808080) << "the colour bit is clear";
  label.SetFrameController(nullptr);
}

}  // namespace

namespace {

// Leftmost and rightmost columns of black text pixels in the DIB (-1 when none).
std::pair<int, int> TextColumns(const TDibSurface& dib) {
  int left = -1;
  int right = -1;
  for (int x = 0; x < dib.Width(); ++x) {
    for (int y = 0; y < dib.Height(); ++y) {
      if (dib.Pixel(x, y) != 0x000000) continue;
      if (left < 0) left = x;
      right = x;
    }
  }
  return {left, right};
}

// A flat-rotated label at angle 0 is placed as rotated text: left-aligned it starts ShadowDepth
// div 2 pixels in, right-aligned it ends twice that before the edge.
TEST_F(KxLabelTest, FlatRotationAtAngleZeroUsesTheRotatedPlacement) {
  struct Case {
    TAlignment alignment;
    int shadowDepth;
    int shift;  // of the text against the unrotated label
  } const cases[] = {{taLeftJustify, 2, 1}, {taLeftJustify, 6, 3}, {taRightJustify, 2, -2}, {taRightJustify, 6, -6}};
  label_->SetAutoSize(false);
  label_->SetBounds(10, 10, 150, 30);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "alignment " << c.alignment << ", depth " << c.shadowDepth);
    label_->SetAlignment(c.alignment);
    label_->SetShadowDepth(c.shadowDepth);
    label_->SetRotation(roNone);
    Paint();
    const auto plain = TextColumns(dib_);
    label_->SetRotation(roFlat);
    ASSERT_EQ(label_->Angle(), 0);
    Paint();
    const auto flat = TextColumns(dib_);
    ASSERT_GE(plain.first, 0);
    EXPECT_EQ(flat.first - plain.first, c.shift);
    EXPECT_EQ(flat.second - plain.second, c.shift);
  }
}

TEST_F(KxLabelTest, RightToLeftMirrorsTheAlignmentAndKeepsTheRightEdge) {
  label_->SetAutoSize(false);
  label_->SetBounds(10, 10, 150, 30);
  label_->SetAlignment(taLeftJustify);
  Paint();
  const auto ltr = TextColumns(dib_);
  host_.SetBiDiMode(bdRightToLeft);
  Paint();
  const auto rtl = TextColumns(dib_);
  EXPECT_LT(ltr.second, 100);
  EXPECT_GT(rtl.first, 100) << "a left-aligned caption stands at the right";
  EXPECT_GE(rtl.second, 150) << "and ends near the label's right edge (160)";

  // Growing the caption of an auto-sized left-aligned label keeps its right edge.
  label_->SetAutoSize(true);
  const int right = label_->Left() + label_->Width();
  label_->SetCaption("Hello, wider world");
  EXPECT_EQ(label_->Left() + label_->Width(), right);
  host_.SetBiDiMode(bdLeftToRight);
  const int left = label_->Left();
  label_->SetCaption("Hi");
  EXPECT_EQ(label_->Left(), left) << "left to right the left edge stays";
}

}  // namespace
