// Axes and value lists in window layouts: published properties read and written by name, the
// stored-value tests, the range guards relaxed while a layout is read, and the obsolete
// "Multiplier" entry.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AxisHostTestSupport.h"
#include "toolkit/classes/ObjectText.h"

namespace {

using chart_test_support::ReadHost;
using chart_test_support::TAxisHost;
using chart_test_support::WriteHost;

std::unique_ptr<TAxisHost> ReadLayout(const std::string& text) { return ReadHost(ObjectTextToBinary(text)); }

std::string WriteLayout(TAxisHost& host) { return ObjectBinaryToText(WriteHost(host)); }

}  // namespace

TEST(ChartLayout, AxisReadsItsRangeInAnyOrder) {
  const auto host = ReadLayout(
      "object Host: TAxisHost\n"
      "  Axis.Automatic = False\n"
      "  Axis.AutomaticMaximum = False\n"
      "  Axis.AutomaticMinimum = False\n"
      "  Axis.Maximum = 100\n"
      "  Axis.Minimum = 200\n"
      "  Axis.Increment = 5\n"
      "  Axis.Horizontal = True\n"
      "  Axis.PositionUnits = muPixels\n"
      "end\n");
  EXPECT_FALSE(host->axis.Automatic());
  EXPECT_EQ(host->axis.Maximum(), 100);
  EXPECT_EQ(host->axis.Minimum(), 200);  // a layout being read is not checked
  EXPECT_EQ(host->axis.Increment(), 5);
  EXPECT_TRUE(host->axis.Horizontal());
  EXPECT_EQ(host->axis.PositionUnits(), muPixels);
  EXPECT_THROW(host->axis.SetMinimum(300), AxisException);  // after loading it is
}

TEST(ChartLayout, AxisWritesOnlyWhatDiffersFromItsDefaults) {
  TAxisHost host(nullptr);
  host.SetName("Host");
  // An axis at its defaults writes nothing; a value list always writes its name and order.
  EXPECT_EQ(WriteLayout(host),
            "object Host: TAxisHost\r\n  Values.Name = 'Y'\r\n  Values.Order = loNone\r\nend\r\n");

  host.axis.SetMinMax(0, 100);
  host.axis.SetLogarithmicBase(2);
  host.axis.SetZPosition(0);  // 0.01: not stored on the normal side
  host.axis.SetEndPosition(90);
  host.axis.SetLabelsSeparation(10);  // the default
  const std::string text = WriteLayout(host);
  EXPECT_NE(text.find("Axis.Automatic = False"), std::string::npos) << text;
  EXPECT_NE(text.find("Axis.Maximum = 100"), std::string::npos) << text;
  EXPECT_NE(text.find("Axis.LogarithmicBase = 2"), std::string::npos) << text;
  EXPECT_NE(text.find("Axis.EndPosition = 90"), std::string::npos) << text;
  EXPECT_EQ(text.find("ZPosition"), std::string::npos) << text;
  EXPECT_EQ(text.find("LabelsSeparation"), std::string::npos) << text;
  EXPECT_EQ(text.find("AxisValuesFormat"), std::string::npos) << text;
  EXPECT_EQ(text.find("OtherSide"), std::string::npos) << text;  // a custom axis would store it

  const auto copy = ReadLayout(text);
  EXPECT_EQ(copy->axis.Maximum(), 100);
  EXPECT_EQ(copy->axis.LogarithmicBase(), 2);
  EXPECT_EQ(copy->axis.EndPosition(), 90);
  EXPECT_FALSE(copy->axis.AutomaticMinimum());
}

TEST(ChartLayout, ValueListPropertiesAndDateTimeDefault) {
  TAxisHost host(nullptr);
  host.SetName("Host");
  host.values.SetOrder(loAscending);
  host.values.ChangeValueSource("val1");
  std::string text = WriteLayout(host);
  EXPECT_NE(text.find("Values.Name = 'Y'"), std::string::npos) << text;
  EXPECT_NE(text.find("Values.Order = loAscending"), std::string::npos) << text;
  EXPECT_NE(text.find("Values.ValueSource = 'val1'"), std::string::npos) << text;
  EXPECT_EQ(text.find("DateTime"), std::string::npos) << text;  // equal to its default
  EXPECT_EQ(text.find("Multiplier"), std::string::npos) << text;  // never written
  host.values.ChangeDateTime(true);
  text = WriteLayout(host);
  EXPECT_NE(text.find("Values.DateTime = True"), std::string::npos) << text;

  const auto copy = ReadLayout(text);
  EXPECT_TRUE(copy->values.DateTime());
  EXPECT_EQ(copy->values.Order(), loAscending);
  EXPECT_EQ(copy->values.ValueSource(), "val1");
}

TEST(ChartLayout, ObsoleteMultiplierIsReportedAndLoadingGoesOn) {
  static std::vector<std::string> notices;
  const auto saved = ObsoleteMultiplierNotice;
  ObsoleteMultiplierNotice = [](const std::string& text) { notices.push_back(text); };
  const auto plain = ReadLayout(
      "object Host: TAxisHost\n"
      "  Values.Multiplier = 1.0\n"
      "  Values.ValueSource = 'a'\n"
      "end\n");
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(plain->values.ValueSource(), "a");
  const auto scaled = ReadLayout(
      "object Host: TAxisHost\n"
      "  Values.Multiplier = 2.0\n"
      "  Values.ValueSource = 'b'\n"
      "end\n");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].substr(0, 40), "Error: Multiplier property is obsolete.\r");
  EXPECT_EQ(scaled->values.ValueSource(), "b");
  ObsoleteMultiplierNotice = saved;
}

TEST(ChartLayout, SubAxesStreamAsACollection) {
  TAxisHost host(nullptr);
  host.SetName("Host");
  EXPECT_EQ(WriteLayout(host).find("SubAxes"), std::string::npos);  // none: not stored
  host.axis.SetHorizontal(true);
  TChartAxis& sub = host.axis.AddSubAxis();
  EXPECT_TRUE(sub.Horizontal());  // takes its parent's orientation
  sub.SetStartPosition(30);
  sub.SetOtherSide(true);
  const std::string text = WriteLayout(host);
  EXPECT_NE(text.find("Axis.SubAxes = <"), std::string::npos) << text;
  EXPECT_NE(text.find("StartPosition = 30"), std::string::npos) << text;

  const auto copy = ReadLayout(text);
  ASSERT_EQ(copy->axis.SubAxisCount(), 1);
  TChartAxis& read = copy->axis.SubAxis(0);
  EXPECT_EQ(read.StartPosition(), 30);
  EXPECT_TRUE(read.OtherSide());
  EXPECT_TRUE(read.Horizontal());
  EXPECT_EQ(read.ParentAxis(), &copy->axis);
  EXPECT_EQ(read.Owner(), copy.get());
}
