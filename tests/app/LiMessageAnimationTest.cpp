// The searching animation shipped beside the program, played by the progress window's
// animation control: it opens, plays, and its frames differ as the magnifier moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/AppGlobals.h"
#include "app/LiMessage.h"
#include "app/MyComponent.h"
#include "tests/support/TestPaths.h"
#include "tests/toolkit/PixelHelpers.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Animate.h"
#include "toolkit/ui/Application.h"

#include <commctrl.h>

namespace {

class LiMessageAnimationTest : public testing::Test {
 protected:
  void SetUp() override { StartProgressSink(); }
  void TearDown() override {
    CloseProgress();
    Application->ProcessMessages();
    AppPath.clear();
  }
  // Shows frame `n` alone (a seek) and reads back what the control paints.
  static std::vector<TColor> Frame(HWND animation, int n) {
    SendMessageW(animation, ACM_PLAY, 1, MAKELPARAM(n, n));
    RECT client;
    GetClientRect(animation, &client);
    TBitmap bitmap;
    MakeCanvasBitmap(bitmap, client.right, client.bottom);
    SendMessageW(animation, WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
    GdiFlush();
    std::vector<TColor> pixels;
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x) pixels.push_back(PixelAt(bitmap, x, y));
    return pixels;
  }
  static int Differing(const std::vector<TColor>& a, const std::vector<TColor>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
    return n;
  }
};

TEST_F(LiMessageAnimationTest, TheShippedClipPlaysAndItsFramesChange) {
  AppPath = BinDir();  // the program's folder, where the build puts FINDCOMP.AVI
  SendMessageW(ProgressSink->Handle(), WM_USER + 400, reinterpret_cast<WPARAM>("Searching"), 0);
  ASSERT_NE(ProgressWindow, nullptr);
  EXPECT_TRUE(ProgressWindow->Animating()) << "the clip opened and plays";
  const HWND animation = ProgressWindow->Animate1->Handle();
  SendMessageW(animation, ACM_STOP, 0, 0);

  const std::vector<TColor> first = Frame(animation, 0);
  ASSERT_FALSE(first.empty());
  const int white = static_cast<int>(std::count(first.begin(), first.end(), clWhite));
  EXPECT_GT(static_cast<int>(first.size()) - white, 500) << "the frame is drawn";
  const std::vector<TColor> later = Frame(animation, 8);
  EXPECT_GT(Differing(first, later), 30) << "the magnifier has moved";
  EXPECT_EQ(Differing(first, Frame(animation, 0)), 0) << "the same frame looks the same";
}

}  // namespace
