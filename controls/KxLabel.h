// TKxLabel: a caption label that can turn its text (flat by an angle, or along an arc), draw it
// raised, recessed or shadowed, put a two-layer border round it, blink through the shared blink
// list, take a fly-by colour under the mouse and shorten a long caption with an ellipsis. It
// follows a frame controller through the frame-notification interface. The text colour drawn
// is always currentColor_: the font's colour, or the blink colour during a blink phase.
#pragma once

#include <cstdint>

#include "controls/KxCommonFrames.h"
#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "toolkit/ui/Label.h"

enum TRotation { roNone, roFlat, roCurve };
enum TCenterPoint {
  cpUpperLeft,
  cpUpperCenter,
  cpUpperRight,
  cpLeftCenter,
  cpCenter,
  cpRightCenter,
  cpLowerLeft,
  cpLowerCenter,
  cpLowerRight
};
enum TKxCondenseCaption { ccNone, ccAtEnd, ccWithinPath };
const TEnumInfo& EnumTypeInfo(TRotation);
const TEnumInfo& EnumTypeInfo(TCenterPoint);
const TEnumInfo& EnumTypeInfo(TKxCondenseCaption);

class TKxLabel : public TLabel, public IKxFrameNotification {
 public:
  explicit TKxLabel(TComponent* owner);
  ~TKxLabel() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  void ApplyFrameController() override;
  // Shows the blink colour (on) or the font colour.
  virtual void ShowBlinkPhase(bool on);
  // Grows a text rectangle by the borders, margins, shadow and rotation to the control's size.
  virtual void AddBorderExtents(TRect& rect);
  // `rect` shrunk by the border layers (and BorderWidth when asked) on the sides in BorderSides.
  virtual TRect GetTextArea(const TRect& rect, bool withBorderWidth);

  int Angle() const { return angle_; }
  // Negative values count from 360, others modulo 360.
  virtual void SetAngle(int value);
  TRotation Rotation() const { return rotation_; }
  virtual void SetRotation(TRotation value);
  TCenterPoint CenterPoint() const { return centerPoint_; }
  virtual void SetCenterPoint(TCenterPoint value);
  TTextStyle TextStyle() const { return textStyle_; }
  virtual void SetTextStyle(TTextStyle value);
  bool LightTextStyle() const { return lightTextStyle_; }
  virtual void SetLightTextStyle(bool value);
  TColor HighlightColor() const { return highlightColor_; }
  virtual void SetHighlightColor(TColor value);
  TColor ShadowColor() const { return shadowColor_; }
  virtual void SetShadowColor(TColor value);
  int ShadowDepth() const { return shadowDepth_; }
  virtual void SetShadowDepth(int value);
  int TextMargin() const { return textMargin_; }
  virtual void SetTextMargin(int value);
  TKxCondenseCaption CondenseCaption() const { return condenseCaption_; }
  virtual void SetCondenseCaption(TKxCondenseCaption value);

  TFrameStyleEx BorderOuter() const { return frame_.BorderOuter; }
  virtual void SetBorderOuter(TFrameStyleEx value);
  TFrameStyleEx BorderInner() const { return frame_.BorderInner; }
  virtual void SetBorderInner(TFrameStyleEx value);
  TSides BorderSides() const { return frame_.BorderSides; }
  virtual void SetBorderSides(TSides value);
  int BorderWidth() const { return frame_.BorderWidth; }
  virtual void SetBorderWidth(int value);
  int BevelWidth() const { return frame_.BevelWidth; }
  virtual void SetBevelWidth(int value);
  TColor BorderColor() const { return frame_.BorderColor; }
  virtual void SetBorderColor(TColor value);
  TColor BorderHighlight() const { return frame_.BorderHighlight; }
  virtual void SetBorderHighlight(TColor value);
  TColor BorderShadow() const { return frame_.BorderShadow; }
  virtual void SetBorderShadow(TColor value);
  TColor FlatColor() const { return frame_.FlatColor; }
  virtual void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return frame_.FlatColorAdjustment; }
  virtual void SetFlatColorAdjustment(int value);

  bool Blinking() const { return blinking_; }
  virtual void SetBlinking(bool value);
  TColor BlinkColor() const { return blinkColor_; }
  virtual void SetBlinkColor(TColor value);
  // Both intervals are the shared blink list's.
  virtual std::uint16_t BlinkIntervalOn() const;
  virtual void SetBlinkIntervalOn(std::uint16_t value);
  virtual std::uint16_t BlinkIntervalOff() const;
  virtual void SetBlinkIntervalOff(std::uint16_t value);

  bool FlyByEnabled() const { return flyByEnabled_; }
  virtual void SetFlyByEnabled(bool value);
  TColor FlyByColor() const { return flyByColor_; }
  virtual void SetFlyByColor(TColor value);
  TKxFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value);
  TKxFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
  void SetFrameControllerNotifications(TKxFrameControllerNotifications value) { notifications_ = value; }

  // The colour the caption is drawn in now (font colour or blink colour).
  TColor CurrentColor() const { return currentColor_; }

  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

 protected:
  void Paint() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void AdjustBounds() override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  // Alignment as drawn: left and right exchanged in a right-to-left label.
  TAlignment DrawnAlignment() const;
  UINT TextFlags() const;
  TPoint CenterPointOf() const;
  // One text pass of the flat or unrotated text at offset (dx, dy) in `color`.
  void DrawTextPass(TRect rect, UINT flags, int dx, int dy, TColor color);
  void PaintFlatRotated(const TRect& area, UINT flags);
  void PaintArcText();
  void ApplyTrueTypeRule();

  int angle_ = 0;
  TRotation rotation_ = roNone;
  TCenterPoint centerPoint_ = cpCenter;
  TTextStyle textStyle_ = tsNormal;
  bool lightTextStyle_ = false;
  TColor highlightColor_ = clBtnHighlight;
  TColor shadowColor_ = clBtnShadow;
  int shadowDepth_ = 2;
  int textMargin_ = 0;
  TKxCondenseCaption condenseCaption_ = ccNone;
  TKxInnerOuterFrame frame_;
  bool blinking_ = false;
  TColor blinkColor_ = clHighlight;
  bool flyByEnabled_ = false;
  TColor flyByColor_ = clHighlight;
  TKxFrameController* frameController_ = nullptr;
  TKxFrameControllerNotifications notifications_ = kAllFrameControllerNotifications;

  TColor fontColor_ = clWindowText;
  TColor currentColor_ = clWindowText;
  bool blinkOn_ = false;
  TColor savedFlyByColor_ = clWindowText;
  bool flyByActive_ = false;
  bool constructing_ = true;
};
