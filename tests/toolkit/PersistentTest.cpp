// TPersistent: the assignment protocol (a source of another branch is asked through AssignTo,
// unrelated classes raise the conversion error) and name paths through owners.
#include <gtest/gtest.h>

#include "SampleClasses.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

// Knows how to copy itself into a font, as a picture knows how to copy itself into a bitmap.
class FontSpec : public TPersistent {
 public:
  void AssignTo(TPersistent* dest) override {
    if (auto* font = dynamic_cast<TSampleFont*>(dest)) {
      font->SetName("Courier New");
      font->SetSize(10);
      return;
    }
    TPersistent::AssignTo(dest);
  }
};

TEST(Persistent, AssignAsksTheSourceOfAnotherBranch) {
  TSampleFont font;
  FontSpec spec;
  font.Assign(&spec);
  EXPECT_EQ(font.Name(), "Courier New");
  EXPECT_EQ(font.Size(), 10);
}

TEST(Persistent, UnrelatedAssignmentRaisesTheConversionError) {
  struct Case {
    const char* name;
    TPersistent* source;
    const char* message;
  };
  TSampleFont font;
  TStringList list;
  const Case cases[] = {
      {"OtherClass", &list, "Cannot assign a TStringList to a TSampleFont"},
      {"Nil", nullptr, "Cannot assign a nil to a TSampleFont"},
  };
  for (const Case& c : cases) {
    try {
      font.Assign(c.source);
      ADD_FAILURE() << c.name;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.name;
    }
  }
  FontSpec spec;
  EXPECT_THROW(list.Assign(&spec), EConvertError);
}

TEST(Persistent, NamePathsFollowOwners) {
  TComponent form(nullptr);
  form.SetName("FrmMain");
  auto* chart = new TSampleControl(&form);
  chart->SetName("dbcht1");
  EXPECT_EQ(chart->GetNamePath(), "dbcht1");
  EXPECT_EQ(chart->Items()->GetNamePath(), "dbcht1.Items");
  TSampleFont loose;
  EXPECT_EQ(loose.GetNamePath(), "TSampleFont");
}

}  // namespace
