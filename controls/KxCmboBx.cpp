// TKxCustomComboBox and TKxComboBox: state colours, hot state, incremental search and
// auto-completion, read-only mode, drop-down width, wheel, item drawing, the custom frame and
// flat button painted over the platform's combo box, and the item-to-value mapping.
#include "controls/KxCmboBx.h"

#include <commctrl.h>
#include <vssym32.h>

#include <algorithm>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxCommonText.h"
#include "controls/KxFrameSettings.h"
#include "controls/KxOldPropReader.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/Themes.h"
#include "toolkit/ui/Timer.h"

namespace {

bool StateLoading(const TComponent& c) { return c.ComponentState().Contains(csLoading); }

TRect Shrunk(TRect r, int d) {
  r.Left += d;
  r.Top += d;
  r.Right -= d;
  r.Bottom -= d;
  return r;
}

}  // namespace

// ---- Class information ------------------------------------------------------------------------

const TClassInfo& TKxCustomComboBox::StaticClass() {
  using C = TKxCustomComboBox;
  const auto unowned = UnownedFrameSetting<C>;
  static const TClassInfo info =
      AddFrameProperties(
          TClassBuilder<C>("TKxCustomComboBox", &TCustomComboBox::StaticClass())
              .Abstract()
              .Property("Color", &C::Color, &C::SetColor)
              .Default(clWindow)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored([](C& c) { return !c.ParentColor() && !c.ControllerOwns(fcpColor) && c.Enabled(); })
              .Property("AllowEdit", &C::AllowEdit, &C::SetAllowEdit)
              .Default(true)
              .Property("AutoCloseUp", &C::AutoCloseUp, &C::SetAutoCloseUp)
              .Default(false)
              .Property("AutoComplete", &C::AutoComplete, &C::SetAutoComplete)
              .Default(true)
              .Property("AutoDropDown", &C::AutoDropDown, &C::SetAutoDropDown)
              .Default(false)
              .Property("BeepOnInvalidKey", &C::BeepOnInvalidKey, &C::SetBeepOnInvalidKey)
              .Default(true)
              .Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor)
              .Default(clBtnFace)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored(unowned(fcpDisabledColor))
              .Property("DropDownWidth", &C::DropDownWidth, &C::SetDropDownWidth)
              .Default(0)
              .Property("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor)
              .Default(clBtnFace)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored(unowned(fcpFlatButtonColor))
              .Property("FlatButtons", &C::FlatButtons, &C::SetFlatButtons)
              .Default(false)
              .Stored(unowned(fcpFlatButtons))
              .Property("FocusColor", &C::FocusColor, &C::SetFocusColor)
              .Default(clWindow)
              .Idents(ColorPropToIdent, ColorIdentToProp)
              .Stored([](C& c) {
                return !c.ControllerOwns(fcpFocusColor) && KxColorToRGB(c.FocusColor()) != KxColorToRGB(c.Color());
              }))
          .Property("KeepSearchCase", &C::KeepSearchCase, &C::SetKeepSearchCase)
          .Default(false)
          .Property("ReadOnly", &C::ReadOnly, &C::SetReadOnly)
          .Default(false)
          .Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor)
          .Default(clInfoBk)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Stored(unowned(fcpReadOnlyColor))
          .Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus)
          .Default(false)
          .Stored(unowned(fcpReadOnlyColorOnFocus))
          .Property("TabOnEnter", &C::TabOnEnter, &C::SetTabOnEnter)
          .Default(false)
          .Property("TextHint", [](C& c) { return c.TextHint(); }, [](C& c, const std::string& v) { c.SetTextHint(v); })
          .Property("OnDeleteItem", [](C& c) { return c.OnDeleteItem; },
                    [](C& c, TKxDeleteComboItemEvent e) { c.OnDeleteItem = e; })
          .Property("OnMatch", [](C& c) { return c.OnMatch; }, [](C& c, TNotifyEvent e) { c.OnMatch = e; })
          .Property("OnNotInList", [](C& c) { return c.OnNotInList; }, [](C& c, TNotifyEvent e) { c.OnNotInList = e; })
          .Property("OnSelEndCancel", [](C& c) { return c.OnSelEndCancel; },
                    [](C& c, TNotifyEvent e) { c.OnSelEndCancel = e; })
          .Property("OnSelEndOk", [](C& c) { return c.OnSelEndOk; }, [](C& c, TNotifyEvent e) { c.OnSelEndOk = e; })
          .Build();
  return info;
}

const TClassInfo& TKxComboBox::StaticClass() {
  using C = TKxComboBox;
  static const TClassInfo info = TClassBuilder<C>("TKxComboBox", &TKxCustomComboBox::StaticClass())
                                     .Property("Values", &C::Values, &C::SetValues)
                                     .Stored([](C& c) { return c.Values()->Count() > 0; })
                                     .Build();
  return info;
}

// ---- TKxCustomComboBox ------------------------------------------------------------------------

TKxCustomComboBox::TKxCustomComboBox(TComponent* owner)
    : TCustomComboBox(owner), searchTimer_(new TTimer(nullptr)), frameCanvas_(new TControlCanvas()) {
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(kKxSearchDelay);
  searchTimer_->SetOnTimer([this](TObject* sender) { SearchTimerTick(sender); });
  frameCanvas_->SetControl(this);
}

TKxCustomComboBox::~TKxCustomComboBox() {
  delete searchTimer_;
  if (frameController_ != nullptr) frameController_->UnregisterControl(this);
  delete frameCanvas_;
}

bool TKxCustomComboBox::ControllerOwns(TKxFrameControllerProperty property) const {
  return frameController_ != nullptr && notifications_.Contains(property);
}

int TKxCustomComboBox::IndexOfItem(const std::string& text) { return Items()->IndexOf(text); }

int TKxCustomComboBox::FindItemPrefix(const std::string& text) {
  if (HandleAllocated()) {
    return static_cast<int>(SendTextMessage(Handle(), CB_FINDSTRING, static_cast<WPARAM>(-1), text));
  }
  const std::string lower = LowerCase(text);
  for (int i = 0; i < Items()->Count(); ++i) {
    if (LowerCase(Items()->Get(i)).compare(0, lower.size(), lower) == 0) return i;
  }
  return -1;
}

void TKxCustomComboBox::AssignTextQuietly(const std::string& text) {
  if (Text() == text) return;
  const bool saved = autoComplete_;
  autoComplete_ = false;
  SetText(text);
  autoComplete_ = saved;
}

void TKxCustomComboBox::SignalInvalidKey() {
  if (beepOnInvalidKey_) MessageBeep(MB_OK);
}

bool TKxCustomComboBox::UsesThemedFrame() const {
  return framingPreference_ == fpXPThemes && KxVisualStylesActive();
}

int TKxCustomComboBox::ButtonWidth() const { return GetSystemMetrics(SM_CXVSCROLL); }

void TKxCustomComboBox::RefreshStateColor() {
  if (StateLoading(*this)) return;
  updatingColor_ = true;
  if (!Enabled()) {
    SetColor(disabledColor_);
  } else if (inControl_) {
    SetColor(readOnly_ && readOnlyColorOnFocus_ ? readOnlyColor_ : focusColor_);
  } else {
    SetColor(readOnly_ ? readOnlyColor_ : normalColor_);
  }
  updatingColor_ = false;
}

void TKxCustomComboBox::HotStateChanged(bool isMouse, bool value) {
  if (isMouse) overControl_ = value; else inControl_ = value;
  const bool vistaThemed = IsWindowsVersionAtLeast(7) && KxVisualStylesActive();
  if (((flatButtons_ && !vistaThemed) || frameHotTrack_) && HandleAllocated() && !DroppedDown()) {
    if (frameHotTrack_) {
      InvalidateRect(Handle(), nullptr, FALSE);
    } else {
      const TRect c = ClientRect();
      const RECT strip = UseRightToLeftAlignment() ? RECT{c.Left, c.Top, c.Left + ButtonWidth() + 2, c.Bottom}
                                                   : RECT{c.Right - ButtonWidth() - 2, c.Top, c.Right, c.Bottom};
      InvalidateRect(Handle(), &strip, FALSE);
    }
  }
  RefreshStateColor();
}

void TKxCustomComboBox::ColorChanged() {
  if (updatingColor_) return;
  if (focusColor_ == normalColor_) focusColor_ = Color();
  normalColor_ = Color();
}

// ---- Setters ----------------------------------------------------------------------------------

void TKxCustomComboBox::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (HandleAllocated() && EditHandle() != nullptr) SendMessageW(EditHandle(), EM_SETREADONLY, value, 0);
  RefreshStateColor();
  Invalidate();
}

void TKxCustomComboBox::SetTextHint(const std::string& value) {
  if (value == textHint_) return;
  textHint_ = value;
  if (!StateLoading(*this)) ApplyTextHint();
}

void TKxCustomComboBox::ApplyTextHint() {
  if (!HandleAllocated() || !KxVisualStylesActive()) return;
  if (IsWindowsVersionAtLeast(7)) {
    SendTextMessage(Handle(), CB_SETCUEBANNER, 0, textHint_);
  } else if (IsWindowsVersion(5) && EditHandle() != nullptr) {
    SendTextMessage(EditHandle(), EM_SETCUEBANNER, 0, textHint_);
  }
}

void TKxCustomComboBox::SetFlatButtons(bool value) {
  if (value == flatButtons_) return;
  flatButtons_ = value;
  Invalidate();
}

void TKxCustomComboBox::SetFlatButtonColor(TColor value) {
  if (value == flatButtonColor_) return;
  flatButtonColor_ = value;
  Invalidate();
}

void TKxCustomComboBox::SetDisabledColor(TColor value) {
  if (value == disabledColor_) return;
  disabledColor_ = value;
  if (!Enabled()) RefreshStateColor();
}

void TKxCustomComboBox::SetReadOnlyColor(TColor value) {
  if (value == readOnlyColor_) return;
  readOnlyColor_ = value;
  if (readOnly_) RefreshStateColor();
}

void TKxCustomComboBox::SetReadOnlyColorOnFocus(bool value) {
  if (value == readOnlyColorOnFocus_) return;
  readOnlyColorOnFocus_ = value;
  if (readOnly_ && inControl_) RefreshStateColor();
}

void TKxCustomComboBox::SetFocusColor(TColor value) {
  if (value == focusColor_) return;
  focusColor_ = value;
  if (inControl_) RefreshStateColor();
}

void TKxCustomComboBox::SetFrameColor(TColor value) {
  if (ChangeFrameSetting(frameColor_, value)) Invalidate();
}

void TKxCustomComboBox::SetFrameHotColor(TColor value) {
  if (ChangeFrameSetting(frameHotColor_, value)) Invalidate();
}

void TKxCustomComboBox::SetFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    SetFrameVisible(true);
    if (!StateLoading(*this)) frameSides_ = kAllSides;
  }
  Invalidate();
}

void TKxCustomComboBox::SetFrameHotStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameHotStyle_, value)) Invalidate();
}

void TKxCustomComboBox::SetFrameSides(TSides value) {
  if (ChangeFrameSetting(frameSides_, value)) Invalidate();
}

void TKxCustomComboBox::SetFrameStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameStyle_, value)) Invalidate();
}

void TKxCustomComboBox::SetFrameVisible(bool value) {
  if (value == frameVisible_) return;
  frameVisible_ = value;
  SetParentCtl3D(!value);
  SetCtl3D(!value);
  Invalidate();
}

void TKxCustomComboBox::SetFramingPreference(TFramingPreference value) {
  if (value == framingPreference_) return;
  framingPreference_ = value;
  if (value == fpCustomFraming) Invalidate();
}

void TKxCustomComboBox::SetFrameController(TKxFrameController* value) {
  ChangeFrameController(this, frameController_, value);
}

void TKxCustomComboBox::Notification(TComponent* component, TOperation operation) {
  TCustomComboBox::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxCustomComboBox::DefineProperties(TFiler& filer) {
  TCustomComboBox::DefineProperties(filer);
  DefineOldFrameProperties(filer, [this](bool flat) { SetFrameHotTrack(flat); }, frameStyle_, frameHotStyle_);
}

// ---- Lifecycle and events ---------------------------------------------------------------------

void TKxCustomComboBox::CreateParams(TCreateParams& params) {
  TCustomComboBox::CreateParams(params);
  if (UseRightToLeftReading()) params.ExStyle |= WS_EX_RTLREADING;
  if (UseRightToLeftAlignment()) params.ExStyle |= WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
}

void TKxCustomComboBox::CreateWnd() {
  TCustomComboBox::CreateWnd();
  if (readOnly_ && EditHandle() != nullptr) SendMessageW(EditHandle(), EM_SETREADONLY, TRUE, 0);
  ApplyTextHint();
}

void TKxCustomComboBox::Loaded() {
  TCustomComboBox::Loaded();
  normalColor_ = Color();
  RefreshStateColor();
  HotStateChanged(false, false);
}

void TKxCustomComboBox::SelectAndNotify(int index) {
  SetItemIndex(index);
  Click();
  Change();
}

void TKxCustomComboBox::MatchKeyToItem(const std::string& text, TMessage& message) {
  const int index = FindItemPrefix(text);
  if (index < 0) {
    SignalInvalidKey();
    return;
  }
  SetItemIndex(index);
  search_ = text;
  Click();
  Change();
  wchar_t key = static_cast<wchar_t>(message.WParam);
  KeyPress(key);
}

bool TKxCustomComboBox::AutoCompleteKey(const std::string& text, TMessage& message) {
  const int before = ItemIndex();
  // Every item begins with the empty string; completing it would undo the clearing of the box.
  const int index = text.empty() ? -1 : FindItemPrefix(text);
  if (index < 0) return false;
  const std::string item = Items()->Get(index);
  if (keepSearchCase_) {
    typing_ = true;
    SetText(text + item.substr(std::min(text.size(), item.size())));
    typing_ = false;
  } else {
    SetItemIndex(-1);
    SetItemIndex(index);
  }
  Click();
  Change();
  wchar_t key = message.Msg == WM_CHAR ? static_cast<wchar_t>(message.WParam) : 0;
  if (key != 0) KeyPress(key);
  SetEditSelection(static_cast<int>(Utf8ToWide(text).size()), static_cast<int>(Utf8ToWide(item).size()));
  if (ItemIndex() != before) OnMatch(this);
  return true;
}

void TKxCustomComboBox::SearchTimerTick(TObject*) {
  if (keyInProgress_) return;
  searchTimer_->SetEnabled(false);
  search_.clear();
}

void TKxCustomComboBox::ListSearchKey(TMessage& message) {
  const wchar_t ch = static_cast<wchar_t>(message.WParam);
  if (ch == VK_BACK) {
    if (search_.empty()) {
      SignalInvalidKey();
      MatchKeyToItem(std::string(), message);
      return;
    }
    std::wstring wide = Utf8ToWide(search_);
    wide.pop_back();
    search_ = WideToUtf8(wide);
    if (!search_.empty()) {
      MatchKeyToItem(search_, message);
    } else {
      SelectAndNotify(0);
      search_.clear();
      wchar_t key = ch;
      KeyPress(key);
    }
    return;
  }
  keyInProgress_ = true;
  const std::string candidate = search_ + WideToUtf8(std::wstring(1, ch));
  MatchKeyToItem(candidate, message);
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(kKxSearchDelay);
  searchTimer_->SetEnabled(true);
  keyInProgress_ = false;
}

void TKxCustomComboBox::KeyPress(wchar_t& key) {
  if (tabOnEnter_ && key == VK_RETURN && !DroppedDown()) {
    key = 0;
    PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  if (Style() == csDropDown && MaxLength() > 0 && key >= 32 && HandleAllocated()) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start == end && static_cast<int>(Utf8ToWide(Text()).size()) >= MaxLength()) {
      SignalInvalidKey();
      key = 0;
      return;
    }
  }
  TCustomComboBox::KeyPress(key);
  if (key == VK_TAB) {
    if (autoDropDown_ && DroppedDown()) SetDroppedDown(false);
  } else if (key != 0 && key != VK_BACK && key != VK_ESCAPE && autoDropDown_ && !DroppedDown()) {
    SetDroppedDown(true);
  }
}

void TKxCustomComboBox::DoEnter() {
  ownFocus_ = true;
  HotStateChanged(false, true);
  TCustomComboBox::DoEnter();
}

void TKxCustomComboBox::DoExit() {
  ownFocus_ = false;
  search_.clear();
  HotStateChanged(false, false);
  if (Style() == csDropDown) {
    const std::string text = Text();
    if (!text.empty() && IndexOfItem(text) < 0) OnNotInList(this);
  }
  TCustomComboBox::DoExit();
}

void TKxCustomComboBox::MouseEnter() {
  if (ComponentState().Contains(csDesigning)) return;
  OnMouseEnter(this);
  HotStateChanged(true, true);
}

void TKxCustomComboBox::MouseLeave() {
  OnMouseLeave(this);
  HotStateChanged(true, false);
}

bool TKxCustomComboBox::DoMouseWheel(TShiftState, int wheelDelta, TPoint) {
  if (readOnly_ || wheelDelta == 0) return true;
  if (DroppedDown()) {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int top = static_cast<int>(SendMessageW(Handle(), CB_GETTOPINDEX, 0, 0));
    const int moved = wheelDelta > 0 ? top - static_cast<int>(lines) : top + static_cast<int>(lines);
    SendMessageW(Handle(), CB_SETTOPINDEX, static_cast<WPARAM>(std::max(0, moved)), 0);
    return true;
  }
  const int index = ItemIndex();
  if (wheelDelta < 0) {
    if (index < Items()->Count() - 1) SelectAndNotify(index + 1);
  } else if (index <= 0) {
    SetItemIndex(Items()->Count() > 0 ? 0 : -1);
  } else {
    SelectAndNotify(index - 1);
  }
  return true;
}

void TKxCustomComboBox::DropDown() {
  int width = dropDownWidth_;
  if (width <= 0) {
    TCanvas& canvas = *Canvas();
    const TWindowDC screen(Handle());
    canvas.Lock();
    canvas.SetHandle(screen.Get());
    canvas.SetFont(Font());
    int widest = 0;
    for (int i = 0; i < Items()->Count(); ++i) widest = std::max(widest, canvas.TextWidth(Items()->Get(i)));
    canvas.SetHandle(nullptr);
    canvas.Unlock();
    if (Items()->Count() > DropDownCount()) widest += GetSystemMetrics(SM_CXVSCROLL);
    width = std::max(widest + 8, Width());
  }
  lastDropDownWidth_ = width;
  SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
  TCustomComboBox::DropDown();
}

void TKxCustomComboBox::CloseUp() {
  TCustomComboBox::CloseUp();
  Invalidate();
}

void TKxCustomComboBox::SelEndOk() {
  typing_ = true;
  OnSelEndOk(this);
}

void TKxCustomComboBox::SelEndCancel() { OnSelEndCancel(this); }

void TKxCustomComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  TCanvas& canvas = *Canvas();
  canvas.FillRect(rect);
  if (index >= 0 && index < Items()->Count()) {
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(rect.Left + 2, rect.Top, Items()->Get(index));
    canvas.Brush()->SetStyle(bsSolid);
  }
}

// ---- Messages ---------------------------------------------------------------------------------

void TKxCustomComboBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (readOnly_ && Style() == csDropDownList) return;
      if (message.WParam == VK_ESCAPE || (message.WParam >= VK_PRIOR && message.WParam <= VK_DOWN)) search_.clear();
      break;
    case WM_CHAR:
      if (Style() == csDropDownList) {
        if (readOnly_) return;
        const wchar_t ch = static_cast<wchar_t>(message.WParam);
        if (ch == VK_BACK || (ch >= 32 && ch <= 255)) {
          ListSearchKey(message);
          return;
        }
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (readOnly_) return;
      break;
    case WM_KILLFOCUS: search_.clear(); break;
    case CN_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
      TOwnerDrawState state;
      if (item->itemState & ODS_SELECTED) state.Include(odSelected);
      if (item->itemState & ODS_DISABLED) state.Include(odDisabled);
      if (item->itemState & ODS_FOCUS) state.Include(odFocused);
      if (item->itemState & ODS_COMBOBOXEDIT) state.Include(odComboBoxEdit);
      TCanvas& canvas = *Canvas();
      canvas.Lock();
      canvas.SetHandle(item->hDC);
      canvas.SetFont(Font());
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Brush()->SetColor(Color());
      if (state.Contains(odSelected)) {
        canvas.Brush()->SetColor(clHighlight);
        canvas.Font()->SetColor(clHighlightText);
      }
      DrawItem(static_cast<int>(item->itemID), item->rcItem, state);
      if (state.Contains(odFocused) && state.Contains(odSelected) && showFocus_) canvas.DrawFocusRect(item->rcItem);
      canvas.SetHandle(nullptr);
      canvas.Unlock();
      message.Result = TRUE;
      return;
    }
    case CB_DELETESTRING: {
      const LRESULT data = SendMessageW(Handle(), CB_GETITEMDATA, message.WParam, 0);
      if (data != CB_ERR && data != 0) {
        DoDeleteItem(reinterpret_cast<void*>(data));
        SendMessageW(Handle(), CB_SETITEMDATA, message.WParam, 0);
      }
      break;
    }
    case CN_COMMAND:
      if (HIWORD(message.WParam) == CBN_EDITCHANGE) TextChanged();
      break;
    case CM_ENABLEDCHANGED:
      TCustomComboBox::WndProc(message);
      RefreshStateColor();
      return;
    case CM_COLORCHANGED:
      TCustomComboBox::WndProc(message);
      ColorChanged();
      return;
    case CM_PARENTCOLORCHANGED:
      TCustomComboBox::WndProc(message);
      if (ParentColor()) ColorChanged();
      return;
    case CM_BIDIMODECHANGED:
      // The platform mirrors the box (button on the left) through its extended styles.
      if (HandleAllocated()) RecreateWnd();
      break;
    case WM_SIZE:
      TCustomComboBox::WndProc(message);
      if (frameVisible_ && !UsesThemedFrame()) Invalidate();
      return;
    case WM_PAINT:
      TCustomComboBox::WndProc(message);
      // A DC in WParam is a paint into it (PaintTo): the frame and button go there as well.
      PaintFrameAndButton(reinterpret_cast<HDC>(message.WParam));
      return;
    default: break;
  }
  TCustomComboBox::WndProc(message);
}

// ---- Edit-style typing ------------------------------------------------------------------------

std::pair<int, int> TKxCustomComboBox::EditSelection() {
  DWORD start = 0;
  DWORD end = 0;
  if (HandleAllocated()) {
    SendMessageW(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  }
  return {static_cast<int>(start), static_cast<int>(end)};
}

void TKxCustomComboBox::SetEditSelection(int start, int end) {
  if (HandleAllocated()) SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, end));
}

void TKxCustomComboBox::SyncSearchWithText() {
  // The search string is the text, or the typed part of it followed by the selected completion.
  // Anything else (text set by code, a caret moved by the mouse) makes the text the search string,
  // so that a key never rebuilds the text from a stale search string.
  const std::wstring text = Utf8ToWide(Text());
  const std::wstring search = Utf8ToWide(search_);
  const auto [start, end] = EditSelection();
  const bool prefix = search.size() <= text.size() &&
                      LowerCase(WideToUtf8(text.substr(0, search.size()))) == LowerCase(search_);
  const bool whole = search.size() == text.size();
  const bool completion = start == static_cast<int>(search.size()) && end == static_cast<int>(text.size());
  if (!prefix || !(whole || completion)) search_ = WideToUtf8(text);
}

void TKxCustomComboBox::DeselectKeepingText() {
  // Dropping the list selection clears the platform's edit; the typed text stays.
  if (ItemIndex() < 0) return;
  const std::string text = Text();
  const auto [start, end] = EditSelection();
  SetItemIndex(-1);
  AssignTextQuietly(text);
  SetEditSelection(start, end);
}

void TKxCustomComboBox::CompleteEditedText(TMessage& message) {
  // The text as edited becomes the search string; a completion the text-changed handler already
  // selected stays the completion.
  SyncSearchWithText();
  AutoCompleteKey(search_, message);
}

void TKxCustomComboBox::TextChanged() {
  if (!typing_ && autoComplete_ && Style() == csDropDown && HandleAllocated() && !DroppedDown() &&
      !ComponentState().Contains(csDesigning)) {
    if (enterPressed_) {
      enterPressed_ = false;
    } else {
      search_ = Text();
      const int index = search_.empty() ? -1 : FindItemPrefix(search_);
      if (index >= 0) {
        SetItemIndex(index);
        SetEditSelection(static_cast<int>(Utf8ToWide(search_).size()),
                         static_cast<int>(Utf8ToWide(Items()->Get(index)).size()));
      }
    }
  }
  typing_ = false;
}

bool TKxCustomComboBox::EditKeyDown(TMessage& message) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (message.WParam) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
      if (readOnly_) return true;
      typing_ = true;
      search_.clear();
      return false;
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_RIGHT: search_ = Text(); return false;
    case VK_INSERT:
      if (!allowEdit_) return true;
      if (shift) editCommandPending_ = true;  // Shift+Insert pastes
      return false;
    case VK_DELETE: {
      search_ = Text();
      std::wstring text = Utf8ToWide(search_);
      auto [start, end] = EditSelection();
      const bool whole = start == 0 && end >= static_cast<int>(text.size()) && !text.empty();
      if ((!allowEdit_ && !whole) || readOnly_) return true;
      start = std::min(start, static_cast<int>(text.size()));
      end = std::clamp(end, start, static_cast<int>(text.size()));
      if (start == end && start < static_cast<int>(text.size())) {
        end = start + (IS_HIGH_SURROGATE(text[start]) && start + 1 < static_cast<int>(text.size()) ? 2 : 1);
      }
      text.erase(start, end - start);
      search_ = WideToUtf8(text);
      if (shift) editCommandPending_ = true;  // Shift+Delete cuts
      return false;
    }
    case VK_F4: return readOnly_;
    default: return false;
  }
}

bool TKxCustomComboBox::EditBackspace(TMessage& message) {
  SyncSearchWithText();
  std::wstring search = Utf8ToWide(search_);
  if (search.empty()) {
    SignalInvalidKey();
    return false;
  }
  const auto [start, end] = EditSelection();
  const int length = static_cast<int>(search.size());
  bool edited = true;
  if (start >= length) {
    // The caret ends the typed part: step back over its last character (a surrogate pair whole).
    search.pop_back();
    if (!search.empty() && IS_HIGH_SURROGATE(search.back())) search.pop_back();
  } else if (start != end && allowEdit_) {
    search.erase(start, std::min(end, length) - start);
    DeselectKeepingText();
  } else if (allowEdit_ && start > 0) {
    const int from = start >= 2 && IS_LOW_SURROGATE(search[start - 1]) && IS_HIGH_SURROGATE(search[start - 2])
                         ? start - 2 : start - 1;
    search.erase(from, start - from);
  } else {
    edited = false;
  }
  search_ = WideToUtf8(search);
  Change();
  if (search_.empty()) {
    SetItemIndex(-1);
    if (keepSearchCase_) AssignTextQuietly("");
    search_.clear();
    Click();
    Change();
    wchar_t key = VK_BACK;
    KeyPress(key);
  }
  if (AutoCompleteKey(search_, message)) return true;
  // Without AllowEdit only the typed part may shrink.
  return !allowEdit_ && !edited;
}

bool TKxCustomComboBox::EditPrintable(TMessage& message) {
  wchar_t key = static_cast<wchar_t>(message.WParam);
  KeyPress(key);
  if (key == 0) return true;
  SyncSearchWithText();
  const std::string old = search_;
  std::wstring search = Utf8ToWide(search_);
  auto [start, end] = EditSelection();
  const int length = static_cast<int>(search.size());
  start = std::min(start, length);
  end = std::clamp(end, start, length);
  search.erase(start, end - start);
  const std::wstring kept = search;
  std::wstring typed(1, key);
  MSG trail{};
  if (IS_HIGH_SURROGATE(key) && PeekMessageW(&trail, EditHandle(), WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
      IS_LOW_SURROGATE(static_cast<wchar_t>(trail.wParam))) {
    typed += static_cast<wchar_t>(trail.wParam);
  }
  search.insert(start, typed);
  message.WParam = key;
  if (AutoCompleteKey(WideToUtf8(search), message)) {
    search_ = WideToUtf8(search);
    if (typed.size() > 1) PeekMessageW(&trail, EditHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    return true;
  }
  if (allowEdit_) {
    // No item begins so: the text loses its completion and the platform types the key at the caret.
    search_ = WideToUtf8(kept);
    AssignTextQuietly(search_);
    SetEditSelection(start, start);
    DefaultEditHandler(message);
    return true;
  }
  SignalInvalidKey();
  search_ = old;
  return true;
}

bool TKxCustomComboBox::EditChar(TMessage& message) {
  if (sysKeyDown_) {
    sysKeyDown_ = false;
    return true;
  }
  const wchar_t ch = static_cast<wchar_t>(message.WParam);
  if (readOnly_) {
    if (tabOnEnter_ && ch == VK_RETURN && !DroppedDown()) PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
    return ch != 3;  // Ctrl+C still copies
  }
  switch (ch) {
    case VK_BACK: return EditBackspace(message);
    case VK_RETURN:
      if (DroppedDown()) OnSelEndOk(this);
      enterPressed_ = true;
      return false;
    case 22:  // Ctrl+V
    case 24:  // Ctrl+X
      if (!allowEdit_) return true;
      editCommandPending_ = true;
      return false;
    case VK_ESCAPE:
      search_.clear();
      return !DroppedDown();
    default: return ch >= 32 && EditPrintable(message);
  }
}

void TKxCustomComboBox::EditWndProc(TMessage& message) {
  if (!autoComplete_) {
    TCustomComboBox::EditWndProc(message);
    return;
  }
  switch (message.Msg) {
    case WM_KEYDOWN:
      if (EditKeyDown(message)) return;
      break;
    case WM_SYSKEYDOWN: sysKeyDown_ = true; break;
    case WM_CHAR:
      if (EditChar(message)) return;
      break;
    case WM_LBUTTONDOWN:
      TCustomComboBox::EditWndProc(message);
      if (Style() == csDropDown) search_ = Text();
      return;
    case WM_CUT:
    case WM_PASTE:
      if (!allowEdit_ || readOnly_) return;
      // The completion follows the edit, so a cut takes exactly what the user selected.
      TCustomComboBox::EditWndProc(message);
      editCommandPending_ = false;
      CompleteEditedText(message);
      return;
    default: break;
  }
  TCustomComboBox::EditWndProc(message);
  if (editCommandPending_ && (message.Msg == WM_KEYDOWN || message.Msg == WM_CHAR)) {
    editCommandPending_ = false;
    CompleteEditedText(message);
  }
}

// ---- Painting ---------------------------------------------------------------------------------

void TKxCustomComboBox::PaintFrameAndButton(HDC dc) {
  if (!HandleAllocated()) return;
  const bool themed = KxVisualStylesActive();
  const bool vista = IsWindowsVersionAtLeast(7) && themed;
  const bool customFrame = frameVisible_ && !UsesThemedFrame() && !vista;
  const int b = themed ? 1 : 2;
  const int w = Width();
  const int h = Height();
  const int sb = ButtonWidth();
  const bool rightToLeft = UseRightToLeftAlignment();
  const TRect button = rightToLeft ? TRect{b, b, b + sb, h - b} : TRect{w - sb - b, b, w - b, h - b};
  TCanvas& canvas = *frameCanvas_;
  canvas.Lock();
  if (dc != nullptr) canvas.SetHandle(dc);
  const TRect client{0, 0, w, h};
  // The edit area: the client rectangle up to the button.
  const TRect editArea = rightToLeft ? TRect{button.Right, client.Top, client.Right, client.Bottom}
                                     : TRect{client.Left, client.Top, button.Left, client.Bottom};
  canvas.Brush()->SetStyle(bsSolid);
  auto band = [&](const TRect& r, TColor color) {
    canvas.Brush()->SetColor(color);
    canvas.FrameRect(r);
    canvas.FrameRect(Shrunk(r, 1));
  };
  if (!customFrame) {
    if (themed && !(Style() == csDropDownList && vista && readOnly_) && KxColorToRGB(Color()) != 0xFFFFFF) {
      band(Shrunk(editArea, 1), Color());
    }
  } else if (themed) {
    canvas.Brush()->SetColor(Color());
    canvas.FrameRect(client);
    band(Shrunk(editArea, 1), Color());
  } else {
    band(client, Color());
  }
  // Windows XP (and Vista for an editable box) leave a 2-pixel strip of their own colour beside
  // the themed button.
  if (themed && Style() != csSimple && (IsWindowsVersion(5) || (Style() == csDropDown && IsWindowsVersion(7)))) {
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(rightToLeft ? TRect{button.Right, button.Top, button.Right + 2, button.Bottom}
                                : TRect{button.Left - 2, button.Top, button.Left, button.Bottom});
  }
  const bool hot = inControl_ || overControl_;
  if (!flatButtons_ || vista || readOnly_) {
    if (readOnly_ && Style() != csDropDownList) {
      canvas.Brush()->SetColor(Color());
      canvas.FillRect(button);
    }
  } else if (!hot && !DroppedDown()) {
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(button);
    PaintDropDownArrow(canvas, button, themed ? 1 : 0, Enabled());
  } else if (themed) {
    TThemeServices& themes = *ThemeServices();
    themes.DrawElement(canvas.Handle(),
                       themes.GetElementDetails(teComboBox, CP_DROPDOWNBUTTON, DroppedDown() ? CBXS_PRESSED : CBXS_HOT),
                       button);
  } else {
    TRect inside = button;
    if (flatButtonColor_ == clBtnFace) {
      inside = DroppedDown() ? PaintFrameBevel(canvas, button, clBtnShadow, clBtnHighlight, 1, kAllSides)
                             : PaintFrameBevel(canvas, button, clBtnHighlight, clBtnShadow, 1, kAllSides);
    } else {
      inside = PaintColorFrameStyleAround(canvas, button, flatButtonColor_, DroppedDown() ? fsStatus : fsPopup);
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(flatButtonColor_);
    canvas.FillRect(inside);
    PaintDropDownArrow(canvas, inside, 0, Enabled());
  }
  if (frameVisible_ && !UsesThemedFrame()) {
    const bool hotFrame = frameHotTrack_ && hot;
    const TFrameStyle style = hotFrame ? frameHotStyle_ : frameStyle_;
    const TColor color = hotFrame ? frameHotColor_ : frameColor_;
    if (style == fsFlat) {
      PaintFrameBevel(canvas, client, color, color, 1, frameSides_);
    } else if (style == fsFlatBold) {
      PaintFrameBevel(canvas, client, color, color, 2, frameSides_);
    } else if (Color() == clWindow) {
      PaintFrameStyle(canvas, client, style, frameSides_);
    } else {
      PaintColorFrameStyle(canvas, client, Color(), frameSides_, style);
    }
  }
  if (dc != nullptr) canvas.SetHandle(nullptr);
  canvas.Unlock();
  frameCanvas_->FreeHandle();
}

// ---- TKxComboBox ------------------------------------------------------------------------------

TKxComboBox::TKxComboBox(TComponent* owner) : TKxCustomComboBox(owner), values_(new TStringList()) {
  values_->OnChange = [this](TObject* sender) { ValuesChanged(sender); };
}

TKxComboBox::~TKxComboBox() { delete values_; }

void TKxComboBox::SetValues(TStringList* value) { values_->Assign(value); }

std::string TKxComboBox::ValueOfIndex(int index) {
  if (index >= 0 && index < values_->Count() && !values_->Get(index).empty()) return values_->Get(index);
  if (index >= 0 && index < Items()->Count()) return Items()->Get(index);
  return {};
}

std::string TKxComboBox::ReadValue() {
  const std::string text = Text();
  int index = -1;
  if (Style() > csSimple) {
    index = ItemIndex();
  } else if (!text.empty()) {
    index = Items()->IndexOf(text);
  }
  if (index >= 0 && index < values_->Count() && !values_->Get(index).empty()) return values_->Get(index);
  return index >= 0 && Style() > csSimple ? Items()->Get(index) : text;
}

void TKxComboBox::WriteValue(const std::string& value) {
  if (value == value_ && !forcedSet_) return;
  settingValue_ = true;
  int found = -1;
  for (int i = 0; i < Items()->Count(); ++i) {
    if (ValueOfIndex(i) == value) {
      found = i;
      break;
    }
  }
  SetItemIndex(found);
  value_ = value;
  settingValue_ = false;
}

void TKxComboBox::ValuesChanged(TObject*) {
  forcedSet_ = true;
  WriteValue(ReadValue());
  forcedSet_ = false;
}

void TKxComboBox::AfterSelection() {
  if (settingValue_ || forcedSet_) return;
  const int index = ItemIndex();
  if (index >= 0) WriteValue(ValueOfIndex(index));
}

void TKxComboBox::WndProc(TMessage& message) {
  TKxCustomComboBox::WndProc(message);
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == CBN_SELCHANGE) AfterSelection();
}

// ---- Image combo items ------------------------------------------------------------------------

TKxImageComboBoxItem* ImageComboItemAt(TCustomComboBox* combo, int index) {
  TObject* object = combo->Items()->Objects(index);
  auto* item = dynamic_cast<TKxImageComboBoxItem*>(object);
  if (item == nullptr) throw EInvalidCast("Invalid class typecast");
  return item;
}
