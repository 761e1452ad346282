// The symbol a series can draw at a point (TSeriesPointer: sixteen styles, flat or as 3D
// solids, with shadow, emboss, transparency, gradient and a picture over it) and the callouts
// built on it: TCallout (an arrow line from a point to a label, with a pointer or an arrow
// head) and TMarksCallout (the series marks' callout, which also knows the arrow's length).
// Everything is drawn through the canvas given, or the owning chart's canvas; sizes below 1
// become 1, so a symbol always covers at least its centre pixel.
#pragma once

#include "chart/KelShapes.h"
#include "toolkit/graphics/Color.h"

class TCanvas3D;
class TChartSeries;
class TKelEmboss;
class TKelGradient;
class TKelPicture;
class TSeriesMarkPosition;
class TWhitePen;

enum TSeriesPointerStyle {
  psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond,
  psSmallDot, psNothing, psLeftTriangle, psRightTriangle, psHexagon, psVisual, psDonut, psArrow
};
enum TPointerSizeUnits { suPixels, suAxis };
enum TArrowHeadStyle { ahNone, ahLine, ahSolid };
const TEnumInfo& EnumTypeInfo(TSeriesPointerStyle);
const TEnumInfo& EnumTypeInfo(TPointerSizeUnits);
const TEnumInfo& EnumTypeInfo(TArrowHeadStyle);

class TSeriesPointer : public TKelCustomShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // The series may be null; with one, its chart's shape panel becomes the pointer's panel.
  explicit TSeriesPointer(TChartSeries* series);
  ~TSeriesPointer() override;
  void Assign(TPersistent* source) override;

  TChartSeries* Series() const { return series_; }

  // ---- Drawing ---------------------------------------------------------------------------
  // Pen and brush of a symbol in `color` (the pen darkened or lightened by DarkPen).
  void ApplyToCanvas(TCanvas3D* canvas, TColor color);
  // The same on the chart's canvas with the brush's own colour.
  void ApplyToChartCanvas();
  // One symbol centred on (x, y), h and v being the half sizes. The canvas must have been
  // prepared with ApplyToCanvas. Never raises; a missing shadow, emboss or picture is skipped.
  void DrawSymbol(TCanvas3D* canvas, bool is3D, int x, int y, int h, int v, TColor color,
                  TSeriesPointerStyle style);
  // Depths: without a series the pointer's own depth; with Depth 0 the series' depth range;
  // otherwise the series' middle depth -/+ Depth.
  int StartZ() const;
  int MiddleZ() const;
  int EndZ() const;
  // The canvas the pointer draws on by itself: the chart's, else its panel's (may be null).
  TCanvas3D* ChartCanvas() const;

  // ---- Properties ------------------------------------------------------------------------
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  int DarkPen() const { return darkPen_; }
  void SetDarkPen(int value);
  int Depth() const { return depth_; }
  void SetDepth(int value);
  bool Draw3D() const { return draw3D_; }
  void SetDraw3D(bool value);
  // The emboss is the shape's (created on first read: invisible, size 3); null frees it.
  bool FullGradient() const { return fullGradient_; }
  void SetFullGradient(bool value);
  bool DefaultFullGradient() const { return defaultFullGradient_; }
  TKelGradient* Gradient();
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int value);
  int VertSize() const { return vertSize_; }
  void SetVertSize(int value);
  bool InflateMargins() const { return inflateMargins_; }
  void SetInflateMargins(bool value);
  TKelPicture* Picture();
  bool HasPicture() const { return picture_ != nullptr; }
  void SetPicture(TKelPicture* value);
  // Null frees the shadow: the next read finds a fresh one (invisible, size 3).
  void SetShadow(TKelShadow* value);
  TPointerSizeUnits SizeUnits() const { return sizeUnits_; }
  void SetSizeUnits(TPointerSizeUnits value) { sizeUnits_ = value; }
  TSeriesPointerStyle Style() const { return style_; }
  void SetStyle(TSeriesPointerStyle value);
  int OwnDepth = 0;  // the depth used without a series
  float SizeFloat = 0;
  bool AllowChangeSize = true;

 protected:
  // Invisible, size 3, recorded as the defaults.
  void InitEmboss(TKelEmboss& emboss) override;
  bool defaultFullGradient_ = false;
  bool fullGradient_ = false;
  bool draw3D_ = true;
  bool inflateMargins_ = true;
  TSeriesPointerStyle style_ = psRectangle;

 private:
  // Sets the gradient end colours to `color` without asking anyone to repaint.
  void SetGradientEnd(TCanvas3D* canvas, TColor color);
  TChartSeries* series_;
  bool dark3D_ = true;
  int darkPen_ = 0;
  int depth_ = 0;
  int horizSize_ = 4;
  int vertSize_ = 4;
  TPointerSizeUnits sizeUnits_ = suPixels;
  std::unique_ptr<TKelPicture> picture_;
};

// A pointer plus an arrow from the point to a label.
class TCallout : public TSeriesPointer {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCallout(TChartSeries* series);
  ~TCallout() override;
  void Assign(TPersistent* source) override;

  // The arrow (in the Arrow pen) from `from` to `to`, through `middle` when `bend`; with
  // ahNone and Visible the pointer at `from` in its own brush colour. `color` (the point's
  // colour) does not change what is drawn.
  void DrawArrowAndPointer(TColor color, TPoint from, TPoint to, TPoint middle, bool bend, int z);

  TKelPen* Arrow() const;
  void SetArrow(TKelPen* value);
  TArrowHeadStyle ArrowHead() const { return arrowHead_; }
  void SetArrowHead(TArrowHeadStyle value);
  int ArrowHeadSize() const { return arrowHeadSize_; }
  void SetArrowHeadSize(int value);
  int Distance() const { return distance_; }
  void SetDistance(int value);

 private:
  std::unique_ptr<TWhitePen> arrow_;
  TArrowHeadStyle arrowHead_ = ahNone;
  int arrowHeadSize_ = 8;
  int distance_ = 0;
};

// The callout of a series' marks: raises every mark above its point.
class TMarksCallout : public TCallout {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TMarksCallout(TChartSeries* series);
  void Assign(TPersistent* source) override;

  // Top-left and arrow end go up by Length + Distance, the arrow start by Distance.
  void AdjustPosition(TSeriesMarkPosition& position) const;
  int Length() const { return length_; }
  void SetLength(int value);

 private:
  int length_ = 8;
};
