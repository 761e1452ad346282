// Run-time class information: TClassInfo (name, parent, factory, published properties and
// named handler methods), TEnumInfo (identifiers of an enumeration), TPropInfo (one published
// property with type-erased accessors, default and stored test) and TClassBuilder, the helper
// with which each class declares its information once. The layout reader and writer work
// only through these descriptors.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <typeinfo>
#include <utility>
#include <vector>

#include "toolkit/classes/Events.h"
#include "toolkit/classes/Object.h"
#include "toolkit/classes/Set.h"

class TComponent;
class TCollection;

enum class TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkBool,
  tkInt64
};

enum class TFloatType { ftSingle, ftDouble, ftExtended, ftCurrency, ftDateTime };

// The identifiers of an enumeration type, in ordinal order starting at MinValue.
class TEnumInfo {
 public:
  TEnumInfo(std::string typeName, std::vector<std::string> names, int minValue = 0);
  const std::string& Name() const { return name_; }
  int MinValue() const { return min_; }
  int MaxValue() const { return min_ + static_cast<int>(names_.size()) - 1; }
  // Identifier of an ordinal; empty text when out of range.
  std::string NameOf(long long value) const;
  // Ordinal of an identifier (case-insensitive); -1 when there is none.
  int ValueOf(std::string_view name) const;

 private:
  std::string name_;
  std::vector<std::string> names_;
  int min_;
};

// Enumerations used as property types provide their information through an overload found by
// argument-dependent lookup, declared next to the enumeration:
//   const TEnumInfo& EnumTypeInfo(TFontPitch);

// Set text: "[fsBold,fsItalic]" from a mask, and back (EPropertyError on an unknown name).
std::string SetToString(const TEnumInfo& info, std::uint64_t bits, bool brackets = true);
std::uint64_t StringToSet(const TEnumInfo& info, std::string_view text);

// A handler method registered by name on a class, bindable to an instance of that class.
struct TMethodInfo {
  std::string name;
  TMethodCode code{};
  std::type_index eventType = typeid(void);
  // Writes an event of type eventType bound to instance into *event.
  std::function<void(TObject* instance, void* event)> bind;
};

// One published property. Accessors receive the instance (of the declaring class or a
// descendant). Ordinal kinds (integer, char, enumeration, set, bool, int64) go through
// GetOrd/SetOrd, enumerations as their ordinal and sets as their bit mask.
class TPropInfo {
 public:
  std::string name;
  TTypeKind kind = TTypeKind::tkUnknown;
  std::string typeName;
  const TEnumInfo* enumInfo = nullptr;      // enumeration, or element type of a set
  TFloatType floatType = TFloatType::ftExtended;
  // Class properties: the declared class (looked up on use, so that a class may have
  // properties of its own type).
  const TClassInfo& (*propClassOf)() = nullptr;
  const TClassInfo* PropClass() const { return propClassOf != nullptr ? &propClassOf() : nullptr; }
  // Class properties that refer to an object owned elsewhere (another axis of the chart)
  // instead of holding a sub-object: written as the object's name path, resolved after reading.
  bool reference = false;
  std::type_index eventType = typeid(void);  // method properties: the TMethodEvent type

  std::function<long long(TObject&)> getOrd;
  std::function<void(TObject&, long long)> setOrd;
  std::function<long double(TObject&)> getFloat;
  std::function<void(TObject&, long double)> setFloat;
  std::function<std::string(TObject&)> getStr;
  std::function<void(TObject&, const std::string&)> setStr;
  std::function<TObject*(TObject&)> getObj;
  std::function<void(TObject&, TObject*)> setObj;
  // Method properties.
  std::function<bool(TObject&)> methodAssigned;
  std::function<void(TObject&, TObject* root, const TMethodInfo* method)> setMethod;
  std::function<std::string(TObject&, const TObject* root)> methodName;
  // Integer properties with named values (colours, cursors): ident <-> value.
  std::function<bool(long long, std::string&)> intToIdent;
  std::function<bool(std::string_view, long long&)> identToInt;

  bool hasDefault = false;  // ordinal kinds: a declared default value
  long long defaultOrd = 0;
  bool storedConst = true;  // "stored False" when false and no predicate
  std::function<bool(TObject&)> storedFn;

  bool IsReadable() const;
  bool IsWritable() const;
  // The stored test of the declaration (not the default comparison).
  bool IsStored(TObject& instance) const;
};

class TClassInfo {
 public:
  using Factory = std::function<TObject*(TObject* creator)>;

  TClassInfo(std::string name, const TClassInfo* parent);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo(TClassInfo&&) = default;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  // True when this class is `other` or descends from it.
  bool InheritsFrom(const TClassInfo& other) const;
  bool IsAbstract() const { return !factory_; }

  // Makes an instance. `creator` is the owner for components, the collection for collection
  // items and ignored for other classes. EInvalidOperation for abstract classes.
  TObject* CreateInstance(TObject* creator = nullptr) const;

  // Own properties only / the whole chain (ancestors' first, in declaration order).
  const std::vector<TPropInfo>& OwnProperties() const { return props_; }
  std::vector<const TPropInfo*> Properties() const;
  // Case-insensitive lookup through the chain; nullptr when absent.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  // The registered name of a method bound to `instance` with this identity, or empty.
  std::string MethodName(const void* instance, const TMethodCode& code, const TObject* root) const;

 private:
  template <class T>
  friend class TClassBuilder;
  std::string name_;
  const TClassInfo* parent_;
  Factory factory_;
  std::vector<TPropInfo> props_;
  std::vector<TMethodInfo> methods_;
};

// Casts used by factories (defined with the classes).
TComponent* AsComponent(TObject* object);
TCollection* AsCollection(TObject* object);

namespace typinfo_detail {
template <class V>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
  using Element = E;
};
template <class V>
struct IsEvent : std::false_type {};
template <class... A>
struct IsEvent<TMethodEvent<A...>> : std::true_type {};
[[noreturn]] void InvalidPropertyValue();
}  // namespace typinfo_detail

// Declares a class's information:
//   static const TClassInfo info = TClassBuilder<TFont>("TFont", &TPersistent::StaticClass())
//       .Property("Color", &TFont::Color, &TFont::SetColor).Default(clWindowText)
//       .Property("Style", &TFont::Style, &TFont::SetStyle).Default(0)
//       .Property("OnChange", &TFont::OnChange, &TFont::SetOnChange)
//       .Build();
// Getters are callables taking T& (member functions work); setters take (T&, value) or are
// nullptr for read-only properties (a read-only object property is still streamed into).
// The property kind follows the getter's type: bool, char, enumerations (with EnumTypeInfo),
// TSet<E>, integers, float/double/long double, std::string, pointers to TObject descendants
// (objects and component references) and TMethodEvent<...> (methods).
template <class T>
class TClassBuilder {
 public:
  TClassBuilder(std::string name, const TClassInfo* parent) : info_(std::move(name), parent) {
    if constexpr (!std::is_abstract_v<T>) {
      if constexpr (std::is_constructible_v<T, TComponent*>) {
        info_.factory_ = [](TObject* creator) -> TObject* { return new T(AsComponent(creator)); };
      } else if constexpr (std::is_constructible_v<T, TCollection*>) {
        info_.factory_ = [](TObject* creator) -> TObject* { return new T(AsCollection(creator)); };
      } else if constexpr (std::is_default_constructible_v<T>) {
        info_.factory_ = [](TObject*) -> TObject* { return new T(); };
      }
    }
  }

  // A published property; see the class comment for the accepted getter and setter forms.
  template <class G, class S>
  TClassBuilder& Property(std::string name, G get, S set) {
    using V = std::decay_t<std::invoke_result_t<G&, T&>>;
    TPropInfo p;
    p.name = std::move(name);
    constexpr bool readOnly = std::is_same_v<S, std::nullptr_t>;
    if constexpr (std::is_same_v<V, bool>) {
      p.kind = TTypeKind::tkBool;
      p.typeName = "Boolean";
      BindOrd<V, readOnly>(p, get, set);
    } else if constexpr (std::is_same_v<V, char>) {
      p.kind = TTypeKind::tkChar;
      p.typeName = "Char";
      BindOrd<V, readOnly>(p, get, set);
    } else if constexpr (std::is_enum_v<V>) {
      p.kind = TTypeKind::tkEnumeration;
      p.enumInfo = &EnumTypeInfo(V{});
      p.typeName = p.enumInfo->Name();
      BindOrd<V, readOnly>(p, get, set);
    } else if constexpr (typinfo_detail::IsSet<V>::value) {
      p.kind = TTypeKind::tkSet;
      p.enumInfo = &EnumTypeInfo(typename typinfo_detail::IsSet<V>::Element{});
      p.typeName = "set of " + p.enumInfo->Name();
      p.getOrd = [get](TObject& o) -> long long {
        return static_cast<long long>(std::invoke(get, static_cast<T&>(o)).Bits());
      };
      if constexpr (!readOnly) {
        p.setOrd = [set](TObject& o, long long v) {
          std::invoke(set, static_cast<T&>(o), V::FromBits(static_cast<std::uint64_t>(v)));
        };
      }
    } else if constexpr (std::is_integral_v<V>) {
      p.kind = sizeof(V) > 4 ? TTypeKind::tkInt64 : TTypeKind::tkInteger;
      p.typeName = sizeof(V) > 4 ? "Int64" : "Integer";
      BindOrd<V, readOnly>(p, get, set);
    } else if constexpr (std::is_floating_point_v<V>) {
      p.kind = TTypeKind::tkFloat;
      p.floatType = std::is_same_v<V, float>    ? TFloatType::ftSingle
                    : std::is_same_v<V, double> ? TFloatType::ftDouble
                                                : TFloatType::ftExtended;
      p.typeName = std::is_same_v<V, float> ? "Single" : std::is_same_v<V, double> ? "Double" : "Extended";
      p.getFloat = [get](TObject& o) -> long double { return std::invoke(get, static_cast<T&>(o)); };
      if constexpr (!readOnly) {
        p.setFloat = [set](TObject& o, long double v) {
          std::invoke(set, static_cast<T&>(o), static_cast<V>(v));
        };
      }
    } else if constexpr (std::is_same_v<V, std::string>) {
      p.kind = TTypeKind::tkString;
      p.typeName = "string";
      p.getStr = [get](TObject& o) -> std::string { return std::invoke(get, static_cast<T&>(o)); };
      if constexpr (!readOnly) {
        p.setStr = [set](TObject& o, const std::string& v) { std::invoke(set, static_cast<T&>(o), v); };
      }
    } else if constexpr (std::is_pointer_v<V> &&
                         std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<V>>>) {
      using C = std::remove_cv_t<std::remove_pointer_t<V>>;
      p.kind = TTypeKind::tkClass;
      p.propClassOf = &C::StaticClass;
      p.getObj = [get](TObject& o) -> TObject* {
        return const_cast<C*>(std::invoke(get, static_cast<T&>(o)));
      };
      if constexpr (!readOnly) {
        p.setObj = [set](TObject& o, TObject* v) {
          C* typed = nullptr;
          if (v != nullptr) {
            typed = dynamic_cast<C*>(v);
            if (typed == nullptr) typinfo_detail::InvalidPropertyValue();
          }
          std::invoke(set, static_cast<T&>(o), typed);
        };
      }
    } else if constexpr (typinfo_detail::IsEvent<V>::value) {
      p.kind = TTypeKind::tkMethod;
      p.typeName = "event";
      p.eventType = typeid(V);
      p.methodAssigned = [get](TObject& o) { return std::invoke(get, static_cast<T&>(o)).Assigned(); };
      p.methodName = [get](TObject& o, const TObject* root) -> std::string {
        const V ev = std::invoke(get, static_cast<T&>(o));
        if (!ev.Assigned() || !ev.IsBound() || root == nullptr) return {};
        return root->ClassType().MethodName(ev.Data(), ev.Code(), root);
      };
      if constexpr (!readOnly) {
        p.setMethod = [set](TObject& o, TObject* root, const TMethodInfo* m) {
          V ev;
          if (m != nullptr) {
            if (m->eventType != std::type_index(typeid(V))) typinfo_detail::InvalidPropertyValue();
            m->bind(root, &ev);
          }
          std::invoke(set, static_cast<T&>(o), ev);
        };
      }
    } else {
      static_assert(sizeof(V) == 0, "unsupported property type");
    }
    info_.props_.push_back(std::move(p));
    return *this;
  }

  // Declared default of the last (ordinal) property: the value is not written when equal.
  template <class V>
  TClassBuilder& Default(V value) {
    TPropInfo& p = Last();
    p.hasDefault = true;
    if constexpr (typinfo_detail::IsSet<V>::value) {
      p.defaultOrd = static_cast<long long>(value.Bits());
    } else {
      p.defaultOrd = static_cast<long long>(value);
    }
    return *this;
  }
  // "stored False" (true leaves the default rule).
  TClassBuilder& Stored(bool stored) {
    Last().storedConst = stored;
    Last().storedFn = nullptr;
    return *this;
  }
  // Stored test: pred(T&) -> bool; when false the property is not written.
  template <class P, class = std::enable_if_t<!std::is_same_v<P, bool>>>
  TClassBuilder& Stored(P pred) {
    Last().storedFn = [pred](TObject& o) { return static_cast<bool>(std::invoke(pred, static_cast<T&>(o))); };
    return *this;
  }
  // The last (class) property refers to an object held elsewhere: it is written as that
  // object's name path (GetNamePath), never as a sub-object, so references may form cycles.
  TClassBuilder& Reference() {
    Last().reference = true;
    return *this;
  }
  // Float properties holding dates or currency (written with their own tags).
  TClassBuilder& Float(TFloatType type) {
    Last().floatType = type;
    return *this;
  }
  // Named values of an integer property (written and read as identifiers when they match).
  TClassBuilder& Idents(std::function<bool(long long, std::string&)> toIdent,
                        std::function<bool(std::string_view, long long&)> fromIdent) {
    Last().intToIdent = std::move(toIdent);
    Last().identToInt = std::move(fromIdent);
    return *this;
  }

  // A handler method that layouts can name in event properties.
  template <class C, class... A>
  TClassBuilder& Method(std::string name, void (C::*method)(A...)) {
    static_assert(std::is_base_of_v<C, T>, "method of another class");
    TMethodInfo m;
    m.name = std::move(name);
    m.code = MethodCodeOf(method);
    m.eventType = typeid(TMethodEvent<A...>);
    m.bind = [method](TObject* instance, void* event) {
      *static_cast<TMethodEvent<A...>*>(event) = TMethodEvent<A...>(static_cast<T*>(instance), method);
    };
    info_.methods_.push_back(std::move(m));
    return *this;
  }

  // A class that cannot be made by name (no factory).
  TClassBuilder& Abstract() {
    info_.factory_ = nullptr;
    return *this;
  }

  TClassInfo Build() { return std::move(info_); }

 private:
  TPropInfo& Last() { return info_.props_.back(); }

  template <class V, bool readOnly, class G, class S>
  static void BindOrd(TPropInfo& p, G get, S set) {
    p.getOrd = [get](TObject& o) -> long long {
      return static_cast<long long>(std::invoke(get, static_cast<T&>(o)));
    };
    if constexpr (!readOnly) {
      p.setOrd = [set](TObject& o, long long v) { std::invoke(set, static_cast<T&>(o), static_cast<V>(v)); };
    }
  }

  TClassInfo info_;
};

// ---- Access by name, as the layout reader and the frame controller use it ----------------

// The property of an instance's class; nullptr when absent.
const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name);
bool IsPublishedProp(const TObject& instance, std::string_view name);
// EPropertyError "Property %s does not exist" / "Invalid property value" on failure.
long long GetOrdProp(TObject& instance, std::string_view name);
void SetOrdProp(TObject& instance, std::string_view name, long long value);
std::string GetStrProp(TObject& instance, std::string_view name);
void SetStrProp(TObject& instance, std::string_view name, const std::string& value);
long double GetFloatProp(TObject& instance, std::string_view name);
void SetFloatProp(TObject& instance, std::string_view name, long double value);
TObject* GetObjectProp(TObject& instance, std::string_view name);
void SetObjectProp(TObject& instance, std::string_view name, TObject* value);
std::string GetEnumProp(TObject& instance, std::string_view name);
void SetEnumProp(TObject& instance, std::string_view name, std::string_view value);
std::string GetSetProp(TObject& instance, std::string_view name, bool brackets = false);
void SetSetProp(TObject& instance, std::string_view name, std::string_view value);
