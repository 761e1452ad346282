// The four dialogs driven as the user would (buttons pressed, choices made): their English
// texts, the import choice's refusals and mode switching, the settings files the company and
// port dialogs write, and the history query dialog's range and disabled "Inquire".
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/FrmComCheck.h"
#include "app/FrmComp.h"
#include "app/FrmSelectFile.h"
#include "app/Frmselect.h"
#include "controls/KxButton.h"
#include "controls/KxEdit.h"
#include "controls/KxLabel.h"
#include "shell/KxShellDialogs.h"
#include "shell/KxShellNames.h"
#include "tests/app/HistoryFixtures.h"
#include "tests/app/TestThreadPresent.h"
#include "tests/support/TempFolder.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/ComboBox.h"
#include "toolkit/ui/DateTimePicker.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/Grids.h"
#include "toolkit/ui/Label.h"

namespace {

template <class T>
std::unique_ptr<T> MakeDialog() {
  std::unique_ptr<T> dialog(new T(Application));
  dialog->AfterConstruction();
  return dialog;
}

class DialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder_.Path();
    // Every box of these dialogs carries the warning icon.
    Application->SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes_.push_back(text + "|" + caption + ((flags & MB_ICONWARNING) ? "|warning" : "|no icon"));
      return IDOK;
    });
  }
  void TearDown() override { Application->SetMessageBoxHook(nullptr); }
  std::string Raw(const std::string& name) {
    const fixtures::Bytes b = fixtures::ReadFileBytes(AppPath + name);
    return std::string(b.begin(), b.end());
  }
  // Presses the button as the user does: a left click in its middle.
  static void Press(TWinControl* button) {
    const LPARAM middle = MAKELPARAM(button->Width() / 2, button->Height() / 2);
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, middle);
  }
  // The window classes of a form's child windows, in the order the platform lists them.
  static BOOL CALLBACK AddClass(HWND child, LPARAM list) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    reinterpret_cast<std::vector<std::string>*>(list)->push_back(WideToUtf8(name));
    return TRUE;
  }
  static std::vector<std::string> ChildClasses(TWinControl* form) {
    std::vector<std::string> classes;
    EnumChildWindows(form->Handle(), AddClass, reinterpret_cast<LPARAM>(&classes));
    return classes;
  }
  static int CountOf(const std::vector<std::string>& list, const std::string& item) {
    return static_cast<int>(std::count(list.begin(), list.end(), item));
  }

  TempFolder folder_;
  std::vector<std::string> boxes_;
};

TEST_F(DialogsTest, ImportChoiceSwitchesModesAndRefusesEmptyChoices) {
  auto dialog = MakeDialog<TFrmSelectFile>();
  dialog->Show();
  EXPECT_EQ(dialog->Caption(), "Select Import File or Directory");
  EXPECT_EQ(dialog->rb1->Caption(), "Import the file name");
  EXPECT_EQ(dialog->btn_2->Caption(), "Select Directory");
  EXPECT_TRUE(dialog->rb1->Checked());
  EXPECT_TRUE(dialog->x_1->Enabled());
  EXPECT_FALSE(dialog->x_2->Enabled());
  EXPECT_FALSE(dialog->btn_2->Enabled());

  Press(dialog->btn1);
  EXPECT_EQ(dialog->ModalResult(), mrNone);
  dialog->rb2->SetChecked(true);
  dialog->rb2Click(dialog->rb2);
  EXPECT_FALSE(dialog->x_1->Enabled());
  EXPECT_FALSE(dialog->btn_1->Enabled());
  EXPECT_TRUE(dialog->x_2->Enabled());
  EXPECT_TRUE(dialog->btn_2->Enabled());
  dialog->x_2->SetText("   ");
  Press(dialog->btn1);
  EXPECT_EQ(dialog->ModalResult(), mrNone);
  EXPECT_EQ(boxes_, (std::vector<std::string>{"The import file name is not selected.|prompt|warning",
                                              "No import catalog is selected.|prompt|warning"}));

  dialog->x_2->SetText("C:\\history");
  Press(dialog->btn1);
  EXPECT_EQ(dialog->ModalResult(), mrOk);
  EXPECT_EQ(dialog->Mode(), THistoryImportMode::Folder);
}

// "Select Directory" runs the shell's folder selection form; the handler below acts in it as
// the operator would once it is up, then closes it with OK or Cancel.
class ImportFolderChoiceTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    fixture_ = "C:\\vk_import_pick_" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(fixture_).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(fixture_ + "\\inner").c_str(), nullptr));
    dialog_ = MakeDialog<TFrmSelectFile>();
    dialog_->Show();
    dialog_->rb2->SetChecked(true);
    dialog_->rb2Click(dialog_->rb2);
  }
  void TearDown() override {
    dialog_.reset();
    RemoveDirectoryW(Utf8ToWide(fixture_ + "\\inner").c_str());
    RemoveDirectoryW(Utf8ToWide(fixture_).c_str());
    DialogsTest::TearDown();
  }
  // Presses "Select Directory"; `act` runs in the shown form and answers the modal result.
  void ChooseWith(std::function<TModalResult(TKxSelectFolderForm&)> act) {
    dialog_->kx1->OnFormShow = [this, act](TObject*) {
      TKxSelectFolderForm* form = dialog_->kx1->Form();
      ASSERT_NE(form, nullptr);
      captions_.push_back(form->Caption());
      form->SetModalResult(act(*form));
      PostMessageW(form->Handle(), WM_NULL, 0, 0);
    };
    Press(dialog_->btn_2);
  }
  static void Select(TKxSelectFolderForm& form, PCIDL list) { form.ShellTree->SelectIdList(list); }

  std::string fixture_;
  std::unique_ptr<TFrmSelectFile> dialog_;
  std::vector<std::string> captions_;
};

TEST_F(ImportFolderChoiceTest, TheChosenFolderGoesIntoTheEditAndTheNextChoiceStartsThere) {
  PIDL list = nullptr;
  ASSERT_TRUE(SUCCEEDED(IdListFromPath(fixture_, list)));
  TIdListPtr target(list);
  ChooseWith([&](TKxSelectFolderForm& form) {
    Select(form, target.get());
    return mrOk;
  });
  EXPECT_EQ(dialog_->Folder(), fixture_);
  std::string openedAt;
  ChooseWith([&](TKxSelectFolderForm& form) {
    openedAt = form.ShellTree->SelectedPathName();
    return mrOk;
  });
  EXPECT_EQ(openedAt, fixture_);
  EXPECT_EQ(dialog_->Folder(), fixture_);
  EXPECT_EQ(captions_, (std::vector<std::string>{"Select the directory", "Select the directory"}));
  Press(dialog_->btn1);
  EXPECT_EQ(dialog_->ModalResult(), mrOk);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ImportFolderChoiceTest, CancelChangesNothing) {
  dialog_->x_2->SetText("C:\\before");
  PIDL list = nullptr;
  ASSERT_TRUE(SUCCEEDED(IdListFromPath(fixture_ + "\\inner", list)));
  TIdListPtr target(list);
  ChooseWith([&](TKxSelectFolderForm& form) {
    Select(form, target.get());
    return mrCancel;
  });
  EXPECT_EQ(dialog_->Folder(), "C:\\before");
  EXPECT_EQ(dialog_->kx1->SelectedFolder()->IdList(), nullptr) << "the dialog keeps its folder";
}

TEST_F(ImportFolderChoiceTest, TheDriveListHasNoPathSoOkIsRefused) {
  dialog_->x_2->SetText("C:\\before");
  PIDL drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives)));
  TIdListPtr target(drives);
  ChooseWith([&](TKxSelectFolderForm& form) {
    Select(form, target.get());
    return mrOk;
  });
  EXPECT_EQ(dialog_->Folder(), "");
  Press(dialog_->btn1);
  EXPECT_EQ(dialog_->ModalResult(), mrNone);
  EXPECT_EQ(boxes_, std::vector<std::string>{"No import catalog is selected.|prompt|warning"});
}

TEST_F(DialogsTest, ImportChoiceTakesOnlyDataFiles) {
  auto dialog = MakeDialog<TFrmSelectFile>();
  dialog->Show();
  std::string offered = "C:\\in\\A_DATA.BIN";
  dialog->ChooseFile = [&](std::string& path) {
    path = offered;
    return true;
  };
  Press(dialog->btn_1);
  EXPECT_EQ(dialog->FileName(), "");
  EXPECT_EQ(boxes_, std::vector<std::string>{"File selection error(xxxx_xxxx_data.bin)|prompt|warning"});
  offered = "C:\\in\\a_data.bin";
  Press(dialog->btn_1);
  EXPECT_EQ(dialog->FileName(), "C:\\in\\a_data.bin");
  Press(dialog->btn1);
  EXPECT_EQ(dialog->ModalResult(), mrOk);
  EXPECT_EQ(dialog->Mode(), THistoryImportMode::File);
}

TEST_F(DialogsTest, CompanyDetailsAreShownAndWritten) {
  CompanyName = "Acme";
  CompanyAddress = "1 Main St";
  CompanyPhone = "555";
  CompanyWebsite = "www.example.com";
  auto dialog = MakeDialog<TFrmComp>();
  dialog->LoadFields();
  dialog->Show();
  EXPECT_EQ(dialog->Caption(), "Report settings");
  EXPECT_EQ(dialog->lbl3->Caption(), "Company phone");
  EXPECT_EQ(dialog->btn1->Caption(), "Ok");
  EXPECT_EQ(dialog->edt4->Text(), "www.example.com");
  dialog->edt1->SetText(" Beta Co ");
  Press(dialog->btn1);
  EXPECT_EQ(dialog->ModalResult(), mrOk);
  EXPECT_EQ(Raw("company.ini"), " Beta Co \r\n1 Main St\r\n555\r\nwww.example.com\r\n");
  EXPECT_EQ(CompanyName, "Beta Co");
}

// Each dialog is made of the control set's buttons (and the company dialog of its edits and
// labels); the labels draw on the dialog and have no window of their own.
TEST_F(DialogsTest, DialogsAreBuiltOnTheControlSet) {
  auto company = MakeDialog<TFrmComp>();
  company->Show();
  const std::vector<std::string> companyClasses = ChildClasses(company.get());
  EXPECT_EQ(CountOf(companyClasses, "TKxButton"), 2);
  EXPECT_EQ(CountOf(companyClasses, "TKxEdit"), 4);
  for (TKxLabel* label : {company->lbl1, company->lbl2, company->lbl3, company->lbl4}) {
    EXPECT_EQ(label->ClassType().Name(), "TKxLabel");
  }
  EXPECT_FALSE(company->edt1->FrameVisible()) << "default settings";
  auto port = MakeDialog<TFrmComCheck>();
  port->Show();
  EXPECT_EQ(CountOf(ChildClasses(port.get()), "TKxButton"), 2);
  auto import = MakeDialog<TFrmSelectFile>();
  import->Show();
  EXPECT_EQ(CountOf(ChildClasses(import.get()), "TKxButton"), 2) << "OK and Cancel; the choosers stay";
}

TEST_F(DialogsTest, CompanyCancelWritesNothing) {
  CompanyName = "Acme";
  auto dialog = MakeDialog<TFrmComp>();
  dialog->LoadFields();
  dialog->Show();
  dialog->edt1->SetText("Other");
  Press(dialog->btn2);
  EXPECT_EQ(dialog->ModalResult(), mrCancel);
  EXPECT_EQ(CompanyName, "Acme");
  EXPECT_FALSE(FileExists(AppPath + "company.ini"));
}

TEST_F(DialogsTest, PortChoiceOffersAutomaticSelectionFirstAndWritesTheChoice) {
  ComPortName = "automatic SELECTION";
  auto dialog = MakeDialog<TFrmComCheck>();
  dialog->LoadPorts();
  dialog->Show();
  EXPECT_EQ(dialog->Caption(), "Communication serial port selection");
  EXPECT_EQ(dialog->Show1->Caption(), "serial:");
  ASSERT_GE(dialog->cb1->Items()->Count(), 1);
  EXPECT_EQ(dialog->cb1->Items()->Strings(0), "Automatic selection");
  EXPECT_EQ(dialog->cb1->ItemIndex(), 0);
  Press(dialog->btn1);
  EXPECT_EQ(Raw("com.set"), "Automatic selection\r\n");
  EXPECT_EQ(ComPortName, "Automatic selection");

  dialog.reset();
  ComPortName = "COM77";  // not listed: nothing selected
  auto again = MakeDialog<TFrmComCheck>();
  again->LoadPorts();
  again->Show();
  EXPECT_EQ(again->cb1->ItemIndex(), -1);
}

class QueryDialogTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    CreateDatabaseSchema();
    ConnectDatabase();
    ModuleCount = 1;
    RunMode = 0;
    grid_.SetColCount(10);
  }
  void TearDown() override {
    DbConnection->Disconnect();
    RunMode = 0;
    DialogsTest::TearDown();
  }
  TStringGrid grid_{nullptr};
};

TEST_F(QueryDialogTest, EmptyHistoryDisablesInquire) {
  auto dialog = MakeDialog<TFrmselect>();
  dialog->LoadTimeRange();
  dialog->Show();
  EXPECT_EQ(dialog->Caption(), "History queries");
  EXPECT_EQ(dialog->btn1->Caption(), "Inquire");
  EXPECT_FALSE(dialog->btn1->Enabled());
  EXPECT_EQ(CountOf(ChildClasses(dialog.get()), "TKxButton"), 1);
  Press(dialog->btn1);
  EXPECT_EQ(dialog->ModalResult(), mrNone) << "a disabled button takes no click";
}

TEST_F(QueryDialogTest, RangeOfTheHistoryIsOfferedAndInquireFillsTheGrid) {
  sqlite3* db = nullptr;
  sqlite3_open((AppPath + "VKT_DATA.db").c_str(), &db);
  sqlite3_exec(db,
               "insert into olddata(dtime, val1) values ('2024-03-05 08:00:00', 1), ('2024-03-05 09:00:00', 2),"
               "('2024-03-06 10:30:15', 3)",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  auto dialog = MakeDialog<TFrmselect>();
  dialog->Grid = &grid_;
  std::string curves;
  dialog->RebuildCurves = [&](const std::string& s, const std::string& e) {
    curves = s + "/" + e;
    return true;
  };
  dialog->LoadTimeRange();
  dialog->Show();
  EXPECT_TRUE(dialog->btn1->Enabled());
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd", dialog->dtp1->Date()), "2024-03-05");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", dialog->dtp4->Time()), "10:30:15");
  Press(dialog->btn1);
  EXPECT_EQ(dialog->ModalResult(), mrOk);
  EXPECT_EQ(curves, "2024-03-05 08:00:00/2024-03-06 10:30:15");
  EXPECT_EQ(grid_.RowCount(), 4);
  EXPECT_EQ(grid_.Cells(2, 3), "3");
}

// Refused from the start button on, also while the thread is still connecting (RunMode 0).
TEST_F(QueryDialogTest, RefusedWhileATestRuns) {
  for (int runMode : {0, 1}) {
    RunMode = runMode;
    TestThreadPresent thread;
    EXPECT_FALSE(HistoryQueryCommand(&grid_, nullptr));
    EXPECT_EQ(RunMode, runMode);
  }
  RunMode = 0;
  const std::string refusal = "Stop the test before querying history.|prompt|warning";
  EXPECT_EQ(boxes_, (std::vector<std::string>{refusal, refusal}));
}

}  // namespace
