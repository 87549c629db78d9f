#pragma once
// The ID3v1 tag at the end of an MP3 file: only its marker, title and artist.
#include "tags/Id3v1Tag.h"

#include <array>

// The last 128 bytes ReadTrackTag read; one for the program.
extern std::array<char, TagSize> TagBuffer;

// True when the file at path ends in an ID3v1 tag ("TAG", exact case); then
// TagBuffer holds it with the trailing spaces of title and artist cleared to
// NUL (a field's first byte is never cleared). A file that cannot be opened
// or holds fewer than 128 bytes has no tag.
bool ReadTrackTag(const char* path);
