// TToolBar over the platform's ToolbarWindow32 and its TToolButton items: image, caption,
// hint (shown as the button's tooltip), style (button, check, separator, drop-down), down and
// enabled states, an optional action, OnClick. Tool buttons are components whose parent is
// the tool bar (as layouts nest them); the bar makes one platform button per tool button and
// remakes them after any change.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/ui/WinControl.h"

class TAction;
class TActionLink;
class TChangeLink;
class TCustomImageList;
class TEnumInfo;
class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
const TEnumInfo& EnumTypeInfo(TToolButtonStyle);

class TToolButton : public TComponent {
 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TToolBar* ToolBar() const { return toolBar_; }
  void SetToolBar(TToolBar* value);
  int Index() const;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool value);
  TAction* Action() const;
  void SetAction(TAction* value);
  // Fires OnClick, or runs the linked action when OnClick is not assigned.
  virtual void Click();
  int Command() const { return command_; }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  // Joins the parent the layout nests it in before reading its properties.
  void ReadState(TReader& reader) override;

  TNotifyEvent OnClick;

 private:
  friend class TToolBar;
  void Changed();
  void ActionChanged(TAction* action);

  TToolBar* toolBar_ = nullptr;
  std::string caption_;
  std::string hint_;
  int imageIndex_ = -1;
  TToolButtonStyle style_ = tbsButton;
  bool down_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool grouped_ = false;
  int command_;
  std::unique_ptr<TActionLink> actionLink_;
};

class TToolBar : public TWinControl {
 public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool value);
  int ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(int value);
  int ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(int value);
  // The platform button's rectangle (client coordinates) of a tool button; empty when hidden.
  TRect ButtonRect(const TToolButton* button);

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  friend class TToolButton;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void Loaded() override;
  // Remakes the platform's buttons from the tool buttons.
  void RecreateButtons();

 private:
  void AddButton(TToolButton* button);
  void RemoveButton(TToolButton* button);
  void ImagesChanged(TObject* sender);

  std::vector<TToolButton*> buttons_;
  TCustomImageList* images_ = nullptr;
  std::unique_ptr<TChangeLink> imageLink_;
  bool flat_ = false;
  bool showCaptions_ = false;
  int buttonWidth_ = 23;
  int buttonHeight_ = 22;
};
