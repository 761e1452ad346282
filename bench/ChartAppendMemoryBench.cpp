// A day of a live test as the chart sees it: 64 curves bound to the readings table, and 86,400
// rows appended tick by tick, one row a tick, through the chart's append path (the main
// window's chart timer). Prints the process's private bytes grown per point held (goal: at most
// 32 B, so that a test of several days stays inside a 32-bit address space) and the append part
// of one tick at the end of the day (goal: under 5 ms).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "chart/DBChart.h"
#include "chart/FastLineSeries.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "toolkit/data/Field.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"


namespace {

constexpr int kCurves = 64;
constexpr int kRows = 86400;

// Committed private memory of the process, by walking its address space (Wine's process
// counters do not follow the heap).
long long PrivateBytes() {
  long long total = 0;
  MEMORY_BASIC_INFORMATION info{};
  const char* address = nullptr;
  while (VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += static_cast<long long>(info.RegionSize);
    const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return total;
}

void Exec(TZConnection& connection, const std::string& sql) {
  TZQuery q;
  q.SetConnection(&connection);
  q.SQL.Add(sql);
  q.ExecSQL();
}

}  // namespace

int main() {
  KelConstStartup();
  KelProcsStartup();
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string file = WideToUtf8(temp) + "vk_bench_append_" + std::to_string(GetCurrentProcessId()) + ".db";
  int status = 0;
  {
    TZConnection connection;
    connection.Protocol = "sqlite-3";
    connection.Database = file;
    connection.Connect();
    std::string columns = "[ID] INTEGER PRIMARY KEY, [dtime2] TimeStamp";
    for (int c = 1; c <= kCurves; ++c) columns += ", [val" + std::to_string(c) + "] FLOAT";
    Exec(connection, "create table newdata(" + columns + ")");
    // Readings that drift slowly with a little noise, one a second.
    std::string names = "ID, dtime2", values = "i, datetime('2024-01-01 00:00:00', '+' || (i - 1) || ' seconds')";
    for (int c = 1; c <= kCurves; ++c) {
      names += ",val" + std::to_string(c);
      values += ", 20 + " + std::to_string(c) + " * 0.5 + (i % 3600) / 360.0 + ((i * 7919 + " + std::to_string(c) +
                ") % 7) / 10.0 - 0.3";
    }
    Exec(connection, "insert into newdata(" + names + ") with recursive n(i) as (select 1 union all select i + 1 from "
                     "n where i < " + std::to_string(kRows) + ") select " + values + " from n");

    TDBChart chart(nullptr);
    TZQuery curves;
    curves.SetConnection(&connection);
    std::vector<TFastLineSeries*> series;
    std::string select = "select ID,dtime2";
    for (int c = 1; c <= kCurves; ++c) {
      auto* s = new TFastLineSeries(nullptr);
      chart.AttachSeries(s);
      s->XValues()->ChangeValueSource("dtime2");
      s->XValues()->ChangeDateTime(true);
      s->YValues()->ChangeValueSource("val" + std::to_string(c));
      s->SetDataSource(&curves);
      series.push_back(s);
      select += ",val" + std::to_string(c);
    }
    // The test starts: the curves are loaded from an empty table.
    curves.SQL.SetText(select + " from newdata where ID < 0");
    curves.Open();

    TZQuery tick;
    tick.SetConnection(&connection);
    std::vector<double> lastTicks;
    const long long before = PrivateBytes();
    for (int row = 1; row <= kRows; ++row) {
      const double start = bench::Milliseconds();
      tick.Close();
      tick.SQL.SetText(select + " from newdata where ID > " + std::to_string(row - 1) + " and ID <= " +
                       std::to_string(row) + " order by ID");
      tick.Open();
      for (TFastLineSeries* s : series) chart.AppendRecords(&tick, *s);
      if (row > kRows - 9) lastTicks.push_back(bench::Milliseconds() - start);
    }
    tick.Close();
    const long long grown = PrivateBytes() - before;
    const double points = static_cast<double>(kRows) * kCurves;
    std::printf("chart_memory_per_point_86400x64: %.1f B\n", static_cast<double>(grown) / points);
    std::printf("chart_append_tick_86400x64: %.2f ms\n", bench::Median(lastTicks));
    for (TFastLineSeries* s : series)
      if (s->PointCount() != kRows) status = 1;
    curves.Close();
    chart.FreeAllSeries();
  }
  DeleteFileW(Utf8ToWide(file).c_str());
  KelProcsShutdown();
  KelConstShutdown();
  return status;
}
