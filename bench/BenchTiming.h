// Timing helpers shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <vector>

#include "toolkit/system/WinApi.h"

namespace bench {

// The performance counter in milliseconds.
inline double Milliseconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The middle of repeated measurements: one slow run under a loaded machine does not move it.
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
