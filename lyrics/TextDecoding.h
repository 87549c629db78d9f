#pragma once
// The characters of a lyrics file whose encoding nobody wrote down.
#include <QByteArrayView>
#include <QString>

// UTF-8 with its byte-order mark or UTF-16 with its mark; else the rule for
// text in no stated encoding (tags/LegacyText.h), which also reads a CP949
// file cut inside its last character up to that character.
QString DecodeLyricsText(QByteArrayView bytes);
