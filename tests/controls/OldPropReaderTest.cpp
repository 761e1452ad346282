// Readers of obsolete stored properties: a layout holding a Boolean, an identifier and a set
// under names that no longer exist still loads, and the property stored after each is read
// (the skipped value was consumed exactly); the settings-store component's defaults and its
// reopen flag; repainting a window's frame only while it can be seen; the module start-up.
#include <gtest/gtest.h>

#include "controls/KxOldPropReader.h"
#include "controls/KxRegIniFile.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonFrames.h"
#include "controls/KxFrameController.h"
#include "controls/KxModule.h"
#include "toolkit/classes/ClassRegistry.h"

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

TEST(RegIniFileTest, DefaultsAndReopenFlag) {
  TKxRegIniFile store(nullptr);
  EXPECT_EQ(store.PathType(), ptIniFile);
  EXPECT_EQ(store.RegKey(), hkeyCurrentUser);
  EXPECT_EQ(store.RegAccess(), TKxRegAccess{keyAllAccess});
  EXPECT_EQ(store.SpecialFolder(), sfNone);
  EXPECT_EQ(store.FileEncoding(), feDefault);
  EXPECT_TRUE(store.ReopenNeeded());
  store.SetPath("Software\\Vornakit");
  EXPECT_EQ(GetStrProp(store, "Path"), "Software\\Vornakit");
  SetEnumProp(store, "PathType", "ptRegistry");
  EXPECT_EQ(store.PathType(), ptRegistry);
  EXPECT_EQ(GetSetProp(store, "RegAccess"), "keyAllAccess");
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

TEST(ControlSetModuleTest, StartUpRegistersTheLayoutClasses) {
  InitControlSet();
  EXPECT_EQ(GetClass("TKxFrameController"), &TKxFrameController::StaticClass());
  EXPECT_EQ(GetClass("TKxRegIniFile"), &TKxRegIniFile::StaticClass());
  EXPECT_TRUE(KxFullColorDevice());
  DoneControlSet();
}

}  // namespace
