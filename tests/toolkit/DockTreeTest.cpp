// The toolkit's dock manager on a plain panel: the zone tree as clients are docked beside one
// another and leave (rows and columns split and fold back, a lone row joins its parent), the
// manager coming and going with DockSite/UseDockManager, a freed client giving its room back,
// and the default grabber painted into a DIB.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/graphics/Color.h"
#include "toolkit/ui/DockTree.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Panel.h"

namespace {

class DockTreeTest : public testing::Test {
 protected:
  DockTreeTest() : form_(nullptr) {
    form_.SetBounds(0, 0, 400, 300);
    site_ = new TPanel(&form_);
    site_->SetParent(&form_);
    site_->SetBevelOuter(bvNone);
    site_->SetBounds(0, 0, 300, 200);
    site_->SetUseDockManager(true);
    site_->SetDockSite(true);
    for (TPanel*& c : clients_) {
      c = new TPanel(&form_);
      c->SetParent(&form_);
      c->SetBounds(0, 250, 20, 20);
    }
    form_.HandleNeeded();
  }
  TRect Zone(int i) { return site_->DockManager()->ZoneRect(clients_[i]); }

  TForm form_;
  TPanel* site_;
  TPanel* clients_[4] = {};
};

TEST_F(DockTreeTest, RowsAndColumnsSplitAndFoldBack) {
  TPanel* const a = clients_[0];
  TPanel* const b = clients_[1];
  TPanel* const c = clients_[2];
  TPanel* const d = clients_[3];
  ASSERT_NE(site_->DockManager(), nullptr);
  EXPECT_FALSE(site_->DockManager()->GrabbersOnLeft()) << "a site not aligned top or bottom: grabbers on top";
  a->ManualDock(site_);
  b->ManualDock(site_, a, alRight);
  c->ManualDock(site_, b, alBottom);
  EXPECT_EQ(Zone(0), TRect(0, 0, 150, 200));
  EXPECT_EQ(Zone(1), TRect(150, 0, 300, 100));
  EXPECT_EQ(Zone(2), TRect(150, 100, 300, 200));
  EXPECT_EQ(c->BoundsRect(), TRect(150, 112, 300, 200)) << "the default grabber is 12 pixels";

  d->ManualDock(site_, c, alRight);
  EXPECT_EQ(Zone(2), TRect(150, 100, 225, 200));
  EXPECT_EQ(Zone(3), TRect(225, 100, 300, 200));
  // b leaves: its column holds only the row of c and d, which joins the outer row.
  b->ManualDock(nullptr);
  EXPECT_EQ(site_->DockManager()->ClientCount(), 3);
  EXPECT_EQ(Zone(0), TRect(0, 0, 100, 200));
  EXPECT_EQ(Zone(2), TRect(100, 0, 200, 200));
  EXPECT_EQ(Zone(3), TRect(200, 0, 300, 200));
  // A column put beside d by docking b above it, then d leaves: b and c stay side by side.
  b->ManualDock(site_, d, alTop);
  EXPECT_EQ(Zone(1), TRect(200, 0, 300, 100));
  d->ManualDock(nullptr);
  EXPECT_EQ(Zone(1), TRect(200, 0, 300, 200));
  a->ManualDock(nullptr);
  c->ManualDock(nullptr);
  EXPECT_EQ(Zone(1), TRect(0, 0, 300, 200)) << "the last client fills the site";
  b->ManualDock(nullptr);
  EXPECT_EQ(site_->DockManager()->ClientCount(), 0);
}

TEST_F(DockTreeTest, AHiddenClientGetsNoRoomAndAFreedOneLeavesTheTree) {
  clients_[0]->ManualDock(site_);
  clients_[1]->ManualDock(site_, clients_[0], alBottom);
  clients_[1]->SetVisible(false);
  EXPECT_TRUE(Zone(1).IsEmpty());
  EXPECT_EQ(Zone(0), TRect(0, 0, 300, 200));
  clients_[1]->SetVisible(true);
  EXPECT_EQ(Zone(0), TRect(0, 0, 300, 100));
  clients_[1]->Free();
  clients_[1] = nullptr;
  EXPECT_EQ(site_->DockManager()->ClientCount(), 1);
  EXPECT_EQ(Zone(0), TRect(0, 0, 300, 200));
}

TEST_F(DockTreeTest, TheManagerComesWithDockSiteAndUseDockManagerAndTakesEarlierClients) {
  site_->SetDockSite(false);
  EXPECT_EQ(site_->DockManager(), nullptr);
  site_->SetDockSite(true);
  site_->SetUseDockManager(false);
  EXPECT_EQ(site_->DockManager(), nullptr);
  clients_[0]->SetAlign(alLeft);
  clients_[0]->ManualDock(site_);
  clients_[1]->ManualDock(site_);
  EXPECT_EQ(clients_[0]->Align(), alLeft) << "without a manager a client keeps its alignment";
  site_->SetUseDockManager(true);
  ASSERT_NE(site_->DockManager(), nullptr);
  EXPECT_EQ(Zone(0), TRect(0, 0, 300, 100));
  EXPECT_EQ(Zone(1), TRect(0, 100, 300, 200));
}

TEST_F(DockTreeTest, TheDefaultGrabberHasRaisedBarsAndACloseButton) {
  clients_[0]->ManualDock(site_);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 300, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  site_->PaintTo(dc, 0, 0);
  GdiFlush();
  auto pixel = [bits](int x, int y) {
    const std::uint32_t v = static_cast<std::uint32_t*>(bits)[y * 300 + x];
    return static_cast<COLORREF>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
  };
  const COLORREF light = ColorToRGB(clBtnHighlight);
  const COLORREF dark = ColorToRGB(clBtnShadow);
  EXPECT_EQ(pixel(100, 3), light) << "the first bar's top edge";
  EXPECT_EQ(pixel(100, 5), dark) << "its bottom edge";
  EXPECT_EQ(pixel(100, 7), light) << "the second bar";
  EXPECT_EQ(pixel(100, 9), dark);
  int closeInk = 0;
  for (int y = 1; y < 11; ++y)
    for (int x = 289; x < 299; ++x) closeInk += pixel(x, y) == ColorToRGB(clBtnText);
  EXPECT_GT(closeInk, 4) << "the close button's cross";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

}  // namespace
