#include "platform/mixer/MixerRecords.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace {

template <std::size_t N>
void copyName(CHAR (&target)[N], std::string_view name)
{
    const std::size_t length = std::min(name.size(), N - 1);
    std::memcpy(target, name.data(), length);
    std::memset(target + length, 0, N - length);
}

// Every query is about an opened handle; only the query bits may vary.
MMRESULT checkQueryFlags(DWORD flags, DWORD queryMask, std::initializer_list<DWORD> queries)
{
    if ((flags & MIXER_OBJECTF_TYPEMASK) != MIXER_OBJECTF_HMIXER)
        return MMSYSERR_INVALFLAG;
    if ((flags & ~(MIXER_OBJECTF_TYPEMASK | queryMask)) != 0)
        return MMSYSERR_INVALFLAG;
    const DWORD query = flags & queryMask;
    if (std::find(queries.begin(), queries.end(), query) == queries.end())
        return MMSYSERR_INVALFLAG;
    return MMSYSERR_NOERROR;
}

} // namespace

MMRESULT checkOpenRequest(const HMIXER* handle, DWORD flags)
{
    if (handle == nullptr)
        return MMSYSERR_INVALPARAM;
    const DWORD callback = flags & CALLBACK_TYPEMASK;
    if ((flags & ~CALLBACK_TYPEMASK) != 0 || (callback != CALLBACK_NULL && callback != CALLBACK_WINDOW))
        return MMSYSERR_INVALFLAG;
    return MMSYSERR_NOERROR;
}

MMRESULT checkCapsRequest(const MIXERCAPSA* caps, UINT size)
{
    if (caps == nullptr || size != sizeof(MIXERCAPSA))
        return MMSYSERR_INVALPARAM;
    return MMSYSERR_NOERROR;
}

MMRESULT checkLineInfoRequest(const MIXERLINEA* line, DWORD flags)
{
    if (line == nullptr || line->cbStruct != sizeof(MIXERLINEA))
        return MMSYSERR_INVALPARAM;
    return checkQueryFlags(flags, MIXER_GETLINEINFOF_QUERYMASK,
                           {MIXER_GETLINEINFOF_DESTINATION, MIXER_GETLINEINFOF_LINEID,
                            MIXER_GETLINEINFOF_COMPONENTTYPE});
}

MMRESULT checkLineControlsRequest(const MIXERLINECONTROLSA* controls, DWORD flags)
{
    if (controls == nullptr || controls->cbStruct != sizeof(MIXERLINECONTROLSA))
        return MMSYSERR_INVALPARAM;
    // The speakers line has one control, so every query asks for exactly one.
    if (controls->cControls != 1 || controls->cbmxctrl != sizeof(MIXERCONTROLA) || controls->pamxctrl == nullptr)
        return MMSYSERR_INVALPARAM;
    return checkQueryFlags(flags, MIXER_GETLINECONTROLSF_QUERYMASK,
                           {MIXER_GETLINECONTROLSF_ALL, MIXER_GETLINECONTROLSF_ONEBYID,
                            MIXER_GETLINECONTROLSF_ONEBYTYPE});
}

MMRESULT checkVolumeRequest(const MIXERCONTROLDETAILS* details, DWORD flags)
{
    if (details == nullptr || details->cbStruct != sizeof(MIXERCONTROLDETAILS))
        return MMSYSERR_INVALPARAM;
    // The control is uniform: one value stands for every channel.
    if (details->cChannels != 1 || details->cMultipleItems != 0 ||
        details->cbDetails != sizeof(MIXERCONTROLDETAILS_UNSIGNED) || details->paDetails == nullptr)
        return MMSYSERR_INVALPARAM;
    static_assert(MIXER_GETCONTROLDETAILSF_VALUE == MIXER_SETCONTROLDETAILSF_VALUE);
    return checkQueryFlags(flags, MIXER_GETCONTROLDETAILSF_QUERYMASK, {MIXER_GETCONTROLDETAILSF_VALUE});
}

void describeDevice(MIXERCAPSA& caps, const MixerDeviceInfo& device)
{
    caps.wMid = 0;
    caps.wPid = 0;
    caps.vDriverVersion = device.driverVersion;
    copyName(caps.szPname, device.name);
    caps.fdwSupport = 0;
    caps.cDestinations = 1;
}

MMRESULT describeSpeakersLine(MIXERLINEA& line, DWORD flags, const MixerDeviceInfo& device)
{
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
        if (line.dwDestination != 0)
            return MIXERR_INVALLINE;
        break;
    case MIXER_GETLINEINFOF_LINEID:
        if (line.dwLineID != SpeakersLineID)
            return MIXERR_INVALLINE;
        break;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        if (line.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)
            return MIXERR_INVALLINE;
        break;
    default:
        return MMSYSERR_INVALFLAG;
    }
    line.dwDestination = 0;
    line.dwSource = 0;
    line.dwLineID = SpeakersLineID;
    line.fdwLine = MIXERLINE_LINEF_ACTIVE;
    line.dwUser = 0;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    line.cChannels = device.channels;
    line.cConnections = 0;
    line.cControls = 1;
    copyName(line.szShortName, device.lineName);
    copyName(line.szName, device.lineName);
    line.Target.dwType = MIXERLINE_TARGETTYPE_WAVEOUT;
    line.Target.dwDeviceID = 0;
    line.Target.wMid = 0;
    line.Target.wPid = 0;
    line.Target.vDriverVersion = device.driverVersion;
    copyName(line.Target.szPname, device.name);
    return MMSYSERR_NOERROR;
}

MMRESULT describeVolumeControl(MIXERLINECONTROLSA& controls, DWORD flags, const MixerDeviceInfo& device)
{
    switch (flags & MIXER_GETLINECONTROLSF_QUERYMASK) {
    case MIXER_GETLINECONTROLSF_ALL:
        if (controls.dwLineID != SpeakersLineID)
            return MIXERR_INVALLINE;
        break;
    case MIXER_GETLINECONTROLSF_ONEBYTYPE:
        if (controls.dwLineID != SpeakersLineID)
            return MIXERR_INVALLINE;
        if (controls.dwControlType != MIXERCONTROL_CONTROLTYPE_VOLUME)
            return MIXERR_INVALCONTROL;
        break;
    case MIXER_GETLINECONTROLSF_ONEBYID:
        if (controls.dwControlID != SpeakersVolumeControlID)
            return MIXERR_INVALCONTROL;
        controls.dwLineID = SpeakersLineID;
        break;
    default:
        return MMSYSERR_INVALFLAG;
    }
    MIXERCONTROLA& control = *controls.pamxctrl;
    control = MIXERCONTROLA{};
    control.cbStruct = sizeof(MIXERCONTROLA);
    control.dwControlID = SpeakersVolumeControlID;
    control.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    control.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM;
    control.cMultipleItems = 0;
    copyName(control.szShortName, "Volume");
    copyName(control.szName, device.lineName + " Volume");
    control.Bounds.dwMinimum = device.minimum;
    control.Bounds.dwMaximum = device.maximum;
    control.Metrics.cSteps = device.maximum - device.minimum;
    return MMSYSERR_NOERROR;
}

MMRESULT checkVolumeControlID(const MIXERCONTROLDETAILS& details)
{
    return details.dwControlID == SpeakersVolumeControlID ? MMSYSERR_NOERROR : MIXERR_INVALCONTROL;
}

DWORD requestedVolume(const MIXERCONTROLDETAILS& details)
{
    return static_cast<const MIXERCONTROLDETAILS_UNSIGNED*>(details.paDetails)->dwValue;
}

void reportVolume(MIXERCONTROLDETAILS& details, DWORD value)
{
    static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details.paDetails)->dwValue = value;
}

DWORD clampVolume(DWORD value, const MixerDeviceInfo& device)
{
    if (value < device.minimum)
        return device.minimum;
    return value > device.maximum ? device.maximum : value;
}
