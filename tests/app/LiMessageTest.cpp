// The progress sink's messages sent to its hidden window, as the import sends them: the
// progress window is created by the gauge or text message, updated, closed by WM_USER+403 or
// its stop button, and later step/reset messages without a window do nothing.
#include <gtest/gtest.h>

#include <string>

#include "app/AppGlobals.h"
#include "app/LiMessage.h"
#include "app/MyComponent.h"
#include "tests/support/TempFolder.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/ProgressBar.h"

namespace {

class LiMessageTest : public testing::Test {
 protected:
  void SetUp() override {
    StartProgressSink();
    AbortRequested = 0;
  }
  void TearDown() override {
    CloseProgress();
    Application->ProcessMessages();
    Application->SetMessageBoxHook(nullptr);
  }
  TempFolder folder_;
  static void Send(UINT msg, WPARAM wParam = 0) { SendMessageW(ProgressSink->Handle(), msg, wParam, 0); }
  static void SendText(UINT msg, const char* text) { Send(msg, reinterpret_cast<WPARAM>(text)); }
};

TEST_F(LiMessageTest, TextHidesTheGaugeAndTheNextMaximumShowsItAgain) {
  ASSERT_EQ(ProgressWindow, nullptr);
  AppPath = folder_.Path();  // no FINDCOMP.AVI here: the window shows without animation
  SendText(WM_USER + 399, "20");
  ASSERT_NE(ProgressWindow, nullptr);
  TLiMessage* window = ProgressWindow;
  EXPECT_FALSE(window->Animating());
  EXPECT_EQ(window->p->BarColor(), clBlue);
  EXPECT_EQ(window->p->BackgroundColor(), clMenu);
  EXPECT_EQ(window->BtnStop->Caption(), "Stop(&C)");
  EXPECT_TRUE(window->GaugeVisible());
  EXPECT_EQ(window->GaugeMax(), 20);
  EXPECT_TRUE(window->StopVisible());
  EXPECT_TRUE(window->StopEnabled());
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_EQ(window->Caption(), "State");
  EXPECT_TRUE(GetWindowLongW(window->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT client;
  GetClientRect(window->Handle(), &client);
  EXPECT_EQ(client.right, 661);
  EXPECT_EQ(client.bottom, 70);

  SendText(WM_USER + 400, "To start importing the file: x_data.bin");
  EXPECT_EQ(ProgressWindow, window);
  EXPECT_EQ(window->LabelText(), "To start importing the file: x_data.bin");
  EXPECT_FALSE(window->GaugeVisible());
  EXPECT_FALSE(window->StopVisible());

  Send(WM_USER + 401, 3);
  Send(WM_USER + 401, 2);
  EXPECT_EQ(window->GaugePosition(), 5);
  Send(WM_USER + 404);
  EXPECT_EQ(window->GaugePosition(), 0);
  SendText(WM_USER + 399, "7");
  EXPECT_TRUE(window->GaugeVisible());
  EXPECT_EQ(window->GaugeMax(), 7);

  Send(WM_USER + 403);
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_FALSE(IsWindowVisible(window->Handle()));
}

TEST_F(LiMessageTest, StopClosesAtOnceAndLaterStepsFindNoWindow) {
  SendText(WM_USER + 399, "100");
  ProgressWindow->BtnStopClick(nullptr);
  EXPECT_EQ(AbortRequested, 1);
  EXPECT_EQ(ProgressWindow, nullptr);
  Send(WM_USER + 401, 1);
  Send(WM_USER + 404);
  EXPECT_EQ(ProgressWindow, nullptr);
  Application->ProcessMessages();  // the closed window frees itself
  SendText(WM_USER + 400, "again");
  ASSERT_NE(ProgressWindow, nullptr);
  EXPECT_EQ(ProgressWindow->LabelText(), "again");
  EXPECT_EQ(ProgressWindow->GaugePosition(), 0);
}

TEST_F(LiMessageTest, MaximumThatIsNotANumberRaisesInTheHandler) {
  std::string shown;
  Application->SetMessageBoxHook([&](const std::string& text, const std::string&, UINT) {
    shown = text;
    return IDOK;
  });
  SendText(WM_USER + 399, "12x");
  EXPECT_NE(shown.find("12x"), std::string::npos) << shown;
  EXPECT_EQ(ProgressWindow, nullptr);
}

}  // namespace
