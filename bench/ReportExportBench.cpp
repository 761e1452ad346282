// Benchmark: the test report of 8 modules (64 channels) after a one-hour test at one-second
// polling (3,600 rows): the curves reloaded, the chart picture written and the workbook saved.
#include "bench/RecorderBench.h"
#include "chart/DBChart.h"
#include "toolkit/ui/Grids.h"

int main() {
  TRecorderBench bench("vk_bench_report_");
  TFrmMain* form = bench.form;
  ModuleCount = 8;
  TRecorderBench::Fill("newdata", "dtime2", 3600, false);
  form->showway(64, 1);
  form->std2->SetCells(1, 1, "2024-01-01 00:00:00");
  for (int c = 0; c < 64; ++c) form->std1->SetCells(1, 11 + c, "30.00,20.00,25.00");
  const double ms = TRecorderBench::Ms([&] { form->act3Execute(form); });
  std::printf("report_export_8_modules: %.0f ms\n", ms);
  return 0;
}
