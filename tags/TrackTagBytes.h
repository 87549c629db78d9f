#pragma once
// The bytes of a track's tags, read so that asking about a title never
// waits: only a regular file is read (a pipe or a device named x.mp3 is
// never opened for reading, let alone read), and never more than the start
// of its ID3v2 tag and its last 128 bytes.
#include <QByteArray>
#include <string>

// Title frames come first in real tags; pictures and lyrics after them are
// what makes a tag large.
constexpr qsizetype Id3v2ReadLimit = 1 << 20;

struct TrackTagBytes {
    // The ID3v2 tag from its header on, at most Id3v2ReadLimit bytes; a
    // larger tag's header is made to claim only what was read. Empty when
    // the file does not start with one.
    QByteArray id3v2;
    QByteArray id3v1;  // the last TagSize bytes, when they hold an ID3v1 tag
    qint64 bytesRead = 0;
};

// path: bytes in the locale's encoding.
TrackTagBytes ReadTrackTagBytes(const std::string& path);
