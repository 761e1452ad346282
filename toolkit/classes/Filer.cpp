// The layout filer: binary property stream reading (with reference fix-ups, handler binding
// and Loaded) and writing (default and ancestor comparison, sub-objects, collections).
#include "toolkit/classes/Filer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Collection.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

static_assert(std::numeric_limits<long double>::digits == 64, "Extended needs the 80-bit format");

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

[[noreturn]] void PropValueError() { throw EReadError("Invalid property value"); }

bool IsAscii(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Error text decoration of a failed property ("Error reading Form1.Width: ...").
bool IsDecorated(const std::string& message) { return message.rfind("Error reading ", 0) == 0; }

}  // namespace

bool IsBinaryLayout(TStream& stream) {
  const long long pos = stream.Position();
  char sig[4] = {};
  const long long n = stream.Read(sig, 4);
  stream.SetPosition(pos);
  return n == 4 && std::memcmp(sig, kSignature, 4) == 0;
}

// ============================================================================================
// TReader
// ============================================================================================

TReader::TReader(TStream& stream) : TFiler(stream) {}

TReader::~TReader() = default;

void TReader::ReadBytes(void* buffer, long long count) { stream_.ReadBuffer(buffer, count); }

void TReader::SkipBytes(long long count) {
  CheckAvailable(count);
  stream_.Seek(count, soCurrent);
}

void TReader::CheckAvailable(long long count) {
  // A damaged length must not make us allocate or skip past the end.
  if (count < 0 || count > stream_.Size() - stream_.Position()) throw EReadError("Stream read error");
}

TValueType TReader::ReadValue() {
  unsigned char b = 0;
  ReadBytes(&b, 1);
  return static_cast<TValueType>(b);
}

TValueType TReader::NextValue() {
  const TValueType v = ReadValue();
  stream_.Seek(-1, soCurrent);
  return v;
}

void TReader::CheckValue(TValueType expected) {
  if (ReadValue() != expected) {
    stream_.Seek(-1, soCurrent);
    SkipValue();
    PropValueError();
  }
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::ReadListBegin() { CheckValue(vaList); }

void TReader::ReadListEnd() { CheckValue(vaNull); }

void TReader::ReadSignature() {
  char sig[4] = {};
  if (stream_.Read(sig, 4) != 4 || std::memcmp(sig, kSignature, 4) != 0) {
    throw EReadError("Invalid stream format");
  }
}

void TReader::ReadPrefix(TFilerFlags& flags, int& childPos) {
  flags = {};
  childPos = 0;
  const unsigned char b = static_cast<unsigned char>(NextValue());
  if ((b & 0xF0) != 0xF0) return;
  ReadValue();
  flags = TFilerFlags::FromBits(b & 0x0F);
  if (flags.Contains(ffChildPos)) childPos = ReadInteger();
}

bool TReader::ReadBoolean() {
  const TValueType v = ReadValue();
  if (v == vaTrue) return true;
  if (v == vaFalse) return false;
  PropValueError();
}

char TReader::ReadChar() {
  const std::string s = ReadString();
  if (s.size() != 1) PropValueError();
  return s[0];
}

int TReader::ReadInteger() {
  const TValueType v = NextValue();
  if (v != vaInt8 && v != vaInt16 && v != vaInt32) PropValueError();
  return static_cast<int>(ReadInt64());
}

long long TReader::ReadInt64() {
  switch (ReadValue()) {
    case vaInt8: {
      std::int8_t x;
      ReadBytes(&x, 1);
      return x;
    }
    case vaInt16: {
      std::int16_t x;
      ReadBytes(&x, 2);
      return x;
    }
    case vaInt32: {
      std::int32_t x;
      ReadBytes(&x, 4);
      return x;
    }
    case vaInt64: {
      std::int64_t x;
      ReadBytes(&x, 8);
      return x;
    }
    default:
      PropValueError();
  }
}

long double TReader::ReadFloat() {
  switch (NextValue()) {
    case vaExtended: {
      ReadValue();
      long double x = 0;
      ReadBytes(&x, 10);
      return x;
    }
    case vaDouble:
      return ReadDouble();
    case vaSingle:
      return ReadSingle();
    case vaCurrency:
      return ReadCurrency();
    case vaDate:
      return ReadDate();
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      return static_cast<long double>(ReadInt64());
    default:
      PropValueError();
  }
}

float TReader::ReadSingle() {
  const TValueType v = NextValue();
  if (v != vaSingle) return static_cast<float>(ReadFloat());
  ReadValue();
  float x;
  ReadBytes(&x, 4);
  return x;
}

double TReader::ReadDouble() {
  const TValueType v = NextValue();
  if (v != vaDouble) {
    if (v == vaExtended || v == vaSingle || v == vaInt8 || v == vaInt16 || v == vaInt32 || v == vaInt64) {
      return static_cast<double>(ReadFloat());
    }
    PropValueError();
  }
  ReadValue();
  double x;
  ReadBytes(&x, 8);
  return x;
}

long double TReader::ReadCurrency() {
  if (NextValue() != vaCurrency) return ReadFloat();
  ReadValue();
  std::int64_t x;
  ReadBytes(&x, 8);
  return static_cast<long double>(x) / 10000.0L;
}

double TReader::ReadDate() {
  if (NextValue() != vaDate) return static_cast<double>(ReadFloat());
  ReadValue();
  double x;
  ReadBytes(&x, 8);
  return x;
}

std::string TReader::ReadStr() {
  unsigned char n = 0;
  ReadBytes(&n, 1);
  std::string s(n, '\0');
  if (n != 0) ReadBytes(s.data(), n);
  return s;
}

std::string TReader::ReadLengthString(TValueType type) {
  std::int32_t n = 0;
  if (type == vaString) {
    unsigned char b = 0;
    ReadBytes(&b, 1);
    n = b;
  } else {
    ReadBytes(&n, 4);
  }
  CheckAvailable(type == vaWString ? static_cast<long long>(n) * 2 : n);
  if (type == vaWString) {
    std::wstring w(static_cast<size_t>(n), L'\0');
    if (n != 0) ReadBytes(w.data(), static_cast<long long>(n) * 2);
    return WideToUtf8(w);
  }
  std::string s(static_cast<size_t>(n), '\0');
  if (n != 0) ReadBytes(s.data(), n);
  if ((type == vaString || type == vaLString) && !IsAscii(s)) return AnsiToUtf8(s);
  return s;
}

std::string TReader::ReadString() {
  const TValueType v = ReadValue();
  if (v != vaString && v != vaLString && v != vaWString && v != vaUTF8String) {
    stream_.Seek(-1, soCurrent);
    PropValueError();
  }
  return ReadLengthString(v);
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    case vaNull:
      return "Null";
    default:
      PropValueError();
  }
}

std::uint64_t TReader::ReadSet(const TEnumInfo& info) {
  if (ReadValue() != vaSet) PropValueError();
  std::uint64_t bits = 0;
  for (;;) {
    const std::string name = ReadStr();
    if (name.empty()) break;
    const int v = info.ValueOf(name);
    if (v < 0 || v >= 64) {
      SkipSetBody();
      PropValueError();
    }
    bits |= std::uint64_t{1} << v;
  }
  return bits;
}

void TReader::ReadBinary(std::vector<unsigned char>& data) {
  if (ReadValue() != vaBinary) PropValueError();
  std::int32_t n = 0;
  ReadBytes(&n, 4);
  CheckAvailable(n);
  data.resize(static_cast<size_t>(n));
  if (n != 0) ReadBytes(data.data(), n);
}

void TReader::ReadPropertyList(TPersistent* instance) {
  ReadListBegin();
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
}

void TReader::ReadCollection(TCollection* collection) {
  collection->BeginUpdate();
  try {
    if (!EndOfList()) collection->Clear();
    while (!EndOfList()) {
      const TValueType v = NextValue();
      if (v == vaInt8 || v == vaInt16 || v == vaInt32) ReadInteger();
      ReadPropertyList(collection->Add());
    }
    ReadListEnd();
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  collection->EndUpdate();
}

void TReader::SkipSetBody() {
  while (!ReadStr().empty()) {
  }
}

void TReader::SkipProperty() {
  ReadStr();
  SkipValue();
}

void TReader::SkipCollectionBody() {
  while (!EndOfList()) {
    const TValueType v = NextValue();
    if (v == vaInt8 || v == vaInt16 || v == vaInt32) SkipValue();
    ReadListBegin();
    while (!EndOfList()) SkipProperty();
    ReadListEnd();
  }
  ReadListEnd();
}

void TReader::SkipValue() {
  const TValueType v = ReadValue();
  switch (v) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      break;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaInt8:
      SkipBytes(1);
      break;
    case vaInt16:
      SkipBytes(2);
      break;
    case vaInt32:
    case vaSingle:
      SkipBytes(4);
      break;
    case vaExtended:
      SkipBytes(10);
      break;
    case vaString:
    case vaIdent:
      ReadStr();
      break;
    case vaBinary:
    case vaLString:
    case vaUTF8String: {
      std::int32_t n = 0;
      ReadBytes(&n, 4);
      SkipBytes(n);
      break;
    }
    case vaWString: {
      std::int32_t n = 0;
      ReadBytes(&n, 4);
      SkipBytes(static_cast<long long>(n) * 2);
      break;
    }
    case vaSet:
      SkipSetBody();
      break;
    case vaCollection:
      SkipCollectionBody();
      break;
    case vaCurrency:
    case vaDate:
    case vaInt64:
    case vaDouble:
      SkipBytes(8);
      break;
    default:
      throw EReadError("Invalid stream format");
  }
}

void TReader::DefineProperty(const std::string& name, const TReaderProc& read, const TWriterProc&, bool) {
  if (!defineHandled_ && read && SameText(name, definedName_)) {
    defineHandled_ = true;
    read(*this);
  }
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& read, const TStreamProc&,
                                   bool) {
  if (!defineHandled_ && read && SameText(name, definedName_)) {
    defineHandled_ = true;
    std::vector<unsigned char> data;
    ReadBinary(data);
    TMemoryStream bytes;
    if (!data.empty()) bytes.WriteBuffer(data.data(), static_cast<long long>(data.size()));
    bytes.SetPosition(0);
    read(bytes);
  }
}

void TReader::ReadProperty(TPersistent* instance) {
  const std::string path = ReadStr();
  try {
    TPersistent* target = instance;
    size_t start = 0;
    std::string name;
    for (;;) {
      const size_t dot = path.find('.', start);
      name = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      if (dot == std::string::npos) break;
      const TPropInfo* sub = target->ClassType().FindProperty(name);
      if (sub == nullptr || sub->kind != TTypeKind::tkClass || !sub->getObj) {
        throw EReadError("Invalid property path");
      }
      auto* next = dynamic_cast<TPersistent*>(sub->getObj(*target));
      if (next == nullptr) throw EReadError("Invalid property path");
      target = next;
      start = dot + 1;
    }
    if (const TPropInfo* prop = target->ClassType().FindProperty(name); prop != nullptr && prop->IsWritable()) {
      ReadPropValue(target, *prop);
    } else if (prop != nullptr && prop->kind == TTypeKind::tkClass && NextValue() == vaCollection) {
      ReadPropValue(target, *prop);
    } else {
      const std::string saved = definedName_;
      const bool savedHandled = defineHandled_;
      definedName_ = name;
      defineHandled_ = false;
      try {
        target->DefineProperties(*this);
      } catch (...) {
        definedName_ = saved;
        defineHandled_ = savedHandled;
        throw;
      }
      const bool handled = defineHandled_;
      definedName_ = saved;
      defineHandled_ = savedHandled;
      if (!handled) throw EReadError(Format("Property %s does not exist", {name}));
    }
  } catch (Exception& e) {
    if (OnError && dynamic_cast<EReadError*>(&e) != nullptr && !IsDecorated(e.Message())) {
      bool handled = false;
      OnError(*this, e.Message(), handled);
      if (handled) return;
    }
    // The exception keeps its class (a class-not-found error stays one); its text names the
    // object and the property.
    if (!IsDecorated(e.Message())) {
      std::string owner;
      if (auto* c = dynamic_cast<TComponent*>(instance)) owner = c->Name();
      if (owner.empty()) owner = instance->ClassName();
      e.SetMessage(Format("Error reading %s%s%s: %s", {owner, ".", path, e.Message()}));
    }
    throw;
  }
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo& prop) {
  TObject& obj = *instance;
  switch (prop.kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64: {
      long long v;
      if (NextValue() == vaIdent) {
        const std::string ident = ReadIdent();
        if (!prop.identToInt || !prop.identToInt(ident, v)) PropValueError();
      } else {
        v = prop.kind == TTypeKind::tkInteger ? ReadInteger() : ReadInt64();
      }
      prop.setOrd(obj, v);
      break;
    }
    case TTypeKind::tkChar:
      prop.setOrd(obj, static_cast<unsigned char>(ReadChar()));
      break;
    case TTypeKind::tkBool: {
      const TValueType v = NextValue();
      if (v == vaIdent) {
        const std::string ident = ReadIdent();
        if (SameText(ident, "True")) {
          prop.setOrd(obj, 1);
        } else if (SameText(ident, "False")) {
          prop.setOrd(obj, 0);
        } else {
          PropValueError();
        }
      } else {
        prop.setOrd(obj, ReadBoolean() ? 1 : 0);
      }
      break;
    }
    case TTypeKind::tkEnumeration: {
      const int v = prop.enumInfo->ValueOf(ReadIdent());
      if (v < 0) PropValueError();
      prop.setOrd(obj, v);
      break;
    }
    case TTypeKind::tkSet:
      prop.setOrd(obj, static_cast<long long>(ReadSet(*prop.enumInfo)));
      break;
    case TTypeKind::tkFloat:
      switch (prop.floatType) {
        case TFloatType::ftSingle:
          prop.setFloat(obj, ReadSingle());
          break;
        case TFloatType::ftCurrency:
          prop.setFloat(obj, ReadCurrency());
          break;
        case TFloatType::ftDateTime:
          prop.setFloat(obj, ReadDate());
          break;
        default:
          prop.setFloat(obj, ReadFloat());
          break;
      }
      break;
    case TTypeKind::tkString:
      prop.setStr(obj, ReadString());
      break;
    case TTypeKind::tkClass: {
      const TValueType v = NextValue();
      if (v == vaNil) {
        ReadValue();
        if (!prop.setObj) PropValueError();
        prop.setObj(obj, nullptr);
      } else if (v == vaCollection) {
        ReadValue();
        auto* collection = prop.getObj ? dynamic_cast<TCollection*>(prop.getObj(obj)) : nullptr;
        if (collection == nullptr) PropValueError();
        ReadCollection(collection);
      } else {
        const std::string name = ReadIdent();
        if (!prop.setObj) PropValueError();
        fixups_.push_back(Fixup{instance, &prop, name, current_});
      }
      break;
    }
    case TTypeKind::tkMethod: {
      if (NextValue() == vaNil) {
        ReadValue();
        prop.setMethod(obj, root_, nullptr);
        break;
      }
      const std::string name = ReadIdent();
      const TMethodInfo* method = root_ != nullptr ? root_->ClassType().FindMethod(name) : nullptr;
      if (method == nullptr) PropValueError();
      prop.setMethod(obj, root_, method);
      break;
    }
    default:
      PropValueError();
  }
}

TComponent* TReader::FindReference(std::string_view name) const {
  if (root_ == nullptr) return nullptr;
  // "Owner.Name" paths walk from the root (or from a root of that name).
  std::string_view rest = name;
  TComponent* scope = root_;
  const size_t dot = rest.find('.');
  if (dot != std::string_view::npos) {
    const std::string_view head = rest.substr(0, dot);
    if (!SameText(head, root_->Name())) {
      scope = root_->FindComponent(head);
      if (scope == nullptr) return nullptr;
    }
    rest = rest.substr(dot + 1);
  } else if (SameText(rest, root_->Name())) {
    return root_;
  }
  while (scope != nullptr) {
    const size_t d = rest.find('.');
    if (d == std::string_view::npos) return scope->FindComponent(rest);
    scope = scope->FindComponent(rest.substr(0, d));
    rest = rest.substr(d + 1);
  }
  return nullptr;
}

void TReader::FixupReferences() {
  std::vector<Fixup> fixups;
  fixups.swap(fixups_);
  for (const Fixup& f : fixups) {
    // An unresolved name leaves the property as it was, as layouts naming components of
    // windows not loaded yet do.
    TObject* target = nullptr;
    if (!f.prop->reference) {
      target = FindReference(f.name);
    } else if (TPersistent* found = FindNamePath(root_, f.name);
               found != nullptr && f.prop->PropClass() != nullptr &&
               found->ClassType().InheritsFrom(*f.prop->PropClass())) {
      // A path to an object of another kind leads nowhere, as an unknown name does.
      target = found;
    }
    if (target != nullptr) f.prop->setObj(*f.instance, target);
  }
}

void TReader::ReadData(TComponent* instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
  TComponent* oldParent = parent_;
  TComponent* oldOwner = owner_;
  parent_ = instance->GetChildParent();
  owner_ = instance->GetChildOwner();
  if (owner_ == nullptr) owner_ = root_;
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    parent_ = oldParent;
    owner_ = oldOwner;
    throw;
  }
  parent_ = oldParent;
  owner_ = oldOwner;
}

TComponent* TReader::ReadComponent(TComponent* component) {
  TFilerFlags flags;
  int childPos = 0;
  ReadPrefix(flags, childPos);
  const std::string className = ReadStr();
  const std::string name = ReadStr();
  TComponent* result = component;
  bool created = false;
  if (result == nullptr) {
    if (flags.Contains(ffInherited)) {
      result = owner_ != nullptr ? owner_->FindComponent(name) : nullptr;
      if (result == nullptr) throw EReadError(Format("Ancestor for '%s' not found", {name}));
    } else {
      const TClassInfo* cls = GetClass(className);
      if (cls == nullptr && OnFindComponentClass) cls = OnFindComponentClass(*this, className);
      if (cls == nullptr) throw EClassNotFound(Format("Class %s not found", {className}));
      if (!cls->InheritsFrom(TComponent::StaticClass())) throw EReadError("Invalid stream format");
      result = AsComponent(cls->CreateInstance(owner_));
      created = true;
    }
  }
  TComponent* const outer = current_;
  try {
    result->Loading();
    if (!flags.Contains(ffInherited) && result->Name() != name) result->SetName(name);
    result->IncludeState(csReading);
    current_ = result;
    result->ReadState(*this);
    current_ = outer;
    result->ExcludeState(csReading);
    if (flags.Contains(ffChildPos) && parent_ != nullptr) parent_->SetChildOrder(result, childPos);
    if (std::find(loaded_.begin(), loaded_.end(), result) == loaded_.end()) loaded_.push_back(result);
  } catch (...) {
    current_ = outer;
    if (created) {
      loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), result), loaded_.end());
      // Components read inside the failed one go with it.
      std::vector<TComponent*> keep;
      for (TComponent* c : loaded_) {
        bool inside = false;
        for (TComponent* o = c; o != nullptr; o = o->Owner()) inside = inside || o == result;
        if (!inside) keep.push_back(c);
      }
      loaded_.swap(keep);
      // References met while reading it (also in its sub-objects and the components it
      // owns) would point into freed objects.
      fixups_.erase(std::remove_if(fixups_.begin(), fixups_.end(),
                                   [&](const Fixup& f) {
                                     for (TComponent* o = f.component; o != nullptr; o = o->Owner())
                                       if (o == result) return true;
                                     return dynamic_cast<TComponent*>(f.instance) == result;
                                   }),
                    fixups_.end());
      result->Free();
    } else {
      result->ExcludeState(csReading);
    }
    throw;
  }
  return result;
}

TComponent* TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  TComponent* result = nullptr;
  bool created = false;
  try {
    TFilerFlags flags;
    int childPos = 0;
    ReadPrefix(flags, childPos);
    const std::string className = ReadStr();
    const std::string name = ReadStr();
    if (root == nullptr) {
      const TClassInfo& cls = FindClass(className);
      if (!cls.InheritsFrom(TComponent::StaticClass())) throw EReadError("Invalid stream format");
      result = AsComponent(cls.CreateInstance(nullptr));
      created = true;
    } else {
      result = root;
    }
    result->Loading();
    result->IncludeState(csReading);
    if (!result->ComponentState().Contains(csDesigning) && result->Name() != name) result->SetName(name);
    root_ = result;
    lookupRoot_ = result;
    owner_ = result;
    parent_ = nullptr;
    loaded_.clear();
    loaded_.push_back(result);
    current_ = result;
    result->ReadState(*this);
    current_ = nullptr;
    result->ExcludeState(csReading);
    FixupReferences();
    std::vector<TComponent*> loaded;
    loaded.swap(loaded_);
    for (TComponent* c : loaded) c->Loaded();
  } catch (...) {
    current_ = nullptr;
    fixups_.clear();
    loaded_.clear();
    if (created && result != nullptr) {
      result->Free();
    } else if (result != nullptr) {
      result->ExcludeState(csReading);
      result->ExcludeState(csLoading);
    }
    throw;
  }
  return result;
}

// ============================================================================================
// TWriter
// ============================================================================================

TWriter::TWriter(TStream& stream) : TFiler(stream) {}

TWriter::~TWriter() = default;

void TWriter::WriteBytes(const void* buffer, long long count) { stream_.WriteBuffer(buffer, count); }

void TWriter::WriteValue(TValueType value) {
  const unsigned char b = value;
  WriteBytes(&b, 1);
}

void TWriter::WriteSignature() { WriteBytes(kSignature, 4); }

void TWriter::WritePrefix(TFilerFlags flags, int childPos) {
  if (flags.Empty()) return;
  const unsigned char b = static_cast<unsigned char>(0xF0 | flags.Bits());
  WriteBytes(&b, 1);
  if (flags.Contains(ffChildPos)) WriteInteger(childPos);
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }

void TWriter::WriteChar(char value) { WriteString(std::string(1, value)); }

void TWriter::WriteInteger(long long value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    const std::int8_t x = static_cast<std::int8_t>(value);
    WriteBytes(&x, 1);
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    const std::int16_t x = static_cast<std::int16_t>(value);
    WriteBytes(&x, 2);
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValue(vaInt32);
    const std::int32_t x = static_cast<std::int32_t>(value);
    WriteBytes(&x, 4);
  } else {
    WriteValue(vaInt64);
    const std::int64_t x = value;
    WriteBytes(&x, 8);
  }
}

void TWriter::WriteFloat(long double value) {
  WriteValue(vaExtended);
  WriteBytes(&value, 10);
}

void TWriter::WriteSingle(float value) {
  WriteValue(vaSingle);
  WriteBytes(&value, 4);
}

void TWriter::WriteDouble(double value) {
  WriteValue(vaDouble);
  WriteBytes(&value, 8);
}

void TWriter::WriteCurrency(long double value) {
  WriteValue(vaCurrency);
  const std::int64_t x = static_cast<std::int64_t>(Round(value * 10000.0L));
  WriteBytes(&x, 8);
}

void TWriter::WriteDate(double value) {
  WriteValue(vaDate);
  WriteBytes(&value, 8);
}

void TWriter::WriteStr(std::string_view value) {
  const size_t n = std::min<size_t>(value.size(), 255);
  const unsigned char b = static_cast<unsigned char>(n);
  WriteBytes(&b, 1);
  if (n != 0) WriteBytes(value.data(), static_cast<long long>(n));
}

void TWriter::WriteString(std::string_view value) {
  if (IsAscii(value) && value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(value);
    return;
  }
  WriteValue(IsAscii(value) ? vaLString : vaUTF8String);
  const std::int32_t n = static_cast<std::int32_t>(value.size());
  WriteBytes(&n, 4);
  if (n != 0) WriteBytes(value.data(), n);
}

void TWriter::WriteIdent(std::string_view ident) {
  if (SameText(ident, "False")) {
    WriteValue(vaFalse);
  } else if (SameText(ident, "True")) {
    WriteValue(vaTrue);
  } else if (SameText(ident, "Null")) {
    WriteValue(vaNull);
  } else if (SameText(ident, "nil")) {
    WriteValue(vaNil);
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TWriter::WriteSet(const TEnumInfo& info, std::uint64_t bits) {
  WriteValue(vaSet);
  for (int v = std::max(0, info.MinValue()); v <= info.MaxValue() && v < 64; ++v) {
    if ((bits & (std::uint64_t{1} << v)) != 0) WriteStr(info.NameOf(v));
  }
  WriteStr("");
}

void TWriter::WriteBinary(const void* data, long long size) {
  WriteValue(vaBinary);
  const std::int32_t n = static_cast<std::int32_t>(size);
  WriteBytes(&n, 4);
  if (n != 0) WriteBytes(data, n);
}

void TWriter::WritePropName(std::string_view name) { WriteStr(propPath_ + std::string(name)); }

void TWriter::WriteCollection(TCollection* collection) {
  WriteValue(vaCollection);
  auto* ancestorCollection = dynamic_cast<TCollection*>(ancestor_);
  TPersistent* oldAncestor = ancestor_;
  const std::string oldPath = propPath_;
  propPath_.clear();
  try {
    for (int i = 0; collection != nullptr && i < collection->Count(); ++i) {
      ancestor_ = ancestorCollection != nullptr && i < ancestorCollection->Count() ? ancestorCollection->Items(i)
                                                                                   : nullptr;
      WritePropertyList(collection->Items(i));
    }
  } catch (...) {
    ancestor_ = oldAncestor;
    propPath_ = oldPath;
    throw;
  }
  ancestor_ = oldAncestor;
  propPath_ = oldPath;
  WriteListEnd();
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& write,
                             bool hasData) {
  if (!hasData || !write) return;
  WritePropName(name);
  // What the entry writes (lists, collections of its own, property lists of other objects)
  // is not a property of the object being written: no name prefix, no ancestor.
  const std::string oldPath = propPath_;
  TPersistent* oldAncestor = ancestor_;
  propPath_.clear();
  ancestor_ = nullptr;
  try {
    write(*this);
  } catch (...) {
    propPath_ = oldPath;
    ancestor_ = oldAncestor;
    throw;
  }
  propPath_ = oldPath;
  ancestor_ = oldAncestor;
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& write,
                                   bool hasData) {
  if (!hasData || !write) return;
  TMemoryStream bytes;
  write(bytes);
  WritePropName(name);
  WriteBinary(bytes.Memory(), bytes.Size());
}

std::string TWriter::ReferenceName(TComponent* component) const {
  if (component == nullptr) return {};
  if (component == lookupRoot_ || component == root_) return component->Name();
  if (component->Owner() == lookupRoot_ || component->Owner() == root_) return component->Name();
  if (component->Owner() != nullptr && !component->Owner()->Name().empty() && !component->Name().empty()) {
    return component->Owner()->Name() + "." + component->Name();
  }
  return component->Name();
}

std::string TWriter::ReferencePath(TPersistent* object) const {
  if (object == nullptr) return {};
  const std::string path = object->GetNamePath();
  for (TComponent* root : {root_, lookupRoot_})
    if (root != nullptr && FindNamePath(root, path) == object) return path;
  return {};
}

TPersistent* FindNamePath(TComponent* root, std::string_view path) {
  if (root == nullptr || path.empty()) return nullptr;
  std::vector<std::string_view> steps;
  for (size_t start = 0;;) {
    const size_t dot = path.find('.', start);
    steps.push_back(path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  size_t i = 0;
  if (SameText(steps[0], root->Name()) && !root->Name().empty()) {
    if (steps.size() == 1) return root;
    i = 1;
  }
  TPersistent* at = root;
  for (; i < steps.size(); ++i) {
    std::string_view name = steps[i];
    int index = -1;
    if (const size_t open = name.find('['); open != std::string_view::npos) {
      if (name.back() != ']' || open + 2 > name.size() - 1) return nullptr;
      index = 0;
      for (size_t k = open + 1; k + 1 < name.size(); ++k) {
        if (name[k] < '0' || name[k] > '9' || index > 100000000) return nullptr;
        index = index * 10 + (name[k] - '0');
      }
      name = name.substr(0, open);
    }
    TPersistent* next = nullptr;
    if (auto* component = dynamic_cast<TComponent*>(at); component != nullptr && index < 0)
      next = component->FindComponent(name);
    if (next == nullptr) {
      const TPropInfo* prop = at->ClassType().FindProperty(name);
      if (prop == nullptr || prop->kind != TTypeKind::tkClass || !prop->getObj || prop->reference) return nullptr;
      next = dynamic_cast<TPersistent*>(prop->getObj(*at));
    }
    if (next != nullptr && index >= 0) {
      auto* collection = dynamic_cast<TCollection*>(next);
      if (collection == nullptr || index >= collection->Count()) return nullptr;
      next = collection->Items(index);
    }
    if (next == nullptr) return nullptr;
    at = next;
  }
  return at;
}

namespace {

bool CollectionsEqual(TCollection* a, TCollection* b, TWriter& writer);

// The bytes the writer would produce for an object's properties (used to compare collections).
std::string PropertyBytes(TPersistent* instance, TComponent* root) {
  TMemoryStream bytes;
  TWriter w(bytes);
  w.SetRoot(root);
  w.WriteProperties(instance);
  return std::string(static_cast<const char*>(bytes.Memory()) ? static_cast<const char*>(bytes.Memory()) : "",
                     static_cast<size_t>(bytes.Size()));
}

bool CollectionsEqual(TCollection* a, TCollection* b, TWriter& writer) {
  const int na = a != nullptr ? a->Count() : 0;
  const int nb = b != nullptr ? b->Count() : 0;
  if (na != nb) return false;
  if (na == 0) return true;
  if (a->ClassType().Name() != b->ClassType().Name()) return false;
  for (int i = 0; i < na; ++i) {
    if (PropertyBytes(a->Items(i), writer.Root()) != PropertyBytes(b->Items(i), writer.Root())) return false;
  }
  return true;
}

}  // namespace

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& prop) {
  TObject& obj = *instance;
  TObject* anc = ancestor_ != nullptr && ancestor_->ClassType().InheritsFrom(instance->ClassType()) ? ancestor_
                 : ancestor_ != nullptr && instance->ClassType().InheritsFrom(ancestor_->ClassType()) ? ancestor_
                                                                                                   : nullptr;
  switch (prop.kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkInt64:
    case TTypeKind::tkChar:
    case TTypeKind::tkBool:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkSet: {
      const long long v = prop.getOrd(obj);
      if (anc != nullptr) {
        if (v == prop.getOrd(*anc)) return;
      } else if (prop.hasDefault && v == prop.defaultOrd) {
        return;
      }
      WritePropName(prop.name);
      switch (prop.kind) {
        case TTypeKind::tkChar:
          WriteChar(static_cast<char>(v));
          break;
        case TTypeKind::tkBool:
          WriteBoolean(v != 0);
          break;
        case TTypeKind::tkEnumeration:
          WriteIdent(prop.enumInfo->NameOf(v));
          break;
        case TTypeKind::tkSet:
          WriteSet(*prop.enumInfo, static_cast<std::uint64_t>(v));
          break;
        default: {
          std::string ident;
          if (prop.intToIdent && prop.intToIdent(v, ident)) {
            WriteIdent(ident);
          } else {
            WriteInteger(v);
          }
          break;
        }
      }
      break;
    }
    case TTypeKind::tkFloat: {
      const long double v = prop.getFloat(obj);
      if (anc != nullptr ? v == prop.getFloat(*anc) : v == 0) return;
      WritePropName(prop.name);
      switch (prop.floatType) {
        case TFloatType::ftSingle:
          WriteSingle(static_cast<float>(v));
          break;
        case TFloatType::ftDouble:
          WriteDouble(static_cast<double>(v));
          break;
        case TFloatType::ftCurrency:
          WriteCurrency(v);
          break;
        case TFloatType::ftDateTime:
          WriteDate(static_cast<double>(v));
          break;
        default:
          WriteFloat(v);
          break;
      }
      break;
    }
    case TTypeKind::tkString: {
      const std::string v = prop.getStr(obj);
      if (anc != nullptr ? v == prop.getStr(*anc) : v.empty()) return;
      WritePropName(prop.name);
      WriteString(v);
      break;
    }
    case TTypeKind::tkMethod: {
      const std::string name = prop.methodName(obj, root_);
      const std::string ancName = anc != nullptr ? prop.methodName(*anc, rootAncestor_) : std::string();
      if (name == ancName) return;
      if (name.empty()) {
        // A handler that is not a registered method of the root cannot be named.
        if (prop.methodAssigned(obj) || ancName.empty()) return;
        WritePropName(prop.name);
        WriteValue(vaNil);
        return;
      }
      WritePropName(prop.name);
      WriteIdent(name);
      break;
    }
    case TTypeKind::tkClass: {
      TObject* value = prop.getObj(obj);
      TObject* ancValue = anc != nullptr ? prop.getObj(*anc) : nullptr;
      auto* component = dynamic_cast<TComponent*>(value);
      const bool reference = (component != nullptr && !component->ComponentStyle().Contains(csSubComponent)) ||
                             (prop.reference && value != nullptr);
      if (value == nullptr || reference) {
        if (!prop.setObj) return;
        // A sub-object referred to (not held) goes by its name path; nothing is written inside
        // it, so references between objects may go round in circles.
        const bool byPath = prop.reference && component == nullptr;
        const std::string name = byPath ? ReferencePath(dynamic_cast<TPersistent*>(value)) : ReferenceName(component);
        auto* ancComponent = dynamic_cast<TComponent*>(ancValue);
        auto* ancObject = dynamic_cast<TPersistent*>(ancValue);
        const std::string ancName = ancComponent != nullptr                      ? ancComponent->Name()
                                    : prop.reference && ancObject != nullptr ? ancObject->GetNamePath()
                                                                             : std::string();
        if (value == nullptr && ancValue == nullptr) return;
        if (anc != nullptr && SameText(name, ancName) && (value == nullptr) == (ancValue == nullptr)) return;
        if (name.empty() && value != nullptr) return;
        WritePropName(prop.name);
        if (value == nullptr) {
          WriteValue(vaNil);
        } else {
          WriteIdent(name);
        }
        return;
      }
      if (auto* collection = dynamic_cast<TCollection*>(value)) {
        auto* ancCollection = dynamic_cast<TCollection*>(ancValue);
        if (anc != nullptr ? CollectionsEqual(collection, ancCollection, *this) : collection->Count() == 0) return;
        WritePropName(prop.name);
        TPersistent* oldAncestor = ancestor_;
        ancestor_ = ancCollection;
        try {
          WriteCollection(collection);
        } catch (...) {
          ancestor_ = oldAncestor;
          throw;
        }
        ancestor_ = oldAncestor;
        return;
      }
      if (auto* sub = dynamic_cast<TPersistent*>(value)) {
        const std::string oldPath = propPath_;
        TPersistent* oldAncestor = ancestor_;
        propPath_ += prop.name + ".";
        ancestor_ = dynamic_cast<TPersistent*>(ancValue);
        try {
          WriteProperties(sub);
        } catch (...) {
          propPath_ = oldPath;
          ancestor_ = oldAncestor;
          throw;
        }
        propPath_ = oldPath;
        ancestor_ = oldAncestor;
      }
      break;
    }
    default:
      break;
  }
}

void TWriter::WritePropertyList(TPersistent* instance) {
  WriteListBegin();
  WriteProperties(instance);
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) {
  for (const TPropInfo* prop : instance->ClassType().Properties()) {
    if (!prop->IsReadable()) continue;
    if (!prop->IsWritable() && prop->kind != TTypeKind::tkClass) continue;
    if (!prop->IsStored(*instance)) continue;
    WriteProperty(instance, *prop);
  }
  instance->DefineProperties(*this);
}

TComponent* TWriter::AncestorOf(TComponent* component) const {
  if (rootAncestor_ == nullptr || component == nullptr) return nullptr;
  TComponent* found = rootAncestor_->FindComponent(component->Name());
  if (found != nullptr && component->ClassType().InheritsFrom(found->ClassType())) return found;
  return nullptr;
}

void TWriter::WriteData(TComponent* instance) {
  TFilerFlags flags;
  if (instance != root_ && ancestor_ != nullptr) flags.Include(ffInherited);
  WritePrefix(flags, 0);
  WriteStr(instance->ClassName());
  WriteStr(instance->Name());
  WriteProperties(instance);
  WriteListEnd();
  if (!ignoreChildren_) {
    TComponent* oldRoot = root_;
    TComponent* oldLookup = lookupRoot_;
    if (instance->GetChildOwner() != nullptr && instance != root_) {
      // Children owned by this component (a frame) are named relative to it.
      lookupRoot_ = instance->GetChildOwner();
    }
    try {
      instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
    } catch (...) {
      root_ = oldRoot;
      lookupRoot_ = oldLookup;
      throw;
    }
    root_ = oldRoot;
    lookupRoot_ = oldLookup;
  }
  WriteListEnd();
}

void TWriter::WriteComponent(TComponent* component) {
  TPersistent* oldAncestor = ancestor_;
  ancestor_ = component == root_ ? rootAncestor_ : AncestorOf(component);
  component->IncludeState(csWriting);
  try {
    component->WriteState(*this);
  } catch (...) {
    component->ExcludeState(csWriting);
    ancestor_ = oldAncestor;
    throw;
  }
  component->ExcludeState(csWriting);
  ancestor_ = oldAncestor;
}

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
  rootAncestor_ = ancestor;
  root_ = root;
  lookupRoot_ = root;
  WriteSignature();
  WriteComponent(root);
}

// ---- TStream component helpers --------------------------------------------------------------

TComponent* TStream::ReadComponent(TComponent* instance) {
  TReader reader(*this);
  return reader.ReadRootComponent(instance);
}

void TStream::WriteComponent(TComponent* instance) { WriteDescendent(instance, nullptr); }

void TStream::WriteDescendent(TComponent* instance, TComponent* ancestor) {
  TWriter writer(*this);
  writer.WriteDescendent(instance, ancestor);
}
