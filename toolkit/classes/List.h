// TList: an ordered list of untyped pointers with the run-time library's semantics: index
// errors raise EListError "List index out of bounds (%d)", and every addition, deletion and
// extraction goes through the virtual Notify so that descendants can react (free, unlink).
// A descendant that relies on Notify during destruction must Clear in its own destructor.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/classes/Object.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// Negative, zero or positive as in Pascal's TListSortCompare.
using TListSortCompare = std::function<int(void* a, void* b)>;

class TList : public TObject {
 public:
  TList() = default;
  ~TList() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  // Index the item had, or -1 when absent.
  int Remove(void* item);
  // Takes the item out without lnDeleted (lnExtracted instead); returns it, or null.
  void* Extract(void* item);
  int IndexOf(const void* item) const;
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  void* First() const;
  void* Last() const;
  virtual void Clear();
  // Removes null entries.
  void Pack();
  // Quick sort with the comparison (not stable).
  void Sort(const TListSortCompare& compare);

  int Count() const { return static_cast<int>(items_.size()); }
  // Growing fills with nulls; shrinking deletes the entries beyond the new count.
  void SetCount(int count);
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity);
  void* Items(int index) const;
  void Put(int index, void* item);
  void* operator[](int index) const { return Items(index); }
  const std::vector<void*>& List() const { return items_; }

 protected:
  virtual void Notify(void* item, TListNotification action);
  [[noreturn]] static void Error(const char* message, int data);

 private:
  void CheckIndex(int index) const;
  std::vector<void*> items_;
};
