#include "platform/audio_out/NullOutput.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <thread>

namespace {

// Like a typical sound server stream: about a fifth of a second ahead.
constexpr long BufferMilliseconds = 200;

constexpr std::string_view FailAfter = "fail-after=";

bool applyOption(std::string_view option, NullOutputSettings& settings)
{
    if (option == "untimed") {
        settings.timed = false;
        return true;
    }
    if (!option.starts_with(FailAfter))
        return false;
    const std::string_view number = option.substr(FailAfter.size());
    std::int64_t frames = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), frames);
    if (error != std::errc() || end != number.data() + number.size() || frames < 0)
        return false;
    settings.failAfterFrames = frames;
    return true;
}

std::optional<NullOutputSettings> settingsOf(std::string_view options)
{
    NullOutputSettings settings;
    while (!options.empty()) {
        const auto colon = options.find(':');
        if (!applyOption(options.substr(0, colon), settings))
            return std::nullopt;
        options = colon == std::string_view::npos ? std::string_view() : options.substr(colon + 1);
    }
    return settings;
}

}  // namespace

std::unique_ptr<NullOutput> NullOutput::open(std::string_view options, const AudioFormat& format)
{
    const auto settings = settingsOf(options);
    return settings ? std::make_unique<NullOutput>(format, *settings) : nullptr;
}

NullOutput::NullOutput(const AudioFormat& format, const NullOutputSettings& settings)
    : format_(format), settings_(settings), bufferFrames_(format.rate * BufferMilliseconds / 1000), clock_(format.rate)
{
}

std::size_t NullOutput::play(unsigned char*, std::size_t bytes)
{
    std::int64_t frames = static_cast<std::int64_t>(bytes / format_.bytesPerFrame());
    if (settings_.failAfterFrames >= 0)
        frames = std::clamp<std::int64_t>(settings_.failAfterFrames - takenFrames_, 0, frames);
    takenFrames_ += frames;
    if (!settings_.timed) {
        untimedHeard_ += frames;
        return static_cast<std::size_t>(frames) * format_.bytesPerFrame();
    }
    std::this_thread::sleep_for(clock_.timeUntilDelay(std::max<std::int64_t>(bufferFrames_ - frames, 0)));
    clock_.handedOver(frames);
    return static_cast<std::size_t>(frames) * format_.bytesPerFrame();
}

void NullOutput::drain()
{
    if (!settings_.timed)
        return;
    std::this_thread::sleep_for(clock_.timeUntilDelay(0));
    clock_.drained();
}

void NullOutput::drop()
{
    untimedHeard_ = 0;
    clock_.reset();
}

std::int64_t NullOutput::heardFrames() const { return settings_.timed ? clock_.heard() : untimedHeard_.load(); }
