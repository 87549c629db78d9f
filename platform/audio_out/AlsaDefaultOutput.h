#pragma once
// ALSA's "default" device through out123, opened so that it can be tried
// again and again while a sound server is away: quietly, and finding a
// server that came (back) since ALSA first read its configuration.
#include "platform/audio_out/Out123Output.h"

#include <memory>

std::unique_ptr<SoundOutput> openAlsaDefaultOutput(const AudioFormat& format);
