// The texts of every marks style, the mark text with a custom item text and the event, the
// single-line title, detail series and their summaries, stored point pictures, custom mark
// positions and the "Detail" entry, copying formats, kinds of series and sample data.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SeriesTestSupport.h"
#include "canvas/KelPicture.h"
#include "chart/FastLineSeries.h"
#include "chart/SeriesDetail.h"
#include "chart/SeriesSelection.h"
#include "canvas/KelPen.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/graphics/Bitmap.h"

namespace {

// ---- Marks texts -------------------------------------------------------------------------------

struct StyleTextCase {
  const char* name;
  TSeriesMarksStyle style;
  std::string texts[3];
};

class MarkStyleTextTest : public testing::TestWithParam<StyleTextCase> {};

// Points (Mon, 25), (Tue, 75), ("", 0) at X 0, 1, 2: absolute total 100.
TEST_P(MarkStyleTextTest, OnThreePoints) {
  const StyleTextCase& c = GetParam();
  TChartSeries s(nullptr);
  s.ChangeTitle("Temps");
  s.AppendValue(25, "Mon");
  s.AppendValue(75, "Tue");
  s.AppendValue(0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.MarkStyleText(c.style, i, false), c.texts[i]) << c.name << " " << i;
  // The marks' own style gives the same text.
  s.Marks()->SetStyle(c.style);
  EXPECT_EQ(s.MarkText(1), c.texts[1]);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MarkStyleTextTest,
    testing::Values(StyleTextCase{"Value", smsValue, {"25", "75", "0"}},
                    StyleTextCase{"Percent", smsPercent, {"25 %", "75 %", "0 %"}},
                    StyleTextCase{"Label", smsLabel, {"Mon", "Tue", ""}},
                    StyleTextCase{"LabelPercent", smsLabelPercent, {"Mon 25 %", "Tue 75 %", "0 0 %"}},
                    StyleTextCase{"LabelValue", smsLabelValue, {"Mon 25", "Tue 75", "0"}},
                    StyleTextCase{"Legend", smsLegend, {"25 Mon", "75 Tue", "0"}},
                    StyleTextCase{"PercentTotal", smsPercentTotal, {"25 % of 100", "75 % of 100", "0 % of 100"}},
                    StyleTextCase{"LabelPercentTotal",
                                  smsLabelPercentTotal,
                                  {"Mon 25 % of 100", "Tue 75 % of 100", "0 0 % of 100"}},
                    StyleTextCase{"XValue", smsXValue, {"0", "1", "2"}},
                    StyleTextCase{"XY", smsXY, {"0 25", "1 75", "2 0"}},
                    StyleTextCase{"SeriesTitle", smsSeriesTitle, {"Temps", "Temps", "Temps"}},
                    StyleTextCase{"PointIndex", smsPointIndex, {"0", "1", "2"}},
                    StyleTextCase{"PercentRelative", smsPercentRelative, {"100 %", "300 %", "0 %"}},
                    StyleTextCase{"LabelPercentValue",
                                  smsLabelPercentValue,
                                  {"Mon 25 % 25", "Tue 75 % 75", "0 0 % 0"}},
                    StyleTextCase{"LabelOrValue", smsLabelOrValue, {"Mon", "Tue", "0"}}),
    [](const testing::TestParamInfo<StyleTextCase>& info) { return std::string(info.param.name); });

TEST(MarkText, MultiLineMarksSplitTheirPartsOverLines) {
  TChartSeries s(nullptr);
  s.AppendValue(25, "Mon");
  s.AppendValue(75, "Tue");
  EXPECT_EQ(s.MarkStyleText(smsLabelValue, 0, true), "Mon\r25");
  EXPECT_EQ(s.MarkStyleText(smsPercentTotal, 0, true), "25 %\rof 100");
  EXPECT_EQ(s.MarkStyleText(smsLegend, 0, true), "25\x06Mon") << "legend columns stay apart";
  s.Marks()->SetMultiLine(true);
  s.Marks()->SetStyle(smsXY);
  EXPECT_EQ(s.MarkText(1), "1\r75");
}

TEST(MarkText, ACustomItemTextThenTheEvent) {
  TChartSeries s(nullptr);
  s.AppendValue(25, "Mon");
  s.AppendValue(75, "Tue");
  s.Marks()->Items().ItemOrCreate(1)->TextLines()->SetText("Hot\r\nday");
  EXPECT_EQ(s.MarkText(1), "Hot\r\nday") << "only one trailing line break goes";
  EXPECT_EQ(s.MarkText(0), "Mon");
  std::vector<int> asked;
  s.OnGetMarkText = [&](TChartSeries* sender, int index, std::string& text) {
    EXPECT_EQ(sender, &s);
    asked.push_back(index);
    text += "!";
  };
  EXPECT_EQ(s.MarkText(1), "Hot\r\nday!");
  EXPECT_EQ(s.MarkText(0), "Mon!");
  EXPECT_EQ(asked, (std::vector<int>{1, 0}));
}

TEST(MarkText, TheSingleLineTitleHasNoLineBreaks) {
  TChartSeries s(nullptr);
  s.ChangeTitle("Inlet\r\ntemperature");
  EXPECT_EQ(s.TitleText(true), "Inlet temperature");
  EXPECT_EQ(s.TitleText(false), "Inlet\r\ntemperature");
  s.ChangeTitle("  ");
  s.SetName("Probe");
  EXPECT_EQ(s.TitleText(true), "Probe");
}

TEST(MarkText, TheSingleLineTitleIsCleanedAsLegendTitlesAre) {
  struct Case {
    const char* title;
    const char* oneLine;
  };
  const Case cases[] = {
      {"a\nb", "a b"},
      {"a\rb", "a b"},
      {"a\r\nb", "a b"},
      {"a\n\rb", "a b"},
      {"a\r\nb\r\nc", "a b  c"},      // only the first pair loses a character
      {"a\r\nb\n\rc", "a  b c"},      // a line-feed first pair goes before a CR-LF one
      {"in\x06out", "in out"},         // a legend column separator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    TChartSeries s(nullptr);
    s.ChangeTitle(c.title);
    EXPECT_EQ(s.TitleText(true), c.oneLine);
    EXPECT_EQ(s.TitleText(false), c.title);
  }
}

// ---- Detail series -------------------------------------------------------------------------------

struct SummaryCase {
  const char* name;
  TDetailSummary kind;
  double ofValues;
};

class DetailSummaryTest : public testing::TestWithParam<SummaryCase> {};

TEST_P(DetailSummaryTest, OfOneTwoThreeSixAndOfNothing) {
  TChartSeries master(nullptr);
  TSeriesDetail detail(&master);
  detail.SummaryKind = GetParam().kind;
  TChartSeries values(nullptr);
  EXPECT_EQ(detail.Summary(*values.YValues()), 0.0) << "nothing sums to 0";
  for (double v : {1.0, 2.0, 3.0, 6.0}) values.AppendValue(v);
  EXPECT_DOUBLE_EQ(detail.Summary(*values.YValues()), GetParam().ofValues);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DetailSummaryTest,
                         testing::Values(SummaryCase{"Sum", dsSum, 12}, SummaryCase{"Count", dsCount, 4},
                                         SummaryCase{"Average", dsAverage, 3}, SummaryCase{"Lowest", dsLowest, 1},
                                         SummaryCase{"Highest", dsHighest, 6}),
                         [](const testing::TestParamInfo<SummaryCase>& info) { return std::string(info.param.name); });

// Writes the chart as a layout, reads it into `copy` and answers the component named `name`
// there.
TComponent* ThroughLayout(FakeSeriesChart& chart, FakeSeriesChart& copy, const std::string& name) {
  TMemoryStream out;
  out.WriteComponent(&chart);
  out.SetPosition(0);
  out.ReadComponent(&copy);
  return copy.FindComponent(name);
}

// ---- Stored point data -------------------------------------------------------------------------

std::unique_ptr<TMemoryStream> Written(TChartSeries& s) {
  auto stream = std::make_unique<TMemoryStream>();
  s.WritePointData(*stream);
  stream->SetPosition(0);
  return stream;
}

TEST(StoredPointData, APointPictureIsReadBack) {
  RegisterClass(TKelPictureComponent::StaticClass());
  TChartSeries s(nullptr);
  s.AppendValue(1);
  s.AppendValue(2);
  s.AppendValue(3);
  auto* picture = new TKelPicture;
  picture->Bitmap()->SetSize(3, 2);
  s.Pictures().PutPicture(1, picture);
  const auto stream = Written(s);
  EXPECT_EQ(static_cast<const unsigned char*>(stream->Memory())[0] & 16, 16) << "pictures flagged";

  TChartSeries t(nullptr);
  t.ReadPointData(*stream);
  ASSERT_EQ(t.PointCount(), 3);
  EXPECT_EQ(t.YValueAt(2), 3) << "the point after the picture reads right";
  ASSERT_TRUE(t.HasPictures());
  EXPECT_EQ(t.Pictures().PictureAt(0), nullptr);
  ASSERT_NE(t.Pictures().PictureAt(1), nullptr);
  EXPECT_EQ(t.Pictures().PictureAt(1)->Width(), 3);
  EXPECT_EQ(t.Pictures().PictureAt(1)->Height(), 2);
  EXPECT_EQ(t.Pictures().PictureAt(2), nullptr);
}

TEST(StoredPointData, PicturesAreNotStoredWhenTheListSaysSo) {
  TChartSeries s(nullptr);
  s.AppendValue(1);
  auto* picture = new TKelPicture;
  picture->Bitmap()->SetSize(3, 2);
  s.Pictures().PutPicture(0, picture);
  s.Pictures().StorePictures = false;
  const auto stream = Written(s);
  EXPECT_EQ(static_cast<const unsigned char*>(stream->Memory())[0] & 16, 0);
  EXPECT_EQ(stream->Size(), 5 + 8);
}

TEST(StoredPointData, ACustomMarkPositionIsReadBackWithThePointsAfterIt) {
  TChartSeries s(nullptr);
  s.AppendValue(10);
  s.AppendValue(20);
  TSeriesMarkPosition p;
  p.ArrowFrom = POINT{1, 2};
  p.ArrowTo = POINT{3, 4};
  p.Custom = true;
  p.Height = 5;
  p.LeftTop = POINT{6, 7};
  p.Width = 8;
  s.Marks()->Positions().Store(0, p);
  const auto stream = Written(s);
  EXPECT_EQ(static_cast<const unsigned char*>(stream->Memory())[0] & 8, 8) << "positions flagged";
  EXPECT_EQ(stream->Size(), 5 + 2 * (8 + 34));

  TChartSeries t(nullptr);
  t.ReadPointData(*stream);
  ASSERT_EQ(t.PointCount(), 2);
  EXPECT_EQ(t.YValueAt(1), 20);
  ASSERT_EQ(t.Marks()->Positions().Count(), 2);
  const TSeriesMarkPosition* r = t.Marks()->Positions().PositionAt(0);
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(r->Custom);
  EXPECT_EQ(r->ArrowFrom.x, 1);
  EXPECT_EQ(r->ArrowFrom.y, 2);
  EXPECT_EQ(r->ArrowTo.x, 3);
  EXPECT_EQ(r->ArrowTo.y, 4);
  EXPECT_EQ(r->Height, 5);
  EXPECT_EQ(r->LeftTop.x, 6);
  EXPECT_EQ(r->LeftTop.y, 7);
  EXPECT_EQ(r->Width, 8);
  EXPECT_FALSE(t.Marks()->Positions().PositionAt(1)->Custom);
}

TEST(StoredPointData, ACutPositionBlockFailsAsAReadError) {
  TChartSeries s(nullptr);
  s.AppendValue(10);
  TSeriesMarkPosition p;
  p.Custom = true;
  s.Marks()->Positions().Store(0, p);
  const auto full = Written(s);
  TMemoryStream cut;
  cut.WriteBuffer(full->Memory(), full->Size() - 4);
  cut.SetPosition(0);
  TChartSeries t(nullptr);
  EXPECT_THROW(t.ReadPointData(cut), Exception);
}

TEST(SeriesDetailLayout, DetailSeriesComeBackAfterTheData) {
  RegisterClass(FakeSeriesChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  FakeSeriesChart chart;
  chart.SetName("Chart1");
  auto* line = new TFastLineSeries(&chart);
  line->SetName("Line");
  line->ChangeParentChart(&chart);
  line->ForceSaveData = true;
  line->AppendValue(5);
  line->AppendValue(7);
  line->Detail()->SummaryKind = dsAverage;
  for (int d = 0; d < 2; ++d) {
    auto* detail = new TFastLineSeries(nullptr);
    detail->SetName("Detail" + std::to_string(d));
    detail->ForceSaveData = true;
    detail->AppendValue(d + 1);
    detail->AppendValue(d + 3);
    line->Detail()->Add(detail);
  }
  FakeSeriesChart copy;
  auto* read = dynamic_cast<TFastLineSeries*>(ThroughLayout(chart, copy, "Line"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->PointCount(), 2);
  ASSERT_TRUE(read->HasDetail());
  TSeriesDetail* detail = read->Detail();
  EXPECT_EQ(detail->SummaryKind, dsAverage);
  ASSERT_EQ(detail->Count(), 2);
  EXPECT_EQ(detail->At(1)->Name(), "Detail1");
  ASSERT_EQ(detail->At(1)->PointCount(), 2);
  EXPECT_EQ(detail->At(1)->YValueAt(1), 4);
  EXPECT_DOUBLE_EQ(detail->Summary(*detail->At(0)->YValues()), 2);
}

TEST(SeriesDetailCopy, ACopiedPointBringsACopyOfItsDetailSeries) {
  TChartSeries source(nullptr);
  source.AppendValue(1);
  source.AppendValue(2);
  source.Detail()->Add(nullptr);
  auto* detail = new TFastLineSeries(nullptr);
  detail->AppendValue(8);
  detail->AppendValue(9);
  source.Detail()->Add(detail);
  TChartSeries target(nullptr);
  target.AppendXY(-5, 0);
  const int index = target.CopyPointFrom(&source, 1);
  EXPECT_EQ(index, 1);
  ASSERT_EQ(target.Detail()->Count(), 2);
  TChartSeries* copy = target.Detail()->At(1);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, detail);
  EXPECT_NE(dynamic_cast<TFastLineSeries*>(copy), nullptr) << "of the same class";
  ASSERT_EQ(copy->PointCount(), 2);
  EXPECT_EQ(copy->YValueAt(1), 9);
  // A point without a detail series gets an empty entry at its place, and the others move.
  EXPECT_EQ(target.CopyPointFrom(&source, 0), 1);
  EXPECT_EQ(target.Detail()->Count(), 3);
  EXPECT_EQ(target.Detail()->At(1), nullptr);
  EXPECT_EQ(target.Detail()->At(2), copy);
}

// A component that is no series, noting its name when it goes.
class StrayComponent : public TComponent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<StrayComponent>("StrayComponent", &TComponent::StaticClass()).Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit StrayComponent(TComponent* owner) : TComponent(owner) {}
  ~StrayComponent() override { gone.push_back(Name()); }
  static std::vector<std::string> gone;
};
std::vector<std::string> StrayComponent::gone;

// A master of four points, each with a detail series named D0..D3 holding one value.
void AddDetailedPoints(TChartSeries& master) {
  for (int i = 0; i < 4; ++i) {
    master.AppendValue(i);
    auto* detail = new TFastLineSeries(nullptr);
    detail->SetName("D" + std::to_string(i));
    detail->AppendValue(10 * i);
    master.Detail()->Add(detail);
  }
}

std::vector<std::string> DetailNames(TChartSeries& master) {
  std::vector<std::string> names;
  for (int i = 0; i < master.Detail()->Count(); ++i)
    names.push_back(master.Detail()->At(i) ? master.Detail()->At(i)->Name() : "-");
  return names;
}

TEST(SeriesDetailList, DeletingPointsTakesTheirDetailSeriesAndClearingFreesThemAll) {
  TChartSeries master(nullptr);
  AddDetailedPoints(master);
  EXPECT_EQ(master.Detail()->At(2)->MasterSeries(), &master);
  master.DeletePoint(1);
  EXPECT_EQ(DetailNames(master), (std::vector<std::string>{"D0", "D2", "D3"}));
  master.DeletePoints(1, 1);
  EXPECT_EQ(DetailNames(master), (std::vector<std::string>{"D0", "D3"}));
  EXPECT_EQ(master.PointCount(), 2);
  master.ClearPoints();
  EXPECT_FALSE(master.HasDetail());
  master.AppendValue(7);
  EXPECT_FALSE(master.HasDetail()) << "a new point has no detail series of an old one";
}

TEST(SeriesDetailList, AfterADeleteTheLayoutHoldsTheDetailSeriesOfThePointsLeft) {
  RegisterClass(FakeSeriesChart::StaticClass());
  RegisterClass(TFastLineSeries::StaticClass());
  FakeSeriesChart chart;
  auto* line = new TFastLineSeries(&chart);
  line->SetName("Line");
  line->ChangeParentChart(&chart);
  line->ForceSaveData = true;
  AddDetailedPoints(*line);
  line->DeletePoint(0);
  line->DeletePoints(1, 1);
  FakeSeriesChart copy;
  auto* read = dynamic_cast<TFastLineSeries*>(ThroughLayout(chart, copy, "Line"));
  ASSERT_NE(read, nullptr);
  ASSERT_EQ(read->PointCount(), 2);
  EXPECT_EQ(DetailNames(*read), (std::vector<std::string>{"D1", "D3"}));
  EXPECT_EQ(read->Detail()->At(1)->MasterSeries(), read);
}

TEST(SeriesDetailList, ADetailSeriesSetsItsMastersValueToItsSummary) {
  struct Case {
    TDetailSummary kind;
    double expected;
  };
  for (const Case& c : {Case{dsSum, 10 + 4 + 6}, Case{dsCount, 3}, Case{dsHighest, 10}}) {
    SCOPED_TRACE(c.kind);
    TChartSeries master(nullptr);
    AddDetailedPoints(master);
    master.Detail()->SummaryKind = c.kind;
    TChartSeries follower(nullptr);
    follower.SetDataSource(&master);
    TChartSeries* detail = master.Detail()->At(1);
    detail->AppendValue(4);
    detail->AppendValue(6);
    EXPECT_DOUBLE_EQ(master.YValueAt(1), c.expected);
    EXPECT_DOUBLE_EQ(master.YValueAt(2), 2) << "other points keep their values";
    EXPECT_DOUBLE_EQ(follower.YValueAt(1), c.expected) << "the master's followers hear of it";
  }
}

TEST(SeriesDetailList, ADetailSeriesFreedByItselfLeavesAnEmptyEntry) {
  TChartSeries master(nullptr);
  AddDetailedPoints(master);
  delete master.Detail()->At(1);
  EXPECT_EQ(DetailNames(master), (std::vector<std::string>{"D0", "-", "D2", "D3"}));
  master.DeletePoint(1);
  EXPECT_EQ(DetailNames(master), (std::vector<std::string>{"D0", "D2", "D3"}));
  // A change of a later detail series still lands on its own point.
  master.Detail()->At(2)->AppendValue(5);
  EXPECT_DOUBLE_EQ(master.YValueAt(2), 35);
}

TEST(SeriesDetailList, ADamagedDetailBlockFreesWhatItReadBeforeFailing) {
  RegisterClass(StrayComponent::StaticClass());
  StrayComponent::gone.clear();
  TMemoryStream block;
  block.WriteValue<std::uint8_t>(dsSum);
  block.WriteValue<std::int32_t>(1);
  {
    StrayComponent stray(nullptr);
    stray.SetName("Stray");
    block.WriteComponent(&stray);
  }
  StrayComponent::gone.clear();
  block.SetPosition(0);
  TChartSeries master(nullptr);
  EXPECT_THROW(master.ReadDetailData(block), Exception);
  EXPECT_EQ(StrayComponent::gone, (std::vector<std::string>{"Stray"}));
  EXPECT_FALSE(master.HasDetail());
}

TEST(SeriesDetailCopy, ACopiedDetailSeriesBelongsToItsSeries) {
  TFastLineSeries source(nullptr);
  AddDetailedPoints(source);
  TFastLineSeries target(nullptr);
  target.CopyPointFrom(&source, 2);
  TChartSeries* copy = target.Detail()->At(0);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Owner(), &target);
  EXPECT_EQ(copy->MasterSeries(), &target);
}

// ---- Copying, kinds and sample data ---------------------------------------------------------------

TEST(SeriesCopy, CopyFormatTakesTheMarksButKeepsTheirVisibility) {
  TChartSeries a(nullptr), b(nullptr);
  a.Marks()->SetVisible(true);
  a.Marks()->SetStyle(smsPercent);
  a.Marks()->SetDrawEvery(3);
  a.Marks()->Callout()->SetLength(12);
  b.CopyFormatFrom(&a);
  EXPECT_EQ(b.Marks()->Style(), smsPercent);
  EXPECT_EQ(b.Marks()->DrawEvery(), 3);
  EXPECT_EQ(b.Marks()->Callout()->Length(), 12);
  EXPECT_FALSE(b.Marks()->Visible());
  // Assign takes the visibility too.
  TChartSeries c(nullptr);
  c.Assign(&a);
  EXPECT_TRUE(c.Marks()->Visible());
  EXPECT_EQ(c.Marks()->Style(), smsPercent);
}

TEST(SeriesCopy, CopyFormatTakesLegendVisibilityAndSelection) {
  TChartSeries a(nullptr), b(nullptr);
  a.SetShowInLegend(false);
  a.Selected()->SetVisible(true);
  a.Selected()->Pen()->SetWidth(5);
  b.CopyFormatFrom(&a);
  EXPECT_FALSE(b.ShowInLegend());
  ASSERT_TRUE(b.HasSelected());
  EXPECT_TRUE(b.Selected()->Visible());
  EXPECT_EQ(b.Selected()->Pen()->Width(), 5);
  // From a series without either, the defaults come back.
  TChartSeries plain(nullptr);
  b.CopyFormatFrom(&plain);
  EXPECT_TRUE(b.ShowInLegend());
  EXPECT_FALSE(b.Selected()->Visible());
}

TEST(SeriesCopy, AssignTakesTheLegendEntryAndTheLabelAndColourSources) {
  TChartSeries a(nullptr), b(nullptr);
  a.SetLegendTitle("Inlet");
  a.SetShowInLegend(false);
  a.SetXLabelsSource("tag");
  a.SetColorSource("color");
  b.Assign(&a);
  EXPECT_EQ(b.LegendTitle(), "Inlet");
  EXPECT_FALSE(b.ShowInLegend());
  EXPECT_EQ(b.XLabelsSource(), "tag");
  EXPECT_EQ(b.ColorSource(), "color");
}

TEST(SeriesCopy, SameKindWhenOneIsAnInstanceOfTheOthersClass) {
  TChartSeries base(nullptr);
  TFastLineSeries line(nullptr), other(nullptr);
  TCustomLineSeries custom(nullptr);
  EXPECT_TRUE(TChartSeries::SameKind(&line, &other));
  EXPECT_TRUE(TChartSeries::SameKind(&line, &base));
  EXPECT_TRUE(TChartSeries::SameKind(&base, &line));
  EXPECT_TRUE(TChartSeries::SameKind(&custom, &line));
  EXPECT_FALSE(TChartSeries::SameKind(&line, nullptr));
}

TEST(SeriesKinds, AThemedSeriesComesBackFromALayoutWithItsColoursAndTransparency) {
  ASSERT_EQ(GetClass("TThemedSeries"), &TThemedSeries::StaticClass()) << "layouts may name it";
  RegisterClass(FakeSeriesChart::StaticClass());
  FakeSeriesChart chart;
  auto* themed = new TThemedSeries(&chart);
  themed->SetName("Themed");
  themed->ChangeParentChart(&chart);
  themed->ChangeTransparency(40);
  themed->ChangeColorEachPoint(true);
  themed->SetColorSource("tint");
  FakeSeriesChart copy;
  auto* read = dynamic_cast<TThemedSeries*>(ThroughLayout(chart, copy, "Themed"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Transparency(), 40);
  EXPECT_TRUE(read->ColorEachPoint());
  EXPECT_EQ(read->ColorSource(), "tint");
}

TEST(SampleValues, FillReplacesThePointsWithinTheDefaultRanges) {
  TChartSeries s(nullptr);
  s.AppendValue(-5000);
  s.FillSampleValues();
  ASSERT_EQ(s.PointCount(), 25) << "25 points for every class here";
  for (int i = 0; i < s.PointCount(); ++i) {
    EXPECT_EQ(s.XValueAt(i), i);
    EXPECT_GE(s.YValueAt(i), 0);
  }
  EXPECT_FALSE(s.DataLoaded());
  s.SampleCount = 7;
  s.FillSampleValues();
  EXPECT_EQ(s.PointCount(), 7);
  s.FillSampleValues(40);
  EXPECT_EQ(s.PointCount(), 40);
}

TEST(SampleValues, OnAChartTheyFollowTheAxesRanges) {
  FakeSeriesChart chart;
  TChartSeries s(nullptr);
  s.ChangeParentChart(&chart);
  chart.SetRanges(100, 200, 0, 100);
  s.AddSampleValues(11, false);
  ASSERT_EQ(s.PointCount(), 11);
  EXPECT_DOUBLE_EQ(s.XValueAt(0), 100);
  EXPECT_DOUBLE_EQ(s.XValueAt(10), 200);
  EXPECT_DOUBLE_EQ(s.XValueAt(5), 150);
  // Values only: X is the point number.
  TChartSeries t(nullptr);
  t.AddSampleValues(3, true);
  EXPECT_EQ(t.XValueAt(2), 2);
}

}  // namespace
