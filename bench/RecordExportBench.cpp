// Benchmark: the history record export of 100,000 rows x 66 cells (id, dtime, val1..val64)
// from the opened query to worksheet record files (goal: at least 500,000 cells/s). The query's
// open is timed apart; the export walks its rows as the export command does, processing
// window messages after each row.
#include <cstdio>
#include <string>

#include "app/AppGlobals.h"
#include "app/DailyLog.h"
#include "app/Database.h"
#include "app/TextFormats.h"
#include "app/XlsExport.h"
#include "toolkit/data/SQLiteDatabase.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/UiModule.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCells = 66;

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& f) {
  return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main() {
  FixTextFormats();
  InitGraphics();
  InitControls();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  AppPath = WideToUtf8(temp) + "vk_bench_export_" + std::to_string(GetCurrentProcessId()) + "\\";
  ForceDirectories(AppPath);
  CreateDatabaseSchema();
  {
    TSQLiteDatabase db(DatabaseFileName());
    std::string columns, values;
    for (int c = 1; c <= 64; ++c) {
      columns += ",val" + std::to_string(c);
      values += ",round(20 + " + std::to_string(c) + " * 0.5 + (x % 97) * 0.1, 1)";
    }
    db.ExecSQL("with recursive s(x) as (select 1 union all select x + 1 from s where x < " + std::to_string(kRows) +
               ") insert into olddata(dtime, dtime2" + columns + ") select datetime('2024-03-05 08:00:00', '+' || x || "
               "' seconds'), '2024-03-05 09:00:00'" + values + " from s");
  }
  ConnectDatabase();
  std::string sql = "select id , dtime,";
  for (int c = 1; c <= 64; ++c) sql += (c > 1 ? ",val" : "val") + std::to_string(c);
  sql += " from olddata order by id";

  LARGE_INTEGER freq, t0, t1, t2;
  QueryPerformanceFrequency(&freq);
  TZQuery query;
  QueryPerformanceCounter(&t0);
  const bool opened = OpenSqlQuery(sql, &query);
  QueryPerformanceCounter(&t1);
  DataSetToXls(AppPath + "bench_Detailedhistoricalrecords.csv", true, &query);
  QueryPerformanceCounter(&t2);
  const double exportSeconds = Seconds(t1, t2, freq);
  std::printf("record_export_100k_rows_66_cells: %.0f cells/s\n", kRows * static_cast<double>(kCells) / exportSeconds);
  std::printf("record_export_100k_rows_66_cells_time: %.2f s\n", exportSeconds);
  std::printf("record_export_query_open_100k_rows: %.2f s\n", Seconds(t0, t1, freq));
  std::printf("record_export_file_bytes: %lld bytes\n",
              FileSizeOf(AppPath + "bench_Detailedhistoricalrecords.csv") +
                  FileSizeOf(AppPath + "bench_Detailedhistoricalrecords_2.csv"));

  query.Close();
  DbConnection->Disconnect();
  DeleteDirectoryTree(AppPath);
  DoneControls();
  DoneGraphics();
  return opened ? 0 : 1;
}
