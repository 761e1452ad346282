// Benchmark: the history query's curves, 64 channels over 86,400 stored rows (a day at
// one-second records), loaded into the main window's chart; once with the rows in time order
// and once stored newest first, as a history file imported backwards (goals: under 2 s, and the
// reversed rows within 1.5 times the ordered ones). Where the time goes (opening the query,
// walking its records into the curves) is printed on stderr.
#include "bench/RecorderBench.h"
#include "chart/DBChart.h"

int main() {
  TRecorderBench bench("vk_bench_history_chart_");
  TFrmMain* form = bench.form;
  ModuleCount = 8;
  RunMode = 2;
  const char* start = "2024-01-01 00:00:00";
  const char* end = "2024-01-02 00:00:00";
  int status = 0;
  for (const bool newestFirst : {false, true}) {
    TRecorderBench::Fill("olddata", "dtime", 86400, newestFirst);
    bool built = false;
    const double ms = TRecorderBench::Ms([&] { built = form->BuildHistoryCurves(start, end); });
    std::printf("history_chart_load_86400_rows_64ch%s: %.0f ms\n", newestFirst ? "_out_of_order" : "", ms);
    if (!built || form->dbcht1->SeriesCount() != 64 || form->dbcht1->SeriesAt(63)->PointCount() != 86400) status = 1;

    // The phases of the same load, measured apart.
    TZQuery* query = SeriesQueries[0];
    TZQuery copy;
    copy.SetConnection(query->Connection());
    copy.SQL.SetText(query->SQL.Text());
    const double open = TRecorderBench::Ms([&] { copy.Open(); });
    const double walk = TRecorderBench::Ms([&] { form->dbcht1->ReloadDataSet(query, nullptr); });
    std::fprintf(stderr, "  phases%s: query open %.0f ms, chart walk %.0f ms\n", newestFirst ? " (out of order)" : "",
                 open, walk);
    if (copy.RecordCount() != 86400 || form->dbcht1->SeriesAt(0)->PointCount() != 86400) status = 1;
  }
  RunMode = 0;
  return status;
}
