// A real OLE drag of a shell tree node: the mouse (SendInput) presses on the node, moves away
// to start the drag, and a thread timer running inside the drag's loop carries it to a test
// window whose drop target records what arrives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/KxShellTree.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"

namespace {

class ShellTreeDragTest : public ShellFolderTest {
 protected:
  void TearDown() override {
    ParkMousePointer();
    ShellFolderTest::TearDown();
  }
};

TEST_F(ShellTreeDragTest, ADraggedNodeDropsExactlyThatFolder) {
  MakeFolder("Dragged");
  MakeFolder("Other");
  auto* form = new TForm(nullptr);
  form->SetBounds(10, 10, 300, 300);
  auto* tree = new TKxShellTree(form);
  tree->SetParent(form);
  tree->SetBounds(0, 0, 280, 260);
  tree->ChangeOptions({stoOleDrag});
  TIdListPtr base = ListOf(root_);
  tree->BaseFolder()->SetIdList(base.get());
  form->Show();
  tree->FillTree();
  auto* receiver = new TForm(nullptr);
  receiver->SetBounds(400, 10, 200, 200);
  receiver->Show();
  TRecordingDropTarget target;
  ASSERT_EQ(RegisterDragDrop(receiver->Handle(), &target), S_OK);
  Application->ProcessMessages();

  TTreeNode* node = nullptr;
  for (TTreeNode* child = tree->GetFirstNode()->GetFirstChild(); child; child = child->GetNextSibling())
    if (child->Text() == "Dragged") node = child;
  ASSERT_NE(node, nullptr);
  const TRect r = node->DisplayRect(true);
  const TPoint start = tree->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  const TPoint end = receiver->ClientToScreen(TPoint{100, 80});

  DragWithMouse(POINT{start.X, start.Y}, POINT{end.X, end.Y});

  EXPECT_EQ(target.drops, 1);
  EXPECT_EQ(target.paths, std::vector<std::wstring>{Utf8ToWide(root_ + "Dragged")});
  EXPECT_EQ(tree->DropTargetNode(), nullptr) << (tree->DropTargetNode() ? tree->DropTargetNode()->Text() : std::string()) << " " << tree->GetFirstNode()->Text();
  RevokeDragDrop(receiver->Handle());
  receiver->Free();
  form->Free();
  Application->ProcessMessages();
}

}  // namespace
