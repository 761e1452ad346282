// TKxToolButton: a windowless tool button with an image-list image per state, an optional
// caption beside, above or below the image, grouped toggling (shared with the toolkit's group
// message), an optional drop-down part that opens a popup menu, and classic, themed and
// gradient looks. TKxToolButtonActionLink ties it to an action's Checked state and image.
//
// Button state: 0 up, 1 disabled, 2 down, 3 exclusive (down in a group), 4 drop-down part
// pressed.
//   up --left press--> down (dragging) --release inside--> click (grouped: Down toggles)
//                                      --release outside--> no click, Down unchanged
//   drop-down part pressed --> 4, menu shown (returns when closed), closing tick recorded;
//   a press within 100 ms of that closing (the click that closed the menu) opens nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "controls/KxButton.h"
#include "controls/KxCommonTypes.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/ImgList.h"

class TPopupMenu;
class TEnumInfo;
class TKxToolButton;

enum TKxToolStyle { tsButton, tsDropDown };
const TEnumInfo& EnumTypeInfo(TKxToolStyle);

// The tool-bar settings messages a button sends itself.
constexpr UINT CM_KXTOOLBARSHOWCAPTION = 46058;
constexpr UINT CM_KXTOOLBARBUTTONLAYOUT = 46059;
constexpr UINT CM_KXTOOLBARBUTTONSIZE = 46060;
constexpr UINT CM_KXTOOLBARVISUALSTYLE = 46061;

// Width of the drop-down part at the button's right.
constexpr int kKxDropDownPartWidth = 14;

// Replaces the millisecond tick the drop-down reopen guard reads (empty: GetTickCount).
void SetKxToolButtonTickQuery(std::function<DWORD()> query);

class TKxToolButtonActionLink : public TActionLink {
 public:
  explicit TKxToolButtonActionLink(TKxToolButton* client);
  // The action's Checked equals the button's Down / its image index the button's.
  bool IsCheckedLinked() const;
  bool IsImageIndexLinked() const;

 private:
  TKxToolButton* button_;
};

class TKxToolButton : public TGraphicControl {
 public:
  enum { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3, bsDropDownPressed = 4 };

  explicit TKxToolButton(TComponent* owner);
  ~TKxToolButton() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  virtual void AdoptToolbarSettings();
  // Shows the drop-down menu below the button and returns when it closed; nothing without a menu.
  virtual void ShowDropDownMenu();
  // The widest item caption of `menu` in the screen's menu font, plus 56.
  virtual int MeasureMenuWidth(TPopupMenu* menu);
  virtual TSize GetImageSize();
  // The image and caption rectangles in the client area.
  virtual void ArrangeImageAndCaption(TRect& imageRect, TRect& captionRect);

  TAlignment Alignment() const { return alignment_; }
  virtual void SetAlignment(TAlignment value);
  bool AllowAllUp() const { return allowAllUp_; }
  virtual void SetAllowAllUp(bool value);
  bool Down() const { return down_; }
  virtual void SetDown(bool value);
  int GroupIndex() const { return groupIndex_; }
  virtual void SetGroupIndex(int value);
  TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
  virtual void SetDropDownMenu(TPopupMenu* value);
  bool Flat() const { return flat_; }
  virtual void SetFlat(bool value);
  TCustomImageList* Images() const { return images_; }
  virtual void SetImages(TCustomImageList* value);
  int ImageIndex() const { return imageIndex_; }
  virtual void SetImageIndex(int value);
  int DownIndex() const { return downIndex_; }
  virtual void SetDownIndex(int value);
  int DisabledIndex() const { return disabledIndex_; }
  virtual void SetDisabledIndex(int value);
  int HotIndex() const { return hotIndex_; }
  virtual void SetHotIndex(int value);
  TButtonLayout Layout() const { return layout_; }
  virtual void SetLayout(TButtonLayout value);
  bool ShowCaption() const { return showCaption_; }
  virtual void SetShowCaption(bool value);
  TKxToolStyle ToolStyle() const { return toolStyle_; }
  virtual void SetToolStyle(TKxToolStyle value);
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  TKxVisualStyle VisualStyle() const { return visualStyle_; }
  virtual void SetVisualStyle(TKxVisualStyle value);
  TKxGradientColorStyle GradientColorStyle() const { return gradientColorStyle_; }
  virtual void SetGradientColorStyle(TKxGradientColorStyle value);
  TColor SelectionColorStart() const { return selectionColorStart_; }
  virtual void SetSelectionColorStart(TColor value);
  TColor SelectionColorStop() const { return selectionColorStop_; }
  virtual void SetSelectionColorStop(TColor value);
  TColor SelectionFrameColor() const { return selectionFrameColor_; }
  virtual void SetSelectionFrameColor(TColor value);
  bool UseToolbarButtonLayout() const { return useToolbarButtonLayout_; }
  virtual void SetUseToolbarButtonLayout(bool value);
  bool UseToolbarButtonSize() const { return useToolbarButtonSize_; }
  virtual void SetUseToolbarButtonSize(bool value);
  bool UseToolbarShowCaption() const { return useToolbarShowCaption_; }
  virtual void SetUseToolbarShowCaption(bool value);
  bool UseToolbarVisualStyle() const { return useToolbarVisualStyle_; }
  virtual void SetUseToolbarVisualStyle(bool value);

  TAction* Action() const;
  void SetAction(TAction* value);

  int State() const { return state_; }
  bool MouseInControl() const { return mouseInControl_; }
  bool TreatAsNormal() const { return treatAsNormal_; }

  void SetBounds(int left, int top, int width, int height) override;
  // Into an action: Down becomes its Checked state, ImageIndex its image.
  void AssignTo(TPersistent* dest) override;
  void Click() override;
  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;

  // Sender: the drop-down menu.
  TNotifyEvent OnDropDown;

 protected:
  virtual void PaintThemedFace(const TRect& rect);
  virtual void PaintToolImage(const TRect& rect);
  virtual void PaintDropDownPart();
  virtual void PaintToolCaption(const TRect& rect);

  void Paint() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  friend class TKxToolButtonActionLink;
  bool DrawsFlat() const;
  bool HasClickAction() const;
  // The drop-down part: the right 14 pixels, the left ones in a right-to-left button (a press
  // there reaches one pixel further, x < 15).
  bool OnDropDownPart(int x) const;
  TRect DropDownPartOf(const TRect& rect, int width) const;
  TRect WithoutDropDownPart(const TRect& rect) const;
  TCustomImageList* ImageList() const;
  void ReleaseMouse(TMouseButton button, int x, int y);
  void SyncHotState();
  void BroadcastGroup();
  void ImagesChanged(TObject* sender);
  void GrowToImages();
  void ActionChanged(TAction* action);
  void ButtonPressed(int group, TControl* sender);

  TAlignment alignment_ = taCenter;
  bool allowAllUp_ = false;
  bool down_ = false;
  int groupIndex_ = 0;
  TPopupMenu* dropDownMenu_ = nullptr;
  bool flat_ = true;
  TCustomImageList* images_ = nullptr;
  TChangeLink imageChangeLink_;
  int imageIndex_ = -1;
  int downIndex_ = -1;
  int disabledIndex_ = -1;
  int hotIndex_ = -1;
  TButtonLayout layout_ = blGlyphLeft;
  bool showCaption_ = false;
  TKxToolStyle toolStyle_ = tsButton;
  bool transparent_ = true;
  TKxVisualStyle visualStyle_ = vsWinXP;
  TKxGradientColorStyle gradientColorStyle_ = gcsSystem;
  TColor selectionColorStart_ = clBtnFace;
  TColor selectionColorStop_ = clBtnShadow;
  TColor selectionFrameColor_ = cl3DDkShadow;
  bool useToolbarButtonLayout_ = true;
  bool useToolbarButtonSize_ = true;
  bool useToolbarShowCaption_ = true;
  bool useToolbarVisualStyle_ = true;
  std::unique_ptr<TKxToolButtonActionLink> actionLink_;

  int state_ = bsUp;
  bool dragging_ = false;
  bool mouseInControl_ = false;
  bool inDropDown_ = false;
  bool treatAsNormal_ = true;
  bool menuClosedValid_ = false;
  DWORD menuClosedAt_ = 0;
};
