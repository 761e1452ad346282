// TCustomImageList over the platform's image list.
#include "toolkit/ui/ImgList.h"

#include <algorithm>
#include <cstdint>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

TChangeLink::~TChangeLink() {
  if (sender_ != nullptr) sender_->UnRegisterChanges(this);
}

const TClassInfo& TCustomImageList::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomImageList>("TCustomImageList", &TComponent::StaticClass())
          .Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
          .Default(16)
          .Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
          .Default(16)
          .Property("OnChange", [](TCustomImageList& l) { return l.OnChange; },
                    [](TCustomImageList& l, TNotifyEvent e) { l.OnChange = e; })
          .Abstract()
          .Build();
  return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : links_) link->sender_ = nullptr;
  if (handle_ != nullptr) ImageList_Destroy(handle_);
}

HIMAGELIST TCustomImageList::Handle() {
  if (handle_ == nullptr) handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
  return handle_;
}

int TCustomImageList::Count() const { return handle_ == nullptr ? 0 : ImageList_GetImageCount(handle_); }

void TCustomImageList::Recreate() {
  // A new size drops the images, as the platform's list cannot resize them.
  if (handle_ != nullptr) ImageList_Destroy(handle_);
  handle_ = nullptr;
  Change();
}

void TCustomImageList::SetWidth(int value) {
  if (value == width_ || value <= 0) return;
  width_ = value;
  Recreate();
}

void TCustomImageList::SetHeight(int value) {
  if (value == height_ || value <= 0) return;
  height_ = value;
  Recreate();
}

namespace {

// A copy of a bitmap's pixels in a bitmap selected nowhere: the platform's image list selects
// what it adds into its own DCs, and a TBitmap's handle may be selected into its canvas.
HBITMAP DetachedCopy(TBitmap* bitmap) {
  const int w = bitmap->Width(), h = bitmap->Height();
  HDC screen = GetDC(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(screen, std::max(w, 1), std::max(h, 1));
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, copy);
  BitBlt(dc, 0, 0, w, h, bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return copy;
}

}  // namespace

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
  HBITMAP colour = DetachedCopy(image);
  HBITMAP monochrome = nullptr;
  if (mask != nullptr) {
    // The mask as a monochrome bitmap: white (masked) where the mask is not black.
    monochrome = CreateBitmap(mask->Width(), mask->Height(), 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, monochrome);
    BitBlt(dc, 0, 0, mask->Width(), mask->Height(), mask->Canvas()->Handle(), 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  const int index = ImageList_Add(Handle(), colour, monochrome);
  DeleteObject(colour);
  if (monochrome != nullptr) DeleteObject(monochrome);
  Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
  HBITMAP colour = DetachedCopy(image);
  const int index = ImageList_AddMasked(Handle(), colour, ColorToRGB(maskColor));
  DeleteObject(colour);
  Change();
  return index;
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  ImageList_Remove(handle_, index);
  Change();
}

void TCustomImageList::Clear() {
  if (handle_ != nullptr) ImageList_Remove(handle_, -1);
  Change();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  if (index < 0 || index >= Count()) return;
  HDC dc = canvas->Handle();
  if (enabled) {
    ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
  } else {
    // Greyed: the platform's embossed drawing of the image as an icon.
    HICON icon = ImageList_GetIcon(handle_, index, ILD_TRANSPARENT);
    if (icon != nullptr) {
      DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width_, height_, DST_ICON | DSS_DISABLED);
      DestroyIcon(icon);
    }
  }
}

void TCustomImageList::GetBitmap(int index, TBitmap* image) {
  image->SetPixelFormat(pf32bit);
  image->SetSize(width_, height_);
  TCanvas* canvas = image->Canvas();
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(Rect(0, 0, width_, height_));
  Draw(canvas, 0, 0, index);
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
  if (link == nullptr || std::find(links_.begin(), links_.end(), link) != links_.end()) return;
  if (link->sender_ != nullptr) link->sender_->UnRegisterChanges(link);
  link->sender_ = this;
  links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
  if (link != nullptr && link->sender_ == this) link->sender_ = nullptr;
}

void TCustomImageList::Change() {
  if (ComponentState().Contains(csLoading)) return;
  const std::vector<TChangeLink*> links = links_;
  for (TChangeLink* link : links) link->OnChange(this);
  OnChange(this);
}

void TCustomImageList::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Bitmap", [this](TStream& s) { ReadImages(s); }, [this](TStream& s) { WriteImages(s); }, Count() > 0);
}

namespace {

void ReadSizedBitmap(TStream& stream, TBitmap& bitmap) {
  const auto size = stream.ReadValue<std::int32_t>();
  TMemoryStream part;
  part.CopyFrom(stream, size);
  part.SetPosition(0);
  bitmap.LoadFromStream(part);
}

void WriteSizedBitmap(TStream& stream, TBitmap& bitmap) {
  TMemoryStream part;
  bitmap.SaveToStream(part);
  stream.WriteValue(static_cast<std::int32_t>(part.Size()));
  part.SetPosition(0);
  stream.CopyFrom(part, part.Size());
}

}  // namespace

void TCustomImageList::ReadImages(TStream& stream) {
  TBitmap strip, mask;
  ReadSizedBitmap(stream, strip);
  ReadSizedBitmap(stream, mask);
  if (handle_ != nullptr) ImageList_Destroy(handle_);
  handle_ = nullptr;
  if (strip.Width() > 0 && strip.Height() > 0) {
    Add(&strip, mask.Width() > 0 ? &mask : nullptr);
  }
}

void TCustomImageList::WriteImages(TStream& stream) {
  const int count = Count();
  TBitmap strip, mask;
  strip.SetPixelFormat(pf32bit);
  strip.SetSize(width_ * count, height_);
  mask.SetPixelFormat(pf32bit);
  mask.SetSize(width_ * count, height_);
  for (int i = 0; i < count; ++i) {
    ImageList_DrawEx(handle_, i, strip.Canvas()->Handle(), i * width_, 0, width_, height_, CLR_NONE, CLR_NONE,
                     ILD_NORMAL | ILD_IMAGE);
    ImageList_DrawEx(handle_, i, mask.Canvas()->Handle(), i * width_, 0, width_, height_, CLR_NONE, CLR_NONE,
                     ILD_MASK);
  }
  WriteSizedBitmap(stream, strip);
  WriteSizedBitmap(stream, mask);
}

const TClassInfo& TImageList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TImageList>("TImageList", &TCustomImageList::StaticClass()).Build();
  return info;
}
