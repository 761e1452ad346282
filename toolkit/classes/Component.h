// TComponent: a named persistent object in an ownership tree. An owner frees what it owns,
// names are unique (case-insensitively) among an owner's components, components that asked
// for free notification hear of each other's destruction (Notification opRemove), and the
// layout reader drives ComponentState (csLoading, csReading ...) and Loaded.
// Destruction order: csDestroying is set, free notifications are sent, owned components are
// destroyed (last first), then the component leaves its owner.
#pragma once

#include <cstdint>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/classes/Persistent.h"
#include "toolkit/classes/Set.h"

class TReader;
class TWriter;
class TComponent;
class TEnumInfo;

enum class TOperation { opInsert, opRemove };
using enum TOperation;

enum TComponentStateFlag {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateFlag>;

enum TComponentStyleFlag { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleFlag>;

using TGetChildProc = std::function<void(TComponent* child)>;

class TComponent : public TPersistent {
 public:
  // Inserts itself into `owner`'s components when an owner is given.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // EComponentError "'%s' is not a valid component name" for a bad identifier, and
  // "A component named %s already exists" when the owner has one of that name.
  virtual void SetName(const std::string& name);
  // A pointer-sized number the program may use freely (it can hold an address).
  std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t tag) { tag_ = tag; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // EListError "List index out of bounds (%d)" outside 0..ComponentCount-1.
  TComponent* Components(int index) const;
  // Position in the owner's list; -1 without owner.
  int ComponentIndex() const;
  void SetComponentIndex(int index);
  // Owned component of that name (case-insensitive); null when none or name is empty.
  TComponent* FindComponent(std::string_view name) const;
  // Takes ownership of `component` (leaving its old owner) / gives it up without freeing it.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees every owned component, last first.
  void DestroyComponents();

  // Asks `component` to be told (Notification opRemove) when this component is destroyed,
  // and the other way round.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  TComponentState ComponentState() const { return state_; }
  TComponentStyle ComponentStyle() const { return style_; }
  // Design mode for this component and (by default) everything it owns.
  void SetDesigning(bool value, bool setChildren = true);
  // Marks a component owned by another as part of it (streamed inside, not by reference).
  void SetSubComponent(bool value);

  // Sets csLoading; the layout reader calls it for every component it reads.
  virtual void Loading();
  // Called once the whole layout is read and references are fixed; clears csLoading.
  virtual void Loaded();
  // Sets csDestroying and tells owned components.
  void Destroying();
  void BeforeDestruction() override;

  // Told of insertion into / removal from this component's owner tree and of the destruction
  // of components it asked for free notification. The base forgets a removed component's
  // free notification and passes the news to every owned component.
  virtual void Notification(TComponent* component, TOperation operation);

  // Streaming tree: the children written inside this component. The base lists, when this
  // component is the root, the owned components that have no parent component.
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  // Reads this component's properties and children (TControl sets its parent first).
  virtual void ReadState(TReader& reader);
  virtual void WriteState(TWriter& writer);

  TPersistent* GetOwner() const override { return owner_; }
  std::string GetNamePath() const override { return name_; }

 protected:
  // Raises when `component` (owned by this) may not be renamed from curName to newName.
  virtual void ValidateRename(TComponent* component, std::string_view curName, std::string_view newName);
  virtual void ValidateInsert(TComponent*) {}
  virtual void SetChildOrder(TComponent*, int) {}
  void SetInline(bool value);
  void SetAncestor(bool value);

 private:
  friend class TReader;
  friend class TWriter;
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void SendFreeNotifications();
  void IncludeState(TComponentStateFlag flag) { state_.Include(flag); }
  void ExcludeState(TComponentStateFlag flag) { state_.Exclude(flag); }

  TComponent* owner_ = nullptr;
  std::string name_;
  std::intptr_t tag_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_;
  TComponentStyle style_ = {csInheritable};
};

const TEnumInfo& EnumTypeInfo(TComponentStateFlag);
const TEnumInfo& EnumTypeInfo(TComponentStyleFlag);

// Pascal identifier rules: a letter or "_" followed by letters, digits or "_".
bool IsValidIdent(std::string_view ident);
