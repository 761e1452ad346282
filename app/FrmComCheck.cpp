// The serial port choice dialog.
#include "app/FrmComCheck.h"

#include <memory>

#include "app/AppGlobals.h"
#include "app/DialogLayouts.h"
#include "app/SerialPort.h"
#include "app/SettingsWriters.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"
#include "controls/KxButton.h"
#include "toolkit/ui/ComboBox.h"
#include "toolkit/ui/Label.h"

namespace {

const char kLayout[] = R"(object FrmComCheck: TFrmComCheck
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '通讯串口选择'
  ClientHeight = 112
  ClientWidth = 321
  Color = clBtnFace
  Position = poMainFormCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object Show1: TLabel
    Left = 16
    Top = 24
    Width = 60
    Height = 13
    Caption = '串口：'
  end
  object cb1: TComboBox
    Left = 88
    Top = 20
    Width = 217
    Height = 21
    Style = csDropDownList
    TabOrder = 0
  end
  object btn1: TKxButton
    Left = 120
    Top = 72
    Width = 87
    Height = 27
    Caption = '确定'
    Default = True
    ModalResult = 1
    TabOrder = 1
    OnClick = btn1Click
  end
  object btn2: TKxButton
    Left = 218
    Top = 72
    Width = 87
    Height = 27
    Cancel = True
    Caption = '取消'
    ModalResult = 2
    TabOrder = 2
  end
end
)";

}  // namespace

const TClassInfo& TFrmComCheck::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFrmComCheck>("TFrmComCheck", &TForm::StaticClass())
                                     .Method("FormCreate", &TFrmComCheck::FormCreate)
                                     .Method("FormShow", &TFrmComCheck::FormShow)
                                     .Method("btn1Click", &TFrmComCheck::btn1Click)
                                     .Build();
  return info;
}

TFrmComCheck::TFrmComCheck(TComponent* owner) : TForm(owner) {}

void TFrmComCheck::AfterConstruction() {
  ReadDialogLayout(this, std::string_view(kLayout, sizeof kLayout - 1));
  TForm::AfterConstruction();
}

void TFrmComCheck::FormCreate(TObject*) {
  Bind(Show1, "Show1");
  Bind(cb1, "cb1");
  Bind(btn1, "btn1");
  Bind(btn2, "btn2");
}

void TFrmComCheck::LoadPorts() {
  cb1->Items()->Clear();
  for (const std::string& port : GetSerialPortList()) cb1->Items()->Add(port);
  cb1->Items()->Insert(0, "Automatic selection");
}

void TFrmComCheck::FormShow(TObject*) {
  int selected = -1;
  for (int i = 0; i < cb1->Items()->Count(); ++i) {
    if (SameText(cb1->Items()->Strings(i), ComPortName)) {
      selected = i;
      break;
    }
  }
  cb1->SetItemIndex(selected);
  SetCaption("Communication serial port selection");
  Show1->SetCaption("serial:");
  btn1->SetCaption("OK");
  btn2->SetCaption("Cancel");
}

void TFrmComCheck::btn1Click(TObject*) { SaveComPortSetting(cb1->Text()); }

void PortChoiceCommand() {
  std::unique_ptr<TFrmComCheck> dialog(new TFrmComCheck(Application));
  dialog->AfterConstruction();
  dialog->LoadPorts();
  dialog->ShowModal();
}
