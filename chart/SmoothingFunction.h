// The smoothing function: a cubic B-spline (TBSpline) laid through the source points, sampled at
// point count x Factor (at most 600) fragments. With Interpolate the spline's vertices come from
// the tridiagonal interpolation system, so the curve passes through every source point; off, it
// only approaches them. TBSpline keeps its vertices valid while its built flag is set; adding a
// point clears it.
#pragma once

#include <vector>

#include "chart/KelFunction.h"

class TBSpline {
 public:
  struct TPointXY {
    double X = 0;
    double Y = 0;
  };

  // Control points are numbered from 1.
  void AddPoint(double x, double y, bool knuckle = false);
  int PointCount() const { return static_cast<int>(points_.size()); }
  TPointXY PointAt(int number) const { return points_[number - 1]; }
  // A point is a knuckle only when it is neither the first nor the last and its flag is set.
  bool IsKnuckle(int number) const;
  bool Interpolate = false;
  int Fragments() const { return fragments_; }
  // Values above 600 become 600.
  void SetFragments(int value);
  // Builds the vertices (with the interpolation system when Interpolate is on).
  void Build();
  bool Built() const { return built_; }
  // Vertices 0..VertexCount()+1 (0 and VertexCount()+1 are the phantom end vertices).
  int VertexCount() const { return vertexCount_; }
  TPointXY Vertex(int index) const { return vertices_[index]; }
  // The curve at t in 0..1; (0, 0) with fewer than 2 points. Builds when needed.
  TPointXY Value(double t);
  // Drops points and vertices; interpolation off, 100 fragments.
  void Clear();

 private:
  std::vector<TPointXY> points_;
  std::vector<bool> knuckles_;
  std::vector<TPointXY> vertices_;
  int vertexCount_ = 0;
  int fragments_ = 100;
  bool built_ = false;
};

class TSmoothingFunction : public TKelFunction {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Period 1, Interpolate on, Factor 4.
  explicit TSmoothingFunction(TComponent* owner);

  // Replaces the parent's points by the spline through the source's points; a single source
  // point is copied as it is.
  void AddPoints(TChartSeries* source) override;
  std::string EditorClassName() const override { return "TSmoothFuncEditor"; }
  // The base set-up, then ten sample values in the chart's first series, the parent drawn
  // 70 % transparent with a pen 10 wide, Factor 8.
  void ConfigureSample(ISeriesOwner* chart) override;
  void Assign(TPersistent* source) override;

  bool Interpolate() const { return interpolate_; }
  void SetInterpolate(bool value);
  int Factor() const { return factor_; }
  // Values below 1 become 1.
  void SetFactor(int value);

 private:
  bool interpolate_ = true;
  int factor_ = 4;
};

// Registers the smoothing function in the function gallery ("Extended", "Smoothing"), and
// removes it again.
void SmoothingFunctionStartup();
void SmoothingFunctionShutdown();
