#pragma once
// The one way a test chooses the back ends the platform opens: by name, for
// as long as a guard lives; the choice made before comes back when it goes.
//
//     ScopedSoundOutput untimed("null:untimed");  // devices opened now play into nothing, at once
//
// The names are those of SoundOutputFactory.h.
#include "SoundOutputFactory.h"

#include <string>
#include <utility>

class ScopedSoundOutput {
public:
    explicit ScopedSoundOutput(std::string names) : previous_(chooseSoundOutputs(std::move(names))) {}
    ~ScopedSoundOutput() { chooseSoundOutputs(previous_); }
    ScopedSoundOutput(const ScopedSoundOutput&) = delete;
    ScopedSoundOutput& operator=(const ScopedSoundOutput&) = delete;

private:
    std::string previous_;
};
