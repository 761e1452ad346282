// TCustomGrid, TDrawGrid and TStringGrid: geometry, painting of the visible cells, current
// cell and scrolling, keyboard and mouse, the in-place editor (see Grids.h).
#include "toolkit/ui/Grids.h"

#include <algorithm>
#include <vector>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/InplaceEdit.h"

const TEnumInfo& EnumTypeInfo(TGridOption) {
  static const TEnumInfo info(
      "TGridOption", {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                      "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
                      "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TScrollStyle) {
  static const TEnumInfo info("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
  return info;
}

namespace {

// Posted to the grid itself: bring the scroll bars up to date.
constexpr UINT kUpdateScrollBars = WM_USER + 0x300;

// "ColWidths"/"RowHeights" entries: a list of integers, one per column or row.
void ReadSizes(TReader& reader, TCustomGrid& grid, bool columns) {
  reader.ReadListBegin();
  int index = 0;
  while (!reader.EndOfList()) {
    const int size = reader.ReadInteger();
    if (columns) grid.SetColWidths(index, size); else grid.SetRowHeights(index, size);
    ++index;
  }
  reader.ReadListEnd();
}

void WriteSizes(TWriter& writer, TCustomGrid& grid, bool columns) {
  writer.WriteListBegin();
  const int count = columns ? grid.ColCount() : grid.RowCount();
  for (int i = 0; i < count; ++i) writer.WriteInteger(columns ? grid.ColWidths(i) : grid.RowHeights(i));
  writer.WriteListEnd();
}

}  // namespace

const TClassInfo& TCustomGrid::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomGrid>("TCustomGrid", &TCustomControl::StaticClass()).Abstract().Build();
  return info;
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 320, 120);
  SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents});
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  cols_.SetDefaultSize(64);
  rows_.SetDefaultSize(24);
  cols_.SetCount(5);
  rows_.SetCount(5);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  filer.DefineProperty(
      "ColWidths", [this](TReader& r) { ReadSizes(r, *this, true); },
      [this](TWriter& w) { WriteSizes(w, *this, true); }, cols_.HasCustomSizes());
  filer.DefineProperty(
      "RowHeights", [this](TReader& r) { ReadSizes(r, *this, false); },
      [this](TWriter& w) { WriteSizes(w, *this, false); }, rows_.HasCustomSizes());
}

// ---- Shape -------------------------------------------------------------------------------------

void TCustomGrid::SetColCount(int value) {
  value = std::max(value, 1);
  if (value == cols_.Count()) return;
  if (fixedCols_ >= value) fixedCols_ = value - 1;
  cols_.SetCount(value);
  ShapeChanged();
}

void TCustomGrid::SetRowCount(int value) {
  value = std::max(value, 1);
  if (value == rows_.Count()) return;
  const int oldCount = rows_.Count();
  if (fixedRows_ >= value) fixedRows_ = value - 1;
  // Rows added below the visible ones change only the scroll bar (the live grid grows by
  // one row per sample).
  const bool belowView = value > oldCount && oldCount - 1 > LastVisibleRow();
  rows_.SetCount(value);
  if (belowView) {
    // Setting a scroll bar redraws it; appends in a row share one update.
    if (HandleAllocated() && !scrollBarsPending_) {
      scrollBarsPending_ = true;
      PostMessageW(Handle(), kUpdateScrollBars, 0, 0);
    }
    return;
  }
  ShapeChanged();
}

void TCustomGrid::ShapeChanged() {
  ClampCurrent();
  UpdateScrollBars();
  UpdateEditorBounds();
  Invalidate();
}

void TCustomGrid::SetFixedCols(int value) {
  value = std::max(value, 0);
  if (value >= cols_.Count() && !ComponentState().Contains(csLoading))
    throw EInvalidGridOperation("Fixed column count must be less than column count");
  if (value == fixedCols_) return;
  fixedCols_ = value;
  // The view and the current cell start again at the first scrollable column.
  HideEditor();
  topLeft_.X = current_.X = value;
  ShapeChanged();
}

void TCustomGrid::SetFixedRows(int value) {
  value = std::max(value, 0);
  if (value >= rows_.Count() && !ComponentState().Contains(csLoading))
    throw EInvalidGridOperation("Fixed row count must be less than row count");
  if (value == fixedRows_) return;
  fixedRows_ = value;
  HideEditor();
  topLeft_.Y = current_.Y = value;
  ShapeChanged();
}

void TCustomGrid::Loaded() {
  TCustomControl::Loaded();
  fixedCols_ = std::min(fixedCols_, cols_.Count() - 1);
  fixedRows_ = std::min(fixedRows_, rows_.Count() - 1);
  ShapeChanged();
}

void TCustomGrid::SetDefaultColWidth(int value) {
  cols_.SetDefaultSize(value);
  ShapeChanged();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
  rows_.SetDefaultSize(value);
  ShapeChanged();
}

void TCustomGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= cols_.Count() || cols_.Size(col) == std::max(width, 0)) return;
  cols_.SetSize(col, width);
  ShapeChanged();
}

void TCustomGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= rows_.Count() || rows_.Size(row) == std::max(height, 0)) return;
  rows_.SetSize(row, height);
  ShapeChanged();
}

void TCustomGrid::SetGridLineWidth(int value) {
  value = std::max(value, 0);
  if (value == gridLineWidth_) return;
  gridLineWidth_ = value;
  ShapeChanged();
}

void TCustomGrid::SetOptions(TGridOptions value) {
  if (value == options_) return;
  options_ = value;
  if (!CanEditShow()) HideEditor();
  if (options_.Contains(goAlwaysShowEditor) && CanEditShow() && IsActiveControl()) ShowEditor();
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor value) {
  if (value == fixedColor_) return;
  fixedColor_ = value;
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool value) {
  if (value == defaultDrawing_) return;
  defaultDrawing_ = value;
  Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  if (HandleAllocated()) RecreateWnd();
}

// ---- Geometry ----------------------------------------------------------------------------------

std::int64_t TCustomGrid::ColStart(int col) {
  if (col < fixedCols_) return cols_.Span(0, col, gridLineWidth_);
  const std::int64_t fixedSpan = cols_.Span(0, fixedCols_, gridLineWidth_);
  if (col >= topLeft_.X) return fixedSpan + cols_.Span(topLeft_.X, col, gridLineWidth_);
  return fixedSpan - cols_.Span(col, topLeft_.X, gridLineWidth_);
}

std::int64_t TCustomGrid::RowStart(int row) {
  if (row < fixedRows_) return rows_.Span(0, row, gridLineWidth_);
  const std::int64_t fixedSpan = rows_.Span(0, fixedRows_, gridLineWidth_);
  if (row >= topLeft_.Y) return fixedSpan + rows_.Span(topLeft_.Y, row, gridLineWidth_);
  return fixedSpan - rows_.Span(row, topLeft_.Y, gridLineWidth_);
}

TRect TCustomGrid::ClientArea() {
  if (HandleAllocated()) {
    RECT r{};
    GetClientRect(Handle(), &r);
    return r;
  }
  // Before the window exists: the bounds less the sunken border.
  return Rect(0, 0, std::max(0, Width() - 4), std::max(0, Height() - 4));
}

int TCustomGrid::LastVisibleRow() {
  const std::int64_t avail = ClientArea().Height() - rows_.Span(0, fixedRows_, gridLineWidth_);
  const int k = rows_.IndexAt(topLeft_.Y, std::max<std::int64_t>(avail - 1, 0), gridLineWidth_);
  return k < 0 ? rows_.Count() - 1 : k;
}

TRect TCustomGrid::CellRect(int col, int row) {
  if (col < 0 || col >= cols_.Count() || row < 0 || row >= rows_.Count()) return {};
  if ((col >= fixedCols_ && col < topLeft_.X) || (row >= fixedRows_ && row < topLeft_.Y)) return {};
  const TRect client = ClientArea();
  const std::int64_t left = ColStart(col);
  const std::int64_t top = RowStart(row);
  if (left >= client.Right || top >= client.Bottom) return {};
  return Bounds(static_cast<int>(left), static_cast<int>(top), cols_.Size(col), rows_.Size(row));
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) {
  const std::int64_t fixedWidth = cols_.Span(0, fixedCols_, gridLineWidth_);
  const std::int64_t fixedHeight = rows_.Span(0, fixedRows_, gridLineWidth_);
  const int col = x < fixedWidth ? cols_.IndexAt(0, x, gridLineWidth_)
                                 : cols_.IndexAt(topLeft_.X, x - fixedWidth, gridLineWidth_);
  const int row = y < fixedHeight ? rows_.IndexAt(0, y, gridLineWidth_)
                                  : rows_.IndexAt(topLeft_.Y, y - fixedHeight, gridLineWidth_);
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) {
  const TGridCoord cell = MouseCoord(x, y);
  col = cell.X;
  row = cell.Y;
}

namespace {

// Indexes from `first` that fit fully into `avail` pixels.
int FullyVisible(const TGridAxis& axis, int first, std::int64_t avail, int lineWidth) {
  if (first >= axis.Count() || avail <= 0) return 0;
  const int k = axis.IndexAt(first, avail, lineWidth);
  if (k < 0) {
    // Everything from `first` lies inside; the last one may still be cut by the edge.
    int n = axis.Count() - first;
    while (n > 0 && axis.Span(first, first + n, lineWidth) - lineWidth > avail) --n;
    return n;
  }
  return k - first;
}

// The smallest start index from which indexes up to the last one fit into `avail`.
int MaxStart(const TGridAxis& axis, int fixed, std::int64_t avail, int lineWidth) {
  const int count = axis.Count();
  if (count <= fixed) return fixed;
  int lo = fixed, hi = count - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (axis.Span(mid, count, lineWidth) - lineWidth <= avail) hi = mid; else lo = mid + 1;
  }
  return lo;
}

}  // namespace

int TCustomGrid::VisibleRowCount() {
  const std::int64_t avail = ClientArea().Height() - rows_.Span(0, fixedRows_, gridLineWidth_);
  return FullyVisible(rows_, topLeft_.Y, avail, gridLineWidth_);
}

int TCustomGrid::VisibleColCount() {
  const std::int64_t avail = ClientArea().Width() - cols_.Span(0, fixedCols_, gridLineWidth_);
  return FullyVisible(cols_, topLeft_.X, avail, gridLineWidth_);
}

int TCustomGrid::MaxTopRow() {
  const std::int64_t avail = ClientArea().Height() - rows_.Span(0, fixedRows_, gridLineWidth_);
  return MaxStart(rows_, fixedRows_, avail, gridLineWidth_);
}

int TCustomGrid::MaxLeftCol() {
  const std::int64_t avail = ClientArea().Width() - cols_.Span(0, fixedCols_, gridLineWidth_);
  return MaxStart(cols_, fixedCols_, avail, gridLineWidth_);
}

void TCustomGrid::InvalidateCell(int col, int row) {
  if (!HandleAllocated()) return;
  TRect r = CellRect(col, row);
  if (r.IsEmpty()) return;
  r.Right += gridLineWidth_;
  r.Bottom += gridLineWidth_;
  const RECT rect = r;
  InvalidateRect(Handle(), &rect, FALSE);
}

void TCustomGrid::InvalidateRow(int row) {
  if (!HandleAllocated()) return;
  const TRect first = CellRect(fixedCols_ > 0 ? 0 : topLeft_.X, row);
  if (first.IsEmpty()) return;
  const RECT rect{0, first.Top, ClientArea().Right, first.Bottom + gridLineWidth_};
  InvalidateRect(Handle(), &rect, FALSE);
}

// ---- Current cell and scrolling ----------------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
  if (options_.Contains(goRowSelect)) return {fixedCols_, current_.Y, cols_.Count() - 1, current_.Y};
  return {current_.X, current_.Y, current_.X, current_.Y};
}

void TCustomGrid::ClampCurrent() {
  const int oldCol = current_.X, oldRow = current_.Y;
  current_.X = std::clamp(current_.X, fixedCols_, cols_.Count() - 1);
  current_.Y = std::clamp(current_.Y, fixedRows_, rows_.Count() - 1);
  if ((oldCol != current_.X || oldRow != current_.Y) && editorMode_) HideEditor();
  const int left = std::clamp(topLeft_.X, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
  const int top = std::clamp(topLeft_.Y, fixedRows_, std::max(fixedRows_, MaxTopRow()));
  if (left != topLeft_.X || top != topLeft_.Y) {
    topLeft_ = {left, top};
    TopLeftChanged();
  }
}

bool TCustomGrid::SelectCell(int col, int row) {
  bool canSelect = true;
  OnSelectCell(this, col, row, canSelect);
  return canSelect;
}

void TCustomGrid::FocusCell(int col, int row) {
  col = std::clamp(col, fixedCols_, cols_.Count() - 1);
  row = std::clamp(row, fixedRows_, rows_.Count() - 1);
  if (col == current_.X && row == current_.Y) {
    MakeVisible(col, row);
    return;
  }
  // A refused cell leaves everything as it was.
  if (!SelectCell(col, row)) return;
  HideEditor();
  const TGridCoord old = current_;
  current_ = {col, row};
  if (options_.Contains(goRowSelect)) {
    InvalidateRow(old.Y);
    InvalidateRow(row);
  } else {
    InvalidateCell(old.X, old.Y);
    InvalidateCell(col, row);
  }
  MakeVisible(col, row);
  if (options_.Contains(goAlwaysShowEditor) && IsActiveControl()) ShowEditor();
}

void TCustomGrid::MakeVisible(int col, int row) {
  int left = topLeft_.X, top = topLeft_.Y;
  if (row >= fixedRows_) {
    const std::int64_t avail = ClientArea().Height() - rows_.Span(0, fixedRows_, gridLineWidth_);
    if (row < top) {
      top = row;
    } else if (row >= top + std::max(1, FullyVisible(rows_, top, avail, gridLineWidth_))) {
      top = row;
      while (top > fixedRows_ && rows_.Span(top - 1, row + 1, gridLineWidth_) - gridLineWidth_ <= avail) --top;
    }
  }
  if (col >= fixedCols_) {
    const std::int64_t avail = ClientArea().Width() - cols_.Span(0, fixedCols_, gridLineWidth_);
    if (col < left) {
      left = col;
    } else if (col >= left + std::max(1, FullyVisible(cols_, left, avail, gridLineWidth_))) {
      left = col;
      while (left > fixedCols_ && cols_.Span(left - 1, col + 1, gridLineWidth_) - gridLineWidth_ <= avail) --left;
    }
  }
  ScrollTo(left, top);
}

void TCustomGrid::ScrollTo(int leftCol, int topRow) {
  leftCol = std::clamp(leftCol, fixedCols_, std::max(fixedCols_, MaxLeftCol()));
  topRow = std::clamp(topRow, fixedRows_, std::max(fixedRows_, MaxTopRow()));
  if (leftCol == topLeft_.X && topRow == topLeft_.Y) return;
  topLeft_ = {leftCol, topRow};
  Invalidate();
  UpdateScrollBars();
  UpdateEditorBounds();
  TopLeftChanged();
}

void TCustomGrid::UpdateScrollBars() {
  if (!HandleAllocated() || updatingScrollBars_) return;
  updatingScrollBars_ = true;
  // Showing or hiding a bar resizes the client area, which can change the other bar; a bar
  // is set only when its values changed (setting one redraws it).
  for (int pass = 0; pass < 2; ++pass) {
    const TRect before = ClientArea();
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
      SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
      const int scrollable = rows_.Count() - fixedRows_;
      const bool needed = MaxTopRow() > fixedRows_;
      si.nMax = needed ? scrollable - 1 : 0;
      si.nPage = needed ? static_cast<UINT>(std::max(1, VisibleRowCount())) : 0;
      si.nPos = topLeft_.Y - fixedRows_;
      if (si.nMax != vertBar_.nMax || si.nPage != vertBar_.nPage || si.nPos != vertBar_.nPos) {
        vertBar_ = si;
        SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
      }
    }
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
      SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
      const int scrollable = cols_.Count() - fixedCols_;
      const bool needed = MaxLeftCol() > fixedCols_;
      si.nMax = needed ? scrollable - 1 : 0;
      si.nPage = needed ? static_cast<UINT>(std::max(1, VisibleColCount())) : 0;
      si.nPos = topLeft_.X - fixedCols_;
      if (si.nMax != horzBar_.nMax || si.nPage != horzBar_.nPage || si.nPos != horzBar_.nPos) {
        horzBar_ = si;
        SetScrollInfo(Handle(), SB_HORZ, &si, TRUE);
      }
    }
    if (ClientArea() == before) break;
  }
  updatingScrollBars_ = false;
}

void TCustomGrid::ScrollMessage(TMessage& message, bool vertical) {
  const int bar = vertical ? SB_VERT : SB_HORZ;
  const int fixed = vertical ? fixedRows_ : fixedCols_;
  const int pos = vertical ? topLeft_.Y : topLeft_.X;
  const int page = std::max(1, vertical ? VisibleRowCount() : VisibleColCount());
  int target = pos;
  switch (LOWORD(message.WParam)) {
    case SB_LINEUP: target = pos - 1; break;
    case SB_LINEDOWN: target = pos + 1; break;
    case SB_PAGEUP: target = pos - page; break;
    case SB_PAGEDOWN: target = pos + page; break;
    case SB_TOP: target = fixed; break;
    case SB_BOTTOM: target = vertical ? rows_.Count() : cols_.Count(); break;
    case SB_THUMBTRACK:
      if (!options_.Contains(goThumbTracking)) return;
      [[fallthrough]];
    case SB_THUMBPOSITION: {
      // The 32-bit track position (the message carries only 16 bits).
      SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(Handle(), bar, &si);
      target = fixed + si.nTrackPos;
      break;
    }
    default: return;
  }
  if (vertical) ScrollTo(topLeft_.X, target); else ScrollTo(target, topLeft_.Y);
  message.Result = 0;
}

// ---- Window ------------------------------------------------------------------------------------

void TCustomGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_TABSTOP;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGrid::CreateWnd() {
  vertBar_ = SCROLLINFO{};
  horzBar_ = SCROLLINFO{};
  vertBar_.nMax = horzBar_.nMax = -1;
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TCustomGrid::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (options_.Contains(goTabs)) message.Result |= DLGC_WANTTAB;
      if (options_.Contains(goEditing)) message.Result |= DLGC_WANTALLKEYS;
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (message.LParam == 0) {
        ScrollMessage(message, message.Msg == WM_VSCROLL);
        return;
      }
      break;
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<short>(HIWORD(message.WParam));
      ScrollTo(topLeft_.X, topLeft_.Y - delta / WHEEL_DELTA * 3);
      message.Result = 0;
      return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(message);
      if (options_.Contains(goRowSelect)) InvalidateRow(current_.Y); else InvalidateCell(current_.X, current_.Y);
      if (message.Msg == WM_SETFOCUS && options_.Contains(goAlwaysShowEditor) && !editorMode_) ShowEditor();
      return;
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case kUpdateScrollBars:
      scrollBarsPending_ = false;
      UpdateScrollBars();
      return;
    default: break;
  }
  TCustomControl::WndProc(message);
}

void TCustomGrid::Resize() {
  if (HandleAllocated()) {
    UpdateScrollBars();
    ScrollTo(topLeft_.X, topLeft_.Y);
    UpdateEditorBounds();
  }
  TCustomControl::Resize();
}

// ---- Painting ----------------------------------------------------------------------------------

void TCustomGrid::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientArea();
  const TRect clip = canvas->ClipRect();
  const int line = gridLineWidth_;

  // Visible columns and rows with their offsets: fixed first, then from the top-left cell.
  struct Span {
    int index;
    int start;
  };
  std::vector<Span> cols, rows;
  int x = 0;
  for (int c = 0; c < fixedCols_ && x < client.Right; ++c) {
    cols.push_back({c, x});
    x += cols_.Size(c) + line;
  }
  for (int c = topLeft_.X; c < cols_.Count() && x < client.Right; ++c) {
    cols.push_back({c, x});
    x += cols_.Size(c) + line;
  }
  int y = 0;
  for (int r = 0; r < fixedRows_ && y < client.Bottom; ++r) {
    rows.push_back({r, y});
    y += rows_.Size(r) + line;
  }
  for (int r = topLeft_.Y; r < rows_.Count() && y < client.Bottom; ++r) {
    rows.push_back({r, y});
    y += rows_.Size(r) + line;
  }
  const int usedRight = x, usedBottom = y;

  const bool focused = Focused();
  const TGridRect selection = Selection();
  const bool editorShown = editorMode_ && editor_ != nullptr && editor_->Visible();
  for (const Span& rs : rows) {
    const int h = rows_.Size(rs.index);
    if (rs.start >= clip.Bottom || rs.start + h + line <= clip.Top) continue;
    for (const Span& cs : cols) {
      const int w = cols_.Size(cs.index);
      if (cs.start >= clip.Right || cs.start + w + line <= clip.Left) continue;
      const TRect cell = Bounds(cs.start, rs.start, w, h);
      // Grid lines right of and below the cell.
      const bool fixedCell = cs.index < fixedCols_ || rs.index < fixedRows_;
      const bool vert = fixedCell ? options_.Contains(goFixedVertLine) : options_.Contains(goVertLine);
      const bool horz = fixedCell ? options_.Contains(goFixedHorzLine) : options_.Contains(goHorzLine);
      if (line > 0) {
        canvas->Brush()->SetColor(vert || horz ? (fixedCell ? clBtnShadow : clSilver) : Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(Rect(cell.Right, cell.Top, cell.Right + line, cell.Bottom + line));
        canvas->FillRect(Rect(cell.Left, cell.Bottom, cell.Right + line, cell.Bottom + line));
        if (!vert) {
          canvas->Brush()->SetColor(fixedCell ? fixedColor_ : Color());
          canvas->FillRect(Rect(cell.Right, cell.Top, cell.Right + line, cell.Bottom));
        }
        if (!horz) {
          canvas->Brush()->SetColor(fixedCell ? fixedColor_ : Color());
          canvas->FillRect(Rect(cell.Left, cell.Bottom, cell.Right, cell.Bottom + line));
        }
      }
      if (cell.IsEmpty()) continue;
      TGridDrawState state;
      if (fixedCell) state.Include(gdFixed);
      const bool isCurrent = cs.index == current_.X && rs.index == current_.Y;
      if (!fixedCell && focused && isCurrent) state.Include(gdFocused);
      if (!fixedCell && selection.Contains(cs.index, rs.index)) state.Include(gdSelected);
      // The editor covers the current cell while it is shown.
      if (isCurrent && editorShown) continue;
      if (defaultDrawing_) {
        canvas->SetFont(Font());
        canvas->Brush()->SetStyle(bsSolid);
        if (state.Contains(gdSelected) &&
            (!state.Contains(gdFocused) || options_.Contains(goDrawFocusSelected) || options_.Contains(goRowSelect))) {
          canvas->Brush()->SetColor(clHighlight);
          canvas->Font()->SetColor(clHighlightText);
        } else {
          canvas->Brush()->SetColor(fixedCell ? fixedColor_ : Color());
        }
        canvas->FillRect(cell);
      }
      DrawCell(cs.index, rs.index, cell, state);
      if (defaultDrawing_ && fixedCell) {
        RECT r = cell;
        DrawEdge(canvas->Handle(), &r, BDR_RAISEDINNER, BF_RECT);
      }
      if (defaultDrawing_ && state.Contains(gdFocused) && !options_.Contains(goRowSelect) &&
          !(options_.Contains(goEditing) && options_.Contains(goAlwaysShowEditor))) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->DrawFocusRect(cell);
      }
    }
  }
  // The area right of the last column and below the last row.
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  if (usedRight < client.Right) canvas->FillRect(Rect(usedRight, 0, client.Right, client.Bottom));
  if (usedBottom < client.Bottom) canvas->FillRect(Rect(0, usedBottom, std::min(usedRight, client.Right), client.Bottom));
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  OnDrawCell(this, col, row, rect, state);
}

// ---- Input -------------------------------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && !shift.Contains(ssDouble)) {
    if (CanFocus() && !Focused()) SetFocus();
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
      if (cell.X == current_.X && cell.Y == current_.Y) {
        if (options_.Contains(goEditing) && IsActiveControl()) ShowEditor();
      } else {
        FocusCell(cell.X, cell.Y);
      }
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) return;
  const bool ctrl = shift.Contains(ssCtrl);
  int col = current_.X, row = current_.Y;
  const int page = std::max(1, VisibleRowCount());
  switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT: --col; break;
    case VK_RIGHT: ++col; break;
    case VK_PRIOR: row -= page; break;
    case VK_NEXT: row += page; break;
    case VK_HOME: if (ctrl) row = fixedRows_; else col = fixedCols_; break;
    case VK_END: if (ctrl) row = rows_.Count() - 1; else col = cols_.Count() - 1; break;
    case VK_TAB:
      if (!options_.Contains(goTabs)) return;
      if (shift.Contains(ssShift)) {
        if (--col < fixedCols_) { col = cols_.Count() - 1; --row; }
      } else if (++col >= cols_.Count()) {
        col = fixedCols_;
        ++row;
      }
      break;
    case VK_F2:
    case VK_RETURN:
      if (options_.Contains(goEditing)) ShowEditor();
      key = 0;
      return;
    default: return;
  }
  if (options_.Contains(goRowSelect)) col = current_.X;
  FocusCell(col, row);
  key = 0;
}

void TCustomGrid::KeyPress(wchar_t& key) {
  TCustomControl::KeyPress(key);
  if (key < 32 || !options_.Contains(goEditing) || !CanEditShow()) return;
  // A typed character starts editing with that character in place of the text.
  ShowEditor();
  if (editor_ != nullptr && editorMode_) {
    editor_->SelectAll();
    SendMessageW(editor_->Handle(), WM_CHAR, key, 0);
  }
  key = 0;
}

// ---- In-place editing --------------------------------------------------------------------------

bool TCustomGrid::IsActiveControl() {
  if (Focused()) return true;
  // The form's focused control, also while the program's window is not the active one.
  TCustomForm* form = GetParentForm(this);
  return form != nullptr && form->ActiveControl() == this;
}

bool TCustomGrid::CanEditShow() {
  return options_.Contains(goEditing) && !options_.Contains(goRowSelect) && current_.X >= fixedCols_ &&
         current_.Y >= fixedRows_ && HandleAllocated() && !ComponentState().Contains(csDesigning);
}

std::string TCustomGrid::GetEditText(int col, int row) {
  std::string text;
  OnGetEditText(this, col, row, text);
  return text;
}

void TCustomGrid::SetEditText(int col, int row, const std::string& value) { OnSetEditText(this, col, row, value); }

void TCustomGrid::SetEditorMode(bool value) {
  if (value) ShowEditor(); else HideEditor();
}

void TCustomGrid::ShowEditor() {
  if (!CanEditShow()) return;
  MakeVisible(current_.X, current_.Y);
  if (editor_ == nullptr) {
    editor_ = new TInplaceEdit(this);
    editor_->SetParent(this);
  }
  editorMode_ = true;
  textBeforeEdit_ = GetEditText(current_.X, current_.Y);
  editor_->SetTextQuietly(textBeforeEdit_);
  UpdateEditorBounds();
  editor_->Show();
  InvalidateCell(current_.X, current_.Y);
  if (IsActiveControl() || editor_->Focused()) editor_->SetFocus();
  editor_->SelectAll();
}

void TCustomGrid::HideEditor() {
  if (!editorMode_) return;
  editorMode_ = false;
  if (editor_ != nullptr) {
    const bool hadFocus = editor_->HandleAllocated() && GetFocus() == editor_->Handle();
    if (hadFocus && CanFocus()) SetFocus();
    editor_->Hide();
  }
  InvalidateCell(current_.X, current_.Y);
}

void TCustomGrid::UpdateEditorBounds() {
  if (editor_ == nullptr || !editorMode_) return;
  const TRect cell = CellRect(current_.X, current_.Y);
  if (cell.IsEmpty()) {
    editor_->SetBounds(-cell.Width() - 10, 0, 0, 0);
    return;
  }
  editor_->SetBounds(cell.Left, cell.Top, cell.Width(), cell.Height());
}

void TCustomGrid::EditorChanged(const std::string& text) {
  if (editorMode_) SetEditText(current_.X, current_.Y, text);
}

void TCustomGrid::EditorKeyDown(WORD& key, TShiftState shift) {
  switch (key) {
    case VK_ESCAPE:
      SetEditText(current_.X, current_.Y, textBeforeEdit_);
      HideEditor();
      key = 0;
      return;
    case VK_RETURN:
      HideEditor();
      key = 0;
      return;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_TAB:
      if (key == VK_TAB && !options_.Contains(goTabs)) return;
      HideEditor();
      KeyDown(key, shift);
      key = 0;
      return;
    default: return;
  }
}

// ---- TDrawGrid and TStringGrid -----------------------------------------------------------------

const TClassInfo& TDrawGrid::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TDrawGrid>("TDrawGrid", &TCustomGrid::StaticClass())
          .Property("ColCount", &TCustomGrid::ColCount, [](TCustomGrid& g, int v) { g.SetColCount(v); })
          .Default(5)
          .Property("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth)
          .Default(64)
          .Property("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing)
          .Default(true)
          .Property("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight)
          .Default(24)
          .Property("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols)
          .Default(1)
          .Property("RowCount", &TCustomGrid::RowCount, [](TCustomGrid& g, int v) { g.SetRowCount(v); })
          .Default(5)
          .Property("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows)
          .Default(1)
          .Property("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth)
          .Default(1)
          .Property("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions)
          .Default(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect})
          .Property("ScrollBars", &TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars)
          .Default(ssBoth)
          .Property("OnDrawCell", [](TCustomGrid& g) { return g.OnDrawCell; },
                    [](TCustomGrid& g, TDrawCellEvent e) { g.OnDrawCell = e; })
          .Property("OnGetEditText", [](TCustomGrid& g) { return g.OnGetEditText; },
                    [](TCustomGrid& g, TGetEditEvent e) { g.OnGetEditText = e; })
          .Property("OnSelectCell", [](TCustomGrid& g) { return g.OnSelectCell; },
                    [](TCustomGrid& g, TSelectCellEvent e) { g.OnSelectCell = e; })
          .Property("OnSetEditText", [](TCustomGrid& g) { return g.OnSetEditText; },
                    [](TCustomGrid& g, TSetEditEvent e) { g.OnSetEditText = e; })
          .Property("OnTopLeftChanged", [](TCustomGrid& g) { return g.OnTopLeftChanged; },
                    [](TCustomGrid& g, TNotifyEvent e) { g.OnTopLeftChanged = e; })
          .Build();
  return info;
}

const TClassInfo& TStringGrid::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStringGrid>("TStringGrid", &TDrawGrid::StaticClass()).Build();
  return info;
}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) { cells_.SetSize(ColCount(), RowCount()); }

void TStringGrid::SetColCount(int value) {
  TDrawGrid::SetColCount(value);
  cells_.SetSize(ColCount(), RowCount());
}

void TStringGrid::SetRowCount(int value) {
  TDrawGrid::SetRowCount(value);
  cells_.SetSize(ColCount(), RowCount());
}

void TStringGrid::SetCells(int col, int row, std::string_view text) {
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return;
  if (cells_.Cell(col, row) == text) return;
  cells_.SetCell(col, row, text);
  InvalidateCell(col, row);
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  if (DefaultDrawing()) {
    const std::string_view text = cells_.Cell(col, row);
    if (!text.empty()) Canvas()->TextRect(rect, rect.Left + 2, rect.Top + 2, text);
  }
  TDrawGrid::DrawCell(col, row, rect, state);
}

std::string TStringGrid::GetEditText(int col, int row) {
  std::string text = Cells(col, row);
  OnGetEditText(this, col, row, text);
  return text;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
  SetCells(col, row, value);
  TDrawGrid::SetEditText(col, row, value);
}
