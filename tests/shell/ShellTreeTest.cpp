// The shell tree on a fixture folder: lazy levels, hidden items and files only when asked,
// selection of a path, a remembered folder that is gone, refreshes after changes (and only
// once after a deferral), renames and new folders on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/ChangeHandlerThread.h"
#include "shell/KxDeviceChangeHandler.h"
#include "shell/KxShellTree.h"
#include "shell/KxShellUtils.h"
#include "tests/controls/DibSurface.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Timer.h"

#include <commctrl.h>
#include <dbt.h>

namespace {

// Opens the deferral for tests.
class TTestShellTree : public TKxShellTree {
 public:
  using TKxShellTree::TKxShellTree;
  using TKxCustomShellTree::BeginDeferral;
  using TKxCustomShellTree::EndDeferral;
};

bool Exists(const std::string& path) {
  return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ChildTexts(TTreeNode* node) {
  std::vector<std::string> texts;
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling()) texts.push_back(child->Text());
  std::sort(texts.begin(), texts.end());
  return texts;
}

TTreeNode* Child(TTreeNode* node, const std::string& text) {
  for (TTreeNode* child = node->GetFirstChild(); child; child = child->GetNextSibling())
    if (child->Text() == text) return child;
  return nullptr;
}

// Fires a timer as its interval running out would.
void Fire(TTimer* timer) {
  ASSERT_TRUE(timer->Enabled());
  SendMessageW(timer->Handle(), WM_TIMER, 1, 0);
}

class ShellTreeTest : public ShellFolderTest {
 protected:
  void SetUp() override {
    ShellFolderTest::SetUp();
    MakeFolder("A");
    MakeFolder("A\\A1");
    MakeFolder("B");
    MakeFolder("H");
    SetFileAttributesW(Utf8ToWide(root_ + "H").c_str(), FILE_ATTRIBUTE_HIDDEN);
    MakeFile("one.txt", 10);
    MakeFile("two.txt", 1025);
    MakeFile("three.bin", 0);
    form_ = new TForm(nullptr);
    form_->SetBounds(20, 20, 400, 500);
    form_->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    form_->Free();
    Application->ProcessMessages();
    ShellFolderTest::TearDown();
  }

  // A tree rooted at the fixture (or the desktop), filled.
  TTestShellTree* MakeTree(TKxShellTreeOptions options, bool fixtureBase = true) {
    auto* tree = new TTestShellTree(form_);
    tree->SetParent(form_);
    tree->SetBounds(0, 0, 380, 460);
    tree->ChangeOptions(options - TKxShellTreeOptions{stoAutoFill, stoDynamicRefresh});
    tree->FolderCreationWait = nullptr;
    if (fixtureBase) {
      TIdListPtr base = ListOf(root_);
      tree->BaseFolder()->SetIdList(base.get());
    }
    tree->HandleNeeded();
    tree->FillTree();
    Application->ProcessMessages();
    return tree;
  }

  std::string Dir() const { return root_.substr(0, root_.size() - 1); }

  TForm* form_ = nullptr;
  const TKxShellTreeOptions plain_ = {stoDefaultKeyHandling};
};

TEST_F(ShellTreeTest, FillsLevelsLazilyAndListsHiddenItemsAndFilesOnlyWhenAsked) {
  struct Case {
    const char* name;
    TKxShellTreeOptions options;
    std::vector<std::string> children;
  } cases[] = {
      {"folders", {stoDefaultKeyHandling}, {"A", "B"}},
      {"hidden", {stoDefaultKeyHandling, stoShowHidden}, {"A", "B", "H"}},
      {"files", {stoDefaultKeyHandling, stoIncludeNonFolders}, {"A", "B", "one.txt", "three.bin", "two.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTestShellTree* tree = MakeTree(c.options);
    TTreeNode* root = tree->GetFirstNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetNextSibling(), nullptr);
    EXPECT_EQ(ChildTexts(root), c.children);
    TTreeNode* a = Child(root, "A");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->HasChildren());
    EXPECT_FALSE(a->HasChildNodes()) << "a level is filled on its first expansion";
    a->Expand(false);
    EXPECT_EQ(ChildTexts(a), std::vector<std::string>{"A1"});
    tree->Free();
  }
}

// A 16 x 16 state image: a red 8 x 8 square in the middle, the border masked out. Its list's
// own background is blue, as a list shared with other controls may have it.
HIMAGELIST BlueBackedStateImages() {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1);
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, image);
  RECT all{0, 0, 16, 16};
  RECT middle{4, 4, 12, 12};
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, black);
  FillRect(dc, &middle, red);
  SelectObject(dc, mask);
  FillRect(dc, &all, white);  // masked out
  FillRect(dc, &middle, black);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(red);
  // State image 0 is never drawn; the node uses index 1.
  ImageList_Add(list, image, mask);
  ImageList_Add(list, image, mask);
  DeleteObject(image);
  DeleteObject(mask);
  ImageList_SetBkColor(list, RGB(0, 0, 255));
  return list;
}

TEST_F(ShellTreeTest, StateImagesPaintOnTheTreesColourAndTakeRoomBeforeTheIcon) {
  TTestShellTree* tree = MakeTree(plain_);
  const TColor colour = static_cast<TColor>(0x40C0F0);
  tree->SetColor(colour);
  TTreeNode* a = Child(tree->GetFirstNode(), "A");
  ASSERT_NE(a, nullptr);
  const TRect before = a->DisplayRect(true);

  HIMAGELIST states = BlueBackedStateImages();
  tree->SetStateImages(states);
  TVITEMW item{};
  item.mask = TVIF_STATE;
  item.hItem = a->ItemId();
  item.stateMask = TVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(1);
  SendMessageW(tree->Handle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  const TRect after = a->DisplayRect(true);
  // The node's caption moves right by the state image's width; its row stays.
  EXPECT_EQ(after.Left - before.Left, 16);
  EXPECT_EQ(after.Top, before.Top);

  TDibSurface dib(tree->Width(), tree->Height(), RGB(0, 255, 0));
  tree->PaintTo(dib.DC(), 0, 0);
  int red = 0;
  int blue = 0;
  int ground = 0;
  for (int y = after.Top; y < after.Bottom; ++y)
    for (int x = 0; x < after.Left; ++x) {
      const COLORREF pixel = dib.Pixel(x, y);
      red += pixel == RGB(255, 0, 0);
      blue += pixel == RGB(0, 0, 255);
      ground += pixel == static_cast<COLORREF>(0x40C0F0);
    }
  EXPECT_EQ(red, 64) << "the state image's square is drawn before the caption";
  EXPECT_EQ(blue, 0) << "its masked border shows the tree's colour, not the list's";
  EXPECT_GT(ground, 16 * 16 - 64);
  EXPECT_EQ(ImageList_GetBkColor(states), RGB(0, 0, 255)) << "the list's own colour is back after painting";
  tree->SetStateImages(nullptr);
  ImageList_Destroy(states);
}

// Whether a window is a registered drop target: registering another target is refused then.
bool IsDropTarget(HWND window) {
  TRecordingDropTarget probe;
  const HRESULT hr = RegisterDragDrop(window, &probe);
  if (hr == S_OK) RevokeDragDrop(window);
  return hr == DRAGDROP_E_ALREADYREGISTERED;
}

TEST_F(ShellTreeTest, ChangingTheDropOptionRegistersOrRevokesTheWindowsDropTarget) {
  TTestShellTree* tree = MakeTree(plain_);
  EXPECT_FALSE(IsDropTarget(tree->Handle()));
  tree->ChangeOptions(tree->Options() + TKxShellTreeOptions{stoOleDrop});
  EXPECT_TRUE(IsDropTarget(tree->Handle()));
  tree->ChangeOptions(tree->Options() - TKxShellTreeOptions{stoOleDrop});
  EXPECT_FALSE(IsDropTarget(tree->Handle()));
}

TEST_F(ShellTreeTest, AnEmptyFolderLosesItsButtonOnceExpanded) {
  TTestShellTree* tree = MakeTree(plain_);
  TTreeNode* b = Child(tree->GetFirstNode(), "B");
  ASSERT_NE(b, nullptr);
  b->Expand(false);
  EXPECT_FALSE(b->HasChildNodes());
  EXPECT_FALSE(b->HasChildren());
}

TEST_F(ShellTreeTest, SelectingAPathFromTheDesktopGivesExactlyThatPath) {
  TTestShellTree* tree = MakeTree(plain_, false);
  TTreeNode* root = tree->GetFirstNode();
  ASSERT_NE(root, nullptr);
  TIdListPtr target = ListOf(root_ + "A\\A1");
  tree->SelectIdList(target.get());
  EXPECT_EQ(tree->SelectedPathName(), root_ + "A\\A1");
  EXPECT_EQ(CompareIdLists(tree->SelectedFolder()->IdList(), target.get()), 0);
}

TEST_F(ShellTreeTest, AHiddenFolderIsAddedWhenSelectedEvenThoughItIsNotListed) {
  TTestShellTree* tree = MakeTree(plain_);
  TIdListPtr target = ListOf(root_ + "H");
  tree->SelectIdList(target.get());
  EXPECT_EQ(tree->SelectedPathName(), root_ + "H");
}

TEST_F(ShellTreeTest, ARememberedFolderDeletedSinceStopsAtItsParentWithoutAGhost) {
  TTestShellTree* tree = MakeTree(plain_);
  TIdListPtr target = ListOf(root_ + "A\\A1");
  tree->SelectedFolder()->SetIdList(target.get());
  EXPECT_EQ(tree->SelectedPathName(), root_ + "A\\A1");
  ASSERT_TRUE(RemoveDirectoryW(Utf8ToWide(root_ + "A\\A1").c_str()));
  tree->FillTree();
  EXPECT_EQ(tree->SelectedPathName(), root_ + "A");
  TTreeNode* a = Child(tree->GetFirstNode(), "A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(Child(a, "A1"), nullptr);
  EXPECT_EQ(tree->SelectedFolder()->PathName(), root_ + "A");
}

TEST_F(ShellTreeTest, ATargetOutsideTheBaseFolderSelectsTheRoot) {
  TTestShellTree* tree = MakeTree(plain_);
  TIdListPtr outside = ListOf("C:\\windows");
  tree->SelectIdList(outside.get());
  EXPECT_EQ(tree->Selected(), tree->GetFirstNode());
}

TEST_F(ShellTreeTest, ANewFolderShowsAfterTheChangeMessageAndTheTimer) {
  TTestShellTree* tree = MakeTree(plain_);
  TTreeNode* root = tree->GetFirstNode();
  MakeFolder("C");
  SendMessageW(tree->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  EXPECT_EQ(Child(root, "C"), nullptr) << "the refresh waits for the timer";
  Fire(tree->RefreshTimer());
  EXPECT_NE(Child(root, "C"), nullptr);
  EXPECT_FALSE(tree->RefreshTimer()->Enabled());
}

TEST_F(ShellTreeTest, ADriveArrivingOrLeavingValidatesOnceAndRefreshes) {
  TValidatedFolder computer;
  SetDrivesFolderBinder([&](IShellFolder*& folder) {
    folder = &computer;
    return S_OK;
  });
  TTestShellTree* tree = MakeTree(plain_);
  MakeFolder("Arrived");
  struct TCase {
    WPARAM event;
    int validations;
    bool refreshed;
  } cases[] = {{DBT_DEVICEQUERYREMOVE, 0, false}, {DBT_DEVICEARRIVAL, 1, true}, {DBT_DEVICEREMOVECOMPLETE, 2, true}};
  for (const TCase& c : cases) {
    if (c.event == DBT_DEVICEREMOVECOMPLETE) RemoveTree(root_ + "Arrived");
    TKxDeviceMessage message{WM_DEVICECHANGE, c.event, 0, 0};
    SharedDeviceChangeHandler().Dispatch(message);
    EXPECT_EQ(computer.validations, c.validations) << std::hex << c.event;
    EXPECT_FALSE(DriveValidationSuspended()) << "suspended only while the tree refreshes";
    const bool shown = Child(tree->GetFirstNode(), "Arrived") != nullptr;
    const bool onDisk = Exists(root_ + "Arrived");
    if (c.refreshed) {
      EXPECT_EQ(shown, onDisk) << std::hex << c.event;
    } else {
      EXPECT_FALSE(shown) << "no refresh for other device events";
    }
  }
  SetDrivesFolderBinder(nullptr);
}

TEST_F(ShellTreeTest, InAutomaticDragModeAPressStillSelectsTheNode) {
  TTestShellTree* tree = MakeTree(plain_);
  tree->SetDragMode(dmAutomatic);
  TTreeNode* b = Child(tree->GetFirstNode(), "B");
  ASSERT_NE(b, nullptr);
  ASSERT_NE(tree->Selected(), b);
  const TRect r = b->DisplayRect(true);
  const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  // The release waits in the queue, so the tree's own drag detection ends at once.
  PostMessageW(tree->Handle(), WM_LBUTTONUP, 0, at);
  SendMessageW(tree->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  Application->ProcessMessages();
  EXPECT_EQ(tree->Selected(), b);
  EXPECT_FALSE(tree->Dragging()) << "no drag without a move";
  EXPECT_EQ(tree->DragMode(), dmAutomatic);
  // A begin-drag notification of the tree starts the control's drag.
  NMTREEVIEWW note{};
  note.hdr = {tree->Handle(), 0, static_cast<UINT>(TVN_BEGINDRAGW)};
  note.itemNew.lParam = reinterpret_cast<LPARAM>(b);
  tree->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
  EXPECT_TRUE(tree->Dragging());
  tree->EndDrag(false);
}

TEST_F(ShellTreeTest, RemovingTheSelectedFolderSelectsItsParent) {
  TTestShellTree* tree = MakeTree(plain_);
  TIdListPtr target = ListOf(root_ + "A\\A1");
  tree->SelectIdList(target.get());
  ASSERT_EQ(tree->SelectedPathName(), root_ + "A\\A1");
  ASSERT_TRUE(RemoveDirectoryW(Utf8ToWide(root_ + "A\\A1").c_str()));
  tree->RefreshTree();
  EXPECT_EQ(tree->SelectedPathName(), root_ + "A");
  EXPECT_EQ(tree->SelectedFolder()->PathName(), root_ + "A");
}

TEST_F(ShellTreeTest, AChangeDuringADeferralRefreshesExactlyOnceAfterwards) {
  TTestShellTree* tree = MakeTree(plain_);
  int refreshes = 0;
  tree->OnFillStart = [&](TObject*) { ++refreshes; };
  TTreeNode* root = tree->GetFirstNode();
  tree->BeginDeferral();
  MakeFolder("C");
  SendMessageW(tree->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  SendMessageW(tree->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  tree->RefreshTree();
  EXPECT_FALSE(tree->RefreshTimer()->Enabled());
  EXPECT_EQ(refreshes, 0);
  EXPECT_EQ(Child(root, "C"), nullptr) << "nodes in use during a drag stay";
  tree->EndDeferral();
  EXPECT_EQ(refreshes, 1);
  EXPECT_NE(Child(root, "C"), nullptr);
  tree->EndDeferral();
  EXPECT_EQ(refreshes, 1);
}

TEST_F(ShellTreeTest, F2RenamesTheFolderOnDisk) {
  TTestShellTree* tree = MakeTree(plain_);
  TTreeNode* b = Child(tree->GetFirstNode(), "B");
  ASSERT_NE(b, nullptr);
  tree->SetSelected(b);
  SetForegroundWindow(form_->Handle());
  tree->SetFocus();
  // Key, edit and end without handling other messages between, so that no other window of
  // the display can take the focus (and end the editing) meanwhile.
  SendMessageW(tree->Handle(), WM_KEYDOWN, VK_F2, 0);
  HWND edit = tree->EditHandle();
  ASSERT_NE(edit, nullptr) << "F2 starts label editing";
  SetWindowTextW(edit, L"Renamed");
  SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(Exists(root_ + "Renamed"));
  EXPECT_FALSE(Exists(root_ + "B"));
  ASSERT_NE(tree->Selected(), nullptr);
  EXPECT_EQ(tree->Selected()->Text(), "Renamed");
  EXPECT_EQ(tree->SelectedPathName(), root_ + "Renamed");
}

TEST_F(ShellTreeTest, ARenameTheShellRefusesKeepsTheOldName) {
  TTestShellTree* tree = MakeTree(plain_);
  TTreeNode* b = Child(tree->GetFirstNode(), "B");
  ASSERT_NE(b, nullptr);
  SetForegroundWindow(form_->Handle());
  ASSERT_TRUE(b->EditText());
  ASSERT_NE(tree->EditHandle(), nullptr);
  SetWindowTextW(tree->EditHandle(), L"A");  // taken by a sibling
  SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
  Application->ProcessMessages();
  EXPECT_TRUE(Exists(root_ + "B"));
  EXPECT_EQ(b->Text(), "B");
}

TEST_F(ShellTreeTest, NewFoldersGetFreeNamesAndTheSecondIsLeftInLabelEditing) {
  TTestShellTree* tree = MakeTree(plain_);
  TTreeNode* b = Child(tree->GetFirstNode(), "B");
  tree->SetSelected(b);
  ASSERT_TRUE(tree->CreateFolderUnderSelection());
  SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
  ASSERT_TRUE(tree->CreateFolderUnderSelection());
  EXPECT_TRUE(Exists(root_ + "B\\New Folder"));
  EXPECT_TRUE(Exists(root_ + "B\\New Folder (2)"));
  EXPECT_EQ(ChildTexts(b), (std::vector<std::string>{"New Folder", "New Folder (2)"}));
  HWND edit = tree->EditHandle();
  ASSERT_NE(edit, nullptr);
  wchar_t text[64] = {};
  GetWindowTextW(edit, text, 64);
  EXPECT_EQ(WideToUtf8(text), "New Folder (2)");
  SendMessageW(tree->Handle(), TVM_ENDEDITLABELNOW, TRUE, 0);
}

TEST_F(ShellTreeTest, AFailedNewFolderLeavesChangeMessagesHeard) {
  TTestShellTree* tree = MakeTree(plain_, false);
  PIDL drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives)));
  TIdListPtr hold(drives);
  tree->SelectIdList(drives);
  ASSERT_EQ(tree->SelectedPathName(), "");
  EXPECT_FALSE(tree->CreateFolderUnderSelection()) << "the drive list has no path";
  SendMessageW(tree->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  EXPECT_TRUE(tree->RefreshTimer()->Enabled()) << "the next change is not swallowed";
}

// A linked list that only records what the tree tells it.
class RecordingListLink : public IKxShellTreeListLink {
 public:
  int followed = 0;
  void SetShellTree(TKxCustomShellTree*) override {}
  void FollowLocator(TKxShellLocator*) override {}
  void FollowNode(TTreeNode*) override { ++followed; }
  void FlushPendingRefresh(bool) override {}
  bool ExpandLastLevel() const override { return false; }
};

TEST_F(ShellTreeTest, APendingSelectionAndAPendingRefreshDoNotCancelEachOther) {
  TTestShellTree* tree = MakeTree(plain_);
  RecordingListLink link;
  tree->ChangeShellList(&link);
  TTreeNode* root = tree->GetFirstNode();
  tree->SetSelected(Child(root, "B"));  // as keyboard travel: no quick selection
  EXPECT_TRUE(tree->SelectionTimer()->Enabled());
  EXPECT_EQ(link.followed, 0);
  SendMessageW(tree->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  EXPECT_TRUE(tree->SelectionTimer()->Enabled());
  EXPECT_TRUE(tree->RefreshTimer()->Enabled());
  Fire(tree->SelectionTimer());
  EXPECT_EQ(link.followed, 1);
  EXPECT_EQ(tree->SelectedFolder()->PathName(), root_ + "B");
  EXPECT_TRUE(tree->RefreshTimer()->Enabled());
  tree->ChangeShellList(nullptr);
}

TEST_F(ShellTreeTest, TheRootCannotBeRenamedAndVerbsOnItDoNothing) {
  TTestShellTree* tree = MakeTree(plain_, false);
  TTreeNode* root = tree->GetFirstNode();
  EXPECT_FALSE(tree->ShellData(root)->CanRename());
  EXPECT_EQ(tree->InvokeVerbOnNode(root, "delete"), 1);
}

}  // namespace
