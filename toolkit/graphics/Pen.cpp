// TPen: attributes, GDI pen creation and the pen mode table.
#include "toolkit/graphics/Pen.h"

#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TPenStyle) {
  static const TEnumInfo info("TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear",
                                            "psInsideFrame", "psUserStyle", "psAlternate"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TPenMode) {
  static const TEnumInfo info("TPenMode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                           "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                           "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"});
  return info;
}

int PenModeToROP2(TPenMode mode) {
  static constexpr int kModes[] = {R2_BLACK,       R2_WHITE,       R2_NOP,        R2_NOT,
                                   R2_COPYPEN,     R2_NOTCOPYPEN,  R2_MERGEPENNOT, R2_MASKPENNOT,
                                   R2_MERGENOTPEN, R2_MASKNOTPEN,  R2_MERGEPEN,   R2_NOTMERGEPEN,
                                   R2_MASKPEN,     R2_NOTMASKPEN,  R2_XORPEN,     R2_NOTXORPEN};
  return kModes[static_cast<int>(mode) & 15];
}

const TClassInfo& TPen::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPen>("TPen", &TGraphicsObject::StaticClass())
                                     .Property("Color", &TPen::Color, &TPen::SetColor)
                                     .Default(clBlack)
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Property("Mode", &TPen::Mode, &TPen::SetMode)
                                     .Default(pmCopy)
                                     .Property("Style", &TPen::Style, &TPen::SetStyle)
                                     .Default(psSolid)
                                     .Property("Width", &TPen::Width, &TPen::SetWidth)
                                     .Default(1)
                                     .Build();
  return info;
}

void TPen::Assign(TPersistent* source) {
  if (auto* pen = dynamic_cast<TPen*>(source)) {
    if (pen == this) return;
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    AttributeChanged();
    return;
  }
  TPersistent::Assign(source);
}

void TPen::AttributeChanged() {
  // The owner deselects the pen in OnChange; the stale handle goes only after that, and a
  // handle a listener made meanwhile (from the new attributes) stays.
  TPenHandle stale = std::move(handle_);
  Changed();
}

void TPen::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  AttributeChanged();
}

void TPen::SetWidth(int value) {
  if (value < 0 || value == width_) return;
  width_ = value;
  AttributeChanged();
}

void TPen::SetStyle(TPenStyle value) {
  if (value == style_) return;
  style_ = value;
  AttributeChanged();
}

void TPen::SetMode(TPenMode value) {
  if (value == mode_) return;
  mode_ = value;
  // The mode is device state (SetROP2), not part of the GDI pen.
  Changed();
}

HPEN TPen::Handle() {
  if (!handle_) {
    static constexpr UINT kStyles[] = {PS_SOLID, PS_DASH,        PS_DOT,       PS_DASHDOT, PS_DASHDOTDOT,
                                       PS_NULL,  PS_INSIDEFRAME, PS_USERSTYLE, PS_ALTERNATE};
    const UINT style = kStyles[style_];
    const COLORREF rgb = ColorToRGB(color_);
    if (width_ > 1 && style_ >= psDash && style_ <= psDashDotDot) {
      // Wide dashed pens only exist as geometric pens.
      LOGBRUSH brush{BS_SOLID, rgb, 0};
      handle_.Reset(CheckGdi(ExtCreatePen(PS_GEOMETRIC | style, static_cast<DWORD>(width_), &brush, 0, nullptr)));
    } else if (style_ == psAlternate) {
      LOGBRUSH brush{BS_SOLID, rgb, 0};
      handle_.Reset(CheckGdi(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr)));
    } else {
      const UINT plain = style_ == psUserStyle ? PS_SOLID : style;
      handle_.Reset(CheckGdi(CreatePen(static_cast<int>(plain), width_, rgb)));
    }
  }
  return handle_.Get();
}

void TPen::SetHandle(HPEN handle) {
  if (handle == handle_.Get()) return;
  TPenHandle stale = std::move(handle_);
  Changed();
  handle_.Reset(handle);
  if (handle == nullptr) return;
  EXTLOGPEN ext{};
  LOGPEN plain{};
  int styleBits = PS_SOLID;
  if (GetObjectW(handle, sizeof(plain), &plain) == sizeof(plain)) {
    styleBits = static_cast<int>(plain.lopnStyle);
    width_ = plain.lopnWidth.x;
    color_ = static_cast<TColor>(plain.lopnColor);
  } else if (GetObjectW(handle, sizeof(ext), &ext) > 0) {
    styleBits = static_cast<int>(ext.elpPenStyle);
    width_ = static_cast<int>(ext.elpWidth);
    color_ = static_cast<TColor>(ext.elpColor);
  }
  switch (styleBits & PS_STYLE_MASK) {
    case PS_DASH: style_ = psDash; break;
    case PS_DOT: style_ = psDot; break;
    case PS_DASHDOT: style_ = psDashDot; break;
    case PS_DASHDOTDOT: style_ = psDashDotDot; break;
    case PS_NULL: style_ = psClear; break;
    case PS_INSIDEFRAME: style_ = psInsideFrame; break;
    case PS_USERSTYLE: style_ = psUserStyle; break;
    case PS_ALTERNATE: style_ = psAlternate; break;
    default: style_ = psSolid; break;
  }
  if (width_ < 1) width_ = 1;
}
