// Benchmark: one live chart tick of the main window after one new row, with 86,400 rows (a day at
// one-second polling) of 64 channels stored and shown: the new row read, appended to the 64
// curves and the chart painted. Two kinds of readings: sawtooth curves that sweep 30 degrees
// every 300 rows (goal: under 200 ms) and readings that drift slowly with a little noise, as
// temperatures do (goal: under 100 ms).
#include <algorithm>
#include <vector>

#include "bench/RecorderBench.h"
#include "chart/DBChart.h"
#include "controls/KxPageControl.h"
#include "toolkit/ui/Timer.h"

namespace {

// Median of three ticks; `read` gets the median of their parts before painting.
double MeasureTicks(TFrmMain* form, int firstSecond, double& read) {
  std::vector<double> ticks, reads;
  for (int n = 0; n < 3; ++n) {
    std::string values = "'2024-01-02 00:00:" + std::to_string(10 + firstSecond + n) + "'";
    for (int c = 1; c <= 64; ++c) values += ", 25";
    std::string columns = "dtime2";
    for (int c = 1; c <= 64; ++c) columns += ",val" + std::to_string(c);
    ExecSqlCommand("insert into newdata(" + columns + ") values (" + values + ")");
    double r = 0;
    ticks.push_back(TRecorderBench::Ms([&] {
      r = TRecorderBench::Ms([&] { form->timer1Timer(form->timer1); });
      form->dbcht1->Repaint();
    }));
    reads.push_back(r);
  }
  std::sort(ticks.begin(), ticks.end());
  std::sort(reads.begin(), reads.end());
  read = reads[reads.size() / 2];
  return ticks[ticks.size() / 2];
}

}  // namespace

int main() {
  TRecorderBench bench("vk_bench_tick_");
  TFrmMain* form = bench.form;
  ModuleCount = 8;
  int status = 0;
  for (const bool drift : {false, true}) {
    TRecorderBench::Fill("newdata", "dtime2", 86400, false, drift);
    RunMode = 0;
    form->showway(64, 1);
    RunMode = 1;
    form->r1->SetActivePageIndex(2);
    Application->ProcessMessages();
    form->dbcht1->Repaint();  // the first paint after loading is no tick
    double read = 0;
    const double tick = MeasureTicks(form, drift ? 10 : 0, read);
    if (drift) {
      std::printf("chart_tick_86400_rows_64ch_drift: %.1f ms\n", tick);
    } else {
      std::printf("chart_tick_86400_rows_64ch: %.1f ms\n", tick);
      // The part before painting: the new row read and appended to the curves.
      std::printf("chart_tick_86400_rows_64ch_read: %.1f ms\n", read);
    }
    if (form->dbcht1->SeriesAt(63)->PointCount() != 86403) status = 1;
  }
  RunMode = 0;
  return status;
}
