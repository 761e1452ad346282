// A day of one-second readings through a series' copy and through the smoothing function: the
// copy a dependent series makes of its source, and the spline laid through every point (its
// interpolation system is a band, so time and memory grow linearly with the points).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "BenchTiming.h"
#include "chart/ChartSeries.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "chart/SmoothingFunction.h"
#include "toolkit/system/WinApi.h"

#include <psapi.h>

namespace {

using bench::Median;

constexpr int kPoints = 86400;
constexpr int kRuns = 5;

double Seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The process's peak working set in bytes so far.
double PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return static_cast<double>(counters.PeakWorkingSetSize);
}

}  // namespace

int main() {
  KelConstStartup();
  KelProcsStartup();
  double checksum = 0;
  std::vector<double> copyTimes, smoothTimes;
  double peakBeforeSmoothing = 0, peakAfterSmoothing = 0;
  {
    TChartSeries source(nullptr);
    source.BeginUpdate();
    for (int i = 0; i < kPoints; ++i) source.AppendXY(45000.0 + i / 86400.0, 20 + 5 * std::sin(i * 0.001));
    source.EndUpdate();
    for (int run = 0; run < kRuns; ++run) {
      TChartSeries copy(nullptr);
      const double start = Seconds();
      copy.CopyAllFrom(&source);
      copyTimes.push_back(Seconds() - start);
      checksum += copy.PointCount();

      TChartSeries smooth(nullptr);
      smooth.SetFunction(new TSmoothingFunction(nullptr));
      if (run == 0) peakBeforeSmoothing = PeakWorkingSet();
      const double smoothStart = Seconds();
      smooth.CopyAllFrom(&source);
      smoothTimes.push_back(Seconds() - smoothStart);
      if (run == 0) peakAfterSmoothing = PeakWorkingSet();
      checksum += smooth.PointCount() + smooth.YValueAt(smooth.PointCount() / 2);
    }
  }
  std::printf("smooth_86400_points: %.1f ms\n", Median(smoothTimes) * 1e3);
  std::printf("copy_all_from_86400_points: %.1f ms\n", Median(copyTimes) * 1e3);
  // What smoothing adds to the peak (the spline's points and vertices: linear in the points).
  std::printf("smooth_86400_points_peak_growth: %.1f MB\n", (peakAfterSmoothing - peakBeforeSmoothing) / (1024.0 * 1024.0));
  std::fprintf(stderr, "checksum %.3f\n", checksum);
  KelProcsShutdown();
  KelConstShutdown();
  return 0;
}
