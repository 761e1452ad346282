// The string grid as the recorder's windows use it, driven by window messages on a shown
// form: only visible cells are drawn, a refused selection keeps the old cell, only accepted
// cells are edited in place, clicks map to cells with MouseToCell, scrolling by messages,
// and owner drawing reaches the screen.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "PixelHelpers.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Grids.h"
#include "toolkit/ui/InplaceEdit.h"

namespace {

class StringGridTest : public testing::Test {
 protected:
  void SetUp() override {
    form_ = new TForm(nullptr);
    form_->SetBounds(10, 10, 640, 480);
    grid_ = new TStringGrid(form_);
    grid_->SetParent(form_);
    grid_->SetBounds(0, 0, 420, 320);
    form_->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form_->Free();
    Application->ProcessMessages();
  }

  // The centre of a cell in client coordinates (the cell must be visible).
  std::pair<int, int> Centre(int col, int row) {
    const TRect r = grid_->CellRect(col, row);
    EXPECT_FALSE(r.IsEmpty()) << "cell " << col << "," << row << " not visible";
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Click(int col, int row) {
    const auto [x, y] = Centre(col, row);
    SendMessageW(grid_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(grid_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Application->ProcessMessages();
  }
  void Key(HWND window, WORD key) {
    SendMessageW(window, WM_KEYDOWN, key, 0);
    SendMessageW(window, WM_KEYUP, key, 0);
    Application->ProcessMessages();
  }
  void Type(HWND window, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(window, WM_CHAR, c, 0);
    Application->ProcessMessages();
  }
  // Paints the grid's client area into a bitmap, recording the cells drawn.
  std::set<std::pair<int, int>> PaintIntoBitmap(TBitmap& bitmap) {
    std::set<std::pair<int, int>> drawn;
    grid_->OnDrawCell = [&](TObject*, int col, int row, TRect, TGridDrawState) { drawn.insert({col, row}); };
    const TRect client = grid_->ClientRect();
    MakeCanvasBitmap(bitmap, client.Width(), client.Height());
    grid_->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
    grid_->OnDrawCell = nullptr;
    return drawn;
  }

  TForm* form_ = nullptr;
  TStringGrid* grid_ = nullptr;
};

TEST_F(StringGridTest, DrawsOnlyTheVisibleCellsWhateverTheRowCount) {
  grid_->SetColCount(66);
  grid_->SetRowCount(100000);
  grid_->SetDefaultRowHeight(24);
  grid_->SetColWidths(1, 180);
  TBitmap bitmap;
  const auto firstPage = PaintIntoBitmap(bitmap);
  const TRect client = grid_->ClientRect();
  // Columns 0 (64 + 1) and 1 (180 + 1) fill 246 px; then 65 px per column.
  const int visibleCols = 2 + (client.Width() - 246 + 64) / 65;
  const int visibleRows = (client.Height() + 24) / 25;
  EXPECT_EQ(static_cast<int>(firstPage.size()), visibleCols * visibleRows);
  for (const auto& [col, row] : firstPage) {
    EXPECT_LT(col, visibleCols);
    EXPECT_LT(row, visibleRows);
  }

  grid_->SetTopRow(60000);
  EXPECT_EQ(grid_->TopRow(), 60000);
  const auto laterPage = PaintIntoBitmap(bitmap);
  EXPECT_EQ(laterPage.size(), firstPage.size());
  EXPECT_TRUE(laterPage.count({0, 0})) << "the fixed row stays";
  EXPECT_TRUE(laterPage.count({0, 60000}));
  EXPECT_FALSE(laterPage.count({0, 1})) << "rows scrolled away are not drawn";
  EXPECT_FALSE(laterPage.count({0, 60000 + visibleRows}));
}

TEST_F(StringGridTest, ChangingOneCellRepaintsOnlyThatCell) {
  grid_->SetColCount(8);
  grid_->SetRowCount(24);
  UpdateWindow(grid_->Handle());
  std::set<std::pair<int, int>> drawn;
  grid_->OnDrawCell = [&](TObject*, int col, int row, TRect, TGridDrawState) { drawn.insert({col, row}); };
  grid_->SetCells(3, 2, "21.5");
  UpdateWindow(grid_->Handle());
  EXPECT_EQ(drawn, (std::set<std::pair<int, int>>{{3, 2}}));
  drawn.clear();
  grid_->SetCells(3, 2, "21.5");
  UpdateWindow(grid_->Handle());
  EXPECT_TRUE(drawn.empty()) << "an unchanged text does not repaint";
  grid_->OnDrawCell = nullptr;
}

TEST_F(StringGridTest, RefusedSelectionKeepsTheOldCell) {
  grid_->SetColCount(4);
  grid_->SetRowCount(10);
  grid_->SetFocus();
  std::set<std::pair<int, int>> asked;
  grid_->OnSelectCell = [&](TObject*, int col, int row, bool& canSelect) {
    asked.insert({col, row});
    canSelect = row != 5 && col != 3;
  };
  Click(2, 4);
  EXPECT_EQ(grid_->Col(), 2);
  EXPECT_EQ(grid_->Row(), 4);
  Click(2, 5);
  EXPECT_TRUE(asked.count({2, 5}));
  EXPECT_EQ(grid_->Row(), 4) << "click on a refused cell";
  Key(grid_->Handle(), VK_DOWN);
  EXPECT_EQ(grid_->Row(), 4) << "arrow into a refused row";
  Key(grid_->Handle(), VK_RIGHT);
  EXPECT_EQ(grid_->Col(), 2) << "arrow into a refused column";
  Key(grid_->Handle(), VK_UP);
  EXPECT_EQ(grid_->Row(), 3);
  grid_->SetRow(5);
  EXPECT_EQ(grid_->Row(), 3) << "code is refused too";
}

// The test information grid: 2 columns, no fixed cells, values editable in rows 0-4, 7-9.
struct EditCase {
  const char* name;
  int col;
  int row;
  bool editable;
};

TEST_F(StringGridTest, OnlyAcceptedCellsAreEditedInPlace) {
  grid_->SetColCount(2);
  grid_->SetRowCount(12);
  grid_->SetFixedCols(0);
  grid_->SetFixedRows(0);
  grid_->SetOptions(grid_->Options() + TGridOptions{goEditing});
  grid_->SetCells(0, 6, "Test time");
  grid_->OnSelectCell = [](TObject*, int col, int row, bool& canSelect) {
    canSelect = col >= 1 && ((row >= 0 && row <= 4) || (row >= 7 && row <= 9));
  };
  grid_->SetFocus();
  const EditCase cases[] = {
      {"Operators value", 1, 4, true},   {"Report number value", 1, 0, true},
      {"Ambient humidity", 1, 9, true},  {"Test time value", 1, 6, false},
      {"Test time label", 0, 6, false},  {"section heading", 1, 5, false},
      {"channel statistics", 1, 11, false},
  };
  for (const EditCase& c : cases) {
    grid_->SetFocus();
    Key(grid_->Handle(), VK_ESCAPE);
    const int oldCol = grid_->Col(), oldRow = grid_->Row();
    Click(c.col, c.row);
    Click(c.col, c.row);  // a click on the current cell starts editing
    EXPECT_EQ(grid_->EditorMode(), c.editable) << c.name;
    if (c.editable) {
      EXPECT_EQ(grid_->Col(), c.col) << c.name;
      EXPECT_EQ(grid_->Row(), c.row) << c.name;
      Type(grid_->InplaceEditor()->Handle(), L"ab");
      Key(grid_->InplaceEditor()->Handle(), VK_RETURN);
      EXPECT_FALSE(grid_->EditorMode()) << c.name;
      EXPECT_EQ(grid_->Cells(c.col, c.row), "ab") << c.name;
    } else {
      EXPECT_EQ(grid_->Col(), oldCol) << c.name;
      EXPECT_EQ(grid_->Row(), oldRow) << c.name;
    }
  }
  EXPECT_EQ(grid_->Cells(1, 6), "");
  EXPECT_EQ(grid_->Cells(0, 6), "Test time");
}

TEST_F(StringGridTest, EscapeRestoresTheTextAndTypingStartsEditing) {
  grid_->SetOptions(grid_->Options() + TGridOptions{goEditing});
  grid_->SetCells(1, 1, "old");
  grid_->SetFocus();
  Type(grid_->Handle(), L"n");  // typing on the current cell replaces its text
  ASSERT_TRUE(grid_->EditorMode());
  Type(grid_->InplaceEditor()->Handle(), L"ew");
  EXPECT_EQ(grid_->Cells(1, 1), "new") << "the cell follows the editor";
  Key(grid_->InplaceEditor()->Handle(), VK_ESCAPE);
  EXPECT_FALSE(grid_->EditorMode());
  EXPECT_EQ(grid_->Cells(1, 1), "old");
}

TEST_F(StringGridTest, WithoutEditingOptionNoEditorShows) {
  grid_->SetFocus();
  Click(2, 2);
  Click(2, 2);
  Key(grid_->Handle(), VK_F2);
  Type(grid_->Handle(), L"x");
  EXPECT_FALSE(grid_->EditorMode());
  EXPECT_EQ(grid_->Cells(2, 2), "");
}

TEST_F(StringGridTest, MouseDownReportsTheCellUnderTheMouseAfterScrolling) {
  grid_->SetRowCount(1000);
  grid_->SetTopRow(500);
  int downCol = -2, downRow = -2, seenTopRow = -1;
  grid_->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft) grid_->MouseToCell(x, y, downCol, downRow);
    seenTopRow = grid_->TopRow();
  };
  Click(2, 503);
  EXPECT_EQ(downCol, 2);
  EXPECT_EQ(downRow, 503);
  EXPECT_EQ(seenTopRow, 500);
  const TRect client = grid_->ClientRect();
  grid_->MouseToCell(client.Right - 1, client.Bottom + 50, downCol, downRow);
  EXPECT_EQ(downRow, -1) << "below the client area";
  const TGridCoord fixedCell = grid_->MouseCoord(3, 3);
  EXPECT_EQ(fixedCell, (TGridCoord{0, 0}));
}

TEST_F(StringGridTest, ScrollBarMessagesMoveTheTopRow) {
  grid_->SetRowCount(200);
  SendMessageW(grid_->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid_->TopRow(), 2);
  const int page = grid_->VisibleRowCount();
  SendMessageW(grid_->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(grid_->TopRow(), 2 + page);
  SendMessageW(grid_->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(grid_->TopRow(), 200 - grid_->VisibleRowCount()) << "the last row ends the view";
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(grid_->Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nPos, grid_->TopRow() - 1);
  EXPECT_EQ(si.nMax, 198);
  SendMessageW(grid_->Handle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(grid_->TopRow(), 1);
  grid_->SetFocus();
  Key(grid_->Handle(), VK_NEXT);
  EXPECT_GT(grid_->Row(), 1);
  EXPECT_TRUE(grid_->CellRect(grid_->Col(), grid_->Row()).Bottom <= grid_->ClientRect().Bottom)
      << "the current cell is scrolled into view";
}

TEST_F(StringGridTest, OwnerDrawnCellsReachThePixels) {
  grid_->SetFixedCols(0);
  grid_->SetFixedRows(0);
  grid_->SetDefaultDrawing(false);
  grid_->SetCells(1, 3, "x");
  grid_->OnDrawCell = [this](TObject*, int, int row, TRect rect, TGridDrawState state) {
    TCanvas* canvas = grid_->Canvas();
    canvas->Brush()->SetColor(row == 3 && state.Empty() ? clYellow : clWhite);
    canvas->FillRect(rect);
  };
  TBitmap bitmap;
  const TRect client = grid_->ClientRect();
  MakeCanvasBitmap(bitmap, client.Width(), client.Height());
  grid_->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
  const TRect yellow = InkBounds(bitmap, [](TColor c) { return c == clYellow; });
  // Row 3 without state: every column of it but the current cell (0, 0 is in row 0).
  EXPECT_EQ(yellow.Top, 3 * 25);
  EXPECT_EQ(yellow.Bottom, 3 * 25 + 24);
  EXPECT_EQ(yellow.Left, 0);
  EXPECT_EQ(PixelAt(bitmap, 10, 10), clWhite);
}

TEST_F(StringGridTest, FixedCountsAreCheckedAndPropertiesAreRegistered) {
  grid_->SetColCount(3);
  EXPECT_THROW(grid_->SetFixedCols(3), EInvalidGridOperation);
  SetOrdProp(*grid_, "ColCount", 66);
  SetOrdProp(*grid_, "DefaultRowHeight", 30);
  SetSetProp(*grid_, "Options", "goFixedVertLine,goEditing");
  EXPECT_EQ(grid_->ColCount(), 66);
  EXPECT_EQ(grid_->RowHeights(2), 30);
  EXPECT_TRUE(grid_->Options().Contains(goEditing));
  EXPECT_FALSE(grid_->Options().Contains(goVertLine));
  EXPECT_NE(GetPropInfo(*grid_, "OnDrawCell"), nullptr);
  EXPECT_NE(GetPropInfo(*grid_, "OnSelectCell"), nullptr);
}

}  // namespace

namespace {

TEST_F(StringGridTest, RowsAppendedBelowTheViewExtendTheScrollRange) {
  grid_->SetRowCount(100);
  for (int r = 100; r < 150; ++r) grid_->SetRowCount(r + 1);
  Application->ProcessMessages();
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(grid_->Handle(), SB_VERT, &si);
  EXPECT_EQ(si.nMax, 148) << "149 scrollable rows";
  SendMessageW(grid_->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(grid_->TopRow() + grid_->VisibleRowCount(), 150);
}

}  // namespace
