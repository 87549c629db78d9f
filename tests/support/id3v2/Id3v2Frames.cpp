#include "tests/support/id3v2/Id3v2Frames.h"

#include <mpegfile.h>
#include <unsynchronizedlyricsframe.h>

using TagLib::ID3v2::SynchronizedLyricsFrame;

bool editId3v2Tag(const std::string& path, const std::function<void(TagLib::ID3v2::Tag&)>& addFrames)
{
    TagLib::MPEG::File file(path.c_str());
    if (!file.isValid())
        return false;
    addFrames(*file.ID3v2Tag(true));
    return file.save(TagLib::MPEG::File::ID3v2);
}

TagLib::String utf8Text(const std::string& text)
{
    return TagLib::String(text, TagLib::String::UTF8);
}

namespace {

TagLib::ID3v2::Frame* Sylt(SynchronizedLyricsFrame::TimestampFormat format,
                           const std::vector<std::pair<unsigned, std::string>>& entries)
{
    auto* frame = new SynchronizedLyricsFrame(TagLib::String::UTF8);
    frame->setType(SynchronizedLyricsFrame::Lyrics);
    frame->setTimestampFormat(format);
    SynchronizedLyricsFrame::SynchedTextList list;
    for (const auto& [time, text] : entries)
        list.append(SynchronizedLyricsFrame::SynchedText(time, utf8Text(text)));
    frame->setSynchedText(list);
    return frame;
}

}  // namespace

TagLib::ID3v2::Frame* syltFrame(SynchronizedLyricsFrame::TimestampFormat format,
                                std::initializer_list<std::pair<unsigned, std::string>> entries)
{
    return Sylt(format, entries);
}

TagLib::ID3v2::Frame* syltFrame(const std::vector<std::pair<unsigned, std::string>>& entries)
{
    return Sylt(SynchronizedLyricsFrame::AbsoluteMilliseconds, entries);
}

TagLib::ID3v2::Frame* usltFrame(const std::string& text)
{
    auto* frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
    frame->setText(utf8Text(text));
    return frame;
}
