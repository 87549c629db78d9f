#include "platform/mixer/MixerDeviceFactory.h"

#include "platform/mixer/MixerAlsa.h"
#include "platform/mixer/MixerPulse.h"

#include <map>
#include <mutex>
#include <utility>

namespace {

struct BackEnds {
    std::mutex mutex;
    std::map<std::string, MixerDeviceOpener> openers{
        {"alsa", [](const MixerOpenRequest*) -> std::unique_ptr<MixerDevice> { return AlsaMasterVolume::open(); }},
        {"pulse", [](const MixerOpenRequest*) -> std::unique_ptr<MixerDevice> { return PulseSinkVolume::open(); }},
        {"auto",
         [](const MixerOpenRequest*) -> std::unique_ptr<MixerDevice> {
             if (std::unique_ptr<MixerDevice> server = PulseSinkVolume::open())
                 return server;
             return AlsaMasterVolume::open();
         }},
    };
    std::string choice = "auto";
};

BackEnds& backEnds()
{
    static BackEnds instance;
    return instance;
}

}  // namespace

std::unique_ptr<MixerDevice> openMixerDevice(const MixerOpenRequest* request)
{
    MixerDeviceOpener opener;
    {
        BackEnds& all = backEnds();
        std::lock_guard lock(all.mutex);
        const auto found = all.openers.find(all.choice);
        if (found == all.openers.end())
            return nullptr;
        opener = found->second;
    }
    // Outside the lock: connecting to the sound server may take a while.
    return opener(request);
}

std::string chooseMixerDevice(std::string name)
{
    BackEnds& all = backEnds();
    std::lock_guard lock(all.mutex);
    return std::exchange(all.choice, std::move(name));
}

MixerDeviceOpener setMixerBackEnd(const std::string& name, MixerDeviceOpener opener)
{
    BackEnds& all = backEnds();
    std::lock_guard lock(all.mutex);
    MixerDeviceOpener previous;
    if (const auto found = all.openers.find(name); found != all.openers.end()) {
        previous = std::move(found->second);
        all.openers.erase(found);
    }
    if (opener)
        all.openers.emplace(name, std::move(opener));
    return previous;
}
