// Clipping through the shared clip stack (every primitive leaves the depth as it found it; a
// pop undoes only its own push, per device context) and buffered drawing into the off-screen
// bitmap with its repaint from the buffer.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "CanvasTestSupport.h"
#include "canvas/ClipStack.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPath.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/View3DOptions.h"

namespace {

bool HasClip(HDC dc) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool clipped = GetClipRgn(dc, rgn) == 1;
  DeleteObject(rgn);
  return clipped;
}

TEST_F(GdiCanvasTest, PushOnAnUnclippedDeviceAndPopLeavesNoClip) {
  HDC dc = surface->DC();
  canvas->ClipToRect(TRect(10, 10, 20, 20));
  EXPECT_TRUE(HasClip(dc));
  EXPECT_EQ(ClipStackDepth(dc), 1);
  canvas->PopClip();
  EXPECT_FALSE(HasClip(dc));
  EXPECT_EQ(ClipStackDepth(dc), 0);
}

TEST_F(GdiCanvasTest, TwoPushesAndOnePopKeepTheFirstClip) {
  canvas->ClipToRect(TRect(0, 0, 100, 100));
  canvas->ClipToRect(TRect(0, 0, 20, 20));
  canvas->PopClip();
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(TRect(0, 0, 200, 120));
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(0, 0, 100, 100));
  canvas->PopClip();
  EXPECT_FALSE(HasClip(surface->DC()));
}

// Two device contexts that both carry a clip region of their own before the first push: each pop
// gives back its own context's region, whatever the order of the pushes and pops on the other.
TEST_F(GdiCanvasTest, TwoSurfacesThatStartClippedGetBackTheirOwnRegions) {
  TDibSurface a(100, 100), b(100, 100);
  auto clipTo = [](HDC dc, int l, int t, int r, int b) {
    HRGN rgn = CreateRectRgn(l, t, r, b);
    SelectClipRgn(dc, rgn);
    DeleteObject(rgn);
  };
  auto box = [](HDC dc) {
    RECT r{};
    GetClipBox(dc, &r);
    return TRect(r.left, r.top, r.right, r.bottom);
  };
  clipTo(a.DC(), 0, 0, 50, 50);
  clipTo(b.DC(), 10, 10, 30, 30);
  PushClipRegion(a.DC(), CreateRectRgn(0, 0, 20, 20), RGN_AND);
  PushClipRegion(b.DC(), CreateRectRgn(0, 0, 15, 15), RGN_AND);
  PushClipRegion(a.DC(), CreateRectRgn(5, 5, 40, 40), RGN_AND);
  EXPECT_EQ(box(a.DC()), TRect(5, 5, 20, 20));
  EXPECT_EQ(box(b.DC()), TRect(10, 10, 15, 15));

  PopClipRegion(a.DC());
  EXPECT_EQ(box(a.DC()), TRect(0, 0, 20, 20));
  PopClipRegion(b.DC());
  EXPECT_EQ(box(b.DC()), TRect(10, 10, 30, 30));
  PopClipRegion(a.DC());
  EXPECT_EQ(box(a.DC()), TRect(0, 0, 50, 50));
  EXPECT_TRUE(HasClip(a.DC()));
  EXPECT_TRUE(HasClip(b.DC()));
  EXPECT_EQ(ClipStackDepth(a.DC()), 0);
  EXPECT_EQ(ClipStackDepth(b.DC()), 0);
}

// A canvas that lets its device go with a push still open leaves nothing behind on the stack: a
// later context with the same handle value (here: the same DC, its clip cleared as a new one's
// is) pops to no clip instead of to the region saved for the old one.
struct LetGoCase {
  const char* name;
  std::function<void(std::unique_ptr<TKelCanvas3D>&, TDibSurface&)> letGo;
};

class ClipLetGoTest : public GdiCanvasTest, public testing::WithParamInterface<LetGoCase> {};

TEST_P(ClipLetGoTest, UnpairedPushesAreDropped) {
  HDC dc = surface->DC();
  HRGN first = CreateRectRgn(0, 0, 40, 40);
  SelectClipRgn(dc, first);  // the old context was clipped before the push
  DeleteObject(first);
  canvas->ClipToRect(TRect(10, 10, 30, 30));
  ASSERT_EQ(ClipStackDepth(dc), 1);
  TDibSurface elsewhere(20, 20);
  GetParam().letGo(canvas, elsewhere);
  EXPECT_EQ(ClipStackDepth(dc), 0);

  SelectClipRgn(dc, nullptr);
  TKelCanvas3D next;
  next.SetBuffered(false);
  next.SetTargetCanvas(surface->Canvas());
  next.PopClip();  // unpaired: nothing of its own to restore
  next.Pen()->Hide();
  next.Brush()->SetColor(clBlue);
  next.FillRect(TRect(0, 0, 200, 120));
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(0, 0, 200, 120));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipLetGoTest,
    testing::Values(LetGoCase{"Destroyed", [](auto& canvas, TDibSurface&) { canvas.reset(); }},
                    LetGoCase{"Detached", [](auto& canvas, TDibSurface&) { canvas->SetTargetCanvas(nullptr); }},
                    LetGoCase{"MovedToAnotherDevice",
                              [](auto& canvas, TDibSurface& other) { canvas->SetTargetCanvas(other.Canvas()); }}),
    [](const testing::TestParamInfo<LetGoCase>& info) { return std::string(info.param.name); });

TEST_F(GdiCanvasTest, ACanvasLettingGoKeepsTheOpenPushesOfOthers) {
  TKelCanvas3D second;
  second.SetBuffered(false);
  second.SetTargetCanvas(surface->Canvas());
  second.ClipToRect(TRect(0, 0, 50, 50));
  canvas->ClipToRect(TRect(0, 0, 30, 30));
  canvas->SetTargetCanvas(nullptr);
  EXPECT_EQ(ClipStackDepth(surface->DC()), 1) << "only the canvas's own push goes";
  second.PopClip();
  EXPECT_FALSE(HasClip(surface->DC()));
}

TEST_F(GdiCanvasTest, APopNeverRestoresAnotherCanvassRegion) {
  TDibSurface other(50, 50);
  TKelCanvas3D second;
  second.SetBuffered(false);
  second.SetTargetCanvas(other.Canvas());
  canvas->ClipToRect(TRect(0, 0, 30, 30));
  second.ClipToRect(TRect(0, 0, 10, 10));
  canvas->PopClip();
  EXPECT_FALSE(HasClip(surface->DC()));
  EXPECT_TRUE(HasClip(other.DC())) << "the other canvas keeps its own clip";
  second.PopClip();
  EXPECT_FALSE(HasClip(other.DC()));
}

TEST_F(GdiCanvasTest, ExcludedPolygonCutsAHole) {
  canvas->ClipToPolygon({TPoint(40, 40), TPoint(60, 40), TPoint(60, 60), TPoint(40, 60)}, 3, 4, true);
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(TRect(0, 0, 100, 100));
  canvas->PopClip();
  EXPECT_EQ(surface->Pixel(50, 50), clWhite);
  EXPECT_EQ(surface->Pixel(30, 30), clBlue);
}

struct PrimitiveCase {
  const char* name;
  std::function<void(TKelCanvas3D&)> draw;
};

class ClipDepthTest : public GdiCanvasTest, public testing::WithParamInterface<PrimitiveCase> {};

// Every primitive, with a plain, a gradient and a picture brush, leaves the clip stack and the
// device clip as it found them (here: one clip of the caller's).
TEST_P(ClipDepthTest, PrimitiveLeavesTheClipStackAlone) {
  HDC dc = surface->DC();
  TBitmap picture(4, 4);
  for (int fill = 0; fill < 3; ++fill) {
    canvas->Brush()->SetColor(clBlue);
    canvas->Brush()->Gradient()->SetVisible(fill == 1);
    if (fill == 2) {
      canvas->Brush()->Image()->SetGraphic(&picture);
    } else {
      canvas->Brush()->SetImage(nullptr);
    }
    canvas->Font()->Brush()->Gradient()->SetVisible(fill == 1);
    canvas->ClipToRect(TRect(5, 5, 190, 110));
    GetParam().draw(*canvas);
    EXPECT_EQ(ClipStackDepth(dc), 1) << "fill " << fill;
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_EQ(TRect(box), TRect(5, 5, 190, 110)) << "fill " << fill;
    canvas->PopClip();
    EXPECT_EQ(ClipStackDepth(dc), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Primitives, ClipDepthTest,
    testing::Values(
        PrimitiveCase{"Rectangle", [](TKelCanvas3D& c) { c.Rectangle(10, 10, 60, 60); }},
        PrimitiveCase{"RoundRect", [](TKelCanvas3D& c) { c.RoundRect(10, 10, 60, 60, 12, 12); }},
        PrimitiveCase{"Ellipse", [](TKelCanvas3D& c) { c.Ellipse(10, 10, 60, 50); }},
        PrimitiveCase{"Pie", [](TKelCanvas3D& c) { c.Pie(10, 10, 60, 60, 60, 35, 35, 10); }},
        PrimitiveCase{"PieByAngles", [](TKelCanvas3D& c) { c.PieByAngles(TRect(10, 10, 60, 60), 30, 200); }},
        PrimitiveCase{"Polygon",
                      [](TKelCanvas3D& c) { c.Polygon({TPoint(10, 10), TPoint(60, 20), TPoint(30, 70)}, 2); }},
        PrimitiveCase{"PolygonF",
                      [](TKelCanvas3D& c) {
                        c.PolygonF({TPointFloat{10.4f, 10}, TPointFloat{60, 20.6f}, TPointFloat{30, 70}}, 2);
                      }},
        PrimitiveCase{"Polyline", [](TKelCanvas3D& c) { c.Polyline({TPoint(10, 10), TPoint(60, 20)}, 1); }},
        PrimitiveCase{"FillRect", [](TKelCanvas3D& c) { c.FillRect(TRect(10, 10, 40, 40)); }},
        PrimitiveCase{"DonutSlice", [](TKelCanvas3D& c) { c.DrawDonutSlice(50, 50, 30, 30, 0.2, 2.5, 40); }},
        PrimitiveCase{"PieSlice", [](TKelCanvas3D& c) { c.DrawDonutSlice(50, 50, 30, 30, 0.2, 2.5, 0); }},
        PrimitiveCase{"CorneredRect", [](TKelCanvas3D& c) { c.DrawCorneredRect(TRect(10, 10, 80, 60), 10, 10, nullptr); }},
        PrimitiveCase{"Path",
                      [](TKelCanvas3D& c) {
                        std::unique_ptr<TKelBasePath> path(c.NewPath());
                        path->AddPoints({TPoint(10, 10), TPoint(70, 10), TPoint(40, 60)}, 2, true);
                        path->DrawPath(c);
                      }},
        PrimitiveCase{"TextOut", [](TKelCanvas3D& c) { c.TextOut(20, 20, "Clip"); }},
        PrimitiveCase{"RotatedText", [](TKelCanvas3D& c) { c.RotatedTextOut(40, 80, "Turn", 90, false); }},
        PrimitiveCase{"Graphic",
                      [](TKelCanvas3D& c) {
                        TBitmap b(6, 6);
                        c.DrawGraphicStretched(TRect(10, 10, 40, 30), &b);
                      }},
        PrimitiveCase{"CheckBox", [](TKelCanvas3D& c) { c.DrawCheckBox(10, 10, true, 0, false); }},
        PrimitiveCase{"ClipToBox2D",
                      [](TKelCanvas3D& c) {
                        c.ClipToBox3D(TRect(10, 10, 50, 50), 0, 10);
                        c.PopClip();
                      }}),
    [](const testing::TestParamInfo<PrimitiveCase>& info) { return std::string(info.param.name); });

TEST_F(GdiCanvasTest, ClipToBoxIn2DShrinksLeftTopAndBottom) {
  canvas->ClipToBox3D(TRect(10, 10, 50, 50), 0, 10);
  RECT box{};
  GetClipBox(surface->DC(), &box);
  canvas->PopClip();
  EXPECT_EQ(TRect(box), TRect(11, 11, 50, 49));
}

class BufferTest : public GdiCanvasTest {
 protected:
  void SetUp() override {
    GdiCanvasTest::SetUp();
    buffered = std::make_unique<TKelCanvas3D>();
  }
  void DrawFrame() {
    TRect drawRect;
    buffered->PrepareFrame(surface->Canvas(), &options, clWhite, false, TRect(20, 10, 120, 70), drawRect);
    EXPECT_EQ(drawRect, TRect(0, 0, 100, 60));
    buffered->Pen()->Hide();
    buffered->Brush()->SetColor(clBlue);
    buffered->FillRect(drawRect);
    buffered->FinishFrame(surface->Canvas(), nullptr, TRect(20, 10, 120, 70));
  }
  std::unique_ptr<TKelCanvas3D> buffered;
  TView3DOptions options;
};

TEST_F(BufferTest, FinishFrameCopiesTheBufferAndMarksItValid) {
  DrawFrame();
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(20, 10, 120, 70));
  EXPECT_FALSE(buffered->BufferInvalid);
  EXPECT_EQ(buffered->DeviceCanvas(), nullptr);
}

TEST_F(BufferTest, RestoreFromBufferCopiesWhileValid) {
  DrawFrame();
  surface->Clear();
  buffered->SetTargetCanvas(surface->Canvas());
  EXPECT_TRUE(buffered->RestoreFromBuffer());
  EXPECT_EQ(surface->BoundsOf(clBlue), TRect(0, 0, 100, 60));
}

TEST_F(BufferTest, RestoreFromBufferAfterInvalidateCopiesNothing) {
  DrawFrame();
  surface->Clear();
  buffered->SetTargetCanvas(surface->Canvas());
  buffered->InvalidateBuffer();
  EXPECT_FALSE(buffered->RestoreFromBuffer());
  EXPECT_EQ(surface->InkBounds(), TRect());
}

TEST_F(BufferTest, MonochromeChangeInvalidatesTheBuffer) {
  DrawFrame();
  buffered->ChangeMonochrome(true);
  EXPECT_TRUE(buffered->BufferInvalid);
  EXPECT_TRUE(buffered->IsMonochrome());
}

TEST_F(BufferTest, CopyBufferToNeedsTheWholeValidBuffer) {
  DrawFrame();
  TBitmap copy;
  EXPECT_FALSE(buffered->CopyBufferTo(&copy, TRect(0, 0, 50, 60)));
  ASSERT_TRUE(buffered->CopyBufferTo(&copy, TRect(0, 0, 100, 60)));
  EXPECT_EQ(copy.Width(), 100);
  buffered->InvalidateBuffer();
  EXPECT_FALSE(buffered->CopyBufferTo(&copy, TRect(0, 0, 100, 60)));
}

TEST_F(BufferTest, SwitchingBufferingOffDropsTheBitmap) {
  DrawFrame();
  ASSERT_NE(buffered->BufferBitmap, nullptr);
  buffered->SetBuffered(false);
  EXPECT_EQ(buffered->BufferBitmap, nullptr);
  EXPECT_TRUE(buffered->BufferInvalid);
  TRect drawRect;
  buffered->PrepareFrame(surface->Canvas(), &options, clWhite, false, TRect(20, 10, 120, 70), drawRect);
  EXPECT_EQ(drawRect, TRect(20, 10, 120, 70));
  EXPECT_EQ(buffered->DeviceCanvas(), surface->Canvas());
}

}  // namespace
