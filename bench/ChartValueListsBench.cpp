// Loading a day of one-second readings into 64 value lists (the chart's worst case: one
// series per channel) and reading their statistics, as the chart does before laying out axes.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchTiming.h"
#include "chart/ChartValueList.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "toolkit/system/WinApi.h"

namespace {

using bench::Median;

constexpr int kLists = 64;
constexpr int kValues = 86400;
constexpr int kRuns = 5;

double Seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  KelConstStartup();
  KelProcsStartup();
  std::vector<double> appendTimes, firstReadTimes, cachedReadTimes;
  double checksum = 0;
  int capacity = 0;
  for (int run = 0; run < kRuns; ++run) {
    std::vector<std::unique_ptr<TChartValueList>> lists;
    for (int i = 0; i < kLists; ++i) {
      lists.push_back(std::make_unique<TChartValueList>(nullptr, "X"));
      lists.back()->SetOrder(loAscending);
    }
    const double start = Seconds();
    // Time stamps one second apart, added in time order as the acquisition delivers them.
    for (int i = 0; i < kLists; ++i)
      for (int v = 0; v < kValues; ++v) lists[i]->AppendValue(45000.0 + v / 86400.0 + i * 1e-7);
    const double appended = Seconds();
    for (auto& list : lists)
      checksum += list->MinValue() + list->MaxValue() + list->Total() + list->TotalAbs();
    const double firstRead = Seconds();
    for (auto& list : lists)
      checksum += list->MinValue() + list->MaxValue() + list->Total() + list->TotalAbs();
    const double cachedRead = Seconds();
    appendTimes.push_back(appended - start);
    firstReadTimes.push_back(firstRead - appended);
    cachedReadTimes.push_back(cachedRead - firstRead);
    capacity = lists[0]->Capacity();
  }
  const double append = Median(appendTimes);
  std::printf("chart_value_lists_append_64x86400: %.1f ms\n", append * 1e3);
  std::printf("chart_value_lists_append_per_value: %.2f ns\n", append * 1e9 / (kLists * kValues));
  std::printf("chart_value_lists_stats_first_read: %.2f ms\n", Median(firstReadTimes) * 1e3);
  std::printf("chart_value_lists_stats_cached_read: %.2f us\n", Median(cachedReadTimes) * 1e6);
  std::printf("chart_value_lists_capacity_per_list: %d values\n", capacity);
  std::printf("chart_value_lists_storage: %.1f MB\n",
              static_cast<double>(capacity) * sizeof(double) * kLists / (1024.0 * 1024.0));
  std::fprintf(stderr, "checksum %.3f\n", checksum);
  KelProcsShutdown();
  KelConstShutdown();
  return 0;
}
