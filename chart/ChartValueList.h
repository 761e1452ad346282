// One column of numbers of a series (X, Y or an extra column) and the series' list of them.
// A TChartValueList is a growable contiguous array of doubles that can keep itself ordered on
// insert, caches min/max/total/absolute total behind a modified flag and tells its owning
// series of every change. Invariant: values [0, Count) are the contents, Count <= capacity,
// and the cached statistics are valid only while the modified flag is off.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/classes/Persistent.h"
#include "toolkit/classes/TypInfo.h"

class TField;
class TChartValueList;
class TChartValueLists;

// How a series' data changed, as the series passes it on to dependent series and functions.
enum TSeriesChangeKind { sckCleared, sckAdded, sckDeleted, sckRefresh, sckModified };

// What a value list needs from the series that owns it; the series implements it.
class IValueListOwner {
 public:
  virtual ~IValueListOwner() = default;
  // The series' list of value lists, which a new list joins and which frees it.
  virtual TChartValueLists& ValueLists() = 0;
  // Passes a change on to dependents (the series' NotifyValueChange).
  virtual void NotifyValueChange(TSeriesChangeKind kind, int index) = 0;
  // Swaps two points in every store of the series (all lists, colours, labels, pictures).
  virtual void ExchangePoints(int i, int j) = 0;
  // Repaints the chart the series belongs to, if any.
  virtual void RepaintOwner() = 0;
  // Reloads the series' points from its data source.
  virtual void ReloadFromSource() = 0;
};

enum TChartListOrder { loNone, loAscending, loDescending };
const TEnumInfo& EnumTypeInfo(TChartListOrder);

// Published: DateTime (stored when it differs from the default date-time flag), Name, Order,
// ValueSource; the obsolete "Multiplier" is only read.
class TChartValueList : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Joins the owner's TChartValueLists (which then owns and frees the list) when an owner is
  // given; without one the caller owns it. The list starts empty and modified.
  TChartValueList(IValueListOwner* owner, std::string name);
  ~TChartValueList() override;

  // From another value list: copies order, date-time flag and value source (not the values).
  void Assign(TPersistent* source) override;
  // Reads the obsolete "Multiplier" entry.
  void DefineProperties(TFiler& filer) override;

  // Ordered insert of `value` (stored as the pending value first); returns the index used.
  virtual int AppendValue(double value);
  // Inserts the pending value by the list's order: equal values go after existing ones, and a
  // value in order is appended with one comparison. Returns the index used.
  int InsertOrdered();
  // Inserts at `index` (0..Count), moving later values up.
  virtual void InsertValue(int index, double value);
  virtual void DeleteValue(int index);
  // Removes `n` values from `index` (n is cut to what the list holds).
  void DeleteRange(int index, int n);
  // Empties the list and frees its storage; no notification.
  virtual void ClearAll();

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  // Makes room for `capacity` values at once (a load that knows its size); never shrinks.
  void Reserve(int capacity);
  // No range checks: callers keep indexes inside 0..Count-1.
  double ValueAt(int index) const { return values_[index]; }
  double operator[](int index) const { return values_[index]; }
  const double* Values() const { return values_.get(); }
  // Stores a value and always tells the owner *modified* with the index.
  void SetValueAt(int index, double value);
  double FirstValue() const { return values_[0]; }
  double LastValue() const { return values_[count_ - 1]; }

  // Statistics, recomputed on first read after a change; 0 for an empty list.
  double MaxValue();
  double MinValue();
  double Total();
  double TotalAbs();
  double ValueRange();
  void RecalcStats();
  void SetStats(double minimum, double maximum, double total, double totalAbs);

  // First index whose value equals `value` exactly, or -1.
  int Locate(double value) const;
  int LocateInRange(int first, int last, double value) const;

  // Sets the modified flag; becoming true tells the owner *modified* with index -1.
  void MarkModified(bool flag);
  bool Modified() const { return modified_; }

  void ExchangeItems(int i, int j);
  // -1, 0 or 1 by the list's order; equal values give -1 when j > i, else 0.
  int CompareItems(int i, int j) const;
  // Sorts by Order through the owner's ExchangePoints, so the whole series moves together.
  void SortByOrder();
  // Value i := i for every index.
  void FillSequence();
  // Every value one place down, the first becoming the last.
  void RotateLeft();

  bool DateTime() const { return dateTime_; }
  void ChangeDateTime(bool flag);
  bool DefaultDateTime() const { return defaultDateTime_; }
  void SetDefaultDateTime(bool flag) { defaultDateTime_ = flag; }
  bool IsDateTimeStored() const { return dateTime_ != defaultDateTime_; }

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  TChartListOrder Order() const { return order_; }
  void SetOrder(TChartListOrder order) { order_ = order; }
  const std::string& ValueSource() const { return valueSource_; }
  void ChangeValueSource(const std::string& name);

  // A stored "Multiplier" entry (obsolete; never written): any value but exactly 1 shows
  // ObsoleteMultiplierNotice, and loading goes on.
  void ReadMultiplier(double value);

  IValueListOwner* Owner() const { return owner_; }
  // The value the next InsertOrdered stores (the series writes it before adding a point).
  double PendingValue = 0;
  // The data-set field that fills this list during a database load; none otherwise.
  TField* BoundField = nullptr;

 private:
  void Grow();
  void TellOwner(int index);
  // The statistics are stale after a change of this list's own making (which `statsCount_`
  // describes); tells the owner when the flag turns on.
  void SetModified();

  int count_ = 0;
  bool dateTime_ = false;
  double maximum_ = 0;
  double minimum_ = 0;
  std::string name_;
  TChartListOrder order_ = loNone;
  IValueListOwner* owner_;
  double total_ = 0;
  double totalAbs_ = 0;
  std::string valueSource_;
  bool defaultDateTime_ = false;
  bool modified_ = true;
  // How many leading values the cached statistics were taken from, while those values are
  // unchanged (only values added after them since); -1 when unknown.
  int statsCount_ = -1;
  // The storage: capacity_ doubles, of which the first count_ are in use.
  std::unique_ptr<double[]> values_;
  int capacity_ = 0;
};

// Shows the obsolete-multiplier text to the user: a task-modal error box with an empty caption.
// Replaceable, so that a test or an unattended run need not wait on a message box.
extern void (*ObsoleteMultiplierNotice)(const std::string& text);

// A series' value lists in creation order (X, Y, extra columns); owns and frees them.
class TChartValueLists {
 public:
  TChartValueLists() = default;
  ~TChartValueLists() { Clear(); }
  TChartValueLists(const TChartValueLists&) = delete;
  TChartValueLists& operator=(const TChartValueLists&) = delete;

  // Takes ownership.
  void Add(TChartValueList* list);
  // Frees every list.
  void Clear();
  int Count() const { return static_cast<int>(lists_.size()); }
  TChartValueList& operator[](int index) const { return *lists_[index]; }

 private:
  std::vector<std::unique_ptr<TChartValueList>> lists_;
};
