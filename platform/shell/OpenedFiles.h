#pragma once
// Files the desktop asks the player to open ("Open with" in a file manager,
// a media control's OpenUri), as file URIs. They take the rule of dropped
// files, stricter only where a playlist entry must stay whole: a regular
// file (or a link to one) on this machine whose lower-cased name holds
// ".mp3", and no line break in its name, which the playlist file could not
// keep on one line.
#include <cstddef>
#include <string>
#include <vector>

// At most this many URIs of one request are looked at; the rest count as left out.
constexpr std::size_t OpenedFilesLimit = 100000;

struct OpenedFiles {
    std::vector<std::string> tracks;  // the paths, in the order given
    std::size_t leftOut = 0;          // URIs that name no such file
};

OpenedFiles tracksOfUris(const std::vector<std::string>& uris);
