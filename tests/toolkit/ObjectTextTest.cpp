// The text form of layouts: a tree written to the binary stream, converted to text and back,
// reads again as the same objects; the text looks as layouts are authored; hand-written text
// compiles; faults are reported with their line.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SampleClasses.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

std::string Write(TComponent* root) {
  TMemoryStream s;
  s.WriteComponent(root);
  return std::string(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

std::unique_ptr<TComponent> Read(const std::string& binary) {
  TMemoryStream s;
  s.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  s.SetPosition(0);
  return std::unique_ptr<TComponent>(s.ReadComponent(nullptr));
}

std::string WithoutLoaded(std::string s) {
  for (size_t at; (at = s.find(" loaded=")) != std::string::npos;) s.erase(at, 9);
  return s;
}

class ObjectText : public ::testing::Test {
 protected:
  void SetUp() override { RegisterSampleClasses(); }
};

TEST_F(ObjectText, BinaryToTextAndBackGivesTheSameObjects) {
  std::unique_ptr<TSampleForm> form(BuildForm());
  const std::string binary = Write(form.get());
  const std::string text = ObjectBinaryToText(binary);
  const std::string again = ObjectTextToBinary(text);
  EXPECT_EQ(again, binary) << text;
  std::unique_ptr<TComponent> read = Read(again);
  auto* copy = dynamic_cast<TSampleForm*>(read.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(WithoutLoaded(Describe(*copy, *copy)), WithoutLoaded(Describe(*form, *form)));
  // And the copy writes the same layout again.
  EXPECT_EQ(Write(copy), binary);
}

TEST_F(ObjectText, TextShowsOnlyChangedValuesInTheAuthoringForm) {
  TSampleForm form(nullptr);
  form.SetName("FrmPort");
  form.SetLeft(10);
  form.SetCaption("Port: 'COM1'");
  auto* c = new TSampleControl(&form);
  c->SetName("cbb_port");
  c->SetParentControl(&form);
  c->SetLeft(-3);
  c->SetStyles({ssBold, ssItalic});
  c->SetShape(shTriangle);
  c->SetColor(255);
  c->SetRatio(1.5L);
  c->SetScale(0.25f);
  c->Font()->SetStyle({ssUnderline});
  c->Lines()->Add("COM1");
  c->Lines()->Add("COM2");
  c->data = {0xAB, 0x01};
  static_cast<TSampleItem*>(c->Items()->Add())->SetCaption("a");
  c->Items()->Add();
  c->SetOnClick(TNotifyEvent(&form, &TSampleForm::ButtonClick));
  const std::string expected =
      "object FrmPort: TSampleForm\r\n"
      "  Left = 10\r\n"
      "  Caption = 'Port: ''COM1'''\r\n"
      "  object cbb_port: TSampleControl\r\n"
      "    Left = -3\r\n"
      "    Shape = shTriangle\r\n"
      "    Styles = [ssBold, ssItalic]\r\n"
      "    Ratio = 1.5\r\n"
      "    Scale = 0.25s\r\n"
      "    Color = clRed\r\n"
      "    Font.Style = [ssUnderline]\r\n"
      "    Items = <\r\n"
      "      item\r\n"
      "        Caption = 'a'\r\n"
      "      end\r\n"
      "      item\r\n"
      "      end>\r\n"
      "    Lines.Strings = (\r\n"
      "      'COM1'\r\n"
      "      'COM2')\r\n"
      "    OnClick = ButtonClick\r\n"
      "    Data = {\r\n"
      "      AB01}\r\n"
      "  end\r\n"
      "end\r\n";
  EXPECT_EQ(ObjectBinaryToText(Write(&form)), expected);
  EXPECT_EQ(ObjectTextToBinary(expected), Write(&form));
}

TEST_F(ObjectText, LongAndSpecialStringsAreSplitAndEscaped) {
  TSampleControl c(nullptr);
  c.SetName("L");
  c.SetLeft(0);
  c.SetCaption(std::string(70, 'x') + "\r\n25.0\xE2\x84\x83");
  const std::string text = ObjectBinaryToText(Write(&c));
  EXPECT_NE(text.find("  Caption = \r\n    '" + std::string(64, 'x') + "' +\r\n    'xxxxxx'#13#10'25.0'#8451\r\n"),
            std::string::npos)
      << text;
  std::unique_ptr<TComponent> back = Read(ObjectTextToBinary(text));
  EXPECT_EQ(static_cast<TSampleControl*>(back.get())->Caption(), c.Caption());
}

TEST_F(ObjectText, HandWrittenLayoutCompiles) {
  const std::string text =
      "\xEF\xBB\xBF"
      "object MainForm: TSampleForm\n"
      "  Left = $10\n"
      "  Width = 800\n"
      "  Caption = 'Multi' + ' channel' +\n"
      "    #32'recorder'\n"
      "  object Timer1: TSampleTimer\n"
      "    Interval = 500\n"
      "    OnTimer = TimerTick\n"
      "  end\n"
      "  object Panel1: TSampleControl\n"
      "    Left = 0\n"
      "    Visible = False\n"
      "    Font.Name = 'Times New Roman'\n"
      "    Styles = []\n"
      "    Stamp = 45000.5d\n"
      "    Price = -1.25c\n"
      "    Big = -9000000000\n"
      "    Items = <\n"
      "      item [7]\n"
      "        Value = 3\n"
      "        Weight = 2.5f\n"
      "      end>\n"
      "    Data = {\n"
      "      00ff\n"
      "      10}\n"
      "    object Button1: TSampleControl\n"
      "      Left = 8\n"
      "      Buddy = Panel1\n"
      "      OnClick = ButtonClick\n"
      "    end\n"
      "  end\n"
      "end\n";
  std::unique_ptr<TComponent> root = Read(ObjectTextToBinary(text));
  auto* form = dynamic_cast<TSampleForm*>(root.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Left(), 16);
  EXPECT_EQ(form->Caption(), "Multi channel recorder");
  auto* panel = static_cast<TSampleControl*>(form->FindComponent("Panel1"));
  auto* button = static_cast<TSampleControl*>(form->FindComponent("Button1"));
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(panel->Visible());
  EXPECT_EQ(panel->Font()->Name(), "Times New Roman");
  EXPECT_EQ(panel->Stamp(), 45000.5);
  EXPECT_EQ(panel->Price(), -1.25L);
  EXPECT_EQ(panel->Big(), -9000000000LL);
  ASSERT_EQ(panel->Items()->Count(), 1);
  EXPECT_EQ(panel->Items()->Item(0)->Value(), 3);
  EXPECT_EQ(panel->Items()->Item(0)->Weight(), 2.5);
  EXPECT_EQ(panel->data, (std::vector<unsigned char>{0x00, 0xFF, 0x10}));
  EXPECT_EQ(button->ParentControl(), panel);
  EXPECT_EQ(button->Buddy(), panel);
  auto* timer = static_cast<TSampleTimer*>(form->FindComponent("Timer1"));
  timer->OnTimer()(timer);
  button->OnClick()(button);
  EXPECT_EQ(form->ticks.size(), 1u);
  EXPECT_EQ(form->clicks.size(), 1u);
}

TEST_F(ObjectText, ListsOfItemsByClassNameInAnEntry) {
  TSampleControl c(nullptr);
  c.SetName("C");
  auto* item = static_cast<TSampleItem*>(c.Font()->Extras()->Add());
  item->SetCaption("blur");
  item->SetValue(3);
  const std::string text = ObjectBinaryToText(Write(&c));
  // The items' properties carry no "Font." prefix: they are not properties of the font.
  EXPECT_NE(text.find("  Font.Extras = <\r\n"
                      "    item\r\n"
                      "      ItemClass = 'TSampleItem'\r\n"
                      "      Caption = 'blur'\r\n"
                      "      Value = 3\r\n"
                      "    end>\r\n"),
            std::string::npos)
      << text;
  std::unique_ptr<TComponent> back = Read(ObjectTextToBinary(text));
  TSampleItems* extras = static_cast<TSampleControl*>(back.get())->Font()->Extras();
  ASSERT_EQ(extras->Count(), 1);
  EXPECT_EQ(extras->Item(0)->Caption(), "blur");
  EXPECT_EQ(extras->Item(0)->Value(), 3);
}

TEST_F(ObjectText, UnregisteredItemClassRaisesClassNotFound) {
  const std::string binary = ObjectTextToBinary(
      "object C: TSampleControl\r\n"
      "  Font.Extras = <\r\n"
      "    item\r\n"
      "      ItemClass = 'TNoSuchFilter'\r\n"
      "    end>\r\n"
      "end\r\n");
  try {
    Read(binary);
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Error reading C.Font.Extras: Class TNoSuchFilter not found");
  }
}

TEST_F(ObjectText, UnknownClassInTextRaisesClassNotFound) {
  const std::string binary = ObjectTextToBinary(
      "object F: TSampleForm\r\n"
      "  object G: TGaugeOfOldTimes\r\n"
      "  end\r\n"
      "end\r\n");
  try {
    Read(binary);
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TGaugeOfOldTimes not found");
  }
}

struct ParseErrorCase {
  const char* name;
  const char* text;
  const char* message;
};

class ParseErrors : public ::testing::TestWithParam<ParseErrorCase> {};

TEST_P(ParseErrors, NameTheFaultAndItsLine) {
  try {
    ObjectTextToBinary(GetParam().text);
    FAIL();
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseErrors,
    ::testing::Values(
        ParseErrorCase{"NoObject", "thing X: TForm\nend\n", "'object' expected on line 1"},
        ParseErrorCase{"MissingEquals", "object X: TForm\n  Left 3\nend\n", "'=' expected on line 2"},
        ParseErrorCase{"MissingEnd", "object X: TForm\n  Left = 3\n", "'end' expected on line 3"},
        ParseErrorCase{"OddBinary", "object X: TForm\n  Data = {\n  ABC}\nend\n", "Invalid binary value on line 2"},
        ParseErrorCase{"BadHex", "object X: TForm\n  Data = {AZ}\nend\n", "Invalid binary value on line 2"},
        ParseErrorCase{"OpenString", "object X: TForm\n  Caption = 'abc\nend\n", "Unterminated string on line 2"},
        ParseErrorCase{"BadValue", "object X: TForm\n  Left = ;\nend\n", "Invalid property value on line 2"},
        ParseErrorCase{"TrailingText", "object X: TForm\nend\nobject", "End of file expected on line 3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ObjectTextBinary, FloatsOfEveryWidthSurviveTheText) {
  TMemoryStream s;
  TWriter w(s);
  w.WriteSignature();
  w.WriteStr("TSampleControl");
  w.WriteStr("F");
  int n = 0;
  auto name = [&] { w.WriteStr("P" + std::to_string(n++)); };
  for (double d : {0.1, 1e-300, 123456789.123456789, 4.9406564584124654e-324, -2.5e300}) {
    name();
    w.WriteDouble(d);
  }
  for (float f : {0.1f, 3.4e38f, 1e-45f}) {
    name();
    w.WriteSingle(f);
  }
  for (long double e : {1.0L / 3.0L, 1e4000L, -7.0L / 9.0L}) {
    name();
    w.WriteFloat(e);
  }
  for (long double c : {0.0001L, -922337203685477.5807L, 1.5L}) {
    name();
    w.WriteCurrency(c);
  }
  name();
  w.WriteDate(45292.999988425923);
  w.WriteListEnd();
  w.WriteListEnd();
  const std::string binary(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
  const std::string text = ObjectBinaryToText(binary);
  EXPECT_EQ(ObjectTextToBinary(text), binary) << text;
}

TEST(ObjectTextBinary, DamagedBinaryRaisesReadError) {
  EXPECT_THROW(ObjectBinaryToText(std::string("TPF0\x05TForm\x01X\x04Left\x63", 18)), EReadError);
  EXPECT_THROW(ObjectBinaryToText("XPF0"), EReadError);
}

}  // namespace
