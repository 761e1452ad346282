// The class registry: groups of registered classes keyed by group class, one active group.
#include "toolkit/classes/ClassRegistry.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/classes/Persistent.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

struct Group {
  const TClassInfo* groupClass;
  // Classes whose descendants belong here (the group class and those grouped with it).
  std::vector<const TClassInfo*> roots;
  std::vector<std::pair<std::string, const TClassInfo*>> classes;
};

struct Registry {
  std::recursive_mutex lock;
  std::vector<std::unique_ptr<Group>> groups;  // [0] is the base group (TPersistent)
  Group* active = nullptr;

  Registry() {
    auto base = std::make_unique<Group>();
    base->groupClass = &TPersistent::StaticClass();
    base->roots.push_back(&TPersistent::StaticClass());
    groups.push_back(std::move(base));
  }

  Group* GroupFor(const TClassInfo& cls) {
    Group* best = groups[0].get();
    int bestDepth = -1;
    for (auto& g : groups) {
      for (const TClassInfo* root : g->roots) {
        if (!cls.InheritsFrom(*root)) continue;
        int depth = 0;
        for (const TClassInfo* c = root; c != nullptr; c = c->Parent()) ++depth;
        if (depth > bestDepth) {
          bestDepth = depth;
          best = g.get();
        }
      }
    }
    return best;
  }

  Group* FindGroup(const TClassInfo& groupClass) {
    for (auto& g : groups) {
      if (g->groupClass == &groupClass) return g.get();
    }
    return nullptr;
  }

  static const TClassInfo* Lookup(const Group& g, std::string_view name) {
    for (const auto& [n, c] : g.classes) {
      if (SameText(n, name)) return c;
    }
    return nullptr;
  }
};

Registry& Reg() {
  static Registry registry;
  return registry;
}

void Add(const TClassInfo& cls, std::string_view name) {
  Registry& r = Reg();
  std::lock_guard guard(r.lock);
  Group* g = r.GroupFor(cls);
  if (const TClassInfo* existing = Registry::Lookup(*g, name)) {
    if (existing == &cls) return;
    throw EFilerError(Format("A class named %s already exists", {name}));
  }
  g->classes.emplace_back(std::string(name), &cls);
}

}  // namespace

void RegisterClass(const TClassInfo& cls) { Add(cls, cls.Name()); }

void RegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* c : classes) RegisterClass(*c);
}

void RegisterClassAlias(const TClassInfo& cls, std::string_view alias) { Add(cls, alias); }

void UnRegisterClass(const TClassInfo& cls) {
  Registry& r = Reg();
  std::lock_guard guard(r.lock);
  for (auto& g : r.groups) {
    auto& v = g->classes;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& e) { return e.second == &cls; }), v.end());
  }
}

void UnRegisterClasses(std::initializer_list<const TClassInfo*> classes) {
  for (const TClassInfo* c : classes) UnRegisterClass(*c);
}

const TClassInfo* GetClass(std::string_view name) {
  Registry& r = Reg();
  std::lock_guard guard(r.lock);
  if (r.active != nullptr) {
    if (const TClassInfo* c = Registry::Lookup(*r.active, name)) return c;
  }
  if (const TClassInfo* c = Registry::Lookup(*r.groups[0], name)) return c;
  // Groups that were never activated still serve lookups of their own classes.
  for (auto& g : r.groups) {
    if (const TClassInfo* c = Registry::Lookup(*g, name)) return c;
  }
  return nullptr;
}

const TClassInfo& FindClass(std::string_view name) {
  const TClassInfo* c = GetClass(name);
  if (c == nullptr) throw EClassNotFound(Format("Class %s not found", {name}));
  return *c;
}

void StartClassGroup(const TClassInfo& groupClass) {
  Registry& r = Reg();
  std::lock_guard guard(r.lock);
  if (r.FindGroup(groupClass) != nullptr) return;
  auto g = std::make_unique<Group>();
  g->groupClass = &groupClass;
  g->roots.push_back(&groupClass);
  // Classes already registered that now belong to the new group move into it.
  Group* raw = g.get();
  r.groups.push_back(std::move(g));
  for (auto& other : r.groups) {
    if (other.get() == raw) continue;
    auto& v = other->classes;
    for (auto it = v.begin(); it != v.end();) {
      if (r.GroupFor(*it->second) == raw) {
        raw->classes.push_back(*it);
        it = v.erase(it);
      } else {
        ++it;
      }
    }
  }
}

void GroupDescendentsWith(const TClassInfo& cls, const TClassInfo& groupClass) {
  Registry& r = Reg();
  std::lock_guard guard(r.lock);
  Group* target = r.GroupFor(groupClass);
  for (auto& g : r.groups) {
    auto& roots = g->roots;
    roots.erase(std::remove(roots.begin(), roots.end(), &cls), roots.end());
  }
  if (std::find(target->roots.begin(), target->roots.end(), &cls) == target->roots.end()) {
    target->roots.push_back(&cls);
  }
}

const TClassInfo* ActivateClassGroup(const TClassInfo& groupClass) {
  Registry& r = Reg();
  std::lock_guard guard(r.lock);
  const TClassInfo* previous = r.active != nullptr ? r.active->groupClass : nullptr;
  Group* g = r.FindGroup(groupClass);
  if (g == nullptr) throw EFilerError(Format("Group %s not found", {groupClass.Name()}));
  r.active = g;
  return previous;
}

const TClassInfo& ClassGroupOf(const TClassInfo& cls) {
  Registry& r = Reg();
  std::lock_guard guard(r.lock);
  return *r.GroupFor(cls)->groupClass;
}
