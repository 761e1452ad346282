// TMetafile and TMetafileCanvas over the platform's enhanced metafiles.
#include "toolkit/graphics/Metafile.h"

#include <vector>

#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/SysUtils.h"

const TClassInfo& TMetafile::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMetafile>("TMetafile", &TGraphic::StaticClass()).Build();
  return info;
}

TMetafile::~TMetafile() {
  if (handle_ != nullptr) DeleteEnhMetaFile(handle_);
}

void TMetafile::SetHandle(HENHMETAFILE value) {
  if (value == handle_) return;
  if (handle_ != nullptr) DeleteEnhMetaFile(handle_);
  handle_ = value;
  width_ = height_ = 0;
  if (handle_ != nullptr) {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(handle_, sizeof(header), &header);
    // rclFrame is in 0.01 mm; the size is given in the reference device's pixels.
    const int mmW = header.szlMillimeters.cx > 0 ? header.szlMillimeters.cx : 1;
    const int mmH = header.szlMillimeters.cy > 0 ? header.szlMillimeters.cy : 1;
    width_ = MulDiv(header.rclFrame.right - header.rclFrame.left, header.szlDevice.cx, mmW * 100);
    height_ = MulDiv(header.rclFrame.bottom - header.rclFrame.top, header.szlDevice.cy, mmH * 100);
  }
  Changed();
}

HENHMETAFILE TMetafile::ReleaseHandle() {
  HENHMETAFILE result = handle_;
  handle_ = nullptr;
  width_ = height_ = 0;
  return result;
}

void TMetafile::Assign(TPersistent* source) {
  if (source == nullptr) {
    Clear();
    return;
  }
  if (auto* other = dynamic_cast<TMetafile*>(source)) {
    if (other == this) return;
    const int w = other->width_;
    const int h = other->height_;
    SetHandle(other->handle_ ? CopyEnhMetaFileW(other->handle_, nullptr) : nullptr);
    width_ = w;
    height_ = h;
    return;
  }
  TGraphic::Assign(source);
}

void TMetafile::LoadFromStream(TStream& stream) {
  const long long size = stream.Size() - stream.Position();
  std::vector<unsigned char> data(static_cast<size_t>(std::max<long long>(size, 0)));
  stream.ReadBuffer(data.data(), size);
  HENHMETAFILE emf = SetEnhMetaFileBits(static_cast<UINT>(data.size()), data.data());
  if (emf == nullptr) throw EInvalidGraphic("Metafile is not valid");
  SetHandle(emf);
}

void TMetafile::SaveToStream(TStream& stream) {
  if (handle_ == nullptr) return;
  const UINT size = GetEnhMetaFileBits(handle_, 0, nullptr);
  std::vector<unsigned char> data(size);
  GetEnhMetaFileBits(handle_, size, data.data());
  stream.WriteBuffer(data.data(), size);
}

void TMetafile::Draw(TCanvas* canvas, const TRect& rect) {
  if (handle_ == nullptr) return;
  const RECT r = rect;
  PlayEnhMetaFile(canvas->Handle(), handle_, &r);
}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, HDC referenceDevice) : metafile_(metafile) {
  recordDC_ = CheckGdi(CreateEnhMetaFileW(referenceDevice, nullptr, nullptr, nullptr));
  SetHandle(recordDC_);
}

TMetafileCanvas::~TMetafileCanvas() {
  SetHandle(nullptr);
  HENHMETAFILE emf = CloseEnhMetaFile(recordDC_);
  if (metafile_ != nullptr && emf != nullptr) {
    metafile_->SetHandle(emf);
  } else if (emf != nullptr) {
    DeleteEnhMetaFile(emf);
  }
}
