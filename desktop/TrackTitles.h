#pragma once
// What the desktop shows of a track: its title and artist from the ID3v2
// tag, else from the ID3v1 tag, else the title from the file name.
#include <QString>
#include <string>

struct TrackTitles {
    QString title;
    QString artist;  // empty when only the file name was there
};

// path: bytes in the locale's code page, as the playlist holds it.
TrackTitles ReadTrackTitles(const std::string& path);
