// The B-spline and the smoothing function. The interpolation system is tridiagonal (1/6, 2/3,
// 1/6 inside, unit rows at both ends and at knuckles), so it is solved by forward elimination
// and back substitution along the band: linear time and memory.
#include "chart/SmoothingFunction.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "canvas/KelPen.h"
#include "chart/ChartSeries.h"
#include "chart/KelConst.h"
#include "chart/SeriesTypes.h"

// ---- TBSpline --------------------------------------------------------------------------------

void TBSpline::AddPoint(double x, double y, bool knuckle) {
  points_.push_back({x, y});
  knuckles_.push_back(knuckle);
  built_ = false;
}

bool TBSpline::IsKnuckle(int number) const {
  return number > 1 && number < PointCount() && knuckles_[number - 1];
}

void TBSpline::SetFragments(int value) {
  fragments_ = std::min(value, 600);
  built_ = false;
}

void TBSpline::Clear() {
  points_.clear();
  knuckles_.clear();
  vertices_.clear();
  vertexCount_ = 0;
  Interpolate = false;
  fragments_ = 100;
  built_ = false;
}

void TBSpline::Build() {
  const int n = PointCount();
  int count = 0;
  for (int p = 1; p <= n; ++p) count += IsKnuckle(p) ? 3 : 1;
  vertexCount_ = count;
  vertices_.assign(static_cast<size_t>(count) + 2, TPointXY{});
  int v = 1;
  for (int p = 1; p <= n; ++p) {
    const int repeat = IsKnuckle(p) ? 3 : 1;
    for (int k = 0; k < repeat; ++k) vertices_[v++] = points_[p - 1];
  }
  if (Interpolate && count >= 2) {
    // Rows 1..count of the band: sub[r] x[r-1] + diag[r] x[r] + super[r] x[r+1] = vertex r.
    std::vector<double> sub(count + 1, 1.0 / 6), diag(count + 1, 2.0 / 3), super(count + 1, 1.0 / 6);
    auto unitRow = [&](int r) {
      sub[r] = 0;
      diag[r] = 1;
      super[r] = 0;
    };
    unitRow(1);
    unitRow(count);
    for (int r = 1; r + 2 <= count; ++r) {
      const TPointXY& a = vertices_[r];
      const TPointXY& b = vertices_[r + 1];
      const TPointXY& c = vertices_[r + 2];
      if (std::fabs(a.X - b.X) < 1e-5 && std::fabs(b.X - c.X) < 1e-5 && std::fabs(a.Y - b.Y) < 1e-5 &&
          std::fabs(b.Y - c.Y) < 1e-5) {
        unitRow(r);
        unitRow(r + 1);
        unitRow(r + 2);
      }
    }
    // Forward elimination down the band (no pivoting, as the dense elimination did).
    for (int r = 2; r <= count; ++r) {
      if (sub[r] == 0) continue;
      const double m = sub[r] / diag[r - 1];
      diag[r] -= m * super[r - 1];
      vertices_[r].X -= m * vertices_[r - 1].X;
      vertices_[r].Y -= m * vertices_[r - 1].Y;
      sub[r] = 0;
    }
    // Back substitution.
    vertices_[count].X /= diag[count];
    vertices_[count].Y /= diag[count];
    for (int r = count - 1; r >= 1; --r) {
      vertices_[r].X = (vertices_[r].X - super[r] * vertices_[r + 1].X) / diag[r];
      vertices_[r].Y = (vertices_[r].Y - super[r] * vertices_[r + 1].Y) / diag[r];
    }
  }
  if (count >= 2) {
    vertices_[0] = {2 * vertices_[1].X - vertices_[2].X, 2 * vertices_[1].Y - vertices_[2].Y};
    vertices_[count + 1] = {2 * vertices_[count].X - vertices_[count - 1].X,
                            2 * vertices_[count].Y - vertices_[count - 1].Y};
  }
  built_ = true;
}

TBSpline::TPointXY TBSpline::Value(double t) {
  TPointXY result;
  if (PointCount() < 2) return result;
  if (!built_) Build();
  const double a = (vertexCount_ - 1) * t + 1;
  const int c = std::max(0, static_cast<int>(std::trunc(a - 1)));
  // Never past the phantom vertex at the end (its neighbour beyond would weigh 0 anyway).
  const int last = std::min(c + 3, vertexCount_ + 1);
  for (int i = std::min(c, vertexCount_ + 1); i <= last; ++i) {
    const double d = std::fabs(i - a);
    double weight;
    if (d < 1)
      weight = 2.0 / 3 - d * d + d * d * d / 2;
    else if (d < 2)
      weight = (2 - d) * (2 - d) * (2 - d) / 6;
    else
      continue;
    result.X += weight * vertices_[i].X;
    result.Y += weight * vertices_[i].Y;
  }
  return result;
}

// ---- TSmoothingFunction ----------------------------------------------------------------------

const TClassInfo& TSmoothingFunction::StaticClass() {
  using F = TSmoothingFunction;
  static const TClassInfo info = TClassBuilder<F>("TSmoothingFunction", &TKelFunction::StaticClass())
                                     .Property("Interpolate", &F::Interpolate, &F::SetInterpolate)
                                     .Default(true)
                                     .Property("Factor", &F::Factor, &F::SetFactor)
                                     .Default(4)
                                     .Build();
  return info;
}

TSmoothingFunction::TSmoothingFunction(TComponent* owner) : TKelFunction(owner) { period_ = 1; }

void TSmoothingFunction::SetInterpolate(bool value) {
  if (interpolate_ == value) return;
  interpolate_ = value;
  Recalculate();
}

void TSmoothingFunction::SetFactor(int value) {
  value = std::max(value, 1);
  if (factor_ == value) return;
  factor_ = value;
  Recalculate();
}

void TSmoothingFunction::Assign(TPersistent* source) {
  TKelFunction::Assign(source);
  if (auto* other = dynamic_cast<TSmoothingFunction*>(source)) {
    interpolate_ = other->interpolate_;
    factor_ = other->factor_;
  }
}

void TSmoothingFunction::AddPoints(TChartSeries* source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !source) return;
  parent->ClearPoints();
  if (parent->YMandatory() == source->YMandatory()) {
    parent->NotMandatoryValues()->SetOrder(loAscending);
    parent->MandatoryValues()->SetOrder(loNone);
    parent->SetUsesVisibleRange(true);
  } else {
    parent->NotMandatoryValues()->SetOrder(loNone);
    parent->MandatoryValues()->SetOrder(loAscending);
    parent->SetUsesVisibleRange(false);
  }
  const int count = source->PointCount();
  if (count == 0) return;
  TChartValueList* values = ValueListOf(source);
  auto append = [parent](double x, double y) {
    if (parent->YMandatory())
      parent->AppendXY(x, y, {}, clDefault);
    else
      parent->AppendXY(y, x, {}, clDefault);
  };
  auto controlX = [&](int i) { return parent->YMandatory() ? source->XValueAt(i) : source->YValueAt(i); };
  if (count == 1) {
    // One point has no curve through it: it stays as it is.
    append(controlX(0), values->ValueAt(0));
    return;
  }
  TBSpline spline;
  for (int i = 0; i < count; ++i) spline.AddPoint(controlX(i), values->ValueAt(i));
  spline.Interpolate = interpolate_;
  const std::int64_t fragments = std::min<std::int64_t>(static_cast<std::int64_t>(count) * factor_, 600);
  spline.SetFragments(static_cast<int>(fragments));
  const int n = spline.Fragments();
  for (int k = 0; k <= n; ++k) {
    const TBSpline::TPointXY p = spline.Value(static_cast<double>(k) / n);
    append(p.X, p.Y);
  }
}

void TSmoothingFunction::ConfigureSample(ISeriesOwner* chart) {
  TKelFunction::ConfigureSample(chart);
  if (!chart || chart->SeriesCount() == 0) return;
  chart->SeriesAt(0)->FillSampleValues(10);
  if (TChartSeries* parent = ParentSeries()) {
    parent->ChangeTransparency(70);
    parent->Pen()->SetWidth(10);
  }
  SetFactor(8);
}

void SmoothingFunctionStartup() {
  RegisterGalleryFunction(&TSmoothingFunction::StaticClass(), KelMsg_FunctionSmoothing, KelMsg_GalleryExtended, 1);
}

void SmoothingFunctionShutdown() { RemoveGalleryFunctions({&TSmoothingFunction::StaticClass()}); }
