// TKxToolButton on a form, driven by mouse messages with an injected tick: the drop-down
// reopen guard, the drop-down style's width and group, pressing and dragging grouped buttons,
// the image placed by Alignment and the disabled image painted into a DIB, the menu kept in
// the work area, and a drop-down button without a menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonText.h"
#include "controls/KxToolButton.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/Menus.h"

namespace {

constexpr COLORREF kRedPixel = 0x0000FF;
constexpr COLORREF kGreenPixel = 0x00FF00;

// A popup menu that records where it would pop up instead of showing itself.
class TRecordingMenu : public TPopupMenu {
 public:
  explicit TRecordingMenu(TComponent* owner) : TPopupMenu(owner) {}
  using TPopupMenu::Popup;
  void Popup(int x, int y) override { shown.push_back({x, y}); }
  std::vector<TPoint> shown;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class KxToolButtonTest : public testing::Test {
 protected:
  KxToolButtonTest() : form_(nullptr), menu_(nullptr) {
    SetKxVisualStylesQuery([] { return false; });
    SetKxToolButtonTickQuery([this] { return tick_; });
    form_.SetBounds(100, 100, 300, 200);
    form_.HandleNeeded();
    auto* item = new TMenuItem(&menu_);
    item->SetCaption("Open the export folder");
    menu_.Items()->Add(item);
  }
  ~KxToolButtonTest() override {
    SetKxToolButtonTickQuery(nullptr);
    SetKxVisualStylesQuery(nullptr);
  }
  TKxToolButton* Add(int left = 0, int width = 40) {
    auto* button = new TKxToolButton(&form_);
    button->SetParent(&form_);
    button->SetBounds(left, 0, width, 25);
    return button;
  }
  // Press at (x, y), move through `moves`, release at `release` (button coordinates).
  static void Drag(TKxToolButton* b, TPoint press, std::initializer_list<TPoint> moves, TPoint release) {
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(press.X, press.Y));
    for (TPoint p : moves) b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(p.X, p.Y));
    b->Perform(WM_LBUTTONUP, 0, At(release.X, release.Y));
  }
  static void Press(TKxToolButton* b, int x, int y) { Drag(b, {x, y}, {}, {x, y}); }

  DWORD tick_ = 5000;
  TForm form_;
  TRecordingMenu menu_;
};

TEST_F(KxToolButtonTest, ClickThatClosedTheMenuDoesNotReopenIt) {
  TKxToolButton* b = Add();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetToolStyle(tsDropDown);
  b->SetDropDownMenu(&menu_);
  const int arrow = b->Width() - 5;
  Press(b, arrow, 5);
  ASSERT_EQ(menu_.shown.size(), 1u);
  tick_ += 60;  // the press that closed the menu arrives right after
  Press(b, arrow, 5);
  EXPECT_EQ(menu_.shown.size(), 1u);
  EXPECT_TRUE(b->TreatAsNormal());
  tick_ += 100;
  Press(b, arrow, 5);
  EXPECT_EQ(menu_.shown.size(), 2u) << "a later press opens it again";
  tick_ += 100;  // exactly 100 ms after the close: no longer the closing click
  Press(b, arrow, 5);
  EXPECT_EQ(menu_.shown.size(), 3u);
  EXPECT_EQ(clicks, 0) << "the drop-down part is no click";
  EXPECT_EQ(b->State(), TKxToolButton::bsUp);
  tick_ += 1000;
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(arrow, 5));
  EXPECT_EQ(menu_.shown.size(), 4u);
  EXPECT_FALSE(b->MouseCapture()) << "the menu took the release: the mouse is free";
}

TEST_F(KxToolButtonTest, DropDownWithoutClickActionOpensFromAnywhere) {
  TKxToolButton* b = Add();
  b->SetToolStyle(tsDropDown);
  b->SetDropDownMenu(&menu_);
  Press(b, 3, 5);
  EXPECT_EQ(menu_.shown.size(), 1u);
}

TEST_F(KxToolButtonTest, DropDownStyleWidensAndLeavesItsGroup) {
  TKxToolButton* b = Add(0, 30);
  b->SetGroupIndex(2);
  b->SetToolStyle(tsDropDown);
  EXPECT_EQ(b->Width(), 44);
  EXPECT_EQ(b->GroupIndex(), 0);
  b->SetGroupIndex(3);
  EXPECT_EQ(b->GroupIndex(), 0) << "a drop-down button joins no group";
  b->SetToolStyle(tsButton);
  EXPECT_EQ(b->Width(), 30);

  b->SetToolStyle(tsDropDown);
  b->SetWidth(5);
  b->SetToolStyle(tsButton);
  EXPECT_EQ(b->Width(), 0) << "never narrower than nothing";
}

struct TDragCase {
  const char* name;
  bool allowAllUp;
  bool downBefore;
  std::vector<TPoint> moves;
  TPoint release;
  bool downAfter;
  int clicks;
};

class KxToolButtonDragTest : public KxToolButtonTest, public testing::WithParamInterface<TDragCase> {};

TEST_P(KxToolButtonDragTest, GroupedPressDragRelease) {
  const TDragCase& c = GetParam();
  TKxToolButton* b = Add();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  b->SetDown(c.downBefore);
  b->SetAllowAllUp(c.allowAllUp);
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  for (TPoint p : c.moves) b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(p.X, p.Y));
  b->Perform(WM_LBUTTONUP, 0, At(c.release.X, c.release.Y));
  EXPECT_EQ(b->Down(), c.downAfter);
  EXPECT_EQ(clicks, c.clicks);
  EXPECT_EQ(b->State(), c.downAfter ? TKxToolButton::bsExclusive : TKxToolButton::bsUp);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KxToolButtonDragTest,
    testing::Values(TDragCase{"ReleaseInsideGoesDown", true, false, {{12, 12}}, {12, 12}, true, 1},
                    TDragCase{"ReleaseInsideComesUp", true, true, {}, {12, 12}, false, 1},
                    TDragCase{"DragOutOfAnUpButton", true, false, {{200, 100}}, {200, 100}, false, 0},
                    TDragCase{"DragOutOfADownButton", true, true, {{200, 100}}, {200, 100}, true, 0},
                    TDragCase{"DragOutAndBackIn", true, false, {{200, 100}, {12, 12}}, {12, 12}, true, 1},
                    TDragCase{"DownStaysDownWithoutAllowAllUp", false, true, {}, {12, 12}, true, 0}),
    [](const testing::TestParamInfo<TDragCase>& info) { return std::string(info.param.name); });

TEST_F(KxToolButtonTest, GoingDownReleasesTheOtherButtonOfTheGroup) {
  TKxToolButton* a = Add(0);
  TKxToolButton* b = Add(50);
  TKxToolButton* other = Add(100);
  for (TKxToolButton* x : {a, b}) x->SetGroupIndex(4);
  other->SetGroupIndex(5);
  other->SetDown(true);
  a->SetDown(true);
  Press(b, 10, 10);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(other->Down()) << "another group";
}

TEST_F(KxToolButtonTest, ActionLinkCarriesCheckedAndImage) {
  TKxToolButton* b = Add();
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  b->SetDown(true);
  b->SetImageIndex(3);
  TAction action(nullptr);
  action.Assign(b);
  EXPECT_TRUE(action.Checked());
  EXPECT_EQ(action.ImageIndex(), 3);

  int runs = 0;
  action.OnExecute = [&](TObject*) { ++runs; };
  b->SetAction(&action);
  EXPECT_FALSE(GetPropInfo(*b, "Down")->IsStored(*b)) << "the action holds it";
  EXPECT_FALSE(GetPropInfo(*b, "ImageIndex")->IsStored(*b));
  action.SetChecked(false);
  EXPECT_FALSE(b->Down());
  action.SetImageIndex(1);
  EXPECT_EQ(b->ImageIndex(), 1);
  b->SetGroupIndex(0);
  Press(b, 10, 10);
  EXPECT_EQ(runs, 1) << "a click runs the action";
  b->SetAction(nullptr);
}

TEST_F(KxToolButtonTest, UngroupedPressClicksOnlyInside) {
  TKxToolButton* b = Add();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Press(b, 10, 10);
  Drag(b, {10, 10}, {{200, 100}}, {200, 100});
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down()) << "no group: never down";
}

// Images: a red square (0) and a green one (1), 16 x 16.
class KxToolButtonPaintTest : public KxToolButtonTest {
 protected:
  KxToolButtonPaintTest() : images_(nullptr), dib_(120, 40, 0x3C14DC) {
    images_.SetWidth(16);
    images_.SetHeight(16);
    for (TColor color : {static_cast<TColor>(kRedPixel), static_cast<TColor>(kGreenPixel)}) {
      TBitmap square;
      square.SetSize(16, 16);
      square.Canvas()->Brush()->SetColor(color);
      square.Canvas()->FillRect({0, 0, 16, 16});
      images_.Add(&square, nullptr);
    }
  }
  void Paint() {
    dib_.Fill(0x3C14DC);
    form_.PaintTo(dib_.DC(), 0, 0);
  }
  // Left and right column holding `color` in the button's rows (-1 when none).
  std::pair<int, int> Columns(COLORREF color) {
    int left = -1;
    int right = -1;
    for (int y = 0; y < 25; ++y) {
      for (int x = 0; x < dib_.Width(); ++x) {
        if (dib_.Pixel(x, y) != color) continue;
        if (left < 0 || x < left) left = x;
        right = std::max(right, x);
      }
    }
    return {left, right};
  }
  TImageList images_;
  TDibSurface dib_;
};

TEST_F(KxToolButtonPaintTest, ImageFollowsTheAlignment) {
  TKxToolButton* b = Add(0, 60);
  b->SetImages(&images_);
  b->SetImageIndex(0);
  const struct {
    TAlignment alignment;
    int left;
  } cases[] = {{taLeftJustify, 4}, {taCenter, 22}, {taRightJustify, 40}};
  for (const auto& c : cases) {
    b->SetAlignment(c.alignment);
    Paint();
    const auto [left, right] = Columns(kRedPixel);
    EXPECT_EQ(left, c.left) << c.alignment;
    EXPECT_EQ(right, c.left + 15) << c.alignment;
  }
}

TEST_F(KxToolButtonPaintTest, DisabledIndexIsDrawnInFullColour) {
  TKxToolButton* b = Add(0, 60);
  b->SetImages(&images_);
  b->SetImageIndex(0);
  b->SetEnabled(false);
  Paint();
  EXPECT_EQ(Columns(kRedPixel).first, -1) << "the normal image is greyed";
  EXPECT_EQ(Columns(kGreenPixel).first, -1);
  b->SetDisabledIndex(1);
  Paint();
  EXPECT_EQ(Columns(kGreenPixel), std::make_pair(22, 37));
  EXPECT_EQ(Columns(kRedPixel).first, -1);
  b->SetEnabled(true);
  Paint();
  EXPECT_EQ(Columns(kRedPixel), std::make_pair(22, 37)) << "enabled: the normal image";
}

TEST_F(KxToolButtonTest, MenuNearTheScreenEdgeStaysInTheWorkArea) {
  TKxToolButton* b = Add(0, 30);
  b->SetToolStyle(tsDropDown);
  b->SetDropDownMenu(&menu_);
  const int width = b->MeasureMenuWidth(&menu_);
  ASSERT_GT(width, 56);
  TPoint corner = b->ClientToScreen({0, b->Height()});
  const TRect work = MonitorWorkArea(FindMonitorAtPoint(corner));
  b->ShowDropDownMenu();
  ASSERT_EQ(menu_.shown.size(), 1u);
  EXPECT_EQ(menu_.shown[0].X, corner.X) << "room enough: at the button's left";
  EXPECT_EQ(menu_.shown[0].Y, corner.Y);

  form_.SetBounds(work.Right - 60, 100, 50, 100);
  corner = b->ClientToScreen({0, b->Height()});
  ASSERT_GT(corner.X + width, work.Right);
  b->ShowDropDownMenu();
  ASSERT_EQ(menu_.shown.size(), 2u);
  EXPECT_EQ(menu_.shown[1].X, work.Right - width) << "the right end at the work area's edge";

  menu_.SetAlignment(paRight);
  form_.SetBounds(work.Left, 100, 300, 100);
  const TPoint right = b->ClientToScreen({b->Width(), b->Height()});
  ASSERT_LT(right.X - width, work.Left);
  b->ShowDropDownMenu();
  ASSERT_EQ(menu_.shown.size(), 3u);
  EXPECT_EQ(menu_.shown[2].X, work.Left + width) << "the left end at the work area's edge";
}

TEST_F(KxToolButtonTest, DropDownButtonWithoutMenuShowsNothing) {
  TKxToolButton* b = Add();
  b->SetCaption("&Tools");
  b->SetToolStyle(tsDropDown);
  int dropDowns = 0;
  b->OnDropDown = [&](TObject*) { ++dropDowns; };
  form_.Show();
  Press(b, b->Width() - 5, 5);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'T'), 1) << "the accelerator is still the button's";
  EXPECT_EQ(dropDowns, 0);
  b->SetDropDownMenu(&menu_);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 't'), 1);
  EXPECT_EQ(dropDowns, 1);
  EXPECT_EQ(menu_.shown.size(), 1u) << "with a menu the accelerator opens it";
  form_.Hide();
}

// Right to left the drop-down part is the left 14 pixels (a press reaches x < 15), its arrow
// stands at x = 6 and the menu hangs from the button's right edge.
TEST_F(KxToolButtonTest, RightToLeftMirrorsTheDropDownPartsHitTest) {
  struct Case {
    TBiDiMode mode;
    int x;
    bool opensTheMenu;
  } const cases[] = {
      {bdLeftToRight, 40, true},  {bdLeftToRight, 39, false}, {bdLeftToRight, 5, false},
      {bdRightToLeft, 14, true},  {bdRightToLeft, 0, true},   {bdRightToLeft, 15, false},
      {bdRightToLeft, 45, false}, {bdRightToLeftReadingOnly, 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mode " << c.mode << ", x " << c.x);
    form_.SetBiDiMode(c.mode);
    TKxToolButton* b = Add(0, 40);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetToolStyle(tsDropDown);
    b->SetDropDownMenu(&menu_);
    ASSERT_EQ(b->Width(), 54);
    const std::size_t shown = menu_.shown.size();
    tick_ += 1000;
    Press(b, c.x, 5);
    EXPECT_EQ(menu_.shown.size() - shown, c.opensTheMenu ? 1u : 0u);
    EXPECT_EQ(clicks, c.opensTheMenu ? 0 : 1);
    delete b;
  }
}

TEST_F(KxToolButtonPaintTest, RightToLeftDrawsTheArrowAtTheLeft) {
  TKxToolButton* b = Add(0, 40);
  b->SetToolStyle(tsDropDown);
  b->SetDropDownMenu(&menu_);
  ASSERT_EQ(b->Width(), 54);
  Paint();
  EXPECT_EQ(Columns(0x000000), std::make_pair(54 - 8 - 2, 54 - 8 + 2));
  form_.SetBiDiMode(bdRightToLeft);
  Paint();
  EXPECT_EQ(Columns(0x000000), std::make_pair(6 - 2, 6 + 2));
}

TEST_F(KxToolButtonTest, RightToLeftMenuHangsFromTheRightEdge) {
  TKxToolButton* b = Add(0, 30);
  b->SetToolStyle(tsDropDown);
  b->SetDropDownMenu(&menu_);
  form_.SetBiDiMode(bdRightToLeft);
  b->ShowDropDownMenu();
  ASSERT_EQ(menu_.shown.size(), 1u);
  const TPoint corner = b->ClientToScreen({b->Width(), b->Height()});
  EXPECT_EQ(menu_.shown[0].X, corner.X);
  EXPECT_EQ(menu_.shown[0].Y, corner.Y);
}

}  // namespace
