// Axis range, scale, value<->pixel mapping, position and label increments.
#include "chart/ChartAxis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "chart/AxisItems.h"
#include "chart/KelConst.h"
#include "chart/KelShapes.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/PublishedField.h"
#include "toolkit/rtl/Math.h"

namespace {

// Ranges within this of zero count as zero: every value then maps to the centre pixel.
constexpr long double kZeroRange = 1e-16L;
// The smallest positive double (denormal), the smallest numeric increment.
constexpr double kMinIncrement = std::numeric_limits<double>::denorm_min();
// Limits of the increment searches.
constexpr long double kMaxLabelCount = 2147483647.0L;
constexpr double kMaxDateTimeSteps = 1000000.0;

// An offset in pixels rounded halves to even. Values far outside the range saturate well
// beyond any device coordinate instead of failing the paint; NaN gives 0.
long long RoundOffset(long double offset) {
  constexpr long double kLimit = 1e15L;
  if (std::isnan(offset)) return 0;
  if (offset >= kLimit) return static_cast<long long>(kLimit);
  if (offset <= -kLimit) return -static_cast<long long>(kLimit);
  return Round(offset);
}

// A pixel coordinate saturated to the int range.
int Pixel(long long pixel) {
  constexpr long long kMax = std::numeric_limits<int>::max();
  return static_cast<int>(std::clamp(pixel, -kMax, kMax));
}

int RoundToInt(long double value) { return Pixel(RoundOffset(value)); }

}  // namespace

double NextNiceStep(double x) {
  if (std::isinf(x)) return 1;
  if (!(x > 0)) return 1;  // no decade to step in
  if (x >= 10) return 10 * NextNiceStep(x / 10);
  if (x < 1) return NextNiceStep(x * 10) / 10;
  if (x < 2) return 2;
  if (x < 5) return 5;
  return 10;
}

void TChartAxis::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  // Custom labels only: an automatic list holds nothing worth keeping.
  filer.DefineBinaryProperty(
      "Items", [this](TStream& s) { Items()->ReadItems(s); }, [this](TStream& s) { Items()->WriteItems(s); },
      HasCustomItems());
}

const TClassInfo& TChartAxis::StaticClass() {
  using A = TChartAxis;
  static const TClassInfo info =
      TClassBuilder<A>("TChartAxis", &TCollectionItem::StaticClass())
          .Property("Automatic", &A::Automatic, &A::SetAutomatic).Default(true)
          .Property("Axis", &A::AxisPen, nullptr)
          .Property("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum).Default(true)
          .Property("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum).Default(true)
          .Property("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat)
          .Stored(&A::IsAxisValuesFormatStored)
          .Property("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat)
          .Property("EndPosition", &A::EndPosition, &A::SetEndPosition)
          .Stored(&A::IsEndPositionStored)
          .Property("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime).Default(true)
          .Property("Horizontal", &A::Horizontal, &A::SetHorizontal).Default(false)
          .Property("Increment", &A::Increment, &A::SetIncrement)
          .Property("Inverted", &A::Inverted, &A::SetInverted).Default(false)
          .Property("LabelsAlternate", &A::LabelsAlternate, &A::SetLabelsAlternate).Default(false)
          .Property("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle).Default(0)
          .Property("LabelsGridIgnoresLabelSize", &A::LabelsGridIgnoresLabelSize,
                    &A::SetLabelsGridIgnoresLabelSize).Default(false)
          .Property("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine).Default(false)
          .Property("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation)
          .Stored([](A& a) { return a.LabelsSeparation() != 10; })
          .Property("Logarithmic", &A::Logarithmic, &A::SetLogarithmic).Default(false)
          .Property("LogarithmicBase", &A::LogarithmicBase, &A::SetLogarithmicBase)
          .Stored(&A::IsLogarithmicBaseStored)
          .Property("Maximum", &A::Maximum, &A::SetMaximum).Stored(&A::IsMaximumStored)
          .Property("MaximumOffset", &A::MaximumOffset, &A::SetMaximumOffset).Default(0)
          .Property("MaximumRound", &A::MaximumRound, &A::SetMaximumRound).Default(false)
          .Property("Minimum", &A::Minimum, &A::SetMinimum).Stored(&A::IsMinimumStored)
          .Property("MinimumOffset", &A::MinimumOffset, &A::SetMinimumOffset).Default(0)
          .Property("MinimumRound", &A::MinimumRound, &A::SetMinimumRound).Default(false)
          .Property("OtherSide", &A::OtherSide, &A::SetOtherSide).Stored(&A::IsOtherSideStored)
          .Property("PositionPercent", &A::PositionPercent, &A::SetPositionPercent)
          .Stored(&A::IsPositionPercentStored)
          .Property("PositionUnits", &A::PositionUnits, &A::SetPositionUnits).Default(muPercent)
          .Property("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel).Default(true)
          .Property("StartPosition", &A::StartPosition, &A::SetStartPosition)
          .Stored(&A::IsStartPositionStored)
          .Property("SubAxes", &A::SubAxes, nullptr)
          .Stored([](A& a) { return a.SubAxisCount() > 0; })
          .Property("Title", &A::Title, nullptr)
          .Stored([](A& a) { return a.HasTitle(); })
          .Property("UsePartnerAxis", &A::UsePartnerAxis, &A::SetUsePartnerAxis).Default(false)
          .Property("Visible", &A::Visible, &A::SetVisible)
          .Stored([](A& a) { return a.visible_ != a.defaultVisible_; })
          .Property("ZPosition", &A::ZPosition, &A::SetZPosition).Stored(&A::IsZPositionStored)
          .Property("PartnerAxis", &A::PartnerAxis, &A::SetPartnerAxis).Reference()
          // Labels, ticks, grid and title.
          .Property("Grid", &A::Grid, nullptr)
          .Property("MinorGrid", &A::MinorGrid, nullptr)
          .Property("Ticks", &A::Ticks, nullptr)
          .Property("TicksInner", &A::TicksInner, nullptr)
          .Property("MinorTicks", &A::MinorTicks, nullptr)
          .Property("TickLength", &A::TickLength, &A::SetTickLength).Default(4)
          .Property("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength).Default(0)
          .Property("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength).Default(2)
          .Property("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount).Default(3)
          .Property("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly).Default(true)
          .Property("TitleSize", &A::TitleSize, &A::SetTitleSize).Default(0)
          .Property("Labels", &A::Labels, &A::SetLabels).Default(true)
          .Property("LabelsAlign", &A::LabelsAlign, &A::SetLabelsAlign).Default(alDefault)
          .Property("LabelsBehind", &A::LabelsBehind, &A::SetLabelsBehind).Default(false)
          .Property("LabelsExponent", &A::LabelsExponent, &A::SetLabelsExponent).Default(false)
          .Property("LabelsFont", &A::LabelsFont, nullptr)
          .Property("LabelsFormat", &A::LabelsFormat, nullptr)
          .Property("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis).Default(true)
          .Property("LabelsSize", &A::LabelsSize, &A::SetLabelsSize).Default(0)
          .Property("LabelStyle", &A::LabelStyle, &A::SetLabelStyle).Default(talAuto)
          .Property("GridCentered", &A::GridCentered, &A::SetGridCentered).Default(false)
          .Property("Shape", &A::Shape, nullptr).Stored(&A::HasShape)
          .Property("OnDrawLabel", FieldGet<&A::OnDrawLabel>, FieldSet<&A::OnDrawLabel>)
          .Build();
  return info;
}

TChartAxis::TChartAxis(IAxisOwner* owner, TCollection* collection)
    : TCollectionItem(collection), owner_(owner), axisValuesFormat_(KelMsg_DefaultValueFormat) {
  const TNotifyEvent changed = [this](TObject* sender) { PenChanged(sender); };
  axisPen_ = std::make_unique<TChartAxisPen>(changed);
  grid_ = std::make_unique<TAxisGridPen>(changed);
  grid_->SetColor(static_cast<TColor>(0xC0C0C0));
  minorGrid_ = std::make_unique<TKelHiddenPen>(changed);
  ticksPen_ = std::make_unique<TTicks>(changed);
  ticksInner_ = std::make_unique<TTicks>(changed);
  minorTicks_ = std::make_unique<TTicks>(changed);
  labelsFont_ = std::make_unique<TKelFont>(changed);
  labelsAutoText_ = std::make_unique<TAutomaticText>(changed);
  ChooseCalcPos();
}

TChartAxis::TChartAxis(TCollection* collection)
    : TChartAxis(nullptr, collection) {
  if (auto* axes = dynamic_cast<TChartCustomAxes*>(collection)) {
    owner_ = axes->Chart();
    parentAxis_ = axes->ParentAxis();
    if (parentAxis_) horizontal_ = parentAxis_->horizontal_;
    ChooseCalcPos();
  }
}

TChartAxis::~TChartAxis() {
  // The sub-axes go first, each telling the chart; then this axis leaves every partner.
  subAxes_.reset();
  if (owner_) owner_->AxisDestroyed(*this);
}

void TChartAxis::ForgetPartner(const TChartAxis* gone) {
  if (partnerAxis_ == gone) partnerAxis_ = nullptr;
  for (int i = 0; i < SubAxisCount(); ++i) SubAxis(i).ForgetPartner(gone);
}

void TChartAxis::Assign(TPersistent* persistent) {
  auto* axis = dynamic_cast<TChartAxis*>(persistent);
  if (axis == nullptr) {
    TCollectionItem::Assign(persistent);
    return;
  }
  if (axis == this) return;
  const TChartAxis& source = *axis;
  automatic_ = source.automatic_;
  automaticMaximum_ = source.automaticMaximum_;
  automaticMinimum_ = source.automaticMinimum_;
  maximum_ = source.maximum_;
  minimum_ = source.minimum_;
  increment_ = source.increment_;
  inverted_ = source.inverted_;
  logarithmic_ = source.logarithmic_;
  logarithmicBase_ = source.logarithmicBase_;
  maximumOffset_ = source.maximumOffset_;
  minimumOffset_ = source.minimumOffset_;
  maximumRound_ = source.maximumRound_;
  minimumRound_ = source.minimumRound_;
  exactDateTime_ = source.exactDateTime_;
  dateTimeFormat_ = source.dateTimeFormat_;
  axisValuesFormat_ = source.axisValuesFormat_;
  horizontal_ = source.horizontal_;
  otherSide_ = source.otherSide_;
  startPosition_ = source.startPosition_;
  endPosition_ = source.endPosition_;
  positionPercent_ = source.positionPercent_;
  positionUnits_ = source.positionUnits_;
  visible_ = source.visible_;
  axisLabels_.Separation = source.axisLabels_.Separation;
  labelsAngle_ = source.labelsAngle_;
  labelsAlternate_ = source.labelsAlternate_;
  labelsMultiLine_ = source.labelsMultiLine_;
  labelsGridIgnoresLabelSize_ = source.labelsGridIgnoresLabelSize_;
  axisLabels_.RoundFirst = source.axisLabels_.RoundFirst;
  usePartnerAxis_ = source.usePartnerAxis_;
  // The partner of a copied axis is the axis at the same place in this chart.
  if (source.partnerAxis_ == nullptr || owner_ == source.owner_)
    partnerAxis_ = source.partnerAxis_;
  else
    partnerAxis_ = owner_ != nullptr ? owner_->AxisLike(*source.partnerAxis_) : nullptr;
  isDepth_ = source.isDepth_;
  zPosition_ = source.zPosition_;
  // Drawing settings.
  axisPen_->Assign(source.axisPen_.get());
  grid_->Assign(source.grid_.get());
  minorGrid_->Assign(source.minorGrid_.get());
  ticksPen_->Assign(source.ticksPen_.get());
  ticksInner_->Assign(source.ticksInner_.get());
  minorTicks_->Assign(source.minorTicks_.get());
  labelsFont_->Assign(source.labelsFont_.get());
  labelsAutoText_->Assign(source.labelsAutoText_.get());
  tickLength_ = source.tickLength_;
  tickInnerLength_ = source.tickInnerLength_;
  minorTickLength_ = source.minorTickLength_;
  minorTickCount_ = source.minorTickCount_;
  tickOnLabelsOnly_ = source.tickOnLabelsOnly_;
  labels_ = source.labels_;
  axisLabels_.OnAxis = source.axisLabels_.OnAxis;
  labelsBehind_ = source.labelsBehind_;
  labelsSize_ = source.labelsSize_;
  titleSize_ = source.titleSize_;
  axisLabels_.Style = source.axisLabels_.Style;
  axisLabels_.Align = source.axisLabels_.Align;
  labelsExponent_ = source.labelsExponent_;
  axisLabels_.UseImages = source.axisLabels_.UseImages;
  axisLabels_.Position = source.axisLabels_.Position;
  axisLabels_.Margin = source.axisLabels_.Margin;
  // Parts the source never made are at their defaults there: ours go back to them too. The
  // labels of the last paint may point at formats that go now; the next paint makes them anew.
  labelItems_.clear();
  if (source.title_) Title()->Assign(source.title_.get());
  else title_.reset();
  if (source.items_) Items()->Assign(*source.items_);
  else items_.reset();
  if (source.shape_) Shape()->Assign(source.shape_.get());
  else shape_.reset();
  if (source.SubAxisCount() > 0)
    SubAxes()->Assign(source.subAxes_.get());
  else if (subAxes_)
    subAxes_->Clear();
  ChooseCalcPos();
  Repaint();
}

// ---- Value <-> pixel --------------------------------------------------------------------

int TChartAxis::LinearX(double value) const {
  if (rangeZero_) return iCenterPos_;
  const long long p = RoundOffset((static_cast<long double>(value) - iMinimum_) * scale_);
  return Pixel(inverted_ ? iEndPos_ - p : iStartPos_ + p);
}

int TChartAxis::LinearY(double value) const {
  if (rangeZero_) return iCenterPos_;
  const long long p = RoundOffset((static_cast<long double>(value) - iMinimum_) * scale_);
  return Pixel(inverted_ ? iStartPos_ + p : iEndPos_ - p);
}

int TChartAxis::DepthPos(double value) const {
  if (rangeZero_) return iCenterPos_;
  return inverted_ ? RoundToInt(scale_ * (static_cast<long double>(iMaximum_) - value))
                   : RoundToInt((static_cast<long double>(value) - iMinimum_) * scale_);
}

int TChartAxis::LogX(double value) const {
  if (rangeZero_ || logRangeZero_) return iCenterPos_;
  if (value <= 0) return inverted_ ? iEndPos_ : iStartPos_;
  const long double lnv = std::log(static_cast<long double>(value));
  return Pixel(iStartPos_ + RoundOffset(inverted_ ? logScale_ * (logMaximum_ - lnv)
                                                 : logScale_ * (lnv - logMinimum_)));
}

int TChartAxis::LogY(double value) const {
  if (rangeZero_ || logRangeZero_) return iCenterPos_;
  if (value <= 0) return inverted_ ? iStartPos_ : iEndPos_;
  const long double lnv = std::log(static_cast<long double>(value));
  return Pixel(iEndPos_ - RoundOffset(inverted_ ? logScale_ * (logMaximum_ - lnv)
                                               : logScale_ * (lnv - logMinimum_)));
}

void TChartAxis::ChooseCalcPos() {
  if (isDepth_) {
    calcXPos_ = calcYPos_ = &TChartAxis::DepthPos;
  } else if (logarithmic_) {
    calcXPos_ = &TChartAxis::LogX;
    calcYPos_ = &TChartAxis::LogY;
  } else {
    calcXPos_ = &TChartAxis::LinearX;
    calcYPos_ = &TChartAxis::LinearY;
  }
  calcPos_ = horizontal_ ? calcXPos_ : calcYPos_;
}

double TChartAxis::CalcPosPoint(int pixel) const {
  const long double along =
      inverted_ ? static_cast<long double>(iEndPos_) - pixel
                : static_cast<long double>(pixel) - iStartPos_;
  if (!logarithmic_) {
    if (iAxisSize_ < 1) return 0;
    const long double d = along * range_ / iAxisSize_;
    return horizontal_ ? static_cast<double>(iMinimum_ + d) : static_cast<double>(iMaximum_ - d);
  }
  if (logRangeZero_ || iAxisSize_ == 0) return iMinimum_;
  // The start pixel shows the maximum on a horizontal inverted or a vertical normal axis.
  const bool startIsMaximum = horizontal_ == inverted_;
  if (pixel == iStartPos_) return startIsMaximum ? iMaximum_ : iMinimum_;
  if (pixel == iEndPos_) return startIsMaximum ? iMinimum_ : iMaximum_;
  const long double d = logRange_ * along / iAxisSize_;
  return horizontal_ ? static_cast<double>(std::exp(logMinimum_ + d))
                     : static_cast<double>(std::exp(logMaximum_ - d));
}

// ---- Range, span and position ----------------------------------------------------------

void TChartAxis::RecalcScale() {
  range_ = static_cast<long double>(iMaximum_) - iMinimum_;
  rangeZero_ = std::fabs(range_) <= kZeroRange;
  scale_ = rangeZero_ ? 0.0 : static_cast<double>(iAxisSize_ / range_);
  if (logarithmic_) {
    logMinimum_ = iMinimum_ > 0 ? std::log(iMinimum_) : 0;
    logMaximum_ = iMaximum_ > 0 ? std::log(iMaximum_) : 0;
    logRange_ = static_cast<long double>(logMaximum_) - logMinimum_;
    logRangeZero_ = std::fabs(logRange_) <= kZeroRange;
    logScale_ = logRangeZero_ ? 0.0 : static_cast<double>(iAxisSize_ / logRange_);
  }
  if (owner_) {
    const RECT r = owner_->ChartRect();
    const double depthBase = isDepth_ ? r.bottom - r.top : owner_->ChartDepth();
    zPixel_ = RoundToInt(zPosition_ * depthBase * 0.01);
  } else {
    zPixel_ = 0;
  }
}

void TChartAxis::SetInternalRange(double minimum, double maximum) {
  iMinimum_ = minimum;
  iMaximum_ = maximum;
  RecalcScale();
}

void TChartAxis::ComputePixelSpan() {
  int base = 0;
  int length = 0;
  if (owner_) {
    const RECT r = owner_->ChartRect();
    if (isDepth_) {
      length = owner_->ChartDepth();
    } else if (horizontal_) {
      base = r.left;
      length = r.right - r.left;
    } else {
      base = r.top;
      length = r.bottom - r.top;
    }
  }
  iStartPos_ = base + RoundToInt(length * 0.01L * startPosition_);
  iEndPos_ = base + RoundToInt(length * 0.01L * endPosition_);
  iAxisSize_ = iEndPos_ - iStartPos_;
  iCenterPos_ = (iStartPos_ + iEndPos_) / 2;
  RecalcScale();
}

int TChartAxis::PositionShift() const {
  if (!owner_ || positionPercent_ == 0) return 0;
  const RECT r = owner_->ChartRect();
  int offset;
  if (positionUnits_ == muPixels)
    offset = RoundToInt(positionPercent_);
  else
    offset = RoundToInt(positionPercent_ * 0.01L * (horizontal_ ? r.bottom - r.top : r.right - r.left));
  if (otherSide_) offset = -offset;
  return horizontal_ ? -offset : offset;
}

void TChartAxis::ComputePosition() {
  if (!owner_) return;
  const RECT r = owner_->ChartRect();
  const int base = horizontal_ ? (otherSide_ ? r.top : r.bottom)
                               : (otherSide_ ? r.right : r.left);
  posAxis_ = base + PositionShift();
}

void TChartAxis::AutoRange() {
  if (automatic_ || automaticMaximum_)
    maximum_ = owner_ ? owner_->SeriesExtreme(*this, true, horizontal_) : 0;
  if (automatic_ || automaticMinimum_)
    minimum_ = owner_ ? owner_->SeriesExtreme(*this, false, horizontal_) : 0;
  iMaximum_ = maximum_;
  iMinimum_ = minimum_;
  RecalcScale();
  RoundRangeToIncrement();
}

void TChartAxis::RoundRangeToIncrement() {
  if (iAxisSize_ == 0 || rangeZero_) return;
  bool applied = false;
  bool known = false;
  double increment = 0;
  if (maximumRound_ && (automatic_ || automaticMaximum_)) {
    increment = LabelsIncrement();
    known = true;
    if (increment != 0) {
      iMaximum_ = increment * std::ceil(iMaximum_ / increment);
      applied = true;
    }
  }
  if (minimumRound_ && (automatic_ || automaticMinimum_)) {
    if (!known) increment = LabelsIncrement();
    if (increment != 0) {
      iMinimum_ = increment * std::floor(iMinimum_ / increment);
      applied = true;
    }
  }
  if (applied) RecalcScale();
}

void TChartAxis::ApplyPixelMargins(int left, int top, int right, int bottom) {
  const int before = horizontal_ ? left : top;
  const int after = horizontal_ ? right : bottom;
  const int oldStart = iStartPos_;
  const int oldEnd = iEndPos_;
  iStartPos_ += before;
  iEndPos_ -= after;
  iAxisSize_ = iEndPos_ - iStartPos_;
  const double first = CalcPosPoint(oldStart);
  const double second = CalcPosPoint(oldEnd);
  ComputePixelSpan();
  iMaximum_ = first;
  iMinimum_ = second;
  if (iMinimum_ > iMaximum_) std::swap(iMinimum_, iMaximum_);
  RecalcScale();
  for (int i = 0; i < SubAxisCount(); ++i) {
    TChartAxis& sub = SubAxis(i);
    sub.iMinimum_ = iMinimum_;
    sub.iMaximum_ = iMaximum_;
    sub.RecalcScale();
    sub.ComputePixelSpan();
  }
}

// ---- Increments ------------------------------------------------------------------------

double TChartAxis::IncrementForLabels(int maxLabels) {
  if (maxLabels < 1) return isDateTime_ ? DateTimeStep[dtOneMicroSecond] : kMinIncrement;
  return isDateTime_ ? DateTimeIncrement(maxLabels) : NumericIncrement(maxLabels);
}

double TChartAxis::NumericIncrement(int maxLabels) {
  const long double range = range_;
  const long double base = logarithmicBase_;
  long double step;
  if (increment_ > 0) {
    step = increment_;
  } else if (rangeZero_) {
    step = 1;
  } else {
    step = std::fabs(range) / (maxLabels + 1);
    if (logarithmic_)
      step = std::pow(base, static_cast<long double>(Round(std::log(step) / std::log(base))));
  }
  if (range >= 1.1L && step < 1 && owner_ && owner_->HasSeriesWithAtMostPoints(*this, maxLabels))
    step = 1;

  if (axisLabels_.Separation != 0 && range != 0 && step != 0) {
    // A logarithmic base of 1 or less does not grow the step: the search then ends.
    const auto grow = [&] {
      if (logarithmic_)
        step = base > 1 ? step * base : std::numeric_limits<long double>::infinity();
      else if (increment_ > 0)
        step *= 2;
      else
        step = NextNiceStep(static_cast<double>(step));
    };
    // The count starts above the limit, so a first quotient too large to count still grows.
    long long count = static_cast<long long>(maxLabels) + 1;
    do {
      const long double quotient = range / step;
      if (std::fabs(quotient) < kMaxLabelCount) {
        count = Round(quotient);
        if (count > maxLabels) grow();
      } else {
        grow();
      }
    } while (count > maxLabels && step <= range && !std::isinf(step));
  }
  if (std::isinf(step)) return static_cast<double>(range);
  return std::max(static_cast<double>(step), kMinIncrement);
}

double TChartAxis::DateTimeIncrement(int maxLabels) {
  const double smallest = DateTimeStep[dtOneMicroSecond];
  double step = std::max(smallest, increment_);
  const long double range = range_;
  if (step > 0 && maxLabels > 0 && std::isfinite(range)) {
    if (range / step > kMaxDateTimeSteps) step = static_cast<double>(range / kMaxDateTimeSteps);
    while (maxLabels < Round(range / step)) {
      if (step >= 365)
        step *= 2;
      else if (step >= DateTimeStep[dtOneSecond])
        step = NextDateTimeStep(step);
      else
        step = NextNiceStep(step);
    }
  }
  return std::max(smallest, step);
}

double TChartAxis::IncrementForExtent(int extent) {
  int maxLabels = 1;
  if (extent > 0 && iAxisSize_ > 0) {
    if (axisLabels_.Separation > 0)
      maxLabels = RoundToInt(static_cast<long double>(iAxisSize_) /
                             (extent + RoundToInt(axisLabels_.Separation * 0.01L * extent)));
    else
      maxLabels = RoundToInt(static_cast<long double>(iAxisSize_) / extent);
  }
  return IncrementForLabels(maxLabels);
}

int TChartAxis::ExtentAlongAxis(double value) {
  if (labelsGridIgnoresLabelSize_) return 1;
  const std::string text = FormatLabel(value);
  const bool across = horizontal_ ? (labelsAngle_ == 90 || labelsAngle_ == 270)
                                  : (labelsAngle_ == 0 || labelsAngle_ == 180);
  if (!owner_) return 0;
  if (across) return owner_->LabelLineHeight(*this) * TextLineCount(text);
  return owner_->LabelTextWidth(*this, text);
}

double TChartAxis::LabelsIncrement() {
  double low = iMinimum_;
  double high = iMaximum_;
  if (axisLabels_.RoundFirst && increment_ != 0) {
    low = std::fabs(iMinimum_) > 9.22e18 ? iMinimum_
                                          : static_cast<double>(Round(iMinimum_)) * increment_;
    high = static_cast<double>(std::trunc(iMaximum_)) * increment_;
  }
  int extent;
  if (increment_ != 0) {
    extent = std::max({ExtentAlongAxis(low), ExtentAlongAxis(high),
                       ExtentAlongAxis(low - increment_), ExtentAlongAxis(high + increment_)});
  } else {
    double middle = low + (high - low) * 0.5;
    if (std::isinf(middle)) middle = 0;
    while (middle != 0 && !std::isnan(middle) && middle == std::trunc(middle)) middle *= 0.5;
    extent = std::max({ExtentAlongAxis(high), ExtentAlongAxis(low), ExtentAlongAxis(middle)});
  }
  double result = IncrementForExtent(extent);
  if (labelsAlternate_) result = logarithmic_ ? result / logarithmicBase_ : result / 2;
  return result;
}

std::string TChartAxis::FormatLabel(double value) {
  std::string text;
  if (isDateTime_) {
    const std::string format =
        dateTimeFormat_.empty() ? RangeDateTimeFormat(static_cast<double>(range_)) : dateTimeFormat_;
    text = FormatDateTime(format, value);
  } else {
    text = FormatFloat(axisValuesFormat_, value);
  }
  if (owner_) owner_->GetAxisLabel(*this, text);
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', KelLineSeparator);
  return text;
}

// ---- Other operations ------------------------------------------------------------------

void TChartAxis::Scroll(double delta, bool limited) {
  bool apply = !limited;
  if (limited && owner_) {
    if (delta > 0)
      apply = owner_->SeriesExtreme(*this, true, horizontal_) - delta > maximum_;
    else if (delta < 0)
      apply = owner_->SeriesExtreme(*this, false, horizontal_) - delta < minimum_;
  }
  if (!apply) return;
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  maximum_ += delta;
  minimum_ += delta;
  if (owner_) owner_->NotifyAxisChanged(*this);
}

void TChartAxis::SetMinMax(double a, double b) {
  automatic_ = automaticMinimum_ = automaticMaximum_ = false;
  const double low = std::min(a, b);
  const double high = std::max(a, b);
  ChangeMinimum(low);
  ChangeMaximum(high);
  for (int i = 0; i < SubAxisCount(); ++i) SubAxis(i).SetMinMax(low, high);
}

void TChartAxis::RefreshDateTime() {
  isDateTime_ = owner_ ? owner_->SeriesShowDateTime(*this) : false;
}

// ---- Setters ------------------------------------------------------------------------------

void TChartAxis::Repaint() {
  if (owner_) owner_->InvalidateChart();
}

void TChartAxis::ChangeMinimum(double value) {
  if (minimum_ == value) return;
  minimum_ = value;
  if (owner_) owner_->NotifyAxisChanged(*this);
}

void TChartAxis::ChangeMaximum(double value) {
  if (maximum_ == value) return;
  maximum_ = value;
  if (owner_) owner_->NotifyAxisChanged(*this);
}

void TChartAxis::SetAutomatic(bool value) {
  automatic_ = value;
  Repaint();
  if (!(owner_ && owner_->ChartLoading())) {
    automaticMinimum_ = value;
    automaticMaximum_ = value;
  }
}

void TChartAxis::SetAutomaticMaximum(bool value) {
  automaticMaximum_ = value;
  Repaint();
  if (!value)
    automatic_ = false;
  else if (automaticMinimum_)
    automatic_ = true;
}

void TChartAxis::SetAutomaticMinimum(bool value) {
  automaticMinimum_ = value;
  Repaint();
  if (!value)
    automatic_ = false;
  else if (automaticMaximum_)
    automatic_ = true;
}

void TChartAxis::SetMinimum(double value) {
  if (!(owner_ && owner_->ChartReading()) && value > maximum_)
    throw AxisException(KelMsg_AxisMinimumAboveMaximum);
  ChangeMinimum(value);
}

void TChartAxis::SetMaximum(double value) {
  if (!(owner_ && owner_->ChartReading()) && value < minimum_)
    throw AxisException(KelMsg_AxisMaximumBelowMinimum);
  ChangeMaximum(value);
}

void TChartAxis::SetIncrement(double value) {
  if (value < 0) throw AxisException(KelMsg_AxisIncrementNegative);
  if (increment_ == value) return;
  increment_ = value;
  Repaint();
}

void TChartAxis::SetLogarithmicBase(double value) {
  if (!(value > 0) || value == 1) throw AxisException(KelMsg_AxisLogarithmicBase);
  if (logarithmicBase_ == value) return;
  logarithmicBase_ = value;
  Repaint();
}

void TChartAxis::SetLogarithmic(bool value) {
  if (value) {
    AutoRange();
    if (iMinimum_ < 0 || iMaximum_ < 0) throw AxisException(KelMsg_AxisLogarithmicNegative);
  }
  logarithmic_ = value;
  Repaint();
  if (parentAxis_) parentAxis_->SetLogarithmic(value);
  ChooseCalcPos();
  RecalcScale();
}

void TChartAxis::SetInverted(bool value) {
  inverted_ = value;
  Repaint();
  if (parentAxis_) parentAxis_->SetInverted(value);
  // The two depth axes of a chart show one depth: they turn round together.
  if (auto* depth = dynamic_cast<TChartDepthAxis*>(this); depth != nullptr && depth->InvertPartner != nullptr &&
                                                          depth->InvertPartner->Inverted() != value)
    depth->InvertPartner->SetInverted(value);
}

void TChartAxis::SetHorizontal(bool value) {
  horizontal_ = value;
  Repaint();
  ChooseCalcPos();
}

void TChartAxis::SetZPosition(double value) {
  zPosition_ = value == 0 ? 0.01 : value;
  Repaint();
}

bool TChartAxis::IsZPositionStored() const {
  if (isDepth_) return false;
  return otherSide_ ? zPosition_ != 100 : zPosition_ > 0.011;
}

bool TChartAxis::IsAxisValuesFormatStored() const {
  return axisValuesFormat_ != KelMsg_DefaultValueFormat;
}

void TChartAxis::SetDepth(bool value) {
  isDepth_ = value;
  ChooseCalcPos();
}

void TChartAxis::SetLabelsSeparation(double value) {
  if (value < 0) throw AxisException(KelMsg_AxisLabelsSeparation);
  if (axisLabels_.Separation == value) return;
  axisLabels_.Separation = value;
  Repaint();
}

void TChartAxis::SetLabelsAngle(int value) {
  value %= 360;
  if (value < 0) value += 360;
  if (labelsAngle_ == value) return;
  labelsAngle_ = value;
  Repaint();
}

// Plain settings: store when changed, repaint.
#define VK_AXIS_SETTER(Name, Type, field) \
  void TChartAxis::Set##Name(Type value) { \
    if (field == value) return;            \
    field = value;                         \
    Repaint();                             \
  }

VK_AXIS_SETTER(PartnerAxis, TChartAxis*, partnerAxis_)
VK_AXIS_SETTER(MaximumOffset, int, maximumOffset_)
VK_AXIS_SETTER(MinimumOffset, int, minimumOffset_)
VK_AXIS_SETTER(MaximumRound, bool, maximumRound_)
VK_AXIS_SETTER(MinimumRound, bool, minimumRound_)
VK_AXIS_SETTER(ExactDateTime, bool, exactDateTime_)
VK_AXIS_SETTER(DateTimeFormat, const std::string&, dateTimeFormat_)
VK_AXIS_SETTER(AxisValuesFormat, const std::string&, axisValuesFormat_)
VK_AXIS_SETTER(OtherSide, bool, otherSide_)
VK_AXIS_SETTER(StartPosition, double, startPosition_)
VK_AXIS_SETTER(EndPosition, double, endPosition_)
VK_AXIS_SETTER(PositionPercent, double, positionPercent_)
VK_AXIS_SETTER(PositionUnits, TKelUnits, positionUnits_)
VK_AXIS_SETTER(Visible, bool, visible_)
VK_AXIS_SETTER(UsePartnerAxis, bool, usePartnerAxis_)
VK_AXIS_SETTER(LabelsAlternate, bool, labelsAlternate_)
VK_AXIS_SETTER(LabelsMultiLine, bool, labelsMultiLine_)
VK_AXIS_SETTER(LabelsGridIgnoresLabelSize, bool, labelsGridIgnoresLabelSize_)
VK_AXIS_SETTER(RoundFirstLabel, bool, axisLabels_.RoundFirst)

#undef VK_AXIS_SETTER

// ---- Sub-axes and depth axes ----------------------------------------------------------------

TPersistent* TChartAxis::GetOwner() const {
  if (Collection() != nullptr) return Collection();
  return dynamic_cast<TPersistent*>(owner_);
}

std::string TChartAxis::GetNamePath() const {
  if (Collection() != nullptr || !isStandard_) return TCollectionItem::GetNamePath();
  const std::string property = elementName_ + "Axis";
  TPersistent* chart = GetOwner();
  const std::string chartPath = chart != nullptr ? chart->GetNamePath() : std::string();
  return chartPath.empty() ? property : chartPath + "." + property;
}

TChartCustomAxes* TChartAxis::SubAxes() {
  if (!subAxes_) {
    subAxes_ = std::make_unique<TChartCustomAxes>(this, owner_, this);
    subAxes_->SetPropName("SubAxes");
  }
  return subAxes_.get();
}

TChartAxis& TChartAxis::AddSubAxis() { return SubAxes()->AddAxis(); }

int TChartAxis::SubAxisCount() const { return subAxes_ ? subAxes_->Count() : 0; }

TChartAxis& TChartAxis::SubAxis(int index) const { return subAxes_->Axis(index); }

const TClassInfo& TChartCustomAxes::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TChartCustomAxes>("TChartCustomAxes", &TOwnedCollection::StaticClass())
          .Abstract()
          .Build();
  return info;
}

TChartCustomAxes::TChartCustomAxes(TPersistent* owner, IAxisOwner* chart, TChartAxis* parentAxis)
    : TOwnedCollection(owner, TChartAxis::StaticClass()), chart_(chart), parentAxis_(parentAxis) {}

const TEnumInfo& EnumTypeInfo(TAxisLineMode) {
  static const TEnumInfo info("TAxisLineMode", {"lmLine", "lmCylinder", "lmRectangle"});
  return info;
}

const TClassInfo& TChartAxisPen::StaticClass() {
  using P = TChartAxisPen;
  static const TClassInfo info = TClassBuilder<P>("TChartAxisPen", &TKelPen::StaticClass())
                                     .Property("LineMode", &P::LineMode, &P::SetLineMode)
                                     .Default(lmLine)
                                     .Property("Width", &P::Width, &P::SetWidth)
                                     .Default(2)
                                     .Build();
  return info;
}

TChartAxisPen::TChartAxisPen(TNotifyEvent onChange) : TKelPen(std::move(onChange)) { SetWidth(2); }

void TChartAxisPen::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TChartAxisPen*>(source)) lineMode_ = other->lineMode_;
  TKelPen::Assign(source);
}

void TChartAxisPen::SetLineMode(TAxisLineMode value) {
  if (value == lineMode_) return;
  lineMode_ = value;
  Changed();
}

const TClassInfo& TTicks::StaticClass() {
  static const TClassInfo info = TClassBuilder<TTicks>("TTicks", &TDarkGrayPen::StaticClass()).Build();
  return info;
}

const TClassInfo& TAxisGridPen::StaticClass() {
  using G = TAxisGridPen;
  static const TClassInfo info = TClassBuilder<G>("TAxisGridPen", &TKelPen::StaticClass())
                                     .Property("Color", &G::Color, &G::SetColor)
                                     .Default(static_cast<TColor>(0xC0C0C0))
                                     .Idents(ColorPropToIdent, ColorIdentToProp)
                                     .Property("DrawEvery", &G::DrawEvery, &G::SetDrawEvery)
                                     .Default(1)
                                     .Property("DrawAlways", &G::DrawAlways, &G::SetDrawAlways)
                                     .Default(false)
                                     .Property("ZPosition", &G::ZPosition, &G::SetZPosition)
                                     .Stored(&G::IsZPositionStored)
                                     .Build();
  return info;
}

TAxisGridPen::TAxisGridPen(TNotifyEvent onChange) : TKelPen(nullptr) {
  SetColor(static_cast<TColor>(0xC0C0C0));
  OnChange = std::move(onChange);
}

void TAxisGridPen::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TAxisGridPen*>(source)) {
    zPosition_ = other->zPosition_;
    drawEvery_ = other->drawEvery_;
    drawAlways_ = other->drawAlways_;
    centered_ = other->centered_;
  }
  TKelPen::Assign(source);
}

void TAxisGridPen::DefineProperties(TFiler& filer) {
  TKelPen::DefineProperties(filer);
  // Older layouts kept "at depth 0" as a flag; a zero ZPosition is never written as a number.
  filer.DefineProperty(
      "ZZero", [this](TReader& r) {
        if (r.ReadBoolean()) SetZPosition(0);
      },
      [](TWriter& w) { w.WriteBoolean(true); }, defaultZPosition_ != 0 && zPosition_ == 0);
}

void TAxisGridPen::SetDrawEvery(int value) {
  if (drawEvery_ == value) return;
  drawEvery_ = value;
  if (OnChange) OnChange(this);
}

void TAxisGridPen::SetDrawAlways(bool value) {
  if (drawAlways_ == value) return;
  drawAlways_ = value;
  if (OnChange) OnChange(this);
}

void TAxisGridPen::SetCentered(bool value) {
  if (centered_ == value) return;
  centered_ = value;
  if (OnChange) OnChange(this);
}

void TAxisGridPen::SetZPosition(double value) {
  if (zPosition_ == value) return;
  zPosition_ = value;
  if (OnChange) OnChange(this);
}

const TClassInfo& TChartDepthAxis::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TChartDepthAxis>("TChartDepthAxis", &TChartAxis::StaticClass())
          .Property("LabelsAsSeriesTitles", &TChartDepthAxis::LabelsAsSeriesTitles,
                    &TChartDepthAxis::SetLabelsAsSeriesTitles)
          .Default(true)
          .Build();
  return info;
}

TChartDepthAxis::TChartDepthAxis(IAxisOwner* owner, TCollection* collection)
    : TChartAxis(owner, collection) {
  SetDepth(true);
}

void TChartDepthAxis::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TChartDepthAxis*>(source)) labelsAsSeriesTitles_ = other->labelsAsSeriesTitles_;
  TChartAxis::Assign(source);
}

void TChartDepthAxis::SetLabelsAsSeriesTitles(bool value) {
  if (LabelsAsSeriesTitles() == value) return;
  labelsAsSeriesTitles_ = value;
  if (Owner()) Owner()->InvalidateChart();
}
