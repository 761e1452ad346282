// The chart text table: texts assigned at start, nested start and end requests.
#include <gtest/gtest.h>

#include "chart/KelConst.h"

TEST(KelConst, EngineTextsAfterStart) {
  EXPECT_EQ(KelMsg_DefaultValueFormat, "#,##0.###");
  EXPECT_EQ(KelMsg_DefaultPercentFormat, "##0.## %");
  EXPECT_EQ(KelMsg_PercentOfTotalLines, std::string("%s\rof %s"));
  EXPECT_EQ(KelMsg_PercentOfTotalLines.find('\n'), std::string::npos);
  EXPECT_EQ(KelMsg_AxisMinimumAboveMaximum, "Axis Minimum Value must be <= Maximum");
  EXPECT_EQ(KelMsg_SeriesDeleteOutOfBounds,
            "Series Delete: ValueIndex %d out of bounds (0 to %d).");
  EXPECT_EQ(KelMsg_PaletteName[0], "Quilvane");
  EXPECT_EQ(KelMsg_PaletteName[12], "Gray scale");
  EXPECT_EQ(KelMsg_PaletteName[KelPaletteNameCount - 1], "Seawash");
  EXPECT_EQ(KelMsg_FilterGrayScale, "Gray scale");  // a separate entry from the palette name
  EXPECT_EQ(KelMsg_FilterHueLumSat, "Hue,Lum,Sat");
}

TEST(KelConst, TableHoldsEveryEntryOnce) {
  ASSERT_EQ(KelConstEntryCount(), 403);
  int emptyEntries = 0;
  bool sawKelFile = false, sawMultiLineBar = false, sawDegree = false;
  for (int i = 0; i < KelConstEntryCount(); ++i) {
    const std::string& text = KelConstEntry(i);
    if (text.empty()) ++emptyEntries;
    sawKelFile |= text == "Wrong *.kel file format";
    sawMultiLineBar |= text == "Horizontal\rBar";
    sawDegree |= text == "\xC2\xB0";
    for (int j = 0; j < i; ++j) ASSERT_NE(&KelConstEntry(j), &text) << "entry " << i;
  }
  EXPECT_EQ(emptyEntries, 1);
  EXPECT_TRUE(sawKelFile);
  EXPECT_TRUE(sawMultiLineBar);
  EXPECT_TRUE(sawDegree);
  EXPECT_EQ(&KelConstEntry(0), &KelMsg_SeriesDeleteOutOfBounds);
}

TEST(KelConst, NestedStartAssignsOnceAndLastEndReleases) {
  // The test environment holds one start already.
  KelMsg_AxisIncrementNegative = "translated";
  KelConstStartup();
  EXPECT_EQ(KelMsg_AxisIncrementNegative, "translated");  // not assigned again
  KelConstShutdown();
  EXPECT_EQ(KelMsg_AxisIncrementNegative, "translated");  // still one start outstanding
  KelConstShutdown();
  EXPECT_TRUE(KelMsg_AxisIncrementNegative.empty());
  EXPECT_TRUE(KelMsg_DefaultValueFormat.empty());
  EXPECT_TRUE(KelMsg_LineBreak.empty());
  KelConstStartup();  // back to the environment's state
  EXPECT_EQ(KelMsg_AxisIncrementNegative, "Axis increment must be >= 0");
  EXPECT_EQ(KelMsg_LineBreak, "\r");
}
