// The history query dialog.
#include "app/Frmselect.h"

#include <memory>

#include "app/AppGlobals.h"
#include "app/DialogLayouts.h"
#include "app/HistoryQuery.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/ui/Application.h"
#include "controls/KxButton.h"
#include "toolkit/ui/DateTimePicker.h"
#include "toolkit/ui/Label.h"

namespace {

const char kLayout[] = R"(object Frmselect: TFrmselect
  Left = 0
  Top = 0
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = '历史查询'
  ClientHeight = 150
  ClientWidth = 377
  Color = clBtnFace
  Position = poMainFormCenter
  OnCreate = FormCreate
  OnShow = FormShow
  object lbl1: TLabel
    Left = 16
    Top = 20
    Width = 80
    Height = 13
    Caption = '开始日期'
  end
  object lbl2: TLabel
    Left = 200
    Top = 20
    Width = 80
    Height = 13
    Caption = '开始时间'
  end
  object lbl3: TLabel
    Left = 16
    Top = 64
    Width = 80
    Height = 13
    Caption = '结束日期'
  end
  object lbl4: TLabel
    Left = 200
    Top = 64
    Width = 80
    Height = 13
    Caption = '结束时间'
  end
  object dtp1: TDateTimePicker
    Left = 16
    Top = 36
    Width = 161
    Height = 21
    Format = 'yyyy-MM-dd'
    TabOrder = 0
  end
  object dtp2: TDateTimePicker
    Left = 200
    Top = 36
    Width = 161
    Height = 21
    Format = 'HH:mm:ss'
    Kind = dtkTime
    TabOrder = 1
  end
  object dtp3: TDateTimePicker
    Left = 16
    Top = 80
    Width = 161
    Height = 21
    Format = 'yyyy-MM-dd'
    TabOrder = 2
  end
  object dtp4: TDateTimePicker
    Left = 200
    Top = 80
    Width = 161
    Height = 21
    Format = 'HH:mm:ss'
    Kind = dtkTime
    TabOrder = 3
  end
  object btn1: TKxButton
    Left = 272
    Top = 114
    Width = 89
    Height = 27
    Caption = '查询'
    Default = True
    ModalResult = 1
    TabOrder = 4
    OnClick = btn1Click
  end
end
)";

}  // namespace

const TClassInfo& TFrmselect::StaticClass() {
  static const TClassInfo info = TClassBuilder<TFrmselect>("TFrmselect", &TForm::StaticClass())
                                     .Method("FormCreate", &TFrmselect::FormCreate)
                                     .Method("FormShow", &TFrmselect::FormShow)
                                     .Method("btn1Click", &TFrmselect::btn1Click)
                                     .Build();
  return info;
}

TFrmselect::TFrmselect(TComponent* owner) : TForm(owner) {}

void TFrmselect::AfterConstruction() {
  ReadDialogLayout(this, std::string_view(kLayout, sizeof kLayout - 1));
  TForm::AfterConstruction();
}

void TFrmselect::FormCreate(TObject*) {
  Bind(lbl1, "lbl1");
  Bind(lbl2, "lbl2");
  Bind(lbl3, "lbl3");
  Bind(lbl4, "lbl4");
  Bind(dtp1, "dtp1");
  Bind(dtp2, "dtp2");
  Bind(dtp3, "dtp3");
  Bind(dtp4, "dtp4");
  Bind(btn1, "btn1");
  Q1 = new TZQuery(this);
  Q1->SetName("Q1");
}

void TFrmselect::LoadTimeRange() {
  TDateTime first = 0, last = 0;
  if (!LoadHistoryTimeRange(Q1, first, last)) {
    btn1->SetEnabled(false);
    return;
  }
  dtp1->SetDateTime(first);
  dtp2->SetDateTime(first);
  dtp3->SetDateTime(last);
  dtp4->SetDateTime(last);
}

void TFrmselect::FormShow(TObject*) {
  SetCaption("History queries");
  lbl1->SetCaption("Start date");
  lbl2->SetCaption("Start time");
  lbl3->SetCaption("End date");
  lbl4->SetCaption("End time");
  btn1->SetCaption("Inquire");
}

void TFrmselect::btn1Click(TObject*) {
  const std::string start = HistoryRangeText(dtp1->Date(), dtp2->Time());
  const std::string end = HistoryRangeText(dtp3->Date(), dtp4->Time());
  RunHistoryQuery(start, end, RebuildCurves, Q1, Grid);
}

bool HistoryQueryCommand(TStringGrid* grid,
                         std::function<bool(const std::string& start, const std::string& end)> rebuildCurves) {
  if (TestThreadRunning()) {
    Application->MessageBox("Stop the test before querying history.", "prompt", MB_ICONWARNING);
    return false;
  }
  RunMode = 2;
  std::unique_ptr<TFrmselect> dialog(new TFrmselect(Application));
  dialog->AfterConstruction();
  dialog->Grid = grid;
  dialog->RebuildCurves = std::move(rebuildCurves);
  dialog->LoadTimeRange();
  return dialog->ShowModal() == mrOk;
}
