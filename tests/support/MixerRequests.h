#pragma once
// The records filled the way the player fills them, so that each test makes
// the very calls the player makes.
#include "platform/mixer/Mixer.h"

inline MMRESULT speakersLine(HMIXER mixer, MIXERLINEA& line)
{
    line = MIXERLINEA{};
    line.cbStruct = sizeof(MIXERLINEA);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    return mixerGetLineInfoA(mixer, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
}

inline MMRESULT volumeControl(HMIXER mixer, DWORD lineID, MIXERCONTROLA& control)
{
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof(MIXERLINECONTROLSA);
    controls.dwLineID = lineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(MIXERCONTROLA);
    controls.pamxctrl = &control;
    return mixerGetLineControlsA(mixer, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
}

// The speakers volume control, found as the player finds it; its
// dwControlID is 0 when it was not found.
inline MIXERCONTROLA speakersVolumeControl(HMIXER mixer)
{
    MIXERLINEA line;
    MIXERCONTROLA control{};
    if (speakersLine(mixer, line) != MMSYSERR_NOERROR || volumeControl(mixer, line.dwLineID, control) != MMSYSERR_NOERROR)
        return MIXERCONTROLA{};
    return control;
}

inline MIXERCONTROLDETAILS volumeDetails(DWORD controlID, MIXERCONTROLDETAILS_UNSIGNED& value)
{
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof(MIXERCONTROLDETAILS);
    details.dwControlID = controlID;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = &value;
    return details;
}

inline MMRESULT readVolume(HMIXER mixer, DWORD controlID, DWORD& volume)
{
    MIXERCONTROLDETAILS_UNSIGNED value{};
    MIXERCONTROLDETAILS details = volumeDetails(controlID, value);
    const MMRESULT result = mixerGetControlDetailsA(mixer, &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
    if (result == MMSYSERR_NOERROR)
        volume = value.dwValue;
    return result;
}

inline MMRESULT writeVolume(HMIXER mixer, DWORD controlID, DWORD volume)
{
    MIXERCONTROLDETAILS_UNSIGNED value{volume};
    MIXERCONTROLDETAILS details = volumeDetails(controlID, value);
    return mixerSetControlDetails(mixer, &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
}
