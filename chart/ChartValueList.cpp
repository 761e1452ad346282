// Value lists: ordered insert, geometric growth, cached statistics and owner notification.
#include "chart/ChartValueList.h"

#include <algorithm>
#include <cmath>

#include "chart/KelProcs.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

// First capacity; later growth doubles it, so loading a long recording stays linear.
constexpr int kFirstCapacity = 1000;

void ShowObsoleteMultiplierBox(const std::string& text) {
  MessageBoxW(nullptr, Utf8ToWide(text).c_str(), L"", MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace

void (*ObsoleteMultiplierNotice)(const std::string& text) = ShowObsoleteMultiplierBox;

const TEnumInfo& EnumTypeInfo(TChartListOrder) {
  static const TEnumInfo info("TChartListOrder", {"loNone", "loAscending", "loDescending"});
  return info;
}

const TClassInfo& TChartValueList::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TChartValueList>("TChartValueList", &TPersistent::StaticClass())
          .Property("DateTime", &TChartValueList::DateTime, &TChartValueList::ChangeDateTime)
          .Stored(&TChartValueList::IsDateTimeStored)
          .Property("Name", &TChartValueList::Name, &TChartValueList::SetName)
          .Property("Order", &TChartValueList::Order, &TChartValueList::SetOrder)
          .Property("ValueSource", &TChartValueList::ValueSource,
                    &TChartValueList::ChangeValueSource)
          .Build();
  return info;
}

TChartValueList::TChartValueList(IValueListOwner* owner, std::string name)
    : name_(std::move(name)), owner_(owner) {
  if (owner_) owner_->ValueLists().Add(this);
  ClearAll();
}

TChartValueList::~TChartValueList() { ClearAll(); }

void TChartValueList::Assign(TPersistent* source) {
  auto* list = dynamic_cast<TChartValueList*>(source);
  if (list == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  order_ = list->order_;
  dateTime_ = list->dateTime_;
  valueSource_ = list->valueSource_;
}

void TChartValueList::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineProperty(
      "Multiplier", [this](TReader& reader) { ReadMultiplier(static_cast<double>(reader.ReadFloat())); },
      nullptr, false);
}

void TChartValueList::TellOwner(int index) {
  if (owner_) owner_->NotifyValueChange(sckModified, index);
}

// Doubling (from at least the first capacity, also after a small exact reserve) keeps a list
// that takes one value at a time from being copied whole more than a few times.
void TChartValueList::Grow() { Reserve(std::max(kFirstCapacity, capacity_ * 2)); }

void TChartValueList::Reserve(int capacity) {
  if (capacity <= capacity_) return;
  std::unique_ptr<double[]> grown(new double[capacity]);
  std::copy(values_.get(), values_.get() + count_, grown.get());
  values_ = std::move(grown);
  capacity_ = capacity;
}

int TChartValueList::AppendValue(double value) {
  PendingValue = value;
  return InsertOrdered();
}

int TChartValueList::InsertOrdered() {
  const double v = PendingValue;
  const int last = count_ - 1;
  int index = count_;
  if (order_ != loNone && count_ > 0) {
    if (order_ == loAscending) {
      if (v < values_[last]) {
        int j = last;
        while (j >= 0 && values_[j] > v) --j;
        index = j + 1;
      }
    } else if (v > values_[last]) {
      int j = last;
      while (j >= 0 && values_[j] < v) --j;
      index = j + 1;
    }
  }
  if (count_ + 1 > Capacity()) Grow();
  if (index < count_)
    std::copy_backward(values_.get() + index, values_.get() + count_,
                       values_.get() + count_ + 1);
  // A value added at the end leaves the values the statistics were taken from as they were.
  if (index < count_) statsCount_ = -1;
  values_[index] = v;
  ++count_;
  SetModified();
  return index;
}

void TChartValueList::InsertValue(int index, double value) {
  if (index < count_) statsCount_ = -1;
  if (count_ + 1 > Capacity()) Grow();
  if (index < count_)
    std::copy_backward(values_.get() + index, values_.get() + count_,
                       values_.get() + count_ + 1);
  values_[index] = value;
  ++count_;
  SetModified();
}

void TChartValueList::DeleteValue(int index) { DeleteRange(index, 1); }

void TChartValueList::DeleteRange(int index, int n) {
  n = std::min(n, count_ - index);
  if (n <= 0 || index < 0) return;
  std::copy(values_.get() + index + n, values_.get() + count_, values_.get() + index);
  count_ -= n;
  statsCount_ = -1;
  SetModified();
}

void TChartValueList::ClearAll() {
  count_ = 0;
  values_.reset();
  capacity_ = 0;
  modified_ = true;
  statsCount_ = -1;
}

void TChartValueList::SetValueAt(int index, double value) {
  values_[index] = value;
  modified_ = true;
  statsCount_ = -1;
  TellOwner(index);
}

double TChartValueList::MaxValue() {
  if (modified_) RecalcStats();
  return maximum_;
}

double TChartValueList::MinValue() {
  if (modified_) RecalcStats();
  return minimum_;
}

double TChartValueList::Total() {
  if (modified_) RecalcStats();
  return total_;
}

double TChartValueList::TotalAbs() {
  if (modified_) RecalcStats();
  return totalAbs_;
}

double TChartValueList::ValueRange() {
  if (modified_) RecalcStats();
  return maximum_ - minimum_;
}

void TChartValueList::RecalcStats() {
  if (count_ > Capacity()) count_ = Capacity();
  if (count_ <= 0) {
    SetStats(0, 0, 0, 0);
    return;
  }
  double minimum = values_[0];
  double maximum = minimum;
  double total = minimum;
  double totalAbs = std::fabs(minimum);
  int from = 1;
  if (statsCount_ > 0 && statsCount_ <= count_) {
    // Only values added at the end since the last count: the same comparisons and sums in the
    // same order as a recount from the first value, from where that count stopped.
    minimum = minimum_;
    maximum = maximum_;
    total = total_;
    totalAbs = totalAbs_;
    from = statsCount_;
  }
  for (int i = from; i < count_; ++i) {
    const double v = values_[i];
    if (v < minimum)
      minimum = v;
    else if (v > maximum)
      maximum = v;
    total += v;
    totalAbs += std::fabs(v);
  }
  minimum_ = minimum;
  maximum_ = maximum;
  total_ = total;
  totalAbs_ = totalAbs;
  modified_ = false;
  statsCount_ = count_;
}

void TChartValueList::SetStats(double minimum, double maximum, double total, double totalAbs) {
  if (count_ > Capacity()) count_ = Capacity();
  minimum_ = minimum;
  maximum_ = maximum;
  total_ = total;
  totalAbs_ = totalAbs;
  modified_ = false;
  statsCount_ = count_;
}

int TChartValueList::Locate(double value) const { return LocateInRange(0, count_ - 1, value); }

int TChartValueList::LocateInRange(int first, int last, double value) const {
  for (int i = std::max(first, 0); i <= last && i < count_; ++i)
    if (values_[i] == value) return i;
  return -1;
}

void TChartValueList::MarkModified(bool flag) {
  // From outside: any value may have changed.
  if (flag) statsCount_ = -1;
  if (modified_ == flag) return;
  modified_ = flag;
  if (flag) TellOwner(-1);
}

void TChartValueList::SetModified() {
  if (modified_) return;
  modified_ = true;
  TellOwner(-1);
}

void TChartValueList::ExchangeItems(int i, int j) {
  std::swap(values_[i], values_[j]);
  modified_ = true;
  statsCount_ = -1;
  TellOwner(i);
}

int TChartValueList::CompareItems(int i, int j) const {
  const double a = values_[i];
  const double b = values_[j];
  int result;
  if (a < b)
    result = -1;
  else if (a > b)
    result = 1;
  else
    return j > i ? -1 : 0;  // equal values: not negated for descending order
  return order_ == loDescending ? -result : result;
}

void TChartValueList::SortByOrder() {
  if (order_ == loNone) return;
  SortByIndex(
      0, count_ - 1, [this](int i, int j) { return CompareItems(i, j); },
      [this](int i, int j) {
        if (owner_)
          owner_->ExchangePoints(i, j);
        else
          ExchangeItems(i, j);
      });
}

void TChartValueList::FillSequence() {
  for (int i = 0; i < count_; ++i) values_[i] = i;
  modified_ = true;
  statsCount_ = -1;
  TellOwner(0);
}

void TChartValueList::RotateLeft() {
  if (count_ > 0) std::rotate(values_.get(), values_.get() + 1, values_.get() + count_);
  // The totals are sums in list order: counted anew on the next read.
  modified_ = true;
  statsCount_ = -1;
}

void TChartValueList::ChangeDateTime(bool flag) {
  if (dateTime_ == flag) return;
  dateTime_ = flag;
  if (owner_) owner_->RepaintOwner();
}

void TChartValueList::ChangeValueSource(const std::string& name) {
  if (valueSource_ == name) return;
  valueSource_ = name;
  if (owner_) owner_->ReloadFromSource();
}

void TChartValueList::ReadMultiplier(double value) {
  if (value != 1 && ObsoleteMultiplierNotice)
    ObsoleteMultiplierNotice(
        "Error: Multiplier property is obsolete.\rModify KelDefs (enable Multiplier) and "
        "recompile.");
}

void TChartValueLists::Add(TChartValueList* list) { lists_.emplace_back(list); }

void TChartValueLists::Clear() { lists_.clear(); }
