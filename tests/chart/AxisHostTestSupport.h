// Test support for axes in window layouts: a component standing in for a chart, named "Host",
// and its layout written to and read from binary form.
#pragma once

#include <memory>
#include <string>

#include "chart/ChartAxis.h"
#include "chart/ChartValueList.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Component.h"
#include "toolkit/classes/Streams.h"

namespace chart_test_support {

// A component standing in for a chart: one axis and one value list as sub-objects, and the
// chart side of the axis interface driven by the component's loading state.
class TAxisHost : public TComponent, public IAxisOwner {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TAxisHost>("TAxisHost", &TComponent::StaticClass())
            .Property("Axis", [](TAxisHost& h) { return &h.axis; }, nullptr)
            .Property("Values", [](TAxisHost& h) { return &h.values; }, nullptr)
            .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TAxisHost(TComponent* owner) : TComponent(owner) {
    axis.SetStandard(true);
    SetName("Host");
  }

  double SeriesExtreme(const TChartAxis&, bool maximum, bool) override { return maximum ? 50 : 1; }
  bool HasSeriesWithAtMostPoints(const TChartAxis&, int) override { return false; }
  bool SeriesShowDateTime(const TChartAxis&) override { return false; }
  void NotifyAxisChanged(TChartAxis&) override {}
  void InvalidateChart() override {}
  bool ChartLoading() const override { return ComponentState().Contains(csLoading); }
  bool ChartReading() const override { return ComponentState().Contains(csReading); }
  RECT ChartRect() const override { return RECT{0, 0, 100, 100}; }
  int ChartDepth() const override { return 0; }
  int LabelTextWidth(const TChartAxis&, const std::string&) override { return 10; }
  int LabelLineHeight(const TChartAxis&) override { return 10; }
  void GetAxisLabel(const TChartAxis&, std::string&) override {}

  TChartAxis axis{this};
  TChartValueList values{nullptr, "Y"};
};

// The host's layout in binary form.
inline std::string WriteHost(TAxisHost& host) {
  TMemoryStream stream;
  stream.WriteComponent(&host);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// A new host read from a binary layout.
inline std::unique_ptr<TAxisHost> ReadHost(const std::string& binary) {
  RegisterClass(TAxisHost::StaticClass());
  TMemoryStream stream;
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  return std::unique_ptr<TAxisHost>(static_cast<TAxisHost*>(stream.ReadComponent(nullptr)));
}

}  // namespace chart_test_support
