// The class registry: lookup by name, duplicates, unknown classes, and class groups.
#include <gtest/gtest.h>

#include "SampleClasses.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

class RegistryControl : public TSampleControl {
 public:
  using TSampleControl::TSampleControl;
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<RegistryControl>("TRegistryControl", &TSampleControl::StaticClass()).Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

class ImpostorControl : public TSampleControl {
 public:
  using TSampleControl::TSampleControl;
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<ImpostorControl>("TRegistryControl", &TSampleControl::StaticClass()).Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

TEST(ClassRegistry, FindsRegisteredClassesByName) {
  RegisterClass(RegistryControl::StaticClass());
  RegisterClass(RegistryControl::StaticClass());  // again: no effect
  EXPECT_EQ(GetClass("tregistrycontrol"), &RegistryControl::StaticClass());
  EXPECT_EQ(&FindClass("TRegistryControl"), &RegistryControl::StaticClass());
  try {
    RegisterClass(ImpostorControl::StaticClass());
    FAIL();
  } catch (const EFilerError& e) {
    EXPECT_EQ(e.Message(), "A class named TRegistryControl already exists");
  }
  UnRegisterClass(RegistryControl::StaticClass());
  EXPECT_EQ(GetClass("TRegistryControl"), nullptr);
}

TEST(ClassRegistry, UnknownClassRaisesClassNotFound) {
  try {
    FindClass("TNoSuchThing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNoSuchThing not found");
  }
}

TEST(ClassRegistry, AliasesNameAClassTwice) {
  RegisterClassAlias(TSampleTimer::StaticClass(), "TOldTimer");
  EXPECT_EQ(GetClass("TOldTimer"), &TSampleTimer::StaticClass());
  UnRegisterClass(TSampleTimer::StaticClass());
  EXPECT_EQ(GetClass("TOldTimer"), nullptr);
  RegisterSampleClasses();
}

TEST(ClassRegistry, GroupsCollectDescendantsOfTheirClass) {
  RegisterSampleClasses();
  StartClassGroup(TSampleControl::StaticClass());
  EXPECT_EQ(&ClassGroupOf(TSampleForm::StaticClass()), &TSampleControl::StaticClass());
  EXPECT_EQ(&ClassGroupOf(TSampleTimer::StaticClass()), &TPersistent::StaticClass());
  GroupDescendentsWith(TSampleTimer::StaticClass(), TSampleControl::StaticClass());
  EXPECT_EQ(&ClassGroupOf(TSampleTimer::StaticClass()), &TSampleControl::StaticClass());
  ActivateClassGroup(TSampleControl::StaticClass());
  // Classes registered before the group was started moved into it and are still found.
  EXPECT_EQ(GetClass("TSampleForm"), &TSampleForm::StaticClass());
  EXPECT_EQ(GetClass("TSampleControl"), &TSampleControl::StaticClass());
}

}  // namespace
