// TKxEdit on a hidden form, driven by messages: the state-colour table, the focus colour that
// follows Color, layout rules (disabled colour, equal focus colour, controller-owned settings,
// an older layout's FrameFlat), the non-client frame printed into a DIB, the drop button
// (narrower client, click / Alt+Down / F4, a raising handler, read-only), Enter-as-Tab and
// the cue banner.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonText.h"
#include "controls/KxEdit.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/Form.h"

#include <commctrl.h>

namespace {

constexpr COLORREF kMarker = 0x3C14DC;
constexpr TColor kFace = static_cast<TColor>(0xC0FFC0);
constexpr TColor kRed = static_cast<TColor>(0x0000FF);
constexpr TColor kBlue = static_cast<TColor>(0xFF0000);

class KxEditTest : public testing::Test {
 protected:
  KxEditTest() : form_(nullptr), dib_(100, 24, kMarker) {
    SetKxVisualStylesQuery([this] { return themed_; });
    form_.SetBounds(0, 0, 300, 200);
    edit_ = new TKxEdit(&form_);
    edit_->SetParent(&form_);
    edit_->SetBounds(10, 10, 100, 24);
  }
  ~KxEditTest() override { SetKxVisualStylesQuery(nullptr); }

  // The window with its non-client area, as WM_PRINT draws it.
  void PrintFrame() {
    dib_.Fill(kMarker);
    edit_->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dib_.DC()), PRF_NONCLIENT);
  }
  COLORREF At(int x, int y) const { return dib_.Pixel(x, y); }
  int Count(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < dib_.Height(); ++y) {
      for (int x = 0; x < dib_.Width(); ++x) n += dib_.Pixel(x, y) == color;
    }
    return n;
  }
  // Records the drop-down events in order.
  void Record() {
    edit_->OnDropDown = [this](TObject*) { events_.push_back("drop"); };
    edit_->OnCloseUp = [this](TObject*) { events_.push_back("close"); };
  }

  bool themed_ = false;
  TForm form_;
  TKxEdit* edit_;
  TDibSurface dib_;
  std::vector<std::string> events_;
};

struct TStateColorCase {
  const char* name;
  bool enabled;
  bool focused;
  bool readOnly;
  bool readOnlyOnFocus;
  TColor expected;
};

class KxEditStateColorTest : public KxEditTest, public testing::WithParamInterface<TStateColorCase> {};

TEST_P(KxEditStateColorTest, ColourFollowsTheState) {
  const TStateColorCase& c = GetParam();
  edit_->SetColor(kFace);
  edit_->SetFocusColor(clYellow);
  edit_->SetReadOnlyColor(clAqua);
  edit_->SetDisabledColor(clGray);
  edit_->SetReadOnlyColorOnFocus(c.readOnlyOnFocus);
  edit_->SetReadOnly(c.readOnly);
  if (c.focused) edit_->Perform(CM_ENTER);
  edit_->SetEnabled(c.enabled);
  EXPECT_EQ(edit_->Color(), c.expected);
  EXPECT_EQ(edit_->NormalColor(), kFace) << "a state colour never becomes the normal colour";
  if (c.focused) edit_->Perform(CM_EXIT);
  edit_->SetEnabled(true);
  edit_->SetReadOnly(false);
  EXPECT_EQ(edit_->Color(), kFace);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KxEditStateColorTest,
    testing::Values(TStateColorCase{"Normal", true, false, false, false, kFace},
                    TStateColorCase{"Disabled", false, false, false, false, clGray},
                    TStateColorCase{"DisabledFocusedReadOnly", false, true, true, true, clGray},
                    TStateColorCase{"Focused", true, true, false, false, clYellow},
                    TStateColorCase{"ReadOnly", true, false, true, false, clAqua},
                    TStateColorCase{"ReadOnlyFocused", true, true, true, false, clYellow},
                    TStateColorCase{"ReadOnlyFocusedOnFocus", true, true, true, true, clAqua}),
    [](const testing::TestParamInfo<TStateColorCase>& info) { return std::string(info.param.name); });

TEST_F(KxEditTest, FocusColourEqualToTheColourFollowsIt) {
  EXPECT_EQ(edit_->FocusColor(), clWindow);
  edit_->SetColor(clYellow);
  EXPECT_EQ(edit_->FocusColor(), clYellow);
  edit_->Perform(CM_ENTER);
  EXPECT_EQ(edit_->Color(), clYellow);
  edit_->Perform(CM_EXIT);
  edit_->SetFocusColor(clAqua);
  edit_->SetColor(clLime);
  EXPECT_EQ(edit_->FocusColor(), clAqua) << "an own focus colour stays";
}

TEST_F(KxEditTest, LayoutRules) {
  const TPropInfo* color = GetPropInfo(*edit_, "Color");
  const TPropInfo* focus = GetPropInfo(*edit_, "FocusColor");
  const TPropInfo* frame = GetPropInfo(*edit_, "FrameColor");
  ASSERT_NE(color, nullptr);
  ASSERT_NE(focus, nullptr);
  ASSERT_NE(frame, nullptr);
  edit_->SetColor(clYellow);
  EXPECT_TRUE(color->IsStored(*edit_));
  EXPECT_FALSE(focus->IsStored(*edit_)) << "the focus colour equals the colour";
  edit_->SetFocusColor(clAqua);
  EXPECT_TRUE(focus->IsStored(*edit_));
  edit_->SetEnabled(false);
  EXPECT_EQ(edit_->Color(), clBtnFace);
  EXPECT_FALSE(color->IsStored(*edit_)) << "a disabled edit's colour is its state colour";
  edit_->SetEnabled(true);

  TKxFrameController frames(nullptr);
  edit_->SetFrameController(&frames);
  edit_->SetFrameColor(clRed);
  EXPECT_FALSE(frame->IsStored(*edit_));
  EXPECT_FALSE(color->IsStored(*edit_));
  EXPECT_FALSE(focus->IsStored(*edit_));
  edit_->SetFrameControllerNotifications(TKxFrameControllerNotifications{fcpColor});
  edit_->SetFrameColor(clRed);
  EXPECT_TRUE(frame->IsStored(*edit_)) << "its notification bit is clear";
  edit_->SetFrameController(nullptr);
}

TEST_F(KxEditTest, OlderLayoutFrameFlatMakesAHotTrackedStatusFrame) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TKxEdit");
    writer.WriteStr("Name1");
    writer.WriteStr("FrameFlat");
    writer.WriteBoolean(true);
    writer.WriteStr("FrameFlatStyle");
    writer.WriteIdent("fsGroove");
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TKxEdit loaded(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&loaded);
  EXPECT_TRUE(loaded.FrameHotTrack());
  EXPECT_TRUE(loaded.FrameVisible());
  EXPECT_EQ(loaded.FrameStyle(), fsStatus);
  EXPECT_EQ(loaded.FrameHotStyle(), fsLowered);
}

TEST_F(KxEditTest, FrameRingOnTheChosenSidesOnly) {
  edit_->SetColor(kFace);
  edit_->SetFrameVisible(true);
  edit_->SetFramingPreference(fpCustomFraming);
  edit_->SetFrameColor(kRed);
  edit_->SetFrameSides(TSides{sdLeft, sdTop});
  edit_->HandleNeeded();
  PrintFrame();
  EXPECT_EQ(At(0, 12), KxColorToRGB(kRed));
  EXPECT_EQ(At(50, 0), KxColorToRGB(kRed));
  EXPECT_EQ(At(1, 12), KxColorToRGB(kFace)) << "one pixel wide, then the band";
  EXPECT_EQ(At(99, 12), KxColorToRGB(kFace)) << "no line at the right";
  EXPECT_EQ(At(50, 23), KxColorToRGB(kFace)) << "no line at the bottom";
}

TEST_F(KxEditTest, HotTrackingDrawsTheBoldRingAfterTheMouseEnters) {
  edit_->SetColor(kFace);
  edit_->SetFramingPreference(fpCustomFraming);
  edit_->SetFrameSides(TSides{sdLeft});
  edit_->SetFrameColor(kRed);
  edit_->SetFrameHotColor(kBlue);
  edit_->SetFrameHotTrack(true);
  EXPECT_TRUE(edit_->FrameVisible());
  EXPECT_EQ(edit_->FrameSides(), kAllSides) << "hot tracking frames all four sides";
  edit_->HandleNeeded();
  PrintFrame();
  EXPECT_EQ(At(0, 12), KxColorToRGB(kRed));
  EXPECT_EQ(At(99, 12), KxColorToRGB(kRed));
  EXPECT_EQ(At(1, 12), KxColorToRGB(kFace));
  EXPECT_EQ(Count(KxColorToRGB(kBlue)), 0);
  edit_->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(edit_->OverControl());
  PrintFrame();
  for (int x : {0, 1, 98, 99}) EXPECT_EQ(At(x, 12), KxColorToRGB(kBlue)) << x;
  for (int y : {0, 1, 22, 23}) EXPECT_EQ(At(50, y), KxColorToRGB(kBlue)) << y;
  EXPECT_EQ(At(2, 12), kMarker) << "the client area is not the frame's";
  edit_->Perform(CM_MOUSELEAVE);
  PrintFrame();
  EXPECT_EQ(At(0, 12), KxColorToRGB(kRed));
}

TEST_F(KxEditTest, ThemedFramingKeepsThePlatformBorder) {
  themed_ = true;
  edit_->SetFrameColor(kRed);
  edit_->SetFrameVisible(true);
  edit_->HandleNeeded();
  PrintFrame();
  EXPECT_EQ(Count(KxColorToRGB(kRed)), 0) << "no custom frame under the platform's themes";
  edit_->SetFramingPreference(fpCustomFraming);
  PrintFrame();
  EXPECT_GT(Count(KxColorToRGB(kRed)), 0) << "custom framing paints it";
}

TEST_F(KxEditTest, DropButtonNarrowsTheClientAndRunsItsSequence) {
  Record();
  edit_->HandleNeeded();
  const int full = edit_->ClientWidth();
  edit_->SetDropButtonVisible(true);
  EXPECT_EQ(edit_->ClientWidth(), full - GetSystemMetrics(SM_CXVSCROLL));

  edit_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edit_->ClientWidth() + 3, 5));
  edit_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(edit_->ClientWidth() + 3, 5));
  edit_->Perform(WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
  edit_->Perform(WM_KEYDOWN, VK_F4, 0);
  EXPECT_EQ(events_, (std::vector<std::string>{"drop", "close", "drop", "close", "drop", "close"}));
  EXPECT_EQ(edit_->DropButtonState(), 0);
  EXPECT_NE(GetCapture(), edit_->Handle());

  events_.clear();
  edit_->Perform(WM_KEYDOWN, VK_DOWN, 0);
  edit_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  edit_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(events_.empty()) << "Down without Alt and clicks in the text do not drop down";
}

TEST_F(KxEditTest, RaisingHandlerLeavesTheEditUsable) {
  edit_->HandleNeeded();
  edit_->SetDropButtonVisible(true);
  int closes = 0;
  bool raise = true;
  edit_->OnDropDown = [&](TObject*) {
    EXPECT_EQ(edit_->DropButtonState(), 2);
    EXPECT_EQ(GetCapture(), edit_->Handle());
    if (raise) throw Exception("list failed");
  };
  edit_->OnCloseUp = [&](TObject*) { ++closes; };
  EXPECT_THROW(edit_->Perform(WM_KEYDOWN, VK_F4, 0), Exception);
  EXPECT_EQ(edit_->DropButtonState(), 0);
  EXPECT_FALSE(edit_->InDropDown());
  EXPECT_NE(GetCapture(), edit_->Handle()) << "the mouse is free again";
  raise = false;
  edit_->Perform(WM_KEYDOWN, VK_F4, 0);
  EXPECT_EQ(closes, 1) << "the next drop-down runs";
}

TEST_F(KxEditTest, ReadOnlyHidesTheDropButton) {
  Record();
  edit_->HandleNeeded();
  const int full = edit_->ClientWidth();
  edit_->SetDropButtonVisible(true);
  edit_->SetReadOnly(true);
  EXPECT_FALSE(edit_->DropButtonShown());
  EXPECT_EQ(edit_->ClientWidth(), full);
  edit_->Perform(WM_KEYDOWN, VK_F4, 0);
  EXPECT_TRUE(events_.empty());
  edit_->SetReadOnly(false);
  EXPECT_TRUE(edit_->DropButtonShown());
  EXPECT_LT(edit_->ClientWidth(), full);
  edit_->Perform(WM_KEYDOWN, VK_F4, 0);
  EXPECT_EQ(events_.size(), 2u);
}

TEST_F(KxEditTest, EnterBecomesTabWithTabOnEnter) {
  edit_->HandleNeeded();
  MSG msg;
  while (PeekMessageW(&msg, edit_->Handle(), 0, 0, PM_REMOVE)) {}
  edit_->Perform(WM_CHAR, VK_RETURN, 0);
  EXPECT_FALSE(PeekMessageW(&msg, edit_->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
  edit_->SetTabOnEnter(true);
  edit_->Perform(WM_CHAR, VK_RETURN, 0);
  ASSERT_TRUE(PeekMessageW(&msg, edit_->Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_TAB));
}

TEST_F(KxEditTest, ValidateErrorHandlerGivesTheMessageOfARejectedText) {
  edit_->SetEditMask("00000;1;_");
  edit_->SetText("12a45");
  std::string supplied = "Five digits, please";
  int asked = 0;
  edit_->OnValidateError = [&](TObject*, std::string& message) {
    ++asked;
    message = supplied;
  };
  auto raised = [this]() -> std::string {
    try {
      edit_->ValidateEdit();
    } catch (const EDBEditError& e) {
      return e.Message();
    }
    return "(nothing)";
  };
  EXPECT_EQ(raised(), "Five digits, please");
  EXPECT_EQ(asked, 1);
  supplied.clear();
  EXPECT_EQ(raised(), kMaskEditError) << "an empty message: the mask's own error";
  edit_->OnValidateError = nullptr;
  EXPECT_EQ(raised(), kMaskEditError);
  edit_->OnValidateError = [&](TObject*, std::string& message) {
    ++asked;
    message = "never";
  };
  edit_->SetText("12345");
  EXPECT_EQ(raised(), "(nothing)");
  EXPECT_EQ(asked, 2) << "a fitting text asks nobody";
}

TEST_F(KxEditTest, TextHintSetBeforeTheWindowIsSentWhenItIsMade) {
  themed_ = true;
  // The banner as the window receives it (the platform's plain edit keeps none to read back).
  std::vector<std::wstring> banners;
  const TWndMethod previous = edit_->WindowProc();
  edit_->SetWindowProc([&](TMessage& m) {
    if (m.Msg == EM_SETCUEBANNER) {
      banners.push_back(std::wstring(reinterpret_cast<const wchar_t*>(m.LParam)) + (m.WParam ? L"+focus" : L""));
    }
    previous(m);
  });
  edit_->SetTextHint("Company name");
  EXPECT_FALSE(edit_->HandleAllocated());
  EXPECT_TRUE(banners.empty());
  edit_->HandleNeeded();
  EXPECT_EQ(banners, std::vector<std::wstring>{L"Company name"});
  edit_->SetTextHintVisibleOnFocus(true);
  EXPECT_EQ(banners.back(), L"Company name+focus");
  themed_ = false;
  edit_->SetTextHint("Other");
  EXPECT_EQ(banners.size(), 2u) << "no banner without visual styles";
  edit_->SetWindowProc(previous);
}

}  // namespace

namespace {

// Records the characters that reach the platform's edit.
class TCharRecordingEdit : public TKxEdit {
 public:
  explicit TCharRecordingEdit(TComponent* owner) : TKxEdit(owner) {}
  std::vector<WPARAM> chars;
  void DefaultHandler(TMessage& message) override {
    if (message.Msg == WM_CHAR) chars.push_back(message.WParam);
    TKxEdit::DefaultHandler(message);
  }
};

struct TVersionCase {
  const char* name;
  TKxPlatformVersion version;
  TAlignment alignment;
  bool enterReachesTheEdit;
};

// Windows 95 (4.0 on the 9x platform) swallows Enter in a right-aligned edit.
TEST(KxEditVersionTest, RightAlignedEditSwallowsEnterOnWindows95Only) {
  const TVersionCase cases[] = {
      {"Windows 95, right-aligned", {VER_PLATFORM_WIN32_WINDOWS, 4, 0}, taRightJustify, false},
      {"Windows 95, left-aligned", {VER_PLATFORM_WIN32_WINDOWS, 4, 0}, taLeftJustify, true},
      {"Windows 98, right-aligned", {VER_PLATFORM_WIN32_WINDOWS, 4, 10}, taRightJustify, true},
      {"Windows XP, right-aligned", {VER_PLATFORM_WIN32_NT, 5, 1}, taRightJustify, true},
  };
  for (const TVersionCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetKxPlatformVersionQuery([&] { return c.version; });
    TForm form(nullptr);
    auto* edit = new TCharRecordingEdit(&form);
    edit->SetParent(&form);
    edit->SetAlignment(c.alignment);
    edit->HandleNeeded();
    edit->Perform(WM_CHAR, VK_RETURN, 0);
    edit->Perform(WM_CHAR, 'a', 0);
    const std::vector<WPARAM> expected =
        c.enterReachesTheEdit ? std::vector<WPARAM>{VK_RETURN, 'a'} : std::vector<WPARAM>{'a'};
    EXPECT_EQ(edit->chars, expected);
  }
  SetKxPlatformVersionQuery(nullptr);
}

TEST(KxEditVersionTest, EnteringOnWindows95SelectsAllUnlessTheLeftButtonIsDown) {
  SetKxPlatformVersionQuery([] { return TKxPlatformVersion{VER_PLATFORM_WIN32_WINDOWS, 4, 0}; });
  struct Case {
    bool autoSelect;
    bool leftButtonDown;
    DWORD selEnd;
  } const cases[] = {{true, false, 5}, {true, true, 0}, {false, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "AutoSelect " << c.autoSelect << ", left button " << c.leftButtonDown);
    TForm form(nullptr);
    auto* edit = new TKxEdit(&form);
    edit->SetParent(&form);
    edit->SetText("Hello");
    edit->SetAutoSelect(c.autoSelect);
    edit->HandleNeeded();
    SendMessageW(edit->Handle(), EM_SETSEL, 0, 0);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_LBUTTON] = c.leftButtonDown ? 0x80 : 0;
    SetKeyboardState(keys);
    edit->Perform(CM_ENTER);
    keys[VK_LBUTTON] = 0;
    SetKeyboardState(keys);
    DWORD start = 9;
    DWORD end = 9;
    SendMessageW(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, c.selEnd);
  }
  SetKxPlatformVersionQuery(nullptr);
}

// Right to left the drop button and its non-client room are at the left: the client area
// starts after it, clicks left of the client run the drop-down, and the button is printed there.
TEST_F(KxEditTest, RightToLeftPutsTheDropButtonAtTheLeft) {
  Record();
  edit_->HandleNeeded();
  edit_->SetDropButtonVisible(true);
  const int sb = GetSystemMetrics(SM_CXVSCROLL);
  const auto clientLeft = [&] {
    POINT origin{0, 0};
    ClientToScreen(edit_->Handle(), &origin);
    RECT window{};
    GetWindowRect(edit_->Handle(), &window);
    return static_cast<int>(origin.x - window.left);
  };
  const auto arrowColumns = [&](int from, int to) {
    int n = 0;
    for (int x = from; x < to; ++x)
      for (int y = 0; y < dib_.Height(); ++y) n += At(x, y) == 0x000000;
    return n;
  };
  const int ltrLeft = clientLeft();
  PrintFrame();
  EXPECT_GT(arrowColumns(100 - 2 - sb, 98), 0) << "left to right: the arrow at the right";
  EXPECT_EQ(arrowColumns(0, 2 + sb), 0);

  form_.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(clientLeft(), ltrLeft + sb) << "the client area moves past the button";
  PrintFrame();
  EXPECT_GT(arrowColumns(0, 2 + sb), 0) << "right to left: the arrow at the left";
  EXPECT_EQ(arrowColumns(100 - 2 - sb, 100), 0);

  edit_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 5));
  edit_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(-3, 5));
  EXPECT_EQ(events_, (std::vector<std::string>{"drop", "close"}));
  events_.clear();
  edit_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edit_->ClientWidth() + 1, 5));
  edit_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(edit_->ClientWidth() + 1, 5));
  EXPECT_TRUE(events_.empty()) << "the right border is no button now";
}

}  // namespace
