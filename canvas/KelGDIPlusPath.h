// TKelGDIPlusPath: the path object of the GDI+ canvas. It holds a GDI+ path (alternate fill
// mode) and the current point, and no device state: figures are added in any order and
// DrawPath fills and outlines the path with the canvas's brush and pen. The canvas is not
// owned and must outlive the path.
#pragma once

#include <memory>

#include "canvas/KelGDIPlus.h"
#include "canvas/KelPath.h"

class TKelGDIPlusPath : public TKelBasePath {
 public:
  explicit TKelGDIPlusPath(TGDIPlusCanvas& canvas);
  // A path made of `points` with their GDI+ point `types` (as GetPathData answers them).
  TKelGDIPlusPath(TGDIPlusCanvas& canvas, const TPointFloatArray& points, const std::vector<unsigned char>& types);

  void AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle) override;
  void CloseFigure() override;
  // A cardinal spline through the points (closed or open); the last point becomes current.
  void AddPoints(const TPointArray& points, int highIndex, bool closed) override;
  void DrawPath(TKelCanvas& canvas) override;
  void GetPathData(TKelPathData& data) override;
  void AddLineTo(float x, float y) override;
  void StartFigureAt(float x, float y) override;
  void AddText(const std::string& text, float x, float y) override;

  TGPGraphicsPath* Path() const { return path_.get(); }
  TPointFloat CurrentPoint() const { return {x_, y_}; }

 private:
  TGDIPlusCanvas& canvas_;
  std::unique_ptr<TGPGraphicsPath> path_;
  float x_ = 0;
  float y_ = 0;
};
