// Buttons as the dialogs use them: a modal dialog closes with the result of the button that
// was clicked, Enter clicks the default button and Esc the cancel button; check boxes and
// radio buttons toggle and fire OnClick on a click.
#include "FormFixture.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/Edit.h"

namespace {

class ButtonTest : public FormFixture {};

class ModalDialog : public testing::Test {
 protected:
  void SetUp() override {
    dialog_ = new TForm(nullptr);
    dialog_->SetBounds(50, 50, 300, 200);
    ok_ = new TButton(dialog_);
    ok_->SetParent(dialog_);
    ok_->SetCaption("OK");
    ok_->SetModalResult(mrOk);
    ok_->SetDefault(true);
    ok_->SetBounds(10, 100, 75, 25);
    cancel_ = new TButton(dialog_);
    cancel_->SetParent(dialog_);
    cancel_->SetCaption("Cancel");
    cancel_->SetModalResult(mrCancel);
    cancel_->SetCancel(true);
    cancel_->SetBounds(100, 100, 75, 25);
    dialog_->HandleNeeded();
    ok_->HandleNeeded();
    cancel_->HandleNeeded();
  }
  void TearDown() override { dialog_->Free(); }
  TForm* dialog_ = nullptr;
  TButton* ok_ = nullptr;
  TButton* cancel_ = nullptr;
};

TEST_F(ModalDialog, ClickedButtonGivesTheModalResult) {
  int okClicks = 0;
  ok_->OnClick = [&](TObject*) { ++okClicks; };
  PostMessageW(ok_->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog_->ShowModal(), mrOk);
  EXPECT_EQ(okClicks, 1);
  PostMessageW(cancel_->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog_->ShowModal(), mrCancel);
  EXPECT_EQ(okClicks, 1);
}

TEST_F(ModalDialog, EscapeClicksCancelAndEnterClicksTheActiveButton) {
  // The dialog keys the form passes to its controls while the dialog runs.
  auto* edit = new TEdit(dialog_);
  edit->SetParent(dialog_);
  dialog_->SetActiveControl(edit);
  PostMessageW(dialog_->Handle(), CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(dialog_->ShowModal(), mrOk) << "an edit focused: the Default button";
  dialog_->SetActiveControl(edit);
  PostMessageW(dialog_->Handle(), CM_DIALOGKEY, VK_ESCAPE, 0);
  EXPECT_EQ(dialog_->ShowModal(), mrCancel);
  dialog_->SetActiveControl(cancel_);
  PostMessageW(dialog_->Handle(), CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(dialog_->ShowModal(), mrCancel) << "a focused button is the active one";
}

TEST_F(ModalDialog, ButtonWithoutModalResultKeepsTheDialogOpen) {
  auto* apply = new TButton(dialog_);
  apply->SetParent(dialog_);
  int applies = 0;
  apply->OnClick = [&](TObject*) { ++applies; };
  PostMessageW(apply->Handle(), BM_CLICK, 0, 0);
  PostMessageW(cancel_->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog_->ShowModal(), mrCancel);
  EXPECT_EQ(applies, 1);
}

TEST_F(ButtonTest, CheckBoxTogglesOnClickAndFiresOnClick) {
  auto* box = Add<TCheckBox>(10, 10, 120, 17);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(clicks, 2);
  box->SetAllowGrayed(true);
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(box->State(), cbGrayed);
}

TEST_F(ButtonTest, RadioButtonsOfOneParentExcludeEachOther) {
  // The import choice: file mode selected at first, folder mode beside it.
  auto* fileMode = Add<TRadioButton>(10, 10, 150, 17);
  auto* folderMode = Add<TRadioButton>(10, 30, 150, 17);
  fileMode->SetChecked(true);
  int folderClicks = 0, fileClicks = 0;
  folderMode->OnClick = [&](TObject*) { ++folderClicks; };
  fileMode->OnClick = [&](TObject*) { ++fileClicks; };
  SendMessageW(folderMode->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(folderMode->Checked());
  EXPECT_FALSE(fileMode->Checked());
  EXPECT_EQ(SendMessageW(fileMode->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(folderClicks, 1);
  EXPECT_EQ(fileClicks, 0) << "being unchecked is no click";
  SendMessageW(folderMode->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(folderClicks, 1) << "clicking the checked one changes nothing";
}

}  // namespace
