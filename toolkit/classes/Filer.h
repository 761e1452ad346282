// The layout filer: TReader and TWriter over the binary property stream ("TPF0" signature,
// then per component: optional prefix, class name, name, properties as name + tagged value,
// end of list, child components, end of list). Published properties are written only when
// they differ from the declared default (or, when writing against an ancestor, from the
// ancestor's value); entries beside them go through DefineProperty/DefineBinaryProperty.
// Events are written as the name of the root's registered handler method and bound to the
// root by that name when read; component references are written by name, references to
// sub-objects (properties declared Reference) by their name path ("Chart1.RightAxis"), and both
// are fixed up after the whole tree was read, before Loaded runs on every component read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Object.h"
#include "toolkit/classes/Set.h"

class TStream;
class TCollection;
class TPersistent;
class TPropInfo;
class TEnumInfo;
class TReader;
class TWriter;

// Value tags of the binary property stream.
enum TValueType : unsigned char {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaDouble = 21
};

// Component prefix flags (a prefix byte is $F0 plus the flags).
enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

class TFiler : public TObject {
 public:
  explicit TFiler(TStream& stream) : stream_(stream) {}

  // An entry "name" beside the published properties. The reader calls `read` when the stream
  // holds the entry; the writer writes the name and calls `write` when hasData is true.
  virtual void DefineProperty(const std::string& name, const TReaderProc& read, const TWriterProc& write,
                              bool hasData) = 0;
  // A binary entry (tag vaBinary, 32-bit size, bytes): `read` gets a memory stream holding
  // exactly the bytes; `write` writes them into a stream.
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& read,
                                    const TStreamProc& write, bool hasData) = 0;

  TStream& Stream() const { return stream_; }
  TComponent* Root() const { return root_; }
  void SetRoot(TComponent* root) { root_ = root; }
  TComponent* LookupRoot() const { return lookupRoot_; }
  // While writing: the object the current one is compared with (null: compare with the
  // declared defaults). Always null while reading.
  TPersistent* Ancestor() const { return ancestor_; }
  void SetAncestor(TPersistent* ancestor) { ancestor_ = ancestor; }
  bool IgnoreChildren() const { return ignoreChildren_; }
  void SetIgnoreChildren(bool value) { ignoreChildren_ = value; }

 protected:
  TStream& stream_;
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
  TPersistent* ancestor_ = nullptr;
  bool ignoreChildren_ = false;
};

class TReader : public TFiler {
 public:
  explicit TReader(TStream& stream);
  ~TReader() override;

  // Reads a whole layout. With `root` null the root is made from its registered class;
  // otherwise the stream's properties and children are read into `root` (its name taken from
  // the stream). Then references are fixed and Loaded runs on every component read, the root
  // first. On failure, components made so far are freed (a root made here too) and the
  // exception passes on: EClassNotFound "Class %s not found" for an unregistered class; a
  // property that cannot be read raises (EReadError "Invalid property value", "Property %s
  // does not exist" ...) with the text prefixed by "Error reading <name>.<property>: ".
  TComponent* ReadRootComponent(TComponent* root);
  // One component (prefix, class, name, data); made with Owner() as owner when `component`
  // is null. Answers it.
  TComponent* ReadComponent(TComponent* component);
  // Properties up to the end of list, then the children (TComponent::ReadState calls this).
  void ReadData(TComponent* instance);
  // One property (name, value) into `instance`, following dotted paths into sub-objects.
  void ReadProperty(TPersistent* instance);
  // A list of `instance`'s properties, as WritePropertyList writes it.
  void ReadPropertyList(TPersistent* instance);
  void ReadSignature();
  void ReadPrefix(TFilerFlags& flags, int& childPos);

  // ---- Values (EReadError "Invalid property value" on a tag of the wrong kind) ----------
  TValueType ReadValue();
  TValueType NextValue();
  void CheckValue(TValueType expected);
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  bool ReadBoolean();
  char ReadChar();
  int ReadInteger();
  long long ReadInt64();
  long double ReadFloat();
  float ReadSingle();
  double ReadDouble();
  long double ReadCurrency();
  double ReadDate();
  // Any string tag, as UTF-8 (short and long strings are in the ANSI code page).
  std::string ReadString();
  // An identifier (also False/True/nil/Null as their names).
  std::string ReadIdent();
  // A raw short string (length byte and bytes), as names are stored.
  std::string ReadStr();
  std::uint64_t ReadSet(const TEnumInfo& info);
  // Items up to the end of list; the collection is cleared first when the list holds any.
  void ReadCollection(TCollection* collection);
  void ReadBinary(std::vector<unsigned char>& data);
  void SkipValue();

  TComponent* Owner() const { return owner_; }
  void SetOwner(TComponent* owner) { owner_ = owner; }
  TComponent* Parent() const { return parent_; }
  void SetParent(TComponent* parent) { parent_ = parent; }

  void DefineProperty(const std::string& name, const TReaderProc& read, const TWriterProc& write,
                      bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& read, const TStreamProc& write,
                            bool hasData) override;

  // Asked when a property cannot be read; setting handled skips the value and goes on.
  std::function<void(TReader& reader, const std::string& message, bool& handled)> OnError;
  // Asked for a class name the registry does not know (may answer a class).
  std::function<const TClassInfo*(TReader& reader, const std::string& className)> OnFindComponentClass;

 private:
  struct Fixup {
    TPersistent* instance;
    const TPropInfo* prop;
    std::string name;
    // The component being read when the reference was met (instance may be its sub-object).
    TComponent* component;
  };
  void ReadPropValue(TPersistent* instance, const TPropInfo& prop);
  void ReadBytes(void* buffer, long long count);
  void SkipBytes(long long count);
  void CheckAvailable(long long count);
  void SkipSetBody();
  void SkipCollectionBody();
  void SkipProperty();
  void FixupReferences();
  TComponent* FindReference(std::string_view name) const;
  std::string ReadLengthString(TValueType type);

  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  TComponent* current_ = nullptr;
  std::vector<TComponent*> loaded_;
  std::vector<Fixup> fixups_;
  std::string definedName_;  // name being looked for among defined properties; empty once found
  bool defineHandled_ = false;
};

class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream);
  ~TWriter() override;

  // Signature, then the root with its tree. With an ancestor, only values that differ from
  // the ancestor's (and its same-named components') are written.
  void WriteDescendent(TComponent* root, TComponent* ancestor);
  void WriteRootComponent(TComponent* root) { WriteDescendent(root, nullptr); }
  // One component with its data (marked csWriting meanwhile).
  void WriteComponent(TComponent* component);
  // Prefix, class, name, properties, end of list, children, end of list.
  void WriteData(TComponent* instance);
  // Published properties that are stored and not default, then the defined entries.
  void WriteProperties(TPersistent* instance);
  // WriteProperties between a list's begin and end (an item of a collection or list).
  void WritePropertyList(TPersistent* instance);
  void WriteSignature();
  void WritePrefix(TFilerFlags flags, int childPos);

  // ---- Values ------------------------------------------------------------------------
  void WriteValue(TValueType value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteBoolean(bool value);
  void WriteChar(char value);
  // The smallest integer tag that holds the value.
  void WriteInteger(long long value);
  void WriteFloat(long double value);  // vaExtended
  void WriteSingle(float value);
  void WriteDouble(double value);
  void WriteCurrency(long double value);
  void WriteDate(double value);
  // vaString / vaLString for ASCII text, vaUTF8String otherwise.
  void WriteString(std::string_view value);
  // vaIdent, or vaFalse/vaTrue/vaNil/vaNull for those names.
  void WriteIdent(std::string_view ident);
  void WriteStr(std::string_view value);  // raw short string
  void WriteSet(const TEnumInfo& info, std::uint64_t bits);
  void WriteCollection(TCollection* collection);
  void WriteBinary(const void* data, long long size);

  void DefineProperty(const std::string& name, const TReaderProc& read, const TWriterProc& write,
                      bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& read, const TStreamProc& write,
                            bool hasData) override;

  TComponent* RootAncestor() const { return rootAncestor_; }

 private:
  void WriteProperty(TPersistent* instance, const TPropInfo& prop);
  void WritePropName(std::string_view name);
  void WriteBytes(const void* buffer, long long count);
  std::string ReferenceName(TComponent* component) const;
  // The name path of a referred sub-object, when it leads back to it from the root; else empty.
  std::string ReferencePath(TPersistent* object) const;
  TComponent* AncestorOf(TComponent* component) const;

  TComponent* rootAncestor_ = nullptr;
  std::string propPath_;
};

// True when the stream holds the "TPF0" signature at its position (which is kept).
bool IsBinaryLayout(TStream& stream);

// The object a name path leads to from `root`: components by name ("Form1.Chart1" or
// "Chart1"; a leading root name is skipped), then published object properties ("LeftAxis"),
// and "[i]" for an item of a collection ("CustomAxes[0]"). Null when any step fails. Getters
// on the way may create sub-objects that are made on first read.
TPersistent* FindNamePath(TComponent* root, std::string_view path);
