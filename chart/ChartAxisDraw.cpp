// The drawing half of an axis: which label values it shows, the room its labels, ticks and
// title take from the chart rectangle, and drawing the axis line, ticks, grid, minor ticks,
// labels and title through the owner's canvas. Tick and label lists are state of one paint,
// rebuilt by BuildLabels.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "canvas/Canvas3D.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "chart/AxisItems.h"
#include "chart/ChartAxis.h"
#include "chart/ChartSeries.h"
#include "chart/KelShapes.h"
#include "chart/SeriesSelection.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/rtl/Math.h"

namespace {

// Value labels stop at this many (and a range of this many increments shows none).
constexpr long double kMaxLabels = 10000;
// The widest-label measure formats at most this many values.
constexpr int kMaxMeasuredLabels = 5000;
// Relative tolerance of the label walk at both ends of the range, in increments.
constexpr long double kWalkTolerance = 1e-6L;

// Device text alignment code of left-aligned text.
constexpr int kTaLeft = 0;

int RoundInt(long double value) { return static_cast<int>(Round(value)); }

// Opens a named canvas element for the lifetime of the scope.
class ElementScope {
 public:
  ElementScope(TCanvas3D* canvas, const std::string& name) : canvas_(canvas) {
    canvas_->BeginElement(name, 0, nullptr);
  }
  ~ElementScope() { canvas_->EndElement(); }
  ElementScope(const ElementScope&) = delete;
  ElementScope& operator=(const ElementScope&) = delete;

 private:
  TCanvas3D* canvas_;
};

bool StrictlyInside(int pixel, int a, int b) { return pixel > std::min(a, b) && pixel < std::max(a, b); }

// The bounds of r turned by `angle` degrees about its centre.
TRect TurnedBounds(const TRect& r, int angle) {
  const auto c = TKelCustomShape::RotatedCorners(r, angle);
  return TRect(std::min({c[0].X, c[1].X, c[2].X, c[3].X}), std::min({c[0].Y, c[1].Y, c[2].Y, c[3].Y}),
               std::max({c[0].X, c[1].X, c[2].X, c[3].X}), std::max({c[0].Y, c[1].Y, c[2].Y, c[3].Y}));
}

// The shadow a framed box casts, in pixels (0 for a transparent box or no shadow).
int FrameShadowSize(TCustomTextShape* format) {
  if (format == nullptr || format->Transparent() || !format->Shadow()->IsShown()) return 0;
  return std::abs(format->Shadow()->ReadSize());
}

// Room a framed box adds to its text across the axis: its frame on both sides and its shadow.
int FrameExtent(TCustomTextShape* format) {
  if (format == nullptr || format->Transparent()) return 0;
  return (format->Pen()->Visible() ? 2 * format->Pen()->Width() : 0) + FrameShadowSize(format);
}

}  // namespace

const TEnumInfo& EnumTypeInfo(TAxisLabelsAlign) {
  static const TEnumInfo info("TAxisLabelsAlign", {"alDefault", "alOpposite", "alCenter"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TAxisLabelStyle) {
  static const TEnumInfo info("TAxisLabelStyle", {"talAuto", "talNone", "talValue", "talMark", "talText",
                                                  "talPointValue"});
  return info;
}

// ---- Settings ---------------------------------------------------------------------------------

#define VK_AXIS_DRAW_SETTER(Name, Type, field) \
  void TChartAxis::Set##Name(Type value) {     \
    if (field == value) return;                \
    field = value;                             \
    Repaint();                                 \
  }
VK_AXIS_DRAW_SETTER(TickLength, int, tickLength_)
VK_AXIS_DRAW_SETTER(TickInnerLength, int, tickInnerLength_)
VK_AXIS_DRAW_SETTER(MinorTickLength, int, minorTickLength_)
VK_AXIS_DRAW_SETTER(MinorTickCount, int, minorTickCount_)
VK_AXIS_DRAW_SETTER(TickOnLabelsOnly, bool, tickOnLabelsOnly_)
VK_AXIS_DRAW_SETTER(Labels, bool, labels_)
VK_AXIS_DRAW_SETTER(LabelsOnAxis, bool, axisLabels_.OnAxis)
VK_AXIS_DRAW_SETTER(LabelsBehind, bool, labelsBehind_)
VK_AXIS_DRAW_SETTER(LabelsSize, int, labelsSize_)
VK_AXIS_DRAW_SETTER(TitleSize, int, titleSize_)
VK_AXIS_DRAW_SETTER(LabelStyle, TAxisLabelStyle, axisLabels_.Style)
void TChartAxis::SetGridCentered(bool value) { grid_->SetCentered(value); }
void TChartAxis::SetGridDrawEvery(int value) { grid_->SetDrawEvery(value); }
VK_AXIS_DRAW_SETTER(LabelsAlign, TAxisLabelsAlign, axisLabels_.Align)
VK_AXIS_DRAW_SETTER(LabelsExponent, bool, labelsExponent_)
VK_AXIS_DRAW_SETTER(LabelsUseImages, bool, axisLabels_.UseImages)
VK_AXIS_DRAW_SETTER(LabelsPosition, TAxisLabelPosition, axisLabels_.Position)
#undef VK_AXIS_DRAW_SETTER

TChartAxisTitle* TChartAxis::Title() {
  if (!title_) {
    title_ = std::make_unique<TChartAxisTitle>(owner_ ? owner_->AxisShapePanel() : nullptr);
    if (!horizontal_) title_->SetAngleDefault(otherSide_ ? 270 : 90);
  }
  return title_.get();
}

TCustomTextShape* TChartAxis::LabelsFormat() { return Items()->Format(); }

TAxisItems* TChartAxis::Items() {
  if (!items_) {
    items_ = std::make_unique<TAxisItems>(owner_ ? owner_->AxisShapePanel() : nullptr, [this] { Repaint(); });
    // Labels without a box of their own write in the axis label font.
    items_->Format()->TextFont = labelsFont_.get();
  }
  return items_.get();
}

bool TChartAxis::HasCustomItems() const { return items_ && !items_->Automatic(); }

TAxisBackShape* TChartAxis::Shape() {
  if (!shape_) shape_ = std::make_unique<TAxisBackShape>(owner_ ? owner_->AxisShapePanel() : nullptr);
  return shape_.get();
}

TAxisLabelStyle TChartAxis::LabelStyleInUse() {
  if (axisLabels_.Style != talAuto) return axisLabels_.Style;
  if (parentAxis_) return parentAxis_->LabelStyleInUse();
  return owner_ ? owner_->SeriesLabelStyle(*this) : talNone;
}

TAxisLabelStyle TChartDepthAxis::LabelStyleInUse() {
  if (LabelStyle() != talAuto) return LabelStyle();
  if (!Owner()) return talText;
  for (TChartSeries* s : Owner()->ActiveSeriesList())
    if (s->LowestZ() != s->HighestZ()) return talValue;
  return talText;
}

int TChartAxis::MoveOutward(int position, int amount) const {
  const bool minus = horizontal_ ? otherSide_ : !otherSide_;
  return minus ? position - amount : position + amount;
}

int TChartAxis::AxisLineAndTickSize(bool withTicks) const {
  int size = axisPen_->Visible() ? axisPen_->Width() + 1 : 0;
  if (withTicks && ticksPen_->Visible()) size += tickLength_;
  if (minorTicks_->Visible()) size = std::max(size, minorTickLength_);
  return size;
}

// ---- Label values -------------------------------------------------------------------------------

std::vector<double> TChartAxis::ValueLabelValues() {
  std::vector<double> values;
  const double minimum = iMinimum_, maximum = iMaximum_;
  if (maximum < minimum) return values;
  if (logarithmic_ && increment_ == 0) return LogLabelValues();
  const double increment = LabelsIncrement();

  int stepIndex = dtNone;
  if (isDateTime_ && exactDateTime_ && increment_ != 0) {
    stepIndex = FindDateTimeStep(increment_);
    if (stepIndex != dtNone)
      while (stepIndex < dtOneYear && increment > DateTimeStep[stepIndex]) ++stepIndex;
  }
  const bool calendar = stepIndex >= dtHalfMonth && stepIndex <= dtOneYear;
  if (!(increment > 0) && !calendar) return values;
  if (increment > 0 && std::fabs(static_cast<long double>(range_) / increment) >= kMaxLabels) return values;

  if (rangeZero_) {
    values.push_back(maximum);
    return values;
  }

  if (isDateTime_ && exactDateTime_ && stepIndex >= dtOneDay && stepIndex != dtNone) {
    // Calendar walk: aligned to the calendar, one calendar step back at a time.
    double value = AlignDateTimeToStep(stepIndex, maximum);
    int guard = 0;
    while (value > maximum && guard++ < kMaxLabels) {
      const double before = value;
      StepDateTime(false, value, stepIndex, increment);
      if (value == before) break;
    }
    while (value >= minimum && values.size() < static_cast<size_t>(kMaxLabels)) {
      values.push_back(value);
      const double before = value;
      StepDateTime(false, value, stepIndex, increment);
      if (value == before || std::fabs(value) > 1.7e308) break;
    }
    return values;
  }

  // Labels come from the step index (k x increment), so rounding never loses an end label.
  const long double inc = increment;
  const long double tolerance = inc * kWalkTolerance;
  if (axisLabels_.RoundFirst) {
    long double k = std::floor(maximum / inc + kWalkTolerance);
    while (k * inc > maximum + tolerance) k -= 1;
    double previous = std::numeric_limits<double>::quiet_NaN();
    for (; values.size() < static_cast<size_t>(kMaxLabels); k -= 1) {
      const double value = static_cast<double>(k * inc);
      if (value < minimum - tolerance || value == previous || std::fabs(value) > 1.7e308) break;
      values.push_back(value);
      previous = value;
    }
  } else {
    double previous = std::numeric_limits<double>::quiet_NaN();
    for (long double j = 0; values.size() < static_cast<size_t>(kMaxLabels); j += 1) {
      const double value = static_cast<double>(maximum - j * inc);
      if (value < minimum - tolerance || value == previous || std::fabs(value) > 1.7e308) break;
      values.push_back(value);
      previous = value;
    }
  }
  return values;
}

std::vector<double> TChartAxis::LogLabelValues() {
  std::vector<double> values;
  const double base = logarithmicBase_;
  if (iMinimum_ == iMaximum_ || !(base > 0) || base == 1) return values;
  // Powers of the base have no place below zero: the walk starts just above it.
  if (iMinimum_ <= 0) {
    iMinimum_ = iMinimum_ == 0 ? 0.1 : 1e-10;
    RecalcScale();
  }
  const double exponent = static_cast<double>(Round(std::log(iMinimum_) / std::log(base)));
  const double first = std::pow(base, exponent);
  auto walk = [&](auto next) {
    for (double value = first; value <= iMaximum_ && values.size() < static_cast<size_t>(kMaxLabels);) {
      if (value >= iMinimum_) values.push_back(value);
      const double following = next(value);
      if (!(following > value) || std::fabs(following) > 1.7e308) break;
      value = following;
    }
  };
  walk([base](double v) { return v * base; });
  // A range inside one power of the base: steps of the power below the first label.
  if (values.empty()) {
    const double step = std::pow(base, exponent - 1);
    walk([step](double v) { return v + step; });
  }
  return values;
}

void TChartAxis::AddTick(int pixel, double value) {
  ticks_.push_back(pixel);
  tickValues_.push_back(value);
}

bool TChartAxis::LabelTextsNeeded() const {
  return (labels_ && !ticksOnly_) || (grid_->Visible() && grid_->DrawAlways());
}

void TChartAxis::AddValueLabel(double value) {
  const int pixel = CalcPosValue(value);
  if (!axisLabels_.OnAxis && !StrictlyInside(pixel, iStartPos_, iEndPos_)) return;
  if (!tickOnLabelsOnly_) AddTick(pixel, value);
  PlaceLabel(value, pixel, LabelTextsNeeded() ? FormatLabel(value) : std::string(), nullptr, nullptr, -1);
}

void TChartAxis::BuildLabels() {
  ticks_.clear();
  tickValues_.clear();
  logExtraTicks_.clear();
  labelItems_.clear();
  ticksOnly_ = false;
  if (HasCustomItems()) {
    AddCustomLabels();
    return;
  }
  TAxisLabelStyle style = LabelStyleInUse();
  if (style == talNone) {
    // A grid drawn regardless of labels still needs its ticks: the value walk gives them.
    if (!(grid_->Visible() && grid_->DrawAlways())) return;
    style = talValue;
    ticksOnly_ = true;
  }
  if (style == talValue) {
    if (AddNextLabels()) return;
    const std::vector<double> values = ValueLabelValues();
    for (double value : values) AddValueLabel(value);
    if (logarithmic_ && increment_ == 0 && !values.empty() && minorGrid_->Visible()) {
      // Minor ticks also before the first label and past the last one.
      const auto [low, high] = std::minmax_element(values.begin(), values.end());
      logExtraTicks_ = {*low / logarithmicBase_, *high * logarithmicBase_};
    }
    return;
  }
  auto* depth = dynamic_cast<TChartDepthAxis*>(this);
  if (depth && depth->LabelsAsSeriesTitles())
    AddDepthTitleLabels();
  else
    AddPointLabels(style);
}

bool TChartAxis::AddNextLabels() {
  if (!owner_) return false;
  // The event walks from the minimum; values a hair outside the range still count.
  constexpr double kWiden = 1e-7;
  constexpr int kMaxCalls = 2001;
  double value = iMinimum_;
  for (int n = 0; n < kMaxCalls; ++n) {
    bool stop = false;
    if (!owner_->GetNextAxisLabel(*this, n, value, stop)) return false;
    if (stop) return n != 0;
    if (value < iMinimum_ - kWiden || value > iMaximum_ + kWiden) break;
    AddValueLabel(value);
  }
  return true;
}

void TChartAxis::PlaceLabel(double value, int pixel, const std::string& text, TCustomTextShape* format,
                            TChartSeries* series, int index) {
  if (tickOnLabelsOnly_) AddTick(pixel, value);
  // Beside its tick rather than on it: moved by half its width.
  if (axisLabels_.Position != lpAtTick && !text.empty()) {
    const int half = LabelTextWidthNow(text, format ? format->Font() : labelsFont_.get()) / 2;
    pixel += axisLabels_.Position == lpAfterTick ? half : -half;
  }
  if (labels_ && !ticksOnly_) labelItems_.push_back(TAxisLabelItem{value, text, pixel, format, series, index, TRect{}});
}

void TChartAxis::AddCustomLabels() {
  const double tolerance = std::fabs(static_cast<double>(range_)) * 1e-12;
  for (int i = 0; i < items_->Count(); ++i) {
    TAxisItem& item = items_->Item(i);
    const double value = item.Value();
    if (value < iMinimum_ - tolerance || value > iMaximum_ + tolerance) continue;
    const int pixel = CalcPosValue(value);
    item.Pixel = pixel;
    if (!tickOnLabelsOnly_) AddTick(pixel, value);
    TCustomTextShape* format = item.FormatOrNull() ? item.FormatOrNull() : items_->Format();
    if (!format->Visible()) continue;
    PlaceLabel(value, pixel, item.Text().empty() ? FormatLabel(value) : item.Text(), item.FormatOrNull(), nullptr, i);
  }
}

std::string TChartAxis::PointLabelText(TAxisLabelStyle style, TChartSeries& series, int index) {
  switch (style) {
    case talMark:
      return series.MarkText(index);
    case talText:
      return series.PointLabel(index);
    default:
      return FormatLabel(this == series.GetHorizAxis() || (horizontal_ && series.GetHorizAxis() == nullptr)
                             ? series.XValueAt(index)
                             : series.YValueAt(index));
  }
}

double TChartAxis::PointLabelValue(TChartSeries& series, int index) const {
  if (isDepth_) return series.EffectiveDepthOrder();
  if (series.PrefersPointIndexLabels()) return index;
  return horizontal_ ? series.XValueAt(index) : series.YValueAt(index);
}

void TChartAxis::AddPointLabels(TAxisLabelStyle style) {
  if (!owner_) return;
  const std::vector<TChartSeries*> series = owner_->SeriesOfAxis(*this);
  int first = -1, last = -1;
  bool pointLabels = false;
  for (TChartSeries* s : series) {
    s->FindVisibleRange();
    if (s->FirstVisible() >= 0 && (first < 0 || s->FirstVisible() < first)) first = s->FirstVisible();
    last = std::max(last, s->LastVisible());
    pointLabels |= s->Labels().Count() > 0;
  }
  if (first < 0 || last < first) return;
  int step = 1;
  if (!owner_->HasAxisLabelEvent() && !pointLabels) {
    const RECT r = owner_->ChartRect();
    const int room = horizontal_ ? r.right - r.left : r.bottom - r.top;
    const int points = last - first + 1;
    if (room < points && room >= 1) step = std::max(1, RoundInt(2.0L * points / room));
  }
  TCanvas3D* canvas = owner_->AxisCanvas();
  if (canvas) owner_->AssignAxisFont(labelsFont_.get());
  const int lineHeight = canvas ? canvas->LineHeight() : owner_->LabelLineHeight(*this);
  const int angle = ((labelsAngle_ % 360) + 360) % 360;
  const bool textAlong = horizontal_ ? angle % 180 == 0 : (angle == 90 || angle == 270);
  auto halfExtent = [&](const std::string& text) {
    const int extent = textAlong ? (canvas ? canvas->MeasureTextWidth(text) : owner_->LabelTextWidth(*this, text))
                                 : TextLineCount(text) * lineHeight;
    return (extent + static_cast<int>(std::trunc(extent * 0.02L * axisLabels_.Separation))) / 2;
  };
  const double tolerance = std::fabs(static_cast<double>(range_)) * 1e-12;
  const bool trim = labelsAutoText_ && labelsAutoText_->Trim();
  for (TChartSeries* s : series) {
    bool firstOfSeries = true;
    int previousPixel = 0, previousHalf = 0;
    for (int i = first; i <= last && i < s->PointCount(); i += step) {
      std::string text = PointLabelText(style, *s, i);
      owner_->GetSeriesAxisLabel(*this, s, i, text);
      const double value = PointLabelValue(*s, i);
      if (value < iMinimum_ - tolerance || value > iMaximum_ + tolerance) continue;
      const int pixel = CalcPosValue(value);
      if (!tickOnLabelsOnly_ && std::find(ticks_.begin(), ticks_.end(), pixel) == ticks_.end())
        AddTick(pixel, value);
      int half = halfExtent(text);
      if (axisLabels_.Separation != 0 && !firstOfSeries) {
        const int distance = std::abs(pixel - previousPixel);
        if (distance < previousHalf + half) {
          if (!trim) continue;
          while (!text.empty() && distance < previousHalf + half) {
            text.pop_back();
            half = halfExtent(text);
          }
          if (text.empty()) continue;
        }
      }
      PlaceLabel(value, pixel, text, nullptr, s, i);
      firstOfSeries = false;
      previousPixel = pixel;
      previousHalf = half;
    }
  }
}

void TChartAxis::AddDepthTitleLabels() {
  if (!owner_) return;
  const std::vector<TChartSeries*> series = owner_->ActiveSeriesList();
  for (long long i = static_cast<long long>(std::trunc(iMinimum_)); i <= static_cast<long long>(std::trunc(iMaximum_));
       ++i) {
    if (i < 0 || i >= static_cast<long long>(series.size())) continue;
    TChartSeries* s = series[static_cast<size_t>(i)];
    std::string text = s->Title().empty() ? s->DisplayName() : s->Title();
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    owner_->GetSeriesAxisLabel(*this, s, static_cast<int>(i), text);
    const double value = iMaximum_ - static_cast<double>(i) - 0.5;
    PlaceLabel(value, CalcPosValue(value), text, nullptr, s, static_cast<int>(i));
  }
}

std::vector<int> TChartAxis::MinorTickPixels() const {
  std::vector<int> result;
  const int count = std::max(0, minorTickCount_);
  if (logarithmic_) return LogMinorTickPixels();
  if (count == 0 || ticks_.size() < 2) return result;
  auto add = [&](int pixel) {
    if (StrictlyInside(pixel, iStartPos_, iEndPos_)) result.push_back(pixel);
  };
  const long double firstStep = static_cast<long double>(ticks_[1] - ticks_[0]) / (count + 1);
  for (int j = 1; j <= count; ++j) add(ticks_[0] - RoundInt(j * firstStep));
  for (size_t i = 1; i < ticks_.size(); ++i)
    for (int j = 1; j <= count; ++j)
      add(ticks_[i] - RoundInt(j * static_cast<long double>(ticks_[i] - ticks_[i - 1]) / (count + 1)));
  const size_t n = ticks_.size();
  const long double lastStep = static_cast<long double>(ticks_[n - 1] - ticks_[n - 2]) / (count + 1);
  for (int j = 1; j <= count; ++j) add(ticks_[n - 1] + RoundInt(j * lastStep));
  return result;
}

std::vector<int> TChartAxis::LogMinorTickPixels() const {
  std::vector<int> result;
  const int count = std::max(0, minorTickCount_);
  std::vector<double> values = tickValues_;
  values.insert(values.end(), logExtraTicks_.begin(), logExtraTicks_.end());
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());
  if (count == 0 || values.size() < 2) return result;
  for (size_t i = 1; i < values.size(); ++i) {
    const long double step = (static_cast<long double>(values[i]) - values[i - 1]) / (count + 1);
    for (int j = 1; j <= count; ++j) {
      const int pixel = CalcPosValue(static_cast<double>(values[i - 1] + j * step));
      if (StrictlyInside(pixel, iStartPos_, iEndPos_)) result.push_back(pixel);
    }
  }
  return result;
}

std::vector<int> TChartAxis::GridPixels() const {
  std::vector<int> result;
  const size_t every = static_cast<size_t>(std::max(1, grid_->DrawEvery()));
  for (size_t i = 0; i < ticks_.size(); i += every) {
    int pixel = ticks_[i];
    if (grid_->Centered()) {
      if (i + 1 >= ticks_.size()) break;
      pixel = (ticks_[i] + ticks_[i + 1]) / 2;
    }
    if (StrictlyInside(pixel, iStartPos_, iEndPos_)) result.push_back(pixel);
  }
  return result;
}

// ---- Room ---------------------------------------------------------------------------------------

int TChartAxis::LabelExtent(TKelFont* font, int angle, int fixedSize, const std::string& text) {
  if (fixedSize > 0) return fixedSize;
  if (!owner_) return 0;
  TCanvas3D* canvas = owner_->AxisCanvas();
  int lineHeight;
  auto width = [&](const std::string& t) {
    return canvas ? canvas->MeasureTextWidth(t) : owner_->LabelTextWidth(*this, t);
  };
  if (canvas) {
    owner_->AssignAxisFont(font);
    lineHeight = canvas->LineHeight();
  } else {
    lineHeight = owner_->LabelLineHeight(*this);
  }
  angle %= 360;
  const bool along = horizontal_ ? angle % 180 == 0 : (angle == 90 || angle == 270);
  if (along) return lineHeight;
  int w = 0;
  const TAxisLabelStyle style = HasCustomItems() ? talValue : LabelStyleInUse();
  auto* depth = dynamic_cast<TChartDepthAxis*>(this);
  const bool seriesTitles = depth && depth->LabelsAsSeriesTitles() && style != talValue;
  if (!text.empty()) {
    w = width(text);
  } else if (!seriesTitles && (style == talText || style == talMark)) {
    // Point texts: the point labels of every series, the marks of the active ones.
    w = style == talText ? owner_->WidestPointLabel(*this) : owner_->WidestMark(*this);
    if (canvas) owner_->AssignAxisFont(font);
  } else {
    // The widest label of the style, plus one blank for value labels.
    bool values = false;
    const std::vector<std::string> labels = MeasuredLabels(values);
    // Custom labels with a box of their own are measured in its font.
    const bool custom = HasCustomItems() && static_cast<int>(labels.size()) == items_->Count();
    for (size_t i = 0; i < labels.size(); ++i) {
      TCustomTextShape* own = custom ? items_->Item(static_cast<int>(i)).FormatOrNull() : nullptr;
      if (canvas && custom) owner_->AssignAxisFont(own ? own->Font() : font);
      const std::string& label = labels[i];
      const int lines = TextLineCount(label);
      for (int k = 1; k <= lines; ++k) w = std::max(w, width(lines == 1 ? label : FieldAtSep(label, k, "\r")));
    }
    if (canvas && custom) owner_->AssignAxisFont(font);
    if (values && !labels.empty()) w += width(" ");
  }
  const long double a = angle * 3.14159265358979323846L / 180;
  if (horizontal_) return lineHeight + RoundInt(std::fabs(std::sin(a)) * w);
  return RoundInt(std::fabs(std::cos(a)) * w);
}

std::vector<std::string> TChartAxis::MeasuredLabels(bool& values) {
  std::vector<std::string> result;
  values = false;
  if (HasCustomItems()) {
    for (int i = 0; i < items_->Count(); ++i)
      result.push_back(items_->Item(i).Text().empty() ? FormatLabel(items_->Item(i).Value()) : items_->Item(i).Text());
    return result;
  }
  const TAxisLabelStyle style = LabelStyleInUse();
  auto* depth = dynamic_cast<TChartDepthAxis*>(this);
  if (depth && depth->LabelsAsSeriesTitles() && style != talValue) {
    // The labels are the series titles.
    if (!owner_) return result;
    for (TChartSeries* s : owner_->ActiveSeriesList()) result.push_back(s->Title().empty() ? s->DisplayName() : s->Title());
    return result;
  }
  if (style == talMark || style == talText || style == talPointValue) {
    if (!owner_) return result;
    for (TChartSeries* s : owner_->SeriesOfAxis(*this)) {
      const int n = std::min(s->PointCount(), kMaxMeasuredLabels);
      for (int i = 0; i < n; ++i) {
        std::string text = PointLabelText(style, *s, i);
        owner_->GetSeriesAxisLabel(*this, s, i, text);
        result.push_back(std::move(text));
      }
    }
    return result;
  }
  values = true;
  const std::vector<double> list = ValueLabelValues();
  const size_t n = std::min(list.size(), static_cast<size_t>(kMaxMeasuredLabels));
  for (size_t i = 0; i < n; ++i) result.push_back(FormatLabel(list[i]));
  return result;
}

int TChartAxis::LabelSize() {
  if (axisLabels_.HeightFactor == 0) {
    axisLabels_.HeightFactor = 1;
    axisLabels_.TallestImage = 0;
    if (horizontal_ && labelsAngle_ == 0) {
      const TAxisLabelStyle style = HasCustomItems() ? talValue : LabelStyleInUse();
      auto* depth = dynamic_cast<TChartDepthAxis*>(this);
      const bool pointLabels = (style == talMark || style == talText || style == talPointValue) && owner_ &&
                               !(depth && depth->LabelsAsSeriesTitles());
      if (pointLabels) {
        // The point labels of the points within the range.
        const double tolerance = std::fabs(static_cast<double>(range_)) * 1e-12;
        for (TChartSeries* s : owner_->SeriesOfAxis(*this)) {
          const int n = std::min(s->PointCount(), kMaxMeasuredLabels);
          for (int i = 0; i < n; ++i) {
            const double value = PointLabelValue(*s, i);
            if (value < iMinimum_ - tolerance || value > iMaximum_ + tolerance) continue;
            std::string text = PointLabelText(style, *s, i);
            owner_->GetSeriesAxisLabel(*this, s, i, text);
            axisLabels_.HeightFactor = std::max(axisLabels_.HeightFactor, TextLineCount(text));
          }
        }
      } else {
        bool values = false;
        for (const std::string& label : MeasuredLabels(values))
          axisLabels_.HeightFactor = std::max(axisLabels_.HeightFactor, TextLineCount(label));
      }
      axisLabels_.TallestImage = LabelImagesSize();
    }
  }
  int size = LabelExtent(labelsFont_.get(), labelsAngle_, labelsSize_, std::string());
  if (labelsSize_ <= 0) size += FrameExtent(LabelsFormat());
  size *= axisLabels_.HeightFactor;
  if (labelsAlternate_) size *= 2;
  return size;
}

int TChartAxis::LabelTextWidthNow(const std::string& text, TKelFont* font) {
  if (!owner_) return 0;
  TCanvas3D* canvas = owner_->AxisCanvas();
  if (canvas == nullptr) return owner_->LabelTextWidth(*this, text);
  owner_->AssignAxisFont(font);
  const int lines = TextLineCount(text);
  int width = 0;
  for (int n = 1; n <= lines; ++n)
    width = std::max(width, canvas->MeasureTextWidth(lines == 1 ? text : FieldAtSep(text, n, "\r")));
  return width;
}

void TChartAxis::TakeOrientationFrom(const TChartAxis& parent) {
  horizontal_ = parent.horizontal_;
  otherSide_ = parent.otherSide_;
  inverted_ = parent.inverted_;
  logarithmic_ = parent.logarithmic_;
  logarithmicBase_ = parent.logarithmicBase_;
  ChooseCalcPos();
}

void TChartAxis::TakeSpanFrom(const TChartAxis& parent) {
  iStartPos_ = parent.iStartPos_;
  iEndPos_ = parent.iEndPos_;
  iAxisSize_ = parent.iAxisSize_;
  iCenterPos_ = parent.iCenterPos_;
  RecalcScale();
}

void TChartAxis::ReserveLabelSpace(TRect& r, bool standard) {
  // Takes n pixels from r on the axis side, never leaving r thinner than one pixel, and
  // answers the new edge.
  auto take = [&](int n) {
    if (horizontal_) {
      if (otherSide_) {
        r.Top = std::min(r.Bottom - 1, r.Top + n);
        return r.Top;
      }
      r.Bottom = std::max(r.Top + 1, r.Bottom - n);
      return r.Bottom;
    }
    if (otherSide_) {
      r.Right = std::max(r.Left + 1, r.Right - n);
      return r.Right;
    }
    r.Left = std::min(r.Right - 1, r.Left + n);
    return r.Left;
  };
  // Sub-axes stand outermost: each takes its room first and its axis line stands at the edge
  // that room leaves. They show this axis's range over its span.
  for (int i = 0; i < SubAxisCount(); ++i) {
    TChartAxis& sub = SubAxis(i);
    if (!sub.Visible() || !sub.VisibleNow) continue;
    sub.TakeOrientationFrom(*this);
    sub.iMinimum_ = iMinimum_;
    sub.iMaximum_ = iMaximum_;
    sub.TakeSpanFrom(*this);
    sub.ReserveLabelSpace(r, true);
    sub.posAxis_ = take(0) + sub.PositionShift();
  }
  RefreshDateTime();
  axisLabels_.HeightFactor = 0;
  if (!standard) {
    ComputePosition();
    posLabels_ = MoveOutward(posAxis_, AxisLineAndTickSize(true));
    posTitle_ = MoveOutward(posLabels_, labels_ ? LabelSize() : 0);
    return;
  }
  const int shift = PositionShift();
  appliedShift_ = shift;
  if (title_ && title_->Visible() && !title_->Text().empty())
    posTitle_ = shift + take(LabelExtent(title_->Font(), title_->Angle(), titleSize_, title_->Text()) +
                             (titleSize_ > 0 ? 0 : FrameExtent(title_.get())));
  if (labels_) {
    int size = LabelSize();
    // Pictures beside the labels need their room too.
    if (axisLabels_.UseImages) size += horizontal_ ? axisLabels_.TallestImage : LabelImagesSize();
    int lineHeight = 0;
    if (owner_) {
      if (TCanvas3D* canvas = owner_->AxisCanvas()) {
        owner_->AssignAxisFont(labelsFont_.get());
        lineHeight = canvas->LineHeight();
      } else {
        lineHeight = owner_->LabelLineHeight(*this);
      }
    }
    posLabels_ = shift + MoveOutward(take(size), RoundInt(lineHeight * axisLabels_.Margin * 0.01L));
  }
  // Labels beside their ticks share the ticks' room.
  const int n = (owner_ ? owner_->WallSizeForAxis(*this) : 0) + AxisLineAndTickSize(axisLabels_.Position == lpAtTick);
  if (n > 0) take(n);
}

// ---- Drawing ------------------------------------------------------------------------------------

void TChartAxis::PaintAxis(bool setPosition) {
  TCanvas3D* canvas = owner_ ? owner_->AxisCanvas() : nullptr;
  if (canvas == nullptr) return;
  {
    ElementScope element(canvas, elementName_);
    RefreshDateTime();
    if (setPosition) ComputePosition();
    DrawBackShape();
    DrawTitle();
    BuildLabels();
    if (labelsBehind_) DrawLabels();
    DrawLineTicksAndGrid();
    if (!labelsBehind_) DrawLabels();
  }
  PaintSubAxes();
}

void TChartAxis::PaintSubAxes() {
  for (int i = 0; i < SubAxisCount(); ++i) {
    TChartAxis& sub = SubAxis(i);
    if (!sub.Visible() || !sub.VisibleNow) continue;
    sub.TakeOrientationFrom(*this);
    sub.TakeSpanFrom(*this);
    sub.PaintAxis(false);
  }
}

TRect TChartAxis::BackShapeBox() {
  const TCustomTextShape* format = LabelsFormat();
  const int margins = horizontal_ ? format->Margins()->pixTop + format->Margins()->pixBottom
                                  : format->Margins()->pixLeft + format->Margins()->pixRight;
  int across = (labels_ ? LabelSize() : 0) + margins + 3;
  // Labels beside their ticks stand over the ticks' room; labels at them stand past it.
  if (axisLabels_.Position == lpAtTick)
    across += AxisLineAndTickSize(true);
  else
    across = std::max(across, AxisLineAndTickSize(true) - 2);
  const int outer = MoveOutward(posAxis_, across);
  const int a0 = std::min(iStartPos_, iEndPos_), a1 = std::max(iStartPos_, iEndPos_);
  const int c0 = std::min(posAxis_, outer), c1 = std::max(posAxis_, outer);
  return horizontal_ ? TRect(a0, c0, a1, c1) : TRect(c0, a0, c1, a1);
}

void TChartAxis::DrawBackShape() {
  if (!shape_ || !shape_->Visible()) return;
  shape_->Bounds = BackShapeBox();
  shape_->DrawInRect(shape_->Bounds, zPixel_, 0);
}

int TChartAxis::DepthAxisRow() const {
  if (!owner_) return 0;
  const RECT r = owner_->ChartRect();
  return otherSide_ ? r.bottom : r.top;
}

int TChartAxis::GridZPixel() const {
  if (!owner_) return 0;
  const int depth = owner_->ChartDepth();
  const int z = RoundInt(grid_->ZPosition() * depth * 0.01L);
  // Percent from the axis's own side: 0 puts a front axis's grid on the back wall, as 100
  // does for an axis at the back.
  return otherSide_ ? z : depth - z;
}

std::vector<TAxisGridSegment> TChartAxis::GridSegments(const std::vector<int>& pixels) const {
  std::vector<TAxisGridSegment> result;
  if (!owner_) return result;
  const RECT r = owner_->ChartRect();
  const bool in3D = owner_->AxisView3D();
  const TChartAxis* partner = usePartnerAxis_ ? partnerAxis_ : nullptr;
  for (int p : pixels) {
    if (isDepth_) {
      // Across the floor and up the left wall, at the label's depth.
      result.push_back({r.left, r.bottom, p, r.right, r.bottom, p});
      result.push_back({r.left, r.top + 1, p, r.left, r.bottom, p});
      continue;
    }
    if (!in3D) {
      if (horizontal_) {
        const int a = partner ? partner->StartPixel() : r.top + 1, b = partner ? partner->EndPixel() : r.bottom;
        result.push_back({p, a, 0, p, b, 0});
      } else {
        const int a = partner ? partner->StartPixel() : r.left + 1, b = partner ? partner->EndPixel() : r.right;
        result.push_back({a, p, 0, b, p, 0});
      }
      continue;
    }
    const int z = GridZPixel();
    if (horizontal_) {
      result.push_back({p, r.top + 1, z, p, r.bottom, z});
      // The floor, from the front to the line on the back wall.
      if (!otherSide_ && z > 0) result.push_back({p, r.bottom, 0, p, r.bottom, z});
    } else {
      result.push_back({r.left + 1, p, z, r.right, p, z});
      // The left wall.
      if (!otherSide_ && z > 0) result.push_back({r.left, p, 0, r.left, p, z});
    }
  }
  return result;
}

void TChartAxis::DrawSolidAxisLine(TCanvas3D* canvas, int at) {
  canvas->Pen()->SetStyle(psClear);
  canvas->Brush()->SetColor(axisPen_->Color());
  canvas->Brush()->SetStyle(bsSolid);
  // As thick as the pen, centred on the line, across the axis and in depth.
  const int w = std::max(1, axisPen_->Width());
  const int lo = at - w / 2, hi = lo + w;
  const int a = std::min(iStartPos_, iEndPos_), b = std::max(iStartPos_, iEndPos_);
  const bool cylinder = axisPen_->LineMode() == lmCylinder;
  if (isDepth_) {
    const int row = DepthAxisRow();
    canvas->DrawBox3D(lo, hi, row - w / 2, row - w / 2 + w, a, b, true);
  } else if (horizontal_) {
    if (cylinder)
      canvas->DrawCylinder3D(false, a, lo, b, hi, zPixel_ - w / 2, zPixel_ - w / 2 + w, true);
    else
      canvas->DrawBox3D(a, b, lo, hi, zPixel_ - w / 2, zPixel_ - w / 2 + w, true);
  } else {
    if (cylinder)
      canvas->DrawCylinder3D(true, lo, a, hi, b, zPixel_ - w / 2, zPixel_ - w / 2 + w, true);
    else
      canvas->DrawBox3D(lo, hi, a, b, zPixel_ - w / 2, zPixel_ - w / 2 + w, true);
  }
  canvas->Brush()->SetStyle(bsClear);
}

void TChartAxis::DrawLineTicksAndGrid() {
  TCanvas3D* canvas = owner_->AxisCanvas();
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetBackMode(TRANSPARENT);
  const int wall = isDepth_ ? 0 : owner_->WallSizeForAxis(*this);
  // Every line goes through the projection: flat, it leaves points as they are; in 3D an axis
  // stands at its Z pixel, and a depth axis runs along Z on the chart's bottom (or top) edge.
  auto segment3D = [&](int x0, int y0, int z0, int x1, int y1, int z1) {
    const TPoint a = canvas->Project3D(x0, y0, z0), b = canvas->Project3D(x1, y1, z1);
    canvas->LineSegment(a.X, a.Y, b.X, b.Y);
  };
  const int row = DepthAxisRow();
  auto line = [&](int p, int a, int b) {
    if (isDepth_)
      segment3D(p, row, a, p, row, b);
    else if (horizontal_)
      segment3D(a, p, zPixel_, b, p, zPixel_);
    else
      segment3D(p, a, zPixel_, p, b, zPixel_);
  };
  auto across = [&](int along, int from, int to) {
    if (isDepth_)
      segment3D(from, row, along, to, row, along);
    else if (horizontal_)
      segment3D(along, from, zPixel_, along, to, zPixel_);
    else
      segment3D(from, along, zPixel_, to, along, zPixel_);
  };
  auto gridLines = [&](const std::vector<int>& pixels) {
    for (const TAxisGridSegment& g : GridSegments(pixels)) segment3D(g.X0, g.Y0, g.Z0, g.X1, g.Y1, g.Z1);
  };
  int outside = MoveOutward(posAxis_, wall);
  if (axisPen_->Visible()) {
    const int at = MoveOutward(posAxis_, axisPen_->Width() / 2 + wall);
    // A flat chart has no solid to show: the line stays a line there.
    if (axisPen_->LineMode() != lmLine && owner_->AxisView3D())
      DrawSolidAxisLine(canvas, at);
    else {
      canvas->UsePen(axisPen_.get());
      line(at, iStartPos_, iEndPos_);
    }
    outside = MoveOutward(posAxis_, wall + axisPen_->Width());
  }
  if (tickLength_ != 0 && ticksPen_->Visible()) {
    ElementScope element(canvas, "Ticks");
    canvas->UsePen(ticksPen_.get());
    for (int tick : ticks_) across(tick, outside, MoveOutward(outside, tickLength_));
  }
  if (grid_->Visible()) {
    ElementScope element(canvas, "Grid");
    canvas->Brush()->SetStyle(bsClear);
    canvas->UsePen(grid_.get());
    if (grid_->Color() == clDefault) canvas->Pen()->SetColor(static_cast<TColor>(0x808080));
    gridLines(GridPixels());
  }
  if (tickInnerLength_ != 0 && ticksInner_->Visible()) {
    ElementScope element(canvas, "InnerTicks");
    canvas->UsePen(ticksInner_.get());
    for (int tick : ticks_) across(tick, posAxis_, MoveOutward(posAxis_, -tickInnerLength_));
  }
  // The minor grid stands at the minor tick places, whether or not the minor ticks show.
  if (minorTickLength_ != 0 && (minorTicks_->Visible() || minorGrid_->Visible())) {
    ElementScope element(canvas, "MinorTicks");
    const std::vector<int> minors = MinorTickPixels();
    if (minorTicks_->Visible()) {
      canvas->UsePen(minorTicks_.get());
      for (int pixel : minors) across(pixel, outside, MoveOutward(outside, minorTickLength_));
    }
    if (minorGrid_->Visible()) {
      canvas->UsePen(minorGrid_.get());
      gridLines(minors);
    }
  }
  canvas->SetBackMode(OPAQUE);
}

void TChartAxis::DrawLabels() {
  if (labelItems_.empty()) return;
  TCanvas3D* canvas = owner_->AxisCanvas();
  ElementScope element(canvas, "Labels");
  canvas->SetBackMode(TRANSPARENT);
  const double tolerance = std::fabs(static_cast<double>(range_)) * 1e-12;
  TCustomTextShape* common = LabelsFormat();
  int row = 0;
  for (TAxisLabelItem& item : labelItems_) {
    if (item.Value < iMinimum_ - tolerance || item.Value > iMaximum_ + tolerance) continue;
    if (!(item.Format ? item.Format : common)->Visible()) continue;
    DrawLabel(item, row);
    if (labelsAlternate_) row = 1 - row;
  }
  canvas->SetBackMode(OPAQUE);
}

namespace {
// How far the 3D projection moves what stands at (x, y, z); a canvas that draws in full 3D
// places shapes at their depth itself.
TPoint ProjectionShift(TCanvas3D* canvas, int x, int y, int z) {
  if (canvas->SupportsFull3D()) return TPoint{0, 0};
  const TPoint at = canvas->Project3D(x, y, z);
  return TPoint{at.X - x, at.Y - y};
}
}  // namespace

void TChartAxis::DrawLabel(TAxisLabelItem& item, int row) {
  TCanvas3D* canvas = owner_->AxisCanvas();
  // An item with its own box draws in its font; other labels in the axis label font.
  TCustomTextShape* format = item.Format ? item.Format : LabelsFormat();
  TKelFont* font = item.Format ? item.Format->Font() : labelsFont_.get();
  // The hovered label takes the hover box, and the hover font's style and colour on the
  // label's own font (its size kept).
  TKelFont hoverFont(TNotifyEvent{});
  TCustomTextShape* hovered = nullptr;
  if (items_ && items_->HasSelected() && items_->Selected()->Hover()->Visible() &&
      items_->Selected()->HoverIndex() == static_cast<int>(&item - labelItems_.data())) {
    TKelHover* hover = items_->Selected()->Hover();
    hoverFont.Assign(font);
    hoverFont.SetStyle(hover->Font()->Style());
    hoverFont.SetColor(hover->Font()->Color());
    format = hovered = hover;
    font = &hoverFont;
    hover->TextFont = font;
  }
  struct ReleaseFont {
    TCustomTextShape* hovered;
    ~ReleaseFont() {
      if (hovered) hovered->TextFont = nullptr;
    }
  } releaseFont{hovered};
  owner_->AssignAxisFont(font);
  // The second row of alternating labels stands one line (or one label) further out.
  int across = posLabels_;
  if (row == 1) across = MoveOutward(across, horizontal_ ? canvas->LineHeight() : LabelSize() / 2);
  // A depth axis label stands at its own depth.
  const int z = isDepth_ ? item.Pixel : zPixel_;
  TRect seen;
  const bool drawn = DrawLabelText(item.Pixel, across, z, labelsAngle_, item.Text, format, font, true, item.Box, seen);
  if (drawn && axisLabels_.UseImages) DrawLabelPicture(item, seen);
}

bool TChartAxis::DrawLabelText(int along, int across, int z, int angle, std::string text, TCustomTextShape* format,
                               TKelFont* font, bool asLabel, TRect& box, TRect& seen) {
  TCanvas3D* canvas = owner_->AxisCanvas();
  owner_->AssignAxisFont(font);
  const int lineHeight = canvas->LineHeight();
  angle %= 360;
  if (angle < 0) angle += 360;
  // Where the text stands against its anchor (x, y): y is the near edge of a horizontal
  // axis's label and the centre of a vertical axis's one.
  TAlignment align;
  int x, y;
  if (horizontal_) {
    align = taCenter;
    x = along;
    y = across;
  } else {
    x = across;
    if (!asLabel) {
      align = otherSide_ ? taLeftJustify : taRightJustify;
    } else if (axisLabels_.Align == alCenter) {
      // Centred on the label position; on the other side one label size further out.
      align = taCenter;
      if (otherSide_) x = MoveOutward(across, LabelSize());
    } else if (axisLabels_.Align == alOpposite) {
      // Moved by the label size and aligned towards the axis.
      x = MoveOutward(across, LabelSize());
      align = otherSide_ ? taRightJustify : taLeftJustify;
    } else {
      align = otherSide_ ? taLeftJustify : taRightJustify;
    }
    y = along;
  }
  if (labelsExponent_ && asLabel) {
    const int lines = TextLineCount(text);
    if (horizontal_) {
      int widest = 0;
      for (int n = 1; n <= lines; ++n)
        widest = std::max(widest, canvas->MeasureTextWidth(lines == 1 ? text : FieldAtSep(text, n, "\r")));
      x -= widest / 10;
      y += lineHeight * lines / 2;
    } else {
      y += lineHeight * lines / 8;
    }
  }
  // A depth axis's labels stand beside the chart edge it runs along, centred on it.
  if (isDepth_) y = DepthAxisRow();
  bool draw = true;
  if (OnDrawLabel) OnDrawLabel(this, x, y, z, text, draw);
  if (!draw) return false;

  // The box takes the text; its size is the text's plus the box's margins and frame.
  const std::string savedText = format->Text();
  const TAlignment savedAlign = format->TextAlignment();
  struct Restore {
    TCustomTextShape* format;
    const std::string& text;
    TAlignment align;
    ~Restore() {
      format->SetText(text);
      format->SetTextAlignment(align);
    }
  } restore{format, savedText, savedAlign};
  format->SetText(text);
  format->Bounds = TRect(0, 0, format->Width(), format->Height());
  format->CalcSize();
  const int w = format->Width(), h = format->Height();
  if (angle % 180 != 0) {
    // A turned box is placed by its turned extent: beside the axis from the label position
    // outward, centred on the label's pixel.
    const long double a = angle * std::numbers::pi_v<long double> / 180;
    const long double c = std::fabs(std::cos(a)), sn = std::fabs(std::sin(a));
    const int across2 = horizontal_ ? RoundInt(sn * w + c * h) : RoundInt(c * w + sn * h);
    int cx, cy;
    if (horizontal_) {
      cx = x;
      cy = MoveOutward(y, across2 / 2);
    } else {
      cy = y;
      cx = align == taCenter ? x : align == taRightJustify ? x - across2 / 2 : x + across2 / 2;
    }
    box = TRect(cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h);
  } else {
    int left = align == taCenter ? x - w / 2 : align == taRightJustify ? x - w : x;
    int top = horizontal_ ? (otherSide_ ? y - h : y) : y - h / 2;
    box = TRect(left, top, left + w, top + h);
    // The text keeps to the side of the box its label is aligned to.
    format->SetTextAlignment(align);
  }
  // In a 3D view the box stands at the axis's depth (a flat chart's projection leaves it).
  const TPoint shift = ProjectionShift(canvas, x, y, z);
  box = box.Moved(shift.X, shift.Y);
  seen = angle % 180 != 0 ? TurnedBounds(box, angle) : box;
  // A visible opaque back shape hides labels outside it.
  if (shape_ && shape_->Visible() && !shape_->Transparent() && !owner_->AxisView3D()) {
    const TRect& s = shape_->Bounds;
    if (seen.Right <= s.Left || seen.Left >= s.Right || seen.Bottom <= s.Top || seen.Top >= s.Bottom) return false;
  }
  const std::string upper = UpperCase(text);
  const size_t e = upper.find('E');
  if (asLabel && labelsExponent_ && e != std::string::npos && angle == 0 && TextLineCount(text) == 1) {
    // The box without its text, then the mantissa at full size, the exponent smaller and raised.
    format->SetText(" ");
    format->DrawInRect(box, z, 0);
    const std::string mantissa = text.substr(0, e);
    const std::string exponent = text.substr(e + 1);
    owner_->AssignAxisFont(font);
    const int mantissaWidth = canvas->MeasureTextWidth(mantissa);
    TKelFont small(TNotifyEvent{});
    small.Assign(font);
    small.SetSize(std::max(1, RoundInt(font->Size() * 0.75L)));
    owner_->AssignAxisFont(&small);
    const int exponentWidth = canvas->MeasureTextWidth(exponent);
    const int total = mantissaWidth + exponentWidth;
    int left = x + shift.X;
    if (align == taCenter) left -= total / 2;
    else if (align == taRightJustify) left -= total;
    const int top = (horizontal_ ? (otherSide_ ? y - lineHeight : y) : y - lineHeight / 2) + shift.Y;
    owner_->AssignAxisFont(font);
    canvas->SetBackMode(TRANSPARENT);
    canvas->SetTextAlign(kTaLeft);
    canvas->TextOut(left, top, mantissa);
    owner_->AssignAxisFont(&small);
    canvas->TextOut(left + mantissaWidth, top - (lineHeight / 2 - 2), exponent);
  } else {
    format->DrawInRect(box, z, angle);
  }
  return true;
}

int TChartAxis::LabelAt(int x, int y) const {
  for (size_t i = 0; i < labelItems_.size(); ++i) {
    if (labelItems_[i].Box.Contains(TPoint(x, y))) return static_cast<int>(i);
  }
  return -1;
}

bool TChartAxis::HoverLabelAt(int x, int y) {
  if (!items_ || !items_->HasSelected() || !items_->Selected()->Hover()->Visible()) return false;
  const int index = visible_ ? LabelAt(x, y) : -1;
  items_->Selected()->ChangeHoverIndex(index);
  return index != -1;
}

void TChartAxis::ClearLabelHover() {
  if (items_ && items_->HasSelected()) items_->Selected()->ChangeHoverIndex(-1);
  for (int i = 0; i < SubAxisCount(); ++i) SubAxis(i).ClearLabelHover();
}

TKelPicture* TChartAxis::LabelPicture(const TAxisLabelItem& item) const {
  TKelPicture* picture = nullptr;
  if (item.Series == nullptr) {
    if (HasCustomItems() && item.Index >= 0 && item.Index < items_->Count())
      picture = items_->Item(item.Index).PictureOrNull();
  } else if (!isDepth_ && item.Index >= 0 && item.Series->HasPictures()) {
    picture = item.Series->Pictures().PictureAt(item.Index);
  }
  return picture != nullptr && picture->HasGraphic() ? picture : nullptr;
}

void TChartAxis::DrawLabelPicture(const TAxisLabelItem& item, const TRect& box) {
  TKelPicture* picture = LabelPicture(item);
  if (picture == nullptr) return;
  TGraphic* graphic = picture->FilteredGraphic();
  const int w = graphic->Width(), h = graphic->Height();
  // Outward of the label: centred below or above it, or left or right of it.
  int left, top;
  if (horizontal_) {
    left = (box.Left + box.Right) / 2 - w / 2;
    top = otherSide_ ? box.Top - h : box.Bottom;
  } else {
    top = (box.Top + box.Bottom) / 2 - h / 2;
    left = otherSide_ ? box.Right : box.Left - w;
  }
  owner_->AxisCanvas()->DrawGraphicStretched(TRect(left, top, left + w, top + h), graphic);
}

int TChartAxis::LabelImagesSize() {
  int size = 0;
  auto take = [&](const TKelPicture* picture) {
    if (picture == nullptr || !picture->HasGraphic()) return;
    const TGraphic* graphic = picture->FilteredGraphic();
    size = std::max(size, horizontal_ ? graphic->Height() : graphic->Width());
  };
  if (HasCustomItems()) {
    for (int i = 0; i < items_->Count(); ++i) take(items_->Item(i).PictureOrNull());
    return size;
  }
  const TAxisLabelStyle style = LabelStyleInUse();
  if (!owner_ || isDepth_ || (style != talMark && style != talText && style != talPointValue)) return 0;
  for (TChartSeries* s : owner_->SeriesOfAxis(*this)) {
    if (!s->HasPictures()) continue;
    for (int i = 0; i < s->PointCount(); ++i) take(s->Pictures().PictureAt(i));
  }
  return size;
}

void TChartAxis::DrawTitle() {
  if (!title_ || !title_->Visible() || title_->Text().empty()) return;
  TCanvas3D* canvas = owner_->AxisCanvas();
  ElementScope element(canvas, "Title");
  canvas->SetBackMode(TRANSPARENT);
  if (isDepth_) {
    // Turned text beside the chart edge the depth axis runs along, halfway into the depth,
    // its middle one half line outward of the title position.
    owner_->AssignAxisFont(title_->Font());
    const int lineHeight = canvas->LineHeight();
    const long double a = title_->Angle() * std::numbers::pi_v<long double> / 180;
    const int cx = MoveOutward(posTitle_, lineHeight / 2), cy = DepthAxisRow();
    // Centred text hangs from its anchor: the anchor is half a line before the middle,
    // turned with the text.
    const int x = cx - RoundInt(std::sin(a) * lineHeight / 2), y = cy - RoundInt(std::cos(a) * lineHeight / 2);
    canvas->SetTextAlign(TA_CENTER);
    canvas->RotatedTextOut3D(x, y, owner_->ChartDepth() / 2, title_->Caption(), title_->Angle(), false);
    canvas->SetBackMode(OPAQUE);
    return;
  }
  title_->Bounds = TRect(0, 0, title_->Width(), title_->Height());
  title_->CalcSize();
  const int w = title_->Width(), h = title_->Height();
  // Along the axis: its centre, or its start or end (the low values' end: left or bottom
  // unless inverted) moved in by half the title's length.
  int along = iCenterPos_;
  if (title_->Position() != tpCenter) {
    const bool exchanged = horizontal_ ? inverted_ : !inverted_;
    const bool atStartPixel = (title_->Position() == tpStart) != exchanged;
    along = atStartPixel ? iStartPos_ + w / 2 : iEndPos_ - w / 2;
  }
  if (owner_->AxisView3D() && !canvas->IsOrthogonal) {
    // A free 3D view turns the title with the labels' placing rules.
    TRect box, seen;
    DrawLabelText(along, posTitle_, zPixel_, horizontal_ ? 0 : title_->Angle(), title_->Text(), title_.get(),
                  title_->Font(), false, box, seen);
    title_->Bounds = box;
    canvas->SetBackMode(OPAQUE);
    return;
  }
  TRect box;
  int angle = 0;
  if (horizontal_) {
    // Centred on its place; on the other side raised by its height and its shadow.
    int top = posTitle_;
    if (otherSide_) top -= h + FrameShadowSize(title_.get());
    box = TRect(along - w / 2, top, along - w / 2 + w, top + h);
  } else {
    // Turned, its (turned) width of h standing outward of the title position.
    angle = title_->Angle();
    const int cx = MoveOutward(posTitle_, h / 2);
    box = TRect(cx - w / 2, along - h / 2, cx - w / 2 + w, along - h / 2 + h);
  }
  const int cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
  const TPoint shift = ProjectionShift(canvas, cx, cy, zPixel_);
  box = box.Moved(shift.X, shift.Y);
  title_->Bounds = box;
  title_->DrawInRect(box, zPixel_, angle);
  canvas->SetBackMode(OPAQUE);
}

bool TChartAxis::Clicked(int x, int y) const {
  if (!VisibleNow) return false;
  const int a0 = std::min(iStartPos_, iEndPos_), a1 = std::max(iStartPos_, iEndPos_);
  int c0, c1;
  if (labels_) {
    const bool before = posLabels_ < posAxis_;
    c0 = before ? posLabels_ : posAxis_ - 3;
    c1 = before ? posAxis_ + 3 : posLabels_;
  } else {
    c0 = c1 = posAxis_;
  }
  TRect box = horizontal_ ? TRect(a0, c0, a1, c1) : TRect(c0, a0, c1, a1);
  TCanvas3D* canvas = owner_ ? owner_->AxisCanvas() : nullptr;
  if (canvas && owner_->AxisView3D()) box = canvas->ProjectedRectBounds(box, otherSide_ ? owner_->ChartDepth() : 0);
  return x >= box.Left && x <= box.Right && y >= box.Top && y <= box.Bottom;
}

TChartAxis* TChartAxis::ClickedAxis(int x, int y) {
  if (Clicked(x, y)) return this;
  for (int i = 0; i < SubAxisCount(); ++i)
    if (TChartAxis* hit = SubAxis(i).ClickedAxis(x, y)) return hit;
  return nullptr;
}

bool TChartAxis::TitleClicked(int x, int y) const {
  if (!VisibleNow || !title_ || !title_->Visible() || title_->Caption().empty()) return false;
  return title_->Clicked(TPoint(x, y));
}
