// TCanvas: lazy selection of the pen, brush and font into the DC, and the drawing calls.
#include "toolkit/graphics/Canvas.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas", &TPersistent::StaticClass()).Abstract().Build();
  return info;
}

TCanvas::TCanvas() : pen_(new TPen()), brush_(new TBrush()), font_(new TFont()) {
  pen_->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  brush_->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  font_->OnChange = TNotifyEvent(this, &TCanvas::ObjectChanged);
  InitializeCriticalSection(&lock_);
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  delete font_;
  delete brush_;
  delete pen_;
  DeleteCriticalSection(&lock_);
}

void TCanvas::ObjectChanged(TObject* sender) {
  if (!handle_) return;
  // Put the DC's original object back so the changed one can drop its handle.
  if (sender == pen_ && state_.Contains(csPenValid)) {
    SelectObject(handle_, stockPen_);
    state_.Exclude(csPenValid);
  } else if (sender == brush_ && state_.Contains(csBrushValid)) {
    SelectObject(handle_, stockBrush_);
    state_.Exclude(csBrushValid);
  } else if (sender == font_ && state_.Contains(csFontValid)) {
    SelectObject(handle_, stockFont_);
    state_.Exclude(csFontValid);
  }
}

HDC TCanvas::Handle() {
  RequiredState({csHandleValid});
  return handle_;
}

void TCanvas::SetHandle(HDC value) {
  if (value == handle_) return;
  if (handle_ != nullptr) DeselectHandles();
  handle_ = value;
  if (handle_ != nullptr) {
    state_.Include(csHandleValid);
    stockPen_ = GetCurrentObject(handle_, OBJ_PEN);
    stockBrush_ = GetCurrentObject(handle_, OBJ_BRUSH);
    stockFont_ = GetCurrentObject(handle_, OBJ_FONT);
  }
}

void TCanvas::DeselectHandles() {
  if (handle_ != nullptr) {
    if (state_.Contains(csPenValid)) SelectObject(handle_, stockPen_);
    if (state_.Contains(csBrushValid)) SelectObject(handle_, stockBrush_);
    if (state_.Contains(csFontValid)) SelectObject(handle_, stockFont_);
  }
  handle_ = nullptr;
  state_ = {};
}

void TCanvas::Refresh() {
  HDC dc = handle_;
  if (dc == nullptr) return;
  if (state_.Contains(csPenValid)) SelectObject(dc, stockPen_);
  if (state_.Contains(csBrushValid)) SelectObject(dc, stockBrush_);
  if (state_.Contains(csFontValid)) SelectObject(dc, stockFont_);
  state_ = {csHandleValid};
}

void TCanvas::RequiredState(TCanvasState required) {
  const TCanvasState needed = required - state_;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (handle_ == nullptr) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed.Contains(csFontValid)) CreateFontState();
  if (needed.Contains(csPenValid)) CreatePenState();
  if (needed.Contains(csBrushValid)) CreateBrushState();
}

void TCanvas::CreatePenState() {
  SelectObject(handle_, pen_->Handle());
  SetROP2(handle_, PenModeToROP2(pen_->Mode()));
  state_.Include(csPenValid);
}

void TCanvas::CreateBrushState() {
  UnrealizeObject(brush_->Handle());
  SelectObject(handle_, brush_->Handle());
  if (brush_->Style() == bsSolid) {
    SetBkColor(handle_, ColorToRGB(brush_->Color()));
    SetBkMode(handle_, OPAQUE);
  } else {
    // Hatches and clear brushes leave the background visible.
    SetBkColor(handle_, ~ColorToRGB(brush_->Color()) & 0xFFFFFF);
    SetBkMode(handle_, TRANSPARENT);
  }
  state_.Include(csBrushValid);
}

void TCanvas::CreateFontState() {
  SelectObject(handle_, font_->Handle());
  SetTextColor(handle_, ColorToRGB(font_->Color()));
  state_.Include(csFontValid);
}

void TCanvas::Changing() { OnChanging(this); }
void TCanvas::Changed() { OnChange(this); }

void TCanvas::Lock() {
  EnterCriticalSection(&lock_);
  ++lockCount_;
}

bool TCanvas::TryLock() {
  if (!TryEnterCriticalSection(&lock_)) return false;
  ++lockCount_;
  return true;
}

void TCanvas::Unlock() {
  --lockCount_;
  LeaveCriticalSection(&lock_);
}

TPoint TCanvas::PenPos() {
  RequiredState({csHandleValid});
  POINT p{};
  GetCurrentPositionEx(handle_, &p);
  return p;
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  RECT r{};
  GetClipBox(handle_, &r);
  return r;
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Arc(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Chord(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Pie(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Ellipse(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Rectangle(handle_, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::RoundRect(handle_, x1, y1, x2, y2, x3, y3);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  RequiredState({csHandleValid});
  MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(handle_, x, y);
  Changed();
}

namespace {
std::vector<POINT> ToPoints(const std::vector<TPoint>& points) {
  std::vector<POINT> result(points.size());
  for (size_t i = 0; i < points.size(); ++i) result[i] = points[i];
  return result;
}
}  // namespace

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  const auto pts = ToPoints(points);
  ::Polyline(handle_, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  const auto pts = ToPoints(points);
  ::Polygon(handle_, pts.data(), static_cast<int>(pts.size()));
  Changed();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  const auto pts = ToPoints(points);
  ::PolyBezier(handle_, pts.data(), static_cast<DWORD>(pts.size()));
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  const RECT r = rect;
  ::FillRect(handle_, &r, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  const RECT r = rect;
  ::FrameRect(handle_, &r, brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  const RECT r = rect;
  ::DrawFocusRect(handle_, &r);
  Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ExtFloodFill(handle_, x, y, ColorToRGB(color), style == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
  Changed();
}

TColor TCanvas::Pixel(int x, int y) {
  RequiredState({csHandleValid});
  return static_cast<TColor>(GetPixel(handle_, x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  ::SetPixel(handle_, x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC sourceDC = source->Handle();
  StretchBlt(handle_, dest.Left, dest.Top, dest.Width(), dest.Height(), sourceDC, sourceRect.Left, sourceRect.Top,
             sourceRect.Width(), sourceRect.Height(), copyMode_);
  Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (graphic == nullptr || graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  SetBkColor(handle_, RGB(255, 255, 255));
  SetTextColor(handle_, RGB(0, 0, 0));
  graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
  state_.Exclude(csBrushValid);
  state_.Exclude(csFontValid);
  Changed();
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (graphic == nullptr || graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  graphic->Draw(this, rect);
  Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TGraphic* graphic, const TRect& sourceRect, TColor color) {
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  if (bitmap == nullptr || bitmap->Empty()) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  const int w = sourceRect.Width();
  const int h = sourceRect.Height();
  // Mask: 1 where the source has `color`.
  TMemoryDC maskDC = TMemoryDC::Create(handle_);
  TBitmapHandle mask(CheckGdi(CreateBitmap(w, h, 1, 1, nullptr)));
  TSelectGuard maskSel(maskDC.Get(), mask.Get());
  HDC srcDC = bitmap->Canvas()->Handle();
  const COLORREF oldBk = SetBkColor(srcDC, ColorToRGB(color));
  BitBlt(maskDC.Get(), 0, 0, w, h, srcDC, sourceRect.Left, sourceRect.Top, SRCCOPY);
  SetBkColor(srcDC, oldBk);
  // Source where the mask is 0, brush where it is 1.
  TMemoryDC workDC = TMemoryDC::Create(handle_);
  TBitmapHandle work(CheckGdi(CreateCompatibleBitmap(handle_, w, h)));
  TSelectGuard workSel(workDC.Get(), work.Get());
  BitBlt(workDC.Get(), 0, 0, w, h, srcDC, sourceRect.Left, sourceRect.Top, SRCCOPY);
  {
    TSelectGuard brushSel(workDC.Get(), brush_->Handle());
    const COLORREF oldText = SetTextColor(workDC.Get(), RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(workDC.Get(), RGB(255, 255, 255));
    BitBlt(workDC.Get(), 0, 0, w, h, maskDC.Get(), 0, 0, 0x00E20746);  // DSPDxax: brush where mask set
    SetTextColor(workDC.Get(), oldText);
    SetBkColor(workDC.Get(), oldBack);
  }
  StretchBlt(handle_, dest.Left, dest.Top, dest.Width(), dest.Height(), workDC.Get(), 0, 0, w, h, SRCCOPY);
  Changed();
}

TSize TCanvas::TextExtent(std::string_view text) {
  RequiredState({csHandleValid, csFontValid});
  const std::wstring wide = Utf8ToWide(text);
  SIZE size{0, 0};
  GetTextExtentPoint32W(handle_, wide.c_str(), static_cast<int>(wide.size()), &size);
  return {size.cx, size.cy};
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  const std::wstring wide = Utf8ToWide(text);
  ExtTextOutW(handle_, x, y, static_cast<UINT>(textFlags_), nullptr, wide.c_str(), static_cast<UINT>(wide.size()),
              nullptr);
  SIZE size{0, 0};
  GetTextExtentPoint32W(handle_, wide.c_str(), static_cast<int>(wide.size()), &size);
  MoveToEx(handle_, x + size.cx, y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED | static_cast<UINT>(textFlags_);
  if (brush_->Style() != bsClear) options |= ETO_OPAQUE;
  const std::wstring wide = Utf8ToWide(text);
  const RECT r = rect;
  ExtTextOutW(handle_, x, y, options, &r, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
  Changed();
}

UINT TextFormatToFlags(TTextFormat format) {
  static constexpr UINT kFlags[] = {
      DT_BOTTOM,     DT_CALCRECT,   DT_CENTER,     DT_EDITCONTROL,  DT_END_ELLIPSIS, DT_PATH_ELLIPSIS,
      DT_EXPANDTABS, DT_EXTERNALLEADING, DT_LEFT,  DT_MODIFYSTRING, DT_NOCLIP,       DT_NOPREFIX,
      DT_RIGHT,      DT_RTLREADING, DT_SINGLELINE, DT_TOP,          DT_VCENTER,      DT_WORDBREAK,
      DT_HIDEPREFIX, DT_NOFULLWIDTHCHARBREAK, DT_PREFIXONLY, DT_TABSTOP, DT_WORD_ELLIPSIS};
  UINT flags = 0;
  for (int i = 0; i <= tfWordEllipsis; ++i)
    if (format.Contains(static_cast<TTextFormats>(i))) flags |= kFlags[i];
  return flags;
}

void TCanvas::TextRect(TRect& rect, std::string& text, TTextFormat format) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  std::wstring wide = Utf8ToWide(text);
  const UINT flags = TextFormatToFlags(format);
  RECT r = rect;
  if (flags & DT_MODIFYSTRING) wide.resize(wide.size() + 4);
  ::DrawTextW(handle_, wide.data(), -1, &r, flags);
  if (flags & DT_MODIFYSTRING) text = WideToUtf8(wide.c_str());
  if (flags & DT_CALCRECT) rect = r;
  Changed();
}
