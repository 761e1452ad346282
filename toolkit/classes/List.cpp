// TList: pointer list with notification on every change.
#include "toolkit/classes/List.h"

#include <algorithm>
#include <string>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

const TClassInfo& TList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TList>("TList", &TObject::StaticClass()).Build();
  return info;
}

TList::~TList() { items_.clear(); }

void TList::Error(const char* message, int data) {
  throw EListError(Format(message, {data}));
}

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) Error("List index out of bounds (%d)", index);
}

int TList::Add(void* item) {
  items_.push_back(item);
  if (item != nullptr) Notify(item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) Error("List index out of bounds (%d)", index);
  items_.insert(items_.begin() + index, item);
  if (item != nullptr) Notify(item, lnAdded);
}

void TList::Delete(int index) {
  CheckIndex(index);
  void* item = items_[static_cast<size_t>(index)];
  items_.erase(items_.begin() + index);
  if (item != nullptr) Notify(item, lnDeleted);
}

int TList::Remove(void* item) {
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  const int index = IndexOf(item);
  if (index < 0) return nullptr;
  void* result = items_[static_cast<size_t>(index)];
  items_.erase(items_.begin() + index);
  Notify(result, lnExtracted);
  return result;
}

int TList::IndexOf(const void* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(newIndex);
  CheckIndex(curIndex);
  void* item = items_[static_cast<size_t>(curIndex)];
  items_.erase(items_.begin() + curIndex);
  items_.insert(items_.begin() + newIndex, item);
}

void* TList::First() const { return Items(0); }

void* TList::Last() const { return Items(Count() - 1); }

void TList::Clear() {
  SetCount(0);
  items_.shrink_to_fit();
}

void TList::Pack() {
  for (int i = Count() - 1; i >= 0; --i) {
    if (items_[static_cast<size_t>(i)] == nullptr) items_.erase(items_.begin() + i);
  }
}

void TList::Sort(const TListSortCompare& compare) {
  std::sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

void TList::SetCount(int count) {
  if (count < 0) Error("List count out of bounds (%d)", count);
  if (count > Count()) {
    items_.resize(static_cast<size_t>(count), nullptr);
  } else {
    for (int i = Count() - 1; i >= count; --i) Delete(i);
  }
}

void TList::SetCapacity(int capacity) {
  if (capacity < Count()) Error("List capacity out of bounds (%d)", capacity);
  items_.reserve(static_cast<size_t>(capacity));
}

void* TList::Items(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)];
}

void TList::Put(int index, void* item) {
  CheckIndex(index);
  void* old = items_[static_cast<size_t>(index)];
  if (old == item) return;
  items_[static_cast<size_t>(index)] = item;
  if (old != nullptr) Notify(old, lnDeleted);
  if (item != nullptr) Notify(item, lnAdded);
}

void TList::Notify(void*, TListNotification) {}
