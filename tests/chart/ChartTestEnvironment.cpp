// Starts the chart library's units once for the chart test exe, as the program's entry does.
#include <gtest/gtest.h>

#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilters.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"

namespace {

class ChartEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    KelCanvasStartup();
    KelFiltersStartup();
    KelConstStartup();
    KelProcsStartup();
  }
  void TearDown() override {
    KelProcsShutdown();
    KelConstShutdown();
    KelFiltersShutdown();
    KelCanvasShutdown();
  }
};

const testing::Environment* const kChartEnvironment =
    testing::AddGlobalTestEnvironment(new ChartEnvironment);

}  // namespace
