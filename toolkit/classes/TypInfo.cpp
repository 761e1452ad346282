// Run-time class information: lookups along the class chain, enumeration and set texts, and
// the by-name property access used by the layout reader and by code that sets properties by
// their published names.
#include "toolkit/classes/TypInfo.h"

#include "toolkit/classes/Object.h"
#include "toolkit/rtl/SysUtils.h"

namespace typinfo_detail {
void InvalidPropertyValue() { throw EPropertyError("Invalid property value"); }
}  // namespace typinfo_detail

// ---- TEnumInfo ------------------------------------------------------------------------------

TEnumInfo::TEnumInfo(std::string typeName, std::vector<std::string> names, int minValue)
    : name_(std::move(typeName)), names_(std::move(names)), min_(minValue) {}

std::string TEnumInfo::NameOf(long long value) const {
  if (value < min_ || value > MaxValue()) return {};
  return names_[static_cast<size_t>(value - min_)];
}

int TEnumInfo::ValueOf(std::string_view name) const {
  for (size_t i = 0; i < names_.size(); ++i) {
    if (SameText(names_[i], name)) return min_ + static_cast<int>(i);
  }
  return -1;
}

std::string SetToString(const TEnumInfo& info, std::uint64_t bits, bool brackets) {
  std::string out;
  for (int v = info.MinValue(); v <= info.MaxValue() && v < 64; ++v) {
    if (v >= 0 && (bits & (std::uint64_t{1} << v)) != 0) {
      if (!out.empty()) out += ',';
      out += info.NameOf(v);
    }
  }
  return brackets ? "[" + out + "]" : out;
}

std::uint64_t StringToSet(const TEnumInfo& info, std::string_view text) {
  std::string s = Trim(text);
  if (!s.empty() && s.front() == '[') s.erase(0, 1);
  if (!s.empty() && s.back() == ']') s.pop_back();
  std::uint64_t bits = 0;
  size_t start = 0;
  while (start <= s.size()) {
    size_t comma = s.find(',', start);
    if (comma == std::string::npos) comma = s.size();
    std::string name = Trim(std::string_view(s).substr(start, comma - start));
    if (!name.empty()) {
      int v = info.ValueOf(name);
      if (v < 0 || v >= 64) throw EPropertyError(Format("Invalid property element: %s", {name}));
      bits |= std::uint64_t{1} << v;
    }
    start = comma + 1;
  }
  return bits;
}

// ---- TPropInfo ------------------------------------------------------------------------------

bool TPropInfo::IsReadable() const {
  return getOrd || getFloat || getStr || getObj || methodAssigned;
}

bool TPropInfo::IsWritable() const {
  return setOrd || setFloat || setStr || setObj || setMethod;
}

bool TPropInfo::IsStored(TObject& instance) const {
  if (storedFn) return storedFn(instance);
  return storedConst;
}

// ---- TClassInfo -----------------------------------------------------------------------------

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent)
    : name_(std::move(name)), parent_(parent) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    if (c == &other) return true;
  }
  return false;
}

TObject* TClassInfo::CreateInstance(TObject* creator) const {
  if (!factory_) throw EInvalidOperation(Format("Cannot create an instance of abstract class %s", {name_}));
  return factory_(creator);
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> out;
  if (parent_ != nullptr) out = parent_->Properties();
  for (const TPropInfo& p : props_) {
    // A redeclared property replaces the inherited one in place.
    bool replaced = false;
    for (const TPropInfo*& q : out) {
      if (SameText(q->name, p.name)) {
        q = &p;
        replaced = true;
        break;
      }
    }
    if (!replaced) out.push_back(&p);
  }
  return out;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    for (const TPropInfo& p : c->props_) {
      if (SameText(p.name, name)) return &p;
    }
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    for (const TMethodInfo& m : c->methods_) {
      if (SameText(m.name, name)) return &m;
    }
  }
  return nullptr;
}

std::string TClassInfo::MethodName(const void* instance, const TMethodCode& code,
                                   const TObject* root) const {
  if (root == nullptr || instance != IdentityOf(root)) return {};
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    for (const TMethodInfo& m : c->methods_) {
      if (m.code == code) return m.name;
    }
  }
  return {};
}

// ---- Access by name -------------------------------------------------------------------------

namespace {

const TPropInfo& Require(const TObject& instance, std::string_view name) {
  const TPropInfo* p = instance.ClassType().FindProperty(name);
  if (p == nullptr) throw EPropertyError(Format("Property %s does not exist", {name}));
  return *p;
}

template <class F>
const F& Accessor(const F& f) {
  if (!f) typinfo_detail::InvalidPropertyValue();
  return f;
}

}  // namespace

const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name) {
  return instance.ClassType().FindProperty(name);
}

bool IsPublishedProp(const TObject& instance, std::string_view name) {
  return GetPropInfo(instance, name) != nullptr;
}

long long GetOrdProp(TObject& instance, std::string_view name) {
  return Accessor(Require(instance, name).getOrd)(instance);
}

void SetOrdProp(TObject& instance, std::string_view name, long long value) {
  Accessor(Require(instance, name).setOrd)(instance, value);
}

std::string GetStrProp(TObject& instance, std::string_view name) {
  return Accessor(Require(instance, name).getStr)(instance);
}

void SetStrProp(TObject& instance, std::string_view name, const std::string& value) {
  Accessor(Require(instance, name).setStr)(instance, value);
}

long double GetFloatProp(TObject& instance, std::string_view name) {
  return Accessor(Require(instance, name).getFloat)(instance);
}

void SetFloatProp(TObject& instance, std::string_view name, long double value) {
  Accessor(Require(instance, name).setFloat)(instance, value);
}

TObject* GetObjectProp(TObject& instance, std::string_view name) {
  return Accessor(Require(instance, name).getObj)(instance);
}

void SetObjectProp(TObject& instance, std::string_view name, TObject* value) {
  Accessor(Require(instance, name).setObj)(instance, value);
}

std::string GetEnumProp(TObject& instance, std::string_view name) {
  const TPropInfo& p = Require(instance, name);
  if (p.kind == TTypeKind::tkBool) return Accessor(p.getOrd)(instance) ? "True" : "False";
  if (p.enumInfo == nullptr) typinfo_detail::InvalidPropertyValue();
  return p.enumInfo->NameOf(Accessor(p.getOrd)(instance));
}

void SetEnumProp(TObject& instance, std::string_view name, std::string_view value) {
  const TPropInfo& p = Require(instance, name);
  long long v = -1;
  if (p.kind == TTypeKind::tkBool) {
    v = SameText(value, "True") ? 1 : SameText(value, "False") ? 0 : -1;
  } else if (p.enumInfo != nullptr) {
    v = p.enumInfo->ValueOf(value);
  }
  if (v < 0) typinfo_detail::InvalidPropertyValue();
  Accessor(p.setOrd)(instance, v);
}

std::string GetSetProp(TObject& instance, std::string_view name, bool brackets) {
  const TPropInfo& p = Require(instance, name);
  if (p.kind != TTypeKind::tkSet) typinfo_detail::InvalidPropertyValue();
  return SetToString(*p.enumInfo, static_cast<std::uint64_t>(Accessor(p.getOrd)(instance)), brackets);
}

void SetSetProp(TObject& instance, std::string_view name, std::string_view value) {
  const TPropInfo& p = Require(instance, name);
  if (p.kind != TTypeKind::tkSet) typinfo_detail::InvalidPropertyValue();
  Accessor(p.setOrd)(instance, static_cast<long long>(StringToSet(*p.enumInfo, value)));
}
