// TCustomPanel / TPanel: a container with an outer and inner bevel, a border width, a colour
// and a caption (single line, by Alignment, centred vertically). The bevels and the border
// take room from the client area that aligned children fill.
#pragma once

#include "toolkit/graphics/GraphicsUtils.h"
#include "toolkit/ui/CustomControl.h"

class TEnumInfo;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
const TEnumInfo& EnumTypeInfo(TBevelCut);
// The width of a bevel in pixels.
using TBevelWidth = int;


class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelWidth BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(TBevelWidth value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool value) { fullRepaint_ = value; }
  bool Locked() const { return locked_; }
  void SetLocked(bool value) { locked_ = value; }

 protected:
  void Paint() override;
  void AdjustClientRect(TRect& rect) override;
  void WndProc(TMessage& message) override;
  // The room the bevels and the border take on each side.
  int FrameWidth() const;

 private:
  TAlignment alignment_ = taCenter;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  TBevelWidth bevelWidth_ = 1;
  int borderWidth_ = 0;
  bool fullRepaint_ = true;
  bool locked_ = false;
};

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
