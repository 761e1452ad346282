// A chart drawn through GDI+ on a system that has neither the family its texts name nor the
// generic sans-serif family (a Wine prefix without font set-up): the value labels, the axis
// title and the channel names still show, on the screen and in the bitmap export, in the face
// GDI substitutes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "canvas/KelFont.h"
#include "canvas/KelGDIPlus.h"
#include "chart/Chart.h"
#include "chart/ChartAxis.h"
#include "chart/ChartLegend.h"
#include "chart/FastLineSeries.h"
#include "tests/support/MissingFontFamilies.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Form.h"

namespace {

const char kMissingFace[] = "Qwzx Nowhere Sans";
constexpr int kWidth = 420, kHeight = 260;

bool Dark(COLORREF c) { return GetRValue(c) < 0x70 && GetGValue(c) < 0x70 && GetBValue(c) < 0x70; }

int DarkPixels(TBitmap& bitmap, const TRect& box) {
  GdiFlush();
  int n = 0;
  for (int y = std::max(0, box.Top); y < std::min(bitmap.Height(), box.Bottom); ++y)
    for (int x = std::max(0, box.Left); x < std::min(bitmap.Width(), box.Right); ++x)
      if (Dark(::GetPixel(bitmap.Canvas()->Handle(), x, y))) ++n;
  return n;
}

class ChartMissingFontTest : public testing::Test {
 protected:
  void SetUp() override {
    form.SetBounds(0, 0, kWidth + 40, kHeight + 40);
    chart = new TChart(&form);
    chart->SetParent(&form);
    chart->SetBounds(0, 0, kWidth, kHeight);
    chart->SetView3D(false);
    chart->SetBevelOuter(bvNone);
    canvas = new TGDIPlusCanvas();
    chart->ChangeCanvas(canvas);
    const TColor colours[] = {clRed, clBlue};
    for (int i = 0; i < 2; ++i) {
      auto* s = new TFastLineSeries(nullptr);
      s->ChangeTitle("CH" + std::to_string(i + 1));
      s->ChangeSeriesColor(colours[i]);
      s->AppendXY(0, 20 + 10 * i);
      s->AppendXY(10, 70 - 10 * i);
      chart->AttachSeries(s);
    }
    chart->LeftAxis()->SetMinMax(0, 100);
    chart->BottomAxis()->SetMinMax(0, 10);
    chart->LeftAxis()->Title()->SetText("Temp");
    for (TKelFont* font : {chart->LeftAxis()->LabelsFont(), chart->BottomAxis()->LabelsFont(),
                           chart->LeftAxis()->Title()->Font(), chart->Legend()->Font()}) {
      font->SetName(kMissingFace);
      font->SetColor(clBlack);
    }
  }
  void TearDown() override { chart->FreeAllSeries(); }

  // The label boxes: left of the plot (value labels and the axis title), below it (value
  // labels) and the legend's inside.
  struct Boxes {
    TRect left, bottom, legend;
  };
  Boxes LabelBoxes() {
    const RECT plot = chart->ChartRect();
    const TRect legend = chart->Legend()->Bounds;
    return {TRect(0, plot.top - 6, plot.left - 8, plot.bottom + 6),
            TRect(plot.left - 10, plot.bottom + 8, plot.right + 10, kHeight),
            TRect(legend.Left + 3, legend.Top + 3, legend.Right - 3, legend.Bottom - 3)};
  }
  void ExpectInkInEveryBox(TBitmap& bitmap, const char* where) {
    const Boxes boxes = LabelBoxes();
    EXPECT_GT(DarkPixels(bitmap, boxes.left), 40) << where << ": the left axis's labels and title";
    EXPECT_GT(DarkPixels(bitmap, boxes.bottom), 30) << where << ": the bottom axis's labels";
    EXPECT_GT(DarkPixels(bitmap, boxes.legend), 15) << where << ": the channel names";
  }

  TForm form{nullptr};
  TChart* chart = nullptr;
  TGDIPlusCanvas* canvas = nullptr;
};

TEST_F(ChartMissingFontTest, LabelsShowOnTheScreenAndInTheExport) {
  MissingFontFamilies lookup({});
  ASSERT_NE(GenericSansSerifFamily()->LastStatus(), GpOk);

  TBitmap screen;
  screen.SetPixelFormat(pf32bit);
  screen.SetSize(kWidth, kHeight);
  chart->DrawTo(screen.Canvas(), TRect(0, 0, kWidth, kHeight));  // the window's paint, through the buffer
  ASSERT_NE(canvas->GdiFont(), nullptr) << "the texts got a font";
  TGPFontFamily family;
  canvas->GdiFont()->GetFamily(&family);
  EXPECT_EQ(family.GetFamilyName(), MappedFontFace(Utf8ToWide(kMissingFace), 0)) << "the face GDI substitutes";
  ASSERT_FALSE(chart->Legend()->Bounds.IsEmpty());
  ExpectInkInEveryBox(screen, "screen");

  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string file = std::string(folder) + "vk_missing_font_TmpLine.jpg";
  chart->WriteBitmapFile(file);
  TBitmap written;
  written.LoadFromFile(file);
  std::remove(file.c_str());
  ASSERT_EQ(written.Width(), kWidth);
  ExpectInkInEveryBox(written, "export");
}

}  // namespace
