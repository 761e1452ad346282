// A real OLE drag of a shell list item: the mouse (SendInput) presses on the item, moves away to
// start the drag, and a thread timer inside the drag's loop carries it to a test window whose
// drop target records what arrives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/KxShellList.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"

namespace {

class ShellListDragTest : public ShellFolderTest {
 protected:
  void TearDown() override {
    ParkMousePointer();
    ShellFolderTest::TearDown();
  }
};

TEST_F(ShellListDragTest, ADraggedItemDropsExactlyThatFileOnce) {
  MakeFile("dragged.txt", 10);
  MakeFile("stays.txt", 10);
  MakeFolder("Sub");
  auto* form = new TForm(nullptr);
  form->SetBounds(10, 10, 340, 300);
  auto* list = new TKxShellList(form);
  list->SetParent(form);
  list->SetBounds(0, 0, 320, 260);
  list->SetViewStyle(vsReport);
  list->SetOptions((list->Options() + TKxShellListOptions{sloOleDrag}) -
                   TKxShellListOptions{sloAutoFill, sloDynamicRefresh, sloOleDrop});
  form->Show();
  TIdListPtr folder = ListOf(root_);
  list->Folder()->SetIdList(folder.get());
  auto* receiver = new TForm(nullptr);
  receiver->SetBounds(420, 10, 200, 200);
  receiver->Show();
  TRecordingDropTarget target;
  ASSERT_EQ(RegisterDragDrop(receiver->Handle(), &target), S_OK);
  Application->ProcessMessages();

  TListItem* item = nullptr;
  for (int i = 0; i < list->ItemCount(); ++i)
    if (list->ShellData(list->Item(i))->DisplayName() == "dragged.txt") item = list->Item(i);
  ASSERT_NE(item, nullptr);
  item->SetSelected(true);
  item->SetFocused(true);
  const TRect r = item->DisplayRect(LVIR_LABEL);
  const TPoint start = list->ClientToScreen(TPoint{r.Left + 6, (r.Top + r.Bottom) / 2});
  const TPoint end = receiver->ClientToScreen(TPoint{100, 80});

  DragWithMouse(POINT{start.X, start.Y}, POINT{end.X, end.Y});

  EXPECT_EQ(target.drops, 1);
  EXPECT_EQ(target.paths, std::vector<std::wstring>{Utf8ToWide(root_ + "dragged.txt")});
  EXPECT_FALSE(list->RefreshDeferred()) << "the drag's deferral ended";
  RevokeDragDrop(receiver->Handle());
  receiver->Free();
  form->Free();
  Application->ProcessMessages();
}

}  // namespace
