// Tab strip geometry from plain numbers: the size rule per style, placement in both sequences,
// tab polygons, the orientation mapping, cutting, multi-line rows and their rotation, and the
// tab region cache.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/KxTabGeometry.h"
#include "controls/KxTabs.h"

namespace {

std::string Text(const TRect& r) {
  return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom) + ")";
}

std::string Text(const std::vector<TPoint>& points) {
  std::string s;
  for (const TPoint& p : points) s += "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
  return s;
}

// ---- Size rule ------------------------------------------------------------------------------

struct SizeCase {
  const char* name;
  TKxTabStyle style;
  bool side;
  bool verticalText;
  int tabWidth;
  int tabHeight;
  TSize expected;  // for content 40 x 14, cut corner 6, overlap -1
};

class KxTabSizeRuleTest : public testing::TestWithParam<SizeCase> {};

TEST_P(KxTabSizeRuleTest, SizeFromContent) {
  const SizeCase& c = GetParam();
  TKxTabSizeRule rule;
  rule.Style = c.style;
  rule.Side = c.side;
  rule.VerticalText = c.verticalText;
  rule.TabWidth = c.tabWidth;
  rule.TabHeight = c.tabHeight;
  const TSize size = KxTabSize(rule, 40, 14);
  EXPECT_EQ(size.cx, c.expected.cx);
  EXPECT_EQ(size.cy, c.expected.cy);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, KxTabSizeRuleTest,
    testing::Values(SizeCase{"SingleSlantTop", tsSingleSlant, false, false, 0, 0, {66, 20}},
                    SizeCase{"SingleSlantSide", tsSingleSlant, true, false, 0, 0, {46, 66}},
                    SizeCase{"BackSlantTop", tsBackSlant, false, false, 0, 0, {66, 20}},
                    SizeCase{"DoubleSlantTop", tsDoubleSlant, false, false, 0, 0, {78, 20}},
                    SizeCase{"DoubleSlantSide", tsDoubleSlant, true, false, 0, 0, {46, 104}},
                    SizeCase{"CutCornerTop", tsCutCorner, false, false, 0, 0, {60, 21}},
                    SizeCase{"CutCornerSide", tsCutCorner, true, false, 0, 0, {53, 24}},
                    SizeCase{"CutCornerVerticalTextTop", tsCutCorner, false, true, 0, 0, {50, 27}},
                    SizeCase{"CutCornerVerticalTextSide", tsCutCorner, true, true, 0, 0, {47, 34}},
                    SizeCase{"RoundCorners", tsRoundCorners, false, false, 0, 0, {46, 20}},
                    SizeCase{"SquareCornersSide", tsSquareCorners, true, false, 0, 0, {46, 20}},
                    // A fixed height enters the slant's width (H div 2) and replaces h.
                    SizeCase{"SingleSlantFixedHeight", tsSingleSlant, false, false, 0, 26, {79, 26}},
                    SizeCase{"FixedWidth", tsDoubleSlant, false, false, 100, 0, {100, 20}}),
    [](const testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

TEST(KxTabOverlapTest, OverlapPerStyle) {
  EXPECT_EQ(KxTabStyleOverlap(tsSingleSlant, 24, -1), 12);
  EXPECT_EQ(KxTabStyleOverlap(tsBackSlant, 25, -1), 12);
  EXPECT_EQ(KxTabStyleOverlap(tsDoubleSlant, 24, -1), 24);
  EXPECT_EQ(KxTabStyleOverlap(tsSquareCorners, 24, -1), 0);
  EXPECT_EQ(KxTabStyleOverlap(tsCutCorner, 24, 3), 3);
}

// ---- Placement ------------------------------------------------------------------------------

TKxStripInput ThreeTabs(TKxTabSequence sequence) {
  TKxStripInput in;
  in.Lengths = {60, 80, 40};
  in.Thickness = 24;
  in.Overlap = KxTabStyleOverlap(tsSingleSlant, 24, -1);
  in.Length = 296;
  in.Sequence = sequence;
  in.ControlLength = 300;
  return in;
}

TEST(KxTabPlacementTest, StandardSequenceAdvancesByLengthLessOverlapPlusOne) {
  const TKxStripLayout layout = KxArrangeTabs(ThreeTabs(tsStandard));
  ASSERT_EQ(layout.Tabs.size(), 3u);
  EXPECT_EQ(layout.Rows, 1);
  EXPECT_EQ(Text(layout.Tabs[0].Rect), "(0,0,60,24)");
  EXPECT_EQ(Text(layout.Tabs[1].Rect), "(49,0,129,24)");
  EXPECT_EQ(Text(layout.Tabs[2].Rect), "(118,0,158,24)");
}

TEST(KxTabPlacementTest, ReverseSequenceMirrorsFromTheFarEnd) {
  const TKxStripLayout layout = KxArrangeTabs(ThreeTabs(tsReverse));
  ASSERT_EQ(layout.Tabs.size(), 3u);
  // Laid out leftwards from 0 and shifted right by the total extent (158).
  EXPECT_EQ(Text(layout.Tabs[0].Rect), "(98,0,158,24)");
  EXPECT_EQ(Text(layout.Tabs[1].Rect), "(29,0,109,24)");
  EXPECT_EQ(Text(layout.Tabs[2].Rect), "(0,0,40,24)");
  // Mapped on a top strip 0..299 with the scroll offset of the first tab (right + margin).
  const TRect strip(0, 0, 299, 24);
  const int scroll = layout.Tabs[0].Rect.Right;
  EXPECT_EQ(KxMapStripRect(toTop, tsReverse, strip, scroll, layout.Tabs[0].Rect).Left, 239);
  EXPECT_EQ(KxMapStripRect(toTop, tsReverse, strip, scroll, layout.Tabs[1].Rect).Right, 250);
  EXPECT_EQ(KxMapStripRect(toTop, tsReverse, strip, scroll, layout.Tabs[2].Rect).Left, 141);
}

TEST(KxTabPlacementTest, MarginMovesTheFirstTab) {
  TKxStripInput in = ThreeTabs(tsStandard);
  in.Margin = 7;
  EXPECT_EQ(KxArrangeTabs(in).Tabs[0].Rect.Left, 7);
}

struct CutCase {
  const char* name;
  int length;
  int lengthCut;
  int strip;
  int expected;
};

class KxTabCutTest : public testing::TestWithParam<CutCase> {};

TEST_P(KxTabCutTest, TabNeverLongerThanTheStrip) {
  const CutCase& c = GetParam();
  TKxStripInput in;
  in.Lengths = {c.length};
  in.Thickness = 20;
  in.Length = c.strip;
  in.LengthCut = c.lengthCut;
  const TKxStripLayout layout = KxArrangeTabs(in);
  EXPECT_EQ(layout.Tabs[0].Rect.Width(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cuts, KxTabCutTest,
                         testing::Values(CutCase{"LongTabCutToStrip", 500, 0, 200, 200},
                                         CutCase{"RoundCornersFourShorter", 500, 4, 200, 196},
                                         CutCase{"ShortTabKept", 50, 0, 200, 50},
                                         // A control narrower than its margins: no negative length.
                                         CutCase{"NarrowControlNeverNegative", 50, 4, 2, 0}),
                         [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

// Eight 60-pixel tabs on a 200-pixel strip, T = 20, RowIndent 5, RowOverlap 5.
TKxStripInput EightTabs() {
  TKxStripInput in;
  in.Lengths = std::vector<int>(8, 60);
  in.Thickness = 20;
  in.Overlap = KxTabStyleOverlap(tsSingleSlant, 20, -1);
  in.Length = 200;
  in.MultiLine = true;
  in.RowIndent = 5;
  in.RowOverlap = 5;
  in.ControlLength = 200;
  return in;
}

TEST(KxTabMultiLineTest, TheFirstPassCountsRowsOnlyInMultiLineMode) {
  TKxStripInput in = EightTabs();
  EXPECT_EQ(TKxCustomTabControl::ArrangeTabRows(in), 3);
  // Each further row is RowIndent shorter: with a larger indent the third row holds fewer.
  in.RowIndent = 40;
  EXPECT_EQ(TKxCustomTabControl::ArrangeTabRows(in), 4);
  in.MultiLine = false;
  EXPECT_EQ(TKxCustomTabControl::ArrangeTabRows(in), 1);
}

TEST(KxTabMultiLineTest, RowsCountedAndEveryTabInsideTheStrip) {
  const TKxStripLayout layout = KxArrangeTabs(EightTabs());
  EXPECT_EQ(layout.Rows, 3);
  const std::vector<int> rows = {0, 0, 0, 1, 1, 1, 2, 2};
  for (size_t i = 0; i < layout.Tabs.size(); ++i) {
    const TKxPlacedTab& t = layout.Tabs[i];
    EXPECT_EQ(t.Row, rows[i]) << i;
    // Drawn rectangle: moved along the strip by row x RowIndent.
    const int drawnLeft = t.Rect.Left + t.Row * 5;
    const int drawnRight = t.Rect.Right + t.Row * 5;
    EXPECT_GE(drawnLeft, 0) << i;
    EXPECT_LE(drawnRight, 200) << i;
    // Rows stack upwards from the card; none lies above the strip.
    EXPECT_GE(t.Rect.Top, 0) << i;
    EXPECT_EQ(t.Rect.Top, (2 - t.Row) * 15) << i;
  }
  // Each row starts again at the margin.
  EXPECT_EQ(layout.Tabs[3].Rect.Left, 0);
  EXPECT_EQ(layout.Tabs[6].Rect.Left, 0);
}

TEST(KxTabMultiLineTest, AlignedRowsFillTheOneRowLength) {
  TKxStripInput in = EightTabs();
  in.AlignTabs = true;
  const TKxStripLayout layout = KxArrangeTabs(in);
  // Three rows: every row is 200 less 2 x RowIndent = 190 long.
  ASSERT_EQ(layout.Rows, 3);
  EXPECT_EQ(layout.RowLength, 190);
  // Row 0 (three tabs, extent 162) gets 28 more pixels: 10, 9 and 9.
  EXPECT_EQ(layout.Tabs[0].Rect.Width(), 70);
  EXPECT_EQ(layout.Tabs[1].Rect.Left, 51 + 10);
  // Every row ends at the same place, so that with its indent it stays inside the strip.
  for (int last : {2, 5, 7}) {
    EXPECT_EQ(layout.Tabs[static_cast<size_t>(last)].Rect.Right, 190) << last;
    EXPECT_LE(layout.Tabs[static_cast<size_t>(last)].Rect.Right + layout.Tabs[static_cast<size_t>(last)].Row * 5, 200);
  }
}

TEST(KxTabMultiLineTest, EveryRowBreaksAtTheOneRowLength) {
  // 60-pixel tabs (overlap 10) on a 185-pixel strip: three rows, each 175 long.
  TKxStripInput in = EightTabs();
  in.Length = 185;
  const TKxStripLayout layout = KxArrangeTabs(in);
  ASSERT_EQ(layout.Rows, 3);
  EXPECT_EQ(layout.RowLength, 175);
  const std::vector<int> rows = {0, 0, 0, 1, 1, 1, 2, 2};
  for (size_t i = 0; i < layout.Tabs.size(); ++i) EXPECT_EQ(layout.Tabs[i].Row, rows[i]) << i;
  // A tab longer than the strip is cut to the one row length, on the first row too.
  in.Lengths = {400, 60, 60, 60, 60, 60, 60};
  const TKxStripLayout cut = KxArrangeTabs(in);
  ASSERT_EQ(cut.Rows, 3);
  EXPECT_EQ(cut.Tabs.front().Rect.Width(), 175);
}

TEST(KxTabMultiLineTest, RotationBringsTheActiveRowNextToTheCard) {
  TKxStripLayout layout = KxArrangeTabs(EightTabs());
  // A tab of the top row (row 2) becomes active.
  KxRotateRows(layout.Tabs, 2, layout.Rows, 20, 5, 0);
  const std::vector<int> rows = {1, 1, 1, 2, 2, 2, 0, 0};
  for (size_t i = 0; i < layout.Tabs.size(); ++i) {
    EXPECT_EQ(layout.Tabs[i].Row, rows[i]) << i;
    EXPECT_EQ(layout.Tabs[i].Rect.Top, (2 - rows[i]) * 15) << i;
    EXPECT_EQ(layout.Tabs[i].Rect.Height(), 20) << i;
  }
}

// ---- Shapes and mapping ---------------------------------------------------------------------

struct ShapeCase {
  const char* name;
  TKxTabStyle style;
  bool soft;
  const char* expected;  // for (0, 0, 100, 20), cut corner 6
};

class KxTabShapeTest : public testing::TestWithParam<ShapeCase> {};

TEST_P(KxTabShapeTest, PolygonFromBaseOverTipToBase) {
  const ShapeCase& c = GetParam();
  const std::vector<TPoint> points = TKxCustomTabControl::BuildTabShape(c.style, c.soft, TRect(0, 0, 100, 20), 6);
  EXPECT_EQ(Text(points), c.expected);
  EXPECT_EQ(static_cast<int>(points.size()), KxTabShapePointCount(c.style, c.soft));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, KxTabShapeTest,
    testing::Values(ShapeCase{"DoubleSlant", tsDoubleSlant, false, "(0,20)(20,0)(80,0)(100,20)"},
                    ShapeCase{"SingleSlant", tsSingleSlant, false, "(0,20)(0,2)(2,0)(80,0)(100,20)"},
                    ShapeCase{"SingleSlantSoft", tsSingleSlant, true, "(0,20)(0,2)(2,0)(76,0)(82,2)(100,20)"},
                    ShapeCase{"CutCorner", tsCutCorner, false, "(0,20)(0,0)(94,0)(100,6)(100,20)"},
                    ShapeCase{"RoundCorners", tsRoundCorners, false, "(0,20)(0,2)(2,0)(98,0)(100,2)(100,20)"},
                    ShapeCase{"BackSlant", tsBackSlant, false, "(0,20)(20,0)(98,0)(100,2)(100,20)"},
                    ShapeCase{"SquareCorners", tsSquareCorners, false, "(0,20)(0,0)(100,0)(100,20)"}),
    [](const testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

struct MapCase {
  const char* name;
  TKxTabOrientation orientation;
  TKxTabSequence sequence;
  const char* expected;
};

class KxTabMappingTest : public testing::TestWithParam<MapCase> {};

// One 60 x 24 tab at the start of a 300 x 100 client's strip (the reverse tab lies left of 0).
TEST_P(KxTabMappingTest, OneTabOnEveryEdge) {
  const MapCase& c = GetParam();
  const TRect strip = KxStripRect(c.orientation, 300, 100, 24, false);
  const TRect tab = c.sequence == tsStandard ? TRect(0, 0, 60, 24) : TRect(-60, 0, 0, 24);
  EXPECT_EQ(Text(KxMapStripRect(c.orientation, c.sequence, strip, 0, tab)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, KxTabMappingTest,
    testing::Values(MapCase{"TopStandard", toTop, tsStandard, "(0,0,60,24)"},
                    MapCase{"TopReverse", toTop, tsReverse, "(239,0,299,24)"},
                    MapCase{"BottomStandard", toBottom, tsStandard, "(0,75,60,99)"},
                    MapCase{"BottomReverse", toBottom, tsReverse, "(239,75,299,99)"},
                    MapCase{"LeftStandard", toLeft, tsStandard, "(0,39,24,99)"},
                    MapCase{"LeftReverse", toLeft, tsReverse, "(0,0,24,60)"},
                    MapCase{"RightStandard", toRight, tsStandard, "(275,0,299,60)"},
                    MapCase{"RightReverse", toRight, tsReverse, "(275,39,299,99)"}),
    [](const testing::TestParamInfo<MapCase>& info) { return std::string(info.param.name); });

TEST(KxTabMappingTest, TipLiesAtTheControlsEdge) {
  // The tip (strip y 0) of a bottom tab is the bottom edge; of a right tab the right edge.
  EXPECT_EQ(KxMapStripPoint(toBottom, tsStandard, KxStripRect(toBottom, 300, 100, 24, false), 0, {5, 0}).Y, 99);
  EXPECT_EQ(KxMapStripPoint(toRight, tsStandard, KxStripRect(toRight, 300, 100, 24, false), 0, {5, 0}).X, 299);
  EXPECT_EQ(KxMapStripPoint(toLeft, tsStandard, KxStripRect(toLeft, 300, 100, 24, false), 0, {5, 0}).X, 0);
}

// ---- Region cache ---------------------------------------------------------------------------

HRGN Region(int x) { return CreateRectRgn(x, 0, x + 10, 10); }

TEST(KxTabRegionCacheTest, CapacityOneHoldsOnlyTheMostRecentRegion) {
  HRGN first = Region(0);
  HRGN second = Region(20);
  {
    TKxTabRegionCache cache;
    cache.Add(TRect(0, 0, 10, 10), first);
    cache.Add(TRect(20, 0, 30, 10), second);
    EXPECT_EQ(cache.Count(), 1);
    EXPECT_EQ(cache.Find(TRect(0, 0, 10, 10)), nullptr);
    EXPECT_EQ(cache.Find(TRect(20, 0, 30, 10)), second);
    // The dropped item deleted its region; the kept one lives until the cache goes.
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_REGION));
  }
  EXPECT_EQ(GetObjectType(second), 0u);
}

TEST(KxTabRegionCacheTest, MostRecentlyUsedStaysWhenFull) {
  TKxTabRegionCache cache(2);
  HRGN a = Region(0);
  cache.Add(TRect(0, 0, 10, 10), a);
  cache.Add(TRect(20, 0, 30, 10), Region(20));
  EXPECT_EQ(cache.Find(TRect(0, 0, 10, 10)), a);  // a becomes the most recent
  cache.Add(TRect(40, 0, 50, 10), Region(40));
  EXPECT_EQ(cache.Find(TRect(0, 0, 10, 10)), a);
  EXPECT_EQ(cache.Find(TRect(20, 0, 30, 10)), nullptr);
  cache.SetCapacity(-1);
  for (int i = 0; i < 5; ++i) cache.Add(TRect(100 + i, 0, 110, 10), Region(100));
  EXPECT_EQ(cache.Count(), 7);
}

TEST(KxTabRegionCacheTest, CapacityZeroOrBelowMinusOneIsRefused) {
  TKxTabRegionCache cache;
  for (int bad : {0, -2}) {
    try {
      cache.SetCapacity(bad);
      ADD_FAILURE() << bad;
    } catch (const EKxTabControlError& e) {
      EXPECT_EQ(e.Message(), "Capacity must be -1 (to cache all regions) or > 0");
    }
  }
  EXPECT_EQ(cache.Capacity(), 1);
}

}  // namespace
