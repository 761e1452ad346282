// The axis line as a line, a cylinder or a box: drawn in pixels on a 3D chart and on a flat one,
// and the axis pen's line mode and width in layouts.
#include <gtest/gtest.h>

#include <string>

#include "ChartControlTestSupport.h"
#include "chart/ChartAxis.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"

namespace {

// Pixels of the pen colour itself (pure red), and shaded ones (a red hue, lighter or darker):
// the faces of a solid are shaded from a lighter red to half its brightness.
struct RedPixels {
  int pure = 0;
  int shaded = 0;
  int left = 1 << 30, right = -1;  // columns any of them lie in
};

RedPixels CountRed(const ChartFixture& f) {
  RedPixels r;
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x) {
      const unsigned c = static_cast<unsigned>(f.Pixel(x, y));
      const unsigned red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
      if (green != blue || red < green + 48) continue;
      if (red == 0xFF && green == 0)
        ++r.pure;
      else
        ++r.shaded;
      r.left = std::min(r.left, x);
      r.right = std::max(r.right, x);
    }
  return r;
}

}  // namespace

TEST(AxisLineMode, SolidAxisLinesIn3DAndALineWhenFlat) {
  struct Case {
    const char* name;
    bool view3D;
    TAxisLineMode mode;
    bool solid;  // shaded faces show
  };
  const Case cases[] = {
      {"line in 3D", true, lmLine, false},
      {"box in 3D", true, lmRectangle, true},
      {"cylinder in 3D", true, lmCylinder, true},
      {"cylinder on a flat chart stays a line", false, lmCylinder, false},
      {"box on a flat chart stays a line", false, lmRectangle, false},
  };
  constexpr int kWidth = 8;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartFixture f;
    f.AddCurve(0, 100, clBlue);
    f.chart.SetView3D(c.view3D);
    TChartAxisPen* pen = f.chart.LeftAxis()->AxisPen();
    pen->SetColor(clRed);
    pen->SetWidth(kWidth);
    pen->SetLineMode(c.mode);
    f.Paint();
    const RedPixels r = CountRed(f);
    // The vertical axis runs most of the chart's height whatever its form.
    EXPECT_GT(r.pure + r.shaded, 100 * kWidth / 2);
    if (c.solid) {
      EXPECT_GT(r.shaded, 100) << "faces turned from the light are darker";
      EXPECT_GT(r.right - r.left + 1, kWidth) << "the solid reaches into the depth";
    } else {
      EXPECT_EQ(r.shaded, 0);
      EXPECT_LE(r.right - r.left + 1, kWidth + 1) << "one line of the pen's width";
    }
    EXPECT_EQ(f.chart.LeftAxis()->AxisPen()->Style(), psSolid) << "the pen itself is left as it was";
  }
}

TEST(AxisLineMode, PenModeAndWidthInLayoutsAndCopies) {
  TChartAxisPen pen;
  EXPECT_EQ(pen.Width(), 2);
  EXPECT_EQ(pen.LineMode(), lmLine);
  auto write = [](TChartAxisPen& p) {
    TMemoryStream stream;
    {
      TWriter writer(stream);
      writer.WriteListBegin();
      writer.WriteProperties(&p);
      writer.WriteListEnd();
    }
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  };
  const std::string defaults = write(pen);
  EXPECT_EQ(defaults.find("Width"), std::string::npos) << "2 is the axis pen's default";
  EXPECT_EQ(defaults.find("LineMode"), std::string::npos);

  pen.SetLineMode(lmCylinder);
  pen.SetWidth(1);
  const std::string bytes = write(pen);
  TChartAxisPen read;
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  TReader reader(stream);
  reader.ReadListBegin();
  while (!reader.EndOfList()) reader.ReadProperty(&read);
  reader.ReadListEnd();
  EXPECT_EQ(read.LineMode(), lmCylinder);
  EXPECT_EQ(read.Width(), 1);

  TChartAxisPen copy;
  copy.Assign(&pen);
  EXPECT_EQ(copy.LineMode(), lmCylinder);
  EXPECT_EQ(copy.Width(), 1);
}
