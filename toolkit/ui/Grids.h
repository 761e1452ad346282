// The grids: TCustomGrid (a self-drawn window of cells in columns and rows, some fixed at the
// top and left, one current cell, scrolling by whole columns and rows, owner drawing and an
// in-place editor), TDrawGrid (publishes it) and TStringGrid (adds a text per cell, kept in
// the compact TGridCellStore). Only the cells that intersect the client area are drawn, so
// painting costs the same for 20 rows or 100,000.
//
// Current cell (Col, Row) state machine:
//   idle --click/arrow key--> SelectCell(col, row) --true--> current cell moves (old and new
//   cells repainted, scrolled into view, editor hidden unless goAlwaysShowEditor)
//                                                  --false--> nothing changes (refused)
//   current cell --F2 / Enter / click on it / typed character (goEditing)--> editing
//   editing --Enter / focus moves / current cell moves--> idle (text already in the cell)
//   editing --Esc--> idle with the text from before editing
// Invariant: the current cell is never fixed while there are scrollable cells, and the
// editor is shown only over the current cell.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/GridAxis.h"
#include "toolkit/ui/GridCells.h"

class TEnumInfo;
class TInplaceEdit;

VK_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
  goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
  goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;
enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
const TEnumInfo& EnumTypeInfo(TGridOption);
const TEnumInfo& EnumTypeInfo(TScrollStyle);

struct TGridCoord {
  int X = 0;
  int Y = 0;
  constexpr bool operator==(const TGridCoord&) const = default;
};
// A block of cells, inclusive on all sides.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr bool Contains(int col, int row) const {
    return col >= Left && col <= Right && row >= Top && row <= Bottom;
  }
  constexpr bool operator==(const TGridRect&) const = default;
};

using TDrawCellEvent = TMethodEvent<TObject*, int, int, TRect, TGridDrawState>;
using TSelectCellEvent = TMethodEvent<TObject*, int, int, bool&>;
using TGetEditEvent = TMethodEvent<TObject*, int, int, std::string&>;
using TSetEditEvent = TMethodEvent<TObject*, int, int, const std::string&>;

class TCustomGrid : public TCustomControl {
 public:
  explicit TCustomGrid(TComponent* owner);
  ~TCustomGrid() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- Shape -----------------------------------------------------------------------------
  int ColCount() const { return cols_.Count(); }
  virtual void SetColCount(int value);
  int RowCount() const { return rows_.Count(); }
  virtual void SetRowCount(int value);
  int FixedCols() const { return fixedCols_; }
  // EInvalidGridOperation "Fixed column count must be less than column count" when not below.
  void SetFixedCols(int value);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int value);
  int DefaultColWidth() const { return cols_.DefaultSize(); }
  void SetDefaultColWidth(int value);
  int DefaultRowHeight() const { return rows_.DefaultSize(); }
  void SetDefaultRowHeight(int value);
  int ColWidths(int col) const { return cols_.Size(col); }
  void SetColWidths(int col, int width);
  int RowHeights(int row) const { return rows_.Size(row); }
  void SetRowHeights(int row, int height);
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int value);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions value);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor value);
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool value);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);

  // ---- Current cell, selection and scrolling -------------------------------------------
  int Col() const { return current_.X; }
  void SetCol(int value) { FocusCell(value, current_.Y); }
  int Row() const { return current_.Y; }
  void SetRow(int value) { FocusCell(current_.X, value); }
  TGridRect Selection() const;
  int TopRow() const { return topLeft_.Y; }
  void SetTopRow(int value) { ScrollTo(topLeft_.X, value); }
  int LeftCol() const { return topLeft_.X; }
  void SetLeftCol(int value) { ScrollTo(value, topLeft_.Y); }
  // Scrollable rows / columns fully visible below / right of the fixed ones.
  int VisibleRowCount();
  int VisibleColCount();

  // The cell under client point (x, y): (-1, -1) outside every cell.
  TGridCoord MouseCoord(int x, int y);
  void MouseToCell(int x, int y, int& col, int& row);
  // The cell's rectangle in client coordinates, without its grid lines; empty when the cell
  // is scrolled out of view.
  TRect CellRect(int col, int row);
  void InvalidateCell(int col, int row);
  void InvalidateRow(int row);

  bool EditorMode() const { return editorMode_; }
  void SetEditorMode(bool value);
  TInplaceEdit* InplaceEditor() const { return editor_; }

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TNotifyEvent OnTopLeftChanged;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DefineProperties(TFiler& filer) override;
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void Resize() override;

  // Draws one cell's content (the cell was filled when DefaultDrawing). The base fires
  // OnDrawCell.
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
  // Whether the cell may become current. The base asks OnSelectCell.
  virtual bool SelectCell(int col, int row);
  // The text the editor starts with / takes back. The base fires the events.
  virtual std::string GetEditText(int col, int row);
  virtual void SetEditText(int col, int row, const std::string& value);
  virtual bool CanEditShow();
  virtual void TopLeftChanged() { OnTopLeftChanged(this); }
  // Moves the current cell to (col, row) when SelectCell allows it; scrolls it into view.
  void FocusCell(int col, int row);
  void ScrollTo(int leftCol, int topRow);
  void ShowEditor();
  void HideEditor();

 private:
  friend class TInplaceEdit;
  // The grid has the focus, or is the focused control of its (maybe inactive) form.
  bool IsActiveControl();
  // The client area, also before the window exists.
  TRect ClientArea();
  // The last row at least partly shown.
  int LastVisibleRow();
  void ClampCurrent();
  // After a count, size or fixed-count change: clamp, update the scroll bars, repaint.
  void ShapeChanged();
  void UpdateScrollBars();
  void ScrollMessage(TMessage& message, bool vertical);
  // The largest top row / left column that still fills the client area.
  int MaxTopRow();
  int MaxLeftCol();
  void MakeVisible(int col, int row);
  // Client offset where scrollable column `col` / row `row` starts (fixed ones: absolute).
  std::int64_t ColStart(int col);
  std::int64_t RowStart(int row);
  void UpdateEditorBounds();
  void EditorKeyDown(WORD& key, TShiftState shift);
  void EditorChanged(const std::string& text);

  TGridAxis cols_;
  TGridAxis rows_;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int gridLineWidth_ = 1;
  TGridOptions options_ = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TColor fixedColor_ = clBtnFace;
  bool defaultDrawing_ = true;
  TScrollStyle scrollBars_ = ssBoth;
  TGridCoord current_{1, 1};
  TGridCoord topLeft_{1, 1};
  bool editorMode_ = false;
  bool updatingScrollBars_ = false;
  bool scrollBarsPending_ = false;
  SCROLLINFO vertBar_{};  // what the scroll bars were last set to
  SCROLLINFO horzBar_{};
  std::string textBeforeEdit_;
  TInplaceEdit* editor_ = nullptr;
};

class TDrawGrid : public TCustomGrid {
 public:
  explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

class TStringGrid : public TDrawGrid {
 public:
  explicit TStringGrid(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Outside the grid: an empty text on read, ignored on write.
  std::string Cells(int col, int row) const { return std::string(cells_.Cell(col, row)); }
  std::string_view CellView(int col, int row) const { return cells_.Cell(col, row); }
  void SetCells(int col, int row, std::string_view text);
  void SetColCount(int value) override;
  void SetRowCount(int value) override;
  // Bytes the cell texts take (the benchmark's measure).
  size_t CellMemoryUsed() const { return cells_.MemoryUsed(); }

 protected:
  void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
  std::string GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const std::string& value) override;

 private:
  TGridCellStore cells_;
};
