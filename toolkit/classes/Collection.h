// TCollection / TCollectionItem: an owned, ordered list of items of one item class, streamed
// in layouts as a collection value (tag 14). Items belong to their collection (freeing the
// collection frees them; freeing an item removes it). Every change ends in the collection's
// Update (nullptr item: everything changed), unless inside BeginUpdate/EndUpdate, whose end
// calls Update(nullptr) once.
#pragma once

#include <string>
#include <vector>

#include "toolkit/classes/Persistent.h"

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
 public:
  // Adds itself to `collection` when one is given.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (or none).
  void SetCollection(TCollection* collection);
  int Index() const;
  virtual void SetIndex(int index);
  int ID() const { return id_; }
  virtual std::string DisplayName() const;
  virtual void SetDisplayName(const std::string&) {}

  TPersistent* GetOwner() const override;
  std::string GetNamePath() const override;

 protected:
  // Tells the collection that this item (allItems: every item) changed.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
 public:
  // Items are made from `itemClass` (a TCollectionItem descendant with a collection factory).
  explicit TCollection(const TClassInfo& itemClass);
  ~TCollection() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const TClassInfo& ItemClass() const { return *itemClass_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // EListError "List index out of bounds (%d)" outside 0..Count-1.
  TCollectionItem* Items(int index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  TCollectionItem* FindItemID(int id) const;
  void Exchange(int index1, int index2);

  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // From another collection: cleared, then inside one update an item per source item is
  // added and assigned from it.
  void Assign(TPersistent* source) override;
  std::string GetNamePath() const override;
  // The property name under which the owner publishes this collection (for name paths).
  void SetPropName(std::string name) { propName_ = std::move(name); }
  const std::string& PropName() const { return propName_; }

 protected:
  // Called after a change of `item` (null: of the whole collection), outside updates.
  virtual void Update(TCollectionItem* item);
  void Changed();
  virtual void Notify(TCollectionItem* item, TCollectionNotification action);

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);

  const TClassInfo* itemClass_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  int nextId_ = 0;
  std::string propName_;
};

// A collection whose owner (for naming and streaming) is a persistent object.
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection(TPersistent* owner, const TClassInfo& itemClass)
      : TCollection(itemClass), owner_(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
};
