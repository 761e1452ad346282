// A control-set panel as a dock site, driven by mouse messages on real windows: docking panels
// onto it by dragging (the drop frame and side under the pointer), the layout under 14-pixel
// grabbers (at the top, or at the left on a top-aligned panel), undocking by dragging a
// grabber to another panel, the close glyph hiding a client, the message hook, and the
// grabbers' caption bars painted into a DIB. Which window lies under a screen point comes from
// the windows' own screen rectangles (other test programs share the display).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxPanel.h"
#include "controls/KxPanelDockManager.h"
#include "toolkit/ui/DragDock.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Label.h"
#include "toolkit/ui/Panel.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;

TRect ScreenRect(TWinControl* c) {
  RECT r{};
  GetWindowRect(c->Handle(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

TRect ToScreen(TWinControl* site, const TRect& r) {
  const TPoint o = site->ClientOrigin();
  return {r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y};
}

class KxPanelDockTest : public testing::Test {
 protected:
  KxPanelDockTest() : form_(nullptr) {
    SetKxVisualStylesQuery([] { return false; });
    form_.SetBounds(0, 0, 520, 320);
    site_ = AddSite(10, 10, 240, 160);
    other_ = AddSite(260, 10, 240, 160);
    alpha_ = AddClient("Alpha", 10, 200);
    beta_ = AddClient("Beta", 120, 200);
    form_.HandleNeeded();
    // The deepest of this form's windows whose screen rectangle holds the point.
    SetDragTargetFinder([this](TPoint p) -> TControl* {
      for (TWinControl* c : {static_cast<TWinControl*>(alpha_), static_cast<TWinControl*>(beta_)})
        if (c != nullptr && c->Visible() && c->HandleAllocated() && ScreenRect(c).Contains(p)) return c;
      for (TWinControl* c : {static_cast<TWinControl*>(site_), static_cast<TWinControl*>(other_)})
        if (c != nullptr && ScreenRect(c).Contains(p)) return c;
      return &form_;
    });
  }
  ~KxPanelDockTest() override {
    EndDragging(false);
    SetDragTargetFinder(nullptr);
    SetKxVisualStylesQuery(nullptr);
  }

  TKxCustomPanel* AddSite(int left, int top, int width, int height) {
    auto* site = new TKxCustomPanel(&form_);
    site->SetParent(&form_);
    site->SetBounds(left, top, width, height);
    site->SetBorderOuter(fsFlat);
    site->SetDockSite(true);
    return site;
  }
  TPanel* AddClient(const char* caption, int left, int top) {
    auto* client = new TPanel(&form_);
    client->SetParent(&form_);
    client->SetCaption(caption);
    client->SetBounds(left, top, 80, 60);
    client->SetDragKind(dkDock);
    return client;
  }
  // Sends a mouse message to `control` at the client point that lies over screen point `p`.
  static void Mouse(TWinControl* control, UINT msg, TPoint p) {
    const TPoint local = control->ScreenToClient(p);
    SendMessageW(control->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(local.X, local.Y));
  }
  // Drags `client` (already dragging) to screen point `p` and drops it there.
  static void DropAt(TWinControl* client, TPoint p) {
    Mouse(client, WM_MOUSEMOVE, p);
    Mouse(client, WM_LBUTTONUP, p);
  }
  // A point of `site`'s client area, in screen coordinates.
  static TPoint OnSite(TWinControl* site, int x, int y) { return site->ClientToScreen({x, y}); }
  TRect Area(TWinControl* site) { return site->AlignedClientRect(); }

  TForm form_;
  TKxCustomPanel* site_;
  TKxCustomPanel* other_;
  TPanel* alpha_;
  TPanel* beta_;
};

TEST_F(KxPanelDockTest, ADockSitePanelGetsItsOwnManagerAndIsDoubleBuffered) {
  auto* manager = dynamic_cast<TKxPanelDockManager*>(site_->DockManager());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GrabberSize(), 14);
  EXPECT_EQ(manager->CaptionFont()->Name(), "Verdana");
  EXPECT_EQ(manager->CaptionFont()->Size(), 8);
  EXPECT_EQ(manager->CloseGlyphFont()->Name(), "Marlett");
  EXPECT_TRUE(site_->DoubleBuffered());
  site_->SetDockSite(false);
  EXPECT_EQ(site_->DockManager(), nullptr);
  auto* plain = new TKxCustomPanel(&form_);
  EXPECT_EQ(plain->DockManager(), nullptr) << "not a dock site";
}

TEST_F(KxPanelDockTest, DraggedOntoTheEmptyPanelTheClientFillsItUnderItsGrabber) {
  const TRect area = Area(site_);
  ASSERT_EQ(area, TRect(1, 1, 239, 159)) << "the flat border's pixel off each side";
  alpha_->BeginDrag(true);
  Mouse(alpha_, WM_MOUSEMOVE, OnSite(site_, 100, 80));
  EXPECT_EQ(DragTarget(), site_);
  EXPECT_EQ(DragDropAlign(), alClient);
  EXPECT_EQ(DragDockRect(), ToScreen(site_, area)) << "the drop frame: the whole client area";
  Mouse(alpha_, WM_MOUSEMOVE, OnSite(&form_, 5, 300));
  EXPECT_EQ(DragTarget(), nullptr);
  EXPECT_TRUE(DragDockRect().IsEmpty()) << "no frame away from a dock site";
  DropAt(alpha_, OnSite(site_, 100, 80));

  EXPECT_FALSE(alpha_->Dragging());
  EXPECT_EQ(alpha_->HostDockSite(), site_);
  EXPECT_EQ(alpha_->Parent(), site_);
  EXPECT_EQ(alpha_->BoundsRect(), TRect(1, 15, 239, 159)) << "14 pixels of grabber at the top";
  site_->SetBounds(10, 10, 200, 100);
  EXPECT_EQ(alpha_->BoundsRect(), TRect(1, 15, 199, 99)) << "the client follows the panel's size";
}

struct TDropCase {
  const char* Name;
  int X;  // the pointer over the docked client's zone, in thousandths of its size
  int Y;
  TAlign Align;
  TRect Frame;  // the drop frame in the panel's client coordinates
  TRect AlphaAfter;
  TRect BetaAfter;
};

class KxPanelDropZoneTest : public KxPanelDockTest, public testing::WithParamInterface<TDropCase> {};

TEST_P(KxPanelDropZoneTest, TheNearestSideOfTheZoneUnderThePointerTakesTheClient) {
  const TDropCase& c = GetParam();
  alpha_->ManualDock(site_);
  const TRect zone = site_->DockManager()->ZoneRect(alpha_);
  ASSERT_EQ(zone, TRect(1, 1, 239, 159));
  const TPoint at{zone.Left + zone.Width() * c.X / 1000, zone.Top + zone.Height() * c.Y / 1000};
  beta_->BeginDrag(true);
  Mouse(beta_, WM_MOUSEMOVE, OnSite(site_, at.X, at.Y));
  EXPECT_EQ(DragDropControl(), alpha_);
  EXPECT_EQ(DragDropAlign(), c.Align);
  EXPECT_EQ(DragDockRect(), ToScreen(site_, c.Frame));
  DropAt(beta_, OnSite(site_, at.X, at.Y));
  EXPECT_EQ(beta_->HostDockSite(), site_);
  EXPECT_EQ(alpha_->BoundsRect(), c.AlphaAfter);
  EXPECT_EQ(beta_->BoundsRect(), c.BetaAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, KxPanelDropZoneTest,
    testing::Values(TDropCase{"Left", 100, 500, alLeft, {1, 1, 120, 159}, {120, 15, 239, 159}, {1, 15, 120, 159}},
                    TDropCase{"Right", 900, 450, alRight, {120, 1, 239, 159}, {1, 15, 120, 159}, {120, 15, 239, 159}},
                    TDropCase{"Top", 500, 100, alTop, {1, 1, 239, 80}, {1, 94, 239, 159}, {1, 15, 239, 80}},
                    TDropCase{"Bottom", 450, 950, alBottom, {1, 80, 239, 159}, {1, 15, 239, 80}, {1, 94, 239, 159}}),
    [](const testing::TestParamInfo<TDropCase>& info) { return std::string(info.param.Name); });

TEST_F(KxPanelDockTest, OnATopAlignedPanelTheGrabbersRunDownTheLeftAndClientsSitInARow) {
  site_->SetAlign(alTop);
  site_->SetHeight(60);
  alpha_->ManualDock(site_);
  beta_->ManualDock(site_);
  const TRect area = Area(site_);
  const int mid = area.Left + area.Width() / 2;
  EXPECT_EQ(alpha_->BoundsRect(), TRect(area.Left + 14, area.Top, mid, area.Bottom));
  EXPECT_EQ(beta_->BoundsRect(), TRect(mid + 14, area.Top, area.Right, area.Bottom));
  // Docked clients are placed by the manager, not by their own alignment.
  EXPECT_EQ(alpha_->Align(), alNone);
}

TEST_F(KxPanelDockTest, DraggingAGrabberUndocksTheClientOntoAnotherPanel) {
  alpha_->ManualDock(site_);
  beta_->ManualDock(site_, alpha_, alRight);
  const TRect betaZone = site_->DockManager()->ZoneRect(beta_);
  // Press on beta's caption bar, left of its close glyph.
  const TPoint grab = OnSite(site_, betaZone.Left + 20, betaZone.Top + 5);
  Mouse(site_, WM_LBUTTONDOWN, grab);
  EXPECT_TRUE(beta_->Dragging()) << "the press on the grabber starts dragging its client";
  EXPECT_FALSE(DragStarted()) << "only once the mouse moved the drag distance";
  Mouse(beta_, WM_MOUSEMOVE, {grab.X + 1, grab.Y});
  EXPECT_FALSE(DragStarted());
  Mouse(beta_, WM_MOUSEMOVE, OnSite(other_, 50, 50));
  EXPECT_TRUE(DragStarted());
  EXPECT_EQ(DragTarget(), other_);
  EXPECT_EQ(DragDockRect(), ToScreen(other_, Area(other_)));
  DropAt(beta_, OnSite(other_, 50, 50));

  EXPECT_EQ(beta_->HostDockSite(), other_);
  EXPECT_EQ(beta_->Parent(), other_);
  EXPECT_FALSE(site_->DockManager()->Contains(beta_));
  EXPECT_EQ(site_->DockClientCount(), 1);
  EXPECT_EQ(alpha_->BoundsRect(), TRect(1, 15, 239, 159)) << "the client left behind takes the whole panel";
  EXPECT_EQ(beta_->BoundsRect(), TRect(1, 15, 239, 159));

  // A press on the caption bar that is let go where it started docks nothing anywhere.
  const TPoint again = OnSite(other_, 40, 5);
  Mouse(other_, WM_LBUTTONDOWN, again);
  Mouse(beta_, WM_LBUTTONUP, again);
  EXPECT_FALSE(beta_->Dragging());
  EXPECT_EQ(beta_->HostDockSite(), other_);
}

TEST_F(KxPanelDockTest, TheCloseGlyphHidesItsClientAndTheOtherTakesTheRoom) {
  alpha_->ManualDock(site_);
  beta_->ManualDock(site_, alpha_, alBottom);
  const TRect zone = site_->DockManager()->ZoneRect(beta_);
  const TRect glyph = site_->DockManager()->CloseButtonRect(zone);
  EXPECT_EQ(glyph, TRect(zone.Right - 15, zone.Top + 1, zone.Right - 2, zone.Top + 12));
  // Pressed on the glyph but let go elsewhere: nothing.
  Mouse(site_, WM_LBUTTONDOWN, OnSite(site_, glyph.Left + 5, glyph.Top + 5));
  Mouse(site_, WM_LBUTTONUP, OnSite(site_, zone.Left + 20, zone.Top + 5));
  EXPECT_TRUE(beta_->Visible());
  EXPECT_FALSE(beta_->Dragging()) << "the close glyph is no grabber";
  Mouse(site_, WM_LBUTTONDOWN, OnSite(site_, glyph.Left + 5, glyph.Top + 5));
  Mouse(site_, WM_LBUTTONUP, OnSite(site_, glyph.Left + 6, glyph.Top + 5));
  EXPECT_FALSE(beta_->Visible());
  EXPECT_EQ(beta_->HostDockSite(), site_) << "hidden, still docked";
  EXPECT_EQ(alpha_->BoundsRect(), TRect(1, 15, 239, 159));
  beta_->SetVisible(true);
  EXPECT_EQ(alpha_->BoundsRect(), TRect(1, 15, 239, 80));

  // Undocking by code gives the room back as well.
  beta_->ManualDock(nullptr);
  EXPECT_EQ(site_->DockClientCount(), 1);
  EXPECT_EQ(alpha_->BoundsRect(), TRect(1, 15, 239, 159));
}

TEST_F(KxPanelDockTest, ACommandOrMouseActivationRepaintsThePanelUntilTheManagerGoes) {
  form_.Show();
  auto updatePending = [this](UINT msg) {
    ValidateRect(site_->Handle(), nullptr);
    SendMessageW(site_->Handle(), msg, 0, 0);
    RECT r{};
    return GetUpdateRect(site_->Handle(), &r, FALSE) != FALSE;
  };
  EXPECT_TRUE(updatePending(WM_COMMAND));
  EXPECT_TRUE(updatePending(WM_MOUSEACTIVATE));
  EXPECT_FALSE(updatePending(WM_NULL));
  site_->SetDockSite(false);
  EXPECT_FALSE(updatePending(WM_COMMAND)) << "the panel's own window procedure is back";
  form_.Hide();
}

TEST_F(KxPanelDockTest, APanelFreedWithDockedClientsLetsThemGo) {
  alpha_->ManualDock(site_);
  beta_->ManualDock(site_);
  site_->Free();  // frees its children too
  site_ = nullptr;
  alpha_ = beta_ = nullptr;
  other_->SetDockSite(true);
  auto* gamma = AddClient("Gamma", 10, 200);
  gamma->ManualDock(other_);
  EXPECT_EQ(gamma->BoundsRect(), TRect(1, 15, 239, 159));
}

// ---- Painting --------------------------------------------------------------------------------

class KxPanelGrabberPaintTest : public KxPanelDockTest {
 protected:
  // The panel painted alone into a DIB of its size.
  void PaintSite() {
    dib_ = std::make_unique<TDibSurface>(site_->Width(), site_->Height(), kMarker);
    site_->PaintTo(dib_->DC(), 0, 0);
  }
  int CountOf(const TRect& r, COLORREF color) const {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += dib_->Pixel(x, y) == color;
    return n;
  }
  int CountNot(const TRect& r, COLORREF color) const { return r.Width() * r.Height() - CountOf(r, color); }
  std::unique_ptr<TDibSurface> dib_;
};

TEST_F(KxPanelGrabberPaintTest, ACaptionBarAcrossTheTopWithTheClientsCaptionAndCloseGlyph) {
  const COLORREF inactive = KxColorToRGB(clInactiveCaption);
  const COLORREF active = KxColorToRGB(clActiveCaption);
  ASSERT_NE(inactive, active);
  alpha_->ManualDock(site_);
  PaintSite();
  const TRect bar(1, 1, 239, 15);
  const TRect glyph(239 - 15, 2, 239 - 2, 13);
  EXPECT_EQ(dib_->Pixel(150, 1), inactive) << "an unfocused windowed client: the inactive colours";
  EXPECT_EQ(dib_->Pixel(150, 14), inactive);
  EXPECT_NE(dib_->Pixel(150, 15), inactive) << "the bar is 14 pixels high";
  EXPECT_EQ(CountOf(TRect(1, 1, 3, 15), inactive), 28) << "the text starts 2 pixels in";
  EXPECT_GT(CountNot(TRect(3, 1, 60, 15), inactive), 20) << "the caption Alpha";
  EXPECT_EQ(CountNot(TRect(100, 1, glyph.Left - 1, 15), inactive), 0) << "nothing between caption and glyph";
  // The glyph's font may be replaced by another on this system; some ink is there either way.
  EXPECT_GT(CountOf(glyph, KxColorToRGB(clInactiveCaptionText)), 4) << "the close glyph";

  // With captions hidden the toolkit's grabber is painted instead: no caption bar.
  site_->SetShowDockClientCaptions(false);
  PaintSite();
  EXPECT_EQ(CountOf(bar, inactive), 0);
  EXPECT_GT(CountOf(TRect(3, 1, 200, 15), KxColorToRGB(clBtnHighlight)), 50) << "the raised bars";
}

TEST_F(KxPanelGrabberPaintTest, AControlWithoutWindowAlwaysGetsTheActiveBar) {
  auto* label = new TLabel(&form_);
  label->SetCaption("Gauge");
  label->SetParent(&form_);
  label->ManualDock(site_);
  alpha_->ManualDock(site_, label, alBottom);
  PaintSite();
  EXPECT_EQ(dib_->Pixel(150, 1), KxColorToRGB(clActiveCaption));
  const TRect alphaZone = site_->DockManager()->ZoneRect(alpha_);
  EXPECT_EQ(dib_->Pixel(150, alphaZone.Top + 1), KxColorToRGB(clInactiveCaption));
}

TEST_F(KxPanelGrabberPaintTest, AClientHoldingTheFocusGetsTheActiveBar) {
  auto* edit = new TEdit(&form_);
  edit->SetParent(alpha_);
  edit->SetBounds(5, 5, 50, 20);
  alpha_->ManualDock(site_);
  beta_->ManualDock(site_, alpha_, alBottom);
  form_.Show();
  edit->SetFocus();
  ASSERT_EQ(GetFocus(), edit->Handle());
  PaintSite();
  const TRect betaZone = site_->DockManager()->ZoneRect(beta_);
  EXPECT_EQ(dib_->Pixel(150, 1), KxColorToRGB(clActiveCaption)) << "the focus is inside alpha";
  EXPECT_EQ(dib_->Pixel(150, betaZone.Top + 1), KxColorToRGB(clInactiveCaption));
  EXPECT_GT(CountOf(TRect(3, 1, 60, 15), KxColorToRGB(clCaptionText)), 5) << "alpha's caption in the active text colour";
  form_.Hide();
}

TEST_F(KxPanelGrabberPaintTest, OnATopAlignedPanelTheBarRunsDownTheLeftWithTheCaptionTurned) {
  site_->SetAlign(alTop);
  site_->SetHeight(100);
  alpha_->ManualDock(site_);
  PaintSite();
  const COLORREF inactive = KxColorToRGB(clInactiveCaption);
  const TRect area = Area(site_);
  const TRect strip(area.Left, area.Top, area.Left + 14, area.Bottom);
  EXPECT_EQ(dib_->Pixel(area.Left, area.Top + 50), inactive);
  EXPECT_EQ(dib_->Pixel(area.Left + 13, area.Top + 20), inactive);
  EXPECT_NE(dib_->Pixel(area.Left + 14, area.Top + 20), inactive) << "14 pixels wide";
  const TRect glyph(area.Left + 1, area.Top + 1, area.Left + 12, area.Top + 12);
  EXPECT_GT(CountOf(glyph, KxColorToRGB(clInactiveCaptionText)), 4) << "the close glyph at the top";
  // The caption reads upwards from 3 pixels above the bottom: its pixels are in the lower
  // part of the strip, taller than wide.
  TRect text(strip.Right, strip.Bottom, strip.Left, strip.Top);
  for (int y = glyph.Bottom + 1; y < strip.Bottom; ++y) {
    for (int x = strip.Left; x < strip.Right; ++x) {
      if (dib_->Pixel(x, y) == inactive) continue;
      text.Left = std::min(text.Left, x);
      text.Right = std::max(text.Right, x + 1);
      text.Top = std::min(text.Top, y);
      text.Bottom = std::max(text.Bottom, y + 1);
    }
  }
  ASSERT_FALSE(text.IsEmpty()) << "the caption Alpha";
  EXPECT_LE(text.Bottom, strip.Bottom - 2);
  EXPECT_GT(text.Height(), 2 * text.Width()) << "turned by 90 degrees";
}

}  // namespace
