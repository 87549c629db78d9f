#include "lyrics/LyricsReaders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

const LyricsReaders* LoadedLyricsReaders()
{
    // Beside the executable, else where the build put it. The module stays
    // loaded to the end: what it made may live that long.
    static const LyricsReaders* const readers = []() -> const LyricsReaders* {
        const QString fileName = QFileInfo(QStringLiteral(KOLVI_LYRICS_MODULE)).fileName();
        for (const QString& path : {QDir(QCoreApplication::applicationDirPath()).filePath(fileName),
                                    QStringLiteral(KOLVI_LYRICS_MODULE)}) {
            if (!QFileInfo::exists(path))
                continue;
            QLibrary module(path);
            if (const auto entry = reinterpret_cast<LyricsReadersFunction>(module.resolve(LyricsReadersName)))
                return entry();
        }
        return nullptr;
    }();
    return readers;
}

TrackTitles ReadTrackTitles(const std::string& trackPath)
{
    const LyricsReaders* readers = LoadedLyricsReaders();
    return ReadTrackTitles(trackPath, readers != nullptr ? readers->parseId3v2Titles : nullptr);
}
