#pragma once
// The lyrics viewer: a second top-level window, created hidden at start-up
// and living until the program ends. Its layout is resources/frmLyrics.dfm.
#include "Forms.h"

class TfrmLyrics : public TForm {
    Q_OBJECT
public:
    explicit TfrmLyrics(QObject* Owner);
};

extern TfrmLyrics* frmLyrics;
