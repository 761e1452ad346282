// The string grid with the recorder's live data: filling 100,000 rows of 66 short texts
// (sample number, time stamp, 64 readings) and painting a screenful, compared with painting
// the same screenful of a 40-row grid. Prints bytes per row, fill time and paint times.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Grids.h"
#include "toolkit/ui/UiModule.h"

namespace {

using bench::Median;

constexpr int kCols = 66;
constexpr int kRows = 100000;
constexpr int kPaints = 30;

double Seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Fills data rows first..rows-1. With `grow`, as the acquisition does (the row count follows
// each sample); without, as the history query does (the row count is set once).
double Fill(TStringGrid& grid, int first, int rows, bool grow) {
  char reading[16];
  const double start = Seconds();
  if (!grow) grid.SetRowCount(rows);
  for (int r = first; r < rows; ++r) {
    if (grow && grid.RowCount() <= r) grid.SetRowCount(r + 1);
    grid.SetCells(0, r, std::to_string(r));
    grid.SetCells(1, r, "2024-03-05 10:00:00");
    for (int c = 2; c < kCols; ++c) {
      std::snprintf(reading, sizeof reading, "%d.%d", (r + c) % 400, c % 10);
      grid.SetCells(c, r, reading);
    }
  }
  return Seconds() - start;
}

double PaintTime(TStringGrid& grid, TBitmap& bitmap) {
  std::vector<double> times;
  for (int i = 0; i < kPaints; ++i) {
    const double start = Seconds();
    grid.Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
    GdiFlush();
    times.push_back(Seconds() - start);
  }
  return Median(times);
}

TStringGrid* MakeGrid(TForm* form) {
  auto* grid = new TStringGrid(form);
  grid->SetParent(form);
  grid->SetBounds(0, 0, 1000, 600);
  grid->SetColCount(kCols);
  grid->SetRowCount(2);
  grid->SetColWidths(1, 180);
  for (int c = 2; c < kCols; ++c) grid->SetColWidths(c, 80);
  return grid;
}

}  // namespace

int main() {
  InitGraphics();
  InitControls();
  {
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 1024, 700);
    TStringGrid* big = MakeGrid(form);
    TStringGrid* small = MakeGrid(form);
    const double fill = Fill(*big, 1, kRows, false);
    Fill(*small, 1, 40, false);
    // Live samples on the shown window: one row at a time below the visible rows.
    form->Show();
    constexpr int kLive = 2000;
    TStringGrid* live = MakeGrid(form);
    live->BringToFront();
    const double liveFill = Fill(*live, 1, kLive, true);
    const TRect client = big->ClientRect();
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(client.Width(), client.Height());
    const double paintSmall = PaintTime(*small, bitmap);
    const double paintBig = PaintTime(*big, bitmap);
    big->SetTopRow(kRows - 30);
    const double paintBigEnd = PaintTime(*big, bitmap);

    std::printf("grid_rows: %d rows\n", big->RowCount());
    std::printf("grid_bytes_per_row: %.1f bytes\n", static_cast<double>(big->CellMemoryUsed()) / kRows);
    std::printf("grid_fill_100k_rows: %.1f ms\n", fill * 1e3);
    std::printf("grid_fill_per_row: %.2f us\n", fill * 1e6 / kRows);
    std::printf("grid_live_append_per_row: %.2f us\n", liveFill * 1e6 / kLive);
    std::printf("grid_paint_40_rows: %.2f ms\n", paintSmall * 1e3);
    std::printf("grid_paint_100k_rows_top: %.2f ms\n", paintBig * 1e3);
    std::printf("grid_paint_100k_rows_end: %.2f ms\n", paintBigEnd * 1e3);
    form->Free();
  }
  DoneControls();
  DoneGraphics();
  return 0;
}
