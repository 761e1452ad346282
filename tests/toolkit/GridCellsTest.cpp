// The string grid's compact cell store: texts survive neighbouring writes of other lengths,
// resizing keeps or drops the right cells, and a row of 66 short texts stays under 1 KB.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/ui/GridCells.h"

namespace {

std::string At(const TGridCellStore& store, int col, int row) { return std::string(store.Cell(col, row)); }

TEST(GridCellStore, NeighboursSurviveLongerAndShorterRewrites) {
  TGridCellStore store;
  store.SetSize(4, 3);
  store.SetCell(0, 1, "a");
  store.SetCell(1, 1, "bb");
  store.SetCell(3, 1, "dddd");
  store.SetCell(1, 1, "a much longer text than before, forcing the row to grow");
  EXPECT_EQ(At(store, 0, 1), "a");
  EXPECT_EQ(At(store, 1, 1), "a much longer text than before, forcing the row to grow");
  EXPECT_EQ(At(store, 2, 1), "");
  EXPECT_EQ(At(store, 3, 1), "dddd");
  store.SetCell(1, 1, "");
  store.SetCell(2, 1, "cc");
  EXPECT_EQ(At(store, 0, 1), "a");
  EXPECT_EQ(At(store, 1, 1), "");
  EXPECT_EQ(At(store, 2, 1), "cc");
  EXPECT_EQ(At(store, 3, 1), "dddd");
  EXPECT_EQ(At(store, 0, 0), "") << "other rows untouched";
  EXPECT_EQ(At(store, 0, 2), "");
}

TEST(GridCellStore, WritesAndReadsOutsideAreHarmless) {
  TGridCellStore store;
  store.SetSize(2, 2);
  store.SetCell(2, 0, "x");
  store.SetCell(0, 2, "x");
  store.SetCell(-1, 0, "x");
  EXPECT_EQ(At(store, 2, 0), "");
  EXPECT_EQ(At(store, 0, -1), "");
  EXPECT_EQ(store.MemoryUsed(), 2 * sizeof(void*)) << "nothing was stored";
}

TEST(GridCellStore, ShrinkingDropsCellsAndGrowingShowsThemEmpty) {
  TGridCellStore store;
  store.SetSize(3, 3);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) store.SetCell(c, r, std::to_string(c) + "," + std::to_string(r));
  store.SetSize(2, 2);
  EXPECT_EQ(At(store, 1, 1), "1,1");
  store.SetSize(3, 3);
  EXPECT_EQ(At(store, 0, 0), "0,0");
  EXPECT_EQ(At(store, 1, 0), "1,0");
  EXPECT_EQ(At(store, 2, 0), "") << "column 2 was cut";
  EXPECT_EQ(At(store, 0, 2), "") << "row 2 was cut";
  store.SetCell(2, 1, "new");
  EXPECT_EQ(At(store, 2, 1), "new");
  EXPECT_EQ(At(store, 1, 1), "1,1");
}

TEST(GridCellStore, ClearRowAndClearEmptyCellsButKeepSize) {
  TGridCellStore store;
  store.SetSize(2, 3);
  store.SetCell(1, 0, "keep");
  store.SetCell(1, 1, "gone");
  store.ClearRow(1);
  EXPECT_EQ(At(store, 1, 0), "keep");
  EXPECT_EQ(At(store, 1, 1), "");
  store.Clear();
  EXPECT_EQ(At(store, 1, 0), "");
  EXPECT_EQ(store.RowCount(), 3);
  EXPECT_EQ(store.ColCount(), 2);
}

TEST(GridCellStore, RowOfLiveReadingsStaysUnderOneKilobyte) {
  // A data grid row: sample number, time stamp and 64 readings, written in column order.
  TGridCellStore store;
  constexpr int kRows = 1000;
  store.SetSize(66, kRows);
  for (int r = 0; r < kRows; ++r) {
    store.SetCell(0, r, std::to_string(r + 1));
    store.SetCell(1, r, "2024-03-05 10:00:00");
    for (int c = 2; c < 66; ++c) store.SetCell(c, r, "123.45");
  }
  EXPECT_EQ(At(store, 0, 999), "1000");
  EXPECT_EQ(At(store, 65, 500), "123.45");
  EXPECT_LE(store.MemoryUsed() / kRows, 1024u);
}

}  // namespace
