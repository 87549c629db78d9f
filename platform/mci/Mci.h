#pragma once
// The media control interface: one command entry point and the records,
// command codes, flags and error numbers the program fills in. A device is
// an MP3 file opened by name; it plays on a thread of its own and posts
// MM_MCINOTIFY (WinMessage.h) to the window named in dwCallback.
#include "platform/win/WinTypes.h"

#include <cstdint>

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;
using LPCSTR = const char*;
using LPSTR = char*;
using LONG = std::int32_t;

// Commands.
constexpr UINT MCI_OPEN = 0x0803;
constexpr UINT MCI_CLOSE = 0x0804;
constexpr UINT MCI_PLAY = 0x0806;
constexpr UINT MCI_SEEK = 0x0807;
constexpr UINT MCI_STOP = 0x0808;
constexpr UINT MCI_PAUSE = 0x0809;
constexpr UINT MCI_GETDEVCAPS = 0x080B;
constexpr UINT MCI_STATUS = 0x0814;
constexpr UINT MCI_WHERE = 0x0843;
constexpr UINT MCI_RESUME = 0x0855;

// Flags common to every command.
constexpr DWORD MCI_NOTIFY = 0x00000001;
constexpr DWORD MCI_WAIT = 0x00000002;
constexpr DWORD MCI_FROM = 0x00000004;
constexpr DWORD MCI_TO = 0x00000008;
constexpr DWORD MCI_TRACK = 0x00000010;

// MCI_OPEN flags.
constexpr DWORD MCI_OPEN_SHAREABLE = 0x00000100;
constexpr DWORD MCI_OPEN_ELEMENT = 0x00000200;
constexpr DWORD MCI_OPEN_ALIAS = 0x00000400;
constexpr DWORD MCI_OPEN_TYPE_ID = 0x00001000;
constexpr DWORD MCI_OPEN_TYPE = 0x00002000;

// MCI_SEEK flags.
constexpr DWORD MCI_SEEK_TO_START = 0x00000100;
constexpr DWORD MCI_SEEK_TO_END = 0x00000200;

// MCI_STATUS flags and items.
constexpr DWORD MCI_STATUS_ITEM = 0x00000100;
constexpr DWORD MCI_STATUS_START = 0x00000200;
constexpr DWORD MCI_STATUS_LENGTH = 1;
constexpr DWORD MCI_STATUS_POSITION = 2;
constexpr DWORD MCI_STATUS_NUMBER_OF_TRACKS = 3;
constexpr DWORD MCI_STATUS_MODE = 4;
constexpr DWORD MCI_STATUS_MEDIA_PRESENT = 5;
constexpr DWORD MCI_STATUS_TIME_FORMAT = 6;
constexpr DWORD MCI_STATUS_READY = 7;
constexpr DWORD MCI_STATUS_CURRENT_TRACK = 8;

// MCI_GETDEVCAPS flag and items.
constexpr DWORD MCI_GETDEVCAPS_ITEM = 0x00000100;
constexpr DWORD MCI_GETDEVCAPS_CAN_RECORD = 1;
constexpr DWORD MCI_GETDEVCAPS_HAS_AUDIO = 2;
constexpr DWORD MCI_GETDEVCAPS_HAS_VIDEO = 3;
constexpr DWORD MCI_GETDEVCAPS_DEVICE_TYPE = 4;
constexpr DWORD MCI_GETDEVCAPS_USES_FILES = 5;
constexpr DWORD MCI_GETDEVCAPS_COMPOUND_DEVICE = 6;
constexpr DWORD MCI_GETDEVCAPS_CAN_EJECT = 7;
constexpr DWORD MCI_GETDEVCAPS_CAN_PLAY = 8;
constexpr DWORD MCI_GETDEVCAPS_CAN_SAVE = 9;

// MCI_WHERE flag: the source (picture) rectangle.
constexpr DWORD MCI_ANIM_WHERE_SOURCE = 0x00020000;

// Device types answered by MCI_GETDEVCAPS_DEVICE_TYPE.
constexpr DWORD MCI_DEVTYPE_OTHER = 521;
constexpr DWORD MCI_DEVTYPE_WAVEFORM_AUDIO = 522;

// Time format answered by MCI_STATUS_TIME_FORMAT: positions are milliseconds.
constexpr DWORD MCI_FORMAT_MILLISECONDS = 0;

// Modes answered by MCI_STATUS_MODE.
constexpr DWORD MCI_MODE_NOT_READY = 524;
constexpr DWORD MCI_MODE_STOP = 525;
constexpr DWORD MCI_MODE_PLAY = 526;
constexpr DWORD MCI_MODE_RECORD = 527;
constexpr DWORD MCI_MODE_SEEK = 528;
constexpr DWORD MCI_MODE_PAUSE = 529;
constexpr DWORD MCI_MODE_OPEN = 530;

// Notice codes: the WParam of MM_MCINOTIFY (its LParam is the device id).
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x0001;
constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 0x0002;
constexpr WPARAM MCI_NOTIFY_ABORTED = 0x0004;
constexpr WPARAM MCI_NOTIFY_FAILURE = 0x0008;

// Error numbers.
constexpr MCIERROR MCIERR_BASE = 256;
constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
constexpr MCIERROR MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
constexpr MCIERROR MCIERR_DEVICE_NOT_READY = MCIERR_BASE + 20;
constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
constexpr MCIERROR MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;
constexpr MCIERROR MCIERR_NONAPPLICABLE_FUNCTION = MCIERR_BASE + 46;
constexpr MCIERROR MCIERR_FILENAME_REQUIRED = MCIERR_BASE + 48;
constexpr MCIERROR MCIERR_WAVE_OUTPUTSUNSUITABLE = MCIERR_BASE + 70;
constexpr MCIERROR MCIERR_FILE_READ = MCIERR_BASE + 92;

struct MCI_GENERIC_PARMS {
    DWORD_PTR dwCallback;
};

struct MCI_OPEN_PARMSA {
    DWORD_PTR dwCallback;
    MCIDEVICEID wDeviceID;
    LPCSTR lpstrDeviceType;
    LPCSTR lpstrElementName;
    LPCSTR lpstrAlias;
};

struct MCI_PLAY_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwFrom;
    DWORD dwTo;
};

struct MCI_SEEK_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTo;
};

struct MCI_STATUS_PARMS {
    DWORD_PTR dwCallback;
    DWORD_PTR dwReturn;
    DWORD dwItem;
    DWORD dwTrack;
};

struct MCI_GETDEVCAPS_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwReturn;
    DWORD dwItem;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MCI_ANIM_RECT_PARMS {
    DWORD_PTR dwCallback;
    RECT rc;
};

// Carries out one command on a device (MCI_OPEN: on device 0, answering the
// new device's id in wDeviceID). param points at the command's record. Answers
// 0 or an MCIERR_ number. Commands with MCI_WAIT return when done; MCI_PLAY
// and MCI_RESUME return at once and, with MCI_NOTIFY, post the notice later.
MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param);

// Copies the text of an error number into buffer (at most length - 1 bytes
// and a NUL). FALSE when the number has no text.
BOOL mciGetErrorStringA(MCIERROR error, LPSTR buffer, UINT length);
