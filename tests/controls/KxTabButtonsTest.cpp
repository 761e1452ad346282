// The tab strip's buttons driven by messages: the scroller's repeat timer (WM_TIMER sent by
// the test), release inside and outside, the forward half disabled at the end; a close button
// released outside; the tab menu's order and checks; where the menu opens.
#include <gtest/gtest.h>

#include <string>

#include "DibSurface.h"
#include "controls/KxPageControl.h"
#include "controls/KxTabButtons.h"
#include "controls/KxTabs.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Menus.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class KxTabButtonsTest : public testing::Test {
 protected:
  KxTabButtonsTest() : form_(nullptr) {
    form_.SetBounds(0, 0, 400, 300);
    tabs_ = new TKxCustomTabControl(&form_);
    tabs_->SetParent(&form_);
    tabs_->SetBounds(0, 0, 200, 100);
    tabs_->Font()->SetName("Arial");
    tabs_->SetTabHeight(24);
  }
  void Layout() {
    TDibSurface dib(tabs_->Width(), tabs_->Height(), 0);
    tabs_->PaintTo(dib.DC(), 0, 0);
  }
  void Many() {
    for (int i = 0; i < 12; ++i) tabs_->AddTab("Tab " + std::to_string(i));
    tabs_->SetTabIndex(0);
    Layout();
  }
  void Timer(TKxTabScroller* s, int times) {
    for (int i = 0; i < times; ++i) s->Perform(WM_TIMER, TKxTabScroller::kRepeatTimer, 0);
  }

  TForm form_;
  TKxCustomTabControl* tabs_;
};

TEST_F(KxTabButtonsTest, ScrollerRepeatsWhileHeldAndAddsAStepOnReleaseInside) {
  Many();
  ASSERT_TRUE(tabs_->ScrollNeeded());
  TKxTabScroller* s = tabs_->Scroller();
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->Visible());
  const int right = s->Width() - 2;
  const int y = s->Height() / 2;
  EXPECT_TRUE(s->HalfScrollsForward(1));
  EXPECT_FALSE(s->HalfEnabled(0)) << "nothing to scroll back to at the start";
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(right, y));
  EXPECT_EQ(s->PressedHalf(), 1);
  EXPECT_EQ(tabs_->FirstShownTab(), 0) << "the press itself does not scroll";
  Timer(s, 1);  // the first step after 400 ms
  EXPECT_EQ(tabs_->FirstShownTab(), 1);
  Timer(s, 3);  // then every 100 ms
  EXPECT_EQ(tabs_->FirstShownTab(), 4);
  s->Perform(WM_LBUTTONUP, 0, At(right, y));
  EXPECT_EQ(tabs_->FirstShownTab(), 5);
  EXPECT_TRUE(s->HalfEnabled(0));
  // A timer after the release does nothing.
  Timer(s, 2);
  EXPECT_EQ(tabs_->FirstShownTab(), 5);
}

TEST_F(KxTabButtonsTest, ScrollerReleasedOutsideAddsNoStep) {
  Many();
  TKxTabScroller* s = tabs_->Scroller();
  ASSERT_NE(s, nullptr);
  const int right = s->Width() - 2;
  const int y = s->Height() / 2;
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(right, y));
  s->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(1, y));  // over the other half
  Timer(s, 2);
  EXPECT_EQ(tabs_->FirstShownTab(), 0) << "no steps while the pointer is off the pressed half";
  s->Perform(WM_LBUTTONUP, 0, At(-20, y));
  EXPECT_EQ(tabs_->FirstShownTab(), 0);
}

TEST_F(KxTabButtonsTest, ForwardHalfDisabledAtTheEnd) {
  Many();
  TKxTabScroller* s = tabs_->Scroller();
  ASSERT_NE(s, nullptr);
  tabs_->ScrollTabsBy(100);
  EXPECT_FALSE(tabs_->CanScrollForward());
  EXPECT_FALSE(s->HalfEnabled(1));
  EXPECT_TRUE(tabs_->IsTabShown(11));
  const int end = tabs_->FirstShownTab();
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(s->Width() - 2, 2));
  Timer(s, 3);
  s->Perform(WM_LBUTTONUP, 0, At(s->Width() - 2, 2));
  EXPECT_EQ(tabs_->FirstShownTab(), end);
  // The back half goes back one tab per step.
  s->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(1, 2));
  s->Perform(WM_LBUTTONUP, 0, At(1, 2));
  EXPECT_EQ(tabs_->FirstShownTab(), end - 1);
}

TEST_F(KxTabButtonsTest, CloseButtonClosesOnlyWhenReleasedInside) {
  auto* pages = new TKxPageControl(&form_);
  pages->SetParent(&form_);
  pages->SetBounds(0, 0, 300, 150);
  pages->Font()->SetName("Arial");
  for (const char* c : {"One", "Two"}) {
    auto* sheet = new TKxTabSheet(&form_);
    sheet->SetPageControl(pages);
    sheet->SetCaption(c);
  }
  pages->SetActivePageIndex(0);
  int asked = 0;
  pages->OnClose = [&](TObject*, bool& allow) {
    ++asked;
    allow = true;
  };
  pages->SetShowCloseButton(true);
  TDibSurface dib(300, 150, 0);
  pages->PaintTo(dib.DC(), 0, 0);
  TKxTabControlCloseButton* close = pages->CloseButton();
  ASSERT_NE(close, nullptr);
  EXPECT_TRUE(close->Visible());
  EXPECT_GT(close->Left(), 200) << "at the end of the strip";
  close->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
  EXPECT_TRUE(close->Pressed());
  close->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(60, 3));
  close->Perform(WM_LBUTTONUP, 0, At(60, 3));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(pages->PageCount(), 2);
  close->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(3, 3));
  close->Perform(WM_LBUTTONUP, 0, At(3, 3));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(pages->PageCount(), 1);
}

TEST_F(KxTabButtonsTest, SortedMenuKeepsRepeatedCaptionsAndChecksTheActiveTab) {
  for (const char* c : {"Gamma", "Alpha", "Beta", "Alpha"}) tabs_->AddTab(c);
  tabs_->Tabs().Items(2)->Enabled = false;
  tabs_->SetTabIndex(3);
  tabs_->SetShowMenuButton(true);
  Layout();
  TKxTabMenuButton* button = tabs_->MenuButton();
  ASSERT_NE(button, nullptr);
  button->RebuildMenu();
  TMenuItem* root = button->Menu()->Items();
  ASSERT_EQ(root->Count(), 4);
  std::string order;
  for (int i = 0; i < root->Count(); ++i) order += root->Items(i)->Caption() + std::to_string(root->Items(i)->Tag()) + " ";
  EXPECT_EQ(order, "Alpha1 Alpha3 Beta2 Gamma0 ");
  EXPECT_TRUE(root->Items(1)->Checked());
  EXPECT_FALSE(root->Items(0)->Checked());
  EXPECT_FALSE(root->Items(2)->Enabled());
  // Choosing an item selects its tab; a rebuilt menu has no leftovers.
  root->Items(3)->Click();
  EXPECT_EQ(tabs_->TabIndex(), 0);
  tabs_->SetSortTabMenu(false);
  button->RebuildMenu();
  ASSERT_EQ(button->Menu()->Items()->Count(), 4);
  EXPECT_EQ(button->Menu()->Items()->Items(0)->Caption(), "Gamma");
}

TEST_F(KxTabButtonsTest, MenuOpensAwayFromTheCard) {
  tabs_->AddTab("One");
  tabs_->SetShowMenuButton(true);
  tabs_->SetTabOrientation(toLeft);
  Layout();
  TKxTabMenuButton* button = tabs_->MenuButton();
  ASSERT_NE(button, nullptr);
  bool right = true;
  const TPoint left = button->MenuPoint(right);
  EXPECT_FALSE(right);
  EXPECT_EQ(left, button->ClientToScreen({button->Width(), 0})) << "top-right corner, opening to the right";
  tabs_->SetTabOrientation(toTop);
  Layout();
  const TPoint top = button->MenuPoint(right);
  EXPECT_TRUE(right);
  EXPECT_EQ(top, button->ClientToScreen({button->Width(), button->Height()}));
}

}  // namespace
