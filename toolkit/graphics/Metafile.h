// TMetafile: an enhanced metafile (EMF) picture, and TMetafileCanvas, the canvas that records
// one: drawing on it goes into the metafile, which receives the recording when the canvas is
// destroyed. Width and Height are in pixels of the reference device.
#pragma once

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Graphic.h"

class TMetafile : public TGraphic {
 public:
  TMetafile() = default;
  ~TMetafile() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  bool Empty() const override { return handle_ == nullptr; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int value) override { width_ = value; }
  void SetHeight(int value) override { height_ = value; }
  // Always enhanced; kept for callers that ask.
  bool Enhanced() const { return true; }

  HENHMETAFILE Handle() const { return handle_; }
  // Adopts an EMF handle (deleted by the metafile later); its frame gives the size.
  void SetHandle(HENHMETAFILE value);
  HENHMETAFILE ReleaseHandle();
  void Clear() { SetHandle(nullptr); }

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) override;

 protected:
  void Draw(TCanvas* canvas, const TRect& rect) override;

 private:
  HENHMETAFILE handle_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

class TMetafileCanvas : public TCanvas {
 public:
  // Records against `referenceDevice` (the screen when null) into `metafile`.
  TMetafileCanvas(TMetafile* metafile, HDC referenceDevice);
  ~TMetafileCanvas() override;

 private:
  TMetafile* metafile_;
  HDC recordDC_ = nullptr;
};
