#pragma once
// The one way a test chooses the back ends the platform opens: by name, for
// as long as a guard lives; the choice made before comes back when it goes.
//
//     ScopedSoundOutput untimed("null:untimed");  // devices opened now play into nothing, at once
//     FakeMixer mixer({.failing = {FakeMixer::Call::GetLineInfo}});
//     ScopedMixerDevice fake(mixer);              // the mixer calls open devices of mixer
//
// Sound outputs are named as SoundOutputFactory.h lists them; the fake mixer
// is the back end "fake" while its guard lives.
#include "tests/support/FakeMixer.h"
#include "platform/mixer/MixerDeviceFactory.h"
#include "platform/audio_out/SoundOutputFactory.h"

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

// mixer must outlive the guard; devices it opened may outlive both.
class ScopedMixerDevice {
public:
    explicit ScopedMixerDevice(FakeMixer& mixer)
        : previousBackEnd_(setMixerBackEnd(Name, [&mixer](const MixerOpenRequest* request) { return mixer.open(request); })),
          previousChoice_(chooseMixerDevice(Name))
    {
    }
    ~ScopedMixerDevice()
    {
        chooseMixerDevice(previousChoice_);
        setMixerBackEnd(Name, std::move(previousBackEnd_));
    }
    ScopedMixerDevice(const ScopedMixerDevice&) = delete;
    ScopedMixerDevice& operator=(const ScopedMixerDevice&) = delete;

private:
    static constexpr const char* Name = "fake";
    MixerDeviceOpener previousBackEnd_;
    std::string previousChoice_;
};
