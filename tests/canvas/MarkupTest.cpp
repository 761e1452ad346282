// Mark-up text on a recording canvas with fixed text metrics: what each text draws and where,
// the extents, FONT tags, colours and their errors, pictures, aligned output, the bounded
// stacks and malformed input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "canvas/KelBrush.h"
#include "canvas/KelCanvas.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFont.h"
#include "canvas/KelHtml.h"
#include "canvas/KelPen.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

// A character is 0.75 × the size wide and a line 1.5 × the size high (size 8: 6 × 12).
class TMarkupCanvas : public TKelCanvas {
 public:
  void MeasureTextF(const std::string& text, TPointFloat& size) override {
    size.X = static_cast<float>(text.size()) * Font()->SizeFloat() * 0.75f;
    size.Y = Font()->SizeFloat() * 1.5f;
  }
  int MeasureTextHeight(const std::string&) override { return static_cast<int>(std::lround(Font()->SizeFloat() * 1.5)); }
  void TextOut(int x, int y, const std::string& text) override {
    std::string style;
    if (Font()->Style().Contains(fsBold)) style += "B";
    if (Font()->Style().Contains(fsItalic)) style += "I";
    log.push_back(text + "@" + std::to_string(x) + "," + std::to_string(y) + " s" + std::to_string(Font()->Size()) +
                  (style.empty() ? "" : " " + style));
  }
  void HLine(int x0, int x1, int y) override {
    log.push_back("hline " + std::to_string(x0) + "-" + std::to_string(x1) + "@" + std::to_string(y));
  }
  void Rectangle(int l, int t, int r, int b) override {
    log.push_back("rect " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                  std::to_string(b));
  }
  void MovePenTo(int x, int y) override { log.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
  void LineTo(int x, int y) override { log.push_back("line " + std::to_string(x) + "," + std::to_string(y)); }
  void DrawGraphic(int x, int y, TGraphic* g) override {
    log.push_back("graphic " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(g->Width()) + "x" +
                  std::to_string(g->Height()));
  }
  void DrawGraphicStretched(const TRect& r, TGraphic*) override {
    log.push_back("stretched " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
                  "," + std::to_string(r.Bottom));
  }
  int GetTextAlign() override { return align; }
  void SetTextAlign(int value) override {
    align = value;
    log.push_back("align " + std::to_string(value));
  }
  void ApplyFont() override {}
  void ApplyPen() override {}
  void ApplyBrush(TBrush*) override {}

  std::vector<std::string> log;
  int align = 0;
};

class MarkupTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { KelCanvasStartup(); }
  void SetUp() override {
    MarkupTagStack().clear();
    MarkupFontStack().clear();
    MarkupGraphicHook = nullptr;
    MarkupStreamHook = nullptr;
    canvas.Font()->SetName("Arial");
    canvas.Font()->SetSize(8);
    canvas.Font()->SetColor(clBlack);
    canvas.Font()->SetStyle(TFontStyles());
    canvas.Bounds = TRect(0, 0, 100, 50);
  }
  void TearDown() override {
    MarkupGraphicHook = nullptr;
    MarkupStreamHook = nullptr;
  }
  TSize Draw(const std::string& text, int x = 0, int y = 0) {
    TSize extent;
    RenderMarkup(canvas, x, y, extent, true, text);
    return extent;
  }

  TMarkupCanvas canvas;
};

struct WalkCase {
  const char* name;
  std::string text;
  std::vector<std::string> log;
  TSize extent;
};

class MarkupWalkTest : public MarkupTest, public testing::WithParamInterface<WalkCase> {};

TEST_P(MarkupWalkTest, DrawsAndMeasures) {
  const WalkCase& c = GetParam();
  const TSize drawn = Draw(c.text);
  EXPECT_EQ(canvas.log, c.log);
  EXPECT_EQ(drawn, c.extent);
  // Measuring the same text from the same state draws nothing and gives the same extent.
  SetUp();
  canvas.log.clear();
  TSize measured;
  MarkupTextExtent(canvas, c.text, measured);
  EXPECT_TRUE(canvas.log.empty());
  EXPECT_EQ(measured, c.extent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkupWalkTest,
    testing::Values(
        WalkCase{"PlainText", "abc", {"abc@0,0 s8"}, {18, 12}},
        WalkCase{"LineBreak", "a<BR>b", {"a@0,0 s8", "b@0,12 s8"}, {6, 26}},
        WalkCase{"Entities", "&amp;lt;&gt;", {"&lt;>@0,0 s8"}, {30, 12}},
        WalkCase{"BoldThenPlain", "<B>x</B>y", {"x@0,0 s8 B", "y@6,0 s8"}, {12, 12}},
        // The big run raises the line; the closing tag leaves the pen 2 higher.
        WalkCase{"Big", "<BIG>x</BIG>y", {"x@0,-4 s10", "y@8,-1 s8"}, {14, 14}},
        WalkCase{"Sub", "<SUB>2</SUB>", {"2@0,11 s4"}, {3, 12}},
        WalkCase{"StylesSurviveARestore", "<B><I><BIG>x</BIG>y", {"x@0,-4 s10 BI", "y@8,-1 s8 BI"}, {14, 14}},
        WalkCase{"GenericCloseWithNothingOpen", "x</>", {"x@0,0 s8", "</@6,0 s8"}, {18, 12}},
        WalkCase{"GenericCloseEndsTheLastStyle", "<B>x</>y", {"x@0,0 s8 B", "y@6,0 s8"}, {12, 12}},
        WalkCase{"UnknownTagIsText", "<P ALIGN=X>", {"<P ALIGN=X>@0,0 s8"}, {66, 12}},
        WalkCase{"UnterminatedTagDropsItsBracket", "a<b", {"a@0,0 s8", "b@6,0 s8"}, {12, 12}},
        WalkCase{"FontSizeAdds", "<FONT SIZE=+2>x", {"x@0,0 s10"}, {8, 14}},
        WalkCase{"QuotedSizeSets", "<FONT SIZE=\"+2\">xx", {"xx@0,8 s2"}, {3, 12}},
        WalkCase{"Heading", "<H3>x</H3>y", {"x@0,0 s24", "y@18,22 s8"}, {24, 35}},
        WalkCase{"Rule", "<HR>x", {"hline 0-100@0", "x@0,12 s8"}, {6, 12}},
        WalkCase{"LineBreakStartingARun", "a<B>\r\nb", {"a@0,0 s8", "b@0,12 s8 B"}, {6, 12}}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

TEST_F(MarkupTest, ClosingTagsAndTheTagStack) {
  Draw("<B>x</B>");
  EXPECT_EQ(MarkupTagStack(), (std::vector<std::string>{"<B>"})) << "a specific closing tag leaves the entry";
  MarkupTagStack().clear();
  Draw("<B>x</>");
  EXPECT_TRUE(MarkupTagStack().empty()) << "the generic one consumes it";
  EXPECT_FALSE(canvas.Font()->Style().Contains(fsBold));
}

TEST_F(MarkupTest, FontTagIsRestoredByTheGenericClose) {
  Draw("<FONT COLOR=RED>x</>");
  EXPECT_EQ(canvas.Font()->Color(), clBlack);
  EXPECT_TRUE(MarkupFontStack().empty());
  Draw("<FONT COLOR=RED NAME=Courier New WEIGHT=BOLD, ITALIC>x");
  EXPECT_EQ(canvas.Font()->Color(), static_cast<TColor>(0x0000FF));
  EXPECT_EQ(canvas.Font()->Name(), "COURIER NEW");
  EXPECT_TRUE(canvas.Font()->Style().Contains(fsBold));
  EXPECT_TRUE(canvas.Font()->Style().Contains(fsItalic));
  ASSERT_EQ(MarkupFontStack().size(), 1u);
  EXPECT_EQ(MarkupFontStack()[0], "<FONT size=8 name=Arial color=0 weight=NORMAL>");
  Draw("</FONT>");
  EXPECT_EQ(canvas.Font()->Name(), "Arial");
  EXPECT_EQ(canvas.Font()->Color(), clBlack);
  EXPECT_TRUE(canvas.Font()->Style().Empty());
}

TEST_F(MarkupTest, CentredRunsAreEachCentredOnTheBounds) {
  Draw("<CENTER>a<B>b</B>");
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"a@47,0 s8", "b@47,0 s8 B"}));
}

struct ColourCase {
  const char* value;
  TColor expected;
};

class MarkupColourTest : public testing::TestWithParam<ColourCase> {};

TEST_P(MarkupColourTest, Parses) { EXPECT_EQ(ParseMarkupColor(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Cases, MarkupColourTest,
                         testing::Values(ColourCase{"red", 0x0000FF}, ColourCase{" \"Blue\" ", 0xFF0000},
                                         ColourCase{"LIME", 0x00FF00}, ColourCase{"#FF0000", 0x0000FF},
                                         ColourCase{"#102030", 0x302010}, ColourCase{"clNavy", clNavy},
                                         ColourCase{"CLBTNFACE", clBtnFace}, ColourCase{"$00FF00", 0x00FF00},
                                         ColourCase{"255", 255}, ColourCase{"ORANGE", 0}));

struct ErrorCase {
  const char* name;
  std::string text;
  bool conversion;      // EConvertError, else the general Exception
  std::string message;  // exact text for general errors
};

class MarkupErrorTest : public MarkupTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(MarkupErrorTest, Raises) {
  const ErrorCase& c = GetParam();
  try {
    Draw(c.text);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError&) {
    EXPECT_TRUE(c.conversion);
  } catch (const Exception& e) {
    EXPECT_FALSE(c.conversion) << e.Message();
    EXPECT_EQ(e.Message(), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkupErrorTest,
    testing::Values(ErrorCase{"UnknownWeight", "<FONT WEIGHT=HEAVY>", false, "Unknown field in FONT WEIGHT=HEAVY"},
                    ErrorCase{"UnknownAttribute", "<font face=x>", false, "Unknown field in FONT: FACE"},
                    ErrorCase{"AttributesWithoutBlank", "<FONT NAME=A,SIZE=2>", false, "Unknown field in FONT: A,SIZE"},
                    ErrorCase{"SizeNoNumber", "<FONT SIZE=big>", true, ""},
                    ErrorCase{"SizeTooLarge", "<FONT SIZE=40000>", true, ""},
                    ErrorCase{"SizeGrowsTooLarge", "<FONT SIZE=32000><FONT SIZE=+1000>", true, ""},
                    ErrorCase{"SizeNotFinite", "<FONT SIZE=1E400>", true, ""},
                    ErrorCase{"SizeNaN", "<FONT SIZE=NAN>", true, ""},
                    ErrorCase{"ShortHexColour", "<FONT COLOR=#12>", true, ""},
                    ErrorCase{"BadHexColour", "<FONT COLOR=#GG0000>", true, ""}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

TEST_F(MarkupTest, MalformedInputDrawsWithoutFault) {
  for (const char* text : {"<", ">", "<<>>", "</>", "</></></>", "<FONT >", "<IMG >",
                           "<IMG SRC=>", "<IMG =x>", "\r\n", "<BR>\r\n<P>", "</FONT></FONT></BIG></SUB>",
                           "<SUB><SUB><SUB><SUB><SUB><SUB>x", "<SMALL><SMALL><SMALL><SMALL><SMALL>x"}) {
    EXPECT_NO_THROW(Draw(text)) << text;
  }
  // An attribute without a name is an unknown field.
  for (const char* text : {"<FONT =>", "<FONT ==>", "<FONT = =>"}) EXPECT_THROW(Draw(text), Exception) << text;
}

TEST_F(MarkupTest, PictureWithoutSourceDrawsNothing) {
  const TSize extent = Draw("<IMG WIDTH=20>x");
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"x@0,0 s8"}));
  EXPECT_EQ(extent, (TSize{6, 12}));
}

TEST_F(MarkupTest, PictureWithoutHooksIsAPlaceholderThatLeavesThePen) {
  Draw("<IMG SRC=\"a.bmp\" WIDTH=20>x");
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"rect 0,0,20,40", "move 0,0", "line 19,39", "move 0,39",
                                                  "line 19,0", "x@0,0 s8"}));
  EXPECT_EQ(canvas.Pen()->Color(), clRed);
  EXPECT_EQ(canvas.Brush()->Color(), clWhite);
  canvas.log.clear();
  Draw("<IMG SRC=a.bmp WIDTH=99999 HEIGHT=-4>");
  EXPECT_EQ(canvas.log.front(), "rect 0,0,40,40") << "sizes outside 0..32767 count as none";
}

class MarkupPictureTest : public MarkupTest {
 protected:
  void SetUp() override {
    MarkupTest::SetUp();
    MarkupGraphicHook = [this](const std::string& extension) -> TGraphic* {
      extensions.push_back(extension);
      return extension == ".BMP" ? new TBitmap() : nullptr;
    };
    MarkupStreamHook = [this](const std::string& source, TMemoryStream& stream) {
      sources.push_back(source);
      TBitmap b(4, 3);
      b.SaveToStream(stream);
      return 0;
    };
  }
  std::vector<std::string> extensions, sources;
};

TEST_F(MarkupPictureTest, PictureAtItsOwnSizeIsDrawnAndMovesThePen) {
  const TSize extent = Draw("<IMG SRC=\"pics/chart.bmp\">x");
  EXPECT_EQ(extensions, (std::vector<std::string>{".BMP"}));
  EXPECT_EQ(sources, (std::vector<std::string>{"pics/chart.bmp"}));
  // Pen x += 4, pen y += 3 - 10 and the line height becomes 3.
  ASSERT_EQ(canvas.log.size(), 2u);
  EXPECT_EQ(canvas.log[0], "graphic 0,0 4x3");
  EXPECT_EQ(canvas.log[1], "x@4,-7 s8");
  EXPECT_EQ(extent, (TSize{10, 11}));
}

TEST_F(MarkupPictureTest, ScaledPictureIsStretchedAwayFromTheEdge) {
  Draw("ab<IMG SRC=x.bmp WIDTH=8 HEIGHT=6>", 0, 5);
  EXPECT_EQ(canvas.log.back(), "stretched 12,5,20,11");
  canvas.log.clear();
  Draw("<IMG SRC=x.bmp WIDTH=8 HEIGHT=6>", 0, 0);
  EXPECT_TRUE(canvas.log.empty()) << "not at the canvas edge";
}

TEST_F(MarkupPictureTest, UnknownTypeAndFailedStreamAreThePlaceholder) {
  Draw("<IMG SRC=x.gif>");
  EXPECT_EQ(canvas.log.front(), "rect 0,0,40,40");
  MarkupStreamHook = [](const std::string&, TMemoryStream&) { return 5; };
  canvas.log.clear();
  Draw("<IMG SRC=x.bmp>");
  EXPECT_EQ(canvas.log.front(), "rect 0,0,40,40");
  // Bytes that are no picture: the loading error ends in the placeholder too.
  MarkupStreamHook = [](const std::string&, TMemoryStream& s) {
    s.WriteBuffer("nonsense", 8);
    return 0;
  };
  canvas.log.clear();
  EXPECT_NO_THROW(Draw("<IMG SRC=x.bmp>"));
  EXPECT_EQ(canvas.log.front(), "rect 0,0,40,40");
}

TEST_F(MarkupTest, CentredAlignmentDrawsOnceLeftAligned) {
  canvas.align = 6;
  MarkupTextOut(canvas, 100, 10, "ab<B>c</B>");
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"align 0", "ab@91,10 s8", "c@103,10 s8 B", "align 6"}));
  canvas.log.clear();
  canvas.align = 2;
  MarkupTextOut(canvas, 100, 10, "ab");
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"align 0", "ab@88,10 s8", "align 2"}));
  canvas.log.clear();
  canvas.align = 30;  // TA_CENTER with TA_BASELINE: one walk under that alignment
  MarkupTextOut(canvas, 100, 10, "ab");
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"ab@100,10 s8"}));
}

// The measuring walk's font and stack changes do not reach the drawing walk.
TEST_F(MarkupTest, MeasuredAndDrawnAtTheSameSize) {
  canvas.align = 6;
  MarkupTextOut(canvas, 100, 10, "<FONT SIZE=+2>ab");
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"align 0", "ab@93,10 s10", "align 6"}));
  EXPECT_EQ(MarkupFontStack().size(), 1u) << "only the drawing walk's entry";
  EXPECT_EQ(canvas.Font()->Size(), 10);
}

TEST_F(MarkupTest, TextOutAllowMarkupFollowsTheFlag) {
  canvas.TextOutAllowMarkup(5, 6, "<B>x</B>", true);
  canvas.TextOutAllowMarkup(5, 6, "<B>x</B>", false);
  EXPECT_EQ(canvas.log, (std::vector<std::string>{"x@5,6 s8 B", "<B>x</B>@5,6 s8"}));
}

TEST_F(MarkupTest, StacksStayBoundedOnARepaintedChart) {
  for (int i = 0; i < 10000; ++i) {
    TSize extent;
    MarkupTextExtent(canvas, "<B><BIG>x", extent);
    canvas.Font()->SetSize(8);
  }
  EXPECT_LE(MarkupTagStack().size(), MarkupStackLimit);
  EXPECT_LE(MarkupFontStack().size(), MarkupStackLimit);
  EXPECT_GE(MarkupTagStack().size(), MarkupStackLimit - 1);
  // A text's own open tag is still the one "</>" closes.
  Draw("<I>y</>z");
  EXPECT_EQ(canvas.log.back(), "z@6,0 s8 B") << "italic closed, the older bold stays";
  EXPECT_EQ(MarkupTagStack().back(), "<B>");
}

}  // namespace
