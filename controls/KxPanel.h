// TKxCustomPanel: a container with the control set's two-layer border, a classic or gradient
// background, a guide grid, a vertically aligned caption, transparency, frame-controller
// support and an enabled cascade that remembers each child's own state. TKxStatusBar: a
// bottom bar on it with a size grip, a simple-status mode with one caption, an automatic
// style and proportional resizing of its child panes.
//
// Enabled cascade: disabling records every child's state ("1" enabled, "0" disabled) in child
// order and disables all; enabling re-enables the children recorded "1" (or not recorded) and
// leaves those recorded "0" disabled, so a child disabled on its own stays so.
//
// Docking: a panel that is a dock site uses a dock manager (TKxPanelDockManager) that lays its
// docked clients out under caption grabbers; the panel is then double-buffered.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "controls/KxGraphics.h"
#include "toolkit/ui/Panel.h"

class TEnumInfo;

enum TKxGridStyle { gsDots, gsDottedLines, gsSolidLines };
const TEnumInfo& EnumTypeInfo(TKxGridStyle);

class TKxCustomPanel : public TCustomPanel, public IKxFrameNotification {
 public:
  explicit TKxCustomPanel(TComponent* owner);
  ~TKxCustomPanel() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  virtual TPoint GetCursorClientPos();
  // `rect` with the border layers taken off the sides in BorderSides (and BorderWidth first,
  // when asked).
  virtual TRect ShrinkByBorders(const TRect& rect, bool withBorderWidth);
  virtual TRect GetOuterArea() { return {0, 0, Width(), Height()}; }
  virtual TPoint GetRepaintMargin() { return {1, 1}; }
  virtual void CascadeEnabled(bool enabled);
  // (start, stop) of the gradient background.
  virtual std::pair<TColor, TColor> GetGradientColors();
  // (colour, lightness adjustment) of flat frame lines.
  virtual std::pair<TColor, int> GetFlatFrameColor();
  virtual void PaintCaption(const TRect& rect);
  virtual void PaintGuideGrid(const TRect& rect);
  void ApplyFrameController() override;

  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  virtual void SetAlignmentVertical(TAlignmentVertical value);
  TColor BorderColor() const { return borderColor_; }
  virtual void SetBorderColor(TColor value);
  TFrameStyleEx BorderInner() const { return borderInner_; }
  virtual void SetBorderInner(TFrameStyleEx value);
  TFrameStyleEx BorderOuter() const { return borderOuter_; }
  virtual void SetBorderOuter(TFrameStyleEx value);
  TSides BorderSides() const { return borderSides_; }
  virtual void SetBorderSides(TSides value);
  TColor BorderHighlight() const { return borderHighlight_; }
  virtual void SetBorderHighlight(TColor value);
  TColor BorderShadow() const { return borderShadow_; }
  virtual void SetBorderShadow(TColor value);
  TColor FlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int value);
  TKxFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value);
  TKxFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
  void SetFrameControllerNotifications(TKxFrameControllerNotifications value) { notifications_ = value; }
  TKxGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
  virtual void SetGradientColorStyle(TKxGradientColorStyle value);
  TColor GradientColorStart() const { return gradientColorStart_; }
  virtual void SetGradientColorStart(TColor value);
  TColor GradientColorStop() const { return gradientColorStop_; }
  virtual void SetGradientColorStop(TColor value);
  KxCommon::TGradientDirection GradientDirection() const { return gradientDirection_; }
  virtual void SetGradientDirection(KxCommon::TGradientDirection value);
  TColor GridColor() const { return gridColor_; }
  virtual void SetGridColor(TColor value);
  TKxGridStyle GridStyle() const { return gridStyle_; }
  virtual void SetGridStyle(TKxGridStyle value);
  std::uint16_t GridStepX() const { return gridStepX_; }
  virtual void SetGridStepX(std::uint16_t value);
  std::uint16_t GridStepY() const { return gridStepY_; }
  virtual void SetGridStepY(std::uint16_t value);
  bool PaintClientArea() const { return paintClientArea_; }
  virtual void SetPaintClientArea(bool value);
  bool ShowGrid() const { return showGrid_; }
  virtual void SetShowGrid(bool value);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  int TextMargin() const { return textMargin_; }
  virtual void SetTextMargin(int value);
  int TextMarginVertical() const { return textMarginVertical_; }
  virtual void SetTextMarginVertical(int value);
  bool WordWrap() const { return wordWrap_; }
  virtual void SetWordWrap(bool value);
  TKxVisualStyle VisualStyle() const { return visualStyle_; }
  virtual void SetVisualStyle(TKxVisualStyle value);
  bool ShowDockClientCaptions() const { return showDockClientCaptions_; }
  void SetShowDockClientCaptions(bool value) { showDockClientCaptions_ = value; }

  void SetBounds(int left, int top, int width, int height) override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
  void AdjustClientRect(TRect& rect) override;
  TDockTree* CreateDockManager() override;
  void WndProc(TMessage& message) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // The background of the inner rectangle, the guide grid, the caption and OnPaint.
  void PaintPanel();

 private:
  TFrameStyleEx borderOuter_ = fsRaised;
  TFrameStyleEx borderInner_ = fsNone;
  TSides borderSides_ = kAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TKxFrameController* frameController_ = nullptr;
  TKxFrameControllerNotifications notifications_ = kAllFrameControllerNotifications;
  bool paintClientArea_ = true;
  TAlignmentVertical alignmentVertical_ = avCenter;
  bool showGrid_ = false;
  TColor gridColor_ = clBtnShadow;
  TKxGridStyle gridStyle_ = gsDots;
  std::uint16_t gridStepX_ = 8;
  std::uint16_t gridStepY_ = 8;
  int textMargin_ = 0;
  int textMarginVertical_ = 0;
  bool wordWrap_ = true;
  TKxVisualStyle visualStyle_ = vsWinXP;
  TKxGradientColorStyle gradientColorStyle_ = gcsSystem;
  TColor gradientColorStart_ = static_cast<TColor>(0xFFFFFF);
  TColor gradientColorStop_ = clBtnFace;
  KxCommon::TGradientDirection gradientDirection_ = KxCommon::gdHorizontalEnd;
  bool transparent_ = false;
  bool showDockClientCaptions_ = true;
  // "1" / "0" per child, recorded when the panel was disabled.
  std::vector<std::string> childStates_;
};

class TKxStatusBar : public TKxCustomPanel {
 public:
  explicit TKxStatusBar(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // The frame round the simple caption.
  virtual void PaintPaneFrame(const TRect& rect);
  virtual void ApplyAutoStyle();
  std::pair<TColor, TColor> GetGradientColors() override;

  bool AutoStyle() const { return autoStyle_; }
  void SetAutoStyle(bool value) { autoStyle_ = value; }
  bool AutoScalePanes() const { return autoScalePanes_; }
  void SetAutoScalePanes(bool value) { autoScalePanes_ = value; }
  bool ShowSizeGrip() const { return showSizeGrip_; }
  virtual void SetShowSizeGrip(bool value);
  bool SimpleStatus() const { return simpleStatus_; }
  virtual void SetSimpleStatus(bool value);
  const std::string& SimpleCaption() const { return simpleCaption_; }
  virtual void SetSimpleCaption(const std::string& value);
  TFrameStyle SimpleFrameStyle() const { return simpleFrameStyle_; }
  virtual void SetSimpleFrameStyle(TFrameStyle value);

  void SetBorderInner(TFrameStyleEx value) override;
  void SetBorderOuter(TFrameStyleEx value) override;
  void SetBorderSides(TSides value) override;

  // The parent form is sizeable and not maximized: the grip may show and size it.
  bool SizeGripValid();
  // The rectangle the simple caption and the grip are placed in.
  TRect StatusClientRect();

 protected:
  void Paint() override;
  void Loaded() override;
  void Resize() override;
  void WndProc(TMessage& message) override;

 private:
  void PaintSizeGrip(const TRect& rect);
  bool OnGrip(int x, int y);

  bool autoStyle_ = true;
  bool showSizeGrip_ = true;
  bool simpleStatus_ = false;
  TFrameStyle simpleFrameStyle_ = fsFlat;
  std::string simpleCaption_;
  bool autoScalePanes_ = false;
  bool firstResize_ = true;
  int lastWidth_ = 0;
  int widthChange_ = 0;
  bool applyingStyle_ = false;
};
