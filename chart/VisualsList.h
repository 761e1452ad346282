// Per-point visual objects of a series (TVisualsList) and the visual a point carries
// (TSeriesPointVisual: whether it is enabled and how its canvas element is placed). Entries are
// made from the list's template on first read when the template is enabled; those entries, and
// entries put with ownership, belong to the list. Invariant: an owned entry is freed exactly once
// (on replace, delete or clear).
#pragma once

#include <functional>
#include <vector>

#include "canvas/Canvas3D.h"
#include "toolkit/classes/Persistent.h"

class TChartSeries;

class TSeriesPointVisual : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TSeriesPointVisual() = default;
  void Assign(TPersistent* source) override;

  bool Enabled = true;
  // Handed to the point's canvas element.
  TElementTransform Transform;
};

class TVisualsList {
 public:
  explicit TVisualsList(TChartSeries* series) : series_(series) {}
  ~TVisualsList();
  TVisualsList(const TVisualsList&) = delete;
  TVisualsList& operator=(const TVisualsList&) = delete;

  int Count() const { return static_cast<int>(entries_.size()); }
  // The point's visual; a missing one is made from an enabled template (and owned). Null when
  // there is none.
  TSeriesPointVisual* VisualAt(int index);
  // The entry as stored (no template).
  TSeriesPointVisual* StoredAt(int index) const;
  // Stores `visual` at the index (growing the list), freeing an owned old entry; `owned` hands
  // it to the list. A null visual stores an empty entry only inside the list. Repaints.
  void PutVisual(int index, TSeriesPointVisual* visual, bool owned = false);
  // Keeps the list in step with the points.
  void InsertVisual(int index);
  void ExchangeVisuals(int i, int j);
  void DeleteVisuals(int index, int n);
  // Frees owned entries, empties the list, repaints.
  void Clear();

  // The object new visuals copy (not owned; null: none).
  TSeriesPointVisual* Template() const { return template_; }
  void SetTemplate(TSeriesPointVisual* visual) { template_ = visual; }
  // Told of every visual that changed (the chart's visual editor, when one is installed).
  std::function<void(TSeriesPointVisual*)> OnVisualChanged;
  void VisualChanged(TSeriesPointVisual* visual);

 private:
  struct Entry {
    TSeriesPointVisual* visual = nullptr;
    bool owned = false;
  };
  void Free(Entry& entry);
  void Repaint();

  TChartSeries* series_;
  TSeriesPointVisual* template_ = nullptr;
  std::vector<Entry> entries_;
};
