// Compact cell texts of the string grid: one block per written row (see GridCells.h).
#include "toolkit/ui/GridCells.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

TGridCellStore::~TGridCellStore() { Clear(); }

TGridCellStore::RowBlock* TGridCellStore::NewBlock(std::uint32_t cols, std::uint32_t capacity) {
  const size_t bytes = sizeof(RowBlock) + cols * sizeof(std::uint32_t) + capacity;
  auto* block = static_cast<RowBlock*>(std::malloc(bytes));
  if (block == nullptr) throw std::bad_alloc();
  block->capacity = capacity;
  block->cols = cols;
  std::fill_n(block->Ends(), cols, 0u);
  return block;
}

void TGridCellStore::FreeBlock(RowBlock* block) { std::free(block); }

TGridCellStore::RowBlock* TGridCellStore::Reshape(RowBlock* block, std::uint32_t cols, std::uint32_t capacity) {
  const std::uint32_t keep = std::min(cols, block->cols);
  const std::uint32_t used = keep == 0 ? 0 : block->Ends()[keep - 1];
  RowBlock* fresh = NewBlock(cols, std::max(capacity, used));
  std::copy_n(block->Ends(), keep, fresh->Ends());
  std::fill(fresh->Ends() + keep, fresh->Ends() + cols, used);
  std::memcpy(fresh->Text(), block->Text(), used);
  FreeBlock(block);
  return fresh;
}

void TGridCellStore::SetSize(int colCount, int rowCount) {
  colCount = std::max(colCount, 0);
  rowCount = std::max(rowCount, 0);
  for (size_t r = static_cast<size_t>(rowCount); r < rows_.size(); ++r) FreeBlock(rows_[r]);
  rows_.resize(static_cast<size_t>(rowCount), nullptr);
  if (colCount < colCount_) {
    // Cells beyond the new column count are gone: growing again must show them empty.
    for (RowBlock*& block : rows_) {
      if (block != nullptr && block->cols > static_cast<std::uint32_t>(colCount)) {
        block = Reshape(block, static_cast<std::uint32_t>(colCount), 0);
      }
    }
  }
  colCount_ = colCount;
}

std::string_view TGridCellStore::Cell(int col, int row) const {
  if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) return {};
  const RowBlock* block = rows_[static_cast<size_t>(row)];
  if (block == nullptr || static_cast<std::uint32_t>(col) >= block->cols) return {};
  const std::uint32_t* ends = block->Ends();
  const std::uint32_t begin = col == 0 ? 0 : ends[col - 1];
  return {block->Text() + begin, ends[col] - begin};
}

void TGridCellStore::SetCell(int col, int row, std::string_view text) {
  if (row < 0 || row >= RowCount() || col < 0 || col >= colCount_) return;
  RowBlock*& block = rows_[static_cast<size_t>(row)];
  if (block == nullptr) {
    if (text.empty()) return;
    block = NewBlock(static_cast<std::uint32_t>(colCount_), static_cast<std::uint32_t>(text.size()) + 16);
  } else if (static_cast<std::uint32_t>(col) >= block->cols) {
    if (text.empty()) return;
    block = Reshape(block, static_cast<std::uint32_t>(colCount_), block->capacity);
  }
  std::uint32_t* ends = block->Ends();
  const std::uint32_t begin = col == 0 ? 0 : ends[col - 1];
  const std::uint32_t oldLen = ends[col] - begin;
  const auto newLen = static_cast<std::uint32_t>(text.size());
  const std::uint32_t used = block->Used();
  const std::uint32_t needed = used - oldLen + newLen;
  if (needed > block->capacity) {
    // Grow by a quarter so a row filled cell by cell is copied only a few times.
    block = Reshape(block, block->cols, needed + needed / 4 + 16);
    ends = block->Ends();
  }
  char* texts = block->Text();
  const std::uint32_t tailFrom = begin + oldLen;
  std::memmove(texts + begin + newLen, texts + tailFrom, used - tailFrom);
  std::memcpy(texts + begin, text.data(), newLen);
  if (newLen != oldLen) {
    const std::int64_t delta = static_cast<std::int64_t>(newLen) - static_cast<std::int64_t>(oldLen);
    for (std::uint32_t c = static_cast<std::uint32_t>(col); c < block->cols; ++c) {
      ends[c] = static_cast<std::uint32_t>(ends[c] + delta);
    }
  }
}

void TGridCellStore::ClearRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  FreeBlock(rows_[static_cast<size_t>(row)]);
  rows_[static_cast<size_t>(row)] = nullptr;
}

void TGridCellStore::Clear() {
  for (RowBlock*& block : rows_) {
    FreeBlock(block);
    block = nullptr;
  }
}

size_t TGridCellStore::MemoryUsed() const {
  size_t bytes = rows_.capacity() * sizeof(RowBlock*);
  for (const RowBlock* block : rows_) {
    if (block != nullptr) bytes += sizeof(RowBlock) + block->cols * sizeof(std::uint32_t) + block->capacity;
  }
  return bytes;
}
