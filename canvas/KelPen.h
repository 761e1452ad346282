// TKelPen: the toolkit pen with the chart's settings (visibility, end cap, join, small dots
// with their spacing, and a fill brush made on first read), per-instance recorded defaults so
// only differences are streamed, and the pens whose constructors give other defaults.
#pragma once

#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Pen.h"

class TKelBrush;
class TEnumInfo;

enum TPenEndStyle { esRound, esSquare, esFlat };
enum TPenJoinStyle { jsRound, jsBevel, jsMitter };
const TEnumInfo& EnumTypeInfo(TPenEndStyle);
const TEnumInfo& EnumTypeInfo(TPenJoinStyle);

class TKelPen : public TPen {
 public:
  explicit TKelPen(TNotifyEvent onChange = nullptr);
  ~TKelPen() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From a TKelPen: the chart settings and Fill (a source without Fill frees ours), then the
  // toolkit part; from a plain TPen only the toolkit part.
  void Assign(TPersistent* source) override;

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TPenEndStyle EndStyle() const { return endStyle_; }
  void SetEndStyle(TPenEndStyle value);
  TPenJoinStyle JoinStyle() const { return joinStyle_; }
  void SetJoinStyle(TPenJoinStyle value);
  bool SmallDots() const { return smallDots_; }
  void SetSmallDots(bool value);
  int SmallSpace() const { return smallSpace_; }
  void SetSmallSpace(int value);
  // The fill brush, created on first read with the pen's change callback.
  TKelBrush* Fill();
  bool HasFill() const { return fill_ != nullptr; }
  // nil frees the fill; any other brush is copied into it.
  void SetFill(TKelBrush* value);

  // Colour setter used by constructors.
  void ChangeColor(TColor value) { SetColor(value); }
  // Sets EndStyle and records it as the default.
  void SetDefaultEndStyle(TPenEndStyle value);
  // Sets Width and records it as the width not written to layouts.
  void SetDefaultWidth(int value) {
    SetWidth(value);
    defaultWidth_ = value;
  }
  void Hide() { SetVisible(false); }
  // Fill exists and its gradient is visible.
  bool HasGradientFill() const;
  // Width div 2 when visible and at least 2 wide, else 0.
  int HalfWidth() const;

  bool IsVisibleStored() const { return visible_ != defaultVisible_; }
  bool IsEndStyleStored() const { return endStyle_ != defaultEndStyle_; }
  bool IsJoinStyleStored() const { return joinStyle_ != defaultJoinStyle_; }
  bool IsWidthStored() const { return Width() != defaultWidth_; }

 protected:
  // Sets Visible and records it as the default (hidden pens).
  void SetDefaultVisible(bool value) {
    visible_ = value;
    defaultVisible_ = value;
  }

 private:
  bool visible_ = true;
  bool defaultVisible_ = true;
  TPenEndStyle endStyle_ = esRound;
  TPenEndStyle defaultEndStyle_ = esRound;
  TPenJoinStyle joinStyle_ = jsRound;
  TPenJoinStyle defaultJoinStyle_ = jsRound;
  bool smallDots_ = false;
  int smallSpace_ = 0;
  int defaultWidth_ = 1;
  TKelBrush* fill_ = nullptr;
};

// A pen that starts invisible (and streams Visible only when shown).
class TKelHiddenPen : public TKelPen {
 public:
  explicit TKelHiddenPen(TNotifyEvent onChange = nullptr);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

class TDarkGrayPen : public TKelPen {
 public:
  explicit TDarkGrayPen(TNotifyEvent onChange = nullptr);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

class TWhitePen : public TKelPen {
 public:
  explicit TWhitePen(TNotifyEvent onChange = nullptr);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
