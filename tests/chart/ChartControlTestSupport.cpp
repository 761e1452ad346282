// The chart control test fixture.
#include "ChartControlTestSupport.h"

#include <algorithm>

#include "canvas/KelShadow.h"
#include "toolkit/graphics/Canvas.h"

ChartFixture::ChartFixture(int w, int h) : width(w), height(h) {
  chart.SetBounds(0, 0, w, h);
  chart.SetView3D(false);
  chart.SetBevelOuter(bvNone);
  chart.SetMarginUnits(muPixels);
  for (int i = 0; i < 4; ++i) chart.SetMargin(i, 10);
  chart.Shadow()->SetVisible(false);
  canvas = new RecordingCanvas();
  chart.ChangeCanvas(canvas);
  bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(w, h);
}

TFastLineSeries* ChartFixture::AddCurve(double low, double high, TColor color) {
  auto* series = new TFastLineSeries(nullptr);
  series->SetName("Ch" + std::to_string(chart.SeriesCount() + 1));
  series->AppendXY(0, low);
  series->AppendXY(10, high);
  if (color != clDefault) series->ChangeSeriesColor(color);
  chart.AttachSeries(series);
  return series;
}

void ChartFixture::AddCurves(int count) {
  for (int i = 0; i < count; ++i) AddCurve(i, 100 - i);
}

void ChartFixture::Paint() {
  canvas->Clear();
  chart.DrawToCanvas(bitmap->Canvas(), TRect(0, 0, width, height));
}

TColor ChartFixture::Pixel(int x, int y) const {
  GdiFlush();
  const auto* row = static_cast<const unsigned char*>(bitmap->ScanLine(y));
  const unsigned char* p = row + x * 4;
  return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
}

int ChartFixture::Count(TColor color, int x0, int y0, int x1, int y1) const {
  int n = 0;
  for (int y = std::max(y0, 0); y <= std::min(y1, height - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, width - 1); ++x)
      if (Pixel(x, y) == color) ++n;
  return n;
}

int ChartFixture::CountDark(int x0, int y0, int x1, int y1) const {
  int n = 0;
  for (int y = std::max(y0, 0); y <= std::min(y1, height - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, width - 1); ++x) {
      const unsigned c = static_cast<unsigned>(Pixel(x, y));
      if ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 3 * 0x80) ++n;
    }
  return n;
}
