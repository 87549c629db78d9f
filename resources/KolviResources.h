#pragma once
// The program's embedded files: the form layouts and the application icon.
#include <QString>

// The Qt resource path of an embedded file ("frmKolviPlayer.dfm",
// "MAINICON.png"). The first call registers the embedded files, which a
// static library's linking would otherwise leave out.
QString ResourcePath(const char* name);
