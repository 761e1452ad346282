// TKxCustomComboBox / TKxComboBox: a combo box with the control set's custom frame and flat drop
// button, state colours (disabled, focused, read-only) like the framed edit, its own incremental
// search (list style: typed prefix, cleared 1.5 s after the last key) and auto-completion (edit
// style), read-only mode, a drop-down list fitted to the widest item, wheel stepping and extra
// events. TKxComboBox maps each item to a value string through Values.
//
// List-style search:  idle --char--> prefix += char, select first match, restart timer
//                     prefix --timer / Esc / PageUp..Down / focus lost--> idle (prefix empty)
// Edit-style typing (AutoComplete): the search string is the typed part of the text; a completed
// item's tail follows it, selected. A key edits the search string at the caret (replacing the
// selection), then the first item beginning with it is completed; when none does, the platform
// edits the text as usual (AllowEdit) or the key is refused with a beep. Paste, cut and a text
// change by the user make the text the search string and complete it.
//   typed "b":   "" -> "B[anana]"          Backspace on "Bl[ueberry]" -> "B[anana]"
//   typed "z":   "[Banana]" -> "z"         Backspace on "B[anana]"    -> ""
// The remembered normal colour is the colour the user set; state colours are painted over it
// under the updating-colour guard so they never become the normal colour.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "controls/KxCommonTypes.h"
#include "controls/KxFrameController.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/ui/ComboBox.h"

class TTimer;
class TControlCanvas;
class TStringList;

using TKxDeleteComboItemEvent = TMethodEvent<TObject*, void*>;

// The control set's shared search delay of incremental search, in milliseconds.
constexpr unsigned kKxSearchDelay = 1500;

class TKxCustomComboBox : public TCustomComboBox {
 public:
  explicit TKxCustomComboBox(TComponent* owner);
  ~TKxCustomComboBox() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  void AddItem(const std::string& text) { Items()->Add(text); }
  virtual int IndexOfItem(const std::string& text);
  // The first item that begins with `text` (any letter case), -1 when none.
  virtual int FindItemPrefix(const std::string& text);
  // Sets the text (when different) without auto-completing it.
  virtual void AssignTextQuietly(const std::string& text);

  virtual void RefreshStateColor();
  virtual void HotStateChanged(bool isMouse, bool value);
  virtual bool UsesThemedFrame() const;

  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool value) { autoComplete_ = value; }
  bool AllowEdit() const { return allowEdit_; }
  void SetAllowEdit(bool value) { allowEdit_ = value; }
  bool AutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool value) { autoDropDown_ = value; }
  bool AutoCloseUp() const { return autoCloseUp_; }
  void SetAutoCloseUp(bool value) { autoCloseUp_ = value; }
  bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool value) { beepOnInvalidKey_ = value; }
  bool KeepSearchCase() const { return keepSearchCase_; }
  void SetKeepSearchCase(bool value) { keepSearchCase_ = value; }
  bool ReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool value);
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool value) { tabOnEnter_ = value; }
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int value) { dropDownWidth_ = value; }
  const std::string& TextHint() const { return textHint_; }
  void SetTextHint(const std::string& value);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value) { showFocus_ = value; }

  bool FlatButtons() const { return flatButtons_; }
  virtual void SetFlatButtons(bool value);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  virtual void SetFlatButtonColor(TColor value);
  TColor DisabledColor() const { return disabledColor_; }
  virtual void SetDisabledColor(TColor value);
  TColor ReadOnlyColor() const { return readOnlyColor_; }
  virtual void SetReadOnlyColor(TColor value);
  bool ReadOnlyColorOnFocus() const { return readOnlyColorOnFocus_; }
  void SetReadOnlyColorOnFocus(bool value);
  TColor FocusColor() const { return focusColor_; }
  virtual void SetFocusColor(TColor value);
  TColor FrameColor() const { return frameColor_; }
  virtual void SetFrameColor(TColor value);
  TKxFrameController* FrameController() const { return frameController_; }
  virtual void SetFrameController(TKxFrameController* value);
  TKxFrameControllerNotifications FrameControllerNotifications() const { return notifications_; }
  void SetFrameControllerNotifications(TKxFrameControllerNotifications value) { notifications_ = value; }
  TColor FrameHotColor() const { return frameHotColor_; }
  virtual void SetFrameHotColor(TColor value);
  bool FrameHotTrack() const { return frameHotTrack_; }
  virtual void SetFrameHotTrack(bool value);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  virtual void SetFrameHotStyle(TFrameStyle value);
  TSides FrameSides() const { return frameSides_; }
  virtual void SetFrameSides(TSides value);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  virtual void SetFrameStyle(TFrameStyle value);
  bool FrameVisible() const { return frameVisible_; }
  virtual void SetFrameVisible(bool value);
  TFramingPreference FramingPreference() const { return framingPreference_; }
  virtual void SetFramingPreference(TFramingPreference value);

  // The typed prefix of the incremental search.
  const std::string& SearchString() const { return search_; }
  TTimer* SearchTimer() const { return searchTimer_; }
  // Focus inside / mouse over, as the hot state last heard them.
  bool InControl() const { return inControl_; }
  bool OverControl() const { return overControl_; }
  TColor NormalColor() const { return normalColor_; }

  TKxDeleteComboItemEvent OnDeleteItem;
  TNotifyEvent OnMatch;
  TNotifyEvent OnNotInList;
  TNotifyEvent OnSelEndCancel;
  TNotifyEvent OnSelEndOk;

  void Notification(TComponent* component, TOperation operation) override;
  void DefineProperties(TFiler& filer) override;
  // Stored-value rules: a colour or frame setting a frame controller governs is not written.
  bool ControllerOwns(TKxFrameControllerProperty property) const;

 protected:
  virtual void SignalInvalidKey();
  virtual void MatchKeyToItem(const std::string& text, TMessage& message);
  virtual bool AutoCompleteKey(const std::string& text, TMessage& message);
  virtual void DoDeleteItem(void* data) { OnDeleteItem(this, data); }
  virtual void ApplyTextHint();

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void EditWndProc(TMessage& message) override;
  void DropDown() override;
  void CloseUp() override;
  void SelEndOk() override;
  void SelEndCancel() override;
  void KeyPress(wchar_t& key) override;
  void DoEnter() override;
  void DoExit() override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;

 private:
  void ListSearchKey(TMessage& message);
  // Edit-style typing; each answers true when the message is swallowed.
  bool EditKeyDown(TMessage& message);
  bool EditChar(TMessage& message);
  bool EditBackspace(TMessage& message);
  bool EditPrintable(TMessage& message);
  void TextChanged();
  void CompleteEditedText(TMessage& message);
  void SyncSearchWithText();
  void DeselectKeepingText();
  // The edit part's selection in UTF-16 units.
  std::pair<int, int> EditSelection();
  void SetEditSelection(int start, int end);
  void SelectAndNotify(int index);
  // Paints over the platform's painting, into `dc` (null: the window).
  void PaintFrameAndButton(HDC dc);
  void SearchTimerTick(TObject* sender);
  void ColorChanged();
  int ButtonWidth() const;

  std::string search_;
  bool typing_ = false;
  bool keyInProgress_ = false;
  bool enterPressed_ = false;
  bool sysKeyDown_ = false;
  bool editCommandPending_ = false;  // a paste or cut key went to the platform
  bool ownFocus_ = false;
  TTimer* searchTimer_;

  bool autoComplete_ = true;
  bool allowEdit_ = true;
  bool autoDropDown_ = false;
  bool autoCloseUp_ = false;
  bool beepOnInvalidKey_ = true;
  bool keepSearchCase_ = false;
  bool readOnly_ = false;
  bool tabOnEnter_ = false;
  int dropDownWidth_ = 0;
  int lastDropDownWidth_ = 0;
  bool showFocus_ = true;
  std::string textHint_;

  TControlCanvas* frameCanvas_;
  bool flatButtons_ = false;
  TColor flatButtonColor_ = clBtnFace;
  TColor disabledColor_ = clBtnFace;
  TColor readOnlyColor_ = clInfoBk;
  bool readOnlyColorOnFocus_ = false;
  TColor focusColor_ = clWindow;
  TColor normalColor_ = clWindow;
  bool updatingColor_ = false;
  bool inControl_ = false;
  bool overControl_ = false;

  TColor frameColor_ = clBtnShadow;
  TKxFrameController* frameController_ = nullptr;
  TKxFrameControllerNotifications notifications_ = kAllFrameControllerNotifications;
  TColor frameHotColor_ = clBtnShadow;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TSides frameSides_ = kAllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
};

class TKxComboBox : public TKxCustomComboBox {
 public:
  explicit TKxComboBox(TComponent* owner);
  ~TKxComboBox() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Entry i of Values when set and not empty, else item i, else empty.
  virtual std::string ValueOfIndex(int index);
  // The value of the selected item (or of the text's item), else the text.
  virtual std::string ReadValue();
  // Selects the first item whose value is `value` (none when no item has it).
  virtual void WriteValue(const std::string& value);
  TStringList* Values() const { return values_; }
  virtual void SetValues(TStringList* value);
  std::string Value() { return ReadValue(); }

 protected:
  void WndProc(TMessage& message) override;

 private:
  void ValuesChanged(TObject* sender);
  void AfterSelection();

  TStringList* values_;
  std::string value_;
  bool settingValue_ = false;
  bool forcedSet_ = false;
};

// The object stored with an image combo box item; the shell controls read its indent level and
// data pointer.
class TKxImageComboBoxItem : public TObject {
 public:
  std::int32_t Indent = 0;
  void* Data = nullptr;
  int ImageIndex = -1;
};

// The object stored with item `index` of the combo box; the toolkit's invalid-cast error when it
// is not a TKxImageComboBoxItem.
TKxImageComboBoxItem* ImageComboItemAt(TCustomComboBox* combo, int index);
