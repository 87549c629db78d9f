#include "tests/support/recording_mci/RecordingMci.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace {

RecordingMci script;

MCIERROR resultOf(UINT message)
{
    const auto found = script.results.find(message);
    return found == script.results.end() ? 0 : found->second;
}

}  // namespace

RecordingMci& recordingMci() { return script; }

void resetRecordingMci() { script = RecordingMci{}; }

std::vector<MciCall> RecordingMci::callsOf(UINT message) const
{
    std::vector<MciCall> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found), [message](const MciCall& call) { return call.message == message; });
    return found;
}

std::string RecordingMci::textOf(MCIERROR error) { return "Scripted text of error " + std::to_string(error); }

namespace {

MCIERROR recordCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param)
{
    MciCall call;
    call.device = device;
    call.message = message;
    call.flags = static_cast<DWORD>(flags);
    if (param != 0)
        std::memcpy(&call.callback, reinterpret_cast<const void*>(param), sizeof call.callback);
    MCIERROR result = resultOf(message);
    switch (message) {
    case MCI_OPEN: {
        auto* open = reinterpret_cast<MCI_OPEN_PARMSA*>(param);
        call.element = open->lpstrElementName ? open->lpstrElementName : "(null)";
        call.deviceType = open->lpstrDeviceType ? open->lpstrDeviceType : "(null)";
        if (result == 0)
            open->wDeviceID = script.nextDeviceId;
        break;
    }
    case MCI_PLAY:
        call.from = reinterpret_cast<MCI_PLAY_PARMS*>(param)->dwFrom;
        break;
    case MCI_STATUS: {
        auto* status = reinterpret_cast<MCI_STATUS_PARMS*>(param);
        call.item = status->dwItem;
        call.track = status->dwTrack;
        if (const auto failed = script.statusResults.find(status->dwItem); failed != script.statusResults.end())
            result = failed->second;
        if (const auto answer = script.statusAnswers.find(status->dwItem); answer != script.statusAnswers.end())
            status->dwReturn = answer->second;
        break;
    }
    case MCI_GETDEVCAPS:
        call.item = reinterpret_cast<MCI_GETDEVCAPS_PARMS*>(param)->dwItem;
        break;
    default:
        break;
    }
    script.calls.push_back(call);
    return result;
}

BOOL scriptedErrorText(MCIERROR error, LPSTR buffer, UINT length)
{
    if (!script.errorTextsKnown || length == 0)
        return FALSE_;
    const std::string text = RecordingMci::textOf(error);
    const std::size_t count = std::min<std::size_t>(text.size(), length - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return TRUE_;
}

}  // namespace

const MciDriver& recordingMciDriver()
{
    static constexpr MciDriver Recording{&recordCommand, &scriptedErrorText};
    return Recording;
}

std::string mciCommandName(UINT message)
{
    switch (message) {
    case MCI_OPEN: return "OPEN";
    case MCI_CLOSE: return "CLOSE";
    case MCI_PLAY: return "PLAY";
    case MCI_SEEK: return "SEEK";
    case MCI_STOP: return "STOP";
    case MCI_PAUSE: return "PAUSE";
    case MCI_RESUME: return "RESUME";
    case MCI_STATUS: return "STATUS";
    case MCI_GETDEVCAPS: return "GETDEVCAPS";
    case MCI_WHERE: return "WHERE";
    default: {
        std::ostringstream hex;
        hex << "0x" << std::hex << message;
        return hex.str();
    }
    }
}
