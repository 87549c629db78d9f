#include "platform/audio_out/SoundOutputFactory.h"

#include "platform/audio_out/AlsaDefaultOutput.h"
#include "platform/audio_out/NullOutput.h"
#include "platform/audio_out/Out123Output.h"
#include "platform/audio_out/PulseOutput.h"

#include <mutex>
#include <string_view>
#include <utility>

namespace {

struct BackEnd {
    std::string_view name;
    std::unique_ptr<SoundOutput> (*open)(std::string_view options, const AudioFormat& format);
};

// Neither takes options.
std::unique_ptr<SoundOutput> openPulse(std::string_view options, const AudioFormat& format)
{
    return options.empty() ? PulseOutput::open(format) : nullptr;
}

std::unique_ptr<SoundOutput> openAlsa(std::string_view options, const AudioFormat& format)
{
    return options.empty() ? openAlsaDefaultOutput(format) : nullptr;
}

std::unique_ptr<SoundOutput> openNull(std::string_view options, const AudioFormat& format)
{
    return NullOutput::open(options, format);
}

constexpr BackEnd BackEnds[] = {
    {"pulse", &openPulse},
    {"alsa", &openAlsa},
    {"null", &openNull},
};

struct Choice {
    std::mutex mutex;
    std::string names = "pulse,alsa";
};

Choice& choice()
{
    static Choice instance;
    return instance;
}

std::unique_ptr<SoundOutput> openNamed(std::string_view name, const AudioFormat& format)
{
    const auto colon = name.find(':');
    const std::string_view backEnd = name.substr(0, colon);
    const std::string_view options = colon == std::string_view::npos ? std::string_view() : name.substr(colon + 1);
    for (const BackEnd& candidate : BackEnds) {
        if (candidate.name == backEnd)
            return candidate.open(options, format);
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<SoundOutput> openSoundOutput(const AudioFormat& format)
{
    std::string names;
    {
        std::lock_guard lock(choice().mutex);
        names = choice().names;
    }
    for (std::string_view rest = names; !rest.empty();) {
        const auto comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (auto output = openNamed(name, format))
            return output;
    }
    return nullptr;
}

std::string chooseSoundOutputs(std::string names)
{
    std::lock_guard lock(choice().mutex);
    return std::exchange(choice().names, std::move(names));
}
