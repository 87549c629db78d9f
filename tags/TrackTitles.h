#pragma once
// What a track is called wherever the program shows or sends it (the lyrics
// window's pages, the LRCLIB query, the desktop's media controls): the
// ID3v2 tag's title, artist and album, else the ID3v1 tag's, else the file
// name as the title. Legacy bytes are read by DecodeLegacyText.
#include <QByteArray>
#include <QString>
#include <string>

struct TrackTitles {
    QString title;
    QString artist;  // empty when the source has none
    QString album;   // empty when the source has none

    bool operator==(const TrackTitles&) const = default;
};

// Reads the titles of an ID3v2 tag held in memory (TrackTagBytes::id3v2).
using Id3v2TitleParser = TrackTitles (*)(const QByteArray& tag);

// path: bytes in the locale's encoding. Reads only what ReadTrackTagBytes
// reads; without a parser the ID3v2 tag is passed over.
TrackTitles ReadTrackTitles(const std::string& path, Id3v2TitleParser parseId3v2);
