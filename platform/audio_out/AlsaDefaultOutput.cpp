#include "platform/audio_out/AlsaDefaultOutput.h"

#include "platform/QuietAlsaErrors.h"
#include "platform/win/Logging.h"

// ALSA decides what "default" is when it first reads its configuration: a
// sound server started (or restarted) since then is found only once the
// configuration is read again.
std::unique_ptr<SoundOutput> openAlsaDefaultOutput(const AudioFormat& format)
{
    const QuietAlsaErrors quiet(&audioLog);
    if (auto output = Out123Output::open("alsa", format))
        return output;
    snd_config_update_free_global();
    return Out123Output::open("alsa", format);
}
