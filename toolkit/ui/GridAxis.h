// TGridAxis: the sizes of a grid's columns or rows along one axis: a count, a default size,
// and per-index sizes only once one was set. Positions and the index at a position are
// answered without walking the whole axis: arithmetic while every size is the default, and a
// cached running sum (rebuilt after a size change, extended when the count grows) otherwise,
// so a grid of 100,000 rows hit-tests and scrolls as fast as one of 20.
// Invariant: when sizes_ is not empty it has exactly count_ entries.
#pragma once

#include <cstdint>
#include <vector>

class TGridAxis {
 public:
  int Count() const { return count_; }
  void SetCount(int count);
  int DefaultSize() const { return defaultSize_; }
  // Also sets every index to the new default (the grid's DefaultRowHeight/DefaultColWidth).
  void SetDefaultSize(int size);
  int Size(int index) const;
  // Sizes below 0 count as 0 (a hidden column or row). Out of range: ignored.
  void SetSize(int index, int size);
  bool HasCustomSizes() const { return !sizes_.empty(); }

  // Sum of the sizes of the indexes [first, last) (each followed by `lineWidth` of grid line).
  std::int64_t Span(int first, int last, int lineWidth) const;
  // The index whose extent (size plus line) contains `offset`, counting from `first` at
  // offset 0; -1 when `offset` is negative or past the last index.
  int IndexAt(int first, std::int64_t offset, int lineWidth) const;

 private:
  // Offset of `index` from index 0 (sizes plus lines), index in 0..count_.
  std::int64_t Start(int index, int lineWidth) const;
  void EnsurePrefix() const;

  int count_ = 0;
  int defaultSize_ = 24;
  std::vector<int> sizes_;
  // prefix_[i] = sum of sizes of indexes below i (lines not included); valid when not stale.
  mutable std::vector<std::int64_t> prefix_;
  mutable bool prefixStale_ = true;
};
