// The smooth font shadow and emboss on the buffered GDI+ canvas: the copy of the text is
// blurred in the buffer bitmap over the text rectangle (grown for a shadow, shrunk for an
// emboss), placed through the world transform, clamped to the buffer and skipped when empty.
// Each case is compared with the same text drawn with a sharp copy: the pixels the blur
// changed are where it worked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

struct TEffect {
  bool emboss = false;
  int horiz = 0;
  int vert = 0;
  bool smooth = true;
  int blur = 2;
};

class GdiPlusTextBlurTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
  void SetUp() override {
    surface = std::make_unique<TDibSurface>(200, 120);
    canvas = std::make_unique<TGDIPlusCanvas>();
    ASSERT_TRUE(canvas->IsAvailable());
  }
  void TearDown() override {
    canvas.reset();
    surface.reset();
  }

  // One buffered frame: `text` in black at (x, y) with a blue shadow or emboss copy, inside
  // an element moved by `offset`.
  void DrawFrame(const TEffect& e, int x, int y, const std::string& text, TPoint offset = TPoint(0, 0)) {
    TView3DOptions options;
    TRect drawRect;
    canvas->PrepareFrame(surface->Canvas(), &options, clWhite, false, TRect(0, 0, 200, 120), drawRect);
    ASSERT_NE(canvas->BufferBitmap, nullptr);
    canvas->Pen()->Hide();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(drawRect);
    canvas->SetBackMode(TRANSPARENT);
    TKelFont* font = canvas->Font();
    font->SetName("Arial");
    font->SetSize(20);
    font->SetColor(clBlack);
    font->SetQuality(TKelFontQuality::fqNormal);
    TKelShadow* effect = e.emboss ? static_cast<TKelShadow*>(font->Emboss()) : font->Shadow();
    effect->SetVisible(true);
    effect->SetColor(clBlue);
    effect->SetHorizSize(e.horiz);
    effect->SetVertSize(e.vert);
    effect->SetTransparency(0);
    effect->SetSmooth(e.smooth);
    effect->SetSmoothBlur(e.blur);
    canvas->ApplyFont();
    TElementTransform moved;
    moved.Enabled = true;
    moved.Offset = {static_cast<float>(offset.X), static_cast<float>(offset.Y)};
    canvas->BeginElement("text", 0, offset.X != 0 || offset.Y != 0 ? &moved : nullptr);
    canvas->TextOut(x, y, text);
    canvas->EndElement();
    canvas->FinishFrame(surface->Canvas(), nullptr, TRect(0, 0, 200, 120));
  }

  // Draws the frame with a sharp copy, then with `e`; answers the pixels inside `area` that
  // differ between the two.
  int ChangedBySmoothing(const TEffect& e, int x, int y, const std::string& text, const TRect& area,
                         TPoint offset = TPoint(0, 0)) {
    TEffect sharp = e;
    sharp.smooth = false;
    surface->Clear();
    DrawFrame(sharp, x, y, text, offset);
    std::vector<TColor> before;
    for (int py = 0; py < 120; ++py) {
      for (int px = 0; px < 200; ++px) before.push_back(surface->Pixel(px, py));
    }
    surface->Clear();
    DrawFrame(e, x, y, text, offset);
    int changed = 0;
    for (int py = std::max(area.Top, 0); py < std::min(area.Bottom, 120); ++py) {
      for (int px = std::max(area.Left, 0); px < std::min(area.Right, 200); ++px) {
        if (surface->Pixel(px, py) != before[py * 200 + px]) ++changed;
      }
    }
    return changed;
  }

  std::unique_ptr<TDibSurface> surface;
  std::unique_ptr<TGDIPlusCanvas> canvas;
};

const TRect kAll(0, 0, 200, 120);

TEST_F(GdiPlusTextBlurTest, TheCopyIsBlurredOnlyWhenSmoothWithABlur) {
  struct Case {
    const char* name;
    TEffect effect;
    int x, y;
    TRect copyArea;  // around the copy, clear of the text itself
    bool blurred;
  } cases[] = {
      {"smooth shadow to the right", {false, 60, 0, true, 2}, 20, 10, TRect(75, 0, 150, 50), true},
      {"smooth shadow without a blur", {false, 60, 0, true, 0}, 20, 10, kAll, false},
      // The copy lies up and to the left: the rectangle still grows around it.
      {"smooth shadow up and left", {false, -10, -10, true, 2}, 100, 50, TRect(80, 30, 100, 80), true},
  };
  for (const Case& c : cases) {
    const int changed = ChangedBySmoothing(c.effect, c.x, c.y, "HH", c.copyArea);
    if (c.blurred) {
      EXPECT_GT(changed, 20) << c.name;
    } else {
      EXPECT_EQ(changed, 0) << c.name;
    }
    EXPECT_GT(surface->Count(clBlack), 20) << c.name << ": the text is drawn over it";
  }
}

TEST_F(GdiPlusTextBlurTest, TheBlurFollowsAnElementOffset) {
  // Text at (10, 10) in an element moved by (100, 60): the copy lands near (114, 74).
  EXPECT_GT(ChangedBySmoothing({false, 4, 4, true, 2}, 10, 10, "HH", TRect(100, 60, 200, 120), TPoint(100, 60)), 20);
  EXPECT_EQ(surface->Count(clBlack, TRect(0, 0, 100, 60)), 0) << "the text moved";
}

TEST_F(GdiPlusTextBlurTest, AnEmbossIsBlurredInsideTheTextRectangleOnly) {
  TPointFloat size;
  canvas->Font()->SetName("Arial");
  canvas->Font()->SetSize(20);
  canvas->Font()->Emboss()->SetVisible(true);
  canvas->Font()->Emboss()->ChangeSize(2);
  canvas->ApplyFont();
  canvas->MeasureTextF("HHHHHH", size);
  // The text rectangle shrunk by 2 × 2 + 3 on every side.
  const TRect inner(20 + 7, 20 + 7, static_cast<int>(std::lround(20 + size.X)) - 7,
                    static_cast<int>(std::lround(20 + size.Y)) - 7);
  ASSERT_LT(inner.Left, inner.Right);
  ASSERT_LT(inner.Top, inner.Bottom);
  const int changed = ChangedBySmoothing({true, 2, 2, true, 2}, 20, 20, "HHHHHH", kAll);
  EXPECT_GT(changed, 5);
  EXPECT_EQ(ChangedBySmoothing({true, 2, 2, true, 2}, 20, 20, "HHHHHH", inner), changed) << "nothing outside";
}

TEST_F(GdiPlusTextBlurTest, ABlurRectangleOutsideTheBufferIsClampedOrSkipped) {
  struct Case {
    const char* name;
    TEffect effect;
    int x, y;
    std::string text;
    bool blurred;
  } cases[] = {
      // Grown far past the right and bottom edges: the part inside is blurred.
      {"past the corner", {false, 30, 30, true, 3}, 150, 80, "HH", true},
      // Shrunk to nothing: the emboss copy stays as drawn.
      {"an emboss shrunk to nothing", {true, 30, 0, true, 3}, 20, 20, "H", false},
      // Entirely outside the buffer: nothing to blur.
      {"outside the buffer", {false, 4, 4, true, 3}, 400, 300, "HH", false},
  };
  for (const Case& c : cases) {
    const int changed = ChangedBySmoothing(c.effect, c.x, c.y, c.text, kAll);
    if (c.blurred) {
      EXPECT_GT(changed, 5) << c.name;
    } else {
      EXPECT_EQ(changed, 0) << c.name;
    }
  }
  EXPECT_TRUE(surface->InkBounds().IsEmpty()) << "the last frame drew nothing";
}

TEST_F(GdiPlusTextBlurTest, ABufferKeptThroughAnUnbufferedDrawingIsNotBlurred) {
  // The screen frame leaves black text in the buffer; an export then draws the same text with
  // a smooth shadow straight onto another surface while the buffer is kept.
  DrawFrame({false, 4, 4, false, 2}, 20, 10, "HH");
  TBitmap* buffer = canvas->BufferBitmap;
  ASSERT_NE(buffer, nullptr);
  auto snapshot = [&] {
    std::vector<COLORREF> pixels;
    for (int py = 0; py < buffer->Height(); ++py) {
      for (int px = 0; px < buffer->Width(); ++px) pixels.push_back(GetPixel(buffer->Canvas()->Handle(), px, py));
    }
    return pixels;
  };
  const std::vector<COLORREF> before = snapshot();
  TDibSurface exported(200, 120);
  canvas->KeepBuffer = true;
  canvas->SetBuffered(false);
  canvas->SetTargetCanvas(exported.Canvas());
  ASSERT_EQ(canvas->BufferBitmap, buffer);
  canvas->SetBackMode(TRANSPARENT);
  canvas->Font()->Shadow()->SetSmooth(true);
  canvas->TextOut(20, 10, "HH");
  EXPECT_GT(exported.Count(clBlack), 20) << "the text went to the export";
  EXPECT_TRUE(snapshot() == before) << "the kept buffer is untouched";
  canvas->KeepBuffer = false;
}

}  // namespace
