#pragma once
// MP3 files with ID3v1 tags made by the tests: the 128 tag bytes after a
// real encoded MP3, or after any bytes a test chooses; and ID3v2.3 tags
// whose text frames are marked Latin-1 but hold whatever bytes a tagger of
// the 2000s wrote there (CP949 in Korean collections).
#include <string>
#include <utility>
#include <vector>

struct TagFields {
    std::string title;   // padded to 30 bytes with padding
    std::string artist;  // padded to 30 bytes with padding
    char padding = ' ';
    std::string marker = "TAG";
};

// The 128 bytes of a tag; album, year and comment are filled with bytes a
// reader must never take for title or artist.
std::string tagBytes(const TagFields& fields);

// A real MP3 from lame, a tone of `seconds` (made once per length and test
// run), followed by the tag.
void writeTaggedMp3(const std::string& path, const TagFields& fields, double seconds = 1.0);

// An ID3v2.3 tag of text frames (id, bytes), each marked Latin-1.
std::string latin1Id3v2Tag(const std::vector<std::pair<std::string, std::string>>& frames);
