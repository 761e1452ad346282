// The image filter catalogue on small bitmaps with exact pixel values: colour filters (with the
// HLS conversion and its rounding), neighbourhood filters, geometry, and a sweep of every
// registered filter over tiny bitmaps and awkward regions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "FilterTestSupport.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilters.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

class FilterCatalogueTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelFiltersStartup();
  }
};

Px Inverse(Px p) { return Px{255 - p.r, 255 - p.g, 255 - p.b}; }

template <class F>
std::unique_ptr<TKelFilter> Make(const std::function<void(F&)>& setUp = nullptr) {
  auto f = std::make_unique<F>(nullptr);
  if (setUp) setUp(*f);
  return f;
}

// ---- Colour filters --------------------------------------------------------------------------

struct ColourCase {
  const char* name;
  std::function<std::unique_ptr<TKelFilter>()> make;
  Px in;
  Px out;
};

class ColourFilterTest : public FilterCatalogueTest, public testing::WithParamInterface<ColourCase> {};

TEST_P(ColourFilterTest, OnePixelInBothLayouts) {
  const ColourCase& c = GetParam();
  for (int bits : {24, 32}) {
    auto bitmap = Uniform(3, 2, c.in, bits);
    auto filter = c.make();
    ApplyFilterToBitmap(*filter, *bitmap);
    EXPECT_EQ(PixelOf(*bitmap, 1, 1), c.out) << bits << "-bit";
    EXPECT_EQ(PixelOf(*bitmap, 2, 0), c.out) << bits << "-bit";
    if (bits == 32) {
      EXPECT_EQ(AlphaOf(*bitmap, 1, 1), 0x80);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColourFilterTest,
    testing::Values(
        ColourCase{"Invert", [] { return Make<TInvertFilter>(); }, {10, 20, 30}, {245, 235, 225}},
        ColourCase{"GraySimple", [] { return Make<TGrayScaleFilter>(); }, {10, 20, 31}, {20, 20, 20}},
        ColourCase{"GrayEyeRed", [] { return Make<TGrayScaleFilter>([](auto& f) { f.Method = gmEye; }); },
                   {255, 0, 0}, {76, 76, 76}},
        ColourCase{"GrayEyeBlue", [] { return Make<TGrayScaleFilter>([](auto& f) { f.Method = gmEye; }); },
                   {0, 0, 255}, {29, 29, 29}},
        ColourCase{"GrayEye2", [] { return Make<TGrayScaleFilter>([](auto& f) { f.Method = gmEye2; }); },
                   {255, 0, 0}, {87, 87, 87}},
        ColourCase{"GrayLight", [] { return Make<TGrayScaleFilter>([](auto& f) { f.Method = gmLight; }); },
                   {200, 100, 50}, {125, 125, 125}},
        // 30 % is taken as a single: 0.3f × 255 = 76.500003, so 77 and not 76.
        ColourCase{"BrightnessStartValue",
                   [] { return Make<TBrightnessFilter>([](auto& f) { f.ResetToStartValues(); }); },
                   {0, 100, 250},
                   {77, 177, 255}},
        ColourCase{"BrightnessAbsolute",
                   [] { return Make<TBrightnessFilter>([](auto& f) { f.Amount = -10, f.Percent = false; }); },
                   {5, 100, 250},
                   {0, 90, 240}},
        ColourCase{"ContrastStartValue", [] { return Make<TContrastFilter>([](auto& f) { f.ResetToStartValues(); }); },
                   {200, 50, 128}, {233, 41, 128}},
        ColourCase{"ColorAddsClamped",
                   [] { return Make<TColorFilter>([](auto& f) { f.Red = 10, f.Blue = -20; }); },
                   {250, 5, 10},
                   {255, 5, 0}},
        ColourCase{"LuminanceUpIsClampedToWhite",
                   [] { return Make<THueLumSatFilter>([](auto& f) { f.Luminance = 240; }); },
                   {10, 20, 30},
                   {255, 255, 255}},
        ColourCase{"LuminanceDownOnWhiteIsBlack",
                   [] { return Make<THueLumSatFilter>([](auto& f) { f.Luminance = -240; }); },
                   {255, 255, 255},
                   {0, 0, 0}},
        ColourCase{"ReplaceNearWhiteByLuminance",
                   [] {
                     return Make<TColorReplaceFilter>([](auto& f) {
                       f.Method = cmLum, f.FromValue = 200, f.ToValue = 240, f.Color = clRed;
                     });
                   },
                   {255, 255, 255},
                   {255, 0, 0}},
        ColourCase{"ReplaceLeavesGreyOutsideTheRange",
                   [] {
                     return Make<TColorReplaceFilter>([](auto& f) {
                       f.Method = cmLum, f.FromValue = 200, f.ToValue = 240, f.Color = clRed;
                     });
                   },
                   {128, 128, 128},
                   {128, 128, 128}},
        ColourCase{"GammaHalfDarkensMidTones", [] { return Make<TGammaCorrectionFilter>([](auto& f) { f.Amount = 50; }); },
                   {128, 0, 255}, {64, 0, 255}},
        ColourCase{"GammaOneKeeps", [] { return Make<TGammaCorrectionFilter>([](auto& f) { f.Amount = 100; }); },
                   {128, 1, 254}, {128, 1, 254}},
        ColourCase{"Sepia", [] { return Make<TSepiaFilter>(); }, {100, 100, 100}, {135, 120, 94}}),
    [](const testing::TestParamInfo<ColourCase>& info) { return std::string(info.param.name); });

TEST_F(FilterCatalogueTest, ColourReplaceResolvesSystemColours) {
  auto bitmap = Uniform(2, 2, {1, 2, 3});
  TColorReplaceFilter filter(nullptr);
  filter.Method = cmLum;
  filter.ToValue = 255;
  filter.Color = clBtnFace;
  ApplyFilterToBitmap(filter, *bitmap);
  const COLORREF face = ColorToRGB(clBtnFace);
  EXPECT_EQ(PixelOf(*bitmap, 1, 1), (Px{GetRValue(face), GetGValue(face), GetBValue(face)}));
}

TEST_F(FilterCatalogueTest, InvertTwiceRestores) {
  auto bitmap = MakeBitmap(5, 4, 24, Pattern);
  ApplyFilterClass(TInvertFilter::StaticClass(), *bitmap);
  EXPECT_EQ(PixelOf(*bitmap, 2, 3), Inverse(Pattern(2, 3)));
  ApplyFilterClass(TInvertFilter::StaticClass(), *bitmap);
  EXPECT_EQ(PixelOf(*bitmap, 2, 3), Pattern(2, 3));
}

struct HlsCase {
  const char* name;
  Px rgb;
  int h, l, s;
};

class HlsTest : public testing::TestWithParam<HlsCase> {};

TEST_P(HlsTest, ConvertsAndComesBack) {
  const HlsCase& c = GetParam();
  int h, l, s;
  RgbToHls(c.rgb.r, c.rgb.g, c.rgb.b, h, l, s);
  EXPECT_EQ(h, c.h);
  EXPECT_EQ(l, c.l);
  EXPECT_EQ(s, c.s);
  Px back;
  HlsToRgb(h, l, s, back.r, back.g, back.b);
  EXPECT_EQ(back, c.rgb);
}

INSTANTIATE_TEST_SUITE_P(Cases, HlsTest,
                         testing::Values(HlsCase{"WhiteIsTwoForty", {255, 255, 255}, 160, 240, 0},
                                         HlsCase{"Black", {0, 0, 0}, 160, 0, 0},
                                         HlsCase{"Red", {255, 0, 0}, 0, 120, 240},
                                         HlsCase{"Lime", {0, 255, 0}, 80, 120, 240},
                                         HlsCase{"Blue", {0, 0, 255}, 160, 120, 240}),
                         [](const testing::TestParamInfo<HlsCase>& info) { return std::string(info.param.name); });

// ---- Neighbourhood filters -------------------------------------------------------------------

// v(x, y) = 10 × (x + 3y) + 10 on a 3 × 3 grey bitmap: 10..90.
Px Ramp(int x, int y) {
  const int v = 10 * (x + 3 * y) + 10;
  return Px{v, v, v};
}

struct NeighbourCase {
  const char* name;
  std::function<std::unique_ptr<TKelFilter>()> make;
  int width, height;
  std::function<Px(int, int)> in;
  std::vector<std::pair<TPoint, int>> expected;  // grey values at points
};

class NeighbourhoodFilterTest : public FilterCatalogueTest, public testing::WithParamInterface<NeighbourCase> {};

TEST_P(NeighbourhoodFilterTest, ExactGreys) {
  const NeighbourCase& c = GetParam();
  auto bitmap = MakeBitmap(c.width, c.height, 24, c.in);
  auto filter = c.make();
  ApplyFilterToBitmap(*filter, *bitmap);
  for (const auto& [at, grey] : c.expected) {
    EXPECT_EQ(PixelOf(*bitmap, at.X, at.Y), (Px{grey, grey, grey})) << at.X << "," << at.Y;
  }
}

Px Column(int x, int) {
  const int v = 50 * x;
  return Px{v, v, v};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NeighbourhoodFilterTest,
    testing::Values(
        NeighbourCase{"Emboss", [] { return Make<TEmbossFilter>(); }, 3, 3, Ramp, {{{1, 1}, 30}, {{0, 0}, 10}}},
        NeighbourCase{"Soften", [] { return Make<TSoftenFilter>(); }, 3, 3, Ramp, {{{1, 1}, 70}, {{2, 2}, 90}}},
        NeighbourCase{"BlurBox", [] { return Make<TBlurFilter>(); }, 3, 3, Ramp, {{{1, 1}, 50}}},
        // Grid border cells are 0: every interior pixel of the ramp sees a step of 200.
        NeighbourCase{"Sobel", [] { return Make<TSobelFilter>(); }, 5, 3, Column,
                      {{{1, 1}, 200}, {{2, 1}, 200}, {{3, 1}, 200}, {{0, 1}, 0}, {{4, 1}, 200}, {{2, 0}, 100}}},
        NeighbourCase{"Bevel", [] { return Make<TBevelFilter>(); }, 5, 5, [](int, int) { return Px{100, 100, 100}; },
                      {{{0, 0}, 164},
                       {{4, 0}, 164},
                       {{0, 4}, 100},
                       {{4, 4}, 0},
                       {{1, 1}, 164},
                       {{1, 3}, 100},
                       {{3, 3}, 0},
                       {{2, 2}, 100}}},
        NeighbourCase{"EqualizeStretchesTheInterior", [] { return Make<TEqualizeFilter>(); }, 4, 4,
                      [](int x, int y) {
                        const bool inner = x >= 1 && x <= 2 && y >= 1 && y <= 2;
                        const int v = inner ? 50 + 50 * (x - 1) : 7;
                        return Px{v, v, v};
                      },
                      {{{1, 1}, 0}, {{2, 2}, 255}, {{0, 0}, 7}, {{3, 3}, 7}}},
        NeighbourCase{"EqualizeKeepsAFullRange", [] { return Make<TEqualizeFilter>(); }, 4, 4,
                      [](int x, int y) {
                        const int v = x + y >= 3 ? 255 : (x + y == 2 ? 0 : 128);
                        return Px{v, v, v};
                      },
                      {{{1, 1}, 0}, {{2, 2}, 255}, {{1, 2}, 255}}}),
    [](const testing::TestParamInfo<NeighbourCase>& info) { return std::string(info.param.name); });

TEST_F(FilterCatalogueTest, MosaicBlocksOfEightEightAndTheRest) {
  auto bitmap = MakeBitmap(20, 20, 24, [](int x, int) { return Px{x, 0, 0}; });
  ApplyFilterClass(TMosaicFilter::StaticClass(), *bitmap);
  // Means 3.5, 11.5 and 17.5 round to even.
  EXPECT_EQ(PixelOf(*bitmap, 0, 0).r, 4);
  EXPECT_EQ(PixelOf(*bitmap, 7, 19).r, 4);
  EXPECT_EQ(PixelOf(*bitmap, 8, 0).r, 12);
  EXPECT_EQ(PixelOf(*bitmap, 15, 10).r, 12);
  EXPECT_EQ(PixelOf(*bitmap, 16, 5).r, 18);
  EXPECT_EQ(PixelOf(*bitmap, 19, 19).r, 18);
}

// ---- Geometry --------------------------------------------------------------------------------

struct GeometryCase {
  const char* name;
  std::function<std::unique_ptr<TKelFilter>()> make;
  int width, height;
  int newWidth, newHeight;
  // Target pixel -> source pixel (the source is the pattern); -1: white.
  std::function<TPoint(int, int)> sourceOf;
};

class GeometryFilterTest : public FilterCatalogueTest, public testing::WithParamInterface<GeometryCase> {};

TEST_P(GeometryFilterTest, EveryPixelComesFromItsSource) {
  const GeometryCase& c = GetParam();
  for (int bits : {24, 32}) {
    auto bitmap = MakeBitmap(c.width, c.height, bits, Pattern);
    auto filter = c.make();
    ApplyFilterToBitmap(*filter, *bitmap);
    ASSERT_EQ(bitmap->Width(), c.newWidth) << bits;
    ASSERT_EQ(bitmap->Height(), c.newHeight) << bits;
    int wrong = 0;
    for (int y = 0; y < c.newHeight; ++y) {
      for (int x = 0; x < c.newWidth; ++x) {
        const TPoint s = c.sourceOf(x, y);
        const Px want = s.X < 0 ? Px{255, 255, 255} : Pattern(s.X, s.Y);
        if (PixelOf(*bitmap, x, y) != want && ++wrong < 4) {
          ADD_FAILURE() << bits << "-bit (" << x << "," << y << ") is " << PixelOf(*bitmap, x, y) << ", want " << want;
        }
      }
    }
    EXPECT_EQ(wrong, 0) << bits;
  }
}

template <class F>
std::function<std::unique_ptr<TKelFilter>()> Rotated(double angle) {
  return [angle] { return Make<TRotateFilter>([angle](auto& f) { f.SetAngle(angle); }); };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GeometryFilterTest,
    testing::Values(
        GeometryCase{"FlipTenRows", [] { return Make<TFlipFilter>(); }, 3, 10, 3, 10,
                     [](int x, int y) { return TPoint(x, 9 - y); }},
        GeometryCase{"ReverseColumns", [] { return Make<TReverseFilter>(); }, 5, 2, 5, 2,
                     [](int x, int y) { return TPoint(4 - x, y); }},
        // Clockwise: the top row goes to the right-hand column.
        GeometryCase{"Rotate90", Rotated<TRotateFilter>(90), 40, 20, 20, 40,
                     [](int x, int y) { return TPoint(y, 19 - x); }},
        GeometryCase{"Rotate450IsRotate90", Rotated<TRotateFilter>(450), 40, 20, 20, 40,
                     [](int x, int y) { return TPoint(y, 19 - x); }},
        // Whole turns come off in one step: 360 × 2^40 + 90 turns by 90 at once.
        GeometryCase{"RotateByAHugeAngleTurnsByItsRest", Rotated<TRotateFilter>(360.0 * 1099511627776.0 + 90), 40,
                     20, 20, 40, [](int x, int y) { return TPoint(y, 19 - x); }},
        GeometryCase{"RotateByAnInfiniteAngleLeavesTheBitmap",
                     Rotated<TRotateFilter>(std::numeric_limits<double>::infinity()), 6, 4, 6, 4,
                     [](int x, int y) { return TPoint(x, y); }},
        GeometryCase{"RotateByANaNAngleLeavesTheBitmap",
                     Rotated<TRotateFilter>(std::numeric_limits<double>::quiet_NaN()), 6, 4, 6, 4,
                     [](int x, int y) { return TPoint(x, y); }},
        GeometryCase{"Rotate270", Rotated<TRotateFilter>(270), 40, 20, 20, 40,
                     [](int x, int y) { return TPoint(39 - y, x); }},
        GeometryCase{"Rotate180IsFlipAndReverse", Rotated<TRotateFilter>(180), 7, 4, 7, 4,
                     [](int x, int y) { return TPoint(6 - x, 3 - y); }},
        GeometryCase{"RotateOnePixelHigh", Rotated<TRotateFilter>(90), 5, 1, 1, 5,
                     [](int, int y) { return TPoint(y, 0); }},
        GeometryCase{"RotateOnePixelWide", Rotated<TRotateFilter>(270), 1, 4, 4, 1,
                     [](int x, int) { return TPoint(0, x); }},
        GeometryCase{"MirrorRight", [] { return Make<TMirrorFilter>([](auto& f) { f.Direction = mdRight; }); }, 30, 10,
                     60, 10, [](int x, int y) { return TPoint(x < 30 ? x : 59 - x, y); }},
        GeometryCase{"MirrorUp", [] { return Make<TMirrorFilter>([](auto& f) { f.Direction = mdUp; }); }, 4, 3, 4, 6,
                     [](int x, int y) { return TPoint(x, y < 3 ? 2 - y : y - 3); }},
        GeometryCase{"CropOfTheWholeBitmapIsTheIdentity",
                     [] { return Make<TCropFilter>([](auto& f) { f.Width = 9, f.Height = 7; }); }, 9, 7, 9, 7,
                     [](int x, int y) { return TPoint(x, y); }},
        GeometryCase{"CropOfOnePixelFillsTheBitmap",
                     [] { return Make<TCropFilter>([](auto& f) { f.Left = 2, f.Top = 3, f.Width = 1, f.Height = 1; }); },
                     6, 5, 6, 5, [](int, int) { return TPoint(2, 3); }},
        GeometryCase{"CropStretchesTheCutBack",
                     [] { return Make<TCropFilter>([](auto& f) { f.Left = 1, f.Top = 1, f.Width = 2, f.Height = 2; }); },
                     4, 4, 4, 4, [](int x, int y) { return TPoint(1 + x / 2, 1 + y / 2); }}),
    [](const testing::TestParamInfo<GeometryCase>& info) { return std::string(info.param.name); });

TEST_F(FilterCatalogueTest, RotateStoresTheReducedAngle) {
  // Above 360 whole turns come off and the rest lies in (0, 360]; at most 360 stays as it is.
  struct Case {
    double angle, stored;
  } cases[] = {{450, 90}, {720, 360}, {360, 360}, {360 * 1e9 + 0.5, 0.5}, {-30, -30}, {90, 90}};
  for (const Case& c : cases) {
    TRotateFilter rotate(nullptr);
    rotate.SetAngle(c.angle);
    auto bitmap = MakeBitmap(4, 4, 24, Pattern);
    ApplyFilterToBitmap(rotate, *bitmap);
    EXPECT_DOUBLE_EQ(rotate.Angle(), c.stored) << c.angle;
  }
  TRotateFilter huge(nullptr);
  huge.SetAngle(1e300);
  auto bitmap = MakeBitmap(4, 4, 24, Pattern);
  ApplyFilterToBitmap(huge, *bitmap);
  EXPECT_GT(huge.Angle(), 0);
  EXPECT_LE(huge.Angle(), 360);
}

// The cut's size is worked out in 64 bits and bounded before any buffer is made: on the 32-bit
// build 65536 × 65536 × 3 used to wrap to 0 bytes and the copy wrote far past them.
TEST_F(FilterCatalogueTest, CropCutSizesAreBoundedByThePicture) {
  const bool narrow = sizeof(std::size_t) == 4;
  struct Case {
    const char* name;
    int width, height, pixelBytes, sourceWidth, sourceHeight;
    bool refused;
    std::uint64_t bytes;
  } cases[] = {
      {"the whole picture", 10, 10, 3, 10, 10, false, 300},
      {"larger than a small picture, within the floor", 4096, 4096, 3, 10, 10, false, 50331648},
      {"one column past the floor", 4097, 4096, 3, 10, 10, true, 0},
      {"wraps a 32-bit size", 65536, 65536, 3, 100, 100, true, 0},
      {"wraps a 32-bit size at 4 bytes", 65536, 65536, 4, 640, 480, true, 0},
      {"as large as its huge source", 65536, 65536, 3, 65536, 65536, narrow, 3ull << 32},
      {"larger than a picture beyond the floor", 5001, 5000, 4, 5000, 5000, true, 0},
  };
  for (const Case& c : cases) {
    if (c.refused) {
      EXPECT_THROW(TCropFilter::CutBytes(c.width, c.height, c.pixelBytes, c.sourceWidth, c.sourceHeight),
                   EInvalidGraphicOperation)
          << c.name;
    } else {
      EXPECT_EQ(TCropFilter::CutBytes(c.width, c.height, c.pixelBytes, c.sourceWidth, c.sourceHeight), c.bytes)
          << c.name;
    }
  }
}

TEST_F(FilterCatalogueTest, AnImpossibleCropIsRefusedAndTheBitmapKept) {
  auto bitmap = MakeBitmap(10, 10, 24, Pattern);
  TCropFilter crop(nullptr);
  crop.Width = 5000;
  crop.Height = 5000;
  try {
    ApplyFilterToBitmap(crop, *bitmap);
    ADD_FAILURE() << "a 5000 x 5000 cut of a 10 x 10 picture was made";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(std::string(e.what()), "Crop size 5000 x 5000 is too large for a 10 x 10 picture");
  }
  ASSERT_EQ(bitmap->Width(), 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelOf(*bitmap, x, y), Pattern(x, y)) << x << "," << y;
  }
}

TEST_F(FilterCatalogueTest, Rotate45GrowsAndKeepsTheCentre) {
  auto bitmap = MakeBitmap(10, 10, 24, Pattern);
  TRotateFilter rotate(nullptr);
  rotate.ResetToStartValues();
  ApplyFilterToBitmap(rotate, *bitmap);
  EXPECT_EQ(bitmap->Width(), 14);
  EXPECT_EQ(bitmap->Height(), 14);
  EXPECT_EQ(PixelOf(*bitmap, 7, 7), Pattern(5, 5));
  EXPECT_EQ(PixelOf(*bitmap, 0, 0), (Px{255, 255, 255})) << "corners outside the source stay the back colour";
  TRotateFilter coloured(nullptr);
  coloured.SetAngle(45);
  coloured.BackColor = clBlue;
  auto other = MakeBitmap(10, 10, 24, Pattern);
  ApplyFilterToBitmap(coloured, *other);
  EXPECT_EQ(PixelOf(*other, 0, 0), (Px{0, 0, 255}));
}

TEST_F(FilterCatalogueTest, ResizeResamplesToTheGivenSize) {
  auto bitmap = Uniform(10, 10, {10, 200, 30});
  TResizeFilter resize(nullptr);
  resize.ResetToStartValues();
  ApplyFilterToBitmap(resize, *bitmap);
  EXPECT_EQ(bitmap->Width(), 50);
  EXPECT_EQ(bitmap->Height(), 50);
  // The drawing surface's Lanczos resampling keeps a flat colour within a few levels.
  const Px p = PixelOf(*bitmap, 25, 25);
  EXPECT_NEAR(p.r, 10, 4);
  EXPECT_NEAR(p.g, 200, 6);
  EXPECT_NEAR(p.b, 30, 4);
}

TEST_F(FilterCatalogueTest, GradientHookTurnsSmallBitmapsOnly) {
  auto small = MakeBitmap(40, 20, 32, Pattern);
  GradientRotateHook(*small, 90);
  EXPECT_EQ(small->Width(), 20);
  EXPECT_EQ(small->Height(), 40);
  TBitmap big;
  big.SetPixelFormat(pf32bit);
  big.SetSize(5000, 4000);
  GradientRotateHook(big, 90);
  EXPECT_EQ(big.Width(), 5000);
  EXPECT_EQ(big.Height(), 4000);
}

// ---- Sweep -----------------------------------------------------------------------------------

struct SweepCase {
  const char* name;
  int width, height;
  bool hasRegion;
  int left, top, regionWidth;
};

class FilterSweepTest : public FilterCatalogueTest, public testing::WithParamInterface<SweepCase> {};

TEST_P(FilterSweepTest, EveryFilterStaysInsideItsClippedRegion) {
  const SweepCase& c = GetParam();
  ASSERT_EQ(FilterClassNames().size(), 25u);
  for (const std::string& name : FilterClassNames()) {
    for (int bits : {24, 32}) {
      auto bitmap = MakeBitmap(c.width, c.height, bits, Pattern);
      std::unique_ptr<TObject> made(FindFilterClass(name)->CreateInstance(nullptr));
      auto* filter = dynamic_cast<TKelFilter*>(made.get());
      ASSERT_NE(filter, nullptr) << name;
      filter->ResetToStartValues();
      if (c.hasRegion) {
        filter->ReadRegion()->Left = c.left;
        filter->ReadRegion()->Top = c.top;
        filter->ReadRegion()->Width = c.regionWidth;
      }
      ASSERT_NO_THROW(ApplyFilterToBitmap(*filter, *bitmap)) << name;
      if (!filter->RegionAllowed()) continue;  // whole-bitmap filters replace the image
      ASSERT_EQ(bitmap->Width(), c.width) << name;
      ASSERT_EQ(bitmap->Height(), c.height) << name;
      // The region as ApplyFilterToBitmap computes it, clipped to the bitmap.
      int l = 0, t = 0, r = c.width - 1, b = c.height - 1;
      if (c.hasRegion) {
        l = c.left;
        t = c.top;
        r = c.regionWidth != 0 ? std::min(c.width - 1, c.regionWidth + l) : std::max(l, c.width - 1);
        l = std::max(l, 0);
        t = std::max(t, 0);
      }
      int outside = 0;
      for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
          const bool inside = x >= l && x <= r && y >= t && y <= b;
          if (!inside && PixelOf(*bitmap, x, y) != Pattern(x, y)) ++outside;
        }
      }
      EXPECT_EQ(outside, 0) << name << " " << bits << "-bit";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FilterSweepTest,
                         testing::Values(SweepCase{"OneByOne", 1, 1, false, 0, 0, 0},
                                         SweepCase{"TwoByTwo", 2, 2, false, 0, 0, 0},
                                         SweepCase{"ThreeByThree", 3, 3, false, 0, 0, 0},
                                         SweepCase{"RegionFromTenTen", 100, 50, true, 10, 10, 0},
                                         SweepCase{"NegativeLeft", 100, 50, true, -5, 0, 0},
                                         SweepCase{"LeftBeyondTheBitmap", 100, 50, true, 200, 0, 0},
                                         SweepCase{"NegativeWidth", 100, 50, true, 0, 0, -3}),
                         [](const testing::TestParamInfo<SweepCase>& info) { return std::string(info.param.name); });

// Editors see what each filter declares.
class RecordingBuilder : public TFilterEditorBuilder {
 public:
  void AddCheckBox(const std::string& p, const std::string& c) override { log += "check " + p + " " + c + ";"; }
  void AddColor(const std::string& p, const std::string& c) override { log += "color " + p + " " + c + ";"; }
  void AddCombo(const std::string& p, const std::string&) override { log += "combo " + p + ";"; }
  void AddInteger(const std::string& p, const std::string& c, int a, int b) override {
    log += "int " + p + " " + c + " " + std::to_string(a) + ".." + std::to_string(b) + ";";
  }
  void AddScroll(const std::string& p, const std::string&, int a, int b) override {
    log += "scroll " + p + " " + std::to_string(a) + ".." + std::to_string(b) + ";";
  }
  std::string log;
};

TEST_F(FilterCatalogueTest, EditorDeclarations) {
  RecordingBuilder rotate, mosaic, contrast, tile;
  TRotateFilter(nullptr).SetChangeHook(&rotate, nullptr);
  EXPECT_EQ(rotate.log, "scroll Angle 0..360;color BackColor Back;check AutoSize Autosize;");
  TMosaicFilter(nullptr).SetChangeHook(&mosaic, nullptr);
  EXPECT_EQ(mosaic.log, "scroll Amount 0..255;check Percent Percent;");
  TContrastFilter(nullptr).SetChangeHook(&contrast, nullptr);
  EXPECT_EQ(contrast.log, "scroll Amount -100..100;check Percent Percent;");
  TTileFilter(nullptr).SetChangeHook(&tile, nullptr);
  EXPECT_EQ(tile.log, "int NumCols Columns 1..1000;int NumRows Rows 1..1000;");
}

TEST_F(FilterCatalogueTest, EnabledChangeCallsTheHook) {
  int calls = 0;
  struct Counter {
    int* calls;
    void Changed(TObject*) { ++*calls; }
  } counter{&calls};
  TInvertFilter filter(nullptr);
  filter.SetChangeHook(nullptr, TNotifyEvent(&counter, &Counter::Changed));
  filter.ChangeEnabled(true);
  EXPECT_EQ(calls, 0) << "unchanged";
  filter.ChangeEnabled(false);
  EXPECT_EQ(calls, 1);
}

}  // namespace
