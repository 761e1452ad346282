// TBackImage: the picture behind a chart (the whole panel, or only the back wall when Inside)
// or inside a shape, with how it is fitted: stretched, tiled, centred or at a custom place.
// Every setter that changes a value fires the picture's change event (the panel repaints).
#pragma once

#include "canvas/KelCanvas.h"
#include "canvas/KelPicture.h"
#include "toolkit/graphics/GraphicsUtils.h"

enum TKelBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };
const TEnumInfo& EnumTypeInfo(TKelBackImageMode);
const TEnumInfo& EnumTypeInfo(TCanvasStretchQuality);

class TBackImage : public TKelPicture {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another back image: the seven settings, then the picture.
  void Assign(TPersistent* source) override;

  TKelBackImageMode Mode() const { return mode_; }
  void SetMode(TKelBackImageMode value);
  bool Inside() const { return inside_; }
  void SetInside(bool value);
  TCanvasStretchQuality DrawQuality() const { return drawQuality_; }
  void SetDrawQuality(TCanvasStretchQuality value);
  int Left() const { return left_; }
  void SetLeft(int value);
  int Top() const { return top_; }
  void SetTop(int value);
  int Right() const { return right_; }
  void SetRight(int value);
  int Bottom() const { return bottom_; }
  void SetBottom(int value);

  // Where the graphic (w x h) goes in r for the centre and custom modes; for stretch the
  // rectangle itself. `stretched` tells whether it is drawn stretched into the answer.
  TRect Target(const TRect& r, int w, int h, bool& stretched) const;
  // Draws the (filtered) graphic into r on a flat canvas as the mode says: stretched, tiled
  // from r's top-left (clipped to r), centred or at the custom place. Nothing without a graphic.
  void DrawFlat(TKelCanvas* canvas, const TRect& r);

 private:
  template <typename T>
  void Store(T& field, T value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
  }
  TKelBackImageMode mode_ = pbmStretch;
  bool inside_ = false;
  TCanvasStretchQuality drawQuality_ = sqHigh;
  int left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};
