// TComponent: owners free what they own, names are unique per owner, free notification and
// owner notification reach the right components, and destruction order is observable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

// Records what it hears and where it died.
class Probe : public TComponent {
 public:
  explicit Probe(TComponent* owner, std::vector<std::string>* log = nullptr) : TComponent(owner), log_(log) {}
  ~Probe() override {
    if (log_ != nullptr) log_->push_back("destroy " + Name());
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (log_ != nullptr) {
      log_->push_back(Name() + (operation == opInsert ? " insert " : " remove ") + component->Name());
    }
    if (operation == opRemove && component == watched) watched = nullptr;
  }
  TComponent* watched = nullptr;

 private:
  std::vector<std::string>* log_;
};

TEST(Component, OwnerFreesOwnedComponentsLastFirst) {
  std::vector<std::string> log;
  auto* owner = new Probe(nullptr, &log);
  owner->SetName("Owner");
  auto* a = new Probe(owner, &log);
  a->SetName("A");
  auto* b = new Probe(owner, &log);
  b->SetName("B");
  auto* c = new Probe(a, &log);
  c->SetName("C");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  log.clear();
  owner->Free();
    // The owner's own destructor body runs first (as in any descendant), then what it owns goes,
  // last first, each before what it owns in turn.
  EXPECT_EQ(log, (std::vector<std::string>{"destroy Owner", "destroy B", "destroy A", "destroy C"}));
}

TEST(Component, OwnerHearsOfInsertionAndRemoval) {
  std::vector<std::string> log;
  Probe owner(nullptr, &log);
  owner.SetName("Owner");
  auto* sibling = new Probe(&owner, &log);
  sibling->SetName("Sibling");
  log.clear();
  auto* child = new Probe(&owner, &log);
  EXPECT_EQ(log, (std::vector<std::string>{"Sibling insert ", "Owner insert "}));
  child->SetName("Child");
  log.clear();
  delete child;
  // The owner passes the removal on to what it owns, so a sibling that refers to the child
  // can let go of it.
  EXPECT_EQ(log, (std::vector<std::string>{"destroy Child", "Sibling remove Child", "Owner remove Child"}));
  EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(Component, FreeNotificationReachesComponentsOfOtherOwners) {
  Probe form1(nullptr), form2(nullptr);
  auto* source = new Probe(&form1);
  source->SetName("Source");
  auto* user = new Probe(&form2);
  user->SetName("User");
  user->watched = source;
  source->FreeNotification(user);
  EXPECT_TRUE(source->ComponentState().Contains(csFreeNotification));
  delete source;
  EXPECT_EQ(user->watched, nullptr);
}

TEST(Component, RemovedFreeNotificationIsNotSent) {
  Probe form1(nullptr), form2(nullptr);
  auto* source = new Probe(&form1);
  auto* user = new Probe(&form2);
  user->watched = source;
  source->FreeNotification(user);
  source->RemoveFreeNotification(user);
  delete source;
  EXPECT_NE(user->watched, nullptr);
}

TEST(Component, DestroyedWatcherLeavesNoDanglingLink) {
  std::vector<std::string> log;
  Probe form(nullptr);
  auto* source = new Probe(nullptr, &log);
  source->SetName("Source");
  auto* user = new Probe(&form, &log);
  user->SetName("User");
  source->FreeNotification(user);
  delete user;   // must unlink itself from source
  delete source;  // would notify the dead User otherwise
  // Nothing reached User after it was destroyed.
  ASSERT_EQ(log.front(), "destroy User");
  ASSERT_EQ(log.back(), "destroy Source");
  for (size_t i = 1; i < log.size(); ++i) EXPECT_NE(log[i].rfind("User ", 0), 0u) << log[i];
}

TEST(Component, DestroyingStateIsSetBeforeOwnedComponentsGo) {
  auto* owner = new TComponent(nullptr);
  auto* child = new TComponent(owner);
  bool childSawDestroying = false;
  struct Watch : TComponent {
    using TComponent::TComponent;
    bool* flag = nullptr;
    ~Watch() override {
      if (flag != nullptr) *flag = Owner() == nullptr && ComponentState().Contains(csDestroying);
    }
  };
  auto* w = new Watch(child);
  w->flag = &childSawDestroying;
  owner->BeforeDestruction();
  EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
  delete owner;
  EXPECT_TRUE(childSawDestroying);
}

struct NameCase {
  const char* name;
  const char* newName;
  bool valid;
};

class ComponentName : public ::testing::TestWithParam<NameCase> {};

TEST_P(ComponentName, FollowsIdentifierRules) {
  TComponent c(nullptr);
  if (GetParam().valid) {
    c.SetName(GetParam().newName);
    EXPECT_EQ(c.Name(), GetParam().newName);
  } else {
    try {
      c.SetName(GetParam().newName);
      FAIL();
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(GetParam().newName) + "' is not a valid component name");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Names, ComponentName,
                         ::testing::Values(NameCase{"Plain", "btn_start", true}, NameCase{"Underscore", "_x1", true},
                                           NameCase{"Empty", "", true}, NameCase{"LeadingDigit", "1abc", false},
                                           NameCase{"Blank", "a b", false}, NameCase{"Dot", "a.b", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Component, NamesAreUniqueCaseInsensitivelyPerOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("Edit1");
  auto* b = new TComponent(&owner);
  try {
    b->SetName("EDIT1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named EDIT1 already exists");
  }
  a->SetName("EDIT1");  // renaming itself in another case is allowed
  EXPECT_EQ(owner.FindComponent("edit1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_EQ(owner.FindComponent("Nothing"), nullptr);
  TComponent other(nullptr);
  auto* c = new TComponent(&other);
  c->SetName("Edit1");
  EXPECT_THROW(owner.InsertComponent(c), EComponentError);
  EXPECT_EQ(c->Owner(), &other);
}

TEST(Component, InsertComponentMovesOwnership) {
  TComponent first(nullptr), second(nullptr);
  auto* c = new TComponent(&first);
  second.InsertComponent(c);
  EXPECT_EQ(c->Owner(), &second);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(second.Components(0), c);
  EXPECT_THROW(second.Components(1), EListError);
}

TEST(Component, LoadedClearsLoading) {
  TComponent c(nullptr);
  c.Loading();
  EXPECT_TRUE(c.ComponentState().Contains(csLoading));
  c.Loaded();
  EXPECT_FALSE(c.ComponentState().Contains(csLoading));
}

TEST(Component, DesigningReachesOwnedComponents) {
  TComponent owner(nullptr);
  auto* c = new TComponent(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(c->ComponentState().Contains(csDesigning));
  owner.SetDesigning(false, false);
  EXPECT_TRUE(c->ComponentState().Contains(csDesigning));
  EXPECT_FALSE(owner.ComponentState().Contains(csDesigning));
}

TEST(Component, PublishesNameAndTag) {
  TComponent c(nullptr);
  SetOrdProp(c, "Tag", 42);
  EXPECT_EQ(c.Tag(), 42);
  SetStrProp(c, "name", "Timer1");
  EXPECT_EQ(c.Name(), "Timer1");
  EXPECT_EQ(c.ClassName(), "TComponent");
  EXPECT_TRUE(c.InheritsFrom(TPersistent::StaticClass()));
  EXPECT_THROW(SetOrdProp(c, "Missing", 1), EPropertyError);
}

}  // namespace
