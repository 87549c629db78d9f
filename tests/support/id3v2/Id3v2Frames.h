#pragma once
// ID3v2 frames written by TagLib, the field's standard tag library, into
// real MP3 files, for tests of the lyrics read from a track's tag.
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <id3v2tag.h>
#include <synchronizedlyricsframe.h>

// Gives the ID3v2 tag of the MP3 at path (made if it has none) to addFrames,
// then saves it; false when TagLib cannot open or save the file.
bool editId3v2Tag(const std::string& path, const std::function<void(TagLib::ID3v2::Tag&)>& addFrames);

// A UTF-8 text as TagLib holds it.
TagLib::String utf8Text(const std::string& text);

// A SYLT frame of lyrics, its entries (time, text) in the given time unit.
TagLib::ID3v2::Frame* syltFrame(TagLib::ID3v2::SynchronizedLyricsFrame::TimestampFormat format,
                                std::initializer_list<std::pair<unsigned, std::string>> entries);
// A SYLT frame in milliseconds from a list made at run time.
TagLib::ID3v2::Frame* syltFrame(const std::vector<std::pair<unsigned, std::string>>& entries);
// A USLT frame.
TagLib::ID3v2::Frame* usltFrame(const std::string& text);
