// The FlexCelDyn binding: the test report's workbook (WriteTestReport) read back by
// python3-xlrd, the version check against a library copy reporting 6.21.1, and library
// errors arriving as exceptions with the library's text.
//
// Checked by hand once that LibreOffice opens the report without a repair prompt and shows
// the picture (libreoffice-calc-nogui and poppler-utils, not part of the set-up):
//   libreoffice --headless --convert-to pdf --outdir /tmp/lo build/mingw/test-output/ReportLayout_EightModules.xls
//   pdftoppm -png -r 60 /tmp/lo/ReportLayout_EightModules.pdf /tmp/lo/page
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/ExcelFile.h"
#include "app/TestReport.h"
#include "support/TestBitmap.h"
#include "support/TestPaths.h"
#include "support/XlrdDump.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

class ExcelFileTest : public testing::Test {
 protected:
  void SetUp() override { InitializeExcelFile(); }
  void TearDown() override { FinalizeExcelFile(); }
  static std::string OutputPath(const std::string& name) { return TestOutputDir() + "/" + name; }
};

// ---- The test report's sheet ------------------------------------------------------------

struct ReportCase {
  const char* name;
  int modules;
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

class ReportLayout : public ExcelFileTest, public testing::WithParamInterface<ReportCase> {};

struct Placed {
  int row, col1, col2;  // merged when col2 > col1
  std::string text;
  int size20;
  bool centred;
};

// The report's cells, row by row; statistics of channel n are "n.00,n.50,n.25".
std::vector<Placed> ReportCells(int modules) {
  const std::string colon = "\xef\xbc\x9a";  // the full-width colon of the company lines
  std::vector<Placed> cells = {
      {1, 1, 8, "Company name" + colon + "Vornakit Instruments", 200, false},
      {2, 1, 8, "Company address" + colon, 200, false},
      {3, 1, 8, "Company phone" + colon + "+86 755 0000 0000", 200, false},
      {4, 1, 8, "Company website" + colon + "www.example.com", 200, false},
      {5, 1, 8, "Oven A-7Temperature inspector test report", 350, true},
      {6, 1, 8, "Value graph(Max,Min,Ave)", 250, true},
  };
  for (int m = 0; m < modules; ++m)
    for (int k = 1; k <= 8; ++k) {
      const int ch = 8 * m + k;
      cells.push_back({7 + 2 * m, k, k, "CH" + std::to_string(ch), 250, true});
      cells.push_back({8 + 2 * m, k, k, std::to_string(ch) + ".00," + std::to_string(ch) + ".50," + std::to_string(ch) + ".25", 150, true});
    }
  cells.push_back({23, 1, 8, "graph", 250, true});
  const char* row50[] = {"Product model:VK-8", "Product number:SN 0042", "Manufacturer:Vornakit", "Operators:Li Wei"};
  const char* row51[] = {"Ambient temperature:23.5", "Ambient humidity:41%", "Test the equipment:Oven A-7", "2026-12-10 08:00 - 10:00"};
  for (int i = 0; i < 4; ++i) cells.push_back({50, 1 + 2 * i, 2 + 2 * i, row50[i], 200, false});
  for (int i = 0; i < 4; ++i) cells.push_back({51, 1 + 2 * i, 2 + 2 * i, row51[i], 200, false});
  // Row order: rows 7.. come in pairs per module, so sort into sheet order.
  std::stable_sort(cells.begin(), cells.end(), [](const Placed& a, const Placed& b) {
    return a.row != b.row ? a.row < b.row : a.col1 < b.col1;
  });
  return cells;
}

TEST_P(ReportLayout, IsReadBackByXlrdWithItsTextsMergesWidthsFontsAndPicture) {
  const ReportCase c = GetParam();
  const std::string picture = OutputPath(std::string("ReportLayout_") + c.name + "_TmpLine.jpg");
  WriteFile(picture, MakeBitmapFile(320, 200, c.modules));  // a bitmap, whatever the name says
  const std::string xls = OutputPath(std::string("ReportLayout_") + c.name + ".xls");
  const std::vector<Placed> cells = ReportCells(c.modules);

  CompanyName = "Vornakit Instruments";
  CompanyAddress = "";
  CompanyPhone = "+86 755 0000 0000";
  CompanyWebsite = "www.example.com";
  TTestReportFields fields;
  fields.productNumber = "SN 0042";
  fields.productModel = "VK-8";
  fields.manufacturer = "Vornakit";
  fields.operators = "Li Wei";
  fields.testTime = "2026-12-10 08:00 - 10:00";
  fields.testEquipment = "Oven A-7";
  fields.ambientTemperature = "23.5";
  fields.ambientHumidity = "41%";
  for (int ch = 1; ch <= 8 * c.modules; ++ch)
    fields.statistics.push_back(std::to_string(ch) + ".00," + std::to_string(ch) + ".50," + std::to_string(ch) + ".25");
  WriteTestReport(WinPath(xls), WinPath(picture), c.modules, fields);
  CompanyName.clear();
  CompanyPhone.clear();
  CompanyWebsite.clear();

  std::vector<std::string> expected = {"sheet Sheet1 51 8"};
  for (int col = 1; col <= 8; ++col) expected.push_back("colwidth " + std::to_string(col) + " 2560");
  for (const Placed& p : cells)
    if (p.col2 > p.col1)
      expected.push_back("merge " + std::to_string(p.row) + " " + std::to_string(p.col1) + " " +
                         std::to_string(p.row) + " " + std::to_string(p.col2));
  for (const Placed& p : cells)
    expected.push_back("cell " + std::to_string(p.row) + " " + std::to_string(p.col1) +
                       " font=Times New Roman/" + std::to_string(p.size20) + " h=" + (p.centred ? "2" : "0") +
                       " v=2 text=" + p.text);
  expected.push_back("picture 1 1/0 24/0 9/0 50/0 name=My image blip=1");
  expected.push_back("blip 1 bytes=" + std::to_string(40 + 960 * 200) + " bitmap=same");
  EXPECT_EQ(XlrdDump(xls, picture), expected);
}

INSTANTIATE_TEST_SUITE_P(Modules, ReportLayout,
                         testing::Values(ReportCase{"TwoModules", 2}, ReportCase{"EightModules", 8}),
                         [](const testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.name); });

// ---- Records crossing the library boundary -----------------------------------------------

template <typename T>
T At(const void* record, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
  return value;
}

// Offsets of the picture record's fields after the anchor: the library's own on the 32-bit
// program, the same packed order with 8-byte pointers on the 64-bit one.
struct ImageLayout {
  size_t shape, alt, link, file, crop, transparent, back, contrast, brightness, gamma, lock, print,
      reserved, macro, visible;
};
constexpr ImageLayout kImage = sizeof(void*) == 4
    ? ImageLayout{70, 74, 78, 82, 86, 102, 106, 110, 114, 118, 122, 123, 124, 130, 134}
    : ImageLayout{70, 78, 86, 94, 102, 118, 122, 126, 130, 134, 138, 139, 140, 146, 154};

TEST(BindingRecords, ImagePropertiesHoldTheLibrarysFixedValuesAtTheirOffsets) {
  const wchar_t* file = L"TmpLine.jpg";
  const wchar_t* shape = L"My image";
  const IImageProperties p =
      MakeImageProperties(MakeClientAnchorFull(atMoveAndDontResize, 24, 7, 1, 9, 50, 11, 9, 13), file, shape);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(&p);
  ASSERT_EQ(sizeof p, kImage.visible + 4);
  EXPECT_EQ(b[0], 1);
  // The anchor from offset 1: flag, type, column/offset, row/offset, last column/offset, last
  // row/offset, four floats of -1.
  EXPECT_EQ(b[1], 0);
  const int anchor[] = {atMoveAndDontResize, 1, 9, 24, 7, 9, 13, 50, 11};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(At<std::int32_t>(b, 2 + 4 * i), anchor[i]) << "anchor field " << i;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(At<double>(b, 38 + 8 * i), -1.0) << "anchor float " << i;
  EXPECT_EQ(At<const wchar_t*>(b, kImage.shape), shape);
  EXPECT_EQ(At<const wchar_t*>(b, kImage.alt), nullptr);
  EXPECT_EQ(At<const wchar_t*>(b, kImage.link), nullptr);
  EXPECT_EQ(At<const wchar_t*>(b, kImage.file), file);
  for (size_t i = kImage.crop; i < kImage.transparent; ++i) EXPECT_EQ(b[i], 0) << "crop byte " << i;
  EXPECT_EQ(At<std::int32_t>(b, kImage.transparent), -1);
  EXPECT_EQ(At<std::int32_t>(b, kImage.back), -1);
  EXPECT_EQ(At<std::int32_t>(b, kImage.contrast), 0x10000);
  EXPECT_EQ(At<std::int32_t>(b, kImage.brightness), 0);
  EXPECT_EQ(At<std::int32_t>(b, kImage.gamma), 0);
  EXPECT_EQ(b[kImage.lock], 1);
  EXPECT_EQ(b[kImage.print], 1);
  for (size_t i = kImage.reserved; i < kImage.macro; ++i) EXPECT_EQ(b[i], 0) << "byte " << i;
  EXPECT_EQ(At<const wchar_t*>(b, kImage.macro), nullptr);
  EXPECT_EQ(b[kImage.visible], 1);
  EXPECT_EQ(b[kImage.visible + 1], 1);
  EXPECT_EQ(b[kImage.visible + 2], 0);
  EXPECT_EQ(b[kImage.visible + 3], 0);
}

TEST(BindingRecords, RichStringIsATextWithoutRuns) {
  TRichStringDll r;
  std::memset(&r, 0xCC, sizeof r);
  const wchar_t* text = L"CH1";
  InitRichString(r, text);
  ASSERT_EQ(sizeof r, 2 * sizeof(void*) + 4);
  EXPECT_EQ(At<const wchar_t*>(&r, 0), text);
  EXPECT_EQ(At<std::int32_t>(&r, sizeof(void*)), 0);
  EXPECT_EQ(At<const void*>(&r, sizeof(void*) + 4), nullptr);
}

// ---- Version ------------------------------------------------------------------------------

TEST(XlsVersionText, WritesTheThreeBytesInDecimal) {
  EXPECT_EQ(XlsVersionText(0x061500), "6.21.0");
  EXPECT_EQ(XlsVersionText(0x061501), "6.21.1");
  EXPECT_EQ(XlsVersionText(0x0A0B0C), "10.11.12");
}

TEST_F(ExcelFileTest, AcceptsTheLibraryBuiltBeside) {
  EXPECT_EQ(XLVersion(), kRequiredXlsVersion);
  EXPECT_NO_THROW(TExcelFile::CheckDllVersion());
}

// Runs the probe beside the library copy that reports 6.21.1; returns what it printed.
std::string RunVersionProbe() {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "no pipe";
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi{};
  std::string exe = BinDir() + "xls-6.21.1\\ExcelVersionProbe.exe";
  std::string command = "\"" + exe + "\"";
  const BOOL started = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &si, &pi);
  CloseHandle(writeEnd);
  std::string out = started ? "" : "not started";
  if (started) {
    char buffer[1024];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(readEnd);
  return out;
}

TEST(TExcelFileVersion, ALibraryReporting6_21_1StopsCreateWithBothVersions) {
  EXPECT_EQ(RunVersionProbe(),
            "The version of FlexCelDyn.dll doesn't match the version used in the application. Make sure the "
            "correct dll is available. Application Version: 6.21.0. FlexCelDyn version: 6.21.1");
}

// ---- Library errors ---------------------------------------------------------------------

// A failed call leaves no error behind: the calls after it succeed, raise nothing and land in
// the saved workbook.
TEST_F(ExcelFileTest, CallsAfterAFailureSucceedAndLandInTheFile) {
  TExcelFile book(1);
  book.NewFile(1);
  EXPECT_THROW(book.SetCellValue(0, 1, "lost", -1), Exception);
  EXPECT_NO_THROW(book.SetCellValue(2, 3, "after a failure", -1));
  EXPECT_THROW(book.SetCellFormat(1, 257, 0), Exception);
  EXPECT_NO_THROW(book.SetCellValue(4, 1, "again", -1));
  EXPECT_THROW(book.MergeCells(65536, 1, 65537, 2), Exception);
  EXPECT_NO_THROW(book.MergeCells(4, 1, 4, 2));
  const std::string xls = OutputPath("CallsAfterAFailure.xls");
  EXPECT_NO_THROW(book.Save(WinPath(xls)));
  // The sheet, its merges and its non-empty cells, without their formats.
  std::vector<std::string> kept;
  for (const std::string& line : XlrdDump(xls)) {
    if (line.rfind("sheet ", 0) == 0 || line.rfind("merge ", 0) == 0) kept.push_back(line);
    const size_t text = line.find(" text=");
    if (line.rfind("cell ", 0) == 0 && text != std::string::npos && text + 6 < line.size())
      kept.push_back(line.substr(0, line.find(" font=")) + line.substr(text));
  }
  EXPECT_EQ(kept, (std::vector<std::string>{"sheet Sheet1 4 3", "merge 4 1 4 2", "cell 2 3 text=after a failure",
                                            "cell 4 1 text=again"}));
}

struct ErrorCase {
  const char* name;
  void (*call)(TExcelFile&);
  const char* messageStart;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class LibraryErrors : public ExcelFileTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(LibraryErrors, RaiseAnExceptionWithTheLibrarysText) {
  TExcelFile book(1);
  book.NewFile(1);
  try {
    GetParam().call(book);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message().rfind(GetParam().messageStart, 0), 0u) << e.Message();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, LibraryErrors,
    testing::Values(
        ErrorCase{"RowZero", [](TExcelFile& b) { b.SetCellValue(0, 1, "x", -1); },
                  "Row 0 is outside the range 1 to 65536."},
        ErrorCase{"ColumnPastTheLast", [](TExcelFile& b) { b.SetCellFormat(1, 257, 0); },
                  "Column 257 is outside the range 1 to 256."},
        ErrorCase{"MergePastTheLastRow", [](TExcelFile& b) { b.MergeCells(65536, 1, 65537, 2); },
                  "Row 65537 is outside the range 1 to 65536."},
        ErrorCase{"UnregisteredFormat", [](TExcelFile& b) { b.SetCellFormat(1, 1, 99); },
                  "The format index 99 is not a registered format."},
        ErrorCase{"MissingPicture",
                  [](TExcelFile& b) {
                    b.AddImage("Z:\\nonexistent\\TmpLine.jpg",
                               MakeImageProperties(MakeClientAnchor(atMoveAndResize, 24, 1, 50, 9), nullptr, L"My image"));
                  },
                  "Cannot read the picture file \"Z:\\nonexistent\\TmpLine.jpg\": "},
        ErrorCase{"SaveIntoAMissingFolder", [](TExcelFile& b) { b.Save("Z:\\nonexistent\\report.xls"); },
                  "Cannot write the file \"Z:\\nonexistent\\report.xls\": "}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

}  // namespace
