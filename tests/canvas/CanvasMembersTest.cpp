// Members of the canvas the chart engine calls directly: pen and brush use with colours and
// monochrome, font sizing with text zoom, colour helpers, arc angles, and the corner outline
// as it is handed to the canvas's path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelPath.h"
#include "canvas/KelPen.h"
#include "canvas/View3DOptions.h"

namespace {

TEST_F(GdiCanvasTest, UseBrushColorsKeepsAClearBrushsColour) {
  TKelBrush clear;
  clear.SetColor(clLime);
  clear.SetStyle(bsClear);
  canvas->UseBrushColors(&clear, clRed, clBlue);
  EXPECT_EQ(canvas->Brush()->Color(), clLime);
  EXPECT_EQ(canvas->Brush()->BackColor(), clBlue);
  TKelBrush solid;
  canvas->UseBrushColors(&solid, clRed, clNone);
  EXPECT_EQ(canvas->Brush()->Color(), clRed);
}

TEST_F(GdiCanvasTest, MonochromeMakesBrushesWhiteAndPensBlack) {
  canvas->ChangeMonochrome(true);
  TKelBrush brush;
  canvas->UseBrushColors(&brush, clRed, clNone);
  EXPECT_EQ(canvas->Brush()->Color(), clWhite);
  TKelPen pen;
  canvas->UsePenColor(&pen, clRed);
  EXPECT_EQ(canvas->Pen()->Color(), clBlack);
}

TEST_F(GdiCanvasTest, UsePenWithAHiddenPenClearsTheStyle) {
  TKelPen pen;
  pen.Hide();
  canvas->UsePen(&pen);
  EXPECT_EQ(canvas->Pen()->Style(), psClear);
  EXPECT_EQ(canvas->DevicePen()->Style(), psClear);
}

struct ZoomCase {
  const char* name;
  double textZoom;
  bool active;
  float size;
  float expected;
};

class FontZoomTest : public GdiCanvasTest, public testing::WithParamInterface<ZoomCase> {};

TEST_P(FontZoomTest, AssignFontSizedScalesByTheTextZoom) {
  canvas->TextZoom = GetParam().textZoom;
  canvas->TextZoomActive = GetParam().active;
  TKelFont font;
  canvas->AssignFontSized(&font, GetParam().size);
  EXPECT_FLOAT_EQ(canvas->Font()->SizeFloat(), GetParam().expected);
  EXPECT_FALSE(canvas->FontLock);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontZoomTest,
                         testing::Values(ZoomCase{"Zoom150", 150, true, 8, 12}, ZoomCase{"Inactive", 150, false, 8, 8},
                                         ZoomCase{"Hundred", 100, true, 9.5f, 9.5f}),
                         [](const testing::TestParamInfo<ZoomCase>& info) { return std::string(info.param.name); });

TEST_F(GdiCanvasTest, FontsFollowTheThreeDZoomUnlessTextZoomIsOff) {
  TView3DOptions options;
  options.SetZoom(200);
  canvas->View3DOptions = &options;
  TKelFont font;
  font.SetSize(10);
  canvas->AssignFontZoomed(&font);
  EXPECT_FLOAT_EQ(canvas->Font()->SizeFloat(), 20);
  options.SetZoomText(ztNo);
  canvas->AssignFontZoomed(&font);
  EXPECT_FLOAT_EQ(canvas->Font()->SizeFloat(), 10);
  canvas->View3DOptions = nullptr;
}

TEST(CanvasColours, ColorToRGBValue) {
  EXPECT_EQ(TKelCanvas::ColorToRGBValue(clNone), 0);
  EXPECT_EQ(TKelCanvas::ColorToRGBValue(clRed), clRed);
  EXPECT_EQ(TKelCanvas::ColorToRGBValue(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(TKelCanvas::ColorToRGBValue(clDefault), clDefault) << "not a system colour";
  EXPECT_EQ(TKelCanvas::ColorAlpha(TKelCanvas::ColorWithAlpha(0x00123456, 0x80)), 0x80);
  EXPECT_EQ(TKelCanvas::ColorWithAlpha(0x7F123456, 0x01), 0x01123456);
}

TEST(CanvasAngles, ArcAnglesOfTheRadialPoints) {
  float start, end;
  TKelCanvas::ArcAngles(0, 0, 100, 100, 100, 50, 50, 0, start, end);
  EXPECT_FLOAT_EQ(start, 0);
  EXPECT_FLOAT_EQ(end, 90);
  TKelCanvas::ArcAngles(0, 0, 100, 100, 50, 100, 0, 50, start, end);
  EXPECT_FLOAT_EQ(start, 270);
  EXPECT_FLOAT_EQ(end, 180);
}

// A path that records its operations, so the corner outline can be read back.
class TRecordingPath : public TKelBasePath {
 public:
  explicit TRecordingPath(std::vector<std::string>& log) : log_(log) {}
  void AddArc(float x, float y, float w, float h, float start, float sweep) override {
    log_.push_back("arc " + Num(x) + " " + Num(y) + " " + Num(w) + " " + Num(h) + " " + Num(start) + " " + Num(sweep));
  }
  void CloseFigure() override { log_.push_back("close"); }
  void AddPoints(const TPointArray&, int, bool) override { log_.push_back("points"); }
  void DrawPath(TKelCanvas&) override { log_.push_back("draw"); }
  void GetPathData(TKelPathData&) override {}
  void AddLineTo(float x, float y) override { log_.push_back("line " + Num(x) + " " + Num(y)); }
  void StartFigureAt(float x, float y) override { log_.push_back("start " + Num(x) + " " + Num(y)); }
  void AddText(const std::string&, float, float) override {}

 private:
  static std::string Num(float v) { return std::to_string(static_cast<int>(v)); }
  std::vector<std::string>& log_;
};

class TRecordingCanvas : public TKelCanvas3D {
 public:
  TKelBasePath* NewPath() override { return new TRecordingPath(log); }
  std::vector<std::string> log;
};

struct CornerCase {
  const char* name;
  TKelCornerStyle lt, rt, rb, lb;
  int cornerWidth;
  std::vector<std::string> expected;
};

class CornerPathTest : public testing::TestWithParam<CornerCase> {};

TEST_P(CornerPathTest, OutlineRunsClockwiseFromTheTopRight) {
  const CornerCase& c = GetParam();
  TKelCorners corners;
  corners.LeftTop()->SetStyle(c.lt);
  corners.RightTop()->SetStyle(c.rt);
  corners.RightBottom()->SetStyle(c.rb);
  corners.LeftBottom()->SetStyle(c.lb);
  TRecordingCanvas canvas;
  std::unique_ptr<TKelBasePath> path(BuildCornerPath(corners, canvas, TRect(10, 20, 50, 60), c.cornerWidth, 8));
  EXPECT_EQ(canvas.log, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CornerPathTest,
    testing::Values(
        CornerCase{"AllNoneIsTheRectangle", cosNone, cosNone, cosNone, cosNone, 8,
                   {"start 50 20", "line 50 60", "line 10 60", "line 10 20", "close"}},
        CornerCase{"AllRoundIsFourArcs", cosRound, cosRound, cosRound, cosRound, 8,
                   {"arc 42 20 8 8 270 90", "arc 42 52 8 8 0 90", "arc 10 52 8 8 90 90", "arc 10 20 8 8 180 90",
                    "close"}},
        CornerCase{"AllBevels", cosBevel, cosBevel, cosBevel, cosBevel, 8,
                   {"start 46 20", "line 50 24", "line 50 56", "line 46 60", "line 14 60", "line 10 56", "line 10 24",
                    "line 14 20", "close"}},
        CornerCase{"CornerLimitedByAShortSide", cosNone, cosRound, cosNone, cosNone, 77,
                   {"start 10 20", "line 10 20", "arc 10 20 40 8 270 90", "line 50 28", "line 50 60", "line 10 60",
                    "close"}}),
    [](const testing::TestParamInfo<CornerCase>& info) { return std::string(info.param.name); });

}  // namespace
