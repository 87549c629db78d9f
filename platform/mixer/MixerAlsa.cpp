#include "platform/mixer/MixerAlsa.h"

#include "platform/mixer/MixerRecords.h"

#include "platform/QuietAlsaErrors.h"
#include "platform/win/Logging.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

constexpr const char* DeviceName = "default";

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
struct SelemIdFree {
    void operator()(snd_mixer_selem_id_t* id) const { snd_mixer_selem_id_free(id); }
};
struct CardInfoFree {
    void operator()(snd_ctl_card_info_t* info) const { snd_ctl_card_info_free(info); }
};
using MixerPtr = std::unique_ptr<snd_mixer_t, MixerCloser>;
using SelemIdPtr = std::unique_ptr<snd_mixer_selem_id_t, SelemIdFree>;
using CardInfoPtr = std::unique_ptr<snd_ctl_card_info_t, CardInfoFree>;

struct Range {
    long minimum = 0;
    long maximum = 0;
    bool operator==(const Range&) const = default;
};

// The control's values are unsigned 32-bit, so only such ranges can be offered.
bool playbackRange(snd_mixer_elem_t* element, Range& range)
{
    if (!snd_mixer_selem_has_playback_volume(element))
        return false;
    if (snd_mixer_selem_get_playback_volume_range(element, &range.minimum, &range.maximum) < 0)
        return false;
    return range.minimum >= 0 && range.minimum <= range.maximum && range.maximum <= long{UINT32_MAX};
}

bool usable(snd_mixer_elem_t* element)
{
    Range range;
    return playbackRange(element, range);
}

MixerPtr connectOnce()
{
    snd_mixer_t* raw = nullptr;
    if (const int error = snd_mixer_open(&raw, 0); error < 0) {
        qCWarning(mixerLog) << "snd_mixer_open:" << snd_strerror(error);
        return {};
    }
    MixerPtr mixer(raw);
    if (const int error = snd_mixer_attach(raw, DeviceName); error < 0) {
        qCWarning(mixerLog) << "snd_mixer_attach" << DeviceName << ":" << snd_strerror(error);
        return {};
    }
    if (const int error = snd_mixer_selem_register(raw, nullptr, nullptr); error < 0) {
        qCWarning(mixerLog) << "snd_mixer_selem_register:" << snd_strerror(error);
        return {};
    }
    if (const int error = snd_mixer_load(raw); error < 0) {
        qCWarning(mixerLog) << "snd_mixer_load:" << snd_strerror(error);
        return {};
    }
    return mixer;
}

// ALSA decides what "default" means when it first reads its configuration:
// with no sound server running then, it is a card that may not exist. Read
// the configuration again before giving up, so that a server started later
// (or restarted) is found.
MixerPtr connect()
{
    const QuietAlsaErrors quiet(&mixerLog);
    if (MixerPtr mixer = connectOnce())
        return mixer;
    snd_config_update_free_global();
    return connectOnce();
}

snd_mixer_elem_t* masterElement(snd_mixer_t* mixer)
{
    snd_mixer_elem_t* first = nullptr;
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(mixer); element; element = snd_mixer_elem_next(element)) {
        if (!usable(element))
            continue;
        if (std::string_view(snd_mixer_selem_get_name(element)) == "Master")
            return element;
        if (first == nullptr)
            first = element;
    }
    return first;
}

std::string cardName(snd_mixer_t* mixer)
{
    snd_hctl_t* hctl = nullptr;
    snd_ctl_card_info_t* raw = nullptr;
    if (snd_mixer_get_hctl(mixer, DeviceName, &hctl) < 0 || snd_ctl_card_info_malloc(&raw) < 0)
        return DeviceName;
    CardInfoPtr info(raw);
    if (snd_ctl_card_info(snd_hctl_ctl(hctl), raw) < 0 || *snd_ctl_card_info_get_name(raw) == '\0')
        return DeviceName;
    return snd_ctl_card_info_get_name(raw);
}

DWORD channelCount(snd_mixer_elem_t* element)
{
    if (snd_mixer_selem_is_playback_mono(element))
        return 1;
    DWORD count = 0;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel)
        count += snd_mixer_selem_has_playback_channel(element, static_cast<snd_mixer_selem_channel_id_t>(channel)) ? 1 : 0;
    return count;
}

bool loudestChannel(snd_mixer_elem_t* element, long& loudest)
{
    bool any = false;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        long value = 0;
        if (!snd_mixer_selem_has_playback_channel(element, id) || snd_mixer_selem_get_playback_volume(element, id, &value) < 0)
            continue;
        loudest = any ? std::max(loudest, value) : value;
        any = true;
    }
    return any;
}

bool everyChannelAt(snd_mixer_elem_t* element, long value)
{
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        long now = 0;
        if (snd_mixer_selem_has_playback_channel(element, id) &&
            (snd_mixer_selem_get_playback_volume(element, id, &now) < 0 || now != value))
            return false;
    }
    return true;
}

} // namespace

struct AlsaMasterVolume::Connection {
    MixerPtr mixer;
};

// Found again by name and index on every use: an event handled since the
// last call may have replaced the element.
struct AlsaMasterVolume::Element {
    SelemIdPtr id;
    Range range;

    snd_mixer_elem_t* find(snd_mixer_t* mixer) const
    {
        snd_mixer_elem_t* element = snd_mixer_find_selem(mixer, id.get());
        Range now;
        // Another range would make the bounds the caller holds wrong.
        return element && playbackRange(element, now) && now == range ? element : nullptr;
    }
};

AlsaMasterVolume::AlsaMasterVolume(Key, std::unique_ptr<Connection> connection, std::unique_ptr<Element> element,
                                   MixerDeviceInfo info)
    : connection_(std::move(connection)), element_(std::move(element)), info_(std::move(info))
{
}

AlsaMasterVolume::~AlsaMasterVolume() = default;

std::unique_ptr<AlsaMasterVolume> AlsaMasterVolume::open()
{
    MixerPtr mixer = connect();
    if (!mixer)
        return nullptr;
    snd_mixer_elem_t* master = masterElement(mixer.get());
    snd_mixer_selem_id_t* rawId = nullptr;
    if (master == nullptr || snd_mixer_selem_id_malloc(&rawId) < 0)
        return nullptr;
    auto element = std::make_unique<Element>();
    element->id.reset(rawId);
    snd_mixer_selem_get_id(master, rawId);
    playbackRange(master, element->range);

    MixerDeviceInfo info;
    info.name = cardName(mixer.get());
    info.driverVersion = (SND_LIB_MAJOR << 8) | SND_LIB_MINOR;
    info.lineName = snd_mixer_selem_get_name(master);
    info.channels = channelCount(master);
    info.minimum = static_cast<DWORD>(element->range.minimum);
    info.maximum = static_cast<DWORD>(element->range.maximum);
    auto connection = std::make_unique<Connection>(Connection{std::move(mixer)});
    return std::make_unique<AlsaMasterVolume>(Key(), std::move(connection), std::move(element), std::move(info));
}

std::unique_ptr<AlsaMasterVolume::Connection> AlsaMasterVolume::reconnect() const
{
    MixerPtr mixer = connect();
    if (!mixer || element_->find(mixer.get()) == nullptr)
        return nullptr;
    return std::make_unique<Connection>(Connection{std::move(mixer)});
}

bool AlsaMasterVolume::read(DWORD& value)
{
    // Another program's change reaches an open connection only as an event
    // some time later; a new connection starts from the server's current state.
    connection_ = reconnect();
    if (!connection_)
        return false;
    snd_mixer_elem_t* element = element_->find(connection_->mixer.get());
    long loudest = 0;
    if (element == nullptr || !loudestChannel(element, loudest))
        return false;
    value = static_cast<DWORD>(std::clamp(loudest, element_->range.minimum, element_->range.maximum));
    return true;
}

bool AlsaMasterVolume::write(DWORD value)
{
    const long clamped = clampVolume(value, info_);
    const auto setAll = [&]() {
        snd_mixer_elem_t* element = element_->find(connection_->mixer.get());
        return element && snd_mixer_selem_set_playback_volume_all(element, clamped) == 0;
    };
    // Handling the events that arrived brings this connection's values up to
    // date. One whose server went away answers -EIO from then on: only a new
    // connection can work again.
    if (connection_ && snd_mixer_handle_events(connection_->mixer.get()) < 0)
        connection_.reset();
    // ALSA skips writing the value it last saw, but another program may have
    // changed the volume since without the event having arrived yet: only a
    // new connection knows.
    if (connection_) {
        snd_mixer_elem_t* element = element_->find(connection_->mixer.get());
        if (element == nullptr || everyChannelAt(element, clamped))
            connection_.reset();
    }
    const bool fresh = !connection_;
    if (fresh)
        connection_ = reconnect();
    if (connection_ && setAll())
        return true;
    // The server may have restarted since the last event was handled.
    if (!fresh) {
        connection_ = reconnect();
        if (connection_ && setAll())
            return true;
    }
    connection_.reset();
    return false;
}
