// TCustomEdit over the platform's EDIT class; TCustomMaskEdit's check of its mask.
#include "toolkit/ui/Edit.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/EditMask.h"

const TEnumInfo& EnumTypeInfo(TEditCharCase) {
  static const TEnumInfo info("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TControlBorderStyle) {
  static const TEnumInfo info("TBorderStyle", {"bsNone", "bsSingle"});
  return info;
}

const TClassInfo& TCustomEdit::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomEdit>("TCustomEdit", &TWinControl::StaticClass())
          .Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect)
          .Default(true)
          .Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
          .Default(bsSingleBorder)
          .Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
          .Default(ecNormal)
          .Property("Ctl3D", &TCustomEdit::Ctl3D, &TCustomEdit::SetCtl3D)
          .Default(true)
          .Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
          .Default(0)
          .Property("ParentCtl3D", &TCustomEdit::ParentCtl3D, &TCustomEdit::SetParentCtl3D)
          .Default(true)
          .Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar)
          .Default('\0')
          .Property("ReadOnly", [](TCustomEdit& e) { return e.ReadOnly(); },
                    [](TCustomEdit& e, bool v) { e.SetReadOnly(v); })
          .Default(false)
          .Property("Text", [](TCustomEdit& e) { return e.Text(); },
                    [](TCustomEdit& e, const std::string& v) { e.SetText(v); })
          .Property("OnChange", [](TCustomEdit& e) { return e.OnChange; },
                    [](TCustomEdit& e, TNotifyEvent v) { e.OnChange = v; })
          .Abstract()
          .Build();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks});
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"EDIT");
  params.Style |= ES_AUTOHSCROLL | ES_LEFT;
  if (readOnly_) params.Style |= ES_READONLY;
  if (charCase_ == ecUpperCase) params.Style |= ES_UPPERCASE;
  if (charCase_ == ecLowerCase) params.Style |= ES_LOWERCASE;
  if (passwordChar_ != '\0') params.Style |= ES_PASSWORD;
  if (borderStyle_ == bsSingleBorder) {
    if (ctl3D_) params.ExStyle |= WS_EX_CLIENTEDGE; else params.Style |= WS_BORDER;
  }
}

void TCustomEdit::CreateWnd() {
  creating_ = true;
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    creating_ = false;
    throw;
  }
  creating_ = false;
  SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (passwordChar_ != '\0') SendMessageW(Handle(), EM_SETPASSWORDCHAR, static_cast<WPARAM>(passwordChar_), 0);
  SendMessageW(Handle(), EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
}

void TCustomEdit::DestroyWnd() {
  modified_ = Modified();
  TWinControl::DestroyWnd();
}

void TCustomEdit::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == EN_CHANGE) {
    if (!creating_) Change();
    return;
  }
  TWinControl::WndProc(message);
}

void TCustomEdit::Change() {
  Perform(CM_CHANGED);
  OnChange(this);
}

void TCustomEdit::DoEnter() {
  if (autoSelect_ && HandleAllocated() && (GetKeyState(VK_LBUTTON) & 0x8000) == 0) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::SetMaxLength(int value) {
  value = std::max(value, 0);
  if (value == maxLength_) return;
  maxLength_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetBorderStyle(TControlBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetCtl3D(bool value) {
  parentCtl3D_ = false;
  if (value == ctl3D_) return;
  ctl3D_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (value == charCase_) return;
  charCase_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomEdit::SetPasswordChar(char value) {
  if (value == passwordChar_) return;
  passwordChar_ = value;
  if (HandleAllocated()) RecreateWnd();
}

bool TCustomEdit::Modified() {
  if (HandleAllocated()) modified_ = SendMessageW(Handle(), EM_GETMODIFY, 0, 0) != 0;
  return modified_;
}

void TCustomEdit::SetModified(bool value) {
  modified_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) { SendMessageW(Handle(), EM_SETSEL, value, value); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value) {
  const int start = SelStart();
  SendMessageW(Handle(), EM_SETSEL, start, start + value);
}

std::string TCustomEdit::SelText() {
  const std::wstring text = Utf8ToWide(Text());
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start >= text.size()) return {};
  return WideToUtf8(text.substr(start, end - start));
}

void TCustomEdit::SetSelText(const std::string& value) {
  const std::wstring text = Utf8ToWide(value);
  SendMessageW(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info = TClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClass()).Build();
  return info;
}

// ---- Masked edit ----------------------------------------------------------------------------

const TClassInfo& TCustomMaskEdit::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomMaskEdit>("TCustomMaskEdit", &TCustomEdit::StaticClass())
          .Property("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask)
          .Abstract()
          .Build();
  return info;
}

void TCustomMaskEdit::ValidateEdit() {
  if (IsMasked() && !EditTextFitsMask(editMask_, Text())) throw EDBEditError(kMaskEditError);
}

void TCustomMaskEdit::DoExit() {
  if (IsMasked()) ValidateEdit();
  TCustomEdit::DoExit();
}

const TClassInfo& TMaskEdit::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMaskEdit>("TMaskEdit", &TCustomMaskEdit::StaticClass()).Build();
  return info;
}
