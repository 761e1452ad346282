// Test support for the chart panel: a GDI canvas that records what the panel asks of it (canvas
// elements with their nesting, clip depth, texts and line segments, each with the element path
// it was drawn in) and measures text with fixed metrics (6 pixels a character, 10 a line), and
// a flat 400 x 250 chart drawn through it onto a white 32-bit bitmap.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "canvas/KelCanvas3D.h"
#include "chart/AxisPanel.h"
#include "chart/FastLineSeries.h"
#include "toolkit/graphics/Bitmap.h"

// The shared test types live in their own namespace: a same-named helper class in another test
// file then stays a different type instead of silently sharing inline members and vtables.
namespace chart_test_support {

class RecordingCanvas : public TKelCanvas3D {
 public:
  struct Text {
    std::string path;
    int x, y;
    std::string text;
  };
  struct Segment {
    std::string path;
    int x0, y0, x1, y1;
  };

  int BeginElement(const std::string& name, int data, const TElementTransform* transform) override;
  void EndElement() override;
  void ClipToRect(const TRect& rect) override;
  void PopClip() override;
  int MeasureTextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
  int MeasureTextHeight(const std::string&) override { return 10; }
  void TextOut(int x, int y, const std::string& text) override;
  void LineSegment(int x0, int y0, int x1, int y1) override;

  void Clear();
  // "Axes/Bottom/Grid" while inside those elements.
  std::string Path() const;
  // Index of the first element begun with this name (-1: none).
  int IndexOf(const std::string& name) const;
  std::vector<Text> TextsIn(const std::string& path) const;
  std::vector<Segment> SegmentsIn(const std::string& path) const;

  std::vector<std::string> elements;  // names in the order they began
  std::vector<std::string> open;      // the element path now
  int clipDepth = 0;
  std::vector<Text> texts;
  std::vector<Segment> segments;
};

// A flat chart (no bevel) with a recording canvas, drawn onto a white bitmap of its size.
class TestChart {
 public:
  explicit TestChart(int width = 400, int height = 250);
  // A fast line series through the points, in `color` (clDefault: the chart picks one).
  TFastLineSeries* AddSeries(const std::vector<std::pair<double, double>>& points, TColor color = clDefault,
                             const std::string& name = "");
  // Draws the chart onto the bitmap (the export path: no buffer in between).
  void Paint();
  TColor Pixel(int x, int y) const;
  // Pixels of exactly `color` inside columns x0..x1 and rows y0..y1 (inclusive).
  int Count(TColor color, int x0, int y0, int x1, int y1) const;

  int width, height;
  TCustomAxisPanel panel{nullptr};
  RecordingCanvas* canvas;
  std::unique_ptr<TBitmap> bitmap;
};

// n points evenly on the straight line from (x0, y0) to (x1, y1).
inline std::vector<std::pair<double, double>> Line(double x0, double x1, double y0, double y1, int n = 11) {
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / (n - 1);
    points.emplace_back(x0 + t * (x1 - x0), y0 + t * (y1 - y0));
  }
  return points;
}

}  // namespace chart_test_support

using chart_test_support::Line;
using chart_test_support::RecordingCanvas;
using chart_test_support::TestChart;
