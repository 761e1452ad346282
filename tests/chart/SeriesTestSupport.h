// A small stand-in for the chart panel in series tests: it owns four standard axes laid out
// over a fixed chart rectangle, lists its series, records the series events and repaints it
// receives, and can draw through a GDI canvas onto a white 32-bit DIB.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "canvas/KelCanvas3D.h"
#include "chart/ChartAxis.h"
#include "chart/ChartSeries.h"
#include "toolkit/classes/Component.h"
#include "toolkit/graphics/Bitmap.h"

// The shared test types live in their own namespace: a same-named helper class in another test
// file then stays a different type instead of silently sharing inline members and vtables.
namespace chart_test_support {

class FakeSeriesChart : public TComponent, public ISeriesOwner, public IAxisOwner {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Chart rectangle (0, 0, 200, 100); bottom axis 0..200 and left axis 0..100, so a point
  // (x, y) lands on pixel (x, 100 - y).
  explicit FakeSeriesChart(TComponent* owner = nullptr);
  ~FakeSeriesChart() override;

  // ---- ISeriesOwner ------------------------------------------------------------------------
  TComponent* ChartComponent() override { return this; }
  void RegisterSeries(TChartSeries& series) override;
  void RemoveSeries(TChartSeries& series) override;
  void InvalidateChart() override {
    // The axes below report their first pens while the members after them do not exist yet.
    if (!constructed) return;
    ++invalidations;
    if (logRepaints) events.push_back("repaint");
  }
  void BroadcastSeriesEvent(TChartSeries& series, TChartSeriesEvent event) override;
  TColor PaletteColorAt(int index) override { return palette[index % palette.size()]; }
  TColor PickFreeColor() override { return palette[series.size() % palette.size()]; }
  TChartAxis* StandardAxis(TChartAxisSide side) override;
  TChartAxis* CustomAxis(int index) override;
  int CustomAxisIndex(const TChartAxis* axis) override;
  TCanvas3D* ChartCanvas() override { return canvas.get(); }
  RECT ChartRect() const override { return rect; }
  bool View3D() const override { return false; }
  bool DepthReversed() const override { return false; }
  int SeriesDepth() const override { return 0; }
  int SeriesIndex(const TChartSeries& s) const override;
  void ReloadSeriesData(TChartSeries&) override { ++reloads; }
  bool IsValidDataSource(TChartSeries& s, TComponent* source) override { return s.CanTakeSource(source); }
  void CheckCircularSource(TChartSeries& s, TComponent* source) override;
  bool ChartDestroying() const override { return false; }

  // A layout lists the chart's series inside it.
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

  // ---- IAxisOwner --------------------------------------------------------------------------
  double SeriesExtreme(const TChartAxis& axis, bool maximum, bool horizontal) override;
  bool HasSeriesWithAtMostPoints(const TChartAxis&, int) override { return false; }
  bool SeriesShowDateTime(const TChartAxis&) override { return false; }
  void NotifyAxisChanged(TChartAxis&) override { ++invalidations; }
  bool ChartLoading() const override { return false; }
  bool ChartReading() const override { return false; }
  int ChartDepth() const override { return 0; }
  int LabelTextWidth(const TChartAxis&, const std::string&) override { return 10; }
  int LabelLineHeight(const TChartAxis&) override { return 10; }
  void GetAxisLabel(const TChartAxis&, std::string&) override {}

  // Sets fixed ranges and lays the axes out over the chart rectangle.
  void SetRanges(double xMin, double xMax, double yMin, double yMax);
  // Gives the chart a GDI canvas over a white DIB of the chart rectangle's size (plus one).
  void AttachCanvas();
  // One paint of every active series, as the chart's paint sequence does it.
  void PaintSeries();
  TColor Pixel(int x, int y);
  // Pixels of exactly `color` inside columns x0..x1 (inclusive) and rows y0..y1.
  int Count(TColor color, int x0, int y0, int x1, int y1);
  int Count(TColor color) { return Count(color, 0, 0, rect.right, rect.bottom); }

  // Declared first: true once every member is built (see InvalidateChart).
  bool constructed = false;
  // What the axes' construction already reports: declared (so initialised) before them.
  std::vector<std::string> events;
  int invalidations = 0;
  bool logRepaints = false;
  RECT rect{0, 0, 200, 100};
  TChartAxis left{this}, top{this}, right{this}, bottom{this};
  std::vector<std::unique_ptr<TChartAxis>> customAxes;
  std::vector<TChartSeries*> series;
  std::vector<TColor> palette{clRed, clGreen, clBlue, clOlive};
  // events: "<series name>:<event number>" in arrival order (declared above); the dependents'
  // changes show in their own points.
  int reloads = 0;
  std::unique_ptr<TBitmap> bitmap;
  std::unique_ptr<TKelCanvas3D> canvas;
};

}  // namespace chart_test_support

using chart_test_support::FakeSeriesChart;
