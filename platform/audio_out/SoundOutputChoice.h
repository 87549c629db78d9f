#pragma once
// Which output a device plays into: the sound server through out123's
// "pulse" module (PulseAudio, or PipeWire's PulseAudio service), else ALSA's
// default device through "alsa". Each module is named: out123's own
// try-everything choice ends on modules that swallow the sound.
#include "NullOutput.h"
#include "SoundOutput.h"

#include <memory>

// nullptr when no output can play format.
std::unique_ptr<SoundOutput> openSoundOutput(const AudioFormat& format);

// For tests only: outputs opened from now on are null outputs with these
// settings, until mciUseSoundServer() brings the real ones back.
void mciUseNullSoundOutput(const NullOutputSettings& settings);
void mciUseSoundServer();
