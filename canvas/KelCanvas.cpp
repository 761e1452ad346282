// TKelCanvas: the canvas objects and their device forms, the shared operations of the canvas
// interface (text measuring with effects, clipping shapes, arcs, bevels, check boxes,
// transparency groups) and the members the chart engine calls directly.
#include "canvas/KelCanvas.h"

#include <cmath>
#include <memory>
#include <numbers>

#include "canvas/CanvasUtils.h"
#include "canvas/ClipStack.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelHtml.h"
#include "canvas/KelPath.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/TextConv.h"

namespace {
constexpr double kDegToRad = std::numbers::pi / 180.0;

int RoundInt(long double v) { return static_cast<int>(Round(v)); }

// The pen style table: toolkit style to the Windows pen style.
DWORD WindowsPenStyle(TPenStyle style) {
  switch (style) {
    case psSolid: return PS_SOLID;
    case psDash: return PS_DASH;
    case psDot: return PS_DOT;
    case psDashDot: return PS_DASHDOT;
    case psDashDotDot: return PS_DASHDOTDOT;
    case psClear: return PS_NULL;
    case psInsideFrame: return PS_INSIDEFRAME;
    default: return PS_SOLID;
  }
}

DWORD EndCapBits(TPenEndStyle style) {
  switch (style) {
    case esSquare: return PS_ENDCAP_SQUARE;
    case esFlat: return PS_ENDCAP_FLAT;
    default: return PS_ENDCAP_ROUND;
  }
}

DWORD JoinBits(TPenJoinStyle style) {
  switch (style) {
    case jsBevel: return PS_JOIN_BEVEL;
    case jsMitter: return PS_JOIN_MITER;
    default: return PS_JOIN_ROUND;
  }
}

// The device pen `d` made from chart pen `p` in colour `color`.
void MakeDevicePen(TKelPen& p, TColor color, TPen& d) {
  LOGBRUSH brush{BS_SOLID, ColorToRGB(color), 0};
  if (p.SmallDots() && p.Style() != psClear) {
    HPEN pen;
    if (p.SmallSpace() <= 0) {
      pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    } else {
      const DWORD styles[2] = {0, static_cast<DWORD>(p.SmallSpace() + 1)};
      pen = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, &brush, 2, styles);
    }
    d.SetHandle(pen);
    d.SetMode(p.Mode());
  } else if (p.Width() < 2) {
    d.Assign(&p);
    d.SetColor(color);
  } else {
    d.Assign(&p);
    d.SetColor(color);
    const DWORD style = PS_GEOMETRIC | WindowsPenStyle(p.Style()) | EndCapBits(p.EndStyle()) | JoinBits(p.JoinStyle());
    d.SetHandle(ExtCreatePen(style, static_cast<DWORD>(p.Width()), &brush, 0, nullptr));
  }
}
}  // namespace

TKelCanvas::TKelCanvas()
    : brush_(new TKelBrush(TNotifyEvent(this, &TKelCanvas::BrushChanged))),
      font_(new TKelFont(TNotifyEvent(this, &TKelCanvas::FontChanged))),
      pen_(new TKelPen(TNotifyEvent(this, &TKelCanvas::PenChanged))),
      devicePen_(new TPen()),
      deviceBrush_(new TBrush()),
      deviceFont_(new TFont()) {
  devicePen_->OnChange = TNotifyEvent(this, &TKelCanvas::DeviceObjectChanged);
  deviceBrush_->OnChange = TNotifyEvent(this, &TKelCanvas::DeviceObjectChanged);
  deviceFont_->OnChange = TNotifyEvent(this, &TKelCanvas::DeviceObjectChanged);
}

TKelCanvas::~TKelCanvas() {
  ReleaseDeviceObjects();
  DropClipEntries(this);
  delete pen_;
  delete brush_;
  delete font_;
  delete devicePen_;
  delete deviceBrush_;
  delete deviceFont_;
}

const TClassInfo& TKelCanvas::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelCanvas>("TKelCanvas", &TObject::StaticClass()).Abstract().Build();
  return info;
}

void TKelCanvas::PenChanged(TObject*) { ApplyPen(); }
void TKelCanvas::BrushChanged(TObject*) { ApplyBrush(brush_); }
void TKelCanvas::FontChanged(TObject*) {
  if (!FontLock) ApplyFont();
}

// A device object is about to drop its handle: take it out of the DC first (the stock object
// of its kind goes in; the next drawing call selects the new handle).
void TKelCanvas::DeviceObjectChanged(TObject* sender) {
  if (selectedDC_ == nullptr) return;
  if (sender == devicePen_) {
    SelectObject(selectedDC_, GetStockObject(BLACK_PEN));
  } else if (sender == deviceBrush_) {
    SelectObject(selectedDC_, GetStockObject(WHITE_BRUSH));
  } else if (sender == deviceFont_ && GetCurrentObject(selectedDC_, OBJ_FONT) == selectedFont_) {
    // Only when it is our font that is selected; a text font made for drawing stays.
    SelectObject(selectedDC_, GetStockObject(SYSTEM_FONT));
  }
}

void TKelCanvas::ReleaseDeviceObjects() {
  if (selectedDC_ == nullptr) return;
  SelectObject(selectedDC_, GetStockObject(BLACK_PEN));
  SelectObject(selectedDC_, GetStockObject(WHITE_BRUSH));
  SelectObject(selectedDC_, GetStockObject(SYSTEM_FONT));
  selectedDC_ = nullptr;
}

HDC TKelCanvas::PreparedDC(bool withFont) {
  if (deviceCanvas_ == nullptr) return nullptr;
  HDC dc = deviceCanvas_->Handle();
  deviceCanvas_->Refresh();
  if (selectedDC_ != nullptr && selectedDC_ != dc) ReleaseDeviceObjects();
  SelectObject(dc, devicePen_->Handle());
  // The mix mode is device state, not part of the GDI pen: it goes with the device pen on every
  // selection (as the toolkit canvas does for its own pen), so a thin pen in pmXor or pmNotXor
  // mixes like a wide one.
  SetROP2(dc, PenModeToROP2(devicePen_->Mode()));
  SelectObject(dc, deviceBrush_->Handle());
  if (withFont) {
    selectedFont_ = deviceFont_->Handle();
    SelectObject(dc, selectedFont_);
  }
  selectedDC_ = dc;
  return dc;
}

// ---- Operations ------------------------------------------------------------------------------

void TKelCanvas::SetTargetCanvas(TCanvas* canvas) {
  // The device canvas keeps its own change notifications: they keep its selections valid.
  if (canvas != deviceCanvas_) {
    ReleaseDeviceObjects();
    // Clips this canvas left pushed belong to the device it lets go of.
    DropClipEntries(this);
  }
  deviceCanvas_ = canvas;
}

void TKelCanvas::ApplyBrush(TBrush* brush) {
  deviceBrush_->Assign(brush);
  if (deviceCanvas_ == nullptr) return;
  HDC dc = GetDeviceHandle();
  auto* kel = dynamic_cast<TKelBrush*>(brush);
  const TColor back = kel != nullptr ? kel->BackColor() : clNone;
  if (back == clNone || brush->Style() == bsClear) {
    SetBkMode(dc, TRANSPARENT);
  } else if (brush->Style() >= bsHorizontal) {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(back));
  }
}

void TKelCanvas::ApplyFont() {
  if (font_ == nullptr || deviceCanvas_ == nullptr) return;
  SetInterCharSpacing(font_->InterCharSize());
  const int saved = deviceFont_->PixelsPerInch();
  deviceFont_->SetPixelsPerInch(font_->PixelsPerInch());
  deviceFont_->Assign(font_);
  deviceFont_->SetPixelsPerInch(saved);
}

void TKelCanvas::ApplyPen() {
  if (pen_->Visible()) {
    if (KelIsNTPlatform() && !SupportsFull3D()) {
      MakeDevicePen(*pen_, pen_->Color(), *devicePen_);
      ApplyPenMode(pen_);
    }
  } else if (devicePen_->Style() != psClear) {
    devicePen_->SetStyle(psClear);
  }
}

void TKelCanvas::SetInterCharSpacing(int extra) {
  if (deviceCanvas_ == nullptr) return;
  HDC dc = GetDeviceHandle();
  if (GetTextCharacterExtra(dc) != extra) SetTextCharacterExtra(dc, extra);
}

void TKelCanvas::ApplyPenMode(TPen* pen) {
  auto* kel = dynamic_cast<TKelPen*>(pen);
  if (kel == nullptr || kel->Width() <= 1 || kel->EndStyle() == esRound || deviceCanvas_ == nullptr) return;
  SetROP2(GetDeviceHandle(), PenModeToROP2(kel->Mode()));
}

void TKelCanvas::UseBrushColors(TKelBrush* brush, TColor foreColor, TColor backColor) {
  TNotifyEvent saved = brush_->OnChange;
  brush_->OnChange = nullptr;
  brush_->Assign(brush);
  if (brush->Style() != bsClear) brush_->SetColor(IsMonochrome() ? clWhite : foreColor);
  brush_->SetBackColor(backColor);
  brush_->OnChange = saved;
  ApplyBrush(brush_);
}

void TKelCanvas::UsePenColor(TKelPen* pen, TColor color) {
  TNotifyEvent saved = pen_->OnChange;
  pen_->OnChange = nullptr;
  if (pen->Visible()) {
    pen_->Assign(pen);
    pen_->SetColor(IsMonochrome() ? clBlack : color);
  } else {
    pen_->SetStyle(psClear);
  }
  pen_->OnChange = saved;
  ApplyPen();
}

TKelBlend* TKelCanvas::StartTransparency(const TRect& rect, std::uint8_t percent) {
  TransparencyStack.push_back(CurrentTransparency);
  CurrentTransparency =
      static_cast<std::uint8_t>(100 - RoundInt((100 - CurrentTransparency) * (100 - percent) * 0.01L));
  return new TKelBlend(this, rect);
}

void TKelCanvas::FinishTransparency(TKelBlend* blend) {
  if (blend != nullptr) {
    ApplyBlend(blend, CurrentTransparency);
    delete blend;
  }
  if (!TransparencyStack.empty()) {
    CurrentTransparency = TransparencyStack.back();
    TransparencyStack.pop_back();
  } else {
    CurrentTransparency = 0;
  }
}

void TKelCanvas::ArcByAngles(int left, int top, int right, int bottom, float startAngle, float endAngle) {
  const int hw = (right - left) / 2;
  const int hh = (bottom - top) / 2;
  const int cx = left + hw;
  const int cy = top + hh;
  auto point = [&](double degrees) {
    const double a = degrees * kDegToRad;
    return TPoint(RoundInt(std::cos(a) * hw) + cx, cy - RoundInt(std::sin(a) * hh));
  };
  const TPoint from = point(std::min(startAngle, endAngle));
  const TPoint to = point(std::max(startAngle, endAngle));
  Arc(left, top, right, bottom, from.X, from.Y, to.X, to.Y);
}

void TKelCanvas::ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4, bool clockwise) {
  HDC dc = PreparedDC();
  if (dc == nullptr) return;
  if (clockwise) SetArcDirection(dc, AD_CLOCKWISE);
  ::ArcTo(dc, left, top, right, bottom, x3, y3, x4, y4);
  if (clockwise) SetArcDirection(dc, AD_COUNTERCLOCKWISE);
}

void TKelCanvas::DrawBevelFrame(TRect& rect, TColor topColor, TColor bottomColor, int width) {
  TNotifyEvent saved = pen_->OnChange;
  pen_->OnChange = nullptr;
  pen_->SetWidth(1);
  pen_->SetStyle(psSolid);
  if (pen_->HasFill() && pen_->Fill()->HasGradient()) pen_->Fill()->Gradient()->SetVisible(false);
  pen_->OnChange = saved;
  ApplyPen();
  --rect.Bottom;
  --rect.Right;
  for (int i = 0; i < width; ++i) {
    pen_->SetColor(topColor);
    Polyline({TPoint(rect.Left, rect.Bottom), TPoint(rect.Left, rect.Top), TPoint(rect.Right, rect.Top)}, 2);
    pen_->SetColor(bottomColor);
    Polyline({TPoint(rect.Right, rect.Top), TPoint(rect.Right, rect.Bottom), TPoint(rect.Left - 1, rect.Bottom)}, 2);
    InflateRectBy(rect, -1, -1);
  }
  ++rect.Bottom;
  ++rect.Right;
}

void TKelCanvas::LineToF(const TPointFloat& p) { LineTo(RoundInt(p.X), RoundInt(p.Y)); }
void TKelCanvas::MovePenToF(const TPointFloat& p) { MovePenTo(RoundInt(p.X), RoundInt(p.Y)); }

void TKelCanvas::EffectExtra(int& extraWidth, int& extraHeight) {
  extraWidth = 0;
  extraHeight = 0;
  if (font_->HasShadow() && font_->Shadow()->Visible()) {
    extraWidth += std::abs(font_->Shadow()->HorizSize());
    extraHeight += std::abs(font_->Shadow()->VertSize());
  }
  if (font_->HasEmboss() && font_->Emboss()->Visible()) {
    extraWidth += std::abs(font_->Emboss()->HorizSize());
    extraHeight += std::abs(font_->Emboss()->VertSize());
  }
}

TSize TKelCanvas::DeviceTextExtent(const std::wstring& text) {
  HDC dc = PreparedDC();
  SIZE size{0, 0};
  if (dc != nullptr) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return TSize{size.cx, size.cy};
}

int TKelCanvas::MeasureTextHeight(const std::string& text) { return MeasureTextHeightW(Utf8ToWide(text)); }
int TKelCanvas::MeasureTextWidth(const std::string& text) { return MeasureTextWidthW(Utf8ToWide(text)); }
void TKelCanvas::MeasureTextF(const std::string& text, TPointFloat& size) { MeasureTextWF(Utf8ToWide(text), size); }

int TKelCanvas::MeasureTextHeightW(const std::wstring& text) {
  int w, h;
  EffectExtra(w, h);
  return DeviceTextExtent(text).cy + h;
}

int TKelCanvas::MeasureTextWidthW(const std::wstring& text) {
  int w, h;
  EffectExtra(w, h);
  return DeviceTextExtent(text).cx + w;
}

void TKelCanvas::MeasureTextWF(const std::wstring& text, TPointFloat& size) {
  int w, h;
  EffectExtra(w, h);
  const TSize extent = DeviceTextExtent(text);
  size.X = static_cast<float>(extent.cx + w);
  size.Y = static_cast<float>(extent.cy + h);
}

namespace {
// The rect converted from logical to device coordinates.
RECT DeviceRect(HDC dc, const TRect& rect) {
  POINT pts[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
  LPtoDP(dc, pts, 2);
  return RECT{pts[0].x, pts[0].y, pts[1].x, pts[1].y};
}
}  // namespace

void TKelCanvas::ClipToRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) {
  HDC dc = GetDeviceHandle();
  const RECT r = DeviceRect(dc, rect);
  PushClipRegion(dc, CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight), RGN_AND, this);
}

void TKelCanvas::ClipToEllipse(const TRect& rect, bool invert) {
  HDC dc = GetDeviceHandle();
  const RECT r = invert ? RECT(rect) : DeviceRect(dc, rect);
  PushClipRegion(dc, CreateEllipticRgn(r.left, r.top, r.right, r.bottom), invert ? RGN_XOR : RGN_AND, this);
}

void TKelCanvas::ClipToPolygon(const TPointArray& points, int highIndex, int count, bool exclude) {
  HDC dc = GetDeviceHandle();
  count = std::min<int>({count, highIndex + 1, static_cast<int>(points.size())});
  std::vector<POINT> pts(std::max(count, 0));
  for (int i = 0; i < count; ++i) pts[i] = points[i];
  if (GetMapMode(dc) != MM_TEXT && count > 0) LPtoDP(dc, pts.data(), count);
  HRGN region = count >= 3 ? CreatePolygonRgn(pts.data(), count, ALTERNATE) : nullptr;
  PushClipRegion(dc, region, exclude ? RGN_DIFF : RGN_AND, this);
}

TKelBasePath* TKelCanvas::NewPath() { return new TKelPath(*this); }

void TKelCanvas::PolyPoints(const TPointArray& points, int highIndex, float, bool closed) {
  if (closed) {
    Polygon(points, highIndex);
  } else {
    Polyline(points, highIndex);
  }
}

void TKelCanvas::HLine(int x0, int x1, int y) {
  MovePenTo(x0, y);
  LineTo(x1, y);
}

void TKelCanvas::VLine(int x, int y0, int y1) {
  MovePenTo(x, y0);
  LineTo(x, y1);
}

void TKelCanvas::LineSegment(int x0, int y0, int x1, int y1) {
  MovePenTo(x0, y0);
  LineTo(x1, y1);
}

void TKelCanvas::DrawCheckBox(int x, int y, bool checked, int, bool isCheckBox) {
  SetTextAlign(0);
  HDC dc = PreparedDC();
  if (dc == nullptr) return;
  RECT r{x, y, x + 13, y + 13};
  UINT state = isCheckBox ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO;
  if (checked) state |= DFCS_CHECKED;
  DrawFrameControl(dc, &r, DFC_BUTTON, state);
}

// ---- Direct members --------------------------------------------------------------------------

void TKelCanvas::UsePen(TKelPen* pen) { UsePenColor(pen, pen->Color()); }
void TKelCanvas::UseBrush(TKelBrush* brush) { UseBrushColors(brush, brush->Color(), brush->BackColor()); }
void TKelCanvas::UseBrushInColor(TKelBrush* brush, TColor color) { UseBrushColors(brush, color, brush->Color()); }

void TKelCanvas::AssignFontSized(TKelFont* font, float size) {
  if (TextZoomActive && TextZoom != 100) size = static_cast<float>(TextZoom * size * 0.01);
  FontLock = true;
  font_->Assign(font);
  font_->SetSizeFloat(size);
  if (IsMonochrome()) font_->SetColor(clBlack);
  FontLock = false;
  ApplyFont();
}

void TKelCanvas::AssignFont(TKelFont* font) { AssignFontSized(font, font->SizeFloat()); }

void TKelCanvas::ResetToDefaults() {
  pen_->SetColor(clBlack);
  pen_->SetWidth(1);
  pen_->SetStyle(psSolid);
  brush_->SetColor(clWhite);
  brush_->SetStyle(bsSolid);
  brush_->SetImage(nullptr);
  font_->SetColor(clBlack);
  font_->SetStyle({});
  font_->SetCharset(DEFAULT_CHARSET);
  font_->SetName(KelDefaultFontName);
  font_->SetSize(KelDefaultFontSize);
  if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) {
    font_->SetSize(-MulDiv(DefaultFontHeight(), 72, ScreenPixelsPerInch()));
  }
  BrushGradient()->ResetDefaults();
  ChangeBackColor(clWhite);
  SetBackMode(TRANSPARENT);
  SetTextAlign(0);
}

TKelGradient* TKelCanvas::BrushGradient() { return brush_->Gradient(); }

bool TKelCanvas::BrushHasGradient() const { return brush_->Style() != bsClear && brush_->HasVisibleGradient(); }

void TKelCanvas::TextOutAllowMarkup(int x, int y, const std::string& text, bool markUp) {
  if (markUp) {
    MarkupTextOut(*this, x, y, text);
  } else {
    TextOut(x, y, text);
  }
}

TColor TKelCanvas::ColorToRGBValue(TColor color) {
  if (color == clNone) return 0;
  const auto u = static_cast<unsigned>(color);
  if (u >= 0xFF000000u && u <= 0xFF00001Eu) return static_cast<TColor>(ColorToRGB(color));
  return color;
}

void TKelCanvas::DrawCorneredRect(const TRect& rect, int cornerWidth, int cornerHeight, const TKelCorners* corners) {
  if (corners == nullptr) {
    RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, cornerWidth, cornerHeight);
    return;
  }
  std::unique_ptr<TKelBasePath> path(BuildCornerPath(*corners, *this, rect, cornerWidth, cornerHeight));
  path->DrawPath(*this);
}

void TKelCanvas::ArcAngles(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4,
                           float& startAngle, float& endAngle) {
  const double cx = (left + right) * 0.5;
  const double cy = (top + bottom) * 0.5;
  auto angle = [&](int x, int y) {
    double a = std::atan2(cy - y, x - cx);
    if (a < 0) a += 2 * std::numbers::pi;
    return static_cast<float>(a / kDegToRad);
  };
  startAngle = angle(x3, y3);
  endAngle = angle(x4, y4);
}

TPointArray TKelCanvas::BuildArrowPolygon(TPoint from, TPoint to, int headLength, int headWidth, double bodyPercent) {
  if (from == to) return {};
  const double d = PointDistance(to.X - from.X, to.Y - from.Y);
  const double f = (from.Y - to.Y) / d;
  const double g = (to.X - from.X) / d;
  // Along-axis coordinate s and across-axis coordinate t of a point, and back.
  auto along = [&](TPoint p) { return p.X * g - p.Y * f; };
  auto across = [&](TPoint p) { return p.X * f + p.Y * g; };
  auto point = [&](double s, double t) { return TPoint(RoundInt(s * g + t * f), RoundInt(-s * f + t * g)); };
  const double t0 = across(from);
  const double s0 = along(from);
  const double s1 = along(to);
  const double e = std::min<double>(headLength, RoundInt(d));
  const double w = headWidth * bodyPercent * 0.005;
  return {point(s0, t0 + w), point(s0, t0 - w), point(s1 - e, t0 - w), point(s1 - e, t0 - headWidth / 2.0),
          to,                point(s1 - e, t0 + headWidth / 2.0),         point(s1 - e, t0 + w)};
}

void TKelCanvas::SetDarkenedBrush(TColor color, int amount) {
  const TColor dark = DarkenRGB(color, amount);
  if (brush_->Style() == bsSolid) {
    brush_->SetColor(dark);
  } else {
    ChangeBackColor(dark);
  }
}
