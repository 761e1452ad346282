// The shell tree's published properties written to a layout and read back (the base folder as
// its binary "Pidl" entry, the change delay, frame settings, options; defaults not written), and
// the tree view's change delay: a selection reports its change only when the delay's timer ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/KxShellList.h"
#include "shell/KxShellTree.h"
#include "tests/toolkit/FormFixture.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/ui/Form.h"

namespace {

std::string LayoutText(TComponent* component) {
  TMemoryStream layout;
  layout.WriteComponent(component);
  const std::string binary(static_cast<const char*>(layout.Memory()), static_cast<size_t>(layout.Size()));
  return ObjectBinaryToText(binary);
}

class ShellTreePropertiesTest : public ShellFolderTest {};

TEST_F(ShellTreePropertiesTest, ALayoutKeepsTheBaseFolderDelayFrameAndOptions) {
  MakeFolder("Base");
  TIdListPtr base = ListOf(root_ + "Base");
  TKxShellTree source(nullptr);
  source.SetName("Tree");
  source.BaseFolder()->SetIdList(base.get());
  source.SetChangeDelay(250);
  source.ChangeItemHeight(20);
  source.SetAutoExpand(true);
  source.SetFrameColor(clRed);
  source.SetFrameStyle(fsLowered);
  source.ChangeFocusColor(clAqua);
  source.ChangeOptions(kDefaultShellTreeOptions - TKxShellTreeOptions{stoDynamicRefresh, stoOleDrag});
  const std::string text = LayoutText(&source);
  for (const char* entry : {"BaseFolder.Pidl = {", "ChangeDelay = 250", "ItemHeight = 20", "AutoExpand = True",
                            "FrameColor = clRed", "FrameStyle = fsLowered", "FocusColor = clAqua", "Options = ["})
    EXPECT_NE(text.find(entry), std::string::npos) << entry << " in\n" << text;
  EXPECT_EQ(text.find("FrameHotStyle"), std::string::npos) << "a default is not written";

  TMemoryStream layout;
  layout.WriteComponent(&source);
  layout.SetPosition(0);
  TKxShellTree target(nullptr);
  layout.ReadComponent(&target);
  EXPECT_TRUE(SameText(target.BaseFolder()->PathName(), root_ + "Base"));
  EXPECT_EQ(target.ChangeDelay(), 250);
  EXPECT_EQ(target.ItemHeight(), 20);
  EXPECT_TRUE(target.AutoExpand());
  EXPECT_EQ(target.FrameColor(), clRed);
  EXPECT_EQ(target.FrameStyle(), fsLowered);
  EXPECT_EQ(target.FocusColor(), clAqua);
  EXPECT_EQ(target.Options(), source.Options());
  // A focus colour with the RGB of Color is not written.
  source.ChangeFocusColor(static_cast<TColor>(ColorToRGB(source.Color())));
  EXPECT_EQ(LayoutText(&source).find("FocusColor"), std::string::npos);
}

TEST_F(ShellTreePropertiesTest, ADefaultTreeWritesNoneOfItsOwnEntries) {
  TKxShellTree plain(nullptr);
  plain.SetName("Plain");
  const std::string text = LayoutText(&plain);
  for (const char* entry : {"Pidl", "ChangeDelay", "ItemHeight", "Options", "Frame", "AutoExpand"})
    EXPECT_EQ(text.find(entry), std::string::npos) << entry << " in\n" << text;
}

TEST_F(ShellTreePropertiesTest, TheLinkedShellListIsReadBackFromALayout) {
  RegisterClasses({&TKxShellTree::StaticClass(), &TKxShellList::StaticClass()});
  TForm source(nullptr);
  source.SetName("Host");
  auto* tree = new TKxShellTree(&source);
  tree->SetName("Folders");
  tree->SetParent(&source);
  tree->ChangeOptions({});
  auto* list = new TKxShellList(&source);
  list->SetName("Files");
  list->SetParent(&source);
  list->SetOptions({});
  // The list is made after the tree: the reference is resolved once both are read.
  tree->ChangeShellList(list);
  const std::string text = LayoutText(&source);
  EXPECT_NE(text.find("ShellList = Files"), std::string::npos) << text;

  TMemoryStream layout;
  layout.WriteComponent(&source);
  layout.SetPosition(0);
  TForm target(nullptr);
  layout.ReadComponent(&target);
  auto* readTree = dynamic_cast<TKxShellTree*>(target.FindComponent("Folders"));
  auto* readList = dynamic_cast<TKxShellList*>(target.FindComponent("Files"));
  ASSERT_NE(readTree, nullptr) << text;
  ASSERT_NE(readList, nullptr) << text;
  EXPECT_EQ(readTree->ShellList(), static_cast<IKxShellTreeListLink*>(readList));
  EXPECT_EQ(readList->ShellTree(), readTree) << "the list knows the tree that drives it";

  tree->ChangeShellList(nullptr);
  EXPECT_EQ(LayoutText(&source).find("ShellList ="), std::string::npos) << "no link, no entry";
  // A freed list ends the link it had.
  delete readList;
  EXPECT_EQ(readTree->ShellList(), nullptr);
}

TEST_F(ShellTreePropertiesTest, OlderFrameEntriesAreReadByTheTreeAndTheList) {
  struct Case {
    const char* name;
    bool flat;           // "FrameFlat" written with this value
    const char* focus;   // "FrameFocusStyle" identifier, or nil
    bool hotTrack;
    TFrameStyle style;
    TFrameStyle hotStyle;
  } cases[] = {
      {"flat", true, nullptr, true, fsStatus, fsLowered},
      {"not flat", false, nullptr, false, fsFlat, fsFlatBold},
      {"focus style", false, "fsRaised", false, fsFlat, fsRaised},
      {"flat, then a focus style", true, "fsBump", true, fsStatus, fsBump},
  };
  auto layout = [](const char* className, const Case& c, TStream& stream) {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr(className);
    writer.WriteStr("Old");
    writer.WriteStr("FrameFlat");
    writer.WriteBoolean(c.flat);
    if (c.focus) {
      writer.WriteStr("FrameFocusStyle");
      writer.WriteIdent(c.focus);
    }
    writer.WriteStr("FrameFlatStyle");  // read and dropped
    writer.WriteIdent("fsGroove");
    writer.WriteListEnd();
    writer.WriteListEnd();
  };
  // The tree and the list read the same entries the same way.
  const auto check = [&](const char* className, auto& control, const Case& c) {
    SCOPED_TRACE(className);
    TMemoryStream stream;
    layout(className, c, stream);
    stream.SetPosition(0);
    TReader reader(stream);
    reader.ReadRootComponent(&control);
    EXPECT_EQ(control.FrameHotTrack(), c.hotTrack) << c.name;
    EXPECT_EQ(control.FrameStyle(), c.style) << c.name;
    EXPECT_EQ(control.FrameHotStyle(), c.hotStyle) << c.name;
    EXPECT_FALSE(control.FrameVisible()) << c.name << ": the entry sets hot tracking alone";
  };
  for (const Case& c : cases) {
    {
      TKxShellTree tree(nullptr);
      check("TKxShellTree", tree, c);
    }
    {
      TKxShellList list(nullptr);
      check("TKxShellList", list, c);
    }
  }
}

TEST_F(ShellTreePropertiesTest, TheTreesOwnDragStartIsOnForOleDragsOrAutomaticDragMode) {
  struct TCase {
    bool oleDrag;
    TDragMode mode;
    bool enabled;
  } cases[] = {{false, dmManual, false}, {true, dmManual, true}, {false, dmAutomatic, true}, {true, dmAutomatic, true}};
  auto disabled = [](TKxShellTree& tree) {
    return (GetWindowLongPtrW(tree.Handle(), GWL_STYLE) & TVS_DISABLEDRAGDROP) != 0;
  };
  for (const TCase& c : cases) {
    TForm form(nullptr);
    auto* tree = new TKxShellTree(&form);
    tree->SetParent(&form);
    tree->SetDragMode(c.mode);
    tree->ChangeOptions(c.oleDrag ? TKxShellTreeOptions{stoOleDrag} : TKxShellTreeOptions{});
    EXPECT_EQ(disabled(*tree), !c.enabled) << "made: " << c.oleDrag << c.mode;
    // Switching OLE dragging off and on again keeps to the same rule.
    tree->ChangeOptions(TKxShellTreeOptions{});
    EXPECT_EQ(disabled(*tree), c.mode != dmAutomatic) << "off: " << c.oleDrag << c.mode;
    tree->ChangeOptions(TKxShellTreeOptions{stoOleDrag});
    EXPECT_FALSE(disabled(*tree)) << "on: " << c.oleDrag << c.mode;
  }
}

class TreeChangeDelayTest : public FormFixture {};

TEST_F(TreeChangeDelayTest, TheChangeWaitsForTheTimerAndReportsWhereTheSelectionStopped) {
  auto* tree = Add<TKxCustomTreeView>(10, 10, 200, 200);
  tree->HandleNeeded();
  TTreeNode* a = tree->AddChild(nullptr, "a");
  TTreeNode* b = tree->AddChild(nullptr, "b");
  std::vector<std::string> changes;
  tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node ? node->Text() : "(none)"); };
  tree->SetSelected(a);
  EXPECT_EQ(changes, std::vector<std::string>{"a"}) << "no delay: at once";
  tree->SetChangeDelay(300);
  tree->SetSelected(b);
  tree->SetSelected(a);
  tree->SetSelected(b);
  EXPECT_EQ(changes.size(), 1u) << "waiting";
  SendMessageW(tree->Handle(), WM_TIMER, TCustomTreeView::kChangeTimerId, 0);
  EXPECT_EQ(changes, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
