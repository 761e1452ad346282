// TCustomLabel / TLabel: a caption without a window, drawn with DrawText by alignment and
// vertical layout, optionally word-wrapped and transparent. With AutoSize the bounds follow
// the text (keeping the right edge for right-aligned labels); an accelerator character
// ("&Name") focuses FocusControl.
#pragma once

#include <string>

#include "toolkit/ui/CustomControl.h"

class TEnumInfo;

enum TTextLayout { tlTop, tlCenter, tlBottom };
const TEnumInfo& EnumTypeInfo(TTextLayout);

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool value);
  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  virtual void SetLayout(TTextLayout value);
  bool WordWrap() const { return wordWrap_; }
  virtual void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  void Paint() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  // DrawText flags of the current settings (alignment, word wrap, prefix).
  virtual UINT DrawTextFlags() const;
  // Draws (or with DT_CALCRECT measures) the caption in `rect` on Canvas.
  virtual void DoDrawText(TRect& rect, UINT flags);
  // With AutoSize, sets the bounds to the text's extent.
  virtual void AdjustBounds();

 private:
  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  bool transparent_ = false;
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
