// The tab control on a form (shown only where the platform's hint and update region need it):
// the painted strip read back from a DIB (classic colours fixed through the control set's
// colour lookup), images placed and stretched, vertical captions, the active tab's close
// button, hot tracking and tab hints by mouse messages, selection by code, mouse and keys with
// OnChanging vetoes, the empty strip, the multi-line card and rotation on a click, and the
// stored colour sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxTabButtons.h"
#include "controls/KxTabs.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/DragDock.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Panel.h"

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

// The bounding box of the pixels inside `within` that `match` takes (empty when none).
template <class F>
TRect BoxWhere(const TDibSurface& dib, const TRect& within, F match) {
  TRect box(within.Right, within.Bottom, within.Left, within.Top);
  for (int y = within.Top; y < within.Bottom; ++y)
    for (int x = within.Left; x < within.Right; ++x)
      if (match(dib.Pixel(x, y)))
        box = TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1));
  return box.Left < box.Right ? box : TRect();
}

TRect BoxOf(const TDibSurface& dib, const TRect& within, COLORREF color) {
  return BoxWhere(dib, within, [color](COLORREF c) { return c == color; });
}

// Text ink: dark whatever the smoothing did to its edges.
bool Ink(COLORREF c) { return (c & 0xFF) < 0x70 && ((c >> 8) & 0xFF) < 0x70 && ((c >> 16) & 0xFF) < 0x70; }

class KxTabImageTest : public KxTabControlFixture {
 protected:
  KxTabImageTest() : images_(nullptr) {
    images_.SetWidth(8);
    images_.SetHeight(8);
    TBitmap blue;
    blue.SetSize(8, 8);
    blue.Canvas()->Brush()->SetColor(static_cast<TColor>(0xFF0000));
    blue.Canvas()->FillRect(TRect(0, 0, 8, 8));
    images_.AddMasked(&blue, clFuchsia);
    tabs_->SetImages(&images_);
    tabs_->SetTabWidth(120);
    tabs_->SetTabHeight(40);
    tabs_->SetTabStyle(tsSquareCorners);
    tabs_->SetShowFocusRect(false);
    tabs_->AddTab("");
    tabs_->AddTab("");
    tabs_->Tabs().Items(1)->ImageIndex = 0;
    tabs_->InvalidateLayout();
    Start(0);
  }
  // The image's box on tab 1 (inactive, not grown), and that tab's caption area: the tab
  // less 4 pixels at either end and 2 at the tip and base.
  TRect ImageBox() {
    Paint();
    return BoxOf(dib_, tabs_->TabRect(1), 0xFF0000);
  }
  TRect Area() {
    const TRect t = tabs_->TabRect(1);
    return TRect(t.Left + 4, t.Top + 2, t.Right - 4, t.Bottom - 2);
  }
  TImageList images_;
};

TEST_F(KxTabImageTest, AlignmentPlacesTheImageInItsArea) {
  tabs_->SetImagePosition(ipBack);  // the image's area is the whole caption area
  const TRect a = Area();
  struct TCase {
    TKxHorizontalAlignment h;
    TKxVerticalAlignment v;
    int left, top;
  } cases[] = {
      {haLeft, vaTop, a.Left, a.Top},
      {haRight, vaBottom, a.Right - 8, a.Bottom - 8},
      {haCenter, vaCenter, a.Left + (a.Width() - 8) / 2, a.Top + (a.Height() - 8) / 2},
      {haLeft, vaBottom, a.Left, a.Bottom - 8},
  };
  for (const TCase& c : cases) {
    tabs_->SetImageAlignment(c.h);
    tabs_->SetImageAlignmentVertical(c.v);
    EXPECT_EQ(ImageBox(), TRect(c.left, c.top, c.left + 8, c.top + 8)) << c.h << c.v;
  }
  // Beside the caption the image keeps to its side and aligns within it.
  tabs_->SetImagePosition(ipRight);
  tabs_->SetImageAlignmentVertical(vaTop);
  EXPECT_EQ(ImageBox(), TRect(a.Right - 8, a.Top, a.Right, a.Top + 8));
}

TEST_F(KxTabImageTest, StretchFillsTheCaptionArea) {
  tabs_->SetImagePosition(ipStretch);
  EXPECT_EQ(ImageBox(), Area());
}

TEST_F(KxTabPaintTest, TheActiveTabsCloseButtonSitsWhereTheCaptionEnds) {
  AddTabs({"One", "Two", "Three"});
  tabs_->SetTabStyle(tsSquareCorners);  // no slant to take room at either end
  tabs_->SetShowCloseButtonOnActiveTab(true);
  struct TCase {
    TKxTabOrientation orientation;
    TKxTabSequence sequence;
    bool farEnd;  // at the right end (top, bottom) or the top end (side) of the active tab
  } cases[] = {
      {toTop, tsStandard, true}, {toTop, tsReverse, false}, {toBottom, tsReverse, false},
      {toLeft, tsStandard, true}, {toLeft, tsReverse, false},
  };
  for (const TCase& c : cases) {
    tabs_->SetTabOrientation(c.orientation);
    tabs_->SetTabSequence(c.sequence);
    tabs_->SetTextOrientation(c.orientation == toLeft ? orVertical : orHorizontal);
    // The fixed height is the length of a side tab: long enough for caption and button.
    tabs_->SetTabHeight(c.orientation == toLeft ? 80 : 24);
    Start(1);
    Paint();
    const TRect tab = tabs_->TabRect(1);
    TKxActiveTabCloseButton* button = nullptr;
    for (int i = 0; i < tabs_->ControlCount(); ++i)
      if (auto* b = dynamic_cast<TKxActiveTabCloseButton*>(tabs_->Controls(i))) button = b;
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->Visible());
    const TRect b = button->BoundsRect();
    SCOPED_TRACE(testing::Message() << "tab " << tab.Left << "," << tab.Top << "," << tab.Right << "," << tab.Bottom
                                    << " button " << b.Left << "," << b.Top << "," << b.Right << "," << b.Bottom);
    EXPECT_TRUE(tab.Contains(TPoint{b.Left, b.Top}) && tab.Contains(TPoint{b.Right - 1, b.Bottom - 1}));
    if (c.orientation == toLeft) {
      const int centre = (tab.Top + tab.Bottom) / 2;
      EXPECT_EQ(b.Bottom <= centre, c.farEnd) << c.orientation << c.sequence;
      EXPECT_EQ(b.Top >= centre, !c.farEnd) << c.orientation << c.sequence;
    } else {
      const int centre = (tab.Left + tab.Right) / 2;
      EXPECT_EQ(b.Left >= centre, c.farEnd) << c.orientation << c.sequence;
      EXPECT_EQ(b.Right <= centre, !c.farEnd) << c.orientation << c.sequence;
    }
  }
}

TEST_F(KxTabPaintTest, VerticalCaptionsStackTheirLinesAndUnderlineTheAccelerator) {
  tabs_->SetTabOrientation(toLeft);
  tabs_->SetTextOrientation(orVertical);
  tabs_->SetTabStyle(tsSquareCorners);  // a slanted side tab would spend its length on the slant
  tabs_->SetTabHeight(0);
  tabs_->SetTabWidth(60);
  tabs_->SetBounds(0, 0, 300, 120);
  AddTabs({"Wide"});
  Start(0);
  tabs_->HandleNeeded();
  SendMessageW(tabs_->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
  auto text = [&](const char* caption) {
    tabs_->Tabs().Items(0)->Caption = caption;
    tabs_->InvalidateLayout();
    Paint();
    return BoxWhere(dib_, tabs_->TabRect(0), Ink);
  };
  auto count = [&](const char* caption) {
    text(caption);
    int n = 0;
    const TRect r = tabs_->TabRect(0);
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += Ink(dib_.Pixel(x, y));
    return n;
  };
  const TRect one = text("Ab");
  const TRect two = text("Ab\r\nAb");
  ASSERT_FALSE(one.IsEmpty());
  EXPECT_GE(two.Width(), 2 * one.Width()) << "two lines lie side by side";
  EXPECT_LE(two.Height(), one.Height() + 1) << "each line as long as before";
  // Vertical alignment places the line along the tab.
  tabs_->SetTextAlignmentVertical(vaTop);
  const TRect top = text("Ab");
  tabs_->SetTextAlignmentVertical(vaBottom);
  const TRect bottom = text("Ab");
  EXPECT_LT(top.Top, bottom.Top);
  EXPECT_EQ(top.Height(), bottom.Height());
  // The accelerator's character is underlined: more ink than without the mark.
  EXPECT_GT(count("&Ab"), count("Ab") + 2);
  EXPECT_EQ(text("A&&b").IsEmpty(), false);
}

TEST_F(KxTabPaintTest, TabHintsFollowThePointerFromTabToTab) {
  AddTabs({"One", "Two"});
  tabs_->Tabs().Items(0)->Hint = "first";
  tabs_->Tabs().Items(1)->Hint = "second";
  tabs_->SetHint("own");
  tabs_->SetShowHint(true);
  tabs_->SetTabHints(true);
  ASSERT_NE(Application, nullptr);
  const bool showHints = Application->ShowHint();
  Application->SetShowHint(true);
  Start(0);
  form_.Show();
  auto moveTo = [&](TPoint p) {
    tabs_->Perform(WM_MOUSEMOVE, 0, At(p.X, p.Y));
    // The hint pause is a timer: show the hint of the control now.
    Application->ActivateHint(tabs_->ClientToScreen(p));
  };
  moveTo(Center(0));
  EXPECT_EQ(tabs_->Hint(), "first");
  EXPECT_EQ(Application->ShownHint(), "first");
  moveTo(Center(1));
  EXPECT_EQ(Application->ShownHint(), "second") << "the next tab's hint replaces the last";
  tabs_->Perform(WM_MOUSEMOVE, 0, At(150, 80));
  EXPECT_EQ(Application->ShownHint(), "") << "over no tab the hint goes";
  EXPECT_EQ(tabs_->Hint(), "own");
  Application->CancelHint();
  Application->SetMouseControl(nullptr);
  Application->SetShowHint(showHints);
  form_.Hide();
}

TEST_F(KxTabPaintTest, AHotTrackRepaintRefreshesTheStripOnly) {
  AddTabs({"One", "Two", "Three"});
  Start(0);
  form_.Show();
  UpdateWindow(tabs_->Handle());
  ValidateRect(tabs_->Handle(), nullptr);
  const TPoint p = Center(2);
  tabs_->Perform(WM_MOUSEMOVE, 0, At(p.X, p.Y));
  ASSERT_EQ(tabs_->HotTab(), 2);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(tabs_->Handle(), &update, FALSE));
  const TRect strip = tabs_->StripRect();
  EXPECT_EQ(TRect(update.left, update.top, update.right, update.bottom), strip);
  ValidateRect(tabs_->Handle(), nullptr);
  form_.Hide();
}

TEST_F(KxTabPaintTest, TabAndTextColoursAreStoredAndRepaint) {
  tabs_->TabColors().Set(&TKxTabColors::Unselected, clRed);
  tabs_->TextColors().Set(&TKxTextColors::Disabled, clBlue);
  TMemoryStream layout;
  layout.WriteComponent(tabs_);
  const std::string text =
      ObjectBinaryToText(std::string(static_cast<const char*>(layout.Memory()), static_cast<size_t>(layout.Size())));
  EXPECT_NE(text.find("TabColors.Unselected = clRed"), std::string::npos) << text;
  EXPECT_NE(text.find("TextColors.Disabled = clBlue"), std::string::npos) << text;
  EXPECT_EQ(text.find("TabColors.Shadow"), std::string::npos) << "defaults are not written";
  layout.SetPosition(0);
  TKxCustomTabControl copy(nullptr);
  layout.ReadComponent(&copy);
  EXPECT_EQ(copy.TabColors().Unselected, clRed);
  EXPECT_EQ(copy.TextColors().Disabled, clBlue);
  EXPECT_EQ(copy.TabColors().Shadow, clBtnFace);
  // A changed colour shows at once: an inactive tab's tip takes the new light colour.
  AddTabs({"One", "Two"});
  Start(0);
  tabs_->TabColors().Set(&TKxTabColors::Unselected, static_cast<TColor>(0x00FF00));
  Paint();
  const COLORREF tip = dib_.Pixel(Center(1).X, 3);
  EXPECT_GT((tip >> 8) & 0xFF, 0xC0u) << std::hex << tip;
  EXPECT_LT(tip & 0xFF, 0x40u) << std::hex << tip << ": the new light colour at the tip";
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

TEST_F(KxTabSelectTest, MultiLineCardIsShortenedByTheRowIndentsOnTheSideTheRowsMoveTo) {
  AddTabs({"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf", "Hotel"});
  tabs_->SetBounds(0, 0, 200, 160);
  tabs_->SetMultiLine(true);
  tabs_->SetShowShadow(false);
  tabs_->SetRowIndent(7);
  Start(0);
  const int rows = tabs_->RowCount();
  ASSERT_GE(rows, 3);
  const int narrowing = (rows - 1) * 7;
  struct TCase {
    TKxTabSequence sequence;
    int left, right;  // of the card inside its one-pixel frame
  } cases[] = {{tsStandard, 1, 200 - narrowing - 1}, {tsReverse, narrowing + 1, 199}};
  for (const TCase& c : cases) {
    tabs_->SetTabSequence(c.sequence);
    tabs_->RebuildLayoutIfDirty();
    ASSERT_EQ(tabs_->RowCount(), rows);
    const TRect card = tabs_->CardRect();
    EXPECT_EQ(card.Left, c.left) << c.sequence;
    EXPECT_EQ(card.Right, c.right) << c.sequence;
    EXPECT_EQ(card.Bottom, 159) << c.sequence;
  }
  // A one-row strip keeps the whole width.
  tabs_->SetTabSequence(tsStandard);
  tabs_->SetMultiLine(false);
  tabs_->RebuildLayoutIfDirty();
  EXPECT_EQ(tabs_->CardRect().Right, 199);
}

TEST_F(KxTabSelectTest, WithColouredTabsAColourChangeReachesTheChildrenAsTheirParentsColour) {
  AddTabs({"One", "Two"});
  tabs_->Tabs().Items(1)->Color = clAqua;
  tabs_->SetUseColoredTabs(true);
  auto* child = new TPanel(&form_);
  child->SetParent(tabs_);
  child->SetParentColor(true);
  auto* own = new TPanel(&form_);
  own->SetParent(tabs_);
  own->SetColor(clLime);
  tabs_->SetColor(clYellow);
  EXPECT_EQ(child->Color(), clYellow);
  EXPECT_EQ(own->Color(), clLime) << "a child with its own colour keeps it";
  EXPECT_EQ(tabs_->Tabs().Items(1)->Color, clAqua) << "the tabs keep their own colours";
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
