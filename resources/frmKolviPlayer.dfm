object frmKolviPlayer: TfrmKolviPlayer
  Left = 417
  Top = 229
  ClientWidth = 321
  ClientHeight = 394
  Caption = 'KolviPlayer'
  Color = 13325825
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Font.Style = []
  Font.Color = clWindowText
  OnDestroy = FormDestroy
  object btnPrev: TSpeedButton
    Left = 7
    Top = 8
    Width = 50
    Height = 25
    Caption = '이전곡'
    OnClick = btnPrevClick
  end
  object btnPlay: TSpeedButton
    Left = 57
    Top = 8
    Width = 50
    Height = 25
    Caption = '재생'
    OnClick = btnPlayClick
  end
  object btnPause: TSpeedButton
    Left = 107
    Top = 8
    Width = 50
    Height = 25
    Caption = '멈춤'
    OnClick = btnPauseClick
  end
  object btnStop: TSpeedButton
    Left = 157
    Top = 8
    Width = 50
    Height = 25
    Caption = '정지'
    OnClick = btnStopClick
  end
  object btnNext: TSpeedButton
    Left = 207
    Top = 8
    Width = 50
    Height = 25
    Caption = '다음곡'
    OnClick = btnNextClick
  end
  object btnOpen: TSpeedButton
    Left = 257
    Top = 8
    Width = 57
    Height = 25
    Caption = '파일열기'
    OnClick = btnOpenClick
  end
  object btnLyrics: TSpeedButton
    Left = 107
    Top = 356
    Width = 62
    Height = 25
    Anchors = [akLeft, akBottom]
    Caption = '가사보기'
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    Font.Style = [fsBold]
    Font.Color = clWindowText
    OnClick = btnLyricsClick
  end
  object btnAdd: TSpeedButton
    Left = 7
    Top = 356
    Width = 50
    Height = 25
    Anchors = [akLeft, akBottom]
    Caption = '추가'
    OnClick = btnAddClick
  end
  object btnDel: TSpeedButton
    Left = 57
    Top = 356
    Width = 50
    Height = 25
    Anchors = [akLeft, akBottom]
    Caption = '삭제'
    OnClick = btnDelClick
  end
  object Bevel1: TBevel
    Left = 8
    Top = 40
    Width = 304
    Height = 286
    Anchors = [akLeft, akTop, akRight, akBottom]
    Shape = bsFrame
    Style = bsLowered
  end
  object Label1: TLabel
    Left = 8
    Top = 334
    Width = 81
    Height = 13
    Anchors = [akLeft, akBottom]
    Caption = 'Volumn'
    AutoSize = True
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    Font.Style = []
    Font.Color = clWhite
  end
  object Label2: TLabel
    Left = 168
    Top = 334
    Width = 33
    Height = 13
    Anchors = [akLeft, akBottom]
    Caption = 'Pos'
    AutoSize = False
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    Font.Style = []
    Font.Color = clWhite
  end
  object btnAbout: TSpeedButton
    Left = 169
    Top = 356
    Width = 62
    Height = 25
    Anchors = [akLeft, akBottom]
    Caption = 'About'
    OnClick = btnAboutClick
  end
  object btnConnectHomePage: TSpeedButton
    Left = 231
    Top = 356
    Width = 62
    Height = 25
    Anchors = [akLeft, akBottom]
    Caption = '홈페이지'
    OnClick = btnConnectHomePageClick
  end
  object MP3: TMediaPlayer
    Left = 264
    Top = 441
    Width = 141
    Height = 20
    Visible = False
    TabOrder = 0
  end
  object TrackVol: TTrackBar
    Left = 48
    Top = 334
    Width = 113
    Height = 12
    Anchors = [akLeft, akBottom]
    Min = 0
    Max = 1000
    Position = 0
    Frequency = 1
    TabOrder = 1
    OnChange = TrackVolChange
  end
  object TrackPos: TTrackBar
    Left = 192
    Top = 334
    Width = 113
    Height = 12
    Anchors = [akLeft, akBottom]
    Min = 0
    Max = 10
    Position = 0
    Frequency = 1
    TabOrder = 2
    OnChange = TrackPosChange
  end
  object lvFileList: TListView
    Left = 16
    Top = 48
    Width = 289
    Height = 273
    Anchors = [akLeft, akTop, akRight, akBottom]
    BorderStyle = bsNone
    Color = 13325825
    Columns = <
      item
        Caption = 'MP3 파일 목록'
        AutoSize = True
      end>
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    Font.Style = []
    Font.Color = clWhite
    MultiSelect = True
    TabOrder = 3
    OnDblClick = lvFileListDblClick
  end
  object lblTime: TLabel
    Left = 192
    Top = 381
    Width = 113
    Height = 13
    Anchors = [akLeft, akBottom]
    Caption = ''
    AutoSize = False
    Font.Name = 'MS Sans Serif'
    Font.Height = -11
    Font.Style = []
    Font.Color = clWhite
  end
  object TrackTimer: TTimer
    Interval = 1000
    Enabled = True
    OnTimer = TrackTimerTimer
  end
end
