// Geometry of the tab strip as functions of plain numbers: the tab size rule per style, the
// style overlap, the row count and placement of tabs in strip coordinates, row rotation, tab
// polygons and the mapping of strip points onto the four edges of a control. The tab control
// (KxTabs) measures captions and feeds the numbers in; nothing here touches a font or a window.
// The row count and the tab polygon are the control's static ArrangeTabRows and BuildTabShape.
//
// Strip coordinates: tabs run along x from the margin, rows stack along y; a tab's tip is at
// small y, its base (next to the card) at large y. Row 0 is the row next to the card.
#pragma once

#include <vector>

#include "toolkit/graphics/Types.h"

class TEnumInfo;

enum TKxTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners, tsBackSlant, tsSquareCorners };
enum TKxTabOrientation { toTop, toBottom, toLeft, toRight };
enum TKxTabSequence { tsStandard, tsReverse };
const TEnumInfo& EnumTypeInfo(TKxTabStyle);
const TEnumInfo& EnumTypeInfo(TKxTabOrientation);
const TEnumInfo& EnumTypeInfo(TKxTabSequence);

// How far a tab of `style` reaches under the next one, for a strip thickness (or content
// size) x.
int KxTabStyleOverlap(TKxTabStyle style, int x, int tabOverlap);

// Inputs of the size rule of one tab.
struct TKxTabSizeRule {
  TKxTabStyle Style = tsSingleSlant;
  bool Side = false;          // toLeft or toRight
  bool VerticalText = false;  // captions turned 90 degrees
  int TabWidth = 0;           // fixed sizes, 0 = measured
  int TabHeight = 0;
  int CutCornerSize = 6;
  int TabOverlap = -1;
};

// The tab's (w, h) from its content size (cw, ch); fixed TabWidth/TabHeight replace w/h.
TSize KxTabSize(const TKxTabSizeRule& rule, int cw, int ch);

// Inputs of the placement of the visible tabs of one strip.
struct TKxStripInput {
  std::vector<int> Lengths;   // each tab's length along the strip, in tab order
  int Thickness = 0;          // T
  int Overlap = 0;            // O(T)
  int Margin = 0;
  int Length = 0;             // A: the strip's usable length (less margins and buttons)
  int LengthCut = 0;          // 4 for round and square corners: tabs are cut to A - LengthCut
  bool MultiLine = false;
  int RowIndent = 5;
  int RowOverlap = 5;
  int RowBase = 0;            // e: 3 for round and square corners
  TKxTabSequence Sequence = tsStandard;
  int ControlLength = 0;      // reverse multi-line rows are shifted right by this
  bool AlignTabs = false;     // stretch every multi-line row to the full length
};

struct TKxPlacedTab {
  TRect Rect;  // strip coordinates
  int Row = 0;
};

struct TKxStripLayout {
  std::vector<TKxPlacedTab> Tabs;
  int Rows = 1;
  int RowLength = 0;  // A, the length of every row: Length less the indents of the extra rows
};

// Counts the rows (TKxCustomTabControl::ArrangeTabRows) and places every tab. A tab keeps the row it was given
// while counting; each row r offers Length - r * RowIndent; no tab is longer than its row
// (never negative).
TKxStripLayout KxArrangeTabs(const TKxStripInput& input);

// The y (top) of row `row` of `rows` for thickness T.
int KxRowTop(int row, int rows, int thickness, int rowOverlap, int rowBase);

// Turns the rows so that `activeRow` becomes row 0: row r becomes (r - activeRow) mod rows
// (never negative); each tab takes the y of its new row.
void KxRotateRows(std::vector<TKxPlacedTab>& tabs, int activeRow, int rows, int thickness, int rowOverlap,
                  int rowBase);

// Number of polygon points a style (and SoftCorners) gives.
int KxTabShapePointCount(TKxTabStyle style, bool softCorners);

// Maps a strip point to client coordinates; `strip` is the strip rectangle S (client pixels,
// inclusive right/bottom), `scroll` the scroll offset s.
TPoint KxMapStripPoint(TKxTabOrientation orientation, TKxTabSequence sequence, const TRect& strip, int scroll,
                       TPoint point);
// Maps and normalises a strip rectangle.
TRect KxMapStripRect(TKxTabOrientation orientation, TKxTabSequence sequence, const TRect& strip, int scroll,
                     const TRect& rect);

// The strip band S of thickness D along the orientation's edge of a width x height client
// (pixels 0..width-1, 0..height-1). `shortRight` ends a top strip 2 pixels short of the right
// edge (the shadow's room).
TRect KxStripRect(TKxTabOrientation orientation, int width, int height, int thickness, bool shortRight);
