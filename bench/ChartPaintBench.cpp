// The recorder's worst chart: 64 fast line series of 86,400 points (a day at one second) on a
// flat 1000 x 600 chart, the series set up as the recorder's (DrawAllPoints off, pen 2 wide). Prints the full paint (buffered, as on screen), its layout part (up to
// the axes) and drawing part apart, and the repaint of the window from the canvas buffer, on the
// GDI canvas; then the full paint and its drawing part on the GDI+ canvas (the recorder's).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "BenchTiming.h"
#include "canvas/Canvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlus.h"
#include "canvas/KelPen.h"
#include "chart/AxisPanel.h"
#include "chart/FastLineSeries.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/system/Thread.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/UiModule.h"

namespace {

using bench::Milliseconds;
using bench::Median;

constexpr int kSeries = 64;
constexpr int kPoints = 86400;
constexpr int kWidth = 1000;
constexpr int kHeight = 600;
constexpr int kRuns = 7;

}  // namespace

int main() {
  InitThreadSynchronization();
  InitGraphics();
  InitControls();
  KelCanvasStartup();
  KelGDIPlusStartup();
  KelConstStartup();
  KelProcsStartup();
  {
    TCustomAxisPanel chart(nullptr);
    chart.SetBounds(0, 0, kWidth, kHeight);
    chart.SetView3D(false);
    chart.LeftAxis()->SetMinMax(0, 100);
    for (int s = 0; s < kSeries; ++s) {
      // As the recorder sets its channel curves up.
      auto* series = new TFastLineSeries(nullptr);
      series->ChangeDrawAllPoints(false);
      series->LinePen()->SetWidth(2);
      series->BeginUpdate();
      for (int i = 0; i < kPoints; ++i)
        series->AppendXY(i, 50 + 40 * std::sin(i * 0.0005 * (1 + s % 7) + s));
      series->EndUpdate();
      chart.AttachSeries(series);
    }
    TBitmap screen;
    screen.SetPixelFormat(pf32bit);
    screen.SetSize(kWidth, kHeight);
    const TRect rect(0, 0, kWidth, kHeight);

    double start = 0, axes = 0;
    chart.OnBeforeDrawAxes = [&](TObject*) { axes = Milliseconds(); };
    std::vector<double> full, layout, drawing, repaint;
    auto measure = [&](int runs) {
      full.clear();
      layout.clear();
      drawing.clear();
      for (int run = 0; run < runs; ++run) {
        chart.Canvas3D()->InvalidateBuffer();
        start = Milliseconds();
        chart.DrawTo(screen.Canvas(), rect);
        GdiFlush();
        const double end = Milliseconds();
        full.push_back(end - start);
        layout.push_back(axes - start);
        drawing.push_back(end - axes);
      }
    };
    chart.ChangeCanvas(new TKelCanvas3D());
    measure(kRuns);
    TCanvas3D* canvas = chart.Canvas3D();
    canvas->SetTargetCanvas(screen.Canvas());
    for (int run = 0; run < kRuns; ++run) {
      const double t0 = Milliseconds();
      if (!canvas->RestoreFromBuffer()) std::printf("buffer stale\n");
      GdiFlush();
      repaint.push_back(Milliseconds() - t0);
    }
    std::printf("chart_paint_64x86400: %.1f ms\n", Median(full));
    std::printf("chart_paint_64x86400_layout: %.1f ms\n", Median(layout));
    std::printf("chart_paint_64x86400_drawing: %.1f ms\n", Median(drawing));
    std::printf("chart_repaint_buffer: %.2f ms\n", Median(repaint));
    std::fflush(stdout);
    chart.ChangeCanvas(new TGDIPlusCanvas());
    measure(kRuns);
    std::printf("chart_paint_64x86400_gdiplus: %.1f ms\n", Median(full));
    std::printf("chart_paint_64x86400_gdiplus_drawing: %.1f ms\n", Median(drawing));
  }
  KelProcsShutdown();
  KelConstShutdown();
  KelGDIPlusShutdown();
  KelCanvasShutdown();
  DoneControls();
  DoneGraphics();
  DoneThreadSynchronization();
  return 0;
}
