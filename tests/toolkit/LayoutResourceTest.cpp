// Layout loading: binary and text forms are told apart, and a window is read from the RCDATA
// resource named after its class.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SampleClasses.h"
#include "toolkit/classes/LayoutResource.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

TMemoryStream* StreamOf(const std::string& bytes) {
  auto* s = new TMemoryStream;
  s->WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  s->SetPosition(0);
  return s;
}

TEST(LayoutResource, TellsTheFormsApart) {
  struct Case {
    const char* name;
    std::string bytes;
    TStreamOriginalFormat format;
  };
  const Case cases[] = {
      {"Binary", std::string("TPF0\x05TForm", 10), sofBinary},
      {"Text", "object F: TForm\r\nend\r\n", sofText},
      {"TextAfterBomAndBlanks", "\xEF\xBB\xBF\r\n  Inherited F: TForm\r\nend", sofText},
      {"WordPrefixIsNotEnough", "objects", sofUnknown},
      {"Other", "MZ\x90", sofUnknown},
      {"Empty", "", sofUnknown},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TMemoryStream> s(StreamOf(c.bytes));
    EXPECT_EQ(TestStreamFormat(*s), c.format) << c.name;
    EXPECT_EQ(s->Position(), 0) << c.name;
  }
}

TEST(LayoutResource, ReadsEitherForm) {
  RegisterSampleClasses();
  const std::string text = "object F: TSampleForm\r\n  Left = 3\r\nend\r\n";
  for (const std::string& bytes : {text, ObjectTextToBinary(text)}) {
    std::unique_ptr<TMemoryStream> s(StreamOf(bytes));
    TSampleForm form(nullptr);
    EXPECT_EQ(ReadLayout(*s, &form), &form);
    EXPECT_EQ(form.Left(), 3);
  }
  std::unique_ptr<TMemoryStream> s(StreamOf("garbage"));
  EXPECT_THROW(ReadLayout(*s, nullptr), EReadError);
}

TEST(LayoutResource, WindowReadFromItsClassResource) {
  RegisterSampleClasses();
  TSampleForm form(nullptr);
  ASSERT_TRUE(ReadComponentRes(form.ClassName(), &form));
  EXPECT_EQ(form.Name(), "MainForm");
  EXPECT_EQ(form.Left(), 7);
  auto* timer = dynamic_cast<TSampleTimer*>(form.FindComponent("Timer1"));
  ASSERT_NE(timer, nullptr);
  timer->OnTimer()(timer);
  EXPECT_EQ(form.ticks.size(), 1u);
  TSampleForm other(nullptr);
  EXPECT_FALSE(ReadComponentRes("TNoSuchForm", &other));
  EXPECT_THROW(ReadComponentRes("NotALayout", &other), EReadError);
}

}  // namespace
