#pragma once
// The audio mixer interface the player is written against: device count,
// open, capabilities, the speakers line, its volume control, and reading
// and writing that control's one value. Device 0 is the device of the
// chosen back end (MixerDeviceFactory.h): ALSA's "default" mixer, whose
// speakers volume is its master playback volume.
//
// Every record a caller hands in is checked before use: a null pointer or a
// cbStruct/size that is not sizeof of our own record is MMSYSERR_INVALPARAM.
#include "platform/win/WinTypes.h"

#include <cstddef>

using MMRESULT = UINT;
using MMVERSION = UINT;
using UINT_PTR = std::uintptr_t;
using LONG = std::int32_t;
using CHAR = char;
using LPVOID = void*;

struct HMIXER__;
// An opened mixer device; 0 means none.
using HMIXER = HMIXER__*;
using LPHMIXER = HMIXER*;
// The object a query is about; with MIXER_OBJECTF_HMIXER it is an HMIXER.
using HMIXEROBJ = HMIXER;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MIXERR_INVALLINE = 1024;
constexpr MMRESULT MIXERR_INVALCONTROL = 1025;

constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
constexpr DWORD CALLBACK_NULL = 0x00000000;
constexpr DWORD CALLBACK_WINDOW = 0x00010000;

constexpr DWORD MIXER_OBJECTF_HANDLE = 0x80000000;
constexpr DWORD MIXER_OBJECTF_HMIXER = MIXER_OBJECTF_HANDLE;
constexpr DWORD MIXER_OBJECTF_TYPEMASK = 0xF0000000;

constexpr DWORD MIXER_GETLINEINFOF_DESTINATION = 0;
constexpr DWORD MIXER_GETLINEINFOF_LINEID = 2;
constexpr DWORD MIXER_GETLINEINFOF_COMPONENTTYPE = 3;
constexpr DWORD MIXER_GETLINEINFOF_QUERYMASK = 0x0000000F;

constexpr DWORD MIXER_GETLINECONTROLSF_ALL = 0;
constexpr DWORD MIXER_GETLINECONTROLSF_ONEBYID = 1;
constexpr DWORD MIXER_GETLINECONTROLSF_ONEBYTYPE = 2;
constexpr DWORD MIXER_GETLINECONTROLSF_QUERYMASK = 0x0000000F;

constexpr DWORD MIXER_GETCONTROLDETAILSF_VALUE = 0;
constexpr DWORD MIXER_GETCONTROLDETAILSF_QUERYMASK = 0x0000000F;
constexpr DWORD MIXER_SETCONTROLDETAILSF_VALUE = 0;
constexpr DWORD MIXER_SETCONTROLDETAILSF_QUERYMASK = 0x0000000F;

constexpr DWORD MIXERLINE_LINEF_ACTIVE = 0x00000001;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 4;
constexpr DWORD MIXERLINE_TARGETTYPE_WAVEOUT = 1;

constexpr DWORD MIXERCONTROL_CONTROLF_UNIFORM = 0x00000001;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001;

constexpr std::size_t MAXPNAMELEN = 32;
constexpr std::size_t MIXER_SHORT_NAME_CHARS = 16;
constexpr std::size_t MIXER_LONG_NAME_CHARS = 64;

struct MIXERCAPSA {
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    CHAR szPname[MAXPNAMELEN];
    DWORD fdwSupport;
    DWORD cDestinations;
};
using LPMIXERCAPSA = MIXERCAPSA*;

struct MIXERLINEA {
    DWORD cbStruct;
    DWORD dwDestination;
    DWORD dwSource;
    DWORD dwLineID;
    DWORD fdwLine;
    // Driver-specific and never a pointer here: kept 32-bit so the record
    // has the size every caller knows.
    DWORD dwUser;
    DWORD dwComponentType;
    DWORD cChannels;
    DWORD cConnections;
    DWORD cControls;
    CHAR szShortName[MIXER_SHORT_NAME_CHARS];
    CHAR szName[MIXER_LONG_NAME_CHARS];
    struct {
        DWORD dwType;
        DWORD dwDeviceID;
        WORD wMid;
        WORD wPid;
        MMVERSION vDriverVersion;
        CHAR szPname[MAXPNAMELEN];
    } Target;
};
using LPMIXERLINEA = MIXERLINEA*;

struct MIXERCONTROLA {
    DWORD cbStruct;
    DWORD dwControlID;
    DWORD dwControlType;
    DWORD fdwControl;
    DWORD cMultipleItems;
    CHAR szShortName[MIXER_SHORT_NAME_CHARS];
    CHAR szName[MIXER_LONG_NAME_CHARS];
    struct {
        union {
            LONG lMinimum;
            DWORD dwMinimum;
        };
        union {
            LONG lMaximum;
            DWORD dwMaximum;
        };
        DWORD dwReserved[4];
    } Bounds;
    union {
        DWORD cSteps;
        DWORD cbCustomData;
        DWORD dwReserved[6];
    } Metrics;
};
using LPMIXERCONTROLA = MIXERCONTROLA*;

// Holds a pointer, so on a 64-bit system it is 32 bytes, not 24: callers put
// sizeof(MIXERLINECONTROLSA) in cbStruct.
struct MIXERLINECONTROLSA {
    DWORD cbStruct;
    DWORD dwLineID;
    union {
        DWORD dwControlID;
        DWORD dwControlType;
    };
    DWORD cControls;
    DWORD cbmxctrl;
    LPMIXERCONTROLA pamxctrl;
};
using LPMIXERLINECONTROLSA = MIXERLINECONTROLSA*;

// Holds pointers, so on a 64-bit system it is 40 bytes, not 24: callers put
// sizeof(MIXERCONTROLDETAILS) in cbStruct.
struct MIXERCONTROLDETAILS {
    DWORD cbStruct;
    DWORD dwControlID;
    DWORD cChannels;
    union {
        HWND hwndOwner;
        DWORD cMultipleItems;
    };
    DWORD cbDetails;
    LPVOID paDetails;
};
using LPMIXERCONTROLDETAILS = MIXERCONTROLDETAILS*;

struct MIXERCONTROLDETAILS_UNSIGNED {
    DWORD dwValue;
};

static_assert(sizeof(MIXERCAPSA) == 48);
static_assert(sizeof(MIXERLINEA) == 168);
static_assert(sizeof(MIXERCONTROLA) == 148);
static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == 4);
static_assert(sizeof(MIXERLINECONTROLSA) == (sizeof(void*) == 4 ? 24 : 32));
static_assert(sizeof(MIXERCONTROLDETAILS) == (sizeof(void*) == 4 ? 24 : 40));

// 1 when the device opens (ALSA's: the default mixer has a playback
// volume), else 0.
UINT mixerGetNumDevs();
// Opens device 0. fdwOpen: CALLBACK_NULL or CALLBACK_WINDOW (the window is
// accepted; ALSA's device sends no change notifications). *phmx is 0 on failure.
MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen);
MMRESULT mixerClose(HMIXER hmx);
// By device identifier (0) or by an opened handle.
MMRESULT mixerGetDevCapsA(UINT_PTR uMxId, LPMIXERCAPSA pmxcaps, UINT cbmxcaps);
MMRESULT mixerGetDevCapsA(HMIXER hmx, LPMIXERCAPSA pmxcaps, UINT cbmxcaps);
// The speakers destination line: by destination 0, by line identifier or by
// component type MIXERLINE_COMPONENTTYPE_DST_SPEAKERS; always with
// MIXER_OBJECTF_HMIXER.
MMRESULT mixerGetLineInfoA(HMIXEROBJ hmxobj, LPMIXERLINEA pmxl, DWORD fdwInfo);
// The line's one control, its volume: all, by identifier or by type; cControls 1.
MMRESULT mixerGetLineControlsA(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSA pmxlc, DWORD fdwControls);
// One unsigned value for all channels: cChannels 1, cMultipleItems 0,
// cbDetails sizeof(MIXERCONTROLDETAILS_UNSIGNED). Reading reports the
// loudest channel; writing sets every channel, clamped into the bounds.
MMRESULT mixerGetControlDetailsA(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails);
MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails);
