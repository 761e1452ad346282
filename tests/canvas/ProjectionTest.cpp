// The 3D projection of the GDI canvas: 2D identity, orthogonal steps, perspective terms, the
// inverse projection and the nesting of rotation suspension.
#include <gtest/gtest.h>

#include <cmath>

#include "CanvasTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelPen.h"
#include "canvas/View3DOptions.h"

namespace {

class ProjectionTest : public GdiCanvasTest {
 protected:
  // Prepares an unbuffered frame over (0, 0, 200, 120) with the given options.
  void Frame(bool use3D, TView3DOptions* options, int depth = 40) {
    TRect drawRect;
    canvas->PrepareFrame(surface->Canvas(), options, clWhite, use3D, TRect(0, 0, 200, 120), drawRect);
    canvas->SetProjectionRect(depth, drawRect, TRect(0, 0, 200, 120));
  }
  TView3DOptions options;
};

TEST_F(ProjectionTest, In2DTheIntegerProjectionIsTheIdentity) {
  options.SetHorizOffset(7);
  options.SetZoom(150);
  Frame(false, &options);
  for (int z : {-50, 0, 13, 200}) {
    EXPECT_EQ(canvas->Project3D(33, 44, z), TPoint(33, 44)) << z;
  }
  // The float projection adds the offsets in 2D.
  TPointFloat p{33, 44};
  canvas->Project3DF(p, 5);
  EXPECT_FLOAT_EQ(p.X, 40);
  EXPECT_FLOAT_EQ(p.Y, 44);
}

struct OrthoCase {
  int angle;
  double stepX, stepY;
};

class OrthoStepTest : public ProjectionTest, public testing::WithParamInterface<OrthoCase> {};

TEST_P(OrthoStepTest, StepsFollowTheAngle) {
  options.SetOrthoAngle(GetParam().angle);
  Frame(true, &options);
  EXPECT_TRUE(canvas->IsOrthogonal);
  EXPECT_DOUBLE_EQ(canvas->OrthoStepX, GetParam().stepX);
  EXPECT_NEAR(canvas->OrthoStepY, GetParam().stepY, 1e-9);
  // A point at depth 10 moves by the steps (zoom 1, centre (100, 60)).
  const TPoint p = canvas->Project3D(100, 60, 10);
  EXPECT_EQ(p.X, 100 + static_cast<int>(std::lround(10 * GetParam().stepX)));
  EXPECT_EQ(p.Y, 60 - static_cast<int>(std::lround(10 * GetParam().stepY)));
}

INSTANTIATE_TEST_SUITE_P(Angles, OrthoStepTest,
                         testing::Values(OrthoCase{45, 1.0, 1.0}, OrthoCase{135, -1.0, 1.0}, OrthoCase{90, 1.0, 1.0},
                                         OrthoCase{30, 1.0, 0.57735026918962584}));

TEST_F(ProjectionTest, OrthogonalInverseReturnsTheLogicalPoint) {
  options.SetOrthoAngle(60);
  options.SetZoom(100);
  Frame(true, &options);
  for (const TPoint& logical : {TPoint(10, 20), TPoint(150, 100), TPoint(-30, 7)}) {
    const TPoint screen = canvas->Project3D(logical.X, logical.Y, 15);
    int x = screen.X, y = screen.Y;
    canvas->ProjectInverse(x, y, 15);
    EXPECT_NEAR(x, logical.X, 1);
    EXPECT_NEAR(y, logical.Y, 1);
  }
}

TEST_F(ProjectionTest, PerspectiveTerms) {
  options.SetOrthogonal(false);
  options.SetPerspective(0);
  Frame(true, &options);
  EXPECT_FALSE(canvas->HasPerspective);
  options.SetPerspective(30);
  TRect drawRect;
  canvas->PrepareFrame(surface->Canvas(), &options, clWhite, true, TRect(0, 0, 200, 120), drawRect);
  canvas->SetProjectionRect(40, drawRect, TRect(50, 0, 50, 120));
  EXPECT_TRUE(canvas->HasPerspective);
  EXPECT_DOUBLE_EQ(canvas->PerspectiveFactor, 30 * 1.0 / 120 / 1) << "a rectangle of width 0 counts as 1";
}

TEST_F(ProjectionTest, DefaultAnglesProjectAboutTheCentre) {
  options.SetOrthogonal(false);
  options.SetPerspective(0);  // the inverse projection has no perspective term
  Frame(true, &options, 40);
  EXPECT_FALSE(canvas->HasTilt);
  // The centre of the projection box stays in place whatever the angles.
  EXPECT_EQ(canvas->Project3D(100, 60, 20), TPoint(100, 60));
  EXPECT_NEAR(static_cast<double>(canvas->SinX), std::sin(-345 * 3.14159265358979323846 / 180), 1e-12);
  // Points off-centre move; the inverse at the same depth brings them back.
  const TPoint screen = canvas->Project3D(140, 30, 20);
  EXPECT_NE(screen, TPoint(140, 30));
  int x = screen.X, y = screen.Y;
  canvas->ProjectInverse(x, y, 20);
  EXPECT_NEAR(x, 140, 2);
  EXPECT_NEAR(y, 30, 2);
}

TEST_F(ProjectionTest, SuspendRotationNests) {
  options.SetOrthogonal(false);
  Frame(true, &options);
  ASSERT_TRUE(canvas->Is3D);
  canvas->SuspendRotation();
  canvas->SuspendRotation();
  EXPECT_FALSE(canvas->Is3D);
  EXPECT_EQ(canvas->RotationLock, 2);
  canvas->ResumeRotation();
  EXPECT_FALSE(canvas->Is3D) << "one resume of two keeps 3D suspended";
  canvas->ResumeRotation();
  EXPECT_TRUE(canvas->Is3D);
  EXPECT_EQ(canvas->RotationLock, 0);
}

TEST_F(ProjectionTest, LinesAtDepthDrawFlatIn2D) {
  Frame(false, &options);
  canvas->Pen()->SetColor(clRed);
  canvas->Line3D(10, 10, 60, 10, 500);
  EXPECT_EQ(surface->BoundsOf(clRed), TRect(10, 10, 60, 11));
  canvas->Brush()->SetColor(clBlue);
  canvas->Pen()->Hide();
  canvas->RectangleAtZ(TRect(100, 50, 120, 70), 30);
  EXPECT_EQ(surface->Pixel(110, 60), clBlue);
}

}  // namespace
