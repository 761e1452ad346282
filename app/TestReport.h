// The test report: one .xls sheet with the company lines, the title, every channel's maximum,
// minimum and average, the chart picture and the test information fields, written through
// TExcelFile. The main window gathers what it shows (TTestReportFields) and calls
// WriteTestReport; nothing here touches a window.
#pragma once

#include <string>
#include <vector>

// What the test information grid shows, by its meaning.
struct TTestReportFields {
  std::string productNumber;       // row 1
  std::string productModel;        // row 2
  std::string manufacturer;        // row 3
  std::string operators;           // row 4
  std::string testTime;            // row 6
  std::string testEquipment;       // row 7
  std::string ambientTemperature;  // row 8
  std::string ambientHumidity;     // row 9
  // "max,min,ave" of channel c + 1 at index c, as the grid shows it; missing entries are empty.
  std::vector<std::string> statistics;
};

// AppPath + "Export_data\" + yyyymmddhhnnss + "_Testreport.xls" for the current time.
std::string TestReportFileName();

// Writes the report of `modules` modules (1..8) to `fileName` with the picture file
// `pictureFile` and the company texts of the program (CompanyName ...). Raises Exception with
// the spreadsheet library's text on any library error; the workbook is released in every case
// and a file that could not be saved whole is removed.
void WriteTestReport(const std::string& fileName, const std::string& pictureFile, int modules,
                     const TTestReportFields& fields);
