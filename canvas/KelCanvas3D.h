// TKelCanvas3D: the GDI canvas. It implements the canvas interface with plain GDI calls on the
// device context of its device canvas: device pen, brush and font from the canvas objects, 2D
// primitives with picture fills, text with shadow, emboss, outline and rotation, clipping
// through the shared clip stack, buffered drawing into an off-screen bitmap, and the 3D
// projection (ProjectIntPoint, Project3DF, ProjectInverse) of the chart's view options.
// Adds operations 141-145.
#pragma once

#include <array>
#include <memory>

#include "canvas/Canvas3D.h"

class TBitmap;

class TKelCanvas3D : public TCanvas3D {
 public:
  TKelCanvas3D();
  ~TKelCanvas3D() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- TKelCanvas operations ---------------------------------------------------------------
  void LineToCached(int x, int y) override;
  TColor QueryBackColor() override;
  int GetBackMode() override;
  HDC GetDeviceHandle() override;
  int ReservedQuery() override { return 0; }
  bool IsMonochrome() override { return MonochromeOn; }
  TColor GetPixel(int x, int y) override;
  bool SupportsFull3D() override { return false; }
  bool CanDrawDirect() override { return true; }
  int GetTextAlign() override;
  bool GetBuffered() override { return Buffered; }
  void ChangeBackColor(TColor color) override;
  void SetBackMode(int mode) override;
  void SetDCCache(bool active) override;
  void ChangeMonochrome(bool value) override;
  void SetPixel(int x, int y, TColor color) override;
  void SetTextAlign(int align) override;
  void SetBuffered(bool value) override;
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void DrawDonutSlice(int xCentre, int yCentre, int xRadius, int yRadius, double startAngle, double endAngle,
                      double holePercent) override;
  void DrawGraphic(int x, int y, TGraphic* graphic) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void FillRect(const TRect& rect) override;
  void LineTo(int x, int y) override;
  void MovePenTo(int x, int y) override;
  void PieByAngles(const TRect& rect, double startAngle, double endAngle) override;
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) override;
  void DrawGraphicStretched(const TRect& rect, TGraphic* graphic) override;
  void TextOut(int x, int y, const std::string& text) override;
  void ClipToRect(const TRect& rect) override;
  void FillRectAlias(const TRect& rect) override { FillRect(rect); }
  void GradientFillRect(const TRect& rect, TColor startColor, TColor endColor,
                        KelCanvas::TGradientDirection direction, int balance, int radialX, int radialY) override;
  void InvalidateBuffer() override { BufferInvalid = true; }
  void Polyline(const TPointArray& points, int highIndex) override;
  void PolylineF(const TPointFloatArray& points, int highIndex) override;
  void Polygon(const TPointArray& points, int highIndex) override;
  void PolygonF(const TPointFloatArray& points, int highIndex) override;
  void RotatedTextOut(int x, int y, const std::string& text, double angle, bool) override;
  void PopClip() override;

  // ---- TCanvas3D operations ----------------------------------------------------------------
  bool UseDCBrush() override;
  TColor GetPixel3D(int x, int y, int z) override;
  void DrawShadowShape(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize, const TPointArray& points,
                       int highIndex, double holePercent, double startAngle, double endAngle) override;
  bool SuppressesFontZoom() override { return false; }
  void SetPixel3D(int x, int y, int z, TColor color) override;
  std::string GetDescription() override { return "GDI"; }
  void ProjectInverse(int& x, int& y, int z) override;
  TPoint Project3D(int x, int y, int z) override;
  void Project3DF(TPointFloat& p, float z) override;
  void PrepareFrame(TCanvas* canvas, TView3DOptions* options, TColor backColor, bool use3D, const TRect& rect,
                    TRect& drawRect) override;
  void SetProjectionRect(int depth, const TRect& frameRect, const TRect& rect) override;
  void FinishFrame(TCanvas* target, TCanvas* next, const TRect& rect) override;
  bool RestoreFromBuffer() override;
  bool CopyBufferTo(TGraphic* graphic, const TRect& rect) override;
  void DrawCone3D(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                  int conePercent) override;
  void DrawBox3D(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
  void DrawBox3DAlias(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override {
    DrawBox3D(left, right, top, bottom, z0, z1, darkSides);
  }
  void DrawCylinder3D(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override {
    DrawCone3D(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
  }
  void DrawPyramid3D(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override;
  void DrawSkewedBox3DF(const TRectFloat& rect, bool drawTop, double z0, double z1, double halfWidth, double halfDepth,
                        bool drawBottom) override;
  void DrawPieSlice3D(int xCentre, int yCentre, int xRadius, int yRadius, int z0, int z1, double startAngle,
                      double endAngle, bool darkSides, bool drawSides, int donutPercent, TCustomKelGradient* gradient,
                      int bevelPercent, std::uint8_t highlightMode, std::uint8_t transparency, int bevelBright,
                      bool bevelBorder, bool hideSides) override;
  void DrawBitmap3D(const TRect& rect, TGraphic* graphic, double position, int plane) override;
  void DrawArrow3D(bool filled, TPoint from, TPoint to, int headWidth, int headLength, int z0, int z1,
                   double bodyPercent) override;
  void ClipToBox3D(const TRect& rect, int z0, int z1) override;
  void Suspend3D() override;
  void EllipseAtZ(int left, int top, int right, int bottom, int z) override;
  void Resume3D() override;
  void PlaneFromTwoPoints(TPoint p0, TPoint p1, int z0, int z1) override;
  void PlaneFromFourPoints(TPoint p0, TPoint p1, TPoint p2, TPoint p3, int z) override;
  void PlaneFromArray(const std::array<TPoint, 4>& points, int z0, int z1) override;
  void FillPolygon3D(const TPoint3DArray& points, int highIndex) override;
  void RectangleAtZ(const TRect& rect, int z) override;
  void PlaneAtY(int x0, int y, int x1, int z0, int z1) override;
  void PlaneAtX(int x, int y0, int y1, int z0, int z1) override;
  void RotatedTextOut3D(int x, int y, int z, const std::string& text, double angle, bool flag) override;
  void CircleAtZ(int x, int y, int z, double radius) override;
  void ReservedHookA() override {}
  void WriteText3D(int x, int y, int z, const std::string& text, bool markUp) override;
  void FillTriangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) override;
  void TriangleAtZ(TPoint p0, TPoint p1, TPoint p2, int z) override;

  // ---- Operations 141-145 ------------------------------------------------------------------
  /* 141 */ virtual void DrawStoredQuad();
  /* 142 */ virtual void SetBufferBitmap(TBitmap* bitmap);
  /* 143 */ virtual void FreeBufferBitmap();
  /* 144 */ virtual void BlitBuffer(int x, int y, TCanvas* target);
  /* 145 */ virtual void PolygonFloat(const TPoint3DFloatArray& points, int highIndex);

  // ---- Members -----------------------------------------------------------------------------
  // Selects a font made from Font's LOGFONT at its logical size and quality; answers the font
  // that was selected before (the caller selects it back and deletes the made one).
  HFONT CreateDeviceFont(HDC dc);
  // Draws the text's shadow and emboss copies, then the text (outline, gradient and picture
  // fills) at (x, y) on `dc`.
  void DrawTextWithEffects(HDC dc, int x, int y, const std::string& text);
  // Draws one shadow (sign +1) or emboss (sign -1) copy and moves (x, y) when the copy lies
  // on the near side.
  void DrawTextShadow(HDC dc, int& x, int& y, const std::string& text, TKelShadow* shadow, int sign);
  // Blurs the buffer under a smooth shadow copy drawn at (x, y), then puts the text alignment
  // (without TA_BOTTOM) and the transparent back mode back on `dc`.
  void BlurTextShadow(HDC dc, int x, int y, const std::wstring& text, int smoothBlur);
  // The rectangle a text covers at (x, y) under the device text alignment.
  TRect TextRectAt(HDC dc, int x, int y, const std::string& text);
  // A 32-bit bitmap of the graphic's size (or the rect's) with the buffer's pixels under it
  // copied in first, then the graphic stretched over it. Owned by the caller.
  TBitmap* MakeSnapshotBitmap(const TRect& rect, TGraphic* graphic);
  void MakeSnapshotAt(int x, int y, TGraphic* graphic);
  // The brush-gradient fill of a rectangle.
  void FillGradient(const TRect& rect);
  // The blurred shadow: the shape drawn into a work bitmap, blurred and multiplied into the
  // buffer at the rect's position.
  void DrawSmoothShadow(TKelShadow* shadow, const TRect& rect, bool isEllipse, int cornerSize,
                        const TPointArray& points, int highIndex, double holePercent);
  // A point of the ellipse in `rect` at a whole-degree angle (counter-clockwise from 3 o'clock).
  static TPointFloat EllipsePoint(const TRect& rect, int degrees);

  bool MonochromeOn = false;
  TBitmap* BufferBitmap = nullptr;
  HDC CachedDC = nullptr;
  bool Buffered = true;
  bool BufferInvalid = true;
  // While set, switching buffering off keeps the buffer bitmap and its validity (a chart export
  // paints elsewhere and the screen buffer stays usable).
  bool KeepBuffer = false;
  bool Is3D = false;
  bool SavedIs3D = false;
  bool HasPerspective = false;
  bool HasTilt = false;
  double OrthoStepX = 1;
  double OrthoStepY = 1;
  double PerspectiveFactor = 0;
  double ZoomFactor = 1;
  TPoint ScreenCentre;
  std::array<TPoint, 4> StoredQuad{};
  std::uint8_t DefaultFontQuality = 0;
  // Rotation terms: sines and cosines of the three view angles, and the inverse terms.
  long double SinX = 0, CosX = 1, SinY = 0, CosY = 1, SinZ = 0, CosZ = 1;
  double K1 = 0, K2 = 1, K3 = 1, K4 = 0, K5 = 0, K6 = 0;

 protected:
  void ComputeRotationMatrix();
  // The quality code for fqDefault fonts and the others (lfQuality).
  BYTE FontQualityCode() const;

 private:
  void PushRegion(HRGN region, int mode);
};
