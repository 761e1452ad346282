// Paints a flat chart of a few fast line series (temperature-like curves over a day, a date-time
// bottom axis, a titled left axis fixed to 0..100, a vertical gradient behind, the back wall's
// gradient from $EAEAEA at the bottom to white, and the legend at the right with a check box
// per curve, one of them switched off) into a BMP file that a person can look at. One more
// series of hourly means shows framed value marks on callout arrows and a round pointer at every
// point. Usage: chart_demo.exe [file.bmp]; default chart_demo.bmp.
#include <cmath>
#include <cstdio>
#include <string>

#include "canvas/KelCanvasModule.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "chart/Chart.h"
#include "chart/FastLineSeries.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "chart/KelShapes.h"
#include "chart/SeriesPointer.h"
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
    // Hourly means of the first channel: marks with their values, and a pointer per point.
    auto* hourly = new TFastLineSeries(nullptr);
    hourly->SetName("HourlyMean");
    hourly->XValues()->ChangeDateTime(true);
    hourly->ChangeValueFormat("0.0");
    for (int hour = 0; hour < 24; ++hour) {
      double sum = 0;
      for (int m = 0; m < 60; ++m) {
        const double t = (hour * 60 + m) / 1440.0;
        sum += 30 + 15 * std::sin(6.283 * t);
      }
      hourly->AppendXY(start + (hour + 0.5) / 24.0, sum / 60);
    }
    hourly->ChangeSeriesColor(static_cast<TColor>(0x404040));
    TSeriesMarks* marks = hourly->Marks();
    marks->SetVisible(true);
    marks->SetStyle(smsValue);
    marks->SetDrawEvery(2);
    marks->Callout()->SetLength(14);
    marks->Arrow()->SetColor(static_cast<TColor>(0x808080));
    chart.AttachSeries(hourly);
    TSeriesPointer pointer(hourly);
    pointer.SetStyle(psCircle);
    hourly->AfterDrawValues = [&](TObject*) {
      TCanvas3D* canvas = chart.Canvas3D();
      for (int i = 0; i < hourly->PointCount(); ++i) {
        int x, y;
        hourly->PointPixel(i, x, y);
        pointer.ApplyToCanvas(canvas, static_cast<TColor>(0x00A5FF));
        pointer.DrawSymbol(canvas, false, x, y, pointer.HorizSize(), pointer.VertSize(), static_cast<TColor>(0x00A5FF),
                           pointer.Style());
      }
    };
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
