// TKxCustomTreeView: frame, state colours, item height, selection rectangle, node menus,
// wheel scrolling and the node tree as lines.
#include "shell/KxTreeVw.h"

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxFrameSettings.h"
#include "controls/KxOldPropReader.h"
#include "shell/KxShellUtils.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/MenuLinks.h"
#include "toolkit/ui/Menus.h"

const TClassInfo& TKxCustomTreeView::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKxCustomTreeView>("TKxCustomTreeView", &TCustomTreeView::StaticClass())
                                     .Build();
  return info;
}

TKxCustomTreeView::TKxCustomTreeView(TComponent* owner)
    : TCustomTreeView(owner), selectionPen_(new TPen), canvas_(new TControlCanvas) {
  selectionPen_->SetColor(clBtnShadow);
  selectionPen_->SetStyle(psSolid);
  selectionPen_->OnChange = [this](TObject*) {
    if (HandleAllocated()) Invalidate();
  };
  canvas_->SetControl(this);
  SetTabStop(true);
  SetParentColor(false);
  normalColor_ = Color();
}

TKxCustomTreeView::~TKxCustomTreeView() {
  if (frameController_) frameController_->UnregisterControl(this);
  delete canvas_;
  delete selectionPen_;
}

// ---- Frame and colours ----------------------------------------------------------------------

bool TKxCustomTreeView::UsesThemedFrame() const {
  return framingPreference_ == fpXPThemes && KxVisualStylesActive();
}

void TKxCustomTreeView::RepaintNonClientFrame() {
  if (HandleAllocated()) RedrawNonClientFrame(Handle(), TRect(0, 0, Width(), Height()));
}

void TKxCustomTreeView::RefreshStateColor() {
  if (ComponentState().Contains(csLoading)) return;
  updatingColor_ = true;
  try {
    if (!Enabled()) SetColor(disabledColor_);
    else if (focused_) SetColor(focusColor_);
    else SetColor(normalColor_);
  } catch (...) {
    updatingColor_ = false;
    throw;
  }
  updatingColor_ = false;
}

void TKxCustomTreeView::HotStateChanged(bool setOver, bool over) {
  if (setOver) mouseOver_ = over;
  if (frameHotTrack_) RepaintNonClientFrame();
  RefreshStateColor();
}

void TKxCustomTreeView::ColorChanged() {
  if (!updatingColor_) {
    if (focusColor_ == normalColor_) focusColor_ = Color();
    normalColor_ = Color();
  }
  if (frameVisible_ && !UsesThemedFrame()) RepaintNonClientFrame();
}

void TKxCustomTreeView::ChangeDisabledColor(TColor value) {
  disabledColor_ = value;
  if (!Enabled()) RefreshStateColor();
}

void TKxCustomTreeView::ChangeFocusColor(TColor value) {
  focusColor_ = value;
  if (focused_) RefreshStateColor();
}

void TKxCustomTreeView::SetFrameColor(TColor value) {
  if (ChangeFrameSetting(frameColor_, value)) RepaintNonClientFrame();
}

void TKxCustomTreeView::SetFrameController(TKxFrameController* value) {
  ChangeFrameController(this, frameController_, value);
}

void TKxCustomTreeView::SetFrameHotColor(TColor value) {
  if (ChangeFrameSetting(frameHotColor_, value)) RepaintNonClientFrame();
}

void TKxCustomTreeView::ChangeFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    ChangeFrameVisible(true);
    if (!ComponentState().Contains(csLoading)) frameSides_ = kAllSides;
  }
  RepaintNonClientFrame();
  if (HandleAllocated()) Invalidate();
}

void TKxCustomTreeView::SetFrameHotStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameHotStyle_, value)) RepaintNonClientFrame();
}

void TKxCustomTreeView::SetFrameSides(TSides value) {
  if (ChangeFrameSetting(frameSides_, value)) RepaintNonClientFrame();
}

void TKxCustomTreeView::SetFrameStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameStyle_, value)) RepaintNonClientFrame();
}

void TKxCustomTreeView::ChangeFrameVisible(bool value) {
  if (value == frameVisible_) return;
  frameVisible_ = value;
  if (HandleAllocated()) {
    recreating_ = true;
    try {
      RecreateWnd();
    } catch (...) {
      recreating_ = false;
      throw;
    }
    recreating_ = false;
  }
}

void TKxCustomTreeView::ChangeFramingPreference(TFramingPreference value) {
  if (value == framingPreference_) return;
  framingPreference_ = value;
  if (value == fpCustomFraming) RepaintNonClientFrame();
}

void TKxCustomTreeView::ChangeItemHeight(int value) {
  if (value == itemHeight_) return;
  itemHeight_ = value;
  UpdateItemHeight();
}

void TKxCustomTreeView::UpdateItemHeight() {
  if (!HandleAllocated()) return;
  if (itemHeight_ <= 0) itemHeight_ = 0;
  SendMessageW(Handle(), TVM_SETITEMHEIGHT, itemHeight_ == 0 ? static_cast<WPARAM>(-1) : itemHeight_, 0);
}

void TKxCustomTreeView::SetSelectionFramePen(TPen* pen) {
  selectionPen_->Assign(pen);
  if (HandleAllocated()) Invalidate();
}

void TKxCustomTreeView::SetAutoExpand(bool value) {
  TCustomTreeView::SetAutoExpand(value);
  if (AutoExpand()) selectOnExpand_ = false;
}

void TKxCustomTreeView::SetSelectModeFlag(bool value) {
  if (value == selectOnExpand_) return;
  selectOnExpand_ = value;
  if (value) SetAutoExpand(false);
}

bool TKxCustomTreeView::ControllerOwns(TKxFrameControllerProperty property) const {
  return frameController_ != nullptr && notifications_.Contains(property);
}

void TKxCustomTreeView::Notification(TComponent* component, TOperation operation) {
  TCustomTreeView::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxCustomTreeView::DefineProperties(TFiler& filer) {
  TCustomTreeView::DefineProperties(filer);
  // "FrameFlat" sets hot tracking directly, without the setter's side effects.
  DefineOldFrameProperties(filer, [this](bool flat) { frameHotTrack_ = flat; }, frameStyle_, frameHotStyle_);
}

// ---- Window ---------------------------------------------------------------------------------

void TKxCustomTreeView::CreateWnd() {
  TCustomTreeView::CreateWnd();
  // Old common controls show tool tips that cover the label editor.
  if (IsNtPlatform() && ShellVersions().ComCtl32.MostSignificant < 0x40048) {
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    SetWindowLongPtrW(Handle(), GWL_STYLE, style | TVS_NOTOOLTIPS);
  }
  UpdateItemHeight();
}

void TKxCustomTreeView::Loaded() {
  TCustomTreeView::Loaded();
  UpdateItemHeight();
  RefreshStateColor();
  HotStateChanged(false, false);
}

namespace {
// Detaches the canvas from a device context on every exit, releasing the context when it was
// fetched for the drawing rather than handed in.
struct TCanvasOnDC {
  TControlCanvas* canvas;
  HWND window;
  HDC dc;
  bool own;
  ~TCanvasOnDC() {
    canvas->SetHandle(nullptr);
    if (own) ReleaseDC(window, dc);
  }
};
}  // namespace

void TKxCustomTreeView::PaintFrame(HDC target) {
  if (!frameVisible_ || UsesThemedFrame()) return;
  HWND window = Handle();
  HDC dc = target ? target : GetWindowDC(window);
  if (!dc) return;
  const TCanvasOnDC release{canvas_, window, dc, target == nullptr};
  canvas_->SetHandle(dc);
  const bool hot = frameHotTrack_ && (focused_ || mouseOver_);
  PaintControlFrame(*canvas_, Width(), Height(), hot ? frameHotStyle_ : frameStyle_, Color(),
                    hot ? frameHotColor_ : frameColor_, frameSides_, false);
}

bool TKxCustomTreeView::EditorFocused() {
  HWND edit = EditHandle();
  return edit && GetFocus() == edit;
}

void TKxCustomTreeView::PaintSelectionRect(HDC target) {
  if (HideSelection() || focused_ || EditorFocused()) return;
  TTreeNode* node = SelectedNode();
  if (!node) return;
  const TRect r = node->DisplayRect(true);
  HWND window = Handle();
  HDC dc = target ? target : GetDC(window);
  if (!dc) return;
  const TCanvasOnDC release{canvas_, window, dc, target == nullptr};
  canvas_->SetHandle(dc);
  canvas_->Pen()->Assign(selectionPen_);
  canvas_->Brush()->SetStyle(bsClear);
  canvas_->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
  canvas_->Pen()->SetWidth(1);
  canvas_->Pen()->SetStyle(psSolid);
}

void TKxCustomTreeView::ScrollSteps(int bar, int code, int count) {
  for (int i = 0; i < count; ++i) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(Handle(), bar, &info)) return;
    if (info.nMax - info.nMin - static_cast<int>(info.nPage) <= 0) return;
    SendMessageW(Handle(), bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(code), 0);
  }
}

bool TKxCustomTreeView::DoMouseWheel(TShiftState, int wheelDelta, TPoint) {
  const UINT lines = WheelScrollLines();
  const bool down = wheelDelta < 0;
  if (lines == WHEEL_PAGESCROLL) ScrollSteps(SB_VERT, down ? SB_PAGEDOWN : SB_PAGEUP, 1);
  else ScrollSteps(SB_VERT, down ? SB_LINEDOWN : SB_LINEUP, static_cast<int>(lines % 256));
  return true;
}

void TKxCustomTreeView::DoEnter() {
  focused_ = true;
  HotStateChanged(false, true);
  TCustomTreeView::DoEnter();
}

void TKxCustomTreeView::DoExit() {
  TCustomTreeView::DoExit();
  focused_ = false;
  HotStateChanged(false, false);
}

void TKxCustomTreeView::MouseEnter() {
  TCustomTreeView::MouseEnter();
  if (!ComponentState().Contains(csDesigning)) HotStateChanged(true, true);
}

void TKxCustomTreeView::MouseLeave() {
  TCustomTreeView::MouseLeave();
  if (!ComponentState().Contains(csDesigning)) HotStateChanged(true, false);
}

void TKxCustomTreeView::Expand(TTreeNode* node) {
  TCustomTreeView::Expand(node);
  if (selectOnExpand_) node->SetSelected(true);
}

void TKxCustomTreeView::Collapse(TTreeNode* node) {
  if (selectOnExpand_) node->SetSelected(true);
  TCustomTreeView::Collapse(node);
}

TTreeNode* TKxCustomTreeView::SelectedNode() {
  if (!HandleAllocated()) return nullptr;
  if (RightClickSelect() && rightClickNode_) return rightClickNode_;
  return Selected();
}

// ---- Context menus --------------------------------------------------------------------------

void TKxCustomTreeView::PopupAt(TComponent* menu, TPoint point) {
  auto* link = dynamic_cast<TPopupMenuLink*>(menu);
  if (!link) return;
  SendMessageW(Handle(), WM_CANCELMODE, 0, 0);
  const TPoint screen = ClientToScreen(point);
  link->Popup(screen.X, screen.Y, this);
}

void TKxCustomTreeView::DoNodeContextMenu(TTreeNode* node, TPoint& point, TComponent*& menu) {
  OnNodeContextMenu(this, node, point, menu);
}

void TKxCustomTreeView::PopupNodeMenu(TTreeNode* node, TPoint point) {
  TComponent* menu = PopupMenu();
  DoNodeContextMenu(node, point, menu);
  if (menu != PopupMenu()) menuHandled_ = true;
  if (!menu) return;
  PopupAt(menu, point);
}

void TKxCustomTreeView::PopupSelectionMenu() {
  if (TTreeNode* node = SelectedNode()) {
    const TRect r = node->DisplayRect(true);
    PopupNodeMenu(node, TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  } else if (PopupMenu()) {
    PopupAt(PopupMenu(), TPoint{0, 0});
  }
}

bool TKxCustomTreeView::RightClickNotify() {
  if (ComponentState().Contains(csDesigning)) return false;
  POINT cursor{};
  GetCursorPos(&cursor);
  ::ScreenToClient(Handle(), &cursor);
  TTreeNode* node = GetNodeAt(cursor.x, cursor.y);
  if (!node) node = Selected();
  rightClickNode_ = node;
  try {
    if (node) {
      TComponent* menu = PopupMenu();
      TPoint point{cursor.x, cursor.y};
      DoNodeContextMenu(node, point, menu);
      if (menu) PopupAt(menu, point);
    }
  } catch (...) {
    rightClickNode_ = nullptr;
    menuHandled_ = true;
    throw;
  }
  rightClickNode_ = nullptr;
  menuHandled_ = true;
  return false;
}

void TKxCustomTreeView::KeyDown(WORD& key, TShiftState shift) {
  const bool apps = key == VK_APPS && !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  if (apps || (key == VK_F10 && shift.Contains(ssShift))) {
    key = 0;
    PopupSelectionMenu();
  }
  TCustomTreeView::KeyDown(key, shift);
}

void TKxCustomTreeView::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT:
      TCustomTreeView::WndProc(message);
      PaintFrame(nullptr);
      message.Result = 0;
      return;
    case WM_PRINT:
      // Printing the window shows the frame it would paint in its non-client area.
      TCustomTreeView::WndProc(message);
      if (message.LParam & PRF_NONCLIENT) PaintFrame(reinterpret_cast<HDC>(message.WParam));
      return;
    case WM_PAINT:
      TCustomTreeView::WndProc(message);
      // On the context the paint went to: the window's, or the one a PaintTo handed in.
      PaintSelectionRect(reinterpret_cast<HDC>(message.WParam));
      return;
    case WM_RBUTTONUP:
      if (menuHandled_ && PopupMenu() != nullptr) {
        // The menu ran already: the button-up is still the control's (OnMouseUp), but its
        // own menu must not pop up a second time. The flag stays set through the inherited
        // handling so that the context-menu request it makes is ignored too.
        auto* menu = dynamic_cast<TPopupMenu*>(PopupMenu());
        const bool autoPopup = menu != nullptr && menu->AutoPopup();
        if (menu) menu->SetAutoPopup(false);
        try {
          TCustomTreeView::WndProc(message);
        } catch (...) {
          if (menu) menu->SetAutoPopup(autoPopup);
          menuHandled_ = false;
          throw;
        }
        if (menu) menu->SetAutoPopup(autoPopup);
        menuHandled_ = false;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (DragMode() == dmAutomatic && !ComponentState().Contains(csDesigning)) {
        // An automatic drag starts from the tree's own begin-drag notification: the press
        // itself selects and expands as usual.
        SetDragMode(dmManual);
        try {
          TCustomTreeView::WndProc(message);
        } catch (...) {
          SetDragMode(dmAutomatic);
          throw;
        }
        SetDragMode(dmAutomatic);
        return;
      }
      break;
    case WM_CONTEXTMENU:
      if (ComponentState().Contains(csDesigning) || menuHandled_) {
        menuHandled_ = false;
        message.Result = 0;
        return;
      }
      // The keyboard's request carries (-1, -1), whether as -1 or as two words.
      if (static_cast<short>(LOWORD(message.LParam)) == -1 && static_cast<short>(HIWORD(message.LParam)) == -1) {
        PopupSelectionMenu();
      } else if (TTreeNode* node = SelectedNode()) {
        POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        ::ScreenToClient(Handle(), &p);
        PopupNodeMenu(node, TPoint{p.x, p.y});
      }
      message.Result = 0;
      return;
    case CM_ENABLEDCHANGED:
      TCustomTreeView::WndProc(message);
      RefreshStateColor();
      return;
    case CM_COLORCHANGED:
      TCustomTreeView::WndProc(message);
      if (HandleAllocated()) SendMessageW(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
      ColorChanged();
      return;
    case WM_SIZE:
      TCustomTreeView::WndProc(message);
      if (frameVisible_ && !UsesThemedFrame()) RepaintNonClientFrame();
      return;
    case WM_SYSCOLORCHANGE:
      TCustomTreeView::WndProc(message);
      if (static_cast<int32_t>(Color()) < 0) Perform(CM_COLORCHANGED, 0, 0);
      return;
    default:
      break;
  }
  TCustomTreeView::WndProc(message);
}

// ---- Lines ----------------------------------------------------------------------------------

void TKxCustomTreeView::LoadFromLines(TStrings* lines) {
  BeginUpdate();
  try {
    ClearNodes();
    TTreeNode* previous = nullptr;
    int previousLevel = 0;
    for (int i = 0; i < lines->Count(); ++i) {
      const std::string line = lines->Strings(i);
      size_t level = 0;
      while (level < line.size() && (line[level] == '\t' || line[level] == ' ')) ++level;
      const std::string text = line.substr(level);
      const int lineLevel = static_cast<int>(level);
      if (!previous) {
        previous = AddChild(nullptr, text);
        previousLevel = 0;
        continue;
      }
      if (lineLevel == previousLevel) {
        previous = AddChild(previous->Parent(), text);
      } else if (lineLevel == previousLevel + 1) {
        previous = AddChild(previous, text);
      } else if (lineLevel > previousLevel + 1) {
        throw ETreeViewError(Format("Invalid level (%d) for item \"%s\"", {lineLevel, text}));
      } else {
        TTreeNode* ancestor = previous->Parent();
        while (ancestor && ancestor->Level() > lineLevel) ancestor = ancestor->Parent();
        previous = AddChild(ancestor ? ancestor->Parent() : nullptr, text);
      }
      previousLevel = previous->Level();
    }
  } catch (...) {
    EndUpdate();
    Invalidate();
    throw;
  }
  EndUpdate();
}

void TKxCustomTreeView::SaveToLines(TStrings* lines) {
  for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
    lines->Add(std::string(static_cast<size_t>(node->Level()), '\t') + node->Text());
}
