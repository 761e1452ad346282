// Transparency groups: snapshots and blending (see KelBlend.h).
#include "canvas/KelBlend.h"

#include <algorithm>
#include <memory>

#include "canvas/BitmapUtils.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/Math.h"

TKelBlend::TKelBlend(TKelCanvas* canvas, const TRect& rect) : canvas_(canvas) {
  if (canvas_ != nullptr) TakeSnapshot(rect);
}

TKelBlend::~TKelBlend() { delete snapshot_; }

namespace {
TBitmap* BufferOf(TKelCanvas* canvas) {
  auto* gdi = dynamic_cast<TKelCanvas3D*>(canvas);
  return gdi != nullptr ? gdi->BufferBitmap : nullptr;
}
}  // namespace

void TKelBlend::TakeSnapshot(const TRect& rect) {
  delete snapshot_;
  snapshot_ = nullptr;
  TRect r = OrderedRect(rect);
  r.Left = std::max(r.Left, 0);
  r.Top = std::max(r.Top, 0);
  if (r.Right <= r.Left) r.Right = r.Left + 1;
  if (r.Bottom <= r.Top) r.Bottom = r.Top + 1;
  r.Right = std::min(r.Right, canvas_->Bounds.Right);
  r.Bottom = std::min(r.Bottom, canvas_->Bounds.Bottom);
  rect_ = r;
  valid_ = r.Right > r.Left && r.Bottom > r.Top;
  if (!valid_) return;
  snapshot_ = new TBitmap();
  snapshot_->SetIgnorePalette(true);
  snapshot_->SetPixelFormat(pf24bit);
  snapshot_->SetSize(r.Width(), r.Height());
  TBitmap* buffer = BufferOf(canvas_);
  HDC source = buffer != nullptr ? buffer->Canvas()->Handle() : canvas_->GetDeviceHandle();
  BitBlt(snapshot_->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), source, r.Left, r.Top, SRCCOPY);
}

void ApplyBlend(TKelBlend* blend, int transparency) {
  if (blend == nullptr || !blend->Valid() || blend->Canvas()->NoBitmapEffects) return;
  TKelCanvas* canvas = blend->Canvas();
  const TRect& r = blend->SnapshotRect();
  TBitmap* target = BufferOf(canvas);
  std::unique_ptr<TBitmap> temporary;
  TPoint position(r.Left, r.Top);
  if (target == nullptr) {
    temporary = std::make_unique<TBitmap>();
    temporary->SetPixelFormat(pf24bit);
    temporary->SetSize(r.Width(), r.Height());
    BitBlt(temporary->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), canvas->GetDeviceHandle(), r.Left, r.Top,
           SRCCOPY);
    target = temporary.get();
    position = TPoint(0, 0);
  }
  const int align = canvas->GetTextAlign();
  BlendBitmaps(blend->Snapshot(), target, position, 100 - transparency, nullptr);
  if (canvas->GetTextAlign() != align) {
    canvas->AssignFont(canvas->Font());
    canvas->SetTextAlign(align);
  }
  if (temporary != nullptr) canvas->DrawGraphic(r.Left, r.Top, temporary.get());
}

void BlendBitmaps(TBitmap* source, TBitmap* target, TPoint position, double percent, TBitmap* mask) {
  const int x0 = std::max(position.X, 0);
  const int y0 = std::max(position.Y, 0);
  const int w = std::min(source->Width(), target->Width() - x0);
  const int h = std::min(source->Height(), target->Height() - y0);
  if (w <= 0 || h <= 0) return;
  TAlphaBlendProc alphaBlend = LoadAlphaBlend();
  if (alphaBlend != nullptr && mask == nullptr) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(255 - Round(percent * 2.55)), 0};
    alphaBlend(target->Canvas()->Handle(), x0, y0, w, h, source->Canvas()->Handle(), 0, 0, w, h, blend);
    return;
  }
  const auto sourceRows = ScanLines24(*source);
  const auto targetRows = ScanLines24(*target);
  std::vector<unsigned char*> maskRows;
  if (mask != nullptr) maskRows = ScanLines24(*mask);
  const int k = static_cast<int>(Round((100 - percent) * 2.56));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned char* t = targetRows[y0 + y] + (x0 + x) * 3;
      const unsigned char* s = sourceRows[y] + x * 3;
      if (t[0] == 255 && t[1] == 255 && t[2] == 255) t[2] = 254;
      for (int c = 0; c < 3; ++c) {
        const int weight = mask != nullptr ? maskRows[y][x * 3 + c] : k;
        t[c] = static_cast<unsigned char>(t[c] + ((s[c] - t[c]) * weight) / 256);
      }
    }
  }
}
