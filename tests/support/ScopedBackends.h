#pragma once
// The one way a test chooses the back end of a replaceable part
// (platform/BackEnds.h): by name, for as long as a guard lives; the choice
// made before, and any back end the guard replaced, come back when it goes.
//
//     ScopedSoundOutput untimed("null:untimed");  // devices opened now play into nothing, at once
//     FakeMixer mixer({.failing = {FakeMixer::Call::GetLineInfo}});
//     ScopedMixerDevice fake(mixer);              // the mixer calls open devices of mixer
//     ScopedMciDriver recording(recordingMciDriver());  // MCI commands go to the recording driver
//     ScopedLyricsDatabase local("lrclib:" + server.origin());  // LRCLIB at a local server; "" turns it off
//
// Sound outputs are named as SoundOutputFactory.h lists them; a stand-in
// given by object is the back end "stand-in" while its guard lives.
#include "lyrics/LyricsDatabases.h"
#include "platform/audio_out/SoundOutputFactory.h"
#include "platform/mci/MciDrivers.h"
#include "platform/mixer/MixerDeviceFactory.h"
#include "tests/support/FakeMixer.h"

#include <string>
#include <utility>

template <class Parts>
class ScopedBackEnd {
public:
    // Chooses names.
    ScopedBackEnd(Parts& parts, std::string names) : parts_(parts), previousChoice_(parts.choose(std::move(names))) {}
    // Adds opener as the back end "stand-in" and chooses it.
    ScopedBackEnd(Parts& parts, typename Parts::Opener opener)
        : parts_(parts), addedStandIn_(true), replaced_(parts.add(StandIn, std::move(opener))),
          previousChoice_(parts.choose(StandIn))
    {
    }
    ~ScopedBackEnd()
    {
        parts_.choose(std::move(previousChoice_));
        if (addedStandIn_)
            parts_.add(StandIn, std::move(replaced_));
    }
    ScopedBackEnd(const ScopedBackEnd&) = delete;
    ScopedBackEnd& operator=(const ScopedBackEnd&) = delete;

private:
    static constexpr const char* StandIn = "stand-in";
    Parts& parts_;
    bool addedStandIn_ = false;
    typename Parts::Opener replaced_;
    std::string previousChoice_;
};

class ScopedSoundOutput : public ScopedBackEnd<SoundOutputs> {
public:
    explicit ScopedSoundOutput(std::string names) : ScopedBackEnd(soundOutputs(), std::move(names)) {}
};

// mixer must outlive the guard; devices it opened may outlive both.
class ScopedMixerDevice : public ScopedBackEnd<MixerDevices> {
public:
    explicit ScopedMixerDevice(FakeMixer& mixer)
        : ScopedBackEnd(mixerDevices(), [&mixer](std::string_view, const MixerOpenRequest* request) { return mixer.open(request); })
    {
    }
};

// driver must outlive the guard.
class ScopedMciDriver : public ScopedBackEnd<MciDrivers> {
public:
    explicit ScopedMciDriver(const MciDriver& driver)
        : ScopedBackEnd(mciDrivers(), [&driver](std::string_view) { return &driver; })
    {
    }
};

class ScopedLyricsDatabase : public ScopedBackEnd<OnlineLyricsDatabases> {
public:
    explicit ScopedLyricsDatabase(std::string names) : ScopedBackEnd(LyricsDatabases(), std::move(names)) {}
};
