// TComponent: ownership, naming, free notification, component state and the streaming hooks.
#include "toolkit/classes/Component.h"

#include <algorithm>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

bool IsValidIdent(std::string_view ident) {
  if (ident.empty()) return false;
  auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!alpha(ident[0])) return false;
  for (char c : ident) {
    if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

const TEnumInfo& EnumTypeInfo(TComponentStateFlag) {
  static const TEnumInfo info("TComponentStateFlag",
                              {"csLoading", "csReading", "csWriting", "csDestroying", "csDesigning",
                               "csAncestor", "csUpdating", "csFixups", "csFreeNotification",
                               "csInline", "csDesignInstance"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TComponentStyleFlag) {
  static const TEnumInfo info("TComponentStyleFlag",
                              {"csInheritable", "csCheckPropAvail", "csSubComponent", "csTransient"});
  return info;
}

TComponent* AsComponent(TObject* object) {
  if (object == nullptr) return nullptr;
  auto* c = dynamic_cast<TComponent*>(object);
  if (c == nullptr) throw EInvalidCast("Invalid class typecast");
  return c;
}

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TComponent>("TComponent", &TPersistent::StaticClass())
          .Property("Name", &TComponent::Name, &TComponent::SetName)
          .Stored(false)
          .Property("Tag", &TComponent::Tag, &TComponent::SetTag)
          .Default(0)
          .Build();
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  if (!state_.Contains(csDestroying)) Destroying();
  SendFreeNotifications();
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
  if (!state_.Contains(csDestroying)) Destroying();
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::SendFreeNotifications() {
  // Each receiver removes itself from our list in its Notification (base behaviour); guard
  // against receivers that do not, so the loop always ends.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  const auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int index) {
  if (owner_ == nullptr) return;
  auto& list = owner_->components_;
  const int current = ComponentIndex();
  if (current < 0) return;
  const int last = static_cast<int>(list.size()) - 1;
  index = std::clamp(index, 0, last);
  if (index == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::ValidateRename(TComponent* component, std::string_view curName,
                                std::string_view newName) {
  if (component != nullptr && !SameText(curName, newName) && component->owner_ == this &&
      FindComponent(newName) != nullptr) {
    throw EComponentError(Format("A component named %s already exists", {newName}));
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) {
    throw EComponentError(Format("'%s' is not a valid component name", {name}));
  }
  if (owner_ != nullptr) {
    owner_->ValidateRename(this, name_, name);
  } else {
    ValidateRename(nullptr, name_, name);
  }
  name_ = name;
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component->owner_ == this) return;
  // Refuse a duplicate name before the component leaves its old owner.
  if (!component->name_.empty() && FindComponent(component->name_) != nullptr) {
    throw EComponentError(Format("A component named %s already exists", {component->name_}));
  }
  if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
  Insert(component);
  ValidateInsert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component == nullptr || component->owner_ != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Remove(c);
    c->Free();
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
  }
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end()) {
    component->freeNotifies_.push_back(this);
  }
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (component == nullptr) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                      freeNotifies_.end());
  auto& other = component->freeNotifies_;
  other.erase(std::remove(other.begin(), other.end(), this), other.end());
  if (freeNotifies_.empty()) state_.Exclude(csFreeNotification);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component != nullptr) RemoveFreeNotification(component);
  // Pass the news down; iterate by index from the end since receivers may change the list.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (i < ComponentCount()) components_[static_cast<size_t>(i)]->Notification(component, operation);
  }
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  if (value) {
    state_.Include(csDesigning);
  } else {
    state_.Exclude(csDesigning);
  }
  if (setChildren) {
    for (TComponent* c : components_) c->SetDesigning(value, true);
  }
}

void TComponent::SetSubComponent(bool value) {
  if (value) {
    style_.Include(csSubComponent);
  } else {
    style_.Exclude(csSubComponent);
  }
}

void TComponent::SetInline(bool value) {
  if (value) {
    state_.Include(csInline);
  } else {
    state_.Exclude(csInline);
  }
}

void TComponent::SetAncestor(bool value) {
  if (value) {
    state_.Include(csAncestor);
  } else {
    state_.Exclude(csAncestor);
  }
  for (TComponent* c : components_) c->SetAncestor(value);
}

void TComponent::Loading() { state_.Include(csLoading); }

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc& proc, TComponent* root) {
  if (root != this) return;
  for (TComponent* c : components_) {
    if (!c->HasParent() && !c->style_.Contains(csSubComponent)) proc(c);
  }
}

void TComponent::ReadState(TReader& reader) { reader.ReadData(this); }

void TComponent::WriteState(TWriter& writer) { writer.WriteData(this); }
