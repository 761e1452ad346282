// Panels and splitters: bevels take room from the aligned children and reach the pixels,
// the caption is drawn, dragging a splitter resizes its neighbour.
#include "FormFixture.h"
#include "PixelHelpers.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Panel.h"
#include "toolkit/ui/Splitter.h"

namespace {

class PanelTest : public FormFixture {};

TEST_F(PanelTest, BevelsAndBorderShrinkTheAlignedArea) {
  auto* panel = Add<TPanel>(10, 10, 200, 100);
  auto* child = new TPanel(form_);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(1, 1, 199, 99));
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(3);
  EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 195, 95));
  panel->SetBevelOuter(bvNone);
  panel->SetBevelInner(bvNone);
  panel->SetBorderWidth(0);
  EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 200, 100));
}

TEST_F(PanelTest, RaisedBevelAndCaptionArePainted) {
  auto* panel = Add<TPanel>(10, 10, 120, 40);
  panel->SetColor(clYellow);
  panel->SetCaption("WWW");
  TBitmap bitmap;
  MakeCanvasBitmap(bitmap, 120, 40);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
  EXPECT_EQ(PixelAt(bitmap, 0, 20), static_cast<TColor>(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(PixelAt(bitmap, 119, 20), static_cast<TColor>(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(PixelAt(bitmap, 5, 5), clYellow);
  const TRect ink = InkBounds(bitmap, [](TColor c) { return c == clBlack; });
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_NEAR((ink.Left + ink.Right) / 2, 60, 3) << "centred caption";
  EXPECT_NEAR((ink.Top + ink.Bottom) / 2, 20, 4);
}

TEST_F(PanelTest, DraggingTheSplitterResizesItsNeighbour) {
  // The main window: an information grid aligned left, the splitter, the rest.
  auto* left = Add<TPanel>(0, 0, 150, 300);
  left->SetAlign(alLeft);
  auto* splitter = Add<TSplitter>(150, 0, 3, 300);
  splitter->SetAlign(alLeft);
  auto* rest = Add<TPanel>(200, 0, 100, 300);
  rest->SetAlign(alClient);
  ASSERT_EQ(splitter->FindControl(), left);
  int moved = 0;
  splitter->OnMoved = [&](TObject*) { ++moved; };
  const int x0 = splitter->Left() + 1;
  // Messages go to the form, which hands them to the splitter under the mouse.
  SendMessageW(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, 50));
  SendMessageW(form_->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x0 + 40, 50));
  EXPECT_EQ(left->Width(), 190);
  EXPECT_EQ(splitter->Left(), 190);
  EXPECT_EQ(rest->Left(), 193);
  SendMessageW(form_->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x0 - 200, 50));
  EXPECT_EQ(left->Width(), splitter->MinSize()) << "not below MinSize";
  SendMessageW(form_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x0 - 200, 50));
  EXPECT_EQ(moved, 1);
}

}  // namespace
