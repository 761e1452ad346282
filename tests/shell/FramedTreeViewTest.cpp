// The framed tree view: nodes as tab-indented lines both ways, the level error, state colours,
// hot tracking's frame, wheel scrolling (no room, one screen at a time), selecting on expand
// against automatic expansion, node menus from the right button and the keyboard with the
// button-up that follows a handled menu, and the shortcut texts its shell descendant compares
// keys with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "controls/KxCommonColors.h"
#include "shell/KxShellUtils.h"
#include "shell/KxShortCuts.h"
#include "shell/KxTreeVw.h"
#include "tests/controls/DibSurface.h"
#include "tests/toolkit/FormFixture.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/ui/MenuLinks.h"

namespace {

// A popup menu that records where it was asked to show.
class TRecordingMenu : public TComponent, public TPopupMenuLink {
 public:
  using TComponent::TComponent;
  bool AutoPopup() const override { return true; }
  void Popup(int x, int y, TObject*) override { shown.push_back(TPoint{x, y}); }
  std::vector<TPoint> shown;
};

class FramedTreeViewTest : public FormFixture {
 protected:
  void TearDown() override {
    SetWheelScrollLinesQuery(nullptr);
    SetKxVisualStylesQuery(nullptr);
    FormFixture::TearDown();
  }
  TKxCustomTreeView* Tree() {
    auto* tree = Add<TKxCustomTreeView>(10, 10, 200, 200);
    tree->HandleNeeded();
    return tree;
  }
  static void Lines(TStringList& list, std::initializer_list<const char*> lines) {
    for (const char* line : lines) list.Add(line);
  }
};

TEST_F(FramedTreeViewTest, LinesBuildTheTreeAndSaveBackByLevel) {
  TKxCustomTreeView* tree = Tree();
  TStringList lines;
  Lines(lines, {"root", "\tchild", "\t\tgrandchild", " second child", "next root", "\tunder next"});
  tree->LoadFromLines(&lines);
  TTreeNode* root = tree->GetFirstNode();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->Text(), "root");
  ASSERT_EQ(root->Count(), 2);
  EXPECT_EQ(root->GetFirstChild()->GetFirstChild()->Text(), "grandchild");
  EXPECT_EQ(root->GetFirstChild()->GetNextSibling()->Text(), "second child");
  ASSERT_NE(root->GetNextSibling(), nullptr);
  EXPECT_EQ(root->GetNextSibling()->Text(), "next root");
  EXPECT_EQ(root->GetNextSibling()->GetFirstChild()->Text(), "under next");

  TStringList saved;
  tree->SaveToLines(&saved);
  std::vector<std::string> got;
  for (int i = 0; i < saved.Count(); ++i) got.push_back(saved.Strings(i));
  EXPECT_EQ(got, (std::vector<std::string>{"root", "\tchild", "\t\tgrandchild", "\tsecond child", "next root",
                                           "\tunder next"}));
}

TEST_F(FramedTreeViewTest, AFirstLineIsTopLevelAndClimbingStopsAtTheRightAncestor) {
  TKxCustomTreeView* tree = Tree();
  TStringList lines;
  Lines(lines, {"\t\tfirst", "\ta", "\t\tb", "\t\t\tc", "\td"});
  tree->LoadFromLines(&lines);
  TTreeNode* first = tree->GetFirstNode();
  EXPECT_EQ(first->Text(), "first");
  EXPECT_EQ(first->Level(), 0);
  TTreeNode* a = first->GetFirstChild();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Text(), "a");
  EXPECT_EQ(a->GetFirstChild()->GetFirstChild()->Text(), "c");
  ASSERT_NE(a->GetNextSibling(), nullptr);
  EXPECT_EQ(a->GetNextSibling()->Text(), "d");
}

TEST_F(FramedTreeViewTest, ALevelJumpRaisesWithTheLevelAndText) {
  TKxCustomTreeView* tree = Tree();
  TStringList lines;
  Lines(lines, {"root", "\t\t\tdeep"});
  try {
    tree->LoadFromLines(&lines);
    FAIL() << "no error";
  } catch (const ETreeViewError& e) {
    EXPECT_EQ(e.Message(), "Invalid level (3) for item \"deep\"");
  }
  TStringList empty;
  tree->LoadFromLines(&empty);
  TStringList saved;
  tree->SaveToLines(&saved);
  EXPECT_EQ(saved.Count(), 0);
}

TEST_F(FramedTreeViewTest, FocusColourFollowsTheColourOnlyWhileTheyWereEqual) {
  TKxCustomTreeView* tree = Tree();
  tree->SetColor(clYellow);
  EXPECT_EQ(tree->FocusColor(), clYellow);
  EXPECT_EQ(tree->NormalColor(), clYellow);
  tree->ChangeFocusColor(clAqua);
  tree->SetColor(clLime);
  EXPECT_EQ(tree->FocusColor(), clAqua);
  EXPECT_EQ(tree->NormalColor(), clLime);
  tree->SetEnabled(false);
  EXPECT_EQ(tree->Color(), clBtnFace);
  EXPECT_EQ(tree->NormalColor(), clLime) << "a state colour never becomes the normal colour";
  tree->SetEnabled(true);
  EXPECT_EQ(tree->Color(), clLime);
}

TEST_F(FramedTreeViewTest, HotTrackingMakesTheFrameVisibleOnAllSides) {
  TKxCustomTreeView* tree = Tree();
  tree->SetFrameSides(TSides{sdTop});
  tree->ChangeFrameHotTrack(true);
  EXPECT_TRUE(tree->FrameVisible());
  EXPECT_EQ(tree->FrameSides(), kAllSides);
}

TEST_F(FramedTreeViewTest, TheSettersRecreateRepaintOrRefreshAsEachNeeds) {
  TKxCustomTreeView* tree = Tree();
  tree->AddChild(nullptr, "one");
  // The item height reaches the window; 0 and below mean the system's height.
  const LRESULT system = SendMessageW(tree->Handle(), TVM_GETITEMHEIGHT, 0, 0);
  tree->ChangeItemHeight(32);
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETITEMHEIGHT, 0, 0), 32);
  tree->ChangeItemHeight(-4);
  EXPECT_EQ(tree->ItemHeight(), 0);
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETITEMHEIGHT, 0, 0), system);
  // Showing the frame makes the window again, with the fixed item height.
  tree->ChangeItemHeight(32);
  const HWND before = tree->Handle();
  tree->ChangeFrameVisible(true);
  EXPECT_TRUE(tree->FrameVisible());
  EXPECT_NE(tree->Handle(), before);
  EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETITEMHEIGHT, 0, 0), 32);
  const HWND shown = tree->Handle();
  tree->ChangeFrameVisible(true);
  EXPECT_EQ(tree->Handle(), shown) << "no change, no new window";
  // The disabled colour shows at once only while the tree is disabled; the focus colour only
  // while it has the focus.
  tree->ChangeDisabledColor(clAqua);
  EXPECT_EQ(tree->Color(), clWindow);
  tree->SetEnabled(false);
  EXPECT_EQ(tree->Color(), clAqua);
  tree->ChangeDisabledColor(clYellow);
  EXPECT_EQ(tree->Color(), clYellow);
  tree->SetEnabled(true);
  tree->ChangeFocusColor(clLime);
  EXPECT_EQ(tree->Color(), clWindow);
  tree->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(tree->Color(), clLime);
  tree->ChangeFocusColor(clFuchsia);
  EXPECT_EQ(tree->Color(), clFuchsia);
}

TEST_F(FramedTreeViewTest, TheCustomFrameIsPaintedOnlyWhenVisibleAndNotThemed) {
  TKxCustomTreeView* tree = Tree();
  const TColor red = static_cast<TColor>(0x0000FF);
  tree->SetFrameColor(red);
  TDibSurface dib(tree->Width(), tree->Height(), RGB(0, 255, 0));
  auto corner = [&] {
    dib.Fill(RGB(0, 255, 0));
    tree->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dib.DC()), PRF_NONCLIENT);
    return dib.Pixel(0, 0);
  };
  EXPECT_NE(corner(), ColorToRGB(red)) << "FrameVisible is off";
  tree->ChangeFrameVisible(true);
  tree->ChangeFramingPreference(fpCustomFraming);
  EXPECT_EQ(corner(), ColorToRGB(red));
  EXPECT_EQ(dib.Pixel(tree->Width() - 1, tree->Height() - 1), ColorToRGB(red));
  // Themed framing with themes on leaves the frame to the theme.
  SetKxVisualStylesQuery([] { return true; });
  tree->ChangeFramingPreference(fpXPThemes);
  EXPECT_TRUE(tree->UsesThemedFrame());
  EXPECT_NE(corner(), ColorToRGB(red));
}

TEST_F(FramedTreeViewTest, AnUnfocusedTreeFramesItsSelectionInTheSelectionPen) {
  TKxCustomTreeView* tree = Tree();
  tree->SetHideSelection(false);
  tree->AddChild(nullptr, "first");
  TTreeNode* second = tree->AddChild(nullptr, "second node");
  tree->SetSelected(second);
  TPen pen;
  pen.SetColor(static_cast<TColor>(0x0000FF));
  tree->SetSelectionFramePen(&pen);
  const TRect r = second->DisplayRect(true);
  ASSERT_GT(r.Width(), 4);
  TDibSurface dib(tree->ClientWidth(), tree->ClientHeight(), RGB(0, 255, 0));
  auto framed = [&] {
    dib.Fill(RGB(0, 255, 0));
    tree->PaintTo(dib.DC(), 0, 0);
    int n = 0;
    auto red = [&](int x, int y) { return dib.Pixel(x, y) == RGB(255, 0, 0) ? 1 : 0; };
    for (int x = r.Left; x < r.Right; ++x) n += red(x, r.Top) + red(x, r.Bottom - 1);
    for (int y = r.Top; y < r.Bottom; ++y) n += red(r.Left, y) + red(r.Right - 1, y);
    return n;
  };
  EXPECT_EQ(framed(), 2 * r.Width() + 2 * r.Height()) << "the whole rectangle round the caption";
  tree->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(framed(), 0) << "the focused tree shows its own selection";
}

TEST_F(FramedTreeViewTest, AWheelOverATreeThatFitsScrollsNothing) {
  TKxCustomTreeView* tree = Tree();
  tree->AddChild(nullptr, "only");
  const int before = GetScrollPos(tree->Handle(), SB_VERT);
  SendMessageW(tree->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), before);
  for (int i = 0; i < 60; ++i) tree->AddChild(nullptr, "node " + std::to_string(i));
  SendMessageW(tree->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_GT(GetScrollPos(tree->Handle(), SB_VERT), before);
}

TEST_F(FramedTreeViewTest, TheOneScreenWheelSettingScrollsAPage) {
  TKxCustomTreeView* tree = Tree();
  for (int i = 0; i < 80; ++i) tree->AddChild(nullptr, "node " + std::to_string(i));
  SetWheelScrollLinesQuery([] { return static_cast<UINT>(WHEEL_PAGESCROLL); });
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(tree->Handle(), SB_VERT, &info));
  const int page = static_cast<int>(info.nPage);
  ASSERT_GT(page, 1);
  SendMessageW(tree->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), page);
  SendMessageW(tree->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_EQ(GetScrollPos(tree->Handle(), SB_VERT), 0);
}

TEST_F(FramedTreeViewTest, SelectingOnExpandAndAutomaticExpansionExcludeEachOther) {
  TKxCustomTreeView* tree = Tree();
  TTreeNode* first = tree->AddChild(nullptr, "first");
  tree->AddChild(first, "inside");
  TTreeNode* second = tree->AddChild(nullptr, "second");
  tree->AddChild(second, "inside too");
  tree->SetSelected(first);
  tree->SetAutoExpand(true);
  tree->SetSelectModeFlag(true);
  EXPECT_FALSE(tree->AutoExpand());
  second->Expand(false);
  EXPECT_EQ(tree->Selected(), second) << "expanding selects";
  tree->SetAutoExpand(true);
  EXPECT_FALSE(tree->SelectModeFlag()) << "switching automatic expansion on ends it";
  first->Expand(false);
  EXPECT_EQ(tree->Selected(), second);
  tree->SetAutoExpand(false);
  EXPECT_FALSE(tree->SelectModeFlag()) << "it does not come back by itself";
}

TEST_F(FramedTreeViewTest, NodeMenusComeForTheNodeOrTheSelectionAndTheButtonUpStillReachesTheControl) {
  TKxCustomTreeView* tree = Tree();
  TTreeNode* first = tree->AddChild(nullptr, "first");
  TTreeNode* second = tree->AddChild(nullptr, "second");
  auto* menu = new TRecordingMenu(form_);
  tree->SetPopupMenu(menu);
  tree->SetSelected(second);
  std::vector<std::string> asked;
  TComponent* replacement = menu;
  tree->OnNodeContextMenu = [&](TObject*, TTreeNode* node, TPoint&, TComponent*& m) {
    asked.push_back(node->Text());
    m = replacement;
  };
  int ups = 0;
  tree->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) { ups += button == mbRight; };
  auto rightClickAt = [&](TPoint client) {
    const TPoint screen = tree->ClientToScreen(client);
    SetCursorPos(screen.X, screen.Y);
    NMHDR note{tree->Handle(), 0, static_cast<UINT>(NM_RCLICK)};
    tree->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
    tree->Perform(WM_RBUTTONUP, 0, MAKELPARAM(client.X, client.Y));
  };
  const TRect onFirst = first->DisplayRect(true);
  struct TCase {
    TPoint at;
    TComponent* menu;
    const char* node;
    size_t shown;
  } cases[] = {
      {TPoint{(onFirst.Left + onFirst.Right) / 2, (onFirst.Top + onFirst.Bottom) / 2}, menu, "first", 1},
      {TPoint{150, 180}, menu, "second", 2},  // empty space: the selected node's menu
      {TPoint{150, 180}, nullptr, "second", 2},  // the event took the menu away
  };
  int expectedUps = 0;
  for (const TCase& c : cases) {
    replacement = c.menu;
    rightClickAt(c.at);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), c.node);
    EXPECT_EQ(menu->shown.size(), c.shown) << c.node;
    EXPECT_EQ(ups, ++expectedUps) << "the button-up after a handled menu still fires OnMouseUp";
  }
  // The keyboard asks for the selected node's menu at the centre of its text.
  replacement = menu;
  tree->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree->Handle()), MAKELPARAM(-1, -1));
  ASSERT_EQ(menu->shown.size(), 3u);
  const TRect text = second->DisplayRect(true);
  EXPECT_EQ(menu->shown.back(), tree->ClientToScreen(TPoint{(text.Left + text.Right) / 2, (text.Top + text.Bottom) / 2}));
  ParkMousePointer();
}

TEST(ShortCutTexts, NamesAndParsesKeys) {
  struct Case {
    TShortCut value;
    const char* text;
  } cases[] = {
      {VK_F2, "F2"},           {VK_DELETE, "Del"},         {static_cast<TShortCut>('C' | scCtrl), "Ctrl+C"},
      {VK_BACK, "BkSp"},       {VK_NUMPAD7, "7"},         {static_cast<TShortCut>(VK_DELETE | scShift), "Shift+Del"},
      {static_cast<TShortCut>('A' | scShift | scCtrl | scAlt), "Shift+Ctrl+Alt+A"}, {0xBA, "#186"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortCutKeyText(c.value), c.text) << c.text;
  EXPECT_EQ(TextToShortCut("^v"), static_cast<TShortCut>('V' | scCtrl));
  EXPECT_EQ(TextToShortCut("alt+shift+f5"), static_cast<TShortCut>(VK_F5 | scAlt | scShift));
  EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), 0);
  EXPECT_EQ(ShellDefaultKey(skSelectAll).ShortCut, static_cast<TShortCut>('A' | scCtrl));
  EXPECT_EQ(ShellDefaultKey(skRename).ShortCut, VK_F2);
}

}  // namespace
