// Combo boxes over the platform's COMBOBOX class: five styles (drop-down, simple, drop-down
// list, owner-drawn fixed and variable), items with objects, item index, the dropped-down
// state, owner drawing, and the change, select, drop-down and close-up events. The items live
// in a TStringList the window is filled from, so they exist before and across the window's
// life. The edit and list windows of the platform's combo box are subclassed: their messages
// pass EditWndProc / ListWndProc, which a descendant overrides to filter keys or paint.
//
// Events: a selection from the list (CBN_SELCHANGE) fires OnClick, then OnSelect (or OnChange
// when OnSelect is not assigned); typing in the edit part fires OnChange; opening and closing
// the list fire OnDropDown and OnCloseUp. Setting ItemIndex from code fires nothing.
#pragma once

#include <string>

#include "toolkit/ui/CustomControl.h"

class TEnumInfo;
class TStrings;
class TStringList;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
const TEnumInfo& EnumTypeInfo(TComboBoxStyle);
enum TOwnerDrawStateFlag { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

using TDrawItemEvent = TMethodEvent<TWinControl*, int, TRect, TOwnerDrawState>;
using TMeasureItemEvent = TMethodEvent<TWinControl*, int, int&>;

class TCustomComboBox : public TWinControl {
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TComboBoxStyle Style() const { return style_; }
  virtual void SetStyle(TComboBoxStyle value);
  TStrings* Items() const;
  void SetItems(TStrings* value);
  void AddItem(const std::string& text, TObject* object);
  void Clear();
  // -1: none.
  int ItemIndex();
  virtual void SetItemIndex(int value);
  bool DroppedDown();
  void SetDroppedDown(bool value);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = value; }
  int ItemHeight();
  virtual void SetItemHeight(int value);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);
  bool ParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool value) { parentCtl3D_ = value; }
  // The canvas owner drawing and measuring use.
  TCanvas* Canvas() const { return canvas_; }
  // The platform's edit (edit styles) and list windows; null without a window.
  HWND EditHandle() const { return editHandle_; }
  HWND ListHandle() const { return listHandle_; }
  void SelectAll();

  TNotifyEvent OnChange;
  TNotifyEvent OnSelect;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  // The subclassed edit's / list's messages; the bases run the key events (edit) and then
  // the platform's handling.
  virtual void EditWndProc(TMessage& message);
  virtual void ListWndProc(TMessage& message);
  // Passes a message of the edit / list on to the platform.
  void DefaultEditHandler(TMessage& message);
  void DefaultListHandler(TMessage& message);
  virtual void Change() { OnChange(this); }
  virtual void Select();
  virtual void DropDown() { OnDropDown(this); }
  virtual void CloseUp() { OnCloseUp(this); }
  virtual void SelEndOk() {}
  virtual void SelEndCancel() {}
  virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
  virtual void MeasureItem(int index, int& height);
  bool IsOwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }

 private:
  static LRESULT CALLBACK ChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void ItemsChanged(TObject* sender);
  void FillWindow();
  void Subclass(HWND child, WNDPROC& saved);

  TComboBoxStyle style_ = csDropDown;
  TStringList* items_;
  TCanvas* canvas_;
  int itemIndex_ = -1;  // kept while there is no window
  int dropDownCount_ = 8;
  int itemHeight_ = 16;
  int maxLength_ = 0;
  bool sorted_ = false;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  bool filling_ = false;
  HWND editHandle_ = nullptr;
  HWND listHandle_ = nullptr;
  WNDPROC editProc_ = nullptr;
  WNDPROC listProc_ = nullptr;
};

class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
