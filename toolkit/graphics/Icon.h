// TIcon: an icon picture. Loaded from an .ico file (the image that fits the system's icon size
// best), or adopted from a handle; drawn with its mask. An icon read from a file is saved as
// the same bytes.
#pragma once

#include <vector>

#include "toolkit/graphics/Graphic.h"
#include "toolkit/system/WinApi.h"

class TIcon : public TGraphic {
 public:
  TIcon() = default;
  ~TIcon() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  bool Empty() const override { return handle_ == nullptr; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // The size comes from the image; EInvalidGraphicOperation "Cannot change the size of an icon".
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  bool Transparent() const override { return true; }

  HICON Handle() const { return handle_; }
  // Adopts an icon handle (destroyed by the icon later).
  void SetHandle(HICON value);
  HICON ReleaseHandle();

  void LoadFromStream(TStream& stream) override;
  // EInvalidGraphicOperation for an icon that was not read from a file.
  void SaveToStream(TStream& stream) override;

 protected:
  void Draw(TCanvas* canvas, const TRect& rect) override;

 private:
  void SetHandleKeepingData(HICON value);
  HICON handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::vector<unsigned char> fileData_;
};
