#include "media/MPlayer.h"

#include <array>

namespace {

constexpr UINT ErrorTextSize = 4096;

std::string ErrorText(MCIERROR error)
{
    std::array<char, ErrorTextSize> text{};
    if (!mciGetErrorStringA(error, text.data(), ErrorTextSize))
        return "Unknown error code";
    text.back() = '\0';
    return text.data();
}

template <typename Record>
DWORD_PTR Param(Record& record)
{
    return reinterpret_cast<DWORD_PTR>(&record);
}

}  // namespace

TMediaPlayer::TMediaPlayer(QWidget* owner) : TCustomControl(owner) {}

TMediaPlayer::~TMediaPlayer()
{
    if (DeviceId == 0)
        return;
    MCI_GENERIC_PARMS parms{Callback()};
    mciSendCommandA(DeviceId, MCI_CLOSE, MCI_WAIT, Param(parms));
}

DWORD_PTR TMediaPlayer::Callback() { return reinterpret_cast<DWORD_PTR>(Handle()); }

void TMediaPlayer::CheckOpen() const
{
    if (!IsOpen)
        throw EMCIDeviceError("No MCI device open");
}

void TMediaPlayer::Loaded()
{
    if (FAutoOpen)
        Open();
}

void TMediaPlayer::Open()
{
    MCI_OPEN_PARMSA parms{};
    if (IsOpen)
        Close();
    parms.lpstrDeviceType = "";
    parms.lpstrElementName = FFileName.c_str();
    DWORD flags = MCI_WAIT | MCI_OPEN_ELEMENT;
    if (FShareable)
        flags |= MCI_OPEN_SHAREABLE;
    parms.dwCallback = Callback();
    LastError = mciSendCommandA(0, MCI_OPEN, flags, Param(parms));
    if (LastError != 0)
        throw EMCIDeviceError(ErrorText(LastError));
    IsOpen = true;
    DeviceId = static_cast<WORD>(parms.wDeviceID);
    QueryCapabilities();
}

// What the button bar, stepping and the video display would need; none of the
// answers is kept, and the last query, the mode, leaves its result in LastError.
void TMediaPlayer::QueryCapabilities()
{
    Length();
    for (DWORD item : {MCI_GETDEVCAPS_CAN_PLAY, MCI_GETDEVCAPS_CAN_RECORD, MCI_GETDEVCAPS_CAN_EJECT,
                       MCI_GETDEVCAPS_HAS_VIDEO, MCI_GETDEVCAPS_DEVICE_TYPE}) {
        MCI_GETDEVCAPS_PARMS caps{};
        caps.dwItem = item;
        mciSendCommandA(DeviceId, MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, Param(caps));
    }
    MCI_ANIM_RECT_PARMS where{};
    mciSendCommandA(DeviceId, MCI_WHERE, MCI_ANIM_WHERE_SOURCE | MCI_WAIT, Param(where));
    Mode();
}

void TMediaPlayer::Close()
{
    if (DeviceId == 0)
        return;
    MCI_GENERIC_PARMS parms{Callback()};
    LastError = mciSendCommandA(DeviceId, MCI_CLOSE, MCI_WAIT, Param(parms));
    if (LastError == 0) {
        IsOpen = false;
        DeviceId = 0;
    }
}

void TMediaPlayer::Rewind()
{
    MCI_SEEK_PARMS parms{};
    mciSendCommandA(DeviceId, MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, Param(parms));
}

void TMediaPlayer::Play()
{
    CheckOpen();
    SendPlay();
}

void TMediaPlayer::SendPlay()
{
    if (FAutoRewind) {
        const DWORD position = Position();
        const DWORD length = RecordedStatus(MCI_STATUS_LENGTH);
        if (position == length && !FromArmed)
            Rewind();
    }
    MCI_PLAY_PARMS parms{};
    DWORD flags = MCI_NOTIFY;
    if (FromArmed) {
        flags |= MCI_FROM;
        parms.dwFrom = FFrom;
        FromArmed = false;
    }
    parms.dwCallback = Callback();
    LastError = mciSendCommandA(DeviceId, MCI_PLAY, flags, Param(parms));
}

void TMediaPlayer::Stop()
{
    CheckOpen();
    MCI_GENERIC_PARMS parms{Callback()};
    LastError = mciSendCommandA(DeviceId, MCI_STOP, MCI_WAIT, Param(parms));
}

void TMediaPlayer::Pause()
{
    CheckOpen();
    if (Mode() == mdPlaying) {
        MCI_GENERIC_PARMS parms{Callback()};
        LastError = mciSendCommandA(DeviceId, MCI_PAUSE, MCI_WAIT, Param(parms));
    } else if (Mode() == mdPaused) {
        SendResume();
    }
}

void TMediaPlayer::Resume()
{
    CheckOpen();
    SendResume();
}

void TMediaPlayer::SendResume()
{
    MCI_GENERIC_PARMS parms{Callback()};
    LastError = mciSendCommandA(DeviceId, MCI_RESUME, MCI_NOTIFY, Param(parms));
    if (LastError != 0)
        SendPlay();
}

void TMediaPlayer::SetFrom(DWORD from)
{
    FFrom = from;
    FromArmed = true;
}

DWORD TMediaPlayer::Status(DWORD item, DWORD track, bool withTrack, MCIERROR& result)
{
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    parms.dwTrack = track;
    DWORD flags = MCI_STATUS_ITEM | MCI_WAIT;
    if (withTrack)
        flags |= MCI_TRACK;
    result = mciSendCommandA(DeviceId, MCI_STATUS, flags, Param(parms));
    // A rejected query answers 0, whatever the record may hold.
    return result == 0 ? static_cast<DWORD>(parms.dwReturn) : 0;
}

DWORD TMediaPlayer::RecordedStatus(DWORD item) { return Status(item, 0, false, LastError); }

DWORD TMediaPlayer::Length()
{
    CheckOpen();
    return RecordedStatus(MCI_STATUS_LENGTH);
}

DWORD TMediaPlayer::Position() { return RecordedStatus(MCI_STATUS_POSITION); }

DWORD TMediaPlayer::TrackLength(int track)
{
    CheckOpen();
    MCIERROR ignored = 0;
    return Status(MCI_STATUS_LENGTH, static_cast<DWORD>(track), true, ignored);
}

TMPDeviceMode TMediaPlayer::Mode()
{
    const DWORD code = RecordedStatus(MCI_STATUS_MODE);
    // No device, or one that cannot tell: not ready rather than a wrapped-around value.
    if (LastError != 0 || code < MCI_MODE_NOT_READY)
        return mdNotReady;
    return static_cast<TMPDeviceMode>(static_cast<BYTE>(code - MCI_MODE_NOT_READY));
}

void TMediaPlayer::Dispatch(TMessage& message)
{
    if (message.Msg != MM_MCINOTIFY) {
        TCustomControl::Dispatch(message);
        return;
    }
    if (FAutoEnable)
        Mode();
    switch (message.WParam) {
    case MCI_NOTIFY_SUCCESSFUL:
        NotifyResult = nvSuccessful;
        break;
    case MCI_NOTIFY_SUPERSEDED:
        NotifyResult = nvSuperseded;
        break;
    case MCI_NOTIFY_ABORTED:
        NotifyResult = nvAborted;
        break;
    case MCI_NOTIFY_FAILURE:
        NotifyResult = nvFailure;
        break;
    default:
        break;
    }
}
