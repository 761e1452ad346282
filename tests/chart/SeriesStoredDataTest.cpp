// Points and series entries stored in window layouts: the "Data" block (X only when it is not
// the point number, colours, short and long labels), and a chart with its series written and
// read back through the layout filer with identifier, style, data sources and custom axes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "SeriesTestSupport.h"
#include "chart/FastLineSeries.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Streams.h"

namespace {

std::vector<unsigned char> Block(TChartSeries& s) {
  TMemoryStream stream;
  s.WritePointData(stream);
  const auto* p = static_cast<const unsigned char*>(stream.Memory());
  return std::vector<unsigned char>(p, p + stream.Size());
}

struct XCase {
  const char* name;
  std::vector<double> xs;
  bool storesX;
};

class StoredXTest : public testing::TestWithParam<XCase> {};

TEST_P(StoredXTest, XIsStoredOnlyWhenItIsNotThePointNumber) {
  TChartSeries s(nullptr);
  for (double x : GetParam().xs) s.AppendXY(x, x * 2);
  const auto bytes = Block(s);
  ASSERT_GE(bytes.size(), 5u);
  EXPECT_EQ((bytes[0] & 1) != 0, GetParam().storesX);
  const size_t perPoint = GetParam().storesX ? 16 : 8;
  EXPECT_EQ(bytes.size(), 5 + perPoint * GetParam().xs.size());
  // And back.
  TChartSeries t(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  t.ReadPointData(stream);
  ASSERT_EQ(t.PointCount(), s.PointCount());
  for (int i = 0; i < t.PointCount(); ++i) {
    EXPECT_EQ(t.XValueAt(i), s.XValueAt(i));
    EXPECT_EQ(t.YValueAt(i), s.YValueAt(i));
  }
  EXPECT_TRUE(t.DataLoaded());
}

std::vector<double> LongSequenceWithLateJump() {
  std::vector<double> xs;
  for (int i = 0; i < 10005; ++i) xs.push_back(i);
  xs.push_back(10005.5);  // past the first 10,001 values
  xs.push_back(10007);
  return xs;
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredXTest,
                         testing::Values(XCase{"Sequence", {0, 1, 2}, false}, XCase{"Gap", {0, 1, 5}, true},
                                         XCase{"NotFromZero", {1, 2, 3}, true},
                                         XCase{"LateJump", LongSequenceWithLateJump(), true}),
                         [](const testing::TestParamInfo<XCase>& info) { return std::string(info.param.name); });

TEST(SeriesStoredData, ALongLabelUsesTheLongFormAndReadsBackUnchanged) {
  TChartSeries s(nullptr);
  const std::string longLabel(300, 'L');
  s.AppendValue(1, "Mon");
  s.AppendValue(2, longLabel);
  const auto bytes = Block(s);
  EXPECT_EQ(bytes[0], 4) << "labels only";
  // Point 0: value (8), short label 3 "Mon"; point 1: value (8), 255, length 300, text.
  size_t at = 5 + 8;
  EXPECT_EQ(bytes[at], 3);
  EXPECT_EQ(std::string(bytes.begin() + at + 1, bytes.begin() + at + 4), "Mon");
  at += 4 + 8;
  EXPECT_EQ(bytes[at], 255);
  std::int32_t length;
  std::memcpy(&length, &bytes[at + 1], 4);
  EXPECT_EQ(length, 300);
  EXPECT_EQ(bytes.size(), at + 5 + 300);

  TChartSeries t(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  t.ReadPointData(stream);
  EXPECT_EQ(t.PointLabel(0), "Mon");
  EXPECT_EQ(t.PointLabel(1), longLabel);
}

// Labels are looked for among all points: one that only point 101 carries is stored too.
TEST(SeriesStoredData, ALabelPastTheHundredthPointIsStored) {
  TChartSeries s(nullptr);
  for (int i = 0; i < 105; ++i) s.AppendValue(i, i == 101 ? "late" : "");
  const auto bytes = Block(s);
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes[0], 4) << "labels only";
  TChartSeries t(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  t.ReadPointData(stream);
  ASSERT_EQ(t.PointCount(), 105);
  EXPECT_EQ(t.PointLabel(101), "late");
  EXPECT_EQ(t.PointLabel(100), "");
}

TEST(SeriesStoredData, NullPointsAnywhereKeepTheirColour) {
  TChartSeries s(nullptr);
  s.ChangeSeriesColor(clRed);
  for (int i = 0; i < 10010; ++i) s.AppendValue(i);
  s.SetPointColor(1, clRed);  // the series' own colour: not worth storing alone
  EXPECT_EQ(Block(s)[0] & 2, 0);
  s.SetPointColor(10008, clNone);  // past the first 10,001 points
  const auto bytes = Block(s);
  EXPECT_EQ(bytes[0] & 2, 2);
  TChartSeries t(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  t.ReadPointData(stream);
  EXPECT_TRUE(t.IsNullPoint(10008));
  EXPECT_FALSE(t.IsNullPoint(10007));
}

TEST(SeriesStoredData, ATruncatedBlockFailsWithAReadError) {
  TChartSeries s(nullptr);
  s.AppendValue(1, "label");
  s.AppendValue(2);
  auto bytes = Block(s);
  bytes.resize(bytes.size() - 3);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  TChartSeries t(nullptr);
  EXPECT_THROW(t.ReadPointData(stream), Exception);
  EXPECT_FALSE(t.Updating()) << "the update bracket is closed";
}

// ---- Through the layout filer -----------------------------------------------------------------

std::string WriteLayout(TComponent& root) {
  TMemoryStream stream;
  stream.WriteComponent(&root);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::unique_ptr<FakeSeriesChart> ReadLayout(const std::string& binary) {
  RegisterClass(FakeSeriesChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  TMemoryStream stream;
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  auto* root = new FakeSeriesChart(nullptr);
  stream.ReadComponent(root);
  return std::unique_ptr<FakeSeriesChart>(root);
}

TEST(SeriesLayout, AChartsSeriesComeBackWithPointsAndEntries) {
  FakeSeriesChart chart;
  chart.SetName("Chart1");
  chart.customAxes.push_back(std::make_unique<TChartAxis>(&chart));
  chart.customAxes.push_back(std::make_unique<TChartAxis>(&chart));
  auto* a = new TFastLineSeries(&chart);
  a->SetName("SourceA");
  a->ChangeParentChart(&chart);
  auto* b = new TFastLineSeries(&chart);
  b->SetName("SourceB");
  b->ChangeParentChart(&chart);
  auto* line = new TFastLineSeries(&chart);
  line->SetName("Line");
  line->ChangeParentChart(&chart);
  line->ForceSaveData = true;
  line->SetIdentifier("ch07");
  line->SetStyle({tssDenyDelete, tssHideDataSource});
  line->ChangeTitle("Channel 7");
  line->SetTreatNulls(tnDontPaint);
  line->ChangeDrawAllPoints(false);
  line->SetCustomVertAxis(chart.customAxes[1].get());
  line->AppendXY(0, 21.5, "start");
  line->AppendXY(1, 0, "", clNone);
  line->AppendXY(2.5, 22.25);
  const std::string layout = WriteLayout(chart);
  // The sources are given after the points: a data source would otherwise own them.
  line->AddDataSource(a);
  line->AddDataSource(b);
  const std::string withSources = WriteLayout(chart);

  const auto copy = ReadLayout(layout);
  ASSERT_EQ(copy->series.size(), 3u);
  auto* read = dynamic_cast<TFastLineSeries*>(copy->FindComponent("Line"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->ParentChart(), copy.get());
  EXPECT_EQ(read->Identifier(), "ch07");
  EXPECT_TRUE(read->Style().Contains(tssDenyDelete));
  EXPECT_TRUE(read->Style().Contains(tssHideDataSource));
  EXPECT_FALSE(read->Style().Contains(tssIsTemplate));
  EXPECT_EQ(read->Title(), "Channel 7");
  EXPECT_EQ(read->TreatNulls(), tnDontPaint);
  EXPECT_FALSE(read->DrawAllPoints());
  ASSERT_EQ(read->PointCount(), 3);
  EXPECT_EQ(read->XValueAt(2), 2.5);
  EXPECT_EQ(read->YValueAt(2), 22.25);
  EXPECT_EQ(read->PointLabel(0), "start");
  EXPECT_TRUE(read->IsNullPoint(1));
  EXPECT_TRUE(read->DataLoaded());
  // Custom axes are stored by index and resolved against the chart read.
  EXPECT_EQ(read->VertAxis(), aCustomVertAxis);
  EXPECT_EQ(read->CustomVertAxis(), nullptr) << "the copy's chart has no custom axes";
  auto* source = dynamic_cast<TFastLineSeries*>(copy->FindComponent("SourceA"));
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->PointCount(), 0) << "no \"Data\" for a series whose points are not its own";

  const auto withSourcesCopy = ReadLayout(withSources);
  auto* follower = dynamic_cast<TFastLineSeries*>(withSourcesCopy->FindComponent("Line"));
  ASSERT_NE(follower, nullptr);
  ASSERT_EQ(follower->DataSourceCount(), 2);
  EXPECT_EQ(follower->DataSourceAt(0), withSourcesCopy->FindComponent("SourceA"));
  EXPECT_EQ(follower->DataSourceAt(1), withSourcesCopy->FindComponent("SourceB"));
}

TEST(SeriesLayout, CustomAxisIndexResolvesAgainstTheReadingChart) {
  FakeSeriesChart chart;
  chart.SetName("Chart1");
  chart.customAxes.push_back(std::make_unique<TChartAxis>(&chart));
  chart.customAxes.push_back(std::make_unique<TChartAxis>(&chart));
  auto* line = new TFastLineSeries(&chart);
  line->SetName("Line");
  line->ChangeParentChart(&chart);
  line->SetCustomHorizAxis(chart.customAxes[1].get());
  const std::string layout = WriteLayout(chart);

  RegisterClass(FakeSeriesChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  FakeSeriesChart target;
  target.customAxes.push_back(std::make_unique<TChartAxis>(&target));
  target.customAxes.push_back(std::make_unique<TChartAxis>(&target));
  TMemoryStream stream;
  stream.WriteBuffer(layout.data(), static_cast<long long>(layout.size()));
  stream.SetPosition(0);
  stream.ReadComponent(&target);
  auto* read = dynamic_cast<TFastLineSeries*>(target.FindComponent("Line"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->CustomHorizAxis(), target.customAxes[1].get());
  EXPECT_EQ(read->GetHorizAxis(), target.customAxes[1].get());
}

}  // namespace
