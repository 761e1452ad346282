// The per-point visuals store of a series.
#include "chart/VisualsList.h"

#include <algorithm>

#include "chart/ChartSeries.h"
#include "toolkit/classes/TypInfo.h"

const TClassInfo& TSeriesPointVisual::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSeriesPointVisual>("TSeriesPointVisual", &TPersistent::StaticClass()).Build();
  return info;
}

void TSeriesPointVisual::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TSeriesPointVisual*>(source)) {
    Enabled = other->Enabled;
    Transform = other->Transform;
    return;
  }
  TPersistent::Assign(source);
}

TVisualsList::~TVisualsList() {
  for (Entry& e : entries_) Free(e);
}

void TVisualsList::Free(Entry& entry) {
  if (entry.owned) delete entry.visual;
  entry = Entry{};
}

void TVisualsList::Repaint() {
  if (series_) series_->RepaintPoint(-1);
}

TSeriesPointVisual* TVisualsList::StoredAt(int index) const {
  return index >= 0 && index < Count() ? entries_[index].visual : nullptr;
}

TSeriesPointVisual* TVisualsList::VisualAt(int index) {
  if (index < 0) return nullptr;
  if (TSeriesPointVisual* stored = StoredAt(index)) return stored;
  if (!template_ || !template_->Enabled) return nullptr;
  auto* visual = static_cast<TSeriesPointVisual*>(template_->ClassType().CreateInstance(series_));
  visual->Assign(template_);
  if (index >= Count()) entries_.resize(index + 1);
  entries_[index] = Entry{visual, true};
  return visual;
}

void TVisualsList::PutVisual(int index, TSeriesPointVisual* visual, bool owned) {
  if (index < 0) return;
  if (visual) {
    if (index >= Count()) entries_.resize(index + 1);
    if (entries_[index].visual != visual) Free(entries_[index]);
    entries_[index] = Entry{visual, owned};
  } else if (index < Count()) {
    Free(entries_[index]);
  }
  Repaint();
}

void TVisualsList::InsertVisual(int index) {
  if (entries_.empty() || index > Count()) return;
  entries_.insert(entries_.begin() + index, Entry{});
}

void TVisualsList::ExchangeVisuals(int i, int j) {
  if (entries_.empty()) return;
  const int needed = std::max(i, j) + 1;
  if (Count() < needed) entries_.resize(needed);
  std::swap(entries_[i], entries_[j]);
}

void TVisualsList::DeleteVisuals(int index, int n) {
  if (index < 0 || index >= Count() || n <= 0) return;
  n = std::min(n, Count() - index);
  for (int i = index; i < index + n; ++i) Free(entries_[i]);
  entries_.erase(entries_.begin() + index, entries_.begin() + index + n);
}

void TVisualsList::Clear() {
  for (Entry& e : entries_) Free(e);
  entries_.clear();
  Repaint();
}

void TVisualsList::VisualChanged(TSeriesPointVisual* visual) {
  if (OnVisualChanged) OnVisualChanged(visual);
}
