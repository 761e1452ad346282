// The GDI+ wrappers under Wine's gdiplus.dll: the status rule, preset blends refused without
// colours, fonts of missing families, brush copies, rotation about a point, and the canvas's
// text quality setting.
#include <gtest/gtest.h>

#include <memory>

#include "CanvasTestSupport.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"

namespace {

class GdiPlusWrappersTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
  void SetUp() override {
    StartGdiPlus();
    ASSERT_TRUE(GdiPlusStarted());
  }
};

TEST_F(GdiPlusWrappersTest, AFailedCallKeepsItsStatusUntilRead) {
  TGPGraphicsPath path;
  EXPECT_EQ(path.LastStatus(), GpOk);
  EXPECT_EQ(path.AddLines(nullptr, 0), GpInvalidParameter);
  EXPECT_EQ(path.AddLine(0, 0, 10, 10), GpOk);
  EXPECT_EQ(path.LastStatus(), GpInvalidParameter) << "an Ok call leaves the last status";
  EXPECT_EQ(path.TakeLastStatus(), GpInvalidParameter);
  EXPECT_EQ(path.LastStatus(), GpOk);
  EXPECT_EQ(path.GetPointCount(), 2);
}

TEST_F(GdiPlusWrappersTest, PresetBlendsWithoutColoursAreRefusedWithoutACall) {
  TGPLinearGradientBrush linear(MakeRectF(0, 0, 10, 10), 0xFF000000u, 0xFFFFFFFFu, 1);
  ASSERT_EQ(linear.LastStatus(), GpOk);
  EXPECT_EQ(linear.SetPresetBlend(nullptr, nullptr, 0), GpInvalidParameter);
  EXPECT_EQ(linear.LastStatus(), GpInvalidParameter);

  const TArgb colors[3] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
  const float positions[3] = {0, 0.5f, 1};
  TGPLinearGradientBrush blended(MakeRectF(0, 0, 10, 10), 0xFF000000u, 0xFFFFFFFFu, 30.0f, false);
  EXPECT_EQ(blended.SetPresetBlend(colors, positions, 3), GpOk);

  TGPGraphicsPath path;
  path.AddEllipse(0, 0, 20, 20);
  TGPPathGradientBrush radial(&path);
  ASSERT_EQ(radial.LastStatus(), GpOk);
  EXPECT_EQ(radial.SetPresetBlend(nullptr, positions, 3), GpInvalidParameter);
  EXPECT_EQ(radial.SetPresetBlend(colors, positions, 3), GpOk);
  EXPECT_EQ(radial.SetCenterPoint(TPoint(5, 7)), GpOk);
  TPoint centre;
  EXPECT_EQ(radial.GetCenterPoint(centre), GpOk);
  EXPECT_EQ(centre, TPoint(5, 7));
}

TEST_F(GdiPlusWrappersTest, AFontOfAMissingFamilyUsesTheGenericSansSerif) {
  TGPFont font(L"No Such Family Anywhere", 12.0f, 0, 2);
  EXPECT_EQ(font.LastStatus(), GpOk);
  ASSERT_NE(font.Native(), nullptr);
  TGPFontFamily family;
  EXPECT_EQ(font.GetFamily(&family), GpOk);
  EXPECT_EQ(family.GetFamilyName(), GenericSansSerifFamily()->GetFamilyName());
  EXPECT_FALSE(family.GetFamilyName().empty());
  EXPECT_FLOAT_EQ(font.GetSize(), 12.0f);
  EXPECT_EQ(font.GetFamily(nullptr), GpInvalidParameter);
}

TEST_F(GdiPlusWrappersTest, FamilyListsCheckTheirArguments) {
  TGPPrivateFontCollection fonts;
  ASSERT_EQ(fonts.LastStatus(), GpOk);
  EXPECT_EQ(fonts.GetFamilyCount(), 0);
  int found = -1;
  EXPECT_EQ(fonts.GetFamilies(0, nullptr, found), GpInvalidParameter);
  EXPECT_EQ(found, 0);
}

TEST_F(GdiPlusWrappersTest, ABrushCopyIsABrushOfItsOwn) {
  auto original = std::make_unique<TGPSolidBrush>(0xFF123456u);
  std::unique_ptr<TGPBrush> copy(original->Clone());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->Native(), original->Native());
  original.reset();
  TArgb color = 0;
  EXPECT_EQ(GdiPlus.GdipGetSolidFillColor(copy->Native(), &color), GpOk);
  EXPECT_EQ(color, 0xFF123456u);
}

TEST_F(GdiPlusWrappersTest, AMatrixTurnsAboutAPoint) {
  for (int order : {0, 1}) {
    TGPMatrix matrix;
    EXPECT_EQ(matrix.RotateAt(90, MakePointF(10, 10), order), GpOk);
    float m[6] = {};
    matrix.GetElements(m);
    // (x, y) → (20 − y, x): the point itself stays.
    const float expected[6] = {0, 1, -1, 0, 20, 0};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(m[i], expected[i], 1e-4) << "order " << order << " element " << i;
  }
}

TEST_F(GdiPlusWrappersTest, TheCanvasTextQualityBecomesTheRenderingHint) {
  TDibSurface surface(20, 20);
  TGDIPlusCanvas canvas;
  canvas.SetBuffered(false);
  canvas.SetTargetCanvas(surface.Canvas());
  ASSERT_NE(canvas.Graphics(), nullptr);
  auto hint = [&] {
    int value = -1;
    GdiPlus.GdipGetTextRenderingHint(canvas.Graphics()->Native(), &value);
    return value;
  };
  EXPECT_EQ(canvas.ReadAntiAliasText(), gpfDefault);
  EXPECT_EQ(hint(), 0);
  struct Case {
    TGDIPlusFontQuality quality;
    int hint;
  } cases[] = {{gpfBest, 4}, {gpfClearType, 5}, {gpfNormal, 1}, {gpfDefault, 0}};
  for (const Case& c : cases) {
    canvas.ChangeAntiAliasText(c.quality);
    EXPECT_EQ(canvas.ReadAntiAliasText(), c.quality);
    EXPECT_EQ(hint(), c.hint) << c.quality;
  }
}

TEST_F(GdiPlusWrappersTest, StoppingWithoutAStartMakesNoShutdownCall) {
  StopGdiPlus();
  const int calls = GdiPlusStartupCalls();
  StopGdiPlus();  // nothing started: no shutdown through an empty table
  EXPECT_FALSE(GdiPlusStarted());
  StartGdiPlus();
  EXPECT_TRUE(GdiPlusStarted());
  EXPECT_EQ(GdiPlusStartupCalls(), calls + 1);
}

}  // namespace
