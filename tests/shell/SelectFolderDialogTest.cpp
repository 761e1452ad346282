// The folder selection dialog and form: path shortening, the minimum size, options, the
// buttons' states, re-entry, placement after Cancel and OK, and the placement record.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ShellTestSupport.h"
#include "shell/KxShellDialogs.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Panel.h"

namespace {

TEST(ShortenPath, DropsLeadingDirectoriesThenTheDrive) {
  // Every character 7 pixels wide.
  const auto measure = [](const std::string& text) { return static_cast<int>(text.size()) * 7; };
  struct Case {
    const char* path;
    int width;
    const char* expected;
  } cases[] = {
      {"C:\\data\\history\\2024\\march", 1000, "C:\\data\\history\\2024\\march"},
      {"C:\\data\\history\\2024\\march", 7 * 26, "C:\\data\\history\\2024\\march"},
      {"C:\\data\\history\\2024\\march", 7 * 25, "C:\\...\\history\\2024\\march"},
      {"C:\\data\\history\\2024\\march", 7 * 24, "C:\\...\\2024\\march"},
      {"C:\\data\\history\\2024\\march", 7 * 16, "C:\\...\\march"},
      {"C:\\data\\history\\2024\\march", 7 * 11, "...\\march"},
      {"C:\\data\\history\\2024\\march", 7 * 3, "march"},
      {"\\\\server\\share\\folder", 7 * 18, "\\...\\share\\folder"},
      {"march", 7, "march"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShortenPathToWidth(c.path, measure, c.width), c.expected) << c.path << " in " << c.width;
}

TEST(ShortenPath, DropFirstDirectoryTable) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"\\", ""},
      {"\\a\\b\\", "\\...\\b\\"},
      {"\\...\\b\\", "\\...\\"},
      {"a\\b\\", "...\\b\\"},
      {"...\\b\\", "...\\"},
      {"a", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DropFirstDirectory(c.in), c.out) << c.in;
}

class SelectFolderDialogTest : public ShellFolderTest {
 protected:
  void SetUp() override {
    ShellFolderTest::SetUp();
    MakeFolder("Pick");
    dialog_ = new TKxSelectFolderDialog(nullptr);
  }
  void TearDown() override {
    delete dialog_;
    Application->ProcessMessages();
    ShellFolderTest::TearDown();
  }
  // Executes the dialog; `act` runs in the shown form and answers the modal result.
  bool Run(std::function<TModalResult(TKxSelectFolderForm&)> act) {
    dialog_->OnFormShow = [this, act](TObject*) {
      TKxSelectFolderForm* form = dialog_->Form();
      form->SetModalResult(act(*form));
      PostMessageW(form->Handle(), WM_NULL, 0, 0);
    };
    return dialog_->Execute();
  }

  TKxSelectFolderDialog* dialog_ = nullptr;
};

TEST_F(SelectFolderDialogTest, TheFormIsNoSmallerThanItsMinimum) {
  TKxSelectFolderForm form(nullptr);
  form.HandleNeeded();
  MINMAXINFO info{};
  SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 366);
  EXPECT_EQ(info.ptMinTrackSize.y, 340);
}

TEST_F(SelectFolderDialogTest, DefaultOptionsGiveMenusAndHiddenItemsButNoDragOrButtons) {
  TModalResult result = Run([](TKxSelectFolderForm& form) {
    const TKxShellTreeOptions options = form.ShellTree->Options();
    EXPECT_TRUE(options.Contains(stoContextMenus));
    EXPECT_TRUE(options.Contains(stoShowHidden));
    EXPECT_FALSE(options.Contains(stoOleDrag));
    EXPECT_FALSE(options.Contains(stoOleDrop));
    EXPECT_FALSE(options.Contains(stoIncludeNonFolders));
    EXPECT_FALSE(options.Contains(stoVirtualFolders));
    EXPECT_FALSE(form.btnNewFolder->Visible());
    EXPECT_FALSE(form.btnDeleteFolder->Visible());
    EXPECT_EQ(form.Caption(), "Browse for Folder");
    EXPECT_EQ(form.ShellTree->Top(), 8) << "no tool buttons above the tree";
    return mrCancel;
  });
  EXPECT_FALSE(result);
}

TEST_F(SelectFolderDialogTest, TheDeleteButtonWaitsForAFolderWithAPathBelowTheRoot) {
  dialog_->SetOptions(dialog_->Options() + TKxSelectFolderDialogOptions{sfdoCreateDeleteButtons});
  TIdListPtr pick = ListOf(root_ + "Pick");
  Run([&](TKxSelectFolderForm& form) {
    EXPECT_TRUE(form.btnDeleteFolder->Visible());
    EXPECT_EQ(form.ShellTree->Top(), form.btnNewFolder->Top() + form.btnNewFolder->Height() + 4);
    form.ShellTree->SelectIdList(nullptr);
    EXPECT_FALSE(form.btnDeleteFolder->Enabled()) << "the root";
    PIDL drives = nullptr;
    SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives);
    TIdListPtr hold(drives);
    form.ShellTree->SelectIdList(drives);
    EXPECT_FALSE(form.btnDeleteFolder->Enabled()) << "no path";
    EXPECT_FALSE(form.btnNewFolder->Enabled());
    form.ShellTree->SelectIdList(pick.get());
    EXPECT_TRUE(form.btnDeleteFolder->Enabled());
    EXPECT_TRUE(form.btnNewFolder->Enabled());
    EXPECT_NE(form.StatusText().find("Pick"), std::string::npos);
    return mrCancel;
  });
}

TEST_F(SelectFolderDialogTest, ToolButtonsShowTheirImagesByOptionAndTakeTheDialogsStyles) {
  struct Case {
    const char* name;
    TKxSelectFolderDialogOptions options;
    int newImage, deleteImage;
    bool flat;
  } cases[] = {
      {"both icons", kDefaultSelectFolderDialogOptions, 0, 2, true},
      {"no create icon", kDefaultSelectFolderDialogOptions - TKxSelectFolderDialogOptions{sfdoCreateFolderIcon}, -1, 2,
       false},
      {"no delete icon", kDefaultSelectFolderDialogOptions - TKxSelectFolderDialogOptions{sfdoDeleteFolderIcon}, 0, -1,
       false},
  };
  dialog_->SetToolBtnVisualStyle(vsGradient);
  dialog_->SetToolBtnGradientColorStyle(gcsCustom);
  dialog_->SetToolBtnSelectionColorStart(clRed);
  dialog_->SetToolBtnSelectionColorStop(clBlue);
  dialog_->SetToolBtnSelectionFrameColor(clGreen);
  for (const Case& c : cases) {
    dialog_->SetOptions(c.options + TKxSelectFolderDialogOptions{sfdoCreateDeleteButtons});
    Run([&](TKxSelectFolderForm& form) {
      for (TKxToolButton* button : {form.btnNewFolder, form.btnDeleteFolder}) {
        EXPECT_EQ(button->Images(), form.ImageList1) << c.name;
        EXPECT_TRUE(button->ShowCaption()) << c.name;
        EXPECT_EQ(button->Flat(), c.flat) << c.name;
        EXPECT_EQ(button->VisualStyle(), vsGradient) << c.name;
        EXPECT_EQ(button->GradientColorStyle(), gcsCustom) << c.name;
        EXPECT_EQ(button->SelectionColorStart(), clRed) << c.name;
        EXPECT_EQ(button->SelectionColorStop(), clBlue) << c.name;
        EXPECT_EQ(button->SelectionFrameColor(), clGreen) << c.name;
      }
      EXPECT_EQ(form.btnNewFolder->ImageIndex(), c.newImage) << c.name;
      EXPECT_EQ(form.btnNewFolder->DisabledIndex(), 1) << c.name;
      EXPECT_EQ(form.btnDeleteFolder->ImageIndex(), c.deleteImage) << c.name;
      EXPECT_EQ(form.btnDeleteFolder->DisabledIndex(), 3) << c.name;
      EXPECT_EQ(form.btnDeleteFolder->Caption(), "Delete") << c.name;
      EXPECT_EQ(form.KxStatusBar1->VisualStyle(), vsGradient) << c.name;
      return mrCancel;
    });
  }
}

TEST_F(SelectFolderDialogTest, TheStatusBarStaysBelowTheButtonsAndShowsThePath) {
  TIdListPtr pick = ListOf(root_ + "Pick");
  Run([&](TKxSelectFolderForm& form) {
    EXPECT_TRUE(form.KxStatusBar1->SimpleStatus());
    EXPECT_TRUE(form.ShellTree->ShowRoot());
    EXPECT_EQ(form.KxStatusBar1->Top(), form.ButtonPanel->Top() + form.ButtonPanel->Height());
    EXPECT_EQ(form.KxStatusBar1->Top() + form.KxStatusBar1->Height(), form.ClientHeight());
    form.ShellTree->SelectIdList(pick.get());
    EXPECT_EQ(form.KxStatusBar1->SimpleCaption(), form.StatusText());
    EXPECT_NE(form.StatusText().find("Pick"), std::string::npos);
    return mrCancel;
  });
}

TEST_F(SelectFolderDialogTest, OkTakesTheFolderAndCancelKeepsItButBothKeepThePlacement) {
  dialog_->SetTitle("Select the directory");
  TIdListPtr pick = ListOf(root_ + "Pick");
  EXPECT_TRUE(Run([&](TKxSelectFolderForm& form) {
    EXPECT_EQ(form.Caption(), "Select the directory");
    form.ShellTree->SelectIdList(pick.get());
    return mrOk;
  }));
  EXPECT_EQ(dialog_->SelectedPathName(), root_ + "Pick");
  EXPECT_FALSE(Run([&](TKxSelectFolderForm& form) {
    EXPECT_EQ(form.ShellTree->SelectedPathName(), root_ + "Pick") << "opens where the last choice ended";
    form.ShellTree->SelectIdList(nullptr);
    form.SetBounds(40, 50, 420, 380);
    return mrCancel;
  }));
  EXPECT_EQ(dialog_->SelectedPathName(), root_ + "Pick");
  EXPECT_EQ(dialog_->FormLeft(), 40);
  EXPECT_EQ(dialog_->FormTop(), 50);
  EXPECT_EQ(dialog_->FormWidth(), 420);
  EXPECT_EQ(dialog_->FormHeight(), 380);
}

TEST_F(SelectFolderDialogTest, OnlyADesignedPositionUsesTheStoredCorner) {
  dialog_->SetFormLeft(33);
  dialog_->SetFormTop(44);
  TPoint corner;
  auto remember = [&](TKxSelectFolderForm& form) {
    corner = TPoint{form.Left(), form.Top()};
    return mrCancel;
  };
  dialog_->SetFormPosition(poDesigned);
  Run(remember);
  EXPECT_EQ(corner.X, 33);
  EXPECT_EQ(corner.Y, 44);
  dialog_->SetFormLeft(33);
  dialog_->SetFormTop(44);
  dialog_->SetFormPosition(poScreenCenter);
  Run(remember);
  EXPECT_NE(corner.X, 33);
}

TEST_F(SelectFolderDialogTest, ASecondExecuteWhileRunningRaises) {
  std::string message;
  Run([&](TKxSelectFolderForm&) {
    try {
      dialog_->Execute();
    } catch (const Exception& e) {
      message = e.Message();
    }
    return mrCancel;
  });
  EXPECT_EQ(message, "TKxSelectFolderDialog already executing");
  EXPECT_EQ(dialog_->Form(), nullptr);
  EXPECT_FALSE(dialog_->Executing());
}

TEST(ShellDialogPlacement, IsEighteenBytesReadBackAsWritten) {
  TKxSelectFolderDialog source(nullptr);
  source.SetFormLeft(-5);
  source.SetFormTop(7);
  source.SetFormWidth(400);
  source.SetFormHeight(350);
  source.SetFormWindowState(wsMaximized);
  source.SetFormPosition(poDesigned);
  TMemoryStream stream;
  source.WritePlacement(stream);
  EXPECT_EQ(stream.Size(), 18);
  stream.SetPosition(0);
  TKxSelectFolderDialog copy(nullptr);
  copy.ReadPlacement(stream);
  EXPECT_EQ(copy.FormLeft(), -5);
  EXPECT_EQ(copy.FormTop(), 7);
  EXPECT_EQ(copy.FormWidth(), 400);
  EXPECT_EQ(copy.FormHeight(), 350);
  EXPECT_EQ(copy.FormWindowState(), wsMaximized);
  EXPECT_EQ(copy.FormPosition(), poDesigned);
}

}  // namespace
