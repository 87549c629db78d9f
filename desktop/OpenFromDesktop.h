#pragma once
// Files the desktop hands the player by their URIs ("Open with" in a file
// manager, a media control's OpenUri): the MP3 files among them are added
// to the playlist and the first is started, once the bus call has been
// answered. When none of them can be added, a box says so (unless one is
// open already).
#include <QStringList>

class TfrmKolviPlayer;

void OpenFromDesktop(TfrmKolviPlayer& window, const QStringList& uris);
