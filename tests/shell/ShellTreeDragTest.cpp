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

class RecordingTarget : public IDropTarget {
 public:
  int drops = 0;
  std::vector<std::wstring> paths;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    ++drops;
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (SUCCEEDED(data->GetData(&format, &medium))) {
      auto drop = static_cast<HDROP>(medium.hGlobal);
      const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        wchar_t path[1024] = {};
        DragQueryFileW(drop, i, path, 1024);
        paths.emplace_back(path);
      }
      ReleaseStgMedium(&medium);
    }
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
};

void MoveMouseTo(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>(screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = static_cast<LONG>(screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void Button(DWORD flag) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  SendInput(1, &input, sizeof input);
}

// The drag's steps, one per timer tick inside the drag loop.
struct DragScript {
  POINT target{};
  int tick = 0;
  bool released = false;
};
DragScript* script = nullptr;

void CALLBACK DragTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!script || script->released) return;
  ++script->tick;
  if (script->tick == 2) MoveMouseTo(POINT{script->target.x - 4, script->target.y - 4});
  else if (script->tick == 4) MoveMouseTo(script->target);
  else if (script->tick == 6 || script->tick > 40) {
    Button(MOUSEEVENTF_LEFTUP);
    script->released = true;
  }
}

class ShellTreeDragTest : public ShellFolderTest {};

TEST_F(ShellTreeDragTest, ADraggedNodeDropsExactlyThatFolder) {
  MakeFolder("Dragged");
  MakeFolder("Other");
  auto* form = new TForm(nullptr);
  form->SetBounds(10, 10, 300, 300);
  auto* tree = new TKxShellTree(form);
  tree->SetParent(form);
  tree->SetBounds(0, 0, 280, 260);
  tree->SetOptions({stoOleDrag});
  TIdListPtr base = ListOf(root_);
  tree->BaseFolder()->SetIdList(base.get());
  form->Show();
  tree->FillTree();
  auto* receiver = new TForm(nullptr);
  receiver->SetBounds(400, 10, 200, 200);
  receiver->Show();
  RecordingTarget target;
  ASSERT_EQ(RegisterDragDrop(receiver->Handle(), &target), S_OK);
  Application->ProcessMessages();

  TTreeNode* node = nullptr;
  for (TTreeNode* child = tree->GetFirstNode()->GetFirstChild(); child; child = child->GetNextSibling())
    if (child->Text() == "Dragged") node = child;
  ASSERT_NE(node, nullptr);
  const TRect r = node->DisplayRect(true);
  const TPoint start = tree->ClientToScreen(TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  const TPoint end = receiver->ClientToScreen(TPoint{100, 80});

  DragScript steps;
  steps.target = POINT{end.X, end.Y};
  script = &steps;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, DragTick);
  MoveMouseTo(POINT{start.X, start.Y});
  Button(MOUSEEVENTF_LEFTDOWN);
  MoveMouseTo(POINT{start.X + 8, start.Y + 8});
  MoveMouseTo(POINT{start.X + 16, start.Y + 16});
  // The drag runs inside the tree's handling of these messages; the script ends it.
  for (int i = 0; i < 400 && !steps.released; ++i) {
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  if (!steps.released) Button(MOUSEEVENTF_LEFTUP);
  KillTimer(nullptr, timer);
  script = nullptr;
  Application->ProcessMessages();

  EXPECT_EQ(target.drops, 1);
  EXPECT_EQ(target.paths, std::vector<std::wstring>{Utf8ToWide(root_ + "Dragged")});
  EXPECT_EQ(tree->DropTargetNode(), nullptr) << (tree->DropTargetNode() ? tree->DropTargetNode()->Text() : std::string()) << " " << tree->GetFirstNode()->Text();
  RevokeDragDrop(receiver->Handle());
  receiver->Free();
  form->Free();
  Application->ProcessMessages();
}

}  // namespace
