// Test statistics in 1/10000 units (halves to even at every step, the texts the grid shows) and
// the start's reading of the test interval.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ChannelStatistics.h"
#include "app/TsmThread_gz.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

struct StatisticsCase {
  const char* name;
  std::vector<std::string> readings;
  long long maximum, minimum, sum, average;
  const char* text;
};

class ChannelStatisticsTest : public testing::TestWithParam<StatisticsCase> {};

TEST_P(ChannelStatisticsTest, KeepsMaxMinSumAverage) {
  const StatisticsCase& c = GetParam();
  TChannelStatistics s;
  for (const std::string& r : c.readings) s.Add(r);
  EXPECT_EQ(s.Count(), static_cast<int>(c.readings.size()));
  EXPECT_EQ(s.Maximum(), c.maximum);
  EXPECT_EQ(s.Minimum(), c.minimum);
  EXPECT_EQ(s.Sum(), c.sum);
  EXPECT_EQ(s.Average(), c.average);
  EXPECT_EQ(s.Text(), c.text);
}

std::vector<std::string> Repeat(const std::string& text, int times, const std::string& last) {
  std::vector<std::string> v(static_cast<size_t>(times), text);
  v.push_back(last);
  return v;
}

const StatisticsCase kStatisticsCases[] = {
    {"FirstReadingSetsAll", {"25.0"}, 250000, 250000, 250000, 250000, "25.00,25.00,25.00"},
    {"TwentyThirtyTwentyFive", {"20.0", "30.0", "25.0"}, 300000, 200000, 750000, 250000,
     "30.00,20.00,25.00"},
    {"Negative", {"-10.0", "-20.5"}, -100000, -205000, -305000, -152500, "-10.00,-20.50,-15.25"},
    // Two-decimal readings whose binary forms are inexact still land on whole units.
    {"InexactDecimals", {"0.29", "0.57", "0.01"}, 5700, 100, 8700, 2900, "0.57,0.01,0.29"},
    // 1 unit over 200 readings: an average of exactly 0.5 units goes to 0 ...
    {"HalfUnitToEvenDown", Repeat("0.00", 199, "0.01"), 100, 0, 100, 0, "0.01,0.00,0.00"},
    // ... and 3 units over 200 readings, 1.5 units, to 2.
    {"HalfUnitToEvenUp", Repeat("0.00", 199, "0.03"), 300, 0, 300, 2, "0.03,0.00,0.00"},
    {"NegativeHalfUnitToEven", Repeat("-1.00", 199, "-1.03"), -10000, -10300, -2000300, -10002,
     "-1.00,-1.03,-1.00"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ChannelStatisticsTest, testing::ValuesIn(kStatisticsCases),
                         [](const testing::TestParamInfo<StatisticsCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(ChannelStatistics, NonNumericReadingRaisesAndChangesNothing) {
  TChannelStatistics s;
  s.Add("20.0");
  EXPECT_THROW(s.Add("2x"), EConvertError);
  EXPECT_EQ(s.Count(), 1);
  EXPECT_EQ(s.Text(), "20.00,20.00,20.00");
}

// A reading whose units do not fit in 64 bits (a float reaches 3.4e38) is left out: nothing
// raises and the statistics stay as they were.
TEST(ChannelStatistics, ReadingTooLargeForTheUnitsIsLeftOut) {
  const std::string huge = "340282346638528859811704183484516925440.0";
  TChannelStatistics s;
  EXPECT_FALSE(s.Add(huge));
  EXPECT_EQ(s.Count(), 0);
  EXPECT_TRUE(s.Add("20.0"));
  EXPECT_FALSE(s.Add("-" + huge));
  // Fits alone, but not added to the sum.
  EXPECT_TRUE(s.Add("900000000000000.0"));
  EXPECT_FALSE(s.Add("900000000000000.0"));
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.Sum(), 9000000000000000000LL + 200000LL);
  EXPECT_EQ(s.Minimum(), 200000);
}

struct IntervalCase {
  const char* name;
  const char* text;
  int unit;  // 0 seconds, 1 minutes
  int ms;
};

class TestIntervalTest : public testing::TestWithParam<IntervalCase> {};

TEST_P(TestIntervalTest, GivesMilliseconds) {
  EXPECT_EQ(TestIntervalMs(GetParam().text, GetParam().unit), GetParam().ms);
}

const IntervalCase kIntervalCases[] = {
    {"OneSecond", "1", 0, 1000},
    {"TwoMinutes", "2", 1, 120000},
    {"LongestMinutes", "999", 1, 59940000},
    {"Zero", "0", 0, 0},
    {"ZeroMinutes", "0", 1, 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, TestIntervalTest, testing::ValuesIn(kIntervalCases),
                         [](const testing::TestParamInfo<IntervalCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(TestInterval, TextThatIsNoNumberRaises) {
  for (const char* text : {"", "1a", " ", "1.5"})
    EXPECT_THROW(TestIntervalMs(text, 0), EConvertError) << "'" << text << "'";
}

}  // namespace
