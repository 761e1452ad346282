// Class information: property kinds deduced from accessors, access by name, enumeration and
// set texts, defaults and stored tests, factories, and handler methods bound by name.
#include <gtest/gtest.h>

#include "SampleClasses.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

TEST(TypInfo, PropertyKindsFollowTheAccessors) {
  struct Expect {
    const char* name;
    TTypeKind kind;
  };
  const Expect table[] = {
      {"Left", TTypeKind::tkInteger},   {"Visible", TTypeKind::tkBool},  {"Shape", TTypeKind::tkEnumeration},
      {"Styles", TTypeKind::tkSet},     {"Ratio", TTypeKind::tkFloat},   {"Caption", TTypeKind::tkString},
      {"Accel", TTypeKind::tkChar},     {"Big", TTypeKind::tkInt64},     {"Font", TTypeKind::tkClass},
      {"Buddy", TTypeKind::tkClass},    {"OnClick", TTypeKind::tkMethod}, {"Tag", sizeof(void*) == 4 ? TTypeKind::tkInteger : TTypeKind::tkInt64},
  };
  const TClassInfo& cls = TSampleControl::StaticClass();
  for (const Expect& e : table) {
    const TPropInfo* p = cls.FindProperty(e.name);
    ASSERT_NE(p, nullptr) << e.name;
    EXPECT_EQ(p->kind, e.kind) << e.name;
  }
  EXPECT_EQ(cls.FindProperty("Scale")->floatType, TFloatType::ftSingle);
  EXPECT_EQ(cls.FindProperty("Stamp")->floatType, TFloatType::ftDateTime);
  EXPECT_EQ(cls.FindProperty("Font")->PropClass(), &TSampleFont::StaticClass());
  EXPECT_FALSE(cls.FindProperty("Items")->IsWritable());
  EXPECT_EQ(cls.FindProperty("nope"), nullptr);
}

TEST(TypInfo, PropertiesListAncestorsFirst) {
  const auto props = TSampleControl::StaticClass().Properties();
  ASSERT_GE(props.size(), 3u);
  EXPECT_EQ(props[0]->name, "Name");
  EXPECT_EQ(props[1]->name, "Tag");
  EXPECT_EQ(props[2]->name, "Left");
}

TEST(TypInfo, AccessByName) {
  TSampleControl c(nullptr);
  SetOrdProp(c, "left", 12);
  EXPECT_EQ(c.Left(), 12);
  SetEnumProp(c, "Shape", "shTriangle");
  EXPECT_EQ(c.Shape(), shTriangle);
  EXPECT_EQ(GetEnumProp(c, "Shape"), "shTriangle");
  SetEnumProp(c, "Visible", "False");
  EXPECT_FALSE(c.Visible());
  SetSetProp(c, "Styles", "[ssBold, ssUnderline]");
  EXPECT_EQ(c.Styles(), (TSampleStyles{ssBold, ssUnderline}));
  EXPECT_EQ(GetSetProp(c, "Styles"), "ssBold,ssUnderline");
  EXPECT_EQ(GetSetProp(c, "Styles", true), "[ssBold,ssUnderline]");
  SetFloatProp(c, "Ratio", 2.5L);
  EXPECT_EQ(c.Ratio(), 2.5L);
  SetStrProp(c, "Caption", "Start");
  EXPECT_EQ(GetStrProp(c, "Caption"), "Start");
  EXPECT_EQ(GetObjectProp(c, "Font"), c.Font());
  TSampleControl other(nullptr);
  SetObjectProp(c, "Buddy", &other);
  EXPECT_EQ(c.Buddy(), &other);
  TComponent notAControl(nullptr);
  EXPECT_THROW(SetObjectProp(c, "Buddy", &notAControl), EPropertyError);
  EXPECT_THROW(SetEnumProp(c, "Shape", "shHexagon"), EPropertyError);
  EXPECT_THROW(SetSetProp(c, "Styles", "[ssBold,ssNone]"), EPropertyError);
  EXPECT_THROW(SetOrdProp(c, "Items", 1), EPropertyError);
  c.SetBuddy(nullptr);
}

TEST(TypInfo, EnumInfoNamesAndValues) {
  const TEnumInfo& e = EnumTypeInfo(shCircle);
  EXPECT_EQ(e.Name(), "TSampleShape");
  EXPECT_EQ(e.MaxValue(), 2);
  EXPECT_EQ(e.NameOf(1), "shSquare");
  EXPECT_EQ(e.NameOf(3), "");
  EXPECT_EQ(e.ValueOf("SHSQUARE"), 1);
  EXPECT_EQ(e.ValueOf("x"), -1);
  EXPECT_EQ(StringToSet(EnumTypeInfo(ssBold), " [ ssItalic ,ssBold ] "), 3u);
  EXPECT_EQ(SetToString(EnumTypeInfo(ssBold), 0), "[]");
}

TEST(TypInfo, DefaultsAndStoredTests) {
  const TClassInfo& font = TSampleFont::StaticClass();
  TSampleFont f;
  EXPECT_TRUE(font.FindProperty("Size")->hasDefault);
  EXPECT_EQ(font.FindProperty("Size")->defaultOrd, 8);
  EXPECT_FALSE(font.FindProperty("Name")->IsStored(f));
  f.SetName("Verdana");
  EXPECT_TRUE(font.FindProperty("Name")->IsStored(f));
  EXPECT_FALSE(TComponent::StaticClass().FindProperty("Name")->IsStored(f));
  EXPECT_FALSE(TSampleControl::StaticClass().FindProperty("Left")->hasDefault);
}

TEST(TypInfo, FactoriesMakeInstancesWithTheirCreator) {
  TComponent owner(nullptr);
  TObject* made = TSampleControl::StaticClass().CreateInstance(&owner);
  auto* control = dynamic_cast<TSampleControl*>(made);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->Owner(), &owner);
  TSampleItems items(nullptr);
  TObject* item = TSampleItem::StaticClass().CreateInstance(&items);
  EXPECT_EQ(items.Count(), 1);
  EXPECT_EQ(items.Items(0), item);
  EXPECT_TRUE(TCollection::StaticClass().IsAbstract());
  EXPECT_THROW(TCollection::StaticClass().CreateInstance(), EInvalidOperation);
}

TEST(TypInfo, HandlerMethodsBindByNameAndAreNamedBack) {
  TSampleForm form(nullptr);
  TSampleControl button(nullptr);
  const TPropInfo* onClick = button.ClassType().FindProperty("OnClick");
  const TMethodInfo* method = form.ClassType().FindMethod("buttonclick");
  ASSERT_NE(method, nullptr);
  onClick->setMethod(button, &form, method);
  ASSERT_TRUE(button.OnClick().Assigned());
  button.OnClick()(&button);
  ASSERT_EQ(form.clicks.size(), 1u);
  EXPECT_EQ(form.clicks[0], &button);
  EXPECT_EQ(onClick->methodName(button, &form), "ButtonClick");
  // Bound to another instance, the handler has no name in this root.
  TSampleForm other(nullptr);
  button.SetOnClick(TNotifyEvent(&other, &TSampleForm::TimerTick));
  EXPECT_EQ(onClick->methodName(button, &form), "");
  EXPECT_EQ(onClick->methodName(button, &other), "TimerTick");
  onClick->setMethod(button, &form, nullptr);
  EXPECT_FALSE(button.OnClick().Assigned());
}

TEST(Events, CompareByInstanceAndMethod) {
  TSampleForm a(nullptr), b(nullptr);
  const TNotifyEvent e1(&a, &TSampleForm::ButtonClick);
  const TNotifyEvent e2(&a, &TSampleForm::ButtonClick);
  const TNotifyEvent e3(&b, &TSampleForm::ButtonClick);
  const TNotifyEvent e4(&a, &TSampleForm::TimerTick);
  EXPECT_TRUE(e1 == e2);
  EXPECT_FALSE(e1 == e3);
  EXPECT_FALSE(e1 == e4);
  TNotifyEvent none;
  EXPECT_TRUE(none == nullptr);
  EXPECT_FALSE(e1 == nullptr);
  none(nullptr);  // calling an empty event does nothing
  int calls = 0;
  TNotifyEvent lambda = [&](TObject*) { ++calls; };
  lambda(nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(lambda == e1);
}

TEST(Set, Operations) {
  TSampleStyles s{ssBold};
  s.Include(ssUnderline);
  EXPECT_TRUE(s.Contains(ssUnderline));
  EXPECT_EQ((s - TSampleStyles{ssBold}), (TSampleStyles{ssUnderline}));
  EXPECT_EQ((s * TSampleStyles{ssItalic}).Bits(), 0u);
  EXPECT_TRUE(TSampleStyles{ssBold}.SubsetOf(s));
  EXPECT_EQ(s.Bits(), 5u);
}

}  // namespace
