#pragma once
// The temporary files a save writes beside its target: ".NAME.XXXXXXXX.tmp"
// in the target's folder. Each is locked (flock) by its writer for as long
// as it writes, so a save can tell one left behind by a writer that was
// killed from one that another running program is writing.
#include "platform/files/UniqueFd.h"

#include <string>

struct SaveTemporary {
    UniqueFd fd;  // open for writing and locked; not valid when none could be made
    std::string path;
};

// A new, empty, locked temporary file for the file name in folder.
SaveTemporary createSaveTemporary(const std::string& folder, const std::string& name);

// Removes the temporary files for name in folder whose writer is gone: those
// no one holds a lock on.
void removeAbandonedSaveTemporaries(const std::string& folder, const std::string& name);
