// The test report's sheet, row by row.
#include "app/TestReport.h"

#include <algorithm>

#include "app/AppGlobals.h"
#include "app/ExcelFile.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

const char kColon[] = "：";  // full-width, as the company lines show it

struct TReportFormats {
  int f1, f2, f3, f4;
};

// The four formats, each from the workbook's default format in "Times New Roman".
TReportFormats RegisterFormats(TExcelFile& book) {
  TFlxFormat base;
  book.GetDefaultFormat(base);
  const auto make = [&](int size20, bool centred) {
    TFlxFormat f = base;
    f.Font.Name = L"Times New Roman";
    f.Font.Size20 = size20;
    if (centred) f.HAlignment = fhaCenter;
    return book.AddFormat(f);
  };
  TReportFormats r{};
  r.f1 = make(200, false);
  r.f2 = make(350, true);
  r.f3 = make(250, true);
  r.f4 = make(150, true);
  return r;
}

// One cell, merged over col1..col2 when they differ.
void Put(TExcelFile& book, int row, int col1, int col2, const std::string& text, int format) {
  if (col2 > col1) book.MergeCells(row, col1, row, col2);
  book.SetCellValue(row, col1, text, -1);
  book.SetCellFormat(row, col1, format);
}

void FillSheet(TExcelFile& book, const std::string& pictureFile, int modules, const TTestReportFields& fields) {
  const TReportFormats f = RegisterFormats(book);
  book.SetColWidth(1, 8, 2560);
  Put(book, 1, 1, 8, std::string("Company name") + kColon + CompanyName, f.f1);
  Put(book, 2, 1, 8, std::string("Company address") + kColon + CompanyAddress, f.f1);
  Put(book, 3, 1, 8, std::string("Company phone") + kColon + CompanyPhone, f.f1);
  Put(book, 4, 1, 8, std::string("Company website") + kColon + CompanyWebsite, f.f1);
  Put(book, 5, 1, 8, fields.testEquipment + "Temperature inspector test report", f.f2);
  Put(book, 6, 1, 8, "Value graph(Max,Min,Ave)", f.f3);
  for (int m = 0; m < modules; ++m) {
    for (int k = 1; k <= 8; ++k) {
      const int channel = 8 * m + k;
      Put(book, 7 + 2 * m, k, k, "CH" + IntToStr(channel), f.f3);
    }
    for (int k = 1; k <= 8; ++k) {
      const size_t index = static_cast<size_t>(8 * m + k - 1);
      Put(book, 8 + 2 * m, k, k, index < fields.statistics.size() ? fields.statistics[index] : std::string(), f.f4);
    }
  }
  Put(book, 23, 1, 8, "graph", f.f3);
  Put(book, 50, 1, 2, "Product model:" + fields.productModel, f.f1);
  Put(book, 50, 3, 4, "Product number:" + fields.productNumber, f.f1);
  Put(book, 50, 5, 6, "Manufacturer:" + fields.manufacturer, f.f1);
  Put(book, 50, 7, 8, "Operators:" + fields.operators, f.f1);
  Put(book, 51, 1, 2, "Ambient temperature:" + fields.ambientTemperature, f.f1);
  Put(book, 51, 3, 4, "Ambient humidity:" + fields.ambientHumidity, f.f1);
  Put(book, 51, 5, 6, "Test the equipment:" + fields.testEquipment, f.f1);
  Put(book, 51, 7, 8, fields.testTime, f.f1);
  const std::wstring picture = Utf8ToWide(pictureFile);
  book.AddImage(pictureFile, MakeImageProperties(MakeClientAnchor(atMoveAndResize, 24, 1, 50, 9), picture.c_str(),
                                                 L"My image"));
}

}  // namespace

std::string TestReportFileName() {
  return AppPath + "Export_data\\" + FormatDateTime("yyyymmddhhnnss", Now()) + "_Testreport.xls";
}

void WriteTestReport(const std::string& fileName, const std::string& pictureFile, int modules,
                     const TTestReportFields& fields) {
  modules = std::clamp(modules, 1, 8);
  TExcelFile book(1);  // released on every way out
  book.NewFile(1);
  FillSheet(book, pictureFile, modules, fields);
  try {
    book.Save(fileName);
  } catch (...) {
    // No partial report is left behind.
    DeleteFileW(Utf8ToWide(fileName).c_str());
    throw;
  }
}
