// GDI+ fonts on a system that lacks families: the named family first, then the generic
// sans-serif one, and when GDI+ has neither, the face the platform's font mapper substitutes,
// so text is never silently left out.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "CanvasTestSupport.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "tests/support/MissingFontFamilies.h"
#include "toolkit/rtl/TextConv.h"

namespace {

const wchar_t kMissingFace[] = L"Qwzx Nowhere Sans";

class GdiPlusFontFallbackTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
  void SetUp() override {
    surface = std::make_unique<TDibSurface>(200, 60);
    canvas = std::make_unique<TGDIPlusCanvas>();
    ASSERT_TRUE(canvas->IsAvailable());
    canvas->SetBuffered(false);
    canvas->SetTargetCanvas(surface->Canvas());
    ASSERT_NE(canvas->Graphics(), nullptr);
    canvas->SetBackMode(TRANSPARENT);
    canvas->Font()->SetSize(12);
    canvas->Font()->SetColor(clBlack);
    canvas->Font()->SetQuality(TKelFontQuality::fqNormal);
  }
  void TearDown() override {
    canvas.reset();
    surface.reset();
  }
  static std::wstring FamilyOf(TGPFont& font) {
    TGPFontFamily family;
    font.GetFamily(&family);
    return family.GetFamilyName();
  }

  std::unique_ptr<TDibSurface> surface;
  std::unique_ptr<TGDIPlusCanvas> canvas;
};

TEST_F(GdiPlusFontFallbackTest, EachFamilyIsTriedInTurn) {
  const std::wstring mapped = MappedFontFace(kMissingFace, 0);
  ASSERT_FALSE(mapped.empty()) << "GDI always substitutes some face";
  ASSERT_NE(mapped, kMissingFace);
  const std::wstring generic = GenericSansSerifFamily()->GetFamilyName();
  ASSERT_FALSE(generic.empty()) << "this prefix has the generic family";

  struct Case {
    const char* name;
    std::wstring font;
    bool genericMissing;
    bool nothingFound;      // no family by any name either
    std::wstring expected;  // empty: no font
  } const cases[] = {
      {"named family found", mapped, false, false, mapped},
      {"named missing: the generic family", kMissingFace, false, false, generic},
      {"named and generic missing: the substitute face", kMissingFace, true, false, mapped},
      {"no family at all: no font", kMissingFace, true, true, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<MissingFontFamilies> lookup;
    if (c.genericMissing) lookup = std::make_unique<MissingFontFamilies>(std::set<std::wstring>{}, c.nothingFound);
    TGPFont font(c.font, 12, 0, 3);
    if (c.expected.empty()) {
      EXPECT_EQ(font.Native(), nullptr);
      EXPECT_EQ(font.LastStatus(), MissingFontFamilies::kFontFamilyNotFound);
    } else {
      ASSERT_NE(font.Native(), nullptr);
      EXPECT_EQ(font.LastStatus(), GpOk);
      EXPECT_EQ(FamilyOf(font), c.expected);
    }
  }
}

TEST_F(GdiPlusFontFallbackTest, TextIsDrawnWhenNeitherTheNamedNorTheGenericFamilyExists) {
  MissingFontFamilies lookup({});
  ASSERT_NE(GenericSansSerifFamily()->LastStatus(), GpOk);
  canvas->Font()->SetName(WideToUtf8(kMissingFace));
  canvas->ApplyFont();
  ASSERT_NE(canvas->GdiFont(), nullptr);
  canvas->TextOut(10, 10, "Temp 25.0");
  TPointFloat size;
  canvas->MeasureTextF("Temp 25.0", size);
  EXPECT_GT(size.X, 30);
  EXPECT_GT(size.Y, 8);
  const TRect ink = surface->InkBounds();
  ASSERT_FALSE(ink.IsEmpty());
  // The ink lies in the measured text box.
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 10);
  EXPECT_LE(ink.Right, 10 + static_cast<int>(size.X) + 2);
  EXPECT_LE(ink.Bottom, 10 + static_cast<int>(size.Y) + 2);
  EXPECT_GT(ink.Width(), 25);
}

TEST_F(GdiPlusFontFallbackTest, LeavingTheLookUpGivesTheGenericFamilyBack) {
  {
    MissingFontFamilies lookup({});
    EXPECT_NE(GenericSansSerifFamily()->LastStatus(), GpOk);
  }
  EXPECT_EQ(GenericSansSerifFamily()->LastStatus(), GpOk);
  EXPECT_FALSE(GenericSansSerifFamily()->GetFamilyName().empty());
}

}  // namespace
