// Readers of obsolete stored properties: a layout holding a Boolean, an identifier and a set
// under names that no longer exist still loads, and the property stored after each is read
// (the skipped value was consumed exactly); the settings-store component's layout entries;
// repainting a window's frame only while it can be seen; the module start-up's class table.
#include <gtest/gtest.h>

#include <string>

#include "controls/KxOldPropReader.h"
#include "controls/KxRegIniFile.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxFrameController.h"
#include "controls/KxBlinkingControlsList.h"
#include "controls/KxButton.h"
#include "controls/KxCmboBx.h"
#include "controls/KxEdit.h"
#include "controls/KxLabel.h"
#include "controls/KxModule.h"
#include "controls/KxPageControl.h"
#include "controls/KxPanel.h"
#include "controls/KxToolButton.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"

namespace {

class TOldLayoutProbe : public TComponent {
 public:
  explicit TOldLayoutProbe(TComponent* owner) : TComponent(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<TOldLayoutProbe>("TOldLayoutProbe", &TComponent::StaticClass())
                                       .Property("Value", &TOldLayoutProbe::Value, &TOldLayoutProbe::SetValue)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void DefineProperties(TFiler& filer) override {
    TComponent::DefineProperties(filer);
    filer.DefineProperty("OldFlag", &TKxOldPropReader::SkipBooleanValue, {}, false);
    filer.DefineProperty("OldStyle", &TKxOldPropReader::SkipIdentValue, {}, false);
    filer.DefineProperty("OldSides", &TKxOldPropReader::SkipSetValue, {}, false);
  }
  int Value() const { return value_; }
  void SetValue(int v) {
    value_ = v;
    ++writes;
  }
  int writes = 0;

 private:
  int value_ = 0;
};

TEST(OldPropReaderTest, ObsoleteEntriesAreConsumedAndDropped) {
  TMemoryStream stream;
  {
    TWriter w(stream);
    w.WriteSignature();
    w.WriteStr("TOldLayoutProbe");
    w.WriteStr("Probe");
    w.WriteStr("OldFlag");
    w.WriteBoolean(true);
    w.WriteStr("Value");
    w.WriteInteger(1);
    w.WriteStr("OldSides");
    w.WriteValue(vaSet);
    w.WriteStr("sdLeft");
    w.WriteStr("sdBottom");
    w.WriteStr("");
    w.WriteStr("OldStyle");
    w.WriteIdent("fsGroove");
    w.WriteStr("Value");
    w.WriteInteger(70000);
    w.WriteListEnd();
    w.WriteListEnd();
  }
  stream.SetPosition(0);
  TOldLayoutProbe probe(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&probe);
  EXPECT_EQ(probe.Value(), 70000);
  EXPECT_EQ(probe.writes, 2);
  EXPECT_EQ(stream.Position(), stream.Size());
}

// The layout text of `component` written as a root.
std::string LayoutText(TComponent& component) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteRootComponent(&component);
  }
  return ObjectBinaryToText(std::string_view(static_cast<const char*>(stream.Memory()),
                                             static_cast<std::size_t>(stream.Size())));
}

// The settings store writes only settings that differ from their defaults, and reads back what
// it wrote.
TEST(RegIniFileTest, ChangedSettingsAloneAreWrittenAndReadBack) {
  using TGet = std::string (*)(TObject&, std::string_view);
  using TSet = void (*)(TObject&, std::string_view, std::string_view);
  const TGet getEnum = [](TObject& o, std::string_view n) { return GetEnumProp(o, n); };
  const TSet setEnum = [](TObject& o, std::string_view n, std::string_view v) { SetEnumProp(o, n, v); };
  const TGet getSet = [](TObject& o, std::string_view n) { return GetSetProp(o, n); };
  const TSet setSet = [](TObject& o, std::string_view n, std::string_view v) { SetSetProp(o, n, v); };
  const TGet getStr = [](TObject& o, std::string_view n) { return GetStrProp(o, n); };
  const TSet setStr = [](TObject& o, std::string_view n, std::string_view v) { SetStrProp(o, n, std::string(v)); };
  struct Case {
    const char* property;
    const char* value;
    TGet get;
    TSet set;
  } const cases[] = {
      {"FileEncoding", "feUTF8", getEnum, setEnum},      {"Path", "Software\\Vornakit", getStr, setStr},
      {"PathType", "ptRegistry", getEnum, setEnum},      {"RegAccess", "keyRead,keyWrite", getSet, setSet},
      {"RegKey", "hkeyLocalMachine", getEnum, setEnum},  {"SpecialFolder", "sfProgramData", getEnum, setEnum},
  };
  RegisterClasses({&TKxRegIniFile::StaticClass()});
  TKxRegIniFile plain(nullptr);
  plain.SetName("Store");
  const std::string defaults = LayoutText(plain);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.property);
    EXPECT_EQ(defaults.find(std::string(c.property) + " ="), std::string::npos) << defaults;
    TKxRegIniFile store(nullptr);
    store.SetName("Store");
    c.set(store, c.property, c.value);
    const std::string text = LayoutText(store);
    EXPECT_NE(text.find(std::string(c.property) + " ="), std::string::npos) << text;
    TKxRegIniFile copy(nullptr);
    const std::string binary = ObjectTextToBinary(text);
    TMemoryStream stream;
    stream.Write(binary.data(), static_cast<long long>(binary.size()));
    stream.SetPosition(0);
    TReader reader(stream);
    reader.ReadRootComponent(&copy);
    EXPECT_EQ(c.get(copy, c.property), c.value);
  }
}

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCPAINT) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(RedrawNonClientFrameTest, RepaintsTheFrameOnlyOfAVisibleWindow) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = CountingProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"KxNcCounter";
  RegisterClassW(&cls);
  HWND window = CreateWindowExW(0, L"KxNcCounter", L"", WS_POPUP | WS_BORDER, 10, 10, 60, 40, nullptr, nullptr,
                                cls.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  int ncPaints = 0;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&ncPaints));
  Pump();
  ncPaints = 0;
  RedrawNonClientFrame(window, {0, 0, 60, 40});
  Pump();
  EXPECT_EQ(ncPaints, 0) << "hidden";
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  Pump();
  ncPaints = 0;
  RedrawNonClientFrame(window, {0, 0, 60, 40});
  UpdateWindow(window);
  Pump();
  EXPECT_GE(ncPaints, 1) << "visible";
  DestroyWindow(window);
}

}  // namespace

namespace {

// Start-up registers every class a layout may name under its own name, and re-reads the display;
// shut-down releases an idle blink list.
TEST(ControlSetModuleTest, StartUpRegistersTheLayoutClasses) {
  struct Row {
    const char* name;
    const TClassInfo* info;
  } const rows[] = {
      {"TKxFrameController", &TKxFrameController::StaticClass()}, {"TKxRegIniFile", &TKxRegIniFile::StaticClass()},
      {"TKxLabel", &TKxLabel::StaticClass()},                     {"TKxButton", &TKxButton::StaticClass()},
      {"TKxBitBtn", &TKxBitBtn::StaticClass()},                   {"TKxComboBox", &TKxComboBox::StaticClass()},
      {"TKxEdit", &TKxEdit::StaticClass()},                       {"TKxToolButton", &TKxToolButton::StaticClass()},
      {"TKxStatusBar", &TKxStatusBar::StaticClass()},             {"TKxPageControl", &TKxPageControl::StaticClass()},
      {"TKxTabSheet", &TKxTabSheet::StaticClass()},
  };
  SetKxFullColorDevice(false);
  InitControlSet();
  for (const Row& row : rows) EXPECT_EQ(GetClass(row.name), row.info) << row.name;
  EXPECT_EQ(KxFullColorDevice(), DeviceHasFullColor()) << "the display is read again";
  KxBlinker();
  DoneControlSet();
  EXPECT_EQ(KxBlinkerIfAny(), nullptr);
  SetKxFullColorDevice(true);
}

}  // namespace
