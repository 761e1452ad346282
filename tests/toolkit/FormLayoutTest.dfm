object LayoutTestForm: TLayoutTestForm
  Left = 100
  Top = 80
  BorderStyle = bsSizeable
  Caption = 'Layout test'
  ClientHeight = 200
  ClientWidth = 320
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object pnlSide: TTestPanel
    Left = 0
    Top = 0
    Width = 120
    Height = 200
    Align = alLeft
    Caption = 'Side'
    Color = clNavy
    TabOrder = 0
  end
  object btnOk: TTestButton
    Left = 230
    Top = 165
    Width = 75
    Height = 25
    Anchors = [akRight, akBottom]
    Caption = 'OK'
    TabOrder = 1
    OnClick = btnOkClick
  end
  object lblInfo: TTestLabel
    Left = 130
    Top = 10
    Width = 60
    Height = 13
    Caption = 'Ready'
  end
  object tmrTick: TTimer
    Enabled = False
    Interval = 250
    OnTimer = tmrTickTimer
  end
end
