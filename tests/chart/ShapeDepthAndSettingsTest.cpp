// Text shape settings kept in layouts and copies (vertical text alignment, cursor), and the
// shadow of a shape standing behind it on a canvas that draws in full 3D.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "chart/KelProcs.h"
#include "chart/KelShapes.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/ui/Control.h"

namespace {

// A recording canvas that may claim full 3D; its projection moves a point 10 pixels to the
// right per unit of depth, so a depth shows in pixels. Every box drawn at a depth is noted.
class DepthBoxCanvas : public RecordingCanvas {
 public:
  struct Box {
    TRect rect;
    int z;
    TColor brush;
  };
  bool SupportsFull3D() override { return full3D; }
  TPoint Project3D(int x, int y, int z) override { return TPoint(x + 10 * z, y); }
  void RectangleAtZ(const TRect& rect, int z) override {
    boxes.push_back({rect, z, Brush()->Color()});
    RecordingCanvas::RectangleAtZ(rect, z);
  }
  bool full3D = false;
  std::vector<Box> boxes;
};

class PixelPanel : public IShapePanel {
 public:
  PixelPanel() {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(200, 100);
    canvas.SetBuffered(false);
    canvas.SetTargetCanvas(bitmap.Canvas());
  }
  TCanvas3D* ShapeCanvas() override { return &canvas; }
  void AssignShapeFont(TKelFont* font) override { canvas.AssignFont(font); }
  void ShapeTextExtent(const std::string& text, bool, int& width, int& height) override {
    width = 6 * static_cast<int>(text.size());
    height = 20;
  }
  void ShapeChanged() override {}
  int Count(TColor color, const TRect& r) {
    GdiFlush();
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const auto* p = static_cast<const unsigned char*>(bitmap.ScanLine(y)) + x * 4;
        n += static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16)) == color;
      }
    return n;
  }
  TBitmap bitmap;
  DepthBoxCanvas canvas;
};

std::string Write(TPersistent* shape) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    writer.WriteProperties(shape);
    writer.WriteListEnd();
  }
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

void Read(const std::string& bytes, TPersistent* shape) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  TReader reader(stream);
  reader.ReadListBegin();
  while (!reader.EndOfList()) reader.ReadProperty(shape);
  reader.ReadListEnd();
}

}  // namespace

TEST(ChartShapes, VerticalAlignmentAndCursorAreKeptInLayoutsAndCopies) {
  TTextShape fresh(nullptr);
  EXPECT_EQ(fresh.VertTextAlign(), vtaCenter);
  EXPECT_EQ(fresh.Cursor(), 0);
  const std::string defaults = Write(&fresh);
  EXPECT_EQ(defaults.find("VertTextAlign"), std::string::npos) << "defaults are not written";
  EXPECT_EQ(defaults.find("Cursor"), std::string::npos) << "defaults are not written";

  struct Case {
    TVertTextAlign align;
    short cursor;
    const char* cursorIdent;  // written by name when it has one
  };
  const Case cases[] = {{vtaTop, crHandPoint, "crHandPoint"}, {vtaBottom, crCross, "crCross"}, {vtaCenter, 7, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.align));
    TTextShape shape(nullptr);
    shape.SetText("x");
    shape.SetVertTextAlign(c.align);
    shape.SetCursor(c.cursor);
    const std::string bytes = Write(&shape);
    EXPECT_EQ(bytes.find("VertTextAlign") != std::string::npos, c.align != vtaCenter);
    if (c.cursorIdent) {
      EXPECT_NE(bytes.find(c.cursorIdent), std::string::npos);
    }
    TTextShape read(nullptr);
    Read(bytes, &read);
    EXPECT_EQ(read.VertTextAlign(), c.align);
    EXPECT_EQ(read.Cursor(), c.cursor);
    EXPECT_EQ(read.Text(), "x");
    TTextShape copy(nullptr);
    copy.Assign(&shape);
    EXPECT_EQ(copy.VertTextAlign(), c.align);
    EXPECT_EQ(copy.Cursor(), c.cursor);
  }
}

TEST(ChartShapes, ShadowStandsBehindTheShapeOnAFull3DCanvas) {
  struct Case {
    const char* name;
    bool full3D;
    int z;
  };
  const Case cases[] = {{"flat", false, 0}, {"full 3D at the front", true, 0}, {"full 3D deeper", true, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PixelPanel panel;
    panel.canvas.full3D = c.full3D;
    TKelShape shape(&panel);
    shape.SetColor(clRed);
    shape.Pen()->SetVisible(false);
    shape.Shadow()->SetColor(clLime);
    shape.Shadow()->SetTransparency(0);
    shape.Shadow()->SetSmooth(false);
    shape.Shadow()->ChangeSize(4);
    shape.DrawInRect(TRect(20, 20, 60, 50), c.z, 0);
    if (!c.full3D) {
      // Flat: the shadow peeks out 4 pixels right of and below the shape, nowhere further.
      EXPECT_GT(panel.Count(clLime, TRect(60, 24, 64, 54)), 100);
      EXPECT_EQ(panel.Count(clLime, TRect(65, 0, 200, 100)), 0);
      EXPECT_TRUE(panel.canvas.boxes.empty());
      continue;
    }
    // The shadow box is drawn first, two depth units behind the shape, in the shadow colour.
    ASSERT_EQ(panel.canvas.boxes.size(), 2u);
    EXPECT_EQ(panel.canvas.boxes[0].z, c.z + 2);
    EXPECT_EQ(panel.canvas.boxes[0].rect, TRect(24, 24, 64, 54));
    EXPECT_EQ(panel.canvas.boxes[0].brush, clLime);
    EXPECT_EQ(panel.canvas.boxes[1].z, c.z);
    // In pixels: the shape lands 10 x z to the right, its shadow 10 x (z + 2) + 4.
    const int shapeLeft = 20 + 10 * c.z, shadowLeft = 24 + 10 * (c.z + 2);
    EXPECT_GT(panel.Count(clRed, TRect(shapeLeft + 1, 21, shapeLeft + 39, 49)), 36 * 26);
    EXPECT_GT(panel.Count(clLime, TRect(shapeLeft + 41, 25, shadowLeft + 39, 53)), 20 * 26);
    EXPECT_EQ(panel.Count(clLime, TRect(0, 0, shapeLeft, 100)), 0) << "nothing left of the shape";
  }
}
