// Tab strip geometry: size rule, row count, placement, rotation, shapes and orientation
// mapping. The tab control's two pure layout routines (ArrangeTabRows, BuildTabShape) live here
// beside the rest of the geometry they belong to.
#include "controls/KxTabGeometry.h"

#include "controls/KxTabs.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TKxTabStyle) {
  static const TEnumInfo info("TKxTabStyle", {"tsSingleSlant", "tsDoubleSlant", "tsCutCorner", "tsRoundCorners",
                                              "tsBackSlant", "tsSquareCorners"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxTabOrientation) {
  static const TEnumInfo info("TKxTabOrientation", {"toTop", "toBottom", "toLeft", "toRight"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxTabSequence) {
  static const TEnumInfo info("TKxTabSequence", {"tsStandard", "tsReverse"});
  return info;
}

int KxTabStyleOverlap(TKxTabStyle style, int x, int tabOverlap) {
  switch (style) {
    case tsSingleSlant:
    case tsBackSlant: return x / 2;
    case tsDoubleSlant: return x;
    case tsSquareCorners: return tabOverlap + 1;
    case tsCutCorner:
    case tsRoundCorners: return tabOverlap;
  }
  return 0;
}

TSize KxTabSize(const TKxTabSizeRule& rule, int cw, int ch) {
  const int c = cw + 2;
  const int d = ch + 2;
  const int h = rule.TabHeight;
  const int cut = rule.CutCornerSize;
  auto o = [&](int x) { return KxTabStyleOverlap(rule.Style, x, rule.TabOverlap); };
  TSize size{};
  switch (rule.Style) {
    case tsSingleSlant:
    case tsBackSlant:
      size = rule.Side ? TSize{cw + 6, 2 * o(cw + 6) + d + h / 2 + 4} : TSize{2 * o(ch + 6) + c + h / 2 + 4, ch + 6};
      break;
    case tsDoubleSlant: size = rule.Side ? TSize{cw + 6, 2 * c + d + h + 4} : TSize{2 * d + c + h + 4, ch + 6}; break;
    case tsCutCorner:
      if (!rule.VerticalText) {
        size = rule.Side ? TSize{cw + cut + 7, ch + 10} : TSize{2 * cut + cw + 8, ch + 7};
      } else {
        size = rule.Side ? TSize{cw + 7, 2 * cut + ch + 8} : TSize{cw + 10, ch + cut + 7};
      }
      break;
    case tsRoundCorners:
    case tsSquareCorners: size = TSize{cw + 6, ch + 6}; break;
  }
  if (rule.TabWidth > 0) size.cx = rule.TabWidth;
  if (rule.TabHeight > 0) size.cy = rule.TabHeight;
  return size;
}

int KxRowTop(int row, int rows, int thickness, int rowOverlap, int rowBase) {
  const int step = thickness - rowOverlap;
  return rowBase + step * (rows - 1) - step * row;
}

int TKxCustomTabControl::ArrangeTabRows(const TKxStripInput& in) {
  // One row unless multi-line; each further row is RowIndent shorter.
  int rows = 1;
  if (!in.MultiLine) return rows;
  const int n = static_cast<int>(in.Lengths.size());
  int x = in.Margin;
  bool rowHasTabs = false;
  for (int i = 0; i < n; ++i) {
    auto rowLength = [&] { return std::max(0, in.Length - (rows - 1) * in.RowIndent); };
    int len = std::max(0, std::min(in.Lengths[static_cast<size_t>(i)], rowLength() - in.LengthCut));
    if (rowHasTabs && !(x + len < rowLength())) {
      ++rows;
      x = in.Margin;
      len = std::max(0, std::min(in.Lengths[static_cast<size_t>(i)], rowLength() - in.LengthCut));
    }
    rowHasTabs = true;
    x += len - in.Overlap + 1;
  }
  return rows;
}

TKxStripLayout KxArrangeTabs(const TKxStripInput& in) {
  TKxStripLayout out;
  const int n = static_cast<int>(in.Lengths.size());
  out.Tabs.resize(static_cast<size_t>(n));
  const int rows = TKxCustomTabControl::ArrangeTabRows(in);
  // Every row then has the one length A, less the indents of the rows above the first.
  const int a = std::max(0, in.Length - (in.MultiLine ? (rows - 1) * in.RowIndent : 0));
  out.RowLength = a;

  // Placing pass: x restarts at each row.
  const bool reverse = in.Sequence == tsReverse;
  int row = 0;
  int x = reverse ? -in.Margin : in.Margin;
  bool rowHasTabs = false;
  for (int i = 0; i < n; ++i) {
    const int len = std::max(0, std::min(in.Lengths[static_cast<size_t>(i)], a - in.LengthCut));
    const int reach = reverse ? -x + len : x + len;
    if (in.MultiLine && rowHasTabs && reach >= a) {
      ++row;
      x = reverse ? -in.Margin : in.Margin;
    }
    rowHasTabs = true;
    out.Tabs[static_cast<size_t>(i)].Row = row;
    out.Tabs[static_cast<size_t>(i)].Rect.Right = len;  // the length for now
    if (!reverse) x += len - in.Overlap + 1;
    else x += in.Overlap - len - 1;
  }
  // A row the count did not foresee (it cannot, with the shorter rows counted) still gets room.
  out.Rows = in.MultiLine ? std::max(rows, row + 1) : 1;
  int currentRow = -1;
  int minLeft = 0;
  for (TKxPlacedTab& t : out.Tabs) {
    const int len = t.Rect.Right;
    if (t.Row != currentRow) {
      currentRow = t.Row;
      x = reverse ? -in.Margin : in.Margin;
    }
    const int y = KxRowTop(t.Row, out.Rows, in.Thickness, in.RowOverlap, in.RowBase);
    if (!reverse) {
      t.Rect = TRect(x, y, x + len, y + in.Thickness);
      x += len - in.Overlap + 1;
    } else {
      t.Rect = TRect(x - len, y, x, y + in.Thickness);
      x += in.Overlap - len - 1;
    }
    minLeft = std::min(minLeft, t.Rect.Left);
  }

  if (in.MultiLine && in.AlignTabs) {
    for (int r = 0; r < out.Rows; ++r) {
      std::vector<TKxPlacedTab*> members;
      for (TKxPlacedTab& t : out.Tabs)
        if (t.Row == r) members.push_back(&t);
      if (members.empty()) continue;
      const int extent = reverse ? members.front()->Rect.Right - members.back()->Rect.Left
                                 : members.back()->Rect.Right - members.front()->Rect.Left;
      const int freeLength = a - extent - in.LengthCut;
      if (freeLength <= 0) continue;
      const int count = static_cast<int>(members.size());
      int shift = 0;
      for (int k = 0; k < count; ++k) {
        const int grow = freeLength / count + (k < freeLength % count ? 1 : 0);
        TRect& rc = members[static_cast<size_t>(k)]->Rect;
        if (!reverse) {
          rc.Left += shift;
          rc.Right += shift + grow;
        } else {
          rc.Right -= shift;
          rc.Left -= shift + grow;
        }
        shift += grow;
        minLeft = std::min(minLeft, rc.Left);
      }
    }
  }

  if (reverse) {
    const int shift = in.MultiLine ? in.ControlLength : -minLeft;
    for (TKxPlacedTab& t : out.Tabs) {
      t.Rect.Left += shift;
      t.Rect.Right += shift;
    }
  }
  return out;
}

void KxRotateRows(std::vector<TKxPlacedTab>& tabs, int activeRow, int rows, int thickness, int rowOverlap,
                  int rowBase) {
  if (rows <= 1) return;
  for (TKxPlacedTab& t : tabs) {
    t.Row = ((t.Row - activeRow) % rows + rows) % rows;
    const int y = KxRowTop(t.Row, rows, thickness, rowOverlap, rowBase);
    t.Rect.Bottom = y + t.Rect.Height();
    t.Rect.Top = y;
  }
}

int KxTabShapePointCount(TKxTabStyle style, bool softCorners) {
  switch (style) {
    case tsSingleSlant: return softCorners ? 6 : 5;
    case tsDoubleSlant: return softCorners ? 6 : 4;
    case tsCutCorner: return 5;
    case tsRoundCorners: return 6;
    case tsBackSlant: return softCorners ? 6 : 5;
    case tsSquareCorners: return 4;
  }
  return 0;
}

std::vector<TPoint> TKxCustomTabControl::BuildTabShape(TKxTabStyle style, bool soft, const TRect& rc, int c) {
  const int l = rc.Left;
  const int t = rc.Top;
  const int r = rc.Right;
  const int b = rc.Bottom;
  const int h = b - t;
  switch (style) {
    case tsSingleSlant:
      if (soft) return {{l, b}, {l, t + 2}, {l + 2, t}, {r - h - 4, t}, {r - h + 2, t + 2}, {r, b}};
      return {{l, b}, {l, t + 2}, {l + 2, t}, {r - h, t}, {r, b}};
    case tsDoubleSlant:
      if (soft) return {{l, b}, {l + h - 2, t + 2}, {l + h + 4, t}, {r - h - 4, t}, {r - h + 2, t + 2}, {r, b}};
      return {{l, b}, {l + h, t}, {r - h, t}, {r, b}};
    case tsCutCorner: return {{l, b}, {l, t}, {r - c, t}, {r, t + c}, {r, b}};
    case tsRoundCorners: return {{l, b}, {l, t + 2}, {l + 2, t}, {r - 2, t}, {r, t + 2}, {r, b}};
    case tsBackSlant:
      if (soft) return {{l, b}, {l + h - 2, t + 2}, {l + h + 4, t}, {r - 2, t}, {r, t + 2}, {r, b}};
      return {{l, b}, {l + h, t}, {r - 2, t}, {r, t + 2}, {r, b}};
    case tsSquareCorners: return {{l, b}, {l, t}, {r, t}, {r, b}};
  }
  return {};
}

TPoint KxMapStripPoint(TKxTabOrientation orientation, TKxTabSequence sequence, const TRect& s, int scroll,
                       TPoint p) {
  const bool reverse = sequence == tsReverse;
  switch (orientation) {
    case toTop: return {(reverse ? s.Right : s.Left) + p.X - scroll, s.Top + p.Y};
    case toBottom: return {(reverse ? s.Right : s.Left) + p.X - scroll, s.Bottom - p.Y};
    case toLeft: return {s.Left + p.Y, (reverse ? s.Top : s.Bottom) + scroll - p.X};
    case toRight: return {s.Right - p.Y, (reverse ? s.Bottom : s.Top) + p.X - scroll};
  }
  return p;
}

TRect KxMapStripRect(TKxTabOrientation orientation, TKxTabSequence sequence, const TRect& strip, int scroll,
                     const TRect& rect) {
  const TPoint a = KxMapStripPoint(orientation, sequence, strip, scroll, {rect.Left, rect.Top});
  const TPoint b = KxMapStripPoint(orientation, sequence, strip, scroll, {rect.Right, rect.Bottom});
  return TRect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

TRect KxStripRect(TKxTabOrientation orientation, int width, int height, int d, bool shortRight) {
  const int right = std::max(0, width - 1);
  const int bottom = std::max(0, height - 1);
  switch (orientation) {
    case toTop: return TRect(0, 0, std::max(0, right - (shortRight ? 2 : 0)), std::min(d, bottom));
    case toBottom: return TRect(0, std::max(0, bottom - d), right, bottom);
    case toLeft: return TRect(0, 0, std::min(d, right), bottom);
    case toRight: return TRect(std::max(0, right - d), 0, right, bottom);
  }
  return TRect();
}
