#include "TfrmLyrics.h"

#include "KolviResources.h"

TfrmLyrics* frmLyrics = nullptr;

TfrmLyrics::TfrmLyrics(QObject* Owner) : TForm(Owner, staticMetaObject, ResourcePath("frmLyrics.dfm")) {}
