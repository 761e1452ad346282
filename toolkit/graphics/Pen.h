// TPen: colour, width, style and raster mode of lines, with its GDI pen made on first use.
// A handle set from outside (Handle assignment) is owned by the pen from then on.
#pragma once

#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"

class TEnumInfo;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
const TEnumInfo& EnumTypeInfo(TPenStyle);
const TEnumInfo& EnumTypeInfo(TPenMode);

// The raster operation (R2_xxx) of a pen mode, for SetROP2.
int PenModeToROP2(TPenMode mode);

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  void SetWidth(int value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);

  // The GDI pen for the current attributes (made now when needed; owned by the pen).
  HPEN Handle();
  // Adopts `handle` (the pen deletes it later); the attributes are read back from it.
  void SetHandle(HPEN handle);
  bool HandleAllocated() const { return static_cast<bool>(handle_); }
  // Drops the handle so the next use makes it again (system colours changed).
  void Refresh() { AttributeChanged(); }

 private:
  void AttributeChanged();

  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  TPenHandle handle_;
};
