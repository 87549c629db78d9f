#pragma once
// Lyrics text in the LRC form ("[01:02.34]words", several stamps on one
// line, "[offset:+500]", "[ar:...]" and the like), or plain text. Both read
// in one pass over the text, whatever it holds.
#include "lyrics/Lyrics.h"

#include <QStringView>

// Synchronised lyrics when the text has at least one valid time stamp: one
// line for each stamp, in the order of their moments ("[offset:]" moves them
// all: a positive offset shows the words that much sooner). Otherwise the
// text's lines without the LRC header tags.
Lyrics ParseLrc(QStringView text);

// Every line of the text as it is, without leading and trailing empty lines.
Lyrics PlainLyrics(QStringView text);
