// Glyphs and drawing helpers on a marker-filled DIB: arrow shapes and colours per style and
// platform version, cross glyphs, the gradient ring, rotated fonts, text drawing, transparent
// stretched bitmaps, a parent's image copied behind a child, and invalidation of transparent
// children.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxCommonText.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/WinControl.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;

struct TBox {
  int left = 1000, top = 1000, right = -1, bottom = -1, count = 0;
};

class GlyphTest : public testing::Test {
 protected:
  GlyphTest() { canvas_.SetHandle(dib_.DC()); }
  ~GlyphTest() override {
    canvas_.SetHandle(nullptr);
    SetKxPlatformVersionQuery(nullptr);
    SetKxFullColorDevice(true);
  }
  void Pretend(DWORD major, DWORD minor) {
    SetKxPlatformVersionQuery([=] { return TKxPlatformVersion{VER_PLATFORM_WIN32_NT, major, minor}; });
  }
  void Reset() {
    canvas_.Refresh();
    dib_.Fill(kMarker);
  }
  // Bounding box of the pixels painted in `color` (every other change fails the test).
  TBox Painted(COLORREF color) {
    TBox b;
    for (int y = 0; y < dib_.Height(); ++y) {
      for (int x = 0; x < dib_.Width(); ++x) {
        const COLORREF p = dib_.Pixel(x, y);
        if (p == kMarker) continue;
        EXPECT_EQ(p, color) << x << "," << y;
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x);
        b.bottom = std::max(b.bottom, y);
        ++b.count;
      }
    }
    return b;
  }
  int RowCount(int y) {
    int n = 0;
    for (int x = 0; x < dib_.Width(); ++x) n += dib_.Pixel(x, y) != kMarker;
    return n;
  }
  int ColumnCount(int x) {
    int n = 0;
    for (int y = 0; y < dib_.Height(); ++y) n += dib_.Pixel(x, y) != kMarker;
    return n;
  }

  TDibSurface dib_{24, 24, kMarker};
  TCanvas canvas_;
};

TEST_F(GlyphTest, ClassicDropDownArrowIsABlackTriangleUnderTheCentre) {
  Pretend(5, 1);
  canvas_.Brush()->SetColor(clWhite);
  PaintDropDownArrow(canvas_, {4, 4, 20, 20}, 0, true);
  // Centre (12, 11): the triangle (12, 13), (9, 9), (16, 9).
  const TBox b = Painted(0x000000);
  EXPECT_GE(b.left, 9);
  EXPECT_LE(b.right, 16);
  EXPECT_EQ(b.top, 9);
  EXPECT_LE(b.bottom, 13);
  EXPECT_GT(RowCount(9), RowCount(12)) << "points down";
  EXPECT_EQ(canvas_.Brush()->Color(), clWhite) << "brush colour restored";
  EXPECT_EQ(canvas_.Pen()->Style(), psSolid) << "pen style restored";
}

TEST_F(GlyphTest, DropDownArrowColoursFollowStateAndBackground) {
  Pretend(5, 1);
  canvas_.Brush()->SetColor(0x101010);
  PaintDropDownArrow(canvas_, {4, 4, 20, 20}, 0, true);
  EXPECT_GT(Painted(GetSysColor(COLOR_3DDKSHADOW)).count, 0) << "dark background: dark shadow";
  Reset();
  PaintDropDownArrow(canvas_, {4, 4, 20, 20}, 0, false);
  EXPECT_GT(Painted(GetSysColor(COLOR_BTNSHADOW)).count, 0);
  Reset();
  canvas_.Brush()->SetColor(clWhite);
  PaintDropDownArrow(canvas_, {4, 4, 20, 20}, 1, true);
  // The sampled themed colour (dark shadow when the theme gives something close to the window).
  const TBox chevron = Painted(static_cast<COLORREF>(ColorToRGB(ThemedDropDownArrowColor())));
  EXPECT_GE(chevron.left, 12 - 4);
  EXPECT_LE(chevron.right, 12 + 5);
  EXPECT_GE(chevron.top, 11 - 3);
  EXPECT_LE(chevron.bottom, 11 + 4);
}

TEST_F(GlyphTest, VistaAndLaterForceTheLaterArrow) {
  Pretend(6, 1);
  canvas_.Brush()->SetColor(clWhite);
  PaintDropDownArrow(canvas_, {4, 4, 20, 20}, 0, true);
  // Style 2 triangle (13, 14), (10, 10), (17, 10).
  const TBox b = Painted(0x000000);
  EXPECT_EQ(b.top, 10);
  EXPECT_GE(b.left, 10);
  EXPECT_LE(b.right, 17);
  EXPECT_LE(b.bottom, 14);
}

TEST_F(GlyphTest, DirectionArrowsPointTheirWay) {
  canvas_.Brush()->SetColor(clWhite);
  for (int style : {0, 2}) {
    for (TKxArrowDirection d : {adUp, adDown, adLeft, adRight}) {
      Reset();
      PaintDirectionArrow(canvas_, {2, 2, 22, 22}, style, true, d);
      // The later style samples the theme, or falls back to the classic colour without one.
      const COLORREF color = style == 0 ? 0x000000 : ColorToRGB(ThemedScrollArrowColor().value_or(clBlack));
      const TBox b = Painted(color);
      ASSERT_GT(b.count, 0) << style << "/" << d;
      switch (d) {
        case adUp: EXPECT_LT(RowCount(b.top), RowCount(b.bottom)) << style; break;
        case adDown: EXPECT_GT(RowCount(b.top), RowCount(b.bottom)) << style; break;
        case adLeft: EXPECT_LT(ColumnCount(b.left), ColumnCount(b.right)) << style; break;
        case adRight: EXPECT_GT(ColumnCount(b.left), ColumnCount(b.right)) << style; break;
      }
    }
  }
}

TEST_F(GlyphTest, CrossGlyphHasASmallAndALargeForm) {
  PaintCrossGlyph(canvas_, {6, 6, 16, 16}, 0x0000FF);  // 10 high: small
  const TBox small = Painted(0x0000FF);
  Reset();
  PaintCrossGlyph(canvas_, {4, 4, 20, 20}, 0x0000FF);
  const TBox large = Painted(0x0000FF);
  EXPECT_LT(small.right - small.left, large.right - large.left);
  EXPECT_LT(small.count, large.count);
  Reset();
  PaintCloseGlyph(canvas_, {4, 4, 20, 20}, 0, false);
  EXPECT_EQ(Painted(GetSysColor(COLOR_BTNSHADOW)).count, large.count);
}

TEST_F(GlyphTest, GradientRingPaintsTwoPixelsOnlyOnFullColour) {
  PaintGradientRing(canvas_, {2, 2, 22, 22}, KxCommon::gdHorizontalEnd, 0xFF0000, 0x0000FF);
  EXPECT_NE(dib_.Pixel(2, 10), kMarker);
  EXPECT_NE(dib_.Pixel(3, 10), kMarker);
  EXPECT_EQ(dib_.Pixel(4, 10), kMarker);
  EXPECT_EQ(dib_.Pixel(12, 12), kMarker);
  EXPECT_NE(dib_.Pixel(20, 10), kMarker);
  EXPECT_EQ(dib_.CountChangedOutside({2, 2, 22, 22}, kMarker), 0);
  // The clip region is gone afterwards.
  canvas_.Brush()->SetColor(0x00FF00);
  canvas_.FillRect({10, 10, 12, 12});
  EXPECT_EQ(dib_.Pixel(11, 11), 0x00FF00u);
  Reset();
  SetKxFullColorDevice(false);
  PaintGradientRing(canvas_, {2, 2, 22, 22}, KxCommon::gdHorizontalEnd, 0xFF0000, 0x0000FF);
  EXPECT_EQ(dib_.CountChangedOutside({0, 0, 0, 0}, kMarker), 0);
}

TEST(FontRoutinesTest, RotatedFontKeepsTheFontAndTurnsIt) {
  TFont font;
  font.SetName("Arial");
  font.SetHeight(-13);
  font.SetStyle({fsBold, fsUnderline});
  font.SetPitch(fpVariable);
  HFONT rotated = CreateRotatedFont(font, 90);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(rotated, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  DeleteObject(rotated);
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfOrientation, 0);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_FALSE(lf.lfItalic);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_EQ(lf.lfPitchAndFamily & 3, VARIABLE_PITCH);
  EXPECT_EQ(std::wstring(lf.lfFaceName), L"Arial");
  EXPECT_TRUE(FontIsTrueType(font));
}

TEST_F(GlyphTest, DrawTextInRectMeasuresAndDraws) {
  canvas_.Font()->SetName("Arial");
  canvas_.Font()->SetHeight(-11);
  canvas_.Font()->SetColor(clBlack);
  canvas_.Brush()->SetStyle(bsClear);
  TRect measure{0, 0, 200, 0};
  const int height = DrawTextInRect(canvas_, "Wg", measure, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(height, 8);
  EXPECT_EQ(measure.Height(), height);
  EXPECT_GT(measure.Width(), 5);
  EXPECT_EQ(dib_.CountChangedOutside({0, 0, 0, 0}, kMarker), 0) << "measuring draws nothing";
  TRect draw{2, 2, 22, 22};
  DrawTextInRect(canvas_, "Wg", draw, DT_SINGLELINE);
  EXPECT_GT(Painted(0x000000).count + 0, 0);
}

TEST_F(GlyphTest, StretchBitmapTransparentLeavesTheKeyColourOut) {
  TBitmap source(2, 2);
  source.Canvas()->SetPixel(0, 0, 0x0000FF);
  source.Canvas()->SetPixel(1, 0, 0xFF00FF);  // the transparent colour
  source.Canvas()->SetPixel(0, 1, 0x00FF00);
  source.Canvas()->SetPixel(1, 1, 0xFF0000);
  StretchBitmapTransparent(canvas_, source, {0, 0, 4, 4}, 0xFF00FF, {0, 0, 2, 2});
  EXPECT_EQ(dib_.Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(dib_.Pixel(1, 1), 0x0000FFu);
  EXPECT_EQ(dib_.Pixel(2, 0), kMarker);
  EXPECT_EQ(dib_.Pixel(3, 1), kMarker);
  EXPECT_EQ(dib_.Pixel(0, 3), 0x00FF00u);
  EXPECT_EQ(dib_.Pixel(3, 3), 0xFF0000u);
  EXPECT_EQ(dib_.CountChangedOutside({0, 0, 4, 4}, kMarker), 0);
}

// A container that paints a known picture for WM_ERASEBKGND / WM_PRINTCLIENT and counts
// invalidations.
class TPictureParent : public TWinControl {
 public:
  explicit TPictureParent(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 40, 40); }
  void WndProc(TMessage& message) override {
    const HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (message.Msg == WM_ERASEBKGND) {
      const HBRUSH brush = CreateSolidBrush(0x00FF00);
      const RECT all{0, 0, 40, 40};
      FillRect(dc, &all, brush);
      DeleteObject(brush);
      message.Result = 1;
      return;
    }
    if (message.Msg == WM_PRINTCLIENT) {
      const HBRUSH brush = CreateSolidBrush(0x0000FF);
      const RECT square{20, 20, 30, 30};
      FillRect(dc, &square, brush);
      DeleteObject(brush);
      return;
    }
    TWinControl::WndProc(message);
  }
  void Invalidate() override { ++invalidated; }
  int invalidated = 0;
};

class TSeeThrough : public TGraphicControl {
 public:
  explicit TSeeThrough(TComponent* owner) : TGraphicControl(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<TSeeThrough>("TSeeThrough", &TGraphicControl::StaticClass())
                                       .Property("Transparent", &TSeeThrough::Transparent, &TSeeThrough::SetTransparent)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v) { transparent_ = v; }
  void Invalidate() override { ++invalidated; }
  int invalidated = 0;

 private:
  bool transparent_ = false;
};

TEST_F(GlyphTest, ParentImageIsCopiedBehindTheChild) {
  TPictureParent parent(nullptr);
  auto* child = new TSeeThrough(&parent);
  child->SetBounds(15, 15, 20, 20);
  child->SetParent(&parent);
  CopyParentImageToDC(child, dib_.DC(), true);
  EXPECT_EQ(dib_.Pixel(0, 0), 0x00FF00u) << "background";
  EXPECT_EQ(dib_.Pixel(5, 5), 0x0000FFu) << "parent (20, 20) at child (5, 5)";
  EXPECT_EQ(dib_.Pixel(14, 14), 0x0000FFu);
  EXPECT_EQ(dib_.Pixel(15, 15), 0x00FF00u);
  // Clipped to the parent's 40 x 40 client area: child x 25 is parent x 40.
  EXPECT_EQ(dib_.Pixel(23, 23), 0x00FF00u);
  EXPECT_EQ(parent.invalidated, 1) << "a plain container is asked to repaint";
  // The DC's origin is back.
  SetPixel(dib_.DC(), 1, 1, 0xFF0000);
  EXPECT_EQ(dib_.Pixel(1, 1), 0xFF0000u);
}

TEST(TransparentChildrenTest, OnlyChildrenWithTransparentTrueAreInvalidated) {
  TPictureParent parent(nullptr);
  auto* clear = new TSeeThrough(&parent);
  clear->SetTransparent(true);
  clear->SetParent(&parent);
  auto* opaque = new TSeeThrough(&parent);
  opaque->SetParent(&parent);
  clear->invalidated = opaque->invalidated = 0;
  InvalidateTransparentChildren(&parent);
  EXPECT_EQ(clear->invalidated, 1);
  EXPECT_EQ(opaque->invalidated, 0);
}

}  // namespace
