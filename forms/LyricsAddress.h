#pragma once
// The address of a track's lyrics page on the lyrics service, formed from
// its ID3v1 title and artist, or from its file name when it has no tag.
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

// text without any occurrence of pattern, letter case ignored (both
// upper-cased by the ANSI rules), searched left to right without overlaps;
// a match never starts inside a multi-byte character.
std::string RemoveEveryOccurrence(const std::string& text, const std::string& pattern);

// The file-name part of a path (after its last '/') with every occurrence
// of its extension (from the part's last '.') removed.
std::string TitleFromFileName(const std::string& path);

// Forms the lyrics address of the MP3 file at path into LyricsAddress.
void FormLyricsAddress(const std::string& path);
