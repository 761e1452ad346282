// The tab control on a form that is not shown: the painted strip read back from a DIB (classic
// colours fixed through the control set's colour lookup), hot tracking by mouse messages,
// selection by code, mouse and keys with OnChanging vetoes, the empty strip, and multi-line
// rotation on a click.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxTabs.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/DragDock.h"
#include "toolkit/ui/Form.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;

COLORREF ClassicColor(int index) {
  switch (index) {
    case COLOR_BTNFACE: return 0xC0C0C0;
    case COLOR_BTNSHADOW: return 0x808080;
    case COLOR_WINDOW: return 0xFFFFFF;
    case COLOR_HIGHLIGHT: return 0x800000;
    case COLOR_GRAYTEXT: return 0x808080;
    default: return 0x000000;
  }
}

int Red(COLORREF c) { return static_cast<int>(c & 0xFF); }

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class KxTabControlFixture : public testing::Test {
 protected:
  KxTabControlFixture() : form_(nullptr), dib_(300, 120, kMarker) {
    SetKxSysColorLookup(ClassicColor);
    SetKxVisualStylesQuery([] { return false; });
    form_.SetBounds(0, 0, 400, 300);
    form_.SetColor(clWhite);
    tabs_ = new TKxCustomTabControl(&form_);
    tabs_->SetParent(&form_);
    tabs_->SetBounds(0, 0, 300, 120);
    tabs_->Font()->SetName("Arial");
    tabs_->Font()->SetHeight(-12);
    tabs_->SetTabHeight(24);
    tabs_->SetColor(clBtnFace);  // not the white parent's
    tabs_->OnChanging = [this](TObject*, int index, bool& allow) {
      ++asked_;
      if (refuseAll_ || refused_.count(index) != 0) allow = false;
    };
    tabs_->OnChange = [this](TObject*) { ++changes_; };
  }
  ~KxTabControlFixture() override {
    SetKxSysColorLookup(nullptr);
    SetKxVisualStylesQuery(nullptr);
  }
  void AddTabs(std::initializer_list<const char*> captions) {
    for (const char* c : captions) tabs_->AddTab(c);
  }
  void Paint() {
    dib_.Fill(kMarker);
    tabs_->PaintTo(dib_.DC(), 0, 0);
  }
  TPoint Center(int index) {
    const TRect r = tabs_->TabRect(index);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Click(int index) {
    const TPoint p = Center(index);
    tabs_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(p.X, p.Y));
    tabs_->Perform(WM_LBUTTONUP, 0, At(p.X, p.Y));
  }
  void Key(WORD key) { tabs_->Perform(WM_KEYDOWN, key, 0); }
  // Starts at `index` without events counted.
  void Start(int index) {
    tabs_->RebuildLayoutIfDirty();
    tabs_->SetTabIndex(index);
    changes_ = 0;
    asked_ = 0;
  }

  TForm form_;
  TDibSurface dib_;
  TKxCustomTabControl* tabs_;
  std::set<int> refused_;
  bool refuseAll_ = false;
  int changes_ = 0;
  int asked_ = 0;
};

// ---- Painting -------------------------------------------------------------------------------

using KxTabPaintTest = KxTabControlFixture;

TEST_F(KxTabPaintTest, CardLineOpenUnderTheActiveTabAndInactiveTabsShadedTipToBase) {
  AddTabs({"One", "Two", "Three"});
  Start(0);
  Paint();
  const int base = tabs_->TabRect(0).Bottom;  // the strip's edge next to the card
  ASSERT_EQ(base, 24);
  const TPoint active = Center(0);
  const TPoint inactive = Center(1);
  // Under the active tab the card line is open: the page colour runs on into the tab.
  EXPECT_EQ(dib_.Pixel(active.X, base), 0xC0C0C0u);
  EXPECT_EQ(dib_.Pixel(active.X, base - 2), 0xC0C0C0u);
  // Under an inactive tab the card line is drawn in the frame colour.
  EXPECT_EQ(dib_.Pixel(inactive.X, base), 0x808080u);
  // An inactive tab is light at its tip and dark at its base.
  EXPECT_GE(Red(dib_.Pixel(inactive.X, 2)), 0xF0);
  EXPECT_LE(Red(dib_.Pixel(inactive.X, base - 2)), 0xC8);
  EXPECT_GE(Red(dib_.Pixel(inactive.X, base - 2)), 0xBC);
}

TEST_F(KxTabPaintTest, HotTabBaseDeepensAndComesBackAfterLeaving) {
  AddTabs({"One", "Two", "Three"});
  Start(0);
  const TPoint p = Center(2);
  const int y = tabs_->TabRect(2).Bottom - 1;
  tabs_->Perform(WM_MOUSEMOVE, 0, At(p.X, p.Y));
  EXPECT_EQ(tabs_->HotTab(), 2);
  Paint();
  EXPECT_NEAR(Red(dib_.Pixel(p.X, y)), 0xA0, 8);
  // Over the card: no tab is hot any more.
  tabs_->Perform(WM_MOUSEMOVE, 0, At(150, 80));
  EXPECT_EQ(tabs_->HotTab(), -1);
  Paint();
  EXPECT_GE(Red(dib_.Pixel(p.X, y)), 0xBC);
  // Leaving the control forgets the hot tab as well.
  tabs_->Perform(WM_MOUSEMOVE, 0, At(p.X, p.Y));
  tabs_->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(tabs_->HotTab(), -1);
}

TEST_F(KxTabPaintTest, ShadowLinesMixTheWhiteParentWithBlack) {
  AddTabs({"One", "Two"});
  Start(0);
  Paint();
  // Frame 2 pixels inside the right and bottom edges, then the two shadow lines.
  EXPECT_EQ(dib_.Pixel(297, 60), 0x808080u);
  EXPECT_EQ(dib_.Pixel(298, 60), 0xE1E1E1u);
  EXPECT_EQ(dib_.Pixel(299, 60), 0xF0F0F0u);
  EXPECT_EQ(dib_.Pixel(150, 117), 0x808080u);
  EXPECT_EQ(dib_.Pixel(150, 118), 0xE1E1E1u);
  EXPECT_EQ(dib_.Pixel(150, 119), 0xF0F0F0u);
  // Behind the strip the background takes the parent's colour.
  EXPECT_EQ(dib_.Pixel(290, 5), 0xFFFFFFu);
}

TEST_F(KxTabPaintTest, EmptyStripPaintsHitTestsAndTakesKeys) {
  Paint();
  EXPECT_EQ(tabs_->TabIndexAt({10, 10}), -1);
  Key(VK_RIGHT);
  Key(VK_END);
  EXPECT_EQ(tabs_->TabIndex(), -1);
  // Every tab hidden: the same.
  AddTabs({"One"});
  tabs_->HideAllTabs();
  Paint();
  Key(VK_LEFT);
  EXPECT_EQ(tabs_->TabIndexAt({10, 10}), -1);
  EXPECT_EQ(tabs_->TabIndex(), -1);
}

TEST_F(KxTabPaintTest, NarrowControlPaintsWithoutError) {
  AddTabs({"One", "Two", "Three"});
  tabs_->SetBounds(0, 0, 3, 3);
  Start(1);
  Paint();
  EXPECT_EQ(tabs_->TabIndex(), 1);
}

// ---- Selection and keys ---------------------------------------------------------------------

struct KeyCase {
  const char* name;
  int start;
  WORD key;
  std::set<int> refused;
  std::set<int> disabled;
  bool refuseAll;
  int expected;
  TKxTabOrientation orientation = toTop;
  TKxTabSequence sequence = tsStandard;
};

class KxTabKeyTest : public KxTabControlFixture, public testing::WithParamInterface<KeyCase> {};

TEST_P(KxTabKeyTest, KeySelectsTheExpectedTab) {
  const KeyCase& c = GetParam();
  AddTabs({"A", "B", "C", "D"});
  tabs_->SetTabOrientation(c.orientation);
  tabs_->SetTabSequence(c.sequence);
  Start(c.start);
  for (int i : c.disabled) tabs_->Tabs().Items(i)->Enabled = false;
  refused_ = c.refused;
  refuseAll_ = c.refuseAll;
  int clicks = 0;
  tabs_->OnTabClick = [&](TObject*) { ++clicks; };
  Key(c.key);
  EXPECT_EQ(tabs_->TabIndex(), c.expected);
  EXPECT_EQ(changes_, c.expected == c.start ? 0 : 1);
  if (c.expected != c.start) {
    EXPECT_EQ(clicks, 1) << "OnTabClick follows a key's selection";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KxTabKeyTest,
    testing::Values(KeyCase{"RightNext", 0, VK_RIGHT, {}, {}, false, 1},
                    KeyCase{"DownNext", 0, VK_DOWN, {}, {}, false, 1},
                    KeyCase{"RightSkipsARefusedTab", 1, VK_RIGHT, {2}, {}, false, 3},
                    KeyCase{"RightWraps", 3, VK_RIGHT, {}, {}, false, 0},
                    KeyCase{"LeftWraps", 0, VK_LEFT, {}, {}, false, 3},
                    KeyCase{"LeftSkipsDisabled", 3, VK_LEFT, {}, {2, 1}, false, 0},
                    KeyCase{"HomeFirst", 2, VK_HOME, {}, {}, false, 0},
                    KeyCase{"EndLastEnabled", 0, VK_END, {}, {3}, false, 2},
                    KeyCase{"AllRefusedRightKeepsTab", 1, VK_RIGHT, {}, {}, true, 1},
                    KeyCase{"AllRefusedHomeKeepsTab", 1, VK_HOME, {}, {}, true, 1},
                    KeyCase{"AllRefusedEndKeepsTab", 1, VK_END, {}, {}, true, 1},
                    KeyCase{"NoneActiveRightTakesFirst", -1, VK_RIGHT, {}, {}, false, 0},
                    KeyCase{"NoneActiveLeftTakesLast", -1, VK_LEFT, {}, {}, false, 3},
                    KeyCase{"NoneActiveNothingSelectableEnds", -1, VK_RIGHT, {}, {0, 1, 2, 3}, false, -1},
                    KeyCase{"NoneActiveAllRefusedEnds", -1, VK_LEFT, {}, {}, true, -1},
                    KeyCase{"LeftStripHomeTakesLast", 1, VK_HOME, {}, {}, false, 3, toLeft},
                    KeyCase{"LeftStripUpIsNext", 1, VK_UP, {}, {}, false, 2, toLeft},
                    KeyCase{"ReverseRightIsPrevious", 1, VK_RIGHT, {}, {}, false, 0, toTop, tsReverse},
                    KeyCase{"ReverseEndTakesFirst", 2, VK_END, {}, {}, false, 0, toBottom, tsReverse}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

using KxTabSelectTest = KxTabControlFixture;

TEST_F(KxTabSelectTest, ClickSelectsAndARefusedClickKeepsTheTab) {
  AddTabs({"One", "Two", "Three"});
  Start(0);
  Click(2);
  EXPECT_EQ(tabs_->TabIndex(), 2);
  EXPECT_EQ(changes_, 1);
  refuseAll_ = true;
  Click(1);
  EXPECT_EQ(tabs_->TabIndex(), 2);
  EXPECT_EQ(changes_, 1);
  EXPECT_GE(asked_, 2);
}

TEST_F(KxTabSelectTest, CodeOutsideTheTabsClearsWithoutChangeEvent) {
  AddTabs({"One", "Two"});
  Start(1);
  tabs_->SetTabIndex(5);
  EXPECT_EQ(tabs_->TabIndex(), -1);
  tabs_->SetTabIndex(-3);
  EXPECT_EQ(tabs_->TabIndex(), -1);
  EXPECT_EQ(changes_, 0);
  // -1 stays -1 across a layout rebuild and paint.
  tabs_->InvalidateLayout();
  Paint();
  EXPECT_EQ(tabs_->TabIndex(), -1);
}

TEST_F(KxTabSelectTest, RebuildMovesAwayFromAHiddenActiveTab) {
  AddTabs({"One", "Two", "Three"});
  Start(1);
  tabs_->Tabs().Items(1)->Visible = false;
  tabs_->InvalidateLayout();
  Paint();
  EXPECT_EQ(tabs_->TabIndex(), 2);
  tabs_->Tabs().Items(2)->Visible = false;
  tabs_->InvalidateLayout();
  Paint();
  EXPECT_EQ(tabs_->TabIndex(), 0);
}

TEST_F(KxTabSelectTest, MultiLineClickOnTheTopRowMovesItNextToTheCard) {
  AddTabs({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel"});
  tabs_->SetBounds(0, 0, 200, 160);
  tabs_->SetMultiLine(true);
  Start(0);
  ASSERT_GE(tabs_->RowCount(), 3);
  const int last = 7;
  ASSERT_EQ(tabs_->Tabs().Items(last)->Row, tabs_->RowCount() - 1);
  const int topRowTop = tabs_->TabRect(last).Top;
  Click(last);
  EXPECT_EQ(tabs_->TabIndex(), last);
  EXPECT_EQ(tabs_->Tabs().Items(last)->Row, 0);
  EXPECT_EQ(tabs_->Tabs().Items(0)->Row, 1);
  EXPECT_GT(tabs_->TabRect(last).Top, topRowTop);
  // Every tab stays inside the control.
  for (int i = 0; i < tabs_->Tabs().Count(); ++i) {
    const TRect r = tabs_->TabRect(i);
    EXPECT_GE(r.Left, 0) << i;
    EXPECT_LE(r.Right, 200) << i;
    EXPECT_GE(r.Top, 0) << i;
  }
}

TEST_F(KxTabSelectTest, NegativeGeometryValuesAreRefused) {
  EXPECT_THROW(tabs_->SetTabHeight(-1), EKxTabControlError);
  EXPECT_THROW(tabs_->SetMargin(-1), EKxTabControlError);
  EXPECT_THROW(tabs_->SetRowIndent(-1), EKxTabControlError);
  EXPECT_EQ(tabs_->TabHeight(), 24);
}

// ---- Dragging tabs --------------------------------------------------------------------------

class KxTabDragTest : public KxTabControlFixture {
 protected:
  KxTabDragTest() {
    AddTabs({"One", "Two", "Three"});
    tabs_->SetAllowTabDragging(true);
    // Every screen point lies over the tab control, at the same client point.
    SetDragTargetFinder([this](TPoint) -> TControl* { return tabs_; });
    tabs_->OnTabOrderChange = [this](TObject*, int o, int n) { order_ = std::to_string(o) + ">" + std::to_string(n); };
  }
  ~KxTabDragTest() override {
    EndDragging(false);
    SetDragTargetFinder(nullptr);
  }
  void PressAndMove(int index) {
    const TPoint p = Center(index);
    tabs_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(p.X, p.Y));
    tabs_->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(p.X + 1, p.Y));
  }
  void DragTo(int index) { DragToPoint(tabs_->ClientToScreen(Center(index))); }
  std::string Captions() {
    std::string s;
    for (int i = 0; i < tabs_->Tabs().Count(); ++i) s += tabs_->Tabs().Items(i)->Caption + " ";
    return s;
  }
  std::string order_;
};

TEST_F(KxTabDragTest, ActiveTabDroppedOnAnotherMovesThere) {
  Start(0);
  PressAndMove(0);
  ASSERT_TRUE(tabs_->Dragging());
  DragTo(0);
  EXPECT_FALSE(DragAccepted()) << "not over the active tab itself";
  EXPECT_FALSE(tabs_->DropIndicatorShown());
  DragTo(2);
  EXPECT_TRUE(DragAccepted());
  ASSERT_TRUE(tabs_->DropIndicatorShown());
  // An 8-pixel mark at the target's far edge.
  const TRect mark = tabs_->DropIndicatorRect();
  EXPECT_EQ(mark.Height(), 8);
  EXPECT_NEAR(mark.Left + 1, tabs_->TabRect(2).Right, 1);
  EndDragging(true);
  EXPECT_FALSE(tabs_->DropIndicatorShown());
  EXPECT_EQ(Captions(), "Two Three One ");
  EXPECT_EQ(tabs_->TabIndex(), 2);
  EXPECT_EQ(order_, "0>2");
}

TEST_F(KxTabDragTest, DragStartsOnlyFromTheActiveTabAndWhenAllowed) {
  Start(0);
  refuseAll_ = true;
  PressAndMove(1);  // the press cannot select tab 1
  EXPECT_EQ(tabs_->TabIndex(), 0);
  EXPECT_FALSE(tabs_->Dragging());
  tabs_->Perform(WM_LBUTTONUP, 0, At(1, 1));
  refuseAll_ = false;
  tabs_->OnTabDragging = [](TObject*, int, bool& allow) { allow = false; };
  PressAndMove(0);
  EXPECT_FALSE(tabs_->Dragging());
}

TEST_F(KxTabDragTest, PointerOutsideTheTabsScrollsThemByTimer) {
  for (int i = 0; i < 9; ++i) tabs_->AddTab("More " + std::to_string(i));
  tabs_->SetBounds(0, 0, 200, 120);
  Start(0);
  Paint();
  ASSERT_TRUE(tabs_->ScrollNeeded());
  PressAndMove(0);
  ASSERT_TRUE(tabs_->Dragging());
  // Over the card, right of the middle: no tab there, the timer scrolls forwards.
  DragToPoint(tabs_->ClientToScreen({190, 80}));
  EXPECT_FALSE(DragAccepted());
  EXPECT_TRUE(tabs_->DragScrollTimerRunning());
  const int first = tabs_->FirstShownTab();
  tabs_->Perform(WM_TIMER, 2, 0);
  EXPECT_EQ(tabs_->FirstShownTab(), first + 1);
  EndDragging(false);
  EXPECT_FALSE(tabs_->DragScrollTimerRunning());
}

}  // namespace
