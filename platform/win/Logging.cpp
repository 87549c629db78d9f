#include "platform/win/Logging.h"

// QtFatalMsg: no message is on until a rule turns it on.
Q_LOGGING_CATEGORY(audioLog, "kolvi.audio", QtFatalMsg)
Q_LOGGING_CATEGORY(mciLog, "kolvi.mci", QtFatalMsg)
Q_LOGGING_CATEGORY(mixerLog, "kolvi.mixer", QtFatalMsg)
Q_LOGGING_CATEGORY(modulesLog, "kolvi.modules", QtFatalMsg)
Q_LOGGING_CATEGORY(lyricsLog, "kolvi.lyrics", QtFatalMsg)
Q_LOGGING_CATEGORY(mprisLog, "kolvi.mpris", QtFatalMsg)
