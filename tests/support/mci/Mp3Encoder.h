#pragma once
// MP3 files made in this process by the LAME library, the same encoder as
// the lame command tests/support/Mp3Fixture runs. Starting no process keeps
// ThreadSanitizer's view of this process whole: Qt starts child processes
// with vfork, which confuses it about the parent.
#include "tests/support/Mp3Fixture.h"

#include <string>

struct Mp3Extras {
    bool freeFormat = false;
};

// Writes the tone of settings as an MP3 to path; throws std::runtime_error on failure.
void encodeMp3(const std::string& path, const Mp3Spec& settings, const Mp3Extras& extras = {});
