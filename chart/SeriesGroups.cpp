// Series groups and their collection.
#include "chart/SeriesGroups.h"

#include <algorithm>

#include "chart/ChartSeries.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/rtl/SysUtils.h"

const TEnumInfo& EnumTypeInfo(TSeriesGroupActive) {
  static const TEnumInfo info("TSeriesGroupActive", {"gaYes", "gaNo", "gaSome"});
  return info;
}

const TClassInfo& TSeriesGroup::StaticClass() {
  using G = TSeriesGroup;
  static const TClassInfo info = TClassBuilder<G>("TSeriesGroup", &TCollectionItem::StaticClass())
                                     .Property("Active", &G::ReadActive, &G::ChangeActive)
                                     .Default(gaYes)
                                     .Property("Name", &G::Name, &G::SetName)
                                     .Build();
  return info;
}

TSeriesGroup::TSeriesGroup(TCollection* collection) : TCollectionItem(collection) {
  name_ = "Group" + std::to_string(collection ? collection->Count() : 1);
}

void TSeriesGroup::SetName(const std::string& value) {
  if (name_ == value) return;
  name_ = value;
  Changed(false);
}

ISeriesOwner* TSeriesGroup::Chart() const {
  auto* groups = dynamic_cast<TSeriesGroups*>(Collection());
  return groups ? groups->Chart() : nullptr;
}

TSeriesGroupActive TSeriesGroup::ReadActive() const {
  int active = 0;
  for (const TChartSeries* s : series_)
    if (s->Active()) ++active;
  if (active == static_cast<int>(series_.size())) return gaYes;
  return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::ChangeActive(TSeriesGroupActive value) {
  if (value == gaSome || value == ReadActive()) return;
  for (TChartSeries* s : series_) s->ChangeActive(value == gaYes);
}

void TSeriesGroup::AddSeries(TChartSeries* series) {
  if (series && series_.IndexOf(series) < 0) series_.Add(series);
}

void TSeriesGroup::RemoveSeries(TChartSeries* series) {
  series_.Remove(series);
}

void TSeriesGroup::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TSeriesGroup*>(source)) {
    name_ = other->name_;
    series_ = other->series_;
    return;
  }
  TCollectionItem::Assign(source);
}

void TSeriesGroup::DefineProperties(TFiler& filer) {
  TCollectionItem::DefineProperties(filer);
  ISeriesOwner* chart = Chart();
  filer.DefineProperty(
      "Series",
      [this](TReader& r) {
        stored_.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) stored_.push_back(r.ReadString());
        r.ReadListEnd();
      },
      [this, chart](TWriter& w) {
        w.WriteListBegin();
        for (TChartSeries* s : series_) w.WriteString(std::to_string(chart ? chart->SeriesIndex(*s) : -1));
        w.WriteListEnd();
      },
      !series_.empty());
}

const TClassInfo& TSeriesGroups::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSeriesGroups>("TSeriesGroups", &TOwnedCollection::StaticClass()).Abstract().Build();
  return info;
}

TSeriesGroups::TSeriesGroups(TPersistent* owner, ISeriesOwner* chart)
    : TOwnedCollection(owner, TSeriesGroup::StaticClass()), chart_(chart) {}

TSeriesGroup* TSeriesGroups::Find(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return Items(i);
  return nullptr;
}

void TSeriesGroups::ResolveStoredSeries() {
  for (int g = 0; g < Count(); ++g) {
    TSeriesGroup* group = Items(g);
    if (group->stored_.empty()) continue;
    std::vector<std::string> stored;
    stored.swap(group->stored_);
    group->series_.Clear();
    if (!chart_) continue;
    for (const std::string& text : stored) {
      int index = -1;
      try {
        index = std::stoi(text);
      } catch (...) {
        continue;  // not a number: no series
      }
      if (index >= 0 && index < chart_->SeriesCount()) group->AddSeries(chart_->SeriesAt(index));
    }
  }
}

void TSeriesGroups::SeriesRemoved(TChartSeries* series) {
  for (int g = 0; g < Count(); ++g) Items(g)->RemoveSeries(series);
}
