object KxSelectFolderForm: TKxSelectFolderForm
  Left = 0
  Top = 0
  Width = 383
  Height = 359
  BorderIcons = [biSystemMenu, biMaximize]
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  OnResize = FormResize
  object btnNewFolder: TKxToolButton
    Left = 8
    Top = 4
    Width = 121
    Height = 22
    Images = ImageList1
    ImageIndex = 0
    DisabledIndex = 1
    ShowCaption = True
    UseToolbarButtonSize = False
    UseToolbarShowCaption = False
    UseToolbarVisualStyle = False
    GradientColorStyle = gcsSystem
    VisualStyle = vsWinXP
    Caption = 'Create Folder'
    ShowHint = True
    OnClick = CreateBtnClick
  end
  object btnDeleteFolder: TKxToolButton
    Left = 137
    Top = 4
    Width = 92
    Height = 22
    Images = ImageList1
    ImageIndex = 2
    DisabledIndex = 3
    ShowCaption = True
    UseToolbarButtonSize = False
    UseToolbarShowCaption = False
    UseToolbarVisualStyle = False
    GradientColorStyle = gcsSystem
    VisualStyle = vsWinXP
    Caption = '&Delete'
    ShowHint = True
    OnClick = DeleteBtnClick
  end
  object ShellTree: TKxShellTree
    Left = 8
    Top = 32
    Width = 341
    Height = 241
    DragMode = dmAutomatic
    HideSelection = False
    Indent = 19
    Options = []
    TabOrder = 0
    OnChange = ShellTreeChange
  end
  object ButtonPanel: TPanel
    Left = 0
    Top = 296
    Width = 375
    Height = 29
    Align = alBottom
    BevelOuter = bvNone
    Caption = ''
    ParentColor = True
    object btnOk: TKxBitBtn
      Left = 12
      Top = 2
      Width = 75
      Height = 23
      Default = True
      ModalResult = 1
      Caption = 'OK'
      HotTrack = True
    end
    object btnCancel: TKxBitBtn
      Left = 92
      Top = 2
      Width = 75
      Height = 23
      Cancel = True
      ModalResult = 2
      Caption = 'Cancel'
      HotTrack = True
    end
  end
  object KxStatusBar1: TKxStatusBar
    Left = 0
    Top = 306
    Width = 375
    Height = 19
    Align = alNone
    SimpleStatus = True
    BorderWidth = 0
  end
  object ImageList1: TImageList
  end
end
