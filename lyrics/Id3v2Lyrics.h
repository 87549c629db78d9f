#pragma once
// What the track's ID3v2 tag says of its lyrics (read with TagLib):
// synchronised SYLT before unsynchronised USLT; and the track's length.
// Its titles are read by tags/TrackTitles.h.
#include "lyrics/Lyrics.h"

#include <optional>
#include <string>

struct Id3v2Facts {
    int lengthSeconds = 0;
    std::optional<FoundLyrics> lyrics;
};

// trackPath: bytes in the locale's encoding. A file without an ID3v2 tag
// gives nothing but its length; one whose tag claims to be larger than any
// real tag, and anything but a regular file, gives nothing at all.
Id3v2Facts ReadId3v2Facts(const std::string& trackPath);
