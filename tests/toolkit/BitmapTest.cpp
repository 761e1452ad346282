// TBitmap: pixel formats, BMP files that reload identically, size changes, scan lines, and
// TPicture's file formats.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "PixelHelpers.h"
#include "support/TestPaths.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

// A recognisable picture: four coloured quadrants and a diagonal.
void PaintPattern(TBitmap& b) {
  TCanvas& c = *b.Canvas();
  const int w = b.Width();
  const int h = b.Height();
  c.Brush()->SetColor(clRed);
  c.FillRect(Rect(0, 0, w / 2, h / 2));
  c.Brush()->SetColor(clBlue);
  c.FillRect(Rect(w / 2, 0, w, h / 2));
  c.Brush()->SetColor(clBlack);
  c.FillRect(Rect(0, h / 2, w / 2, h));
  c.Pen()->SetColor(clBlack);
  c.MoveTo(0, 0);
  c.LineTo(w, h);
}

std::vector<std::uint8_t> Rows(TBitmap& b) {
  std::vector<std::uint8_t> bytes;
  for (int y = 0; y < b.Height(); ++y) {
    const auto* row = static_cast<const std::uint8_t*>(b.ScanLine(y));
    bytes.insert(bytes.end(), row, row + b.RowBytes());
  }
  return bytes;
}

TEST(BitmapTest, NewPixelsAreWhiteInEveryFormat) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(static_cast<int>(format));
    TBitmap b;
    b.SetPixelFormat(format);
    b.SetSize(13, 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) ASSERT_EQ(b.Canvas()->Pixel(x, y), clWhite) << x << "," << y;
  }
}

TEST(BitmapTest, GrowingKeepsTheImageAndWhitensTheNewArea) {
  TBitmap b;
  MakeCanvasBitmap(b, 10, 10);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 10, 10));
  b.SetSize(20, 15);
  EXPECT_EQ(InkBounds(b, [](TColor c) { return c == clRed; }), Rect(0, 0, 10, 10));
  EXPECT_EQ(CountPixels(b, [](TColor c) { return c == clWhite; }), 20 * 15 - 100);
  b.SetWidth(4);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(CountPixels(b, [](TColor c) { return c == clRed; }), 40);
}

TEST(BitmapTest, SavedBitmapReloadsIdenticallyInEveryFormat) {
  struct Case {
    TPixelFormat format;
    int bits;
  };
  const Case cases[] = {{pf1bit, 1}, {pf4bit, 4}, {pf8bit, 8}, {pf15bit, 16}, {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    TBitmap original;
    original.SetPixelFormat(c.format);
    original.SetSize(17, 9);  // odd width: rows carry padding
    PaintPattern(original);
    TMemoryStream stream;
    original.SaveToStream(stream);
    // BITMAPFILEHEADER bfSize matches what was written.
    std::uint32_t fileSize = 0;
    std::memcpy(&fileSize, static_cast<const char*>(stream.Memory()) + 2, 4);
    EXPECT_EQ(fileSize, stream.Size());
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.PixelFormat(), c.format);
    EXPECT_EQ(loaded.Width(), 17);
    EXPECT_EQ(loaded.Height(), 9);
    EXPECT_EQ(Rows(loaded), Rows(original));
    TMemoryStream again;
    loaded.SaveToStream(again);
    ASSERT_EQ(again.Size(), stream.Size());
    EXPECT_EQ(std::memcmp(again.Memory(), stream.Memory(), static_cast<size_t>(stream.Size())), 0);
  }
}

TEST(BitmapTest, FileRoundTripKeepsPixels) {
  const std::string path = WinPath(VK_BIN_DIR) + "\\BitmapTest_roundtrip.bmp";
  TBitmap original;
  MakeCanvasBitmap(original, 30, 20);
  PaintPattern(original);
  original.SaveToFile(path);
  TBitmap loaded;
  loaded.LoadFromFile(path);
  EXPECT_EQ(Rows(loaded), Rows(original));
  EXPECT_EQ(PixelAt(loaded, 12, 1), clRed);
  EXPECT_EQ(PixelAt(loaded, 28, 1), clBlue);
  DeleteFile(path);
}

TEST(BitmapTest, ScanLineZeroIsTheTopRowAndOutOfRangeRaises) {
  TBitmap b;
  MakeCanvasBitmap(b, 5, 4);
  b.Canvas()->SetPixel(1, 0, clRed);
  const auto* top = static_cast<const std::uint8_t*>(b.ScanLine(0));
  EXPECT_EQ(top[4 + 2], 0xFF);  // R of pixel 1
  EXPECT_EQ(top[4 + 0], 0x00);  // B
  auto* bottom = static_cast<std::uint8_t*>(b.ScanLine(3));
  bottom[0] = 0;
  bottom[1] = 0;
  bottom[2] = 0;
  EXPECT_EQ(b.Canvas()->Pixel(0, 3), clBlack);
  EXPECT_THROW(b.ScanLine(4), ERangeError);
  EXPECT_THROW(b.ScanLine(-1), ERangeError);
}

TEST(BitmapTest, PixelFormatConversionKeepsColours) {
  TBitmap b;
  MakeCanvasBitmap(b, 8, 8);
  PaintPattern(b);
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(b.RowBytes(), 24);
  EXPECT_EQ(b.Canvas()->Pixel(1, 0), clRed);
  EXPECT_EQ(b.Canvas()->Pixel(6, 1), clBlue);
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(PixelAt(b, 6, 1), clBlue);
  EXPECT_EQ(PixelAt(b, 7, 5), clWhite);
}

TEST(BitmapTest, AssignCopiesTheImage) {
  TBitmap a;
  MakeCanvasBitmap(a, 6, 6);
  PaintPattern(a);
  a.SetTransparent(true);
  TBitmap b;
  b.Assign(&a);
  EXPECT_EQ(Rows(b), Rows(a));
  EXPECT_TRUE(b.Transparent());
  a.Canvas()->Brush()->SetColor(clLime);
  a.Canvas()->FillRect(Rect(0, 0, 6, 6));
  EXPECT_EQ(PixelAt(b, 0, 5), clBlack);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
}

DWORD CompressionOf(const TBitmap& b) {
  DIBSECTION section{};
  if (GetObjectW(b.Handle(), sizeof(section), &section) != sizeof(section)) return ~0u;
  return section.dsBmih.biCompression;
}

// A 32-bit bitmap whose fourth byte is ignored is described by colour masks, and is otherwise
// the same bitmap: same pixels, same bytes when saved, kept through a resize and a copy.
TEST(BitmapTest, AlphaIgnoredBitmapDiffersOnlyInItsDescription) {
  TBitmap plain, masked;
  masked.SetAlphaIgnored(true);
  for (TBitmap* b : {&plain, &masked}) {
    b->SetPixelFormat(pf32bit);
    b->SetSize(9, 5);
    PaintPattern(*b);
  }
  EXPECT_EQ(CompressionOf(plain), static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(CompressionOf(masked), static_cast<DWORD>(BI_BITFIELDS));
  EXPECT_EQ(Rows(masked), Rows(plain));
  TMemoryStream plainFile, maskedFile;
  plain.SaveToStream(plainFile);
  masked.SaveToStream(maskedFile);
  ASSERT_EQ(maskedFile.Size(), plainFile.Size());
  EXPECT_EQ(std::memcmp(maskedFile.Memory(), plainFile.Memory(), static_cast<size_t>(plainFile.Size())), 0);

  masked.SetSize(12, 6);
  EXPECT_EQ(CompressionOf(masked), static_cast<DWORD>(BI_BITFIELDS));
  EXPECT_EQ(PixelAt(masked, 1, 0), clRed);
  TBitmap copy;
  copy.Assign(&masked);
  EXPECT_TRUE(copy.AlphaIgnored());
  EXPECT_EQ(CompressionOf(copy), static_cast<DWORD>(BI_BITFIELDS));
  EXPECT_EQ(Rows(copy), Rows(masked));
}

TEST(BitmapTest, DamagedDataRaisesInvalidGraphic) {
  TMemoryStream stream;
  const char junk[] = "XX this is not a bitmap at all, not even close";
  stream.WriteBuffer(junk, sizeof(junk));
  stream.SetPosition(0);
  TBitmap b;
  EXPECT_THROW(b.LoadFromStream(stream), EInvalidGraphic);
  // A header claiming a huge image with no pixels behind it.
  TBitmap good;
  MakeCanvasBitmap(good, 4, 4);
  TMemoryStream truncated;
  good.SaveToStream(truncated);
  truncated.SetSize(truncated.Size() - 10);
  truncated.SetPosition(0);
  EXPECT_THROW(b.LoadFromStream(truncated), Exception);
}

TEST(BitmapTest, MaskMarksTheTransparentColour) {
  TBitmap b;
  MakeCanvasBitmap(b, 4, 4);
  b.Canvas()->SetPixel(1, 1, clRed);
  TBitmap mask;
  mask.SetHandle(b.CreateMask(clWhite));
  EXPECT_TRUE(mask.Monochrome());
  EXPECT_EQ(mask.Canvas()->Pixel(1, 1), clBlack);
  EXPECT_EQ(mask.Canvas()->Pixel(2, 2), clWhite);
}

TEST(PictureTest, LoadsByExtensionAndRefusesUnknownOnes) {
  const std::string path = WinPath(VK_BIN_DIR) + "\\PictureTest.bmp";
  TBitmap original;
  MakeCanvasBitmap(original, 5, 3);
  original.SaveToFile(path);
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile(path);
  ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 5);
  EXPECT_EQ(picture.Height(), 3);
  EXPECT_GT(changes, 0);
  EXPECT_THROW(picture.LoadFromFile(WinPath(VK_BIN_DIR) + "\\PictureTest.xyz"), EInvalidGraphic);
  EXPECT_NE(picture.Graphic(), nullptr);
  DeleteFile(path);
}

}  // namespace
