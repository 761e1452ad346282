// Frame painters drawn on a DIB pre-filled with a marker colour: pixel maps of the styles that
// matter, every style with every set of sides staying inside its rectangle and answering the
// right inner rectangle, colour-derived styles, the composite borders and the control frame.
// System colours are compared with the desktop's own values (GetSysColor).
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "toolkit/graphics/Canvas.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;
const TRect kFrame{1, 1, 11, 9};  // a 10 x 8 frame on a 12 x 10 surface

COLORREF Sys(int index) { return GetSysColor(index); }

class FramePainterTest : public testing::Test {
 protected:
  FramePainterTest() { canvas_.SetHandle(dib_.DC()); }
  ~FramePainterTest() override { canvas_.SetHandle(nullptr); }

  void Reset() {
    canvas_.Refresh();
    dib_.Fill(kMarker);
  }

  // Compares the whole surface with `rows` ('.' the marker, other characters from `legend`).
  ::testing::AssertionResult Matches(const std::vector<std::string>& rows, std::map<char, COLORREF> legend) {
    legend['.'] = kMarker;
    std::ostringstream got;
    bool same = true;
    for (int y = 0; y < dib_.Height(); ++y) {
      for (int x = 0; x < dib_.Width(); ++x) {
        const COLORREF p = dib_.Pixel(x, y);
        char shown = '?';
        for (const auto& [c, color] : legend) {
          if (color == p) {
            shown = c;
            break;
          }
        }
        const char want = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
        if (legend.at(want) != p) {
          same = false;
          shown = static_cast<char>(std::tolower(static_cast<unsigned char>(shown == '?' ? 'x' : shown)));
          if (shown == want) shown = '!';
        }
        got << shown;
      }
      got << '\n';
    }
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixels differ (lower case marks a wrong pixel):\n" << got.str();
  }

  TDibSurface dib_{12, 10, kMarker};
  TCanvas canvas_;
};

TEST_F(FramePainterTest, FlatFrameOnAllSides) {
  const TRect inner = PaintFrameStyle(canvas_, kFrame, fsFlat, kAllSides);
  EXPECT_EQ(inner, (TRect{2, 2, 10, 8}));
  EXPECT_TRUE(Matches({"............",
                       ".DDDDDDDDDD.",
                       ".D........D.",
                       ".D........D.",
                       ".D........D.",
                       ".D........D.",
                       ".D........D.",
                       ".D........D.",
                       ".DDDDDDDDDD.",
                       "............"},
                      {{'D', Sys(COLOR_3DDKSHADOW)}}));
}

TEST_F(FramePainterTest, LoweredCtl3DFramePaintsTwoPassesLowerRightLast) {
  const TRect inner = PaintFrameStyle(canvas_, kFrame, fsLowered, kAllSides);
  EXPECT_EQ(inner, (TRect{3, 3, 9, 7}));
  EXPECT_TRUE(Matches({"............",
                       ".SSSSSSSSSH.",
                       ".SDDDDDDDLH.",
                       ".SD......LH.",
                       ".SD......LH.",
                       ".SD......LH.",
                       ".SD......LH.",
                       ".SLLLLLLLLH.",
                       ".HHHHHHHHHH.",
                       "............"},
                      {{'S', Sys(COLOR_BTNSHADOW)},
                       {'H', Sys(COLOR_BTNHIGHLIGHT)},
                       {'D', Sys(COLOR_3DDKSHADOW)},
                       {'L', Sys(COLOR_3DLIGHT)}}));
}

TEST_F(FramePainterTest, GrooveIsEtchedWithCornerPixels) {
  const TRect inner = PaintFrameStyle(canvas_, kFrame, fsGroove, kAllSides);
  EXPECT_EQ(inner, (TRect{3, 3, 9, 7}));
  EXPECT_TRUE(Matches({"............",
                       ".SSSSSSSSSH.",
                       ".SHHHHHHHSH.",
                       ".SH......SH.",
                       ".SH......SH.",
                       ".SH......SH.",
                       ".SH......SH.",
                       ".SSSSSSSSSH.",
                       ".HHHHHHHHHH.",
                       "............"},
                      {{'S', Sys(COLOR_BTNSHADOW)}, {'H', Sys(COLOR_BTNHIGHLIGHT)}}));
}

TEST_F(FramePainterTest, GrooveOnLeftAndTopOnlyMarksTheOpenEnds) {
  const TRect inner = PaintFrameStyle(canvas_, kFrame, fsGroove, {sdLeft, sdTop});
  EXPECT_EQ(inner, (TRect{3, 3, 11, 9}));
  // Top without right: (R-1, T) in the upper-left colour; left without bottom: (L, B-1) too.
  EXPECT_EQ(dib_.Pixel(10, 1), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(dib_.Pixel(1, 8), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(dib_.Pixel(2, 2), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dib_.Pixel(9, 5), kMarker);
  EXPECT_EQ(dib_.CountChangedOutside(kFrame, kMarker), 0);
}

TEST_F(FramePainterTest, NoneColourStillShrinksEverySide) {
  const TRect inner = PaintFrameSides(canvas_, kFrame, clNone, 0x00FF00, kAllSides);
  EXPECT_EQ(inner, (TRect{2, 2, 10, 8}));
  EXPECT_TRUE(Matches({"............",
                       "..........G.",
                       "..........G.",
                       "..........G.",
                       "..........G.",
                       "..........G.",
                       "..........G.",
                       "..........G.",
                       ".GGGGGGGGGG.",
                       "............"},
                      {{'G', 0x00FF00}}));
}

TEST_F(FramePainterTest, BevelForcesOnePixelLines) {
  canvas_.Pen()->SetWidth(3);
  const TRect inner = PaintFrameBevel(canvas_, kFrame, 0x0000FF, 0xFF0000, 2, kAllSides);
  EXPECT_EQ(inner, (TRect{3, 3, 9, 7}));
  EXPECT_TRUE(Matches({"............",
                       ".RRRRRRRRRB.",
                       ".RRRRRRRRBB.",
                       ".RR......BB.",
                       ".RR......BB.",
                       ".RR......BB.",
                       ".RR......BB.",
                       ".RBBBBBBBBB.",
                       ".BBBBBBBBBB.",
                       "............"},
                      {{'R', 0x0000FF}, {'B', 0xFF0000}}));
}

TEST_F(FramePainterTest, RoundedFlatFrameCutsItsCorners) {
  const TRect inner = PaintRoundedFlatFrame(canvas_, kFrame, 0x00FF00, kAllSides);
  EXPECT_EQ(inner, (TRect{3, 3, 9, 7}));
  EXPECT_TRUE(Matches({"............",
                       "...GGGGGG...",
                       "..G......G..",
                       ".G........G.",
                       ".G........G.",
                       ".G........G.",
                       ".G........G.",
                       "..G......G..",
                       "...GGGGGG...",
                       "............"},
                      {{'G', 0x00FF00}}));
}

TEST_F(FramePainterTest, BoxCornersAndFocusFrame) {
  EXPECT_EQ(PaintBoxCorners(canvas_, kFrame, 0x00FF00, 3), (TRect{2, 2, 10, 8}));
  EXPECT_TRUE(Matches({"............",
                       ".GGG....GGG.",
                       ".G........G.",
                       ".G........G.",
                       "............",
                       "............",
                       ".G........G.",
                       ".G........G.",
                       ".GGG....GGG.",
                       "............"},
                      {{'G', 0x00FF00}}));
  Reset();
  EXPECT_EQ(PaintFocusFrame(canvas_, kFrame), (TRect{2, 2, 10, 8}));
  EXPECT_TRUE(Matches({"............",
                       "..K.K.K.K.K.",
                       ".K........K.",
                       "............",
                       ".K........K.",
                       "............",
                       ".K........K.",
                       "............",
                       ".KK.K.K.K.K.",
                       "............"},
                      {{'K', 0x000000}}));
}

// Expected maps of the 10 x 8 frame on the 12 x 10 surface: one pass with upper-left a and
// lower-right b; two passes (c, d the inner pass); the etched form (a upper-left, b lower-right).
std::vector<std::string> OnePass(char a, char b) {
  std::vector<std::string> m(10, "............");
  for (int x = 1; x <= 9; ++x) m[1][x] = a;
  for (int y = 1; y <= 8; ++y) m[y][1] = a, m[y][10] = b;
  for (int x = 1; x <= 10; ++x) m[8][x] = b;
  return m;
}

std::vector<std::string> TwoPasses(char a, char b, char c, char d) {
  std::vector<std::string> m = OnePass(a, b);
  for (int x = 2; x <= 8; ++x) m[2][x] = c;
  for (int y = 2; y <= 7; ++y) m[y][2] = c, m[y][9] = d;
  for (int x = 2; x <= 9; ++x) m[7][x] = d;
  return m;
}

std::vector<std::string> Etched(char a, char b) {
  std::vector<std::string> m = OnePass(a, b);
  for (int x = 2; x <= 8; ++x) m[2][x] = b;
  for (int y = 2; y <= 7; ++y) m[y][2] = b, m[y][9] = a;
  for (int x = 1; x <= 9; ++x) m[7][x] = a;
  m[2][1] = a;
  return m;
}

TEST_F(FramePainterTest, EveryStyleOnAllSidesAsAPixelMap) {
  const std::map<char, COLORREF> legend = {{'S', Sys(COLOR_BTNSHADOW)},   {'H', Sys(COLOR_BTNHIGHLIGHT)},
                                           {'D', Sys(COLOR_3DDKSHADOW)},  {'L', Sys(COLOR_3DLIGHT)},
                                           {'T', Sys(COLOR_BTNTEXT)}};
  struct Case {
    const char* name;
    TFrameStyle style;
    std::vector<std::string> map;
  } const cases[] = {
      {"flat", fsFlat, OnePass('D', 'D')},
      {"status", fsStatus, OnePass('S', 'H')},
      {"popup", fsPopup, OnePass('H', 'S')},
      {"flat bold", fsFlatBold, TwoPasses('S', 'S', 'S', 'S')},
      {"lowered", fsLowered, TwoPasses('S', 'H', 'D', 'L')},
      {"raised", fsRaised, TwoPasses('L', 'D', 'H', 'S')},
      {"button up", fsButtonUp, TwoPasses('H', 'D', 'L', 'S')},
      {"button down", fsButtonDown, TwoPasses('T', 'T', 'S', 'S')},
      {"groove", fsGroove, Etched('S', 'H')},
      {"bump", fsBump, Etched('H', 'S')},
      {"none", fsNone, std::vector<std::string>(10, "............")},
  };
  for (const Case& c : cases) {
    Reset();
    PaintFrameStyle(canvas_, kFrame, c.style, kAllSides);
    EXPECT_TRUE(Matches(c.map, legend)) << c.name;
  }
}

TEST_F(FramePainterTest, RaisedOnRightAndBottomOnly) {
  const TRect inner = PaintFrameStyle(canvas_, kFrame, fsRaised, {sdRight, sdBottom});
  EXPECT_EQ(inner, (TRect{1, 1, 9, 7}));
  EXPECT_TRUE(Matches({"............",
                       ".........SD.",
                       ".........SD.",
                       ".........SD.",
                       ".........SD.",
                       ".........SD.",
                       ".........SD.",
                       ".SSSSSSSSSD.",
                       ".DDDDDDDDDD.",
                       "............"},
                      {{'S', Sys(COLOR_BTNSHADOW)}, {'D', Sys(COLOR_3DDKSHADOW)}}));
}

// Each style's frame width, as the answered rectangle shows it.
int StyleWidth(TFrameStyleEx style) {
  switch (style) {
    case fsNone:
    case fsFlatRounded: return 0;
    case fsFlat:
    case fsStatus:
    case fsPopup: return 1;
    default: return 2;
  }
}

TEST_F(FramePainterTest, EveryStyleWithEverySetOfSidesStaysInside) {
  for (int style = fsNone; style <= fsFlatRounded; ++style) {
    for (unsigned bits = 0; bits < 16; ++bits) {
      const TSides sides = TSides::FromBits(bits);
      const int w = StyleWidth(static_cast<TFrameStyleEx>(style));
      const TRect want{kFrame.Left + (sides.Contains(sdLeft) ? w : 0), kFrame.Top + (sides.Contains(sdTop) ? w : 0),
                       kFrame.Right - (sides.Contains(sdRight) ? w : 0),
                       kFrame.Bottom - (sides.Contains(sdBottom) ? w : 0)};
      for (bool colored : {false, true}) {
        Reset();
        const TRect got = colored ? PaintColorFrameStyle(canvas_, kFrame, 0x4080C0, sides, static_cast<TFrameStyle>(style))
                                  : PaintFrameStyle(canvas_, kFrame, static_cast<TFrameStyle>(style), sides);
        EXPECT_EQ(got, want) << "style " << style << " sides " << bits << " colored " << colored;
        EXPECT_EQ(dib_.CountChangedOutside(kFrame, kMarker), 0)
            << "style " << style << " sides " << bits << " colored " << colored;
        // Every side asked for has its outer line drawn.
        if (w > 0) {
          if (sides.Contains(sdLeft)) { EXPECT_NE(dib_.Pixel(1, 4), kMarker) << style << "/" << bits; }
          if (sides.Contains(sdTop)) { EXPECT_NE(dib_.Pixel(5, 1), kMarker) << style << "/" << bits; }
          if (sides.Contains(sdRight)) { EXPECT_NE(dib_.Pixel(10, 4), kMarker) << style << "/" << bits; }
          if (sides.Contains(sdBottom)) { EXPECT_NE(dib_.Pixel(5, 8), kMarker) << style << "/" << bits; }
        }
        // Sides left out stay untouched along their middle.
        if (!sides.Contains(sdLeft)) { EXPECT_EQ(dib_.Pixel(1, 4), kMarker) << style << "/" << bits; }
        if (!sides.Contains(sdRight)) { EXPECT_EQ(dib_.Pixel(10, 4), kMarker) << style << "/" << bits; }
      }
    }
  }
}

TEST_F(FramePainterTest, ColourDerivedRaisedFrameUsesLightenedAndDarkenedFace) {
  const TColor face = 0x4080C0;
  PaintColorFrameStyle(canvas_, kFrame, face, kAllSides, fsRaised);
  const COLORREF l50 = LightenColor(face, 50), d100 = DarkenColor(face, 100);
  const COLORREF l100 = LightenColor(face, 100), d50 = DarkenColor(face, 50);
  EXPECT_EQ(dib_.Pixel(1, 4), l50);
  EXPECT_EQ(dib_.Pixel(5, 1), l50);
  EXPECT_EQ(dib_.Pixel(10, 4), d100);
  EXPECT_EQ(dib_.Pixel(5, 8), d100);
  EXPECT_EQ(dib_.Pixel(2, 4), l100);
  EXPECT_EQ(dib_.Pixel(9, 4), d50);
  Reset();
  PaintColorButtonFrame(canvas_, kFrame, face, true);
  EXPECT_EQ(dib_.Pixel(1, 4), DarkenColor(face, 100));
  EXPECT_EQ(dib_.Pixel(2, 4), DarkenColor(face, 50));
  EXPECT_EQ(dib_.Pixel(9, 4), DarkenColor(face, 50));
}

TEST_F(FramePainterTest, ButtonFramesFollowTheirTables) {
  PaintButtonFrame(canvas_, kFrame, false);
  EXPECT_EQ(dib_.Pixel(1, 4), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dib_.Pixel(10, 4), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(dib_.Pixel(2, 4), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(dib_.Pixel(9, 4), Sys(COLOR_BTNSHADOW));
  Reset();
  PaintButtonFrameSides(canvas_, kFrame, true, kAllSides);
  EXPECT_EQ(dib_.Pixel(1, 4), Sys(COLOR_BTNTEXT));
  EXPECT_EQ(dib_.Pixel(10, 4), Sys(COLOR_BTNTEXT));
  EXPECT_EQ(dib_.Pixel(2, 4), Sys(COLOR_BTNSHADOW));
  Reset();
  PaintCtl3DSides(canvas_, kFrame, false, kAllSides);
  EXPECT_EQ(dib_.Pixel(1, 4), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(dib_.Pixel(10, 4), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(dib_.Pixel(2, 4), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dib_.Pixel(9, 4), Sys(COLOR_BTNSHADOW));
}

TEST_F(FramePainterTest, ControlFrameUsesSystemGrooveOnWindowColourAndDerivedGrooveOtherwise) {
  PaintControlFrame(canvas_, 12, 10, fsGroove, clWindow, clBtnShadow, kAllSides, false);
  EXPECT_EQ(dib_.Pixel(0, 4), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(dib_.Pixel(1, 4), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(dib_.Pixel(11, 4), Sys(COLOR_BTNHIGHLIGHT));
  // The second band pixel keeps the control colour.
  EXPECT_EQ(dib_.Pixel(2, 4), kMarker);
  Reset();
  const TColor yellow = 0x00FFFF;
  PaintControlFrame(canvas_, 12, 10, fsGroove, yellow, clBtnShadow, kAllSides, false);
  EXPECT_EQ(dib_.Pixel(0, 4), DarkenColor(yellow, 50));
  EXPECT_EQ(dib_.Pixel(1, 4), LightenColor(yellow, 100));
  Reset();
  // A flat frame leaves the second pixel of the 2-pixel band in the control colour.
  PaintControlFrame(canvas_, 12, 10, fsFlat, yellow, 0x0000FF, kAllSides, false);
  EXPECT_EQ(dib_.Pixel(0, 4), 0x0000FFu);
  EXPECT_EQ(dib_.Pixel(1, 4), static_cast<COLORREF>(yellow));
  EXPECT_EQ(dib_.Pixel(2, 4), kMarker);
  Reset();
  PaintControlFrame(canvas_, 12, 10, fsFlat, clWindow, 0x0000FF, {sdBottom}, true);
  EXPECT_EQ(dib_.Pixel(5, 9), 0x0000FFu);
  EXPECT_EQ(dib_.Pixel(0, 4), kMarker) << "no band with KeepBand";
  EXPECT_EQ(dib_.Pixel(5, 0), kMarker);
}

TEST_F(FramePainterTest, InnerOuterFrameLayersOutsideIn) {
  TKxInnerOuterFrame f;
  f.BorderOuter = fsFlat;
  f.FlatColor = 0x808080;
  f.FlatColorAdjustment = -10;
  f.BorderWidth = 1;
  f.BorderColor = 0x00FF00;
  f.BorderInner = fsPopup;
  f.BorderHighlight = 0xFFFFFF;
  f.BorderShadow = 0x000000;
  const TRect inner = PaintInnerOuterFrame(canvas_, kFrame, f);
  EXPECT_EQ(inner, (TRect{4, 4, 8, 6}));
  const COLORREF fc = DarkenColor(0x808080, 10);
  EXPECT_EQ(dib_.Pixel(1, 4), fc);
  EXPECT_EQ(dib_.Pixel(10, 4), fc);
  EXPECT_EQ(dib_.Pixel(2, 4), 0x00FF00u);
  EXPECT_EQ(dib_.Pixel(3, 4), 0xFFFFFFu);
  EXPECT_EQ(dib_.Pixel(8, 4), 0x000000u);
  EXPECT_EQ(dib_.Pixel(5, 5), kMarker);
  EXPECT_EQ(dib_.CountChangedOutside(kFrame, kMarker), 0);
}

TEST_F(FramePainterTest, InnerOuterRoundedOuterLayerFillsCornersWithParentColour) {
  TKxInnerOuterFrame f;
  f.BorderOuter = fsFlatRounded;
  f.FlatColor = 0x0000FF;
  f.ParentColor = 0xFF0000;
  f.Color = 0x00FF00;
  const TRect inner = PaintInnerOuterFrame(canvas_, kFrame, f);
  EXPECT_EQ(inner, (TRect{3, 3, 9, 7}));
  EXPECT_TRUE(Matches({"............",
                       ".PPRRRRRRPP.",
                       ".PRCCCCCCRP.",
                       ".RC......CR.",
                       ".RC......CR.",
                       ".RC......CR.",
                       ".RC......CR.",
                       ".PRCCCCCCRP.",
                       ".PPRRRRRRPP.",
                       "............"},
                      {{'P', 0xFF0000}, {'R', 0x0000FF}, {'C', 0x00FF00}}));
}

TEST_F(FramePainterTest, TransparentRoundedOuterLayerWithBorderWidth) {
  TKxInnerOuterFrame f;
  f.BorderOuter = fsFlatRounded;
  f.Transparent = true;
  f.BorderWidth = 1;
  f.BorderColor = 0x00FF00;
  f.FlatColor = 0x0000FF;
  const TRect inner = PaintInnerOuterFrame(canvas_, kFrame, f);
  EXPECT_EQ(inner, (TRect{4, 4, 8, 6}));
  EXPECT_TRUE(Matches({"............",
                       "...RRRRRR...",
                       "..RGGGGGGR..",
                       ".RGGGGGGGGR.",
                       ".RGG....GGR.",
                       ".RGG....GGR.",
                       ".RGGGGGGGGR.",
                       "..RGGGGGGR..",
                       "...RRRRRR...",
                       "............"},
                      {{'R', 0x0000FF}, {'G', 0x00FF00}}));
}

}  // namespace
