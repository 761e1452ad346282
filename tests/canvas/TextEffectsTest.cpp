// Text on the GDI canvas with the pieces that need the image filters and the mark-up routines:
// the smooth font shadow blurred in the buffer, and mark-up text through TextOutAllowMarkup and
// WriteText3D.
#include <gtest/gtest.h>

#include <string>

#include "CanvasTestSupport.h"
#include "canvas/KelFont.h"
#include "canvas/KelHtml.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"

namespace {

int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }

class TextEffectsTest : public GdiCanvasTest {
 protected:
  // Draws "HH" with a blue shadow 60 pixels to the right on a buffered canvas clipped to
  // x < 150, then red "HH" below and red "HH" in the clipped-out part; answers the number of
  // half-blue pixels around the shadow copy.
  int DrawShadowedText(bool smooth) {
    TKelCanvas3D buffered;
    TView3DOptions options;
    TRect drawRect;
    buffered.PrepareFrame(surface->Canvas(), &options, clWhite, false, TRect(0, 0, 200, 120), drawRect);
    EXPECT_NE(buffered.BufferBitmap, nullptr);
    buffered.ClipToRect(TRect(0, 0, 150, 120));
    buffered.Font()->SetSize(20);
    buffered.Font()->SetColor(clBlack);
    TKelShadow* shadow = buffered.Font()->Shadow();
    shadow->SetVisible(true);
    shadow->SetColor(clBlue);
    shadow->SetHorizSize(60);
    shadow->SetVertSize(0);
    shadow->SetTransparency(0);
    shadow->SetSmooth(smooth);
    buffered.TextOut(20, 10, "HH");
    shadow->SetVisible(false);
    buffered.Font()->SetColor(clRed);
    buffered.TextOut(20, 70, "HH");
    buffered.TextOut(160, 70, "HH");
    buffered.PopClip();
    buffered.FinishFrame(surface->Canvas(), nullptr, TRect(0, 0, 200, 120));
    int halfBlue = 0;
    for (int y = 5; y < 60; ++y) {
      for (int x = 75; x < 140; ++x) {
        const TColor c = surface->Pixel(x, y);
        if (B(c) > 200 && R(c) > 40 && R(c) < 215 && R(c) == G(c)) ++halfBlue;
      }
    }
    return halfBlue;
  }

  int RedPixels(const TRect& area) {
    int count = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
      for (int x = area.Left; x < area.Right; ++x) {
        const TColor c = surface->Pixel(x, y);
        if (R(c) > 200 && G(c) < 80 && B(c) < 80) ++count;
      }
    }
    return count;
  }
};

TEST_F(TextEffectsTest, SmoothFontShadowIsBlurredAndLaterTextStillLands) {
  const int sharp = DrawShadowedText(false);
  surface->Clear();
  const int smooth = DrawShadowedText(true);
  EXPECT_GT(smooth, sharp + 20) << "the blur leaves intermediate pixels";
  EXPECT_GT(RedPixels(TRect(15, 65, 80, 115)), 20) << "later text reaches the buffer";
  EXPECT_EQ(RedPixels(TRect(150, 60, 200, 120)), 0) << "the clip is intact";
}

TEST_F(TextEffectsTest, MarkupFlagChoosesTheMarkupRoutines) {
  MarkupFontStack().clear();
  canvas->Font()->SetSize(14);
  canvas->Font()->SetColor(clBlack);
  canvas->TextOutAllowMarkup(10, 10, "<FONT COLOR=RED>HH</FONT>", true);
  EXPECT_GT(RedPixels(TRect(0, 0, 200, 60)), 10);
  surface->Clear();
  canvas->TextOutAllowMarkup(10, 10, "<FONT COLOR=RED>HH</FONT>", false);
  EXPECT_EQ(RedPixels(TRect(0, 0, 200, 60)), 0) << "the tags are plain text";
  EXPECT_GT(surface->Count(clBlack), 10);
  surface->Clear();
  canvas->WriteText3D(10, 10, 0, "<FONT COLOR=RED>HH</FONT>", true);
  EXPECT_GT(RedPixels(TRect(0, 0, 200, 60)), 10);
}

}  // namespace
