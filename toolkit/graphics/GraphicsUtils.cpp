// Frame painter, checker patterns and masked stretch-blits.
#include "toolkit/graphics/GraphicsUtils.h"

#include <map>
#include <memory>
#include <utility>

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GdiHandles.h"

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
  canvas->Pen()->SetWidth(1);
  --rect.Bottom;
  --rect.Right;
  while (width > 0) {
    --width;
    const TPoint topRight(rect.Right, rect.Top);
    const TPoint bottomLeft(rect.Left, rect.Bottom);
    canvas->Pen()->SetColor(topColor);
    canvas->Polyline({bottomLeft, rect.TopLeft(), topRight});
    canvas->Pen()->SetColor(bottomColor);
    canvas->Polyline({topRight, rect.BottomRight(), TPoint(bottomLeft.X - 1, bottomLeft.Y)});
    rect = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
  }
  ++rect.Bottom;
  ++rect.Right;
}

namespace {
std::map<std::pair<TColor, TColor>, std::unique_ptr<TBitmap>>& PatternBitmaps() {
  static std::map<std::pair<TColor, TColor>, std::unique_ptr<TBitmap>> patterns;
  return patterns;
}
}  // namespace

TBitmap* AllocPatternBitmap(TColor backColor, TColor foreColor) {
  auto& patterns = PatternBitmaps();
  auto& slot = patterns[{backColor, foreColor}];
  if (!slot) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(8, 8);
    TCanvas* canvas = bitmap->Canvas();
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) canvas->SetPixel(x, y, ((x + y) % 2 == 0) ? backColor : foreColor);
    slot = std::move(bitmap);
  }
  return slot.get();
}

void FreePatternBitmaps() { PatternBitmaps().clear(); }

bool TransparentStretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int srcX, int srcY, int srcW, int srcH,
                           HDC maskDC, int maskX, int maskY) {
  if (w <= 0 || h <= 0) return true;
  TMemoryDC work = TMemoryDC::Create(dst);
  TBitmapHandle buffer(CreateCompatibleBitmap(dst, w, h));
  if (!buffer) return false;
  TSelectGuard select(work.Get(), buffer.Get());
  HDC wdc = work.Get();
  const int oldMode = SetStretchBltMode(wdc, COLORONCOLOR);
  bool ok = BitBlt(wdc, 0, 0, w, h, dst, x, y, SRCCOPY) != 0;
  // D ^ S, masked (1 keeps, 0 clears), ^ S: the source where the mask is 0, D elsewhere.
  ok = ok && StretchBlt(wdc, 0, 0, w, h, src, srcX, srcY, srcW, srcH, SRCINVERT) != 0;
  SetTextColor(wdc, RGB(0, 0, 0));
  SetBkColor(wdc, RGB(255, 255, 255));
  ok = ok && StretchBlt(wdc, 0, 0, w, h, maskDC, maskX, maskY, srcW, srcH, SRCAND) != 0;
  ok = ok && StretchBlt(wdc, 0, 0, w, h, src, srcX, srcY, srcW, srcH, SRCINVERT) != 0;
  SetStretchBltMode(wdc, oldMode);
  ok = ok && BitBlt(dst, x, y, w, h, wdc, 0, 0, SRCCOPY) != 0;
  return ok;
}
