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
end
