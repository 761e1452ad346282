// Column widths / row heights of a grid along one axis (see GridAxis.h).
#include "toolkit/ui/GridAxis.h"

#include <algorithm>

void TGridAxis::SetCount(int count) {
  count = std::max(count, 0);
  if (count == count_) return;
  if (!sizes_.empty()) {
    const bool growing = count > count_;
    sizes_.resize(static_cast<size_t>(count), defaultSize_);
    if (growing && !prefixStale_) {
      // Extend the running sum instead of rebuilding it: rows are added one at a time.
      for (int i = count_; i < count; ++i) prefix_.push_back(prefix_.back() + sizes_[static_cast<size_t>(i)]);
    } else {
      prefixStale_ = true;
    }
  }
  count_ = count;
}

void TGridAxis::SetDefaultSize(int size) {
  defaultSize_ = std::max(size, 0);
  sizes_.clear();
  prefix_.clear();
  prefixStale_ = true;
}

int TGridAxis::Size(int index) const {
  if (index < 0 || index >= count_) return 0;
  return sizes_.empty() ? defaultSize_ : sizes_[static_cast<size_t>(index)];
}

void TGridAxis::SetSize(int index, int size) {
  if (index < 0 || index >= count_) return;
  size = std::max(size, 0);
  if (sizes_.empty()) {
    if (size == defaultSize_) return;
    sizes_.assign(static_cast<size_t>(count_), defaultSize_);
  }
  if (sizes_[static_cast<size_t>(index)] == size) return;
  sizes_[static_cast<size_t>(index)] = size;
  prefixStale_ = true;
}

void TGridAxis::EnsurePrefix() const {
  if (!prefixStale_) return;
  prefix_.resize(sizes_.size() + 1);
  prefix_[0] = 0;
  for (size_t i = 0; i < sizes_.size(); ++i) prefix_[i + 1] = prefix_[i] + sizes_[i];
  prefixStale_ = false;
}

std::int64_t TGridAxis::Start(int index, int lineWidth) const {
  index = std::clamp(index, 0, count_);
  if (sizes_.empty()) return static_cast<std::int64_t>(index) * (defaultSize_ + lineWidth);
  EnsurePrefix();
  return prefix_[static_cast<size_t>(index)] + static_cast<std::int64_t>(index) * lineWidth;
}

std::int64_t TGridAxis::Span(int first, int last, int lineWidth) const {
  if (last <= first) return 0;
  return Start(last, lineWidth) - Start(first, lineWidth);
}

int TGridAxis::IndexAt(int first, std::int64_t offset, int lineWidth) const {
  if (offset < 0 || first < 0 || first >= count_) return -1;
  const std::int64_t target = Start(first, lineWidth) + offset;
  if (target >= Start(count_, lineWidth)) return -1;
  if (sizes_.empty()) {
    const int step = defaultSize_ + lineWidth;
    return step <= 0 ? -1 : static_cast<int>(target / step);
  }
  // The last index whose start is at or before target (zero-size indexes are skipped over).
  int lo = first, hi = count_ - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (Start(mid, lineWidth) <= target) lo = mid; else hi = mid - 1;
  }
  return lo;
}
