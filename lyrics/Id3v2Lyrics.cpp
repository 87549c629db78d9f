#include "lyrics/Id3v2Lyrics.h"

#include "lyrics/FileStart.h"
#include "lyrics/LrcText.h"

#include <algorithm>
#include <mpegfile.h>
#include <synchronizedlyricsframe.h>
#include <unsynchronizedlyricsframe.h>
#include <id3v2tag.h>

namespace {

using TagLib::ID3v2::SynchronizedLyricsFrame;
using TagLib::ID3v2::UnsynchronizedLyricsFrame;

// TagLib reads a whole tag into memory; real tags, pictures included, stay
// far below this.
constexpr std::uint32_t LargestTag = 64u << 20;
// Lyrics beyond these are not shown anyway (the page takes far less): the
// rest of a huge frame is left unread.
constexpr qsizetype LongestLyricsText = 1 << 20;
constexpr std::size_t MostSyltEntries = 20000;

QString Text(const TagLib::String& text)
{
    return QString::fromStdString(text.to8Bit(true));
}

// The size the ID3v2 header at the start of a regular file gives for its
// tag (0 when none); nothing for a pipe or a device, which TagLib would
// wait on.
std::optional<std::uint32_t> DeclaredTagSize(const std::string& path)
{
    const std::optional<FileStart> header = ReadFileStart(path, 10);
    if (!header)
        return std::nullopt;
    if (header->bytes.size() < 10 || !header->bytes.startsWith("ID3"))
        return 0;
    std::uint32_t size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (static_cast<unsigned char>(header->bytes[i]) & 0x7F);
    return size;
}

const SynchronizedLyricsFrame* ChosenSylt(const TagLib::ID3v2::FrameList& frames)
{
    const SynchronizedLyricsFrame* chosen = nullptr;
    for (const TagLib::ID3v2::Frame* frame : frames) {
        const auto* sylt = dynamic_cast<const SynchronizedLyricsFrame*>(frame);
        if (sylt == nullptr || sylt->synchedText().isEmpty())
            continue;
        if (sylt->type() == SynchronizedLyricsFrame::Lyrics)
            return sylt;
        if (chosen == nullptr)
            chosen = sylt;
    }
    return chosen;
}

bool StartsLine(const QString& text)
{
    return text.startsWith(u'\n') || text.startsWith(u'\r');
}

// SYLT entries are lines, or syllables whose line starts are marked by a
// line break at the front of an entry.
Lyrics SyltLyrics(const SynchronizedLyricsFrame& frame, const TagLib::MPEG::Properties* audio)
{
    double msPerUnit = 1.0;
    if (frame.timestampFormat() == SynchronizedLyricsFrame::AbsoluteMpegFrames && audio != nullptr
        && audio->sampleRate() > 0) {
        const int samplesPerFrame = audio->layer() == 1 ? 384
                                    : audio->layer() == 2 || audio->version() == TagLib::MPEG::Header::Version1 ? 1152
                                                                                                               : 576;
        msPerUnit = samplesPerFrame * 1000.0 / audio->sampleRate();
    }
    const auto& entries = frame.synchedText();
    const bool syllables = std::any_of(std::next(entries.begin()), entries.end(),
                                       [](const auto& entry) { return StartsLine(Text(entry.text)); });
    Lyrics lyrics;
    lyrics.synced = true;
    std::size_t taken = 0;
    for (const auto& entry : entries) {
        if (++taken > MostSyltEntries) {
            lyrics.cut = true;
            break;
        }
        QString text = Text(entry.text);
        const auto ms = static_cast<std::int64_t>(entry.time * msPerUnit);
        if (syllables && !lyrics.lines.empty() && !StartsLine(text))
            lyrics.lines.back().text += text.replace(u'\r', u' ').replace(u'\n', u' ');
        else
            lyrics.lines.push_back(LyricLine{ms, text.replace(u'\r', u' ').replace(u'\n', u' '), {}});
    }
    for (LyricLine& line : lyrics.lines)
        line.text = line.text.trimmed();
    std::stable_sort(lyrics.lines.begin(), lyrics.lines.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.startMs < b.startMs; });
    return lyrics;
}

std::optional<FoundLyrics> UsltLyrics(const TagLib::ID3v2::FrameList& frames)
{
    for (const TagLib::ID3v2::Frame* frame : frames) {
        const auto* uslt = dynamic_cast<const UnsynchronizedLyricsFrame*>(frame);
        if (uslt == nullptr)
            continue;
        // Some taggers keep LRC text here: its stamps are used.
        QString text = Text(uslt->text());
        const bool cut = text.size() > LongestLyricsText;
        if (cut)
            text.truncate(std::max<qsizetype>(0, text.lastIndexOf(u'\n', LongestLyricsText)));
        Lyrics lyrics = ParseLrc(text);
        lyrics.cut = cut;
        if (!lyrics.lines.empty())
            return FoundLyrics{std::move(lyrics), QStringLiteral("노래 파일의 ID3v2 태그 (USLT)")};
    }
    return std::nullopt;
}

}  // namespace

Id3v2Facts ReadId3v2Facts(const std::string& trackPath)
{
    Id3v2Facts facts;
    const std::optional<std::uint32_t> tagSize = DeclaredTagSize(trackPath);
    if (!tagSize || *tagSize > LargestTag)
        return facts;
    TagLib::MPEG::File file(trackPath.c_str(), true, TagLib::AudioProperties::Average);
    if (!file.isValid())
        return facts;
    const TagLib::MPEG::Properties* audio = file.audioProperties();
    if (audio != nullptr)
        facts.lengthSeconds = audio->lengthInSeconds();
    TagLib::ID3v2::Tag* tag = file.hasID3v2Tag() ? file.ID3v2Tag() : nullptr;
    if (tag == nullptr)
        return facts;
    const auto& frames = tag->frameListMap();
    if (frames.contains("SYLT"))
        if (const SynchronizedLyricsFrame* sylt = ChosenSylt(frames["SYLT"])) {
            Lyrics lyrics = SyltLyrics(*sylt, audio);
            if (!lyrics.lines.empty()) {
                facts.lyrics = FoundLyrics{std::move(lyrics), QStringLiteral("노래 파일의 ID3v2 태그 (SYLT)")};
                return facts;
            }
        }
    if (frames.contains("USLT"))
        facts.lyrics = UsltLyrics(frames["USLT"]);
    return facts;
}
