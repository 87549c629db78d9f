#pragma once
// The address of a track's lyrics page on the lyrics service, formed from
// its ID3v1 title and artist, or from its file name when it has no tag.
#include "tags/FileNameTitle.h"

#include <string>
#include <string_view>

// The last address FormLyricsAddress formed.
extern std::string LyricsAddress;

// Percent-encodes source into destination (room for three bytes per source
// byte and a NUL) and answers destination: a space becomes '+', 0-9 A-Z a-z
// '@' '.' stay, every other byte becomes '%' and two lower-case hex digits.
// A null source answers null and writes nothing.
char* EncodeQueryValue(const char* source, char* destination);

std::string LyricsIndexAddress();
std::string LyricsShowAddress(std::string_view encodedTitle, std::string_view encodedSinger);
std::string LyricsShowAddressWithoutSinger(std::string_view encodedName);

// Forms the lyrics address of the MP3 file at path into LyricsAddress.
void FormLyricsAddress(const std::string& path);
