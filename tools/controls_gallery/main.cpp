// Renders the control set's frame styles (system and colour-derived), composite borders,
// gradients in all ten directions and the glyphs into one Windows bitmap file.
#include <cstdio>
#include <string>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxGraphics.h"
#include "controls/KxModule.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/ui/UiModule.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/rtl/TextConv.h"

namespace {

constexpr int kCell = 64;
constexpr int kGap = 8;

TRect Cell(int column, int row, int width = kCell, int height = kCell) {
  const int x = kGap + column * (kCell + kGap);
  const int y = kGap + row * (kCell + kGap);
  return {x, y, x + width, y + height};
}

void Label(TCanvas& canvas, const TRect& cell, const std::string& text) {
  TRect r{cell.Left, cell.Bottom - 14, cell.Right, cell.Bottom};
  DrawTextInRect(canvas, text, r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

const char* const kStyleNames[] = {"None", "Flat", "Groove", "Bump", "Lowered", "BtnDown", "Raised", "BtnUp",
                                   "Status", "Popup", "FlatBold", "Rounded"};
const char* const kDirectionNames[] = {"DiagUp", "DiagDown", "HorzEnd", "HorzCtr", "HorzBox",
                                       "VertEnd", "VertCtr", "VertBox", "Square", "BigSquare"};

// Draws the whole gallery and saves it as `output`.
void Render(const std::string& output) {
  TBitmap bitmap(12 * (kCell + kGap) + kGap, 7 * (kCell + kGap) + kGap);
  TCanvas& canvas = *bitmap.Canvas();
  canvas.Brush()->SetColor(clBtnFace);
  canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
  canvas.Font()->SetName("Arial");
  canvas.Font()->SetHeight(-10);
  canvas.Brush()->SetStyle(bsClear);

  // Row 0: frame styles in system colours; row 1: the same from a face colour; row 2: with
  // only left and top sides.
  for (int style = fsNone; style <= fsFlatRounded; ++style) {
    const TRect cell = Cell(style, 0, kCell, kCell - 16);
    if (style == fsFlatRounded) {
      PaintRoundedFlatFrame(canvas, cell, clBtnShadow, kAllSides);
    } else {
      PaintFrameStyle(canvas, cell, static_cast<TFrameStyle>(style), kAllSides);
    }
    Label(canvas, Cell(style, 0), kStyleNames[style]);
    const TRect colored = Cell(style, 1, kCell, kCell - 16);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(0x60A0E0);
    canvas.FillRect(colored);
    canvas.Brush()->SetStyle(bsClear);
    PaintColorFrameStyle(canvas, colored, 0x60A0E0, kAllSides, static_cast<TFrameStyle>(style));
    Label(canvas, Cell(style, 1), kStyleNames[style]);
    PaintFrameStyle(canvas, Cell(style, 2, kCell, kCell - 16), static_cast<TFrameStyle>(style), {sdLeft, sdTop});
    Label(canvas, Cell(style, 2), "left+top");
  }

  // Row 3: gradients.
  for (int d = KxCommon::gdDiagonalUp; d <= KxCommon::gdBigSquareBox; ++d) {
    DrawGradientArea(canvas, Cell(d, 3, kCell, kCell - 16), static_cast<KxCommon::TGradientDirection>(d), 0xFFEFE3,
                     0xEABB99, 1);
    Label(canvas, Cell(d, 3), kDirectionNames[d]);
  }
  // Row 4: the same with strong colours.
  for (int d = KxCommon::gdDiagonalUp; d <= KxCommon::gdBigSquareBox; ++d) {
    DrawGradientArea(canvas, Cell(d, 4, kCell, kCell - 16), static_cast<KxCommon::TGradientDirection>(d), 0x800000,
                     0x00FFFF, 1);
    Label(canvas, Cell(d, 4), kDirectionNames[d]);
  }

  // Row 5: glyphs.
  int column = 0;
  const auto glyphCell = [&](const char* name, TColor background = clWindow) {
    const TRect cell = Cell(column, 5, kCell, kCell - 16);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(background);
    canvas.FillRect(cell);
    canvas.Brush()->SetStyle(bsClear);
    PaintFrameStyleAround(canvas, cell, fsFlat);
    Label(canvas, Cell(column, 5), name);
    ++column;
    return TRect{cell.Left + 16, cell.Top + 12, cell.Right - 16, cell.Bottom - 12};
  };
  for (int style = 0; style <= 2; ++style) {
    const TRect r = glyphCell(("drop " + std::to_string(style)).c_str());
    PaintDropDownArrow(canvas, r, style, true);
  }
  PaintDropDownArrow(canvas, glyphCell("drop off"), 0, false);
  // Style 2 takes its colour from the theme's scroll arrow, which may be light: shown on a
  // darker face so that it can be seen.
  for (int style : {0, 2}) {
    for (TKxArrowDirection d : {adUp, adDown, adLeft, adRight}) {
      const char* names[] = {"up", "down", "left", "right"};
      const std::string name = std::string(names[d]) + " " + std::to_string(style);
      PaintDirectionArrow(canvas, glyphCell(name.c_str(), style == 2 ? clBtnShadow : clWindow), style, true, d);
    }
  }

  // Row 6: close glyphs, gradient ring, box lines and corners, focus frame, composite borders.
  column = 0;
  const auto row6 = [&](const char* name) {
    const TRect cell = Cell(column, 6, kCell, kCell - 16);
    Label(canvas, Cell(column, 6), name);
    ++column;
    return cell;
  };
  {
    const TRect c = row6("cross");
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clWindow);
    canvas.FillRect(c);
    PaintCloseGlyph(canvas, c, 0, true);
  }
  {
    const TRect c = row6("cross small");
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clWindow);
    canvas.FillRect(c);
    PaintCrossGlyph(canvas, {c.Left + 24, c.Top + 19, c.Left + 34, c.Top + 29}, clBlack);
  }
  PaintGradientRing(canvas, row6("ring"), KxCommon::gdVerticalCenter, 0xC2EEFF, 0x0080FF);
  PaintBoxLines(canvas, row6("box lines"), 0x800000);
  PaintBoxCorners(canvas, row6("corners"), 0x800000, 4);
  PaintFocusFrame(canvas, row6("focus"));
  {
    TKxInnerOuterFrame f;
    f.BorderOuter = fsRaised;
    f.BorderInner = fsLowered;
    f.BorderWidth = 2;
    PaintInnerOuterFrame(canvas, row6("raised+lowered"), f);
  }
  {
    TKxInnerOuterFrame f;
    f.BorderOuter = fsFlatRounded;
    f.FlatColor = 0x800000;
    f.ParentColor = clBtnFace;
    f.Color = clWindow;
    const TRect c = row6("rounded");
    const TRect inside = PaintInnerOuterFrame(canvas, c, f);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clWindow);
    canvas.FillRect(inside);
  }
  {
    const TRect c = row6("edit frame");
    TBitmap edit(c.Width(), c.Height());
    edit.Canvas()->Brush()->SetColor(clWindow);
    edit.Canvas()->FillRect({0, 0, c.Width(), c.Height()});
    PaintControlFrame(*edit.Canvas(), c.Width(), c.Height(), fsLowered, clWindow, clBtnShadow, kAllSides, false);
    canvas.Draw(c.Left, c.Top, &edit);
  }

  bitmap.SaveToFile(output);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::string output = argc > 1 ? WideToUtf8(argv[1]) : "controls_gallery.bmp";
  InitGraphics();
  InitControls();
  InitControlSet();
  Render(output);
  std::printf("%s\n", output.c_str());
  DoneControlSet();
  DoneControls();
  DoneGraphics();
  return 0;
}
