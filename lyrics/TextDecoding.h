#pragma once
// The characters of a lyrics file whose encoding nobody wrote down.
#include <QByteArrayView>
#include <QString>

// UTF-8 (with or without its byte-order mark) or UTF-16 with its mark;
// else the C library locale's encoding; else CP949, the usual encoding of
// Korean lyrics files, which is also tried in a UTF-8 locale. Bytes none of
// these fit are read as UTF-8 with replacement characters.
QString DecodeLyricsText(QByteArrayView bytes);
