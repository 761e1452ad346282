// The image filter framework: regions clipped to the bitmap, the convolution engine and the
// blur, rows worked on in the bitmap's own layout, pictures with filter lists and their
// "FilterItems" streaming.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FilterTestSupport.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilters.h"
#include "canvas/KelPicture.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

class FilterFrameworkTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelFiltersStartup();
  }
};

// ---- Regions ---------------------------------------------------------------------------------

struct RegionCase {
  const char* name;
  bool hasRegion;
  int left, top, width, height;
  TRect expected;  // inclusive; empty when Left > Right
};

class FilterRegionTest : public FilterFrameworkTest, public testing::WithParamInterface<RegionCase> {};

TEST_P(FilterRegionTest, InvertTouchesExactlyTheClippedRegion) {
  const RegionCase& c = GetParam();
  auto bitmap = MakeBitmap(100, 50, 24, Pattern);
  TInvertFilter filter(nullptr);
  if (c.hasRegion) {
    filter.ReadRegion()->Left = c.left;
    filter.ReadRegion()->Top = c.top;
    filter.ReadRegion()->Width = c.width;
    filter.ReadRegion()->Height = c.height;
  }
  ApplyFilterToBitmap(filter, *bitmap);
  int wrong = 0;
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool inside = x >= c.expected.Left && x <= c.expected.Right && y >= c.expected.Top && y <= c.expected.Bottom;
      const Px p = Pattern(x, y);
      const Px want = inside ? Px{255 - p.r, 255 - p.g, 255 - p.b} : p;
      if (PixelOf(*bitmap, x, y) != want) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterRegionTest,
    testing::Values(RegionCase{"NoRegionIsTheWholeBitmap", false, 0, 0, 0, 0, TRect(0, 0, 99, 49)},
                    RegionCase{"ZeroSizeReachesTheFarEdges", true, 10, 10, 0, 0, TRect(10, 10, 99, 49)},
                    RegionCase{"WidthAndHeightFromTheCorner", true, 5, 6, 10, 4, TRect(5, 6, 15, 10)},
                    RegionCase{"NegativeLeftIsClipped", true, -5, 0, 0, 0, TRect(0, 0, 99, 49)},
                    RegionCase{"LeftBeyondTheBitmapDoesNothing", true, 200, 0, 0, 0, TRect(1, 0, 0, -1)},
                    RegionCase{"NegativeWidthDoesNothing", true, 0, 0, -3, 0, TRect(1, 0, 0, -1)},
                    RegionCase{"HugeSizeStopsAtTheEdge", true, 90, 40, 2147483000, 2147483000,
                               TRect(90, 40, 99, 49)}),
    [](const testing::TestParamInfo<RegionCase>& info) { return std::string(info.param.name); });

TEST_F(FilterFrameworkTest, ApplyClipsADirectRectangleToo) {
  auto bitmap = MakeBitmap(4, 4, 24, Pattern);
  TInvertFilter filter(nullptr);
  filter.Apply(*bitmap, TRect(-10, 2, 50, 90));
  EXPECT_EQ(PixelOf(*bitmap, 0, 1), Pattern(0, 1));
  const Px p = Pattern(3, 3);
  EXPECT_EQ(PixelOf(*bitmap, 3, 3), (Px{255 - p.r, 255 - p.g, 255 - p.b}));
}

// ---- Convolution and blur --------------------------------------------------------------------

TEST_F(FilterFrameworkTest, ThreeByThreeChangesOnlyItsCentreAndTwoByTwoNothing) {
  auto three = MakeBitmap(3, 3, 24, [](int x, int y) { return x == 1 && y == 1 ? Px{120, 120, 120} : Px{100, 100, 100}; });
  ApplyFilterClass(TSharpenFilter::StaticClass(), *three);
  EXPECT_EQ(PixelOf(*three, 1, 1), (Px{140, 140, 140})) << "2 × 120 - 0.125 × 800";
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      if (x != 1 || y != 1) {
        EXPECT_EQ(PixelOf(*three, x, y), (Px{100, 100, 100})) << x << "," << y;
      }
    }
  }
  auto two = MakeBitmap(2, 2, 24, Pattern);
  ApplyFilterClass(TBlurFilter::StaticClass(), *two);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) EXPECT_EQ(PixelOf(*two, x, y), Pattern(x, y));
  }
}

struct BlurCase {
  const char* name;
  int amount;
  int centre, around;
  int expected;
};

class BlurAmountTest : public FilterFrameworkTest, public testing::WithParamInterface<BlurCase> {};

TEST_P(BlurAmountTest, CentreOfThreeByThree) {
  const BlurCase& c = GetParam();
  auto bitmap = MakeBitmap(3, 3, 24, [&](int x, int y) {
    const int v = x == 1 && y == 1 ? c.centre : c.around;
    return Px{v, v, v};
  });
  TBlurFilter blur(nullptr);
  blur.Amount = c.amount;
  ApplyFilterToBitmap(blur, *bitmap);
  EXPECT_EQ(PixelOf(*bitmap, 1, 1).g, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlurAmountTest,
    testing::Values(BlurCase{"BoxAverageTruncates", 1, 255, 0, 28},
                    BlurCase{"AmountZeroLeavesTheCentreOut", 0, 255, 0, 0},
                    BlurCase{"WeightedCentreRounds", 2, 255, 0, 51},
                    // Weights summing to 0: divided by 1 and clamped.
                    BlurCase{"ZeroSumClampsHigh", -8, 10, 100, 255},
                    BlurCase{"ZeroSumClampsLow", -8, 100, 10, 0}),
    [](const testing::TestParamInfo<BlurCase>& info) { return std::string(info.param.name); });

TEST_F(FilterFrameworkTest, BlurStepsRepeatTheBox) {
  auto once = MakeBitmap(7, 5, 24, Pattern);
  auto thrice = MakeBitmap(7, 5, 24, Pattern);
  TBlurFilter one(nullptr);
  for (int i = 0; i < 3; ++i) ApplyFilterToBitmap(one, *once);
  TBlurFilter three(nullptr);
  three.Steps = 3;
  ApplyFilterToBitmap(three, *thrice);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(PixelOf(*thrice, x, y), PixelOf(*once, x, y)) << x << "," << y;
  }
  TBlurFilter single(nullptr);
  auto plain = MakeBitmap(7, 5, 24, Pattern);
  ApplyFilterToBitmap(single, *plain);
  EXPECT_NE(PixelOf(*plain, 3, 2), PixelOf(*thrice, 3, 2));
}

// A 32-bit bitmap is read as 32-bit rows in place: same DIB, same format, alpha kept.
TEST_F(FilterFrameworkTest, ThirtyTwoBitBitmapIsWorkedOnInPlace) {
  auto bitmap = MakeBitmap(6, 6, 32, Pattern);
  const HBITMAP before = bitmap->Handle();
  HDC dc = bitmap->Canvas()->Handle();
  TBlurFilter blur(nullptr);
  blur.Steps = 2;
  ApplyFilterToBitmap(blur, *bitmap);
  ApplyFilterClass(TSharpenFilter::StaticClass(), *bitmap);
  ApplyFilterClass(TInvertFilter::StaticClass(), *bitmap);
  EXPECT_EQ(bitmap->Handle(), before);
  EXPECT_EQ(bitmap->PixelFormat(), pf32bit);
  EXPECT_EQ(bitmap->Canvas()->Handle(), dc);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(AlphaOf(*bitmap, x, y), 0x80) << x << "," << y;
  }
}

TEST_F(FilterFrameworkTest, TwentyFourBitBitmapStaysTwentyFourBit) {
  auto bitmap = MakeBitmap(5, 5, 24, Pattern);
  const HBITMAP before = bitmap->Handle();
  ApplyFilterClass(TSharpenFilter::StaticClass(), *bitmap);
  EXPECT_EQ(bitmap->Handle(), before);
  EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
}

TEST_F(FilterFrameworkTest, AHeightOfZeroDoesNothing) {
  TBitmap empty;
  for (const std::string& name : FilterClassNames()) {
    std::unique_ptr<TObject> made(FindFilterClass(name)->CreateInstance(nullptr));
    EXPECT_NO_THROW(ApplyFilterToBitmap(*static_cast<TKelFilter*>(made.get()), empty)) << name;
  }
}

// ---- Filter lists and pictures ---------------------------------------------------------------

std::unique_ptr<TKelPicture> PatternPicture() {
  auto picture = std::make_unique<TKelPicture>();
  auto bitmap = MakeBitmap(8, 6, 24, Pattern);
  picture->SetGraphic(bitmap.get());
  return picture;
}

TEST_F(FilterFrameworkTest, PictureWithoutFiltersAnswersItsOwnGraphic) {
  auto picture = PatternPicture();
  EXPECT_EQ(picture->FilteredGraphic(), picture->Graphic());
  picture->Filters();  // an empty list is still no filter
  EXPECT_EQ(picture->FilteredGraphic(), picture->Graphic());
}

TEST_F(FilterFrameworkTest, DisabledFilterGivesAnEqualCopy) {
  auto picture = PatternPicture();
  picture->Filters()->Add(TInvertFilter::StaticClass())->ChangeEnabled(false);
  auto* copy = dynamic_cast<TBitmap*>(picture->FilteredGraphic());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(static_cast<TGraphic*>(copy), picture->Graphic());
  ASSERT_EQ(copy->Width(), 8);
  ASSERT_EQ(copy->Height(), 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(PixelOf(*copy, x, y), Pattern(x, y));
  }
}

TEST_F(FilterFrameworkTest, InvertGivesAnInvertedCopyAndKeepsTheOriginal) {
  auto picture = PatternPicture();
  picture->Filters()->Add(TInvertFilter::StaticClass());
  for (int round = 0; round < 2; ++round) {  // every request filters a fresh copy
    auto* copy = dynamic_cast<TBitmap*>(picture->FilteredGraphic());
    ASSERT_NE(copy, nullptr);
    const Px p = Pattern(3, 4);
    EXPECT_EQ(PixelOf(*copy, 3, 4), (Px{255 - p.r, 255 - p.g, 255 - p.b})) << round;
  }
  EXPECT_EQ(PixelOf(*picture->Bitmap(), 3, 4), Pattern(3, 4));
}

TEST_F(FilterFrameworkTest, AssignCopiesFiltersWithTheirSettings) {
  TKelPicture source;
  auto* blur = static_cast<TBlurFilter*>(source.Filters()->Add(TBlurFilter::StaticClass()));
  blur->Amount = 4;
  blur->Steps = 3;
  blur->ReadRegion()->Left = 7;
  source.Filters()->Add(TInvertFilter::StaticClass())->ChangeEnabled(false);
  TKelPicture copy;
  copy.Assign(&source);
  ASSERT_EQ(copy.Filters()->Count(), 2);
  auto* copied = dynamic_cast<TBlurFilter*>(copy.Filters()->FilterAt(0));
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->Amount, 4);
  EXPECT_EQ(copied->Steps, 3);
  EXPECT_EQ(copied->ReadRegion()->Left, 7);
  EXPECT_NE(copied, blur);
  EXPECT_FALSE(copy.Filters()->FilterAt(1)->Enabled());
}

// The picture's properties written and read back through the layout filer.
std::string WritePicture(TKelPicture& picture) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteProperties(&picture);
    writer.WriteListEnd();
  }
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

void ReadPicture(const std::string& bytes, TKelPicture& picture) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  TReader reader(stream);
  while (!reader.EndOfList()) reader.ReadProperty(&picture);
  reader.ReadListEnd();
}

TEST_F(FilterFrameworkTest, FilterItemsRoundTrip) {
  auto picture = PatternPicture();
  auto* blur = static_cast<TBlurFilter*>(picture->Filters()->Add(TBlurFilter::StaticClass()));
  blur->Amount = 3;
  blur->Steps = 2;
  blur->ReadRegion()->Top = 2;
  auto* rotate = static_cast<TRotateFilter*>(picture->Filters()->Add(TRotateFilter::StaticClass()));
  rotate->SetAngle(90);
  rotate->BackColor = clRed;
  picture->Filters()->Add(TGrayScaleFilter::StaticClass())->ChangeEnabled(false);
  const std::string bytes = WritePicture(*picture);
  EXPECT_NE(bytes.find("FilterItems"), std::string::npos);
  EXPECT_NE(bytes.find("ItemClass"), std::string::npos);
  EXPECT_NE(bytes.find("TBlurFilter"), std::string::npos);

  TKelPicture read;
  ReadPicture(bytes, read);
  ASSERT_EQ(read.Filters()->Count(), 3);
  auto* b = dynamic_cast<TBlurFilter*>(read.Filters()->FilterAt(0));
  auto* r = dynamic_cast<TRotateFilter*>(read.Filters()->FilterAt(1));
  auto* g = dynamic_cast<TGrayScaleFilter*>(read.Filters()->FilterAt(2));
  ASSERT_TRUE(b != nullptr && r != nullptr && g != nullptr);
  EXPECT_EQ(b->Amount, 3);
  EXPECT_EQ(b->Steps, 2);
  EXPECT_EQ(b->ReadRegion()->Top, 2);
  EXPECT_EQ(r->Angle(), 90);
  EXPECT_EQ(r->BackColor, clRed);
  EXPECT_FALSE(g->Enabled());
  ASSERT_NE(read.Graphic(), nullptr);
  EXPECT_EQ(read.Width(), 8);
}

TEST_F(FilterFrameworkTest, PictureWithoutFiltersWritesNoFilterItems) {
  auto picture = PatternPicture();
  picture->Filters();
  EXPECT_EQ(WritePicture(*picture).find("FilterItems"), std::string::npos);
}

// A stream whose filter list names `className`.
std::string FilterItemsNaming(const std::string& className) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteStr("FilterItems");
    writer.WriteValue(vaCollection);
    writer.WriteListBegin();
    writer.WriteStr("ItemClass");
    writer.WriteString(className);
    writer.WriteListEnd();
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST_F(FilterFrameworkTest, OnlyRegisteredFilterClassesAreRead) {
  // A registered class that is no filter is refused as well as an unknown name.
  RegisterClass(TFilterRegion::StaticClass());
  for (const char* name : {"TNoSuchFilter", "TFilterRegion"}) {
    TKelPicture picture;
    try {
      ReadPicture(FilterItemsNaming(name), picture);
      ADD_FAILURE() << name << " was read";
    } catch (const EClassNotFound& e) {
      EXPECT_NE(e.Message().find(std::string("Class ") + name + " not found"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(picture.Filters()->Count(), 0) << name;
  }
  TKelPicture picture;
  ReadPicture(FilterItemsNaming("TSepiaFilter"), picture);
  ASSERT_EQ(picture.Filters()->Count(), 1);
  EXPECT_NE(dynamic_cast<TSepiaFilter*>(picture.Filters()->FilterAt(0)), nullptr);
}

TEST_F(FilterFrameworkTest, IconIsFilteredOnABitmapOfItsSize) {
  TKelPicture picture;
  TIcon icon;
  icon.SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
  ASSERT_GT(icon.Width(), 0);
  picture.SetGraphic(&icon);
  picture.Filters()->Add(TInvertFilter::StaticClass());
  auto* filtered = dynamic_cast<TBitmap*>(picture.FilteredGraphic());
  ASSERT_NE(filtered, nullptr);
  EXPECT_EQ(filtered->Width(), icon.Width());
  EXPECT_EQ(filtered->Height(), icon.Height());
}

TEST_F(FilterFrameworkTest, ResourceStreamsAreFoundByName) {
  std::unique_ptr<TStream> font(FindResourceStream("KELLCDFONT"));
  ASSERT_NE(font, nullptr);
  EXPECT_GT(font->Size(), 1000);
  EXPECT_EQ(FindResourceStream("NO_SUCH_RESOURCE"), nullptr);
}

TEST_F(FilterFrameworkTest, RegistrationListsTheCatalogueOnce) {
  const std::vector<std::string> names = FilterClassNames();
  ASSERT_EQ(names.size(), 25u);
  EXPECT_EQ(names.front(), "TInvertFilter");
  EXPECT_EQ(names.back(), "TSepiaFilter");
  KelFiltersStartup();
  EXPECT_EQ(FilterClassNames().size(), 25u);
}

TEST_F(FilterFrameworkTest, CaptionsComeFromTheTexts) {
  TBlurFilter blur(nullptr);
  TSoftenFilter soften(nullptr);
  TConvolveFilter plain(nullptr);
  EXPECT_EQ(blur.FilterCaption(), "Blur");
  EXPECT_EQ(soften.FilterCaption(), "Antialias");
  EXPECT_EQ(plain.FilterCaption(), "TConvolveFilter");
  const std::string saved = KelFilterTexts.Blur;
  KelFilterTexts.Blur = "Weichzeichner";
  EXPECT_EQ(blur.FilterCaption(), "Weichzeichner");
  KelFilterTexts.Blur = saved;
}

}  // namespace
