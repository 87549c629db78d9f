#pragma once
// Text whose encoding nobody wrote down: ID3v1 fields, ID3v2 frames marked
// Latin-1, lyrics files without a byte-order mark, file names. Korean
// collections hold CP949 there whatever the locale, Western ones Latin-1,
// newer ones UTF-8; one rule reads them all, the same on every locale.
#include <QByteArrayView>
#include <QString>

// Valid UTF-8 as it is (a character cut at the very end dropped); else CP949 when the bytes are CP949 (a character
// cut at the very end dropped) and read as Korean rather than as Western
// Latin-1 letters; else the locale's code page; else Latin-1.
QString DecodeLegacyText(QByteArrayView bytes);
