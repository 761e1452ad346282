// The recording canvas and test chart of the chart panel tests.
#include "ChartPanelTestSupport.h"

#include <algorithm>

#include "canvas/KelPen.h"
#include "toolkit/graphics/Canvas.h"

namespace chart_test_support {

int RecordingCanvas::BeginElement(const std::string& name, int data, const TElementTransform* transform) {
  elements.push_back(name);
  open.push_back(name);
  return TKelCanvas3D::BeginElement(name, data, transform);
}

void RecordingCanvas::EndElement() {
  if (!open.empty()) open.pop_back();
  TKelCanvas3D::EndElement();
}

void RecordingCanvas::ClipToRect(const TRect& rect) {
  ++clipDepth;
  TKelCanvas3D::ClipToRect(rect);
}

void RecordingCanvas::PopClip() {
  --clipDepth;
  TKelCanvas3D::PopClip();
}

void RecordingCanvas::TextOut(int x, int y, const std::string& text) {
  texts.push_back(Text{Path(), x, y, text});
  TKelCanvas3D::TextOut(x, y, text);
}

void RecordingCanvas::LineSegment(int x0, int y0, int x1, int y1) {
  segments.push_back(Segment{Path(), x0, y0, x1, y1});
  TKelCanvas3D::LineSegment(x0, y0, x1, y1);
}

void RecordingCanvas::Clear() {
  elements.clear();
  texts.clear();
  segments.clear();
}

std::string RecordingCanvas::Path() const {
  std::string path;
  for (const std::string& name : open) path += (path.empty() ? "" : "/") + name;
  return path;
}

int RecordingCanvas::IndexOf(const std::string& name) const {
  const auto it = std::find(elements.begin(), elements.end(), name);
  return it == elements.end() ? -1 : static_cast<int>(it - elements.begin());
}

std::vector<RecordingCanvas::Text> RecordingCanvas::TextsIn(const std::string& path) const {
  std::vector<Text> result;
  for (const Text& t : texts)
    if (t.path == path) result.push_back(t);
  return result;
}

std::vector<RecordingCanvas::Segment> RecordingCanvas::SegmentsIn(const std::string& path) const {
  std::vector<Segment> result;
  for (const Segment& s : segments)
    if (s.path == path) result.push_back(s);
  return result;
}

TestChart::TestChart(int w, int h) : width(w), height(h) {
  panel.SetBounds(0, 0, w, h);
  panel.SetView3D(false);
  panel.SetBevelOuter(bvNone);
  canvas = new RecordingCanvas();
  panel.ChangeCanvas(canvas);
  bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(w, h);
}

TFastLineSeries* TestChart::AddSeries(const std::vector<std::pair<double, double>>& points, TColor color,
                                      const std::string& name) {
  auto* series = new TFastLineSeries(nullptr);
  if (!name.empty()) series->SetName(name);
  for (const auto& [x, y] : points) series->AppendXY(x, y);
  if (color != clDefault) series->ChangeSeriesColor(color);
  panel.AttachSeries(series);
  return series;
}

void TestChart::Paint() {
  canvas->Clear();
  panel.DrawToCanvas(bitmap->Canvas(), TRect(0, 0, width, height));
}

TColor TestChart::Pixel(int x, int y) const {
  GdiFlush();
  const auto* row = static_cast<const unsigned char*>(bitmap->ScanLine(y));
  const unsigned char* p = row + x * 4;
  return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
}

int TestChart::Count(TColor color, int x0, int y0, int x1, int y1) const {
  int n = 0;
  for (int y = std::max(y0, 0); y <= std::min(y1, height - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, width - 1); ++x)
      if (Pixel(x, y) == color) ++n;
  return n;
}

}  // namespace chart_test_support
