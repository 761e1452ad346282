// TIcon: .ico reading (best-fitting image), drawing with DrawIconEx, handle ownership.
#include "toolkit/graphics/Icon.h"

#include <cstring>

#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/SysUtils.h"

const TClassInfo& TIcon::StaticClass() {
  static const TClassInfo info = TClassBuilder<TIcon>("TIcon", &TGraphic::StaticClass()).Build();
  return info;
}

TIcon::~TIcon() {
  if (handle_ != nullptr) DestroyIcon(handle_);
}

void TIcon::SetWidth(int value) {
  if (value != width_) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int value) {
  if (value != height_) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHandleKeepingData(HICON value) {
  if (handle_ != nullptr && handle_ != value) DestroyIcon(handle_);
  handle_ = value;
  width_ = height_ = 0;
  if (handle_ != nullptr) {
    ICONINFO info{};
    if (GetIconInfo(handle_, &info)) {
      BITMAP bm{};
      if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof(bm), &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
      } else if (info.hbmMask != nullptr && GetObjectW(info.hbmMask, sizeof(bm), &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight / 2;
      }
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
  }
  Changed();
}

void TIcon::SetHandle(HICON value) {
  fileData_.clear();
  SetHandleKeepingData(value);
}

HICON TIcon::ReleaseHandle() {
  HICON result = handle_;
  handle_ = nullptr;
  width_ = height_ = 0;
  fileData_.clear();
  return result;
}

void TIcon::Assign(TPersistent* source) {
  if (source == nullptr) {
    SetHandle(nullptr);
    return;
  }
  if (auto* other = dynamic_cast<TIcon*>(source)) {
    if (other == this) return;
    std::vector<unsigned char> data = other->fileData_;
    SetHandleKeepingData(other->handle_ ? CopyIcon(other->handle_) : nullptr);
    fileData_ = std::move(data);
    return;
  }
  TGraphic::Assign(source);
}

void TIcon::LoadFromStream(TStream& stream) {
  const long long size = stream.Size() - stream.Position();
  std::vector<unsigned char> data(static_cast<size_t>(std::max<long long>(size, 0)));
  stream.ReadBuffer(data.data(), size);
  // ICONDIR: reserved, type 1, count; then 16-byte entries.
  auto word = [&](size_t at) -> unsigned {
    return at + 2 <= data.size() ? static_cast<unsigned>(data[at] | (data[at + 1] << 8)) : 0;
  };
  auto dword = [&](size_t at) -> unsigned {
    return at + 4 <= data.size() ? word(at) | (word(at + 2) << 16) : 0;
  };
  const unsigned count = word(4);
  if (data.size() < 6 || word(2) != 1 || count == 0 || data.size() < 6 + count * 16u)
    throw EInvalidGraphic("Icon image is not valid");
  const int wanted = GetSystemMetrics(SM_CXICON);
  size_t best = 0;
  int bestScore = -1;
  for (unsigned i = 0; i < count; ++i) {
    const size_t e = 6 + i * 16;
    const int w = data[e] == 0 ? 256 : data[e];
    const int bits = static_cast<int>(word(e + 6));
    const int score = 100000 - std::abs(w - wanted) * 100 + bits;
    if (score > bestScore) {
      bestScore = score;
      best = e;
    }
  }
  const unsigned bytes = dword(best + 8);
  const unsigned offset = dword(best + 12);
  if (offset + bytes > data.size()) throw EInvalidGraphic("Icon image is not valid");
  const int w = data[best] == 0 ? 256 : data[best];
  const int h = data[best + 1] == 0 ? 256 : data[best + 1];
  HICON icon = CreateIconFromResourceEx(data.data() + offset, bytes, TRUE, 0x00030000, w, h, LR_DEFAULTCOLOR);
  if (icon == nullptr) throw EInvalidGraphic("Icon image is not valid");
  SetHandleKeepingData(icon);
  fileData_ = std::move(data);
}

void TIcon::SaveToStream(TStream& stream) {
  if (Empty()) return;
  if (fileData_.empty()) throw EInvalidGraphicOperation("Cannot save an icon that was not loaded from a file");
  stream.WriteBuffer(fileData_.data(), static_cast<long long>(fileData_.size()));
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
  if (handle_ == nullptr) return;
  DrawIconEx(canvas->Handle(), rect.Left, rect.Top, handle_, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}
