// TBrush: attributes and GDI brush creation (solid, clear, hatched or pattern).
#include "toolkit/graphics/Brush.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"

const TEnumInfo& EnumTypeInfo(TBrushStyle) {
  static const TEnumInfo info("TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                              "bsBDiagonal", "bsCross", "bsDiagCross"});
  return info;
}

const TClassInfo& TBrush::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBrush>("TBrush", &TGraphicsObject::StaticClass())
                                     .Property("Color", &TBrush::Color, &TBrush::SetColor)
                                     .Default(clWhite)
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Property("Style", &TBrush::Style, &TBrush::SetStyle)
                                     .Default(bsSolid)
                                     .Build();
  return info;
}

void TBrush::Assign(TPersistent* source) {
  if (auto* brush = dynamic_cast<TBrush*>(source)) {
    if (brush == this) return;
    color_ = brush->color_;
    style_ = brush->style_;
    bitmap_ = brush->bitmap_;
    AttributeChanged();
    return;
  }
  TPersistent::Assign(source);
}

void TBrush::AttributeChanged() {
  TBrushHandle stale = std::move(handle_);
  Changed();
}

void TBrush::SetColor(TColor value) {
  if (value == color_ && style_ != bsClear) return;
  color_ = value;
  if (style_ == bsClear) style_ = bsSolid;
  AttributeChanged();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (value == style_) return;
  style_ = value;
  AttributeChanged();
}

void TBrush::SetBitmap(TBitmap* value) {
  if (value == bitmap_) return;
  bitmap_ = value;
  AttributeChanged();
}

HBRUSH TBrush::Handle() {
  if (!handle_) {
    LOGBRUSH lb{BS_SOLID, ColorToRGB(color_), 0};
    if (bitmap_ != nullptr && !bitmap_->Empty()) {
      handle_.Reset(CheckGdi(CreatePatternBrush(bitmap_->Handle())));
      return handle_.Get();
    }
    switch (style_) {
      case bsSolid: break;
      case bsClear: lb.lbStyle = BS_NULL; break;
      default:
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = static_cast<ULONG_PTR>(style_ - bsHorizontal);  // HS_HORIZONTAL .. HS_DIAGCROSS
        break;
    }
    handle_.Reset(CheckGdi(CreateBrushIndirect(&lb)));
  }
  return handle_.Get();
}

void TBrush::SetHandle(HBRUSH handle) {
  if (handle == handle_.Get()) return;
  TBrushHandle stale = std::move(handle_);
  Changed();
  handle_.Reset(handle);
  bitmap_ = nullptr;
  LOGBRUSH lb{};
  if (handle == nullptr || GetObjectW(handle, sizeof(lb), &lb) != sizeof(lb)) return;
  switch (lb.lbStyle) {
    case BS_NULL: style_ = bsClear; break;
    case BS_HATCHED:
      style_ = static_cast<TBrushStyle>(bsHorizontal + static_cast<int>(lb.lbHatch));
      color_ = static_cast<TColor>(lb.lbColor);
      break;
    default:
      style_ = bsSolid;
      color_ = static_cast<TColor>(lb.lbColor);
      break;
  }
}
