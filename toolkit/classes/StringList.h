// TStringList: the concrete string list: optional sorting with a duplicates policy
// (dupIgnore, dupAccept, dupError), binary search (Find), associated objects, and OnChanging /
// OnChange around every change (once per BeginUpdate/EndUpdate bracket).
#pragma once

#include <functional>
#include <vector>

#include "toolkit/classes/Events.h"
#include "toolkit/classes/Strings.h"

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
class TEnumInfo;
// Negative, zero or positive for the entries at index1 and index2.
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
 public:
  TStringList() = default;
  ~TStringList() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  // Sorted lists: EStringListError "Operation not allowed on sorted list".
  void Insert(int index, const std::string& s) override;
  void InsertObject(int index, const std::string& s, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  // Unsorted: appends. Sorted: inserts in order; an equal text is ignored (returning the
  // existing index), accepted, or raises EStringListError
  // "String list does not allow duplicates", by Duplicates.
  int Add(const std::string& s) override;
  int AddObject(const std::string& s, TObject* object) override;
  int IndexOf(std::string_view s) const override;
  void Exchange(int index1, int index2) override;

  // Binary search of a sorted list: true when found; index is the match or the insertion
  // point. With dupAccept the first of equal entries is not guaranteed.
  bool Find(std::string_view s, int& index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool updating) override;
  int CompareStrings(std::string_view a, std::string_view b) const override;

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  void CheckIndex(int index) const;
  void InsertItem(int index, const std::string& s, TObject* object);
  void QuickSort(int left, int right, const TStringListSortCompare& compare);

  std::vector<Item> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
  bool caseSensitive_ = false;
};

const TEnumInfo& EnumTypeInfo(TDuplicates);
