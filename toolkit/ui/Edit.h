// One-line edits over the platform's EDIT class: TCustomEdit (text, maximum length, read-only,
// selection, border, Ctl3D, OnChange on every change of the text) and TCustomMaskEdit, the base
// the control set's framed edit derives from (an edit mask and a validation hook). Typed
// characters pass OnKeyPress first: a handler that sets the key to 0 refuses it, and the
// platform never sees it.
#pragma once

#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/WinControl.h"

class TEnumInfo;

// An edit's refusal of its text, with the message the user is shown.
VK_DECLARE_EXCEPTION(EDBEditError, Exception);
// The message of a text that does not fit its edit mask.
inline constexpr const char* kMaskEditError = "Invalid input value";

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TControlBorderStyle { bsNoBorder, bsSingleBorder };
const TEnumInfo& EnumTypeInfo(TEditCharCase);
const TEnumInfo& EnumTypeInfo(TControlBorderStyle);

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // 0: no limit.
  int MaxLength() const { return maxLength_; }
  virtual void SetMaxLength(int value);
  virtual bool ReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool value);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }
  TControlBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TControlBorderStyle value);
  // Sunken 3D border (true) or a flat one-pixel line (false).
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);
  bool ParentCtl3D() const { return parentCtl3D_; }
  void SetParentCtl3D(bool value) { parentCtl3D_ = value; }
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char value);
  bool Modified();
  void SetModified(bool value);

  int SelStart();
  void SetSelStart(int value);
  int SelLength();
  void SetSelLength(int value);
  std::string SelText();
  void SetSelText(const std::string& value);
  void SelectAll();
  void Clear() { SetText(""); }

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;
  // EN_CHANGE: the text changed (by the user or by code). Fires OnChange.
  virtual void Change();
  void DoEnter() override;

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  bool autoSelect_ = true;
  TControlBorderStyle borderStyle_ = bsSingleBorder;
  bool ctl3D_ = true;
  bool parentCtl3D_ = true;
  TEditCharCase charCase_ = ecNormal;
  char passwordChar_ = '\0';
  bool modified_ = false;
  bool creating_ = false;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

// An edit with an edit mask (EditMask.h gives the rules). The mask does not steer typing; it
// is checked when the edit is left: an empty mask (what every edit of this program has)
// accepts any text, a text that does not fit raises EDBEditError.
class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const std::string& EditMask() const { return editMask_; }
  void SetEditMask(const std::string& value) { editMask_ = value; }
  bool IsMasked() const { return !editMask_.empty(); }
  // Raises EDBEditError (kMaskEditError) when the text does not fit the mask.
  virtual void ValidateEdit();

 protected:
  void DoExit() override;

 private:
  std::string editMask_;
};

class TMaskEdit : public TCustomMaskEdit {
 public:
  explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};
