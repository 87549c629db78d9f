#include "platform/mixer/MixerDeviceFactory.h"

#include "platform/mixer/MixerAlsa.h"
#include "platform/mixer/MixerPulse.h"

MixerDevices& mixerDevices()
{
    static MixerDevices instance(
        {
            {"pulse", [](std::string_view, const MixerOpenRequest*) -> std::unique_ptr<MixerDevice> {
                 return PulseSinkVolume::open();
             }},
            {"alsa", [](std::string_view, const MixerOpenRequest*) -> std::unique_ptr<MixerDevice> {
                 return AlsaMasterVolume::open();
             }},
        },
        "pulse,alsa");
    return instance;
}
