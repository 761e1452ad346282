// Smoothing: the number of points laid along the spline, a single source point, the spline
// passing through the source points when interpolating, the tridiagonal solve against dense
// elimination, knuckles, and the settings that recompute the curve.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "canvas/KelPen.h"
#include "chart/AxisPanel.h"
#include "chart/SmoothingFunction.h"

namespace {

class SmoothingTest : public testing::Test {
 protected:
  TChartSeries* Source(int count) {
    auto* s = new TChartSeries(&panel);
    s->ChangeParentChart(&panel);
    for (int i = 0; i < count; ++i) s->AppendXY(i, std::sin(i * 0.7) * 10 + i);
    return s;
  }
  TChartSeries* Smoothed(TSmoothingFunction* f, TChartSeries* source) {
    auto* parent = new TChartSeries(&panel);
    parent->ChangeParentChart(&panel);
    parent->SetFunction(f);
    parent->SetDataSource(source);
    return parent;
  }

  TCustomAxisPanel panel{nullptr};
};

TEST_F(SmoothingTest, PointCountIsSourceTimesFactorPlusOneUpTo601) {
  struct Case {
    int sources, factor, expected;
  };
  for (const Case& c : {Case{3, 4, 13}, Case{2, 1, 3}, Case{500, 4, 601}, Case{150, 4, 601}, Case{10, 8, 81}}) {
    auto* f = new TSmoothingFunction(nullptr);
    f->SetFactor(c.factor);
    TChartSeries* parent = Smoothed(f, Source(c.sources));
    EXPECT_EQ(parent->PointCount(), c.expected) << c.sources << " points, factor " << c.factor;
  }
}

TEST_F(SmoothingTest, AHugeFactorIsCappedWithoutOverflow) {
  auto* f = new TSmoothingFunction(nullptr);
  f->SetFactor(2000000000);
  TChartSeries* parent = Smoothed(f, Source(4));
  EXPECT_EQ(parent->PointCount(), 601);
}

TEST_F(SmoothingTest, ASinglePointStaysAsItIs) {
  auto* source = new TChartSeries(&panel);
  source->ChangeParentChart(&panel);
  source->AppendXY(3, 7);
  TChartSeries* parent = Smoothed(new TSmoothingFunction(nullptr), source);
  ASSERT_EQ(parent->PointCount(), 1);
  EXPECT_EQ(parent->XValueAt(0), 3);
  EXPECT_EQ(parent->YValueAt(0), 7);
}

TEST_F(SmoothingTest, TheCurveRunsFromTheFirstToTheLastSourcePoint) {
  TChartSeries* source = Source(6);
  TChartSeries* parent = Smoothed(new TSmoothingFunction(nullptr), source);
  ASSERT_EQ(parent->PointCount(), 25);
  EXPECT_NEAR(parent->XValueAt(0), 0, 1e-9);
  EXPECT_NEAR(parent->YValueAt(0), source->YValueAt(0), 1e-9);
  EXPECT_NEAR(parent->XValueAt(24), 5, 1e-9);
  EXPECT_NEAR(parent->YValueAt(24), source->YValueAt(5), 1e-9);
  EXPECT_EQ(parent->XValues()->Order(), loAscending);
  EXPECT_EQ(parent->YValues()->Order(), loNone);
  EXPECT_TRUE(parent->UsesVisibleRange());
}

TEST_F(SmoothingTest, SettingsRecomputeTheCurve) {
  auto* f = new TSmoothingFunction(nullptr);
  TChartSeries* parent = Smoothed(f, Source(3));
  EXPECT_EQ(parent->PointCount(), 13);
  f->SetFactor(2);
  EXPECT_EQ(parent->PointCount(), 7);
  f->SetFactor(0);
  EXPECT_EQ(f->Factor(), 1);
  EXPECT_EQ(parent->PointCount(), 4);
  const double before = parent->YValueAt(1);
  f->SetInterpolate(false);
  EXPECT_NE(parent->YValueAt(1), before);
}

TEST_F(SmoothingTest, DefaultsAndEditor) {
  TSmoothingFunction f(nullptr);
  EXPECT_EQ(f.Period(), 1);
  EXPECT_TRUE(f.Interpolate());
  EXPECT_EQ(f.Factor(), 4);
  EXPECT_EQ(f.EditorClassName(), "TSmoothFuncEditor");
  TSmoothingFunction copy(nullptr);
  f.SetFactor(9);
  f.SetInterpolate(false);
  copy.Assign(&f);
  EXPECT_EQ(copy.Factor(), 9);
  EXPECT_FALSE(copy.Interpolate());
}

TEST_F(SmoothingTest, TheGallerySampleSmoothsTheSeriesBeforeIt) {
  auto* first = new TChartSeries(&panel);
  first->ChangeParentChart(&panel);
  auto* last = new TChartSeries(&panel);
  last->ChangeParentChart(&panel);
  auto* f = new TSmoothingFunction(nullptr);
  f->ConfigureSample(&panel);
  EXPECT_EQ(last->Function(), f);
  EXPECT_EQ(last->DataSource(), first);
  EXPECT_EQ(first->PointCount(), 10);
  EXPECT_EQ(f->Factor(), 8);
  EXPECT_EQ(last->Transparency(), 70);
  EXPECT_EQ(last->Pen()->Width(), 10);
  EXPECT_EQ(last->PointCount(), 81);
}

// ---- The spline ------------------------------------------------------------------------------

std::vector<TBSpline::TPointXY> Wave(int n) {
  std::vector<TBSpline::TPointXY> points;
  for (int i = 0; i < n; ++i) points.push_back({i * 1.5 + std::sin(i * 0.3), std::cos(i * 0.37) * 50 + i});
  return points;
}

TEST(BSplineTest, InterpolatingCurvePassesThroughEverySourcePoint) {
  const auto points = Wave(40);
  TBSpline spline;
  for (const auto& p : points) spline.AddPoint(p.X, p.Y);
  spline.Interpolate = true;
  for (int j = 0; j < 40; ++j) {
    const TBSpline::TPointXY v = spline.Value(static_cast<double>(j) / 39);
    EXPECT_NEAR(v.X, points[j].X, 1e-9) << "point " << j;
    EXPECT_NEAR(v.Y, points[j].Y, 1e-9) << "point " << j;
  }
}

TEST(BSplineTest, WithoutInterpolationTheCurveOnlyApproachesThePoints) {
  const auto points = Wave(40);
  TBSpline spline;
  for (const auto& p : points) spline.AddPoint(p.X, p.Y);
  double worst = 0;
  for (int j = 1; j < 39; ++j) worst = std::max(worst, std::fabs(spline.Value(j / 39.0).Y - points[j].Y));
  EXPECT_GT(worst, 0.5);
  EXPECT_LT(worst, 20);
  // The ends are still met exactly (the phantom vertices mirror them).
  EXPECT_NEAR(spline.Value(0).Y, points[0].Y, 1e-9);
  EXPECT_NEAR(spline.Value(1).Y, points[39].Y, 1e-9);
}

TEST(BSplineTest, FewerThanTwoPointsGiveTheOrigin) {
  TBSpline spline;
  spline.AddPoint(5, 5);
  const TBSpline::TPointXY v = spline.Value(0.5);
  EXPECT_EQ(v.X, 0);
  EXPECT_EQ(v.Y, 0);
}

TEST(BSplineTest, FragmentsAreCappedAndClearResets) {
  TBSpline spline;
  spline.SetFragments(5000);
  EXPECT_EQ(spline.Fragments(), 600);
  spline.AddPoint(1, 1);
  spline.Interpolate = true;
  spline.Clear();
  EXPECT_EQ(spline.PointCount(), 0);
  EXPECT_EQ(spline.Fragments(), 100);
  EXPECT_FALSE(spline.Interpolate);
}

// Gaussian elimination without pivoting on the full matrix, as the interpolation system reads.
std::vector<TBSpline::TPointXY> DenseSolve(const std::vector<TBSpline::TPointXY>& v) {
  const int n = static_cast<int>(v.size());
  std::vector<std::vector<double>> m(n, std::vector<double>(n, 0));
  std::vector<double> bx(n), by(n);
  for (int r = 0; r < n; ++r) {
    bx[r] = v[r].X;
    by[r] = v[r].Y;
    if (r == 0 || r == n - 1) {
      m[r][r] = 1;
    } else {
      m[r][r - 1] = 1.0 / 6;
      m[r][r] = 2.0 / 3;
      m[r][r + 1] = 1.0 / 6;
    }
  }
  for (int k = 0; k < n; ++k)
    for (int r = k + 1; r < n; ++r) {
      const double f = m[r][k] / m[k][k];
      if (f == 0) continue;
      for (int c = k; c < n; ++c) m[r][c] -= f * m[k][c];
      bx[r] -= f * bx[k];
      by[r] -= f * by[k];
    }
  std::vector<TBSpline::TPointXY> x(n);
  for (int r = n - 1; r >= 0; --r) {
    double sx = bx[r], sy = by[r];
    for (int c = r + 1; c < n; ++c) {
      sx -= m[r][c] * x[c].X;
      sy -= m[r][c] * x[c].Y;
    }
    x[r] = {sx / m[r][r], sy / m[r][r]};
  }
  return x;
}

TEST(BSplineTest, BandSolveEqualsDenseEliminationOn300Points) {
  const auto points = Wave(300);
  TBSpline spline;
  for (const auto& p : points) spline.AddPoint(p.X, p.Y);
  spline.Interpolate = true;
  spline.Build();
  const auto dense = DenseSolve(points);
  ASSERT_EQ(spline.VertexCount(), 300);
  for (int i = 0; i < 300; ++i) {
    EXPECT_NEAR(spline.Vertex(i + 1).X, dense[i].X, 1e-9) << "vertex " << i + 1;
    EXPECT_NEAR(spline.Vertex(i + 1).Y, dense[i].Y, 1e-9) << "vertex " << i + 1;
  }
  EXPECT_NEAR(spline.Vertex(0).X, 2 * dense[0].X - dense[1].X, 1e-9);
  EXPECT_NEAR(spline.Vertex(301).Y, 2 * dense[299].Y - dense[298].Y, 1e-9);
}

TEST(BSplineTest, AKnuckleIsRepeatedAndPinsTheCurve) {
  TBSpline spline;
  spline.AddPoint(0, 0);
  spline.AddPoint(1, 5, true);
  spline.AddPoint(2, 0);
  spline.AddPoint(3, 3, true);  // the last point is never a knuckle
  EXPECT_TRUE(spline.IsKnuckle(2));
  EXPECT_FALSE(spline.IsKnuckle(4));
  spline.Interpolate = true;
  spline.Build();
  EXPECT_EQ(spline.VertexCount(), 6);
  // Three equal vertices make unit rows: they stay the point itself, and the curve meets it.
  for (int i = 2; i <= 4; ++i) {
    EXPECT_EQ(spline.Vertex(i).X, 1);
    EXPECT_EQ(spline.Vertex(i).Y, 5);
  }
  const TBSpline::TPointXY corner = spline.Value(2.0 / 5);
  EXPECT_NEAR(corner.X, 1, 1e-12);
  EXPECT_NEAR(corner.Y, 5, 1e-12);
}

}  // namespace
