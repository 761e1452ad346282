// The two worksheet record exports of the main window: the live test's readings (newdata) and
// the imported history (olddata), each to a new file in AppPath "Export_data\" named after the
// current date-time, through DataSetToXls. Messages are titled "prompt" with the warning icon.
#pragma once

#include <string>
#include <vector>

class TZQuery;

// AppPath + "Export_data\" + yyyymmddhhnnss + suffix ("_Testdetailrecords.csv" or
// "_Detailedhistoricalrecords.csv").
std::string RecordExportFileName(const std::string& suffix);

// "select id , dtime," + val1..valN joined by "," + " from <table> order by id", N = 8 x
// ModuleCount.
std::string RecordExportSql(const std::string& table);

// The live export command: refused while a test runs ("Stop the test before exporting.");
// nothing when `firstRowTime` (the data grid's first sample time) is empty or the export folder
// cannot be made; otherwise the query on `query` and the file, then "The export of test
// details records succeeded." (followed by one line per file when the rows filled more than one
// file). Answers the files written, none when nothing was.
std::vector<std::string> ExportTestDetailRecords(TZQuery* query, const std::string& firstRowTime);

// The history export command: as above without the grid test, from olddata; an empty history
// says "No history can be exported." and writes nothing; success says "The export history
// record is successful.".
std::vector<std::string> ExportHistoricalRecords(TZQuery* query);
