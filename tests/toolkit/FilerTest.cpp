// The layout filer over the binary property stream: a component tree read back equals the
// one written (properties, sub-objects, collections, strings, binary entries, references,
// events, parents), only non-default values are written, ancestors suppress equal values,
// and reading fails with the run-time library's errors.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "SampleClasses.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

std::string Bytes(const TMemoryStream& s) {
  return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

class Filer : public ::testing::Test {
 protected:
  void SetUp() override { RegisterSampleClasses(); }
};

TEST_F(Filer, TreeReadBackEqualsTheTreeWritten) {
  std::unique_ptr<TSampleForm> form(BuildForm());
  TMemoryStream stream;
  stream.WriteComponent(form.get());
  stream.SetPosition(0);
  std::unique_ptr<TComponent> read(stream.ReadComponent(nullptr));
  auto* copy = dynamic_cast<TSampleForm*>(read.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(stream.Position(), stream.Size());
  // The original was never loaded; compare everything but that flag.
  std::string expected = Describe(*form, *form);
  std::string actual = Describe(*copy, *copy);
  for (std::string* s : {&expected, &actual}) {
    for (size_t at; (at = s->find(" loaded=")) != std::string::npos;) s->erase(at, 9);
  }
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(copy->ComponentCount(), 4);
  EXPECT_TRUE(copy->loadedCalled);
  auto* button = dynamic_cast<TSampleControl*>(copy->FindComponent("btn_start"));
  auto* label = dynamic_cast<TSampleControl*>(copy->FindComponent("Label1"));
  ASSERT_NE(button, nullptr);
  ASSERT_NE(label, nullptr);
  // The reference was fixed up to the new button before Loaded ran.
  EXPECT_EQ(label->Buddy(), button);
  EXPECT_TRUE(label->buddyAtLoaded);
  EXPECT_FALSE(label->ComponentState().Contains(csLoading));
  // The event reaches the new form.
  button->OnClick()(button);
  ASSERT_EQ(copy->clicks.size(), 1u);
  EXPECT_EQ(copy->clicks[0], button);
  EXPECT_TRUE(form->clicks.empty());
  auto* timer = dynamic_cast<TSampleTimer*>(copy->FindComponent("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Interval(), 250);
  timer->OnTimer()(timer);
  EXPECT_EQ(copy->ticks.size(), 1u);
}

TEST_F(Filer, ReadingIntoAnExistingRootKeepsIt) {
  std::unique_ptr<TSampleForm> form(BuildForm());
  TMemoryStream stream;
  stream.WriteComponent(form.get());
  stream.SetPosition(0);
  TSampleForm target(nullptr);
  EXPECT_EQ(stream.ReadComponent(&target), &target);
  EXPECT_EQ(target.Name(), "MainForm");
  EXPECT_EQ(target.Width(), 640);
  EXPECT_EQ(target.ComponentCount(), 4);
}

TEST_F(Filer, OnlyValuesThatDifferFromDefaultsAreWritten) {
  TSampleForm form(nullptr);
  form.SetName("F");
  auto* c = new TSampleControl(&form);
  c->SetName("C");
  c->SetParentControl(&form);
  TMemoryStream stream;
  stream.WriteComponent(&form);
  // Left has no declared default and is always written; everything else is at its default.
  std::string expected("TPF0", 4);
  auto str = [&](const std::string& s) {
    expected += static_cast<char>(s.size());
    expected += s;
  };
  str("TSampleForm");
  str("F");
  str("Left");
  expected += std::string("\x02\x00", 2);  // vaInt8 0
  expected += '\0';                          // end of properties
  str("TSampleControl");
  str("C");
  str("Left");
  expected += std::string("\x02\x00", 2);
  expected += '\0';
  expected += '\0';  // no children of C
  expected += '\0';  // end of the form's children
  EXPECT_EQ(Bytes(stream), expected);
}

TEST_F(Filer, PerInstanceStoredTestDecides) {
  TSampleControl c(nullptr);
  c.SetName("C");
  c.Font()->SetName("Arial");  // the stored test says no
  c.Font()->SetSize(9);
  TMemoryStream stream;
  stream.WriteComponent(&c);
  const std::string bytes = Bytes(stream);
  EXPECT_NE(bytes.find("Font.Size"), std::string::npos);
  EXPECT_EQ(bytes.find("Font.Name"), std::string::npos);
  EXPECT_EQ(bytes.find("Font.Style"), std::string::npos);
}

TEST_F(Filer, DescendantWritesOnlyWhatDiffersFromItsAncestor) {
  std::unique_ptr<TSampleForm> ancestor(BuildForm());
  std::unique_ptr<TSampleForm> descendant(BuildForm());
  auto* button = static_cast<TSampleControl*>(descendant->FindComponent("btn_start"));
  button->SetWidth(33);
  button->data = {9};
  TMemoryStream stream;
  stream.WriteDescendent(descendant.get(), ancestor.get());
  const std::string bytes = Bytes(stream);
  EXPECT_NE(bytes.find(std::string("\x05Width\x02\x21", 8)), std::string::npos);
  EXPECT_NE(bytes.find("Data"), std::string::npos);
  for (const char* same : {"Caption", "Lines.Strings", "Items", "OnClick", "Buddy", "Font.Name", "Ratio"}) {
    EXPECT_EQ(bytes.find(same), std::string::npos) << same;
  }
  // Inherited children carry the prefix flag.
  EXPECT_NE(bytes.find(std::string("\xF1\x0ETSampleControl\x09" "btn_start", 26)), std::string::npos);
}

TEST_F(Filer, DefinedBinaryPropertyRoundTrips) {
  struct Case {
    const char* name;
    std::vector<unsigned char> data;
  };
  std::vector<unsigned char> large(70000);
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<unsigned char>(i * 7);
  const Case cases[] = {{"Small", {0, 255, 13, 10}}, {"Large", large}, {"Single", {42}}};
  for (const Case& k : cases) {
    TSampleControl c(nullptr);
    c.SetName("C");
    c.data = k.data;
    TMemoryStream stream;
    stream.WriteComponent(&c);
    stream.SetPosition(0);
    TSampleControl back(nullptr);
    stream.ReadComponent(&back);
    EXPECT_EQ(back.data, k.data) << k.name;
  }
}

TEST_F(Filer, ObsoleteEntryIsReadByItsDefinedReader) {
  TMemoryStream stream;
  TWriter w(stream);
  w.WriteSignature();
  w.WriteStr("TSampleControl");
  w.WriteStr("Old");
  w.WriteStr("OldVisible");
  w.WriteBoolean(false);
  w.WriteListEnd();
  w.WriteListEnd();
  stream.SetPosition(0);
  std::unique_ptr<TComponent> c(stream.ReadComponent(nullptr));
  EXPECT_FALSE(static_cast<TSampleControl*>(c.get())->Visible());
}

// A hand-made layout: form "F" holding one child whose class and property are given.
std::string ChildLayout(const std::string& childClass, const std::string& prop, const std::string& value) {
  TMemoryStream stream;
  TWriter w(stream);
  w.WriteSignature();
  w.WriteStr("TSampleForm");
  w.WriteStr("F");
  w.WriteListEnd();
  w.WriteStr(childClass);
  w.WriteStr("Child");
  if (!prop.empty()) {
    w.WriteStr(prop);
    stream.WriteBuffer(value.data(), static_cast<long long>(value.size()));
  }
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  return Bytes(stream);
}

struct ReadErrorCase {
  const char* name;
  std::string childClass;
  std::string prop;
  std::string value;
  std::string message;
};

class ReadErrors : public ::testing::TestWithParam<ReadErrorCase> {
 protected:
  void SetUp() override { RegisterSampleClasses(); }
};

TEST_P(ReadErrors, RaiseWithTheLibrarysTexts) {
  const ReadErrorCase& k = GetParam();
  const std::string layout = ChildLayout(k.childClass, k.prop, k.value);
  TMemoryStream stream;
  stream.WriteBuffer(layout.data(), static_cast<long long>(layout.size()));
  stream.SetPosition(0);
  try {
    std::unique_ptr<TComponent> c(stream.ReadComponent(nullptr));
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), k.message);
    EXPECT_EQ(std::string(e.ClassName()), k.message.rfind("Class ", 0) == 0 ? "EClassNotFound" : "EReadError");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ReadErrors,
    ::testing::Values(
        ReadErrorCase{"UnknownClass", "TNoSuchControl", "", "", "Class TNoSuchControl not found"},
        ReadErrorCase{"UnknownProperty", "TSampleControl", "Colour", std::string("\x02\x01", 2),
                      "Error reading Child.Colour: Property Colour does not exist"},
        ReadErrorCase{"WrongValueKind", "TSampleControl", "Width", std::string("\x06\x01x", 3),
                      "Error reading Child.Width: Invalid property value"},
        ReadErrorCase{"UnknownEnumName", "TSampleControl", "Shape", std::string("\x07\x05shOval", 7),
                      "Error reading Child.Shape: Invalid property value"},
        ReadErrorCase{"UnknownHandler", "TSampleControl", "OnClick", std::string("\x07\x04Nope", 6),
                      "Error reading Child.OnClick: Invalid property value"},
        ReadErrorCase{"BadPath", "TSampleControl", "Caption.Size", std::string("\x02\x01", 2),
                      "Error reading Child.Caption.Size: Invalid property path"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Filer, FailedReadFreesWhatItMade) {
  const std::string layout = ChildLayout("TNoSuchControl", "", "");
  TMemoryStream stream;
  stream.WriteBuffer(layout.data(), static_cast<long long>(layout.size()));
  stream.SetPosition(0);
  TSampleForm target(nullptr);
  EXPECT_THROW(stream.ReadComponent(&target), EClassNotFound);
  EXPECT_EQ(target.ComponentCount(), 0);
  EXPECT_FALSE(target.ComponentState().Contains(csLoading));
}

TEST_F(Filer, ErrorHandlerMaySkipUnknownProperties) {
  const std::string layout = ChildLayout("TSampleControl", "Colour", std::string("\x02\x01", 2));
  TMemoryStream stream;
  stream.WriteBuffer(layout.data(), static_cast<long long>(layout.size()));
  stream.SetPosition(0);
  TReader reader(stream);
  std::string seen;
  reader.OnError = [&](TReader& r, const std::string& message, bool& handled) {
    seen = message;
    r.SkipValue();
    handled = true;
  };
  std::unique_ptr<TComponent> root(reader.ReadRootComponent(nullptr));
  EXPECT_EQ(seen, "Property Colour does not exist");
  EXPECT_NE(root->FindComponent("Child"), nullptr);
}

TEST_F(Filer, SignatureIsChecked) {
  TMemoryStream stream;
  stream.WriteBuffer("TPF1", 4);
  stream.SetPosition(0);
  EXPECT_FALSE(IsBinaryLayout(stream));
  try {
    stream.ReadComponent(nullptr);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Invalid stream format");
  }
}

TEST(FilerValues, IntegersTakeTheSmallestTag) {
  struct Case {
    long long value;
    unsigned char tag;
    int size;
  };
  const Case cases[] = {{0, vaInt8, 2},          {-128, vaInt8, 2},           {127, vaInt8, 2},
                        {128, vaInt16, 3},       {-32768, vaInt16, 3},        {32768, vaInt32, 5},
                        {-2147483648LL, vaInt32, 5}, {2147483648LL, vaInt64, 9}};
  for (const Case& k : cases) {
    TMemoryStream s;
    TWriter w(s);
    w.WriteInteger(k.value);
    ASSERT_EQ(s.Size(), k.size) << k.value;
    EXPECT_EQ(static_cast<unsigned char*>(s.Memory())[0], k.tag) << k.value;
    s.SetPosition(0);
    TReader r(s);
    EXPECT_EQ(r.ReadInt64(), k.value);
  }
}

TEST(FilerValues, FloatsStringsAndSetsRoundTrip) {
  TMemoryStream s;
  TWriter w(s);
  w.WriteFloat(1.0L / 3.0L);
  w.WriteSingle(0.1f);
  w.WriteDouble(-2.5e300);
  w.WriteCurrency(-922.5L);
  w.WriteDate(45000.5);
  w.WriteString("short");
  w.WriteString(std::string(256, 'q'));
  w.WriteString("25.0\xE2\x84\x83");
  w.WriteIdent("True");
  w.WriteIdent("nil");
  w.WriteSet(EnumTypeInfo(ssBold), 6);
  s.SetPosition(0);
  TReader r(s);
  EXPECT_EQ(r.NextValue(), vaExtended);
  EXPECT_EQ(r.ReadFloat(), 1.0L / 3.0L);
  EXPECT_EQ(r.ReadSingle(), 0.1f);
  EXPECT_EQ(r.ReadDouble(), -2.5e300);
  EXPECT_EQ(r.ReadCurrency(), -922.5L);
  EXPECT_EQ(r.ReadDate(), 45000.5);
  EXPECT_EQ(r.NextValue(), vaString);
  EXPECT_EQ(r.ReadString(), "short");
  EXPECT_EQ(r.NextValue(), vaLString);
  EXPECT_EQ(r.ReadString(), std::string(256, 'q'));
  EXPECT_EQ(r.NextValue(), vaUTF8String);
  EXPECT_EQ(r.ReadString(), "25.0\xE2\x84\x83");
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_EQ(r.ReadIdent(), "nil");
  EXPECT_EQ(r.ReadSet(EnumTypeInfo(ssBold)), 6u);
  EXPECT_EQ(s.Position(), s.Size());
}

TEST(FilerValues, DamagedLengthsRaiseTheReadError) {
  struct Case {
    const char* name;
    std::string bytes;
    void (*read)(TReader&);
  };
  const Case cases[] = {
      {"LongString", std::string("\x0C\xFF\xFF\xFF\x7F" "abc", 8), [](TReader& r) { r.ReadString(); }},
      {"NegativeString", std::string("\x14\xFE\xFF\xFF\xFF", 5), [](TReader& r) { r.ReadString(); }},
      {"WideString", std::string("\x12\x00\x00\x00\x40", 5), [](TReader& r) { r.ReadString(); }},
      {"Binary", std::string("\x0A\x10\x00\x00\x00\x01", 6),
       [](TReader& r) {
         std::vector<unsigned char> d;
         r.ReadBinary(d);
       }},
      {"SkippedBinary", std::string("\x0A\x00\x00\x00\x10", 5), [](TReader& r) { r.SkipValue(); }},
      {"ShortInteger", std::string("\x04\x01", 2), [](TReader& r) { r.ReadInteger(); }},
  };
  for (const Case& c : cases) {
    TMemoryStream s;
    s.WriteBuffer(c.bytes.data(), static_cast<long long>(c.bytes.size()));
    s.SetPosition(0);
    TReader r(s);
    try {
      c.read(r);
      ADD_FAILURE() << c.name;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Stream read error") << c.name;
    }
  }
}

TEST(FilerValues, SkipValuePassesEveryTag) {
  TMemoryStream s;
  TWriter w(s);
  w.WriteListBegin();
  w.WriteInteger(100000);
  w.WriteString(std::string(300, 'x'));
  w.WriteSet(EnumTypeInfo(ssBold), 1);
  w.WriteBinary("abc", 3);
  w.WriteFloat(2);
  w.WriteListEnd();
  w.WriteValue(vaCollection);
  w.WriteInteger(3);
  w.WriteListBegin();
  w.WriteStr("Caption");
  w.WriteString("x");
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteInteger(7);
  s.SetPosition(0);
  TReader r(s);
  r.SkipValue();
  r.SkipValue();
  EXPECT_EQ(r.ReadInteger(), 7);
}

}  // namespace

// References to sub-objects (items of collections here, axes in the chart) are written as name
// paths, so that two objects may refer to each other; they are resolved after the whole tree.
TEST_F(Filer, SubObjectReferencesGoByNamePathAndMayFormCycles) {
  TSampleForm form(nullptr);
  form.SetName("Form1");
  auto* panel = new TSampleControl(&form);
  panel->SetName("Panel1");
  panel->SetParentControl(&form);
  auto* a = static_cast<TSampleItem*>(form.Items()->Add());
  auto* b = static_cast<TSampleItem*>(form.Items()->Add());
  auto* c = static_cast<TSampleItem*>(panel->Items()->Add());
  a->SetPartner(b);
  b->SetPartner(a);  // a cycle: written as two names, nothing nested
  c->SetPartner(b);
  // An item outside the tree cannot be named: its reference is left out.
  TSampleItems loose(nullptr);
  auto* stray = static_cast<TSampleItem*>(panel->Items()->Add());
  stray->SetPartner(static_cast<TSampleItem*>(loose.Add()));

  TMemoryStream stream;
  stream.WriteComponent(&form);
  const std::string text = ObjectBinaryToText(Bytes(stream));
  EXPECT_NE(text.find("Partner = Form1.Items[1]"), std::string::npos) << text;
  EXPECT_NE(text.find("Partner = Form1.Items[0]"), std::string::npos) << text;
  size_t count = 0;
  for (size_t at = 0; (at = text.find("Partner = ", at)) != std::string::npos; ++at) ++count;
  EXPECT_EQ(count, 3u) << text;

  const std::string binary = ObjectTextToBinary(text);
  TMemoryStream in;
  in.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  in.SetPosition(0);
  std::unique_ptr<TComponent> read(in.ReadComponent(nullptr));
  auto* copy = dynamic_cast<TSampleForm*>(read.get());
  ASSERT_NE(copy, nullptr);
  auto* copyPanel = dynamic_cast<TSampleControl*>(copy->FindComponent("Panel1"));
  ASSERT_NE(copyPanel, nullptr);
  ASSERT_EQ(copy->Items()->Count(), 2);
  ASSERT_EQ(copyPanel->Items()->Count(), 2);
  TSampleItem* ca = copy->Items()->Item(0);
  TSampleItem* cb = copy->Items()->Item(1);
  EXPECT_EQ(ca->Partner(), cb);
  EXPECT_EQ(cb->Partner(), ca);
  EXPECT_EQ(copyPanel->Items()->Item(0)->Partner(), cb);
  EXPECT_EQ(copyPanel->Items()->Item(1)->Partner(), nullptr);

  TMemoryStream again;
  again.WriteComponent(copy);
  EXPECT_EQ(ObjectBinaryToText(Bytes(again)), text);
}

TEST_F(Filer, SubObjectReferenceThatLeadsNowhereIsLeftUnset) {
  // Past the end of a collection, to an object of another kind, from an unknown component.
  const std::string binary = ObjectTextToBinary(
      "object Form1: TSampleForm\n"
      "  Items = <\n"
      "    item\n"
      "      Partner = Form1.Items[7]\n"
      "    end\n"
      "    item\n"
      "      Partner = Form1.Font\n"
      "    end\n"
      "    item\n"
      "      Partner = Nobody.Items[0]\n"
      "    end>\n"
      "end\n");
  TMemoryStream in;
  in.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  in.SetPosition(0);
  std::unique_ptr<TComponent> read(in.ReadComponent(nullptr));
  auto* form = dynamic_cast<TSampleForm*>(read.get());
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(form->Items()->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(form->Items()->Item(i)->Partner(), nullptr) << i;
}
