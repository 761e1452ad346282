// Benchmark: one live chart tick of the main window after one new row, with 86,400 rows (a day at
// one-second polling) of 64 channels stored and shown: the new row read, appended to the 64
// curves and the chart painted (goal: under 100 ms, whatever the length of the test).
#include <algorithm>
#include <vector>

#include "bench/RecorderBench.h"
#include "chart/DBChart.h"
#include "controls/KxPageControl.h"
#include "toolkit/ui/Timer.h"

int main() {
  TRecorderBench bench("vk_bench_tick_");
  TFrmMain* form = bench.form;
  ModuleCount = 8;
  TRecorderBench::Fill("newdata", "dtime2", 86400, false);
  form->showway(64, 1);
  RunMode = 1;
  form->r1->SetActivePageIndex(2);
  Application->ProcessMessages();
  std::vector<double> ticks, reads;
  for (int n = 0; n < 3; ++n) {
    std::string values = "'2024-01-02 00:00:0" + std::to_string(n) + "'";
    for (int c = 1; c <= 64; ++c) values += ", 25";
    std::string columns = "dtime2";
    for (int c = 1; c <= 64; ++c) columns += ",val" + std::to_string(c);
    ExecSqlCommand("insert into newdata(" + columns + ") values (" + values + ")");
    double read = 0;
    ticks.push_back(TRecorderBench::Ms([&] {
      read = TRecorderBench::Ms([&] { form->timer1Timer(form->timer1); });
      form->dbcht1->Repaint();
    }));
    reads.push_back(read);
  }
  std::sort(ticks.begin(), ticks.end());
  std::sort(reads.begin(), reads.end());
  std::printf("chart_tick_86400_rows_64ch: %.1f ms\n", ticks[ticks.size() / 2]);
  // The part before painting: the new row read and appended to the curves.
  std::printf("chart_tick_86400_rows_64ch_read: %.1f ms\n", reads[reads.size() / 2]);
  RunMode = 0;
  return form->dbcht1->SeriesAt(63)->PointCount() == 86403 ? 0 : 1;
}
