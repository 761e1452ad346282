// TKxPidlList: an ordered container of item-id lists with the shell's comparison.
#include "shell/KxPidlList.h"

#include <algorithm>

TKxPidlList::~TKxPidlList() { Clear(); }

int TKxPidlList::Compare(PCIDL entry, PCIDL key) const {
  if (folder_) return static_cast<short>(folder_->CompareIDs(0, entry, key) & 0xFFFF);
  return CompareIdListBytes(entry, key);
}

void TKxPidlList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EListError(Format("List index out of bounds (%d)", {index}));
}

void TKxPidlList::FreeList(PIDL list) const {
  if (allocator_ && list) allocator_->Free(list);
}

int TKxPidlList::Add(PIDL list) { return AddObject(list, nullptr); }

int TKxPidlList::AddObject(PIDL list, void* object) {
  int index = Count();
  if (sorted_ && Find(list, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EListError("TKxPidlList: Duplicate PIDL");
  }
  entries_.insert(entries_.begin() + index, Entry{list, object});
  return index;
}

bool TKxPidlList::Find(PCIDL list, int& index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int c = Compare(entries_[middle].list, list);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) low = middle;
      }
    }
  }
  index = low;
  return found;
}

int TKxPidlList::IndexOf(PCIDL list) const {
  if (sorted_) {
    int index = 0;
    return Find(list, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (Compare(entries_[i].list, list) == 0) return i;
  return -1;
}

void TKxPidlList::Delete(int index) {
  CheckIndex(index);
  FreeList(entries_[index].list);
  entries_.erase(entries_.begin() + index);
}

void TKxPidlList::Clear() {
  for (const Entry& e : entries_) FreeList(e.list);
  entries_.clear();
  entries_.shrink_to_fit();
}

void TKxPidlList::Sort() {
  std::stable_sort(entries_.begin(), entries_.end(),
                   [this](const Entry& a, const Entry& b) { return Compare(a.list, b.list) < 0; });
}

void TKxPidlList::SetSorted(bool value) {
  if (value && !sorted_) Sort();
  sorted_ = value;
}

void TKxPidlList::SetCapacity(int value) {
  if (value < Count()) throw EListError(Format("List capacity out of bounds (%d)", {value}));
  if (value > Capacity()) entries_.reserve(value);
}

PIDL TKxPidlList::Items(int index) const {
  CheckIndex(index);
  return entries_[index].list;
}

void* TKxPidlList::Objects(int index) const {
  CheckIndex(index);
  return entries_[index].object;
}
