// TButton, TCheckBox and TRadioButton over the platform's BUTTON class.
#include "toolkit/ui/Button.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Form.h"

const TEnumInfo& EnumTypeInfo(TCheckBoxState) {
  static const TEnumInfo info("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
  return info;
}

// ---- TButtonControl ----------------------------------------------------------------------------

const TClassInfo& TButtonControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TButtonControl>("TButtonControl", &TWinControl::StaticClass())
          .Property("Caption", [](TButtonControl& b) { return b.Caption(); },
                    [](TButtonControl& b, const std::string& v) { b.SetCaption(v); })
          .Property("WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap)
          .Default(false)
          .Abstract()
          .Build();
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  // No csClickEvents: the platform's BN_CLICKED is the one click.
  SetControlStyle({csSetCaption, csDoubleClicks});
  SetTabStop(true);
}

void TButtonControl::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  if (wordWrap_) params.Style |= BS_MULTILINE;
}

void TButtonControl::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    ButtonClicked();
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
}

// ---- TButton -----------------------------------------------------------------------------------

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TButton>("TButton", &TButtonControl::StaticClass())
          .Property("Cancel", &TButton::Cancel, &TButton::SetCancel)
          .Default(false)
          .Property("Default", &TButton::Default, &TButton::SetDefault)
          .Default(false)
          .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
          .Default(0)
          .Build();
  return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  active_ = default_;
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  if (HandleAllocated()) SetButtonStyle(value);
}

void TButton::SetButtonStyle(bool active) {
  active_ = active;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETSTYLE, active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this); form != nullptr && modalResult_ != 0) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGKEY: {
      const WORD key = message.CharCode();
      const bool enter = key == VK_RETURN && active_;
      const bool escape = key == VK_ESCAPE && cancel_;
      if ((enter || escape) && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_CONTROL) >= 0 && CanFocus()) {
        Click();
        message.Result = 1;
        return;
      }
      break;
    }
    case CM_FOCUSCHANGED: {
      // The focused button is the default one; with no button focused, the Default one is.
      auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
      const bool active = dynamic_cast<TButton*>(focused) != nullptr ? focused == this : default_;
      if (active != active_) SetButtonStyle(active);
      break;
    }
    default: break;
  }
  TButtonControl::WndProc(message);
}

// ---- TCheckBox ---------------------------------------------------------------------------------

const TClassInfo& TCheckBox::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCheckBox>("TCheckBox", &TButtonControl::StaticClass())
          .Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment)
          .Default(taRightJustify)
          .Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
          .Default(false)
          .Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
          .Stored(false)
          .Property("State", &TCheckBox::State, &TCheckBox::SetState)
          .Default(cbUnchecked)
          .Build();
  return info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.Style |= BS_3STATE;
  if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == state_) return;
  state_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
  if (!ComponentState().Contains(csLoading)) Click();
}

void TCheckBox::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCheckBox::ButtonClicked() {
  switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbGrayed: SetState(cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
  }
}

// ---- TRadioButton ------------------------------------------------------------------------------

const TClassInfo& TRadioButton::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TRadioButton>("TRadioButton", &TButtonControl::StaticClass())
          .Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
          .Default(taRightJustify)
          .Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
          .Default(false)
          .Build();
  return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  params.Style |= BS_RADIOBUTTON;
  if (alignment_ == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  SetTabStop(value);
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (other != nullptr && other != this) other->SetChecked(false);
    }
  }
  if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TRadioButton::ButtonClicked() { SetChecked(true); }
