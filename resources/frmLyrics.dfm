object frmLyrics: TfrmLyrics
  Left = 510
  Top = 161
  ClientWidth = 420
  ClientHeight = 375
  Caption = 'Lyrics Viewer'
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Font.Style = []
  Font.Color = clWindowText
  OnShow = FormShow
  object Browser: TCppWebBrowser
    Left = 0
    Top = 0
    Width = 420
    Height = 375
    Align = alClient
    TabOrder = 0
  end
end
