// Shapes and text shapes: automatic size with margins, lines of text, transparent drawing in
// pixels, the speech-bubble pointer on each side and the hit test of a turned shape.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ChartPanelTestSupport.h"
#include "canvas/KelFilter.h"
#include "canvas/KelFilters.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "chart/KelProcs.h"
#include "canvas/KelShadow.h"
#include "chart/BackImage.h"
#include "chart/KelShapes.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Canvas.h"

namespace {

// A recording canvas that can claim to draw in full 3D (its projection stays flat).
class DepthCanvas : public RecordingCanvas {
 public:
  bool SupportsFull3D() override { return full3D; }
  bool full3D = false;
};

// A panel for shapes: a recording canvas over a white bitmap; text 6 pixels a character and
// `lineHeight` a line.
class ShapePanel : public IShapePanel {
 public:
  explicit ShapePanel(int lineHeight = 20) : lineHeight_(lineHeight) {
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(200, 100);
    canvas.SetBuffered(false);
    canvas.SetTargetCanvas(bitmap.Canvas());
  }
  TCanvas3D* ShapeCanvas() override { return &canvas; }
  void AssignShapeFont(TKelFont* font) override { canvas.AssignFont(font); }
  void ShapeTextExtent(const std::string& text, bool, int& width, int& height) override {
    width = 0;
    const int lines = TextLineCount(text);
    for (int n = 1; n <= lines; ++n)
      width = std::max(width, 6 * static_cast<int>(FieldAtSep(text, n, "\r").size()));
    height = lines * lineHeight_;
  }
  void ShapeChanged() override { ++changes; }
  // Stands in for the depth projection: a picture at depth z lands z pixels to the right.
  void DrawShapePicture(TBackImage* picture, const TRect& r, int z) override {
    picture->DrawFlat(&canvas, TRect(r.Left + z, r.Top, r.Right + z, r.Bottom));
  }

  TColor Pixel(int x, int y) {
    GdiFlush();
    const auto* p = static_cast<const unsigned char*>(bitmap.ScanLine(y)) + x * 4;
    return static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
  }
  int Count(TColor color, const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += Pixel(x, y) == color;
    return n;
  }

  TBitmap bitmap;
  DepthCanvas canvas;
  int changes = 0;

 private:
  int lineHeight_;
};

// A solid blue 4 x 4 picture, stretched without smoothing.
void FillWithBlue(TBackImage* picture) {
  TBitmap blue;
  blue.SetPixelFormat(pf32bit);
  blue.SetSize(4, 4);
  blue.Canvas()->Brush()->SetColor(clBlue);
  blue.Canvas()->FillRect(TRect(0, 0, 4, 4));
  picture->Assign(&blue);
  picture->SetDrawQuality(sqLow);
}

}  // namespace

TEST(ChartShapes, AutoSizedTextShapeTakesTextAndMargins) {
  struct Case {
    const char* name;
    bool transparent;
    bool pen;
    int width, height;
  };
  // Text "Hello": 30 x 20. Margins of a 20-pixel text: 2 left and right, 1 top and bottom.
  const Case cases[] = {
      {"framed", false, true, 30 + 2 + 8, 20 + 2 + 2},
      {"no frame", false, false, 30 + 8, 20 + 2},
      {"transparent: no margins", true, true, 30, 20},
  };
  for (const Case& c : cases) {
    ShapePanel panel;
    TCustomTextShape shape(&panel);
    shape.SetText("Hello");
    shape.SetTransparent(c.transparent);
    shape.Pen()->SetVisible(c.pen);
    shape.Bounds = TRect(5, 7, 99, 99);
    shape.CalcSize();
    EXPECT_EQ(shape.Bounds, TRect(5, 7, 5 + c.width, 7 + c.height)) << c.name;
    EXPECT_EQ(shape.Lines(), 1) << c.name;
  }
}

TEST(ChartShapes, LinesAreOneLineHeightApartAndLineFeedsIgnored) {
  for (const char* text : {"a\rb", "a\r\nb"}) {
    ShapePanel panel;
    TCustomTextShape shape(&panel);
    shape.SetTransparent(true);
    shape.SetText(text);
    shape.Bounds = TRect(10, 10, 10, 10);
    shape.CalcSize();
    EXPECT_EQ(shape.Lines(), 2) << text;
    shape.DrawAt();
    const auto& texts = panel.canvas.texts;
    ASSERT_EQ(texts.size(), 2u) << text;
    EXPECT_EQ(texts[0].text, "a");
    EXPECT_EQ(texts[1].text, "b");
    EXPECT_EQ(texts[1].y - texts[0].y, panel.canvas.LineHeight()) << text;
  }
}

TEST(ChartShapes, TransparentShapePaintsTextButNoFill) {
  for (bool transparent : {false, true}) {
    ShapePanel panel;
    TCustomTextShape shape(&panel);
    shape.SetColor(clRed);
    shape.SetTransparent(transparent);
    shape.Font()->SetColor(clBlue);
    shape.Font()->SetSize(12);
    shape.SetText("WWW");
    shape.Bounds = TRect(10, 10, 90, 50);
    shape.SetAutoSize(false);
    shape.DrawAt();
    const int red = panel.Count(clRed, shape.Bounds);
    if (transparent)
      EXPECT_EQ(red, 0);
    else
      EXPECT_GT(red, 1000);
    int inked = 0;
    for (int y = 10; y < 50; ++y)
      for (int x = 10; x < 90; ++x) {
        const TColor c = panel.Pixel(x, y);
        inked += c != clRed && c != clWhite && c != clBlack;
      }
    EXPECT_GT(inked, 10) << "text drawn, transparent " << transparent;
  }
}

TEST(ChartShapes, CalloutPointerOnEachSide) {
  struct Case {
    const char* name;
    TShapeCalloutSide side;
    int position;
    TPoint a, tip, b;
  };
  // Rectangle (0, 0, 100, 40), Width 20 and Size 25 percent.
  const Case cases[] = {
      {"top", csTop, 50, TPoint(40, 0), TPoint(50, -10), TPoint(60, 0)},
      {"bottom", csBottom, 50, TPoint(60, 40), TPoint(50, 50), TPoint(40, 40)},
      {"right", csRight, 50, TPoint(100, 16), TPoint(125, 20), TPoint(100, 24)},
      {"left", csLeft, 50, TPoint(0, 24), TPoint(-25, 20), TPoint(0, 16)},
      {"top, kept inside at the right end", csTop, 0, TPoint(80, 0), TPoint(90, -10), TPoint(100, 0)},
  };
  for (const Case& c : cases) {
    TKelShape shape(nullptr);
    TShapeCallout* callout = shape.ShapeCallout();
    callout->SetSide(c.side);
    callout->SetPosition(c.position);
    TPoint a, tip, b;
    ASSERT_TRUE(callout->Pointer(TRect(0, 0, 100, 40), 0, a, tip, b)) << c.name;
    EXPECT_EQ(a, c.a) << c.name;
    EXPECT_EQ(tip, c.tip) << c.name;
    EXPECT_EQ(b, c.b) << c.name;
    // The outline holds the pointer between its corners.
    const TPointArray outline = callout->Outline(TRect(0, 0, 100, 40), 0);
    EXPECT_EQ(outline.size(), 7u) << c.name;
    EXPECT_NE(std::find(outline.begin(), outline.end(), c.tip), outline.end()) << c.name;
  }
}

TEST(ChartShapes, TurnedShapeIsHitInItsTurnedRectangle) {
  TKelShape shape(nullptr);
  shape.Bounds = TRect(0, 0, 100, 20);
  EXPECT_TRUE(shape.Clicked(TPoint(90, 10)));
  EXPECT_FALSE(shape.Clicked(TPoint(50, 40)));
  shape.SetAngle(90);  // turned about (50, 10): x 40..60, y -40..60
  EXPECT_FALSE(shape.Clicked(TPoint(90, 10)));
  EXPECT_TRUE(shape.Clicked(TPoint(50, 40)));
  EXPECT_TRUE(shape.Clicked(TPoint(45, -30)));
}

TEST(ChartShapes, RoundSizeTurnsARectangleRound) {
  ShapePanel panel;
  TKelShape shape(&panel);
  shape.SetRoundSize(8);
  EXPECT_EQ(shape.ShapeStyle(), fosRoundRectangle);
  shape.SetShapeStyle(fosEllipse);
  shape.SetRoundSize(0);
  EXPECT_EQ(shape.ShapeStyle(), fosEllipse);
  EXPECT_GE(panel.changes, 3);  // every change repaints the panel
}

TEST(ChartShapes, ChildrenStackInsideTheirParent) {
  struct Case {
    const char* name;
    TKelShapeLayout layout;
    TRect expected;  // parent bounds after sizing, from (0, 0)
  };
  // Two plain children of 30 x 10 and 20 x 15.
  const Case cases[] = {
      {"top to bottom", slTopBottom, TRect(0, 0, 30, 25)},
      {"left to right", slLeftRight, TRect(0, 0, 50, 15)},
  };
  for (const Case& c : cases) {
    ShapePanel panel;
    TKelShape parent(&panel);
    parent.SetChildLayout(c.layout);
    const TRect sizes[] = {TRect(0, 0, 30, 10), TRect(0, 0, 20, 15)};
    for (const TRect& size : sizes) {
      TKelCustomShape* child = parent.Children()->AddShape();
      EXPECT_TRUE(child->Transparent()) << "children start transparent";
      child->SetAutoSize(false);
      child->Bounds = size;
    }
    parent.Bounds = TRect(0, 0, 0, 0);
    parent.CalcSize();
    EXPECT_EQ(parent.Bounds, c.expected) << c.name;
    // Drawn at (40, 20): the second child follows the first.
    parent.Bounds = TRect(40, 20, 40 + c.expected.Width(), 20 + c.expected.Height());
    parent.DrawAt();
    const TKelCustomShape* second = parent.Children()->Item(1).Shape();
    if (c.layout == slTopBottom)
      EXPECT_EQ(second->Bounds, TRect(40, 30, 60, 45)) << c.name;
    else
      EXPECT_EQ(second->Bounds, TRect(70, 20, 90, 35)) << c.name;
  }
}

TEST(ChartShapes, ChildrenAlignAcrossATopToBottomParent) {
  ShapePanel panel;
  TKelShape parent(&panel);
  parent.SetAutoSize(false);
  parent.Bounds = TRect(0, 0, 100, 40);
  const TAlignment aligns[] = {taLeftJustify, taCenter, taRightJustify};
  for (TAlignment a : aligns) {
    TKelCustomShape* child = parent.Children()->AddShape();
    child->SetAutoSize(false);
    child->Bounds = TRect(0, 0, 20, 10);
    child->SetAlignment(a);
  }
  parent.DrawAt();
  EXPECT_EQ(parent.Children()->Item(0).Shape()->Bounds.Left, 0);
  EXPECT_EQ(parent.Children()->Item(1).Shape()->Bounds.Left, 40);
  EXPECT_EQ(parent.Children()->Item(2).Shape()->Bounds.Left, 80);
  EXPECT_EQ(parent.Children()->Item(2).Shape()->Bounds.Top, 20);
}

TEST(ChartShapes, EmbossAndPictureFill) {
  // An emboss of 4 to the left and top in green lies inside the shape's corner.
  {
    ShapePanel panel;
    TKelShape shape(&panel);
    shape.SetColor(clRed);
    shape.Pen()->SetVisible(false);
    shape.Emboss()->SetVisible(true);  // hidden at first
    shape.Emboss()->SetSmooth(false);
    shape.Emboss()->SetColor(clLime);
    shape.Emboss()->ChangeSize(6);
    shape.Emboss()->SetTransparency(0);
    shape.Bounds = TRect(20, 20, 80, 60);
    shape.DrawAt();
    // Moved to the left and top: a green band shows beside those edges only.
    EXPECT_GT(panel.Count(clLime, TRect(14, 14, 20, 54)), 100) << "left of the shape";
    EXPECT_EQ(panel.Count(clLime, TRect(80, 20, 100, 60)), 0) << "nothing on the right";
  }
  // A picture fills the shape instead of its colour.
  {
    ShapePanel panel;
    TKelShape shape(&panel);
    shape.SetColor(clRed);
    shape.Pen()->SetVisible(false);
    FillWithBlue(shape.Picture());
    shape.Bounds = TRect(20, 20, 80, 60);
    shape.DrawAt();
    EXPECT_EQ(panel.Pixel(50, 40), clBlue);
    EXPECT_EQ(panel.Count(clRed, TRect(21, 21, 79, 59)), 0);
    EXPECT_EQ(panel.Pixel(90, 40), clWhite) << "nothing outside";
    shape.SetPicture(nullptr);
    EXPECT_FALSE(shape.HasPicture());
  }
}

TEST(ChartShapes, AssignCopiesChildrenEmbossCornersAndPicture) {
  ShapePanel panel;
  TKelShape a(&panel);
  a.SetChildLayout(slLeftRight);
  a.Children()->AddShape()->SetColor(clYellow);
  a.Emboss()->ChangeSize(3);
  a.Corners();
  TKelShape b(&panel);
  b.Assign(&a);
  EXPECT_EQ(b.ChildLayout(), slLeftRight);
  ASSERT_EQ(b.Children()->Count(), 1);
  EXPECT_EQ(b.Children()->Item(0).Shape()->Color(), clYellow);
  ASSERT_TRUE(b.HasEmboss());
  EXPECT_EQ(b.Emboss()->HorizSize(), 3);
  EXPECT_TRUE(b.HasCorners());
  EXPECT_FALSE(b.HasPicture());
}

TEST(ChartShapes, AssignTakesTheColourThroughItsSetter) {
  ShapePanel panel;
  TKelShape a(nullptr);
  a.SetColor(clRed);
  TKelShape b(&panel);
  const int before = panel.changes;
  b.Assign(&a);
  EXPECT_EQ(b.Color(), clRed);
  EXPECT_GT(panel.changes, before) << "the panel hears of the new colour";
}

TEST(ChartShapes, StringsShapeKeepsListAndTextInStep) {
  ShapePanel panel;
  TStringsShape shape(&panel);
  TStringList list;
  list.Add("x");
  shape.SetLines(&list);
  EXPECT_EQ(shape.Text(), "x") << "no trailing line break";
  shape.Lines()->Add("y");
  EXPECT_EQ(shape.Text(), "x\r\ny");
  shape.SetText("a\r\nb\r\nc");
  ASSERT_EQ(shape.Lines()->Count(), 3);
  EXPECT_EQ(shape.Lines()->Strings(2), "c");
  EXPECT_GT(panel.changes, 0);
}

TEST(ChartShapes, LegacyShadowEntriesAreRead) {
  // One stored entry: its name, then an identifier or a one-byte integer.
  auto entry = [](const std::string& name, const std::string& ident, int number) {
    std::string bytes(1, static_cast<char>(name.size()));
    bytes += name;
    if (!ident.empty()) {
      bytes += static_cast<char>(vaIdent);
      bytes += static_cast<char>(ident.size());
      bytes += ident;
    } else {
      bytes += static_cast<char>(vaInt8);
      bytes += static_cast<char>(number);
    }
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<std::string> entries;
    TColor color;
    int size;
  };
  const Case cases[] = {
      {"colour by name and size", {entry("ShadowColor", "clRed", 0), entry("ShadowSize", "", 5)}, clRed, 5},
      {"colour by number", {entry("ShadowColor", "", 0x7F)}, static_cast<TColor>(0x7F), 3},
  };
  for (const Case& c : cases) {
    TKelShape shape(nullptr);
    TMemoryStream stream;
    for (const std::string& e : c.entries) stream.Write(e.data(), static_cast<long long>(e.size()));
    stream.SetPosition(0);
    TReader reader(stream);
    for (size_t i = 0; i < c.entries.size(); ++i) reader.ReadProperty(&shape);
    EXPECT_EQ(shape.Shadow()->Color(), c.color) << c.name;
    EXPECT_EQ(shape.Shadow()->HorizSize(), c.size) << c.name;
    EXPECT_EQ(shape.Shadow()->VertSize(), c.size) << c.name;
  }
}

TEST(ChartShapes, PictureFillKeepsInsideRoundedAndTurnedOutlines) {
  struct Case {
    const char* name;
    int roundSize;
    int angle;
    bool cornerFilled;  // the box's own corner pixel (31, 31)
  };
  // Box 30..70 square: a rounded corner of 30 and a quarter-turned diamond both leave the corner.
  const Case cases[] = {
      {"plain rectangle", 0, 0, true},
      {"rounded rectangle", 30, 0, false},
      {"turned box", 0, 45, false},
  };
  for (const Case& c : cases) {
    ShapePanel panel;
    TKelShape shape(&panel);
    shape.SetColor(clRed);
    shape.Pen()->SetVisible(false);
    if (c.roundSize > 0) shape.SetRoundSize(c.roundSize);
    shape.SetAngle(c.angle);
    FillWithBlue(shape.Picture());
    shape.Bounds = TRect(30, 30, 70, 70);
    shape.DrawAt();
    EXPECT_EQ(panel.Pixel(50, 50), clBlue) << c.name;
    EXPECT_EQ(panel.Pixel(31, 31), c.cornerFilled ? clBlue : clWhite) << c.name;
    EXPECT_EQ(panel.Count(clRed, TRect(0, 0, 200, 100)), 0) << c.name << ": no colour fill under the picture";
  }
}

TEST(ChartShapes, PictureFillAtTheShapeDepthOnlyOnAFull3DCanvas) {
  for (bool full3D : {false, true}) {
    SCOPED_TRACE(full3D ? "full 3D" : "flat");
    ShapePanel panel;
    panel.canvas.full3D = full3D;
    TKelShape shape(&panel);
    shape.SetColor(clRed);
    shape.Pen()->SetVisible(false);
    shape.Shadow()->SetVisible(false);
    FillWithBlue(shape.Picture());
    shape.DrawInRect(TRect(20, 20, 60, 50), 50, 0);
    // The panel places a picture at depth 50 fifty pixels to the right.
    const TRect flat(20, 20, 60, 50), deep(70, 20, 110, 50);
    EXPECT_EQ(panel.Count(clBlue, full3D ? deep : flat), 40 * 30);
    EXPECT_EQ(panel.Count(clBlue, full3D ? flat : deep), 0);
  }
}

TEST(ChartShapes, ChartPanelDrawsAShapePictureAtItsDepth) {
  // On an orthogonal 3D chart a picture at depth 40 lands on the projected rectangle.
  TestChart chart;
  chart.panel.SetView3D(true);
  TBackImage picture;
  FillWithBlue(&picture);
  const TRect r(150, 100, 180, 120);
  TRect projected;
  chart.panel.OnAfterDraw = [&](TObject*) {
    projected = chart.canvas->ProjectRect(r, 40);
    chart.panel.DrawShapePicture(&picture, r, 40);
  };
  chart.Paint();
  ASSERT_NE(projected.Left, r.Left) << "the depth moves the rectangle";
  EXPECT_EQ(chart.Count(clBlue, projected.Left, projected.Top, projected.Right - 1, projected.Bottom - 1),
            projected.Width() * projected.Height());
  EXPECT_EQ(chart.Count(clBlue, 0, 0, chart.width - 1, chart.height - 1), projected.Width() * projected.Height());
}

// Mark-up lines stand one below the other by the height each piece measures.
TEST(ChartShapes, MarkUpLinesAdvanceByTheHeightOfEachPiece) {
  ShapePanel panel;
  TCustomTextShape shape(&panel);
  shape.SetTransparent(true);
  shape.SetTextFormat(ttfHtml);
  shape.SetText("a<BR>b\rc");
  shape.Bounds = TRect(10, 10, 150, 90);
  shape.SetAutoSize(false);
  shape.DrawAt();
  int ya = -1, yb = -1, yc = -1;
  for (const auto& t : panel.canvas.texts) {
    if (t.text == "a") ya = t.y;
    if (t.text == "b") yb = t.y;
    if (t.text == "c") yc = t.y;
  }
  ASSERT_GE(ya, 0);
  ASSERT_GT(yb, ya);
  EXPECT_GE(yc - yb, yb - ya) << "c comes below b, not over it";
}

// A speech bubble with rounded corners: the corners are cut as arcs (radius 10), the pointer
// is filled and outlined with the box as one figure.
TEST(ChartShapes, RoundedCalloutHasArcCornersAndAFilledPointer) {
  struct Case {
    const char* name;
    TChartObjectShapeStyle style;
    bool cornerCut;
  };
  const Case cases[] = {{"rounded", fosRoundRectangle, true}, {"square", fosRectangle, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShapePanel panel;
    TKelShape shape(&panel);
    shape.SetColor(clRed);
    shape.Shadow()->SetVisible(false);
    shape.Pen()->SetColor(clBlue);
    shape.SetRoundSize(20);
    shape.SetShapeStyle(c.style);
    shape.ShapeCallout()->SetSide(csTop);
    // Box (20, 30, 120, 70): pointer base 60..80 on the top side, tip (70, 20).
    shape.Bounds = TRect(20, 30, 120, 70);
    shape.DrawAt();
    EXPECT_EQ(panel.Pixel(70, 50), clRed) << "inside the box";
    EXPECT_EQ(panel.Pixel(70, 26), clRed) << "inside the pointer";
    EXPECT_EQ(panel.Pixel(50, 25), clWhite) << "beside the pointer";
    EXPECT_EQ(panel.Pixel(70, 30), clRed) << "no outline across the pointer's base";
    EXPECT_EQ(panel.Pixel(40, 30), clBlue) << "the top side";
    // A corner arc of radius 10 leaves the box's corner pixels and a diagonal step inside.
    EXPECT_EQ(panel.Pixel(22, 32), c.cornerCut ? clWhite : clRed);
    EXPECT_EQ(panel.Pixel(118, 68), c.cornerCut ? clWhite : clRed);
    // The arc's middle, about 2.9 pixels in from both sides of the corner, carries the outline.
    if (c.cornerCut) {
      EXPECT_GT(panel.Count(clBlue, TRect(22, 32, 26, 36)), 0);
    }
  }
}

// A speech bubble filled with a picture: the picture takes the box inside its outline (not
// its cut corners), and neither picture nor colour fills the pointer.
TEST(ChartShapes, CalloutPictureStaysInsideTheOutline) {
  ShapePanel panel;
  TKelShape shape(&panel);
  shape.SetColor(clRed);
  shape.Shadow()->SetVisible(false);
  shape.Pen()->SetColor(clBlack);
  shape.SetRoundSize(20);
  shape.ShapeCallout()->SetSide(csTop);
  FillWithBlue(shape.Picture());
  shape.Bounds = TRect(20, 30, 120, 70);
  shape.DrawAt();
  EXPECT_EQ(panel.Pixel(70, 50), clBlue);
  EXPECT_EQ(panel.Pixel(22, 32), clWhite) << "a cut corner";
  EXPECT_EQ(panel.Count(clBlue, TRect(0, 0, 200, 30)), 0) << "nothing above the box";
  EXPECT_EQ(panel.Count(clRed, TRect(0, 0, 200, 100)), 0) << "no colour fill";
  EXPECT_GT(panel.Count(clBlack, TRect(60, 20, 81, 30)), 4) << "the pointer is outlined";
}

// A shape drawn as a polygon: its outline is the polygon, and a fill picture stays inside it.
TEST(ChartShapes, PolygonShapeClipsItsPictureToThePolygon) {
  for (bool picture : {false, true}) {
    SCOPED_TRACE(picture ? "picture" : "colour");
    ShapePanel panel;
    TKelShape shape(&panel);
    shape.SetColor(clRed);
    shape.Shadow()->SetVisible(false);
    shape.Pen()->SetVisible(false);
    if (picture) FillWithBlue(shape.Picture());
    // A triangle over the left half of its rectangle.
    const TPointArray triangle{TPoint(20, 20), TPoint(60, 20), TPoint(20, 80)};
    shape.DrawPolygon(TRect(20, 20, 100, 80), 0, 0, triangle);
    const TColor fill = picture ? clBlue : clRed;
    EXPECT_EQ(panel.Pixel(25, 25), fill);
    EXPECT_EQ(panel.Pixel(55, 60), clWhite) << "outside the triangle, inside the rectangle";
    EXPECT_EQ(panel.Pixel(90, 70), clWhite);
    EXPECT_EQ(panel.Count(picture ? clRed : clBlue, TRect(0, 0, 200, 100)), 0);
  }
}

// A see-through shape whose picture holds filters only: they work on what shows through it.
TEST(ChartShapes, FiltersOfAPictureWithoutGraphicWorkOnWhatShowsThrough) {
  struct Case {
    const char* name;
    bool invert;
    int red, green, blue;  // white drawn half over red, or over red inverted (cyan)
  };
  const Case cases[] = {{"plain", false, 255, 128, 128}, {"inverted behind", true, 128, 255, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShapePanel panel;
    panel.canvas.Bounds = TRect(0, 0, 200, 100);  // the area a transparency may take
    panel.bitmap.Canvas()->Brush()->SetColor(clRed);
    panel.bitmap.Canvas()->FillRect(TRect(0, 0, 200, 100));
    TKelShape shape(&panel);
    shape.SetColor(clWhite);
    shape.Pen()->SetVisible(false);
    shape.Shadow()->SetVisible(false);
    shape.SetTransparency(50);
    if (c.invert) shape.Picture()->Filters()->Add(TInvertFilter::StaticClass());
    shape.Bounds = TRect(20, 20, 100, 80);
    shape.DrawAt();
    const TColor inside = panel.Pixel(60, 50);
    EXPECT_NEAR(GetRValue(inside), c.red, 3) << std::hex << inside;
    EXPECT_NEAR(GetGValue(inside), c.green, 3) << std::hex << inside;
    EXPECT_NEAR(GetBValue(inside), c.blue, 3) << std::hex << inside;
    EXPECT_EQ(panel.Pixel(150, 50), clRed) << "outside the shape nothing changes";
  }
}

// Children are made of the parent's child class: plain shapes under shapes, text shapes under
// text shapes.
TEST(ChartShapes, ChildrenAreOfTheParentsChildClass) {
  ShapePanel panel;
  TKelShape plain(&panel);
  TTextShape text(&panel);
  EXPECT_EQ(&plain.ChildShapeClass(), &TKelShape::StaticClass());
  EXPECT_EQ(&text.ChildShapeClass(), &TCustomTextShape::StaticClass());
  for (TKelCustomShape* parent : {static_cast<TKelCustomShape*>(&plain), static_cast<TKelCustomShape*>(&text)})
    EXPECT_TRUE(parent->Children()->AddShape()->ClassType().InheritsFrom(parent->ChildShapeClass()));
}
