#include "platform/audio_out/SoundOutputFactory.h"

#include "platform/audio_out/AlsaDefaultOutput.h"
#include "platform/audio_out/NullOutput.h"
#include "platform/audio_out/PulseOutput.h"

SoundOutputs& soundOutputs()
{
    // Neither pulse nor alsa takes options.
    static SoundOutputs instance(
        {
            {"pulse",
             [](std::string_view options, const AudioFormat& format) {
                 return options.empty() ? PulseOutput::open(format) : nullptr;
             }},
            {"alsa",
             [](std::string_view options, const AudioFormat& format) {
                 return options.empty() ? openAlsaDefaultOutput(format) : nullptr;
             }},
            {"null", [](std::string_view options, const AudioFormat& format) { return NullOutput::open(options, format); }},
        },
        "pulse,alsa");
    return instance;
}
