// An axis title and the custom label items (with their pictures and formats) written to a
// window layout and read back: settings at their defaults are not written, changed ones return.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AxisHostTestSupport.h"
#include "canvas/KelFont.h"
#include "canvas/KelPicture.h"
#include "chart/AxisItems.h"
#include "chart/ChartAxis.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Component.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

using chart_test_support::TAxisHost;

std::string Write(TAxisHost& host) { return chart_test_support::WriteHost(host); }

std::string AsText(const std::string& binary) { return ObjectBinaryToText(binary); }

std::unique_ptr<TAxisHost> Read(const std::string& binary) { return chart_test_support::ReadHost(binary); }

TColor PixelOf(TGraphic* graphic, int x, int y) {
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  return bitmap ? bitmap->Canvas()->Pixel(x, y) : clNone;
}

}  // namespace

TEST(AxisTitleItemsLayout, TitleAtItsDefaultsWritesNothing) {
  struct Case {
    const char* name;
    bool otherSide;
  };
  // A vertical title takes the angle of its side as its default: 90, or 270 on the other side.
  const Case cases[] = {{"normal side", false}, {"other side", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TAxisHost host(nullptr);
    host.axis.SetOtherSide(c.otherSide);
    host.axis.Title()->SetText("");
    EXPECT_EQ(host.axis.Title()->Angle(), c.otherSide ? 270 : 90);
    const std::string text = AsText(Write(host));
    EXPECT_EQ(text.find("Title.Angle"), std::string::npos) << text;
    EXPECT_EQ(text.find("Title.Transparent"), std::string::npos) << text;
    EXPECT_EQ(text.find("Title.TextAlignment"), std::string::npos) << text;
    EXPECT_EQ(text.find("Title.Position"), std::string::npos) << text;
    EXPECT_EQ(text.find("Title.Caption"), std::string::npos) << "the text carries the caption: " << text;
    EXPECT_EQ(text.find("Items"), std::string::npos) << "automatic labels are not written: " << text;
  }
}

TEST(AxisTitleItemsLayout, ChangedTitleIsReadBack) {
  TAxisHost host(nullptr);
  TChartAxisTitle* title = host.axis.Title();
  title->SetText("Temp\r2nd");
  title->SetAngle(0);
  title->SetPosition(tpEnd);
  title->SetTransparent(false);
  title->SetTextAlignment(taRightJustify);
  title->SetVertTextAlign(vtaBottom);
  title->Font()->SetSize(15);
  title->Font()->SetColor(clRed);
  const std::string binary = Write(host);
  const auto read = Read(binary);
  ASSERT_TRUE(read->axis.HasTitle()) << AsText(binary);
  TChartAxisTitle* back = read->axis.Title();
  EXPECT_EQ(back->Text(), "Temp\r2nd");
  EXPECT_EQ(back->Caption(), "Temp");
  EXPECT_EQ(back->Angle(), 0) << "an angle of 0 differs from the vertical default and is kept";
  EXPECT_EQ(back->Position(), tpEnd);
  EXPECT_FALSE(back->Transparent());
  EXPECT_EQ(back->TextAlignment(), taRightJustify);
  EXPECT_EQ(back->VertTextAlign(), vtaBottom);
  EXPECT_EQ(back->Font()->Size(), 15);
  EXPECT_EQ(back->Font()->Color(), clRed);
}

TEST(AxisTitleItemsLayout, OlderLayoutCaptionIsRead) {
  RegisterClass(TAxisHost::StaticClass());
  const std::string binary = ObjectTextToBinary(
      "object Host: TAxisHost\n"
      "  Axis.Title.Caption = 'Temp'\n"
      "end\n");
  const auto read = Read(binary);
  EXPECT_EQ(read->axis.Title()->Text(), "Temp");
}

TEST(AxisTitleItemsLayout, CustomItemsWithPicturesAndFormatsAreReadBack) {
  TAxisHost host(nullptr);
  TAxisItems* items = host.axis.Items();
  items->Add(10, "ten");
  TAxisItem& second = items->Add(20.5);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(3, 2);
  picture.Canvas()->Brush()->SetColor(clBlue);
  picture.Canvas()->FillRect(TRect(0, 0, 3, 2));
  picture.Canvas()->SetPixel(2, 1, clLime);
  second.Picture()->Assign(&picture);
  second.Format()->Font()->SetColor(clRed);
  second.Format()->SetTransparent(false);

  const std::string binary = Write(host);
  const std::string text = AsText(binary);
  EXPECT_NE(text.find("Axis.Items"), std::string::npos) << text;

  const auto read = Read(binary);
  TAxisItems* back = read->axis.Items();
  EXPECT_FALSE(back->Automatic());
  ASSERT_EQ(back->Count(), 2);
  EXPECT_EQ(back->Item(0).Text(), "ten");
  EXPECT_EQ(back->Item(0).Value(), 10);
  EXPECT_EQ(back->Item(0).PictureOrNull(), nullptr) << "no picture was written for the first item";
  EXPECT_EQ(back->Item(0).FormatOrNull(), nullptr) << "no format was written for the first item";
  EXPECT_EQ(back->Item(1).Text(), "");
  EXPECT_EQ(back->Item(1).Value(), 20.5);
  ASSERT_NE(back->Item(1).PictureOrNull(), nullptr);
  ASSERT_TRUE(back->Item(1).PictureOrNull()->HasGraphic());
  TGraphic* graphic = back->Item(1).PictureOrNull()->Graphic();
  EXPECT_EQ(graphic->Width(), 3);
  EXPECT_EQ(graphic->Height(), 2);
  EXPECT_EQ(PixelOf(graphic, 0, 0), clBlue);
  EXPECT_EQ(PixelOf(graphic, 2, 1), clLime);
  ASSERT_NE(back->Item(1).FormatOrNull(), nullptr);
  EXPECT_EQ(back->Item(1).FormatOrNull()->Font()->Color(), clRed);
  EXPECT_FALSE(back->Item(1).FormatOrNull()->Transparent());
}

TEST(AxisTitleItemsLayout, ReadItemsReplaceTheListAndAnEmptyEntryKeepsIt) {
  // A layout with one item replaces the two the axis had.
  TAxisHost source(nullptr);
  source.axis.Items()->Add(5, "five");
  const std::string binary = Write(source);
  {
    RegisterClass(TAxisHost::StaticClass());
    TAxisHost target(nullptr);
    target.axis.Items()->Add(1, "a");
    target.axis.Items()->Add(2, "b");
    TMemoryStream stream;
    stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
    stream.SetPosition(0);
    stream.ReadComponent(&target);
    ASSERT_EQ(target.axis.Items()->Count(), 1);
    EXPECT_EQ(target.axis.Items()->Item(0).Text(), "five");
  }
  // A zero count leaves the list as it is, still automatic.
  {
    TAxisItems items(nullptr, nullptr);
    TMemoryStream stream;
    stream.WriteValue<std::int32_t>(0);
    stream.SetPosition(0);
    items.ReadItems(stream);
    EXPECT_TRUE(items.Automatic());
    EXPECT_EQ(items.Count(), 0);
  }
}
