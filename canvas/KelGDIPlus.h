// TGDIPlusCanvas: the drawing surface on GDI+. It derives from the GDI canvas and puts its
// lines, shapes, fills (plain, hatch, texture and gradient brushes), pictures, shape shadows,
// pie highlights, text and paths through one GDI+ drawing object (antialiasing, alpha);
// projection, buffer bookkeeping and the 3D solids are the GDI canvas's. XOR and NOT-XOR pens,
// which GDI+ cannot draw, go through an unbuffered companion GDI canvas on the same device.
// Brushes and gradients are in KelGDIPlusBrushes.cpp, text in KelGDIPlusText.cpp.
//
// Drawing object life: made on the buffer bitmap (buffered) or on the device canvas when one is
// attached; replaced at every PrepareFrame when it is stale; after a buffered FinishFrame it
// is made on the device the frame went to. Without GDI+ (IsAvailable false) none is ever made:
// every drawing operation then does nothing, and the chart panel takes the GDI canvas instead.
//
// Clips: each push saves the drawing object's whole clip region; a pop puts that region back.
// Elements: each BeginElement pushes one entry (the saved world transform, and whether it
// pushed a clip); its EndElement restores exactly that.
//
// CurrentTransparency holds an alpha byte here (255 opaque); nested transparency multiplies.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "canvas/KelCanvas3D.h"
#include "canvas/KelGDIPOBJ.h"

// The names of GDI+ statuses 0..20.
extern const char* const GdiPlusStatusNames[21];
// Raises "GDI+ Error: N Name" for a status other than Ok ("Unknown" past the named ones).
void CheckGdiPlusStatus(TGpStatus status);

// Text quality of the GDI+ canvas (kept in DefaultFontQuality as the font quality of the same
// name: best, default, ClearType, normal).
enum TGDIPlusFontQuality { gpfBest, gpfDefault, gpfClearType, gpfNormal };

class TGDIPlusCanvas : public TKelCanvas3D {
 public:
  TGDIPlusCanvas();
  ~TGDIPlusCanvas() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- TKelCanvas operations ---------------------------------------------------------------
  void SetTargetCanvas(TCanvas* canvas) override;
  void ApplyBrush(TBrush* brush) override;
  void ApplyPen() override;
  void LineToCached(int x, int y) override;
  TColor QueryBackColor() override { return backColor_; }
  int GetBackMode() override { return backMode_; }
  int GetTextAlign() override { return textAlign_; }
  void SetSmoothing(bool on) override;
  void ChangeBackColor(TColor color) override;
  void SetBackMode(int mode) override;
  // While the cache is on, LineToCached and Polyline draw with the pen as prepared, unsmoothed.
  void SetDCCache(bool on) override {
    dcCache_ = on;
    SetSmoothing(!on);
  }
  void SetInterCharSpacing(int extra) override { interCharSpacing_ = extra; }
  void SetPixel(int x, int y, TColor color) override;
  void SetTextAlign(int align) override;
  void SetBuffered(bool value) override;
  TKelBlend* StartTransparency(const TRect& rect, std::uint8_t percent) override;
  void FinishTransparency(TKelBlend* blend) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void ArcByAngles(int left, int top, int right, int bottom, float startAngle, float endAngle) override;
  void ArcTo(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4, bool clockwise) override;
  void DrawDonutSlice(int xCentre, int yCentre, int xRadius, int yRadius, double startAngle, double endAngle,
                      double holePercent) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void FillRect(const TRect& rect) override;
  void GradientFillRect(const TRect& rect, TColor startColor, TColor endColor, KelCanvas::TGradientDirection direction,
                        int balance, int radialX, int radialY) override;
  void LineTo(int x, int y) override;
  void MovePenTo(int x, int y) override;
  void PieByAngles(const TRect& rect, double startAngle, double endAngle) override;
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) override;
  void ClipToRect(const TRect& rect) override;
  void ClipToRoundRect(const TRect& rect, int cornerWidth, int cornerHeight) override;
  void ClipToEllipse(const TRect& rect, bool invert) override;
  void ClipToPolygon(const TPointArray& points, int highIndex, int count, bool exclude) override;
  void PolyPoints(const TPointArray& points, int highIndex, float tension, bool closed) override;
  void HLine(int x0, int x1, int y) override;
  void VLine(int x, int y0, int y1) override;
  void LineSegment(int x0, int y0, int x1, int y1) override;
  void Polyline(const TPointArray& points, int highIndex) override;
  void PolylineF(const TPointFloatArray& points, int highIndex) override;
  void Polygon(const TPointArray& points, int highIndex) override;
  void PolygonF(const TPointFloatArray& points, int highIndex) override;
  void PopClip() override;
  void DrawGraphic(int x, int y, TGraphic* graphic) override;
  void DrawGraphicStretched(const TRect& rect, TGraphic* graphic) override;
  void ApplyFont() override;
  void TextOut(int x, int y, const std::string& text) override;
  void RotatedTextOut(int x, int y, const std::string& text, double angle, bool markUp) override;
  int MeasureTextWidth(const std::string& text) override;
  int MeasureTextHeight(const std::string& text) override;
  void MeasureTextF(const std::string& text, TPointFloat& size) override;
  TKelBasePath* NewPath() override;

  // ---- TCanvas3D operations ----------------------------------------------------------------
  int BeginElement(const std::string& name, int data, const TElementTransform* transform) override;
  void EndElement() override;
  bool UseDCBrush() override { return false; }
  void SetPixel3D(int x, int y, int z, TColor color) override;
  void HLine3D(int x0, int x1, int y, int z) override;
  void VLine3D(int x, int y0, int y1, int z) override;
  void DepthLine3D(int x, int y, int z0, int z1) override;
  void Line3D(int x0, int y0, int x1, int y1, int z) override;
  std::string GetDescription() override { return "GDI+"; }
  std::string GetEditorClassName() override { return "TGDIPlusEditor"; }
  bool IsAvailable() override;
  void PrepareFrame(TCanvas* canvas, TView3DOptions* options, TColor backColor, bool use3D, const TRect& rect,
                    TRect& drawRect) override;
  void FinishFrame(TCanvas* target, TCanvas* next, const TRect& rect) override;
  void RectangleAtZAlias(const TRect& rect, int z) override;
  void DrawShadowShape(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize, const TPointArray& points,
                       int highIndex, double holePercent, double startAngle, double endAngle) override;
  void FillShapeGradient(std::uint8_t mode, int z, const TRect& topRect, const TRect& outerRect,
                         const TRect& innerRect, int startAngle, int endAngle, TPoint centre, bool donut) override;
  void WriteText3D(int x, int y, int z, const std::string& text, bool markUp) override;

  // ---- Members -----------------------------------------------------------------------------
  // $AARRGGBB of a colour at `alpha`: system colours resolved first, clNone fully transparent;
  // a plain colour's high byte lowers the alpha.
  static TArgb ColorToArgb(TColor color, int alpha);
  // round((100 - percent) × 2.55 × alpha ÷ 255) with the canvas's current alpha.
  std::uint8_t AlphaFromTransparency(int percent) const;
  // GDI+ start angle and sweep of a pie from `start` to `end` degrees (counter-clockwise).
  static void PieSweepAngles(double start, double end, float& gdiStart, float& sweep);

  // Settings (each does nothing for an unchanged value; a change repaints through the 3D options).
  void ChangeAntialias(bool on);
  void ChangeScale(float scale);
  TGDIPlusFontQuality ReadAntiAliasText() const;
  void ChangeAntiAliasText(TGDIPlusFontQuality quality);

  // The drawing object, made when a target exists (nullptr otherwise or without GDI+).
  TGPGraphics* EnsureGraphics();
  TGPGraphics* Graphics() const { return graphics_.get(); }
  // The GDI+ pen as built for the canvas pen (nullptr until a drawing needs it).
  TGPPen* GdiPen() const { return pen_.get(); }
  // Builds the pen when needed; false when the canvas pen draws nothing.
  bool PreparePen();
  // A new GDI+ pen of colour `argb` with the canvas pen's width, dashes, caps and join.
  void CreateGdiPlusPen(TArgb argb);
  // The GDI+ pen prepared for the canvas pen; nullptr when the canvas pen draws nothing.
  TGPPen* PreparedPen() { return PreparePen() ? pen_.get() : nullptr; }
  // PreparePen; when it answers true and the pen's Fill has a visible gradient, the GDI+ pen is
  // filled with that gradient over `bounds` (left, top, right, bottom; the gradient's own
  // target rectangle wins when it is set). The pen fill brush is rebuilt at every call.
  bool PreparePenFillOver(const TRectFloat& bounds);
  // The pen of a shape without bounds of its own (a path): the gradient fill over the Fill's
  // target rectangle, or over `fallback` grown by half the pen width when that rectangle is
  // empty. nullptr when the pen draws nothing.
  TGPPen* PreparedPenUnbounded(const TRectFloat& fallback);
  // The GDI+ brush the pen is filled with; nullptr while the pen has no gradient fill.
  TGPBrush* PenFillBrush() const { return penFillBrush_.get(); }
  // ---- Brushes (each answers a new brush owned by the caller; never nullptr) ---------------
  // Texture (brush picture or bitmap), hatch or solid brush at the canvas alpha.
  TGPBrush* MakeGdiPlusPlainBrush(TKelBrush* brush);
  // The plain brush for a clear brush or one without a visible gradient (or without stops);
  // else a linear or path-gradient brush over (left, top, right, bottom).
  TGPBrush* MakeGdiPlusRectBrush(TKelBrush* brush, const TRectFloat& rect);
  // The gradient brush over the bounds of `points` (of GradientPolygon when it is not empty).
  TGPBrush* MakeGdiPlusGradientBrush(TKelBrush* brush, const TPointFloatArray& points);
  TGPBrush* MakeLinearGradientBrush(TCustomKelGradient* gradient, const TGPRectF& rect);
  // The preset blend of the gradient's stops in drawing order (positions rising from 0),
  // padded with the end colours at 0 and 1 so GDI+ accepts it. Empty for no stops.
  void FillPresetBlend(TCustomKelGradient* gradient, std::vector<TArgb>& colors, std::vector<float>& positions);
  TArgb StopToArgb(TKelGradientColor* stop) const;
  TGPBrush* MakeTextureBrush(TGPImage* bitmap);
  // Image attributes scaling alpha by alpha / 255; owned by the caller.
  static TGPImageAttributes* MakeAlphaAttributes(int alpha);
  static bool IsReversedDirection(KelCanvas::TGradientDirection direction);
  static int LinearGradientModeOf(KelCanvas::TGradientDirection direction);
  static int LinearGradientAngleOf(KelCanvas::TGradientDirection direction);
  // A GDI+ image of a bitmap; a Transparent one is copied with its transparent colour made
  // fully transparent. Owned by the caller.
  static TGPImage* BitmapToGdiPlusImage(TBitmap* bitmap);
  // The smooth-shadow fill: `color` at the centre fading to transparent at the edge.
  void FillSmoothShadow(TGPGraphicsPath& path, TColor color, double focus);
  // When not empty, the polygon whose bounds every gradient fill uses.
  TPointFloatArray GradientPolygon;

  // ---- Text --------------------------------------------------------------------------------
  TGPFont* GdiFont() const { return font_.get(); }
  // MeasureTextWidth, with the process-wide typographic format when `typographic`.
  int MeasureTextWidthFormat(const std::string& text, bool typographic);
  // A clone of the stored font's family of that name ("Dovudad" or the LCD font's family),
  // loading the stored fonts into the private collection on first use; nullptr otherwise.
  TGPFontFamily* FindPrivateFontFamily(const std::string& name);
  // The text angle in degrees of the next TextOut (0: unrotated).
  double TextAngle = 0;

  int ClipDepth() const { return static_cast<int>(clips_.size()); }
  int ElementDepth() const { return static_cast<int>(elements_.size()); }

  bool Antialias = true;
  float Scale = 1.0f;
  // The switch component that put this canvas on its panel (not owned; cleared by it).
  TObject* InstalledBy = nullptr;

 private:
  struct TElementEntry {
    std::unique_ptr<TGPMatrix> savedTransform;
    bool pushedClip = false;
  };

  void CreateGraphicsForDC(HDC dc);
  void RefreshGraphics();
  void SetAntialiasMode(bool on);
  void ApplySmoothing(bool on);
  void SetTextRenderingMode();
  void DropPen();
  // PreparePenFillOver a shape's rectangle grown by half the pen width on every side (one unit
  // more at the top for a width of 0 or an odd one, so a level line still has a gradient).
  bool PreparePenFill(float left, float top, float right, float bottom);
  bool PreparePenFill(const TRect& rect);
  // PreparePenFillOver the bounds of `points` grown by `grow` on every side.
  bool PreparePenFillOverPoints(const TPointFloatArray& points, float grow);
  bool IsXorPen();
  bool BrushIsClear();
  void PushClip();
  // Clip, offset, rotation and scale of `transform`; true when it pushed a clip.
  bool ApplyElementTransform(const TElementTransform& transform);
  void MakeRoundRectPath(TGPGraphicsPath& path, const TRect& rect, int cornerWidth, int cornerHeight);
  void FillAndOutline(TGPGraphicsPath& path, const TRect& rect);
  void XorLineSegment(int x0, int y0, int x1, int y1);
  TKelCanvas3D* Companion();
  void DrawLineBetween(int x0, int y0, int x1, int y1);
  // Replaces the fill brush; nullptr for a clear brush or without a drawing object.
  TGPBrush* FillBrushOver(const TRectFloat& rect);
  TGPBrush* FillBrushOverPoints(const TPointFloatArray& points);
  TGPBrush* KeepFillBrush(TGPBrush* brush);
  TGPBrush* MakePathGradient(TCustomKelGradient* gradient, TGPGraphicsPath& path);
  void FillPathGradientBlend(TCustomKelGradient* gradient, TGPPathGradientBrush& brush);
  TGPImage* GraphicToImage(TGraphic* graphic, const TRect& rect, std::unique_ptr<TBitmap>& keep);
  void DrawImageWithAlpha(TGPImage* image, int x, int y, int width, int height);
  void AddSliceHighlight(int z, const TRect& topRect, const TRect& innerRect, int startAngle, int endAngle,
                         TPoint centre, bool donut);
  void AddRimBand(std::uint8_t mode, int z, const TRect& topRect, const TRect& outerRect, int startAngle,
                  int endAngle);
  // Text.
  void DrawTextAt(const std::string& text, float x, float y);
  void DrawTextRun(const std::wstring& text, float x, float y, TColor color);
  void DrawOutlinedText(const std::wstring& text, float x, float y);
  TRect TextRectAt(const std::string& text, float x, float y);
  // The device pixels a rectangle of world coordinates covers (its bounds after the world
  // transform of the drawing object).
  TRect WorldToDevice(const TRect& rect);
  // Blurs the buffer bitmap under a smooth shadow (`grow`) or emboss copy of the text in
  // `textRect`, over the rectangle clamped to the buffer; nothing when that is empty.
  void BlurTextEffect(const TRect& textRect, TKelShadow* effect, bool grow);
  void LoadPrivateFonts();
  bool MeasureBounds(const std::wstring& text, TGPStringFormat* format, TGPRectF& bounds);

  // Declared in this order so the font goes before its collection, and the collection before
  // the font memory GDI+ keeps reading.
  std::vector<std::vector<unsigned char>> privateFontMemory_;
  std::unique_ptr<TGPPrivateFontCollection> privateFonts_;
  std::unique_ptr<TGPFont> font_;
  std::string fontName_;
  float fontSize_ = 0;
  int fontStyle_ = -1;
  // Text measured before, by font, format, rendering hint, resolution and text: a chart tick
  // measures the same legend rows and axis labels again, and GDI+ measuring is slow.
  std::map<std::wstring, TGPRectF> measured_;

  std::unique_ptr<TGPGraphics> graphics_;
  std::unique_ptr<TGPPen> pen_;
  // Set on the pen by PreparePenFillOver (GDI+ keeps its own copy); freed with the pen.
  std::unique_ptr<TGPBrush> penFillBrush_;
  std::unique_ptr<TGPBrush> fillBrush_;
  int penX_ = 0, penY_ = 0, penZ_ = 0;
  std::unique_ptr<TKelCanvas3D> companion_;
  std::vector<std::unique_ptr<TGPRegion>> clips_;
  std::vector<TElementEntry> elements_;
  TColor backColor_ = clWhite;
  int backMode_ = 2;
  int textAlign_ = 0;
  int interCharSpacing_ = 0;
  bool smoothing_ = false;
  bool dcCache_ = false;
  bool frameClipPushed_ = false;
  bool frameTransformed_ = false;
};

// Adds TGDIPlusCanvas to the canvas class list; the shut-down removes it and stops GDI+, so it
// runs once every window (and every chart canvas) is gone.
void KelGDIPlusStartup();
void KelGDIPlusShutdown();
