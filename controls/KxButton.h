// Self-painted push buttons: TKxCustomButton (themed face test, caption text styles, hot
// tracking, press-and-release logic), TKxButton (classic and hot-track faces, default and
// cancel roles, modal result, grouped toggling through message 9249) and TKxBitBtn (a glyph
// with up to four state images, or an image-list image, and the standard kinds OK, Cancel ...
// with their own glyphs).
//
// Left button (TKxCustomButton):
//   idle    --down on an enabled, focusable button-->  dragging, show-down
//   dragging --move--> show-down exactly while the pointer is inside
//   dragging --up inside--> PressButton (click), idle;  --up outside--> idle, no click
// Space works like the left button: key down shows it pressed, key up presses.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls/KxCommonTypes.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/ImgList.h"

class TAction;
class TActionLink;
class TBitmap;
class TEnumInfo;

// The group message: WParam the group index, LParam the sending TKxButton.
constexpr UINT CM_KXBUTTONPRESSED = 9249;

enum TKxHotTrackColorType { htctComplement, htctActual };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
const TEnumInfo& EnumTypeInfo(TKxHotTrackColorType);
const TEnumInfo& EnumTypeInfo(TBitBtnKind);
const TEnumInfo& EnumTypeInfo(TButtonLayout);

class TKxCustomButton : public TCustomControl {
 public:
  explicit TKxCustomButton(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  virtual void SetAlignmentVertical(TAlignmentVertical value);
  bool HotTrack() const { return hotTrack_; }
  virtual void SetHotTrack(bool value);
  TColor HighlightColor() const { return highlightColor_; }
  virtual void SetHighlightColor(TColor value);
  TColor HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(TColor value);
  TKxHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  void SetHotTrackColorType(TKxHotTrackColorType value);
  bool LightTextStyle() const { return lightTextStyle_; }
  virtual void SetLightTextStyle(bool value);
  TTextStyle TextStyle() const { return textStyle_; }
  virtual void SetTextStyle(TTextStyle value);
  TColor TextHighlightColor() const { return textHighlightColor_; }
  virtual void SetTextHighlightColor(TColor value);
  TColor TextShadowColor() const { return textShadowColor_; }
  virtual void SetTextShadowColor(TColor value);
  int TextShadowDepth() const { return textShadowDepth_; }
  virtual void SetTextShadowDepth(int value);
  bool ThemeAware() const { return themeAware_; }
  virtual void SetThemeAware(bool value);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);

  // ThemeAware and the platform's visual styles active.
  virtual bool UsesThemes() const;
  bool MouseOver() const { return mouseOver_; }
  bool ShowDown() const { return showDown_; }

 protected:
  // Paints the parent's image behind a see-through button, leaving out the rim.
  virtual void PaintTransparentBack(HDC dc);
  virtual void ButtonStateChanged() {}
  virtual void RepaintFace() { Repaint(); }
  virtual TRect GetFaceArea() { return ClientRect(); }
  // Draws the caption in `rect` with DrawText `flags`, in the text style, placed vertically by
  // AlignmentVertical.
  virtual void PaintCaption(TCanvas& canvas, const TRect& rect, UINT flags);
  virtual void PressButton() {}

  void WndProc(TMessage& message) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void CreateWnd() override;
  // Whether a press may start: the button took the focus, or cannot take it at all (hidden).
  bool TakeFocusForPress();

  bool dragging_ = false;
  bool showDown_ = false;
  bool mouseOver_ = false;

 private:
  TAlignmentVertical alignmentVertical_ = avCenter;
  bool hotTrack_ = false;
  TColor highlightColor_ = clHighlight;
  TColor hotTrackColor_ = static_cast<TColor>(0x149BF0);
  TKxHotTrackColorType hotTrackColorType_ = htctActual;
  bool lightTextStyle_ = false;
  TTextStyle textStyle_ = tsNormal;
  int textShadowDepth_ = 2;
  TColor textShadowColor_ = clBtnShadow;
  TColor textHighlightColor_ = clBtnHighlight;
  bool themeAware_ = true;
  bool transparent_ = false;
};

class TKxButton : public TKxCustomButton {
 public:
  explicit TKxButton(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment value);
  bool Default() const { return default_; }
  virtual void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  int GroupIndex() const { return groupIndex_; }
  virtual void SetGroupIndex(int value);
  // Always false without a group.
  bool Down() const { return groupIndex_ != 0 && down_; }
  virtual void SetDown(bool value);
  bool AllowAllUp() const { return allowAllUp_; }
  virtual void SetAllowAllUp(bool value);
  bool ShowDownPattern() const { return showDownPattern_; }
  virtual void SetShowDownPattern(bool value);
  bool ShowFocusRect() const { return showFocusRect_; }
  virtual void SetShowFocusRect(bool value);
  bool DropDownOnEnter() const { return dropDownOnEnter_; }
  void SetDropDownOnEnter(bool value) { dropDownOnEnter_ = value; }
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  void SetHotTrack(bool value) override;

  // Drawn as the default button now.
  bool Active() const { return active_; }
  // 0 up, 2 down, 3 exclusive.
  int State() const { return state_; }
  // Sets the parent form's modal result, then fires the click.
  void Click() override;
  void DefineProperties(TFiler& filer) override;

 protected:
  void ButtonStateChanged() override { Invalidate(); }
  void PressButton() override;
  virtual TRect GetCaptionArea();
  virtual void PaintCaptionText();
  // An 8 x 8 brush pattern in Color with a checker of grey.
  virtual void BuildDownPattern(TBitmap& bitmap);
  void Paint() override;
  void WndProc(TMessage& message) override;
  void CreateWnd() override;
  // The face drawn pressed: a grouped button down or exclusive.
  bool GroupPressed() const { return groupIndex_ != 0 && (state_ == 2 || state_ == 3); }

 private:
  void BroadcastGroup();
  void PaintHotTrackFace(TCanvas& canvas, TRect rect);
  void PaintOuterRing(TCanvas& canvas, const TRect& rect, TColor ulColor, TColor lrColor);
  void PaintHotFace(TCanvas& canvas, const TRect& rect);

  TAlignment alignment_ = taCenter;
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  bool showDownPattern_ = true;
  bool showFocusRect_ = true;
  bool dropDownOnEnter_ = true;
  TColor frameColor_ = cl3DDkShadow;
  bool active_ = false;
  int state_ = 0;
  bool keyToggle_ = false;
  bool clicking_ = false;
  bool enterClick_ = false;
};

class TKxBitBtn : public TKxButton {
 public:
  explicit TKxBitBtn(TComponent* owner);
  ~TKxBitBtn() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TBitmap* Glyph() const { return glyph_; }
  // Copies the bitmap; the kind's own glyph counts as replaced from then on.
  virtual void SetGlyph(TBitmap* value);
  int NumGlyphs() const { return numGlyphs_; }
  virtual void SetNumGlyphs(int value);
  // A standard kind only while Default, Cancel, ModalResult and the glyph still match it.
  virtual TBitBtnKind Kind() const;
  virtual void SetKind(TBitBtnKind value);
  TButtonLayout Layout() const { return layout_; }
  virtual void SetLayout(TButtonLayout value);
  int Spacing() const { return spacing_; }
  virtual void SetSpacing(int value);
  int Margin() const { return margin_; }
  virtual void SetMargin(int value);
  // An image of `Images` drawn in place of the glyph (custom kinds only); DisabledIndex, when
  // set, is the disabled button's image.
  TCustomImageList* Images() const { return images_; }
  virtual void SetImages(TCustomImageList* value);
  int ImageIndex() const { return imageIndex_; }
  virtual void SetImageIndex(int value);
  int DisabledIndex() const { return disabledIndex_; }
  virtual void SetDisabledIndex(int value);
  // The linked action: its caption, hint, enabled and visible state and image index follow
  // every change of it; a click without OnClick executes it.
  TAction* Action() const;
  void SetAction(TAction* value);
  void Notification(TComponent* component, TOperation operation) override;
  void Click() override;

  // The size of one glyph cell ((0, 0) without a glyph).
  virtual TSize GetGlyphSize();
  // The caption of a kind (as the run-time library's button captions give it).
  static std::string KindCaption(TBitBtnKind kind);
  void ChangeScale(int m, int d) override;

 protected:
  TRect GetCaptionArea() override;
  virtual TRect GetGlyphArea();
  virtual void PaintListImage(const TRect& rect);
  virtual void PaintGlyph(const TRect& rect);
  void PaintCaptionText() override;

 private:
  void GlyphChanged(TObject* sender);
  void ImagesChanged(TObject* sender);
  void ActionChanged(TAction* action);
  bool ShowsListImage() const;
  TButtonLayout EffectiveLayout() const;
  int MeasureCaptionHeight(const TRect& area);

  TBitmap* glyph_;
  int numGlyphs_ = 1;
  TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  int margin_ = 2;
  bool glyphReplaced_ = false;
  bool settingKind_ = false;
  TCustomImageList* images_ = nullptr;
  TChangeLink imageChangeLink_;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
  std::unique_ptr<TActionLink> actionLink_;
};

// The shared glyph of a standard kind (two images), loaded on first use; null for bkCustom or
// when the program carries no such resource.
TBitmap* KxBitBtnKindGlyph(TBitBtnKind kind);
// Frees the shared kind glyphs (control set shut-down).
void FreeKxBitBtnGlyphs();
