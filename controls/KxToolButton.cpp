// TKxToolButton and its action link: press, drag and release with grouping, the drop-down
// part and its menu (placed inside the work area), hot state, images per state, caption
// placement, the classic, themed and gradient faces, and the tool-bar settings messages.
#include "controls/KxToolButton.h"

#include <vssym32.h>

#include <algorithm>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxCommonText.h"
#include "controls/KxGraphics.h"
#include "controls/KxOldPropReader.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/graphics/GraphicsUtils.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Menus.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Themes.h"

namespace {

std::function<DWORD()>& TickQuery() {
  static std::function<DWORD()> query;
  return query;
}

DWORD Tick() { return TickQuery() ? TickQuery()() : GetTickCount(); }

bool StateLoading(const TComponent& c) { return c.ComponentState().Contains(csLoading); }
bool StateReading(const TComponent& c) { return c.ComponentState().Contains(csReading); }

TRect Inflated(TRect r, int d) { return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d}; }

}  // namespace

void SetKxToolButtonTickQuery(std::function<DWORD()> query) { TickQuery() = std::move(query); }

const TEnumInfo& EnumTypeInfo(TKxToolStyle) {
  static const TEnumInfo info("TKxToolStyle", {"tsButton", "tsDropDown"});
  return info;
}

// ---- Action link ------------------------------------------------------------------------------

TKxToolButtonActionLink::TKxToolButtonActionLink(TKxToolButton* client) : TActionLink(client), button_(client) {
  OnChange = [this](TAction* action) { button_->ActionChanged(action); };
}

bool TKxToolButtonActionLink::IsCheckedLinked() const {
  return Action() != nullptr && Action()->Checked() == button_->Down();
}

bool TKxToolButtonActionLink::IsImageIndexLinked() const {
  return Action() != nullptr && Action()->ImageIndex() == button_->ImageIndex();
}

// ---- Class information ------------------------------------------------------------------------

const TClassInfo& TKxToolButton::StaticClass() {
  using C = TKxToolButton;
  static const TClassInfo info =
      TClassBuilder<C>("TKxToolButton", &TGraphicControl::StaticClass())
          .Property("Caption", [](C& c) { return c.Caption(); }, [](C& c, const std::string& v) { c.SetCaption(v); })
          .Property("Color", &C::Color, &C::SetColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Action", &C::Action, &C::SetAction)
          .Property("Alignment", &C::Alignment, &C::SetAlignment)
          .Default(taCenter)
          .Property("AllowAllUp", &C::AllowAllUp, &C::SetAllowAllUp)
          .Default(false)
          .Property("Down", &C::Down, &C::SetDown)
          .Default(false)
          .Stored([](C& c) { return !(c.actionLink_ && c.actionLink_->IsCheckedLinked()); })
          .Property("DropDownMenu", &C::DropDownMenu, &C::SetDropDownMenu)
          .Property("Flat", &C::Flat, &C::SetFlat)
          .Default(true)
          .Property("GradientColorStyle", &C::GradientColorStyle, &C::SetGradientColorStyle)
          .Default(gcsSystem)
          .Stored([](C& c) { return !c.UseToolbarVisualStyle(); })
          .Property("GroupIndex", &C::GroupIndex, &C::SetGroupIndex)
          .Default(0)
          .Property("Images", &C::Images, &C::SetImages)
          .Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex)
          .Default(-1)
          .Stored([](C& c) { return !(c.actionLink_ && c.actionLink_->IsImageIndexLinked()); })
          .Property("DownIndex", &C::DownIndex, &C::SetDownIndex)
          .Default(-1)
          .Property("DisabledIndex", &C::DisabledIndex, &C::SetDisabledIndex)
          .Default(-1)
          .Property("HotIndex", &C::HotIndex, &C::SetHotIndex)
          .Default(-1)
          .Property("Layout", &C::Layout, &C::SetLayout)
          .Default(blGlyphLeft)
          .Property("SelectionColorStart", &C::SelectionColorStart, &C::SetSelectionColorStart)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("SelectionColorStop", &C::SelectionColorStop, &C::SetSelectionColorStop)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("SelectionFrameColor", &C::SelectionFrameColor, &C::SetSelectionFrameColor)
          .Default(cl3DDkShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ShowCaption", &C::ShowCaption, &C::SetShowCaption)
          .Default(false)
          .Stored([](C& c) { return !c.UseToolbarShowCaption(); })
          .Property("ToolStyle", &C::ToolStyle, &C::SetToolStyle)
          .Default(tsButton)
          .Property("Transparent", &C::Transparent, &C::SetTransparent)
          .Default(true)
          .Property("UseToolbarButtonLayout", &C::UseToolbarButtonLayout, &C::SetUseToolbarButtonLayout)
          .Default(true)
          .Property("UseToolbarButtonSize", &C::UseToolbarButtonSize, &C::SetUseToolbarButtonSize)
          .Default(true)
          .Property("UseToolbarShowCaption", &C::UseToolbarShowCaption, &C::SetUseToolbarShowCaption)
          .Default(true)
          .Property("UseToolbarVisualStyle", &C::UseToolbarVisualStyle, &C::SetUseToolbarVisualStyle)
          .Default(true)
          .Property("VisualStyle", &C::VisualStyle, &C::SetVisualStyle)
          .Default(vsWinXP)
          .Stored([](C& c) { return !c.UseToolbarVisualStyle(); })
          .Property("OnDropDown", [](C& c) { return c.OnDropDown; }, [](C& c, TNotifyEvent e) { c.OnDropDown = e; })
          .Build();
  return info;
}

// ---- Construction -----------------------------------------------------------------------------

TKxToolButton::TKxToolButton(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle({csCaptureMouse});
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 25, 25);
  useToolbarButtonSize_ = true;  // the initial size is no choice of the user's
  imageChangeLink_.OnChange = [this](TObject* sender) { ImagesChanged(sender); };
}

TKxToolButton::~TKxToolButton() {
  if (images_ != nullptr) images_->UnRegisterChanges(&imageChangeLink_);
}

bool TKxToolButton::DrawsFlat() const { return visualStyle_ != vsClassic || flat_; }

bool TKxToolButton::HasClickAction() const {
  return static_cast<bool>(OnClick) || (actionLink_ && actionLink_->Action() != nullptr);
}

TCustomImageList* TKxToolButton::ImageList() const {
  // No tool bar of the control set exists here to lend its images.
  return images_;
}

TSize TKxToolButton::GetImageSize() {
  TCustomImageList* list = ImageList();
  if (list != nullptr && imageIndex_ != -1) return {list->Width(), list->Height()};
  return {0, 0};
}

// ---- Tool-bar settings ------------------------------------------------------------------------

void TKxToolButton::AdoptToolbarSettings() {
  if (Parent() == nullptr) return;
  for (UINT msg : {CM_KXTOOLBARSHOWCAPTION, CM_KXTOOLBARBUTTONLAYOUT, CM_KXTOOLBARBUTTONSIZE, CM_KXTOOLBARVISUALSTYLE}) {
    Perform(msg);
  }
}

void TKxToolButton::SetUseToolbarButtonLayout(bool value) {
  if (value == useToolbarButtonLayout_) return;
  useToolbarButtonLayout_ = value;
  if (Parent() != nullptr && !StateReading(*this)) Perform(CM_KXTOOLBARBUTTONLAYOUT);
}

void TKxToolButton::SetUseToolbarButtonSize(bool value) {
  if (value == useToolbarButtonSize_) return;
  useToolbarButtonSize_ = value;
  if (Parent() != nullptr && !StateReading(*this)) Perform(CM_KXTOOLBARBUTTONSIZE);
}

void TKxToolButton::SetUseToolbarShowCaption(bool value) {
  if (value == useToolbarShowCaption_) return;
  useToolbarShowCaption_ = value;
  if (Parent() != nullptr && !StateReading(*this)) Perform(CM_KXTOOLBARSHOWCAPTION);
}

void TKxToolButton::SetUseToolbarVisualStyle(bool value) {
  if (value == useToolbarVisualStyle_) return;
  useToolbarVisualStyle_ = value;
  if (Parent() != nullptr && !StateReading(*this)) Perform(CM_KXTOOLBARVISUALSTYLE);
}

// ---- Setters ----------------------------------------------------------------------------------

void TKxToolButton::SetBounds(int left, int top, int width, int height) {
  const bool resized = width != Width() || height != Height();
  TGraphicControl::SetBounds(left, top, width, height);
  if (resized && !StateLoading(*this)) useToolbarButtonSize_ = false;
}

void TKxToolButton::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TKxToolButton::BroadcastGroup() {
  if (Parent() == nullptr) return;
  TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(message);
}

void TKxToolButton::SetAllowAllUp(bool value) {
  if (value == allowAllUp_) return;
  allowAllUp_ = value;
  BroadcastGroup();
}

void TKxToolButton::SetGroupIndex(int value) {
  if (toolStyle_ == tsDropDown) value = 0;
  if (value == groupIndex_) return;
  groupIndex_ = value;
  BroadcastGroup();
}

void TKxToolButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_) return;
  down_ = value;
  if (value) {
    if (state_ == bsUp) Invalidate();
    state_ = bsExclusive;
    BroadcastGroup();
  } else {
    state_ = bsUp;
    Repaint();
  }
  if (actionLink_ && actionLink_->Action() != nullptr) actionLink_->Action()->SetChecked(down_);
}

void TKxToolButton::ButtonPressed(int group, TControl* sender) {
  if (group != groupIndex_ || sender == this) return;
  auto* other = dynamic_cast<TKxToolButton*>(sender);
  if (other == nullptr) return;
  if (other->Down() && down_) {
    down_ = false;
    state_ = bsUp;
    Invalidate();
  }
  allowAllUp_ = other->AllowAllUp();
}

void TKxToolButton::SetDropDownMenu(TPopupMenu* value) {
  if (value == dropDownMenu_) return;
  dropDownMenu_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void TKxToolButton::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  Invalidate();
}

void TKxToolButton::SetImages(TCustomImageList* value) {
  if (images_ != nullptr) images_->UnRegisterChanges(&imageChangeLink_);
  images_ = value;
  if (images_ != nullptr) {
    images_->RegisterChanges(&imageChangeLink_);
    images_->FreeNotification(this);
    GrowToImages();
  }
  Invalidate();
}

void TKxToolButton::GrowToImages() {
  if (images_ == nullptr) return;
  const int width = std::max(Width(), images_->Width());
  const int height = std::max(Height(), images_->Height());
  if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
}

void TKxToolButton::ImagesChanged(TObject*) {
  GrowToImages();
  Invalidate();
}

void TKxToolButton::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetDownIndex(int value) {
  if (value == downIndex_) return;
  downIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetDisabledIndex(int value) {
  if (value == disabledIndex_) return;
  disabledIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetHotIndex(int value) {
  if (value == hotIndex_) return;
  hotIndex_ = value;
  Invalidate();
}

void TKxToolButton::SetLayout(TButtonLayout value) {
  if (!StateReading(*this)) useToolbarButtonLayout_ = false;
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TKxToolButton::SetShowCaption(bool value) {
  useToolbarShowCaption_ = false;
  if (value == showCaption_) return;
  showCaption_ = value;
  Invalidate();
}

void TKxToolButton::SetToolStyle(TKxToolStyle value) {
  if (value == toolStyle_) return;
  toolStyle_ = value;
  groupIndex_ = 0;
  if (!StateLoading(*this)) {
    // Back to a plain button never makes the width negative.
    const int width = value == tsDropDown ? Width() + kKxDropDownPartWidth : std::max(0, Width() - kKxDropDownPartWidth);
    SetBounds(Left(), Top(), width, Height());
  }
  Invalidate();
}

void TKxToolButton::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TKxToolButton::SetVisualStyle(TKxVisualStyle value) {
  useToolbarVisualStyle_ = false;
  if (value == visualStyle_) return;
  visualStyle_ = value;
  Invalidate();
}

void TKxToolButton::SetGradientColorStyle(TKxGradientColorStyle value) {
  if (value == gradientColorStyle_) return;
  gradientColorStyle_ = value;
  Invalidate();
}

void TKxToolButton::SetSelectionColorStart(TColor value) {
  if (value == selectionColorStart_) return;
  selectionColorStart_ = value;
  Invalidate();
}

void TKxToolButton::SetSelectionColorStop(TColor value) {
  if (value == selectionColorStop_) return;
  selectionColorStop_ = value;
  Invalidate();
}

void TKxToolButton::SetSelectionFrameColor(TColor value) {
  if (value == selectionFrameColor_) return;
  selectionFrameColor_ = value;
  Invalidate();
}

TAction* TKxToolButton::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TKxToolButton::SetAction(TAction* value) {
  if (value == nullptr) {
    actionLink_.reset();
    return;
  }
  if (!actionLink_) actionLink_ = std::make_unique<TKxToolButtonActionLink>(this);
  value->FreeNotification(this);
  actionLink_->SetAction(value);
}

void TKxToolButton::AssignTo(TPersistent* dest) {
  if (auto* action = dynamic_cast<TAction*>(dest)) {
    action->SetChecked(down_);
    action->SetImageIndex(imageIndex_);
    return;
  }
  TGraphicControl::AssignTo(dest);
}

void TKxToolButton::ActionChanged(TAction* action) {
  if (action == nullptr) return;
  SetCaption(action->Caption());
  SetHint(action->Hint());
  SetEnabled(action->Enabled());
  SetVisible(action->Visible());
  if (action->Checked() != down_) {
    const bool saved = allowAllUp_;
    allowAllUp_ = true;
    SetDown(action->Checked());
    allowAllUp_ = saved;
  }
  SetImageIndex(action->ImageIndex());
}

void TKxToolButton::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) {
    images_->UnRegisterChanges(&imageChangeLink_);
    images_ = nullptr;
    Invalidate();
  }
  if (component == dropDownMenu_) dropDownMenu_ = nullptr;
  if (actionLink_ && component == actionLink_->Action()) actionLink_.reset();
}

void TKxToolButton::DefineProperties(TFiler& filer) {
  TGraphicControl::DefineProperties(filer);
  filer.DefineProperty("GradientColorDefault", &TKxOldPropReader::SkipBooleanValue, {}, false);
  filer.DefineProperty("ThemeAware", &TKxOldPropReader::SkipBooleanValue, {}, false);
  auto color = [](TReader& reader) {
    if (reader.NextValue() == vaIdent) {
      TColor value = clBlack;
      IdentToColor(reader.ReadIdent(), value);
      return value;
    }
    return static_cast<TColor>(reader.ReadInteger());
  };
  filer.DefineProperty("GradientColorStart", [this, color](TReader& r) { SetSelectionColorStart(color(r)); }, {}, false);
  filer.DefineProperty("GradientColorStop", [this, color](TReader& r) { SetSelectionColorStop(color(r)); }, {}, false);
  filer.DefineProperty("FrameColor", [this, color](TReader& r) { SetSelectionFrameColor(color(r)); }, {}, false);
  filer.DefineProperty("UseGradients", [this](TReader& r) {
    if (r.ReadBoolean()) SetVisualStyle(vsGradient);
  }, {}, false);
}

void TKxToolButton::Loaded() {
  TGraphicControl::Loaded();
  AdoptToolbarSettings();
}

// ---- Mouse ------------------------------------------------------------------------------------

void TKxToolButton::Click() {
  if (toolStyle_ == tsDropDown && !treatAsNormal_) return;
  if (OnClick) {
    OnClick(this);
  } else if (actionLink_) {
    actionLink_->Execute();
  }
}

void TKxToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  const bool leftAlone = button == mbLeft && !shift.Contains(ssShift) && !shift.Contains(ssCtrl) &&
                         !shift.Contains(ssAlt) && !shift.Contains(ssRight) && !shift.Contains(ssMiddle);
  if (toolStyle_ == tsDropDown && dropDownMenu_ != nullptr && leftAlone &&
      (OnDropDownPart(x) || !HasClickAction())) {
    if (menuClosedValid_ && Tick() - menuClosedAt_ < 100) {
      // The click that closed the menu: it must not open it again.
      menuClosedValid_ = false;
      treatAsNormal_ = true;
      SetMouseCapture(false);
    } else {
      state_ = bsDropDownPressed;
      Repaint();
      ShowDropDownMenu();
      treatAsNormal_ = false;
      menuClosedAt_ = Tick();
      menuClosedValid_ = true;
      // The menu took the release of this press: the capture ends here.
      SetMouseCapture(false);
    }
    ReleaseMouse(button, x, y);
    return;
  }
  if (toolStyle_ == tsDropDown) {
    if (!treatAsNormal_) {
      treatAsNormal_ = true;
      return;
    }
    if (button == mbLeft && Enabled() && !down_) {
      state_ = bsDown;
      Invalidate();
    }
  } else if (button == mbLeft && Enabled() && (!down_ || state_ == bsExclusive)) {
    state_ = bsDown;
    Invalidate();
  }
  if (button == mbLeft && Enabled()) dragging_ = true;
}

void TKxToolButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (dragging_) {
    const bool inside = ClientRect().Contains({x, y});
    const int next = inside ? (down_ ? bsExclusive : bsDown) : (down_ ? bsExclusive : bsUp);
    if (next != state_) {
      state_ = next;
      Invalidate();
    }
  } else if (!mouseInControl_) {
    SyncHotState();
  }
}

void TKxToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  ReleaseMouse(button, x, y);
}

void TKxToolButton::ReleaseMouse(TMouseButton, int x, int y) {
  const bool inside = ClientRect().Contains({x, y});
  if (dragging_) {
    dragging_ = false;
    bool clicked = false;
    if (groupIndex_ == 0) {
      state_ = bsUp;
      mouseInControl_ = false;
      if (inside) {
        Repaint();
        clicked = true;
      }
    } else if (inside) {
      const bool before = down_;
      SetDown(!down_);
      if (down_) state_ = bsExclusive;
      clicked = down_ != before;
    } else {
      state_ = down_ ? bsExclusive : bsUp;
      Repaint();
    }
    if (clicked) Click();
    SyncHotState();
  }
  if (toolStyle_ == tsDropDown) {
    if (!inside) treatAsNormal_ = true;
    state_ = bsUp;
    Repaint();
  }
}

void TKxToolButton::SyncHotState() {
  if (!DrawsFlat() || !Enabled() || Parent() == nullptr || !Parent()->HandleAllocated()) return;
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  const TPoint at = Parent()->ScreenToClient({cursor.x, cursor.y});
  const bool over = Parent()->ControlAtPos(at, false, true) == this;
  Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TKxToolButton::MouseEnter() {
  if (ComponentState().Contains(csDesigning)) return;
  mouseInControl_ = true;
  OnMouseEnter(this);
  if (DrawsFlat()) Invalidate();
}

void TKxToolButton::MouseLeave() {
  if (!inDropDown_) mouseInControl_ = false;
  OnMouseLeave(this);
  if (DrawsFlat()) Invalidate();
}

// ---- Drop-down menu ---------------------------------------------------------------------------

int TKxToolButton::MeasureMenuWidth(TPopupMenu* menu) {
  if (menu == nullptr) return 0;
  const TWindowDC screen(nullptr);
  TCanvas canvas;
  canvas.SetHandle(screen.Get());
  if (Screen != nullptr) canvas.SetFont(Screen->MenuFont());
  int widest = 0;
  for (int i = 0; i < menu->Items()->Count(); ++i) {
    widest = std::max(widest, canvas.TextWidth(StripHotkey(menu->Items()->Items(i)->Caption())));
  }
  canvas.SetHandle(nullptr);
  return widest + 56;
}

bool TKxToolButton::OnDropDownPart(int x) const {
  return UseRightToLeftAlignment() ? x < kKxDropDownPartWidth + 1 : x >= Width() - kKxDropDownPartWidth;
}

TRect TKxToolButton::DropDownPartOf(const TRect& rect, int width) const {
  return UseRightToLeftAlignment() ? TRect{rect.Left, rect.Top, rect.Left + width, rect.Bottom}
                                   : TRect{rect.Right - width, rect.Top, rect.Right, rect.Bottom};
}

TRect TKxToolButton::WithoutDropDownPart(const TRect& rect) const {
  return UseRightToLeftAlignment()
             ? TRect{rect.Left + kKxDropDownPartWidth, rect.Top, rect.Right, rect.Bottom}
             : TRect{rect.Left, rect.Top, rect.Right - kKxDropDownPartWidth, rect.Bottom};
}

void TKxToolButton::ShowDropDownMenu() {
  // No menu: nothing to show (and nothing to measure).
  if (dropDownMenu_ == nullptr) return;
  TPopupMenu* menu = dropDownMenu_;
  inDropDown_ = true;
  try {
    OnDropDown(menu);
    // The menu hangs from the button's leading edge (its right edge right-to-left).
    const bool rightToLeft = UseRightToLeftAlignment();
    TPoint at{rightToLeft ? Width() : 0, Height()};
    if (menu->Alignment() == paRight) at.X = rightToLeft ? 0 : Width();
    if (menu->Alignment() == paCenter) at.X = Width() / 2;
    at = ClientToScreen(at);
    const int width = MeasureMenuWidth(menu);
    const HMONITOR monitor = FindMonitorAtPoint(at);
    if (menu->Alignment() == paLeft) {
      int right = 0;
      if (monitor != nullptr) {
        right = MonitorWorkArea(monitor).Right;
      } else if (Parent() != nullptr) {
        right = GetWindowWorkAreaWidth(Parent()->Handle());
      }
      if (at.X + width > right) at.X = right - width;
    } else if (menu->Alignment() == paRight) {
      const int left = monitor != nullptr ? MonitorWorkArea(monitor).Left : 0;
      if (at.X - width < left) at.X = left + width;
    }
    menu->SetPopupComponent(this);
    menu->Popup(at.X, at.Y);
  } catch (...) {
    inDropDown_ = false;
    throw;
  }
  inDropDown_ = false;
  if (groupIndex_ != 0 && !down_) Click();
}

// ---- Messages ---------------------------------------------------------------------------------

void TKxToolButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_BUTTONPRESSED:
      ButtonPressed(static_cast<int>(message.WParam), reinterpret_cast<TControl*>(message.LParam));
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<wchar_t>(message.WParam), Caption()) && Enabled() && Visible() && Parent() != nullptr &&
          Parent()->Showing()) {
        if (toolStyle_ == tsButton || HasClickAction()) {
          Click();
        } else {
          ShowDropDownMenu();
        }
        message.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
      TGraphicControl::WndProc(message);
      if (!StateLoading(*this)) AdoptToolbarSettings();
      Invalidate();
      return;
    case CM_KXTOOLBARSHOWCAPTION:
    case CM_KXTOOLBARBUTTONLAYOUT:
    case CM_KXTOOLBARBUTTONSIZE:
    case CM_KXTOOLBARVISUALSTYLE:
      // Only the control set's tool bar lends its settings, and none exists in this program:
      // the button keeps its own.
      message.Result = 0;
      return;
    case CM_ENABLEDCHANGED:
      TGraphicControl::WndProc(message);
      Invalidate();
      return;
    default: break;
  }
  TGraphicControl::WndProc(message);
}

// ---- Painting ---------------------------------------------------------------------------------

void TKxToolButton::PaintThemedFace(const TRect& rect) {
  TCanvas& canvas = *Canvas();
  const bool themed = KxVisualStylesActive();
  const bool designing = ComponentState().Contains(csDesigning);
  const bool hot = mouseInControl_;
  if (visualStyle_ == vsWinXP && themed) {
    TThemeServices& themes = *ThemeServices();
    if (DrawsFlat()) {
      const bool split = toolStyle_ == tsDropDown && HasClickAction();
      TRect r = rect;
      if (split) r = WithoutDropDownPart(r);
      int part = split ? TP_SPLITBUTTON : TP_BUTTON;
      int s = TS_NORMAL;
      if (state_ == bsDown || state_ == bsDropDownPressed) s = TS_PRESSED;
      else if (state_ == bsExclusive && hot) s = TS_HOTCHECKED;
      else if (state_ == bsExclusive) s = TS_CHECKED;
      else if ((hot && state_ != bsDisabled) || designing) s = TS_HOT;
      themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teToolBar, part, s), r);
    } else {
      int s = PBS_NORMAL;
      if (state_ == bsDisabled) s = PBS_DISABLED;
      else if (state_ == bsDown || state_ == bsExclusive) s = PBS_PRESSED;
      else if (hot) s = PBS_HOT;
      themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teButton, BP_PUSHBUTTON, s), rect);
    }
    return;
  }
  if (DrawsFlat()) {
    const bool show = state_ == bsDown || state_ == bsExclusive || state_ == bsDropDownPressed ||
                      (hot && Enabled()) || designing;
    if (!show) return;
    if (visualStyle_ == vsGradient) {
      TKxSelectionColors colors{selectionFrameColor_, selectionColorStart_, selectionColorStop_};
      if (gradientColorStyle_ != gcsCustom) colors = GetSchemeSelectionColors(gradientColorStyle_);
      if (designing) {
        PaintBoxCorners(canvas, Inflated(rect, -1), colors.FrameColor, 4);
        return;
      }
      const TRect inside = PaintBoxLines(canvas, rect, colors.FrameColor);
      TColor top = colors.StartColor;
      TColor bottom = colors.StopColor;
      if (state_ == bsDown || state_ == bsDropDownPressed) {
        std::swap(top, bottom);
      } else if (state_ == bsExclusive && hot) {
        if (down_) std::swap(top, bottom);
      } else if (state_ == bsExclusive) {
        top = DarkenColor(colors.StopColor, 40);
        bottom = colors.StartColor;
      }
      DrawGradientArea(canvas, inside, KxCommon::gdHorizontalEnd, top, bottom, 1);
    } else {
      PaintFrameStyleAround(canvas, rect, state_ == bsDown || state_ == bsExclusive ? fsStatus : fsPopup);
    }
    return;
  }
  PaintFrameStyleAround(canvas, rect, state_ == bsDown || state_ == bsExclusive ? fsLowered : fsButtonUp);
}

void TKxToolButton::PaintDropDownPart() {
  TCanvas& canvas = *Canvas();
  const TRect client = ClientRect();
  const bool rightToLeft = UseRightToLeftAlignment();
  int x0 = rightToLeft ? kKxDropDownPartWidth : Width() - kKxDropDownPartWidth;
  const bool themed = KxVisualStylesActive();
  const bool clickAction = HasClickAction();
  TKxSelectionColors colors{selectionFrameColor_, selectionColorStart_, selectionColorStop_};
  if (gradientColorStyle_ != gcsCustom) colors = GetSchemeSelectionColors(gradientColorStyle_);
  if (visualStyle_ == vsWinXP && themed && clickAction) {
    int s = TS_NORMAL;
    if (state_ == bsDisabled) s = TS_DISABLED;
    else if (state_ == bsDown || state_ == bsDropDownPressed) s = TS_PRESSED;
    else if (mouseInControl_) s = TS_HOT;
    TThemeServices& themes = *ThemeServices();
    themes.DrawElement(canvas.Handle(), themes.GetElementDetails(teToolBar, TP_SPLITBUTTONDROPDOWN, s),
                       DropDownPartOf(client, kKxDropDownPartWidth));
    return;
  }
  if (state_ == bsDropDownPressed) {
    if (visualStyle_ == vsGradient) {
      TRect part = client;
      if (clickAction) part = DropDownPartOf(client, kKxDropDownPartWidth + 1);
      const TRect inside = PaintBoxLines(canvas, part, colors.FrameColor);
      DrawGradientArea(canvas, inside, KxCommon::gdHorizontalEnd, colors.StartColor, colors.StopColor, 1);
    } else {
      TRect part = client;
      if (clickAction) part = DropDownPartOf(client, kKxDropDownPartWidth);
      PaintFrameStyleAround(canvas, part, fsStatus);
    }
  } else if (((DrawsFlat() && mouseInControl_ && Enabled()) || (!DrawsFlat() && Enabled())) && clickAction) {
    if (state_ == bsDown && visualStyle_ != vsGradient) ++x0;
    canvas.Pen()->SetWidth(1);
    if (visualStyle_ == vsGradient) {
      canvas.Pen()->SetColor(colors.FrameColor);
      canvas.MoveTo(x0 - 1, client.Top);
      canvas.LineTo(x0 - 1, client.Bottom);
    } else {
      if (state_ != bsDown) {
        canvas.Pen()->SetColor(clBtnHighlight);
        canvas.MoveTo(x0, client.Top);
        canvas.LineTo(x0, client.Bottom);
      }
      canvas.Pen()->SetColor(clBtnShadow);
      canvas.MoveTo(x0 - 1, client.Top);
      canvas.LineTo(x0 - 1, client.Bottom);
    }
  }
  const TColor color = Enabled() ? clWindowText : clBtnShadow;
  const bool pressed = (state_ == bsDown || state_ == bsDropDownPressed) && visualStyle_ != vsGradient;
  const int x = (rightToLeft ? 6 : Width() - 8) + (pressed ? 1 : 0);
  const int y = client.Top + (client.Height() - 3) / 2 + 2 + (pressed ? 1 : 0);
  canvas.Pen()->SetColor(color);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(color);
  canvas.Polygon({{x, y}, {x - 2, y - 2}, {x + 2, y - 2}});
}

void TKxToolButton::ArrangeImageAndCaption(TRect& imageRect, TRect& captionRect) {
  TRect area = ClientRect();
  if (toolStyle_ == tsDropDown) area = WithoutDropDownPart(area);
  area = Inflated(area, -2);
  const TSize image = GetImageSize();
  const int w = image.cx;
  const int h = image.cy;
  const std::string caption = Caption();
  int d = 0;
  if (showCaption_ && !caption.empty()) {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    TRect measure = area;
    if (layout_ == blGlyphLeft || layout_ == blGlyphRight) measure.Right -= w; else measure.Bottom -= h;
    RECT r = measure;
    const std::wstring text = Utf8ToWide(caption);
    DrawTextW(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    const int t = r.right - r.left;
    const int u = r.bottom - r.top;
    int imageLeft = 0;
    int imageTop = 0;
    int captionLeft = 0;
    int captionTop = 0;
    switch (layout_) {
      case blGlyphLeft:
        imageTop = area.Top + (area.Height() - h) / 2;
        imageLeft = area.Left + (area.Width() - w - t - 4) / 2;
        captionLeft = imageLeft + w + 4;
        captionTop = area.Top + (area.Height() - u) / 2;
        break;
      case blGlyphRight:
        imageTop = area.Top + (area.Height() - h) / 2;
        imageLeft = area.Right - w - (area.Width() - w - t - 4) / 2;
        captionLeft = imageLeft - t - 4;
        captionTop = area.Top + (area.Height() - u) / 2;
        break;
      case blGlyphTop:
        imageTop = area.Top + (area.Height() - h - u - 4) / 2;
        captionTop = imageTop + h + 4;
        imageLeft = area.Left + (area.Width() - w) / 2;
        captionLeft = area.Left + (area.Width() - t) / 2;
        break;
      case blGlyphBottom:
        imageTop = area.Bottom - h - (area.Height() - h - u - 4) / 2;
        captionTop = imageTop - u - 4;
        imageLeft = area.Left + (area.Width() - w) / 2;
        captionLeft = area.Left + (area.Width() - t) / 2;
        break;
    }
    imageRect = {imageLeft, imageTop, imageLeft + w, imageTop + h};
    captionRect = {captionLeft, captionTop, captionLeft + t, captionTop + u};
    if (layout_ == blGlyphLeft) {
      d = imageLeft - (w > 0 ? 4 : 0);
    } else if (layout_ == blGlyphRight) {
      d = captionLeft - (w > 0 ? 4 : 0);
    } else {
      d = std::min(imageLeft, captionLeft) - 4;
    }
  } else {
    imageRect = RectCenteredIn(area, w, h);
    captionRect = {};
    d = imageRect.Left - 4;
  }
  auto shift = [](TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
  };
  if (alignment_ == taLeftJustify) {
    shift(imageRect, -d, 0);
    shift(captionRect, -d, 0);
  } else if (alignment_ == taRightJustify) {
    shift(imageRect, d, 0);
    shift(captionRect, d, 0);
  }
  const bool pressedLook = state_ == bsDown || state_ == bsExclusive || (state_ == bsDropDownPressed && !HasClickAction());
  if (pressedLook && visualStyle_ != vsGradient) {
    const int dy = visualStyle_ == vsWinXP && KxVisualStylesActive() ? 0 : 1;
    shift(imageRect, 1, dy);
    shift(captionRect, 1, dy);
  }
}

void TKxToolButton::PaintToolImage(const TRect& rect) {
  TCustomImageList* list = ImageList();
  if (list == nullptr || imageIndex_ == -1) return;
  TCanvas* canvas = Canvas();
  const bool pressedLook = state_ == bsDown || state_ == bsExclusive || (state_ == bsDropDownPressed && !HasClickAction());
  if (pressedLook && downIndex_ != -1) {
    list->Draw(canvas, rect.Left, rect.Top, downIndex_, true);
    return;
  }
  const bool hot = mouseInControl_;
  if (disabledIndex_ == -1) {
    const int index = hotIndex_ != -1 && hot && Enabled() ? hotIndex_ : imageIndex_;
    list->Draw(canvas, rect.Left, rect.Top, index, Enabled());
  } else if (Enabled()) {
    list->Draw(canvas, rect.Left, rect.Top, hotIndex_ != -1 && hot ? hotIndex_ : imageIndex_, true);
  } else {
    list->Draw(canvas, rect.Left, rect.Top, disabledIndex_, true);
  }
}

void TKxToolButton::PaintToolCaption(const TRect& rect) {
  if (!showCaption_) return;
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  canvas.Brush()->SetStyle(bsClear);
  if (!Enabled()) {
    canvas.Font()->SetColor(clBtnShadow);
  } else if (state_ == bsDown && visualStyle_ != vsGradient) {
    canvas.Font()->SetColor(clHighlightText);
  }
  RECT r = rect;
  const std::wstring text = Utf8ToWide(Caption());
  DrawTextW(canvas.Handle(), text.c_str(), static_cast<int>(text.size()), &r,
            DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EXPANDTABS | (UseRightToLeftReading() ? DT_RTLREADING : 0));
  canvas.Brush()->SetStyle(bsSolid);
}

void TKxToolButton::Paint() {
  if (!Enabled()) {
    state_ = bsDisabled;
    dragging_ = false;
  } else if (state_ == bsDisabled) {
    state_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
  }
  TCanvas& canvas = *Canvas();
  const TRect client = ClientRect();
  canvas.Brush()->SetStyle(bsSolid);
  if (!transparent_) {
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(client);
  }
  PaintThemedFace(client);
  const bool classicLook = visualStyle_ == vsClassic || !KxVisualStylesActive();
  if (visualStyle_ != vsGradient && classicLook && state_ == bsExclusive && !(DrawsFlat() && mouseInControl_)) {
    canvas.Brush()->SetBitmap(transparent_ ? AllocPatternBitmap(clBtnFace, clBtnHighlight)
                                           : AllocPatternBitmap(Color(), LightenColor(Color(), 20)));
    canvas.FillRect(Inflated(client, -1));
    canvas.Brush()->SetBitmap(nullptr);
  }
  if (toolStyle_ == tsDropDown) PaintDropDownPart();
  TRect imageRect;
  TRect captionRect;
  ArrangeImageAndCaption(imageRect, captionRect);
  PaintToolImage(imageRect);
  PaintToolCaption(captionRect);
}
