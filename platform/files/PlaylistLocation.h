#pragma once
// Where the playlist file lives. Beside the executable when that folder
// takes new files, so a per-user or portable copy keeps its list there;
// otherwise in the user's data folder ($XDG_DATA_HOME/kolviplayer, by
// default ~/.local/share/kolviplayer), so every user of a shared, read-only
// install keeps a list of their own.
#include <string>

// The playlist file for an executable in exeFolder (ending in "/").
std::string playlistFilePath(const std::string& exeFolder, const std::string& fileName);

// Makes every missing folder above path; false when one cannot be made.
bool makeParentFolders(const std::string& path);
