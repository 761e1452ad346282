// TKxCustomPanel and TKxStatusBar on hidden forms: the enabled cascade, growing away from the
// aligned edge, the guide grid painted into a DIB, proportional pane scaling, the size grip
// (painted and sizing the form only on a sizeable one) and the simple status with its pane
// frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxPanel.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Panel.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;
constexpr TColor kRed = static_cast<TColor>(0x0000FF);
constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);

class KxPanelTest : public testing::Test {
 protected:
  KxPanelTest() : form_(nullptr) {
    SetKxVisualStylesQuery([] { return false; });
    form_.SetBounds(0, 0, 300, 200);
  }
  ~KxPanelTest() override { SetKxVisualStylesQuery(nullptr); }
  TPanel* AddPane(TWinControl* parent, int left, int width) {
    auto* pane = new TPanel(&form_);
    pane->SetParent(parent);
    pane->SetBounds(left, 0, width, 15);
    return pane;
  }
  TForm form_;
};

TEST_F(KxPanelTest, EnablingAgainKeepsAChildDisabledOnItsOwn) {
  auto* panel = new TKxCustomPanel(&form_);
  panel->SetParent(&form_);
  TPanel* first = AddPane(panel, 0, 20);
  TPanel* second = AddPane(panel, 30, 20);
  TPanel* third = AddPane(panel, 60, 20);
  second->SetEnabled(false);
  panel->SetEnabled(false);
  for (TPanel* child : {first, second, third}) EXPECT_FALSE(child->Enabled());
  panel->SetEnabled(true);
  EXPECT_TRUE(first->Enabled());
  EXPECT_FALSE(second->Enabled());
  EXPECT_TRUE(third->Enabled());
}

TEST_F(KxPanelTest, AlignedPanelGrowsAwayFromItsEdge) {
  auto* bottom = new TKxCustomPanel(&form_);
  bottom->SetParent(&form_);
  bottom->SetAlign(alBottom);
  const int top = bottom->Top();
  const int height = bottom->Height();
  bottom->SetHeight(height + 10);
  EXPECT_EQ(bottom->Top(), top - 10);
  EXPECT_EQ(bottom->Top() + bottom->Height(), top + height) << "the bottom edge stays";

  auto* right = new TKxCustomPanel(&form_);
  right->SetParent(&form_);
  right->SetAlign(alRight);
  const int left = right->Left();
  right->SetWidth(right->Width() + 10);
  EXPECT_EQ(right->Left(), left - 10);
}

class KxGuideGridTest : public KxPanelTest {
 protected:
  KxGuideGridTest() : dib_(40, 30, kMarker) {
    panel_ = new TKxCustomPanel(&form_);
    panel_->SetParent(&form_);
    panel_->SetBounds(0, 0, 40, 30);
    panel_->SetBorderOuter(fsNone);
    panel_->SetColor(kWhite);
    panel_->SetGridColor(kRed);
    panel_->SetShowGrid(true);
  }
  std::vector<TPoint> GridPixels() {
    dib_.Fill(kMarker);
    panel_->PaintTo(dib_.DC(), 0, 0);
    std::vector<TPoint> found;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        if (dib_.Pixel(x, y) == KxColorToRGB(kRed)) found.push_back({x, y});
      }
    }
    return found;
  }
  TKxCustomPanel* panel_;
  TDibSurface dib_;
};

TEST_F(KxGuideGridTest, DotsEveryStepInsideTheRectangle) {
  std::vector<TPoint> expected;
  for (int y : {7, 15, 23}) {
    for (int x : {7, 15, 23, 31, 39}) expected.push_back({x, y});
  }
  const std::vector<TPoint> dots = GridPixels();
  ASSERT_EQ(dots.size(), expected.size());
  for (size_t i = 0; i < dots.size(); ++i) {
    EXPECT_EQ(dots[i].X, expected[i].X) << i;
    EXPECT_EQ(dots[i].Y, expected[i].Y) << i;
  }
  panel_->SetGridStepX(0);
  EXPECT_TRUE(GridPixels().empty()) << "no columns: no dots";
}

TEST_F(KxGuideGridTest, ZeroStepDrawsNoLinesInThatDirection) {
  panel_->SetGridStyle(gsSolidLines);
  panel_->SetGridStepX(0);
  const std::vector<TPoint> lines = GridPixels();
  EXPECT_EQ(lines.size(), 3u * 40u) << "three whole horizontal lines";
  for (const TPoint& p : lines) EXPECT_TRUE(p.Y == 7 || p.Y == 15 || p.Y == 23) << p.X << "," << p.Y;
  panel_->SetGridStyle(gsDottedLines);
  panel_->SetGridStepX(8);
  panel_->SetGridStepY(0);
  const std::vector<TPoint> dotted = GridPixels();
  EXPECT_EQ(dotted.size(), 5u * 15u) << "every second pixel of five columns";
  for (const TPoint& p : dotted) EXPECT_EQ(p.Y % 2, 1) << "from one pixel after the line's start";
}

struct TScaleCase {
  const char* name;
  int from;
  int to;
  std::vector<int> panes;
  std::vector<int> expected;
};

class KxStatusBarScaleTest : public KxPanelTest, public testing::WithParamInterface<TScaleCase> {};

TEST_P(KxStatusBarScaleTest, PanesKeepTheirShare) {
  const TScaleCase& c = GetParam();
  form_.SetClientWidth(c.from);
  auto* bar = new TKxStatusBar(&form_);
  bar->SetParent(&form_);
  ASSERT_EQ(bar->Width(), c.from);
  bar->SetAutoScalePanes(true);
  std::vector<TPanel*> panes;
  int left = 0;
  for (int width : c.panes) {
    panes.push_back(AddPane(bar, left, width));
    left += width;
  }
  form_.SetClientWidth(c.to);
  ASSERT_EQ(bar->Width(), c.to);
  for (size_t i = 0; i < panes.size(); ++i) EXPECT_EQ(panes[i]->Width(), c.expected[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Table, KxStatusBarScaleTest,
                         testing::Values(TScaleCase{"Half", 200, 300, {50}, {75}},
                                         TScaleCase{"HalvesToEven", 200, 250, {30, 10}, {38, 12}},
                                         TScaleCase{"Narrower", 200, 100, {50, 20}, {25, 10}}),
                         [](const testing::TestParamInfo<TScaleCase>& info) { return std::string(info.param.name); });

TEST_F(KxPanelTest, PanesKeepTheirWidthWithoutAutoScaling) {
  form_.SetClientWidth(200);
  auto* bar = new TKxStatusBar(&form_);
  bar->SetParent(&form_);
  TPanel* pane = AddPane(bar, 0, 50);
  form_.SetClientWidth(300);
  EXPECT_EQ(pane->Width(), 50);
}

class KxSizeGripTest : public KxPanelTest, public testing::WithParamInterface<TFormBorderStyle> {};

TEST_P(KxSizeGripTest, GripOnlyOnASizeableForm) {
  const bool sizeable = GetParam() == bsSizeable;
  form_.SetBorderStyle(GetParam());
  form_.SetClientWidth(200);
  auto* bar = new TKxStatusBar(&form_);
  bar->SetParent(&form_);
  std::vector<WPARAM> commands;
  const TWndMethod previous = form_.WindowProc();
  form_.SetWindowProc([&](TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND) {
      commands.push_back(m.WParam);  // swallowed: no sizing loop in a test
      return;
    }
    previous(m);
  });
  form_.HandleNeeded();
  EXPECT_EQ(bar->SizeGripValid(), sizeable);

  TDibSurface dib(200, 19, kMarker);
  bar->PaintTo(dib.DC(), 0, 0);
  const COLORREF face = KxColorToRGB(clBtnFace);
  const COLORREF light = KxColorToRGB(clBtnHighlight);
  const COLORREF dark = KxColorToRGB(clBtnShadow);
  ASSERT_NE(light, face);
  // The top-right square: its light pixels and the dark one a pixel up and left.
  EXPECT_EQ(dib.Pixel(197, 8), sizeable ? light : face);
  EXPECT_EQ(dib.Pixel(195, 6), sizeable ? dark : face);
  EXPECT_EQ(dib.Pixel(189, 16), sizeable ? light : face) << "the bottom-left square";

  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(195, 10));
  bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));
  if (sizeable) {
    EXPECT_EQ(commands, std::vector<WPARAM>{0xF008}) << "only the press on the grip";
  } else {
    EXPECT_TRUE(commands.empty());
  }
  form_.SetWindowProc(previous);
}

INSTANTIATE_TEST_SUITE_P(Forms, KxSizeGripTest, testing::Values(bsSizeable, bsDialog),
                         [](const testing::TestParamInfo<TFormBorderStyle>& info) {
                           return std::string(info.param == bsSizeable ? "Sizeable" : "Dialog");
                         });

TEST_F(KxPanelTest, SimpleStatusShowsOnlyItsCaptionInAClassicPane) {
  form_.SetClientWidth(200);
  auto* bar = new TKxStatusBar(&form_);
  bar->SetParent(&form_);
  bar->SetShowSizeGrip(false);
  TPanel* a = AddPane(bar, 0, 50);
  TPanel* b = AddPane(bar, 50, 50);
  bar->SetFlatColor(kRed);
  bar->SetFlatColorAdjustment(0);
  bar->SetSimpleCaption("Ready");
  bar->SetSimpleStatus(true);
  EXPECT_FALSE(a->Visible());
  EXPECT_FALSE(b->Visible());
  EXPECT_EQ(bar->VisualStyle(), vsWinXP);

  TDibSurface dib(200, 19, kMarker);
  bar->PaintTo(dib.DC(), 0, 0);
  const COLORREF red = KxColorToRGB(kRed);
  EXPECT_EQ(dib.Pixel(100, 2), red) << "the pane's top line: a themed pane without themes is classic";
  EXPECT_EQ(dib.Pixel(0, 10), red) << "its left line";
  EXPECT_EQ(dib.Pixel(199, 10), red) << "its right line";
  EXPECT_NE(dib.Pixel(0, 2), red) << "no corner pixel";
  int text = 0;
  for (int y = 3; y < 18; ++y) {
    for (int x = 2; x < 60; ++x) text += dib.Pixel(x, y) == KxColorToRGB(clWindowText);
  }
  EXPECT_GT(text, 5) << "the simple caption";

  bar->SetSimpleStatus(false);
  EXPECT_TRUE(a->Visible());
  EXPECT_TRUE(b->Visible());
}

}  // namespace
