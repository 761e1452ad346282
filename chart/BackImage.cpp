// The chart's back image: fitting modes and flat drawing.
#include "chart/BackImage.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Graphic.h"

const TEnumInfo& EnumTypeInfo(TKelBackImageMode) {
  static const TEnumInfo info("TKelBackImageMode", {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TCanvasStretchQuality) {
  static const TEnumInfo info("TCanvasStretchQuality", {"sqHigh", "sqLow"});
  return info;
}

const TClassInfo& TBackImage::StaticClass() {
  using B = TBackImage;
  static const TClassInfo info = TClassBuilder<B>("TBackImage", &TKelPicture::StaticClass())
                                     .Property("Inside", &B::Inside, &B::SetInside)
                                     .Default(false)
                                     .Property("Mode", &B::Mode, &B::SetMode)
                                     .Default(pbmStretch)
                                     .Property("DrawQuality", &B::DrawQuality, &B::SetDrawQuality)
                                     .Default(sqHigh)
                                     .Property("Left", &B::Left, &B::SetLeft)
                                     .Default(0)
                                     .Property("Top", &B::Top, &B::SetTop)
                                     .Default(0)
                                     .Property("Right", &B::Right, &B::SetRight)
                                     .Default(0)
                                     .Property("Bottom", &B::Bottom, &B::SetBottom)
                                     .Default(0)
                                     .Build();
  return info;
}

void TBackImage::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TBackImage*>(source)) {
    mode_ = other->mode_;
    inside_ = other->inside_;
    drawQuality_ = other->drawQuality_;
    left_ = other->left_;
    top_ = other->top_;
    right_ = other->right_;
    bottom_ = other->bottom_;
  }
  TKelPicture::Assign(source);
}

void TBackImage::SetMode(TKelBackImageMode value) { Store(mode_, value); }
void TBackImage::SetInside(bool value) { Store(inside_, value); }
void TBackImage::SetDrawQuality(TCanvasStretchQuality value) { Store(drawQuality_, value); }
void TBackImage::SetLeft(int value) { Store(left_, value); }
void TBackImage::SetTop(int value) { Store(top_, value); }
void TBackImage::SetRight(int value) { Store(right_, value); }
void TBackImage::SetBottom(int value) { Store(bottom_, value); }

TRect TBackImage::Target(const TRect& r, int w, int h, bool& stretched) const {
  stretched = false;
  switch (mode_) {
    case pbmCustom: {
      stretched = right_ != 0 || bottom_ != 0;
      const int left = r.Left + left_, top = r.Top + top_;
      return TRect(left, top, left + (right_ != 0 ? right_ : w), top + (bottom_ != 0 ? bottom_ : h));
    }
    case pbmCenter: {
      // Shrunk (or grown) on each side by half the difference of the sizes.
      const int dx = (r.Width() - w) / 2, dy = (r.Height() - h) / 2;
      return TRect(r.Left + dx, r.Top + dy, r.Left + dx + w, r.Top + dy + h);
    }
    default:
      stretched = true;
      return r;
  }
}

void TBackImage::DrawFlat(TKelCanvas* canvas, const TRect& r) {
  if (!HasGraphic()) return;
  TGraphic* graphic = FilteredGraphic();
  if (graphic == nullptr) return;
  const TCanvasStretchQuality saved = canvas->StretchQuality;
  canvas->StretchQuality = drawQuality_;
  if (mode_ == pbmStretch) {
    canvas->DrawGraphicStretched(r, graphic);
  } else {
    canvas->ClipToRect(r);
    const int w = graphic->Width(), h = graphic->Height();
    if (mode_ == pbmTile) {
      if (w > 0 && h > 0)
        for (int y = r.Top; y < r.Bottom; y += h)
          for (int x = r.Left; x < r.Right; x += w) canvas->DrawGraphic(x, y, graphic);
    } else {
      bool stretched = false;
      const TRect target = Target(r, w, h, stretched);
      if (stretched)
        canvas->DrawGraphicStretched(target, graphic);
      else
        canvas->DrawGraphic(target.Left, target.Top, graphic);
    }
    canvas->PopClip();
  }
  canvas->StretchQuality = saved;
}
