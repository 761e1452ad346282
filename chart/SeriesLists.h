// TDataSourcesList: the components one series takes its points from. The list holds
// references only; whoever adds an entry also removes it when the entry goes away.
#pragma once

#include <algorithm>
#include <vector>

class TChartSeries;
class TComponent;

// The data sources of one series, in the order they were added; the first is its published
// DataSource.
class TDataSourcesList : public std::vector<TComponent*> {
 public:
  explicit TDataSourcesList(TChartSeries* series) : series_(series) {}
  TChartSeries* Series() const { return series_; }
  int Count() const { return static_cast<int>(size()); }
  bool Contains(const TComponent* source) const { return std::find(begin(), end(), source) != end(); }
  // Takes the series out of the dependents of every source that is a series, empties the list,
  // then clears the series' points unless they are its own (its data-loaded flag is set).
  void Clear();

 private:
  TChartSeries* series_;
};
