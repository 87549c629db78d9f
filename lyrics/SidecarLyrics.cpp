#include "lyrics/SidecarLyrics.h"

#include "lyrics/FileStart.h"
#include "lyrics/LrcText.h"
#include "lyrics/TextDecoding.h"

#include <algorithm>

namespace {

// The path without its extension (from the last '.' of its last part).
std::string WithoutExtension(const std::string& path)
{
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path;
    return path.substr(0, dot);
}

QString FileNameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return DecodeLyricsText(QByteArrayView(path).sliced(slash == std::string::npos ? 0 : slash + 1));
}

std::optional<Lyrics> ReadLyricsFile(const std::string& path)
{
    std::optional<FileStart> file = ReadFileStart(path, LyricsFileLimit);
    if (!file)
        return std::nullopt;
    QString text = DecodeLyricsText(file->bytes);
    if (file->cut)
        text.truncate(std::max<qsizetype>(0, text.lastIndexOf(u'\n')));  // the last line may be cut short
    Lyrics lyrics = ParseLrc(text);
    if (lyrics.lines.empty())
        return std::nullopt;
    lyrics.cut = file->cut;
    return lyrics;
}

}  // namespace

std::optional<FoundLyrics> ReadSidecarLyrics(const std::string& trackPath, QStringList& namesLooked)
{
    const std::string base = WithoutExtension(trackPath);
    for (const char* extension : {".lrc", ".txt"}) {
        namesLooked.append(FileNameOf(base + extension));
        const std::string upper = QByteArray(extension).toUpper().toStdString();
        for (const std::string& path : {base + extension, base + upper})
            if (std::optional<Lyrics> lyrics = ReadLyricsFile(path))
                return FoundLyrics{std::move(*lyrics), FileNameOf(path)};
    }
    return std::nullopt;
}
