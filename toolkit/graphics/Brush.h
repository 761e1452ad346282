// TBrush: colour, hatch style or pattern bitmap of fills, with its GDI brush made on first use.
// The pattern bitmap is referenced, not owned; a handle set from outside is owned by the brush.
#pragma once

#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"

class TBitmap;
class TEnumInfo;

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
const TEnumInfo& EnumTypeInfo(TBrushStyle);

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  TColor Color() const { return color_; }
  // Setting a colour makes a clear brush solid.
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);
  // Pattern bitmap (not owned; null for none). While set it decides the fill.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* value);

  HBRUSH Handle();
  // Adopts `handle`; colour and style are read back from it.
  void SetHandle(HBRUSH handle);
  bool HandleAllocated() const { return static_cast<bool>(handle_); }
  // Drops the handle so the next use makes it again (system colours changed).
  void Refresh() { AttributeChanged(); }

 private:
  void AttributeChanged();

  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
  TBrushHandle handle_;
};
