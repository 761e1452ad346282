// The chart's hand cursor: loaded from the program's resources into the screen's cursor table
// at its index when the chart units start, and removed when they end.
#include <gtest/gtest.h>

#include "chart/KelProcs.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/Screen.h"

namespace {

// The cursor's hot spot and whether its mask has both black and white pixels.
struct CursorShape {
  DWORD hotX = 0, hotY = 0;
  int width = 0;
};

CursorShape ShapeOf(HCURSOR cursor) {
  ICONINFO info{};
  CursorShape shape;
  if (!GetIconInfo(cursor, &info)) return shape;
  shape.hotX = info.xHotspot;
  shape.hotY = info.yHotspot;
  BITMAP bm{};
  if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) shape.width = bm.bmWidth;
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return shape;
}

}  // namespace

TEST(HandCursor, StartUpPutsTheResourceCursorAtItsIndex) {
  ASSERT_NE(Screen, nullptr);
  HCURSOR hand = Screen->Cursors(crKelHand);
  ASSERT_NE(hand, nullptr);
  EXPECT_NE(hand, Screen->Cursors(crDefault));
  const CursorShape shape = ShapeOf(hand);
  EXPECT_EQ(shape.width, 32);
  EXPECT_EQ(shape.hotX, 5u);  // the fingertip
  EXPECT_EQ(shape.hotY, 0u);
}

TEST(HandCursor, ShutDownRemovesItAndStartUpBringsItBack) {
  KelProcsShutdown();
  EXPECT_EQ(Screen->Cursors(crKelHand), Screen->Cursors(crDefault));
  KelProcsStartup();
  EXPECT_NE(Screen->Cursors(crKelHand), Screen->Cursors(crDefault));
}
