// The axis label under the mouse: found from the boxes of the last paint and drawn with the
// hover look (bold) once the labels have a selection.
#include <gtest/gtest.h>

#include "ChartControlTestSupport.h"
#include "canvas/KelFont.h"
#include "chart/AxisItems.h"
#include "chart/ChartAxis.h"
#include "chart/SeriesSelection.h"

namespace {

TRect Grown(const TRect& r, int by) { return TRect(r.Left - by, r.Top - by, r.Right + by, r.Bottom + by); }

int Ink(const ChartFixture& f, const TRect& r) { return f.CountDark(r.Left, r.Top, r.Right, r.Bottom); }

TPoint Centre(const TRect& r) { return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

}  // namespace

TEST(AxisLabelHover, LabelUnderTheMouseIsDrawnBold) {
  ChartFixture f;
  f.AddCurve(0, 100, clBlue);
  TChartAxis* axis = f.chart.LeftAxis();
  axis->LabelsFont()->SetSize(12);
  f.Paint();
  ASSERT_GE(axis->LabelItems().size(), 3u);
  const TRect first = axis->LabelItems()[1].Box, second = axis->LabelItems()[2].Box;
  ASSERT_GT(first.Right, first.Left);

  // Without a label selection the mouse changes nothing.
  EXPECT_FALSE(axis->HoverLabelAt(Centre(first).X, Centre(first).Y));
  EXPECT_FALSE(axis->Items()->HasSelected());

  const int plainFirst = Ink(f, Grown(first, 2)), plainSecond = Ink(f, Grown(second, 2));
  ASSERT_GT(plainFirst, 0);
  TKelSelected* selected = axis->Items()->Selected();
  EXPECT_TRUE(selected->Hover()->Font()->Style().Contains(fsBold));

  struct Case {
    const char* name;
    TPoint at;
    int index;
  };
  const Case cases[] = {
      {"over the first label", Centre(first), 1},
      {"over the second label", Centre(second), 2},
      {"inside the chart", TPoint(200, 120), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(axis->HoverLabelAt(c.at.X, c.at.Y), c.index != -1);
    EXPECT_EQ(selected->HoverIndex(), c.index);
    f.Paint();
    const int inkFirst = Ink(f, Grown(first, 2)), inkSecond = Ink(f, Grown(second, 2));
    if (c.index == 1)
      EXPECT_GT(inkFirst, plainFirst + plainFirst / 5) << "bold";
    else
      EXPECT_EQ(inkFirst, plainFirst);
    if (c.index == 2)
      EXPECT_GT(inkSecond, plainSecond + plainSecond / 5) << "bold";
    else
      EXPECT_EQ(inkSecond, plainSecond);
  }

  // A hidden hover look turns hovering off.
  selected->Hover()->SetVisible(false);
  EXPECT_FALSE(axis->HoverLabelAt(Centre(first).X, Centre(first).Y));
}
