// The folder selection window is made from its layout resource: its controls, their classes,
// parents and settings are the layout's; an edited layout shows in the form; without the
// resource the form is not made.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shell/KxShellFolderForm.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/FormLayout.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/Panel.h"

namespace {

std::unique_ptr<TKxSelectFolderForm> MakeForm() {
  auto form = std::make_unique<TKxSelectFolderForm>(nullptr);
  form->AfterConstruction();
  return form;
}

std::string LayoutText() {
  TResourceStream stream(nullptr, "TKXSELECTFOLDERFORM", MAKEINTRESOURCEW(10));
  std::string text(static_cast<size_t>(stream.Size()), '\0');
  stream.ReadBuffer(text.data(), stream.Size());
  return text;
}

void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

// Layouts are looked up in another module while alive.
struct LayoutModuleScope {
  explicit LayoutModuleScope(HMODULE module) { SetLayoutModule(module); }
  ~LayoutModuleScope() { SetLayoutModule(nullptr); }
};

TEST(SelectFolderFormLayout, ControlsAreTheLayoutsWithItsSettings) {
  std::unique_ptr<TKxSelectFolderForm> form = MakeForm();
  struct Case {
    TComponent* field;
    const char* name;
    const char* className;
    TComponent* parent;
  } cases[] = {
      {form->btnNewFolder, "btnNewFolder", "TKxToolButton", form.get()},
      {form->btnDeleteFolder, "btnDeleteFolder", "TKxToolButton", form.get()},
      {form->ShellTree, "ShellTree", "TKxShellTree", form.get()},
      {form->ButtonPanel, "ButtonPanel", "TPanel", form.get()},
      {form->btnOk, "btnOk", "TKxBitBtn", form->ButtonPanel},
      {form->btnCancel, "btnCancel", "TKxBitBtn", form->ButtonPanel},
      {form->KxStatusBar1, "KxStatusBar1", "TKxStatusBar", form.get()},
      {form->ImageList1, "ImageList1", "TImageList", nullptr},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.field, nullptr) << c.name;
    EXPECT_EQ(form->FindComponent(c.name), c.field) << c.name;
    EXPECT_EQ(c.field->ClassName(), c.className) << c.name;
    if (auto* control = dynamic_cast<TControl*>(c.field)) {
      EXPECT_EQ(control->Parent(), c.parent) << c.name;
    }
  }

  EXPECT_EQ(form->Width(), 383);
  EXPECT_EQ(form->Height(), 359);
  EXPECT_EQ(form->BorderIcons(), (TBorderIcons{biSystemMenu, biMaximize}));
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(form->Font()->Height(), -11);

  TKxToolButton* create = form->btnNewFolder;
  EXPECT_EQ(create->BoundsRect(), TRect(8, 4, 8 + 121, 4 + create->Height()));
  EXPECT_EQ(create->Images(), form->ImageList1);
  EXPECT_EQ(create->DisabledIndex(), 1);
  EXPECT_EQ(create->Caption(), "Create Folder");
  EXPECT_TRUE(create->ShowCaption());
  EXPECT_TRUE(create->ShowHint());
  EXPECT_FALSE(create->UseToolbarButtonSize());
  EXPECT_TRUE(static_cast<bool>(create->OnClick));
  TKxToolButton* remove = form->btnDeleteFolder;
  EXPECT_EQ(remove->BoundsRect(), TRect(137, 4, 137 + 92, 4 + remove->Height()));
  EXPECT_EQ(remove->DisabledIndex(), 3);
  EXPECT_EQ(remove->Caption(), "&Delete");
  EXPECT_TRUE(static_cast<bool>(remove->OnClick));

  EXPECT_EQ(form->ShellTree->Left(), 8);
  EXPECT_EQ(form->ShellTree->Indent(), 19);
  EXPECT_FALSE(form->ShellTree->HideSelection());
  EXPECT_EQ(form->ShellTree->DragMode(), dmAutomatic);
  EXPECT_TRUE(static_cast<bool>(form->ShellTree->OnChange));

  EXPECT_EQ(form->ButtonPanel->Align(), alBottom);
  EXPECT_EQ(form->ButtonPanel->Height(), 29);
  EXPECT_EQ(form->ButtonPanel->BevelOuter(), bvNone);
  EXPECT_TRUE(form->ButtonPanel->ParentColor());
  struct Button {
    TKxBitBtn* button;
    const char* caption;
    TModalResult result;
    bool isDefault;
    bool isCancel;
  } buttons[] = {{form->btnOk, "OK", mrOk, true, false}, {form->btnCancel, "Cancel", mrCancel, false, true}};
  for (const Button& b : buttons) {
    EXPECT_EQ(b.button->Top(), 2) << b.caption;
    EXPECT_EQ(b.button->Height(), 23) << b.caption;
    EXPECT_EQ(b.button->Caption(), b.caption);
    EXPECT_EQ(b.button->ModalResult(), b.result) << b.caption;
    EXPECT_EQ(b.button->Default(), b.isDefault) << b.caption;
    EXPECT_EQ(b.button->Cancel(), b.isCancel) << b.caption;
    EXPECT_TRUE(b.button->HotTrack()) << b.caption;
  }

  EXPECT_EQ(form->KxStatusBar1->Height(), 19);
  EXPECT_TRUE(form->KxStatusBar1->SimpleStatus());
  EXPECT_EQ(form->ImageList1->Count(), 4);
}

TEST(SelectFolderFormLayout, AnEditedLayoutShowsInTheForm) {
  std::string text = LayoutText();
  ReplaceOnce(text, "Left = 137", "Left = 150");
  ReplaceOnce(text, "Caption = '&Delete'", "Caption = 'Remove'");
  ReplaceOnce(text, "Indent = 19", "Indent = 23");

  auto form = std::make_unique<TKxSelectFolderForm>(nullptr);
  TMemoryStream layout;
  layout.WriteBuffer(text.data(), static_cast<long long>(text.size()));
  layout.SetPosition(0);
  ReadFormLayout(form.get(), layout);
  {
    // The resource must not be read over the edited layout.
    LayoutModuleScope scope(GetModuleHandleW(L"kernel32.dll"));
    form->AfterConstruction();
  }
  ASSERT_NE(form->btnDeleteFolder, nullptr);
  EXPECT_EQ(form->btnDeleteFolder->Left(), 150);
  EXPECT_EQ(form->btnDeleteFolder->Caption(), "Remove");
  EXPECT_EQ(form->ShellTree->Indent(), 23);
}

TEST(SelectFolderFormLayout, WithoutItsLayoutTheFormIsNotMade) {
  LayoutModuleScope scope(GetModuleHandleW(L"kernel32.dll"));
  auto form = std::make_unique<TKxSelectFolderForm>(nullptr);
  EXPECT_ANY_THROW(form->AfterConstruction());
  EXPECT_EQ(form->ShellTree, nullptr);
}

}  // namespace
