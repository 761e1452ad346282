// The import choice dialog and the import command.
#include "app/FrmSelectFile.h"

#include <memory>

#include "shell/KxShellDialogs.h"

#include "app/AppGlobals.h"
#include "app/DialogLayouts.h"
#include "app/Database.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/Field.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "controls/KxButton.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/FileDialogs.h"
#include "toolkit/ui/Label.h"

namespace {

const char kLayout[] = R"(object FrmSelectFile: TFrmSelectFile
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '选择导入文件或目录'
  ClientHeight = 186
  ClientWidth = 521
  Color = clBtnFace
  Position = poScreenCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object rb1: TRadioButton
    Left = 16
    Top = 12
    Width = 250
    Height = 17
    Caption = '导入文件'
    Checked = True
    TabOrder = 0
    OnClick = rb1Click
  end
  object x_1: TEdit
    Left = 16
    Top = 34
    Width = 385
    Height = 21
    TabOrder = 1
  end
  object btn_1: TButton
    Left = 408
    Top = 32
    Width = 97
    Height = 25
    Caption = '选择文件'
    TabOrder = 2
    OnClick = btn_1Click
  end
  object Show1: TLabel
    Left = 16
    Top = 60
    Width = 385
    Height = 13
    AutoSize = False
    Caption = '文件名（xxxxxxxx_xxxxxxxx_data.bin）'
  end
  object rb2: TRadioButton
    Left = 16
    Top = 84
    Width = 250
    Height = 17
    Caption = '导入目录'
    TabOrder = 3
    OnClick = rb2Click
  end
  object x_2: TEdit
    Left = 16
    Top = 106
    Width = 385
    Height = 21
    Enabled = False
    TabOrder = 4
  end
  object btn_2: TButton
    Left = 408
    Top = 104
    Width = 97
    Height = 25
    Caption = '选择目录'
    Enabled = False
    TabOrder = 5
    OnClick = btn_2Click
  end
  object btn1: TKxButton
    Left = 312
    Top = 148
    Width = 89
    Height = 27
    Caption = '确定'
    Default = True
    ModalResult = 1
    TabOrder = 6
    OnClick = btn1Click
  end
  object btn2: TKxButton
    Left = 416
    Top = 148
    Width = 89
    Height = 27
    Cancel = True
    Caption = '取消'
    ModalResult = 2
    TabOrder = 7
  end
end
)";

void Prompt(const std::string& text) { Application->MessageBox(text, "prompt", MB_OK | MB_ICONWARNING); }

bool ChooseDataFile(std::string& path) {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("History file import");
  dialog.SetFilter("Bin file(*.bin)|*.bin");
  dialog.SetOptions(TOpenOptions{ofHideReadOnly, ofEnableSizing});
  if (!dialog.Execute()) return false;
  path = dialog.FileName();
  return true;
}

}  // namespace

const TClassInfo& TFrmSelectFile::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFrmSelectFile>("TFrmSelectFile", &TForm::StaticClass())
                                     .Method("FormCreate", &TFrmSelectFile::FormCreate)
                                     .Method("FormShow", &TFrmSelectFile::FormShow)
                                     .Method("rb1Click", &TFrmSelectFile::rb1Click)
                                     .Method("rb2Click", &TFrmSelectFile::rb2Click)
                                     .Method("btn_1Click", &TFrmSelectFile::btn_1Click)
                                     .Method("btn_2Click", &TFrmSelectFile::btn_2Click)
                                     .Method("btn1Click", &TFrmSelectFile::btn1Click)
                                     .Build();
  return info;
}

TFrmSelectFile::TFrmSelectFile(TComponent* owner)
    : TForm(owner), kx1(new TKxSelectFolderDialog(this)), ChooseFile(ChooseDataFile) {
  kx1->SetName("kx1");
}

void TFrmSelectFile::AfterConstruction() {
  ReadDialogLayout(this, std::string_view(kLayout, sizeof kLayout - 1));
  TForm::AfterConstruction();
}

void TFrmSelectFile::FormCreate(TObject*) {
  Bind(rb1, "rb1");
  Bind(rb2, "rb2");
  Bind(x_1, "x_1");
  Bind(x_2, "x_2");
  Bind(btn_1, "btn_1");
  Bind(btn_2, "btn_2");
  Bind(Show1, "Show1");
  Bind(btn1, "btn1");
  Bind(btn2, "btn2");
}

void TFrmSelectFile::FormShow(TObject*) {
  SetCaption("Select Import File or Directory");
  rb1->SetCaption("Import the file name");
  rb2->SetCaption("Import the file directory");
  Show1->SetCaption("filename（xxxxxxxx_xxxxxxxx_data.bin）");
  btn_1->SetCaption("Select the file");
  btn_2->SetCaption("Select Directory");
  btn1->SetCaption("Ok");
  btn2->SetCaption("Cancel");
}

THistoryImportMode TFrmSelectFile::Mode() const {
  return rb2->Checked() ? THistoryImportMode::Folder : THistoryImportMode::File;
}

std::string TFrmSelectFile::FileName() { return x_1->Text(); }
std::string TFrmSelectFile::Folder() { return x_2->Text(); }

void TFrmSelectFile::SelectMode(bool fileMode) {
  x_1->SetEnabled(fileMode);
  btn_1->SetEnabled(fileMode);
  x_2->SetEnabled(!fileMode);
  btn_2->SetEnabled(!fileMode);
}

void TFrmSelectFile::rb1Click(TObject*) { SelectMode(true); }
void TFrmSelectFile::rb2Click(TObject*) { SelectMode(false); }

void TFrmSelectFile::btn_1Click(TObject*) {
  std::string path;
  if (!ChooseFile || !ChooseFile(path)) return;
  if (IsChosenHistoryDataFile(path)) {
    x_1->SetText(path);
  } else {
    Prompt("File selection error(xxxx_xxxx_data.bin)");
  }
}

void TFrmSelectFile::btn_2Click(TObject*) {
  kx1->SetTitle("Select the directory");
  if (kx1->Execute()) x_2->SetText(kx1->SelectedPathName());
}

void TFrmSelectFile::btn1Click(TObject*) {
  if (Mode() == THistoryImportMode::File && Trim(x_1->Text()).empty()) {
    SetModalResult(mrNone);
    Prompt("The import file name is not selected.");
  } else if (Mode() == THistoryImportMode::Folder && Trim(x_2->Text()).empty()) {
    SetModalResult(mrNone);
    Prompt("No import catalog is selected.");
  }
}

void ImportHistoryCommand(const THistoryImportChooser& choose) {
  if (TestThreadRunning()) {
    Application->MessageBox("Stop the test before importing.", "prompt", MB_ICONWARNING);
    return;
  }
  {
    TZQuery query;
    if (!OpenSqlQuery("select count(id) as icnt from olddata", &query)) return;
    if (query.FieldByName("icnt")->AsInteger() > 0 &&
        Application->MessageBox("historical data is detected to already exist in the database, whether to clear "
                                "the historical data before importing",
                                "prompt", MB_YESNO | MB_ICONWARNING) == IDYES &&
        !ExecSqlCommand("delete from olddata"))
      return;
  }
  THistoryImportChoice choice;
  if (!choose(choice)) return;
  ImportHistory(choice.mode, choice.fileName, choice.folder);
}

bool ChooseHistoryImport(THistoryImportChoice& choice) {
  std::unique_ptr<TFrmSelectFile> dialog(new TFrmSelectFile(Application));
  dialog->AfterConstruction();
  if (dialog->ShowModal() != mrOk) return false;
  choice.mode = dialog->Mode();
  choice.fileName = dialog->FileName();
  choice.folder = dialog->Folder();
  return true;
}
