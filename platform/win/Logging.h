#pragma once
// The program's diagnostics, a Qt logging category per subsystem. All are
// off by default; QT_LOGGING_RULES turns them on, for example
//     QT_LOGGING_RULES='kolvi.*=true' kolviplayer        # everything
//     QT_LOGGING_RULES='kolvi.audio.warning=true' ...    # only the audio failures
// A failure says what failed and the library's own text for it (warning);
// what went well, when useful to follow, is debug.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(audioLog)     // kolvi.audio: sound outputs (platform/audio_out)
Q_DECLARE_LOGGING_CATEGORY(mciLog)       // kolvi.mci: the MCI devices, decoding (platform/mci)
Q_DECLARE_LOGGING_CATEGORY(mixerLog)     // kolvi.mixer: mixer devices (platform/mixer)
Q_DECLARE_LOGGING_CATEGORY(modulesLog)   // kolvi.modules: the program's modules (Modules.h)
Q_DECLARE_LOGGING_CATEGORY(lyricsLog)    // kolvi.lyrics: lyrics files, tags, LRCLIB (lyrics)
Q_DECLARE_LOGGING_CATEGORY(mprisLog)     // kolvi.mpris: the media controls on the session bus (desktop)
