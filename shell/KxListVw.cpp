// TKxCustomListView: frame and state colours, column sorting, the owner-drawn header with its
// arrow and hot sections, last-column stretch, info tips, check-box events, item menus and
// disabled drawing.
#include "shell/KxListVw.h"

#include <algorithm>
#include <cstdlib>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxFrameSettings.h"
#include "controls/KxOldPropReader.h"
#include "shell/KxShellUtils.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/MenuLinks.h"
#include "toolkit/ui/Themes.h"

#include <uxtheme.h>
#include <vssym32.h>

TRect SortArrowRect(const TRect& text) {
  const int s = (text.Top + text.Bottom) / 2 - 1;
  TRect arrow;
  arrow.Left = text.Left;
  arrow.Right = arrow.Left + s + 1;
  arrow.Top = (text.Top + text.Bottom - s) / 2 - 1;
  arrow.Bottom = arrow.Top + s;
  return arrow;
}

bool SortArrowShown(const TRect& arrow, int columnWidth) { return 2 * arrow.Width() < columnWidth; }

int CompareListItems(TListItem* a, TListItem* b, int column) {
  if (!a || !b || column < 0) return 0;
  auto text = [column](TListItem* item) -> std::string {
    if (column == 0) return item->Caption();
    const size_t k = static_cast<size_t>(column - 1);
    return k < item->SubItems().size() ? item->SubItems()[k] : std::string();
  };
  const std::string x = text(a);
  const std::string y = text(b);
  if (x.empty() && y.empty()) return 0;
  if (x.empty()) return 1;
  if (y.empty()) return -1;
  return CompareText(x, y);
}

namespace {

const wchar_t kListProp[] = L"TKxCustomListView";
const wchar_t kHintClass[] = L"TKxListHintWindow";
const wchar_t kHintFontProp[] = L"TKxListHintFont";

// The info-tip window: a borderless-looking popup that paints its text on the hint colour and
// lets the mouse through.
LRESULT CALLBACK HintWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT r;
      GetClientRect(window, &r);
      const TColor color = Application ? Application->HintColor() : clInfoBk;
      HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
      FillRect(dc, &r, brush);
      DeleteObject(brush);
      wchar_t text[1024] = {};
      GetWindowTextW(window, text, 1024);
      auto font = static_cast<HFONT>(GetPropW(window, kHintFontProp));
      HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ColorToRGB(clInfoText));
      InflateRect(&r, -2, -1);
      DrawTextW(dc, text, -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
      if (old) SelectObject(dc, old);
      EndPaint(window, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(window, msg, wParam, lParam);
  }
}

// Registered whenever the class is missing from the module, not once per process run: a class
// the module no longer has (or never got) is registered again instead of failing every tip.
bool RegisterHintClass() {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSW existing{};
  if (GetClassInfoW(module, kHintClass, &existing)) return true;
  WNDCLASSW wc{};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = HintWindowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kHintClass;
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::function<bool()> foregroundQuery;

bool ApplicationInForeground() {
  if (foregroundQuery) return foregroundQuery();
  HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  return process == GetCurrentProcessId();
}

}  // namespace

void SetKxForegroundQuery(std::function<bool()> query) { foregroundQuery = std::move(query); }

LRESULT CALLBACK KxListHeaderProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* list = static_cast<TKxCustomListView*>(GetPropW(window, kListProp));
  if (!list) return DefWindowProcW(window, msg, wParam, lParam);
  try {
    return list->HeaderMessage(window, msg, wParam, lParam);
  } catch (const Exception& e) {
    if (Application) Application->ShowException(e);
    return 0;
  } catch (...) {
    return 0;
  }
}

const TClassInfo& TKxCustomListView::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxCustomListView>("TKxCustomListView", &TCustomListView::StaticClass()).Build();
  return info;
}

TKxCustomListView::TKxCustomListView(TComponent* owner) : TCustomListView(owner), canvas_(new TControlCanvas) {
  canvas_->SetControl(this);
  normalColor_ = Color();
}

TKxCustomListView::~TKxCustomListView() {
  if (frameController_) frameController_->UnregisterControl(this);
  UnhookHeader();
  if (hintWindow_) {
    RemovePropW(hintWindow_, kHintFontProp);
    DestroyWindow(hintWindow_);
  }
  delete canvas_;
}

// ---- Frame and colours ----------------------------------------------------------------------

bool TKxCustomListView::UsesThemedFrame() const {
  return framingPreference_ == fpXPThemes && KxVisualStylesActive();
}

void TKxCustomListView::RepaintNonClientFrame() {
  if (ComponentState().Contains(csLoading)) return;
  if (HandleAllocated()) RedrawNonClientFrame(Handle(), TRect(0, 0, Width(), Height()));
}

void TKxCustomListView::RefreshStateColor() {
  if (ComponentState().Contains(csLoading)) return;
  updatingColor_ = true;
  try {
    if (!Enabled() && !ComponentState().Contains(csDesigning)) SetColor(disabledColor_);
    else if (focused_) SetColor(focusColor_);
    else SetColor(normalColor_);
  } catch (...) {
    updatingColor_ = false;
    throw;
  }
  updatingColor_ = false;
}

void TKxCustomListView::HotStateChanged(bool setOver, bool over) {
  if (setOver) mouseOver_ = over;
  if (frameHotTrack_) RepaintNonClientFrame();
  RefreshStateColor();
}

void TKxCustomListView::ColorChanged() {
  if (!updatingColor_) {
    if (focusColor_ == normalColor_) focusColor_ = Color();
    normalColor_ = Color();
  }
  if (HandleAllocated()) {
    const LPARAM rgb = static_cast<LPARAM>(ColorToRGB(Color()));
    SendMessageW(Handle(), LVM_SETBKCOLOR, 0, rgb);
    SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, rgb);
    InvalidateRect(Handle(), nullptr, TRUE);
  }
  if (frameVisible_ && !UsesThemedFrame()) RepaintNonClientFrame();
}

void TKxCustomListView::SetDisabledColor(TColor value) {
  disabledColor_ = value;
  if (!Enabled()) RefreshStateColor();
  else if (HandleAllocated()) Invalidate();
}

void TKxCustomListView::SetFocusColor(TColor value) {
  focusColor_ = value;
  if (focused_) RefreshStateColor();
}

void TKxCustomListView::SetFrameColor(TColor value) {
  if (ChangeFrameSetting(frameColor_, value)) RepaintNonClientFrame();
}

void TKxCustomListView::SetFrameController(TKxFrameController* value) {
  ChangeFrameController(this, frameController_, value);
}

void TKxCustomListView::SetFrameHotColor(TColor value) {
  if (ChangeFrameSetting(frameHotColor_, value)) RepaintNonClientFrame();
}

void TKxCustomListView::SetFrameHotTrack(bool value) {
  if (value == frameHotTrack_) return;
  frameHotTrack_ = value;
  if (value) {
    SetFrameVisible(true);
    if (!ComponentState().Contains(csLoading)) frameSides_ = kAllSides;
  }
  RepaintNonClientFrame();
  if (HandleAllocated()) Invalidate();
}

void TKxCustomListView::SetFrameHotStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameHotStyle_, value)) RepaintNonClientFrame();
}

void TKxCustomListView::SetFrameSides(TSides value) {
  if (ChangeFrameSetting(frameSides_, value)) RepaintNonClientFrame();
}

void TKxCustomListView::SetFrameStyle(TFrameStyle value) {
  if (ChangeFrameSetting(frameStyle_, value)) RepaintNonClientFrame();
}

void TKxCustomListView::SetFrameVisible(bool value) {
  if (value == frameVisible_) return;
  frameVisible_ = value;
  // The frame lives in the non-client area only: the window is asked to redo its frame instead
  // of being recreated, which would drop every item.
  if (HandleAllocated() && !ComponentState().Contains(csLoading))
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RepaintNonClientFrame();
}

void TKxCustomListView::SetFramingPreference(TFramingPreference value) {
  if (value == framingPreference_) return;
  framingPreference_ = value;
  if (value == fpCustomFraming) RepaintNonClientFrame();
}

bool TKxCustomListView::ControllerOwns(TKxFrameControllerProperty property) const {
  return frameController_ != nullptr && notifications_.Contains(property);
}

void TKxCustomListView::Notification(TComponent* component, TOperation operation) {
  TCustomListView::Notification(component, operation);
  if (operation == opRemove && component == frameController_) frameController_ = nullptr;
}

void TKxCustomListView::DefineProperties(TFiler& filer) {
  TCustomListView::DefineProperties(filer);
  // "FrameFlat" sets hot tracking directly, without the setter's side effects.
  DefineOldFrameProperties(filer, [this](bool flat) { frameHotTrack_ = flat; }, frameStyle_, frameHotStyle_);
}

void TKxCustomListView::PaintFrame(HDC dc) {
  if (!frameVisible_ || UsesThemedFrame() || !dc) return;
  canvas_->SetHandle(dc);
  try {
    const bool hot = frameHotTrack_ && (focused_ || mouseOver_);
    PaintControlFrame(*canvas_, Width(), Height(), hot ? frameHotStyle_ : frameStyle_, Color(),
                      hot ? frameHotColor_ : frameColor_, frameSides_, false);
  } catch (...) {
    canvas_->SetHandle(nullptr);
    throw;
  }
  canvas_->SetHandle(nullptr);
}

void TKxCustomListView::DoEnter() {
  focused_ = true;
  HotStateChanged(false, true);
  TCustomListView::DoEnter();
}

void TKxCustomListView::DoExit() {
  TCustomListView::DoExit();
  focused_ = false;
  HotStateChanged(false, false);
}

void TKxCustomListView::MouseEnter() {
  TCustomListView::MouseEnter();
  if (!ComponentState().Contains(csDesigning)) HotStateChanged(true, true);
  // The entry comes with a mouse move, whose position was kept.
  if (OnInfoTip && HandleAllocated()) ShowInfoTip(lastMove_.X, lastMove_.Y);
}

void TKxCustomListView::MouseLeave() {
  TCustomListView::MouseLeave();
  HideInfoTip();
  if (!ComponentState().Contains(csDesigning)) HotStateChanged(true, false);
}

bool TKxCustomListView::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  if (TCustomListView::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  if (!HandleAllocated()) return false;
  const UINT lines = WheelScrollLines();
  const int steps = wheelDelta / WHEEL_DELTA;
  if (steps == 0) return true;
  if (lines == WHEEL_PAGESCROLL) {
    // The one-screen-at-a-time setting: a page per notch, in the wheel's direction.
    for (int i = 0; i < std::abs(steps); ++i)
      SendMessageW(Handle(), WM_VSCROLL, steps < 0 ? SB_PAGEDOWN : SB_PAGEUP, 0);
    return true;
  }
  int height = ViewStyle() == vsIcon ? 32 : 16;
  HIMAGELIST images = ViewStyle() == vsIcon ? LargeImages() : SmallImages();
  int w = 0, h = 0;
  if (images && ImageList_GetIconSize(images, &w, &h) && h >= 1) height = h;
  SendMessageW(Handle(), LVM_SCROLL, 0, static_cast<LPARAM>(-steps * static_cast<int>(lines) * height));
  return true;
}

// ---- Sorting and stretching -----------------------------------------------------------------

void TKxCustomListView::SetSortColumn(int value) {
  if (value == sortColumn_) return;
  HWND header = HandleAllocated() ? HeaderHandle() : nullptr;
  auto invalidate = [header](int column) {
    RECT r;
    if (header && column >= 0 && SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                                              reinterpret_cast<LPARAM>(&r)))
      InvalidateRect(header, &r, TRUE);
  };
  invalidate(sortColumn_);
  sortColumn_ = value;
  invalidate(sortColumn_);
  RefreshHeaderStyles();
}

void TKxCustomListView::SetSortDirection(int value) {
  if (value == sortDirection_) return;
  sortDirection_ = value;
  RefreshHeaderStyles();
  if (HandleAllocated() && HeaderHandle()) UpdateWindow(HeaderHandle());
}

void TKxCustomListView::SetSortDisplayMode(int value) {
  sortDisplayMode_ = value;
  RefreshHeaderStyles();
}

void TKxCustomListView::ColumnClick(int column) {
  if (sortOnClick_) {
    if (column == lastSorted_) {
      SetSortColumn(column);
      SetSortDirection(1);
      CustomSort([column](TListItem* a, TListItem* b) { return -CompareListItems(a, b, column); });
      lastSorted_ = -1;
    } else {
      SetSortColumn(column);
      SetSortDirection(0);
      CustomSort([column](TListItem* a, TListItem* b) { return CompareListItems(a, b, column); });
      lastSorted_ = column;
    }
  }
  TCustomListView::ColumnClick(column);
}

void TKxCustomListView::SetStretchLastColumn(bool value) {
  if (value == stretchLastColumn_) return;
  stretchLastColumn_ = value;
  StretchLastColumn();
}

void TKxCustomListView::StretchLastColumn() {
  if (!stretchLastColumn_ || stretching_ || !HandleAllocated() || ViewStyle() != vsReport) return;
  if (ComponentState().Contains(csDestroying)) return;
  const int count = ColumnCount();
  if (count < 1) return;
  stretching_ = true;
  BeginUpdate();
  try {
    int sum = 0;
    for (int i = 0; i < count - 1; ++i) sum += ColumnWidth(i);
    int available = ClientWidth();
    if (ItemCount() == 0 || loadingStretch_) available -= GetSystemMetrics(SM_CXVSCROLL);
    if (sum < available) {
      const int difference = available - sum;
      SetColumnWidth(count - 1, difference <= 4 ? 5 : difference);
    }
  } catch (...) {
    EndUpdate();
    stretching_ = false;
    throw;
  }
  EndUpdate();
  stretching_ = false;
}

// ---- Window ---------------------------------------------------------------------------------

void TKxCustomListView::CreateWnd() {
  TCustomListView::CreateWnd();
  const LPARAM rgb = static_cast<LPARAM>(ColorToRGB(Color()));
  SendMessageW(Handle(), LVM_SETBKCOLOR, 0, rgb);
  SendMessageW(Handle(), LVM_SETTEXTBKCOLOR, 0, rgb);
  HookHeader();
  RefreshHeaderStyles();
  PostMessageW(Handle(), KX_LIST_HEADER_STYLES_MESSAGE, 0, 0);
}

void TKxCustomListView::DestroyWnd() {
  // The tip window is owned by the list's window and goes with it.
  if (hintWindow_) {
    RemovePropW(hintWindow_, kHintFontProp);
    DestroyWindow(hintWindow_);
    hintWindow_ = nullptr;
  }
  UnhookHeader();
  TCustomListView::DestroyWnd();
}

void TKxCustomListView::Loaded() {
  TCustomListView::Loaded();
  RefreshStateColor();
  HotStateChanged(false, false);
  loadingStretch_ = true;
  try {
    StretchLastColumn();
  } catch (...) {
    loadingStretch_ = false;
    throw;
  }
  loadingStretch_ = false;
  HookHeader();
}

// ---- Header ---------------------------------------------------------------------------------

void TKxCustomListView::HookHeader() {
  if (!HandleAllocated()) return;
  HWND header = GetDlgItem(Handle(), 0);
  if (!header) header = HeaderHandle();
  if (!header || header == header_) return;
  UnhookHeader();
  header_ = header;
  SetPropW(header_, kListProp, this);
  headerProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(header_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KxListHeaderProc)));
}

void TKxCustomListView::UnhookHeader() {
  if (!header_) return;
  if (IsWindow(header_) && headerProc_ &&
      GetWindowLongPtrW(header_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&KxListHeaderProc))
    SetWindowLongPtrW(header_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(headerProc_));
  if (IsWindow(header_)) RemovePropW(header_, kListProp);
  header_ = nullptr;
  headerProc_ = nullptr;
}

LRESULT TKxCustomListView::HeaderMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = headerProc_;
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT result = CallWindowProcW(previous, window, msg, wParam, lParam);
      RemovePropW(window, kListProp);
      header_ = nullptr;
      headerProc_ = nullptr;
      return result;
    }
    case WM_NCHITTEST:
      if (ComponentState().Contains(csDesigning)) return HTTRANSPARENT;
      break;
    case WM_MOUSEMOVE:
      if (KxVisualStylesActive() && !sectionPressed_) {
        HDHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int section = static_cast<int>(SendMessageW(window, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        SetHotSection((hit.flags & HHT_ONHEADER) ? section : -1);
      }
      break;
    case WM_LBUTTONDOWN:
      sectionPressed_ = true;
      InvalidateRect(window, nullptr, FALSE);
      break;
    case WM_LBUTTONUP:
      sectionPressed_ = false;
      InvalidateRect(window, nullptr, FALSE);
      break;
    default:
      break;
  }
  return CallWindowProcW(previous, window, msg, wParam, lParam);
}

void TKxCustomListView::SetHotSection(int value) {
  if (value == hotSection_) return;
  hotSection_ = value;
  if (header_) InvalidateRect(header_, nullptr, FALSE);
}

void TKxCustomListView::SetViewStyle(TViewStyle value) {
  TCustomListView::SetViewStyle(value);
  if (value == vsReport) RefreshHeaderStyles();
}

void TKxCustomListView::RefreshHeaderStyles() {
  if (!HandleAllocated() || ViewStyle() != vsReport || refreshingHeader_) return;
  HWND header = HeaderHandle();
  if (!header) return;
  refreshingHeader_ = true;
  const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = count - 1; i >= 0; --i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    const int alignment = item.fmt & HDF_JUSTIFYMASK;
    const bool image = (item.fmt & HDF_IMAGE) && SmallImages();
    item.mask = HDI_FORMAT;
    item.fmt = alignment | (sortDisplayMode_ != 0 ? HDF_OWNERDRAW : HDF_STRING | (image ? HDF_IMAGE : 0));
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  InvalidateRect(header, nullptr, TRUE);
  refreshingHeader_ = false;
}

void TKxCustomListView::DrawHeaderSection(DRAWITEMSTRUCT* draw) {
  const int saved = SaveDC(draw->hDC);
  TCanvas canvas;
  try {
    canvas.SetHandle(draw->hDC);
    canvas.Font()->Assign(Font());
    canvas.Font()->SetColor(clBtnText);
    canvas.Brush()->SetColor(clBtnFace);
    TRect rect(draw->rcItem);
    if (!KxVisualStylesActive()) {
      canvas.FillRect(rect);
      rect = TRect(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
    }
    const int column = static_cast<int>(draw->itemID);
    if (defaultHeaderDrawing_) DoDrawHeader(column, rect, canvas);
    else OnDrawHeader(this, &canvas, rect, column);
  } catch (...) {
    canvas.SetHandle(nullptr);
    RestoreDC(draw->hDC, saved);
    throw;
  }
  canvas.SetHandle(nullptr);
  RestoreDC(draw->hDC, saved);
}

void TKxCustomListView::DoDrawHeader(int column, const TRect& section, TCanvas& canvas) {
  HDC dc = canvas.Handle();
  TRect text = section;
  if (KxVisualStylesActive()) {
    int state = HIS_NORMAL;
    if (column == hotSection_) state = sectionPressed_ ? HIS_PRESSED : HIS_HOT;
    TThemeServices& themes = *ThemeServices();
    themes.DrawElement(dc, themes.GetElementDetails(teHeader, HP_HEADERITEM, state), section);
    text = TRect(text.Left + 2, text.Top + 2, text.Right - 2, text.Bottom - 2);
  }
  text.Left += 4;
  text.Right -= 4;
  IntersectClipRect(dc, section.Left, section.Top, section.Right, section.Bottom);
  const TRect arrowBase = SortArrowRect(text);
  TRect arrow = arrowBase;
  HWND header = HeaderHandle();
  HDITEMW item{};
  wchar_t caption[260] = {};
  item.mask = HDI_FORMAT | HDI_TEXT | HDI_IMAGE;
  item.pszText = caption;
  item.cchTextMax = 260;
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  const bool sorted = column == sortColumn_;
  const std::string title = WideToUtf8(caption);
  const int alignment = item.fmt & HDF_JUSTIFYMASK;
  if (sorted && sortDisplayMode_ == 1 && section.Width() > 15) {
    text.Left = arrow.Right + 5;
  } else if (sorted && sortDisplayMode_ == 3) {
    arrow = TRect(text.Right - arrowBase.Width(), arrowBase.Top, text.Right, arrowBase.Bottom);
    text.Right = arrow.Left - 5;
  } else if (sorted && sortDisplayMode_ == 2) {
    const int width = canvas.TextWidth(title);
    int left;
    if (alignment == HDF_RIGHT) {
      left = text.Right - arrowBase.Width();
      text.Right = left - 5;
    } else if (alignment == HDF_CENTER) {
      text.Right -= arrowBase.Width() + 5;
      left = (text.Left + text.Right + width) / 2 + 5;
    } else {
      left = text.Left + width + 5;
    }
    arrow = TRect(left, arrowBase.Top, left + arrowBase.Width(), arrowBase.Bottom);
  }
  if ((item.fmt & HDF_IMAGE) && SmallImages() && item.iImage >= 0) {
    int w = 16, h = 16;
    ImageList_GetIconSize(SmallImages(), &w, &h);
    ImageList_Draw(SmallImages(), item.iImage, dc, text.Left, text.Top + (text.Height() - h) / 2, ILD_TRANSPARENT);
    text.Left += w + 4;
  }
  if (KxVisualStylesActive()) SetBkMode(dc, TRANSPARENT);
  else SetBkColor(dc, ColorToRGB(clBtnFace));
  SetTextColor(dc, ColorToRGB(clBtnText));
  UINT align = DT_LEFT;
  if (alignment == HDF_RIGHT) align = DT_RIGHT;
  else if (alignment == HDF_CENTER) align = DT_CENTER;
  RECT r = text;
  const std::wstring wide = Utf8ToWide(title);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, align | DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
  if (sorted && SortArrowShown(arrow, section.Width())) {
    const int h = arrow.Height() * 3 / 4;
    const int w = 2 * h - 1;
    const int top = arrow.Bottom - h;
    const int left = arrow.Left;
    canvas.Pen()->SetColor(clBtnShadow);
    canvas.Brush()->SetColor(clBtnShadow);
    if (sortDirection_ == 1)
      canvas.Polygon({TPoint{left, top}, TPoint{left + w - 1, top}, TPoint{left + w / 2, top + h - 1}});
    else
      canvas.Polygon({TPoint{left + w / 2, top}, TPoint{left, top + h - 1}, TPoint{left + w - 1, top + h - 1}});
  }
}

// ---- Info tips ------------------------------------------------------------------------------

void TKxCustomListView::ShowInfoTip(int x, int y) {
  if (!OnInfoTip) return;
  TListItem* item = GetItemAt(x, y);
  if (!item) {
    HideInfoTip();
    return;
  }
  std::string tip = item->Caption();
  if (tip.empty()) tip = GetItemText(item, 0);
  OnInfoTip(this, item, tip);
  if (tip.empty() || !ApplicationInForeground()) {
    HideInfoTip();
    return;
  }
  if (!hintWindow_) {
    if (!RegisterHintClass()) return;
    hintWindow_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kHintClass, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                                  Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hintWindow_) return;
  }
  SetPropW(hintWindow_, kHintFontProp, Font()->Handle());
  const TRect bounds = item->DisplayRect(LVIR_BOUNDS);
  const TPoint corner = ClientToScreen(TPoint{bounds.Left, bounds.Top});
  const TPoint at{corner.X + 5, corner.Y + bounds.Height() - 3};
  // Measure the text in the list font, no wider than the screen.
  const std::wstring wide = Utf8ToWide(tip);
  HDC dc = GetDC(hintWindow_);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  RECT measure{0, 0, GetSystemMetrics(SM_CXSCREEN) - 8, 0};
  DrawTextW(dc, wide.c_str(), -1, &measure, DT_CALCRECT | DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  SelectObject(dc, old);
  ReleaseDC(hintWindow_, dc);
  const int width = measure.right + 6;
  const int height = measure.bottom + 4;
  const bool visible = IsWindowVisible(hintWindow_) != 0;
  if (visible && tip == hintText_ && at == hintPos_) return;
  hintText_ = tip;
  hintPos_ = at;
  SetWindowTextW(hintWindow_, wide.c_str());
  SetWindowPos(hintWindow_, HWND_TOPMOST, at.X, at.Y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hintWindow_, nullptr, TRUE);
}

void TKxCustomListView::HideInfoTip() {
  if (hintWindow_ && IsWindowVisible(hintWindow_)) ShowWindow(hintWindow_, SW_HIDE);
}

// ---- Check boxes, custom drawing ------------------------------------------------------------

void TKxCustomListView::DoCheckStateChange(TListItem* item) { OnCheckStateChange(this, item); }

bool TKxCustomListView::DoCheckStateChanging(TListItem* item, bool checked) {
  bool allow = true;
  OnCheckStateChanging(this, item, checked, allow);
  return allow;
}

bool TKxCustomListView::CustomDrawNotify(NMLVCUSTOMDRAW* draw, LRESULT& result) {
  if (Enabled() || ComponentState().Contains(csDesigning)) return false;
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT:
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      // A disabled list shows no selection: every item on the disabled colour.
      draw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS | CDIS_HOT);
      draw->clrTextBk = ColorToRGB(disabledColor_);
      draw->clrText = ColorToRGB(clGrayText);
      result = CDRF_NEWFONT | CDRF_NOTIFYSUBITEMDRAW;
      return true;
    default:
      return false;
  }
}

bool TKxCustomListView::ListNotify(NMHDR* header, LRESULT& result) {
  switch (header->code) {
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (!(change->uChanged & LVIF_STATE)) break;
      const UINT image = change->uNewState & LVIS_STATEIMAGEMASK;
      if (image != 0x2000 && image != 0x1000) break;
      if ((change->uOldState & LVIS_STATEIMAGEMASK) == image) break;
      TListItem* item = ItemFromParam(change->lParam);
      if (!item) item = Item(change->iItem);
      if (!item) break;
      if (header->code == LVN_ITEMCHANGING) {
        if (!DoCheckStateChanging(item, image == 0x2000)) {
          result = TRUE;
          return true;
        }
      } else {
        DoCheckStateChange(item);
      }
      break;
    }
    case LVN_GETINFOTIPW:
    case LVN_GETINFOTIPA:
      result = 0;
      return true;
    case NM_CUSTOMDRAW:
      if (CustomDrawNotify(reinterpret_cast<NMLVCUSTOMDRAW*>(header), result)) return true;
      break;
    case NM_RCLICK: {
      auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
      if (click->iItem >= 0) {
        rightClicked_ = true;
        try {
          ShowListContextMenu(TPoint{click->ptAction.x, click->ptAction.y});
        } catch (...) {
          rightClicked_ = false;
          throw;
        }
        rightClicked_ = false;
      }
      break;
    }
    case LVN_BEGINLABELEDITW: {
      // With row select in report view, only a click on the label starts editing.
      if (ViewStyle() == vsReport && RowSelect() && !editOnRowClick_ && !EditStartedByCode()) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        POINT cursor{};
        GetCursorPos(&cursor);
        ::ScreenToClient(Handle(), &cursor);
        LVHITTESTINFO hit{};
        hit.pt = cursor;
        const int index = static_cast<int>(SendMessageW(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (index != info->item.iItem || !(hit.flags & LVHT_ONITEMLABEL)) {
          result = TRUE;
          return true;
        }
      }
      break;
    }
    default:
      break;
  }
  return TCustomListView::ListNotify(header, result);
}

// ---- Context menus --------------------------------------------------------------------------

void TKxCustomListView::DoItemContextMenu(TListItem* item, TPoint& point, TComponent*& menu) {
  OnItemContextMenu(this, item, point, menu);
}

void TKxCustomListView::PopupItemMenu(TPoint point) {
  TComponent* menu = PopupMenu();
  DoItemContextMenu(ItemFocused(), point, menu);
  menuHandled_ = true;
  auto* link = dynamic_cast<TPopupMenuLink*>(menu);
  if (!link) return;
  const TPoint screen = ClientToScreen(point);
  link->Popup(screen.X, screen.Y, this);
}

void TKxCustomListView::ShowListContextMenu(TPoint point) {
  TListItem* focused = ItemFocused();
  if (rightClicked_ || !focused) {
    if (rightClicked_) {
      PopupItemMenu(point);
    } else {
      bool handled = false;
      DoContextPopup(point, handled);
      auto* link = dynamic_cast<TPopupMenuLink*>(PopupMenu());
      if (!handled && link && link->AutoPopup()) {
        const TPoint screen = ClientToScreen(point);
        link->Popup(screen.X, screen.Y, this);
      }
    }
    menuHandled_ = true;
    return;
  }
  auto centre = [](TListItem* item) {
    const TRect r = item->DisplayRect(LVIR_ICON);
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  };
  if (focused->Focused()) {
    PopupItemMenu(centre(focused));
  } else if (TListItem* selected = Selected()) {
    PopupItemMenu(centre(selected));
  } else {
    bool handled = false;
    DoContextPopup(point, handled);
  }
}

void TKxCustomListView::KeyDown(WORD& key, TShiftState shift) {
  const bool apps = key == VK_APPS && !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  if (apps || (key == VK_F10 && shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt))) {
    key = 0;
    ShowListContextMenu(TPoint{0, 0});
  }
  TCustomListView::KeyDown(key, shift);
}

void TKxCustomListView::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_NCPAINT: {
      TCustomListView::WndProc(message);
      if (!HandleAllocated()) return;
      HDC dc = GetWindowDC(Handle());
      if (dc) {
        PaintFrame(dc);
        ReleaseDC(Handle(), dc);
      }
      message.Result = 0;
      return;
    }
    case WM_PRINT:
      TCustomListView::WndProc(message);
      if (message.LParam & PRF_NONCLIENT) PaintFrame(reinterpret_cast<HDC>(message.WParam));
      return;
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
      if (draw->CtlType == ODT_HEADER) {
        DrawHeaderSection(draw);
        message.Result = 1;
        return;
      }
      break;
    }
    case WM_SIZE:
      TCustomListView::WndProc(message);
      if (header_) StretchLastColumn();
      if (frameVisible_ && !UsesThemedFrame()) RepaintNonClientFrame();
      return;
    case WM_PARENTNOTIFY:
      TCustomListView::WndProc(message);
      if (LOWORD(message.WParam) == WM_CREATE) HookHeader();
      return;
    case KX_LIST_HEADER_STYLES_MESSAGE:
      RefreshHeaderStyles();
      message.Result = 0;
      return;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(message.LParam);
      switch (header->code) {
        case HDN_ENDTRACKW:
        case HDN_ENDTRACKA:
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
          TCustomListView::WndProc(message);
          StretchLastColumn();
          RefreshHeaderStyles();
          if (frameVisible_) Invalidate();
          return;
        case HDN_ITEMCLICKW:
        case HDN_ITEMCLICKA:
          TCustomListView::WndProc(message);
          if (header_) InvalidateRect(header_, nullptr, FALSE);
          return;
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA:
        case HDN_ITEMCHANGEDW:
        case HDN_ITEMCHANGEDA:
          TCustomListView::WndProc(message);
          RefreshHeaderStyles();
          if (frameVisible_) Invalidate();
          return;
        default:
          break;
      }
      break;
    }
    case WM_MOUSEMOVE:
      lastMove_ = TPoint{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
      if (ViewStyle() == vsReport && KxVisualStylesActive()) SetHotSection(-1);
      if (OnInfoTip) ShowInfoTip(lastMove_.X, lastMove_.Y);
      break;
    case WM_RBUTTONDOWN:
      // A menu handled by an earlier click must not swallow this click's menu.
      menuHandled_ = false;
      break;
    case WM_RBUTTONUP:
      if (menuHandled_ && PopupMenu()) {
        // The item menu was shown already: the toolkit must not pop the list's menu too.
        TComponent* menu = PopupMenu();
        SetPopupMenu(nullptr);
        try {
          TCustomListView::WndProc(message);
        } catch (...) {
          SetPopupMenu(menu);
          rightClicked_ = false;
          throw;
        }
        SetPopupMenu(menu);
        rightClicked_ = false;
        return;
      }
      rightClicked_ = false;
      TCustomListView::WndProc(message);
      return;
    case WM_CONTEXTMENU:
      if (ComponentState().Contains(csDesigning) || menuHandled_ || SelCount() == 0 || !ItemFocused()) {
        menuHandled_ = false;
        message.Result = 0;
        return;
      }
      // The keyboard's request carries (-1, -1), whether as -1 or as two words.
      if (static_cast<short>(LOWORD(message.LParam)) == -1 && static_cast<short>(HIWORD(message.LParam)) == -1) {
        ShowListContextMenu(TPoint{0, 0});
      } else {
        const TPoint client = ScreenToClient(
            TPoint{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))});
        PopupItemMenu(client);
      }
      menuHandled_ = false;
      message.Result = 0;
      return;
    case CM_ENABLEDCHANGED:
      TCustomListView::WndProc(message);
      RefreshStateColor();
      if (HandleAllocated()) Invalidate();
      return;
    case CM_COLORCHANGED:
      TCustomListView::WndProc(message);
      ColorChanged();
      return;
    case WM_SYSCOLORCHANGE:
      TCustomListView::WndProc(message);
      if (static_cast<int32_t>(Color()) < 0) Perform(CM_COLORCHANGED, 0, 0);
      return;
    default:
      break;
  }
  TCustomListView::WndProc(message);
}
