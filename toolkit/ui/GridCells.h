// TGridCellStore: the texts of a string grid's cells, kept compact for grids of many rows of
// short texts (the recorder's data grid: 66 columns and up to 100,000 rows of live readings).
// Each row is one heap block holding the end offset of every cell followed by the cell texts
// back to back, so a row of 66 short texts costs a few hundred bytes; rows never written cost
// one null pointer. Invariant: a row block's offsets are non-decreasing and its last offset is
// the number of text bytes in use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TGridCellStore {
 public:
  TGridCellStore() = default;
  TGridCellStore(const TGridCellStore&) = delete;
  TGridCellStore& operator=(const TGridCellStore&) = delete;
  ~TGridCellStore();

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Resizing keeps the texts of the cells that stay and drops the others.
  void SetSize(int colCount, int rowCount);

  // The text of a cell; empty outside the store or when never written. The view stays valid
  // until the row is next changed.
  std::string_view Cell(int col, int row) const;
  // Writes a cell; writes outside the store are ignored (the grid checks its bounds first).
  void SetCell(int col, int row, std::string_view text);
  // Empties every cell of a row / of the whole store (the sizes stay).
  void ClearRow(int row);
  void Clear();

  // Bytes held for cell texts: row blocks plus the row table (heap bookkeeping not counted).
  size_t MemoryUsed() const;

 private:
  // Row block: header, then colCount uint32 end offsets, then the texts.
  struct RowBlock {
    std::uint32_t capacity;  // bytes available for texts
    std::uint32_t cols;      // number of offsets
    std::uint32_t* Ends() { return reinterpret_cast<std::uint32_t*>(this + 1); }
    const std::uint32_t* Ends() const { return reinterpret_cast<const std::uint32_t*>(this + 1); }
    char* Text() { return reinterpret_cast<char*>(Ends() + cols); }
    const char* Text() const { return reinterpret_cast<const char*>(Ends() + cols); }
    std::uint32_t Used() const { return cols == 0 ? 0 : Ends()[cols - 1]; }
  };
  static RowBlock* NewBlock(std::uint32_t cols, std::uint32_t capacity);
  static void FreeBlock(RowBlock* block);
  // A copy of `block` with `cols` offsets (cells beyond dropped, new cells empty) and room
  // for at least `capacity` text bytes. Frees the old block.
  static RowBlock* Reshape(RowBlock* block, std::uint32_t cols, std::uint32_t capacity);

  int colCount_ = 0;
  std::vector<RowBlock*> rows_;
};
