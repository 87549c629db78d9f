#include "platform/audio_out/AlsaDefaultOutput.h"

#include <cstdarg>
// This version of the header declares snd_lib_error_set_local outside its
// extern "C" block; included first, its include guard keeps it so.
extern "C" {
#include <alsa/error.h>
}
#include <alsa/asoundlib.h>

namespace {

// A device that cannot be opened is an answer here, not news for the
// terminal. ALSA's handler is the calling thread's, so other users of ALSA
// keep their messages.
class QuietAlsaErrors {
public:
    QuietAlsaErrors() : previous_(snd_lib_error_set_local(&ignore)) {}
    ~QuietAlsaErrors() { snd_lib_error_set_local(previous_); }
    QuietAlsaErrors(const QuietAlsaErrors&) = delete;
    QuietAlsaErrors& operator=(const QuietAlsaErrors&) = delete;

private:
    static void ignore(const char*, int, const char*, int, const char*, va_list) {}
    snd_local_error_handler_t previous_;
};

}  // namespace

// ALSA decides what "default" is when it first reads its configuration: a
// sound server started (or restarted) since then is found only once the
// configuration is read again.
std::unique_ptr<SoundOutput> openAlsaDefaultOutput(const AudioFormat& format)
{
    const QuietAlsaErrors quiet;
    if (auto output = Out123Output::open("alsa", format))
        return output;
    snd_config_update_free_global();
    return Out123Output::open("alsa", format);
}
