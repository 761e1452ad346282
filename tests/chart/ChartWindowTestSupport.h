// Test support for the chart's mouse: a real 400 x 250 chart window on a hidden form, driven by
// window messages, painted into a 32-bit bitmap through the recording canvas.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "ChartPanelTestSupport.h"
#include "canvas/KelShadow.h"
#include "chart/Chart.h"
#include "chart/FastLineSeries.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Form.h"

namespace chart_test_support {

inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

struct Range {
  double minimum, maximum;
  bool automatic;
};

// A 400 x 250 chart window on a hidden form, with the recorder's settings: legend with check
// boxes, left axis fixed to 0..100, bottom axis automatic over the curves' 0..10.
class MouseChart {
 public:
  MouseChart() : form(nullptr) {
    form.SetBounds(0, 0, 500, 400);
    chart = new TChart(&form);
    chart->SetParent(&form);
    chart->SetBounds(0, 0, 400, 250);
    chart->SetView3D(false);
    chart->SetBevelOuter(bvNone);
    chart->Shadow()->SetVisible(false);
    chart->ChangeCanvas(new RecordingCanvas());
    for (int i = 0; i < 3; ++i) {
      auto* s = new TFastLineSeries(nullptr);
      s->SetName("Ch" + std::to_string(i + 1));
      s->AppendXY(0, 10 + i);
      s->AppendXY(10, 90 - i);
      chart->AttachSeries(s);
    }
    chart->Legend()->SetCheckBoxes(true);
    chart->LeftAxis()->SetMinMax(0, 100);
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(400, 250);
    Paint();
  }
  ~MouseChart() { chart->FreeAllSeries(); }

  void Paint() { chart->DrawToCanvas(bitmap.Canvas(), TRect(0, 0, 400, 250)); }
  void Send(UINT message, WPARAM w, LPARAM l) { SendMessageW(chart->Handle(), message, w, l); }
  // Press, move in two steps and release; the chart repaints afterwards as the window would.
  void Drag(int x0, int y0, int x1, int y1, bool right = false) {
    const UINT down = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, up = right ? WM_RBUTTONUP : WM_LBUTTONUP;
    const WPARAM held = right ? MK_RBUTTON : MK_LBUTTON;
    Send(down, held, At(x0, y0));
    Send(WM_MOUSEMOVE, held, At((x0 + x1) / 2, (y0 + y1) / 2));
    Send(WM_MOUSEMOVE, held, At(x1, y1));
    Send(up, 0, At(x1, y1));
    Paint();
  }
  void Wheel(int notches) {
    for (int i = 0; i < std::abs(notches); ++i)
      Send(WM_MOUSEWHEEL, MAKEWPARAM(0, notches > 0 ? WHEEL_DELTA : -WHEEL_DELTA), At(200, 100));
    Paint();
  }
  static Range RangeOf(const TChartAxis* axis) {
    return {axis->Minimum(), axis->Maximum(), axis->Automatic()};
  }
  // A point well inside the chart rectangle.
  // Pixels of the bitmap that are clearly red, in columns x0..x1 and rows y0..y1 (inclusive).
  int RedPixels(int x0, int y0, int x1, int y1) {
    GdiFlush();
    int n = 0;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const unsigned c = static_cast<unsigned>(GetPixel(bitmap.Canvas()->Handle(), x, y));
        if ((c & 0xFF) > 150 && ((c >> 8) & 0xFF) < 100 && ((c >> 16) & 0xFF) < 100) ++n;
      }
    return n;
  }
  int X0() const { return chart->ChartBounds().Left + 40; }
  int Y0() const { return chart->ChartBounds().Top + 40; }

  TForm form;
  TChart* chart;
  TBitmap bitmap;
};

}  // namespace chart_test_support

using chart_test_support::At;
using chart_test_support::MouseChart;
using chart_test_support::Range;
