// The company details dialog.
#include "app/FrmComp.h"

#include <memory>

#include "app/AppGlobals.h"
#include "app/DialogLayouts.h"
#include "app/SettingsWriters.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Application.h"
#include "controls/KxButton.h"
#include "controls/KxEdit.h"
#include "controls/KxLabel.h"

namespace {

const char kLayout[] = R"(object FrmComp: TFrmComp
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '报表设置'
  ClientHeight = 196
  ClientWidth = 433
  Color = clBtnFace
  Position = poMainFormCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object lbl1: TKxLabel
    Left = 16
    Top = 20
    Width = 110
    Height = 13
    Caption = '公司名称'
  end
  object lbl2: TKxLabel
    Left = 16
    Top = 52
    Width = 110
    Height = 13
    Caption = '公司地址'
  end
  object lbl3: TKxLabel
    Left = 16
    Top = 84
    Width = 110
    Height = 13
    Caption = '公司电话'
  end
  object lbl4: TKxLabel
    Left = 16
    Top = 116
    Width = 110
    Height = 13
    Caption = '公司网址'
  end
  object edt1: TKxEdit
    Left = 136
    Top = 16
    Width = 281
    Height = 21
    TabOrder = 0
  end
  object edt2: TKxEdit
    Left = 136
    Top = 48
    Width = 281
    Height = 21
    TabOrder = 1
  end
  object edt3: TKxEdit
    Left = 136
    Top = 80
    Width = 281
    Height = 21
    TabOrder = 2
  end
  object edt4: TKxEdit
    Left = 136
    Top = 112
    Width = 281
    Height = 21
    TabOrder = 3
  end
  object btn1: TKxButton
    Left = 232
    Top = 156
    Width = 87
    Height = 27
    Caption = '确定'
    Default = True
    ModalResult = 1
    TabOrder = 4
    OnClick = btn1Click
  end
  object btn2: TKxButton
    Left = 330
    Top = 156
    Width = 87
    Height = 27
    Cancel = True
    Caption = '取消'
    ModalResult = 2
    TabOrder = 5
  end
end
)";

}  // namespace

const TClassInfo& TFrmComp::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFrmComp>("TFrmComp", &TForm::StaticClass())
                                     .Method("FormCreate", &TFrmComp::FormCreate)
                                     .Method("FormShow", &TFrmComp::FormShow)
                                     .Method("btn1Click", &TFrmComp::btn1Click)
                                     .Build();
  return info;
}

TFrmComp::TFrmComp(TComponent* owner) : TForm(owner) {}

void TFrmComp::AfterConstruction() {
  ReadDialogLayout(this, std::string_view(kLayout, sizeof kLayout - 1));
  TForm::AfterConstruction();
}

void TFrmComp::FormCreate(TObject*) {
  Bind(lbl1, "lbl1");
  Bind(lbl2, "lbl2");
  Bind(lbl3, "lbl3");
  Bind(lbl4, "lbl4");
  Bind(edt1, "edt1");
  Bind(edt2, "edt2");
  Bind(edt3, "edt3");
  Bind(edt4, "edt4");
  Bind(btn1, "btn1");
  Bind(btn2, "btn2");
}

void TFrmComp::LoadFields() {
  edt1->SetText(CompanyName);
  edt2->SetText(CompanyAddress);
  edt3->SetText(CompanyPhone);
  edt4->SetText(CompanyWebsite);
}

void TFrmComp::FormShow(TObject*) {
  SetCaption("Report settings");
  lbl1->SetCaption("Company name");
  lbl2->SetCaption("Company address");
  lbl3->SetCaption("Company phone");
  lbl4->SetCaption("Company website");
  btn1->SetCaption("Ok");
  btn2->SetCaption("Cancel");
}

void TFrmComp::btn1Click(TObject*) {
  SaveCompanyInfo({edt1->Text(), edt2->Text(), edt3->Text(), edt4->Text()});
}

void CompanyDetailsCommand() {
  std::unique_ptr<TFrmComp> dialog(new TFrmComp(Application));
  dialog->AfterConstruction();
  dialog->LoadFields();
  dialog->ShowModal();
}
