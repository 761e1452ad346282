// The live and history record export commands.
#include "app/RecordExport.h"

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/XlsExport.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Screen.h"

namespace {

void Prompt(const std::string& text) { Application->MessageBox(text, "prompt", MB_ICONWARNING); }

std::string ExportFolder() { return AppPath + "Export_data\\"; }

enum class ExportKind { Live, History };

// The success message; an export split into several files names every one of them.
std::string SuccessText(const std::string& text, const std::vector<std::string>& files) {
  if (files.size() < 2) return text;
  std::string message = text;
  for (const std::string& f : files) message += "\n" + f;
  return message;
}

std::vector<std::string> RunExport(ExportKind kind, TZQuery* query) {
  if (!DirectoryExists(ExportFolder()) && !ForceDirectories(ExportFolder())) return {};
  THourGlass hourglass;
  const bool live = kind == ExportKind::Live;
  if (!OpenSqlQuery(RecordExportSql(live ? "newdata" : "olddata"), query)) return {};
  if (!live && query->IsEmpty()) {
    Prompt("No history can be exported.");
    return {};
  }
  const std::string file =
      RecordExportFileName(live ? "_Testdetailrecords.csv" : "_Detailedhistoricalrecords.csv");
  const std::vector<std::string> files = DataSetToXls(file, true, query);
  Prompt(SuccessText(live ? "The export of test details records succeeded." : "The export history record is successful.",
                     files));
  return files;
}

}  // namespace

std::string RecordExportFileName(const std::string& suffix) {
  return ExportFolder() + FormatDateTime("yyyymmddhhnnss", Now()) + suffix;
}

std::string RecordExportSql(const std::string& table) {
  std::string sql = "select id , dtime,";
  const int channels = 8 * ModuleCount;
  for (int c = 1; c <= channels; ++c) sql += (c > 1 ? ",val" : "val") + IntToStr(c);
  return sql + " from " + table + " order by id";
}

std::vector<std::string> ExportTestDetailRecords(TZQuery* query, const std::string& firstRowTime) {
  if (TestThreadRunning()) {
    Prompt("Stop the test before exporting.");
    return {};
  }
  AbortRequested = 0;
  if (firstRowTime.empty()) return {};
  return RunExport(ExportKind::Live, query);
}

std::vector<std::string> ExportHistoricalRecords(TZQuery* query) {
  if (TestThreadRunning()) {
    Prompt("Stop the test before exporting.");
    return {};
  }
  AbortRequested = 0;
  return RunExport(ExportKind::History, query);
}
