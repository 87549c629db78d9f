#include "platform/mci/MciDeviceCommands.h"

#include "platform/mci/Mp3Device.h"
#include "platform/win/WinMessage.h"

#include <bit>
#include <cstring>

namespace {

template <typename Record>
Record* recordOf(DWORD_PTR param)
{
    return reinterpret_cast<Record*>(param);
}

HWND windowOf(DWORD_PTR callback) { return reinterpret_cast<HWND>(callback); }

// Every record begins with dwCallback, whatever its type.
DWORD_PTR callbackOf(DWORD_PTR param)
{
    DWORD_PTR callback = 0;
    if (param != 0)
        std::memcpy(&callback, reinterpret_cast<const void*>(param), sizeof callback);
    return callback;
}

HWND noticeWindow(DWORD flags, DWORD_PTR callback) { return (flags & MCI_NOTIFY) ? windowOf(callback) : nullptr; }

DWORD modeCode(Mp3Device::Mode mode)
{
    switch (mode) {
    case Mp3Device::Mode::Playing:
        return MCI_MODE_PLAY;
    case Mp3Device::Mode::Paused:
        return MCI_MODE_PAUSE;
    case Mp3Device::Mode::Stopped:
        break;
    }
    return MCI_MODE_STOP;
}

MCIERROR play(Mp3Device& device, DWORD flags, MCI_PLAY_PARMS* parms)
{
    if (parms == nullptr && (flags & MCI_FROM))
        return MCIERR_NULL_PARAMETER_BLOCK;
    // Playing to a given point, or blocking until the end, is not offered.
    if (flags & (MCI_TO | MCI_WAIT))
        return MCIERR_UNSUPPORTED_FUNCTION;
    std::optional<DWORD> from;
    if (flags & MCI_FROM)
        from = parms->dwFrom;
    device.play(from, parms ? noticeWindow(flags, parms->dwCallback) : nullptr);
    return 0;
}

MCIERROR seek(Mp3Device& device, DWORD flags, MCI_SEEK_PARMS* parms)
{
    const DWORD targets = flags & (MCI_SEEK_TO_START | MCI_SEEK_TO_END | MCI_TO);
    if (targets == 0)
        return MCIERR_MISSING_PARAMETER;
    if (std::popcount(targets) > 1)
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    if ((flags & MCI_TO) && parms == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (flags & MCI_SEEK_TO_START)
        device.seek(0);
    else if (flags & MCI_SEEK_TO_END)
        device.seek(device.lengthMs());
    else
        device.seek(parms->dwTo);
    return 0;
}

// An MP3 file is a medium of one track.
MCIERROR status(Mp3Device& device, DWORD flags, MCI_STATUS_PARMS* parms)
{
    if (parms == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_STATUS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    const bool ofTrack = flags & MCI_TRACK;
    if (ofTrack && parms->dwTrack != 1)
        return MCIERR_OUTOFRANGE;
    switch (parms->dwItem) {
    case MCI_STATUS_LENGTH:
        parms->dwReturn = device.lengthMs();
        return 0;
    case MCI_STATUS_POSITION:
        parms->dwReturn = (ofTrack || (flags & MCI_STATUS_START)) ? 0 : device.positionMs();
        return 0;
    case MCI_STATUS_MODE:
        parms->dwReturn = modeCode(device.mode());
        return 0;
    case MCI_STATUS_NUMBER_OF_TRACKS:
    case MCI_STATUS_CURRENT_TRACK:
        parms->dwReturn = 1;
        return 0;
    case MCI_STATUS_MEDIA_PRESENT:
    case MCI_STATUS_READY:
        parms->dwReturn = TRUE_;
        return 0;
    case MCI_STATUS_TIME_FORMAT:
        parms->dwReturn = MCI_FORMAT_MILLISECONDS;
        return 0;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

MCIERROR capabilities(DWORD flags, MCI_GETDEVCAPS_PARMS* parms)
{
    if (parms == nullptr)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if (!(flags & MCI_GETDEVCAPS_ITEM))
        return MCIERR_MISSING_PARAMETER;
    switch (parms->dwItem) {
    case MCI_GETDEVCAPS_CAN_PLAY:
    case MCI_GETDEVCAPS_HAS_AUDIO:
    case MCI_GETDEVCAPS_USES_FILES:
    case MCI_GETDEVCAPS_COMPOUND_DEVICE:
        parms->dwReturn = TRUE_;
        return 0;
    case MCI_GETDEVCAPS_CAN_RECORD:
    case MCI_GETDEVCAPS_HAS_VIDEO:
    case MCI_GETDEVCAPS_CAN_EJECT:
    case MCI_GETDEVCAPS_CAN_SAVE:
        parms->dwReturn = FALSE_;
        return 0;
    case MCI_GETDEVCAPS_DEVICE_TYPE:
        parms->dwReturn = MCI_DEVTYPE_OTHER;
        return 0;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
}


}  // namespace

void noticeDone(DWORD flags, DWORD_PTR callback, MCIDEVICEID device)
{
    if (flags & MCI_NOTIFY)
        PostMessageA(windowOf(callback), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, static_cast<LPARAM>(device));
}

MCIERROR sendToDevice(Mp3Device& device, UINT message, DWORD flags, DWORD_PTR param)
{
    if (param == 0 && (flags & MCI_NOTIFY))
        return MCIERR_NULL_PARAMETER_BLOCK;
    // These two notify when playback ends, not now.
    if (message == MCI_PLAY)
        return play(device, flags, recordOf<MCI_PLAY_PARMS>(param));
    if (message == MCI_RESUME)
        return device.resume(noticeWindow(flags, callbackOf(param)));

    MCIERROR result = 0;
    switch (message) {
    case MCI_STOP:
        device.stop();
        break;
    case MCI_PAUSE:
        device.pause();
        break;
    case MCI_SEEK:
        result = seek(device, flags, recordOf<MCI_SEEK_PARMS>(param));
        break;
    case MCI_STATUS:
        result = status(device, flags, recordOf<MCI_STATUS_PARMS>(param));
        break;
    case MCI_GETDEVCAPS:
        result = capabilities(flags, recordOf<MCI_GETDEVCAPS_PARMS>(param));
        break;
    case MCI_WHERE:
        // A sound file has no picture.
        result = MCIERR_UNSUPPORTED_FUNCTION;
        break;
    default:
        result = MCIERR_UNRECOGNIZED_COMMAND;
        break;
    }
    if (result == 0)
        noticeDone(flags, callbackOf(param), device.id());
    return result;
}
