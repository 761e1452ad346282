// Pens, brushes, fonts, gradients, shadows, corners and 3D options: defaults, change callbacks,
// lazily made sub-objects, assignment, and what the layout writer streams (only differences).
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <functional>
#include <vector>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"

namespace {

// Counts change callbacks.
struct ChangeCounter {
  int count = 0;
  void Changed(TObject*) { ++count; }
  TNotifyEvent Event() { return TNotifyEvent(this, &ChangeCounter::Changed); }
};

class AttributeObjectsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { KelCanvasStartup(); }
  ChangeCounter changes;
};

TEST_F(AttributeObjectsTest, NewObjectsStreamNothing) {
  TKelPen pen;
  TKelBrush brush;
  TKelFont font;
  TKelShadow shadow;
  TKelEmboss emboss;
  TKelGradient gradient;
  TView3DOptions options;
  TKelCorners corners;
  EXPECT_EQ(StreamedLines(&pen), "");
  EXPECT_EQ(StreamedLines(&brush), "");
  EXPECT_EQ(StreamedLines(&font), "");
  EXPECT_EQ(StreamedLines(&shadow), "");
  EXPECT_EQ(StreamedLines(&emboss), "");
  EXPECT_EQ(StreamedLines(&gradient), "");
  EXPECT_EQ(StreamedLines(&options), "");
  EXPECT_EQ(StreamedLines(&corners), "");
}

struct StreamCase {
  const char* name;
  std::function<TPersistent*()> make;
  const char* expected;
};

class AttributeStreamingTest : public testing::TestWithParam<StreamCase> {
 protected:
  static void SetUpTestSuite() { KelCanvasStartup(); }
};

TEST_P(AttributeStreamingTest, WritesOnlyTheDifferences) {
  std::unique_ptr<TPersistent> object(GetParam().make());
  EXPECT_EQ(StreamedLines(object.get()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttributeStreamingTest,
    testing::Values(
        StreamCase{"BrushDefaultColourRecorded",
                   [] {
                     auto* b = new TKelBrush();
                     b->SetDefaultColor(clWhite);
                     b->SetColor(clWhite);
                     return b;
                   },
                   ""},
        StreamCase{"BrushColourAndHatch",
                   [] {
                     auto* b = new TKelBrush();
                     b->SetColor(clRed);
                     b->SetHatchStyle(hsZigZag);
                     return b;
                   },
                   "Color = clRed\nHatchStyle = hsZigZag\n"},
        StreamCase{"PenWidthAndHidden",
                   [] {
                     auto* p = new TKelPen();
                     p->SetWidth(3);
                     p->SetVisible(false);
                     p->SetSmallDots(true);
                     return p;
                   },
                   "Width = 3\nSmallDots = True\nVisible = False\n"},
        StreamCase{"HiddenPenStaysHidden", [] { return new TKelHiddenPen(); }, ""},
        StreamCase{"HiddenPenShown",
                   [] {
                     auto* p = new TKelHiddenPen();
                     p->SetVisible(true);
                     return p;
                   },
                   "Visible = True\n"},
        StreamCase{"GrayPenDefault", [] { return new TDarkGrayPen(); }, ""},
        StreamCase{"FontFraction",
                   [] {
                     auto* f = new TKelFont();
                     f->SetSizeFloat(8.5f);
                     return f;
                   },
                   "SizeFloat = 8.5s\n"},
        StreamCase{"FontWholeSize",
                   [] {
                     auto* f = new TKelFont();
                     f->SetSizeFloat(9);
                     return f;
                   },
                   "Height = -12\n"},
        StreamCase{"ShadowSize",
                   [] {
                     auto* s = new TKelShadow();
                     s->SetHorizSize(3);
                     s->SetTransparency(0);
                     return s;
                   },
                   "HorizSize = 3\nTransparency = 0\n"},
        StreamCase{"GradientMidColourNotStoredAsStops",
                   [] {
                     auto* g = new TKelGradient();
                     g->SetMidColor(clRed);
                     return g;
                   },
                   "MidColor = clRed\n"},
        StreamCase{"GradientOffsetMoved",
                   [] {
                     auto* g = new TKelGradient();
                     g->Colors()->Item(1)->SetOffset(0.75);
                     return g;
                   },
                   "Colors = <\n"},
        StreamCase{"ViewPerspectiveCapped",
                   [] {
                     auto* o = new TView3DOptions();
                     o->SetPerspective(150);
                     o->SetOrthogonal(false);
                     return o;
                   },
                   "Orthogonal = False\nPerspective = 100\n"}),
    [](const testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

TEST_F(AttributeObjectsTest, BrushHatchSetsToolkitStyleForTheFirstSix) {
  TKelBrush brush;
  brush.SetHatchStyle(hsDiagonalCross);
  EXPECT_EQ(brush.Style(), bsDiagCross);
  brush.SetStyle(bsSolid);
  brush.SetHatchStyle(hsZigZag);
  EXPECT_EQ(brush.Style(), bsSolid);
}

// A new brush on a canvas: no back colour (the device goes transparent), and neither gradient
// nor picture, so a fill is one solid colour, its own.
TEST_F(GdiCanvasTest, ANewBrushFillsSolidAndLeavesTheBackTransparent) {
  TKelBrush brush;
  EXPECT_EQ(brush.Color(), clDefault);
  SetBkMode(surface->DC(), OPAQUE);
  canvas->UseBrush(&brush);
  EXPECT_EQ(GetBkMode(surface->DC()), TRANSPARENT);
  EXPECT_FALSE(brush.HasGradient());
  EXPECT_FALSE(brush.HasPicture());
  const TRect area(10, 10, 60, 40);
  canvas->FillRect(area);
  const TColor solid = static_cast<TColor>(ColorToRGB(clDefault));
  EXPECT_EQ(surface->Count(solid, area), area.Width() * area.Height());
  EXPECT_EQ(surface->InkBounds(), solid == clWhite ? TRect() : area);
}

TEST_F(AttributeObjectsTest, PenFillIsMadeOnFirstRead) {
  TKelPen pen(changes.Event());
  EXPECT_FALSE(pen.HasGradientFill());
  EXPECT_FALSE(pen.HasFill());
  pen.Fill()->Gradient()->SetVisible(true);
  EXPECT_TRUE(pen.HasGradientFill());
  EXPECT_GT(changes.count, 0) << "the fill reports through the pen's callback";
  TKelPen plain;
  pen.Assign(&plain);
  EXPECT_FALSE(pen.HasFill()) << "a source without Fill frees ours";
}

// Half the width of a visible pen of two pixels or more (truncated); nothing for thin or hidden.
TEST_F(AttributeObjectsTest, PenHalfWidth) {
  struct Case {
    int width;
    bool visible;
    int half;
  } cases[] = {{0, true, 0}, {1, true, 0}, {2, true, 1}, {3, true, 1}, {4, true, 2},
               {5, true, 2}, {9, true, 4}, {4, false, 0}, {1, false, 0}};
  for (const Case& c : cases) {
    TKelPen pen;
    pen.SetWidth(c.width);
    pen.SetVisible(c.visible);
    EXPECT_EQ(pen.HalfWidth(), c.half) << c.width << (c.visible ? " visible" : " hidden");
  }
}

TEST_F(AttributeObjectsTest, SettersNotifyOnlyOnChange) {
  TKelPen pen(changes.Event());
  pen.SetEndStyle(esFlat);
  pen.SetEndStyle(esFlat);
  pen.SetJoinStyle(jsBevel);
  EXPECT_EQ(changes.count, 2);
  pen.SetDefaultEndStyle(esSquare);
  EXPECT_EQ(changes.count, 2) << "recording a default is silent";
}

TEST_F(AttributeObjectsTest, FontSizeFloatSplitsSizeAndFraction) {
  TKelFont font(changes.Event());
  font.SetSizeFloat(8.5f);
  EXPECT_EQ(font.Size(), 8);
  EXPECT_FLOAT_EQ(font.SizeFloat(), 8.5f);
  const int before = changes.count;
  font.SetSizeFloat(8.5f);
  EXPECT_EQ(changes.count, before) << "the same value does nothing";
  font.SetSizeFloat(9);
  EXPECT_EQ(font.Size(), 9);
  EXPECT_FLOAT_EQ(font.SizeFloat(), 9.0f);
}

TEST_F(AttributeObjectsTest, FontStartsWithTheDrawingSurfaceDefaults) {
  TKelFont font;
  EXPECT_EQ(font.Name(), KelDefaultFontName);
  EXPECT_EQ(font.Size(), KelDefaultFontSize);
  EXPECT_EQ(font.Color(), clBlack);
  EXPECT_EQ(font.Brush()->Color(), clBlack);
  EXPECT_FALSE(font.HasShadow());
  EXPECT_FALSE(font.HasEmboss());
  EXPECT_FALSE(font.Emboss()->Visible()) << "an emboss starts invisible";
  EXPECT_EQ(font.Emboss()->Direction(), sdLeftTop);
}

TEST_F(AttributeObjectsTest, FontAssignCopiesSubObjects) {
  TKelFont source;
  source.Shadow()->SetHorizSize(4);
  source.SetInterCharSize(2);
  source.SetSizeFloat(10.25f);
  source.SetQuality(TKelFontQuality::fqBest);
  TKelFont target;
  target.Emboss()->SetVisible(true);
  target.Assign(&source);
  EXPECT_EQ(target.Shadow()->HorizSize(), 4);
  EXPECT_FALSE(target.HasEmboss()) << "a source without Emboss frees ours";
  EXPECT_EQ(target.InterCharSize(), 2);
  EXPECT_FLOAT_EQ(target.SizeFloat(), 10.25f);
  EXPECT_EQ(target.Quality(), TKelFontQuality::fqBest);
}

TEST_F(AttributeObjectsTest, PlainToolkitSourcesCopyOnlyTheToolkitPart) {
  TKelPen pen;
  pen.SetSmallDots(true);
  TPen plain;
  plain.SetColor(clBlue);
  pen.Assign(&plain);
  EXPECT_EQ(pen.Color(), clBlue);
  EXPECT_TRUE(pen.SmallDots());
}

TEST_F(AttributeObjectsTest, GradientStopsAreMadeOnFirstRead) {
  TKelGradient gradient(changes.Event());
  EXPECT_EQ(gradient.StartColor(), clWhite);
  EXPECT_EQ(gradient.EndColor(), clYellow);
  EXPECT_EQ(gradient.MidColor(), clNone);
  EXPECT_FALSE(gradient.HasColors());
  EXPECT_EQ(gradient.Colors()->Count(), 2);
  gradient.SetMidColor(clRed);
  ASSERT_EQ(gradient.Colors()->Count(), 3);
  EXPECT_DOUBLE_EQ(gradient.Colors()->Item(1)->Offset(), 0.5);
  EXPECT_EQ(gradient.MidColor(), clRed);
  gradient.SetMidColor(clNone);
  EXPECT_EQ(gradient.Colors()->Count(), 2);
  EXPECT_FALSE(gradient.IsColorsStored());
}

// A layout can leave the stop list with fewer stops than a gradient makes itself (an empty
// Colors, say): a middle colour still lands on a stop of its own, and nothing reads past the list.
TEST_F(AttributeObjectsTest, MidColorOnAShortStopList) {
  struct Case {
    const char* name;
    std::vector<TColor> before;
    std::vector<TColor> after;
    std::vector<double> offsets;
    TColor mid;
  } cases[] = {
      {"emptied", {}, {clRed}, {0.5}, clNone},
      {"one stop", {clWhite}, {clWhite, clRed}, {0, 0.5}, clNone},
      {"two stops", {clWhite, clYellow}, {clWhite, clRed, clYellow}, {0, 0.5, 1}, clRed},
      {"three stops", {clWhite, clLime, clYellow}, {clWhite, clRed, clYellow}, {0, 0.5, 1}, clRed},
  };
  for (const Case& c : cases) {
    TKelGradient gradient;
    TKelGradientColors* stops = gradient.Colors();
    stops->Clear();
    for (std::size_t i = 0; i < c.before.size(); ++i) {
      stops->AddStop(c.before[i], 0, c.before.size() == 1 ? 0 : static_cast<double>(i) / (c.before.size() - 1));
    }
    ChangeCounter counter;
    gradient.SetOnChange(counter.Event());
    gradient.SetMidColor(clRed);
    ASSERT_EQ(stops->Count(), static_cast<int>(c.after.size())) << c.name;
    for (int i = 0; i < stops->Count(); ++i) {
      EXPECT_EQ(stops->Item(i)->Color(), c.after[i]) << c.name << " stop " << i;
      EXPECT_DOUBLE_EQ(stops->Item(i)->Offset(), c.offsets[i]) << c.name << " stop " << i;
    }
    EXPECT_EQ(gradient.MidColor(), c.mid) << c.name;
    EXPECT_EQ(counter.count, 1) << c.name;
  }
}

TEST_F(AttributeObjectsTest, GradientStopsStaySortedAndClamped) {
  TKelGradient gradient;
  TKelGradientColors* stops = gradient.Colors();
  stops->AddStop(clRed, 0, 0.3);
  stops->AddStop(clBlue, 0, 7);
  stops->AddStop(clLime, 0, -1);
  ASSERT_EQ(stops->Count(), 5);
  for (int i = 1; i < stops->Count(); ++i) EXPECT_LE(stops->Item(i - 1)->Offset(), stops->Item(i)->Offset());
  EXPECT_DOUBLE_EQ(stops->Item(stops->Count() - 1)->Offset(), 1.0);
}

TEST_F(AttributeObjectsTest, SubGradientCopiesItsTransparency) {
  TKelGradient a, b;
  a.SubGradient()->SetTransparency(20);
  a.SubGradient()->SetVisible(true);
  b.Assign(&a);
  ASSERT_TRUE(b.HasSubGradient());
  EXPECT_EQ(b.SubGradient()->Transparency(), 20);
  TKelGradient none;
  b.Assign(&none);
  EXPECT_FALSE(b.HasSubGradient());
}

TEST_F(AttributeObjectsTest, ShadowSizesAndCopies) {
  TKelShadow shadow(changes.Event());
  EXPECT_FALSE(shadow.IsShown());
  shadow.SetVertSize(-5);
  shadow.SetHorizSize(2);
  EXPECT_EQ(shadow.ReadSize(), 5);
  EXPECT_TRUE(shadow.IsShown());
  const int before = changes.count;
  TKelShadow copy;
  copy.SetClip(true);
  copy.Assign(&shadow);
  EXPECT_EQ(copy.VertSize(), -5);
  EXPECT_TRUE(copy.Clip()) << "Clip is not copied";
  EXPECT_EQ(changes.count, before);
}

TEST_F(AttributeObjectsTest, View3DZoomCallsBackWithTheRoundedValue) {
  TView3DOptions options;
  int reported = -1;
  options.ZoomChangedCallback = [&](int zoom) { reported = zoom; };
  options.ChangeZoomFloat(100.4);
  EXPECT_EQ(reported, 100);
  EXPECT_DOUBLE_EQ(options.ZoomFloat(), 100.4);
  EXPECT_EQ(options.Zoom(), 100);
}

TEST_F(AttributeObjectsTest, View3DOffsetsReportTheirAxis) {
  TView3DOptions options;
  std::vector<bool> calls;
  options.ScrolledCallback = [&](bool horizontal) { calls.push_back(horizontal); };
  options.SetHorizOffset(4);
  options.SetVertOffset(-2);
  options.SetVertOffset(-2);
  EXPECT_EQ(calls, (std::vector<bool>{true, false}));
  options.SetPerspective(-5);
  EXPECT_EQ(options.Perspective(), -5);
}

TEST_F(AttributeObjectsTest, View3DOrthoAngleTangent) {
  TView3DOptions options;
  EXPECT_NEAR(options.OrthoAngleTangent(), 1.0, 1e-12);
  options.SetOrthoAngle(120);
  EXPECT_NEAR(options.OrthoAngleTangent(), std::tan(60 * 3.14159265358979 / 180), 1e-9);
  options.SetOrthogonal(false);
  EXPECT_DOUBLE_EQ(options.OrthoAngleTangent(), 1.0);
  TView3DOptions copy;
  copy.Assign(&options);
  EXPECT_EQ(copy.OrthoAngle(), 120);
  EXPECT_FALSE(copy.Orthogonal());
}

TEST_F(AttributeObjectsTest, CornersCopyStylesSilently) {
  TKelCorners corners(changes.Event());
  TKelCorner bevel;
  bevel.SetStyle(cosBevel);
  corners.SetLeftTop(&bevel);
  EXPECT_EQ(corners.LeftTop()->Style(), cosBevel);
  EXPECT_EQ(changes.count, 0);
  corners.RightBottom()->SetStyle(cosNone);
  EXPECT_EQ(changes.count, 1);
}

}  // namespace
