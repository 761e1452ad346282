// TCollection / TCollectionItem: item ownership, ordering, identities and update notification.
#include "toolkit/classes/Collection.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

TCollection* AsCollection(TObject* object) {
  if (object == nullptr) return nullptr;
  auto* c = dynamic_cast<TCollection*>(object);
  if (c == nullptr) throw EInvalidCast("Invalid class typecast");
  return c;
}

// ---- TCollectionItem --------------------------------------------------------------------------

const TClassInfo& TCollectionItem::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClass()).Build();
  return info;
}

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection_ == collection) return;
  if (collection_ != nullptr) collection_->RemoveItem(this);
  if (collection != nullptr) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (collection_ == nullptr) return -1;
  const auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index) {
  const int current = Index();
  if (current < 0 || index == current) return;
  auto& items = collection_->items_;
  if (index < 0 || index >= static_cast<int>(items.size())) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  items.erase(items.begin() + current);
  items.insert(items.begin() + index, this);
  Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::Changed(bool allItems) {
  if (collection_ != nullptr && collection_->updateCount_ == 0) {
    collection_->Update(allItems ? nullptr : this);
  }
}

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

std::string TCollectionItem::GetNamePath() const {
  if (collection_ == nullptr) return ClassName();
  return collection_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

// ---- TCollection ------------------------------------------------------------------------------

const TClassInfo& TCollection::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCollection>("TCollection", &TPersistent::StaticClass()).Abstract().Build();
  return info;
}

const TClassInfo& TOwnedCollection::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TOwnedCollection>("TOwnedCollection", &TCollection::StaticClass()).Abstract().Build();
  return info;
}

TCollection::TCollection(const TClassInfo& itemClass) : itemClass_(&itemClass) {}

TCollection::~TCollection() {
  ++updateCount_;  // no Update calls into a half-destroyed collection
  while (!items_.empty()) delete items_.back();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  TObject* object = itemClass_->CreateInstance(this);
  auto* item = dynamic_cast<TCollectionItem*>(object);
  if (item == nullptr) {
    delete object;
    throw EInvalidCast("Invalid class typecast");
  }
  if (item->collection_ != this) item->SetCollection(this);
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  try {
    while (!items_.empty()) delete items_.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_) {
    if (item->id_ == id) return item;
  }
  return nullptr;
}

void TCollection::Exchange(int index1, int index2) {
  Items(index1);
  Items(index2);
  std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
  Changed();
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ <= 0) return;
  --updateCount_;
  Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->collection_ = nullptr;
  Changed();
}

void TCollection::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCollection*>(source)) {
    if (other == this) return;
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* item : other->items_) Add()->Assign(item);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

std::string TCollection::GetNamePath() const {
  TPersistent* owner = GetOwner();
  if (owner == nullptr) return ClassName();
  const std::string ownerPath = owner->GetNamePath();
  if (ownerPath.empty() || propName_.empty()) return ClassName();
  return ownerPath + "." + propName_;
}
