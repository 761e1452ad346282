// Paints a flat chart of a few fast line series (temperature-like curves over a day, a date-time
// bottom axis, a titled left axis fixed to 0..100, a vertical gradient behind, the back wall's
// gradient from $EAEAEA at the bottom to white, and the legend at the right with a check box
// per curve, one of them switched off) into a BMP file that a person can look at. Usage: chart_demo.exe [file.bmp]; default chart_demo.bmp.
#include <cmath>
#include <cstdio>
#include <string>

#include "canvas/KelCanvasModule.h"
#include "canvas/KelGradient.h"
#include "chart/Chart.h"
#include "chart/FastLineSeries.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "chart/KelShapes.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Thread.h"
#include "toolkit/ui/UiModule.h"

int wmain(int argc, wchar_t** argv) {
  const std::string file = argc > 1 ? WideToUtf8(argv[1]) : std::string("chart_demo.bmp");
  InitThreadSynchronization();
  InitGraphics();
  InitControls();
  KelCanvasStartup();
  KelConstStartup();
  KelProcsStartup();
  int result = 0;
  try {
    TChart chart(nullptr);
    chart.SetBounds(0, 0, 800, 450);
    chart.SetView3D(false);
    chart.Gradient()->SetVisible(true);
    chart.Gradient()->SetStartColor(static_cast<TColor>(0xEAEAEA));
    chart.Gradient()->SetEndColor(clWhite);
    chart.BackWall()->SetTransparent(false);
    chart.BackWall()->Gradient()->SetVisible(true);
    chart.BackWall()->Gradient()->SetStartColor(static_cast<TColor>(0xEAEAEA));
    chart.BackWall()->Gradient()->SetEndColor(clWhite);
    chart.LeftWall()->SetColor(static_cast<TColor>(14745599));
    chart.RightWall()->SetColor(static_cast<TColor>(14745599));
    chart.Legend()->SetCheckBoxes(true);
    chart.Title()->SetText("Temp");
    chart.Title()->SetVisible(false);
    chart.LeftAxis()->SetMinMax(0, 100);
    chart.LeftAxis()->Title()->SetText("Temp (C)");
    const double start = 46000.0;  // a day in 2025
    for (int channel = 0; channel < 4; ++channel) {
      auto* series = new TFastLineSeries(nullptr);
      series->SetName("Channel" + std::to_string(channel + 1));
      series->XValues()->ChangeDateTime(true);
      for (int i = 0; i <= 1440; ++i) {
        const double t = i / 1440.0;
        const double y = 30 + channel * 12 + 15 * std::sin(6.283 * (t * (channel + 1)) + channel);
        series->AppendXY(start + t, y);
      }
      chart.AttachSeries(series);
    }
    chart.SeriesAt(3)->ChangeActive(false);  // its legend box shows unchecked
    chart.WriteBitmapFile(file);
    std::printf("wrote %s\n", file.c_str());
  } catch (const std::exception& e) {
    std::printf("failed: %s\n", e.what());
    result = 1;
  }
  KelProcsShutdown();
  KelConstShutdown();
  KelCanvasShutdown();
  DoneControls();
  DoneGraphics();
  DoneThreadSynchronization();
  return result;
}
