#include "SoundOutputChoice.h"

#include "Out123Output.h"

#include <mutex>
#include <optional>

namespace {

std::mutex choiceMutex;
std::optional<NullOutputSettings> nullChoice;

}  // namespace

std::unique_ptr<SoundOutput> openSoundOutput(const AudioFormat& format)
{
    {
        std::lock_guard lock(choiceMutex);
        if (nullChoice)
            return std::make_unique<NullOutput>(format, *nullChoice);
    }
    for (const char* module : {"pulse", "alsa"}) {
        if (auto output = Out123Output::open(module, format))
            return output;
    }
    return nullptr;
}

void mciUseNullSoundOutput(const NullOutputSettings& settings)
{
    std::lock_guard lock(choiceMutex);
    nullChoice = settings;
}

void mciUseSoundServer()
{
    std::lock_guard lock(choiceMutex);
    nullChoice.reset();
}
