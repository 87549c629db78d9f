#include "platform/mixer/MixerDeviceFactory.h"

#include "platform/mixer/MixerAlsa.h"

MixerDevices& mixerDevices()
{
    static MixerDevices instance(
        {
            {"alsa", [](std::string_view, const MixerOpenRequest*) -> std::unique_ptr<MixerDevice> {
                 return AlsaMasterVolume::open();
             }},
        },
        "alsa");
    return instance;
}
