// The chart stand-in of the series tests (see SeriesTestSupport.h).
#include "SeriesTestSupport.h"

#include <algorithm>

#include "toolkit/graphics/Canvas.h"

namespace chart_test_support {

const TClassInfo& FakeSeriesChart::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<FakeSeriesChart>("FakeSeriesChart", &TComponent::StaticClass()).Build();
  return info;
}

FakeSeriesChart::FakeSeriesChart(TComponent* owner) : TComponent(owner) {
  constructed = true;
  bottom.SetHorizontal(true);
  top.SetHorizontal(true);
  SetRanges(0, 200, 0, 100);
}

FakeSeriesChart::~FakeSeriesChart() {
  // Series still listed leave the chart before it goes.
  const std::vector<TChartSeries*> listed = series;
  for (TChartSeries* s : listed) s->ChangeParentChart(nullptr);
  DestroyComponents();
}

void FakeSeriesChart::RegisterSeries(TChartSeries& s) {
  s.JoinChart();
  series.push_back(&s);
  BroadcastSeriesEvent(s, seAdded);
}

void FakeSeriesChart::RemoveSeries(TChartSeries& s) {
  BroadcastSeriesEvent(s, seRemoving);
  s.LeaveChart();
  series.erase(std::remove(series.begin(), series.end(), &s), series.end());
  BroadcastSeriesEvent(s, seRemoved);
  InvalidateChart();
}

void FakeSeriesChart::BroadcastSeriesEvent(TChartSeries& s, TChartSeriesEvent event) {
  events.push_back(s.Name() + ":" + std::to_string(static_cast<int>(event)));
}

void FakeSeriesChart::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TChartSeries* s : series)
    if (s->Owner() == root) proc(s);
}

TChartAxis* FakeSeriesChart::StandardAxis(TChartAxisSide side) {
  switch (side) {
    case casLeft:
      return &left;
    case casTop:
      return &top;
    case casRight:
      return &right;
    case casBottom:
      return &bottom;
  }
  return nullptr;
}

TChartAxis* FakeSeriesChart::CustomAxis(int index) {
  return index >= 0 && index < static_cast<int>(customAxes.size()) ? customAxes[index].get() : nullptr;
}

int FakeSeriesChart::CustomAxisIndex(const TChartAxis* axis) {
  for (size_t i = 0; i < customAxes.size(); ++i)
    if (customAxes[i].get() == axis) return static_cast<int>(i);
  return -1;
}

int FakeSeriesChart::SeriesIndex(const TChartSeries& s) const {
  for (size_t i = 0; i < series.size(); ++i)
    if (series[i] == &s) return static_cast<int>(i);
  return -1;
}

void FakeSeriesChart::CheckCircularSource(TChartSeries& s, TComponent* source) {
  // Walks the sources of `source`: reaching `s` again would make the series follow itself.
  std::vector<TChartSeries*> pending;
  if (auto* first = dynamic_cast<TChartSeries*>(source)) pending.push_back(first);
  while (!pending.empty()) {
    TChartSeries* current = pending.back();
    pending.pop_back();
    if (current == &s) throw ChartException("Circular Series dependences are not allowed");
    for (int i = 0; i < current->DataSourceCount(); ++i)
      if (auto* next = dynamic_cast<TChartSeries*>(current->DataSourceAt(i))) pending.push_back(next);
  }
}

double FakeSeriesChart::SeriesExtreme(const TChartAxis& axis, bool maximum, bool horizontal) {
  bool found = false;
  double result = 0;
  for (TChartSeries* s : series) {
    if (!s->Active() || !s->UsesAxis(&axis) || s->PointCount() == 0) continue;
    const double v = s->ExtremeValue(horizontal, maximum);
    if (!found || (maximum ? v > result : v < result)) result = v;
    found = true;
  }
  return result;
}

void FakeSeriesChart::SetRanges(double xMin, double xMax, double yMin, double yMax) {
  for (TChartAxis* axis : {&bottom, &top}) {
    axis->SetMinMax(xMin, xMax);
    axis->SetInternalRange(xMin, xMax);
    axis->ComputePixelSpan();
  }
  for (TChartAxis* axis : {&left, &right}) {
    axis->SetMinMax(yMin, yMax);
    axis->SetInternalRange(yMin, yMax);
    axis->ComputePixelSpan();
  }
}

void FakeSeriesChart::AttachCanvas() {
  bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(rect.right + 1, rect.bottom + 1);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  RECT all{0, 0, rect.right + 1, rect.bottom + 1};
  FillRect(bitmap->Canvas()->Handle(), &all, white);
  DeleteObject(white);
  canvas = std::make_unique<TKelCanvas3D>();
  canvas->SetBuffered(false);
  canvas->Buffered = false;
  canvas->SetTargetCanvas(bitmap->Canvas());
  canvas->Bounds = TRect(0, 0, rect.right + 1, rect.bottom + 1);
}

void FakeSeriesChart::PaintSeries() {
  for (TChartSeries* s : series) {
    if (!s->Active()) continue;
    s->FireBeforeDrawValues();
    s->PrepareValuesPaint();
    s->PaintAllPoints();
    s->FireAfterDrawValues();
  }
}

TColor FakeSeriesChart::Pixel(int x, int y) {
  GdiFlush();
  const auto* row = static_cast<const unsigned char*>(bitmap->ScanLine(y));
  const unsigned char* p = row + x * 4;
  return p[2] | (p[1] << 8) | (p[0] << 16);
}

int FakeSeriesChart::Count(TColor color, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = std::max(y0, 0); y <= std::min<int>(y1, rect.bottom); ++y)
    for (int x = std::max(x0, 0); x <= std::min<int>(x1, rect.right); ++x)
      if (Pixel(x, y) == color) ++n;
  return n;
}

}  // namespace chart_test_support
