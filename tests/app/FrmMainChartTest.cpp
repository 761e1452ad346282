// The main window's chart page in-process (Xvfb): the curves a connection sequence builds, the
// chart tick that adds only new rows (and leaves curves equal to a full load), curves the chart
// does not hold after the module count grew, and the "Set" button's limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/ExcelFile.h"
#include "app/SerialPort.h"
#include "app/TestReport.h"
#include "app/uFrmMain.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "chart/ChartAxis.h"
#include "chart/DBChart.h"
#include "chart/FastLineSeries.h"
#include "controls/KxPageControl.h"
#include "support/XlrdDump.h"
#include "tests/app/SqlRows.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/Timer.h"

namespace {

struct CurvePoint {
  double x, y;
  bool null;
  bool operator==(const CurvePoint& o) const { return x == o.x && y == o.y && null == o.null; }
};

void PrintTo(const CurvePoint& p, std::ostream* os) { *os << p.x << "/" << p.y << (p.null ? " null" : ""); }

class FrmMainChartTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
    StopRequested = 0;
    RunMode = 0;
    SetTestMode(true);
    RegisterMainWindowClasses();
    InitializeExcelFile();
    Application->SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes.push_back(caption + ": " + text + ((flags & MB_ICONWARNING) ? " [warning]" : ""));
      return IDOK;
    });
    form = new TFrmMain(nullptr);
    form->AfterConstruction();
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete form;
    Application->SetMessageBoxHook(nullptr);
    Application->ProcessMessages();
    for (TZQuery* q : SeriesQueries)
      if (q) q->Close();
    if (DbConnection) {
      DbConnection->Disconnect();
      delete DbConnection;
      DbConnection = nullptr;
    }
    RunMode = 0;
    ModuleCount = 1;
    FinalizeExcelFile();
    SetTestMode(false);
    AppPath.clear();
  }

  // Stores sample rows as the acquisition thread does: dtime2 and val1..val<n>.
  void Store(const std::string& time, const std::vector<std::string>& values) {
    std::string columns = "dtime2", list = "'" + time + "'";
    for (size_t i = 0; i < values.size(); ++i) {
      columns += ",val" + std::to_string(i + 1);
      list += "," + values[i];
    }
    ASSERT_TRUE(ExecSqlCommand("insert into newdata(" + columns + ") values (" + list + ")"));
  }
  std::vector<CurvePoint> Points(int curve) {
    std::vector<CurvePoint> out;
    TChartSeries* s = form->dbcht1->SeriesAt(curve);
    for (int i = 0; i < s->PointCount(); ++i) out.push_back({s->XValueAt(i), s->YValueAt(i), s->IsNullPoint(i)});
    return out;
  }
  void Tick() { form->timer1Timer(form->timer1); }

  TempFolder folder;
  TFrmMain* form = nullptr;
  std::vector<std::string> boxes;
};

TEST_F(FrmMainChartTest, ShowwayTwiceLeavesOneCurvePerChannelWithItsSettings) {
  // Start-up fixes the left axis.
  EXPECT_FALSE(form->dbcht1->LeftAxis()->AutomaticMinimum());
  EXPECT_FALSE(form->dbcht1->LeftAxis()->AutomaticMaximum());
  EXPECT_EQ(form->dbcht1->LeftAxis()->Minimum(), 0);
  EXPECT_EQ(form->dbcht1->LeftAxis()->Maximum(), 100);
  Store("2024-05-01 10:00:00", {"20.5", "30"});
  form->showway(16, 1);
  form->showway(16, 1);  // a second connection sequence in the same test
  TDBChart* chart = form->dbcht1;
  ASSERT_EQ(chart->SeriesCount(), 16);
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    auto* curve = dynamic_cast<TFastLineSeries*>(chart->SeriesAt(i));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->Title(), "CH" + std::to_string(i + 1));
    EXPECT_FALSE(curve->DrawAllPoints());
    EXPECT_EQ(curve->LinePen()->Width(), 2);
    EXPECT_EQ(curve->TreatNulls(), tnDontPaint);
    EXPECT_EQ(curve->XValues()->ValueSource(), "dtime2");
    EXPECT_TRUE(curve->XValues()->DateTime());
    EXPECT_EQ(curve->YValues()->ValueSource(), "val" + std::to_string(i + 1));
    EXPECT_EQ(curve->DataSource(), SeriesQueries[0]);  // one query feeds them all
    EXPECT_EQ(curve->PointCount(), 1);
  }
  EXPECT_EQ(chart->SeriesAt(0)->YValueAt(0), 20.5);
  EXPECT_TRUE(chart->SeriesAt(2)->IsNullPoint(0));  // no reading of channel 3
  EXPECT_TRUE(form->timer1->Enabled());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FrmMainChartTest, FirstCurvesTakeThePaletteColours) {
  form->showway(8, 1);
  form->showway(8, 1);
  ASSERT_EQ(form->dbcht1->SeriesCount(), 8);
  EXPECT_EQ(form->dbcht1->ColorPaletteIndex(), 13);
  EXPECT_TRUE(form->dbcht1->Legend()->CheckBoxes());
  EXPECT_FALSE(form->dbcht1->BackWall()->Transparent());
  EXPECT_TRUE(form->dbcht1->BackWall()->Gradient()->Visible());
  EXPECT_EQ(form->dbcht1->SeriesAt(0)->EffectiveColor(), static_cast<TColor>(0xA36644));
  EXPECT_EQ(form->dbcht1->SeriesAt(1)->EffectiveColor(), static_cast<TColor>(0x359CF3));
}

TEST_F(FrmMainChartTest, TickAddsOnlyNewRowsOnTheChartPageDuringATestAndEqualsAFullLoad) {
  ModuleCount = 1;
  Store("2024-05-01 10:00:00", {"20", "21"});
  form->showway(8, 1);
  RunMode = 1;
  // Rows of the same second, a missing reading, and more than one row between two ticks.
  Store("2024-05-01 10:00:00", {"22", "NULL"});
  Store("2024-05-01 10:00:01", {"23", "24"});

  form->r1->SetActivePageIndex(0);
  Tick();
  EXPECT_EQ(Points(0).size(), 1u) << "no refresh off the chart page";
  form->r1->SetActivePageIndex(2);
  RunMode = 2;
  Tick();
  EXPECT_EQ(Points(0).size(), 1u) << "no refresh without a running test";
  RunMode = 1;
  Tick();
  EXPECT_EQ(Points(0).size(), 3u);
  Store("2024-05-01 10:00:02", {"25", "26"});
  Tick();
  Tick();  // nothing new
  EXPECT_EQ(form->LastCurveRowId(), 4);
  // The channel queries were not reopened: they still hold the first row only.
  EXPECT_EQ(SeriesQueries[0]->RecordCount(), 1);

  std::vector<std::vector<CurvePoint>> ticked;
  for (int i = 0; i < 8; ++i) ticked.push_back(Points(i));
  EXPECT_EQ(ticked[0].size(), 4u);
  EXPECT_TRUE(ticked[1][1].null);
  form->ReloadCurves();  // the full load
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Points(i), ticked[static_cast<size_t>(i)]) << "curve " << i;
  EXPECT_EQ(SeriesQueries[0]->RecordCount(), 4);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FrmMainChartTest, CurvesTheChartDoesNotHoldAreLeftAlone) {
  Store("2024-05-01 10:00:00", {"20", "21"});
  form->showway(16, 1);
  ModuleCount = 8;  // a history import raised the module count; the chart holds 16 curves
  RunMode = 1;
  form->r1->SetActivePageIndex(2);
  Store("2024-05-01 10:00:01", {"22", "23"});
  EXPECT_NO_THROW(Tick());
  EXPECT_NO_THROW(form->ReloadCurves());
  EXPECT_EQ(form->dbcht1->SeriesCount(), 16);
  EXPECT_EQ(Points(0).size(), 2u);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FrmMainChartTest, HistoryQueryBuildsCurvesOnOlddataByRecordTime) {
  ModuleCount = 1;
  ASSERT_TRUE(ExecSqlCommand("insert into olddata(dtime, val1) values ('2024-03-05 08:00:02', 31)"));
  ASSERT_TRUE(ExecSqlCommand("insert into olddata(dtime, val1) values ('2024-03-05 08:00:01', 30)"));
  ASSERT_TRUE(ExecSqlCommand("insert into olddata(dtime, val1) values ('2024-03-06 08:00:00', 99)"));
  ASSERT_TRUE(form->BuildHistoryCurves("2024-03-05 00:00:00", "2024-03-05 23:59:59"));
  ASSERT_EQ(form->dbcht1->SeriesCount(), 8);
  EXPECT_EQ(form->dbcht1->SeriesAt(0)->XValues()->ValueSource(), "dtime");
  // Imported newest first: sorted by record time.
  const std::vector<CurvePoint> points = Points(0);
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].y, 30);
  EXPECT_EQ(points[1].y, 31);
  EXPECT_LT(points[0].x, points[1].x);
}

// ---- The test report ------------------------------------------------------------------------

// The report files in the export folder.
std::vector<std::string> ReportFiles(const std::string& appPath) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((appPath + "Export_data\\*_Testreport.xls").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST_F(FrmMainChartTest, ReportWritesTheChartPictureAndTheGridsStatistics) {
  Store("2024-05-01 10:00:00", {"20", "30"});
  Store("2024-05-01 10:00:01", {"30", "35"});
  form->showway(16, 1);
  ModuleCount = 2;
  form->std2->SetCells(1, 1, "2024-05-01 10:00:00");
  form->std1->SetCells(1, 7, "Oven B");
  form->std1->SetCells(1, 11, "30.00,20.00,25.00");
  form->std1->SetCells(1, 26, "45.00,35.00,40.00");
  // The chart page was never shown: the picture still has the chart's full size.
  ASSERT_EQ(form->r1->ActivePageIndex(), 0);
  ASSERT_EQ(form->dbcht1->Width(), 0);
  form->act3Execute(form);
  EXPECT_EQ(boxes, (std::vector<std::string>{"prompt: The export of the test report succeeded [warning]"}));
  const std::vector<std::string> files = ReportFiles(AppPath);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].size(), std::string("yyyymmddhhnnss_Testreport.xls").size()) << files[0];
  ASSERT_TRUE(FileExists(AppPath + "TmpLine.jpg"));
  TBitmap shot;
  shot.LoadFromFile(AppPath + "TmpLine.jpg");
  EXPECT_GT(shot.Width(), 400);
  EXPECT_GT(shot.Height(), 300);

  // Read back with python3-xlrd from the build tree.
  const std::string xls = TestOutputDir() + "/FrmMainReport.xls";
  const std::string bmp = TestOutputDir() + "/FrmMainReport_TmpLine.jpg";
  ASSERT_TRUE(CopyFileA((AppPath + "Export_data\\" + files[0]).c_str(), WinPath(xls).c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((AppPath + "TmpLine.jpg").c_str(), WinPath(bmp).c_str(), FALSE));
  const std::vector<std::string> dump = XlrdDump(xls, bmp);
  const auto has = [&](const std::string& line) { return std::find(dump.begin(), dump.end(), line) != dump.end(); };
  EXPECT_TRUE(has("cell 5 1 font=Times New Roman/350 h=2 v=2 text=Oven BTemperature inspector test report"));
  EXPECT_TRUE(has("cell 8 1 font=Times New Roman/150 h=2 v=2 text=30.00,20.00,25.00"));
  EXPECT_TRUE(has("cell 10 8 font=Times New Roman/150 h=2 v=2 text=45.00,35.00,40.00"));
  EXPECT_TRUE(has("cell 9 8 font=Times New Roman/250 h=2 v=2 text=CH16"));
  EXPECT_TRUE(has("picture 1 1/0 24/0 9/0 50/0 name=My image blip=1"));
  bool sameBitmap = false;
  for (const std::string& line : dump)
    if (line.rfind("blip 1 ", 0) == 0) sameBitmap = line.find("bitmap=same") != std::string::npos;
  EXPECT_TRUE(sameBitmap);
}

TEST_F(FrmMainChartTest, ReportWithAnEmptyDataGridStopsSilently) {
  form->act3Execute(form);
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(FileExists(AppPath + "TmpLine.jpg"));
  EXPECT_FALSE(FileExists(AppPath + "Export_data"));
}

TEST_F(FrmMainChartTest, AnUnwritablePictureRaisesBeforeAnyWorkbook) {
  form->showway(8, 1);
  form->std2->SetCells(1, 1, "2024-05-01 10:00:00");
  ASSERT_TRUE(CreateDirectoryA((AppPath + "TmpLine.jpg").c_str(), nullptr));  // no file can go there
  EXPECT_ANY_THROW(form->act3Execute(form));
  EXPECT_TRUE(ReportFiles(AppPath).empty());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FrmMainChartTest, AFailingSaveRaisesTheLibrarysTextAndLeavesNoFile) {
  const std::string picture = AppPath + "TmpLine.jpg";
  form->dbcht1->WriteBitmapFileRect(picture, Rect(0, 0, 200, 100));
  const std::string target = AppPath + "blocked.xls";
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  TTestReportFields fields;
  try {
    WriteTestReport(target + "\\sub\\report.xls", picture, 1, fields);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message().rfind("Cannot write the file", 0), 0u) << e.Message();
  }
  EXPECT_FALSE(FileExists(target + "\\sub\\report.xls"));
}

// ---- "Set" ----------------------------------------------------------------------------------

struct LimitCase {
  const char* name;
  const char* upper;
  const char* lower;
  double startMin, startMax;  // the axis before
  double min, max;            // the axis after
  const char* message;        // the message box, or ""
  bool raises;                // the conversion fails (the toolkit's error box)
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class FrmMainLimitTest : public FrmMainChartTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(FrmMainLimitTest, SetAppliesOrRefusesTheLimits) {
  const LimitCase& c = GetParam();
  TChartAxis* left = form->dbcht1->LeftAxis();
  left->SetMinMax(c.startMin, c.startMax);
  form->L_up->SetText(c.upper);
  form->L_down->SetText(c.lower);
  if (c.raises) {
    EXPECT_THROW(form->btn_1Click(form->btn_1), EConvertError);
  } else {
    form->btn_1Click(form->btn_1);
  }
  EXPECT_EQ(left->Minimum(), c.min);
  EXPECT_EQ(left->Maximum(), c.max);
  EXPECT_FALSE(left->AutomaticMinimum());
  EXPECT_FALSE(left->AutomaticMaximum());
  std::vector<std::string> expected;
  if (*c.message) expected.push_back(std::string("prompt: ") + c.message + " [warning]");
  EXPECT_EQ(boxes, expected);
}

const LimitCase kLimits[] = {
    {"Ordinary", "50", "-10", 0, 100, -10, 50, "", false},
    {"LowerAboveUpper", "10", "20", 0, 100, 0, 100, "The upper and lower limits are entered incorrectly！", false},
    {"WhollyAboveTheRange", "200", "150", 0, 100, 150, 200, "", false},
    {"WhollyBelowTheRange", "-20", "-50", 0, 100, -50, -20, "", false},
    {"FourDecimalsKept", "12.34567", "-0.00004", 0, 100, 0, 12.3457, "", false},
    {"NotANumber", "-", "5", 0, 100, 0, 100, "", true},
    {"Empty", "", "5", 0, 100, 0, 100, "", true},
};
INSTANTIATE_TEST_SUITE_P(Cases, FrmMainLimitTest, testing::ValuesIn(kLimits),
                         [](const testing::TestParamInfo<LimitCase>& info) { return std::string(info.param.name); });

}  // namespace
