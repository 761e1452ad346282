// Lists of one series or of a chart: the chart's ordered pointer lists, the series list, and
// the data sources of a series.
#pragma once

#include <algorithm>
#include <vector>

class TChartSeries;
class TComponent;

// A list of objects the chart keeps in a fixed order (the series, the axes); the list may be
// walked like a vector.
template <class T>
class TChartPointerList {
 public:
  using Items = std::vector<T*>;
  typename Items::const_iterator begin() const { return items_.begin(); }
  typename Items::const_iterator end() const { return items_.end(); }
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  T* front() const { return items_.front(); }
  T* operator[](size_t index) const { return items_[index]; }
  int IndexOf(const T* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
  }
  void Add(T* item) { items_.push_back(item); }
  void Delete(int index) { items_.erase(items_.begin() + index); }
  void Remove(const T* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
  }
  void Clear() { items_.clear(); }
  // A copy, for walks during which the list may change.
  Items Snapshot() const { return items_; }
  const Items& List() const { return items_; }

 protected:
  Items items_;
};

// A list of series in a fixed order: the chart's series in the order they joined (also their
// paint and legend order), the dependents of a series, the members of a series group. The
// list does not own the series (their owner component does).
class TCustomSeriesList : public TChartPointerList<TChartSeries> {};

// The data sources of one series, in the order they were added; the first is its published
// DataSource. Taking an entry out through the list (Delete, Remove) is a removal of that data
// source by the series: it stops watching the source, leaves its dependents and reloads.
class TDataSourcesList : public TChartPointerList<TComponent> {
 public:
  explicit TDataSourcesList(TChartSeries* series) : series_(series) {}
  TChartSeries* Series() const { return series_; }
  int Count() const { return static_cast<int>(size()); }
  bool Contains(const TComponent* source) const { return IndexOf(source) >= 0; }
  // Both run the series' RemoveDataSource for the entry (removing the current DataSource
  // empties the whole list, as the series' own removal does).
  void Delete(int index);
  void Remove(const TComponent* source);
  // Takes the series out of the dependents of every source that is a series, empties the list,
  // then clears the series' points unless they are its own (its data-loaded flag is set).
  void Clear();

 private:
  friend class TChartSeries;
  // The series' own bookkeeping: an entry leaves without any further step.
  void Extract(const TComponent* source) { TChartPointerList<TComponent>::Remove(source); }
  void ExtractAll() { items_.clear(); }

  TChartSeries* series_;
};
