// The application's services: the message loop running calls handed over by worker threads,
// Run ending when the main form closes, hints, custom cursors, message boxes and the theme
// services with themes off.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "PixelHelpers.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/Thread.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/Dialogs.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/Themes.h"

namespace {

class TPlainControl : public TCustomControl {
 public:
  explicit TPlainControl(TComponent* owner) : TCustomControl(owner) {}
};

class TWorker : public TThread {
 public:
  explicit TWorker(std::atomic<int>& value) : value_(value) {}

 protected:
  void Execute() override {
    Synchronize([this] { value_ = 1; });
    Queue([this] { value_ = 2; });
  }

 private:
  std::atomic<int>& value_;
};

TEST(ApplicationTest, MessageLoopRunsCallsHandedOverByWorkers) {
  std::atomic<int> value{0};
  TWorker worker(value);
  worker.Start();
  while (value.load() != 2) Application->HandleMessage();
  worker.WaitFor();
  EXPECT_EQ(value.load(), 2);
}

TEST(ApplicationTest, RunEndsWhenTheMainFormCloses) {
  ASSERT_EQ(Application->MainForm(), nullptr);
  auto* form = new TForm(nullptr);
  Application->FormCreated(form);
  ASSERT_EQ(Application->MainForm(), form);
  std::vector<std::string> log;
  form->OnShow = [&](TObject*) {
    log.push_back("show");
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  };
  form->OnClose = [&](TObject*, TCloseAction&) { log.push_back("close"); };
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(log, (std::vector<std::string>{"show", "close"}));
  Application->ResetTerminated();
  delete form;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(ApplicationTest, HintOfTheControlUnderTheMouseIsShownAfterThePause) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* control = new TPlainControl(&form);
  control->SetBounds(10, 10, 50, 50);
  control->SetParent(&form);
  control->SetHint("Report settings|Edit the company details");
  control->SetShowHint(true);
  int hints = 0;
  Application->OnHint = [&](TObject*) { ++hints; };
  form.Show();
  SendMessageW(control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Application->Hint(), "Edit the company details");
  EXPECT_EQ(hints, 1);
  EXPECT_EQ(Application->HintWindow(), nullptr);
  // The pause is over when the hint timer's message arrives.
  SendMessageW(Application->Handle(), WM_TIMER, 1, 0);
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(Application->HintWindow()));
  EXPECT_EQ(Application->ShownHint(), "Report settings");
  SendMessageW(control->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Application->HintWindow()));
  EXPECT_EQ(Application->Hint(), "");
  Application->OnHint = nullptr;
}

TEST(ApplicationTest, CustomCursorIndexesServeControlsCursors) {
  constexpr TCursor crKelHand = 2020;
  HCURSOR hand = CopyCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));
  Screen->SetCursors(crKelHand, hand);
  EXPECT_EQ(Screen->Cursors(crKelHand), hand);
  EXPECT_NE(Screen->Cursors(crIBeam), nullptr);
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* control = new TPlainControl(&form);
  control->SetBounds(0, 0, 50, 50);
  control->SetParent(&form);
  control->SetCursor(crKelHand);
  form.Show();
  const LRESULT handled =
      SendMessageW(control->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(control->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(GetCursor(), hand);
  Screen->SetCursors(crKelHand, nullptr);
  EXPECT_NE(Screen->Cursors(crKelHand), hand);
}

TEST(ApplicationTest, MessageBoxesGoThroughTheHook) {
  std::vector<std::string> seen;
  Application->SetMessageBoxHook([&](const std::string& text, const std::string& caption, UINT flags) {
    seen.push_back(text + "|" + caption + "|" + std::to_string(flags));
    return IDCANCEL;
  });
  ShowMessage("History cleared successfully");
  EXPECT_EQ(Application->MessageBox("Are you sure?", "prompt", MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
  Application->SetMessageBoxHook(nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"History cleared successfully|" + Application->Title() + "|0",
                                            "Are you sure?|prompt|" + std::to_string(MB_OKCANCEL | MB_ICONWARNING)}));
}

TEST(ApplicationTest, ScreenListsFontsSortedAndKnowsItsForms) {
  const auto& fonts = Screen->Fonts();
  ASSERT_FALSE(fonts.empty());
  for (size_t i = 1; i < fonts.size(); ++i) EXPECT_LT(CompareText(fonts[i - 1], fonts[i]), 0);
  const int before = Screen->FormCount();
  {
    TForm form(nullptr);
    EXPECT_EQ(Screen->FormCount(), before + 1);
    EXPECT_EQ(Screen->Forms(before), &form);
  }
  EXPECT_EQ(Screen->FormCount(), before);
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
}

TEST(ApplicationTest, ThemeServicesDrawOnlyWhenThemesAreOn) {
  TThemeServices* themes = ThemeServices();
  TBitmap bitmap;
  MakeCanvasBitmap(bitmap, 40, 20);
  themes->DrawElement(bitmap.Canvas()->Handle(), themes->GetElementDetails(teButton, 1 /* BP_PUSHBUTTON */, 1),
                      Rect(0, 0, 40, 20));
  const int drawn = CountPixels(bitmap, [](TColor c) { return c != clWhite; });
  if (themes->ThemesEnabled()) {
    EXPECT_GT(drawn, 0);
  } else {
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(themes->Theme(teButton), nullptr);
    EXPECT_EQ(themes->ContentRect(nullptr, themes->GetElementDetails(teEdit, 1, 1), Rect(1, 2, 3, 4)), Rect(1, 2, 3, 4));
  }
  themes->UpdateThemes();
}

}  // namespace
