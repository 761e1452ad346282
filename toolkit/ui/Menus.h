// Menus: TMenuItem (caption, "-" for a separator, checked/enabled/visible, image, hint, an
// action, OnClick and owner drawing, child items), TMenu (the tree of items over an HMENU,
// images, owner draw), TMainMenu (the menu bar of the form it belongs to) and TPopupMenu
// (shown at a point; the chosen item's OnClick fires before Popup returns).
// The platform's menu is rebuilt from the items after every change; each item has a command
// number unique in the program, by which WM_COMMAND finds it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/MenuLinks.h"
#include "toolkit/ui/Messages.h"

class TAction;
class TActionLink;
class TCanvas;
class TCustomForm;
class TCustomImageList;
class TEnumInfo;
class TMenu;

using TMenuDrawItemEvent = TMethodEvent<TObject*, TCanvas*, TRect, bool>;
using TMenuMeasureItemEvent = TMethodEvent<TObject*, TCanvas*, int&, int&>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool IsLine() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  TAction* Action() const;
  void SetAction(TAction* value);

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  // The menu the item belongs to (through its parents).
  TMenu* GetParentMenu() const;
  UINT Command() const { return command_; }
  // Fires OnClick, or runs the linked action when OnClick is not assigned.
  virtual void Click();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  // Joins the parent the layout nests it in before reading its properties.
  void ReadState(TReader& reader) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

 private:
  friend class TMenu;
  void Changed();
  void ActionChanged(TAction* action);

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  int imageIndex_ = -1;
  std::string hint_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item
  UINT command_;
  std::unique_ptr<TActionLink> actionLink_;
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // The root item: its children are the menu's items.
  TMenuItem* Items() const { return items_; }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  // The platform's menu, built on first use.
  HMENU Handle();
  // Finds the item with this command number and clicks it; false when none has it.
  bool DispatchCommand(UINT command);
  TMenuItem* FindItem(UINT command) const;
  // WM_DRAWITEM / WM_MEASUREITEM of this menu's owner-drawn items; false when not ours.
  bool DrawItem(const DRAWITEMSTRUCT& item);
  bool MeasureItem(MEASUREITEMSTRUCT& item);

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void Notification(TComponent* component, TOperation operation) override;

 protected:
  friend class TMenuItem;
  virtual bool IsPopup() const { return false; }
  // Called after the items changed: the platform's menu is made again.
  virtual void MenuChanged();
  void DestroyHandle();

 private:
  void BuildInto(HMENU menu, TMenuItem* parent);
  bool NeedsOwnerDraw(const TMenuItem* item) const;

  TMenuItem* items_;
  TCustomImageList* images_ = nullptr;
  bool ownerDraw_ = false;
  HMENU handle_ = nullptr;
};

class TMainMenu : public TMenu, public TMainMenuLink {
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Makes this the menu bar of `form` (the form's Menu, as a layout's "Menu = mm1" does).
  void AttachTo(TCustomForm* form);

  // TMainMenuLink: what the form's window asks of its menu bar.
  HMENU MenuHandle() override { return Handle(); }
  bool DispatchCommand(WORD id) override { return TMenu::DispatchCommand(id); }
  bool DispatchPopup(HMENU) override { return false; }
  bool MenuMessage(TMessage& message) override;

 protected:
  void MenuChanged() override;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
const TEnumInfo& EnumTypeInfo(TPopupAlignment);

class TPopupMenu : public TMenu, public TPopupMenuLink {
 public:
  explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
  ~TPopupMenu() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment value) { alignment_ = value; }
  bool AutoPopup() const override { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value) { popupComponent_ = value; }
  // Shows the menu at screen point (x, y) and returns once it closed (after the chosen
  // item's click).
  virtual void Popup(int x, int y);
  // TPopupMenuLink: a control's right click.
  void Popup(int x, int y, TObject* component) override;
  // The window that owns the shown menu (made on first use).
  HWND WindowHandle();

  TNotifyEvent OnPopup;

 protected:
  bool IsPopup() const override { return true; }

 private:
  void WindowMessage(TMessage& message);
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
  HWND window_ = nullptr;
};

// Removes accelerator marks: "&File" -> "File", "&&" -> "&".
std::string StripHotkey(const std::string& text);
