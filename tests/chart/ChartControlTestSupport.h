// Test support for the chart control: a flat 400 x 250 TChart (no bevel, no shadow, 10-pixel margins)
// drawn through the recording canvas with fixed text metrics onto a white 32-bit bitmap, and
// curves named Ch1, Ch2, ... added to it.
#pragma once

#include <memory>
#include <string>

#include "ChartPanelTestSupport.h"
#include "chart/Chart.h"

class ChartFixture {
 public:
  explicit ChartFixture(int width = 400, int height = 250);
  // A fast line curve from (0, low) to (10, high), named Ch<n> (n counting from 1).
  TFastLineSeries* AddCurve(double low = 0, double high = 100, TColor color = clDefault);
  void AddCurves(int count);
  void Paint();
  TColor Pixel(int x, int y) const;
  int Count(TColor color, int x0, int y0, int x1, int y1) const;
  // Pixels darker than mid-grey in the region.
  int CountDark(int x0, int y0, int x1, int y1) const;

  int width, height;
  TChart chart{nullptr};
  RecordingCanvas* canvas;
  std::unique_ptr<TBitmap> bitmap;
};
