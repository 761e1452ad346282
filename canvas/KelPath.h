// Paths through which rounded and cornered outlines are built: TKelBasePath (the eight path
// operations every canvas's path offers) and TKelPath, its GDI form, which records a device
// path on its canvas from construction until DrawPath strokes, fills or paints it once.
#pragma once

#include <string>

#include "canvas/CanvasTypes.h"
#include "toolkit/classes/Object.h"

class TKelCanvas;

// Points, point types and bounds of a path (GDI paths report nothing).
struct TKelPathData {
  TPointFloatArray points;
  std::vector<unsigned char> types;
  TRectFloat bounds;
};

class TKelBasePath : public TObject {
 public:
  // Angles in degrees, clockwise from the positive X axis (Y down).
  virtual void AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) = 0;
  virtual void CloseFigure() = 0;
  virtual void AddPoints(const TPointArray& points, int highIndex, bool closed) = 0;
  // Ends the path and draws it on `canvas` with its pen and brush; called once.
  virtual void DrawPath(TKelCanvas& canvas) = 0;
  virtual void GetPathData(TKelPathData& data) = 0;
  virtual void AddLineTo(float x, float y) = 0;
  virtual void StartFigureAt(float x, float y) = 0;
  virtual void AddText(const std::string& text, float x, float y) = 0;

  void LineToPoint(TPoint p) { AddLineTo(static_cast<float>(p.X), static_cast<float>(p.Y)); }
  void StartFigureAtPoint(TPoint p) { StartFigureAt(static_cast<float>(p.X), static_cast<float>(p.Y)); }
};

class TKelPath : public TKelBasePath {
 public:
  // Begins a device path on the canvas; raises Exception "Cannot create GDI path. Error: "
  // with the error number and its system text when the platform refuses.
  explicit TKelPath(TKelCanvas& canvas);

  void AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) override;
  void CloseFigure() override;
  void AddPoints(const TPointArray& points, int highIndex, bool closed) override;
  void DrawPath(TKelCanvas& canvas) override;
  void GetPathData(TKelPathData&) override {}
  void AddLineTo(float x, float y) override;
  void StartFigureAt(float x, float y) override;
  void AddText(const std::string& text, float x, float y) override;

 private:
  TKelCanvas& canvas_;
  bool figureOpen_ = false;
};
