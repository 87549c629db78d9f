#pragma once
// The main window's keys: each does what a button or the double-click does,
// through the same handler, whichever control has the focus (Enter only in
// the playlist); the sliders step by amounts a person can use. While a
// message box or dialog is open, keys go to it.
//
//   Space                   pause/continue; when stopped, play the selected
//                           (else the current) entry
//   Enter, keypad Enter     (playlist) play the selected entry
//   Delete                  delete the selected entries
//   Ctrl+O / Ctrl+Shift+O   add files / open files
//   Ctrl+L                  show or hide the lyrics window
//   F1                      about box
//   Ctrl+Q                  close the window, as its close box
//   media keys              play/pause, pause, stop, next, previous
//   arrows / Page Up, Down  volume 5 % / 20 %; position 5 s / 30 s
class TfrmKolviPlayer;

void InstallPlayerKeys(TfrmKolviPlayer& window);
