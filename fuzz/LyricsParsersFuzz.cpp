// Arbitrary bytes as the lyrics the window reads: an LRC text (word stamps
// included), a lyrics file of unknown encoding, LRCLIB's answers, and the
// SYLT and USLT frames of an ID3v2 tag read by TagLib. Nothing may crash,
// and the lyrics must come out as the window relies on: lines in the order
// of their moments, words in order within their line.
#include "fuzz/FuzzScratch.h"
#include "lyrics/Id3v2Lyrics.h"
#include "lyrics/LrcText.h"
#include "lyrics/LrcWriting.h"
#include "lyrics/LrclibRecords.h"
#include "lyrics/TextDecoding.h"

#include <cstdint>
#include <string>

namespace {

void checkLyrics(const Lyrics& lyrics)
{
    if (!lyrics.synced)
        return;
    for (std::size_t i = 0; i < lyrics.lines.size(); ++i) {
        const LyricLine& line = lyrics.lines[i];
        require(line.startMs >= 0);
        require(i == 0 || lyrics.lines[i - 1].startMs <= line.startMs);
        std::int64_t previous = line.startMs;
        for (const LyricWord& word : line.words) {
            require(word.startMs >= previous);
            previous = word.startMs;
        }
        const LineGroup group = GroupOf(lyrics, static_cast<int>(i));
        require(group.first <= static_cast<int>(i) && static_cast<int>(i) <= group.last);
        require(WordsSung(lyrics, group, line.startMs).size() == static_cast<std::size_t>(group.last - group.first + 1));
        require(LineAt(lyrics, line.startMs) == group.last);
    }
    // What the window would save, with a shift either way.
    require(LrcText(lyrics, -1500).size() >= static_cast<qsizetype>(lyrics.lines.size()));
}

std::string syncSafe(std::uint32_t size)
{
    return {static_cast<char>((size >> 21) & 0x7F), static_cast<char>((size >> 14) & 0x7F),
            static_cast<char>((size >> 7) & 0x7F), static_cast<char>(size & 0x7F)};
}

// An MP3 file whose ID3v2.4 tag holds one frame of the given kind.
void checkTagFrame(const char* kind, const std::string& body)
{
    const std::string frame = kind + syncSafe(static_cast<std::uint32_t>(body.size())) + std::string(2, '\0') + body;
    std::string file = "ID3" + std::string("\x04\x00\x00", 3) + syncSafe(static_cast<std::uint32_t>(frame.size())) + frame;
    // A few silent MPEG-1 layer III frames after the tag.
    for (int i = 0; i < 4; ++i)
        file += std::string("\xFF\xFB\x90\x00", 4) + std::string(413, '\0');
    const std::string path = scratchFolder() + "/tagged.mp3";
    writeScratchFile(path, file);
    const Id3v2Facts facts = ReadId3v2Facts(path);
    if (facts.lyrics)
        checkLyrics(facts.lyrics->lyrics);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    useKoreanLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 5) {
    case 0:
        checkLyrics(ParseLrc(QString::fromUtf8(bytes)));
        break;
    case 1: {
        const QString text = DecodeLyricsText(QByteArrayView(bytes));
        checkLyrics(ParseLrc(text));
        require(PlainLyrics(text).lines.size() <= static_cast<std::size_t>(text.size()) + 1);
        break;
    }
    case 2:
        if (const auto lyrics = LyricsOfRecord(QByteArray::fromStdString(bytes), 200))
            checkLyrics(*lyrics);
        for (const OnlineRecord& record : RecordsOfSearch(QByteArray::fromStdString(bytes)))
            checkLyrics(record.lyrics);
        break;
    case 3:
        checkTagFrame("SYLT", bytes);
        break;
    case 4:
        checkTagFrame("USLT", bytes);
        break;
    }
    return 0;
}
