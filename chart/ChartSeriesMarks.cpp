// The series' side of its marks (which points get one, their texts, placing and painting
// them, the gap that moves a mark clear of another), detail series, kinds and sample data.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "canvas/Canvas3D.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "chart/ChartSeries.h"
#include "chart/KelConst.h"
#include "chart/SeriesDetail.h"
#include "chart/SeriesSelection.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

// The sample data's random sequence (a linear congruential generator with a settable seed).
std::uint32_t gSampleSeed = 0x2545F491;

int SampleRandom(int range) {
  gSampleSeed = gSampleSeed * 0x08088405u + 1;
  return static_cast<int>((static_cast<std::uint64_t>(gSampleSeed) * static_cast<std::uint32_t>(range)) >> 32);
}

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

}  // namespace

std::string ISeriesOwner::LegendTextFor(TChartSeries& series, int index) {
  return Replaced(series.LegendText(ltsLeftValue, index), '\r', ' ');
}

// ---- Texts -----------------------------------------------------------------------------------

std::string OneLineLegendTitle(std::string text) {
  text = Replaced(std::move(text), LegendColumnSeparator, ' ');
  // One line break of the first pair goes (LF-CR first, else CR-LF); what is left of it, and
  // every other break, becomes a blank.
  size_t pair = text.find("\n\r");
  if (pair == std::string::npos) pair = text.find("\r\n");
  if (pair != std::string::npos) text.erase(pair, 1);
  return Replaced(Replaced(std::move(text), '\r', ' '), '\n', ' ');
}

std::string TChartSeries::TitleText(bool singleLine) const {
  std::string text = TitleText();
  return singleLine ? OneLineLegendTitle(std::move(text)) : text;
}

std::string TChartSeries::MarkStyleText(TSeriesMarksStyle style, int index, bool multiLine) {
  const std::string sep = multiLine ? "\r" : " ";
  const std::string label = PointLabel(index);
  auto labelOrValue = [&] { return label.empty() ? ValueText(index) : label; };
  switch (style) {
    case smsValue:
      return ValueText(index);
    case smsPercent:
      return PercentText(index, false);
    case smsLabel:
      return label;
    case smsLabelPercent:
      return labelOrValue() + sep + PercentText(index, false);
    case smsLabelValue:
      return label + (label.empty() ? "" : sep) + ValueText(index);
    case smsLegend: {
      std::string text = parentChart_ ? parentChart_->LegendTextFor(*this, index) : LegendText(ltsLeftValue, index);
      return multiLine ? text : Replaced(text, LegendColumnSeparator, ' ');
    }
    case smsPercentTotal:
      return PercentText(index, true, multiLine);
    case smsLabelPercentTotal:
      return labelOrValue() + sep + PercentText(index, true, multiLine);
    case smsXValue:
      return XText(index);
    case smsXY:
      return XText(index) + sep + ValueText(index);
    case smsSeriesTitle:
      return TitleText();
    case smsPointIndex:
      return IntToStr(index);
    case smsPercentRelative: {
      if (index == 0) return FormatFloat(PercentFormat(), 100);
      const double first = MainValueAt(0);
      return FormatFloat(PercentFormat(), first == 0 ? 0.0 : MainValueAt(index) * 100 / first);
    }
    case smsLabelPercentValue:
      return labelOrValue() + sep + PercentText(index, false) + sep + ValueText(index);
    case smsLabelOrValue:
      return labelOrValue();
  }
  return labelOrValue();
}

std::string TChartSeries::MarkText(int index) {
  std::string text;
  TMarksItem* item = marks_ ? marks_->Items().ItemAt(index) : nullptr;
  if (item != nullptr && item->CustomText()) {
    text = item->Text();
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  } else {
    TSeriesMarks* marks = Marks();
    text = MarkStyleText(marks->Style(), index, marks->MultiLine());
  }
  OnGetMarkText(this, index, text);
  return text;
}

// ---- Marks -----------------------------------------------------------------------------------

TSeriesMarks* TChartSeries::Marks() {
  if (!marks_) {
    marks_ = std::make_unique<TSeriesMarks>(this);
    if (parentChart_ && parentChart_->ShapePanel()) marks_->AttachPanel(parentChart_->ShapePanel());
  }
  return marks_.get();
}

void TChartSeries::SetMarks(TSeriesMarks* value) {
  if (value != nullptr && value != marks_.get()) Marks()->Assign(value);
}

bool TChartSeries::MarkIsDrawable(int index) const {
  if (IsNullPoint(index)) return false;
  if (marks_ && marks_->SoftClip()) return PointInsideChart(index);
  return true;
}

void TChartSeries::GapBetweenRects(const TRect& a, TPoint& gap, const TRect& b) const {
  if (yMandatory_) {
    gap.X = 0;
    gap.Y = a.Top < b.Top ? b.Top - a.Bottom : b.Bottom - a.Top;
  } else {
    gap.Y = 0;
    gap.X = a.Left < b.Left ? b.Left - a.Right : b.Right - a.Left;
  }
}

void TChartSeries::PlaceMark(TCustomTextShape* mark, const std::string& text, TSeriesMarkPosition& position,
                             int x, int y) {
  // Sizing a per-point item to the computed text must not turn that text into a custom one.
  auto* item = dynamic_cast<TMarksItem*>(mark);
  const bool custom = item != nullptr && item->CustomText();
  if (marks_ && mark->Panel() != marks_->Panel()) mark->AttachPanel(marks_->Panel());
  mark->SetText(text);
  if (item != nullptr) item->SetCustomText(custom);
  mark->Bounds = TRect();
  mark->CalcSize();
  position.Width = mark->Width();
  position.Height = mark->Height();
  TSeriesMarks* marks = Marks();
  if (marks->HasSymbol() && marks->Symbol()->Visible()) {
    const int h = position.Height;
    position.Width += h - 4;
    TKelPen* pen = marks->Symbol()->Pen();
    if (pen->Visible() && pen->Width() >= 2) {
      position.Width += pen->Width();
      position.Height += pen->Width();
    }
    marks->Symbol()->Bounds = TRect(0, 0, h, h);
  }
  marks->Positions().PlaceAtPoint(position, x, y);
}

void TChartSeries::PaintMark(int index, const std::string&, TSeriesMarkPosition& position) {
  TSeriesMarks* marks = Marks();
  if (marks->AutoPosition() && !marks->AvoidOverlap(firstVisible_, index, position)) return;
  marks->PaintPointMark(index, PointColor(index), position);
}


namespace {

// A canvas element named by the point index around one mark, when the chart groups elements.
class MarkElementScope {
 public:
  MarkElementScope(TCanvas3D* canvas, int index) : canvas_(canvas) {
    if (canvas_) canvas_->BeginElement(std::to_string(index), 0, nullptr);
  }
  ~MarkElementScope() {
    if (canvas_) canvas_->EndElement();
  }
  MarkElementScope(const MarkElementScope&) = delete;
  MarkElementScope& operator=(const MarkElementScope&) = delete;

 private:
  TCanvas3D* canvas_;
};

}  // namespace

void TChartSeries::PaintMarks() {
  if (!marks_ || parentChart_ == nullptr) return;
  TCanvas3D* canvas = parentChart_->ChartCanvas();
  IShapePanel* panel = parentChart_->ShapePanel();
  if (canvas == nullptr || panel == nullptr) return;
  if (marks_->Panel() != panel) marks_->AttachPanel(panel);
  marks_->Depth = middleZ_;
  struct BlendScope {
    TCanvas3D* canvas;
    TKelBlend* blend = nullptr;
    ~BlendScope() {
      if (blend) canvas->FinishTransparency(blend);
    }
  } scope{canvas};
  if (marks_->UseSeriesTransparency() && Transparency() > 0) {
    const RECT r = parentChart_->ChartRect();
    scope.blend = canvas->StartTransparency(canvas->SupportsAlpha ? TRect() : TRect(r),
                                            static_cast<std::uint8_t>(Transparency()));
  }
  if (firstVisible_ < 0) return;
  const int step = marks_->DrawEveryStep();
  const int last = std::min(lastVisible_, PointCount() - 1);
  TCanvas3D* grouping = parentChart_->GroupsPointElements() ? canvas : nullptr;
  const TKelFont* hoverFont = HoverActive() ? selected_->Hover()->Font() : nullptr;
  const int hovered = hoverFont ? selected_->HoverIndex() : -1;
  for (int i = firstVisible_; i <= last; ++i) {
    if (i % step != 0 || !MarkIsDrawable(i)) continue;
    const std::string text = MarkText(i);
    TCustomTextShape* shape = marks_->ItemShape(i);
    if (text.empty() || !shape->Visible()) continue;
    // The hovered point's mark is measured and drawn in the hover font's style.
    TQuietFontScope hover(i == hovered ? shape->Font() : nullptr);
    if (i == hovered) hover.SetStyle(hoverFont->Style());
    int x, y;
    PointPixel(i, x, y);
    TSeriesMarkPosition position;
    PlaceMark(shape, text, position, x, y);
    MarkElementScope element(grouping, i);
    PaintMark(i, text, position);
  }
}

int TChartSeries::LargestMarkSize() {
  if (!marks_) return 0;
  int largest = 0;
  for (int i = 0; i < PointCount(); ++i) {
    TCustomTextShape* shape = marks_->ItemShape(i);
    if (!shape->Visible()) continue;
    TSeriesMarkPosition position;
    PlaceMark(shape, MarkText(i), position, 0, 0);
    largest = std::max({largest, position.Width, position.Height});
  }
  return largest;
}

// ---- Detail series, kinds and sample data ------------------------------------------------------

TSeriesDetail* TChartSeries::Detail() {
  if (!detail_) detail_ = std::make_unique<TSeriesDetail>(this);
  return detail_.get();
}

bool TChartSeries::HasDetail() const { return detail_ && detail_->Count() > 0; }

bool TChartSeries::SameKind(const TChartSeries* a, const TChartSeries* b) {
  if (a == nullptr || b == nullptr) return false;
  return a->ClassType().InheritsFrom(b->ClassType()) || b->ClassType().InheritsFrom(a->ClassType());
}

void TChartSeries::FillSampleValues(int n) {
  if (n <= 0) n = SampleCount;
  if (n <= 0) n = 25;
  ClearPoints();
  gSampleSeed = static_cast<std::uint32_t>(SampleRandom(7774444));
  BeginUpdate();
  try {
    AddSampleValues(n, false);
    CheckOrder();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  dataLoaded_ = false;
}

void TChartSeries::AddSampleValues(int n, bool valuesOnly) {
  if (n <= 0) return;
  double xMin = 0, xMax = n - 1, yMin = 0, yMax = 1000;
  const bool dateTimeX = notMandatory_->DateTime();
  // A series in a chart makes that chart one with series: the axes' ranges apply.
  if (parentChart_ && horizAxis_ && vertAxis_) {
    TChartAxis* xAxis = yMandatory_ ? horizAxis_ : vertAxis_;
    TChartAxis* yAxis = yMandatory_ ? vertAxis_ : horizAxis_;
    xMin = xAxis->Minimum();
    xMax = xAxis->Maximum();
    yMin = yAxis->Minimum();
    yMax = yAxis->Maximum();
    if (yMax <= yMin) {
      if (yMin != 0) yMax = 2 * yMin;
      else yMin = 0, yMax = 1000;
    }
    if (xMax <= xMin) {
      if (xMin != 0) xMax = 2 * xMin;
      else xMin = 0, xMax = n - 1;
    }
  } else if (dateTimeX) {
    xMin = Date();
    xMax = xMin + n - 1;
  }
  const double xStep = n == 1 ? xMax - xMin : (xMax - xMin) / (n - 1);
  const double d = std::clamp(yMax - yMin, -2147483647.0, 2147483647.0);
  double y = SampleRandom(100) * d * 0.01 + yMin;
  double x = xMin;
  for (int i = 0; i < n; ++i) {
    const double c = d * 0.25;
    y = std::fabs(c * SampleRandom(100) * 0.01 + y - c * 0.5);
    if (valuesOnly) {
      AppendValue(y);
    } else if (yMandatory_) {
      AppendXY(x, y);
    } else {
      AppendXY(y, x);
    }
    x += xStep;
  }
}
