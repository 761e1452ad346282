// TKelCanvas: the first layer of the drawing surface every chart draws through. It owns the
// canvas pen, brush and font (whose changes reach the device through ApplyPen/ApplyBrush/
// ApplyFont), holds the state all canvases share (device canvas, text zoom, transparency
// groups, rotation centre) and declares operations 0-73 of the canvas interface in their fixed
// order. Operations it leaves abstract raise the run-time library's abstract-call error; the
// GDI canvas (TKelCanvas3D) implements all of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/CanvasTypes.h"
#include "canvas/KelGradient.h"
#include "toolkit/classes/Object.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

class TCanvas;
class TBrush;
class TPen;
class TFont;
class TGraphic;
class TKelBrush;
class TKelPen;
class TKelFont;
class TKelBlend;
class TKelBasePath;
class TKelCorners;

enum TCanvasStretchQuality { sqHigh, sqLow };

class TKelCanvas : public TObject {
 public:
  TKelCanvas();
  ~TKelCanvas() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- Operations 0-73 -------------------------------------------------------------------
  /* 0 */ virtual void SetTargetCanvas(TCanvas* canvas);
  /* 1 */ virtual void ApplyBrush(TBrush* brush);
  /* 2 */ virtual void ApplyFont();
  /* 3 */ virtual void ApplyPen();
  /* 4 */ virtual void LineToCached(int x, int y) { LineTo(x, y); }
  /* 5 */ virtual TColor QueryBackColor() { AbstractError(); }
  /* 6 */ virtual int GetBackMode() { AbstractError(); }
  /* 7 */ virtual HDC GetDeviceHandle() { AbstractError(); }
  /* 8 */ virtual int ReservedQuery() { AbstractError(); }
  /* 9 */ virtual bool IsMonochrome() { AbstractError(); }
  /* 10 */ virtual TColor GetPixel(int, int) { AbstractError(); }
  /* 11 */ virtual bool SupportsFull3D() { AbstractError(); }
  /* 12 */ virtual bool CanDrawDirect() { AbstractError(); }
  /* 13 */ virtual int GetTextAlign() { AbstractError(); }
  /* 14 */ virtual bool GetBuffered() { AbstractError(); }
  /* 15 */ virtual void SetSmoothing(bool) {}
  /* 16 */ virtual void ChangeBackColor(TColor) { AbstractError(); }
  /* 17 */ virtual void SetBackMode(int) { AbstractError(); }
  /* 18 */ virtual void SetDCCache(bool) { AbstractError(); }
  /* 19 */ virtual void SetInterCharSpacing(int extra);
  /* 20 */ virtual void ChangeMonochrome(bool) { AbstractError(); }
  /* 21 */ virtual void ApplyPenMode(TPen* pen);
  /* 22 */ virtual void SetPixel(int, int, TColor) { AbstractError(); }
  /* 23 */ virtual void SetTextAlign(int) { AbstractError(); }
  /* 24 */ virtual void SetBuffered(bool) { AbstractError(); }
  /* 25 */ virtual TPointFloatArray ClearFloatPoints(float, float, float, float) { return {}; }
  /* 26 */ virtual void UseBrushColors(TKelBrush* brush, TColor foreColor, TColor backColor);
  /* 27 */ virtual void UsePenColor(TKelPen* pen, TColor color);
  /* 28 */ virtual TKelBlend* StartTransparency(const TRect& rect, std::uint8_t percent);
  /* 29 */ virtual void FinishTransparency(TKelBlend* blend);
  /* 30 */ virtual void Arc(int, int, int, int, int, int, int, int) { AbstractError(); }
  /* 31 */ virtual void ArcByAngles(int left, int top, int right, int bottom, float startAngle, float endAngle);
  /* 32 */ virtual void ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4,
                              bool clockwise);
  /* 33 */ virtual void DrawDonutSlice(int, int, int, int, double, double, double) { AbstractError(); }
  /* 34 */ virtual void DrawGraphic(int, int, TGraphic*) { AbstractError(); }
  /* 35 */ virtual void Ellipse(int, int, int, int) { AbstractError(); }
  /* 36 */ virtual void FillRect(const TRect&) { AbstractError(); }
  /* 37 */ virtual void DrawBevelFrame(TRect& rect, TColor topColor, TColor bottomColor, int width);
  /* 38 */ virtual void LineTo(int, int) { AbstractError(); }
  /* 39 */ virtual void LineToF(const TPointFloat& p);
  /* 40 */ virtual void MovePenTo(int, int) { AbstractError(); }
  /* 41 */ virtual void MovePenToF(const TPointFloat& p);
  /* 42 */ virtual void PieByAngles(const TRect&, double, double) { AbstractError(); }
  /* 43 */ virtual void Pie(int, int, int, int, int, int, int, int) { AbstractError(); }
  /* 44 */ virtual void Rectangle(int, int, int, int) { AbstractError(); }
  /* 45 */ virtual void RoundRect(int, int, int, int, int, int) { AbstractError(); }
  /* 46 */ virtual void DrawGraphicStretched(const TRect&, TGraphic*) { AbstractError(); }
  /* 47 */ virtual void TextOut(int, int, const std::string&) { AbstractError(); }
  /* 48 */ virtual int MeasureTextHeight(const std::string& text);
  /* 49 */ virtual void MeasureTextF(const std::string& text, TPointFloat& size);
  /* 50 */ virtual int MeasureTextWidth(const std::string& text);
  /* 51 */ virtual int MeasureTextHeightW(const std::wstring& text);
  /* 52 */ virtual void MeasureTextWF(const std::wstring& text, TPointFloat& size);
  /* 53 */ virtual int MeasureTextWidthW(const std::wstring& text);
  /* 54 */ virtual void ClipToRect(const TRect&) { AbstractError(); }
  /* 55 */ virtual void ClipToRoundRect(const TRect& rect, int cornerWidth, int cornerHeight);
  /* 56 */ virtual void ClipToEllipse(const TRect& rect, bool invert);
  /* 57 */ virtual void ClipToPolygon(const TPointArray& points, int highIndex, int count, bool exclude);
  /* 58 */ virtual TKelBasePath* NewPath();
  /* 59 */ virtual void PolyPoints(const TPointArray& points, int highIndex, float tension, bool closed);
  /* 60 */ virtual void HLine(int x0, int x1, int y);
  /* 61 */ virtual void VLine(int x, int y0, int y1);
  /* 62 */ virtual void DrawCheckBox(int x, int y, bool checked, int unused, bool isCheckBox);
  /* 63 */ virtual void FillRectAlias(const TRect&) { AbstractError(); }
  /* 64 */ virtual void GradientFillRect(const TRect&, TColor, TColor, KelCanvas::TGradientDirection, int, int, int) {
    AbstractError();
  }
  /* 65 */ virtual void InvalidateBuffer() { AbstractError(); }
  /* 66 */ virtual void LineSegment(int x0, int y0, int x1, int y1);
  /* 67 */ virtual void Polyline(const TPointArray&, int) { AbstractError(); }
  /* 68 */ virtual void PolylineF(const TPointFloatArray&, int) { AbstractError(); }
  /* 69 */ virtual void Polygon(const TPointArray&, int) { AbstractError(); }
  /* 70 */ virtual void PolygonAlias(const TPointArray& points, int highIndex) { Polygon(points, highIndex); }
  /* 71 */ virtual void PolygonF(const TPointFloatArray&, int) { AbstractError(); }
  /* 72 */ virtual void RotatedTextOut(int, int, const std::string&, double, bool) { AbstractError(); }
  /* 73 */ virtual void PopClip() { AbstractError(); }

  // ---- Members called directly -------------------------------------------------------------
  void UsePen(TKelPen* pen);
  void UseBrush(TKelBrush* brush);
  void UseBrushInColor(TKelBrush* brush, TColor color);
  // Copies `font` into Font at `size` points (scaled by TextZoom when active), then ApplyFont.
  void AssignFontSized(TKelFont* font, float size);
  void AssignFont(TKelFont* font);
  void ResetToDefaults();
  int LineHeight() { return MeasureTextHeight("W"); }
  TKelGradient* BrushGradient();
  // Brush style not clear and its gradient visible.
  bool BrushHasGradient() const;
  void RectangleFromRect(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void EllipseFromRect(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void LineBetween(TPoint p0, TPoint p1) { LineSegment(p0.X, p0.Y, p1.X, p1.Y); }
  TKelBasePath* NewEmptyPath() { return NewPath(); }
  // Mark-up text (MarkupTextOut) when markUp is set, else TextOut.
  void TextOutAllowMarkup(int x, int y, const std::string& text, bool markUp);
  static TColor ColorToRGBValue(TColor color);
  static int ColorAlpha(TColor color) { return (static_cast<unsigned>(color) >> 24) & 0xFF; }
  static TColor ColorWithAlpha(TColor color, int alpha) {
    return static_cast<TColor>((static_cast<unsigned>(alpha) << 24) | (static_cast<unsigned>(color) & 0xFFFFFF));
  }
  void DrawCorneredRect(const TRect& rect, int cornerWidth, int cornerHeight, const TKelCorners* corners);
  static void ArcAngles(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4,
                        float& startAngle, float& endAngle);
  void SetDarkenedBrush(TColor color, int amount);
  // The seven corners of an arrow from `from` to the tip `to`: the body (width headWidth ×
  // bodyPercent %), the head (headLength long, capped at the arrow's length, headWidth wide)
  // and back. Empty when from = to.
  static TPointArray BuildArrowPolygon(TPoint from, TPoint to, int headLength, int headWidth, double bodyPercent);

  // ---- Shared state ------------------------------------------------------------------------
  TKelBrush* Brush() const { return brush_; }
  TCanvas* DeviceCanvas() const { return deviceCanvas_; }
  TKelFont* Font() const { return font_; }
  TKelPen* Pen() const { return pen_; }
  TCanvasStretchQuality StretchQuality = sqHigh;
  bool NoBitmapEffects = false;
  bool FontLock = false;
  std::vector<std::uint8_t> TransparencyStack;
  TRect Bounds;
  double TextZoom = 0;
  bool SupportsAlpha = false;
  bool TextZoomActive = false;
  bool RotateAroundCentre = false;
  TPoint TextCentre;
  std::uint8_t CurrentTransparency = 0;

 // The device pen, brush and font: what ApplyPen/ApplyBrush/ApplyFont make from the canvas
  // objects, selected into the device context before each drawing call.
  TPen* DevicePen() const { return devicePen_; }
  TBrush* DeviceBrush() const { return deviceBrush_; }
  TFont* DeviceFont() const { return deviceFont_; }
  // The device context with the device pen, brush and (unless withFont is false) font selected,
  // the device canvas's own objects deselected first; nullptr without a device canvas.
  HDC PreparedDC(bool withFont = true);

 protected:
  // The shadow and emboss sizes that MeasureText* add to the device extent.
  void EffectExtra(int& extraWidth, int& extraHeight);
  TSize DeviceTextExtent(const std::wstring& text);
  // Puts the DC's stock objects back where the device objects were selected.
  void ReleaseDeviceObjects();

 private:
  void PenChanged(TObject*);
  void BrushChanged(TObject*);
  void FontChanged(TObject*);

  void DeviceObjectChanged(TObject*);

  TKelBrush* brush_;
  TCanvas* deviceCanvas_ = nullptr;
  TKelFont* font_;
  TKelPen* pen_;
  TPen* devicePen_;
  TBrush* deviceBrush_;
  TFont* deviceFont_;
  HDC selectedDC_ = nullptr;    // where the device objects are selected
  HFONT selectedFont_ = nullptr;  // the device font's handle as last selected
};
