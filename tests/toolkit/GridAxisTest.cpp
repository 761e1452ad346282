// Column/row geometry of the grid: positions and hit tests with default and custom sizes,
// with grid lines, and after the count grows with custom sizes present.
#include <gtest/gtest.h>

#include "toolkit/ui/GridAxis.h"

namespace {

TEST(GridAxis, DefaultSizesHitTestByArithmetic) {
  TGridAxis axis;
  axis.SetDefaultSize(24);
  axis.SetCount(100000);
  EXPECT_EQ(axis.Span(0, 100000, 1), 100000LL * 25);
  EXPECT_EQ(axis.IndexAt(0, 0, 1), 0);
  EXPECT_EQ(axis.IndexAt(0, 24, 1), 0) << "the grid line belongs to the cell before it";
  EXPECT_EQ(axis.IndexAt(0, 25, 1), 1);
  EXPECT_EQ(axis.IndexAt(99990, 25 * 9 + 3, 1), 99999);
  EXPECT_EQ(axis.IndexAt(99990, 25 * 10, 1), -1) << "past the last row";
  EXPECT_EQ(axis.IndexAt(0, -1, 1), -1);
}

struct HitCase {
  const char* name;
  int first;
  int offset;
  int expected;
};

TEST(GridAxis, CustomSizesHitTest) {
  // The value grid's rows: 30, 45, 30 per module.
  TGridAxis axis;
  axis.SetDefaultSize(24);
  axis.SetCount(6);
  for (int m = 0; m < 2; ++m) {
    axis.SetSize(3 * m, 30);
    axis.SetSize(3 * m + 1, 45);
    axis.SetSize(3 * m + 2, 30);
  }
  const HitCase cases[] = {
      {"first pixel", 0, 0, 0},      {"line after row 0", 0, 30, 0}, {"row 1 starts", 0, 31, 1},
      {"row 2 starts", 0, 77, 2},    {"row 3 starts", 0, 108, 3},    {"from row 3", 3, 0, 3},
      {"from row 3 to 4", 3, 31, 4}, {"last pixel", 0, 215, 5},      {"beyond", 0, 216, -1},
  };
  for (const HitCase& c : cases) EXPECT_EQ(axis.IndexAt(c.first, c.offset, 1), c.expected) << c.name;
  EXPECT_EQ(axis.Span(1, 3, 1), 46 + 31);
}

TEST(GridAxis, GrowingKeepsCustomSizesAndAddsDefaults) {
  TGridAxis axis;
  axis.SetDefaultSize(20);
  axis.SetCount(3);
  axis.SetSize(0, 80);
  EXPECT_EQ(axis.Span(0, 3, 0), 120);  // builds the running sum
  axis.SetCount(5);                     // extends it
  EXPECT_EQ(axis.Size(4), 20);
  EXPECT_EQ(axis.Span(0, 5, 0), 160);
  EXPECT_EQ(axis.IndexAt(0, 150, 0), 4);
  axis.SetCount(2);
  axis.SetCount(3);
  EXPECT_EQ(axis.Size(2), 20) << "a cut and regrown index gets the default";
  EXPECT_EQ(axis.Span(0, 3, 0), 120);
}

TEST(GridAxis, ZeroSizeIndexIsSkippedByHitTest) {
  TGridAxis axis;
  axis.SetDefaultSize(10);
  axis.SetCount(3);
  axis.SetSize(1, 0);
  EXPECT_EQ(axis.IndexAt(0, 10, 0), 2);
  EXPECT_EQ(axis.IndexAt(0, 9, 0), 0);
}

TEST(GridAxis, NewDefaultSizeResetsCustomSizes) {
  TGridAxis axis;
  axis.SetCount(4);
  axis.SetSize(2, 99);
  axis.SetDefaultSize(30);
  EXPECT_FALSE(axis.HasCustomSizes());
  EXPECT_EQ(axis.Size(2), 30);
}

}  // namespace
