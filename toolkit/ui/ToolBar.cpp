// TToolBar and TToolButton over ToolbarWindow32.
#include "toolkit/ui/ToolBar.h"

#include "toolkit/system/WinApi.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/ImgList.h"

namespace {
int NextButtonCommand() {
  static int next = 0x7000;
  next = next >= 0x7FFF ? 0x7000 : next + 1;
  return next;
}
}  // namespace

const TEnumInfo& EnumTypeInfo(TToolButtonStyle) {
  static const TEnumInfo info("TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"});
  return info;
}

// ---- TToolButton -------------------------------------------------------------------------------

const TClassInfo& TToolButton::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TToolButton>("TToolButton", &TComponent::StaticClass())
          .Property("Action", &TToolButton::Action, &TToolButton::SetAction)
          .Property("Caption", &TToolButton::Caption, &TToolButton::SetCaption)
          .Property("Down", &TToolButton::Down, &TToolButton::SetDown)
          .Default(false)
          .Property("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled)
          .Default(true)
          .Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
          .Default(false)
          .Property("Hint", &TToolButton::Hint, &TToolButton::SetHint)
          .Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
          .Default(-1)
          .Property("Style", &TToolButton::Style, &TToolButton::SetStyle)
          .Default(tbsButton)
          .Property("Visible", &TToolButton::Visible, &TToolButton::SetVisible)
          .Default(true)
          .Property("OnClick", [](TToolButton& b) { return b.OnClick; }, [](TToolButton& b, TNotifyEvent e) { b.OnClick = e; })
          .Build();
  return info;
}

TToolButton::TToolButton(TComponent* owner) : TComponent(owner), command_(NextButtonCommand()) {}

TToolButton::~TToolButton() {
  actionLink_.reset();
  SetToolBar(nullptr);
}

void TToolButton::SetToolBar(TToolBar* value) {
  if (value == toolBar_) return;
  if (toolBar_ != nullptr) toolBar_->RemoveButton(this);
  toolBar_ = value;
  if (toolBar_ != nullptr) toolBar_->AddButton(this);
}

int TToolButton::Index() const {
  if (toolBar_ == nullptr) return -1;
  const auto& list = toolBar_->buttons_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TToolButton::GetParentComponent() const { return toolBar_; }

void TToolButton::SetParentComponent(TComponent* value) { SetToolBar(dynamic_cast<TToolBar*>(value)); }

void TToolButton::Changed() {
  if (toolBar_ != nullptr && !ComponentState().Contains(csLoading)) toolBar_->RecreateButtons();
}

void TToolButton::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}

void TToolButton::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed();
}

void TToolButton::SetStyle(TToolButtonStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TToolButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (toolBar_ != nullptr && toolBar_->HandleAllocated())
    SendMessageW(toolBar_->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(command_), value ? TRUE : FALSE);
}

void TToolButton::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (toolBar_ != nullptr && toolBar_->HandleAllocated())
    SendMessageW(toolBar_->Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(command_), value ? TRUE : FALSE);
}

void TToolButton::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TToolButton::SetGrouped(bool value) {
  if (value == grouped_) return;
  grouped_ = value;
  Changed();
}

TAction* TToolButton::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TToolButton::SetAction(TAction* value) {
  if (value == nullptr) {
    actionLink_.reset();
    return;
  }
  if (!actionLink_) {
    actionLink_ = std::make_unique<TActionLink>(this);
    actionLink_->OnChange = TMethodEvent<TAction*>(this, &TToolButton::ActionChanged);
  }
  actionLink_->SetAction(value);
}

void TToolButton::ActionChanged(TAction* action) {
  hint_ = action->Hint();
  if (action->ImageIndex() >= 0) imageIndex_ = action->ImageIndex();
  SetEnabled(action->Enabled());
  SetDown(action->Checked());
  if (visible_ != action->Visible()) SetVisible(action->Visible()); else Changed();
}

void TToolButton::Click() {
  if (OnClick) OnClick(this);
  else if (actionLink_) actionLink_->Execute();
}

// ---- TToolBar ----------------------------------------------------------------------------------

const TClassInfo& TToolBar::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TToolBar>("TToolBar", &TWinControl::StaticClass())
          .Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
          .Default(22)
          .Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
          .Default(23)
          .Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
          .Default(false)
          .Property("Images", &TToolBar::Images, &TToolBar::SetImages)
          .Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
          .Default(false)
          .Build();
  return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner), imageLink_(std::make_unique<TChangeLink>()) {
  imageLink_->OnChange = TNotifyEvent(this, &TToolBar::ImagesChanged);
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  if (HandleAllocated()) DestroyHandle();
  for (TToolButton* button : buttons_) button->toolBar_ = nullptr;
}

void TToolBar::AddButton(TToolButton* button) {
  buttons_.push_back(button);
  if (!ComponentState().Contains(csLoading)) RecreateButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
  if (!ComponentState().Contains(csDestroying)) RecreateButtons();
}

void TToolBar::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TToolButton* button : buttons_) {
    if (button->Owner() == root) proc(button);
  }
  TWinControl::GetChildren(proc, root);
}

void TToolBar::SetImages(TCustomImageList* value) {
  if (value == images_) return;
  if (images_ != nullptr) images_->UnRegisterChanges(imageLink_.get());
  images_ = value;
  if (images_ != nullptr) {
    images_->RegisterChanges(imageLink_.get());
    images_->FreeNotification(this);
  }
  if (HandleAllocated()) RecreateWnd();
}

void TToolBar::ImagesChanged(TObject*) {
  if (HandleAllocated()) RecreateWnd();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    if (HandleAllocated() && !ComponentState().Contains(csDestroying)) RecreateWnd();
  }
}

void TToolBar::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TToolBar::SetShowCaptions(bool value) {
  if (value == showCaptions_) return;
  showCaptions_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TToolBar::SetButtonWidth(int value) {
  if (value == buttonWidth_) return;
  buttonWidth_ = value;
  RecreateButtons();
}

void TToolBar::SetButtonHeight(int value) {
  if (value == buttonHeight_) return;
  buttonHeight_ = value;
  RecreateButtons();
}

void TToolBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, TOOLBARCLASSNAMEW);
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
  if (flat_) params.Style |= TBSTYLE_FLAT;
  if (!showCaptions_) params.Style |= TBSTYLE_LIST;
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  RecreateButtons();
}

void TToolBar::Loaded() {
  TWinControl::Loaded();
  RecreateButtons();
}

void TToolBar::RecreateButtons() {
  if (!HandleAllocated()) return;
  HWND bar = Handle();
  while (SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(bar, TB_DELETEBUTTON, 0, 0);
  SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ != nullptr ? images_->Handle() : nullptr));
  if (images_ != nullptr) {
    SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->Width(), images_->Height()));
  }
  for (TToolButton* button : buttons_) {
    if (!button->Visible()) continue;
    TBBUTTON tb{};
    tb.idCommand = button->Command();
    tb.iBitmap = images_ != nullptr && button->ImageIndex() >= 0 ? button->ImageIndex() : I_IMAGENONE;
    tb.fsState = static_cast<BYTE>((button->Enabled() ? TBSTATE_ENABLED : 0) | (button->Down() ? TBSTATE_CHECKED : 0));
    switch (button->Style()) {
      case tbsButton: tb.fsStyle = BTNS_BUTTON; break;
      case tbsCheck: tb.fsStyle = BTNS_CHECK | (button->Grouped() ? BTNS_GROUP : 0); break;
      case tbsDropDown: tb.fsStyle = BTNS_DROPDOWN; break;
      case tbsSeparator:
      case tbsDivider: tb.fsStyle = BTNS_SEP; tb.iBitmap = 8; break;
    }
    std::wstring caption = Utf8ToWide(button->Caption());
    caption.push_back(L'\0');
    if (showCaptions_ && !caption.empty() && button->Style() != tbsSeparator && button->Style() != tbsDivider)
      tb.iString = reinterpret_cast<INT_PTR>(caption.c_str());
    else
      tb.iString = -1;
    SendMessageW(bar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
  }
  SendMessageW(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  SendMessageW(bar, TB_AUTOSIZE, 0, 0);
}

TRect TToolBar::ButtonRect(const TToolButton* button) {
  RECT r{};
  if (!HandleAllocated() || SendMessageW(Handle(), TB_GETRECT, static_cast<WPARAM>(button->Command()),
                                         reinterpret_cast<LPARAM>(&r)) == 0)
    return {};
  return r;
}

void TToolBar::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND: {
      const int command = LOWORD(message.WParam);
      for (TToolButton* button : buttons_) {
        if (button->Command() != command) continue;
        if (button->Style() == tbsCheck) {
          button->down_ = SendMessageW(Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(command), 0) != 0;
        }
        button->Click();
        break;
      }
      message.Result = 0;
      return;
    }
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
      if (header->code == TBN_GETINFOTIPW) {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(message.LParam);
        for (TToolButton* button : buttons_) {
          if (button->Command() != tip->iItem) continue;
          const std::wstring hint = Utf8ToWide(button->Hint());
          if (tip->pszText != nullptr && tip->cchTextMax > 0) {
            const size_t n = std::min(hint.size(), static_cast<size_t>(tip->cchTextMax - 1));
            hint.copy(tip->pszText, n);
            tip->pszText[n] = L'\0';
          }
          break;
        }
        message.Result = 0;
        return;
      }
      break;
    }
    default: break;
  }
  TWinControl::WndProc(message);
}

void TToolButton::ReadState(TReader& reader) {
  if (reader.Parent() != nullptr) SetParentComponent(reader.Parent());
  TComponent::ReadState(reader);
}
