#pragma once
// Opens the output a device plays into, by name (platform/BackEnds.h), as a
// player's output option chooses it. Options follow a back end's name
// after colons.
//   pulse   the sound server through its own client library (PulseAudio,
//           or PipeWire's PulseAudio service), PulseOutput.h
//   alsa    ALSA's default device through out123's "alsa" module
//   null    plays into nothing, on the system clock like a card
//           (NullOutput.h); options "untimed" (takes everything at once)
//           and "fail-after=N" (fails after N frames, as a broken card
//           would), for example "null:untimed:fail-after=22050"
// The choice is "pulse,alsa" until changed. Every module is named: out123's
// own try-everything choice ends on modules that swallow the sound.
#include "platform/BackEnds.h"
#include "platform/audio_out/SoundOutput.h"

#include <memory>

using SoundOutputs = BackEnds<std::unique_ptr<SoundOutput>, const AudioFormat&>;

SoundOutputs& soundOutputs();

// nullptr when no chosen back end can play format.
inline std::unique_ptr<SoundOutput> openSoundOutput(const AudioFormat& format) { return soundOutputs().open(format); }
