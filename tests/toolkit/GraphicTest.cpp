// The other graphics: metafiles recorded on a canvas and played into a bitmap, icons drawn
// with their mask, and a picture stored in a layout ("Picture.Data") and read back.
#include <gtest/gtest.h>

#include "PixelHelpers.h"
#include "toolkit/classes/Component.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

TEST(MetafileTest, RecordedDrawingPlaysBackIntoABitmap) {
  TMetafile metafile;
  {
    TMetafileCanvas canvas(&metafile, nullptr);
    canvas.Brush()->SetColor(clRed);
    canvas.Pen()->SetStyle(psClear);
    canvas.Rectangle(0, 0, 41, 21);
  }
  ASSERT_FALSE(metafile.Empty());
  EXPECT_GT(metafile.Width(), 0);
  TBitmap bitmap;
  MakeCanvasBitmap(bitmap, 100, 50);
  bitmap.Canvas()->StretchDraw(Rect(10, 10, 50, 30), &metafile);
  const TRect ink = InkBounds(bitmap, [](TColor c) { return c == clRed; });
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, 9);
  EXPECT_LE(ink.Right, 51);
  EXPECT_EQ(PixelAt(bitmap, 30, 20), clRed);
  EXPECT_EQ(PixelAt(bitmap, 80, 40), clWhite);
  // Saved and reloaded, it still plays.
  TMemoryStream stream;
  metafile.SaveToStream(stream);
  stream.SetPosition(0);
  TMetafile copy;
  copy.LoadFromStream(stream);
  TBitmap again;
  MakeCanvasBitmap(again, 100, 50);
  again.Canvas()->StretchDraw(Rect(10, 10, 50, 30), &copy);
  EXPECT_EQ(PixelAt(again, 30, 20), clRed);
}

TEST(IconTest, DrawsThroughItsMask) {
  // 16x16 icon: the mask makes the left half transparent, the colour part is blue.
  TBitmap colour;
  MakeCanvasBitmap(colour, 16, 16);
  colour.Canvas()->Brush()->SetColor(clBlue);
  colour.Canvas()->FillRect(Rect(0, 0, 16, 16));
  TBitmap mask;
  mask.SetPixelFormat(pf1bit);
  mask.SetSize(16, 16);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(8, 0, 16, 16));  // black = opaque
  colour.Canvas()->Brush()->SetColor(clBlack);
  colour.Canvas()->FillRect(Rect(0, 0, 8, 16));  // transparent part of the colour image is black
  ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
  TIcon icon;
  icon.SetHandle(CreateIconIndirect(&info));
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  EXPECT_THROW(icon.SetWidth(32), EInvalidGraphicOperation);
  TBitmap target;
  MakeCanvasBitmap(target, 30, 30);
  target.Canvas()->Brush()->SetColor(clLime);
  target.Canvas()->FillRect(Rect(0, 0, 30, 30));
  target.Canvas()->Draw(5, 5, &icon);
  EXPECT_EQ(InkBounds(target, [](TColor c) { return c == clBlue; }), Rect(13, 5, 21, 21));
  EXPECT_EQ(PixelAt(target, 8, 10), clLime);
}

// A component with a picture, as layouts store them.
class TPictureHolder : public TComponent {
 public:
  explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<TPictureHolder>("TPictureHolder", &TComponent::StaticClass())
                                       .Property("Picture", [](TPictureHolder& h) { return &h.picture; }, nullptr)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TPicture picture;
};

TEST(PictureTest, StoredInALayoutAndReadBack) {
  TPictureHolder source(nullptr);
  source.SetName("Holder");
  TBitmap* bitmap = source.picture.Bitmap();
  MakeCanvasBitmap(*bitmap, 7, 5);
  bitmap->Canvas()->SetPixel(3, 2, clRed);
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteRootComponent(&source);
  }
  stream.SetPosition(0);
  const std::string text = ObjectBinaryToText(
      std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())));
  EXPECT_NE(text.find("Picture.Data"), std::string::npos) << text;
  TPictureHolder target(nullptr);
  stream.SetPosition(0);
  TReader reader(stream);
  reader.ReadRootComponent(&target);
  auto* loaded = dynamic_cast<TBitmap*>(target.picture.Graphic());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 7);
  EXPECT_EQ(loaded->Height(), 5);
  EXPECT_EQ(loaded->PixelFormat(), pf32bit);
  EXPECT_EQ(PixelAt(*loaded, 3, 2), clRed);
  EXPECT_EQ(PixelAt(*loaded, 4, 2), clWhite);
}

}  // namespace
