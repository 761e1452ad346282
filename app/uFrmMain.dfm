object FrmMain: TFrmMain
  Left = 0
  Top = 0
  Width = 1024
  Height = 700
  Caption = 'FrmMain'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -14
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = mm1
  OldCreateOrder = False
  Position = poDesktopCenter
  WindowState = wsMaximized
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 16
  object tlb1: TToolBar
    Left = 0
    Top = 0
    Width = 1016
    Height = 29
    Flat = True
    Images = ilTray
    ShowHint = True
    TabOrder = 0
    object TB1: TToolButton
      Action = act1
    end
    object tb2: TToolButton
      Action = act3
    end
    object tb3: TToolButton
      Action = act4
    end
    object tb4: TToolButton
      Action = act5
    end
  end
  object pnl3: TPanel
    Left = 0
    Top = 29
    Width = 1016
    Height = 45
    Align = alTop
    TabOrder = 1
    object lbl_show1: TLabel
      Left = 12
      Top = 14
      Width = 90
      Height = 16
      Caption = #27979#35797#38388#38548
    end
    object lbl_show2: TLabel
      Left = 520
      Top = 14
      Width = 40
      Height = 16
      Caption = #29366#24577
    end
    object lbl_show3: TKxLabel
      Left = 570
      Top = 14
      Width = 300
      Height = 16
    end
    object edt1: TEdit
      Left = 110
      Top = 10
      Width = 50
      Height = 24
      MaxLength = 3
      TabOrder = 0
      Text = '1'
      OnKeyPress = edt1KeyPress
    end
    object cbb_show1: TKxComboBox
      Left = 170
      Top = 10
      Width = 90
      Height = 24
      Style = csDropDownList
      FlatButtons = True
      FrameVisible = True
      TabOrder = 1
    end
    object btn_start: TKxButton
      Left = 280
      Top = 8
      Width = 100
      Height = 28
      Caption = #24320#22987
      HotTrack = True
      TabOrder = 2
      OnClick = btn_startClick
    end
    object btn_stop: TKxButton
      Left = 390
      Top = 8
      Width = 100
      Height = 28
      Caption = #20572#27490
      HotTrack = True
      Enabled = False
      TabOrder = 3
      OnClick = btn_stopClick
    end
  end
  object std1: TStringGrid
    Left = 0
    Top = 74
    Width = 325
    Height = 580
    Align = alLeft
    ColCount = 2
    DefaultColWidth = 150
    DefaultRowHeight = 25
    FixedCols = 0
    RowCount = 80
    FixedRows = 0
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goEditing]
    TabOrder = 2
    OnDrawCell = std1DrawCell
    OnMouseDown = std1MouseDown
    OnSelectCell = std1SelectCell
  end
  object spl1: TSplitter
    Left = 305
    Top = 74
    Width = 4
    Height = 580
  end
  object r1: TKxPageControl
    Left = 309
    Top = 74
    Width = 707
    Height = 580
    ActivePage = sht1
    Align = alClient
    TabHeight = 26
    TabOrder = 3
    OnChange = r1Change
    FixedDimension = 26
    object sht1: TKxTabSheet
      Caption = #25968#20540#22270
      object std3: TStringGrid
        Left = 0
        Top = 0
        Width = 699
        Height = 544
        Align = alClient
        ColCount = 8
        DefaultColWidth = 120
        FixedCols = 0
        RowCount = 24
        FixedRows = 0
        TabOrder = 0
        OnDrawCell = std2DrawCell
      end
    end
    object sht2: TKxTabSheet
      Caption = #25968#25454#34920
      ImageIndex = 1
      object std2: TStringGrid
        Left = 0
        Top = 0
        Width = 699
        Height = 544
        Align = alClient
        ColCount = 66
        DefaultColWidth = 80
        RowCount = 20
        TabOrder = 0
        OnDrawCell = std2DrawCell
      end
    end
    object sht3: TKxTabSheet
      Caption = #26354#32447#22270
      ImageIndex = 2
      object pnl1: TPanel
        Left = 0
        Top = 0
        Width = 699
        Height = 41
        Align = alTop
        TabOrder = 0
        object Show1: TLabel
          Left = 10
          Top = 12
          Width = 160
          Height = 16
        end
        object Show2: TLabel
          Left = 260
          Top = 12
          Width = 160
          Height = 16
        end
        object L_up: TEdit
          Left = 175
          Top = 8
          Width = 60
          Height = 24
          MaxLength = 5
          TabOrder = 0
          Text = '100'
          OnKeyPress = L_upKeyPress
        end
        object L_down: TEdit
          Left = 425
          Top = 8
          Width = 60
          Height = 24
          MaxLength = 5
          TabOrder = 1
          Text = '0'
          OnKeyPress = L_downKeyPress
        end
        object btn_1: TButton
          Left = 500
          Top = 6
          Width = 75
          Height = 28
          TabOrder = 2
          OnClick = btn_1Click
        end
      end
      object dbcht1: TDBChart
        Left = 0
        Top = 41
        Width = 699
        Height = 503
        Align = alClient
        TabOrder = 1
        View3D = False
        DefaultCanvas = 'TGDIPlusCanvas'
      end
    end
  end
  object stat1: TStatusBar
    Left = 0
    Top = 654
    Width = 1016
    Height = 19
    Panels = <
      item
        Width = 200
      end
      item
        Width = 200
      end
      item
        Width = 200
      end>
  end
  object mm1: TMainMenu
    object N1: TMenuItem
      Caption = #31995#32479
      object N11: TMenuItem
        Action = act8
      end
      object N13: TMenuItem
        Caption = '-'
      end
      object N12: TMenuItem
        Action = act1
      end
    end
    object N2: TMenuItem
      Caption = #26597#30475
      object N21: TMenuItem
        Caption = #25968#20540#22270
        OnClick = N21Click
      end
      object N24: TMenuItem
        Caption = '-'
      end
      object N22: TMenuItem
        Caption = #25968#25454#34920
        OnClick = N22Click
      end
      object N25: TMenuItem
        Caption = '-'
      end
      object N23: TMenuItem
        Caption = #26354#32447#22270
        OnClick = N23Click
      end
    end
    object N3: TMenuItem
      Caption = #23548#20986
      object N31: TMenuItem
        Action = act3
      end
      object N34: TMenuItem
        Caption = '-'
      end
      object N32: TMenuItem
        Action = act4
      end
      object N35: TMenuItem
        Caption = '-'
      end
      object N33: TMenuItem
        Action = act5
      end
    end
    object N4: TMenuItem
      Caption = #21382#21490
      object N41: TMenuItem
        Caption = #23548#20837#21382#21490
        OnClick = N41Click
      end
      object N46: TMenuItem
        Caption = '-'
      end
      object N42: TMenuItem
        Caption = #21382#21490#26597#35810
        OnClick = N42Click
      end
      object N47: TMenuItem
        Caption = '-'
      end
      object N43: TMenuItem
        Action = act6
      end
      object N48: TMenuItem
        Caption = '-'
      end
      object N44: TMenuItem
        Action = act7
      end
      object N49: TMenuItem
        Caption = '-'
      end
      object N45: TMenuItem
        Action = act9
      end
    end
    object N50: TMenuItem
      Caption = #36864#20986
      OnClick = N50Click
    end
  end
  object tmr1: TTimer
    OnTimer = tmr1Timer
  end
  object timer1: TTimer
    Enabled = False
    OnTimer = timer1Timer
  end
  object zqry1: TZQuery
  end
  object qry_out1: TZQuery
  end
  object ilTray: TImageList
  end
  object actlst1: TActionList
    Images = ilTray
    object act1: TAction
      Caption = #25253#34920#35774#32622
      OnExecute = act1Execute
    end
    object act3: TAction
      Caption = #23548#20986#27979#35797#25253#21578
      OnExecute = act3Execute
    end
    object act4: TAction
      Caption = #23548#20986#27979#35797#26126#32454
      OnExecute = act4Execute
    end
    object act5: TAction
      Caption = #26597#30475#23548#20986#25991#20214
      OnExecute = act5Execute
    end
    object act6: TAction
      Caption = #21382#21490#21024#38500
      OnExecute = act6Execute
    end
    object act7: TAction
      Caption = #25253#35686#26085#24535#36716#25442
      OnExecute = act7Execute
    end
    object act8: TAction
      Caption = #20018#21475#35774#32622
      OnExecute = act8Execute
    end
    object act9: TAction
      Caption = #21382#21490#25968#25454#23548#20986
      OnExecute = act9Execute
    end
  end
end
