#pragma once
// What the mixer calls check in the records a caller hands in, and how they
// describe the one device, its speakers line and that line's volume control.
#include "platform/mixer/MixerDevice.h"

constexpr DWORD SpeakersLineID = 0xFFFF0000;
constexpr DWORD SpeakersVolumeControlID = 0x00000010;

// Record checks: MMSYSERR_NOERROR, MMSYSERR_INVALPARAM for a missing or
// wrongly sized record, MMSYSERR_INVALFLAG for flags we do not serve.
MMRESULT checkOpenRequest(const HMIXER* handle, DWORD flags);
MMRESULT checkCapsRequest(const MIXERCAPSA* caps, UINT size);
MMRESULT checkLineInfoRequest(const MIXERLINEA* line, DWORD flags);
MMRESULT checkLineControlsRequest(const MIXERLINECONTROLSA* controls, DWORD flags);
MMRESULT checkVolumeRequest(const MIXERCONTROLDETAILS* details, DWORD flags);

void describeDevice(MIXERCAPSA& caps, const MixerDeviceInfo& device);
// Fills the line when the request names the speakers line, else MIXERR_INVALLINE.
MMRESULT describeSpeakersLine(MIXERLINEA& line, DWORD flags, const MixerDeviceInfo& device);
// Fills the one control when the request names the volume control of the
// speakers line, else MIXERR_INVALLINE or MIXERR_INVALCONTROL.
MMRESULT describeVolumeControl(MIXERLINECONTROLSA& controls, DWORD flags, const MixerDeviceInfo& device);
// MIXERR_INVALCONTROL unless the details are about the volume control.
MMRESULT checkVolumeControlID(const MIXERCONTROLDETAILS& details);

DWORD requestedVolume(const MIXERCONTROLDETAILS& details);
void reportVolume(MIXERCONTROLDETAILS& details, DWORD value);
DWORD clampVolume(DWORD value, const MixerDeviceInfo& device);
