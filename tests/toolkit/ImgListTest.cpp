// Image lists: masked images draw their colours and leave the masked pixels alone, a disabled
// image is drawn differently, change links hear of changes, and the images survive a layout
// round trip (the "Bitmap" entry).
#include <gtest/gtest.h>

#include "PixelHelpers.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/ImgList.h"

namespace {

// Two 16 x 16 images: red and blue squares with a fuchsia (transparent) border.
void AddTwoImages(TImageList& list) {
  TBitmap strip;
  strip.SetPixelFormat(pf32bit);
  strip.SetSize(32, 16);
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect(Rect(0, 0, 32, 16));
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(Rect(4, 4, 12, 12));
  strip.Canvas()->Brush()->SetColor(clBlue);
  strip.Canvas()->FillRect(Rect(20, 4, 28, 12));
  list.AddMasked(&strip, clFuchsia);
}

TEST(ImageList, MaskedImagesDrawTheirColoursOnly) {
  TImageList list(nullptr);
  int changes = 0;
  TChangeLink link;
  link.OnChange = [&](TObject*) { ++changes; };
  list.RegisterChanges(&link);
  AddTwoImages(list);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(changes, 1);
  TBitmap target;
  MakeCanvasBitmap(target, 40, 20);
  list.Draw(target.Canvas(), 0, 0, 0);
  list.Draw(target.Canvas(), 20, 0, 1);
  EXPECT_EQ(PixelAt(target, 8, 8), clRed);
  EXPECT_EQ(PixelAt(target, 28, 8), clBlue);
  EXPECT_EQ(PixelAt(target, 1, 1), clWhite) << "the masked border stays transparent";
  list.Draw(target.Canvas(), 0, 0, 5);  // no such image: nothing
  TBitmap disabled;
  MakeCanvasBitmap(disabled, 20, 20);
  list.Draw(disabled.Canvas(), 0, 0, 0, false);
  EXPECT_NE(PixelAt(disabled, 8, 8), clRed) << "disabled images are drawn greyed";
  list.UnRegisterChanges(&link);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(changes, 1);
}

TEST(ImageList, ImagesSurviveTheLayoutRoundTrip) {
  TImageList source(nullptr);
  source.SetName("ilTray");
  AddTwoImages(source);
  TMemoryStream stream;
  stream.WriteComponent(&source);
  stream.SetPosition(0);
  TImageList copy(nullptr);
  stream.ReadComponent(&copy);
  ASSERT_EQ(copy.Count(), 2);
  TBitmap image;
  copy.GetBitmap(1, &image);
  EXPECT_EQ(PixelAt(image, 8, 8), clBlue);
  EXPECT_EQ(PixelAt(image, 1, 1), clWhite) << "the mask came along";
}

}  // namespace
